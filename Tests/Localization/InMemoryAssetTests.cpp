// StringTables made in memory the way editor code makes them: a package, NewObject, the
// registry notified; and removed again: the registry notified, the objects given up as garbage.
#include "AssetRegistry/AssetRegistryModule.h"
#include "AssetRegistry/IAssetRegistry.h"
#include "HostTestEnvironment.h"
#include "Internationalization/StringTable.h"
#include "OrvexAssetUtils.h"
#include "Templates/Casts.h"
#include "UObject/Package.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
	const TCHAR* const FixturePackage = TEXT("/Game/Automation/ST_Fixture");
	const TCHAR* const FixturePath = TEXT("/Game/Automation/ST_Fixture.ST_Fixture");

	class InMemoryAssets : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteProject("Content/Automation/ST_OnDisk.csv", "\"Key\",\"SourceString\"\n\"K\",\"V\"\n");
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			ASSERT_TRUE(Host->IsRunning()) << UE::Host::StringToUtf8(Host->GetError());
		}

		static UStringTable* CreateTable(const TCHAR* PackageName, const TCHAR* AssetName)
		{
			UPackage* Package = CreatePackage(PackageName);
			UStringTable* Table = NewObject<UStringTable>(Package, FName(AssetName), RF_Public | RF_Standalone);
			FAssetRegistryModule::AssetCreated(Table);
			return Table;
		}

		static void RemoveTable(UStringTable* Table)
		{
			IAssetRegistry::GetChecked().AssetDeleted(Table);
			Table->ClearFlags(RF_Public | RF_Standalone);
			Table->MarkAsGarbage();
			Table->GetOutermost()->MarkAsGarbage();
		}

		static std::string Listed(bool bIncludeOnlyOnDiskAssets)
		{
			FARFilter Filter;
			Filter.PackagePaths.Add(FName(TEXT("/Game/Automation")));
			Filter.ClassPaths.Add(UStringTable::StaticClass()->GetClassPathName());
			Filter.bRecursiveClasses = true;
			Filter.bIncludeOnlyOnDiskAssets = bIncludeOnlyOnDiskAssets;
			TArray<FAssetData> Assets;
			IAssetRegistry::GetChecked().GetAssets(Filter, Assets);
			Assets.Sort([](const FAssetData& A, const FAssetData& B) { return A.GetObjectPathString().Compare(B.GetObjectPathString()) < 0; });
			std::string Result;
			for (const FAssetData& Asset : Assets)
			{
				Result += "[" + UE::Host::StringToUtf8(Asset.GetObjectPathString()) + (Asset.IsAssetLoaded() ? " loaded" : "") + "]";
			}
			return Result;
		}

		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
	};
}

TEST_F(InMemoryAssets, ACreatedTableIsListedAndFoundLikeOneOnDisk)
{
	UStringTable* Table = CreateTable(FixturePackage, TEXT("ST_Fixture"));
	ASSERT_NE(Table, nullptr);
	Table->GetMutableStringTable()->SetSourceString(FTextKey(TEXT("Key")), TEXT("Value"));

	EXPECT_EQ(Listed(false), "[/Game/Automation/ST_Fixture.ST_Fixture loaded][/Game/Automation/ST_OnDisk.ST_OnDisk]");
	EXPECT_EQ(Listed(true), "[/Game/Automation/ST_OnDisk.ST_OnDisk]");
	EXPECT_EQ(FOrvexAssetUtils::LoadAssetByPath(UStringTable::StaticClass(), FixturePath), Table);
	EXPECT_EQ(IAssetRegistry::GetChecked().GetAssetByObjectPath(FSoftObjectPath(FixturePath)).GetAsset(), Table);
	EXPECT_EQ(IAssetRegistry::GetChecked().GetAssetByObjectPath(FSoftObjectPath(FixturePath), true).IsValid(), false);
	EXPECT_EQ(UE::Host::StringToUtf8(Table->GetStringTableId().ToString()), "/Game/Automation/ST_Fixture.ST_Fixture");
	EXPECT_EQ(UE::Host::StringToUtf8(Table->GetStringTable()->GetNamespace()), "ST_Fixture");
	EXPECT_FALSE(Table->GetOutermost()->IsDirty());
}

