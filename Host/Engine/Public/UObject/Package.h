// UPackage: the outermost object. Native classes live in "/Script/<Module>" packages.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

enum EPackageFlags : uint32
{
	PKG_None = 0x00000000u,
	PKG_NewlyCreated = 0x00000001u,
	PKG_ClientOptional = 0x00000002u,
	PKG_ServerSideOnly = 0x00000004u,
	PKG_CompiledIn = 0x00000010u,
	PKG_ForDiffing = 0x00000020u,
	PKG_EditorOnly = 0x00000040u,
	PKG_Developer = 0x00000080u,
	PKG_ContainsMapData = 0x00004000u,
	PKG_ContainsMap = 0x00020000u,
	PKG_RuntimeGenerated = 0x00040000u,
	PKG_ContainsScript = 0x00200000u,
	PKG_InMemoryOnly = 0x10000000u,
};

ENUM_CLASS_FLAGS(EPackageFlags);

class UPackage : public UObject
{
	DECLARE_CLASS_INTRINSIC(UPackage, UObject, CLASS_None, TEXT("/Script/CoreUObject"))

public:
	UPackage() = default;

	EPackageFlags GetPackageFlags() const { return PackageFlags; }
	void SetPackageFlags(EPackageFlags NewFlags) { PackageFlags |= NewFlags; }
	void ClearPackageFlags(EPackageFlags FlagsToClear) { PackageFlags &= ~FlagsToClear; }
	bool HasAnyPackageFlags(EPackageFlags FlagsToCheck) const { return (PackageFlags & FlagsToCheck) != 0; }
	bool HasAllPackageFlags(EPackageFlags FlagsToCheck) const { return (PackageFlags & FlagsToCheck) == FlagsToCheck; }

	// Whether the package changed since it was loaded or created; only the editor's saving acts on it.
	bool IsDirty() const { return bDirty; }
	void SetDirtyFlag(bool bIsDirty) { bDirty = bIsDirty; }

private:
	EPackageFlags PackageFlags = PKG_None;
	bool bDirty = false;
};

// The package for objects that belong nowhere ("/Engine/Transient").
COREUOBJECT_API UPackage* GetTransientPackage();
