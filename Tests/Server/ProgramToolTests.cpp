// The tools the program offers beside the actions' tools: their hints, the settings classes, and
// where a config value comes from, on an engine tree shaped like a shipped one (platform folders
// chained by IniParent=, user and saved files, --ini overrides).
#include "ActionTestUtils.h"
#include "DispatcherTestFixture.h"
#include "Dom/JsonValue.h"
#include "ProgramRunner.h"
#include "ProgramTools.h"
#include "SettingsDescription.h"

#include <gtest/gtest.h>

namespace
{
	const char* const InitializeLine = R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"protocolVersion":"2025-11-25","capabilities":{},"clientInfo":{"name":"t","version":"1"}}})";

	class ProgramTools : public FDispatcherTest
	{
	protected:
		void WriteFixtures() override
		{
			Folders.WriteEngine("Config/Base.ini", "[SectionsToSave]\nbCanSaveAllSections=false\n\n[Audio]\n+PlatformFormat=Ignored\n");
			Folders.WriteEngine("Config/BaseEngine.ini",
				"[Audio]\r\n"
				"; Default audio format for every platform.\r\n"
				"PlatformFormat=BINKA\r\n"
				"\r\n"
				"+AllWaveFormats=BINKA\r\n"
				"+AllWaveFormats=ADPCM\r\n"
				"\r\n"
				"[/Script/Engine.RendererSettings]\r\n"
				"r.RayTracing=False\r\n");
			Folders.WriteEngine("Config/Linux/DataDrivenPlatformInfo.ini", "[DataDrivenPlatformInfo]\nIniParent=Unix\n");
			Folders.WriteEngine("Config/Unix/DataDrivenPlatformInfo.ini", "[DataDrivenPlatformInfo]\nIniParent=VulkanPC\n");
			Folders.WriteEngine("Config/VulkanPC/DataDrivenPlatformInfo.ini", "[DataDrivenPlatformInfo]\n");
			Folders.WriteEngine("Config/Unix/BaseUnixEngine.ini", "[Audio]\n-AllWaveFormats=ADPCM\n.AllWaveFormats=OPUS\n");
			Folders.WriteEngine("Config/Linux/LinuxEngine.ini", "[Audio]\n\n\nPlatformFormat=OGG\n");
			Folders.WriteProject("Config/DefaultEngine.ini", "[Audio]\n!AllWaveFormats=ClearArray\n+AllWaveFormats=OGG\n\n[/Script/Engine.RendererSettings]\nr.RayTracing=True\n");
			// Lines ended by a lone carriage return, which the cache reads as line breaks too.
			Folders.WriteProject("Saved/Config/LinuxEditor/Engine.ini", "[Audio]\rPlatformFormat=OPUS\r");
			Folders.Write(Folders.UserDir() / "Unreal Engine/Engine/Config/UserEngine.ini", "[Audio]\nPlatformFormat=ADPCM\n");
			IniOverrides.Add(TEXT("Engine:[/Script/Engine.RendererSettings]:r.RayTracing=False"));
		}

		void SetUp() override
		{
			FDispatcherTest::SetUp();
			AddProgramTools(Dispatcher->GetMcpSession());
			Handle(InitializeLine);
		}

		TSharedPtr<FJsonObject> Content(const std::string& Tool, const std::string& Arguments)
		{
			const TSharedPtr<FJsonObject> Called = Call(Tool, Arguments);
			EXPECT_FALSE(Called->GetBoolField(TEXT("isError"))) << ToJson(Called);
			return Called->GetObjectField(TEXT("structuredContent"));
		}

		static std::string Hints(const TArray<TSharedPtr<FJsonValue>>& Tools, const TCHAR* Name)
		{
			const TSharedPtr<FJsonObject> Tool = FindTool(Tools, Name);
			return Tool ? ToJson(Tool->GetObjectField(TEXT("annotations"))) : "no such tool";
		}

		std::string Path(const std::string& Relative) const { return (Folders.Root() / Relative).string(); }
	};

	class ProgramToolsWithConfigOff : public ProgramTools
	{
	protected:
		void WriteFixtures() override
		{
			ProgramTools::WriteFixtures();
			IniOverrides.Add(TEXT("Editor:[/Script/OrvexCore.OrvexSettings]:bEnableConfig=False"));
		}
	};
}

