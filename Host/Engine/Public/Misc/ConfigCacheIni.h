// The config cache: one merged FConfigFile per known category (see the layering in
// HostEnvironment.h and the loader), looked up by the category's short name.
#pragma once

#include "CoreMinimal.h"
#include "CoreGlobals.h"

#include <memory>

// One value of a key: the merged text, and the text as it was read (before token expansion).
struct FConfigValue
{
	FConfigValue() = default;
	// Expands the %-tokens of the value, as the engine's constructor does.
	explicit FConfigValue(const FString& InValue);
	FConfigValue(const FString& InSaved, const FString& InExpanded)
		: SavedValue(InSaved), ExpandedValue(InSaved.Equals(InExpanded) ? FString() : InExpanded), bExpanded(!InSaved.Equals(InExpanded))
	{
	}

	const FString& GetValue() const { return bExpanded ? ExpandedValue : SavedValue; }
	const FString& GetSavedValue() const { return SavedValue; }
	bool operator==(const FConfigValue& Other) const { return GetValue().Equals(Other.GetValue()); }

private:
	FString SavedValue;
	// Held only when expanding tokens changed the text; most values have none.
	FString ExpandedValue;
	bool bExpanded = false;
};

// Keys compare without regard to case (FName); a key may hold several values, in order.
class FConfigSection : public TMultiMap<FName, FConfigValue>
{
public:
	// Identity fields declared with "@Key=Field" for struct arrays.
	TMap<FName, FString> ArrayOfStructKeys;
	// Arrays cleared with "^Key=": reading them succeeds with no elements.
	TSet<FName> ExplicitlyEmptyArrays;

	bool IsArrayExplicitlyEmpty(FName Key) const { return ExplicitlyEmptyArrays.Contains(Key) && Num(Key) == 0; }
};

// Sections by name (case ignored), in the order they were first met.
class FConfigFile : private TMap<FString, FConfigSection>
{
	using Super = TMap<FString, FConfigSection>;

public:
	using Super::Num;
	using Super::begin;
	using Super::end;

	const FConfigSection* FindSection(const FString& SectionName) const { return Super::Find(SectionName); }
	FConfigSection* FindSection(const FString& SectionName) { return Super::Find(SectionName); }
	FConfigSection& FindOrAddSection(const FString& SectionName) { return Super::FindOrAdd(SectionName); }
	bool RemoveSection(const FString& SectionName) { return Super::Remove(SectionName) > 0; }
	void Empty() { Super::Empty(); }

	// The section names in order of first appearance.
	void GetSectionNames(TArray<FString>& OutNames) const;
	bool GetString(const TCHAR* Section, const TCHAR* Key, FString& Value) const;
	int32 GetArray(const TCHAR* Section, const TCHAR* Key, TArray<FString>& Value) const;
	void SetString(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value);
	// Merges INI text as one more layer: operators applied, lines before the first header ignored.
	void CombineFromBuffer(const FString& Buffer, const FString& FileHint);

	// The category's short name ("Engine") and the files merged into it, lowest layer first.
	FString Name;
	TArray<FString> SourceFiles;
	// True once the file was built from its layers on disk.
	bool bHasBeenLoaded = false;
};

class FConfigCacheIni
{
public:
	FConfigCacheIni();
	~FConfigCacheIni();

	// The cache key for a category: the short name for a known category, otherwise the path of
	// the category's generated file in the saved config folder (never empty).
	FString GetConfigFilename(const TCHAR* BaseIniName);

	FConfigFile* Find(const FString& Filename);
	const FConfigFile* Find(const FString& Filename) const;
	FConfigFile* FindConfigFileWithBaseName(FName BaseName);

	bool GetString(const TCHAR* Section, const TCHAR* Key, FString& Value, const FString& Filename);
	bool GetText(const TCHAR* Section, const TCHAR* Key, FText& Value, const FString& Filename);
	bool GetBool(const TCHAR* Section, const TCHAR* Key, bool& Value, const FString& Filename);
	bool GetInt(const TCHAR* Section, const TCHAR* Key, int32& Value, const FString& Filename);
	bool GetInt64(const TCHAR* Section, const TCHAR* Key, int64& Value, const FString& Filename);
	bool GetFloat(const TCHAR* Section, const TCHAR* Key, float& Value, const FString& Filename);
	bool GetDouble(const TCHAR* Section, const TCHAR* Key, double& Value, const FString& Filename);
	int32 GetArray(const TCHAR* Section, const TCHAR* Key, TArray<FString>& Value, const FString& Filename);
	// One "Key=Value" per value, in section order; false when the section is missing.
	bool GetSection(const TCHAR* Section, TArray<FString>& Result, const FString& Filename);
	const FConfigSection* GetSection(const TCHAR* Section, const bool Force, const FString& Filename);
	// Section names in order of first appearance; false when the file is unknown.
	bool GetSectionNames(const FString& Filename, TArray<FString>& out_SectionNames);
	bool DoesSectionExist(const TCHAR* Section, const FString& Filename);

	void SetString(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value, const FString& Filename);
	void SetBool(const TCHAR* Section, const TCHAR* Key, bool Value, const FString& Filename);
	void SetInt(const TCHAR* Section, const TCHAR* Key, int32 Value, const FString& Filename);
	void SetArray(const TCHAR* Section, const TCHAR* Key, const TArray<FString>& Value, const FString& Filename);
	bool RemoveKey(const TCHAR* Section, const TCHAR* Key, const FString& Filename);
	bool EmptySection(const TCHAR* Section, const FString& Filename);

	void Flush(bool bRemoveFromCache, const FString& Filename = TEXT(""));

	// Host: the known category names, in discovery order.
	TArray<FString> GetKnownCategories() const;
	// Host: the known categories merged so far (each is merged when first used).
	TArray<FString> GetLoadedCategories() const;
	// Host: (re)builds one category from its layer files, the saved file and the overrides.
	bool LoadCategory(const FString& Category);
	// Host: finds the known categories on disk again and drops every merged one.
	void ReloadAll();

private:
	// Each file stays where it is while others are merged on first use, so pointers handed out
	// earlier stay valid; a rebuild replaces a file's contents in place.
	TMap<FString, std::unique_ptr<FConfigFile>> Files;
	TArray<FString> KnownCategories;
};
