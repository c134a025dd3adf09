// The asset registry on a booted host: mounts, the scan of the content folders, and queries.
#include "AssetRegistry/ARFilter.h"
#include "AssetRegistry/AssetData.h"
#include "AssetRegistry/AssetRegistryModule.h"
#include "AssetRegistry/IAssetRegistry.h"
#include "Engine/DataTable.h"
#include "HostTestEnvironment.h"
#include "Internationalization/StringTable.h"
#include "Misc/PackageName.h"
#include "Modules/ModuleManager.h"
#include "Templates/Casts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace
{
	const char* const SmallTable = "\"Key\",\"SourceString\"\n\"K\",\"V\"\n";

	class AssetRegistryTest : public testing::Test
	{
	protected:
		void Boot()
		{
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			ASSERT_TRUE(Host->IsRunning()) << UE::Host::StringToUtf8(Host->GetError());
		}

		static std::vector<std::string> Query(const FARFilter& Filter)
		{
			TArray<FAssetData> Assets;
			EXPECT_TRUE(IAssetRegistry::GetChecked().GetAssets(Filter, Assets));
			std::vector<std::string> Paths;
			for (const FAssetData& Asset : Assets)
			{
				Paths.push_back(UE::Host::StringToUtf8(Asset.GetObjectPathString()));
			}
			std::sort(Paths.begin(), Paths.end());
			return Paths;
		}

		static FARFilter PathFilter(const TCHAR* Path, bool bRecursive)
		{
			FARFilter Filter;
			Filter.PackagePaths.Add(FName(Path));
			Filter.bRecursivePaths = bRecursive;
			return Filter;
		}

		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
	};

	class AssetRegistryScan : public AssetRegistryTest
	{
	protected:
		void SetUp() override
		{
			Folders.WriteProject("Content/Loc/ST_A.csv", SmallTable);
			Folders.WriteProject("Content/Loc/Deep/st_lower.csv", "\"key\",\"sourcestring\",\"Comment\"\n\"K\",\"V\",\"C\"\n");
			Folders.WriteProject("Content/Loc/ST_Bom.csv", "\xEF\xBB\xBF\"Key\",\"SourceString\"\r\n\"K\",\"V\"\r\n");
			// UTF-16 little-endian with its byte-order mark, as the editor saves non-ASCII tables.
			const std::u16string Utf16 = u"\uFEFF\"Key\",\"SourceString\"\n\"K\",\"\u00E9\"\n";
			Folders.WriteProject("Content/Loc/ST_Wide.csv", std::string(reinterpret_cast<const char*>(Utf16.data()), Utf16.size() * 2));
			Folders.WriteProject("Content/Loc/Broken.csv", "\"Key\",\"SourceString\"\n\"unterminated,\"x\n");
			Folders.WriteProject("Content/Loc/Plain.csv", "\"Name\",\"Value\"\n\"A\",\"1\"\n");
			Folders.WriteProject("Content/Loc/Empty.csv", "");
			Folders.WriteProject("Content/Loc/Notes.txt", SmallTable);
			Folders.WriteProject("Content/Loc/With Space.csv", SmallTable);
			Folders.WriteProject("Content/Data/DT_Items.csv", "---,Name,Weight\nSword,Sword,3\n");
			Folders.WriteProject("Content/Data/DT_Quoted.csv", "\"---\",\"Name\"\n\"A\",\"B\"\n");
			Folders.WriteEngine("Content/EngineLoc/ST_Engine.csv", SmallTable);
			Folders.WriteProject("Plugins/Tools/Tools.uplugin", "{\"FileVersion\": 3}\n");
			Folders.WriteProject("Plugins/Tools/Content/ST_Tool.csv", SmallTable);
			Folders.WriteProject("Plugins/Group/Nested/Nested.uplugin", "{\"FileVersion\": 3}\n");
			Folders.WriteProject("Plugins/Group/Nested/Content/Sub/ST_Nested.csv", SmallTable);
			Folders.WriteProject("Plugins/NoDescriptor/Content/ST_Lost.csv", SmallTable);
			Boot();
		}
	};
}

