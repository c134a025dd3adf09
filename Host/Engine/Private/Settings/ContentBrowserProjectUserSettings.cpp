#include "Settings/ContentBrowserProjectUserSettings.h"

UContentBrowserProjectUserSettings::UContentBrowserProjectUserSettings()
	: bShowEngineContent(false)
	, NumRecentFolders(10)
{
}
