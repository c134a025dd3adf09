// Header classes on an engine and a project shaped like real ones: a class whose header moves its
// config section, gameplay tags written as bare names, a line the host cannot read beside lines it
// can, and defaults that only a constructor in a source file sets. Every write is checked against
// the whole file afterwards.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"
#include "ProgramRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace
{
	const char* const GameplayTagsHeader = R"hdr(// Copyright Epic Games, Inc. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "GameplayTagContainer.generated.h"

class UGameplayTagsManager;

/** A single gameplay tag, which represents a hierarchical name of the form x.y */
USTRUCT(BlueprintType, meta = (HasNativeMake = "/Script/GameplayTags.BlueprintGameplayTagLibrary.MakeLiteralGameplayTag", HasNativeBreak = "/Script/GameplayTags.BlueprintGameplayTagLibrary.GetTagName", DisableSplitPin))
struct FGameplayTag
{
	GENERATED_USTRUCT_BODY()

	/** Constructors */
	FGameplayTag()
	{
	}

	static GAMEPLAYTAGS_API FGameplayTag RequestGameplayTag(const FName& TagName, bool ErrorIfNotFound=true);

	FORCEINLINE bool operator==(FGameplayTag const& Other) const
	{
		return TagName == Other.TagName;
	}

	/** Used so we can have a TMap of this struct */
	FORCEINLINE friend uint32 GetTypeHash(const FGameplayTag& Tag)
	{
		return ::GetTypeHash(Tag.TagName);
	}

	GAMEPLAYTAGS_API bool ImportTextItem(const TCHAR*& Buffer, int32 PortFlags, UObject* Parent, FOutputDevice* ErrorText, FArchive* InSerializingArchive = nullptr);

	/** An empty Gameplay Tag */
	static GAMEPLAYTAGS_API const FGameplayTag EmptyTag;

protected:

	/** This Tags Name */
	UPROPERTY(VisibleAnywhere, Category = GameplayTags, SaveGame)
	FName TagName;
};

template<>
struct TStructOpsTypeTraits< FGameplayTag > : public TStructOpsTypeTraitsBase2< FGameplayTag >
{
	enum
	{
		WithNetSerializer = true,
		WithImportTextItem = true,
	};
};

/** A Tag Container holds a collection of FGameplayTags, tags are included explicitly by adding them, and implicitly from adding child tags */
USTRUCT(BlueprintType, meta = (HasNativeMake = "/Script/GameplayTags.BlueprintGameplayTagLibrary.MakeGameplayTagContainerFromArray"))
struct FGameplayTagContainer
{
	GENERATED_USTRUCT_BODY()

	FGameplayTagContainer()
	{
	}

protected:

	/** Array of gameplay tags */
	UPROPERTY(BlueprintReadOnly, Category=GameplayTags, SaveGame) // Change to VisibleInstanceOnly later
	TArray<FGameplayTag> GameplayTags;

	/** Array of expanded parent tags, in addition to GameplayTags. Used to accelerate parent searches. May contain duplicates in some cases */
	UPROPERTY(Transient)
	TArray<FGameplayTag> ParentTags;
};
)hdr";

	const char* const UITagHeader = R"hdr(// Copyright Epic Games, Inc. All Rights Reserved.

#pragma once

#include "GameplayTagContainer.h"
#include "UITag.generated.h"

/** A tag for UI */
USTRUCT(meta = (Categories = "UI"))
struct COMMONUI_API FUITag : public FGameplayTag
{
	GENERATED_BODY()

	static FUITag GetUITag(FName TagName) { return FUITag(); }
};

/** A tag for UI actions */
USTRUCT(meta = (Categories = "UI.Action"))
struct COMMONUI_API FUIActionTag : public FUITag
{
	GENERATED_BODY()

	static FUIActionTag TryConvert(FGameplayTag FromTag) { return FUIActionTag(); }
};
)hdr";

	const char* const CommonUIInputSettingsHeader = R"hdr(// Copyright Epic Games, Inc. All Rights Reserved.

#pragma once

