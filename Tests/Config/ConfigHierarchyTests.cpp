// Which files make up a category, in which order, and what the cache answers.
#include "ConfigTestEnvironment.h"

#include "Misc/Paths.h"

using FConfigHierarchy = FConfigTestEnvironment;

namespace
{
	std::string Section(const std::string& Name, const std::string& Body)
	{
		return "[" + Name + "]\n" + Body;
	}
}

TEST_F(FConfigHierarchy, EveryLayerOverridesTheOnesBelowIt)
{
	// Each file sets Top to its own name and Below_<next> so the next layer's override is visible.
	WriteEngine(TEXT("Base.ini"), Section("S", "Top=Base\nFromBase=1\n"));
	WriteEngine(TEXT("BaseGame.ini"), Section("S", "Top=BaseGame\n+Order=1\n"));
	WriteEngine(TEXT("Linux/BaseLinuxGame.ini"), Section("S", "Top=BaseLinuxGame\n+Order=2\n"));
	WriteProject(TEXT("Config/DefaultGame.ini"), Section("S", "Top=DefaultGame\n+Order=3\n"));
	WriteEngine(TEXT("Linux/LinuxGame.ini"), Section("S", "Top=EngineLinuxGame\n+Order=4\n"));
	WriteProject(TEXT("Config/Linux/LinuxGame.ini"), Section("S", "Top=ProjectLinuxGame\n+Order=5\n"));
	WriteUser(TEXT("Unreal Engine/Engine/Config/UserGame.ini"), Section("S", "Top=GlobalUser\n+Order=6\n"));
	WriteProject(TEXT("Config/UserGame.ini"), Section("S", "Top=ProjectUser\n+Order=7\n"));
	Load();
	EXPECT_EQ(GetArray(TEXT("Game"), TEXT("S"), TEXT("Order")), "1|2|3|4|5|6|7");
	EXPECT_EQ(Get(TEXT("Game"), TEXT("S"), TEXT("Top")), "ProjectUser");
	EXPECT_EQ(Get(TEXT("Game"), TEXT("S"), TEXT("FromBase")), "1");

	const FConfigFile* File = GConfig->Find(TEXT("Game"));
	ASSERT_NE(File, nullptr);
	ASSERT_EQ(File->SourceFiles.Num(), 8);
	EXPECT_EQ(ToUtf8(File->SourceFiles[0]), ToUtf8(Folder.Path(TEXT("Engine/Config/Base.ini"))));
	EXPECT_EQ(ToUtf8(File->SourceFiles[7]), ToUtf8(Folder.Path(TEXT("Project/Config/UserGame.ini"))));
}

TEST_F(FConfigHierarchy, OnlyTheRunningPlatformsFilesAreRead)
{
	WriteEngine(TEXT("BaseEngine.ini"), Section("S", "Radius=0.03\n"));
	WriteEngine(TEXT("Windows/BaseWindowsEngine.ini"), Section("S", "Radius=0.01\nWindowsOnly=1\n"));
	WriteProject(TEXT("Config/Windows/WindowsEngine.ini"), Section("S", "Radius=0.02\n"));
	WriteProject(TEXT("Config/Linux/LinuxEngine.ini"), Section("S", "Radius=0.06\n"));
	Load();
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("S"), TEXT("Radius")), "0.06");
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("S"), TEXT("WindowsOnly")), "<missing>");
}

TEST_F(FConfigHierarchy, SavedFileReplacesTheHierarchysValuesKeyByKey)
{
	WriteEngine(TEXT("BaseEngine.ini"), Section("S", "+Paths=A\n+Paths=B\nWidth=1280\nHeight=720\n+Kept=X\n+Removed=Y\n"));
	WriteProject(TEXT("Config/DefaultEngine.ini"), Section("S", "Width=1600\n"));
	WriteProject(TEXT("Saved/Config/LinuxEditor/Engine.ini"),
		";METADATA=(Diff=true, UseCommands=true)\n"
		+ Section("S", "+Paths=C\nWidth=1920\n-Removed=Y\n")
		+ Section("SavedOnly", "Slot=2\n"));
	Load();
	EXPECT_EQ(GetArray(TEXT("Engine"), TEXT("S"), TEXT("Paths")), "C");
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("S"), TEXT("Width")), "1920");
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("S"), TEXT("Height")), "720");
	EXPECT_EQ(GetArray(TEXT("Engine"), TEXT("S"), TEXT("Kept")), "X");
	EXPECT_EQ(GetArray(TEXT("Engine"), TEXT("S"), TEXT("Removed")), "");
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("SavedOnly"), TEXT("Slot")), "2");

	// A saved single value keeps its place among the section's lines.
	TArray<FString> Lines;
	ASSERT_TRUE(GConfig->GetSection(TEXT("S"), Lines, TEXT("Engine")));
	EXPECT_EQ(ToUtf8(FString::Join(Lines, TEXT(";"))), "Paths=C;Width=1920;Height=720;Kept=X");
}

