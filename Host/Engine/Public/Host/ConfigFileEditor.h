// Edits INI files as text, the way the engine's config writers do: only the lines that must
// change are touched; every other byte, the line endings and the encoding stay as they were.
// Writes are atomic; after one succeeds, refresh the cache with GConfig->LoadCategory().
#pragma once

#include "CoreMinimal.h"

namespace UE::Host::ConfigFileEditor
{
	// Sets Key in [Section] (both matched ignoring case): the first plain "Key=" line of the
	// section is replaced and later ones of the same key in the section removed. A missing key is
	// added after the section's last entry; a missing section is appended, after a blank line.
	// The file and its folders are created when missing.
	bool SetKey(const FString& FilePath, const FString& Section, const FString& Key, const FString& Value, FString& OutError);

	// Makes [Section] hold exactly Lines (already formatted: "Key=Value", "+Key=Value",
	// "!Key=ClearArray", ...). Copies of the section are merged into the first one; a missing
	// section is appended. Other sections and text before the first header stay as they were.
	bool ReplaceSection(const FString& FilePath, const FString& Section, const TArray<FString>& Lines, FString& OutError);

	// The value as it must be written after "Key=" to read back unchanged: quoted with escapes
	// when it starts or ends with white space, starts with '"', ends with '\', holds "//", an
	// unbalanced brace or a line break (or would otherwise not read back as written).
	FString QuoteValueIfNeeded(const FString& Value);
}
