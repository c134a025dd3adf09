// StringTable packages in a project's Content folders: discovery from their headers, the four
// localization actions on them, redirectors, packages beside CSV files, and refused packages.
#include "ActionTestUtils.h"
#include "AssetRegistry/AssetData.h"
#include "AssetRegistry/IAssetRegistry.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"
#include "PackageFixtures.h"
#include "UObject/Package.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace
{
	using namespace OrvexTestPackages;

	class PackageAssets : public testing::Test
	{
	protected:
		void SetUp() override
		{
			WriteTable("Localization/ST_Four.uasset", FourEntryTable(), EEditorVersion::UE5_7);
			WriteTable("Localization/Legacy/ST_Old.uasset", NonAsciiTable(), EEditorVersion::UE4_27);
			WriteTable("Localization/ST_Empty.uasset", FTableContent(), EEditorVersion::UE5_3);
			FTableContent Both;
			Both.Namespace = u"FromPackage";
			Both.Entries = {{u"Key", u"package text", {}}};
			WriteTable("Localization/ST_Both.uasset", Both, EEditorVersion::UE5_5);
			Folders.WriteProject("Content/Localization/ST_Both.csv", "\"Key\",\"SourceString\"\n\"Key\",\"csv text\"\n\"Other\",\"x\"\n");
			Write("Localization/ST_Renamed.uasset", WriteRedirectorPackage("/Game/Localization/ST_Four.ST_Four", Options("Localization/ST_Renamed.uasset", EEditorVersion::UE5_1)));
			Write("Localization/ST_Chain.uasset", WriteRedirectorPackage("/Game/Localization/ST_Renamed.ST_Renamed", Options("Localization/ST_Chain.uasset", EEditorVersion::UE5_0)));
			Write("Localization/ST_Loop.uasset", WriteRedirectorPackage("/Game/Localization/ST_Loop.ST_Loop", Options("Localization/ST_Loop.uasset", EEditorVersion::UE5_7)));
			FPackageOptions Cut = Options("Localization/ST_Cut.uasset", EEditorVersion::UE5_7);
			Cut.SerialSizeDelta = 1;
			Write("Localization/ST_Cut.uasset", WriteStringTablePackage(FourEntryTable(), Cut));
			FPackageOptions Cooked = Options("Localization/ST_Cooked.uasset", EEditorVersion::UE5_7);
			Cooked.ExtraPackageFlags = 0x200;
			Write("Localization/ST_Cooked.uasset", WriteStringTablePackage(FourEntryTable(), Cooked));
			Write("Localization/ST_Pointer.uasset", LargeFilePointer(WriteStringTablePackage(FourEntryTable())));
			Write("Art/T_Icon.uasset", WriteOtherAssetPackage("/Script/Engine.Texture2D", {{"Dimensions", "64x64"}}, Options("Art/T_Icon.uasset", EEditorVersion::UE5_7)));
			Folders.WriteProject("Plugins/Tools/Tools.uplugin", "{\"FileVersion\": 3, \"CanContainContent\": true}\n");
			FPackageOptions Tool;
			Tool.Version = EEditorVersion::UE5_6;
			Tool.PackageName = "/Tools/ST_Tool";
			Folders.WriteProject("Plugins/Tools/Content/ST_Tool.uasset", WriteStringTablePackage(FourEntryTable(u"Tool"), Tool));

			testing::internal::CaptureStderr();
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			StartupLog = testing::internal::GetCapturedStderr();
			ASSERT_TRUE(Host->IsRunning()) << UE::Host::StringToUtf8(Host->GetError());
		}

		static FPackageOptions Options(const std::string& ContentPath, EEditorVersion Version)
		{
			FPackageOptions Result;
			Result.Version = Version;
			Result.PackageName = PackageNameFor(ContentPath);
			return Result;
		}

		void Write(const std::string& ContentPath, const std::string& Bytes) const
		{
			Folders.WriteProject("Content/" + ContentPath, Bytes);
		}

		void WriteTable(const std::string& ContentPath, const FTableContent& Table, EEditorVersion Version) const
		{
			Write(ContentPath, WriteStringTablePackage(Table, Options(ContentPath, Version)));
		}

		static FOrvexActionResult Call(const TCHAR* Action, const std::string& Params)
		{
			return CallAction(TEXT("localization"), Action, Params);
		}

		static std::vector<std::string> Keys(const FOrvexActionResult& Outcome)
		{
			std::vector<std::string> Out;
			for (const TSharedPtr<FJsonValue>& Entry : Outcome.Result->GetArrayField(TEXT("entries")))
			{
				Out.push_back(UE::Host::StringToUtf8(Entry->AsObject()->GetStringField(TEXT("key"))));
			}
			return Out;
		}

		// Fails the call and returns what the log said meanwhile.
		static std::string FailedLoadLog(const char* AssetPath)
		{
			testing::internal::CaptureStderr();
			const FOrvexActionResult Outcome = Call(TEXT("get_string_table"), std::string("{\"asset_path\":\"") + AssetPath + "\"}");
			const std::string Log = testing::internal::GetCapturedStderr();
			EXPECT_FALSE(Outcome.bSuccess) << AssetPath;
			EXPECT_EQ(Outcome.ErrorCode, -32603) << AssetPath;
			EXPECT_EQ(UE::Host::StringToUtf8(Outcome.ErrorMessage), std::string("StringTable not found: ") + AssetPath + "." + (std::strrchr(AssetPath, '/') + 1));
			return Log;
		}

		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
		std::string StartupLog;
	};
}

