// The "localization" namespace: read-only discovery and reading of cultures and StringTables.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "OrvexActionResult.h"

class FOrvexToolRegistry;

class FOrvexLocalizationActions
{
public:
	static void RegisterActions(FOrvexToolRegistry& Registry);

	static FOrvexActionResult ListCultures(const TSharedPtr<FJsonObject>& Params);
	static FOrvexActionResult ListStringTables(const TSharedPtr<FJsonObject>& Params);
	static FOrvexActionResult GetStringTable(const TSharedPtr<FJsonObject>& Params);
	static FOrvexActionResult ValidateStringTable(const TSharedPtr<FJsonObject>& Params);
};
