// Finding classes and properties the way the settings actions do, and what classes report about
// themselves: flags, metadata, paths and config file names.
#include "AndroidSDKSettings.h"
#include "Engine/RendererSettings.h"
#include "GameFramework/InputSettings.h"
#include "GameMapsSettings.h"
#include "GeneralProjectSettings.h"
#include "HostTestSettings.h"
#include "OrvexSettings.h"
#include "Settings/ContentBrowserProjectUserSettings.h"
#include "Settings/LevelEditorPlaySettings.h"
#include "SettingsTestSupport.h"
#include "Templates/Casts.h"
#include "UObject/EnumProperty.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"

namespace
{
	UClass* FindClassByShortName(const TCHAR* Name, EFindFirstObjectOptions Options = EFindFirstObjectOptions::NativeFirst)
	{
		return Cast<UClass>(StaticFindFirstObject(UClass::StaticClass(), Name, Options, ELogVerbosity::NoLogging));
	}
}

using ClassLookup = FSettingsTest;

TEST_F(ClassLookup, FindsClassesByFullPathAndShortName)
{
	UObject* ByPath = StaticFindObject(UClass::StaticClass(), nullptr, TEXT("/Script/Engine.RendererSettings"));
	EXPECT_EQ(ByPath, URendererSettings::StaticClass());
	EXPECT_EQ(FindClassByShortName(TEXT("RendererSettings")), URendererSettings::StaticClass());
	EXPECT_EQ(FindClassByShortName(TEXT("GameMapsSettings")), UGameMapsSettings::StaticClass());
	EXPECT_EQ(FindClassByShortName(TEXT("OrvexSettings")), UOrvexSettings::StaticClass());
	// Names compare as FNames: letter case does not matter.
	EXPECT_EQ(FindClassByShortName(TEXT("renderersettings")), URendererSettings::StaticClass());
	EXPECT_EQ(StaticFindObject(UClass::StaticClass(), nullptr, FStringView(FString(TEXT("/script/engine.RENDERERSETTINGS")))), URendererSettings::StaticClass());
}

TEST_F(ClassLookup, MissesWhatIsNotThereOrNotAClass)
{
	EXPECT_EQ(FindClassByShortName(TEXT("URendererSettings")), nullptr);
	EXPECT_EQ(FindClassByShortName(TEXT("NoSuchSettings")), nullptr);
	EXPECT_EQ(FindClassByShortName(TEXT("")), nullptr);
	// A path whose package is wrong finds nothing; a short name is not a path.
	EXPECT_EQ(StaticFindObject(UClass::StaticClass(), nullptr, TEXT("/Script/Wrong.RendererSettings")), nullptr);
	EXPECT_EQ(StaticFindObject(UClass::StaticClass(), nullptr, TEXT("RendererSettings")), nullptr);
	EXPECT_EQ(StaticFindObject(UClass::StaticClass(), nullptr, TEXT("/Script/Engine.")), nullptr);
	// The package exists but is not a class; the enum is not a class either.
	EXPECT_NE(StaticFindObject(nullptr, nullptr, TEXT("/Script/Engine")), nullptr);
	EXPECT_EQ(StaticFindObject(UClass::StaticClass(), nullptr, TEXT("/Script/Engine")), nullptr);
	EXPECT_EQ(FindClassByShortName(TEXT("EReflectionMethod")), nullptr);
	EXPECT_EQ(StaticFindFirstObject(UEnum::StaticClass(), TEXT("EReflectionMethod")), StaticEnum<EReflectionMethod::Type>());
}