#include "UITag.h"
#include "InputCoreTypes.h"
#include "CommonUIInputSettings.generated.h"

USTRUCT()
struct FUIActionKeyMapping
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = "UI Action Key Mapping")
	FKey Key;

	/** Positive values indicate the key must be held down for the given number of seconds. */
	UPROPERTY(EditAnywhere, Category = "UI Action Key Mapping")
	float HoldTime = 0.f;
};

USTRUCT()
struct FUIInputAction
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = "UI Input Action")
	FUIActionTag ActionTag;

	UPROPERTY(EditAnywhere, Category = "UI Input Action")
	FText DefaultDisplayName;

	UPROPERTY(EditAnywhere, Category = "UI Input Action")
	TArray<FUIActionKeyMapping> KeyMappings;
};

UCLASS(config = Game, defaultconfig)
class COMMONUI_API UCommonUIInputSettings : public UObject
{
	GENERATED_BODY()

public:
	static UCommonUIInputSettings& Get();

#if WITH_EDITOR
	DECLARE_EVENT(UCommonUIInputSettings, FSettingsChanged)
#endif

	/** True to have the mouse pointer automatically moved to the center of whatever widget is currently focused while using a gamepad. */
	UPROPERTY(config, EditAnywhere, Category = "Interaction")
	bool bLinkCursorToGamepadFocus = true;

	UPROPERTY(config, EditAnywhere, Category = "Interaction")
	int32 UIActionProcessingPriority = 10000;

	UPROPERTY(config, EditAnywhere, Category = "Actions")
	TArray<FUIInputAction> InputActions;

	UPROPERTY(config, EditAnywhere, Category = "Actions")
	TArray<FUIInputAction> ActionOverrides;

	UPROPERTY(config, EditAnywhere, Category = "Actions")
	FGameplayTagContainer ModalTags;
};
)hdr";

	const char* const PackagingHeader = R"hdr(// Copyright Epic Games, Inc. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"
#include "Engine/EngineTypes.h"
#include "ProjectPackagingSettings.generated.h"

/**
 * Enumerates the available build configurations for project packaging.
 */
UENUM()
enum class EProjectPackagingBuildConfigurations : uint8
{
	/** Debug configuration. */
	PPBC_Debug UMETA(DisplayName="Debug"),
	/** DebugGame configuration. */
	PPBC_DebugGame UMETA(DisplayName="DebugGame"),
	/** Development configuration. */
	PPBC_Development UMETA(DisplayName="Development"),
	/** Test configuration. */
	PPBC_Test UMETA(DisplayName="Test"),
	/** Shipping configuration. */
	PPBC_Shipping UMETA(DisplayName="Shipping"),
	/** Number of entries in the enum. */
	PPBC_MAX UMETA(Hidden)
};

/**
 * Implements the Editor's user settings.
 */
UCLASS(config=Game, defaultconfig)
class DEVELOPERTOOLSETTINGS_API UProjectPackagingSettings
	: public UObject
{
	GENERATED_UCLASS_BODY()

public:

	/** The build configuration for which the project is packaged. */
	UPROPERTY(config, EditAnywhere, Category=Project)
	EProjectPackagingBuildConfigurations BuildConfiguration;

	/** Name of the target to build */
	UPROPERTY(config, EditAnywhere, Category=Project)
	FString BuildTarget;

	/** If enabled, all content will be put into a one or more .pak files instead of many individual files (default = enabled). */
	UPROPERTY(config, EditAnywhere, Category=Packaging)
	bool UsePakFile;

	/** Directories containing .uasset files that should always be cooked regardless of whether they're referenced by anything in your project */
	UPROPERTY(config, EditAnywhere, Category=Packaging, AdvancedDisplay, meta=(DisplayName="Additional Asset Directories to Cook", LongPackageName))
	TArray<FDirectoryPath> DirectoriesToAlwaysCook;

	/** UObject Interface */
	virtual void PostInitProperties() override;
#if WITH_EDITOR
	virtual void PostEditChangeProperty(struct FPropertyChangedEvent& PropertyChangedEvent) override;
#endif

	virtual void OverrideConfigSection(FString& InOutSectionName) override { InOutSectionName = TEXT("/Script/UnrealEd.ProjectPackagingSettings"); }
};
)hdr";

	const char* const PackagingSource = R"cpp(// Copyright Epic Games, Inc. All Rights Reserved.

