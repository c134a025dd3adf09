// The config writers that edit a named file: one key (UpdateSinglePropertyInConfigFile) or the
// object's section (TryUpdateDefaultConfigFile and the two user-config updates). Each golden
// test compares the whole file before and after.
#include "AndroidSDKSettings.h"
#include "ConfigWriterTestSupport.h"
#include "Engine/RendererSettings.h"
#include "HostTestSettings.h"
#include "Settings/ContentBrowserProjectUserSettings.h"
#include "UObject/UnrealType.h"
#include "WriterTestSettings.h"

#include <unistd.h>

namespace
{
	const char* const DefaultEngine = "Project/Config/DefaultEngine.ini";
	const char* const DefaultGame = "Project/Config/DefaultGame.ini";

	FProperty* FindProperty(const UObject* Object, const TCHAR* Name)
	{
		FProperty* Property = Object->GetClass()->FindPropertyByName(FName(Name));
		EXPECT_NE(Property, nullptr) << U8(Name);
		return Property;
	}

	// Runs with the working directory changed, as the editor's relative paths assume.
	class FScopedWorkingDirectory
	{
	public:
		explicit FScopedWorkingDirectory(const std::filesystem::path& Directory)
			: Previous(std::filesystem::current_path())
		{
			std::filesystem::current_path(Directory);
		}
		~FScopedWorkingDirectory()
		{
			std::filesystem::current_path(Previous);
		}

	private:
		std::filesystem::path Previous;
	};
}

using UpdateSingleProperty = FConfigWriterTest;

TEST_F(UpdateSingleProperty, ChangesOnlyTheLineOfThePropertyAndKeepsEverythingElse)
{
	Write(DefaultEngine,
		"; Project engine settings\r\n"
		"[/Script/EngineSettings.GameMapsSettings]\r\n"
		"GameDefaultMap=/Game/Maps/Main.Main\r\n"
		"\r\n"
		"[/Script/Engine.RendererSettings]\r\n"
		"; Lumen everywhere\r\n"
		"r.DynamicGlobalIlluminationMethod=1\r\n"
		"r.ReflectionMethod=1\r\n"
		"r.GenerateMeshDistanceFields=True\r\n"
		"\r\n"
		"[/Script/Engine.OtherSettings]\r\n"
		"Foo=Bar\r\n");
	Start();
	URendererSettings* Settings = GetMutableDefault<URendererSettings>();
	const FString File = Settings->GetDefaultConfigFilename();
	EXPECT_EQ(U8(File), U8(Path(DefaultEngine)));

	// A console-variable enum is stored under the variable's name, as a number, in place.
	Settings->Reflections = EReflectionMethod::ScreenSpace;
	Settings->UpdateSinglePropertyInConfigFile(FindProperty(Settings, TEXT("Reflections")), File);
	EXPECT_EQ(Cached(TEXT("Engine"), TEXT("/Script/Engine.RendererSettings"), TEXT("r.ReflectionMethod")), "2");

	Settings->bEnableRayTracing = 1;
	Settings->UpdateSinglePropertyInConfigFile(FindProperty(Settings, TEXT("bEnableRayTracing")), File);
	EXPECT_EQ(Cached(TEXT("Engine"), TEXT("/Script/Engine.RendererSettings"), TEXT("r.RayTracing")), "True");

	// Without a console variable an enum keeps its name; floats have six decimals; bools say False.
	Settings->WorkingColorSpaceChoice = EWorkingColorSpace::Rec2020;
	Settings->UpdateSinglePropertyInConfigFile(FindProperty(Settings, TEXT("WorkingColorSpaceChoice")), File);
	Settings->MinScreenRadiusForLights = 0.05f;
	Settings->UpdateSinglePropertyInConfigFile(FindProperty(Settings, TEXT("MinScreenRadiusForLights")), File);
	Settings->bGenerateMeshDistanceFields = 0;
	Settings->UpdateSinglePropertyInConfigFile(FindProperty(Settings, TEXT("bGenerateMeshDistanceFields")), File);
	Settings->TranslucentSortAxis = FVector(0.0, 0.0, -1.0);
	Settings->UpdateSinglePropertyInConfigFile(FindProperty(Settings, TEXT("TranslucentSortAxis")), File);

	EXPECT_EQ(Read(DefaultEngine),
		"; Project engine settings\r\n"
		"[/Script/EngineSettings.GameMapsSettings]\r\n"
		"GameDefaultMap=/Game/Maps/Main.Main\r\n"
		"\r\n"
		"[/Script/Engine.RendererSettings]\r\n"
		"; Lumen everywhere\r\n"
		"r.DynamicGlobalIlluminationMethod=1\r\n"
		"r.ReflectionMethod=2\r\n"
		"r.GenerateMeshDistanceFields=False\r\n"
		"r.RayTracing=True\r\n"
		"WorkingColorSpaceChoice=Rec2020\r\n"
		"r.MinScreenRadiusForLights=0.050000\r\n"
		"TranslucentSortAxis=(X=0.000000,Y=0.000000,Z=-1.000000)\r\n"
		"\r\n"
		"[/Script/Engine.OtherSettings]\r\n"
		"Foo=Bar\r\n");
	EXPECT_EQ(Cached(TEXT("Engine"), TEXT("/Script/Engine.RendererSettings"), TEXT("TranslucentSortAxis")), "(X=0.000000,Y=0.000000,Z=-1.000000)");
}

