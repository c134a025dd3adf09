// FPackageName: the text checks and their reasons, the mount check, and the conversions between
// package names and files.
#include "CoreMinimal.h"
#include "Misc/PackageName.h"
#include "ScopedTestFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{
	using EErrorCode = FPackageName::EErrorCode;

	// Mounts a root for one test and takes it away again.
	class FScopedMount
	{
	public:
		FScopedMount(const TCHAR* InRoot, const FString& InFolder) : Root(InRoot), Folder(InFolder) { FPackageName::RegisterMountPoint(Root, Folder); }
		~FScopedMount() { FPackageName::UnRegisterMountPoint(Root, Folder); }

	private:
		FString Root;
		FString Folder;
	};

	EErrorCode ReasonCode(const TCHAR* Name, bool bIncludeReadOnlyRoots = false)
	{
		EErrorCode Code = EErrorCode::PackageNameUnknown;
		EXPECT_FALSE(FPackageName::IsValidLongPackageName(Name, bIncludeReadOnlyRoots, &Code)) << ToUtf8(Name);
		return Code;
	}

	std::string ReasonText(const FString& Name)
	{
		FText Reason;
		EXPECT_FALSE(FPackageName::IsValidLongPackageName(Name, false, &Reason)) << ToUtf8(Name);
		return ToUtf8(Reason.ToString());
	}

	// How list_string_tables checks a root: a package directly below it must be valid.
	bool IsRoot(const TCHAR* Root)
	{
		return FPackageName::IsValidLongPackageName(FString(Root) + TEXT("/x"), false);
	}

	const char* const InvalidCharacterList = R"(\:*?"<>|' ,.&!~\n\r\t@#)";
}

TEST(PackageNameText, EachCheckHasTheEngineReason)
{
	EXPECT_EQ(ReasonText(TEXT("/Ga")), "Input '/Ga' contains fewer than the minimum number of characters 4 for LongPackageNames.");
	EXPECT_EQ(ReasonText(TEXT("Game/Loc")), "Input 'Game/Loc' does not start with a '/', which is required for LongPackageNames.");
	EXPECT_EQ(ReasonText(TEXT("/Game/Loc/")), "Input '/Game/Loc/' ends with a '/', which is invalid for LongPackageNames.");
	EXPECT_EQ(ReasonText(TEXT("/Game//Loc")), "Input '/Game//Loc' contains '//', which is invalid for LongPackageNames.");
	EXPECT_EQ(ReasonText(TEXT("/Game/Maps/Map.Map")),
		std::string("Input '/Game/Maps/Map.Map' contains one of the invalid characters for LongPackageNames: '") + InvalidCharacterList + "'.");
	EXPECT_EQ(ReasonText(TEXT("/NotAMountPoint/Localization")), "Path does not start with a valid root. Path must begin with one of: /Engine, /Game");
}

TEST(PackageNameText, TheFirstFailingCheckWinsInTheEngineOrder)
{
	// Each input breaks the named rule and every rule after it.
	EXPECT_EQ(ReasonCode(TEXT("")), EErrorCode::LongPackageNames_PathTooShort);
	EXPECT_EQ(ReasonCode(TEXT("a/.")), EErrorCode::LongPackageNames_PathTooShort);
	EXPECT_EQ(ReasonCode(TEXT("G//.")), EErrorCode::LongPackageNames_PathWithNoStartingSlash);
	EXPECT_EQ(ReasonCode(TEXT("/G.//")), EErrorCode::LongPackageNames_PathWithTrailingSlash);
	EXPECT_EQ(ReasonCode(TEXT("/G//a.b")), EErrorCode::LongPackageNames_PathWithDoubleSlash);
	EXPECT_EQ(ReasonCode(TEXT("/Nowhere/a.b")), EErrorCode::PackageNameContainsInvalidCharacters);
	EXPECT_EQ(ReasonCode(TEXT("/Nowhere/ab")), EErrorCode::PackageNamePathNotMounted);
	// The text checks come before the mount check, so an unmounted name reports its text fault.
	EXPECT_EQ(ReasonCode(TEXT("/Nowhere/")), EErrorCode::LongPackageNames_PathWithTrailingSlash);
}

TEST(PackageNameText, EveryListedCharacterIsRefusedAndOtherTextIsNot)
{
	for (const TCHAR C : FString(TEXT("\\:*?\"<>|' ,.&!~\n\r\t@#")))
	{
		const FString Name = FString(TEXT("/Game/A")) + FString::Chr(C) + TEXT("B");
		EXPECT_EQ(ReasonCode(*Name), EErrorCode::PackageNameContainsInvalidCharacters) << static_cast<int>(C);
	}
	for (const TCHAR* Valid : {TEXT("/Game/A-B_C(1)"), TEXT("/Game/\u00C9p\u00E9e/\u5263"), TEXT("/Game/a+b=c"), TEXT("/Game/x")})
	{
		EXPECT_TRUE(FPackageName::IsValidLongPackageName(Valid)) << ToUtf8(Valid);
	}
	EXPECT_TRUE(FPackageName::IsValidTextForLongPackageName(TEXT("/Nowhere/Text")));
}

