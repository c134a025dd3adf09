// Where a config value comes from: every line of every file the cache merges for one key, in
// merge order, and which of them gave the value a read returns (as "git config --show-origin").
#pragma once

#include "CoreMinimal.h"

namespace UE::Host
{
	struct FConfigOriginEntry
	{
		// The file's absolute path; "--ini" for a command-line override.
		FString File;
		// The line in the file (1-based, blank lines counted); for an override, its place among the
		// "--ini" arguments (1-based).
		int32 Line = 0;
		// The line as written, trimmed.
		FString Text;
		// "Absolute Base", "Engine Base", "Engine Platform Base", "Project Default", "Engine
		// Platform", "Project Platform", "Global User", "Project User", "User Saved", "Command Line".
		FString Layer;
		// "set", "add", "add_unique", "remove" or "clear".
		FString Effect;
		// The value as the cache reads it (quotes and escapes resolved, tokens expanded).
		FString Value;
	};

	struct FConfigOrigin
	{
		// The category as the cache spells it.
		FString Category;
		// The cache holds a value for the key.
		bool bFound = false;
		// What a single-value read returns, and the file whose line gave it.
		FString EffectiveValue;
		FString EffectiveFile;
		TArray<FConfigOriginEntry> Entries;
	};

	// Section and key compare without regard to letter case, as the cache's do. False, with the
	// reason, for a category the cache does not know.
	bool DescribeConfigOrigin(const FString& Category, const FString& Section, const FString& Key, FConfigOrigin& OutOrigin, FString& OutError);
}
