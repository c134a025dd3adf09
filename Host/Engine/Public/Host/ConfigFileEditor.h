// Edits INI files as text, the way the engine's config writers do: only the lines that must
// change are touched; every other byte, the line endings and the encoding stay as they were.
// Writes are atomic; after one succeeds, refresh the cache with GConfig->LoadCategory(). Each edit
// reads the file only once it holds the file's lock (Host/ConfigFileLock.h), so it applies to what
// other writers left; a lock held elsewhere for too long fails the edit with its reason.
#pragma once

#include "CoreMinimal.h"

namespace UE::Host::ConfigFileEditor
{
	// Sets Key in [Section] (both matched ignoring case): the first plain "Key=" line of the
	// section is replaced and every later line of the key in the section (plain or array) removed,
	// so the new value is the one a read returns. A missing key is
	// added after the section's last entry; a missing section is appended, after a blank line.
	// The file and its folders are created when missing.
	bool SetKey(const FString& FilePath, const FString& Section, const FString& Key, const FString& Value, FString& OutError);

	// Makes [Section] hold exactly Lines (already formatted: "Key=Value", "+Key=Value",
	// "!Key=ClearArray", ...). Copies of the section are merged into the first one; a missing
	// section is appended. Other sections and text before the first header stay as they were.
	bool ReplaceSection(const FString& FilePath, const FString& Section, const TArray<FString>& Lines, FString& OutError);
	// The same, but the entries of keys Lines does not speak for stay, as they were, after Lines:
	// KnownKeys names the keys Lines stands for ("Key" or "Key[2]", case ignored; an element
	// index covers only that element).
	bool ReplaceSection(const FString& FilePath, const FString& Section, const TArray<FString>& Lines, const TArray<FString>& KnownKeys, FString& OutError);

	// The lines one key should have in one section.
	struct FKeyLines
	{
		FString Section;
		FString Key;
		// Already formatted ("Key=Value", "!Key=ClearArray", "+Key=Value", ...); empty removes the key.
		TArray<FString> Lines;
	};

	enum class EEmptyFilePolicy : uint8
	{
		Keep,
		// A file left without a single entry is deleted rather than written, and a new one starts
		// with ";METADATA=(Diff=true, UseCommands=true)" (saved config files).
		Delete,
	};

	// Gives each key exactly its Lines: every line of the key in its section (plain or with an
	// array operator; '@' identity declarations stay) is removed, in every copy of the section,
	// and the new lines take the place of the first one removed, else follow the last entry of
	// the section's first copy; a missing section is appended. Each section and key pair may
	// appear once. All edits go out in one atomic write; nothing is written when the bytes would
	// not change, and a missing file is created only to hold new lines.
	bool ReplaceKeys(const FString& FilePath, const TArray<FKeyLines>& Edits, EEmptyFilePolicy EmptyFilePolicy, FString& OutError);

	// The value as it must be written after "Key=" to read back unchanged: quoted with escapes
	// when it starts or ends with white space, starts with '"', ends with '\', holds "//", an
	// unbalanced brace or a line break (or would otherwise not read back as written).
	FString QuoteValueIfNeeded(const FString& Value);
}
