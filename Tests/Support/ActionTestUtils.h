// Calling actions through the registry from tests, with parameters written as JSON text.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "OrvexActionResult.h"

#include <string>

// Parses a JSON object (asserting that it is one) or returns an empty object for "".
TSharedPtr<FJsonObject> ParseObject(const std::string& Json);

FOrvexActionResult CallAction(const TCHAR* Namespace, const TCHAR* Action, const std::string& ParamsJson = "{}");

// Compact UTF-8 JSON of an object, for whole-output comparisons.
std::string ToJson(const TSharedPtr<FJsonObject>& Object);

// The objects of an array field, one compact JSON line each.
std::string ObjectLines(const TSharedPtr<FJsonObject>& Object, const TCHAR* ArrayField);

// The field names of an object, in order.
TArray<FString> FieldNames(const TSharedPtr<FJsonObject>& Object);
