// The array operators of the hierarchical merge, applied across layers.
#include "CoreMinimal.h"
#include "Misc/ConfigCacheIni.h"
#include "ScopedTestFolder.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

namespace
{
	// Merges the texts in order, as successive layers.
	FConfigFile Merge(std::initializer_list<std::string> Layers)
	{
		FConfigFile File;
		for (const std::string& Layer : Layers)
		{
			File.CombineFromBuffer(UE::Host::Utf8ToString(Layer), FString());
		}
		return File;
	}

	std::string Values(const FConfigFile& File, const TCHAR* Key)
	{
		TArray<FString> Result;
		File.GetArray(TEXT("S"), Key, Result);
		return ToUtf8(FString::Join(Result, TEXT("|")));
	}
}

TEST(ConfigOperators, PlainLinesReplaceTheNewestValueOnly)
{
	const FConfigFile File = Merge({"[S]\n.Key=A\n.Key=B\nSingle=1\nSingle=2\n", "[S]\nKey=C\n"});
	EXPECT_EQ(Values(File, TEXT("Key")), "A|C");
	EXPECT_EQ(Values(File, TEXT("Single")), "2");
}

TEST(ConfigOperators, SingleValueReadsReturnTheNewestValue)
{
	// [DeviceProfiles] DeviceProfileNameAndTypes in shipped files: several + lines, read singly.
	FConfigFile File = Merge({"[DeviceProfiles]\n+DeviceProfileNameAndTypes=Windows,Windows\n+DeviceProfileNameAndTypes=Linux,Linux\n",
		"[DeviceProfiles]\n+DeviceProfileNameAndTypes=Android,Android\n"});
	FString Value;
	ASSERT_TRUE(File.GetString(TEXT("DeviceProfiles"), TEXT("DeviceProfileNameAndTypes"), Value));
	EXPECT_EQ(ToUtf8(Value), "Android,Android");

	// A refilled hole is the newest value even though an older one follows it in the section.
	File = Merge({"[S]\n+Key=A\n+Key=B\n+Other=X\n", "[S]\n!Key=ClearArray\n+Other=Y\n"});
	ASSERT_TRUE(File.GetString(TEXT("S"), TEXT("Other"), Value));
	EXPECT_EQ(ToUtf8(Value), "Y");
	EXPECT_EQ(Values(File, TEXT("Other")), "Y|X");

	// The merged file read back as one more layer keeps which value is the newest.
	File.CombineFromBuffer(UE::Host::Utf8ToString("[S]\nUnrelated=1\n"), FString());
	ASSERT_TRUE(File.GetString(TEXT("S"), TEXT("Other"), Value));
	EXPECT_EQ(ToUtf8(Value), "Y");
}

TEST(ConfigOperators, ClearedArraysRefillInFileOrder)
{
	const FConfigFile File = Merge({"[S]\n+Targets=A\n+Targets=B\n+Targets=C\n",
		"[S]\n!Targets=ClearArray\n+Targets=PCD3D_SM6\n+Targets=PCD3D_SM5\n+Targets=Vulkan\n+Targets=Metal\n"});
	EXPECT_EQ(Values(File, TEXT("Targets")), "PCD3D_SM6|PCD3D_SM5|Vulkan|Metal");
}

TEST(ConfigOperators, PlusAddsUniqueAndDotAddsDuplicates)
{
	const FConfigFile File = Merge({"[S]\n+Key=A\n+Key=B\n", "[S]\n+Key=A\n+Key=a\n.Key=B\n"});
	EXPECT_EQ(Values(File, TEXT("Key")), "A|B|a|B");
}

TEST(ConfigOperators, MinusRemovesOneExactlyEqualValue)
{
	// The newest equal value goes; letter case counts.
	const FConfigFile File = Merge({"[S]\n.Key=A\n.Key=B\n.Key=A\n", "[S]\n-Key=A\n-Key=b\n-Key=Missing\n"});
	EXPECT_EQ(Values(File, TEXT("Key")), "A|B");
}

