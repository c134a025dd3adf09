// config.search_config: raw text search over the engine's and the project's config files.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
	std::vector<std::string> MatchLines(const FOrvexActionResult& Outcome)
	{
		std::vector<std::string> Lines;
		for (const TSharedPtr<FJsonValue>& Match : Outcome.Result->GetArrayField(TEXT("matches")))
		{
			const TSharedPtr<FJsonObject> Object = Match->AsObject();
			Lines.push_back(UE::Host::StringToUtf8(Object->GetStringField(TEXT("file")) + TEXT("|") + Object->GetStringField(TEXT("section"))
				+ TEXT("|") + FString::FromInt(static_cast<int32>(Object->GetNumberField(TEXT("line")))) + TEXT("|") + Object->GetStringField(TEXT("text"))));
		}
		return Lines;
	}
}

TEST(SearchConfig, EngineFilesComeFirstAndCaseIsIgnored)
{
	FTempHostFolders Folders;
	Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/Engine.RendererSettings]\nr.ReflectionMethod=2\n");
	Folders.WriteProject("Config/DefaultEngine.ini", "[/Script/Engine.RendererSettings]\nR.REFLECTIONMETHOD=1\n");
	Folders.WriteProject("Saved/Config/LinuxEditor/Engine.ini", "[/Script/Engine.RendererSettings]\nr.ReflectionMethod=0\n");
	Folders.WriteProject("Config/Linux/LinuxEngine.ini", "[/Script/Engine.RendererSettings]\nr.ReflectionMethod=3\n");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("search_config"), R"({"query":"r.reflectionmethod"})");
	ASSERT_TRUE(Outcome.bSuccess);
	EXPECT_EQ(FieldNames(Outcome.Result), (TArray<FString>{TEXT("query"), TEXT("match_count"), TEXT("matches")}));
	EXPECT_EQ(MatchLines(Outcome), (std::vector<std::string>{
		"BaseEngine.ini|/Script/Engine.RendererSettings|2|r.ReflectionMethod=2",
		"DefaultEngine.ini|/Script/Engine.RendererSettings|2|R.REFLECTIONMETHOD=1"}));
	const TSharedPtr<FJsonObject> First = Outcome.Result->GetArrayField(TEXT("matches"))[0]->AsObject();
	EXPECT_EQ(FieldNames(First), (TArray<FString>{TEXT("file"), TEXT("path"), TEXT("section"), TEXT("line"), TEXT("text")}));
	EXPECT_TRUE(First->GetStringField(TEXT("path")).EndsWith(TEXT("/Engine/Config/BaseEngine.ini")));
}

TEST(SearchConfig, LinePositionsSkipBlankLinesAndIndentedHeadersAreText)
{
	FTempHostFolders Folders;
	Folders.WriteProject("Config/DefaultGame.ini",
		"; needle in a comment\n"
		"\n"
		"[First]\n"
		"\n"
		"\n"
		"  [Indented]\n"
		"   needle=1   \n"
		"[needle section]\n"
		"plain line with NEEDLE and no equals\n");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("search_config"), R"({"query":"needle","category":"game"})");
	EXPECT_EQ(MatchLines(Outcome), (std::vector<std::string>{
		"DefaultGame.ini||1|; needle in a comment",
		"DefaultGame.ini|First|4|needle=1",
		"DefaultGame.ini|needle section|5|[needle section]",
		"DefaultGame.ini|needle section|6|plain line with NEEDLE and no equals"}));
}

TEST(SearchConfig, StopsAtExactlyTheFirstHundredMatches)
{
	FTempHostFolders Folders;
	std::string Many = "[S]\n";
	for (int Index = 0; Index < 150; ++Index)
	{
		Many += "Key" + std::to_string(Index) + "=hit\n";
	}
	Folders.WriteEngine("Config/BaseEngine.ini", Many);
	Folders.WriteProject("Config/DefaultEngine.ini", "[S]\nhit=project\n");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("search_config"), R"({"query":"HIT"})");
	const std::vector<std::string> Lines = MatchLines(Outcome);
	ASSERT_EQ(Lines.size(), 100u);
	EXPECT_EQ(Outcome.Result->GetNumberField(TEXT("match_count")), 100.0);
	EXPECT_EQ(Lines.front(), "BaseEngine.ini|S|2|Key0=hit");
	EXPECT_EQ(Lines.back(), "BaseEngine.ini|S|101|Key99=hit");

	const FOrvexActionResult Nothing = CallAction(TEXT("config"), TEXT("search_config"), R"({"query":"absent-text"})");
	EXPECT_EQ(ToJson(Nothing.Result), R"({"query":"absent-text","match_count":0,"matches":[]})");
}
