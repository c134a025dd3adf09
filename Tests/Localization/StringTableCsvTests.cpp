#include "CoreMinimal.h"
#include "Host/StringTableCsv.h"
#include "Internationalization/StringTableCore.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace
{
	namespace Csv = UE::Host::StringTableCsv;

	struct FRow
	{
		std::u16string Key;
		std::u16string Source;
	};

	std::vector<FRow> RowsOf(const FStringTable& Table)
	{
		std::vector<FRow> Rows;
		Table.EnumerateKeysAndSourceStrings([&Rows](const FTextKey& Key, const FString& SourceString)
		{
			Rows.push_back(FRow{Key.ToString().GetStdString(), SourceString.GetStdString()});
			return true;
		});
		return Rows;
	}

	std::u16string SourceOf(const FStringTable& Table, const TCHAR* Key)
	{
		FString Source;
		return Table.GetSourceString(FTextKey(Key), Source) ? Source.GetStdString() : u"<missing>";
	}

	std::u16string MetaOf(const FStringTable& Table, const TCHAR* Key, const TCHAR* Id)
	{
		return Table.GetMetaData(FTextKey(Key), FName(Id)).GetStdString();
	}

	int32 MetaCount(const FStringTable& Table, const TCHAR* Key)
	{
		int32 Count = 0;
		Table.EnumerateMetaData(FTextKey(Key), [&Count](FName, const FString&) { ++Count; return true; });
		return Count;
	}

	// Parses and expects success.
	void ParseOk(std::string_view Text, FStringTable& Table)
	{
		FString Error;
		ASSERT_TRUE(Csv::Parse(Text, Table, Error)) << UE::Host::StringToUtf8(Error);
	}

	// Parses, expects failure, and returns the reason.
	std::string ParseError(std::string_view Text)
	{
		FStringTable Table;
		FString Error;
		EXPECT_FALSE(Csv::Parse(Text, Table, Error)) << Text;
		EXPECT_FALSE(Error.IsEmpty());
		return UE::Host::StringToUtf8(Error);
	}

	FString SamplePath(const char* Relative)
	{
		return UE::Host::Utf8ToString(std::string(ORVEX_SAMPLES_DIR) + "/SampleProject/" + Relative);
	}

	// A folder under the system's temporary directory, removed with everything in it.
	class FTemporaryFolder
	{
	public:
		FTemporaryFolder()
			: Path(std::filesystem::temp_directory_path() / ("orvex-csv-" + std::to_string(std::random_device()())))
		{
			std::filesystem::create_directories(Path);
		}

		~FTemporaryFolder()
		{
			std::error_code Ignored;
			std::filesystem::remove_all(Path, Ignored);
		}

		FString File(const char* Name) const
		{
			return UE::Host::Utf8ToString((Path / Name).string());
		}

		void Write(const char* Name, std::string_view Bytes) const
		{
			std::ofstream(Path / Name, std::ios::binary).write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
		}

	private:
		std::filesystem::path Path;
	};
}

TEST(LocalizationCsvSamples, UiTableReadsEscapesQuotesAndMetaData)
{
	FStringTable Table;
	FString Error;
	ASSERT_TRUE(Csv::LoadFile(SamplePath("Content/Localization/ST_UI.csv"), Table, Error)) << UE::Host::StringToUtf8(Error);
	const std::vector<FRow> Rows = RowsOf(Table);
	ASSERT_EQ(Rows.size(), 13u);
	EXPECT_EQ(Rows.front().Key, u"MainMenu_Title");
	EXPECT_EQ(Rows.back().Key, u"tooltip_Graphics");

	EXPECT_EQ(SourceOf(Table, TEXT("HUD_Objective")), u"Reach the \"Old Mill\" before nightfall.");
	EXPECT_EQ(MetaOf(Table, TEXT("HUD_Objective"), TEXT("Comment")), u"Place name stays in quotes, as in \"Old Mill\"");
	EXPECT_EQ(SourceOf(Table, TEXT("Dialog_QuitConfirm")), u"Are you sure you want to quit?\nUnsaved progress will be lost.");
	EXPECT_EQ(SourceOf(Table, TEXT("Loading_Tip")), u"Tip: press \\ or ~ to open the console.");
	EXPECT_EQ(SourceOf(Table, TEXT(" HUD_Ammo")), u"Ammo");
	EXPECT_EQ(SourceOf(Table, TEXT("HUD_Placeholder")), u"");
	// An empty metadata cell stores nothing.
	EXPECT_EQ(MetaCount(Table, TEXT("Dialog_Yes")), 0);
	EXPECT_EQ(MetaOf(Table, TEXT("MainMenu_Play"), TEXT("comment")), u"Main menu button");
}

