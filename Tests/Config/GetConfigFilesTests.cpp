// config.get_config_files and the layer helpers on temporary engine and project folders.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"
#include "OrvexConfigActions.h"

#include <gtest/gtest.h>

#include <set>

namespace
{
	class GetConfigFiles : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/Base.ini", "; absolute base\n");
			Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/Engine.RendererSettings]\nr.RayTracing=False\n");
			Folders.WriteEngine("Config/BaseGame.ini", "[/Script/EngineSettings.GeneralProjectSettings]\nProjectName=\n");
			Folders.WriteEngine("Config/Linux/BaseLinuxEngine.ini", "[SystemSettings]\nr.Foo=1\n");
			Folders.WriteProject("Config/DefaultEngine.ini", "[/Script/Engine.RendererSettings]\nr.RayTracing=True\n");
			Folders.WriteProject("Config/DefaultMyENGINEstuff.ini", "[Misc]\nA=1\n");
			Folders.WriteProject("Config/Windows/WindowsEngine.ini", "[SystemSettings]\nr.Foo=2\n");
		}

		struct FEntry
		{
			std::string Name;
			std::string Path;
			std::string Level;
			double Size;
		};

		static std::vector<FEntry> Entries(const FOrvexActionResult& Outcome)
		{
			std::vector<FEntry> Out;
			for (const TSharedPtr<FJsonValue>& Value : Outcome.Result->GetArrayField(TEXT("files")))
			{
				const TSharedPtr<FJsonObject> File = Value->AsObject();
				EXPECT_EQ(FieldNames(File), (TArray<FString>{TEXT("name"), TEXT("path"), TEXT("hierarchy_level"), TEXT("size_bytes")}));
				Out.push_back({UE::Host::StringToUtf8(File->GetStringField(TEXT("name"))), UE::Host::StringToUtf8(File->GetStringField(TEXT("path"))),
					UE::Host::StringToUtf8(File->GetStringField(TEXT("hierarchy_level"))), File->GetNumberField(TEXT("size_bytes"))});
			}
			return Out;
		}

		FTempHostFolders Folders;
	};
}

TEST_F(GetConfigFiles, ListsTheThreeLevelsWithoutSubfoldersAndWithRealSizes)
{
	Folders.WriteProject("Saved/Config/LinuxEditor/Engine.ini", "[/Script/Engine.RendererSettings]\nr.RayTracing=False\n");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("get_config_files"));
	ASSERT_TRUE(Outcome.bSuccess);
	EXPECT_EQ(FieldNames(Outcome.Result), (TArray<FString>{TEXT("file_count"), TEXT("files")}));
	const std::vector<FEntry> Files = Entries(Outcome);
	EXPECT_EQ(Outcome.Result->GetNumberField(TEXT("file_count")), static_cast<double>(Files.size()));

	std::multiset<std::string> Seen;
	std::string LastLevel;
	int32 LevelChanges = 0;
	for (const FEntry& File : Files)
	{
		Seen.insert(File.Level + ":" + File.Name);
		EXPECT_EQ(File.Size, static_cast<double>(std::filesystem::file_size(File.Path))) << File.Path;
		EXPECT_EQ(std::filesystem::path(File.Path).filename().string(), File.Name);
		if (File.Level != LastLevel)
		{
			++LevelChanges;
			LastLevel = File.Level;
		}
	}
	EXPECT_EQ(Seen, (std::multiset<std::string>{"Engine Base:Base.ini", "Engine Base:BaseEngine.ini", "Engine Base:BaseGame.ini",
		"Project Default:DefaultEngine.ini", "Project Default:DefaultMyENGINEstuff.ini", "User Saved:Engine.ini"}));
	EXPECT_EQ(LevelChanges, 3) << "levels come in order: engine, project, saved";
}