TEST(ConfigOperators, BangClearsTheArrayWhateverItsValue)
{
	const FConfigFile File = Merge({"[S]\n+Key=A\n+Key=B\nOther=1\n", "[S]\n!Key=ClearArray\n+Key=C\n!Other=__ClearArray__\n"});
	EXPECT_EQ(Values(File, TEXT("Key")), "C");
	EXPECT_EQ(Values(File, TEXT("Other")), "");
	EXPECT_FALSE(File.FindSection(TEXT("S"))->IsArrayExplicitlyEmpty(FName(TEXT("Other"))));
}

TEST(ConfigOperators, CaretClearsAndMarksTheArrayExplicitlyEmpty)
{
	const FConfigFile File = Merge({"[S]\n+Key=A\n+Kept=B\n", "[S]\n^Key=\n^Kept=\n+Kept=C\n"});
	const FConfigSection* Section = File.FindSection(TEXT("S"));
	ASSERT_NE(Section, nullptr);
	EXPECT_EQ(Values(File, TEXT("Key")), "");
	EXPECT_TRUE(Section->IsArrayExplicitlyEmpty(FName(TEXT("Key"))));
	EXPECT_FALSE(Section->IsArrayExplicitlyEmpty(FName(TEXT("Kept"))));
	EXPECT_EQ(Values(File, TEXT("Kept")), "C");
}

TEST(ConfigOperators, IdentityFieldReplacesMatchingStructsInPlace)
{
	const FConfigFile File = Merge({
		"[S]\n"
		"@Profiles=Name\n"
		"+Profiles=(Name=\"NoCollision\",Enabled=False)\n"
		"+Profiles=(Name=\"BlockAll\",Enabled=True)\n",
		"[S]\n"
		"+Profiles=(Name=\"NoCollision\",Enabled=True)\n"
		"Profiles=(Name=\"blockall\",Enabled=False)\n"
		"+Profiles=(Name=\"Custom\",Enabled=True)\n"
		"+Profiles=(DisplayName=\"NoCollision\")\n"});
	EXPECT_EQ(Values(File, TEXT("Profiles")),
		"(Name=\"NoCollision\",Enabled=True)|(Name=\"blockall\",Enabled=False)|(Name=\"Custom\",Enabled=True)|(DisplayName=\"NoCollision\")");
}

TEST(ConfigOperators, WithoutIdentityFieldStructsAreWholeValues)
{
	const FConfigFile File = Merge({"[S]\n+Profiles=(Name=A,V=1)\n", "[S]\n+Profiles=(Name=A,V=2)\n*Profiles=Name\n"});
	EXPECT_EQ(Values(File, TEXT("Profiles")), "(Name=A,V=1)|(Name=A,V=2)");
}

TEST(ConfigOperators, MinusPacksTheSectionSoLaterAddsAppend)
{
	// The shipped swap of a struct element: remove the old one, add its replacement at the end.
	const FConfigFile File = Merge({"[S]\n+Key=A\n+Key=B\n+Key=C\n", "[S]\n-Key=B\n+Key=D\n"});
	EXPECT_EQ(Values(File, TEXT("Key")), "A|C|D");
	FString Value;
	ASSERT_TRUE(File.GetString(TEXT("S"), TEXT("Key"), Value));
	EXPECT_EQ(ToUtf8(Value), "D");
}

TEST(ConfigOperators, MinusPacksAwayEarlierHolesAndRelinksInSectionOrder)
{
	// The hole "!Other" leaves is dropped by the pack, so the later addition goes last.
	FConfigFile File = Merge({"[S]\n.Other=X\n.Key=A\n.Key=B\n", "[S]\n!Other=ClearArray\n-Key=B\n.Added=Y\n"});
	std::string Order;
	for (const auto& Pair : *File.FindSection(TEXT("S")))
	{
		Order += ToUtf8(Pair.Key.ToString()) + ";";
	}
	EXPECT_EQ(Order, "Key;Added;");

	// B refills the hole ahead of A and is the newest until the pack relinks the section in
	// slot order; from then on A, the later slot, is what a plain line replaces.
	File = Merge({"[S]\n.Other=X\n.Key=A\n!Other=ClearArray\n.Key=B\n", "[S]\n.Temp=1\n-Temp=1\nKey=Z\n"});
	EXPECT_EQ(Values(File, TEXT("Key")), "B|Z");
	FString Value;
	ASSERT_TRUE(File.GetString(TEXT("S"), TEXT("Key"), Value));
	EXPECT_EQ(ToUtf8(Value), "Z");
}
