// SaveConfig: the saved layer holds only what differs from the layers below it, keeps every
// other line, and disappears when nothing differs any more.
#include "ConfigWriterTestSupport.h"
#include "HostTestSettings.h"
#include "Settings/LevelEditorPlaySettings.h"
#include "WriterTestSettings.h"

namespace
{
	const char* const SavedPlay = "Project/Saved/Config/LinuxEditor/EditorPerProjectUserSettings.ini";
	const char* const SavedGame = "Project/Saved/Config/LinuxEditor/Game.ini";
	const TCHAR* const PlaySection = TEXT("/Script/UnrealEd.LevelEditorPlaySettings");

	// Every play setting at its class default, except PlayNumberOfClients (2) and a bool in
	// another spelling, which still counts as the same value.
	const char* const BasePlay =
		"[/Script/UnrealEd.LevelEditorPlaySettings]\n"
		"PlayNetMode=PIE_Standalone\n"
		"RunUnderOneProcess=true\n"
		"PlayNumberOfClients=2\n"
		"ServerPort=17777\n"
		"bLaunchSeparateServer=False\n"
		"NewWindowWidth=1280\n"
		"NewWindowHeight=720\n"
		"CenterNewWindow=True\n"
		"ClientWindowWidth=640\n"
		"ClientWindowHeight=480\n"
		"EnableGameSound=True\n"
		"GameGetsMouseControl=False\n"
		"ShowMouseControlLabel=True\n"
		"MouseControlLabelPosition=LabelAnchorMode_TopLeft\n"
		"AutoRecompileBlueprints=True\n"
		"bOnlyLoadVisibleLevelsInPIE=False\n"
		"LastExecutedPlayModeType=PlayMode_InViewPort\n"
		"LastExecutedPlayModeLocation=PlayLocation_DefaultPlayerStart\n"
		"AdditionalLaunchParameters=\n"
		"AdditionalServerGameOptions=\n";

	class FSaveConfigTest : public FConfigWriterTest
	{
	protected:
		void StartWithBasePlay()
		{
			Write("Engine/Config/BaseEditorPerProjectUserSettings.ini", BasePlay);
			Start();
			Settings = GetMutableDefault<ULevelEditorPlaySettings>();
		}

		ULevelEditorPlaySettings* Settings = nullptr;
	};
}

using SaveConfig = FSaveConfigTest;

TEST_F(SaveConfig, WritesOnlyWhatDiffersAndDropsWhatNoLongerDoes)
{
	Write(SavedPlay,
		"; written by the editor\r\n"
		"[/Script/UnrealEd.EditorStyleSettings]\r\n"
		"bUseSmallToolBarIcons=True\r\n"
		"\r\n"
		"[/Script/UnrealEd.LevelEditorPlaySettings]\r\n"
		"ServerPort=17777\r\n"
		"LastExecutedPlayModeType=PlayMode_InNewProcess\r\n"
		"\r\n"
		"[/Script/UnrealEd.Trailing]\r\n"
		"Kept=1\r\n");
	StartWithBasePlay();
	ASSERT_EQ(Settings->LastExecutedPlayModeType, PlayMode_InNewProcess);
	Settings->PlayNumberOfClients = 4;
	Settings->LastExecutedPlayModeType = PlayMode_InViewPort;
	Settings->SaveConfig();
	EXPECT_EQ(Read(SavedPlay),
		"; written by the editor\r\n"
		"[/Script/UnrealEd.EditorStyleSettings]\r\n"
		"bUseSmallToolBarIcons=True\r\n"
		"\r\n"
		"[/Script/UnrealEd.LevelEditorPlaySettings]\r\n"
		"PlayNumberOfClients=4\r\n"
		"\r\n"
		"[/Script/UnrealEd.Trailing]\r\n"
		"Kept=1\r\n");
	EXPECT_EQ(Cached(TEXT("EditorPerProjectUserSettings"), PlaySection, TEXT("PlayNumberOfClients")), "4");
	EXPECT_EQ(Cached(TEXT("EditorPerProjectUserSettings"), PlaySection, TEXT("LastExecutedPlayModeType")), "PlayMode_InViewPort");

	// Back to the hierarchy's value: the key goes, the other sections stay.
	Settings->PlayNumberOfClients = 2;
	Settings->SaveConfig();
	EXPECT_EQ(Read(SavedPlay),
		"; written by the editor\r\n"
		"[/Script/UnrealEd.EditorStyleSettings]\r\n"
		"bUseSmallToolBarIcons=True\r\n"
		"\r\n"
		"[/Script/UnrealEd.LevelEditorPlaySettings]\r\n"
		"\r\n"
		"[/Script/UnrealEd.Trailing]\r\n"
		"Kept=1\r\n");
	EXPECT_EQ(Cached(TEXT("EditorPerProjectUserSettings"), PlaySection, TEXT("PlayNumberOfClients")), "2");
}

