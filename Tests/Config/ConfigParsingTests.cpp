// How the text of one layer becomes sections, keys and values.
#include "CoreMinimal.h"
#include "Misc/ConfigCacheIni.h"
#include "ScopedTestFolder.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace
{
	FConfigFile Parse(const std::string& Text)
	{
		FConfigFile File;
		File.CombineFromBuffer(UE::Host::Utf8ToString(Text), FString());
		return File;
	}

	std::string Value(const FConfigFile& File, const TCHAR* Section, const TCHAR* Key)
	{
		FString Result;
		return File.GetString(Section, Key, Result) ? ToUtf8(Result) : "<missing>";
	}

	std::string Values(const FConfigFile& File, const TCHAR* Section, const TCHAR* Key)
	{
		TArray<FString> Result;
		File.GetArray(Section, Key, Result);
		return ToUtf8(FString::Join(Result, TEXT("|")));
	}

	std::string SectionNames(const FConfigFile& File)
	{
		TArray<FString> Names;
		File.GetSectionNames(Names);
		return ToUtf8(FString::Join(Names, TEXT("|")));
	}
}

TEST(ConfigParsing, CommentsAreSemicolonLinesAndDoubleSlashOutsideQuotes)
{
	const FConfigFile File = Parse(
		"[S]\n"
		"; Hidden=1\n"
		"Url=http://example.com/path\n"
		"Quoted=\"http://example.com/path\"\n"
		"Struct=(Name=\"a//b\",Size=2) // trailing note\n"
		"#Hash=kept\n"
		"  ; Indented=2\n");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Hidden")), "<missing>");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Url")), "http:");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Quoted")), "http://example.com/path");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Struct")), "(Name=\"a//b\",Size=2)");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("#Hash")), "kept");
	// Only a ';' in the first column makes a comment; an indented one is read as a key.
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("; Indented")), "2");
}

TEST(ConfigParsing, MarkersAreFoundWhereverTheyFallInALongLine)
{
	// Plain text is skipped in runs; a marker must stop the run at every offset within one, and
	// a character that only shares a byte with a marker must not.
	for (size_t Offset = 0; Offset < 20; ++Offset)
	{
		const std::string Padding(Offset, 'x');
		const FConfigFile File = Parse("[S]\nKey=" + Padding + "//note\nQuoted=\"" + Padding + "//kept\" // gone\nWide=" + Padding + "\xC4\xAF\xC4\xA2\xC4\x8A end\n");
		EXPECT_EQ(Value(File, TEXT("S"), TEXT("Key")), Padding) << Offset;
		EXPECT_EQ(Value(File, TEXT("S"), TEXT("Quoted")), Padding + "//kept") << Offset;
		EXPECT_EQ(Value(File, TEXT("S"), TEXT("Wide")), Padding + "\xC4\xAF\xC4\xA2\xC4\x8A end") << Offset;
	}
}

TEST(ConfigParsing, BracesAndTrailingBackslashJoinLines)
{
	const FConfigFile File = Parse(
		"[S]\n"
		"Block={Line one\n"
		"Line two}\n"
		"Continued=first \\\n"
		"second\n"
		"Crlf=a \\\r\n"
		"b\r\n"
		"After=1\n"
		"Unbalanced=x}y\n");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Block")), "Line one Line two");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Continued")), "first  second");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Crlf")), "a  b");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("After")), "1");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Unbalanced")), "x}y");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Line two}")), "<missing>");
}

TEST(ConfigParsing, HeadersNeedBracketsInTheFirstAndLastColumns)
{
	const FConfigFile File = Parse(
		"Before=ignored\n"
		"[First]   \n"
		"A=1\n"
		"  [Indented]\n"
		"B=2\n"
		"[/Script/Engine.RendererSettings]\n"
		"[Not a header] trailing\n"
		"C=3\n"
		"[first]\n"
		"D=4\n");
	EXPECT_EQ(SectionNames(File), "First|/Script/Engine.RendererSettings");
	// The indented header is no header, so B stays in [First]; a repeated header merges.
	EXPECT_EQ(Value(File, TEXT("First"), TEXT("B")), "2");
	EXPECT_EQ(Value(File, TEXT("First"), TEXT("D")), "4");
	EXPECT_EQ(Value(File, TEXT("/Script/Engine.RendererSettings"), TEXT("C")), "3");
	EXPECT_EQ(Value(File, TEXT("First"), TEXT("Before")), "<missing>");
}

