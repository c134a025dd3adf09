#include "Settings/LevelEditorPlaySettings.h"

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
