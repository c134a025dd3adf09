// The "config" namespace: reads of the layered INI configuration and settings writes.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "OrvexActionResult.h"

class FOrvexToolRegistry;

class FOrvexConfigActions
{
public:
	static void RegisterActions(FOrvexToolRegistry& Registry);

	// The existing files of the three layers for a category, as (layer name, path), lowest first.
	static TArray<TTuple<FString, FString>> GetConfigHierarchy(const FString& Category);
	// The path of one config file named by a file name without extension, a category, or a path.
	static FString ResolveConfigFilePath(const FString& Name);

	static FOrvexActionResult ResolveSetting(const TSharedPtr<FJsonObject>& Params);
	static FOrvexActionResult ExplainSetting(const TSharedPtr<FJsonObject>& Params);
	static FOrvexActionResult DiffFromDefault(const TSharedPtr<FJsonObject>& Params);
	static FOrvexActionResult SearchConfig(const TSharedPtr<FJsonObject>& Params);
	static FOrvexActionResult GetSection(const TSharedPtr<FJsonObject>& Params);
	static FOrvexActionResult GetConfigFiles(const TSharedPtr<FJsonObject>& Params);
	static FOrvexActionResult SetSetting(const TSharedPtr<FJsonObject>& Params);
};