TEST(PackageNameText, ASuccessLeavesTheReasonAlone)
{
	FText Reason = FText::FromString(TEXT("untouched"));
	EXPECT_TRUE(FPackageName::IsValidLongPackageName(TEXT("/Game/Localization/ST_UI"), false, &Reason));
	EXPECT_EQ(ToUtf8(Reason.ToString()), "untouched");
	EErrorCode Code = EErrorCode::PackageNameSpacesNotAllowed;
	EXPECT_TRUE(FPackageName::IsValidLongPackageName(TEXT("/Engine/Maps/Entry"), false, &Code));
	EXPECT_EQ(Code, EErrorCode::PackageNameSpacesNotAllowed);
}

TEST(PackageNameMounts, RootsMatchIgnoringCaseAndOnlyAsWholeSegments)
{
	EXPECT_TRUE(FPackageName::IsValidLongPackageName(TEXT("/game/localization/st_ui")));
	EXPECT_TRUE(FPackageName::IsValidLongPackageName(TEXT("/ENGINE/Maps/Entry")));
	EXPECT_EQ(ReasonCode(TEXT("/Game")), EErrorCode::PackageNamePathNotMounted);
	EXPECT_EQ(ReasonCode(TEXT("/GameX/Loc")), EErrorCode::PackageNamePathNotMounted);
	EXPECT_EQ(ReasonCode(TEXT("/Gam/Loc")), EErrorCode::PackageNamePathNotMounted);
}

TEST(PackageNameMounts, ReadOnlyRootsCountOnlyWhenAskedFor)
{
	for (const TCHAR* Name : {TEXT("/Script/Engine"), TEXT("/Temp/Untitled_1"), TEXT("/Config/DefaultEngine"), TEXT("/Memory/Buffer")})
	{
		EXPECT_EQ(ReasonCode(Name), EErrorCode::PackageNamePathNotMounted) << ToUtf8(Name);
		EXPECT_TRUE(FPackageName::IsValidLongPackageName(Name, true)) << ToUtf8(Name);
	}
	EXPECT_EQ(ReasonText(TEXT("/Temp/Untitled_1")), "Path does not start with a valid root. Path must begin with one of: /Engine, /Game");
	EXPECT_TRUE(FPackageName::IsScriptPackage(TEXT("/Script/Engine")));
	EXPECT_TRUE(FPackageName::IsTempPackage(TEXT("/Temp/A")));
	EXPECT_TRUE(FPackageName::IsMemoryPackage(TEXT("/Memory/A")));
	EXPECT_FALSE(FPackageName::IsScriptPackage(TEXT("/Game/Script/A")));
}

TEST(PackageNameMounts, RootChecksOfListStringTables)
{
	FScopedTestFolder Folder;
	const FScopedMount Plugin(TEXT("/SampleTools/"), Folder.Path(TEXT("Content")));
	for (const TCHAR* Accepted : {TEXT("/Game"), TEXT("/Game/Localization"), TEXT("/SampleTools/Sub"), TEXT("/SampleTools"), TEXT("/Engine")})
	{
		EXPECT_TRUE(IsRoot(Accepted)) << ToUtf8(Accepted);
	}
	for (const TCHAR* Refused : {TEXT("/Game/"), TEXT("/NotAMountPoint/Localization"), TEXT("/Temp/Loc"), TEXT("/Script/Engine"), TEXT("Game/Loc"), TEXT(""), TEXT("/"), TEXT("/Game/Loc.Sub")})
	{
		EXPECT_FALSE(IsRoot(Refused)) << ToUtf8(Refused);
	}
	// The reason lists every writable root, plugins after /Engine and /Game.
	EXPECT_EQ(ReasonText(TEXT("/Nowhere/x")), "Path does not start with a valid root. Path must begin with one of: /Engine, /Game, /SampleTools");
}