TEST_F(ClassLookup, NativeFirstPrefersTheScriptClassOverAnEarlierNamesake)
{
	// A class made at run time (as a Blueprint would be) in a content package, named like a native one.
	UPackage* GamePackage = CreatePackage(TEXT("/Game/Blueprints/Shadow"));
	UClass* GameClass = NewObject<UClass>(GamePackage, FName(TEXT("RendererSettings")));
	ASSERT_NE(GameClass, nullptr);
	GameClass->SetSuperStruct(URendererSettings::StaticClass());
	EXPECT_FALSE(GameClass->HasAnyClassFlags(CLASS_Native));

	// The native class was registered first, so it wins either way; the content class is still
	// reachable by its own path.
	EXPECT_EQ(FindClassByShortName(TEXT("RendererSettings")), URendererSettings::StaticClass());
	EXPECT_EQ(FindClassByShortName(TEXT("RendererSettings"), EFindFirstObjectOptions::None), URendererSettings::StaticClass());
	EXPECT_EQ(StaticFindObject(UClass::StaticClass(), nullptr, TEXT("/Game/Blueprints/Shadow.RendererSettings")), GameClass);
	// ExactClass still accepts it: both objects are classes.
	EXPECT_EQ(FindClassByShortName(TEXT("RendererSettings"), EFindFirstObjectOptions::NativeFirst | EFindFirstObjectOptions::ExactClass), URendererSettings::StaticClass());
}

TEST_F(ClassLookup, NativeFirstDecidesWhenTheContentClassCameFirst)
{
	UPackage* GamePackage = CreatePackage(TEXT("/Game/Blueprints/First"));
	UClass* GameClass = NewObject<UClass>(GamePackage, FName(TEXT("LateNativeSettings")));
	ASSERT_NE(GameClass, nullptr);
	// A second native-looking class appears after it, flagged native and living in /Script.
	UClass* NativeClass = NewObject<UClass>(CreatePackage(TEXT("/Script/LateModule")), FName(TEXT("LateNativeSettings")));
	ASSERT_NE(NativeClass, nullptr);
	NativeClass->ClassFlags |= CLASS_Native;

	EXPECT_EQ(FindClassByShortName(TEXT("LateNativeSettings"), EFindFirstObjectOptions::None), GameClass);
	EXPECT_EQ(FindClassByShortName(TEXT("LateNativeSettings"), EFindFirstObjectOptions::NativeFirst), NativeClass);
	EXPECT_EQ(FindClassByShortName(TEXT("/Script/LateModule.LateNativeSettings"), EFindFirstObjectOptions::None), NativeClass);
}

TEST_F(ClassLookup, NamesAndPathsFollowTheEngine)
{
	UClass* Class = URendererSettings::StaticClass();
	EXPECT_EQ(U8(Class->GetName()), "RendererSettings");
	EXPECT_EQ(U8(Class->GetPathName()), "/Script/Engine.RendererSettings");
	EXPECT_EQ(U8(Class->GetFullName()), "Class /Script/Engine.RendererSettings");
	EXPECT_EQ(U8(Class->GetOutermost()->GetName()), "/Script/Engine");
	EXPECT_EQ(Class->GetPackage(), Class->GetOutermost());
	EXPECT_EQ(Class->GetClass(), UClass::StaticClass());
	EXPECT_EQ(U8(Class->GetClassPathName().ToString()), "/Script/Engine.RendererSettings");
	EXPECT_TRUE(Class->GetClassPathName().GetPackageName() == FName(TEXT("/Script/Engine")));
	EXPECT_EQ(U8(UGameMapsSettings::StaticClass()->GetPathName()), "/Script/EngineSettings.GameMapsSettings");
	EXPECT_EQ(U8(UOrvexSettings::StaticClass()->GetPathName()), "/Script/OrvexCore.OrvexSettings");

	const UObject* Default = Class->GetDefaultObject();
	EXPECT_EQ(U8(Default->GetPathName()), "/Script/Engine.Default__RendererSettings");
	EXPECT_TRUE(Default->HasAnyFlags(RF_ClassDefaultObject));
	EXPECT_TRUE(Default->IsTemplate());
	EXPECT_EQ(Default->GetClass(), Class);
}

TEST_F(ClassLookup, InheritanceIncludesTheClassItself)
{
	UClass* Renderer = URendererSettings::StaticClass();
	EXPECT_TRUE(Renderer->IsChildOf(Renderer));
	EXPECT_TRUE(Renderer->IsChildOf(UDeveloperSettings::StaticClass()));
	EXPECT_TRUE(Renderer->IsChildOf<UObject>());
	EXPECT_FALSE(UDeveloperSettings::StaticClass()->IsChildOf(Renderer));
	EXPECT_FALSE(UGameMapsSettings::StaticClass()->IsChildOf<UDeveloperSettings>());
	EXPECT_FALSE(Renderer->IsChildOf(nullptr));
	EXPECT_EQ(Renderer->GetSuperClass(), UDeveloperSettings::StaticClass());
	EXPECT_TRUE(GetDefault<URendererSettings>()->IsA<UDeveloperSettings>());
	EXPECT_EQ(Cast<UGameMapsSettings>(GetMutableDefault<URendererSettings>()), nullptr);
}

