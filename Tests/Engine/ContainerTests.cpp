// The hash containers as the config cache relies on them: slots in insertion order with holes
// refilled most recent first, lookups that find a key's newest value, a multimap's values in slot
// order, and all of it kept through the index growing and elements going.
#include "CoreMinimal.h"

#include <gtest/gtest.h>

namespace
{
	std::string Values(const TMultiMap<FName, FString>& Map, const TCHAR* Key)
	{
		TArray<FString> Found;
		Map.MultiFind(FName(Key), Found, true);
		return TCHAR_TO_UTF8(*FString::Join(Found, TEXT("|")));
	}

	std::string Walk(const TMultiMap<FName, FString>& Map)
	{
		FString Text;
		for (const auto& Pair : Map)
		{
			Text += Pair.Key.ToString() + TEXT("=") + Pair.Value + TEXT(";");
		}
		return TCHAR_TO_UTF8(*Text);
	}
}

TEST(EngineContainers, MultimapFindsTheNewestValueAndListsValuesInSlotOrder)
{
	TMultiMap<FName, FString> Map;
	Map.Add(FName(TEXT("Paths")), TEXT("A"));
	Map.Add(FName(TEXT("Other")), TEXT("X"));
	Map.Add(FName(TEXT("paths")), TEXT("B"));
	Map.Add(FName(TEXT("Paths")), TEXT("C"));
	EXPECT_EQ(TCHAR_TO_UTF8(**Map.Find(FName(TEXT("PATHS")))), std::string("C"));
	EXPECT_EQ(Map.Num(FName(TEXT("Paths"))), 3);

	// The newest equal value goes, and its hole is the next to be filled; a refilled slot is the
	// newest of its key although it lies first.
	Map.Add(FName(TEXT("Paths")), TEXT("B"));
	EXPECT_EQ(Map.RemoveSingle(FName(TEXT("Paths")), TEXT("B")), 1);
	EXPECT_EQ(Values(Map, TEXT("Paths")), "A|B|C");
	Map.Remove(FName(TEXT("Other")));
	Map.Add(FName(TEXT("Paths")), TEXT("D"));
	EXPECT_EQ(Walk(Map), "Paths=A;Paths=D;paths=B;Paths=C;");
	EXPECT_EQ(TCHAR_TO_UTF8(**Map.Find(FName(TEXT("Paths")))), std::string("D"));
	EXPECT_EQ(Values(Map, TEXT("Paths")), "A|D|B|C");
}

TEST(EngineContainers, LookupsHoldThroughGrowthRemovalAndSorting)
{
	// Values of one key first, then enough other keys to grow the index several times over them.
	TMultiMap<FName, FString> Map;
	for (int32 Index = 0; Index < 3000; ++Index)
	{
		Map.Add(FName(TEXT("Long")), FString::FromInt(Index));
		if (Index % 3 == 0)
		{
			Map.Add(FName(*FString::Printf(TEXT("Key%d"), Index % 700)), FString::FromInt(Index));
		}
	}
	for (int32 Index = 0; Index < 20000; ++Index)
	{
		Map.Add(FName(*FString::Printf(TEXT("Other%d"), Index)), FString());
	}
	for (int32 Key = 0; Key < 700; Key += 3)
	{
		// The last value added for Key%d is the largest multiple of 3 below 3000 with that remainder.
		int32 Newest = Key;
		for (int32 Index = Key; Index < 3000; Index += 700)
		{
			Newest = Index % 3 == 0 ? Index : Newest;
		}
		ASSERT_EQ(TCHAR_TO_UTF8(**Map.Find(FName(*FString::Printf(TEXT("key%d"), Key)))), std::to_string(Newest)) << Key;
	}
	EXPECT_EQ(TCHAR_TO_UTF8(**Map.Find(FName(TEXT("Long")))), std::string("2999"));

	// Removing from the middle of a long chain keeps the rest of it findable.
	for (int32 Index = 0; Index < 3000; Index += 2)
	{
		ASSERT_EQ(Map.RemoveSingle(FName(TEXT("Long")), FString::FromInt(Index)), 1) << Index;
	}
	EXPECT_EQ(Map.Num(FName(TEXT("Long"))), 1500);
	EXPECT_EQ(TCHAR_TO_UTF8(**Map.Find(FName(TEXT("Long")))), std::string("2999"));
	EXPECT_EQ(Map.Remove(FName(TEXT("Key3"))), 2);
	EXPECT_EQ(Map.Find(FName(TEXT("Key3"))), nullptr);
	EXPECT_NE(Map.Find(FName(TEXT("Key6"))), nullptr);

	TMap<FString, int32> Sorted;
	for (const TCHAR* Name : {TEXT("c"), TEXT("A"), TEXT("b")})
	{
		Sorted.Add(FString(Name), static_cast<int32>(Sorted.Num()));
	}
	Sorted.Remove(FString(TEXT("a")));
	Sorted.KeySort([](const FString& A, const FString& B) { return A.Compare(B, ESearchCase::IgnoreCase) < 0; });
	Sorted.Add(FString(TEXT("B")), 9);
	std::string Order;
	for (const auto& Pair : Sorted)
	{
		Order += TCHAR_TO_UTF8(*Pair.Key) + std::to_string(Pair.Value);
	}
	// Replacing a key keeps its place and takes the new spelling.
	EXPECT_EQ(Order, "B9c0");

	TSet<FName> Set;
	Set.Add(FName(TEXT("One")));
	Set.Reset();
	EXPECT_FALSE(Set.Contains(FName(TEXT("One"))));
	Set.Add(FName(TEXT("one")));
	EXPECT_TRUE(Set.Contains(FName(TEXT("ONE"))));
}
