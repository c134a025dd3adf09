// FOrvexAssetUtils::LoadAssetByPath and OrvexCore::ValidatePackagePath on the bundled sample
// project, whose tables the localization actions read.
#include "AssetRegistry/IAssetRegistry.h"
#include "Engine/DataTable.h"
#include "HostEngine.h"
#include "HostOptions.h"
#include "Internationalization/StringTable.h"
#include "OrvexAssetUtils.h"
#include "OrvexPackagePath.h"
#include "ScopedTestFolder.h"
#include "Templates/Casts.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
	class SampleAssets : public testing::Test
	{
	protected:
		void SetUp() override
		{
			FHostOptions Options;
			Options.UserDir = ToUtf8(UserFolder.GetPath());
			Options.Culture = "en";
			UE::Host::FEnvironment Environment;
			FString Error;
			ASSERT_TRUE(FHostEngine::MakeEnvironment(Options, Environment, Error)) << ToUtf8(Error);
			ASSERT_TRUE(Engine.Startup(Environment, Error)) << ToUtf8(Error);
		}

		static int32 CountEntries(const UObject* Object)
		{
			const UStringTable* Table = Cast<UStringTable>(Object);
			int32 Count = 0;
			if (Table)
			{
				Table->GetStringTable()->EnumerateKeysAndSourceStrings([&Count](const FTextKey& Key, const FString& Source)
				{
					++Count;
					return true;
				});
			}
			return Count;
		}

		static std::string Validate(const TCHAR* Input)
		{
			FString PackagePath = TEXT("<untouched>");
			const FString Message = OrvexCore::ValidatePackagePath(Input, PackagePath);
			return Message.IsEmpty() ? ToUtf8(PackagePath) : "error: " + ToUtf8(Message) + " | " + ToUtf8(PackagePath);
		}

		FScopedTestFolder UserFolder;
		FHostEngine Engine;
	};
}

TEST_F(SampleAssets, TablesOfTheGameAndThePluginLoadByObjectPath)
{
	UObject* Ui = FOrvexAssetUtils::LoadAssetByPath(UStringTable::StaticClass(), TEXT("/Game/Localization/ST_UI.ST_UI"));
	ASSERT_NE(Ui, nullptr);
	EXPECT_EQ(CountEntries(Ui), 13);
	EXPECT_EQ(CountEntries(FOrvexAssetUtils::LoadAssetByPath(UObject::StaticClass(), TEXT("/Game/Localization/ST_Items.ST_Items"))), 8);
	EXPECT_EQ(CountEntries(FOrvexAssetUtils::LoadAssetByPath(UStringTable::StaticClass(), TEXT("/Game/Localization/Dialogue/ST_Dialogue.ST_Dialogue"))), 6);
	EXPECT_EQ(CountEntries(FOrvexAssetUtils::LoadAssetByPath(UStringTable::StaticClass(), TEXT("/SampleTools/Localization/ST_Tools.ST_Tools"))), 4);
	EXPECT_EQ(CountEntries(FOrvexAssetUtils::LoadAssetByPath(UStringTable::StaticClass(), TEXT("/Game/Localization/ST_Menu.ST_Menu"))), 6);
	UObject* Empty = FOrvexAssetUtils::LoadAssetByPath(UStringTable::StaticClass(), TEXT("/Game/Localization/ST_Empty.ST_Empty"));
	ASSERT_NE(Empty, nullptr);
	EXPECT_EQ(CountEntries(Empty), 0);
	// Found in memory the second time: the same object.
	EXPECT_EQ(FOrvexAssetUtils::LoadAssetByPath(UStringTable::StaticClass(), TEXT("/Game/Localization/ST_UI.ST_UI")), Ui);
}

