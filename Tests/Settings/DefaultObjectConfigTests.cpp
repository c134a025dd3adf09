// Class default objects: made on first use from the parent's defaults and the merged config,
// keyed as the engine keys them.
#include "AndroidSDKSettings.h"
#include "Engine/RendererSettings.h"
#include "GameFramework/InputSettings.h"
#include "GameMapsSettings.h"
#include "GeneralProjectSettings.h"
#include "HAL/IConsoleManager.h"
#include "HostTestSettings.h"
#include "OrvexSettings.h"
#include "Settings/LevelEditorPlaySettings.h"
#include "SettingsTestSupport.h"

namespace
{
	const TCHAR* const RendererSection = TEXT("/Script/Engine.RendererSettings");
	const TCHAR* const TestSection = TEXT("/Script/OrvexTests.HostTestSettings");
	const TCHAR* const ChildSection = TEXT("/Script/OrvexTests.HostTestSettingsChild");
}

TEST(DefaultObjectConfig, RendererSettingsReadConsoleVariableKeys)
{
	FSettingsTestEnvironment Environment;
	Environment.SetValue(TEXT("Engine"), RendererSection, TEXT("r.RayTracing"), TEXT("True"));
	Environment.SetValue(TEXT("Engine"), RendererSection, TEXT("r.SkinCache.CompileShaders"), TEXT("True"));
	Environment.SetValue(TEXT("Engine"), RendererSection, TEXT("r.DynamicGlobalIlluminationMethod"), TEXT("1"));
	Environment.SetValue(TEXT("Engine"), RendererSection, TEXT("r.ReflectionMethod"), TEXT("2"));
	Environment.SetValue(TEXT("Engine"), RendererSection, TEXT("r.Shadow.Virtual.Enable"), TEXT("0"));
	Environment.SetValue(TEXT("Engine"), RendererSection, TEXT("r.GenerateMeshDistanceFields"), TEXT("False"));
	Environment.SetValue(TEXT("Engine"), RendererSection, TEXT("r.ReflectionCaptureResolution"), TEXT("256"));
	Environment.SetValue(TEXT("Engine"), RendererSection, TEXT("r.MinScreenRadiusForLights"), TEXT("0.060000"));
	Environment.SetValue(TEXT("Engine"), RendererSection, TEXT("TranslucentSortAxis"), TEXT("(X=1.000000,Y=0.000000,Z=0.000000)"));
	Environment.SetValue(TEXT("Engine"), RendererSection, TEXT("WorkingColorSpaceChoice"), TEXT("ACESAP1"));
	Environment.Start();

	const URendererSettings* Settings = GetDefault<URendererSettings>();
	EXPECT_EQ(Settings->bEnableRayTracing, 1u);
	EXPECT_EQ(Settings->bSupportSkinCacheShaders, 1u);
	EXPECT_EQ(Settings->DynamicGlobalIllumination, EDynamicGlobalIlluminationMethod::Lumen);
	EXPECT_EQ(Settings->Reflections, EReflectionMethod::ScreenSpace);
	EXPECT_EQ(Settings->ShadowMapMethod, EShadowMapMethod::ShadowMaps);
	EXPECT_EQ(Settings->bGenerateMeshDistanceFields, 0u);
	EXPECT_EQ(Settings->ReflectionCaptureResolution, 256);
	EXPECT_FLOAT_EQ(Settings->MinScreenRadiusForLights, 0.06f);
	EXPECT_EQ(Settings->TranslucentSortAxis, FVector(1.0, 0.0, 0.0));
	EXPECT_EQ(Settings->WorkingColorSpaceChoice, EWorkingColorSpace::ACESAP1);
	// Untouched keys keep the C++ defaults.
	EXPECT_EQ(Settings->bNanite, 1u);
	EXPECT_FLOAT_EQ(Settings->DistanceFieldVoxelDensity, 0.2f);
}

TEST(DefaultObjectConfig, PropertyNameKeysAndEnumNamesDoNotReachConsoleVariableProperties)
{
	FSettingsTestEnvironment Environment;
	// Old files may hold the property name; the editor reads only the variable's key.
	Environment.SetValue(TEXT("Engine"), RendererSection, TEXT("bEnableRayTracing"), TEXT("True"));
	// Under a variable's key an enum is a number; a name does not read.
	Environment.SetValue(TEXT("Engine"), RendererSection, TEXT("r.ReflectionMethod"), TEXT("Lumen"));
	Environment.SetValue(TEXT("Engine"), RendererSection, TEXT("r.ReflectionCaptureResolution"), TEXT("100"));
	Environment.Start();

	const URendererSettings* Settings = GetDefault<URendererSettings>();
	EXPECT_EQ(Settings->bEnableRayTracing, 0u);
	EXPECT_EQ(Settings->Reflections, EReflectionMethod::Lumen);
	// Reflection captures need a power of two.
	EXPECT_EQ(Settings->ReflectionCaptureResolution, 128);
}

