// The merge rules of the hierarchical load: how one key line changes a section.
#pragma once

#include "CoreMinimal.h"
#include "Misc/ConfigCacheIni.h"

namespace UE::Host::Config
{
	// Replaces %GAME%, %GAMEDIR%, %ENGINEDIR%, %ENGINEUSERDIR%, %ENGINEVERSIONAGNOSTICUSERDIR%,
	// %APPSETTINGSDIR% and %GAMESAVEDDIR% with the host's folders.
	FString ExpandConfigTokens(const FString& Value);

	// A value as read (saved) and as seen by readers (tokens expanded).
	FConfigValue MakeConfigValue(const FString& Value);

	// Finds "Field=" at the top level of a struct text "(A=1,Field=X,...)" and returns X, without
	// quotes when it was quoted.
	bool ExtractStructField(const FString& StructText, const FString& Field, FString& OutValue);

	// Applies one key line: ' ' replaces the first value (or the element with the same identity
	// when "@Key=Field" was declared), '+' adds unless present, '.' adds, '-' removes one equal
	// value, '!' removes all, '^' removes all and marks the array explicitly empty, '@' declares
	// the identity field, '*' (per-object identity) changes nothing here.
	void ApplyConfigCommand(FConfigSection& Section, TCHAR Operation, FName Key, const FString& Value);

	// Merges a file's text with the operators applied; lines before the first header are ignored.
	void CombineConfigText(FConfigFile& File, const FString& Text);

	// Merges the saved file: each key it names loses the values the hierarchy gave it first.
	void CombineSavedConfigText(FConfigFile& File, const FString& Text);
}