TEST(LocalizationCsvSamples, ItemsTableWithByteOrderMarkAndNonAsciiText)
{
	FStringTable Table;
	FString Error;
	ASSERT_TRUE(Csv::LoadFile(SamplePath("Content/Localization/ST_Items.csv"), Table, Error)) << UE::Host::StringToUtf8(Error);
	const std::vector<FRow> Rows = RowsOf(Table);
	ASSERT_EQ(Rows.size(), 8u);
	EXPECT_EQ(Rows.front().Key, u"Item_Sword_Name");
	EXPECT_EQ(SourceOf(Table, TEXT("Item_Sword_Name")), u"\u00C9p\u00E9e");
	EXPECT_EQ(SourceOf(Table, TEXT("Item_Katana_Name")), u"\u5263");
	const std::u16string Gem = SourceOf(Table, TEXT("Item_Gem_Name"));
	EXPECT_EQ(Gem, u"Star Gem \U0001F48E");
	EXPECT_EQ(Gem.size(), 11u);
	EXPECT_EQ(MetaOf(Table, TEXT("Item_Coin_Name"), TEXT("Comment")), u"Shop UI adds the count, e.g. \"12 \u00D7 Gold Coin\"");
	EXPECT_EQ(MetaCount(Table, TEXT("Item_Coin_Name")), 1);
	EXPECT_EQ(MetaCount(Table, TEXT("Item_Sword_Name")), 2);
}

TEST(LocalizationCsvSamples, HeaderOnlyTableIsEmptyAndDataTableIsNoStringTable)
{
	FStringTable Table;
	Table.SetSourceString(FTextKey(TEXT("Stale")), TEXT("gone after import"));
	FString Error;
	ASSERT_TRUE(Csv::LoadFile(SamplePath("Content/Localization/ST_Empty.csv"), Table, Error)) << UE::Host::StringToUtf8(Error);
	EXPECT_TRUE(RowsOf(Table).empty());

	EXPECT_TRUE(Csv::HasStringTableHeader("\"key\",\"SOURCESTRING\"\n"));
	EXPECT_FALSE(Csv::HasStringTableHeader("\"---\",\"Name\",\"Weight\"\n\"Sword\",\"Short Sword\",\"2.5\"\n"));
	EXPECT_FALSE(Csv::HasStringTableHeader("\"Key,\"SourceString\"\n"));
	EXPECT_FALSE(Csv::LoadFile(SamplePath("Content/Data/DT_Items.csv"), Table, Error));
	EXPECT_NE(UE::Host::StringToUtf8(Error).find("'Key'"), std::string::npos);
}

TEST(LocalizationCsvCells, QuotedCellsHoldCommasQuotesAndLineBreaks)
{
	FStringTable Table;
	ParseOk("Key,SourceString\n"
		"\"a,b\",\"say \"\"hi\"\"\"\n"
		"multi,\"line one\nline two\r\nline three\"\n"
		"empty,\"\"\n", Table);
	EXPECT_EQ(SourceOf(Table, TEXT("a,b")), u"say \"hi\"");
	EXPECT_EQ(SourceOf(Table, TEXT("multi")), u"line one\nline two\r\nline three");
	EXPECT_EQ(SourceOf(Table, TEXT("empty")), u"");
	EXPECT_EQ(RowsOf(Table).size(), 3u);
}

