// How an object's config properties appear in an INI file: the section, the key of each
// property and its values as text, laid out the way the engine's config writers lay them out.
#pragma once

#include "CoreMinimal.h"

class FProperty;
class UClass;
class UObject;

namespace UE::Host::ObjectConfig
{
	// ConfigClass's section for Object: the class path ("/Script/Engine.RendererSettings"), or
	// "<object path> <class name>" for a per-object-config instance, as OverrideConfigSection
	// leaves it.
	FString GetClassSection(UObject* Object, const UClass* ConfigClass);
	// False, with the reason, when the section Object's class reads and writes is not known (its
	// header overrides OverrideConfigSection in a way the host cannot read): writers must refuse.
	bool CanWriteClassSection(const UObject* Object, FString& OutReason);
	// Where Property is stored: globalconfig values belong to the class that declares them.
	FString GetPropertySection(UObject* Object, const FProperty* Property, const FString& ClassSection);
	// The key: in editor builds the ConsoleVariable metadata when there is one, else the name.
	FString GetPropertyKey(const FProperty* Property);
	// PPF_ConsoleVariable for properties keyed by their console variable (enums as numbers).
	int32 GetPropertyPortFlags(const FProperty* Property);

	// One key's worth of a property.
	struct FConfigEntry
	{
		// "Name", "r.Variable" or, for one element of a fixed-size array, "Name[2]".
		FString Key;
		// The exported values: one, or one per element of a dynamic array.
		TArray<FString> Values;
		bool bIsArray = false;
	};

	// The property's current value as entries: one for a single value or a dynamic array, one
	// per element of a fixed-size array. Values are the top-level text export (strings raw).
	TArray<FConfigEntry> ExportPropertyEntries(UObject* Object, const FProperty* Property);
	// The keys of those entries, which depend on the property alone.
	TArray<FString> GetPropertyEntryKeys(const FProperty* Property);
	// "Key=Value" for a single value; for an array "!Key=ClearArray" then "+Key=Value" per
	// element, ".Key=Value" for a repeat that '+' would drop. Values are quoted where needed.
	TArray<FString> FormatEntryLines(const FConfigEntry& Entry);

	// Whether Text, as a config file holds it, is the value at Value (compared as values, so
	// "true" matches True and "1.0" matches 1.000000).
	bool ConfigTextMatches(const FProperty* Property, const FString& Text, const void* Value, UObject* Owner, int32 PortFlags);
	// Whether the property holds the same value in both objects, every element.
	bool HasSameValue(const FProperty* Property, const UObject* A, const UObject* B);
	// Whether Property would be written to ClassSection for an object of Class: globalconfig
	// properties of a parent class live in the parent's section instead.
	bool BelongsToClassSection(const FProperty* Property, const UClass* Class);
	// Whether an inherited property still holds the parent class's default, so that a subclass
	// section need not repeat it.
	bool MatchesParentDefault(UObject* Object, const FProperty* Property);
}
