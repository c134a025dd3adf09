// Editor Preferences → Level Editor → Play. A per-user class: it saves into
// Saved/Config/<Platform>Editor/EditorPerProjectUserSettings.ini through SaveConfig.
#pragma once

#include "CoreMinimal.h"
#include "Containers/EnumAsByte.h"
#include "UObject/Object.h"
#include "LevelEditorPlaySettings.generated.h"

UENUM()
enum EPlayNetMode : int
{
	PIE_Standalone UMETA(DisplayName = "Play Offline"),
	PIE_ListenServer UMETA(DisplayName = "Play As Listen Server"),
	PIE_Client UMETA(DisplayName = "Play As Client"),
};

UENUM()
enum ELabelAnchorMode : int
{
	LabelAnchorMode_TopLeft,
	LabelAnchorMode_TopCenter,
	LabelAnchorMode_TopRight,
	LabelAnchorMode_CenterLeft,
	LabelAnchorMode_Centered,
	LabelAnchorMode_CenterRight,
	LabelAnchorMode_BottomLeft,
	LabelAnchorMode_BottomCenter,
	LabelAnchorMode_BottomRight,
};

UENUM()
enum EPlayModeType : int
{
	PlayMode_InViewPort = 0,
	PlayMode_InEditorFloating,
	PlayMode_InMobilePreview,
	PlayMode_InTargetedMobilePreview,
	PlayMode_InVulkanPreview,
	PlayMode_InNewProcess,
	PlayMode_InVR,
	PlayMode_Simulate,
	PlayMode_QuickLaunch,
};

UENUM()
enum EPlayModeLocations : int
{
	PlayLocation_CurrentCameraLocation,
	PlayLocation_DefaultPlayerStart,
};

UCLASS(config = EditorPerProjectUserSettings, meta = (DisplayName = "Play"))
class ULevelEditorPlaySettings : public UObject
{
	GENERATED_BODY()

public:
	ULevelEditorPlaySettings();

	UPROPERTY(config, EditAnywhere, Category = "Multiplayer Options")
	TEnumAsByte<EPlayNetMode> PlayNetMode;

	UPROPERTY(config, EditAnywhere, Category = "Multiplayer Options")
	bool RunUnderOneProcess;

	UPROPERTY(config, EditAnywhere, Category = "Multiplayer Options", meta = (ClampMin = "1", UIMin = "1", UIMax = "64"))
	int32 PlayNumberOfClients;

	UPROPERTY(config, EditAnywhere, Category = "Multiplayer Options", meta = (ClampMin = "1", UIMin = "1", UIMax = "65535"))
	uint16 ServerPort;

	UPROPERTY(config, EditAnywhere, Category = "Multiplayer Options")
	bool bLaunchSeparateServer;

	UPROPERTY(config, EditAnywhere, Category = "PlayInNewWindow")
	int32 NewWindowWidth;

	UPROPERTY(config, EditAnywhere, Category = "PlayInNewWindow")
	int32 NewWindowHeight;

	UPROPERTY(config, EditAnywhere, Category = "PlayInNewWindow")
	bool CenterNewWindow;

	UPROPERTY(config, EditAnywhere, Category = "Multiplayer Options")
	int32 ClientWindowWidth;

	UPROPERTY(config, EditAnywhere, Category = "Multiplayer Options")
	int32 ClientWindowHeight;

	UPROPERTY(config, EditAnywhere, Category = "PlayInEditor")
	bool EnableGameSound;

	UPROPERTY(config, EditAnywhere, Category = "PlayInEditor")
	bool GameGetsMouseControl;

	UPROPERTY(config, EditAnywhere, Category = "PlayInEditor")
	bool ShowMouseControlLabel;

	UPROPERTY(config, EditAnywhere, Category = "PlayInEditor")
	TEnumAsByte<ELabelAnchorMode> MouseControlLabelPosition;

	UPROPERTY(config, EditAnywhere, Category = "PlayInEditor")
	bool AutoRecompileBlueprints;

	UPROPERTY(config, EditAnywhere, Category = "PlayInEditor")
	bool bOnlyLoadVisibleLevelsInPIE;

	UPROPERTY(config)
	TEnumAsByte<EPlayModeType> LastExecutedPlayModeType;

	UPROPERTY(config)
	TEnumAsByte<EPlayModeLocations> LastExecutedPlayModeLocation;

	UPROPERTY(config, EditAnywhere, Category = "GameViewportSettings")
	FString AdditionalLaunchParameters;

	UPROPERTY(config, EditAnywhere, Category = "Multiplayer Options")
	FString AdditionalServerGameOptions;
};