TEST_F(UpdateSingleProperty, StringsAreRawUnlessTheLineNeedsQuotes)
{
	Start();
	UHostTestSettings* Settings = GetMutableDefault<UHostTestSettings>();
	const FString File = Settings->GetDefaultConfigFilename();
	Settings->Text = TEXT("My Company");
	Settings->UpdateSinglePropertyInConfigFile(FindProperty(Settings, TEXT("Text")), File);
	Settings->CVarName = TEXT("Beta");
	Settings->UpdateSinglePropertyInConfigFile(FindProperty(Settings, TEXT("CVarName")), File);
	EXPECT_EQ(Read(DefaultGame), "[/Script/OrvexTests.HostTestSettings]\nText=My Company\ntest.Name=Beta\n");

	Settings->Text = TEXT(" padded // not a comment");
	Settings->UpdateSinglePropertyInConfigFile(FindProperty(Settings, TEXT("Text")), File);
	EXPECT_EQ(Read(DefaultGame), "[/Script/OrvexTests.HostTestSettings]\nText=\" padded // not a comment\"\ntest.Name=Beta\n");
	EXPECT_EQ(Cached(TEXT("Game"), TEXT("/Script/OrvexTests.HostTestSettings"), TEXT("Text")), " padded // not a comment");
}

TEST_F(UpdateSingleProperty, RefusesWhatIsNotOneConfigValueAndSaysWhy)
{
	const std::string Before = "[/Script/OrvexTests.HostTestSettings]\nIntValue=5\n";
	Write(DefaultGame, Before);
	Start();
	UHostTestSettings* Settings = GetMutableDefault<UHostTestSettings>();
	const FString File = Settings->GetDefaultConfigFilename();
	for (const TCHAR* Name : {TEXT("Numbers"), TEXT("StaticInts"), TEXT("NotConfig")})
	{
		const std::string Log = CaptureLog([&] { Settings->UpdateSinglePropertyInConfigFile(FindProperty(Settings, Name), File); });
		EXPECT_NE(Log.find("Warning"), std::string::npos) << Log;
		EXPECT_NE(Log.find(U8(File)), std::string::npos) << Log;
		EXPECT_NE(Log.find(U8(Name)), std::string::npos) << Log;
	}
	// A property of another class.
	const std::string Log = CaptureLog([&] { Settings->UpdateSinglePropertyInConfigFile(FindProperty(GetDefault<URendererSettings>(), TEXT("Reflections")), File); });
	EXPECT_NE(Log.find("not a property of HostTestSettings"), std::string::npos) << Log;
	EXPECT_EQ(Read(DefaultGame), Before);
}

