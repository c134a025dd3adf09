// localization.get_string_table: pages in key order, cursors, budgets and completeness flags.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "LocalizationFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>

namespace
{
	class GetStringTable : public testing::Test
	{
	protected:
		void SetUp() override
		{
			WriteLocalizationFixtures(Folders);
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			ASSERT_TRUE(Host->IsRunning()) << UE::Host::StringToUtf8(Host->GetError());
		}

		static FOrvexActionResult Get(const std::string& ExtraParams)
		{
			return CallAction(TEXT("localization"), TEXT("get_string_table"),
				"{\"asset_path\":\"/Game/Localization/ST_Four\"" + (ExtraParams.empty() ? std::string() : "," + ExtraParams) + "}");
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

		static bool Flag(const FOrvexActionResult& Outcome, const TCHAR* Name) { return Outcome.Result->GetBoolField(Name); }
		static double Number(const FOrvexActionResult& Outcome, const TCHAR* Name) { return Outcome.Result->GetNumberField(Name); }
		static std::string Text(const FOrvexActionResult& Outcome, const TCHAR* Name) { return UE::Host::StringToUtf8(Outcome.Result->GetStringField(Name)); }

		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
	};
}

TEST_F(GetStringTable, WalksTheTablePageByPageWithCursors)
{
	const FOrvexActionResult First = Get(R"("entry_limit":1)");
	ASSERT_TRUE(First.bSuccess) << UE::Host::StringToUtf8(First.ErrorMessage);
	EXPECT_EQ(Keys(First), (std::vector<std::string>{" Pad"}));
	EXPECT_EQ(Number(First, TEXT("entry_count")), 4.0);
	EXPECT_EQ(Number(First, TEXT("entries_after_cursor")), 4.0);
	EXPECT_TRUE(Flag(First, TEXT("has_more_entries")));
	EXPECT_EQ(Text(First, TEXT("next_after_key")), " Pad");
	EXPECT_FALSE(Flag(First, TEXT("all_entries_covered")));
	EXPECT_FALSE(Flag(First, TEXT("complete")));
	EXPECT_FALSE(First.Result->HasField(TEXT("after_key")));

	std::string Cursor = " Pad";
	const std::vector<std::string> Expected = {"Alpha", "Empty", "Long"};
	for (size_t Page = 0; Page < Expected.size(); ++Page)
	{
		const FOrvexActionResult Next = Get("\"entry_limit\":1,\"after_key\":\"" + Cursor + "\"");
		ASSERT_TRUE(Next.bSuccess);
		EXPECT_EQ(Keys(Next), (std::vector<std::string>{Expected[Page]}));
		EXPECT_EQ(Text(Next, TEXT("after_key")), Cursor);
		EXPECT_EQ(Number(Next, TEXT("entries_after_cursor")), static_cast<double>(3 - Page));
		EXPECT_FALSE(Flag(Next, TEXT("all_entries_covered")));
		EXPECT_FALSE(Flag(Next, TEXT("complete")));
		const bool bLast = Page + 1 == Expected.size();
		EXPECT_EQ(Flag(Next, TEXT("has_more_entries")), !bLast);
		EXPECT_EQ(Next.Result->HasField(TEXT("next_after_key")), !bLast);
		Cursor = Expected[Page];
	}
}

TEST_F(GetStringTable, ResultFieldsComeInTheirDocumentedOrder)
{
	const FOrvexActionResult Outcome = Get(R"("entry_limit":2,"after_key":"")");
	ASSERT_TRUE(Outcome.bSuccess);
	EXPECT_EQ(FieldNames(Outcome.Result), (TArray<FString>{TEXT("asset_path"), TEXT("package_path"), TEXT("name"), TEXT("table_id"), TEXT("namespace"),
		TEXT("is_internal"), TEXT("entry_count"), TEXT("entries_after_cursor"), TEXT("entry_limit"), TEXT("entries_returned"), TEXT("entries"),
		TEXT("has_more_entries"), TEXT("all_entries_covered"), TEXT("include_metadata"), TEXT("metadata_limit"), TEXT("available_metadata_count"),
		TEXT("returned_metadata_count"), TEXT("metadata_complete"), TEXT("text_limit"), TEXT("complete"), TEXT("read_only"), TEXT("after_key"),
		TEXT("next_after_key")}));
	EXPECT_EQ(Text(Outcome, TEXT("asset_path")), "/Game/Localization/ST_Four.ST_Four");
	EXPECT_EQ(Text(Outcome, TEXT("package_path")), "/Game/Localization/ST_Four");
	EXPECT_EQ(Text(Outcome, TEXT("table_id")), "/Game/Localization/ST_Four.ST_Four");
	EXPECT_EQ(Text(Outcome, TEXT("namespace")), "ST_Four");
	// An empty cursor is still a cursor: every non-empty key follows it, and coverage is not claimed.
	EXPECT_EQ(Keys(Outcome), (std::vector<std::string>{" Pad", "Alpha"}));
	EXPECT_FALSE(Flag(Outcome, TEXT("all_entries_covered")));
}

TEST_F(GetStringTable, MetadataAndTextBudgetsAreReportedPerEntry)
{
	const FOrvexActionResult Outcome = Get(R"("entry_limit":10,"include_metadata":true,"metadata_limit":1,"text_limit":5)");
	ASSERT_TRUE(Outcome.bSuccess);
	const TArray<TSharedPtr<FJsonValue>>& Entries = Outcome.Result->GetArrayField(TEXT("entries"));
	ASSERT_EQ(Entries.Num(), 4);
	EXPECT_EQ(ToJson(Entries[0]->AsObject()),
		R"({"key":" Pad","key_length":4,"source_string":"Padde","source_string_length":10,"source_string_truncated":true,"metadata":[],"metadata_count":0,"metadata_returned":0,"metadata_truncated":false})");
	EXPECT_EQ(ToJson(Entries[1]->AsObject()),
		R"({"key":"Alpha","key_length":5,"source_string":"Prima","source_string_length":13,"source_string_truncated":true,"metadata":[{"name":"Context","value":"Menu","value_length":4,"value_truncated":false}],"metadata_count":2,"metadata_returned":1,"metadata_truncated":true})");
	EXPECT_EQ(ToJson(Entries[2]->AsObject()),
		R"({"key":"Empty","key_length":5,"source_string":"","source_string_length":0,"source_string_truncated":false,"metadata":[],"metadata_count":0,"metadata_returned":0,"metadata_truncated":false})");
	EXPECT_EQ(ToJson(Entries[3]->AsObject()),
		R"({"key":"Long","key_length":4,"source_string":"12345","source_string_length":10,"source_string_truncated":true,"metadata":[],"metadata_count":1,"metadata_returned":0,"metadata_truncated":true})");
	EXPECT_FALSE(Flag(Outcome, TEXT("has_more_entries")));
	EXPECT_TRUE(Flag(Outcome, TEXT("all_entries_covered")));
	EXPECT_EQ(Number(Outcome, TEXT("available_metadata_count")), 3.0);
	EXPECT_EQ(Number(Outcome, TEXT("returned_metadata_count")), 1.0);
	EXPECT_FALSE(Flag(Outcome, TEXT("metadata_complete")));
	EXPECT_FALSE(Flag(Outcome, TEXT("complete")));

	const FOrvexActionResult Full = Get(R"("entry_limit":10,"include_metadata":true)");
	EXPECT_EQ(Number(Full, TEXT("returned_metadata_count")), 3.0);
	EXPECT_TRUE(Flag(Full, TEXT("metadata_complete")));
	EXPECT_TRUE(Flag(Full, TEXT("complete")));
	const TArray<TSharedPtr<FJsonValue>>& AlphaRows = Full.Result->GetArrayField(TEXT("entries"))[1]->AsObject()->GetArrayField(TEXT("metadata"));
	ASSERT_EQ(AlphaRows.Num(), 2);
	EXPECT_EQ(UE::Host::StringToUtf8(AlphaRows[1]->AsObject()->GetStringField(TEXT("name"))), "Note");

	const FOrvexActionResult NoBudget = Get(R"("include_metadata":true,"metadata_limit":0)");
	EXPECT_FALSE(Flag(NoBudget, TEXT("metadata_complete")));
	EXPECT_EQ(Number(NoBudget, TEXT("available_metadata_count")), 3.0);

	const FOrvexActionResult Plain = Get("");
	EXPECT_FALSE(Plain.Result->GetArrayField(TEXT("entries"))[1]->AsObject()->HasField(TEXT("metadata")));
	EXPECT_TRUE(Flag(Plain, TEXT("metadata_complete")));
	EXPECT_TRUE(Flag(Plain, TEXT("complete")));
	EXPECT_EQ(Number(Plain, TEXT("metadata_limit")), 512.0);
}

TEST_F(GetStringTable, CursorsPastTheEndAndEqualToKeys)
{
	const FOrvexActionResult PastEnd = Get(R"("after_key":"zzz")");
	EXPECT_EQ(Number(PastEnd, TEXT("entries_returned")), 0.0);
	EXPECT_FALSE(Flag(PastEnd, TEXT("has_more_entries")));
	EXPECT_FALSE(PastEnd.Result->HasField(TEXT("next_after_key")));
	EXPECT_FALSE(Flag(PastEnd, TEXT("complete")));

	// Key order is by code unit: upper-case letters before lower-case, so "Alpha" < "alpha".
	const FOrvexActionResult NotAKey = Get(R"("after_key":"Alpha0")");
	EXPECT_EQ(Keys(NotAKey), (std::vector<std::string>{"Empty", "Long"}));
	const FOrvexActionResult Exact = Get(R"("after_key":"Empty","entry_limit":1)");
	EXPECT_EQ(Keys(Exact), (std::vector<std::string>{"Long"}));
	EXPECT_FALSE(Flag(Exact, TEXT("has_more_entries")));

	const FOrvexActionResult EmptyTable = CallAction(TEXT("localization"), TEXT("get_string_table"), R"({"asset_path":"/Game/Localization/ST_Empty"})");
	ASSERT_TRUE(EmptyTable.bSuccess);
	EXPECT_EQ(Number(EmptyTable, TEXT("entry_count")), 0.0);
	EXPECT_TRUE(Flag(EmptyTable, TEXT("all_entries_covered")));
	EXPECT_TRUE(Flag(EmptyTable, TEXT("complete")));
}

TEST_F(GetStringTable, ParameterErrorsComeFirstInReadingOrder)
{
	const std::string LongCursor(4097, 'k');
	const std::string MaxCursor(4096, 'k');
	EXPECT_TRUE(Get("\"after_key\":\"" + MaxCursor + "\"").bSuccess);

	struct FCase
	{
		std::string Params;
		std::string Message;
		int32 Code;
	};
	const std::vector<FCase> Cases = {
		{"{}", "Invalid parameter 'asset_path': field is required", -32602},
		{R"({"asset_path":""})", "Invalid parameter 'asset_path': expected a non-empty string", -32602},
		{R"({"asset_path":5})", "Invalid parameter 'asset_path': expected a string", -32602},
		{R"({"asset_path":"/Game/Nope","after_key":")" + LongCursor + "\"}", "Invalid parameter 'after_key': must not exceed 4096 characters", -32602},
		{R"({"asset_path":"/Game/Nope","after_key":")" + LongCursor + R"(","entry_limit":1001})", "Invalid parameter 'entry_limit': expected an integer in the range 1..1000", -32602},
		{R"({"asset_path":"/Game/Nope","text_limit":65537})", "Invalid parameter 'text_limit': expected an integer in the range 1..65536", -32602},
		{R"({"asset_path":"/Game/Nope","entry_limit":"3"})", "Invalid parameter 'entry_limit': expected an integer JSON number", -32602},
		{R"({"asset_path":"/Game/Nope","entry_limit":3.5})", "Invalid parameter 'entry_limit': expected an integer in the range 1..1000", -32602},
		{R"({"asset_path":"/Game/Nope","include_metadata":null})", "Invalid parameter 'include_metadata': expected a boolean", -32602},
		{R"({"asset_path":"/Game/Nope","after_key":null})", "Invalid parameter 'after_key': expected a string", -32602},
		{R"({"asset_path":"/Game/Nope"})", "StringTable not found: /Game/Nope.Nope", -32603},
		{R"({"asset_path":"/Game/Data/DT_Items"})", "", -32603},
		{R"({"asset_path":"/NotMounted/ST_Four"})", "", -32602},
	};
	for (const FCase& Case : Cases)
	{
		const FOrvexActionResult Outcome = CallAction(TEXT("localization"), TEXT("get_string_table"), Case.Params);
		EXPECT_FALSE(Outcome.bSuccess) << Case.Params.substr(0, 80);
		EXPECT_EQ(Outcome.ErrorCode, Case.Code) << Case.Params.substr(0, 80);
		if (!Case.Message.empty())
		{
			EXPECT_EQ(UE::Host::StringToUtf8(Outcome.ErrorMessage), Case.Message);
		}
	}
	const FOrvexActionResult Wrong = CallAction(TEXT("localization"), TEXT("get_string_table"), R"({"asset_path":"/Game/Data/DT_Items"})");
	EXPECT_TRUE(Wrong.ErrorMessage.StartsWith(TEXT("Asset '/Game/Data/DT_Items.DT_Items' is a ")));
	EXPECT_TRUE(Wrong.ErrorMessage.EndsWith(TEXT(", not a StringTable")));
	EXPECT_EQ(CallAction(TEXT("localization"), TEXT("get_string_table"), R"({"asset_path":3.0,"entry_limit":0})").ErrorMessage.Find(TEXT("asset_path")), 19);
}