TEST_F(AssetRegistryScan, PluginsMountBesideEngineAndGameAndLeaveWithTheHost)
{
	TArray<FString> Roots;
	FPackageName::QueryRootContentPaths(Roots);
	EXPECT_EQ(UE::Host::StringToUtf8(FString::Join(Roots, TEXT(" "))), "/Engine/ /Game/ /Nested/ /Tools/");
	FString Filename;
	ASSERT_TRUE(FPackageName::TryConvertLongPackageNameToFilename(TEXT("/Nested/Sub/ST_Nested"), Filename, TEXT(".csv")));
	EXPECT_EQ(UE::Host::StringToUtf8(Filename), (Folders.ProjectDir() / "Plugins/Group/Nested/Content/Sub/ST_Nested.csv").string());
	ASSERT_TRUE(FPackageName::TryConvertLongPackageNameToFilename(TEXT("/Engine/EngineLoc/ST_Engine"), Filename, TEXT(".csv")));
	EXPECT_EQ(UE::Host::StringToUtf8(Filename), (Folders.EngineDir() / "Content/EngineLoc/ST_Engine.csv").string());

	Host.reset();
	EXPECT_EQ(IAssetRegistry::Get(), nullptr);
	EXPECT_FALSE(FPackageName::MountPointExists(TEXT("/Tools/")));
	EXPECT_TRUE(FPackageName::MountPointExists(TEXT("/Game/")));
}

TEST_F(AssetRegistryScan, EveryAssetFileIsFoundWithItsClassAndNothingElse)
{
	TArray<FAssetData> All;
	ASSERT_TRUE(IAssetRegistry::GetChecked().GetAllAssets(All, true));
	std::vector<std::string> Rows;
	for (const FAssetData& Asset : All)
	{
		Rows.push_back(UE::Host::StringToUtf8(Asset.GetFullName()));
	}
	std::sort(Rows.begin(), Rows.end());
	EXPECT_EQ(Rows, (std::vector<std::string>{
		"DataTable /Game/Data/DT_Items.DT_Items",
		"DataTable /Game/Data/DT_Quoted.DT_Quoted",
		"StringTable /Engine/EngineLoc/ST_Engine.ST_Engine",
		"StringTable /Game/Loc/Broken.Broken",
		"StringTable /Game/Loc/Deep/st_lower.st_lower",
		"StringTable /Game/Loc/ST_A.ST_A",
		"StringTable /Game/Loc/ST_Bom.ST_Bom",
		"StringTable /Game/Loc/ST_Wide.ST_Wide",
		"StringTable /Nested/Sub/ST_Nested.ST_Nested",
		"StringTable /Tools/ST_Tool.ST_Tool",
	}));
}

TEST_F(AssetRegistryScan, AssetDataNamesThePackageTheFolderAndTheClass)
{
	const FAssetData Asset = IAssetRegistry::GetChecked().GetAssetByObjectPath(FSoftObjectPath(TEXT("/Game/Loc/Deep/st_lower.st_lower")));
	ASSERT_TRUE(Asset.IsValid());
	EXPECT_EQ(UE::Host::StringToUtf8(Asset.PackageName.ToString()), "/Game/Loc/Deep/st_lower");
	EXPECT_EQ(UE::Host::StringToUtf8(Asset.PackagePath.ToString()), "/Game/Loc/Deep");
	EXPECT_EQ(UE::Host::StringToUtf8(Asset.AssetName.ToString()), "st_lower");
	EXPECT_EQ(UE::Host::StringToUtf8(Asset.AssetClassPath.ToString()), "/Script/Engine.StringTable");
	EXPECT_EQ(UE::Host::StringToUtf8(Asset.GetSoftObjectPath().ToString()), "/Game/Loc/Deep/st_lower.st_lower");
	EXPECT_EQ(UE::Host::StringToUtf8(Asset.GetExportTextName()), "/Script/Engine.StringTable'/Game/Loc/Deep/st_lower.st_lower'");
	EXPECT_TRUE(Asset.IsUAsset());
	EXPECT_EQ(Asset.GetClass(), UStringTable::StaticClass());
	EXPECT_TRUE(Asset.IsInstanceOf(UObject::StaticClass()));
	EXPECT_FALSE(Asset.IsInstanceOf(UDataTable::StaticClass()));

	// Package names compare without regard to letter case.
	EXPECT_TRUE(IAssetRegistry::GetChecked().GetAssetByObjectPath(FSoftObjectPath(TEXT("/game/loc/ST_a.st_A"))).IsValid());
	EXPECT_FALSE(IAssetRegistry::GetChecked().GetAssetByObjectPath(FSoftObjectPath(TEXT("/Game/Loc/ST_A.Other"))).IsValid());
	EXPECT_FALSE(IAssetRegistry::GetChecked().GetAssetByObjectPath(FSoftObjectPath()).IsValid());
	EXPECT_FALSE(FAssetData().IsValid());
	EXPECT_EQ(FAssetData().GetAsset(), nullptr);
	EXPECT_EQ(UE::Host::StringToUtf8(FAssetData().GetObjectPathString()), "");
}