TEST_F(UpdateSingleProperty, RelativeNamesStartAtTheWorkingDirectoryAndMustStayInTheProject)
{
	Start();
	UWriterTestSettings* Settings = GetMutableDefault<UWriterTestSettings>();
	Settings->Count = 9;
	{
		FScopedWorkingDirectory InProject(Native("Project"));
		Settings->UpdateSinglePropertyInConfigFile(FindProperty(Settings, TEXT("Count")), TEXT("Config/DefaultGame.ini"));
	}
	EXPECT_EQ(Read(DefaultGame), "[/Script/OrvexTests.WriterTestSettings]\nCount=9\n");

	for (const std::string& Outside : {Native("Elsewhere/DefaultGame.ini").string(), std::string("Config/DefaultGame.ini")})
	{
		FScopedWorkingDirectory AtRoot(Environment->GetRoot());
		const std::string Log = CaptureLog([&] { Settings->UpdateSinglePropertyInConfigFile(FindProperty(Settings, TEXT("Count")), UE::Host::Utf8ToString(Outside)); });
		EXPECT_NE(Log.find("outside the project folder"), std::string::npos) << Log;
	}
	EXPECT_FALSE(Exists("Elsewhere"));
	EXPECT_FALSE(Exists("Config"));
}

TEST_F(UpdateSingleProperty, AFailedWriteLeavesTheFileAndTheCacheAsTheyWere)
{
	const std::string Before = "; keep\r\n[/Script/OrvexTests.WriterTestSettings]\r\nCount=3\r\n";
	Write(DefaultGame, Before);
	Start();
	UWriterTestSettings* Settings = GetMutableDefault<UWriterTestSettings>();
	Settings->Count = 4;
	const FString File = Settings->GetDefaultConfigFilename();

	SetReadOnly(DefaultGame);
	std::string Log = CaptureLog([&] { Settings->UpdateSinglePropertyInConfigFile(FindProperty(Settings, TEXT("Count")), File); });
	EXPECT_NE(Log.find("Warning"), std::string::npos) << Log;
	EXPECT_NE(Log.find(U8(File)), std::string::npos) << Log;
	EXPECT_NE(Log.find("read-only"), std::string::npos) << Log;
	EXPECT_EQ(Read(DefaultGame), Before);
	ASSERT_TRUE(FPlatformFileManager::Get().GetPlatformFile().SetReadOnly(*File, false));

	LockFolder("Project/Config");
	Log = CaptureLog([&] { Settings->UpdateSinglePropertyInConfigFile(FindProperty(Settings, TEXT("Count")), File); });
	EXPECT_NE(Log.find("read-only"), std::string::npos) << Log;
	EXPECT_EQ(Read(DefaultGame), Before);
	EXPECT_EQ(Cached(TEXT("Game"), TEXT("/Script/OrvexTests.WriterTestSettings"), TEXT("Count")), "3");
	UnlockFolders();
	EXPECT_EQ(std::distance(std::filesystem::directory_iterator(Native("Project/Config")), std::filesystem::directory_iterator()), 1);
}

using TryUpdateDefaultConfig = FConfigWriterTest;

TEST_F(TryUpdateDefaultConfig, RewritesTheClassSectionWithEveryPropertyAndNothingElse)
{
	Write(DefaultGame,
		"; Game defaults\r\n"
		"[/Script/EngineSettings.GeneralProjectSettings]\r\n"
		"ProjectName=Demo\r\n"
		"\r\n"
		"[/Script/OrvexTests.WriterTestSettings]\r\n"
		"; lost with the section, as in the editor\r\n"
		"Count=7\r\n"
		"Obsolete=1\r\n"
		"\r\n"
		"[/Script/OrvexTests.OtherSection]\r\n"
		"Keep=Me\r\n"
		"\r\n"
		"[/Script/OrvexTests.WriterTestSettings]\r\n"
		"Title=Late copy\r\n");
	Start();
	UWriterTestSettings* Settings = GetMutableDefault<UWriterTestSettings>();
	ASSERT_EQ(Settings->Count, 7);
	ASSERT_EQ(U8(Settings->Title), "Late copy");
	Settings->Tags = {TEXT("a"), TEXT("b"), TEXT("a")};
	Settings->Method = EReflectionMethod::Lumen;

	EXPECT_TRUE(Settings->TryUpdateDefaultConfigFile());
	EXPECT_EQ(Read(DefaultGame),
		"; Game defaults\r\n"
		"[/Script/EngineSettings.GeneralProjectSettings]\r\n"
		"ProjectName=Demo\r\n"
		"\r\n"
		"[/Script/OrvexTests.WriterTestSettings]\r\n"
		"Count=7\r\n"
		"Title=Late copy\r\n"
		"!Tags=ClearArray\r\n"
		"+Tags=a\r\n"
		"+Tags=b\r\n"
		".Tags=a\r\n"
		"Slots[0]=x\r\n"
		"Slots[2]=z\r\n"
		"test.Writer.Method=1\r\n"
		"Ratio=0.500000\r\n"
		"\r\n"
		"[/Script/OrvexTests.OtherSection]\r\n"
		"Keep=Me\r\n"
		"\r\n");

	TArray<FString> Tags;
	GConfig->GetArray(TEXT("/Script/OrvexTests.WriterTestSettings"), TEXT("Tags"), Tags, GGameIni);
	EXPECT_EQ(Tags, TArray<FString>({TEXT("a"), TEXT("b"), TEXT("a")}));
	EXPECT_EQ(Cached(TEXT("Game"), TEXT("/Script/OrvexTests.WriterTestSettings"), TEXT("Obsolete")), "<missing>");
}