TEST_F(GetConfigFiles, FilterIgnoresCaseAndLooksAtFileNamesOnly)
{
	Folders.WriteProject("Saved/Config/LinuxEditor/Engine.ini", "");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	// The engine folder's own path contains "Engine"; BaseGame.ini must still be left out.
	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("get_config_files"), R"({"category": "engine"})");
	ASSERT_TRUE(Outcome.bSuccess);
	EXPECT_EQ(UE::Host::StringToUtf8(Outcome.Result->GetStringField(TEXT("filter_category"))), "engine");
	std::multiset<std::string> Names;
	for (const FEntry& File : Entries(Outcome))
	{
		Names.insert(File.Name);
	}
	EXPECT_EQ(Names, (std::multiset<std::string>{"BaseEngine.ini", "DefaultEngine.ini", "DefaultMyENGINEstuff.ini", "Engine.ini"}));
	EXPECT_EQ(Outcome.Result->GetNumberField(TEXT("file_count")), 4.0);

	const FOrvexActionResult Empty = CallAction(TEXT("config"), TEXT("get_config_files"), R"({"category": ""})");
	EXPECT_FALSE(Empty.Result->HasField(TEXT("filter_category")));
	EXPECT_EQ(Empty.Result->GetNumberField(TEXT("file_count")), 6.0);
}

TEST_F(GetConfigFiles, NoSavedFolderMeansNoUserSavedEntries)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());
	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("get_config_files"));
	ASSERT_TRUE(Outcome.bSuccess);
	for (const FEntry& File : Entries(Outcome))
	{
		EXPECT_NE(File.Level, "User Saved");
	}
	EXPECT_EQ(Entries(Outcome).size(), 5u);
}

TEST_F(GetConfigFiles, HierarchyKeepsLayerOrderAndSkipsMissingFiles)
{
	Folders.WriteProject("Saved/Config/LinuxEditor/Game.ini", "");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const TArray<TTuple<FString, FString>> Game = FOrvexConfigActions::GetConfigHierarchy(TEXT("Game"));
	ASSERT_EQ(Game.Num(), 2);
	EXPECT_EQ(UE::Host::StringToUtf8(Game[0].Key), "Engine Base");
	EXPECT_EQ(UE::Host::StringToUtf8(Game[1].Key), "User Saved");
	EXPECT_TRUE(Game[1].Value.EndsWith(TEXT("/Saved/Config/LinuxEditor/Game.ini")));

	const TArray<TTuple<FString, FString>> Engine = FOrvexConfigActions::GetConfigHierarchy(TEXT("Engine"));
	ASSERT_EQ(Engine.Num(), 2);
	EXPECT_EQ(UE::Host::StringToUtf8(Engine[1].Key), "Project Default");
	EXPECT_EQ(FOrvexConfigActions::GetConfigHierarchy(TEXT("Nothing")).Num(), 0);
}

TEST_F(GetConfigFiles, ResolveConfigFilePathFollowsItsPrefixRules)
{
	Folders.WriteProject("Config/Engine.ini", "");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	EXPECT_EQ(UE::Host::StringToUtf8(FOrvexConfigActions::ResolveConfigFilePath(TEXT("Config/DefaultEngine.ini"))), "Config/DefaultEngine.ini");
	EXPECT_TRUE(FOrvexConfigActions::ResolveConfigFilePath(TEXT("Engine")).EndsWith(TEXT("/Project/Config/Engine.ini")));
	EXPECT_TRUE(FOrvexConfigActions::ResolveConfigFilePath(TEXT("Game")).EndsWith(TEXT("/Engine/Config/Game.ini")));
	EXPECT_TRUE(FOrvexConfigActions::ResolveConfigFilePath(TEXT("baseGame")).EndsWith(TEXT("/Engine/Config/baseGame.ini")));
	EXPECT_TRUE(FOrvexConfigActions::ResolveConfigFilePath(TEXT("DefaultGame.ini")).EndsWith(TEXT("/Project/Config/DefaultGame.ini.ini")));
}