#include "Settings/ProjectPackagingSettings.h"
#include "Misc/App.h"

UProjectPackagingSettings::UProjectPackagingSettings( const FObjectInitializer& ObjectInitializer )
	: Super(ObjectInitializer)
{
}

void UProjectPackagingSettings::PostInitProperties()
{
	Super::PostInitProperties();
	BuildConfiguration = EProjectPackagingBuildConfigurations::PPBC_Development;
}
)cpp";

	const char* const EngineTypesHeader = R"hdr(// Copyright Epic Games, Inc. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "EngineTypes.generated.h"

/** Structure for directory paths that are displayed in the editor with a picker UI. */
USTRUCT(BlueprintType)
struct FDirectoryPath
{
	GENERATED_USTRUCT_BODY()

	/** The path to the directory. */
	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category=Path)
	FString Path;
};
)hdr";

	const char* const DerivedDataHeader = R"hdr(#pragma once

#include "CoreMinimal.h"
#include "Engine/DeveloperSettings.h"
#include "DerivedDataCacheSettings.generated.h"

UCLASS(config=Editor, defaultconfig)
class UDerivedDataCacheSettings : public UDeveloperSettings
{
	GENERATED_BODY()

public:
	UPROPERTY(config, EditAnywhere, Category = Cache)
	int32 MaxCacheSizeGB = 20;

	virtual void OverrideConfigSection(FString& SectionName) override;
};
)hdr";

	const char* const UserSettingsHeader = R"hdr(// Copyright Epic Games, Inc. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "FrontendGameUserSettings.generated.h"

UCLASS(config = GameUserSettings, configdonotcheckdefaults)
class FRONTENDGAME_API UFrontendGameUserSettings : public UObject
{
	GENERATED_BODY()

public:
	UFrontendGameUserSettings(const FObjectInitializer& ObjectInitializer = FObjectInitializer::Get());

	UPROPERTY(config)
	float OverallVolume;

	UPROPERTY(config)
	float MusicVolume;

	UPROPERTY(config)
	float SoundFXVolume;

	/** Set from the platform's safe zone at start-up. */
	UPROPERTY(config)
	float SafeZoneScale;

	UPROPERTY(config)
	FString PendingCulture;

	UPROPERTY(config)
	bool bUseSubtitles = true;
};
)hdr";

	const char* const UserSettingsSource = R"cpp(// Copyright Epic Games, Inc. All Rights Reserved.

#include "FrontendGameUserSettings.h"
#include "Framework/Application/SlateApplication.h"

