// Where the host finds the engine, the project and the user's settings. Set once at start-up,
// before the config cache is built; every folder is absolute and ends with '/'.
#pragma once

#include "CoreMinimal.h"

namespace UE::Host
{
	struct FEnvironment
	{
		// <engine>/ : Config/ and Content/ lie below it.
		FString EngineDir;
		// <project>/ : the folder holding the .uproject file.
		FString ProjectDir;
		// The .uproject file, or empty when the folder has none.
		FString ProjectFilePath;
		// Stands for the engine's user settings folder (~/.config/Epic on Linux).
		FString UserSettingsDir;
		// The ini platform name ("Linux") and the saved-config folder name ("LinuxEditor").
		FString PlatformName = TEXT("Linux");
		FString SavedPlatformName = TEXT("LinuxEditor");
		// "--ini" overrides in the engine's "-ini:" syntax, applied in order after every file.
		TArray<FString> IniOverrides;
		// Culture name from the command line or the environment's locale, or empty.
		FString Culture;
		// True when Culture was asked for explicitly, so an unknown name is an error, not a fallback.
		bool bCultureRequired = false;
	};

	// Makes the folders absolute and stores the environment for FPaths and the config cache.
	void SetEnvironment(const FEnvironment& Environment);
	const FEnvironment& GetEnvironment();
	// The .uproject file's base name, else the project folder's name (the %GAME% token).
	FString GetProjectName();
}
