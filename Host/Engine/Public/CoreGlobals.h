#pragma once

#include "CoreMinimal.h"

class FConfigCacheIni;
class FOutputDevice;
class FOutputDeviceRedirector;

extern FConfigCacheIni* GConfig;
extern FOutputDevice* GWarn;
extern FOutputDeviceRedirector* GLog;

// Cache keys of the known categories ("Engine", "Game", ...), as in 5.x.
extern FString GEngineIni;
extern FString GGameIni;
extern FString GInputIni;
extern FString GEditorIni;
extern FString GEditorPerProjectIni;
extern FString GScalabilityIni;
extern FString GGameUserSettingsIni;

// Set while a script runs with no one to answer questions: the editor's dialogs must not prompt
// and take their default answers instead.
extern bool GIsRunningUnattendedScript;