TEST_F(SampleAssets, TheClassAskedForMustMatchOrBeABase)
{
	const TCHAR* const DataTablePath = TEXT("/Game/Data/DT_Items.DT_Items");
	EXPECT_EQ(FOrvexAssetUtils::LoadAssetByPath(UStringTable::StaticClass(), DataTablePath), nullptr);
	UObject* DataTable = FOrvexAssetUtils::LoadAssetByPath(UObject::StaticClass(), DataTablePath);
	ASSERT_NE(DataTable, nullptr);
	// What the localization actions report for a path that is not a StringTable.
	EXPECT_EQ(ToUtf8(DataTable->GetClass()->GetName()), "DataTable");
	EXPECT_FALSE(DataTable->GetClass()->IsChildOf(UStringTable::StaticClass()));
	EXPECT_EQ(FOrvexAssetUtils::LoadAssetByPath(UDataTable::StaticClass(), DataTablePath), DataTable);
	EXPECT_EQ(FOrvexAssetUtils::LoadAssetByPath(UDataTable::StaticClass(), TEXT("/Game/Localization/ST_UI.ST_UI")), nullptr);
	// The refusal did not stop the table from loading for a later caller.
	EXPECT_NE(FOrvexAssetUtils::LoadAssetByPath(UStringTable::StaticClass(), TEXT("/Game/Localization/ST_UI.ST_UI")), nullptr);
}

TEST_F(SampleAssets, PathsWithNothingBehindThemGiveNull)
{
	for (const TCHAR* Path : {TEXT(""), TEXT("/Game/Localization/ST_Missing.ST_Missing"), TEXT("/Game/Localization/ST_UI"), TEXT("/Game/Localization/ST_UI.Other"),
		TEXT("/Game/Localization/ST_UI.ST_UI:Sub"), TEXT("/NotMounted/ST_X.ST_X"), TEXT("Garbage..text"), TEXT("/Game/Localization")})
	{
		EXPECT_EQ(FOrvexAssetUtils::LoadAssetByPath(UStringTable::StaticClass(), Path), nullptr) << ToUtf8(Path);
	}
	EXPECT_EQ(FOrvexAssetUtils::LoadAssetByPath(nullptr, TEXT("/Game/Localization/ST_UI.ST_UI")), nullptr);
}

TEST_F(SampleAssets, ValidatePackagePathCarriesTheEngineReason)
{
	EXPECT_EQ(Validate(TEXT("/Game/Localization/ST_UI")), "/Game/Localization/ST_UI");
	EXPECT_EQ(Validate(TEXT("/Game/Localization/ST_UI.st_ui")), "/Game/Localization/ST_UI");
	EXPECT_EQ(Validate(TEXT("/SampleTools/Localization/ST_Tools")), "/SampleTools/Localization/ST_Tools");
	EXPECT_EQ(Validate(TEXT("/Game/Localization/ST_UI.Wrong")),
		"error: Invalid package path '/Game/Localization/ST_UI.Wrong': Input '/Game/Localization/ST_UI.Wrong' contains one of the invalid characters for LongPackageNames: "
		"'\\:*?\"<>|' ,.&!~\\n\\r\\t@#'. (an object path is accepted only when the name after the '.' matches the asset name, e.g. '/Game/Foo/M_Bar.M_Bar') | <untouched>");
	EXPECT_EQ(Validate(TEXT("/NotMounted/ST_X")),
		"error: Invalid package path '/NotMounted/ST_X': Path does not start with a valid root. Path must begin with one of: /Engine, /Game, /SampleTools | <untouched>");
	EXPECT_EQ(Validate(TEXT("/Game/Localization/")),
		"error: Invalid package path '/Game/Localization/': Input '/Game/Localization/' ends with a '/', which is invalid for LongPackageNames. | <untouched>");
	EXPECT_EQ(Validate(TEXT("/Temp/ST_X")),
		"error: Invalid package path '/Temp/ST_X': Path does not start with a valid root. Path must begin with one of: /Engine, /Game, /SampleTools | <untouched>");
}

TEST_F(SampleAssets, TheSampleCatalogueListsEveryTableAndTheDataTable)
{
	FARFilter Filter;
	Filter.PackagePaths = {FName(TEXT("/Game")), FName(TEXT("/SampleTools"))};
	Filter.bRecursivePaths = true;
	TArray<FAssetData> Assets;
	ASSERT_TRUE(IAssetRegistry::GetChecked().GetAssets(Filter, Assets));
	EXPECT_EQ(Assets.Num(), 7);
	Filter.ClassPaths.Add(UStringTable::StaticClass()->GetClassPathName());
	Assets.Reset();
	ASSERT_TRUE(IAssetRegistry::GetChecked().GetAssets(Filter, Assets));
	// Five CSV tables and the package ST_Menu.
	EXPECT_EQ(Assets.Num(), 6);
}