TEST(LocalizationCsvCells, UnquotedCellsAreTakenVerbatim)
{
	FStringTable Table;
	ParseOk("Key,SourceString\n"
		" spaced , text with \"quotes\" \n"
		"cr,lone\rcarriage\n"
		"doubled,a\"\"b\n", Table);
	EXPECT_EQ(SourceOf(Table, TEXT(" spaced ")), u" text with \"quotes\" ");
	EXPECT_EQ(SourceOf(Table, TEXT("cr")), u"lone\rcarriage");
	EXPECT_EQ(SourceOf(Table, TEXT("doubled")), u"a\"\"b");
}

TEST(LocalizationCsvCells, EscapesAreUndoneAfterTheQuoteDoubling)
{
	FStringTable Table;
	ParseOk("Key,SourceString,Comment\n"
		"\"k\\tey\",\"a\\\\b \\n \\r \\t \\' \\\"\" end\",\"meta\\nline\"\n"
		"literal,\"\\\\n stays a backslash and n\"\n"
		"unknown,\"\\x and trailing \\\"\n"
		"bare,say \\\"hi\\\"\n", Table);
	EXPECT_EQ(SourceOf(Table, TEXT("k\tey")), u"a\\b \n \r \t ' \" end");
	EXPECT_EQ(MetaOf(Table, TEXT("k\tey"), TEXT("Comment")), u"meta\nline");
	EXPECT_EQ(SourceOf(Table, TEXT("literal")), u"\\n stays a backslash and n");
	EXPECT_EQ(SourceOf(Table, TEXT("unknown")), u"\\x and trailing \\");
	EXPECT_EQ(SourceOf(Table, TEXT("bare")), u"say \"hi\"");
}

TEST(LocalizationCsvCells, SpecialCharactersDecodeAtEveryPositionOfALongRun)
{
	// Cells are decoded eight bytes at a time; a special character must be found wherever it sits.
	struct FSpecial
	{
		std::string Encoded;
		std::u16string Decoded;
	};
	const FSpecial Specials[] = {
		{"\"\"", u"\""}, {"\\n", u"\n"}, {"\\\"\"", u"\""}, {"\\q", u"\\q"},
		{"\xC3\xA9", u"\u00E9"}, {"\xE5\x89\xA3", u"\u5263"}, {"\xF0\x9F\x92\x8E", u"\U0001F48E"},
	};
	std::string Csv = "Key,SourceString\n";
	std::vector<std::u16string> Expected;
	for (size_t Special = 0; Special < std::size(Specials); ++Special)
	{
		for (size_t Before = 0; Before < 20; ++Before)
		{
			const size_t After = 19 - Before;
			Csv.append("k").append(std::to_string(Special)).append("_").append(std::to_string(Before)).append(",\"");
			Csv.append(Before, 'a').append(Specials[Special].Encoded).append(After, 'b').append("\"\n");
			Expected.push_back(std::u16string(Before, u'a') + Specials[Special].Decoded + std::u16string(After, u'b'));
		}
	}
	FStringTable Table;
	ParseOk(Csv, Table);
	const std::vector<FRow> Rows = RowsOf(Table);
	ASSERT_EQ(Rows.size(), Expected.size());
	for (size_t Index = 0; Index < Rows.size(); ++Index)
	{
		EXPECT_EQ(Rows[Index].Source, Expected[Index]) << "row " << Index;
	}
}

TEST(LocalizationCsvCells, ByteOrderMarkAndCrLfLineEnds)
{
	FStringTable Table;
	ParseOk("\xEF\xBB\xBF\"Key\",\"SourceString\"\r\n\"One\",\"1\"\r\nTwo,2\r\n", Table);
	const std::vector<FRow> Rows = RowsOf(Table);
	ASSERT_EQ(Rows.size(), 2u);
	EXPECT_EQ(Rows[0].Key, u"One");
	EXPECT_EQ(Rows[1].Key, u"Two");
	EXPECT_EQ(Rows[1].Source, u"2");

	FStringTable NoFinalLineEnd;
	ParseOk("Key,SourceString\nlast,row", NoFinalLineEnd);
	EXPECT_EQ(SourceOf(NoFinalLineEnd, TEXT("last")), u"row");
}