UFrontendGameUserSettings::UFrontendGameUserSettings(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
	, OverallVolume(1.0f)
{
	MusicVolume = 1.0f;
	SoundFXVolume = 1.f;
	SafeZoneScale = FSlateApplication::Get().GetSafeZoneScale();
}
)cpp";

	const char* const DefaultGameText =
		"[/Script/EngineSettings.GeneralProjectSettings]\r\n"
		"ProjectID=2D06ED9B4B71B0E6B1D8A3A3A8C1F0E2\r\n"
		"ProjectName=Lyra Starter Game\r\n"
		"\r\n"
		"[/Script/UnrealEd.ProjectPackagingSettings]\r\n"
		"Build=IfProjectHasCode\r\n"
		"BuildConfiguration=PPBC_Shipping\r\n"
		"BuildTarget=LyraGame\r\n"
		"+DirectoriesToAlwaysCook=(Path=\"/Game/Maps\")\r\n"
		"\r\n"
		"[/Script/CommonUI.CommonUIInputSettings]\r\n"
		"bLinkCursorToGamepadFocus=True\r\n"
		"+InputActions=(ActionTag=UI.Action.Escape,DefaultDisplayName=NSLOCTEXT(\"UIActions\", \"Back\", \"Back\"),KeyMappings=((Key=Escape),(Key=Gamepad_Special_Right)))\r\n"
		"+InputActions=(ActionTag=(TagName=\"UI.Action.Confirm\"),DefaultDisplayName=NSLOCTEXT(\"UIActions\", \"Confirm\", \"Confirm\"),KeyMappings=((Key=Enter)))\r\n"
		"ModalTags=(GameplayTags=(UI.Layer.Modal,(TagName=\"UI.Layer.Menu\")))\r\n"
		"\r\n";

	class HeaderTrust : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/BaseGame.ini", "[/Script/UnrealEd.ProjectPackagingSettings]\nBuildConfiguration=PPBC_Development\nUsePakFile=True\n"
				"\n[/Script/EngineSettings.GeneralProjectSettings]\nCompanyName=\n");
			Folders.WriteEngine("Config/BaseEditor.ini", "[/Script/UnrealEd.EditorEngine]\nbUseAutoReimport=True\n");
			Folders.WriteEngine("Config/BaseGameUserSettings.ini", "[/Script/Engine.GameUserSettings]\nbUseVSync=False\n");
			Folders.WriteEngine("Source/Runtime/Engine/Engine.Build.cs", "public class Engine : ModuleRules { }\n");
			Folders.WriteEngine("Source/Runtime/Engine/Classes/Engine/EngineTypes.h", EngineTypesHeader);
			Folders.WriteEngine("Source/Runtime/GameplayTags/GameplayTags.Build.cs", "public class GameplayTags : ModuleRules { }\n");
			Folders.WriteEngine("Source/Runtime/GameplayTags/Classes/GameplayTagContainer.h", GameplayTagsHeader);
			Folders.WriteEngine("Source/Developer/DeveloperToolSettings/DeveloperToolSettings.Build.cs", "public class DeveloperToolSettings : ModuleRules { }\n");
			Folders.WriteEngine("Source/Developer/DeveloperToolSettings/Classes/Settings/ProjectPackagingSettings.h", PackagingHeader);
			Folders.WriteEngine("Source/Developer/DeveloperToolSettings/Private/ProjectPackagingSettings.cpp", PackagingSource);
			Folders.WriteEngine("Source/Developer/DerivedDataCache/DerivedDataCache.Build.cs", "public class DerivedDataCache : ModuleRules { }\n");
			Folders.WriteEngine("Source/Developer/DerivedDataCache/Public/DerivedDataCacheSettings.h", DerivedDataHeader);
			Folders.WriteEngine("Plugins/Runtime/CommonUI/Source/CommonUI/CommonUI.Build.cs", "public class CommonUI : ModuleRules { }\n");
			Folders.WriteEngine("Plugins/Runtime/CommonUI/Source/CommonUI/Public/UITag.h", UITagHeader);
			Folders.WriteEngine("Plugins/Runtime/CommonUI/Source/CommonUI/Public/Input/CommonUIInputSettings.h", CommonUIInputSettingsHeader);
			Folders.WriteProject("Project.uproject", "{\n\t\"FileVersion\": 3,\n\t\"EngineAssociation\": \"5.4\"\n}\n");
			Folders.WriteProject("Config/DefaultGame.ini", DefaultGameText);
			Folders.WriteProject("Config/DefaultEditor.ini", "[/Script/UnrealEd.EditorEngine]\r\nbUseAutoReimport=False\r\n");
			Folders.WriteProject("Source/FrontendGame/FrontendGame.Build.cs", "public class FrontendGame : ModuleRules { }\n");
			Folders.WriteProject("Source/FrontendGame/Public/FrontendGameUserSettings.h", UserSettingsHeader);
			Folders.WriteProject("Source/FrontendGame/Private/FrontendGameUserSettings.cpp", UserSettingsSource);
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			ASSERT_TRUE(Host->IsRunning()) << UE::Host::StringToUtf8(Host->GetError());
		}

		static FOrvexActionResult Set(const std::string& Params)
		{
			return CallAction(TEXT("config"), TEXT("set_setting"), Params);
		}

		static std::string Field(const FOrvexActionResult& Outcome, int32 Row, const TCHAR* Name)
		{
			return UE::Host::StringToUtf8(Outcome.Result->GetArrayField(TEXT("results"))[Row]->AsObject()->GetStringField(Name));
		}

		FProgramRun Settings(const std::string& Class) const
		{
			return RunOrvex({"--engine", Folders.EngineDir().string(), "--project", Folders.ProjectDir().string(), "--user-dir", Folders.UserDir().string(),
				"--compact", "settings", Class});
		}

		std::string Project(const std::string& Relative) const { return FTempHostFolders::Read(Folders.ProjectDir() / Relative); }

		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
	};
}