TEST(PackageNameMounts, MountingAndUnmountingARoot)
{
	FScopedTestFolder Folder;
	EXPECT_FALSE(FPackageName::MountPointExists(TEXT("/Probe/")));
	{
		const FScopedMount Probe(TEXT("Probe"), Folder.Path(TEXT("Content")));
		EXPECT_TRUE(FPackageName::MountPointExists(TEXT("/Probe/")));
		EXPECT_TRUE(FPackageName::MountPointExists(TEXT("/probe")));
		EXPECT_TRUE(FPackageName::IsValidLongPackageName(TEXT("/Probe/A")));
		EXPECT_EQ(FPackageName::GetPackageMountPoint(TEXT("/Probe/A/B")), FName(TEXT("Probe")));
		EXPECT_EQ(FPackageName::GetPackageMountPoint(TEXT("/Probe/A/B"), false), FName(TEXT("/Probe/")));

		TArray<FString> Roots;
		FPackageName::QueryRootContentPaths(Roots);
		EXPECT_EQ(ToUtf8(FString::Join(Roots, TEXT(" "))), "/Engine/ /Game/ /Probe/");
		FPackageName::QueryRootContentPaths(Roots, true, true, true);
		EXPECT_EQ(ToUtf8(FString::Join(Roots, TEXT(" "))), "Engine Game Probe Script Temp Config Memory");

		// Unmounting needs the folder it was mounted with.
		FPackageName::UnRegisterMountPoint(TEXT("/Probe/"), Folder.Path(TEXT("Elsewhere")));
		EXPECT_TRUE(FPackageName::MountPointExists(TEXT("/Probe/")));
	}
	EXPECT_FALSE(FPackageName::MountPointExists(TEXT("/Probe/")));
	EXPECT_EQ(ReasonCode(TEXT("/Probe/A")), EErrorCode::PackageNamePathNotMounted);
	EXPECT_EQ(FPackageName::GetPackageMountPoint(TEXT("/Probe/A")), FName());
}

TEST(PackageNameMounts, ARootNeedsANameOfItsOwn)
{
	TArray<FString> Before;
	FPackageName::QueryRootContentPaths(Before);
	FPackageName::RegisterMountPoint(TEXT("/"), TEXT("/tmp"));
	FPackageName::RegisterMountPoint(TEXT("//"), TEXT("/tmp"));
	TArray<FString> After;
	FPackageName::QueryRootContentPaths(After);
	EXPECT_EQ(After, Before);
}

TEST(PackageNameConversion, PackageNamesAndFilesMapThroughTheDeepestMount)
{
	FScopedTestFolder Folder;
	const FScopedMount Outer(TEXT("/Probe/"), Folder.Path(TEXT("Content")));
	const FScopedMount Inner(TEXT("/Probe/Inner/"), Folder.Path(TEXT("Elsewhere/")));

	FString Filename;
	ASSERT_TRUE(FPackageName::TryConvertLongPackageNameToFilename(TEXT("/Probe/Dir/ST_A"), Filename, TEXT(".csv")));
	EXPECT_EQ(ToUtf8(Filename), ToUtf8(Folder.Path(TEXT("Content/Dir/ST_A.csv"))));
	ASSERT_TRUE(FPackageName::TryConvertLongPackageNameToFilename(TEXT("/Probe/Inner/ST_B"), Filename, TEXT(".csv")));
	EXPECT_EQ(ToUtf8(Filename), ToUtf8(Folder.Path(TEXT("Elsewhere/ST_B.csv"))));
	ASSERT_TRUE(FPackageName::TryConvertLongPackageNameToFilename(TEXT("/Probe"), Filename));
	EXPECT_EQ(ToUtf8(Filename), ToUtf8(Folder.Path(TEXT("Content/"))));
	EXPECT_FALSE(FPackageName::TryConvertLongPackageNameToFilename(TEXT("/Nowhere/A"), Filename));
	EXPECT_FALSE(FPackageName::TryConvertLongPackageNameToFilename(TEXT("/Script/Engine"), Filename));
	EXPECT_EQ(ToUtf8(FPackageName::LongPackageNameToFilename(TEXT("/Nowhere/A"))), "");

	FString PackageName;
	ASSERT_TRUE(FPackageName::TryConvertFilenameToLongPackageName(Folder.Path(TEXT("Content/Dir/ST_A.csv")), PackageName));
	EXPECT_EQ(ToUtf8(PackageName), "/Probe/Dir/ST_A");
	ASSERT_TRUE(FPackageName::TryConvertFilenameToLongPackageName(Folder.Path(TEXT("Elsewhere/Deep/ST_C.csv")), PackageName));
	EXPECT_EQ(ToUtf8(PackageName), "/Probe/Inner/Deep/ST_C");
	ASSERT_TRUE(FPackageName::TryConvertFilenameToLongPackageName(Folder.Path(TEXT("Content/Dir/../Other/ST_D.csv")), PackageName));
	EXPECT_EQ(ToUtf8(PackageName), "/Probe/Other/ST_D");

	FString Reason;
	EXPECT_FALSE(FPackageName::TryConvertFilenameToLongPackageName(Folder.Path(TEXT("Outside/ST_A.csv")), PackageName, &Reason));
	EXPECT_NE(ToUtf8(Reason).find("not in a mounted content folder"), std::string::npos) << ToUtf8(Reason);
	EXPECT_FALSE(FPackageName::TryConvertFilenameToLongPackageName(Folder.Path(TEXT("Content/With Space.csv")), PackageName, &Reason));
	EXPECT_EQ(ToUtf8(Reason), std::string("Input '/Probe/With Space' contains one of the invalid characters for LongPackageNames: '") + InvalidCharacterList + "'.");
	EXPECT_EQ(ToUtf8(PackageName), "/Probe/Other/ST_D");
}

