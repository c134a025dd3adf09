// The cache and the config actions on trees shaped like a shipped engine: Base.ini with
// [SectionsToSave], quoted defaults, array operators, platform folders chained by IniParent=.
#include "ActionTestUtils.h"
#include "ConfigTestEnvironment.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
	const char* const LinuxInfo = "[DataDrivenPlatformInfo]\nbIsConfidential=false\nIniParent=Unix\nbHasDedicatedGamepad=false\n";
	const char* const UnixInfo = "[DataDrivenPlatformInfo]\nbIsConfidential=false\nIniParent=VulkanPC\n";
	const char* const VulkanInfo = "[DataDrivenPlatformInfo]\nbIsConfidential=false\nTargetSettingsIniSectionName=\n";

	class FEngineShapedCache : public FConfigTestEnvironment
	{
	protected:
		void WritePlatformChain()
		{
			WriteEngine(TEXT("Linux/DataDrivenPlatformInfo.ini"), LinuxInfo);
			WriteEngine(TEXT("Unix/DataDrivenPlatformInfo.ini"), UnixInfo);
			WriteEngine(TEXT("VulkanPC/DataDrivenPlatformInfo.ini"), VulkanInfo);
		}
	};

	class FEngineShapedActions : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/Base.ini",
				"[SectionsToSave]\nbCanSaveAllSections=false\n\n[Internationalization]\nShouldUseLocalizedNumericInput=True\n");
			Folders.WriteEngine("Config/BaseEngine.ini",
				"[/Script/EngineSettings.GameMapsSettings]\n"
				"GlobalDefaultGameMode=\"/Script/Engine.GameModeBase\"\n"
				"GameInstanceClass=/Script/Engine.GameInstance\n"
				"LocalMapOptions=\"?listen\" // opened as a listen server\n"
				"TransitionMap=\"\"\n"
				"\n"
				"[/Script/Engine.RendererSettings]\n"
				"r.RayTracing=False\n"
				"r.DefaultFeature.AutoExposure.ExtendDefaultLuminanceRange=\"True\"\n"
				"+r.Tags=\"Tab\\tSeparated\"\n"
				"ShaderFolder=%ENGINEDIR%Shaders\n");
			Folders.WriteProject("Config/DefaultEngine.ini",
				"[/Script/EngineSettings.GameMapsSettings]\n"
				"GlobalDefaultGameMode=/Script/Engine.GameModeBase\n"
				"EditorStartupMap=/Game/Maps/Main.Main\n"
				"\n"
				"[/Script/Engine.RendererSettings]\n"
				"r.RayTracing=True\n");
		}

		static std::string Diffs(const FOrvexActionResult& Outcome)
		{
			return ObjectLines(Outcome.Result, TEXT("diffs"));
		}

		FTempHostFolders Folders;
	};
}

TEST_F(FEngineShapedCache, EveryPlatformOfTheIniParentChainIsReadParentsFirst)
{
	WritePlatformChain();
	WriteEngine(TEXT("BaseEngine.ini"), "[/Script/Engine.RendererSettings]\n+Formats=SF_Base\nr.Mobile=0\n");
	WriteEngine(TEXT("VulkanPC/BaseVulkanPCEngine.ini"), "[/Script/Engine.RendererSettings]\n+Formats=SF_VULKAN_SM5\n");
	WriteEngine(TEXT("Linux/BaseLinuxEngine.ini"), "[/Script/Engine.RendererSettings]\n+Formats=SF_LINUX\n");
	WriteEngine(TEXT("Unix/UnixEngine.ini"), "[/Script/Engine.RendererSettings]\nr.Unix.Only=1\n+Formats=SF_UNIX\n");
	WriteProject(TEXT("Config/DefaultEngine.ini"), "[/Script/Engine.RendererSettings]\n+Formats=SF_PROJECT\n");
	WriteProject(TEXT("Config/VulkanPC/VulkanPCEngine.ini"), "[/Script/Engine.RendererSettings]\nr.Mobile=1\n");
	WriteProject(TEXT("Config/Linux/LinuxEngine.ini"), "[/Script/Engine.RendererSettings]\nr.Mobile=2\n");
	Load();
	EXPECT_EQ(ToUtf8(FString::Join(UE::Host::GetIniPlatformChain(), TEXT("|"))), "VulkanPC|Unix|Linux");
	// Engine platform base files, the project default, then the engine's and the project's platform files.
	EXPECT_EQ(GetArray(TEXT("Engine"), TEXT("/Script/Engine.RendererSettings"), TEXT("Formats")), "SF_Base|SF_VULKAN_SM5|SF_LINUX|SF_PROJECT|SF_UNIX");
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("/Script/Engine.RendererSettings"), TEXT("r.Unix.Only")), "1");
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("/Script/Engine.RendererSettings"), TEXT("r.Mobile")), "2");
}