TEST_F(FConfigHierarchy, IniOverridesApplyLastWithOperatorsAndQuotes)
{
	WriteEngine(TEXT("BaseEngine.ini"), Section("/Script/Engine.RendererSettings", "r.RayTracing=False\n+Targets=SM5\n+Targets=SM6\n"));
	WriteProject(TEXT("Saved/Config/LinuxEditor/Engine.ini"), Section("/Script/Engine.RendererSettings", "r.RayTracing=False\n"));
	WriteEngine(TEXT("BaseGame.ini"), Section("S", "Name=Base\n"));
	Load({
		TEXT("Engine:[/Script/Engine.RendererSettings]:r.RayTracing=True,[/Script/Engine.RendererSettings]:-Targets=SM5"),
		TEXT("-ini:Engine:[New]:+Targets=(Name=\"a,b\",Level=1),[New]:Quoted=\" spaced \""),
		TEXT("Game:[S]:Name=Override"),
		TEXT("Game:missing-section-and-key"),
	});
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("/Script/Engine.RendererSettings"), TEXT("r.RayTracing")), "True");
	EXPECT_EQ(GetArray(TEXT("Engine"), TEXT("/Script/Engine.RendererSettings"), TEXT("Targets")), "SM6");
	EXPECT_EQ(GetArray(TEXT("Engine"), TEXT("New"), TEXT("Targets")), "(Name=\"a,b\",Level=1)");
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("New"), TEXT("Quoted")), " spaced ");
	EXPECT_EQ(Get(TEXT("Game"), TEXT("S"), TEXT("Name")), "Override");
}

TEST(ConfigOverrideParsing, RejectsArgumentsWithoutCategorySectionOrKey)
{
	const TCHAR* const Bad[] = {TEXT("Engine"), TEXT(":[S]:K=V"), TEXT("Engine:[S]:K"), TEXT("Engine:K=V"), TEXT("Engine:[S]:=V"),
		TEXT("En gine:[S]:K=V"), TEXT("Engine:[S]:A=1,B=2")};
	for (const TCHAR* Argument : Bad)
	{
		TArray<UE::Host::FConfigOverride> Overrides;
		FString Error;
		EXPECT_FALSE(UE::Host::ParseConfigOverride(Argument, Overrides, Error)) << ToUtf8(Argument);
		EXPECT_TRUE(Overrides.IsEmpty());
		EXPECT_FALSE(Error.IsEmpty());
	}
	TArray<UE::Host::FConfigOverride> Overrides;
	FString Error;
	ASSERT_TRUE(UE::Host::ParseConfigOverride(TEXT("Input:Section.Name:.Key=\"v\""), Overrides, Error));
	ASSERT_EQ(Overrides.Num(), 1);
	EXPECT_EQ(ToUtf8(Overrides[0].Section), "Section.Name");
	EXPECT_EQ(Overrides[0].Operation, u'.');
	EXPECT_EQ(ToUtf8(Overrides[0].Key), "Key");
	EXPECT_EQ(ToUtf8(Overrides[0].Value), "v");
}