using PropertyLookup = FSettingsTest;

TEST_F(PropertyLookup, IgnoresCaseAndWalksParentClasses)
{
	UClass* Class = URendererSettings::StaticClass();
	FProperty* Exact = Class->FindPropertyByName(FName(TEXT("bEnableRayTracing")));
	ASSERT_NE(Exact, nullptr);
	EXPECT_EQ(Class->FindPropertyByName(FName(TEXT("benableraytracing"))), Exact);
	// The declared spelling is kept whatever spelling found it.
	EXPECT_EQ(U8(Class->FindPropertyByName(FName(TEXT("BENABLERAYTRACING")))->GetName()), "bEnableRayTracing");
	EXPECT_EQ(Class->FindPropertyByName(FName(TEXT("NoSuchProperty"))), nullptr);

	UClass* Child = UHostTestSettingsChild::StaticClass();
	FProperty* Inherited = Child->FindPropertyByName(FName(TEXT("intvalue")));
	ASSERT_NE(Inherited, nullptr);
	EXPECT_EQ(Inherited, UHostTestSettings::StaticClass()->FindPropertyByName(FName(TEXT("IntValue"))));
	EXPECT_EQ(Inherited->GetOwnerClass(), UHostTestSettings::StaticClass());
	EXPECT_NE(Child->FindPropertyByName(FName(TEXT("ChildValue"))), nullptr);
	EXPECT_EQ(UHostTestSettings::StaticClass()->FindPropertyByName(FName(TEXT("ChildValue"))), nullptr);
}

TEST_F(PropertyLookup, IteratesOwnPropertiesFirstInDeclarationOrder)
{
	TArray<FString> Names;
	for (TFieldIterator<FProperty> It(UHostTestSettingsChild::StaticClass()); It; ++It)
	{
		Names.Add(It->GetName());
	}
	ASSERT_GT(Names.Num(), 3);
	EXPECT_EQ(U8(Names[0]), "ChildValue");
	EXPECT_EQ(U8(Names[1]), "Int8Value");
	EXPECT_EQ(U8(Names[2]), "Int16Value");
	EXPECT_EQ(U8(Names.Last()), "SharedPath");

	int32 OwnOnly = 0;
	for (TFieldIterator<FProperty> It(UHostTestSettingsChild::StaticClass(), EFieldIteratorFlags::ExcludeSuper); It; ++It)
	{
		++OwnOnly;
	}
	EXPECT_EQ(OwnOnly, 1);
}