TEST(LocalizationCsvRows, DuplicateKeysLetTheLastRowWinInTheFirstPlace)
{
	FStringTable Table;
	ParseOk("Key,SourceString,Comment,Context\n"
		"dup,first,old comment,old context\n"
		"other,x\n"
		"dup,second,new comment,\n", Table);
	const std::vector<FRow> Rows = RowsOf(Table);
	ASSERT_EQ(Rows.size(), 2u);
	EXPECT_EQ(Rows[0].Key, u"dup");
	EXPECT_EQ(Rows[0].Source, u"second");
	EXPECT_EQ(MetaOf(Table, TEXT("dup"), TEXT("Comment")), u"new comment");
	EXPECT_EQ(MetaCount(Table, TEXT("dup")), 1);
}

TEST(LocalizationCsvRows, RowsMissingKeyOrSourceCellsAreSkipped)
{
	FStringTable Table;
	ParseOk("Comment,SourceString,Key\n"
		"only a comment\n"
		"c,no key cell\n"
		"\n"
		",source,key\n"
		"with comment,s2,k2,extra cell\n"
		",empty key,\n", Table);
	const std::vector<FRow> Rows = RowsOf(Table);
	ASSERT_EQ(Rows.size(), 3u);
	EXPECT_EQ(Rows[0].Key, u"key");
	EXPECT_EQ(Rows[0].Source, u"source");
	EXPECT_EQ(MetaCount(Table, TEXT("key")), 0);
	EXPECT_EQ(MetaOf(Table, TEXT("k2"), TEXT("comment")), u"with comment");
	EXPECT_EQ(Rows[2].Key, u"");
	EXPECT_EQ(Rows[2].Source, u"empty key");
}

TEST(LocalizationCsvRows, HeaderMatchesIgnoringCaseAndFirstOccurrenceWins)
{
	FStringTable Table;
	ParseOk("\"SOURCESTRING\",\"key\",\"\",\"Key\",\"comment\"\n"
		"src,k,ignored,second key column,note\n", Table);
	EXPECT_EQ(SourceOf(Table, TEXT("k")), u"src");
	EXPECT_EQ(MetaOf(Table, TEXT("k"), TEXT("Key")), u"second key column");
	EXPECT_EQ(MetaOf(Table, TEXT("k"), TEXT("Comment")), u"note");
	EXPECT_EQ(MetaCount(Table, TEXT("k")), 2);
}

TEST(LocalizationCsvErrors, MalformedFilesAreRejectedWithAReason)
{
	EXPECT_NE(ParseError("").find("empty"), std::string::npos);
	EXPECT_NE(ParseError("\xEF\xBB\xBF").find("empty"), std::string::npos);
	EXPECT_NE(ParseError("Name,SourceString\na,b\n").find("'Key'"), std::string::npos);
	EXPECT_NE(ParseError("Key,Source\na,b\n").find("'SourceString'"), std::string::npos);
	EXPECT_NE(ParseError("Key,SourceString\n\"a\nb\",\"c\nd\"\n\"open,x\n").find("line 5: a quoted cell is never closed"), std::string::npos);
	EXPECT_NE(ParseError("Key,SourceString\n\"a\"b,c\n").find("line 2"), std::string::npos);
	// Overlong encoding, a lone continuation byte, an encoded surrogate, a truncated sequence.
	EXPECT_NE(ParseError("Key,SourceString\na,\xC0\xAF\n").find("line 2: invalid UTF-8"), std::string::npos);
	EXPECT_NE(ParseError("Key,SourceString\na,b\n\"c\",\"x\n\x80\"\n").find("line 4: invalid UTF-8"), std::string::npos);
	EXPECT_NE(ParseError("Key,SourceString\na,\xED\xA0\x80\n").find("invalid UTF-8"), std::string::npos);
	EXPECT_NE(ParseError("Key,SourceString\na,b,\xE5\x89\n").find("invalid UTF-8"), std::string::npos);
	EXPECT_NE(ParseError("Key,Source\xFFString\n").find("invalid UTF-8"), std::string::npos);
}