TEST_F(TryUpdateDefaultConfig, AnEmptyArrayClearsWhatTheLayersBelowGive)
{
	Write("Engine/Config/BaseGame.ini", "[/Script/OrvexTests.WriterTestSettings]\n+Tags=FromBase\n");
	Start();
	UWriterTestSettings* Settings = GetMutableDefault<UWriterTestSettings>();
	ASSERT_EQ(Settings->Tags.Num(), 1);
	Settings->Tags.Empty();
	EXPECT_TRUE(Settings->TryUpdateDefaultConfigFile());
	EXPECT_NE(Read(DefaultGame).find("!Tags=ClearArray\nSlots[0]"), std::string::npos) << Read(DefaultGame);
	Restart();
	EXPECT_EQ(GetDefault<UWriterTestSettings>()->Tags.Num(), 0);
}

TEST_F(TryUpdateDefaultConfig, ReturnsFalseAndWritesNothingWhenTheFileCannotBeReplaced)
{
	const std::string Before = "[/Script/OrvexTests.WriterTestSettings]\r\nCount=3\r\n";
	Write(DefaultGame, Before);
	Start();
	UWriterTestSettings* Settings = GetMutableDefault<UWriterTestSettings>();
	Settings->Count = 8;

	SetReadOnly(DefaultGame);
	bool bUpdated = true;
	std::string Log = CaptureLog([&] { bUpdated = Settings->TryUpdateDefaultConfigFile(); });
	EXPECT_FALSE(bUpdated);
	EXPECT_NE(Log.find(U8(Settings->GetDefaultConfigFilename())), std::string::npos) << Log;
	Log = CaptureLog([&] { bUpdated = Settings->TryUpdateDefaultConfigFile(TEXT(""), false); });
	EXPECT_FALSE(bUpdated);
	EXPECT_EQ(Log, "");
	EXPECT_EQ(Read(DefaultGame), Before);
	ASSERT_TRUE(FPlatformFileManager::Get().GetPlatformFile().SetReadOnly(*Path(DefaultGame), false));

	LockFolder("Project/Config");
	EXPECT_FALSE(Settings->TryUpdateDefaultConfigFile(TEXT(""), false));
	EXPECT_EQ(Read(DefaultGame), Before);
	UnlockFolders();
	EXPECT_TRUE(Settings->TryUpdateDefaultConfigFile());
	EXPECT_EQ(Cached(TEXT("Game"), TEXT("/Script/OrvexTests.WriterTestSettings"), TEXT("Count")), "8");
}

TEST_F(TryUpdateDefaultConfig, ASubclassSectionHoldsOnlyWhatDiffersFromItsParent)
{
	Start();
	UHostTestSettingsChild* Child = GetMutableDefault<UHostTestSettingsChild>();
	Child->IntValue = 99;
	Child->ChildValue = 12;
	Child->SharedPath = TEXT("/not/here");
	EXPECT_TRUE(Child->TryUpdateDefaultConfigFile());
	// globalconfig values belong to the declaring class's section, which this call leaves alone.
	EXPECT_EQ(Read(DefaultGame), "[/Script/OrvexTests.HostTestSettingsChild]\nChildValue=12\nIntValue=99\n");
}