TEST_F(ProgramTools, ConfigToolsSayWhetherTheyWriteAndTheProgramsToolsComeLast)
{
	const TArray<TSharedPtr<FJsonValue>> Tools = ListTools();
	ASSERT_EQ(Tools.Num(), 14);
	TArray<FString> Last;
	for (int32 Index = 11; Index < 14; ++Index)
	{
		Last.Add(Tools[Index]->AsObject()->GetStringField(TEXT("name")));
	}
	EXPECT_EQ(Last, (TArray<FString>{TEXT("project_settings_classes"), TEXT("project_settings_class"), TEXT("project_config_origin")}));
	const std::string ReadOnly = R"({"readOnlyHint":true,"destructiveHint":false,"idempotentHint":true})";
	for (const TCHAR* Name : {TEXT("config_resolve_setting"), TEXT("config_explain_setting"), TEXT("config_diff_from_default"), TEXT("config_search_config"),
			 TEXT("config_get_section"), TEXT("config_get_config_files"), TEXT("localization_get_string_table"), TEXT("project_settings_classes"),
			 TEXT("project_settings_class"), TEXT("project_config_origin")})
	{
		EXPECT_EQ(Hints(Tools, Name), ReadOnly) << UE::Host::StringToUtf8(Name);
	}
	EXPECT_EQ(Hints(Tools, TEXT("config_set_setting")), R"({"readOnlyHint":false,"destructiveHint":true,"idempotentHint":true})");
	EXPECT_EQ(ToJson(Tools[13]->AsObject()->GetObjectField(TEXT("inputSchema"))),
		R"({"type":"object","properties":{"category":{"type":"string","description":"Config category, e.g. 'Engine', 'Game', 'Input'."},)"
		R"("section":{"type":"string","description":"Section name without brackets, e.g. '/Script/Engine.RendererSettings'."},)"
		R"("key":{"type":"string","description":"Key, e.g. 'r.RayTracing'."}},"required":["category","section","key"],"additionalProperties":false})");
}

TEST_F(ProgramToolsWithConfigOff, ToolsThatReadConfigGoWithTheNamespace)
{
	EXPECT_EQ(ListTools().Num(), 4);
	const TSharedPtr<FJsonObject> Called = Call("project_config_origin", R"({"category":"Engine","section":"Audio","key":"PlatformFormat"})");
	EXPECT_TRUE(Called->GetBoolField(TEXT("isError")));
	EXPECT_TRUE(Called->GetObjectField(TEXT("structuredContent"))->GetStringField(TEXT("message")).StartsWith(TEXT("config namespace disabled by user")));
}

TEST_F(ProgramTools, SettingsClassesPageByFilterAndOneClassIsWhatTheCommandPrints)
{
	const TSharedPtr<FJsonObject> All = Content("project_settings_classes", "{}");
	const int32 Total = static_cast<int32>(All->GetNumberField(TEXT("total")));
	EXPECT_GE(Total, 8);
	EXPECT_EQ(All->GetNumberField(TEXT("limit")), 200);
	EXPECT_FALSE(All->GetBoolField(TEXT("has_more")));

	// The filter matches the name or the section, whatever the letter case.
	const TSharedPtr<FJsonObject> Maps = Content("project_settings_classes", R"({"filter":"ENGINESETTINGS.GAMEMAPS"})");
	EXPECT_EQ(Maps->GetNumberField(TEXT("total")), 1);
	EXPECT_EQ(ToJson(Maps->GetArrayField(TEXT("classes"))[0]->AsObject()), ToJson(DescribeSettingsClassRow(FindSettingsClass(TEXT("GameMapsSettings")))));

	const TSharedPtr<FJsonObject> Page = Content("project_settings_classes", R"({"offset":1,"limit":2})");
	EXPECT_EQ(Page->GetNumberField(TEXT("count")), 2);
	EXPECT_TRUE(Page->GetBoolField(TEXT("has_more")));
	EXPECT_EQ(ToJson(Page->GetArrayField(TEXT("classes"))[0]->AsObject()), ToJson(All->GetArrayField(TEXT("classes"))[1]->AsObject()));
	for (const char* Bad : {R"({"limit":0})", R"({"limit":1001})", R"({"offset":-1})"})
	{
		const TSharedPtr<FJsonObject> Refused = Call("project_settings_classes", Bad);
		EXPECT_TRUE(Refused->GetBoolField(TEXT("isError"))) << Bad;
		EXPECT_EQ(Refused->GetObjectField(TEXT("structuredContent"))->GetNumberField(TEXT("code")), -32602) << Bad;
	}

	EXPECT_EQ(ToJson(Content("project_settings_class", R"({"class":"/Script/Engine.RendererSettings"})")), ToJson(DescribeSettingsClass(FindSettingsClass(TEXT("RendererSettings")))));
	const TSharedPtr<FJsonObject> Unknown = Call("project_settings_class", R"({"class":"NoSuchSettings"})");
	EXPECT_TRUE(Unknown->GetBoolField(TEXT("isError")));
	EXPECT_EQ(UE::Host::StringToUtf8(Unknown->GetObjectField(TEXT("structuredContent"))->GetStringField(TEXT("message"))),
		"Settings class 'NoSuchSettings' not found (see project_settings_classes)");
}

