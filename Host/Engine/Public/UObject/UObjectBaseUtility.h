// UObjectBaseUtility: names, paths, flags and class tests over the identity of UObjectBase.
#pragma once

#include "UObject/UObjectBase.h"

// Separates a subobject from an outer that is not a package ("/Game/Map.Map:PersistentLevel").
#define SUBOBJECT_DELIMITER TEXT(":")
#define SUBOBJECT_DELIMITER_CHAR TEXT(':')

class UObjectBaseUtility : public UObjectBase
{
public:
	UObjectBaseUtility() = default;

	void SetFlags(EObjectFlags NewFlags) { SetFlagsTo(GetFlags() | NewFlags); }
	void ClearFlags(EObjectFlags FlagsToClear) { SetFlagsTo(GetFlags() & ~FlagsToClear); }
	bool HasAnyFlags(EObjectFlags FlagsToCheck) const { return (GetFlags() & FlagsToCheck) != 0; }
	bool HasAllFlags(EObjectFlags FlagsToCheck) const { return (GetFlags() & FlagsToCheck) == FlagsToCheck; }
	// Class default objects and archetypes are templates.
	bool IsTemplate(EObjectFlags TemplateTypes = RF_ArchetypeObject | RF_ClassDefaultObject) const;

	// A garbage object must no longer be used: IsValid turns false and the next CollectGarbage
	// destroys it.
	void MarkAsGarbage() { SetFlags(RF_MirroredGarbage); }
	void ClearGarbage() { ClearFlags(RF_MirroredGarbage); }

	FString GetName() const { return GetFName().ToString(); }
	void GetName(FString& ResultString) const { ResultString = GetName(); }
	// Outer chain joined with '.', and ':' after the first object below a package.
	FString GetPathName(const UObject* StopOuter = nullptr) const;
	// "ClassName PathName".
	FString GetFullName(const UObject* StopOuter = nullptr) const;

	UPackage* GetOutermost() const;
	UPackage* GetPackage() const { return GetOutermost(); }
	UObject* GetOutermostObject() const;
	bool IsIn(const UObject* SomeOuter) const;

	bool IsA(const UClass* SomeBase) const;
	template<class T>
	bool IsA() const { return IsA(T::StaticClass()); }

	// The nearest outer of class T (defined in Object.h).
	template<typename T>
	T* GetTypedOuter() const;
};