TEST(DefaultObjectConfig, ArraysComeFromRepeatedKeysOrIndexedKeys)
{
	FSettingsTestEnvironment Environment;
	Environment.SetArray(TEXT("Input"), TEXT("/Script/Engine.InputSettings"), TEXT("ActionMappings"), {
		TEXT("(ActionName=\"Jump\",bShift=False,bCtrl=False,bAlt=False,bCmd=False,Key=SpaceBar)"),
		TEXT("(ActionName=\"QuickSave\",bShift=False,bCtrl=True,bAlt=False,bCmd=False,Key=S)")});
	Environment.SetArray(TEXT("Input"), TEXT("/Script/Engine.InputSettings"), TEXT("ConsoleKeys"), {TEXT("Tilde"), TEXT("F10")});
	Environment.SetValue(TEXT("Input"), TEXT("/Script/Engine.InputSettings"), TEXT("DefaultPlayerInputClass"), TEXT("/Script/EnhancedInput.EnhancedPlayerInput"));
	Environment.SetValue(TEXT("Input"), TEXT("/Script/Engine.InputSettings"), TEXT("DefaultViewportMouseCaptureMode"), TEXT("CaptureDuringMouseDown"));
	Environment.SetValue(TEXT("Input"), TEXT("/Script/Engine.InputSettings"), TEXT("bAltEnterTogglesFullscreen"), TEXT("False"));
	// Indexed keys are read up to the first gap past the end of the array.
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("Numbers[0]"), TEXT("5"));
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("Numbers[1]"), TEXT("6"));
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("Numbers[3]"), TEXT("8"));
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("StaticInts[1]"), TEXT("20"));
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("StaticInts[3]"), TEXT("40"));
	Environment.Start();

	const UInputSettings* Input = GetDefault<UInputSettings>();
	ASSERT_EQ(Input->ActionMappings.Num(), 2);
	EXPECT_EQ(U8(Input->ActionMappings[0].ActionName.ToString()), "Jump");
	EXPECT_EQ(U8(Input->ActionMappings[0].Key.ToString()), "SpaceBar");
	EXPECT_EQ(Input->ActionMappings[1].bCtrl, 1);
	ASSERT_EQ(Input->ConsoleKeys.Num(), 2);
	EXPECT_EQ(U8(Input->ConsoleKeys[1].ToString()), "F10");
	EXPECT_EQ(U8(Input->DefaultPlayerInputClass.ToString()), "/Script/EnhancedInput.EnhancedPlayerInput");
	EXPECT_EQ(Input->DefaultViewportMouseCaptureMode, EMouseCaptureMode::CaptureDuringMouseDown);
	EXPECT_EQ(Input->bAltEnterTogglesFullscreen, 0);
	EXPECT_EQ(Input->bF11TogglesFullscreen, 1);
	EXPECT_TRUE(Input->AxisMappings.IsEmpty());

	const UHostTestSettings* Test = GetDefault<UHostTestSettings>();
	EXPECT_EQ(Test->Numbers, (TArray<int32>{5, 6}));
	EXPECT_EQ(Test->StaticInts[0], 1);
	EXPECT_EQ(Test->StaticInts[1], 20);
	EXPECT_EQ(Test->StaticInts[2], 3);
	EXPECT_EQ(Test->StaticInts[3], 40);
}

TEST(DefaultObjectConfig, ChildrenStartFromTheirParentAndGlobalConfigStaysWithTheDeclaringClass)
{
	FSettingsTestEnvironment Environment;
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("IntValue"), TEXT("100"));
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("Text"), TEXT("From parent"));
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("SharedPath"), TEXT("/opt/shared"));
	Environment.SetValue(TEXT("Game"), ChildSection, TEXT("Text"), TEXT("From child"));
	Environment.SetValue(TEXT("Game"), ChildSection, TEXT("SharedPath"), TEXT("/ignored"));
	Environment.SetValue(TEXT("Game"), ChildSection, TEXT("ChildValue"), TEXT("12"));
	Environment.Start();

	const UHostTestSettingsChild* Child = GetDefault<UHostTestSettingsChild>();
	EXPECT_EQ(Child->IntValue, 100);
	EXPECT_EQ(U8(Child->Text), "From child");
	EXPECT_EQ(U8(Child->SharedPath), "/opt/shared");
	EXPECT_EQ(Child->ChildValue, 12);
	EXPECT_EQ(U8(GetDefault<UHostTestSettings>()->Text), "From parent");

	// Objects made later start from the default object.
	UHostTestSettingsChild* Instance = NewObject<UHostTestSettingsChild>();
	ASSERT_NE(Instance, nullptr);
	EXPECT_EQ(Instance->ChildValue, 12);
	EXPECT_EQ(U8(Instance->Text), "From child");
	EXPECT_FALSE(Instance->HasAnyFlags(RF_ClassDefaultObject));
	EXPECT_EQ(Instance->GetArchetype(), Child);
}

