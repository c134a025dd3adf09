// The host's asset registry: one record per asset found in the files under the mounted content
// folders (read from a package's header or a CSV file's first line, never parsed whole), plus
// the assets announced as made in memory.
// Queries also see every asset object in memory, as the editor's registry does.
#pragma once

#include "AssetRegistry/IAssetRegistry.h"
#include "Containers/Map.h"

namespace UE::Host
{
	class FAssetRegistryImpl final : public IAssetRegistry
	{
	public:
		virtual bool GetAssets(const FARFilter& Filter, TArray<FAssetData>& OutAssetData, bool bSkipARFilteredAssets = true) const override;
		virtual FAssetData GetAssetByObjectPath(const FSoftObjectPath& ObjectPath, bool bIncludeOnlyOnDiskAssets = false, bool bSkipARFilteredAssets = true) const override;
		virtual bool GetAssetsByPackageName(FName PackageName, TArray<FAssetData>& OutAssetData, bool bIncludeOnlyOnDiskAssets = false, bool bSkipARFilteredAssets = true) const override;
		virtual bool GetAssetsByPath(FName PackagePath, TArray<FAssetData>& OutAssetData, bool bRecursive = false, bool bIncludeOnlyOnDiskAssets = false) const override;
		virtual bool GetAssetsByClass(FTopLevelAssetPath ClassPathName, TArray<FAssetData>& OutAssetData, bool bSearchSubClasses = false) const override;
		virtual bool GetAllAssets(TArray<FAssetData>& OutAssetData, bool bIncludeOnlyOnDiskAssets = false) const override;
		virtual bool HasAssets(const FName PackagePath, const bool bRecursive = false) const override;

		virtual bool IsLoadingAssets() const override { return false; }
		virtual void SearchAllAssets(bool bSynchronousSearch) override;
		virtual void ScanPathsSynchronous(const TArray<FString>& InPaths, bool bForceRescan = false, bool bIgnoreDenyListScanFilters = false) override;

		virtual void AssetCreated(UObject* NewAsset) override;
		virtual void AssetDeleted(UObject* DeletedAsset) override;
		virtual void PackageDeleted(UPackage* DeletedPackage) override;

		// The file behind a package the scan found, with the package name as spelled on disk.
		bool FindPackageFile(FName PackageName, FName& OutPackageName, FString& OutFilename) const;

	private:
		struct FAssetRecord
		{
			FAssetData Data;
			// Empty for an asset that exists only in memory.
			FString Filename;
		};

		// Adds the records of every asset file in the folder and below it.
		void ScanFolder(const FString& Directory);
		// PackageBases, when given, holds the packages found by the same listing (without their
		// extension): a CSV file beside one is not read.
		void ScanFile(const FString& Filename, const TSet<FString>* PackageBases);
		// Drops the on-disk records of files in the folder (or of that one file).
		void ForgetFilesUnder(const FString& FilenameOrDirectory);
		// All candidates of a query: records, overridden by the asset objects in memory.
		void GatherAssets(bool bIncludeOnlyOnDiskAssets, TArray<FAssetData>& OutAssetData) const;

		// Keyed by object path ("/Game/Dir/Asset.Asset"); letter case ignored, like package names.
		TMap<FString, FAssetRecord> Records;
		// Packages the current scan could not read.
		int32 RefusedPackages = 0;
	};

	// The registry IAssetRegistry::Get returns; null when the asset system is down.
	void SetAssetRegistry(IAssetRegistry* Registry);
}