TEST_F(TryUpdateDefaultConfig, EveryKindOfPropertyReadsBackAsItWasWritten)
{
	Start();
	UHostTestSettings* Settings = GetMutableDefault<UHostTestSettings>();
	Settings->Int8Value = -100;
	Settings->Int64Value = -9000000000000LL;
	Settings->UInt64Value = 18000000000000000000ULL;
	Settings->FloatValue = 0.125f;
	Settings->DoubleValue = 1234.5;
	Settings->ByteEnum = EReflectionMethod::None;
	Settings->EnumClass = EWorkingColorSpace::ACESAP1;
	Settings->bFlagA = 1;
	Settings->bFlagB = 0;
	Settings->bNative = true;
	Settings->Text = TEXT(" braces { and // and \"quotes\" ");
	Settings->Name = TEXT("Some Name");
	Settings->DisplayText = FText::FromString(TEXT("Shown \"text\""));
	Settings->SoftPath = FSoftObjectPath(TEXT("/Game/Maps/Main.Main"));
	Settings->SoftClass = FSoftClassPath(TEXT("/Game/BP/BP_GM.BP_GM_C"));
	Settings->SettingsClass = UHostTestSettingsChild::StaticClass();
	Settings->Vector = FVector(1.5, -2.0, 3.25);
	Settings->Color = FColor(1, 2, 3, 4);
	Settings->Numbers = {3, 1, 3};
	Settings->Strings = {TEXT("x y"), TEXT(""), TEXT(" lead"), TEXT("")};
	Settings->Mappings.SetNum(2);
	Settings->Mappings[0].AxisName = TEXT("MoveForward");
	Settings->Mappings[0].Scale = -1.0f;
	Settings->Mappings[1].AxisName = TEXT("Turn \"quoted\"");
	Settings->StaticInts[0] = 9;
	Settings->StaticInts[3] = -6;
	Settings->CVarEnum = EDynamicGlobalIlluminationMethod::Lumen;
	Settings->CVarFloat = 0.75f;

	TMap<FString, FString> Written;
	for (FProperty* Property = Settings->GetClass()->PropertyLink; Property; Property = Property->PropertyLinkNext)
	{
		for (int32 Index = 0; Index < Property->ArrayDim && Property->HasAnyPropertyFlags(CPF_Config); ++Index)
		{
			FString Text;
			Property->ExportText_InContainer(Index, Text, Settings, nullptr, Settings, PPF_None);
			Written.Add(FString::Printf(TEXT("%s[%d]"), *Property->GetName(), Index), Text);
		}
	}
	// Not config: a fresh default object shows it was built again, from the file.
	Settings->NotConfig = -1;
	ASSERT_TRUE(Settings->TryUpdateDefaultConfigFile());
	Restart();

	const UHostTestSettings* Reloaded = GetDefault<UHostTestSettings>();
	ASSERT_EQ(Reloaded->NotConfig, 7);
	for (FProperty* Property = Reloaded->GetClass()->PropertyLink; Property; Property = Property->PropertyLinkNext)
	{
		for (int32 Index = 0; Index < Property->ArrayDim && Property->HasAnyPropertyFlags(CPF_Config); ++Index)
		{
			FString Text;
			Property->ExportText_InContainer(Index, Text, Reloaded, nullptr, const_cast<UHostTestSettings*>(Reloaded), PPF_None);
			const FString Key = FString::Printf(TEXT("%s[%d]"), *Property->GetName(), Index);
			EXPECT_EQ(U8(Text), U8(Written.FindRef(Key))) << U8(Key) << "\n" << Read(DefaultGame);
		}
	}
}

using UpdateUserConfig = FConfigWriterTest;

