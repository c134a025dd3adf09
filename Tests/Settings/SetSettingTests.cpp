// config.set_setting through the registry: resolution, batches, pre-emption, persistence.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"
#include "OrvexToolRegistry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace
{
	const char* const DefaultEngineText =
		"; Project renderer settings\r\n"
		"[/Script/Engine.RendererSettings]\r\n"
		"r.RayTracing=False\r\n"
		"r.SkinCache.CompileShaders=False\r\n"
		"r.ReflectionMethod=2\r\n"
		"r.GenerateMeshDistanceFields=False\r\n"
		"\r\n"
		"[/Script/EngineSettings.GameMapsSettings]\r\n"
		"EditorStartupMap=/Game/Maps/Main.Main\r\n";

	class SetSetting : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/Engine.RendererSettings]\nr.DynamicGlobalIlluminationMethod=0\nr.ReflectionMethod=2\n");
			Folders.WriteEngine("Config/BaseEditorPerProjectUserSettings.ini", "[/Script/UnrealEd.LevelEditorPlaySettings]\nPlayNumberOfClients=1\n");
			Folders.WriteProject("Config/DefaultEngine.ini", DefaultEngineText);
			Boot();
		}

		void Boot()
		{
			Host.reset();
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			ASSERT_TRUE(Host->IsRunning()) << UE::Host::StringToUtf8(Host->GetError());
		}

		static FOrvexActionResult Set(const std::string& Params)
		{
			return CallAction(TEXT("config"), TEXT("set_setting"), Params);
		}

		std::string DefaultEngine() const { return FTempHostFolders::Read(Folders.ProjectDir() / "Config" / "DefaultEngine.ini"); }

		static TSharedPtr<FJsonObject> Row(const FOrvexActionResult& Outcome, int32 Index)
		{
			return Outcome.Result->GetArrayField(TEXT("results"))[Index]->AsObject();
		}

		static std::string Str(const TSharedPtr<FJsonObject>& Object, const TCHAR* Field)
		{
			return UE::Host::StringToUtf8(Object->GetStringField(Field));
		}

		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
	};
}

