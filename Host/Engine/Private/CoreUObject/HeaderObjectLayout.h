// Objects of classes read from headers: their storage is the native ancestor's object followed by
// the header's properties, in one allocation, so property offsets work as for native members.
#pragma once

#include "CoreMinimal.h"

#include <memory>

class UClass;
class UObject;
class UScriptStruct;
class FProperty;
struct FScriptArrayOps;

namespace UE::Host::Private
{
	struct FExtendedLayout
	{
		// Builds the native ancestor in place.
		UObject* (*Placement)(void* Memory) = nullptr;
		int32 Size = 0;
		int32 Alignment = 8;
		// Every property beside the native part, the ancestors' first.
		TArray<const FProperty*> Properties;
		// In-class initializers as text, imported after construction.
		TArray<TPair<const FProperty*, FString>> Defaults;
	};

	void SetNativePlacement(const UClass* Class, UObject* (*Placement)(void* Memory));
	UObject* (*FindNativePlacement(const UClass* Class))(void*);
	void SetExtendedLayout(const UClass* Class, std::unique_ptr<FExtendedLayout> Layout);
	const FExtendedLayout* FindExtendedLayout(const UClass* Class);
	// Forgets the layouts (the objects built with them must be gone).
	void ClearExtendedLayouts();

	// A new object of Class: the native factory's, or native part plus header properties.
	UObject* NewObjectOfClass(const UClass* Class);
	// Releases an object made by NewObjectOfClass.
	void DeleteObject(UObject* Object);

	// Text of an initializer imported into one value; false leaves the value as it was.
	bool ImportDefaultValue(const FProperty* Property, void* Value, const FString& Text);

	// Array operations for elements of a struct known only at run time; null when none are left.
	const FScriptArrayOps* AcquireStructArrayOps(const UScriptStruct* Struct);
	void ReleaseStructArrayOps();
}