TEST_F(GetStringTable, ObjectPathsResolveOnlyWhenTheObjectNameRepeatsTheAssetName)
{
	const std::string Reference = ToJson(Get("").Result);
	EXPECT_EQ(ToJson(CallAction(TEXT("localization"), TEXT("get_string_table"), R"({"asset_path":"/Game/Localization/ST_Four.ST_Four"})").Result), Reference);
	EXPECT_EQ(ToJson(CallAction(TEXT("localization"), TEXT("get_string_table"), R"({"asset_path":"/Game/Localization/ST_Four.st_four"})").Result), Reference);

	const FOrvexActionResult Wrong = CallAction(TEXT("localization"), TEXT("get_string_table"), R"({"asset_path":"/Game/Localization/ST_Four.Wrong"})");
	EXPECT_EQ(Wrong.ErrorCode, -32602);
	EXPECT_TRUE(Wrong.ErrorMessage.StartsWith(TEXT("Invalid parameter 'asset_path': Invalid package path '/Game/Localization/ST_Four.Wrong': ")));
	EXPECT_TRUE(Wrong.ErrorMessage.EndsWith(TEXT(" (an object path is accepted only when the name after the '.' matches the asset name, e.g. '/Game/Foo/M_Bar.M_Bar')")));

	const FOrvexActionResult TwoDots = CallAction(TEXT("localization"), TEXT("get_string_table"), R"({"asset_path":"/Game/Localization/ST_Four.ST_Four.ST_Four"})");
	EXPECT_EQ(TwoDots.ErrorCode, -32602);
}

TEST_F(GetStringTable, TextCutsInsideSurrogatePairsStillWriteValidJson)
{
	Folders.WriteProject("Content/Localization/ST_Emoji.csv", "\"Key\",\"SourceString\"\n\"Gem\",\"a\xF0\x9F\x92\x8E" "b\"\n");
	Host.reset();
	Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
	const FOrvexActionResult Outcome = CallAction(TEXT("localization"), TEXT("get_string_table"), R"({"asset_path":"/Game/Localization/ST_Emoji","text_limit":2})");
	ASSERT_TRUE(Outcome.bSuccess);
	const std::string Json = ToJson(Outcome.Result);
	std::string Lower = Json;
	std::transform(Lower.begin(), Lower.end(), Lower.begin(), [](unsigned char C) { return static_cast<char>(std::tolower(C)); });
	EXPECT_NE(Lower.find(R"("source_string":"a\ud83d","source_string_length":4,"source_string_truncated":true)"), std::string::npos) << Json;
	EXPECT_EQ(ParseObject(Json)->GetArrayField(TEXT("entries")).Num(), 1);
}
