#include "CoreMinimal.h"
#include "Internationalization/StringTableCore.h"
#include "Internationalization/TextKey.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
	std::vector<std::u16string> KeysInOrder(const FStringTable& Table)
	{
		std::vector<std::u16string> Keys;
		Table.EnumerateKeysAndSourceStrings([&Keys](const FTextKey& Key, const FString& SourceString)
		{
			Keys.push_back(Key.ToString().GetStdString());
			return true;
		});
		return Keys;
	}

	FString SourceOf(const FStringTable& Table, const TCHAR* Key)
	{
		FString Source;
		return Table.GetSourceString(FTextKey(Key), Source) ? Source : FString(TEXT("<missing>"));
	}
}

TEST(EngineTextKey, InternedKeysCompareByTextCaseSensitively)
{
	const FString Text(TEXT("Menu_Play"));
	EXPECT_TRUE(FTextKey(Text) == FTextKey(TEXT("Menu_Play")));
	EXPECT_TRUE(FTextKey(Text) == FTextKey(FStringView(TEXT("Menu_Play_Extra"), 9)));
	EXPECT_EQ(GetTypeHash(FTextKey(Text)), GetTypeHash(FTextKey(TEXT("Menu_Play"))));
	EXPECT_TRUE(FTextKey(TEXT("menu_play")) != FTextKey(Text));

	EXPECT_TRUE(FTextKey() == FTextKey(TEXT("")));
	EXPECT_TRUE(FTextKey().IsEmpty());
	EXPECT_TRUE(FTextKey().ToString().IsEmpty());
}

TEST(EngineTextKey, ToStringGivesBackEveryCodeUnit)
{
	const FString Text(u"Gem \U0001F48E \u5263 \u00C9p\u00E9e");
	FString Out(TEXT("old"));
	FTextKey(Text).ToString(Out);
	EXPECT_TRUE(Out.Equals(Text));

	FString Appended(TEXT("Key: "));
	FTextKey(Text).AppendString(Appended);
	EXPECT_TRUE(Appended.Equals(FString(TEXT("Key: ")) + Text));

	const FString Long = FString::ChrN(400000, TEXT('k'));
	EXPECT_TRUE(FTextKey(Long).ToString().Equals(Long));
}

TEST(EngineStringTable, EntriesKeepInsertionOrderAndReplacingKeepsThePlace)
{
	FStringTableRef Table = FStringTable::NewStringTable();
	Table->SetSourceString(FTextKey(TEXT("b")), TEXT("B"));
	Table->SetSourceString(FTextKey(TEXT("a")), TEXT("A"));
	Table->SetSourceString(FTextKey(TEXT("c")), TEXT("C"));
	Table->SetSourceString(FTextKey(TEXT("a")), TEXT("A2"));
	EXPECT_EQ(KeysInOrder(*Table), (std::vector<std::u16string>{u"b", u"a", u"c"}));
	EXPECT_TRUE(SourceOf(*Table, TEXT("a")).Equals(TEXT("A2")));

	Table->RemoveSourceString(FTextKey(TEXT("b")));
	Table->SetSourceString(FTextKey(TEXT("b")), TEXT("B2"));
	EXPECT_EQ(KeysInOrder(*Table), (std::vector<std::u16string>{u"a", u"c", u"b"}));
	EXPECT_TRUE(SourceOf(*Table, TEXT("b")).Equals(TEXT("B2")));
}

TEST(EngineStringTable, KeysAreCaseSensitiveAndMayBeEmpty)
{
	FStringTable Table;
	Table.SetSourceString(FTextKey(TEXT("Title")), TEXT("upper"));
	Table.SetSourceString(FTextKey(TEXT("title")), TEXT("lower"));
	Table.SetSourceString(FTextKey(), TEXT("empty"));
	EXPECT_TRUE(SourceOf(Table, TEXT("Title")).Equals(TEXT("upper")));
	EXPECT_TRUE(SourceOf(Table, TEXT("title")).Equals(TEXT("lower")));
	EXPECT_TRUE(SourceOf(Table, TEXT("")).Equals(TEXT("empty")));
	EXPECT_TRUE(SourceOf(Table, TEXT("TITLE")).Equals(TEXT("<missing>")));
	EXPECT_EQ(KeysInOrder(Table).size(), 3u);
}

TEST(EngineStringTable, BothEnumerationOverloadsAndEarlyStop)
{
	FStringTable Table;
	Table.SetSourceString(FTextKey(TEXT("One")), TEXT("1"));
	Table.SetSourceString(FTextKey(TEXT("Two")), TEXT("2"));
	Table.SetSourceString(FTextKey(TEXT("Three")), TEXT("3"));

	// A two-parameter lambda binds to the two-parameter overload.
	int32 Visited = 0;
	Table.EnumerateKeysAndSourceStrings([&Visited](const FTextKey& Key, const FString& SourceString)
	{
		++Visited;
		return Visited < 2;
	});
	EXPECT_EQ(Visited, 2);

	FString Seen;
	Table.EnumerateKeysAndSourceStrings([&Seen](const FTextKey& Key, const FString& SourceString, const FString& DisplayString)
	{
		EXPECT_TRUE(SourceString.Equals(DisplayString));
		Seen += Key.ToString() + TEXT("=") + SourceString + TEXT(";");
		return true;
	});
	EXPECT_TRUE(Seen.Equals(TEXT("One=1;Two=2;Three=3;")));

	FString Strings;
	Table.EnumerateSourceStrings([&Strings](const FString& Key, const FString& SourceString)
	{
		Strings += Key + SourceString;
		return true;
	});
	EXPECT_TRUE(Strings.Equals(TEXT("One1Two2Three3")));
}

