// The object system's only way into the config cache, FPaths and the host environment. Keeping
// these calls in one place lets the reflection code be built and tested on its own.
#pragma once

#include "CoreMinimal.h"

namespace UE::Host::ObjectConfig
{
	// The cache key for a class's config name (GEngineIni for "Engine", ...); the name itself
	// when the cache does not know it.
	FString GetConfigFilename(FName ConfigName);
	bool GetString(const FString& Section, const FString& Key, FString& OutValue, const FString& Filename);
	// Every value of a key, in order; false when there is none.
	bool GetArray(const FString& Section, const FString& Key, TArray<FString>& OutValues, const FString& Filename);
	// The merged section as (key, value) pairs in order; false when the section is missing.
	bool GetSectionPairs(const FString& Section, const FString& Filename, TArray<TPair<FString, FString>>& OutPairs);
	// The project's Config/ folder and the user settings folder, both ending in '/'.
	FString GetProjectConfigDir();
	FString GetUserSettingsDir();
}