TEST_F(FEngineShapedCache, AParentChainThatLoopsStopsAndAMissingInfoEndsIt)
{
	WriteEngine(TEXT("Linux/DataDrivenPlatformInfo.ini"), "[DataDrivenPlatformInfo]\nIniParent=Unix\n");
	WriteEngine(TEXT("Unix/DataDrivenPlatformInfo.ini"), "[DataDrivenPlatformInfo]\nIniParent=Linux\n");
	WriteEngine(TEXT("BaseEngine.ini"), "[S]\nK=1\n");
	Load();
	EXPECT_EQ(ToUtf8(FString::Join(UE::Host::GetIniPlatformChain(), TEXT("|"))), "Unix|Linux");

	WriteEngine(TEXT("Linux/DataDrivenPlatformInfo.ini"), "[DataDrivenPlatformInfo]\nIniParent=Missing\n");
	Load();
	EXPECT_EQ(ToUtf8(FString::Join(UE::Host::GetIniPlatformChain(), TEXT("|"))), "Missing|Linux");
}

TEST_F(FEngineShapedCache, BaseIniIsAPlainFileMergedIntoEveryCategory)
{
	WriteEngine(TEXT("Base.ini"), "[SectionsToSave]\nbCanSaveAllSections=false\n+Section=Internationalization\n+Section=Internationalization\n");
	WriteEngine(TEXT("BaseEngine.ini"), "[/Script/Engine.Engine]\nbSmoothFrameRate=true\n");
	WriteEngine(TEXT("BaseGame.ini"), "[SectionsToSave]\n+Section=/Script/Engine.GameSession\n");
	Load();
	for (const TCHAR* Category : {TEXT("Engine"), TEXT("Game")})
	{
		EXPECT_EQ(Get(Category, TEXT("SectionsToSave"), TEXT("bCanSaveAllSections")), "false");
		// No operator pass: the '+' is part of the key and both lines stay.
		EXPECT_EQ(GetArray(Category, TEXT("SectionsToSave"), TEXT("+Section")), "Internationalization|Internationalization");
	}
	EXPECT_EQ(GetArray(TEXT("Game"), TEXT("SectionsToSave"), TEXT("Section")), "/Script/Engine.GameSession");
}

TEST_F(FEngineShapedCache, CategoriesMergeWhenUsedBeyondOneSection)
{
	WriteEngine(TEXT("BaseEngine.ini"), "[S]\nK=1\n");
	WriteEngine(TEXT("BaseGame.ini"), "[S]\nK=2\n[T]\nK=4\n");
	WriteProject(TEXT("Config/DefaultInput.ini"), "[S]\nK=3\n");
	Load();
	EXPECT_EQ(ToUtf8(FString::Join(GConfig->GetKnownCategories(), TEXT("|"))), "Engine|Game|Input");
	EXPECT_TRUE(GConfig->GetLoadedCategories().IsEmpty());
	// One section is read on its own, however often.
	EXPECT_EQ(Get(TEXT("game"), TEXT("S"), TEXT("K")), "2");
	EXPECT_EQ(Get(TEXT("Game"), TEXT("s"), TEXT("k")), "2");
	EXPECT_TRUE(GConfig->GetLoadedCategories().IsEmpty());
	// A second section, or anything about the whole file, merges the category.
	EXPECT_EQ(Get(TEXT("Game"), TEXT("T"), TEXT("K")), "4");
	EXPECT_EQ(ToUtf8(FString::Join(GConfig->GetLoadedCategories(), TEXT("|"))), "Game");
	TArray<FString> Sections;
	EXPECT_TRUE(GConfig->GetSectionNames(TEXT("Input"), Sections));
	EXPECT_EQ(ToUtf8(FString::Join(GConfig->GetLoadedCategories(), TEXT("|"))), "Game|Input");
}

