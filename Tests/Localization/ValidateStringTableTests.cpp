// localization.validate_string_table: bounded scans, sorted issues, the "valid" verdict.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "LocalizationFixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
	class ValidateStringTable : public testing::Test
	{
	protected:
		void SetUp() override
		{
			WriteLocalizationFixtures(Folders);
			Folders.WriteProject("Content/Localization/ST_Odd.csv",
				"\"Key\",\"SourceString\"\n\"\",\"\"\n\"Trail \",\"\"\n\"In side\",\"x\"\n\"\tTab\",\"y\"\n");
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			ASSERT_TRUE(Host->IsRunning()) << UE::Host::StringToUtf8(Host->GetError());
		}

		static FOrvexActionResult Validate(const std::string& Params)
		{
			return CallAction(TEXT("localization"), TEXT("validate_string_table"), Params);
		}

		static std::vector<std::string> Issues(const FOrvexActionResult& Outcome)
		{
			std::vector<std::string> Out;
			for (const TSharedPtr<FJsonValue>& Issue : Outcome.Result->GetArrayField(TEXT("issues")))
			{
				Out.push_back(ToJson(Issue->AsObject()));
			}
			return Out;
		}

		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
	};
}

TEST_F(ValidateStringTable, WarningsAloneLeaveACompleteTableValid)
{
	const FOrvexActionResult First = Validate(R"({"asset_path":"/Game/Localization/ST_Four","scan_limit":10,"issue_limit":1})");
	ASSERT_TRUE(First.bSuccess) << UE::Host::StringToUtf8(First.ErrorMessage);
	const TArray<FString> Fields = FieldNames(First.Result);
	EXPECT_EQ(Fields, (TArray<FString>{TEXT("asset_path"), TEXT("package_path"), TEXT("name"), TEXT("table_id"), TEXT("namespace"), TEXT("is_internal"),
		TEXT("entry_count"), TEXT("entries_scanned"), TEXT("scan_limit"), TEXT("complete"), TEXT("valid"), TEXT("errors"), TEXT("warnings"),
		TEXT("issue_total"), TEXT("issue_offset"), TEXT("issue_limit"), TEXT("issues_returned"), TEXT("has_more_issues"), TEXT("issues"), TEXT("read_only")}));
	EXPECT_EQ(First.Result->GetNumberField(TEXT("entries_scanned")), 4.0);
	EXPECT_TRUE(First.Result->GetBoolField(TEXT("complete")));
	EXPECT_TRUE(First.Result->GetBoolField(TEXT("valid")));
	EXPECT_EQ(First.Result->GetNumberField(TEXT("warnings")), 2.0);
	EXPECT_TRUE(First.Result->GetBoolField(TEXT("has_more_issues")));
	EXPECT_EQ(Issues(First), (std::vector<std::string>{
		R"({"code":"key_edge_whitespace","severity":"warning","message":"StringTable key has leading or trailing whitespace.","key":" Pad"})"}));

	const FOrvexActionResult Second = Validate(R"({"asset_path":"/Game/Localization/ST_Four","scan_limit":10,"issue_limit":1,"issue_offset":1})");
	EXPECT_EQ(Issues(Second), (std::vector<std::string>{
		R"({"code":"empty_source_string","severity":"warning","message":"StringTable entry has an empty source string.","key":"Empty"})"}));
	EXPECT_FALSE(Second.Result->GetBoolField(TEXT("has_more_issues")));
}

