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
		// The buffer's storage shows the most it ever held.
		EXPECT_LE(Keys.Max(), 2 * Limit) << EntryLimit;
	}
}
