// Finding and making objects.
#pragma once

#include "CoreMinimal.h"
#include "Logging/LogVerbosity.h"
#include "UObject/ObjectMacros.h"

class FObjectInstancingGraph;
class UObject;
class UClass;
class UPackage;
class FArchive;
class UPackageMap;
struct FLinkerInstancingContext;

enum class EFindObjectFlags
{
	None = 0,
	ExactClass = 1 << 0,
};

ENUM_CLASS_FLAGS(EFindObjectFlags);

enum class EFindFirstObjectOptions
{
	None = 0,
	ExactClass = 1 << 1,
	// When several objects share the name, prefer one from native code (a /Script package).
	NativeFirst = 1 << 2,
	EnsureIfAmbiguous = 1 << 3,
};

ENUM_CLASS_FLAGS(EFindFirstObjectOptions);

// Finds an object by path. With no outer, Name is a full path ("/Script/Engine.RendererSettings");
// with an outer it is relative to it. Class restricts the result to that class (or a child).
COREUOBJECT_API UObject* StaticFindObject(UClass* Class, UObject* InOuter, FStringView Name, EFindObjectFlags Flags = EFindObjectFlags::None);
COREUOBJECT_API UObject* StaticFindObject(UClass* Class, UObject* InOuter, FStringView Name, bool ExactClass);
COREUOBJECT_API UObject* StaticFindObject(UClass* Class, UObject* InOuter, const TCHAR* Name, EFindObjectFlags Flags = EFindObjectFlags::None);
COREUOBJECT_API UObject* StaticFindObject(UClass* Class, UObject* InOuter, const TCHAR* Name, bool ExactClass);

// Finds an object by short name anywhere (or by path, when Name is one). When several match, the
// first registered wins unless NativeFirst asks for one from native code.
COREUOBJECT_API UObject* StaticFindFirstObject(UClass* Class, FStringView Name, EFindFirstObjectOptions Options = EFindFirstObjectOptions::None,
	ELogVerbosity::Type AmbiguousMessageVerbosity = ELogVerbosity::NoLogging, const TCHAR* InCurrentOperation = nullptr);
COREUOBJECT_API UObject* StaticFindFirstObject(UClass* Class, const TCHAR* Name, EFindFirstObjectOptions Options = EFindFirstObjectOptions::None,
	ELogVerbosity::Type AmbiguousMessageVerbosity = ELogVerbosity::NoLogging, const TCHAR* InCurrentOperation = nullptr);

COREUOBJECT_API UPackage* CreatePackage(const TCHAR* PackageName);
COREUOBJECT_API UPackage* FindPackage(UObject* InOuter, const TCHAR* PackageName);

// Loads a package from the file behind its long package name (see FPackageName), or returns it
// when it is in memory already. Null when there is no such file or the file cannot be read; the
// reason goes to the log.
COREUOBJECT_API UPackage* LoadPackage(UPackage* InOuter, const TCHAR* InLongPackageName, uint32 LoadFlags, FArchive* InReaderOverride = nullptr, const FLinkerInstancingContext* InstancingContext = nullptr);

// The object at a path ("/Game/Dir/Asset.Asset"), loading its package first when it is not in
// memory. Null when it cannot be found or is not of Class; LOAD_NoWarn keeps that out of the log.
COREUOBJECT_API UObject* StaticLoadObject(UClass* Class, UObject* InOuter, FStringView Name, FStringView Filename = {}, uint32 LoadFlags = LOAD_None,
	UPackageMap* Sandbox = nullptr, bool bAllowObjectReconciliation = true, const FLinkerInstancingContext* InstancingContext = nullptr);
COREUOBJECT_API UObject* StaticLoadObject(UClass* Class, UObject* InOuter, const TCHAR* Name, const TCHAR* Filename = nullptr, uint32 LoadFlags = LOAD_None,
	UPackageMap* Sandbox = nullptr, bool bAllowObjectReconciliation = true, const FLinkerInstancingContext* InstancingContext = nullptr);

// Destroys the objects marked as garbage that carry none of KeepFlags, with everything inside
// them. References are not traced on the host: an object that is not garbage is never collected.
COREUOBJECT_API void CollectGarbage(EObjectFlags KeepFlags, bool bPerformFullPurge = true);
// The host runs as the editor, where standalone objects survive a collection.
#define GARBAGE_COLLECTION_KEEPFLAGS RF_Standalone
// "BaseName_N" with the first N that is free in Outer.
COREUOBJECT_API FName MakeUniqueObjectName(UObject* Outer, const UClass* Class, FName BaseName = NAME_None);

struct FStaticConstructObjectParameters
{
	explicit FStaticConstructObjectParameters(const UClass* InClass) : Class(InClass) {}