TEST(PackageNameConversion, DoesPackageExistLooksForTheAssetFile)
{
	FScopedTestFolder Folder;
	const FScopedMount Probe(TEXT("/Probe/"), Folder.Path(TEXT("Content")));
	Folder.WriteFile(TEXT("Content/Loc/ST_A.csv"), "\"Key\",\"SourceString\"\n");
	FString Filename;
	EXPECT_TRUE(FPackageName::DoesPackageExist(TEXT("/Probe/Loc/ST_A"), &Filename));
	EXPECT_EQ(ToUtf8(Filename), ToUtf8(Folder.Path(TEXT("Content/Loc/ST_A.csv"))));
	EXPECT_FALSE(FPackageName::DoesPackageExist(TEXT("/Probe/Loc/ST_B")));
	EXPECT_FALSE(FPackageName::DoesPackageExist(TEXT("/Probe/Loc")));
	EXPECT_FALSE(FPackageName::DoesPackageExist(TEXT("/Probe/Loc/ST_A.ST_A")));
}

TEST(PackageNameParts, NamesPathsAndObjectPathsSplitWhereTheEngineSplitsThem)
{
	EXPECT_EQ(ToUtf8(FPackageName::GetLongPackageAssetName(TEXT("/Game/Localization/ST_UI"))), "ST_UI");
	EXPECT_EQ(ToUtf8(FPackageName::GetLongPackageAssetName(TEXT("/Game/"))), "");
	EXPECT_EQ(ToUtf8(FPackageName::GetLongPackageAssetName(TEXT("NoSlash"))), "NoSlash");
	EXPECT_EQ(ToUtf8(FPackageName::GetLongPackagePath(TEXT("/Game/Localization/ST_UI"))), "/Game/Localization");
	EXPECT_EQ(ToUtf8(FPackageName::GetShortName(TEXT("/Game/Maps/Main.Main"))), "Main");
	EXPECT_EQ(ToUtf8(FPackageName::ObjectPathToPackageName(TEXT("/Game/Maps/Main.Main:Level"))), "/Game/Maps/Main");
	EXPECT_EQ(ToUtf8(FPackageName::ObjectPathToObjectName(TEXT("/Game/Maps/Main.Main:Level"))), "Main:Level");
	EXPECT_EQ(ToUtf8(FPackageName::ObjectPathToPackageName(TEXT("/Game/Maps/Main"))), "/Game/Maps/Main");

	FString Root;
	FString Path;
	FString Name;
	ASSERT_TRUE(FPackageName::SplitLongPackageName(TEXT("/Game/Localization/Dialogue/ST_Dialogue"), Root, Path, Name));
	EXPECT_EQ(ToUtf8(Root + TEXT("|") + Path + TEXT("|") + Name), "/Game/|Localization/Dialogue/|ST_Dialogue");
	ASSERT_TRUE(FPackageName::SplitLongPackageName(TEXT("/Game/ST_Top"), Root, Path, Name, true));
	EXPECT_EQ(ToUtf8(Root + TEXT("|") + Path + TEXT("|") + Name), "Game/||ST_Top");
	EXPECT_FALSE(FPackageName::SplitLongPackageName(TEXT("/Nowhere/A"), Root, Path, Name));

	FText Reason;
	EXPECT_TRUE(FPackageName::IsValidObjectPath(TEXT("/Game/Maps/Main.Main"), &Reason));
	EXPECT_FALSE(FPackageName::IsValidObjectPath(TEXT("/Game/Maps/Main"), &Reason));
	EXPECT_FALSE(FPackageName::IsValidObjectPath(TEXT("/Game/Maps/Main."), &Reason));
	EXPECT_FALSE(FPackageName::IsValidObjectPath(TEXT("/Nowhere/Main.Main"), &Reason));
	EXPECT_TRUE(FPackageName::IsValidPath(TEXT("/Game/")));
	EXPECT_TRUE(FPackageName::IsValidPath(TEXT("/Game")));
	EXPECT_FALSE(FPackageName::IsValidPath(TEXT("/Nowhere")));
}