TEST_F(InMemoryAssets, ARemovedTableIsGoneAndItsNameCanBeUsedAgain)
{
	UStringTable* Table = CreateTable(FixturePackage, TEXT("ST_Fixture"));
	ASSERT_NE(Table, nullptr);
	RemoveTable(Table);
	EXPECT_FALSE(IsValid(Table));
	EXPECT_EQ(Listed(false), "[/Game/Automation/ST_OnDisk.ST_OnDisk]");
	EXPECT_EQ(FOrvexAssetUtils::LoadAssetByPath(UObject::StaticClass(), FixturePath), nullptr);
	EXPECT_EQ(LoadObject<UStringTable>(nullptr, FixturePath, nullptr, LOAD_NoWarn), nullptr);

	// The next check makes the same fixture again, as the automation checks do.
	UStringTable* Again = CreateTable(FixturePackage, TEXT("ST_Fixture"));
	ASSERT_NE(Again, nullptr);
	EXPECT_TRUE(IsValid(Again));
	EXPECT_EQ(Listed(false), "[/Game/Automation/ST_Fixture.ST_Fixture loaded][/Game/Automation/ST_OnDisk.ST_OnDisk]");
	EXPECT_EQ(FOrvexAssetUtils::LoadAssetByPath(UStringTable::StaticClass(), FixturePath), Again);
	EXPECT_EQ(Again->GetStringTable()->GetNamespace().Len(), 10);
}

TEST_F(InMemoryAssets, AnnouncingIsNotNeededToBeListedButAPublicFlagIs)
{
	UPackage* Package = CreatePackage(TEXT("/Game/Automation/ST_Quiet"));
	UStringTable* Quiet = NewObject<UStringTable>(Package, FName(TEXT("ST_Quiet")), RF_Public | RF_Standalone);
	UPackage* PrivatePackage = CreatePackage(TEXT("/Game/Automation/ST_Private"));
	ASSERT_NE(NewObject<UStringTable>(PrivatePackage, FName(TEXT("ST_Private"))), nullptr);
	ASSERT_NE(Quiet, nullptr);
	EXPECT_EQ(Listed(false), "[/Game/Automation/ST_OnDisk.ST_OnDisk][/Game/Automation/ST_Quiet.ST_Quiet loaded]");

	// An object that is not directly inside a package is no asset.
	FAssetRegistryModule::AssetCreated(NewObject<UStringTable>(Quiet, FName(TEXT("Inner")), RF_Public));
	FAssetRegistryModule::AssetCreated(nullptr);
	EXPECT_EQ(Listed(false), "[/Game/Automation/ST_OnDisk.ST_OnDisk][/Game/Automation/ST_Quiet.ST_Quiet loaded]");
}

TEST_F(InMemoryAssets, CollectingGarbageDestroysOnlyGarbageWithoutKeepFlags)
{
	UStringTable* Kept = CreateTable(TEXT("/Game/Automation/ST_Kept"), TEXT("ST_Kept"));
	UStringTable* Dropped = CreateTable(FixturePackage, TEXT("ST_Fixture"));
	ASSERT_TRUE(Kept && Dropped);
	Kept->MarkAsGarbage();
	RemoveTable(Dropped);

	CollectGarbage(GARBAGE_COLLECTION_KEEPFLAGS);
	// Standalone keeps the first alive; the second went with its package.
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Game/Automation/ST_Kept.ST_Kept")), Kept);
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, FixturePath), nullptr);
	EXPECT_EQ(FindPackage(nullptr, FixturePackage), nullptr);

	Kept->ClearGarbage();
	EXPECT_TRUE(IsValid(Kept));
	CollectGarbage(RF_NoFlags);
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Game/Automation/ST_Kept.ST_Kept")), Kept);
}

TEST_F(InMemoryAssets, AGarbageDiskAssetLoadsAfreshFromItsFile)
{
	UObject* First = FOrvexAssetUtils::LoadAssetByPath(UStringTable::StaticClass(), TEXT("/Game/Automation/ST_OnDisk.ST_OnDisk"));
	ASSERT_NE(First, nullptr);
	First->MarkAsGarbage();
	UStringTable* Second = Cast<UStringTable>(FOrvexAssetUtils::LoadAssetByPath(UStringTable::StaticClass(), TEXT("/Game/Automation/ST_OnDisk.ST_OnDisk")));
	ASSERT_NE(Second, nullptr);
	EXPECT_TRUE(IsValid(Second));
	FString Source;
	EXPECT_TRUE(Second->GetStringTable()->GetSourceString(FTextKey(TEXT("K")), Source));
}

TEST_F(InMemoryAssets, DeletingADiskAssetHidesItUntilTheNextScan)
{
	UObject* Loaded = FOrvexAssetUtils::LoadAssetByPath(UStringTable::StaticClass(), TEXT("/Game/Automation/ST_OnDisk.ST_OnDisk"));
	ASSERT_NE(Loaded, nullptr);
	IAssetRegistry::GetChecked().AssetDeleted(Loaded);
	Loaded->ClearFlags(RF_Public | RF_Standalone);
	Loaded->MarkAsGarbage();
	EXPECT_EQ(Listed(false), "");
	IAssetRegistry::GetChecked().ScanPathsSynchronous({TEXT("/Game/Automation")}, true);
	EXPECT_EQ(Listed(false), "[/Game/Automation/ST_OnDisk.ST_OnDisk]");

	FAssetRegistryModule::PackageDeleted(FindPackage(nullptr, TEXT("/Game/Automation/ST_OnDisk")));
	EXPECT_EQ(Listed(true), "");
}
