// config.resolve_setting and config.explain_setting over small layered INI trees.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
	class ResolveExplain : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/BaseEngine.ini",
				"X=before any header\n"
				"[/Script/Engine.RendererSettings]\n"
				"r.ReflectionMethod=0\n"
				"; r.ReflectionMethod=9 is only a comment\n"
				"!r.ReflectionMethod=ClearArray\n"
				"[Core.System]\n"
				"+Paths=../../Content\n");
			Folders.WriteProject("Config/DefaultEngine.ini",
				"[/script/engine.renderersettings]\n"
				"  r.ReflectionMethod = 1  \n"
				"[Core.System]\n"
				"+Paths=A\n"
				"+Paths=B\n"
				"[URL]\n"
				"Options=?listen?Max=4\n"
				"[]\n"
				"Orphan=yes\n");
			Folders.WriteProject("Saved/Config/LinuxEditor/Engine.ini", "[/Script/Engine.RendererSettings]\nr.ReflectionMethod=2\n");
			Folders.WriteProject("Config/Linux/LinuxEngine.ini", "[/Script/Engine.RendererSettings]\nr.OnlyOnLinux=7\n");
			Folders.WriteEngine("Config/BaseInput.ini", "[/Script/Engine.InputSettings]\nbAltEnterTogglesFullscreen=True\n");
			Folders.WriteEngine("Config/BaseGame.ini", "[/Script/EngineSettings.GeneralProjectSettings]\nProjectName=Game\n");
		}

		static std::vector<std::string> LayerField(const FOrvexActionResult& Outcome, const TCHAR* Field)
		{
			std::vector<std::string> Values;
			for (const TSharedPtr<FJsonValue>& Layer : Outcome.Result->GetArrayField(TEXT("layers")))
			{
				Values.push_back(UE::Host::StringToUtf8(Layer->AsObject()->GetStringField(Field)));
			}
			return Values;
		}

		static std::string Str(const FOrvexActionResult& Outcome, const TCHAR* Field)
		{
			return UE::Host::StringToUtf8(Outcome.Result->GetStringField(Field));
		}

		FTempHostFolders Folders;
	};
}

TEST_F(ResolveExplain, ResolveReportsTheCacheValueOnlyWhenFound)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Found = CallAction(TEXT("config"), TEXT("resolve_setting"),
		R"({"file":"Engine","section":"/Script/Engine.RendererSettings","key":"r.reflectionmethod"})");
	ASSERT_TRUE(Found.bSuccess);
	EXPECT_EQ(ToJson(Found.Result), R"({"category":"Engine","section":"/Script/Engine.RendererSettings","key":"r.reflectionmethod","found":true,"value":"2"})");

	const FOrvexActionResult Missing = CallAction(TEXT("config"), TEXT("resolve_setting"), R"({"file":"Nope","section":"S","key":"K"})");
	ASSERT_TRUE(Missing.bSuccess);
	EXPECT_EQ(ToJson(Missing.Result), R"({"category":"Nope","section":"S","key":"K","found":false})");

	const FOrvexActionResult NoParams = CallAction(TEXT("config"), TEXT("resolve_setting"), "{}");
	ASSERT_TRUE(NoParams.bSuccess);
	EXPECT_EQ(ToJson(NoParams.Result), R"({"category":"","section":"","key":"","found":false})");
}

TEST_F(ResolveExplain, ExplainAttributesEveryLayerLineInOrder)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("explain_setting"),
		R"({"file":"Engine","section":"/Script/Engine.RendererSettings","key":"r.ReflectionMethod"})");
	ASSERT_TRUE(Outcome.bSuccess);
	EXPECT_EQ(FieldNames(Outcome.Result), (TArray<FString>{TEXT("category"), TEXT("section"), TEXT("key"), TEXT("layers"), TEXT("found"),
		TEXT("effective_value"), TEXT("effective_source")}));
	// The comment and the "!" line never match; the section header matches in any letter case.
	EXPECT_EQ(LayerField(Outcome, TEXT("layer")), (std::vector<std::string>{"Engine Base", "Project Default", "User Saved"}));
	EXPECT_EQ(LayerField(Outcome, TEXT("value")), (std::vector<std::string>{"0", "1", "2"}));
	EXPECT_EQ(LayerField(Outcome, TEXT("raw_line")), (std::vector<std::string>{"r.ReflectionMethod=0", "r.ReflectionMethod = 1", "r.ReflectionMethod=2"}));
	EXPECT_TRUE(Outcome.Result->GetArrayField(TEXT("layers"))[0]->AsObject()->GetStringField(TEXT("file")).EndsWith(TEXT("Engine/Config/BaseEngine.ini")));
	EXPECT_EQ(Str(Outcome, TEXT("effective_value")), "2");
	EXPECT_EQ(Str(Outcome, TEXT("effective_source")), "User Saved");
}

