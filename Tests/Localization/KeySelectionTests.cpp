// The bounded key selection behind get_string_table and validate_string_table.
#include "CoreMinimal.h"
#include "Internationalization/StringTableCore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <unordered_set>

namespace OrvexLocalizationInternal
{
	// Defined in the module's localization actions.
	void CollectSmallestKeys(TSharedRef<const FStringTable> StringTable, const FString* Cursor, int32 Limit, TArray<FString>& Keys,
		int32& OutEntryCount, int32& OutAfterCursorCount);
	void CollectSmallestKeys(TSharedRef<const FStringTable> StringTable, const FString* Cursor, int32 Limit, TArray<FString>& Keys,
		TArray<FTextKey>* TextKeys, int32& OutEntryCount, int32& OutAfterCursorCount);
	void TrimToSmallestKeys(TArray<FString>& Keys, int32 Limit);
}

TEST(KeySelection, KeepsTheSmallestKeysAfterTheCursorWithABoundedBuffer)
{
	FStringTableRef Table = FStringTable::NewStringTable();
	std::vector<std::u16string> All;
	std::unordered_set<std::u16string> Seen;
	std::mt19937 Random(11);
	for (int32 Index = 0; Index < 50000; ++Index)
	{
		std::u16string Key;
		const int32 Length = 1 + static_cast<int32>(Random() % 12);
		for (int32 Unit = 0; Unit < Length; ++Unit)
		{
			// Letters of both cases, digits, a space and a character outside ASCII.
			static const char16_t Alphabet[] = u" 09AZaz\u00e9\U0001F48E";
			Key.push_back(Alphabet[Random() % (sizeof(Alphabet) / sizeof(char16_t) - 1)]);
		}
		if (!Seen.insert(Key).second)
		{
			continue;
		}
		All.push_back(Key);
		Table->SetSourceString(FTextKey(FString(Key)), TEXT("v"));
	}
	std::sort(All.begin(), All.end());

	for (const int32 EntryLimit : {1, 7, 200, 1000})
	{
		const int32 Limit = EntryLimit + 1;
		const FString Cursor(All[All.size() / 3]);
		TArray<FString> Keys;
		int32 EntryCount = 0;
		int32 AfterCursor = 0;
		OrvexLocalizationInternal::CollectSmallestKeys(Table, &Cursor, Limit, Keys, EntryCount, AfterCursor);

		EXPECT_EQ(EntryCount, static_cast<int32>(All.size()));
		EXPECT_EQ(AfterCursor, static_cast<int32>(All.size() - All.size() / 3 - 1));
		ASSERT_EQ(Keys.Num(), Limit);
		for (int32 Index = 0; Index < Keys.Num(); ++Index)
		{
			EXPECT_EQ(Keys[Index].GetStdString(), All[All.size() / 3 + 1 + Index]);
		}
		// The working buffer asserts its own bound (2 x Limit) as it fills; the result needs no more.
		EXPECT_LE(Keys.Max(), 2 * Limit) << EntryLimit;
	}
}

// Short keys, keys that are prefixes of others, embedded zero units (which look like padding to a
// comparison that packs the first units), keys alike in their first eight units, the highest unit
// and surrogate pairs, in many orders.
TEST(KeySelection, OrdersByCodeUnitsWithPrefixesFirstAndKeepsEachTextWithItsKey)
{
	const std::vector<std::u16string> Texts = {
		u"", u"a", std::u16string(u"a\0", 2), std::u16string(u"a\0\0", 3), std::u16string(u"a\0\0\0\0", 5), u"a\u0001",
		u"ab", u"abcd", u"abcde", u"abcd\u0001", std::u16string(u"\0", 1), u"\uFFFF", u"\uFFFF\uFFFF\uFFFF\uFFFF\uFFFF",
		u"\U0001F48E", u"\uE000", u"Z", u"z", u" a", u"\u00e9t\u00e9",
		// Keys that agree in their first four or eight units, with zero units where padding would go.
		u"abcdefgh", u"abcdefghi", u"abcdefgh\u0001", u"abcdefgg\uFFFF", u"abcdefgi", std::u16string(u"abcd\0\0\0\0", 8),
		std::u16string(u"abcd\0\0\0\0x", 9), std::u16string(u"abcdefg\0", 8)};
	std::vector<std::u16string> Sorted = Texts;
	std::sort(Sorted.begin(), Sorted.end());

	std::mt19937 Random(5);
	for (int32 Round = 0; Round < 20; ++Round)
	{
		std::vector<std::u16string> Order = Texts;
		std::shuffle(Order.begin(), Order.end(), Random);
		FStringTableRef Table = FStringTable::NewStringTable();
		for (const std::u16string& Text : Order)
		{
			Table->SetSourceString(FTextKey(FString(Text)), TEXT("v"));
		}
		for (const int32 Limit : {1, 2, 3, 5, 40})
		{
			TArray<FString> Keys;
			TArray<FTextKey> TextKeys;
			int32 EntryCount = 0;
			int32 AfterCursor = 0;
			OrvexLocalizationInternal::CollectSmallestKeys(Table, nullptr, Limit, Keys, &TextKeys, EntryCount, AfterCursor);
			const int32 Expected = FMath::Min(Limit, static_cast<int32>(Sorted.size()));
			ASSERT_EQ(Keys.Num(), Expected);
			ASSERT_EQ(TextKeys.Num(), Expected);
			for (int32 Index = 0; Index < Expected; ++Index)
			{
				EXPECT_EQ(Keys[Index].GetStdString(), Sorted[Index]) << "limit " << Limit << ", position " << Index;
				EXPECT_TRUE(TextKeys[Index] == FTextKey(Keys[Index])) << "limit " << Limit << ", position " << Index;
			}

			// After a cursor that is a prefix of the next keys, only strictly greater keys follow.
			const FString Cursor(Sorted[2]);
			OrvexLocalizationInternal::CollectSmallestKeys(Table, &Cursor, Limit, Keys, EntryCount, AfterCursor);
			EXPECT_EQ(AfterCursor, static_cast<int32>(Sorted.size()) - 3);
			ASSERT_EQ(Keys.Num(), FMath::Min(Limit, AfterCursor));
			EXPECT_EQ(Keys[0].GetStdString(), Sorted[3]);
		}
	}

	TArray<FString> Keys;
	for (auto It = Texts.rbegin(); It != Texts.rend(); ++It)
	{
		Keys.Add(FString(*It));
	}
	OrvexLocalizationInternal::TrimToSmallestKeys(Keys, 4);
	ASSERT_EQ(Keys.Num(), 4);
	for (int32 Index = 0; Index < 4; ++Index)
	{
		EXPECT_EQ(Keys[Index].GetStdString(), Sorted[Index]);
	}
}