	const UClass* Class;
	UObject* Outer = nullptr;
	FName Name;
	EObjectFlags SetFlags = RF_NoFlags;
};

// Makes an object of Class: the C++ constructor, then property values copied from the class
// default object (or, for a default object, from its parent's), config, PostInitProperties.
COREUOBJECT_API UObject* StaticConstructObject_Internal(const FStaticConstructObjectParameters& Params);

template<class T>
T* FindObject(UObject* Outer, FStringView Name, bool ExactClass = false)
{
	return static_cast<T*>(StaticFindObject(T::StaticClass(), Outer, Name, ExactClass));
}

template<class T>
T* FindObject(UObject* Outer, const TCHAR* Name, bool ExactClass = false)
{
	return static_cast<T*>(StaticFindObject(T::StaticClass(), Outer, Name, ExactClass));
}

template<class T>
T* LoadObject(UObject* Outer, const TCHAR* Name, const TCHAR* Filename = nullptr, uint32 LoadFlags = LOAD_None, UPackageMap* Sandbox = nullptr,
	const FLinkerInstancingContext* InstancingContext = nullptr)
{
	return static_cast<T*>(StaticLoadObject(T::StaticClass(), Outer, Name, Filename, LoadFlags, Sandbox, true, InstancingContext));
}

template<class T>
T* LoadObject(UObject* Outer, FStringView Name, FStringView Filename = {}, uint32 LoadFlags = LOAD_None, UPackageMap* Sandbox = nullptr,
	const FLinkerInstancingContext* InstancingContext = nullptr)
{
	return static_cast<T*>(StaticLoadObject(T::StaticClass(), Outer, Name, Filename, LoadFlags, Sandbox, true, InstancingContext));
}

template<class T>
T* FindFirstObject(FStringView Name, EFindFirstObjectOptions Options = EFindFirstObjectOptions::None,
	ELogVerbosity::Type AmbiguousMessageVerbosity = ELogVerbosity::NoLogging, const TCHAR* InCurrentOperation = nullptr)
{
	return static_cast<T*>(StaticFindFirstObject(T::StaticClass(), Name, Options, AmbiguousMessageVerbosity, InCurrentOperation));
}

template<class T>
T* FindFirstObject(const TCHAR* Name, EFindFirstObjectOptions Options = EFindFirstObjectOptions::None,
	ELogVerbosity::Type AmbiguousMessageVerbosity = ELogVerbosity::NoLogging, const TCHAR* InCurrentOperation = nullptr)
{
	return static_cast<T*>(StaticFindFirstObject(T::StaticClass(), Name, Options, AmbiguousMessageVerbosity, InCurrentOperation));
}

namespace UE::Host::ObjectGlobals
{
	COREUOBJECT_API UObject* GetClassDefaultObject(const UClass* Class);
	COREUOBJECT_API UObject* GetTransientPackageObject();
}

template<class T>
const T* GetDefault()
{
	return static_cast<const T*>(UE::Host::ObjectGlobals::GetClassDefaultObject(T::StaticClass()));
}

template<class T>
const T* GetDefault(UClass* Class)
{
	return static_cast<const T*>(UE::Host::ObjectGlobals::GetClassDefaultObject(Class));
}

template<class T>
T* GetMutableDefault()
{
	return static_cast<T*>(UE::Host::ObjectGlobals::GetClassDefaultObject(T::StaticClass()));
}

template<class T>
T* GetMutableDefault(UClass* Class)
{
	return static_cast<T*>(UE::Host::ObjectGlobals::GetClassDefaultObject(Class));
}

COREUOBJECT_API UPackage* GetTransientPackage();

template<class T>
T* NewObject(UObject* Outer, const UClass* Class, FName Name = NAME_None, EObjectFlags Flags = RF_NoFlags)
{
	FStaticConstructObjectParameters Params(Class);
	Params.Outer = Outer;
	Params.Name = Name;
	Params.SetFlags = Flags;
	return static_cast<T*>(StaticConstructObject_Internal(Params));
}

// Objects made from a template or through an instancing graph are not supported here.
template<class T>
T* NewObject(UObject* Outer, FName Name, EObjectFlags Flags = RF_NoFlags, UObject* Template = nullptr, bool bCopyTransientsFromClassDefaults = false,
	FObjectInstancingGraph* InInstanceGraph = nullptr)
{
	check(Template == nullptr && InInstanceGraph == nullptr);
	return NewObject<T>(Outer, T::StaticClass(), Name, Flags);
}

template<class T>
T* NewObject(UObject* Outer = UE::Host::ObjectGlobals::GetTransientPackageObject())
{
	return NewObject<T>(Outer, T::StaticClass(), NAME_None, RF_NoFlags);
}