TEST_F(FEngineShapedCache, RefreshRebuildsOnlyWhatChangedOnDisk)
{
	WriteEngine(TEXT("BaseEngine.ini"), "[S]\nK=1\n");
	WriteEngine(TEXT("BaseGame.ini"), "[S]\nK=1\n");
	Load();
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("S"), TEXT("K")), "1");
	EXPECT_EQ(Get(TEXT("Game"), TEXT("S"), TEXT("K")), "1");
	UE::Host::RefreshConfigFromDisk();
	EXPECT_TRUE(UE::Host::RefreshConfigFromDisk().IsEmpty());

	// A new layer file of a merged category, and a new category.
	WriteProject(TEXT("Config/DefaultEngine.ini"), "[S]\nK=22\n");
	WriteProject(TEXT("Config/DefaultGameplayTags.ini"), "[/Script/GameplayTags.GameplayTagsSettings]\n+GameplayTagList=(Tag=\"Damage.Fire\")\n");
	EXPECT_EQ(ToUtf8(FString::Join(UE::Host::RefreshConfigFromDisk(), TEXT("|"))), "Engine|GameplayTags");
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("S"), TEXT("K")), "22");
	EXPECT_EQ(GetArray(TEXT("GameplayTags"), TEXT("/Script/GameplayTags.GameplayTagsSettings"), TEXT("GameplayTagList")), "(Tag=\"Damage.Fire\")");

	// A removed file, and Base.ini, which every merged category reads.
	Folder.WriteFile(TEXT("Engine/Config/Base.ini"), "[S]\nFromBase=1\n");
	std::filesystem::remove(UE::Host::StringToUtf8(Folder.Path(TEXT("Project/Config/DefaultEngine.ini"))));
	EXPECT_EQ(ToUtf8(FString::Join(UE::Host::RefreshConfigFromDisk(), TEXT("|"))), "Engine|Game|GameplayTags");
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("S"), TEXT("K")), "1");
	EXPECT_EQ(Get(TEXT("Game"), TEXT("S"), TEXT("FromBase")), "1");
}

TEST_F(FEngineShapedActions, SeveralValuesReadSinglyGiveTheNewest)
{
	Folders.WriteEngine("Config/BaseDeviceProfiles.ini",
		"[DeviceProfiles]\n+DeviceProfileNameAndTypes=Windows,Windows\n+DeviceProfileNameAndTypes=Linux,Linux\n+DeviceProfileNameAndTypes=LinuxEditor,Linux\n");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());
	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("resolve_setting"), R"({"file":"DeviceProfiles","section":"DeviceProfiles","key":"DeviceProfileNameAndTypes"})");
	ASSERT_TRUE(Outcome.bSuccess);
	EXPECT_EQ(ToUtf8(Outcome.Result->GetStringField(TEXT("value"))), "LinuxEditor,Linux");
}

TEST_F(FEngineShapedActions, DiffReadsBaseValuesAsTheCacheDoesAndCountsBaseIni)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());
	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("diff_from_default"), R"({"file":"Engine"})");
	ASSERT_TRUE(Outcome.bSuccess);
	// The quoted game mode equals the project's unquoted one; a comment, escapes and tokens read as
	// the cache reads them; Base.ini's keys are defaults, not additions.
	EXPECT_EQ(Diffs(Outcome),
		R"({"section":"/Script/EngineSettings.GameMapsSettings","key":"EditorStartupMap","change_type":"added","project_value":"/Game/Maps/Main.Main"})" "\n"
		R"({"section":"/Script/Engine.RendererSettings","key":"r.RayTracing","change_type":"modified","project_value":"True","engine_value":"False"})" "\n");

	Folders.WriteProject("Config/DefaultEngine.ini", "[/Script/Engine.RendererSettings]\n+r.Tags=Tab\n");
	FScopedHost Again(Folders.MakeEnvironment());
	const FOrvexActionResult Tags = CallAction(TEXT("config"), TEXT("diff_from_default"), R"({"file":"Engine","section":"/Script/Engine.RendererSettings"})");
	ASSERT_TRUE(Tags.bSuccess);
	EXPECT_EQ(Diffs(Tags),
		R"({"section":"/Script/Engine.RendererSettings","key":"r.Tags","change_type":"modified","project_values":["Tab\tSeparated","Tab"],"engine_value":"Tab\tSeparated"})" "\n");
}

