// FTopLevelAssetPath: a package name and the name of an asset directly inside it.
#pragma once

#include "CoreMinimal.h"

class UObject;

struct FTopLevelAssetPath
{
	FTopLevelAssetPath() = default;
	FTopLevelAssetPath(FName InPackageName, FName InAssetName) : PackageName(InPackageName), AssetName(InAssetName) {}
	// "/Package/Path.AssetName"; anything else leaves the path null.
	explicit FTopLevelAssetPath(FStringView Path) { TrySetPath(Path); }
	explicit FTopLevelAssetPath(const TCHAR* Path) { TrySetPath(FStringView(Path)); }
	explicit FTopLevelAssetPath(const FString& Path) { TrySetPath(FStringView(Path)); }
	// The path of an object whose outer is a package; null for anything else.
	explicit FTopLevelAssetPath(const UObject* InObject);

	bool TrySetPath(FStringView Path);
	bool TrySetPath(const FString& Path) { return TrySetPath(FStringView(Path)); }

	FName GetPackageName() const { return PackageName; }
	FName GetAssetName() const { return AssetName; }
	bool IsValid() const { return !PackageName.IsNone(); }
	bool IsNull() const { return PackageName.IsNone(); }
	void Reset() { PackageName = NAME_None; AssetName = NAME_None; }

	// "Package.Asset", the package alone when there is no asset, empty when null.
	FString ToString() const;
	void AppendString(FString& Out) const { Out += ToString(); }

	bool operator==(const FTopLevelAssetPath& Other) const { return PackageName == Other.PackageName && AssetName == Other.AssetName; }
	bool operator!=(const FTopLevelAssetPath& Other) const { return !(*this == Other); }

private:
	FName PackageName;
	FName AssetName;
};

inline uint32 GetTypeHash(const FTopLevelAssetPath& Path)
{
	return GetTypeHash(Path.GetPackageName()) ^ (GetTypeHash(Path.GetAssetName()) * 31u);
}