TEST_F(SetSetting, DryRunResolvesEveryClassFormAndChangesNothing)
{
	for (const char* ClassName : {"URendererSettings", "RendererSettings", "/Script/Engine.RendererSettings", "[/Script/Engine.RendererSettings]", "/Script/Wrong.RendererSettings"})
	{
		const FOrvexActionResult Outcome = Set(std::string(R"({"class":")") + ClassName + R"(","property":"benableraytracing","value":true,"dry_run":true})");
		ASSERT_TRUE(Outcome.bSuccess) << ClassName << " " << UE::Host::StringToUtf8(Outcome.ErrorMessage);
		EXPECT_EQ(Str(Outcome.Result, TEXT("class")), "/Script/Engine.RendererSettings");
		EXPECT_EQ(FieldNames(Outcome.Result), (TArray<FString>{TEXT("class"), TEXT("ini_file"), TEXT("default_config"), TEXT("dry_run"), TEXT("results"),
			TEXT("auto_changed"), TEXT("written"), TEXT("persisted"), TEXT("restart_required"), TEXT("warnings")}));
		EXPECT_EQ(ToJson(Row(Outcome, 0)), R"({"property":"bEnableRayTracing","old_value":"False","restart_required":true,"cvar":"r.RayTracing","written":false})");
		EXPECT_EQ(Outcome.Result->GetNumberField(TEXT("written")), 0.0);
		EXPECT_FALSE(Outcome.Result->GetBoolField(TEXT("persisted")));
		EXPECT_TRUE(Outcome.Result->GetBoolField(TEXT("restart_required")));
		EXPECT_TRUE(Outcome.Result->GetArrayField(TEXT("auto_changed")).IsEmpty());
		EXPECT_TRUE(Outcome.Result->GetStringField(TEXT("ini_file")).EndsWith(TEXT("/Project/Config/DefaultEngine.ini")));
	}
	EXPECT_EQ(DefaultEngine(), DefaultEngineText);
}

TEST_F(SetSetting, DryRunRefusesWhatTheRealRunWouldRefuse)
{
	const FOrvexActionResult Outcome = Set(R"({"class":"RendererSettings","properties":{"bEnableRayTracing":"maybe","ReflectionCaptureResolution":256},"dry_run":true})");
	ASSERT_TRUE(Outcome.bSuccess) << UE::Host::StringToUtf8(Outcome.ErrorMessage);
	const TSharedPtr<FJsonObject> Refused = Row(Outcome, 0);
	EXPECT_FALSE(Refused->GetBoolField(TEXT("written")));
	ASSERT_TRUE(Refused->HasField(TEXT("error")));
	// The same words the real run reports.
	const FOrvexActionResult Real = Set(R"({"class":"RendererSettings","property":"bEnableRayTracing","value":"maybe"})");
	EXPECT_FALSE(Real.bSuccess);
	EXPECT_EQ(Str(Refused, TEXT("error")), Str(Row(Real, 0), TEXT("error")));
	EXPECT_FALSE(Row(Outcome, 1)->HasField(TEXT("error")));
	// Only the row that converts counts toward a restart.
	EXPECT_FALSE(Outcome.Result->GetBoolField(TEXT("restart_required")));
	EXPECT_EQ(DefaultEngine(), DefaultEngineText);
}

TEST_F(SetSetting, ParameterErrorsHaveTheirExactTextsAndChangeNothing)
{
	EXPECT_EQ(UE::Host::StringToUtf8(FOrvexToolRegistry::Get().ExecuteAction(TEXT("config"), TEXT("set_setting"), nullptr).ErrorMessage), "Missing params");
	const std::pair<std::string, std::string> Cases[] = {
		{R"({"property":"bEnableRayTracing","value":true})", "'class' (or 'section') is required, e.g. 'RendererSettings' or '/Script/Engine.RendererSettings'"},
		{R"({"class":"   ","section":"RendererSettings","property":"bEnableRayTracing","value":true})", "'class' (or 'section') is required, e.g. 'RendererSettings' or '/Script/Engine.RendererSettings'"},
		{R"({"class":"RendererSettings","property":"bEnableRayTracing"})", "'value' is required with 'property'"},
		{R"({"class":"RendererSettings","properties":{}})", "Pass property + value, or a non-empty properties object"},
		{R"({"class":" NoSuchSettings ","property":"X","value":1})", "Settings class 'NoSuchSettings' not found (try the C++ name without the U prefix, e.g. RendererSettings, or the /Script/Module.Class path)"},
		{R"({"class":"RendererSettings","properties":{"bEnableRayTracing":true,"bNope":1,"Reflections":"Lumen"}})", "Property 'bNope' not found on RendererSettings"},
		{R"({"class":"RendererSettings","properties":{"bEnableRayTracing":true,"bNope":1},"dry_run":true})", "Property 'bNope' not found on RendererSettings"},
	};
	for (const auto& [Params, Message] : Cases)
	{
		const FOrvexActionResult Outcome = Set(Params);
		EXPECT_FALSE(Outcome.bSuccess) << Params;
		EXPECT_EQ(Outcome.ErrorCode, -32602) << Params;
		EXPECT_EQ(UE::Host::StringToUtf8(Outcome.ErrorMessage), Message);
		EXPECT_FALSE(Outcome.Result.IsValid());
	}
	EXPECT_EQ(DefaultEngine(), DefaultEngineText);
	const FOrvexActionResult Section = Set(R"({"section":"/Script/Engine.RendererSettings","property":"bEnableRayTracing","value":true,"dry_run":true})");
	EXPECT_TRUE(Section.bSuccess);
}

TEST_F(SetSetting, SwitchesThatAreNotBooleansAreRefusedBeforeAnythingIsWritten)
{
	for (const char* Name : {"dry_run", "post_edit_change"})
	{
		for (const char* Bad : {"\"garbage\"", "\"true\"", "null", "[]", "{}", "0", "1"})
		{
			const std::string Params = std::string(R"({"class":"RendererSettings","property":"bEnableRayTracing","value":true,")") + Name + "\":" + Bad + "}";
			const FOrvexActionResult Outcome = Set(Params);
			EXPECT_FALSE(Outcome.bSuccess) << Params;
			EXPECT_EQ(Outcome.ErrorCode, -32602) << Params;
			EXPECT_EQ(UE::Host::StringToUtf8(Outcome.ErrorMessage), std::string("'") + Name + "' must be true or false") << Params;
			EXPECT_FALSE(Outcome.Result.IsValid());
		}
	}
	EXPECT_EQ(DefaultEngine(), DefaultEngineText);
	const FOrvexActionResult After = Set(R"({"class":"RendererSettings","property":"bEnableRayTracing","value":true,"dry_run":true})");
	ASSERT_TRUE(After.bSuccess);
	EXPECT_EQ(Str(Row(After, 0), TEXT("old_value")), "False");
}

TEST_F(SetSetting, RayTracingSwitchesSkinCacheOnAndPersistsBothAsSingleKeys)
{
	const FOrvexActionResult Outcome = Set(R"({"class":"RendererSettings","property":"bEnableRayTracing","value":"YES"})");
	ASSERT_TRUE(Outcome.bSuccess) << UE::Host::StringToUtf8(Outcome.ErrorMessage);
	const TSharedPtr<FJsonObject> Written = Row(Outcome, 0);
	EXPECT_EQ(FieldNames(Written), (TArray<FString>{TEXT("property"), TEXT("old_value"), TEXT("restart_required"), TEXT("cvar"), TEXT("new_value"),
		TEXT("written"), TEXT("persist_method"), TEXT("cvar_value")}));
	EXPECT_EQ(Str(Written, TEXT("new_value")), "True");
	EXPECT_EQ(Str(Written, TEXT("persist_method")), "UpdateSinglePropertyInConfigFile");
	EXPECT_EQ(ToJson(Outcome.Result->GetArrayField(TEXT("auto_changed"))[0]->AsObject()),
		R"({"property":"bSupportSkinCacheShaders","new_value":"True","because":"bEnableRayTracing"})");
	EXPECT_TRUE(Outcome.Result->GetBoolField(TEXT("persisted")));

	// Only the two lines changed; comments, the other section and CRLF line ends stay.
	std::string Expected = DefaultEngineText;
	Expected.replace(Expected.find("r.RayTracing=False"), 18, "r.RayTracing=True");
	Expected.replace(Expected.find("r.SkinCache.CompileShaders=False"), 32, "r.SkinCache.CompileShaders=True");
	EXPECT_EQ(DefaultEngine(), Expected);

	const FOrvexActionResult Resolved = CallAction(TEXT("config"), TEXT("resolve_setting"), R"({"file":"Engine","section":"/Script/Engine.RendererSettings","key":"r.RayTracing"})");
	EXPECT_EQ(Str(Resolved.Result, TEXT("value")), "True");
}

TEST_F(SetSetting, SkinCacheCannotBeDroppedUnderRayTracingButBatchOrderMatters)
{
	ASSERT_TRUE(Set(R"({"class":"RendererSettings","property":"bEnableRayTracing","value":true})").bSuccess);

	const FOrvexActionResult Refused = Set(R"({"class":"RendererSettings","property":"bSupportSkinCacheShaders","value":false})");
	EXPECT_FALSE(Refused.bSuccess);
	EXPECT_EQ(Refused.ErrorCode, -32603);
	EXPECT_EQ(UE::Host::StringToUtf8(Refused.ErrorMessage),
		"No property was written: bSupportSkinCacheShaders: Ray tracing is enabled and requires skin cache shaders; disable bEnableRayTracing first");
	ASSERT_TRUE(Refused.Result.IsValid());
	EXPECT_FALSE(Row(Refused, 0)->GetBoolField(TEXT("written")));

	const FOrvexActionResult Reversed = Set(R"({"class":"RendererSettings","properties":{"bSupportSkinCacheShaders":false,"bEnableRayTracing":false}})");
	ASSERT_TRUE(Reversed.bSuccess);
	EXPECT_FALSE(Row(Reversed, 0)->GetBoolField(TEXT("written")));
	EXPECT_TRUE(Row(Reversed, 1)->GetBoolField(TEXT("written")));
	EXPECT_EQ(Reversed.Result->GetNumberField(TEXT("written")), 1.0);

	const FOrvexActionResult InOrder = Set(R"({"class":"RendererSettings","properties":{"bEnableRayTracing":false},"property":"bSupportSkinCacheShaders","value":false})");
	ASSERT_TRUE(InOrder.bSuccess);
	EXPECT_EQ(Str(Row(InOrder, 0), TEXT("property")), "bEnableRayTracing");
	EXPECT_TRUE(Row(InOrder, 1)->GetBoolField(TEXT("written")));
}

TEST_F(SetSetting, AFailedWriteRollsThePreemptedPropertiesBack)
{
	const FOrvexActionResult Failed = Set(R"({"class":"RendererSettings","property":"DynamicGlobalIllumination","value":"NotLumenAtAll"})");
	EXPECT_FALSE(Failed.bSuccess);
	EXPECT_EQ(Failed.ErrorCode, -32603);
	EXPECT_TRUE(Failed.Result->GetArrayField(TEXT("auto_changed")).IsEmpty());
	EXPECT_EQ(DefaultEngine(), DefaultEngineText);

	const FOrvexActionResult After = Set(R"({"class":"RendererSettings","properties":{"Reflections":0,"bGenerateMeshDistanceFields":0},"dry_run":true})");
	EXPECT_EQ(Str(Row(After, 0), TEXT("old_value")), "ScreenSpace");
	EXPECT_EQ(Str(Row(After, 1), TEXT("old_value")), "False");
	const FOrvexActionResult CVar = CallAction(TEXT("config"), TEXT("set_setting"), R"({"class":"RendererSettings","property":"Reflections","value":2})");
	EXPECT_EQ(Str(Row(CVar, 0), TEXT("cvar_value")), "2");
}

TEST_F(SetSetting, LumenGlobalIlluminationStoresCvarEnumsAsIntegers)
{
	const FOrvexActionResult Outcome = Set(R"({"class":"RendererSettings","property":"DynamicGlobalIllumination","value":"lumen"})");
	ASSERT_TRUE(Outcome.bSuccess) << UE::Host::StringToUtf8(Outcome.ErrorMessage);
	const TArray<TSharedPtr<FJsonValue>>& Auto = Outcome.Result->GetArrayField(TEXT("auto_changed"));
	ASSERT_EQ(Auto.Num(), 2);
	EXPECT_EQ(Str(Auto[0]->AsObject(), TEXT("property")), "Reflections");
	EXPECT_EQ(Str(Auto[1]->AsObject(), TEXT("property")), "bGenerateMeshDistanceFields");
	const std::string Text = DefaultEngine();
	EXPECT_NE(Text.find("r.DynamicGlobalIlluminationMethod=1\r\n"), std::string::npos) << Text;
	EXPECT_NE(Text.find("r.ReflectionMethod=1\r\n"), std::string::npos) << Text;
	EXPECT_NE(Text.find("r.GenerateMeshDistanceFields=True\r\n"), std::string::npos) << Text;

	const FOrvexActionResult Again = Set(R"({"class":"RendererSettings","property":"DynamicGlobalIllumination","value":"Lumen"})");
	ASSERT_TRUE(Again.bSuccess);
	EXPECT_TRUE(Again.Result->GetArrayField(TEXT("auto_changed")).IsEmpty());
	ASSERT_EQ(Again.Result->GetArrayField(TEXT("warnings")).Num(), 1);
	EXPECT_EQ(UE::Host::StringToUtf8(Again.Result->GetArrayField(TEXT("warnings"))[0]->AsString()),
		"DynamicGlobalIllumination unchanged after PostEditChange (already that value, or the class reverted it)");
	const FOrvexActionResult Quiet = Set(R"({"class":"RendererSettings","property":"DynamicGlobalIllumination","value":"Lumen","post_edit_change":false})");
	EXPECT_TRUE(Quiet.Result->GetArrayField(TEXT("warnings")).IsEmpty());
}

TEST_F(SetSetting, EachConfigFlavourPersistsWithItsOwnMethod)
{
	struct FCase
	{
		const char* Params;
		const char* Method;
	};
	const FCase Cases[] = {
		{R"({"class":"GameMapsSettings","property":"GameModeMapPrefixes","value":[{"Name":"DM-","GameMode":"/Script/Engine.GameModeBase"}]})", "TryUpdateDefaultConfigFile"},
		{R"({"class":"LevelEditorPlaySettings","property":"PlayNumberOfClients","value":3})", "SaveConfig"},
		{R"({"class":"AndroidSDKSettings","property":"SDKAPILevel","value":"latest"})", "UpdateGlobalUserConfigFile"},
		{R"({"class":"ContentBrowserProjectUserSettings","property":"LastSelectedPath","value":"/Game/Maps"})", "UpdateProjectUserConfigFile"},
	};
	for (const FCase& Case : Cases)
	{
		const FOrvexActionResult Outcome = Set(Case.Params);
		ASSERT_TRUE(Outcome.bSuccess) << Case.Params << " " << UE::Host::StringToUtf8(Outcome.ErrorMessage);
		EXPECT_EQ(Str(Row(Outcome, 0), TEXT("persist_method")), Case.Method);
		EXPECT_FALSE(Row(Outcome, 0)->HasField(TEXT("persist_error"))) << Case.Params;
		EXPECT_TRUE(Outcome.Result->GetBoolField(TEXT("persisted")));
	}
	EXPECT_NE(DefaultEngine().find("+GameModeMapPrefixes=(Name=\"DM-\""), std::string::npos) << DefaultEngine();
	EXPECT_TRUE(std::filesystem::exists(Folders.UserDir() / "Unreal Engine" / "Engine" / "Config" / "UserEngine.ini"));
	EXPECT_TRUE(std::filesystem::exists(Folders.ProjectDir() / "Config" / "UserEditor.ini"));
	EXPECT_TRUE(std::filesystem::exists(Folders.ProjectDir() / "Saved" / "Config" / "LinuxEditor" / "EditorPerProjectUserSettings.ini"));
}

TEST_F(SetSetting, AWriteThatCannotReachAnUnwritableFolderIsNoSuccess)
{
	const std::filesystem::path ConfigDir = Folders.ProjectDir() / "Config";
	const std::string OldValue = Str(Row(Set(R"({"class":"RendererSettings","property":"ReflectionCaptureResolution","value":256,"dry_run":true})"), 0), TEXT("old_value"));
	std::filesystem::permissions(ConfigDir, std::filesystem::perms::owner_write | std::filesystem::perms::group_write | std::filesystem::perms::others_write,
		std::filesystem::perm_options::remove);
	const FOrvexActionResult Outcome = Set(R"({"class":"RendererSettings","property":"ReflectionCaptureResolution","value":256})");
	std::filesystem::permissions(ConfigDir, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);

	EXPECT_FALSE(Outcome.bSuccess);
	EXPECT_EQ(Outcome.ErrorCode, -32603);
	const std::string Path = (ConfigDir / "DefaultEngine.ini").string();
	EXPECT_EQ(UE::Host::StringToUtf8(Outcome.ErrorMessage), "No property was written: ReflectionCaptureResolution: '" + Path + "' is read-only; check it out or make it writable first");
	ASSERT_TRUE(Outcome.Result.IsValid());
	EXPECT_EQ(ToJson(Row(Outcome, 0)), R"({"property":"ReflectionCaptureResolution","old_value":")" + OldValue
		+ R"(","restart_required":false,"cvar":"r.ReflectionCaptureResolution","written":false,"error":"')" + Path + R"(' is read-only; check it out or make it writable first"})");
	EXPECT_FALSE(Outcome.Result->GetBoolField(TEXT("persisted")));
	EXPECT_EQ(Outcome.Result->GetNumberField(TEXT("written")), 0);
	EXPECT_EQ(DefaultEngine(), DefaultEngineText);
	// Memory went back to what the file says, so a later write of another key cannot carry it to disk.
	EXPECT_EQ(Str(Row(Set(R"({"class":"RendererSettings","property":"ReflectionCaptureResolution","value":256,"dry_run":true})"), 0), TEXT("old_value")), OldValue);
}

