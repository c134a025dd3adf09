#include "Settings/LevelEditorPlaySettings.h"

#include "Host/ReflectionBuilder.h"

UE_HOST_IMPLEMENT_ENUM(EPlayNetMode, "/Script/UnrealEd", EPlayNetMode, Regular)
{
	Enum.Value(TEXT("PIE_Standalone"), PIE_Standalone).Meta(TEXT("DisplayName"), TEXT("Play Offline"));
	Enum.Value(TEXT("PIE_ListenServer"), PIE_ListenServer).Meta(TEXT("DisplayName"), TEXT("Play As Listen Server"));
	Enum.Value(TEXT("PIE_Client"), PIE_Client).Meta(TEXT("DisplayName"), TEXT("Play As Client"));
}

UE_HOST_IMPLEMENT_ENUM(ELabelAnchorMode, "/Script/UnrealEd", ELabelAnchorMode, Regular)
{
	Enum.Value(TEXT("LabelAnchorMode_TopLeft"), LabelAnchorMode_TopLeft);
	Enum.Value(TEXT("LabelAnchorMode_TopCenter"), LabelAnchorMode_TopCenter);
	Enum.Value(TEXT("LabelAnchorMode_TopRight"), LabelAnchorMode_TopRight);
	Enum.Value(TEXT("LabelAnchorMode_CenterLeft"), LabelAnchorMode_CenterLeft);
	Enum.Value(TEXT("LabelAnchorMode_Centered"), LabelAnchorMode_Centered);
	Enum.Value(TEXT("LabelAnchorMode_CenterRight"), LabelAnchorMode_CenterRight);
	Enum.Value(TEXT("LabelAnchorMode_BottomLeft"), LabelAnchorMode_BottomLeft);
	Enum.Value(TEXT("LabelAnchorMode_BottomCenter"), LabelAnchorMode_BottomCenter);
	Enum.Value(TEXT("LabelAnchorMode_BottomRight"), LabelAnchorMode_BottomRight);
}

UE_HOST_IMPLEMENT_ENUM(EPlayModeType, "/Script/UnrealEd", EPlayModeType, Regular)
{
	Enum.Value(TEXT("PlayMode_InViewPort"), PlayMode_InViewPort);
	Enum.Value(TEXT("PlayMode_InEditorFloating"), PlayMode_InEditorFloating);
	Enum.Value(TEXT("PlayMode_InMobilePreview"), PlayMode_InMobilePreview);
	Enum.Value(TEXT("PlayMode_InTargetedMobilePreview"), PlayMode_InTargetedMobilePreview);
	Enum.Value(TEXT("PlayMode_InVulkanPreview"), PlayMode_InVulkanPreview);
	Enum.Value(TEXT("PlayMode_InNewProcess"), PlayMode_InNewProcess);
	Enum.Value(TEXT("PlayMode_InVR"), PlayMode_InVR);
	Enum.Value(TEXT("PlayMode_Simulate"), PlayMode_Simulate);
	Enum.Value(TEXT("PlayMode_QuickLaunch"), PlayMode_QuickLaunch);
}

UE_HOST_IMPLEMENT_ENUM(EPlayModeLocations, "/Script/UnrealEd", EPlayModeLocations, Regular)
{
	Enum.Value(TEXT("PlayLocation_CurrentCameraLocation"), PlayLocation_CurrentCameraLocation);
	Enum.Value(TEXT("PlayLocation_DefaultPlayerStart"), PlayLocation_DefaultPlayerStart);
}

UE_HOST_IMPLEMENT_CLASS(ULevelEditorPlaySettings, "/Script/UnrealEd")