TEST_F(PropertyLookup, KindsFollowTheCppTypes)
{
	UClass* Class = URendererSettings::StaticClass();
	const FBoolProperty* RayTracing = CastField<FBoolProperty>(Class->FindPropertyByName(FName(TEXT("bEnableRayTracing"))));
	ASSERT_NE(RayTracing, nullptr);
	EXPECT_FALSE(RayTracing->IsNativeBool());
	const FByteProperty* Gi = CastField<FByteProperty>(Class->FindPropertyByName(FName(TEXT("DynamicGlobalIllumination"))));
	ASSERT_NE(Gi, nullptr);
	EXPECT_TRUE(Gi->IsEnum());
	EXPECT_EQ(Gi->GetIntPropertyEnum(), StaticEnum<EDynamicGlobalIlluminationMethod::Type>());
	EXPECT_NE(CastField<FNumericProperty>(Gi), nullptr);
	EXPECT_NE(CastField<FIntProperty>(Class->FindPropertyByName(FName(TEXT("ReflectionCaptureResolution")))), nullptr);
	const FNumericProperty* Float = CastField<FNumericProperty>(Class->FindPropertyByName(FName(TEXT("MinScreenRadiusForLights"))));
	ASSERT_NE(Float, nullptr);
	EXPECT_TRUE(Float->IsFloatingPoint());
	EXPECT_FALSE(Float->IsInteger());
	EXPECT_NE(CastField<FStructProperty>(Class->FindPropertyByName(FName(TEXT("TranslucentSortAxis")))), nullptr);
	const FEnumProperty* ColorSpace = CastField<FEnumProperty>(Class->FindPropertyByName(FName(TEXT("WorkingColorSpaceChoice"))));
	ASSERT_NE(ColorSpace, nullptr);
	EXPECT_NE(CastField<FByteProperty>(ColorSpace->GetUnderlyingProperty()), nullptr);
	EXPECT_EQ(ColorSpace->GetEnum(), StaticEnum<EWorkingColorSpace>());
	// A property of one kind is no other.
	EXPECT_EQ(CastField<FBoolProperty>(ColorSpace), nullptr);
	EXPECT_EQ(CastField<FArrayProperty>(RayTracing), nullptr);

	const FArrayProperty* Mappings = CastField<FArrayProperty>(UInputSettings::StaticClass()->FindPropertyByName(FName(TEXT("ActionMappings"))));
	ASSERT_NE(Mappings, nullptr);
	const FStructProperty* Inner = CastField<FStructProperty>(Mappings->Inner);
	ASSERT_NE(Inner, nullptr);
	EXPECT_EQ(Inner->Struct, FInputActionKeyMapping::StaticStruct());
	EXPECT_EQ(U8(Mappings->GetCPPType()), "TArray<FInputActionKeyMapping>");

	const FProperty* StaticInts = UHostTestSettings::StaticClass()->FindPropertyByName(FName(TEXT("StaticInts")));
	ASSERT_NE(StaticInts, nullptr);
	EXPECT_EQ(StaticInts->ArrayDim, 4);
	EXPECT_EQ(StaticInts->ArrayDim, 4);
}

TEST_F(PropertyLookup, ContainerPointersReachTheMembers)
{
	URendererSettings* Settings = GetMutableDefault<URendererSettings>();
	const FProperty* Resolution = URendererSettings::StaticClass()->FindPropertyByName(FName(TEXT("ReflectionCaptureResolution")));
	EXPECT_EQ(Resolution->ContainerPtrToValuePtr<int32>(Settings), &Settings->ReflectionCaptureResolution);

	UHostTestSettings* Test = GetMutableDefault<UHostTestSettings>();
	const FProperty* StaticInts = UHostTestSettings::StaticClass()->FindPropertyByName(FName(TEXT("StaticInts")));
	EXPECT_EQ(StaticInts->ContainerPtrToValuePtr<int32>(Test, 2), &Test->StaticInts[2]);

	// Bitfields share a word; each property touches only its own bit.
	const FBoolProperty* FlagA = CastField<FBoolProperty>(UHostTestSettings::StaticClass()->FindPropertyByName(FName(TEXT("bFlagA"))));
	const FBoolProperty* FlagB = CastField<FBoolProperty>(UHostTestSettings::StaticClass()->FindPropertyByName(FName(TEXT("bFlagB"))));
	Test->bFlagA = 0;
	Test->bFlagB = 1;
	Test->bFlagC = 0;
	FlagA->SetPropertyValue_InContainer(Test, true);
	EXPECT_EQ(Test->bFlagA, 1u);
	EXPECT_EQ(Test->bFlagB, 1u);
	EXPECT_EQ(Test->bFlagC, 0u);
	FlagB->SetPropertyValue_InContainer(Test, false);
	EXPECT_EQ(Test->bFlagA, 1u);
	EXPECT_EQ(Test->bFlagB, 0u);
	EXPECT_TRUE(FlagA->GetPropertyValue_InContainer(Test));
	EXPECT_FALSE(FlagB->GetPropertyValue_InContainer(Test));
}

using ClassFlagsAndMetadata = FSettingsTest;