TEST_F(SaveConfig, ASavedFileLeftWithoutEntriesIsDeletedAndNoneIsMadeForNothing)
{
	StartWithBasePlay();
	Settings->SaveConfig();
	EXPECT_FALSE(Exists(SavedPlay));

	Settings->NewWindowWidth = 1920;
	Settings->AdditionalLaunchParameters = TEXT(" -log");
	Settings->SaveConfig();
	// A saved file the save creates starts with the engine's metadata line.
	EXPECT_EQ(Read(SavedPlay), ";METADATA=(Diff=true, UseCommands=true)\n[/Script/UnrealEd.LevelEditorPlaySettings]\nNewWindowWidth=1920\nAdditionalLaunchParameters=\" -log\"\n");
	EXPECT_EQ(Cached(TEXT("EditorPerProjectUserSettings"), PlaySection, TEXT("AdditionalLaunchParameters")), " -log");

	Settings->NewWindowWidth = 1280;
	Settings->AdditionalLaunchParameters.Empty();
	Settings->SaveConfig();
	EXPECT_FALSE(Exists(SavedPlay));
	EXPECT_TRUE(Exists("Project/Saved/Config/LinuxEditor"));
	EXPECT_EQ(Cached(TEXT("EditorPerProjectUserSettings"), PlaySection, TEXT("NewWindowWidth")), "1280");
}

TEST_F(SaveConfig, AFailedWriteLeavesTheSavedFileByteIdentical)
{
	const std::string Before = "[/Script/UnrealEd.LevelEditorPlaySettings]\r\nServerPort=8000\r\n";
	Write(SavedPlay, Before);
	StartWithBasePlay();
	ASSERT_EQ(Settings->ServerPort, 8000);
	Settings->ServerPort = 9000;

	SetReadOnly(SavedPlay);
	std::string Log = CaptureLog([&] { Settings->SaveConfig(); });
	EXPECT_NE(Log.find("Warning"), std::string::npos) << Log;
	EXPECT_NE(Log.find(U8(Path(SavedPlay))), std::string::npos) << Log;
	EXPECT_EQ(Read(SavedPlay), Before);
	ASSERT_TRUE(FPlatformFileManager::Get().GetPlatformFile().SetReadOnly(*Path(SavedPlay), false));

	// Nor may a file in a read-only folder be deleted when it would end up empty.
	Settings->ServerPort = 17777;
	LockFolder("Project/Saved/Config/LinuxEditor");
	Log = CaptureLog([&] { Settings->SaveConfig(); });
	EXPECT_NE(Log.find("read-only"), std::string::npos) << Log;
	EXPECT_EQ(Read(SavedPlay), Before);
	EXPECT_EQ(Cached(TEXT("EditorPerProjectUserSettings"), PlaySection, TEXT("ServerPort")), "8000");
}

