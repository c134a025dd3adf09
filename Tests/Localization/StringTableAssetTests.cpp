// StringTable assets loaded from their CSV files: identity, contents, failures, lifetime.
#include "AssetRegistry/AssetData.h"
#include "AssetRegistry/IAssetRegistry.h"
#include "Engine/DataTable.h"
#include "HostTestEnvironment.h"
#include "Internationalization/StringTable.h"
#include "Internationalization/TextKey.h"
#include "Templates/Casts.h"
#include "UObject/Package.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
	const char* const FourEntryCsv =
		"\"Key\",\"SourceString\",\"Context\",\"Note\"\n"
		"\" Pad\",\"Padded key\",\"\",\"\"\n"
		"\"Alpha\",\"Primary value\",\"Menu\",\"Detail\"\n"
		"\"Empty\",\"\",\"\",\"\"\n"
		"\"Long\",\"1234567890\",\"Gameplay\",\"\"\n";

	class StringTableAsset : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteProject("Content/Localization/ST_Four.csv", FourEntryCsv);
			Folders.WriteProject("Content/Localization/ST_Broken.csv", "\"Key\",\"SourceString\"\n\"A\",\"1\"\n\"unterminated,\"x\n");
			Folders.WriteProject("Content/Localization/ST_NoSource.csv", "\"Key\",\"Comment\"\n\"A\",\"1\"\n");
			Folders.WriteProject("Content/Data/DT_Items.csv", "---,Name,Weight\nSword,Sword,3\nShield,Shield,6\n");
			Folders.WriteProject("Content/Data/DT_Twice.csv", "---,Name\nSword,A\nSword,B\n");
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			ASSERT_TRUE(Host->IsRunning()) << UE::Host::StringToUtf8(Host->GetError());
		}

		static FAssetData Find(const TCHAR* ObjectPath)
		{
			return IAssetRegistry::GetChecked().GetAssetByObjectPath(FSoftObjectPath(ObjectPath));
		}

		static std::string Keys(const UStringTable* Table)
		{
			std::string Result;
			Table->GetStringTable()->EnumerateKeysAndSourceStrings([&Result](const FTextKey& Key, const FString& Source)
			{
				Result += "[" + UE::Host::StringToUtf8(Key.ToString()) + "=" + UE::Host::StringToUtf8(Source) + "]";
				return true;
			});
			return Result;
		}

		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
	};
}

TEST_F(StringTableAsset, GetAssetLoadsTheTableWithItsIdentity)
{
	const FAssetData Asset = Find(TEXT("/Game/Localization/ST_Four.ST_Four"));
	ASSERT_TRUE(Asset.IsValid());
	EXPECT_FALSE(Asset.IsAssetLoaded());
	UStringTable* Table = Cast<UStringTable>(Asset.GetAsset());
	ASSERT_NE(Table, nullptr);
	EXPECT_TRUE(Asset.IsAssetLoaded());
	EXPECT_EQ(Asset.GetAsset(), Table);

	EXPECT_EQ(UE::Host::StringToUtf8(Table->GetPathName()), "/Game/Localization/ST_Four.ST_Four");
	EXPECT_EQ(UE::Host::StringToUtf8(Table->GetOutermost()->GetName()), "/Game/Localization/ST_Four");
	EXPECT_EQ(UE::Host::StringToUtf8(Table->GetStringTableId().ToString()), "/Game/Localization/ST_Four.ST_Four");
	EXPECT_EQ(UE::Host::StringToUtf8(Table->GetStringTable()->GetNamespace()), "ST_Four");
	EXPECT_FALSE(Table->GetStringTable()->IsInternal());
	EXPECT_TRUE(Table->HasAllFlags(RF_Public | RF_Standalone));
	EXPECT_FALSE(Table->GetOutermost()->IsDirty());
	EXPECT_EQ(Keys(Table), "[ Pad=Padded key][Alpha=Primary value][Empty=][Long=1234567890]");
	EXPECT_EQ(UE::Host::StringToUtf8(Table->GetStringTable()->GetMetaData(FTextKey(TEXT("Alpha")), FName(TEXT("note")))), "Detail");

	// The mutable table is the same table, and editing it does not dirty the package by itself.
	Table->GetMutableStringTable()->SetSourceString(FTextKey(TEXT("Extra")), TEXT("More"));
	FString Source;
	EXPECT_TRUE(Table->GetStringTable()->GetSourceString(FTextKey(TEXT("Extra")), Source));
	EXPECT_FALSE(Table->GetOutermost()->IsDirty());
	EXPECT_TRUE(Table->MarkPackageDirty());
	EXPECT_TRUE(Table->GetOutermost()->IsDirty());
}