TEST(ConfigParsing, KeysSplitAtTheFirstEqualsAndAreTrimmed)
{
	const FConfigFile File = Parse(
		"[S]\n"
		"   Spaced   =   value with = signs   \n"
		"~Packaged=yes\n"
		"NoEquals\n"
		"=NoKey\n"
		"Empty=\n"
		"Tabs\t=\tx\t\n");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Spaced")), "value with = signs");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Packaged")), "yes");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("NoEquals")), "<missing>");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Empty")), "");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Tabs")), "x");
	EXPECT_EQ(File.FindSection(TEXT("S"))->Num(), 4);
}

TEST(ConfigParsing, QuotedValuesResolveEscapesAndDropWhatFollowsTheClosingQuote)
{
	const FConfigFile File = Parse(
		"[S]\n"
		"Simple=\"  padded  \"\n"
		"Escapes=\"a\\\\b\\\"c\\'d\\ne\\rf\\tg\"\n"
		"Numeric=\"\\101\\x42\\u00e9\\U0001F48E\"\n"
		"Unknown=\"\\q\"\n"
		"After=\"kept\" dropped\n"
		"Unterminated=\"open\n"
		"Inner=(Name=\"x\")\n");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Simple")), "  padded  ");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Escapes")), "a\\b\"c'd\ne\rf\tg");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Numeric")), "AB\xC3\xA9\xF0\x9F\x92\x8E");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Unknown")), "\\q");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("After")), "kept");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Unterminated")), "open");
	EXPECT_EQ(Value(File, TEXT("S"), TEXT("Inner")), "(Name=\"x\")");
}

TEST(ConfigParsing, SectionAndKeyLookupIgnoresCase)
{
	const FConfigFile File = Parse("[/Script/Engine.RendererSettings]\nr.RayTracing=True\n+Paths=A\n+paths=B\n");
	EXPECT_EQ(Value(File, TEXT("/script/engine.renderersettings"), TEXT("R.RAYTRACING")), "True");
	EXPECT_EQ(Values(File, TEXT("/SCRIPT/ENGINE.RENDERERSETTINGS"), TEXT("PATHS")), "A|B");
}

TEST(ConfigParsing, MalformedTextNeverCrashes)
{
	// Fragments that stress the reader, joined at random.
	const char* const Pieces[] = {"[", "]", "[S]", "=", "+", "-", "!", "@", "^", "*", "~", "\"", "\\", "\\x", "\\u12", "\\U0011FFFF",
		"{", "}", "//", ";", "\n", "\r", "\r\n", " ", "\t", "Key", "(Name=", ",", ")", "%GAME%", "\xFF", "\xC3", "\0"};
	std::mt19937 Random(12345);
	for (int32 Round = 0; Round < 2000; ++Round)
	{
		std::string Text;
		const int32 Count = static_cast<int32>(Random() % 60);
		for (int32 Index = 0; Index < Count; ++Index)
		{
			const char* Piece = Pieces[Random() % (sizeof(Pieces) / sizeof(Pieces[0]))];
			Text += *Piece ? std::string(Piece) : std::string(1, '\0');
		}
		FConfigFile File = Parse(Text);
		TArray<FString> Names;
		File.GetSectionNames(Names);
		EXPECT_LE(Names.Num(), Count);
	}
	const FConfigFile Deep = Parse("[S]\nKey=" + std::string(100000, '{') + "x\n" + std::string(100000, '"'));
	EXPECT_EQ(Value(Deep, TEXT("S"), TEXT("Key")), "x " + std::string(100000, '"'));
}