TEST_F(PackageAssets, DiscoveryListsStringTablePackagesFromTheirHeaders)
{
	const FOrvexActionResult Outcome = Call(TEXT("list_string_tables"), R"({"path":"/Game"})");
	ASSERT_TRUE(Outcome.bSuccess) << UE::Host::StringToUtf8(Outcome.ErrorMessage);
	// Not the redirectors, the texture, nor the packages that cannot be read.
	EXPECT_EQ(ObjectLines(Outcome.Result, TEXT("string_tables")),
		R"({"asset_path":"/Game/Localization/Legacy/ST_Old.ST_Old","package_path":"/Game/Localization/Legacy/ST_Old","name":"ST_Old"})" "\n"
		R"({"asset_path":"/Game/Localization/ST_Both.ST_Both","package_path":"/Game/Localization/ST_Both","name":"ST_Both"})" "\n"
		R"({"asset_path":"/Game/Localization/ST_Cut.ST_Cut","package_path":"/Game/Localization/ST_Cut","name":"ST_Cut"})" "\n"
		R"({"asset_path":"/Game/Localization/ST_Empty.ST_Empty","package_path":"/Game/Localization/ST_Empty","name":"ST_Empty"})" "\n"
		R"({"asset_path":"/Game/Localization/ST_Four.ST_Four","package_path":"/Game/Localization/ST_Four","name":"ST_Four"})" "\n");
	EXPECT_EQ(Call(TEXT("list_string_tables"), R"({"path":"/Tools"})").Result->GetNumberField(TEXT("total")), 1.0);

	// The refused ones were named, with the reason, when the registry read them.
	EXPECT_NE(StartupLog.find("ST_Cooked.uasset' is not read: a cooked package (package flags 0x00000200), which is not read"), std::string::npos) << StartupLog;
	EXPECT_NE(StartupLog.find("ST_Pointer.uasset' is not read: not a package but a large-file pointer"), std::string::npos) << StartupLog;

	// The registry knows the redirector and the texture as what they are.
	const FAssetData Renamed = IAssetRegistry::GetChecked().GetAssetByObjectPath(FSoftObjectPath(TEXT("/Game/Localization/ST_Renamed.ST_Renamed")));
	EXPECT_EQ(UE::Host::StringToUtf8(Renamed.AssetClassPath.ToString()), "/Script/CoreUObject.ObjectRedirector");
	const FAssetData Icon = IAssetRegistry::GetChecked().GetAssetByObjectPath(FSoftObjectPath(TEXT("/Game/Art/T_Icon.T_Icon")));
	EXPECT_EQ(UE::Host::StringToUtf8(Icon.AssetClassPath.ToString()), "/Script/Engine.Texture2D");
	EXPECT_FALSE(Renamed.IsAssetLoaded());
}