TEST_F(StringTableAsset, ObjectPathsFindTheLoadedTableWhateverTheirLetterCase)
{
	UObject* Loaded = LoadObject<UStringTable>(nullptr, TEXT("/game/localization/st_four.st_four"));
	ASSERT_NE(Loaded, nullptr);
	// The package takes the name the file has on disk.
	EXPECT_EQ(UE::Host::StringToUtf8(Loaded->GetPathName()), "/Game/Localization/ST_Four.ST_Four");
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Game/Localization/ST_Four.ST_Four")), Loaded);
	EXPECT_EQ(LoadObject<UStringTable>(nullptr, TEXT("StringTable'/Game/Localization/ST_Four.ST_Four'")), Loaded);
	// Asked for as another class, the loaded table is not handed out.
	EXPECT_EQ(LoadObject<UDataTable>(nullptr, TEXT("/Game/Localization/ST_Four.ST_Four"), nullptr, LOAD_NoWarn), nullptr);
}

TEST_F(StringTableAsset, AMalformedFileFailsToLoadWithItsReasonInTheLog)
{
	const FAssetData Asset = Find(TEXT("/Game/Localization/ST_Broken.ST_Broken"));
	ASSERT_TRUE(Asset.IsValid());
	testing::internal::CaptureStderr();
	EXPECT_EQ(Asset.GetAsset(), nullptr);
	const std::string Log = testing::internal::GetCapturedStderr();
	EXPECT_NE(Log.find("LogStringTable: Warning: Failed to load StringTable '/Game/Localization/ST_Broken.ST_Broken'"), std::string::npos) << Log;
	EXPECT_NE(Log.find("ST_Broken.csv': line 3: "), std::string::npos) << Log;
	// Nothing half-made stays behind, and asking again fails the same way.
	EXPECT_EQ(FindPackage(nullptr, TEXT("/Game/Localization/ST_Broken")), nullptr);
	EXPECT_FALSE(Asset.IsAssetLoaded());
	testing::internal::CaptureStderr();
	EXPECT_EQ(Asset.GetAsset(), nullptr);
	EXPECT_NE(testing::internal::GetCapturedStderr().find("line 3: "), std::string::npos);

	// A header without SourceString was never listed as a StringTable, so it loads as nothing.
	EXPECT_FALSE(Find(TEXT("/Game/Localization/ST_NoSource.ST_NoSource")).IsValid());
	EXPECT_EQ(LoadObject<UObject>(nullptr, TEXT("/Game/Localization/ST_NoSource.ST_NoSource"), nullptr, LOAD_NoWarn), nullptr);
}

TEST_F(StringTableAsset, AFileBrokenAfterTheScanFailsWhenLoaded)
{
	Folders.WriteProject("Content/Localization/ST_Four.csv", "\"Key\",\"SourceString\"\n\"A\",\"B\",\"C\",\"\"broken\n");
	testing::internal::CaptureStderr();
	EXPECT_EQ(Find(TEXT("/Game/Localization/ST_Four.ST_Four")).GetAsset(), nullptr);
	EXPECT_NE(testing::internal::GetCapturedStderr().find("LogStringTable: Warning"), std::string::npos);
}

