#include "CoreMinimal.h"
#include "Containers/StringConv.h"

#include <gtest/gtest.h>

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