TEST_F(PackageAssets, DetailsLoadThePackagesNamespaceAndEntries)
{
	testing::internal::CaptureStderr();
	const FOrvexActionResult Outcome = Call(TEXT("list_string_tables"), R"({"path":"/Game/Localization","offset":2,"include_details":true})");
	EXPECT_NE(testing::internal::GetCapturedStderr().find("Failed to load StringTable '/Game/Localization/ST_Cut.ST_Cut'"), std::string::npos);
	ASSERT_TRUE(Outcome.bSuccess);
	EXPECT_EQ(ObjectLines(Outcome.Result, TEXT("string_tables")),
		R"({"asset_path":"/Game/Localization/ST_Cut.ST_Cut","package_path":"/Game/Localization/ST_Cut","name":"ST_Cut","load_error":"asset could not be loaded as a StringTable"})" "\n"
		R"({"asset_path":"/Game/Localization/ST_Empty.ST_Empty","package_path":"/Game/Localization/ST_Empty","name":"ST_Empty","table_id":"/Game/Localization/ST_Empty.ST_Empty","namespace":"","is_internal":false,"entry_count":0})" "\n"
		R"({"asset_path":"/Game/Localization/ST_Four.ST_Four","package_path":"/Game/Localization/ST_Four","name":"ST_Four","table_id":"/Game/Localization/ST_Four.ST_Four","namespace":"UI","is_internal":false,"entry_count":4})" "\n");

	// Beside a CSV file of the same name, the package is the asset.
	const FOrvexActionResult Both = Call(TEXT("get_string_table"), R"({"asset_path":"/Game/Localization/ST_Both"})");
	ASSERT_TRUE(Both.bSuccess);
	EXPECT_EQ(UE::Host::StringToUtf8(Both.Result->GetStringField(TEXT("namespace"))), "FromPackage");
	EXPECT_EQ(ObjectLines(Both.Result, TEXT("entries")), R"({"key":"Key","key_length":3,"source_string":"package text","source_string_length":12,"source_string_truncated":false})" "\n");

	const FOrvexActionResult Old = Call(TEXT("get_string_table"), R"({"asset_path":"/Game/Localization/Legacy/ST_Old","include_metadata":true})");
	ASSERT_TRUE(Old.bSuccess);
	EXPECT_EQ(Keys(Old), (std::vector<std::string>{"Plain", "Épée_Nom", "剣"}));
	EXPECT_EQ(UE::Host::StringToUtf8(Old.Result->GetArrayField(TEXT("entries"))[2]->AsObject()->GetStringField(TEXT("source_string"))), "💎 gem\r\n");
	EXPECT_EQ(Old.Result->GetArrayField(TEXT("entries"))[2]->AsObject()->GetNumberField(TEXT("source_string_length")), 8.0);
}

TEST_F(PackageAssets, PagesCursorsAndBudgetsWorkOnAPackageTable)
{
	std::vector<std::string> Walked;
	std::string Cursor;
	for (int32 Page = 0; Page < 4; ++Page)
	{
		const std::string Params = R"({"asset_path":"/Game/Localization/ST_Four.ST_Four","entry_limit":1)" + (Page == 0 ? std::string() : ",\"after_key\":\"" + Cursor + "\"") + "}";
		const FOrvexActionResult Outcome = Call(TEXT("get_string_table"), Params);
		ASSERT_TRUE(Outcome.bSuccess) << UE::Host::StringToUtf8(Outcome.ErrorMessage);
		const std::vector<std::string> Keys = PackageAssets::Keys(Outcome);
		Walked.insert(Walked.end(), Keys.begin(), Keys.end());
		EXPECT_EQ(Outcome.Result->GetBoolField(TEXT("has_more_entries")), Page < 3);
		EXPECT_FALSE(Outcome.Result->GetBoolField(TEXT("complete")));
		if (Page < 3)
		{
			Cursor = UE::Host::StringToUtf8(Outcome.Result->GetStringField(TEXT("next_after_key")));
		}
	}
	EXPECT_EQ(Walked, (std::vector<std::string>{" Pad", "Alpha", "Empty", "Long"}));

	const FOrvexActionResult Budget = Call(TEXT("get_string_table"), R"({"asset_path":"/Game/Localization/ST_Four","entry_limit":10,"include_metadata":true,"metadata_limit":1,"text_limit":5})");
	ASSERT_TRUE(Budget.bSuccess);
	EXPECT_EQ(ObjectLines(Budget.Result, TEXT("entries")),
		R"({"key":" Pad","key_length":4,"source_string":"Padde","source_string_length":10,"source_string_truncated":true,"metadata":[],"metadata_count":0,"metadata_returned":0,"metadata_truncated":false})" "\n"
		R"({"key":"Alpha","key_length":5,"source_string":"Prima","source_string_length":13,"source_string_truncated":true,"metadata":[{"name":"Context","value":"Menu","value_length":4,"value_truncated":false}],"metadata_count":2,"metadata_returned":1,"metadata_truncated":true})" "\n"
		R"({"key":"Empty","key_length":5,"source_string":"","source_string_length":0,"source_string_truncated":false,"metadata":[],"metadata_count":0,"metadata_returned":0,"metadata_truncated":false})" "\n"
		R"({"key":"Long","key_length":4,"source_string":"12345","source_string_length":10,"source_string_truncated":true,"metadata":[],"metadata_count":1,"metadata_returned":0,"metadata_truncated":true})" "\n");
	EXPECT_EQ(Budget.Result->GetNumberField(TEXT("available_metadata_count")), 3.0);
	EXPECT_TRUE(Budget.Result->GetBoolField(TEXT("all_entries_covered")));
	EXPECT_FALSE(Budget.Result->GetBoolField(TEXT("complete")));
	EXPECT_FALSE(FindPackage(nullptr, TEXT("/Game/Localization/ST_Four"))->IsDirty());
}

