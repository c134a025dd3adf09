// Start-up and shut-down of the object system on the host: the native classes, and the console
// variables their properties name (registered, then set from the merged
// [/Script/Engine.RendererSettings] section with ECVF_SetByProjectSetting, as the engine does at
// boot). Start it after the config cache is built.
#pragma once

#include "CoreMinimal.h"

namespace UE::Host
{
	void InitializeObjectSystem();
	// Drops class default objects and objects made at run time, and the console variables that
	// InitializeObjectSystem registered, so that a later InitializeObjectSystem starts afresh.
	void ShutdownObjectSystem();
	bool IsObjectSystemInitialized();
	// Reads the config of every class default object made so far whose config is one of the
	// categories again, after they were rebuilt from disk.
	void ReloadDefaultObjectsConfig(const TArray<FString>& Categories);
}