TEST_F(ResolveExplain, ExplainKeepsArrayOperatorsInRawLinesAndValuesWithEquals)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Paths = CallAction(TEXT("config"), TEXT("explain_setting"), R"({"file":"Engine","section":"Core.System","key":"Paths"})");
	EXPECT_EQ(LayerField(Paths, TEXT("value")), (std::vector<std::string>{"../../Content", "A", "B"}));
	EXPECT_EQ(LayerField(Paths, TEXT("raw_line")), (std::vector<std::string>{"+Paths=../../Content", "+Paths=A", "+Paths=B"}));

	const FOrvexActionResult Url = CallAction(TEXT("config"), TEXT("explain_setting"), R"({"file":"Engine","section":"URL","key":"Options"})");
	EXPECT_EQ(LayerField(Url, TEXT("value")), (std::vector<std::string>{"?listen?Max=4"}));

	const FOrvexActionResult BeforeHeader = CallAction(TEXT("config"), TEXT("explain_setting"), R"({"file":"Engine","section":"","key":"X"})");
	EXPECT_TRUE(BeforeHeader.Result->GetArrayField(TEXT("layers")).IsEmpty());
	const FOrvexActionResult EmptySection = CallAction(TEXT("config"), TEXT("explain_setting"), R"({"file":"Engine","section":"","key":"Orphan"})");
	EXPECT_EQ(LayerField(EmptySection, TEXT("value")), (std::vector<std::string>{"yes"}));
}

TEST_F(ResolveExplain, KeySetOnlyOutsideTheThreeLayersHasAnEmptySource)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("explain_setting"),
		R"({"file":"Engine","section":"/Script/Engine.RendererSettings","key":"r.OnlyOnLinux"})");
	ASSERT_TRUE(Outcome.bSuccess);
	EXPECT_TRUE(Outcome.Result->GetBoolField(TEXT("found")));
	EXPECT_TRUE(Outcome.Result->GetArrayField(TEXT("layers")).IsEmpty());
	EXPECT_EQ(Str(Outcome, TEXT("effective_value")), "7");
	EXPECT_EQ(Str(Outcome, TEXT("effective_source")), "");
}

TEST_F(ResolveExplain, SettingSearchWalksTheCommonCategoriesInOrder)
{
	Folders.WriteEngine("Config/BaseEditor.ini", "[Editor.Section]\nbAltEnterTogglesFullscreen=False\n");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Input = CallAction(TEXT("config"), TEXT("explain_setting"), R"({"setting":"bAltEnterTogglesFullscreen"})");
	EXPECT_EQ(Str(Input, TEXT("category")), "Input");
	EXPECT_EQ(Str(Input, TEXT("section")), "/Script/Engine.InputSettings");
	EXPECT_EQ(Str(Input, TEXT("key")), "bAltEnterTogglesFullscreen");
	EXPECT_EQ(LayerField(Input, TEXT("layer")), (std::vector<std::string>{"Engine Base"}));

	// Any of file, section or key switches the convenience off entirely.
	const FOrvexActionResult Ignored = CallAction(TEXT("config"), TEXT("explain_setting"), R"({"setting":"bAltEnterTogglesFullscreen","key":"Other"})");
	EXPECT_EQ(Str(Ignored, TEXT("category")), "");
	EXPECT_EQ(Str(Ignored, TEXT("key")), "Other");
	EXPECT_FALSE(Ignored.Result->GetBoolField(TEXT("found")));

	const FOrvexActionResult Unknown = CallAction(TEXT("config"), TEXT("explain_setting"), R"({"setting":"NoSuchKey"})");
	EXPECT_EQ(ToJson(Unknown.Result), R"({"category":"","section":"","key":"NoSuchKey","layers":[],"found":false})");
}

TEST_F(ResolveExplain, CategoryWithPathPiecesOpensNoLayerFiles)
{
	// A folder named "Base" would let "Base/../../../secret.ini" climb out of the engine config folder.
	Folders.WriteEngine("Config/Base/keep.txt", "");
	Folders.Write(Folders.Root() / "secret.ini", "[S]\nPassword=hunter2\n");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	for (const char* Category : {"/../../../secret", "../../../../secret", "..\\\\secret"})
	{
		const std::string Params = std::string(R"({"file":")") + Category + R"(","section":"S","key":"Password"})";
		const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("explain_setting"), Params);
		ASSERT_TRUE(Outcome.bSuccess);
		EXPECT_TRUE(Outcome.Result->GetArrayField(TEXT("layers")).IsEmpty()) << Category;
		EXPECT_EQ(ToJson(Outcome.Result).find("hunter2"), std::string::npos);
	}
}
