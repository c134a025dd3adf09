#include "CoreMinimal.h"
#include "Containers/StringConv.h"

#include <gtest/gtest.h>

#include <vector>

TEST(EngineString, ComparisonOperatorsIgnoreCaseButEqualsDoesNot)
{
	const FString A(TEXT("RendererSettings"));
	const FString B(TEXT("renderersettings"));
	EXPECT_TRUE(A == B);
	EXPECT_FALSE(A.Equals(B));
	EXPECT_TRUE(A.Equals(B, ESearchCase::IgnoreCase));
	EXPECT_NE(A.Compare(B), 0);
	EXPECT_FALSE(A < B);
	EXPECT_FALSE(B < A);
}

TEST(EngineString, Utf8TextConvertsWhereverTheFirstWideCharacterFalls)
{
	// Offsets on either side of a word boundary, and a stray byte that becomes U+FFFD.
	EXPECT_EQ(UE::Host::Utf8ToString("Key=Value").GetStdString(), u"Key=Value");
	EXPECT_EQ(UE::Host::Utf8ToString("Caf\xC3\xA9").GetStdString(), u"Caf\u00E9");
	EXPECT_EQ(UE::Host::Utf8ToString("Greeting=Gr\xC3\xBC\xC3\x9F Gott").GetStdString(), u"Greeting=Gr\u00FC\u00DF Gott");
	EXPECT_EQ(UE::Host::Utf8ToString("DisplayName=\xE6\x97\xA5\xE6\x9C\xAC").GetStdString(), u"DisplayName=\u65E5\u672C");
	EXPECT_EQ(UE::Host::Utf8ToString("ABCDEFGH\xF0\x9F\x98\x80").GetStdString(), u"ABCDEFGH\U0001F600");
	EXPECT_EQ(UE::Host::Utf8ToString("Broken=\xFF!").GetStdString(), u"Broken=\uFFFD!");
	EXPECT_EQ(UE::Host::Utf8ToString(std::string_view("A\0B", 3)).GetStdString(), std::u16string(u"A\0B", 3));
	// Long ASCII runs are widened in blocks: the first wide character just before, at and after a
	// block's end.
	for (const size_t Ascii : {15, 16, 17, 511, 512, 513, 1030})
	{
		const std::string Text = std::string(Ascii, 'k') + "\xC3\xA9=" + std::string(40, 'v');
		EXPECT_EQ(UE::Host::Utf8ToString(Text).GetStdString(), std::u16string(Ascii, u'k') + u"\u00E9=" + std::u16string(40, u'v')) << Ascii;
	}
}

TEST(EngineName, SpellingsShareOneComparisonAndKeepTheirOwnDisplay)
{
	const FName First(TEXT("LinuxTargetSettings"));
	const FName Other(TEXT("linuxtargetsettings"));
	const FName Again(FString(TEXT("LinuxTargetSettings")));
	EXPECT_TRUE(First == Other);
	EXPECT_EQ(First.GetComparisonIndex(), Other.GetComparisonIndex());
	EXPECT_TRUE(First.ToString().Equals(TEXT("LinuxTargetSettings")));
	EXPECT_TRUE(Other.ToString().Equals(TEXT("linuxtargetsettings")));
	EXPECT_TRUE(Again.ToString().Equals(TEXT("LinuxTargetSettings")));
	EXPECT_TRUE(FName(TEXT("NONE")).IsNone());
	EXPECT_TRUE(FName(TEXT("")).IsNone());
}

TEST(EngineName, ManyNamesKeepTheirIndicesAndSpellings)
{
	// Enough names to grow the lookup tables several times, and one longer than a storage block.
	std::vector<FName> Lower;
	std::vector<FName> Upper;
	for (int32 Index = 0; Index < 20000; ++Index)
	{
		Lower.emplace_back(*FString::Printf(TEXT("r.setting%d.value"), Index));
		Upper.emplace_back(*FString::Printf(TEXT("R.Setting%d.Value"), Index));
	}
	const FString Long = FString::ChrN(20000, TEXT('L'));
	const FName LongName(Long);
	for (int32 Index = 0; Index < 20000; ++Index)
	{
		ASSERT_TRUE(Lower[Index] == Upper[Index]) << Index;
		ASSERT_FALSE(Lower[Index] == Lower[(Index + 1) % 20000]) << Index;
		ASSERT_TRUE(Upper[Index].ToString().Equals(FString::Printf(TEXT("R.Setting%d.Value"), Index))) << Index;
		ASSERT_EQ(FName(*FString::Printf(TEXT("r.SETTING%d.value"), Index)).GetComparisonIndex(), Lower[Index].GetComparisonIndex());
	}
	EXPECT_TRUE(LongName.ToString().Equals(Long));
	EXPECT_EQ(FName(Long.ToLower()).GetComparisonIndex(), LongName.GetComparisonIndex());
}
