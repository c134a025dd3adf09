// localization.list_cultures: the catalogue in pages, and resolution of requested roots.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace
{
	class ListCultures : public testing::Test
	{
	protected:
		void SetUp() override
		{
			UE::Host::FEnvironment Environment = Folders.MakeEnvironment();
			Environment.Culture = TEXT("fr-FR");
			Host = std::make_unique<FScopedHost>(Environment);
			ASSERT_TRUE(Host->IsRunning());
		}

		static FOrvexActionResult List(const std::string& Params)
		{
			return CallAction(TEXT("localization"), TEXT("list_cultures"), Params);
		}

		static std::vector<std::string> Names(const FOrvexActionResult& Outcome)
		{
			std::vector<std::string> Out;
			for (const TSharedPtr<FJsonValue>& Culture : Outcome.Result->GetArrayField(TEXT("cultures")))
			{
				Out.push_back(UE::Host::StringToUtf8(Culture->AsObject()->GetStringField(TEXT("name"))));
			}
			return Out;
		}

		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
	};
}

TEST_F(ListCultures, PagesTheWholeCatalogueInCodeUnitOrder)
{
	const FOrvexActionResult First = List(R"({"limit":1})");
	ASSERT_TRUE(First.bSuccess);
	EXPECT_EQ(FieldNames(First.Result), (TArray<FString>{TEXT("current_culture"), TEXT("current_language"), TEXT("current_locale"), TEXT("explicit_names"),
		TEXT("include_derived"), TEXT("unresolved_names"), TEXT("cultures"), TEXT("read_only"), TEXT("total"), TEXT("offset"), TEXT("limit"), TEXT("count"), TEXT("has_more")}));
	EXPECT_EQ(UE::Host::StringToUtf8(First.Result->GetStringField(TEXT("current_culture"))), "fr-FR");
	EXPECT_EQ(First.Result->GetNumberField(TEXT("count")), 1.0);
	EXPECT_FALSE(First.Result->GetBoolField(TEXT("explicit_names")));
	EXPECT_TRUE(First.Result->GetBoolField(TEXT("include_derived")));
	EXPECT_TRUE(First.Result->GetArrayField(TEXT("unresolved_names")).IsEmpty());

	const int32 Total = static_cast<int32>(First.Result->GetNumberField(TEXT("total")));
	std::vector<std::string> All;
	for (int32 Offset = 0; Offset < Total; Offset += 500)
	{
		for (const std::string& Name : Names(List("{\"offset\":" + std::to_string(Offset) + ",\"limit\":500}")))
		{
			All.push_back(Name);
		}
	}
	ASSERT_EQ(static_cast<int32>(All.size()), Total);
	for (size_t Index = 1; Index < All.size(); ++Index)
	{
		EXPECT_LT(All[Index - 1], All[Index]);
	}
	const FOrvexActionResult Beyond = List("{\"offset\":" + std::to_string(Total) + "}");
	EXPECT_EQ(Beyond.Result->GetNumberField(TEXT("count")), 0.0);
	EXPECT_FALSE(Beyond.Result->GetBoolField(TEXT("has_more")));
}

TEST_F(ListCultures, ResolvesRequestedRootsAndReportsTheRestInRequestOrder)
{
	const FOrvexActionResult Outcome = List(R"({"culture_names":["fr-FR","zz-NotACulture","fr_fr","zz-NotACulture"],"include_derived":false})");
	ASSERT_TRUE(Outcome.bSuccess);
	EXPECT_TRUE(Outcome.Result->GetBoolField(TEXT("explicit_names")));
	EXPECT_EQ(Names(Outcome), (std::vector<std::string>{"fr-FR"}));
	EXPECT_EQ(Outcome.Result->GetNumberField(TEXT("total")), 1.0);
	const TArray<TSharedPtr<FJsonValue>>& Unresolved = Outcome.Result->GetArrayField(TEXT("unresolved_names"));
	ASSERT_EQ(Unresolved.Num(), 2);
	EXPECT_EQ(UE::Host::StringToUtf8(Unresolved[1]->AsString()), "zz-NotACulture");
	const TSharedPtr<FJsonObject> French = Outcome.Result->GetArrayField(TEXT("cultures"))[0]->AsObject();
	EXPECT_EQ(UE::Host::StringToUtf8(French->GetStringField(TEXT("two_letter_iso"))), "fr");
	EXPECT_EQ(UE::Host::StringToUtf8(French->GetStringField(TEXT("three_letter_iso"))), "fra");

	const FOrvexActionResult Derived = List(R"({"culture_names":["en","en"],"limit":500})");
	const std::vector<std::string> DerivedNames = Names(Derived);
	EXPECT_GT(DerivedNames.size(), 3u);
	EXPECT_EQ(DerivedNames.front(), "en");
	EXPECT_NE(std::find(DerivedNames.begin(), DerivedNames.end(), "en-GB"), DerivedNames.end());
	EXPECT_EQ(std::adjacent_find(DerivedNames.begin(), DerivedNames.end()), DerivedNames.end());
}

TEST_F(ListCultures, ParameterGuards)
{
	std::string Many = "[";
	for (int32 Index = 0; Index <= 256; ++Index)
	{
		Many += (Index ? ",\"x-" : "\"x-") + std::to_string(Index) + "\"";
	}
	const std::string TooMany = "{\"culture_names\":" + Many + "]}";
	const std::string Enough = "{\"culture_names\":" + Many.substr(0, Many.rfind(',')) + "]}";

	const std::pair<std::string, std::string> Cases[] = {
		{R"({"limit":0})", "Invalid parameter 'limit': expected an integer in the range 1..500"},
		{R"({"limit":501})", "Invalid parameter 'limit': expected an integer in the range 1..500"},
		{TooMany, "Invalid parameter 'culture_names': at most 256 values are accepted"},
		{R"({"culture_names":[]})", "Invalid parameter 'culture_names': expected a non-empty string array"},
		{R"({"culture_names":null})", "Invalid parameter 'culture_names': expected a non-empty string array"},
		{R"({"culture_names":["en",""]})", "Invalid parameter 'culture_names': element 1 must be a non-empty string"},
		{R"({"culture_names":["en",3]})", "Invalid parameter 'culture_names': element 1 must be a non-empty string"},
		{R"({"include_derived":"true"})", "Invalid parameter 'include_derived': expected a boolean"},
		{R"({"limit":0,"offset":-1})", "Invalid parameter 'offset': expected an integer in the range 0..2147483647"},
	};
	for (const auto& [Params, Message] : Cases)
	{
		const FOrvexActionResult Outcome = List(Params);
		EXPECT_EQ(Outcome.ErrorCode, -32602) << Params.substr(0, 60);
		EXPECT_EQ(UE::Host::StringToUtf8(Outcome.ErrorMessage), Message);
	}
	EXPECT_TRUE(List(Enough).bSuccess);
	EXPECT_EQ(List(R"({"limit":3.0})").Result->GetNumberField(TEXT("limit")), 3.0);
}
