// Settings classes read from the headers of the engine's and the project's Source folders
// (Source/ and Plugins/**/Source/). Lookups by name build them on demand; these calls are for
// the host's own tools, which list what the headers declare.
#pragma once

#include "CoreMinimal.h"

class FProperty;
class UClass;

namespace UE::Host
{
	// A property the header declares that the host could not read, with the type it could not read.
	struct FUnreadHeaderProperty
	{
		FString Name;
		FString Type;
	};

	// Builds every class the headers declare and returns every config class known, built-in and
	// read from headers, ordered by name.
	TArray<UClass*> CollectSettingsClasses();
	// The header a class was read from; empty for a class the host's code declares.
	FString GetClassHeader(const UClass* Class);
	// What the header of Class and of its parents declared but the host could not read.
	TArray<FUnreadHeaderProperty> GetUnreadHeaderProperties(const UClass* Class);
	// The section the class's default object reads and writes: the class path, or what its
	// header's OverrideConfigSection names.
	FString GetClassConfigSection(const UClass* Class);
	// Whether the host knows the value Property has in Class's default object before the config
	// layers apply (a constructor or initializer it cannot follow leaves it unknown).
	bool IsPropertyDefaultKnown(const UClass* Class, const FProperty* Property);
}
