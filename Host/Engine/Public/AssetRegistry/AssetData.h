// FAssetData: what the asset registry knows about one asset without loading it: its package,
// folder, name and class.
#pragma once

#include "CoreMinimal.h"
#include "Containers/Set.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/SoftObjectPath.h"
#include "UObject/TopLevelAssetPath.h"

struct FAssetData
{
	// "/Game/Localization/ST_UI".
	FName PackageName;
	// "/Game/Localization".
	FName PackagePath;
	// "ST_UI".
	FName AssetName;
	// "/Script/Engine.StringTable".
	FTopLevelAssetPath AssetClassPath;
	uint32 PackageFlags = 0;

	FAssetData() = default;
	FAssetData(FName InPackageName, FName InPackagePath, FName InAssetName, FTopLevelAssetPath InAssetClassPathName, uint32 InPackageFlags = 0);
	// An asset in memory: a top-level object of a package. Anything else gives invalid data.
	FAssetData(const UObject* InAsset, bool bAllowBlueprintClass = false);

	bool IsValid() const { return !PackageName.IsNone() && !AssetName.IsNone(); }
	// An asset is the object named after its package (the only kind the host has).
	bool IsUAsset() const;
	bool IsTopLevelAsset() const { return IsValid(); }

	// "/Game/Localization/ST_UI.ST_UI".
	FString GetObjectPathString() const;
	FSoftObjectPath GetSoftObjectPath() const;
	FSoftObjectPath ToSoftObjectPath() const { return GetSoftObjectPath(); }
	// "StringTable /Game/Localization/ST_UI.ST_UI".
	FString GetFullName() const;
	// "/Script/Engine.StringTable'/Game/Localization/ST_UI.ST_UI'".
	FString GetExportTextName() const;

	// The asset, loading its package when it is not in memory yet; null when it cannot be loaded.
	UObject* GetAsset(TSet<FName> LoadTags = {}) const;
	// The asset when it is in memory; with bLoad, loaded like GetAsset.
	UObject* FastGetAsset(bool bLoad = false) const;
	bool IsAssetLoaded() const;
	UPackage* GetPackage() const;

	// The asset's class when it is known to the object system.
	UClass* GetClass() const;
	bool IsInstanceOf(const UClass* BaseClass) const;

	bool operator==(const FAssetData& Other) const
	{
		return PackageName == Other.PackageName && AssetName == Other.AssetName && AssetClassPath == Other.AssetClassPath;
	}
	bool operator!=(const FAssetData& Other) const { return !(*this == Other); }
};

inline uint32 GetTypeHash(const FAssetData& AssetData)
{
	return GetTypeHash(AssetData.PackageName) ^ (GetTypeHash(AssetData.AssetName) * 31u);
}