TEST_F(HeaderTrust, AnInlineSectionOverrideIsWhereTheClassReadsAndWrites)
{
	const FProgramRun Shown = Settings("ProjectPackagingSettings");
	ASSERT_EQ(Shown.ExitCode, 0) << Shown.Err;
	EXPECT_NE(Shown.Out.find(R"("section":"/Script/UnrealEd.ProjectPackagingSettings")"), std::string::npos) << Shown.Out;
	EXPECT_NE(Shown.Out.find(R"({"name":"BuildConfiguration","type":"EProjectPackagingBuildConfigurations","value":"PPBC_Shipping")"), std::string::npos) << Shown.Out;
	EXPECT_NE(Shown.Out.find(R"({"name":"BuildTarget","type":"FString","value":"LyraGame")"), std::string::npos) << Shown.Out;
	EXPECT_NE(Shown.Out.find(R"x("value":"((Path=\"/Game/Maps\"))")x"), std::string::npos) << Shown.Out;

	const FOrvexActionResult Single = Set(R"({"class":"ProjectPackagingSettings","property":"BuildTarget","value":"LyraClient"})");
	ASSERT_TRUE(Single.bSuccess) << UE::Host::StringToUtf8(Single.ErrorMessage);
	std::string Expected = DefaultGameText;
	Expected.replace(Expected.find("BuildTarget=LyraGame"), 20, "BuildTarget=LyraClient");
	EXPECT_EQ(Project("Config/DefaultGame.ini"), Expected);

	// A section rewrite regenerates the redirected section and nothing else.
	const FOrvexActionResult Rewrite = Set(R"({"class":"/Script/UnrealEd.ProjectPackagingSettings","property":"DirectoriesToAlwaysCook","value":[{"Path":"/Game/Maps"},{"Path":"/Game/UI"}]})");
	ASSERT_TRUE(Rewrite.bSuccess) << UE::Host::StringToUtf8(Rewrite.ErrorMessage);
	EXPECT_EQ(Field(Rewrite, 0, TEXT("persist_method")), "TryUpdateDefaultConfigFile");
	EXPECT_EQ(Project("Config/DefaultGame.ini"),
		"[/Script/EngineSettings.GeneralProjectSettings]\r\n"
		"ProjectID=2D06ED9B4B71B0E6B1D8A3A3A8C1F0E2\r\n"
		"ProjectName=Lyra Starter Game\r\n"
		"\r\n"
		"[/Script/UnrealEd.ProjectPackagingSettings]\r\n"
		"BuildConfiguration=PPBC_Shipping\r\n"
		"BuildTarget=LyraClient\r\n"
		"UsePakFile=True\r\n"
		"!DirectoriesToAlwaysCook=ClearArray\r\n"
		"+DirectoriesToAlwaysCook=(Path=\"/Game/Maps\")\r\n"
		"+DirectoriesToAlwaysCook=(Path=\"/Game/UI\")\r\n"
		// A key of no property the host read is kept, after the ones it wrote.
		"Build=IfProjectHasCode\r\n"
		"\r\n"
		+ std::string(DefaultGameText).substr(std::string(DefaultGameText).find("[/Script/CommonUI.CommonUIInputSettings]")));
}

TEST_F(HeaderTrust, AnOverrideTheHostCannotReadRefusesEveryWrite)
{
	const std::string Before = Project("Config/DefaultEditor.ini");
	const FOrvexActionResult Outcome = Set(R"({"class":"DerivedDataCacheSettings","property":"MaxCacheSizeGB","value":40})");
	EXPECT_FALSE(Outcome.bSuccess);
	EXPECT_EQ(Outcome.ErrorCode, -32603);
	EXPECT_NE(UE::Host::StringToUtf8(Outcome.ErrorMessage).find("DerivedDataCacheSettings overrides OverrideConfigSection, but its body is not in the header"), std::string::npos)
		<< UE::Host::StringToUtf8(Outcome.ErrorMessage);
	EXPECT_EQ(Project("Config/DefaultEditor.ini"), Before);
}

TEST_F(HeaderTrust, GameplayTagsReadAsBareNamesAndWriteInTheEnginesForm)
{
	const FProgramRun Shown = Settings("CommonUIInputSettings");
	ASSERT_EQ(Shown.ExitCode, 0) << Shown.Err;
	EXPECT_NE(Shown.Out.find(R"x("value":"((ActionTag=(TagName=\"UI.Action.Escape\"),DefaultDisplayName=NSLOCTEXT(\"UIActions\", \"Back\", \"Back\"),KeyMappings=((Key=Escape),(Key=Gamepad_Special_Right))),(ActionTag=(TagName=\"UI.Action.Confirm\")x"),
		std::string::npos) << Shown.Out;
	EXPECT_NE(Shown.Out.find(R"x({"name":"ModalTags","type":"FGameplayTagContainer","value":"(GameplayTags=((TagName=\"UI.Layer.Modal\"),(TagName=\"UI.Layer.Menu\")))")x"), std::string::npos) << Shown.Out;
	EXPECT_NE(Shown.Out.find(R"("unread_properties":[])"), std::string::npos) << Shown.Out;

	// A no-op rewrite of the section keeps both actions, now in the engine's form.
	const FOrvexActionResult Written = Set(R"({"class":"CommonUIInputSettings","property":"ActionOverrides","value":[]})");
	ASSERT_TRUE(Written.bSuccess) << UE::Host::StringToUtf8(Written.ErrorMessage);
	const std::string Text = Project("Config/DefaultGame.ini");
	EXPECT_EQ(Text.substr(Text.find("[/Script/CommonUI.CommonUIInputSettings]")),
		"[/Script/CommonUI.CommonUIInputSettings]\r\n"
		"bLinkCursorToGamepadFocus=True\r\n"
		"UIActionProcessingPriority=10000\r\n"
		"!InputActions=ClearArray\r\n"
		"+InputActions=(ActionTag=(TagName=\"UI.Action.Escape\"),DefaultDisplayName=NSLOCTEXT(\"UIActions\", \"Back\", \"Back\"),KeyMappings=((Key=Escape),(Key=Gamepad_Special_Right)))\r\n"
		"+InputActions=(ActionTag=(TagName=\"UI.Action.Confirm\"),DefaultDisplayName=NSLOCTEXT(\"UIActions\", \"Confirm\", \"Confirm\"),KeyMappings=((Key=Enter)))\r\n"
		"!ActionOverrides=ClearArray\r\n"
		"ModalTags=(GameplayTags=((TagName=\"UI.Layer.Modal\"),(TagName=\"UI.Layer.Menu\")))\r\n"
		"\r\n");

	// A tag given as a string in JSON is read the same way.
	const FOrvexActionResult Tagged = Set(R"({"class":"CommonUIInputSettings","property":"ActionOverrides","value":[{"ActionTag":"UI.Action.Tab","KeyMappings":[{"Key":"Tab"}]}],"dry_run":true})");
	ASSERT_TRUE(Tagged.bSuccess) << UE::Host::StringToUtf8(Tagged.ErrorMessage);
	EXPECT_FALSE(Tagged.Result->GetArrayField(TEXT("results"))[0]->AsObject()->HasField(TEXT("error")));
}

TEST_F(HeaderTrust, AValueTheHostCannotReadIsNeverRewritten)
{
	// A hand edit left one action without its closing parenthesis.
	std::string Broken = DefaultGameText;
	Broken.insert(Broken.find("ModalTags="), "+ActionOverrides=(ActionTag=UI.Action.Tab,KeyMappings=((Key=Tab))\r\n");
	Folders.WriteProject("Config/DefaultGame.ini", Broken);
	Host.reset();
	Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());

	// Writing the other array back as it is would rewrite the whole section.
	const FOrvexActionResult Rewrite = Set(R"({"class":"CommonUIInputSettings","property":"InputActions","value":[{"ActionTag":"UI.Action.Escape","KeyMappings":[{"Key":"Escape"}]}]})");
	EXPECT_FALSE(Rewrite.bSuccess);
	EXPECT_EQ(UE::Host::StringToUtf8(Rewrite.ErrorMessage), "No property was written: InputActions: Failed to update '" + (Folders.ProjectDir() / "Config/DefaultGame.ini").string()
		+ "': the config value of 'ActionOverrides' could not be read from '(ActionTag=UI.Action.Tab,KeyMappings=((Key=Tab))', and rewriting the section would replace it; nothing was written.");
	EXPECT_EQ(Project("Config/DefaultGame.ini"), Broken);

	// A key of its own is another matter: only that line changes.
	const FOrvexActionResult Single = Set(R"({"class":"CommonUIInputSettings","property":"bLinkCursorToGamepadFocus","value":false})");
	ASSERT_TRUE(Single.bSuccess) << UE::Host::StringToUtf8(Single.ErrorMessage);
	std::string Expected = Broken;
	Expected.replace(Expected.find("bLinkCursorToGamepadFocus=True"), 30, "bLinkCursorToGamepadFocus=False");
	EXPECT_EQ(Project("Config/DefaultGame.ini"), Expected);

	// Replacing the unreadable value on purpose is the caller's choice.
	const FOrvexActionResult Replaced = Set(R"({"class":"CommonUIInputSettings","property":"ActionOverrides","value":[{"ActionTag":"UI.Action.Tab"}]})");
	ASSERT_TRUE(Replaced.bSuccess) << UE::Host::StringToUtf8(Replaced.ErrorMessage);
	EXPECT_NE(Project("Config/DefaultGame.ini").find("+ActionOverrides=(ActionTag=(TagName=\"UI.Action.Tab\"),DefaultDisplayName=\"\",KeyMappings=)\r\n"), std::string::npos)
		<< Project("Config/DefaultGame.ini");
}

TEST_F(HeaderTrust, ConstructorDefaultsAreKnownAndUnknownOnesAreNeverWritten)
{
	const FProgramRun Shown = Settings("FrontendGameUserSettings");
	ASSERT_EQ(Shown.ExitCode, 0) << Shown.Err;
	EXPECT_NE(Shown.Out.find(R"({"name":"OverallVolume","type":"float","value":"1.000000","restart_required":false})"), std::string::npos) << Shown.Out;
	EXPECT_NE(Shown.Out.find(R"({"name":"SoundFXVolume","type":"float","value":"1.000000","restart_required":false})"), std::string::npos) << Shown.Out;
	EXPECT_NE(Shown.Out.find(R"({"name":"SafeZoneScale","type":"float","value":"0.000000","restart_required":false,"default_known":false})"), std::string::npos) << Shown.Out;

	const FOrvexActionResult Written = Set(R"({"class":"FrontendGameUserSettings","property":"MusicVolume","value":0.5})");
	ASSERT_TRUE(Written.bSuccess) << UE::Host::StringToUtf8(Written.ErrorMessage);
	EXPECT_EQ(Field(Written, 0, TEXT("persist_method")), "SaveConfig");
	EXPECT_EQ(Project("Saved/Config/LinuxEditor/GameUserSettings.ini"),
		";METADATA=(Diff=true, UseCommands=true)\n"
		"[/Script/FrontendGame.FrontendGameUserSettings]\n"
		"OverallVolume=1.000000\n"
		"MusicVolume=0.500000\n"
		"SoundFXVolume=1.000000\n"
		"PendingCulture=\n"
		"bUseSubtitles=True\n");

	// Named by a request, the unknown one is written like any other.
	const FOrvexActionResult Named = Set(R"({"class":"FrontendGameUserSettings","property":"SafeZoneScale","value":0.9})");
	ASSERT_TRUE(Named.bSuccess) << UE::Host::StringToUtf8(Named.ErrorMessage);
	EXPECT_NE(Project("Saved/Config/LinuxEditor/GameUserSettings.ini").find("SafeZoneScale=0.900000\n"), std::string::npos);
}

namespace
{
	// The engine's own header and source of a class the host declares too: the members the host's
	// code lacks take their defaults from the engine's constructor.
	const char* const EngineRendererHeader = R"hdr(#pragma once

#include "CoreMinimal.h"
#include "Engine/DeveloperSettings.h"
#include "RendererSettings.generated.h"

UCLASS(config=Engine, defaultconfig, meta=(DisplayName="Rendering"))
class ENGINE_API URendererSettings : public UDeveloperSettings
{
	GENERATED_UCLASS_BODY()

	UPROPERTY(config, EditAnywhere, Category = ShaderPermutationReduction, meta = (ConsoleVariable = "r.SupportStationarySkylight", ConfigRestartRequired = true))
	uint32 bSupportStationarySkylight : 1;

	UPROPERTY(config, EditAnywhere, Category = Mobile, meta = (ConsoleVariable = "r.Mobile.MaxPixelShaderAdditiveQualityBuckets"))
	int32 MaxPixelShaderAdditiveQualityBuckets;

	UPROPERTY(config, EditAnywhere, Category = Misc)
	TArray<FString> ExtraShaderFormats;
};
)hdr";

	const char* const EngineRendererSource = R"cpp(// Copyright Epic Games, Inc. All Rights Reserved.

#include "Engine/RendererSettings.h"

URendererSettings::URendererSettings(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	SectionName = TEXT("Rendering");
	bSupportStationarySkylight = true;
	MaxPixelShaderAdditiveQualityBuckets = FMath::Max(2, GetDefaultQualityBuckets());
}
)cpp";
}

TEST(HeaderTrustBuiltIn, MembersTheHostLacksTakeTheEnginesConstructorDefaults)
{
	FTempHostFolders Folders;
	Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/Engine.RendererSettings]\nr.RayTracing=False\n");
	Folders.WriteEngine("Source/Runtime/Engine/Engine.Build.cs", "public class Engine : ModuleRules { }\n");
	Folders.WriteEngine("Source/Runtime/Engine/Classes/Engine/RendererSettings.h", EngineRendererHeader);
	Folders.WriteEngine("Source/Runtime/Engine/Private/RendererSettings.cpp", EngineRendererSource);
	Folders.WriteProject("Config/DefaultEngine.ini", "[/Script/Engine.RendererSettings]\r\nr.RayTracing=False\r\n");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Written = CallAction(TEXT("config"), TEXT("set_setting"), R"({"class":"RendererSettings","property":"ExtraShaderFormats","value":["SF_VULKAN_SM6"]})");
	ASSERT_TRUE(Written.bSuccess) << UE::Host::StringToUtf8(Written.ErrorMessage);
	const std::string Text = FTempHostFolders::Read(Folders.ProjectDir() / "Config/DefaultEngine.ini");
	EXPECT_NE(Text.find("\r\nr.SupportStationarySkylight=True\r\n"), std::string::npos) << Text;
	EXPECT_NE(Text.find("\r\n!ExtraShaderFormats=ClearArray\r\n+ExtraShaderFormats=SF_VULKAN_SM6\r\n"), std::string::npos) << Text;
	// Its default comes from a call the host cannot make: left out, not written as zero.
	EXPECT_EQ(Text.find("MaxPixelShaderAdditiveQualityBuckets"), std::string::npos) << Text;
}
