#include "Host/AssetSystem.h"

#include "AssetRegistry/AssetFileFormats.h"
#include "AssetRegistry/AssetRegistryImpl.h"
#include "CoreUObject/ObjectSystemInternal.h"
#include "CoreUObject/PackageLoader.h"
#include "CoreUObject/PackageMountPoints.h"
#include "Engine/DataTable.h"
#include "HAL/FileManager.h"
#include "Internationalization/StringTable.h"
#include "Misc/PackageName.h"
#include "Misc/Paths.h"
#include "UObject/Package.h"

#include <memory>

DEFINE_LOG_CATEGORY_STATIC(LogAssetSystem, Log, All);

namespace UE::Host
{
	namespace
	{
		// The classes the host makes from files: StringTables from packages, and StringTables and
		// DataTables from CSV files.
		UClass* FindLoadableClass(const FTopLevelAssetPath& ClassPath, const FString& Filename)
		{
			if (ClassPath == UStringTable::StaticClass()->GetClassPathName())
			{
				return UStringTable::StaticClass();
			}
			if (ClassPath == UDataTable::StaticClass()->GetClassPathName() && !AssetFiles::IsPackageFile(Filename))
			{
				return UDataTable::StaticClass();
			}
			return nullptr;
		}

		// Makes packages from asset files. What it made is remembered by path, not by pointer: a
		// garbage collection may destroy a loaded asset before shutdown.
		class FFilePackageLoader final : public IPackageLoader
		{
		public:
			explicit FFilePackageLoader(const FAssetRegistryImpl& InRegistry) : Registry(InRegistry) {}

			virtual EPackageLoadResult LoadPackage(const FString& LongPackageName, UPackage*& OutPackage, FPackageRedirect& OutRedirect) override
			{
				FName PackageName;
				FString Filename;
				// The scan knows the file and how the package name is spelled on disk; a file added
				// since is found through the mount points.
				if (!Registry.FindPackageFile(FName(LongPackageName), PackageName, Filename))
				{
					if (!FPackageName::DoesPackageExist(LongPackageName, &Filename))
					{
						return EPackageLoadResult::NotFound;
					}
					PackageName = FName(LongPackageName);
				}
				const FString PackageText = PackageName.ToString();

				// The file is read afresh: it may have changed since the scan.
				TArray<PackageFile::FListedAsset> Assets;
				FString Reason;
				if (!AssetFiles::ListAssets(Filename, Assets, Reason))
				{
					UE_LOG(LogAssetSystem, Warning, TEXT("Failed to load package '%s' from '%s': %s"), *PackageText, *Filename, *Reason);
					return EPackageLoadResult::Failed;
				}
				if (Assets.IsEmpty())
				{
					return EPackageLoadResult::NotFound;
				}
				if (const PackageFile::FListedAsset* Redirector = Assets.FindByPredicate([](const PackageFile::FListedAsset& Asset) { return Asset.IsRedirector(); }))
				{
					if (Redirector->RedirectTarget.IsEmpty())
					{
						UE_LOG(LogAssetSystem, Warning, TEXT("Failed to load package '%s' from '%s': its redirector names no destination object"), *PackageText, *Filename);
						return EPackageLoadResult::Failed;
					}
					OutRedirect.From = PackageText + TEXT(".") + Redirector->AssetName.ToString();
					OutRedirect.To = Redirector->RedirectTarget;
					return EPackageLoadResult::Redirected;
				}
				UClass* Class = nullptr;
				const PackageFile::FListedAsset* Loadable = Assets.FindByPredicate([&Class, &Filename](const PackageFile::FListedAsset& Asset)
				{
					Class = FindLoadableClass(Asset.ClassPath, Filename);
					return Class != nullptr;
				});
				if (!Loadable)
				{
					UE_LOG(LogAssetSystem, Warning, TEXT("Package '%s' holds %s '%s', which the host does not load"), *PackageText,
						*Assets[0].ClassPath.GetAssetName().ToString(), *Assets[0].AssetName.ToString());
					return EPackageLoadResult::Failed;
				}

				const bool bNewPackage = !IsValid(FindPackage(nullptr, *PackageText));
				UPackage* Package = CreatePackage(*PackageText);
				UObject* Asset = Package ? NewObject<UObject>(Package, Class, Loadable->AssetName, RF_Public | RF_Standalone | RF_WasLoaded | RF_LoadCompleted) : nullptr;
				if (!Asset || !AssetFiles::LoadFromFile(Asset, Filename))
				{
					// Nothing half-loaded stays behind; a package that existed before keeps living.
					if (Package && bNewPackage)
					{
						Private::DestroyRuntimeObject(Package);
					}
					else if (Asset)
					{
						Private::DestroyRuntimeObject(Asset);
					}
					return EPackageLoadResult::Failed;
				}
				Asset->PostLoad();
				Package->SetDirtyFlag(false);
				Loaded.Add(bNewPackage ? PackageText : Asset->GetPathName());
				OutPackage = Package;
				return EPackageLoadResult::Loaded;
			}