TEST_F(PackageAssets, ValidationReportsThePackageTablesIssues)
{
	const FOrvexActionResult Four = Call(TEXT("validate_string_table"), R"({"asset_path":"/Game/Localization/ST_Four","scan_limit":1})");
	ASSERT_TRUE(Four.bSuccess);
	EXPECT_EQ(ObjectLines(Four.Result, TEXT("issues")),
		R"({"code":"scan_limit_exceeded","severity":"error","message":"Validation scanned 1 of 4 entries; raise scan_limit for full coverage."})" "\n"
		R"({"code":"key_edge_whitespace","severity":"warning","message":"StringTable key has leading or trailing whitespace.","key":" Pad"})" "\n");
	EXPECT_FALSE(Four.Result->GetBoolField(TEXT("valid")));

	const FOrvexActionResult Whole = Call(TEXT("validate_string_table"), R"({"asset_path":"/Game/Localization/ST_Four"})");
	EXPECT_TRUE(Whole.Result->GetBoolField(TEXT("valid")));
	EXPECT_EQ(Whole.Result->GetNumberField(TEXT("warnings")), 2.0);

	const FOrvexActionResult Empty = Call(TEXT("validate_string_table"), R"({"asset_path":"/Game/Localization/ST_Empty"})");
	EXPECT_EQ(ObjectLines(Empty.Result, TEXT("issues")), R"({"code":"empty_table","severity":"error","message":"StringTable has no entries."})" "\n");
}

TEST_F(PackageAssets, LoadingARedirectorsPathFollowsItToTheTable)
{
	for (const char* Path : {"/Game/Localization/ST_Renamed", "/Game/Localization/ST_Chain.ST_Chain"})
	{
		const FOrvexActionResult Outcome = Call(TEXT("get_string_table"), std::string("{\"asset_path\":\"") + Path + "\",\"entry_limit\":1}");
		ASSERT_TRUE(Outcome.bSuccess) << Path << ": " << UE::Host::StringToUtf8(Outcome.ErrorMessage);
		EXPECT_EQ(UE::Host::StringToUtf8(Outcome.Result->GetStringField(TEXT("asset_path"))), "/Game/Localization/ST_Four.ST_Four") << Path;
		EXPECT_EQ(Outcome.Result->GetNumberField(TEXT("entry_count")), 4.0) << Path;
	}
	const std::string Log = FailedLoadLog("/Game/Localization/ST_Loop");
	EXPECT_NE(Log.find("redirectors form a chain longer than 8"), std::string::npos) << Log;
}

TEST_F(PackageAssets, PackagesThatCannotBeReadAreNotServedAndTheLogSaysWhy)
{
	std::string Log = FailedLoadLog("/Game/Localization/ST_Cut");
	EXPECT_NE(Log.find("LogStringTable: Warning: Failed to load StringTable '/Game/Localization/ST_Cut.ST_Cut' from '"), std::string::npos) << Log;
	EXPECT_NE(Log.find("ST_Cut.uasset': damaged: the StringTable export reads 202 of its recorded 203 bytes"), std::string::npos) << Log;
	EXPECT_EQ(FindPackage(nullptr, TEXT("/Game/Localization/ST_Cut")), nullptr);

	// Refused when the registry read them (and named in the log then): never known as assets.
	FailedLoadLog("/Game/Localization/ST_Cooked");
	FailedLoadLog("/Game/Localization/ST_Pointer");
	Log = FailedLoadLog("/Game/Art/T_Icon");
	EXPECT_NE(Log.find("Package '/Game/Art/T_Icon' holds Texture2D 'T_Icon', which the host does not load"), std::string::npos) << Log;

	// The server goes on serving the tables that can be read.
	EXPECT_TRUE(Call(TEXT("get_string_table"), R"({"asset_path":"/Game/Localization/ST_Four"})").bSuccess);
}
