// What orvex settings shows of the settings classes: a row per class, one class's config
// properties, and the lookup of a class by the names config.set_setting accepts.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"

class UClass;

// A class the way config.set_setting resolves one: a path, a short name, or a C++ name.
UClass* FindSettingsClass(FString Name);

// name, section, config, flags, header and properties (the count of config properties).
TSharedRef<FJsonObject> DescribeSettingsClassRow(const UClass* Class);

// The row, then config_properties (name, type, value, cvar, restart_required, ...) and
// unread_properties (members whose type the host could not read).
TSharedRef<FJsonObject> DescribeSettingsClass(UClass* Class);