TEST_F(SetSetting, AReadOnlyDefaultFileIsLeftAsItIs)
{
	const std::filesystem::path File = Folders.ProjectDir() / "Config" / "DefaultEngine.ini";
	const std::filesystem::perms ReadOnly = std::filesystem::perms::owner_read | std::filesystem::perms::group_read | std::filesystem::perms::others_read;
	std::filesystem::permissions(File, ReadOnly, std::filesystem::perm_options::replace);
	const FOrvexActionResult Outcome = Set(R"({"class":"RendererSettings","properties":{"ReflectionCaptureResolution":256,"bEnableRayTracing":true}})");
	const std::filesystem::perms After = std::filesystem::status(File).permissions();
	std::filesystem::permissions(File, std::filesystem::perms::owner_all, std::filesystem::perm_options::add);

	EXPECT_FALSE(Outcome.bSuccess);
	const std::string Reason = "'" + File.string() + "' is read-only; check it out or make it writable first";
	EXPECT_EQ(UE::Host::StringToUtf8(Outcome.ErrorMessage), "No property was written: ReflectionCaptureResolution: " + Reason + "; bEnableRayTracing: " + Reason);
	EXPECT_EQ(Str(Row(Outcome, 1), TEXT("error")), Reason);
	EXPECT_EQ(Outcome.Result->GetArrayField(TEXT("auto_changed")).Num(), 0);
	EXPECT_EQ(After, ReadOnly);
	EXPECT_EQ(DefaultEngine(), DefaultEngineText);
}