TEST_F(ProgramTools, OriginListsEveryMergedLineInMergeOrder)
{
	// The engine's Linux file sets the value the base file's default gives way to; the user and
	// saved layers come later still.
	const TSharedPtr<FJsonObject> Format = Content("project_config_origin", R"({"category":"engine","section":"audio","key":"platformformat"})");
	EXPECT_EQ(ToJson(Format),
		R"({"category":"Engine","section":"audio","key":"platformformat","found":true,"effective_value":"OPUS","effective_file":")" + Path("Project/Saved/Config/LinuxEditor/Engine.ini")
		+ R"(","entries":[)"
		R"({"file":")" + Path("Engine/Config/BaseEngine.ini") + R"(","line":3,"text":"PlatformFormat=BINKA","layer":"Engine Base","effect":"set"},)"
		R"({"file":")" + Path("Engine/Config/Linux/LinuxEngine.ini") + R"(","line":4,"text":"PlatformFormat=OGG","layer":"Engine Platform","effect":"set"},)"
		R"({"file":")" + Path("User/Unreal Engine/Engine/Config/UserEngine.ini") + R"(","line":2,"text":"PlatformFormat=ADPCM","layer":"Global User","effect":"set"},)"
		R"({"file":")" + Path("Project/Saved/Config/LinuxEditor/Engine.ini") + R"(","line":2,"text":"PlatformFormat=OPUS","layer":"User Saved","effect":"set"}]})");

	// Array lines with every effect, the platform base of a parent platform among them.
	const TSharedPtr<FJsonObject> Formats = Content("project_config_origin", R"({"category":"Engine","section":"Audio","key":"AllWaveFormats"})");
	std::string Effects;
	for (const TSharedPtr<FJsonValue>& Entry : Formats->GetArrayField(TEXT("entries")))
	{
		const TSharedPtr<FJsonObject> Row = Entry->AsObject();
		Effects += UE::Host::StringToUtf8(Row->GetStringField(TEXT("layer")) + TEXT(":") + Row->GetStringField(TEXT("effect")) + TEXT(":")
			+ FString::FromInt(static_cast<int32>(Row->GetNumberField(TEXT("line")))) + TEXT(" "));
	}
	EXPECT_EQ(Effects, "Engine Base:add_unique:5 Engine Base:add_unique:6 Engine Platform Base:remove:2 Engine Platform Base:add:3 Project Default:clear:2 Project Default:add_unique:3 ");
	EXPECT_EQ(UE::Host::StringToUtf8(Formats->GetStringField(TEXT("effective_file"))), Path("Project/Config/DefaultEngine.ini"));

	// A --ini override is the last word.
	const TSharedPtr<FJsonObject> RayTracing = Content("project_config_origin", R"({"category":"Engine","section":"/Script/Engine.RendererSettings","key":"r.RayTracing"})");
	EXPECT_EQ(UE::Host::StringToUtf8(RayTracing->GetStringField(TEXT("effective_value"))), "False");
	EXPECT_EQ(UE::Host::StringToUtf8(RayTracing->GetStringField(TEXT("effective_file"))), "--ini");
	EXPECT_EQ(ToJson(RayTracing->GetArrayField(TEXT("entries")).Last()->AsObject()),
		R"({"file":"--ini","line":1,"text":"r.RayTracing=False","layer":"Command Line","effect":"set"})");

	const TSharedPtr<FJsonObject> Missing = Content("project_config_origin", R"({"category":"Engine","section":"Audio","key":"Nothing"})");
	EXPECT_EQ(ToJson(Missing), R"({"category":"Engine","section":"Audio","key":"Nothing","found":false,"entries":[]})");
	const TSharedPtr<FJsonObject> NoCategory = Call("project_config_origin", R"({"category":"Nope","section":"Audio","key":"X"})");
	EXPECT_TRUE(NoCategory->GetBoolField(TEXT("isError")));

	// The command prints the same object.
	const FProgramRun Run = RunOrvex({"--engine", Folders.EngineDir().string(), "--project", Folders.ProjectDir().string(), "--user-dir", Folders.UserDir().string(),
		"--ini", "Engine:[/Script/Engine.RendererSettings]:r.RayTracing=False", "--compact", "origin", "engine", "audio", "platformformat"});
	ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
	EXPECT_EQ(Run.Out, ToJson(Format) + "\n");
	const FProgramRun Unknown = RunOrvex({"--engine", Folders.EngineDir().string(), "--project", Folders.ProjectDir().string(), "origin", "Nope", "S", "K"});
	EXPECT_EQ(Unknown.ExitCode, 1);
	EXPECT_TRUE(Unknown.Out.empty());
}