TEST(LocalizationCsvErrors, AFailedParseLeavesTheTableAsItWas)
{
	FStringTable Table;
	ParseOk("Key,SourceString,Comment\nkept,value,note\n", Table);
	FString Error;
	EXPECT_FALSE(Csv::Parse("Key,SourceString\nnew,row\n\"broken", Table, Error));
	const std::vector<FRow> Rows = RowsOf(Table);
	ASSERT_EQ(Rows.size(), 1u);
	EXPECT_EQ(Rows[0].Key, u"kept");
	EXPECT_EQ(MetaOf(Table, TEXT("kept"), TEXT("Comment")), u"note");
}

TEST(LocalizationCsvExport, EveryCellQuotedKeyAndSourceEscapedMetaDataOnlyDoubled)
{
	FStringTable Table;
	Table.SetSourceString(FTextKey(TEXT("Greeting")), TEXT("Hello, \"friend\"\n\\ \t '"));
	Table.SetMetaData(FTextKey(TEXT("Greeting")), FName(TEXT("Comment")), TEXT("Said \"twice\" \\n"));
	Table.SetSourceString(FTextKey(TEXT("Plain")), TEXT("x"));
	Table.SetMetaData(FTextKey(TEXT("Plain")), FName(TEXT("Context")), TEXT("menu"));
	Table.SetSourceString(FTextKey(TEXT("Removed")), TEXT("y"));
	Table.RemoveSourceString(FTextKey(TEXT("Removed")));

	EXPECT_EQ(Csv::Write(Table),
		"\"Key\",\"SourceString\",\"Comment\",\"Context\"\n"
		"\"Greeting\",\"Hello, \\\"\"friend\\\"\"\\n\\\\ \\t \\'\",\"Said \"\"twice\"\" \\n\",\"\"\n"
		"\"Plain\",\"x\",\"\",\"menu\"\n");
}

TEST(LocalizationCsvExport, WriteThenParseGivesTheSameTable)
{
	FStringTable Original;
	const std::u16string Tricky = u"\"q\" \\ \n\r\t' , \u00E9 \u5263 \U0001F48E \"\"";
	Original.SetSourceString(FTextKey(TEXT("Tricky")), FString(Tricky));
	Original.SetSourceString(FTextKey(u"\U0001F48E key, \"quoted\""), TEXT("gem"));
	Original.SetSourceString(FTextKey(TEXT("Empty")), TEXT(""));
	Original.SetMetaData(FTextKey(TEXT("Tricky")), FName(TEXT("Comment")), TEXT("a \"b\", c\nd"));

	FStringTable Copy;
	ParseOk(Csv::Write(Original), Copy);
	const std::vector<FRow> Rows = RowsOf(Copy);
	ASSERT_EQ(Rows.size(), 3u);
	EXPECT_EQ(Rows[0].Source, Tricky);
	EXPECT_EQ(Rows[1].Key, u"\U0001F48E key, \"quoted\"");
	EXPECT_EQ(Rows[2].Source, u"");
	EXPECT_EQ(MetaOf(Copy, TEXT("Tricky"), TEXT("Comment")), u"a \"b\", c\nd");
	EXPECT_EQ(Csv::Write(Copy), Csv::Write(Original));

	// An unpaired surrogate cannot be written as UTF-8; it becomes U+FFFD.
	FStringTable Broken;
	Broken.SetSourceString(FTextKey(TEXT("k")), FString(std::u16string(1, u'\xD800')));
	EXPECT_EQ(Csv::Write(Broken), "\"Key\",\"SourceString\"\n\"k\",\"\xEF\xBF\xBD\"\n");
}