TEST_F(FConfigHierarchy, KnownCategoriesComeFromBaseAndDefaultFiles)
{
	WriteEngine(TEXT("Base.ini"), Section("S", "A=1\n"));
	WriteEngine(TEXT("BaseEngine.ini"), Section("S", "A=1\n"));
	WriteEngine(TEXT("Linux/BaseLinuxHardware.ini"), Section("S", "A=1\n"));
	WriteProject(TEXT("Config/DefaultGame.ini"), Section("S", "A=1\n"));
	WriteProject(TEXT("Config/UserOnly.ini"), Section("S", "A=1\n"));
	WriteProject(TEXT("Saved/Config/LinuxEditor/SavedOnly.ini"), Section("S", "A=1\n"));
	Load();
	EXPECT_EQ(ToUtf8(FString::Join(GConfig->GetKnownCategories(), TEXT("|"))), "Engine|Game");
	EXPECT_EQ(ToUtf8(GConfig->GetConfigFilename(TEXT("Engine"))), "Engine");
	EXPECT_EQ(ToUtf8(GConfig->GetConfigFilename(TEXT("game"))), "Game");
	// Any other name gets a generated file path, never an empty string; the cache knows no sections
	// for it, which is how callers tell an unknown category.
	const FString Generated = FPaths::GeneratedConfigDir() + TEXT("LinuxEditor/");
	EXPECT_EQ(ToUtf8(GConfig->GetConfigFilename(TEXT(""))), ToUtf8(Generated + TEXT(".ini")));
	EXPECT_EQ(ToUtf8(GConfig->GetConfigFilename(TEXT("Hardware"))), ToUtf8(Generated + TEXT("Hardware.ini")));
	EXPECT_EQ(ToUtf8(GConfig->GetConfigFilename(TEXT("SavedOnly"))), ToUtf8(Generated + TEXT("SavedOnly.ini")));
	TArray<FString> Names;
	for (const TCHAR* Unknown : {TEXT(""), TEXT("Hardware"), TEXT("SavedOnly"), TEXT("Unknown")})
	{
		EXPECT_FALSE(GConfig->GetSectionNames(GConfig->GetConfigFilename(Unknown), Names)) << ToUtf8(FString(Unknown));
	}
	FString Value;
	EXPECT_FALSE(GConfig->GetString(TEXT("S"), TEXT("A"), Value, GConfig->GetConfigFilename(TEXT("Unknown"))));
	EXPECT_FALSE(GConfig->GetSectionNames(TEXT("Unknown"), Names));
	EXPECT_FALSE(GConfig->LoadCategory(TEXT("Unknown")));
	EXPECT_FALSE(GConfig->LoadCategory(TEXT("../Engine")));
}

TEST_F(FConfigHierarchy, SectionNamesFollowFirstAppearanceAcrossLayers)
{
	WriteEngine(TEXT("BaseEngine.ini"), Section("Zeta", "A=1\n") + Section("Alpha", "A=1\n") + Section("Empty", ""));
	WriteProject(TEXT("Config/DefaultEngine.ini"), Section("Middle", "A=1\n") + Section("zeta", "B=2\n"));
	Load();
	TArray<FString> Names;
	ASSERT_TRUE(GConfig->GetSectionNames(TEXT("Engine"), Names));
	EXPECT_EQ(ToUtf8(FString::Join(Names, TEXT("|"))), "Zeta|Alpha|Empty|Middle");
	TArray<FString> Lines;
	EXPECT_TRUE(GConfig->GetSection(TEXT("ZETA"), Lines, TEXT("Engine")));
	EXPECT_EQ(ToUtf8(FString::Join(Lines, TEXT(";"))), "A=1;B=2");
	EXPECT_TRUE(GConfig->GetSection(TEXT("Empty"), Lines, TEXT("Engine")));
	EXPECT_TRUE(Lines.IsEmpty());
	EXPECT_FALSE(GConfig->GetSection(TEXT("Missing"), Lines, TEXT("Engine")));
}