TEST_F(ClassFlagsAndMetadata, ConfigFlavoursMatchTheirClasses)
{
	const UClass* Renderer = URendererSettings::StaticClass();
	EXPECT_TRUE(Renderer->HasAnyClassFlags(CLASS_Config));
	EXPECT_TRUE(Renderer->HasAllClassFlags(CLASS_Config | CLASS_DefaultConfig | CLASS_Native));
	EXPECT_TRUE(Renderer->ClassConfigName == FName(TEXT("Engine")));
	EXPECT_TRUE(UInputSettings::StaticClass()->ClassConfigName == FName(TEXT("Input")));
	EXPECT_TRUE(UGeneralProjectSettings::StaticClass()->ClassConfigName == FName(TEXT("Game")));

	const UClass* PlaySettings = ULevelEditorPlaySettings::StaticClass();
	EXPECT_TRUE(PlaySettings->HasAnyClassFlags(CLASS_Config));
	EXPECT_FALSE(PlaySettings->HasAnyClassFlags(CLASS_DefaultConfig | CLASS_GlobalUserConfig | CLASS_ProjectUserConfig));
	EXPECT_TRUE(UAndroidSDKSettings::StaticClass()->HasAllClassFlags(CLASS_Config | CLASS_GlobalUserConfig));
	EXPECT_TRUE(UContentBrowserProjectUserSettings::StaticClass()->HasAllClassFlags(CLASS_Config | CLASS_ProjectUserConfig));

	// Config flags and the config name pass to subclasses.
	EXPECT_TRUE(UHostTestSettingsChild::StaticClass()->HasAllClassFlags(CLASS_Config | CLASS_DefaultConfig));
	EXPECT_TRUE(UHostTestSettingsChild::StaticClass()->ClassConfigName == FName(TEXT("Game")));
	EXPECT_TRUE(UDeveloperSettings::StaticClass()->HasAnyClassFlags(CLASS_Abstract));
	EXPECT_FALSE(URendererSettings::StaticClass()->HasAnyClassFlags(CLASS_Abstract));
	EXPECT_FALSE(UObject::StaticClass()->HasAnyClassFlags(CLASS_Config));
}

TEST_F(ClassFlagsAndMetadata, PropertyFlagsAndMetadata)
{
	const UClass* Class = URendererSettings::StaticClass();
	const FProperty* RayTracing = Class->FindPropertyByName(FName(TEXT("bEnableRayTracing")));
	EXPECT_TRUE(RayTracing->HasAnyPropertyFlags(CPF_Config));
	EXPECT_TRUE(RayTracing->HasAllPropertyFlags(CPF_Config | CPF_Edit));
	EXPECT_FALSE(RayTracing->HasAnyPropertyFlags(CPF_GlobalConfig | CPF_Transient));
	EXPECT_EQ(U8(RayTracing->GetMetaData(TEXT("ConsoleVariable"))), "r.RayTracing");
	EXPECT_EQ(U8(RayTracing->GetMetaData(FName(TEXT("ConfigRestartRequired")))), "true");
	EXPECT_TRUE(RayTracing->HasMetaData(TEXT("ConsoleVariable")));
	// Metadata keys are names: their case does not matter.
	EXPECT_TRUE(RayTracing->HasMetaData(TEXT("consolevariable")));
	EXPECT_EQ(RayTracing->FindMetaData(TEXT("NoSuchKey")), nullptr);
	EXPECT_TRUE(RayTracing->GetMetaData(TEXT("NoSuchKey")).IsEmpty());

	const FProperty* Axis = Class->FindPropertyByName(FName(TEXT("TranslucentSortAxis")));
	EXPECT_FALSE(Axis->HasMetaData(TEXT("ConsoleVariable")));
	EXPECT_FALSE(Axis->HasMetaData(TEXT("ConfigRestartRequired")));
	EXPECT_TRUE(Class->FindPropertyByName(FName(TEXT("WorkingColorSpaceChoice")))->HasMetaData(TEXT("ConfigRestartRequired")));

	EXPECT_FALSE(UHostTestSettings::StaticClass()->FindPropertyByName(FName(TEXT("NotConfig")))->HasAnyPropertyFlags(CPF_Config));
	EXPECT_TRUE(UAndroidSDKSettings::StaticClass()->FindPropertyByName(FName(TEXT("SDKPath")))->HasAllPropertyFlags(CPF_Config | CPF_GlobalConfig));

	EXPECT_EQ(U8(Class->GetMetaData(TEXT("DisplayName"))), "Rendering");
	const UEnum* Gi = StaticEnum<EDynamicGlobalIlluminationMethod::Type>();
	EXPECT_EQ(U8(Gi->GetMetaData(TEXT("DisplayName"), Gi->GetIndexByValue(2))), "Screen Space (Beta)");
	EXPECT_TRUE(Gi->HasMetaData(TEXT("Hidden"), Gi->GetIndexByValue(3)));
	EXPECT_FALSE(Gi->HasMetaData(TEXT("Hidden"), Gi->GetIndexByValue(1)));
}

