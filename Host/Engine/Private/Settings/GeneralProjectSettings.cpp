#include "GeneralProjectSettings.h"

UGeneralProjectSettings::UGeneralProjectSettings()
	: bShouldWindowPreserveAspectRatio(true)
	, bUseBorderlessWindow(false)
	, bStartInVR(false)
	, bAllowWindowResize(true)
	, bAllowClose(true)
	, bAllowMaximize(true)
	, bAllowMinimize(true)
{
}