TEST(DefaultObjectConfig, BadValuesLeaveTheDefaultsAndNothingElse)
{
	FSettingsTestEnvironment Environment;
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("IntValue"), TEXT("not a number"));
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("bFlagB"), TEXT("perhaps"));
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("Vector"), TEXT("(X=1"));
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("FloatValue"), TEXT("2.5"));
	Environment.Start();

	const UHostTestSettings* Test = GetDefault<UHostTestSettings>();
	EXPECT_EQ(Test->IntValue, 32);
	EXPECT_EQ(Test->bFlagB, 1u);
	EXPECT_EQ(Test->Vector, FVector(0.0, -1.0, 0.0));
	EXPECT_FLOAT_EQ(Test->FloatValue, 2.5f);
}

TEST(DefaultObjectConfig, DeveloperSettingsPushTheirValuesToConsoleVariablesOnLoad)
{
	FSettingsTestEnvironment Environment;
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("test.Int"), TEXT("9"));
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("test.Float"), TEXT("0.75"));
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("test.Enum"), TEXT("1"));
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("test.ReadOnly"), TEXT("True"));
	Environment.SetValue(TEXT("Game"), TestSection, TEXT("test.Name"), TEXT("Beta"));
	Environment.Start();

	IConsoleManager& Manager = IConsoleManager::Get();
	// Someone with a higher priority got there first.
	Manager.FindConsoleVariable(TEXT("test.Float"))->Set(TEXT("0.5"), ECVF_SetByCommandline);
	EXPECT_EQ(Manager.FindConsoleVariable(TEXT("test.Int"))->GetInt(), 3);

	const UHostTestSettings* Test = GetDefault<UHostTestSettings>();
	EXPECT_EQ(Test->CVarInt, 9);
	EXPECT_EQ(Test->bCVarReadOnly, 1u);

	IConsoleVariable* Int = Manager.FindConsoleVariable(TEXT("test.Int"));
	EXPECT_EQ(Int->GetInt(), 9);
	EXPECT_EQ(static_cast<uint32>(Int->GetFlags()) & ECVF_SetByMask, static_cast<uint32>(ECVF_SetByProjectSetting));
	EXPECT_FLOAT_EQ(Manager.FindConsoleVariable(TEXT("test.Float"))->GetFloat(), 0.5f);
	EXPECT_EQ(Manager.FindConsoleVariable(TEXT("test.Enum"))->GetInt(), 1);
	EXPECT_EQ(U8(Manager.FindConsoleVariable(TEXT("test.Name"))->GetString()), "Beta");
	// Read-only variables are left to the ini at boot.
	EXPECT_EQ(Manager.FindConsoleVariable(TEXT("test.ReadOnly"))->GetInt(), 0);
}