TEST_F(UpdateUserConfig, GlobalUserFileIsCreatedWithItsFoldersThenEditedInPlace)
{
	Start();
	UAndroidSDKSettings* Settings = GetMutableDefault<UAndroidSDKSettings>();
	const std::string UserEngine = "User/Unreal Engine/Engine/Config/UserEngine.ini";
	EXPECT_EQ(U8(Settings->GetGlobalUserConfigFilename()), U8(Path(UserEngine)));
	Settings->SDKPath.Path = TEXT("/opt/android-sdk");
	Settings->SDKAPILevel = TEXT("latest");
	Settings->UpdateGlobalUserConfigFile();
	EXPECT_EQ(Read(UserEngine),
		"[/Script/AndroidPlatformEditor.AndroidSDKSettings]\n"
		"SDKPath=(Path=\"/opt/android-sdk\")\n"
		"NDKPath=(Path=\"\")\n"
		"JavaPath=(Path=\"\")\n"
		"SDKAPILevel=latest\n"
		"NDKAPILevel=\n");
	// The global user file is a layer of the category, so the cache has the value at once.
	EXPECT_EQ(Cached(TEXT("Engine"), TEXT("/Script/AndroidPlatformEditor.AndroidSDKSettings"), TEXT("SDKAPILevel")), "latest");

	// Someone else changes SDKAPILevel after our write; our next rewrite changes only NDKAPILevel
	// and must not put our older SDKAPILevel back.
	Write(UserEngine, "; mine\r\n[Other]\r\nA=1\r\n\r\n[/Script/AndroidPlatformEditor.AndroidSDKSettings]\r\nSDKAPILevel=old\r\n\r\n[Last]\r\nB=2\r\n");
	Settings->NDKAPILevel = TEXT("android-21");
	Settings->UpdateGlobalUserConfigFile();
	EXPECT_EQ(Read(UserEngine),
		"; mine\r\n[Other]\r\nA=1\r\n\r\n"
		"[/Script/AndroidPlatformEditor.AndroidSDKSettings]\r\n"
		"SDKPath=(Path=\"/opt/android-sdk\")\r\n"
		"NDKPath=(Path=\"\")\r\n"
		"JavaPath=(Path=\"\")\r\n"
		"SDKAPILevel=old\r\n"
		"NDKAPILevel=android-21\r\n"
		"\r\n[Last]\r\nB=2\r\n");
	EXPECT_EQ(U8(Settings->SDKAPILevel), "old");
}

TEST_F(UpdateUserConfig, ProjectUserFileHoldsTheSectionAndReloadsIntoTheClass)
{
	Write("Project/Config/DefaultEditor.ini", "[/Script/ContentBrowser.ContentBrowserProjectUserSettings]\nNumRecentFolders=20\n");
	Start();
	UContentBrowserProjectUserSettings* Settings = GetMutableDefault<UContentBrowserProjectUserSettings>();
	EXPECT_EQ(U8(Settings->GetProjectUserConfigFilename()), U8(Path("Project/Config/UserEditor.ini")));
	Settings->FavoriteFolders = {TEXT("/Game/Maps"), TEXT("/Game/UI")};
	Settings->bShowEngineContent = true;
	Settings->UpdateProjectUserConfigFile();
	EXPECT_EQ(Read("Project/Config/UserEditor.ini"),
		"[/Script/ContentBrowser.ContentBrowserProjectUserSettings]\n"
		"!FavoriteFolders=ClearArray\n"
		"+FavoriteFolders=/Game/Maps\n"
		"+FavoriteFolders=/Game/UI\n"
		"LastSelectedPath=\n"
		"bShowEngineContent=True\n"
		"NumRecentFolders=20\n");
	EXPECT_EQ(Read("Project/Config/DefaultEditor.ini"), "[/Script/ContentBrowser.ContentBrowserProjectUserSettings]\nNumRecentFolders=20\n");
	Restart();
	const UContentBrowserProjectUserSettings* Reloaded = GetDefault<UContentBrowserProjectUserSettings>();
	EXPECT_EQ(Reloaded->FavoriteFolders, TArray<FString>({TEXT("/Game/Maps"), TEXT("/Game/UI")}));
	EXPECT_TRUE(Reloaded->bShowEngineContent);
}

TEST_F(UpdateUserConfig, AFailedWriteLeavesTheUserFileByteIdentical)
{
	const std::string UserEditor = "Project/Config/UserEditor.ini";
	const std::string Before = "[/Script/ContentBrowser.ContentBrowserProjectUserSettings]\r\nNumRecentFolders=3\r\n";
	Write(UserEditor, Before);
	Start();
	UContentBrowserProjectUserSettings* Settings = GetMutableDefault<UContentBrowserProjectUserSettings>();
	Settings->NumRecentFolders = 5;
	SetReadOnly(UserEditor);
	const std::string Log = CaptureLog([&] { Settings->UpdateProjectUserConfigFile(); });
	EXPECT_NE(Log.find(U8(Path(UserEditor))), std::string::npos) << Log;
	EXPECT_EQ(Read(UserEditor), Before);
	EXPECT_EQ(Cached(TEXT("Editor"), TEXT("/Script/ContentBrowser.ContentBrowserProjectUserSettings"), TEXT("NumRecentFolders")), "3");
}