TEST_F(FConfigHierarchy, TokensExpandOnReadButNotInTheSavedValue)
{
	WriteProject(TEXT("Sample.uproject"), "{}");
	WriteEngine(TEXT("BaseEngine.ini"), Section("S", "+Paths=%GAMEDIR%Content\nEngine=%ENGINEDIR%Content\nName=%GAME%\nSaved=%GAMESAVEDDIR%Logs\nUnknown=%OTHER%\n"));
	UE::Host::FEnvironment Environment;
	Environment.EngineDir = Folder.Path(TEXT("Engine"));
	Environment.ProjectFilePath = Folder.Path(TEXT("Project/Sample.uproject"));
	UE::Host::SetEnvironment(Environment);
	UE::Host::InitializeConfigSystem();
	EXPECT_EQ(GetArray(TEXT("Engine"), TEXT("S"), TEXT("Paths")), ToUtf8(Folder.Path(TEXT("Project/Content"))));
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("S"), TEXT("Engine")), ToUtf8(Folder.Path(TEXT("Engine/Content"))));
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("S"), TEXT("Name")), "Sample");
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("S"), TEXT("Saved")), ToUtf8(Folder.Path(TEXT("Project/Saved/Logs"))));
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("S"), TEXT("Unknown")), "%OTHER%");
	const FConfigValue* Raw = GConfig->Find(TEXT("Engine"))->FindSection(TEXT("S"))->Find(FName(TEXT("Name")));
	ASSERT_NE(Raw, nullptr);
	EXPECT_EQ(ToUtf8(Raw->GetSavedValue()), "%GAME%");
}

TEST_F(FConfigHierarchy, LoadCategoryPicksUpChangedAndNewFiles)
{
	WriteEngine(TEXT("BaseEngine.ini"), Section("S", "A=1\n"));
	Load();
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("S"), TEXT("A")), "1");
	WriteProject(TEXT("Config/DefaultEngine.ini"), Section("S", "A=2\n"));
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("S"), TEXT("A")), "1");
	EXPECT_TRUE(GConfig->LoadCategory(TEXT("Engine")));
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("S"), TEXT("A")), "2");

	WriteProject(TEXT("Saved/Config/LinuxEditor/EditorPerProjectUserSettings.ini"), Section("S", "B=3\n"));
	EXPECT_TRUE(GConfig->LoadCategory(TEXT("EditorPerProjectUserSettings")));
	EXPECT_EQ(ToUtf8(GConfig->GetConfigFilename(TEXT("EditorPerProjectUserSettings"))), "EditorPerProjectUserSettings");
	EXPECT_EQ(Get(TEXT("EditorPerProjectUserSettings"), TEXT("S"), TEXT("B")), "3");
}

TEST_F(FConfigHierarchy, TypedReadsAndInMemoryWrites)
{
	WriteEngine(TEXT("BaseEngine.ini"), Section("S", "Flag=True\nCount=42\nBig=8589934592\nRatio=0.25\nWord=yes\n"));
	Load();
	bool bFlag = false;
	int32 Count = 0;
	int64 Big = 0;
	float Ratio = 0.0f;
	bool bWord = false;
	EXPECT_TRUE(GConfig->GetBool(TEXT("S"), TEXT("flag"), bFlag, GEngineIni));
	EXPECT_TRUE(GConfig->GetInt(TEXT("S"), TEXT("Count"), Count, GEngineIni));
	EXPECT_TRUE(GConfig->GetInt64(TEXT("S"), TEXT("Big"), Big, GEngineIni));
	EXPECT_TRUE(GConfig->GetFloat(TEXT("S"), TEXT("Ratio"), Ratio, GEngineIni));
	EXPECT_TRUE(GConfig->GetBool(TEXT("S"), TEXT("Word"), bWord, GEngineIni));
	EXPECT_TRUE(bFlag && bWord);
	EXPECT_EQ(Count, 42);
	EXPECT_EQ(Big, 8589934592LL);
	EXPECT_FLOAT_EQ(Ratio, 0.25f);
	EXPECT_FALSE(GConfig->GetInt(TEXT("S"), TEXT("Missing"), Count, GEngineIni));

	GConfig->SetInt(TEXT("S"), TEXT("Count"), 7, GEngineIni);
	GConfig->SetArray(TEXT("New"), TEXT("List"), {TEXT("a"), TEXT("b")}, GEngineIni);
	EXPECT_EQ(Get(TEXT("Engine"), TEXT("S"), TEXT("Count")), "7");
	EXPECT_EQ(GetArray(TEXT("Engine"), TEXT("New"), TEXT("List")), "a|b");
	EXPECT_TRUE(GConfig->RemoveKey(TEXT("New"), TEXT("List"), GEngineIni));
	EXPECT_TRUE(GConfig->EmptySection(TEXT("New"), GEngineIni));
	EXPECT_FALSE(GConfig->DoesSectionExist(TEXT("New"), GEngineIni));
}
