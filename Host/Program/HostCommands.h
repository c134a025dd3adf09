// The commands of the orvex program. Each returns the process exit code.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"

#include <cstdio>

struct FHostOptions;

// The JSON of a command's result on stdout, indented unless --compact.
void PrintJson(const FHostOptions& Options, const TSharedRef<FJsonObject>& Object);

// Prints {"namespaces": [...]}; an unknown namespace is a usage error.
int RunActionsCommand(const FHostOptions& Options);
// Runs one action: the result object and exit 0, an error object and exit 1, or a usage error (exit 2).
int RunCallCommand(const FHostOptions& Options);
// JSON-RPC 2.0 over the two streams, one message per line, until end of input; exit 0.
int RunServeCommand(const FHostOptions& Options, std::FILE* Input, std::FILE* Output);
// Prints {"classes": [...]}, or one class's config properties; an unknown class is exit 1.
int RunSettingsCommand(const FHostOptions& Options);
// Prints where a config key's value comes from; an unknown category is exit 1.
int RunOriginCommand(const FHostOptions& Options);
