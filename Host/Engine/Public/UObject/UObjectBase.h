// UObjectBase: the identity every object carries (class, outer, name, flags) and its place in
// the global object registry.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"

class UObject;
class UClass;
class UPackage;

namespace UE::Host
{
	struct FObjectRegistry;
}

class UObjectBase
{
public:
	// Takes class, outer, name and flags from the construction in progress (StaticConstructObject);
	// an object built with a plain 'new' stays outside the registry.
	UObjectBase();
	UObjectBase(const UObjectBase&) = delete;
	UObjectBase& operator=(const UObjectBase&) = delete;
	virtual ~UObjectBase();

	UClass* GetClass() const { return ClassPrivate; }
	UObject* GetOuter() const { return OuterPrivate; }
	FName GetFName() const { return NamePrivate; }
	EObjectFlags GetFlags() const { return ObjectFlags; }
	uint32 GetUniqueID() const { return static_cast<uint32>(InternalIndex); }
	bool IsValidLowLevel() const { return ClassPrivate != nullptr; }
	// True once the object is in the registry, so the finders can see it.
	bool IsRegistered() const { return InternalIndex != INDEX_NONE; }

protected:
	void SetFlagsTo(EObjectFlags NewFlags) { ObjectFlags = NewFlags; }

private:
	friend struct UE::Host::FObjectRegistry;

	EObjectFlags ObjectFlags = RF_NoFlags;
	int32 InternalIndex = INDEX_NONE;
	UClass* ClassPrivate = nullptr;
	FName NamePrivate;
	UObject* OuterPrivate = nullptr;
};