TEST(EngineStringTable, MetaDataIdsIgnoreCaseAndKeepTheirOrder)
{
	FStringTable Table;
	const FTextKey Key(TEXT("Entry"));
	Table.SetSourceString(Key, TEXT("Source"));
	Table.SetMetaData(Key, FName(TEXT("Comment")), TEXT("first"));
	Table.SetMetaData(Key, FName(TEXT("Context")), TEXT("menu"));
	Table.SetMetaData(Key, FName(TEXT("COMMENT")), TEXT("second"));
	EXPECT_TRUE(Table.GetMetaData(Key, FName(TEXT("comment"))).Equals(TEXT("second")));
	EXPECT_TRUE(Table.GetMetaData(Key, FName(TEXT("Missing"))).IsEmpty());

	FString Rows;
	Table.EnumerateMetaData(Key, [&Rows](FName Id, const FString& Value)
	{
		Rows += Id.ToString() + TEXT("=") + Value + TEXT(";");
		return true;
	});
	EXPECT_TRUE(Rows.Equals(TEXT("Comment=second;Context=menu;")));

	// Replacing the source keeps the metadata; removing the entry drops it.
	Table.SetSourceString(Key, TEXT("Changed"));
	EXPECT_TRUE(Table.GetMetaData(Key, FName(TEXT("Context"))).Equals(TEXT("menu")));
	Table.RemoveMetaData(Key, FName(TEXT("context")));
	EXPECT_TRUE(Table.GetMetaData(Key, FName(TEXT("Context"))).IsEmpty());
	Table.RemoveSourceString(Key);
	Table.SetSourceString(Key, TEXT("Back"));
	EXPECT_TRUE(Table.GetMetaData(Key, FName(TEXT("Comment"))).IsEmpty());
}

TEST(EngineStringTable, MetaDataSetBeforeItsEntryJoinsIt)
{
	FStringTable Table;
	const FTextKey Key(TEXT("Later"));
	Table.SetMetaData(Key, FName(TEXT("Comment")), TEXT("early note"));
	EXPECT_TRUE(Table.GetMetaData(Key, FName(TEXT("Comment"))).Equals(TEXT("early note")));
	Table.SetSourceString(Key, TEXT("Source"));
	EXPECT_TRUE(Table.GetMetaData(Key, FName(TEXT("Comment"))).Equals(TEXT("early note")));

	Table.ClearMetaData(Key);
	int32 Rows = 0;
	Table.EnumerateMetaData(Key, [&Rows](FName, const FString&) { ++Rows; return true; });
	EXPECT_EQ(Rows, 0);
	FString Source;
	EXPECT_TRUE(Table.GetSourceString(Key, Source));
}

TEST(EngineStringTable, ManyRemovalsKeepOrderAndLookups)
{
	FStringTable Table;
	for (int32 Index = 0; Index < 5000; ++Index)
	{
		Table.SetSourceString(FTextKey(FString::Printf(TEXT("Key%d"), Index)), FString::Printf(TEXT("Value%d"), Index));
	}
	for (int32 Index = 0; Index < 5000; Index += 3)
	{
		Table.RemoveSourceString(FTextKey(FString::Printf(TEXT("Key%d"), Index)));
	}
	Table.RemoveSourceString(FTextKey(TEXT("NeverAdded")));

	std::vector<std::u16string> Expected;
	for (int32 Index = 0; Index < 5000; ++Index)
	{
		if (Index % 3 != 0)
		{
			Expected.push_back(FString::Printf(TEXT("Key%d"), Index).GetStdString());
		}
	}
	EXPECT_EQ(KeysInOrder(Table), Expected);
	for (int32 Index = 0; Index < 5000; ++Index)
	{
		FString Source;
		const bool bFound = Table.GetSourceString(FTextKey(FString::Printf(TEXT("Key%d"), Index)), Source);
		ASSERT_EQ(bFound, Index % 3 != 0) << Index;
		if (bFound)
		{
			ASSERT_TRUE(Source.Equals(FString::Printf(TEXT("Value%d"), Index)));
		}
	}

	Table.ClearSourceStrings();
	EXPECT_TRUE(KeysInOrder(Table).empty());
	EXPECT_TRUE(SourceOf(Table, TEXT("Key1")).Equals(TEXT("<missing>")));
}

TEST(EngineStringTable, FlagsAndNamespace)
{
	FStringTableRef Table = FStringTable::NewStringTable();
	EXPECT_TRUE(Table->IsLoaded());
	EXPECT_FALSE(Table->IsInternal());
	EXPECT_TRUE(Table->GetNamespace().IsEmpty());
	Table->SetNamespace(TEXT("ST_UI"));
	Table->IsInternal(true);
	Table->IsLoaded(false);
	EXPECT_TRUE(Table->GetNamespace().Equals(TEXT("ST_UI")));
	EXPECT_TRUE(Table->IsInternal());
	EXPECT_FALSE(Table->IsLoaded());
	const FStringTableConstRef ConstTable = Table;
	EXPECT_TRUE(ConstTable->GetNamespace().Equals(TEXT("ST_UI")));
}
