// config.diff_from_default: the merged project configuration against the engine's base file.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
	class DiffFromDefault : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/BaseGame.ini",
				"[/Script/Demo.Settings]\n"
				"Name=Alpha\n"
				"Mode=Fast\n"
				"+Paths=A\n"
				"+Paths=B\n"
				"Gone=1\n"
				"[Base.Only]\n"
				"Lonely=1\n");
			Folders.WriteProject("Config/DefaultGame.ini",
				"[/Script/Demo.Settings]\n"
				"Name=ALPHA\n"
				"Mode=Slow\n"
				"-Gone=1\n"
				"Extra=New\n"
				"+Order=1\n"
				"+Order=2\n");
		}

		static std::string Diffs(const FOrvexActionResult& Outcome)
		{
			return ObjectLines(Outcome.Result, TEXT("diffs"));
		}

		FTempHostFolders Folders;
	};
}

TEST_F(DiffFromDefault, ReportsAddedModifiedAndRemovedKeysOfCacheSectionsOnly)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("diff_from_default"), R"({"file":"Game"})");
	ASSERT_TRUE(Outcome.bSuccess) << UE::Host::StringToUtf8(Outcome.ErrorMessage);
	EXPECT_EQ(FieldNames(Outcome.Result), (TArray<FString>{TEXT("category"), TEXT("diff_count"), TEXT("diffs")}));
	// Name differs only in letter case; Paths and the untouched Base.Only section match value for value.
	EXPECT_EQ(Diffs(Outcome),
		R"({"section":"/Script/Demo.Settings","key":"Mode","change_type":"modified","project_value":"Slow","engine_value":"Fast"})" "\n"
		R"({"section":"/Script/Demo.Settings","key":"Extra","change_type":"added","project_value":"New"})" "\n"
		R"({"section":"/Script/Demo.Settings","key":"Order","change_type":"added","project_values":["1","2"]})" "\n"
		R"({"section":"/Script/Demo.Settings","key":"Gone","change_type":"removed","project_values":[],"engine_value":"1"})" "\n");
	EXPECT_EQ(Outcome.Result->GetNumberField(TEXT("diff_count")), 4.0);
}

TEST_F(DiffFromDefault, CategoryFormsAndTheSectionFilter)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const std::string Plain = ToJson(CallAction(TEXT("config"), TEXT("diff_from_default"), R"({"file":"Game"})").Result);
	EXPECT_EQ(ToJson(CallAction(TEXT("config"), TEXT("diff_from_default"), R"({"file":"DefaultGame"})").Result), Plain);
	EXPECT_EQ(ToJson(CallAction(TEXT("config"), TEXT("diff_from_default"), R"({"file":"BaseGame"})").Result), Plain);

	const FOrvexActionResult Filtered = CallAction(TEXT("config"), TEXT("diff_from_default"), R"({"file":"Game","section":"/script/demo.SETTINGS"})");
	ASSERT_TRUE(Filtered.bSuccess);
	EXPECT_EQ(UE::Host::StringToUtf8(Filtered.Result->GetStringField(TEXT("filter_section"))), "/script/demo.SETTINGS");
	EXPECT_EQ(Filtered.Result->GetNumberField(TEXT("diff_count")), 4.0);
	EXPECT_EQ(UE::Host::StringToUtf8(Filtered.Result->GetArrayField(TEXT("diffs"))[0]->AsObject()->GetStringField(TEXT("section"))), "/Script/Demo.Settings");

	const FOrvexActionResult None = CallAction(TEXT("config"), TEXT("diff_from_default"), R"({"file":"Game","section":"Nothing"})");
	EXPECT_EQ(None.Result->GetNumberField(TEXT("diff_count")), 0.0);
}

TEST_F(DiffFromDefault, UnknownCategoryNamesTheNormalisedCategory)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());
	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("diff_from_default"), R"({"file":"DefaultFoo"})");
	EXPECT_FALSE(Outcome.bSuccess);
	EXPECT_EQ(Outcome.ErrorCode, -32603);
	EXPECT_EQ(UE::Host::StringToUtf8(Outcome.ErrorMessage), "No config found for category 'Foo'");
}

// Known is decided by the cache holding the category, not by its file name (which the engine
// gives any category): a known category without sections is an empty diff.
TEST_F(DiffFromDefault, KnownCategoryWithoutSectionsIsAnEmptyDiff)
{
	Folders.WriteProject("Config/DefaultBare.ini", "; nothing set yet\n");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());
	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("diff_from_default"), R"({"file":"BaseBare"})");
	ASSERT_TRUE(Outcome.bSuccess) << UE::Host::StringToUtf8(Outcome.ErrorMessage);
	EXPECT_EQ(UE::Host::StringToUtf8(Outcome.Result->GetStringField(TEXT("category"))), "Bare");
	EXPECT_EQ(Outcome.Result->GetNumberField(TEXT("diff_count")), 0.0);
}

TEST_F(DiffFromDefault, BaseOperatorsAreNotAppliedAndEveryValueCounts)
{
	Folders.WriteEngine("Config/BaseEngine.ini", "[S]\n+Paths=A\n+Paths=B\n-Paths=A\nList=1\n.List=2\n");
	Folders.WriteProject("Config/DefaultEngine.ini", "[S]\n.List=3\n");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("diff_from_default"), R"({"file":"Engine"})");
	ASSERT_TRUE(Outcome.bSuccess);
	// The base list of Paths is A, B, A (the "-" line adds too) while the cache holds B.
	EXPECT_EQ(Diffs(Outcome),
		R"({"section":"S","key":"Paths","change_type":"modified","project_value":"B","engine_values":["A","B","A"]})" "\n"
		R"({"section":"S","key":"List","change_type":"modified","project_values":["1","2","3"],"engine_values":["1","2"]})" "\n");
}