			void ReleaseLoaded()
			{
				for (int32 Index = Loaded.Num() - 1; Index >= 0; --Index)
				{
					if (UObject* Object = StaticFindObject(nullptr, nullptr, Loaded[Index]))
					{
						Private::DestroyRuntimeObject(Object);
					}
				}
				Loaded.Empty();
			}

		private:
			const FAssetRegistryImpl& Registry;
			// Package names, or object paths for assets loaded into a package that existed already.
			TArray<FString> Loaded;
		};

		struct FAssetSystem
		{
			std::unique_ptr<FAssetRegistryImpl> Registry;
			std::unique_ptr<FFilePackageLoader> Loader;
		};

		FAssetSystem& GetAssetSystem()
		{
			static FAssetSystem* System = new FAssetSystem();
			return *System;
		}

		void FindFolders(const FString& Directory, TArray<FString>& OutNames)
		{
			OutNames.Reset();
			IFileManager::Get().FindFiles(OutNames, *(Directory / TEXT("*")), false, true);
			OutNames.Sort();
		}

		// A plugin folder holds its .uplugin file; the plugin is named after that file.
		bool MountPluginIn(const FString& Folder)
		{
			TArray<FString> Descriptors;
			IFileManager::Get().FindFiles(Descriptors, *Folder, TEXT("uplugin"));
			if (Descriptors.IsEmpty())
			{
				return false;
			}
			Descriptors.Sort();
			const FString PluginName = FPaths::GetBaseFilename(Descriptors[0]);
			if (FPackageName::MountPointExists(PluginName))
			{
				UE_LOG(LogAssetSystem, Warning, TEXT("Plugin '%s' in '%s' is not mounted: the root /%s/ is taken"), *PluginName, *Folder, *PluginName);
				return true;
			}
			FPackageName::RegisterMountPoint(TEXT("/") + PluginName + TEXT("/"), Folder / TEXT("Content/"));
			return true;
		}

		// Project plugins live in Plugins/<Name>/ or one group folder deeper, Plugins/<Group>/<Name>/.
		void MountProjectPlugins()
		{
			const FString PluginsDir = FPaths::ProjectPluginsDir();
			TArray<FString> Folders;
			FindFolders(PluginsDir, Folders);
			for (const FString& Name : Folders)
			{
				const FString Folder = PluginsDir / Name;
				if (MountPluginIn(Folder))
				{
					continue;
				}
				TArray<FString> Nested;
				FindFolders(Folder, Nested);
				for (const FString& NestedName : Nested)
				{
					MountPluginIn(Folder / NestedName);
				}
			}
		}
	}

	void InitializeAssetSystem()
	{
		FAssetSystem& System = GetAssetSystem();
		if (System.Registry)
		{
			return;
		}
		// The classes of the asset kinds, so class lookups find them before any asset is loaded.
		UStringTable::StaticClass();
		UDataTable::StaticClass();

		ResetMountPoints();
		MountProjectPlugins();

		System.Registry = std::make_unique<FAssetRegistryImpl>();
		System.Loader = std::make_unique<FFilePackageLoader>(*System.Registry);
		SetAssetRegistry(System.Registry.get());
		SetPackageLoader(System.Loader.get());
		System.Registry->SearchAllAssets(true);

		TArray<FAssetData> Assets;
		System.Registry->GetAllAssets(Assets, true);
		UE_LOG(LogAssetSystem, Verbose, TEXT("Asset registry started with %d assets on disk"), Assets.Num());
	}

	void ShutdownAssetSystem()
	{
		FAssetSystem& System = GetAssetSystem();
		if (!System.Registry)
		{
			return;
		}
		SetPackageLoader(nullptr);
		SetAssetRegistry(nullptr);
		System.Loader->ReleaseLoaded();
		System.Loader.reset();
		System.Registry.reset();
		ResetMountPoints();
	}

	bool IsAssetSystemInitialized()
	{
		return GetAssetSystem().Registry != nullptr;
	}
}
