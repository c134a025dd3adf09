// What orvex origin and the project_config_origin tool show: every line of every merged file
// that sets a key, in merge order, and which one the effective value came from.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"

// {category, section, key, found, effective_value?, effective_file?, entries:[{file, line, text,
// layer, effect}]}; null, with the reason, for a category the config cache does not know.
TSharedPtr<FJsonObject> DescribeConfigOriginJson(const FString& Category, const FString& Section, const FString& Key, FString& OutError);
