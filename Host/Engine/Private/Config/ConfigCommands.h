// Token expansion and the merging of one layer's text into a category.
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

	class FMergeFile;

	// Each merge takes either the whole text or, given OnlySection, that one section's lines
	// alone: sections merge independently, so the section comes out as the whole merge has it.

	// Merges a file's text with the operators applied; lines before the first header are ignored.
	void CombineConfigText(FMergeFile& File, const FString& Text, const FString* OnlySection = nullptr);

	// Merges a file read as a plain file (Base.ini): no operators, every key line adds a value and
	// an operator character stays part of its key.
	void CombinePlainConfigText(FMergeFile& File, const FString& Text, const FString* OnlySection = nullptr);

	// Merges the saved file: each key it names gets the values the saved lines give it, in place
	// of the values the hierarchy gave it.
	void CombineSavedConfigText(FMergeFile& File, const FString& Text, const FString* OnlySection = nullptr);
}