TEST_F(AssetRegistryScan, PackagePathsMatchTheirFolderOrEverythingBelowIt)
{
	EXPECT_EQ(Query(PathFilter(TEXT("/Game/Loc"), false)),
		(std::vector<std::string>{"/Game/Loc/Broken.Broken", "/Game/Loc/ST_A.ST_A", "/Game/Loc/ST_Bom.ST_Bom", "/Game/Loc/ST_Wide.ST_Wide"}));
	EXPECT_EQ(Query(PathFilter(TEXT("/Game/Loc"), true)).size(), 5u);
	EXPECT_EQ(Query(PathFilter(TEXT("/game/LOC/deep"), false)), (std::vector<std::string>{"/Game/Loc/Deep/st_lower.st_lower"}));
	// A folder is a whole segment: /Game/Lo is not a parent of /Game/Loc.
	EXPECT_TRUE(Query(PathFilter(TEXT("/Game/Lo"), true)).empty());
	EXPECT_EQ(Query(PathFilter(TEXT("/Game"), true)).size(), 7u);
	EXPECT_TRUE(Query(PathFilter(TEXT("/Game"), false)).empty());
	EXPECT_EQ(Query(PathFilter(TEXT("/"), true)).size(), 10u);
	EXPECT_EQ(Query(PathFilter(TEXT("/Nested"), true)), (std::vector<std::string>{"/Nested/Sub/ST_Nested.ST_Nested"}));
}

TEST_F(AssetRegistryScan, ClassesMatchExactlyOrWithTheirSubclasses)
{
	FARFilter Filter;
	Filter.ClassPaths.Add(UDataTable::StaticClass()->GetClassPathName());
	EXPECT_EQ(Query(Filter), (std::vector<std::string>{"/Game/Data/DT_Items.DT_Items", "/Game/Data/DT_Quoted.DT_Quoted"}));

	// Every asset class derives from UObject; only the recursive query sees that.
	Filter.ClassPaths = {UObject::StaticClass()->GetClassPathName()};
	EXPECT_TRUE(Query(Filter).empty());
	Filter.bRecursiveClasses = true;
	EXPECT_EQ(Query(Filter).size(), 10u);
	Filter.RecursiveClassPathsExclusionSet.Add(UStringTable::StaticClass()->GetClassPathName());
	EXPECT_EQ(Query(Filter).size(), 2u);
	Filter.RecursiveClassPathsExclusionSet.Add(UObject::StaticClass()->GetClassPathName());
	EXPECT_TRUE(Query(Filter).empty());

	// A class the object system does not know still matches by its path.
	FARFilter Unknown;
	Unknown.ClassPaths.Add(FTopLevelAssetPath(TEXT("/Script/Nowhere.Thing")));
	Unknown.bRecursiveClasses = true;
	EXPECT_TRUE(Query(Unknown).empty());
}

TEST_F(AssetRegistryScan, FieldsCombineAndValuesWithinAFieldAreAlternatives)
{
	FARFilter Filter = PathFilter(TEXT("/Game"), true);
	Filter.ClassPaths.Add(UStringTable::StaticClass()->GetClassPathName());
	Filter.PackageNames = {FName(TEXT("/Game/Loc/ST_A")), FName(TEXT("/Game/Data/DT_Items")), FName(TEXT("/Tools/ST_Tool"))};
	EXPECT_EQ(Query(Filter), (std::vector<std::string>{"/Game/Loc/ST_A.ST_A"}));

	FARFilter Objects;
	Objects.SoftObjectPaths = {FSoftObjectPath(TEXT("/Tools/ST_Tool.ST_Tool")), FSoftObjectPath(TEXT("/Game/Data/DT_Items.DT_Items")), FSoftObjectPath(TEXT("/Game/Missing.Missing"))};
	EXPECT_EQ(Query(Objects), (std::vector<std::string>{"/Game/Data/DT_Items.DT_Items", "/Tools/ST_Tool.ST_Tool"}));
	Objects.PackagePaths.Add(FName(TEXT("/Tools")));
	EXPECT_EQ(Query(Objects), (std::vector<std::string>{"/Tools/ST_Tool.ST_Tool"}));

	// An empty filter is refused rather than taken to mean everything.
	TArray<FAssetData> Assets;
	FARFilter Empty;
	Empty.bRecursivePaths = true;
	EXPECT_FALSE(IAssetRegistry::GetChecked().GetAssets(Empty, Assets));
	EXPECT_TRUE(Assets.IsEmpty());

	EXPECT_TRUE(IAssetRegistry::GetChecked().HasAssets(FName(TEXT("/Game/Loc"))));
	EXPECT_FALSE(IAssetRegistry::GetChecked().HasAssets(FName(TEXT("/Game"))));
	EXPECT_TRUE(IAssetRegistry::GetChecked().HasAssets(FName(TEXT("/Game")), true));
	IAssetRegistry::GetChecked().GetAssetsByPackageName(FName(TEXT("/Game/Loc/ST_Wide")), Assets);
	EXPECT_EQ(Assets.Num(), 1);
}