TEST_F(ClassFlagsAndMetadata, OrvexSettingsAreListedUnderPluginsKestrow)
{
	const UOrvexSettings* Settings = GetDefault<UOrvexSettings>();
	EXPECT_TRUE(Settings->GetContainerName() == FName(TEXT("Project")));
	EXPECT_TRUE(Settings->GetCategoryName() == FName(TEXT("Plugins")));
	EXPECT_TRUE(Settings->GetSectionName() == FName(TEXT("OrvexSettings")));
	EXPECT_EQ(U8(Settings->GetSectionText().ToString()), "Kestrow");
	const FProperty* Enable = UOrvexSettings::StaticClass()->FindPropertyByName(FName(TEXT("bEnableConfig")));
	ASSERT_NE(Enable, nullptr);
	EXPECT_EQ(U8(Enable->GetMetaData(TEXT("Category"))), "Modules");
	EXPECT_EQ(U8(Enable->GetMetaData(TEXT("DisplayName"))), "Enable Config");
	EXPECT_TRUE(Enable->HasAllPropertyFlags(CPF_Config | CPF_Edit));
	EXPECT_TRUE(UOrvexSettings::StaticClass()->HasAllClassFlags(CLASS_Config | CLASS_DefaultConfig));
	EXPECT_TRUE(UOrvexSettings::StaticClass()->ClassConfigName == FName(TEXT("Editor")));
	// Nothing in the config: the C++ default stands.
	EXPECT_TRUE(Settings->bEnableConfig);
}

TEST_F(ClassFlagsAndMetadata, DeveloperSettingsPlacementFollowsTheConfigName)
{
	EXPECT_TRUE(GetDefault<URendererSettings>()->GetContainerName() == FName(TEXT("Project")));
	EXPECT_TRUE(GetDefault<URendererSettings>()->GetCategoryName() == FName(TEXT("Engine")));
	EXPECT_TRUE(GetDefault<URendererSettings>()->GetSectionName() == FName(TEXT("Rendering")));
	EXPECT_TRUE(GetDefault<UInputSettings>()->GetCategoryName() == FName(TEXT("Engine")));
	EXPECT_TRUE(GetDefault<UInputSettings>()->GetSectionName() == FName(TEXT("InputSettings")));
	// Game config lands under Game.
	EXPECT_TRUE(GetDefault<UHostTestSettings>()->GetCategoryName() == FName(TEXT("Game")));
}

TEST_F(ClassFlagsAndMetadata, ConfigFileNamesPointIntoTheProjectAndUserFolders)
{
	const FString ProjectConfig = FString(Environment->GetRoot().u16string().c_str()) + TEXT("/Project/Config/");
	const FString UserFolder = FString(Environment->GetRoot().u16string().c_str()) + TEXT("/User/");
	EXPECT_EQ(U8(GetDefault<URendererSettings>()->GetDefaultConfigFilename()), U8(ProjectConfig + TEXT("DefaultEngine.ini")));
	EXPECT_EQ(U8(GetDefault<UInputSettings>()->GetDefaultConfigFilename()), U8(ProjectConfig + TEXT("DefaultInput.ini")));
	EXPECT_EQ(U8(GetDefault<UOrvexSettings>()->GetDefaultConfigFilename()), U8(ProjectConfig + TEXT("DefaultEditor.ini")));
	EXPECT_EQ(U8(GetDefault<UAndroidSDKSettings>()->GetGlobalUserConfigFilename()), U8(UserFolder + TEXT("Unreal Engine/Engine/Config/UserEngine.ini")));
	EXPECT_EQ(U8(GetDefault<UContentBrowserProjectUserSettings>()->GetProjectUserConfigFilename()), U8(ProjectConfig + TEXT("UserEditor.ini")));
	// The cache key of the category.
	EXPECT_EQ(U8(URendererSettings::StaticClass()->GetConfigName()), "Engine");
	EXPECT_EQ(U8(ULevelEditorPlaySettings::StaticClass()->GetConfigName()), "EditorPerProjectUserSettings");
}