TEST(LocalizationCsvFiles, ExportImportAndUtf16Files)
{
	const FTemporaryFolder Folder;
	FStringTable Table;
	Table.SetSourceString(FTextKey(TEXT("A")), TEXT("\u00C9p\u00E9e"));
	Table.SetMetaData(FTextKey(TEXT("A")), FName(TEXT("Comment")), TEXT("note"));
	ASSERT_TRUE(Table.ExportStrings(Folder.File("Out.csv")));

	FStringTable Imported;
	ASSERT_TRUE(Imported.ImportStrings(Folder.File("Out.csv")));
	EXPECT_EQ(SourceOf(Imported, TEXT("A")), u"\u00C9p\u00E9e");
	EXPECT_EQ(MetaOf(Imported, TEXT("A"), TEXT("Comment")), u"note");

	// UTF-16 little-endian with a byte-order mark: "Key,SourceString\nk,é".
	const std::u16string Utf16 = u"Key,SourceString\nk,\u00E9\n";
	std::string Bytes = "\xFF\xFE";
	for (const char16_t Unit : Utf16)
	{
		Bytes.push_back(static_cast<char>(Unit & 0xFF));
		Bytes.push_back(static_cast<char>(Unit >> 8));
	}
	Folder.Write("Utf16.csv", Bytes);
	FString Error;
	FStringTable FromUtf16;
	ASSERT_TRUE(Csv::LoadFile(Folder.File("Utf16.csv"), FromUtf16, Error)) << UE::Host::StringToUtf8(Error);
	EXPECT_EQ(SourceOf(FromUtf16, TEXT("k")), u"\u00E9");

	Folder.Write("Odd.csv", "\xFF\xFEK");
	EXPECT_FALSE(Csv::LoadFile(Folder.File("Odd.csv"), FromUtf16, Error));
	EXPECT_FALSE(Imported.ImportStrings(Folder.File("Missing.csv")));
	EXPECT_EQ(SourceOf(Imported, TEXT("A")), u"\u00C9p\u00E9e");
}

TEST(LocalizationCsvErrors, ArbitraryBytesEitherParseAndRoundTripOrFailWithAReason)
{
	// Bytes that matter to the format, plus valid and invalid UTF-8.
	const std::string Alphabet[] = {"\"", ",", "\n", "\r", "\\", "n", "a", "K", "\xC3\xA9", "\xF0\x9F\x92\x8E", "\xFF", "\xC3", "\xED\xA0\x80"};
	std::mt19937 Random(7);
	int32 Parsed = 0;
	for (int32 Attempt = 0; Attempt < 3000; ++Attempt)
	{
		std::string Text = Attempt % 2 ? "Key,SourceString,Note\n" : "\"Key\",\"SourceString\"\n";
		const int32 Length = static_cast<int32>(Random() % 40);
		for (int32 Piece = 0; Piece < Length; ++Piece)
		{
			Text += Alphabet[Random() % std::size(Alphabet)];
		}
		FStringTable Table;
		FString Error;
		if (!Csv::Parse(Text, Table, Error))
		{
			EXPECT_FALSE(Error.IsEmpty());
			continue;
		}
		++Parsed;
		FStringTable Again;
		ASSERT_TRUE(Csv::Parse(Csv::Write(Table), Again, Error)) << UE::Host::StringToUtf8(Error);
		const std::vector<FRow> Rows = RowsOf(Table);
		const std::vector<FRow> RowsAgain = RowsOf(Again);
		ASSERT_EQ(Rows.size(), RowsAgain.size());
		for (size_t Row = 0; Row < Rows.size(); ++Row)
		{
			ASSERT_EQ(Rows[Row].Key, RowsAgain[Row].Key);
			ASSERT_EQ(Rows[Row].Source, RowsAgain[Row].Source);
			// Metadata is written without escapes but read with them, so only text without
			// backslashes comes back unchanged.
			const std::u16string Note = MetaOf(Table, Rows[Row].Key.c_str(), TEXT("Note"));
			if (Note.find(u'\\') == std::u16string::npos)
			{
				ASSERT_EQ(MetaOf(Again, Rows[Row].Key.c_str(), TEXT("Note")), Note);
			}
		}
	}
	EXPECT_GT(Parsed, 100);
}