TEST_F(AssetRegistryScan, ListingReadsHeadersOnlyAndLoadsNothing)
{
	testing::internal::CaptureStderr();
	TArray<FAssetData> Assets;
	FARFilter Filter = PathFilter(TEXT("/"), true);
	ASSERT_TRUE(IAssetRegistry::GetChecked().GetAssets(Filter, Assets));
	const std::string Log = testing::internal::GetCapturedStderr();
	ASSERT_EQ(Assets.Num(), 10);
	for (const FAssetData& Asset : Assets)
	{
		EXPECT_FALSE(Asset.IsAssetLoaded()) << UE::Host::StringToUtf8(Asset.GetObjectPathString());
		EXPECT_EQ(Asset.FastGetAsset(), nullptr);
		EXPECT_EQ(Asset.GetPackage(), nullptr);
	}
	// The broken table is listed without complaint: its rows were never read.
	EXPECT_EQ(Log.find("Broken"), std::string::npos) << Log;
}

TEST_F(AssetRegistryScan, TheRegistryIsReachableThroughItsModule)
{
	IAssetRegistry& Registry = FModuleManager::LoadModuleChecked<FAssetRegistryModule>(TEXT("AssetRegistry")).Get();
	EXPECT_EQ(&Registry, IAssetRegistry::Get());
	EXPECT_EQ(&FAssetRegistryModule::GetRegistry(), IAssetRegistry::Get());
	EXPECT_FALSE(Registry.IsLoadingAssets());
}

TEST_F(AssetRegistryTest, FilesAppearAndDisappearOnRescan)
{
	Folders.WriteProject("Content/Loc/ST_A.csv", SmallTable);
	Boot();
	Folders.WriteProject("Content/Loc/ST_Late.csv", SmallTable);
	EXPECT_EQ(Query(PathFilter(TEXT("/Game/Loc"), false)), (std::vector<std::string>{"/Game/Loc/ST_A.ST_A"}));

	// Loading does not wait for a scan: the file is found through the mount points.
	FAssetData Late(FName(TEXT("/Game/Loc/ST_Late")), FName(TEXT("/Game/Loc")), FName(TEXT("ST_Late")), UStringTable::StaticClass()->GetClassPathName());
	EXPECT_NE(Cast<UStringTable>(Late.GetAsset()), nullptr);

	std::filesystem::remove(Folders.ProjectDir() / "Content/Loc/ST_A.csv");
	IAssetRegistry::GetChecked().ScanPathsSynchronous({TEXT("/Game/Loc")}, true);
	EXPECT_EQ(Query(PathFilter(TEXT("/Game/Loc"), false)), (std::vector<std::string>{"/Game/Loc/ST_Late.ST_Late"}));

	// Scanning by file name works as well.
	Folders.WriteProject("Content/Loc/ST_B.csv", SmallTable);
	IAssetRegistry::GetChecked().ScanPathsSynchronous({UE::Host::Utf8ToString((Folders.ProjectDir() / "Content/Loc/ST_B.csv").string())}, true);
	EXPECT_EQ(Query(PathFilter(TEXT("/Game/Loc"), false)), (std::vector<std::string>{"/Game/Loc/ST_B.ST_B", "/Game/Loc/ST_Late.ST_Late"}));
}

TEST_F(AssetRegistryTest, EachHostScansItsOwnProject)
{
	Folders.WriteProject("Content/Loc/ST_First.csv", SmallTable);
	Boot();
	EXPECT_EQ(Query(PathFilter(TEXT("/Game"), true)), (std::vector<std::string>{"/Game/Loc/ST_First.ST_First"}));
	Host.reset();

	FTempHostFolders Second;
	Second.WriteProject("Content/Other/ST_Second.csv", SmallTable);
	FScopedHost SecondHost(Second.MakeEnvironment());
	ASSERT_TRUE(SecondHost.IsRunning());
	EXPECT_EQ(Query(PathFilter(TEXT("/Game"), true)), (std::vector<std::string>{"/Game/Other/ST_Second.ST_Second"}));
}
