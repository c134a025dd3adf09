// The object system's only way into the config cache, FPaths and the host environment. Keeping
// these calls in one place lets the reflection code be built and tested on its own.
#pragma once

#include "CoreMinimal.h"

class FConfigFile;

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

	// The category merged from its layers below the saved file, without command-line overrides:
	// what the saved file holds differences from.
	void LoadCategoryHierarchy(const FString& Category, FConfigFile& OutFile);
	// <project>/Saved/Config/<Platform>Editor/<Category>.ini, or empty without a project folder.
	FString GetSavedConfigFilename(const FString& Category);
	// Rebuilds Category in GConfig from disk, and every other known category that reads File.
	void ReloadAfterWrite(const FString& Category, const FString& File);
	// Config writers stay inside the project folder (its Saved folder included) and the user
	// config folder (<user-dir>/Unreal Engine/Engine/Config/). FullPath must be absolute.
	bool IsWritableConfigLocation(const FString& FullPath, FString& OutReason);
}
