// Building GConfig from the layered INI files of the engine, the project and the user.
#pragma once

#include "CoreMinimal.h"

namespace UE::Host
{
	// Creates GConfig (after SetEnvironment) and finds every known category: each <C> with
	// Base<C>.ini in the engine config folder or Default<C>.ini in the project config folder. A
	// category is merged from its files when it is first used.
	void InitializeConfigSystem();
	// Deletes GConfig.
	void ShutdownConfigSystem();

	// Rebuilds one category from its files on disk now: after a write, or to take in an edit made
	// by another program. False for a name with no file that the cache does not know.
	bool ReloadConfigCategory(const FString& Category);
	// Rebuilds every merged category one of whose files changed, appeared or went away since it was
	// read, and merges categories whose first file appeared; returns the categories rebuilt. Costs
	// one read of a folder watch when nothing in the config folders changed.
	TArray<FString> RefreshConfigFromDisk();

	// The ini platforms read for the platform layers, parents first, ending with the running one
	// (Linux: VulkanPC, Unix, Linux), from IniParent= of each DataDrivenPlatformInfo.ini.
	const TArray<FString>& GetIniPlatformChain();

	// The layers of one category, lowest first. The saved file comes after the hierarchy and
	// overrides it key by key; "--ini" overrides follow everything.
	enum class EConfigLayer : uint8
	{
		AbsoluteBase,       // <engine>/Config/Base.ini
		EngineBase,         // <engine>/Config/Base<C>.ini
		EnginePlatformBase, // <engine>/Config/<Platform>/Base<Platform><C>.ini
		ProjectDefault,     // <project>/Config/Default<C>.ini
		EnginePlatform,     // <engine>/Config/<Platform>/<Platform><C>.ini
		ProjectPlatform,    // <project>/Config/<Platform>/<Platform><C>.ini
		GlobalUser,         // <user-dir>/Unreal Engine/Engine/Config/User<C>.ini
		ProjectUser,        // <project>/Config/User<C>.ini
		Saved,              // <project>/Saved/Config/<Platform>Editor/<C>.ini
	};

	struct FConfigLayerFile
	{
		EConfigLayer Layer = EConfigLayer::AbsoluteBase;
		FString Filename;
	};

	// Every layer file of the category, whether or not it exists, lowest first; a platform layer
	// gives one file per platform of the chain. Layers whose folder is not set (no engine, project
	// or user folder) are left out.
	TArray<FConfigLayerFile> GetConfigLayerFiles(const FString& Category);
	// One layer's file, or empty when its folder is not set.
	FString GetConfigLayerFilename(const FString& Category, EConfigLayer Layer);

	// A category name: letters, digits, '_' and '-'.
	bool IsValidConfigCategoryName(const FString& Category);

	// One override in the engine's "-ini:" syntax.
	struct FConfigOverride
	{
		FString Category;
		FString Section;
		// ' ' to set the key, or an array operator (+ - . ! ^).
		TCHAR Operation = ' ';
		FString Key;
		FString Value;
	};

	// Parses "Category:[Section]:Key=Value", several chained with commas
	// ("Engine:[S1]:A=1,[S2]:+B=2"); a pair of quotes around a value is removed. A comma inside
	// quotes or parentheses belongs to the value. Nothing is returned for a malformed argument.
	bool ParseConfigOverride(const FString& Argument, TArray<FConfigOverride>& OutOverrides, FString& OutError);
}