TEST_F(StringTableAsset, DataTablesAreAssetsOfTheirOwnClass)
{
	const FAssetData Asset = Find(TEXT("/Game/Data/DT_Items.DT_Items"));
	ASSERT_TRUE(Asset.IsValid());
	EXPECT_EQ(UE::Host::StringToUtf8(Asset.AssetClassPath.ToString()), "/Script/Engine.DataTable");
	UDataTable* Table = Cast<UDataTable>(Asset.GetAsset());
	ASSERT_NE(Table, nullptr);
	EXPECT_EQ(UE::Host::StringToUtf8(Table->GetClass()->GetName()), "DataTable");
	const TArray<FName> Rows = Table->GetRowNames();
	ASSERT_EQ(Rows.Num(), 2);
	EXPECT_EQ(UE::Host::StringToUtf8(Rows[0].ToString()), "Sword");
	EXPECT_EQ(UE::Host::StringToUtf8(Rows[1].ToString()), "Shield");
	EXPECT_EQ(UE::Host::StringToUtf8(FString::Join(Table->GetColumnTitles(), TEXT(","))), "Name,Weight");
	EXPECT_EQ(Table->GetRowStruct(), nullptr);

	testing::internal::CaptureStderr();
	EXPECT_EQ(Find(TEXT("/Game/Data/DT_Twice.DT_Twice")).GetAsset(), nullptr);
	EXPECT_NE(testing::internal::GetCapturedStderr().find("LogDataTable: Warning: Failed to load DataTable '/Game/Data/DT_Twice.DT_Twice'"), std::string::npos);
}

TEST_F(StringTableAsset, ShutdownReleasesLoadedAssetsAndTheNextHostStartsClean)
{
	ASSERT_NE(Find(TEXT("/Game/Localization/ST_Four.ST_Four")).GetAsset(), nullptr);
	Host.reset();
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Game/Localization/ST_Four.ST_Four")), nullptr);
	EXPECT_EQ(FindPackage(nullptr, TEXT("/Game/Localization/ST_Four")), nullptr);

	// The same package name in the next project reads that project's file.
	FTempHostFolders Next;
	Next.WriteProject("Content/Localization/ST_Four.csv", "\"Key\",\"SourceString\"\n\"Only\",\"One\"\n");
	FScopedHost NextHost(Next.MakeEnvironment());
	ASSERT_TRUE(NextHost.IsRunning());
	const FAssetData Asset = Find(TEXT("/Game/Localization/ST_Four.ST_Four"));
	EXPECT_FALSE(Asset.IsAssetLoaded());
	UStringTable* Table = Cast<UStringTable>(Asset.GetAsset());
	ASSERT_NE(Table, nullptr);
	EXPECT_EQ(Keys(Table), "[Only=One]");
}

TEST(StringTableAssetClass, IsTheEngineStringTableClass)
{
	UClass* Class = UStringTable::StaticClass();
	EXPECT_EQ(UE::Host::StringToUtf8(Class->GetPathName()), "/Script/Engine.StringTable");
	EXPECT_EQ(UE::Host::StringToUtf8(Class->GetClassPathName().ToString()), "/Script/Engine.StringTable");
	EXPECT_TRUE(Class->IsChildOf(UObject::StaticClass()));
	EXPECT_EQ(UE::Host::StringToUtf8(UDataTable::StaticClass()->GetPathName()), "/Script/Engine.DataTable");
	EXPECT_FALSE(UDataTable::StaticClass()->IsChildOf(Class));
}

TEST(DataTableCsv, ProblemsLeaveTheTableAsItWas)
{
	UDataTable* Table = NewObject<UDataTable>(GetTransientPackage());
	ASSERT_NE(Table, nullptr);
	EXPECT_TRUE(Table->CreateTableFromCSVString(TEXT("---,A,B\r\nRow1,1,2\r\n\r\n\"Row 2\",\"3,4\",5\r\n")).IsEmpty());
	EXPECT_EQ(Table->GetRowNames().Num(), 2);

	for (const TCHAR* Bad : {TEXT(""), TEXT("---\nRow,1\n"), TEXT("---,A\n,1\n"), TEXT("---,A\nRow,1,2\n"), TEXT("---,A\n\"Row,1\n"), TEXT("---,A\nRow,1\nrow,2\n")})
	{
		EXPECT_FALSE(Table->CreateTableFromCSVString(Bad).IsEmpty()) << UE::Host::StringToUtf8(Bad);
		EXPECT_EQ(Table->GetRowNames().Num(), 2) << UE::Host::StringToUtf8(Bad);
	}
	Table->EmptyTable();
	EXPECT_TRUE(Table->GetRowNames().IsEmpty());
	EXPECT_TRUE(Table->GetColumnTitles().IsEmpty());
}