TEST_F(FEngineShapedActions, ACategoryInAnotherLetterCaseFindsItsFiles)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());
	const FOrvexActionResult Explained = CallAction(TEXT("config"), TEXT("explain_setting"),
		R"({"file":"engine","section":"/Script/Engine.RendererSettings","key":"r.RayTracing"})");
	ASSERT_TRUE(Explained.bSuccess);
	const TArray<TSharedPtr<FJsonValue>>& Layers = Explained.Result->GetArrayField(TEXT("layers"));
	ASSERT_EQ(Layers.Num(), 2);
	EXPECT_EQ(ToUtf8(Layers[0]->AsObject()->GetStringField(TEXT("layer"))), "Engine Base");
	EXPECT_EQ(ToUtf8(Explained.Result->GetStringField(TEXT("effective_source"))), "Project Default");
	EXPECT_EQ(ToUtf8(Explained.Result->GetStringField(TEXT("category"))), "engine");

	const FOrvexActionResult Section = CallAction(TEXT("config"), TEXT("get_section"), R"({"file":"engine","section":"/Script/Engine.RendererSettings"})");
	ASSERT_TRUE(Section.bSuccess) << ToUtf8(Section.ErrorMessage);
	EXPECT_EQ(ToUtf8(Section.Result->GetStringField(TEXT("file"))), "DefaultEngine");

	const FOrvexActionResult Diff = CallAction(TEXT("config"), TEXT("diff_from_default"), R"({"file":"defaultengine","section":"/Script/Engine.RendererSettings"})");
	ASSERT_TRUE(Diff.bSuccess);
	EXPECT_EQ(Diff.Result->GetNumberField(TEXT("diff_count")), 1.0);
	EXPECT_EQ(ToUtf8(Diff.Result->GetStringField(TEXT("category"))), "engine");
}

TEST_F(FEngineShapedActions, RelativeSectionPathsAreTakenFromTheProjectFolder)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());
	const FOrvexActionResult Found = CallAction(TEXT("config"), TEXT("get_section"), R"({"file":"Config/DefaultEngine.ini","section":"/Script/Engine.RendererSettings"})");
	ASSERT_TRUE(Found.bSuccess) << ToUtf8(Found.ErrorMessage);
	EXPECT_EQ(ToUtf8(Found.Result->GetStringField(TEXT("file_path"))), (Folders.ProjectDir() / "Config/DefaultEngine.ini").string());
	EXPECT_EQ(ToUtf8(Found.Result->GetObjectField(TEXT("entries"))->GetStringField(TEXT("r.RayTracing"))), "True");

	const FOrvexActionResult Missing = CallAction(TEXT("config"), TEXT("get_section"), R"({"file":"Config/Linux/../DefaultGame.ini","section":"S"})");
	EXPECT_EQ(ToUtf8(Missing.ErrorMessage),
		"Config file not found: 'Config/Linux/../DefaultGame.ini' (resolved to '" + (Folders.ProjectDir() / "Config/DefaultGame.ini").string() + "')");

	// Confinement is unchanged: a relative path that climbs out of the config folders is refused.
	const FOrvexActionResult Outside = CallAction(TEXT("config"), TEXT("get_section"), R"({"file":"../User/Other.ini","section":"S"})");
	EXPECT_EQ(Outside.ErrorCode, -32602);
}

TEST_F(FEngineShapedActions, APlainLineOfTheCategoryBaseFileReplacesWhatBaseIniGave)
{
	Folders.WriteEngine("Config/Base.ini", "[Internationalization]\nShouldUseLocalizedNumericInput=True\n+Cultures=en\n");
	Folders.WriteEngine("Config/BaseGame.ini",
		"[Internationalization]\n"
		"ShouldUseLocalizedNumericInput=False\n"
		"+Cultures=en\n"
		"+Cultures=fr\n");
	Folders.WriteProject("Config/DefaultGame.ini", "[Internationalization]\n+Cultures=de\n");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());
	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("diff_from_default"), R"({"file":"Game","section":"Internationalization"})");
	ASSERT_TRUE(Outcome.bSuccess) << UE::Host::StringToUtf8(Outcome.ErrorMessage);
	// ShouldUseLocalizedNumericInput's default is BaseGame.ini's value, which the project left alone;
	// operator lines still append (and Base.ini's "+Cultures" is a key of its own, equal on both sides).
	EXPECT_EQ(Diffs(Outcome),
		R"({"section":"Internationalization","key":"Cultures","change_type":"modified","project_values":["en","fr","de"],"engine_values":["en","fr"]})" "\n");
}

