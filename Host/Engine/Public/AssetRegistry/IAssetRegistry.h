// IAssetRegistry: the catalogue of assets under the mounted content roots, built from the files
// on disk without loading them, plus the assets made in memory. Call it on the game thread.
#pragma once

#include "CoreMinimal.h"
#include "AssetRegistry/ARFilter.h"
#include "AssetRegistry/AssetData.h"

class UObject;
class UPackage;

class IAssetRegistry
{
public:
	virtual ~IAssetRegistry() = default;

	// Null before the registry has started and after it has shut down.
	static IAssetRegistry* Get();
	static IAssetRegistry& GetChecked();

	// Every asset that passes the filter, in no particular order. False, with nothing added, for
	// an empty filter. In-memory assets replace their on-disk record unless the filter asks for
	// on-disk assets only.
	virtual bool GetAssets(const FARFilter& Filter, TArray<FAssetData>& OutAssetData, bool bSkipARFilteredAssets = true) const = 0;
	virtual FAssetData GetAssetByObjectPath(const FSoftObjectPath& ObjectPath, bool bIncludeOnlyOnDiskAssets = false, bool bSkipARFilteredAssets = true) const = 0;
	virtual bool GetAssetsByPackageName(FName PackageName, TArray<FAssetData>& OutAssetData, bool bIncludeOnlyOnDiskAssets = false, bool bSkipARFilteredAssets = true) const = 0;
	virtual bool GetAssetsByPath(FName PackagePath, TArray<FAssetData>& OutAssetData, bool bRecursive = false, bool bIncludeOnlyOnDiskAssets = false) const = 0;
	virtual bool GetAssetsByClass(FTopLevelAssetPath ClassPathName, TArray<FAssetData>& OutAssetData, bool bSearchSubClasses = false) const = 0;
	virtual bool GetAllAssets(TArray<FAssetData>& OutAssetData, bool bIncludeOnlyOnDiskAssets = false) const = 0;
	virtual bool HasAssets(const FName PackagePath, const bool bRecursive = false) const = 0;

	// The scan runs synchronously at start-up, so the registry is never still loading.
	virtual bool IsLoadingAssets() const = 0;
	virtual void SearchAllAssets(bool bSynchronousSearch) = 0;
	// Rescans the given folders: package paths ("/Game/Localization") or files on disk.
	virtual void ScanPathsSynchronous(const TArray<FString>& InPaths, bool bForceRescan = false, bool bIgnoreDenyListScanFilters = false) = 0;

	// An asset made in memory (NewObject in a package of a mounted root) becomes known.
	virtual void AssetCreated(UObject* NewAsset) = 0;
	// The asset is forgotten, also when a file for it exists, until that file is scanned again.
	virtual void AssetDeleted(UObject* DeletedAsset) = 0;
	virtual void PackageDeleted(UPackage* DeletedPackage) = 0;
};