TEST(DefaultObjectConfig, EachSettingsClassReadsItsOwnCategoryAndSection)
{
	FSettingsTestEnvironment Environment;
	Environment.SetValue(TEXT("Editor"), TEXT("/Script/OrvexCore.OrvexSettings"), TEXT("bEnableConfig"), TEXT("False"));
	Environment.SetValue(TEXT("Engine"), TEXT("/Script/EngineSettings.GameMapsSettings"), TEXT("GlobalDefaultGameMode"), TEXT("/Script/SampleProject.SampleGameMode"));
	Environment.SetValue(TEXT("Engine"), TEXT("/Script/EngineSettings.GameMapsSettings"), TEXT("GameDefaultMap"), TEXT("/Game/Maps/Main.Main"));
	Environment.SetValue(TEXT("Engine"), TEXT("/Script/EngineSettings.GameMapsSettings"), TEXT("TransitionMap"), TEXT("None"));
	Environment.SetValue(TEXT("Engine"), TEXT("/Script/EngineSettings.GameMapsSettings"), TEXT("TwoPlayerSplitscreenLayout"), TEXT("Vertical"));
	Environment.SetArray(TEXT("Engine"), TEXT("/Script/EngineSettings.GameMapsSettings"), TEXT("GameModeMapPrefixes"), {TEXT("(Name=\"DM-\",GameMode=\"/Script/SampleProject.SampleGameMode\")")});
	Environment.SetValue(TEXT("Game"), TEXT("/Script/EngineSettings.GeneralProjectSettings"), TEXT("ProjectID"), TEXT("B069C6469732458981C49E5E228F4DB5"));
	Environment.SetValue(TEXT("Game"), TEXT("/Script/EngineSettings.GeneralProjectSettings"), TEXT("CopyrightNotice"), TEXT("Copyright Sample Studio. All rights reserved."));
	Environment.SetValue(TEXT("Game"), TEXT("/Script/EngineSettings.GeneralProjectSettings"), TEXT("ProjectDisplayedTitle"), TEXT("NSLOCTEXT(\"[/Script/EngineSettings]\", \"5C2D8E1F7A3B4C6D9E0F1A2B3C4D5E6F\", \"Sample Project\")"));
	Environment.SetValue(TEXT("EditorPerProjectUserSettings"), TEXT("/Script/UnrealEd.LevelEditorPlaySettings"), TEXT("PlayNetMode"), TEXT("PIE_ListenServer"));
	Environment.SetValue(TEXT("EditorPerProjectUserSettings"), TEXT("/Script/UnrealEd.LevelEditorPlaySettings"), TEXT("ServerPort"), TEXT("18000"));
	Environment.SetValue(TEXT("EditorPerProjectUserSettings"), TEXT("/Script/UnrealEd.LevelEditorPlaySettings"), TEXT("LastExecutedPlayModeType"), TEXT("PlayMode_InEditorFloating"));
	Environment.SetValue(TEXT("Engine"), TEXT("/Script/AndroidPlatformEditor.AndroidSDKSettings"), TEXT("SDKPath"), TEXT("(Path=\"/opt/android-sdk\")"));
	Environment.Start();

	EXPECT_FALSE(GetDefault<UOrvexSettings>()->bEnableConfig);
	EXPECT_EQ(U8(UGameMapsSettings::GetGlobalDefaultGameMode()), "/Script/SampleProject.SampleGameMode");
	EXPECT_EQ(U8(UGameMapsSettings::GetGameDefaultMap()), "/Game/Maps/Main");
	const UGameMapsSettings* Maps = GetDefault<UGameMapsSettings>();
	EXPECT_TRUE(Maps->TransitionMap.IsNull());
	EXPECT_EQ(Maps->TwoPlayerSplitscreenLayout, ETwoPlayerSplitScreenType::Vertical);
	ASSERT_EQ(Maps->GameModeMapPrefixes.Num(), 1);
	EXPECT_EQ(U8(Maps->GameModeMapPrefixes[0].Name), "DM-");
	EXPECT_EQ(U8(Maps->GameModeMapPrefixes[0].GameMode.ToString()), "/Script/SampleProject.SampleGameMode");

	const UGeneralProjectSettings* General = GetDefault<UGeneralProjectSettings>();
	EXPECT_EQ(U8(General->ProjectID.ToString()), "B069C6469732458981C49E5E228F4DB5");
	EXPECT_EQ(U8(General->CopyrightNotice), "Copyright Sample Studio. All rights reserved.");
	EXPECT_EQ(U8(General->ProjectDisplayedTitle.ToString()), "Sample Project");
	EXPECT_TRUE(General->bAllowClose);

	const ULevelEditorPlaySettings* Play = GetDefault<ULevelEditorPlaySettings>();
	EXPECT_EQ(Play->PlayNetMode, PIE_ListenServer);
	EXPECT_EQ(Play->ServerPort, 18000);
	EXPECT_EQ(Play->LastExecutedPlayModeType, PlayMode_InEditorFloating);
	EXPECT_EQ(U8(GetDefault<UAndroidSDKSettings>()->SDKPath.Path), "/opt/android-sdk");
}

TEST(DefaultObjectConfig, DefaultObjectsAreMadeOnceAndOnlyWhenAsked)
{
	FSettingsTestEnvironment Environment;
	Environment.Start();
	UClass* Class = UGeneralProjectSettings::StaticClass();
	EXPECT_EQ(Class->GetDefaultObject(false), nullptr);
	UObject* Default = Class->GetDefaultObject();
	ASSERT_NE(Default, nullptr);
	EXPECT_EQ(Class->GetDefaultObject(false), Default);
	EXPECT_EQ(GetDefault<UGeneralProjectSettings>(), Default);
	EXPECT_EQ(Class->GetDefaultObject<UGeneralProjectSettings>(), Default);
	EXPECT_EQ(StaticFindObject(UGeneralProjectSettings::StaticClass(), nullptr, TEXT("/Script/EngineSettings.Default__GeneralProjectSettings")), Default);
}
