// localization.list_string_tables: discovery under a mounted root, pages, details.
#include "ActionTestUtils.h"
#include "AssetRegistry/AssetData.h"
#include "AssetRegistry/IAssetRegistry.h"
#include "Dom/JsonValue.h"
#include "LocalizationFixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
	class ListStringTables : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteProject("Content/Loc/ST_B.csv", "\"Key\",\"SourceString\"\n\"K\",\"V\"\n");
			Folders.WriteProject("Content/Loc/ST_A.csv", FourEntryTableCsv());
			Folders.WriteProject("Content/Loc/Deep/st_c.csv", "\"key\",\"sourcestring\"\n\"K\",\"V\"\n");
			Folders.WriteProject("Content/Loc/Broken.csv", "\"Key\",\"SourceString\"\n\"unterminated,\"x\n");
			Folders.WriteProject("Content/Other/ST_Z.csv", "\"Key\",\"SourceString\"\n\"K\",\"V\"\n");
			Folders.WriteProject("Content/Data/DT_Items.csv", "---,Name\nA,B\n");
			Folders.WriteProject("Plugins/Tools/Tools.uplugin", "{\"FileVersion\": 3, \"CanContainContent\": true}\n");
			Folders.WriteProject("Plugins/Tools/Content/ST_Tool.csv", "\"Key\",\"SourceString\"\n\"K\",\"V\"\n");
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			ASSERT_TRUE(Host->IsRunning()) << UE::Host::StringToUtf8(Host->GetError());
		}

		static FOrvexActionResult List(const std::string& Params)
		{
			return CallAction(TEXT("localization"), TEXT("list_string_tables"), Params);
		}

		static std::vector<std::string> Paths(const FOrvexActionResult& Outcome)
		{
			std::vector<std::string> Out;
			for (const TSharedPtr<FJsonValue>& Row : Outcome.Result->GetArrayField(TEXT("string_tables")))
			{
				Out.push_back(UE::Host::StringToUtf8(Row->AsObject()->GetStringField(TEXT("asset_path"))));
			}
			return Out;
		}

		static bool IsLoaded(const TCHAR* ObjectPath)
		{
			TArray<FAssetData> Assets;
			FARFilter Filter;
			Filter.bRecursivePaths = true;
			Filter.PackagePaths.Add(FName(TEXT("/Game")));
			IAssetRegistry::GetChecked().GetAssets(Filter, Assets);
			const FAssetData* Found = Assets.FindByPredicate([ObjectPath](const FAssetData& Asset) { return Asset.GetObjectPathString().Equals(ObjectPath); });
			return Found && Found->IsAssetLoaded();
		}

		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
	};
}

TEST_F(ListStringTables, ListsTablesUnderARootInObjectPathOrderWithoutLoadingThem)
{
	const FOrvexActionResult Outcome = List(R"({"path":"/Game/Loc"})");
	ASSERT_TRUE(Outcome.bSuccess) << UE::Host::StringToUtf8(Outcome.ErrorMessage);
	EXPECT_EQ(FieldNames(Outcome.Result), (TArray<FString>{TEXT("path"), TEXT("include_details"), TEXT("string_tables"), TEXT("read_only"), TEXT("total"),
		TEXT("offset"), TEXT("limit"), TEXT("count"), TEXT("has_more")}));
	EXPECT_EQ(Paths(Outcome), (std::vector<std::string>{"/Game/Loc/Broken.Broken", "/Game/Loc/Deep/st_c.st_c", "/Game/Loc/ST_A.ST_A", "/Game/Loc/ST_B.ST_B"}));
	EXPECT_EQ(ToJson(Outcome.Result->GetArrayField(TEXT("string_tables"))[2]->AsObject()),
		R"({"asset_path":"/Game/Loc/ST_A.ST_A","package_path":"/Game/Loc/ST_A","name":"ST_A"})");
	EXPECT_FALSE(IsLoaded(TEXT("/Game/Loc/ST_A.ST_A")));

	const FOrvexActionResult Default = List("{}");
	EXPECT_EQ(Default.Result->GetNumberField(TEXT("total")), 5.0);
	EXPECT_EQ(UE::Host::StringToUtf8(Default.Result->GetStringField(TEXT("path"))), "/Game");

	const FOrvexActionResult Plugin = List(R"({"path":"/Tools"})");
	EXPECT_EQ(Paths(Plugin), (std::vector<std::string>{"/Tools/ST_Tool.ST_Tool"}));
}