TEST_F(ValidateStringTable, EmptyTablesAndShortScansAreNeverValid)
{
	const FOrvexActionResult Empty = Validate(R"({"asset_path":"/Game/Localization/ST_Empty"})");
	ASSERT_TRUE(Empty.bSuccess);
	EXPECT_TRUE(Empty.Result->GetBoolField(TEXT("complete")));
	EXPECT_FALSE(Empty.Result->GetBoolField(TEXT("valid")));
	EXPECT_EQ(Issues(Empty), (std::vector<std::string>{R"({"code":"empty_table","severity":"error","message":"StringTable has no entries."})"}));

	const FOrvexActionResult Short = Validate(R"({"asset_path":"/Game/Localization/ST_Four","scan_limit":1})");
	EXPECT_EQ(Short.Result->GetNumberField(TEXT("entries_scanned")), 1.0);
	EXPECT_FALSE(Short.Result->GetBoolField(TEXT("complete")));
	EXPECT_FALSE(Short.Result->GetBoolField(TEXT("valid")));
	EXPECT_EQ(Issues(Short), (std::vector<std::string>{
		R"({"code":"scan_limit_exceeded","severity":"error","message":"Validation scanned 1 of 4 entries; raise scan_limit for full coverage."})",
		R"({"code":"key_edge_whitespace","severity":"warning","message":"StringTable key has leading or trailing whitespace.","key":" Pad"})"}));

	const FOrvexActionResult Exact = Validate(R"({"asset_path":"/Game/Localization/ST_Four","scan_limit":4})");
	EXPECT_TRUE(Exact.Result->GetBoolField(TEXT("complete")));
	EXPECT_EQ(Exact.Result->GetNumberField(TEXT("errors")), 0.0);
}

TEST_F(ValidateStringTable, IssuesSortByKeyThenCode)
{
	const FOrvexActionResult Outcome = Validate(R"({"asset_path":"/Game/Localization/ST_Odd"})");
	ASSERT_TRUE(Outcome.bSuccess);
	EXPECT_EQ(Issues(Outcome), (std::vector<std::string>{
		R"({"code":"empty_key","severity":"error","message":"StringTable entry has an empty key."})",
		R"({"code":"empty_source_string","severity":"warning","message":"StringTable entry has an empty source string."})",
		R"({"code":"key_edge_whitespace","severity":"warning","message":"StringTable key has leading or trailing whitespace.","key":"\tTab"})",
		R"({"code":"empty_source_string","severity":"warning","message":"StringTable entry has an empty source string.","key":"Trail "})",
		R"({"code":"key_edge_whitespace","severity":"warning","message":"StringTable key has leading or trailing whitespace.","key":"Trail "})"}));
	EXPECT_FALSE(Outcome.Result->GetBoolField(TEXT("valid")));
	EXPECT_EQ(Outcome.Result->GetNumberField(TEXT("errors")), 1.0);
}

TEST_F(ValidateStringTable, RangeErrorsComeBeforeTheTableIsLookedUp)
{
	struct FCase
	{
		const char* Params;
		const char* Message;
	};
	const FCase Cases[] = {
		{R"({"asset_path":"/Game/Nope","scan_limit":0})", "Invalid parameter 'scan_limit': expected an integer in the range 1..10000"},
		{R"({"asset_path":"/Game/Nope","scan_limit":10001})", "Invalid parameter 'scan_limit': expected an integer in the range 1..10000"},
		{R"({"asset_path":"/Game/Nope","issue_limit":1001})", "Invalid parameter 'issue_limit': expected an integer in the range 1..1000"},
		{R"({"asset_path":"/Game/Nope","issue_offset":-1})", "Invalid parameter 'issue_offset': expected an integer in the range 0..2147483647"},
	};
	for (const FCase& Case : Cases)
	{
		const FOrvexActionResult Outcome = Validate(Case.Params);
		EXPECT_EQ(Outcome.ErrorCode, -32602) << Case.Params;
		EXPECT_EQ(UE::Host::StringToUtf8(Outcome.ErrorMessage), Case.Message);
	}
	const FOrvexActionResult FarOffset = Validate(R"({"asset_path":"/Game/Localization/ST_Four","issue_offset":2147483647,"issue_limit":1000})");
	ASSERT_TRUE(FarOffset.bSuccess);
	EXPECT_EQ(FarOffset.Result->GetNumberField(TEXT("issues_returned")), 0.0);
	EXPECT_FALSE(FarOffset.Result->GetBoolField(TEXT("has_more_issues")));
}