TEST_F(SaveConfig, AnInstanceCopiesWhatItSavesToTheDefaultObjectUnlessTold)
{
	StartWithBasePlay();
	ULevelEditorPlaySettings* Instance = NewObject<ULevelEditorPlaySettings>();
	Instance->ClientWindowWidth = 800;
	Instance->SaveConfig(CPF_Config, nullptr, GConfig, false);
	EXPECT_EQ(Settings->ClientWindowWidth, 640);
	EXPECT_EQ(Cached(TEXT("EditorPerProjectUserSettings"), PlaySection, TEXT("ClientWindowWidth")), "800");
	Instance->ClientWindowWidth = 1024;
	Instance->SaveConfig();
	EXPECT_EQ(Settings->ClientWindowWidth, 1024);
}

TEST_F(SaveConfig, SectionsOutsideSectionsToSaveAreNotSavedToAnEngineWideFile)
{
	Start();
	UPlainGameSettings* Plain = GetMutableDefault<UPlainGameSettings>();
	Plain->Level = 5;
	const std::string Log = CaptureLog([&] { Plain->SaveConfig(); });
	EXPECT_NE(Log.find("SectionsToSave"), std::string::npos) << Log;
	EXPECT_FALSE(Exists(SavedGame));

	Write("Engine/Config/BaseGame.ini", "[SectionsToSave]\n+Section=/Script/OrvexTests.PlainGameSettings\n");
	GConfig->ReloadAll();
	Plain->SaveConfig();
	EXPECT_EQ(Read(SavedGame), ";METADATA=(Diff=true, UseCommands=true)\n[/Script/OrvexTests.PlainGameSettings]\nLevel=5\nNickname=\n");
	EXPECT_EQ(Cached(TEXT("Game"), TEXT("/Script/OrvexTests.PlainGameSettings"), TEXT("Level")), "5");
}

TEST_F(SaveConfig, GlobalConfigValuesGoToTheDeclaringClassSection)
{
	Write("Engine/Config/BaseGame.ini", "[SectionsToSave]\nbCanSaveAllSections=true\n");
	Start();
	UHostTestSettingsChild* Child = GetMutableDefault<UHostTestSettingsChild>();
	Child->ChildValue = 12;
	Child->SharedPath = TEXT("/shared");
	Child->SaveConfig();
	// Inherited values equal to the parent's defaults are left out; the shared one is not.
	EXPECT_EQ(Read(SavedGame),
		";METADATA=(Diff=true, UseCommands=true)\n"
		"[/Script/OrvexTests.HostTestSettingsChild]\n"
		"ChildValue=12\n"
		"\n"
		"[/Script/OrvexTests.HostTestSettings]\n"
		"SharedPath=/shared\n");
	Restart();
	EXPECT_EQ(U8(GetDefault<UHostTestSettings>()->SharedPath), "/shared");
	EXPECT_EQ(GetDefault<UHostTestSettingsChild>()->ChildValue, 12);
}

TEST_F(SaveConfig, ArraysAreSavedWholeAndCompareElementByElement)
{
	Write("Engine/Config/BaseGame.ini", "[SectionsToSave]\nbCanSaveAllSections=true\n\n[/Script/OrvexTests.WriterTestSettings]\n+Tags=a\n+Tags=b\n");
	Start();
	UWriterTestSettings* Settings = GetMutableDefault<UWriterTestSettings>();
	ASSERT_EQ(Settings->Tags.Num(), 2);
	Settings->Tags = {TEXT("b")};
	Settings->SaveConfig();
	EXPECT_NE(Read(SavedGame).find("!Tags=ClearArray\n+Tags=b\n"), std::string::npos) << Read(SavedGame);
	Restart();
	EXPECT_EQ(GetDefault<UWriterTestSettings>()->Tags, TArray<FString>({TEXT("b")}));

	// An empty array over a non-empty hierarchy is a difference too.
	GetMutableDefault<UWriterTestSettings>()->Tags.Empty();
	GetMutableDefault<UWriterTestSettings>()->SaveConfig();
	Restart();
	EXPECT_EQ(GetDefault<UWriterTestSettings>()->Tags.Num(), 0);
}