TEST_F(ListStringTables, DetailsLoadOnlyThePageAndReportLoadErrors)
{
	const FOrvexActionResult Page = List(R"({"path":"/Game/Loc","offset":1,"limit":2,"include_details":true})");
	ASSERT_TRUE(Page.bSuccess);
	const TArray<TSharedPtr<FJsonValue>>& Rows = Page.Result->GetArrayField(TEXT("string_tables"));
	ASSERT_EQ(Rows.Num(), 2);
	EXPECT_EQ(ToJson(Rows[1]->AsObject()),
		R"({"asset_path":"/Game/Loc/ST_A.ST_A","package_path":"/Game/Loc/ST_A","name":"ST_A","table_id":"/Game/Loc/ST_A.ST_A","namespace":"ST_A","is_internal":false,"entry_count":4})");
	EXPECT_TRUE(IsLoaded(TEXT("/Game/Loc/ST_A.ST_A")));
	EXPECT_FALSE(IsLoaded(TEXT("/Game/Loc/ST_B.ST_B")));
	EXPECT_FALSE(IsLoaded(TEXT("/Game/Loc/Broken.Broken")));
	EXPECT_TRUE(Page.Result->GetBoolField(TEXT("has_more")));

	const FOrvexActionResult Broken = List(R"({"path":"/Game/Loc","limit":1,"include_details":true})");
	ASSERT_TRUE(Broken.bSuccess);
	EXPECT_EQ(UE::Host::StringToUtf8(Broken.Result->GetArrayField(TEXT("string_tables"))[0]->AsObject()->GetStringField(TEXT("load_error"))),
		"asset could not be loaded as a StringTable");
}

TEST_F(ListStringTables, PagesNeverOverlapOrSkip)
{
	std::vector<std::string> Walked;
	for (int32 Offset = 0; Offset < 8; Offset += 2)
	{
		const FOrvexActionResult Page = List("{\"offset\":" + std::to_string(Offset) + ",\"limit\":2}");
		for (const std::string& Path : Paths(Page))
		{
			Walked.push_back(Path);
		}
		EXPECT_EQ(Page.Result->GetBoolField(TEXT("has_more")), Offset + 2 < 5);
	}
	EXPECT_EQ(Walked, Paths(List(R"({"limit":1000})")));
	const FOrvexActionResult Beyond = List(R"({"offset":5})");
	EXPECT_EQ(Beyond.Result->GetNumberField(TEXT("count")), 0.0);
	EXPECT_EQ(Beyond.Result->GetNumberField(TEXT("offset")), 5.0);
	EXPECT_FALSE(Beyond.Result->GetBoolField(TEXT("has_more")));
	EXPECT_TRUE(List(R"({"offset":2147483647,"limit":1000})").bSuccess);
}

TEST_F(ListStringTables, RootsMustBeCanonicalAndMounted)
{
	const char* const Rejected[] = {R"({"path":"/Game/"})", R"({"path":"/NotAMountPoint/Localization"})", R"({"path":"/Temp"})", R"({"path":"Game/Loc"})"};
	for (const char* Params : Rejected)
	{
		const FOrvexActionResult Outcome = List(Params);
		EXPECT_EQ(Outcome.ErrorCode, -32602) << Params;
		EXPECT_EQ(UE::Host::StringToUtf8(Outcome.ErrorMessage),
			"Invalid parameter 'path': expected a canonical mounted package root, e.g. /Game or /Game/Localization") << Params;
	}
	EXPECT_EQ(UE::Host::StringToUtf8(List(R"({"path":null})").ErrorMessage), "Invalid parameter 'path': expected a string");
	EXPECT_EQ(UE::Host::StringToUtf8(List(R"({"limit":1001})").ErrorMessage), "Invalid parameter 'limit': expected an integer in the range 1..1000");
	EXPECT_TRUE(List(R"({"limit":1000})").bSuccess);
	EXPECT_EQ(List(R"({"path":"/Game/Nothing"})").Result->GetNumberField(TEXT("total")), 0.0);
}
