// The bundled sample engine and project, merged as the editor on Linux would see them.
#include "ConfigTestEnvironment.h"

#include "Misc/Paths.h"

#include <algorithm>

namespace
{
	class FSampleConfigTest : public FConfigTestEnvironment
	{
	protected:
		void SetUp() override
		{
			UE::Host::FEnvironment Environment;
			Environment.EngineDir = TEXT(ORVEX_SAMPLES_DIR "/Engine");
			Environment.ProjectFilePath = TEXT(ORVEX_SAMPLES_DIR "/SampleProject/SampleProject.uproject");
			// An empty user folder, so no real user file is ever read.
			Environment.UserSettingsDir = Folder.Path(TEXT("User"));
			UE::Host::SetEnvironment(Environment);
			UE::Host::InitializeConfigSystem();
		}

		static constexpr const TCHAR* Renderer = TEXT("/Script/Engine.RendererSettings");
	};

	int32 Count(const std::string& Joined)
	{
		return Joined.empty() ? 0 : static_cast<int32>(std::count(Joined.begin(), Joined.end(), '|')) + 1;
	}
}

TEST_F(FSampleConfigTest, ValuesSetInSeveralLayersResolveAsTheSamplesReadmeLists)
{
	EXPECT_EQ(Get(TEXT("Engine"), Renderer, TEXT("r.ReflectionCaptureResolution")), "512");
	EXPECT_EQ(Get(TEXT("Engine"), Renderer, TEXT("r.MinScreenRadiusForLights")), "0.060000");
	EXPECT_EQ(Get(TEXT("Engine"), Renderer, TEXT("r.ReflectionMethod")), "1");
	EXPECT_EQ(Get(TEXT("Engine"), Renderer, TEXT("r.RayTracing")), "False");
	EXPECT_EQ(Get(TEXT("Engine"), Renderer, TEXT("r.Mobile.ShadingPath")), "0");
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("SystemSettings"), TEXT("r.Vulkan.RobustBufferAccess")), "0");
	EXPECT_EQ(GetArray(TEXT("Engine"), TEXT("/Script/LinuxTargetPlatform.LinuxTargetSettings"), TEXT("TargetedRHIs")), "SF_VULKAN_SM6");
	EXPECT_EQ(GetArray(TEXT("Engine"), TEXT("/Script/EngineSettings.GameMapsSettings"), TEXT("GameModeMapPrefixes")),
		"(Name=\"DM-\",GameMode=\"/Script/SampleProject.SampleGameMode\")");
	const std::string Project = ToUtf8(FPaths::ProjectDir());
	EXPECT_EQ(GetArray(TEXT("Engine"), TEXT("Core.System"), TEXT("Paths")),
		"../../../Engine/Content|" + Project + "Content|../../../Engine/Plugins|" + Project + "Content/Localization|" + Project + "Plugins/SampleTools/Content");

	EXPECT_EQ(Count(GetArray(TEXT("Input"), TEXT("/Script/Engine.InputSettings"), TEXT("ActionMappings"))), 5);
	const std::string Axes = GetArray(TEXT("Input"), TEXT("/Script/Engine.InputSettings"), TEXT("AxisMappings"));
	EXPECT_EQ(Count(Axes), 9);
	EXPECT_EQ(Axes.find("LookUp"), std::string::npos);
	EXPECT_EQ(GetArray(TEXT("Input"), TEXT("/Script/Engine.InputSettings"), TEXT("ConsoleKeys")), "Tilde|F10");

	EXPECT_EQ(Get(TEXT("Game"), TEXT("/Script/Engine.GameSession"), TEXT("MaxPlayers")), "4");
	EXPECT_EQ(Get(TEXT("Game"), TEXT("/Script/EngineSettings.GeneralProjectSettings"), TEXT("Homepage")), "https://www.example.com/sample-project");
	EXPECT_EQ(Get(TEXT("Editor"), TEXT("/Script/OrvexCore.OrvexSettings"), TEXT("bEnableConfig")), "True");
	EXPECT_EQ(Get(TEXT("EditorPerProjectUserSettings"), TEXT("/Script/UnrealEd.LevelEditorPlaySettings"), TEXT("NewWindowWidth")), "1600");
	EXPECT_EQ(Get(TEXT("Scalability"), TEXT("ShadowQuality@3"), TEXT("r.Shadow.MaxResolution")), "4096");
}

TEST_F(FSampleConfigTest, TheWindowsFileNeverShowsOnLinux)
{
	TArray<FString> Names;
	ASSERT_TRUE(GConfig->GetSectionNames(GEngineIni, Names));
	for (const FString& Name : Names)
	{
		TArray<FString> Lines;
		GConfig->GetSection(*Name, Lines, GEngineIni);
		for (const FString& Line : Lines)
		{
			EXPECT_FALSE(Line.Contains(TEXT("0.010000"))) << ToUtf8(Name) << ": " << ToUtf8(Line);
		}
	}
	const FConfigFile* Engine = GConfig->Find(GEngineIni);
	ASSERT_NE(Engine, nullptr);
	for (const FString& Source : Engine->SourceFiles)
	{
		EXPECT_FALSE(Source.Contains(TEXT("Windows"))) << ToUtf8(Source);
	}
}