void ULevelEditorPlaySettings::DeclareReflection(UE::Host::TClassBuilder<ULevelEditorPlaySettings>& Class)
{
	Class.Flags(CLASS_Config).Config(TEXT("EditorPerProjectUserSettings")).Meta(TEXT("DisplayName"), TEXT("Play"));
	const EPropertyFlags Setting = CPF_Edit | CPF_Config;

	Class.Property(UE_HOST_MEMBER(PlayNetMode), Setting).Meta(TEXT("Category"), TEXT("Multiplayer Options"));
	Class.Property(UE_HOST_MEMBER(RunUnderOneProcess), Setting).Meta(TEXT("Category"), TEXT("Multiplayer Options"));
	Class.Property(UE_HOST_MEMBER(PlayNumberOfClients), Setting).Meta(TEXT("Category"), TEXT("Multiplayer Options")).Meta(TEXT("ClampMin"), TEXT("1"));
	Class.Property(UE_HOST_MEMBER(ServerPort), Setting).Meta(TEXT("Category"), TEXT("Multiplayer Options")).Meta(TEXT("ClampMin"), TEXT("1"));
	Class.Property(UE_HOST_MEMBER(bLaunchSeparateServer), Setting).Meta(TEXT("Category"), TEXT("Multiplayer Options"));
	Class.Property(UE_HOST_MEMBER(NewWindowWidth), Setting).Meta(TEXT("Category"), TEXT("PlayInNewWindow"));
	Class.Property(UE_HOST_MEMBER(NewWindowHeight), Setting).Meta(TEXT("Category"), TEXT("PlayInNewWindow"));
	Class.Property(UE_HOST_MEMBER(CenterNewWindow), Setting).Meta(TEXT("Category"), TEXT("PlayInNewWindow"));
	Class.Property(UE_HOST_MEMBER(ClientWindowWidth), Setting).Meta(TEXT("Category"), TEXT("Multiplayer Options"));
	Class.Property(UE_HOST_MEMBER(ClientWindowHeight), Setting).Meta(TEXT("Category"), TEXT("Multiplayer Options"));
	Class.Property(UE_HOST_MEMBER(EnableGameSound), Setting).Meta(TEXT("Category"), TEXT("PlayInEditor"));
	Class.Property(UE_HOST_MEMBER(GameGetsMouseControl), Setting).Meta(TEXT("Category"), TEXT("PlayInEditor"));
	Class.Property(UE_HOST_MEMBER(ShowMouseControlLabel), Setting).Meta(TEXT("Category"), TEXT("PlayInEditor"));
	Class.Property(UE_HOST_MEMBER(MouseControlLabelPosition), Setting).Meta(TEXT("Category"), TEXT("PlayInEditor"));
	Class.Property(UE_HOST_MEMBER(AutoRecompileBlueprints), Setting).Meta(TEXT("Category"), TEXT("PlayInEditor"));
	Class.Property(UE_HOST_MEMBER(bOnlyLoadVisibleLevelsInPIE), Setting).Meta(TEXT("Category"), TEXT("PlayInEditor"));
	Class.Property(UE_HOST_MEMBER(LastExecutedPlayModeType), CPF_Config);
	Class.Property(UE_HOST_MEMBER(LastExecutedPlayModeLocation), CPF_Config);
	Class.Property(UE_HOST_MEMBER(AdditionalLaunchParameters), Setting).Meta(TEXT("Category"), TEXT("GameViewportSettings"));
	Class.Property(UE_HOST_MEMBER(AdditionalServerGameOptions), Setting).Meta(TEXT("Category"), TEXT("Multiplayer Options"));
}

ULevelEditorPlaySettings::ULevelEditorPlaySettings()
	: PlayNetMode(PIE_Standalone)
	, RunUnderOneProcess(true)
	, PlayNumberOfClients(1)
	, ServerPort(17777)
	, bLaunchSeparateServer(false)
	, NewWindowWidth(1280)
	, NewWindowHeight(720)
	, CenterNewWindow(true)
	, ClientWindowWidth(640)
	, ClientWindowHeight(480)
	, EnableGameSound(true)
	, GameGetsMouseControl(false)
	, ShowMouseControlLabel(true)
	, MouseControlLabelPosition(LabelAnchorMode_TopLeft)
	, AutoRecompileBlueprints(true)
	, bOnlyLoadVisibleLevelsInPIE(false)
	, LastExecutedPlayModeType(PlayMode_InViewPort)
	, LastExecutedPlayModeLocation(PlayLocation_DefaultPlayerStart)
{
}
