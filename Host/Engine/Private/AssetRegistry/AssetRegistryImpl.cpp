#include "AssetRegistryImpl.h"

#include "AssetFileFormats.h"
#include "CoreUObject/ObjectRegistry.h"
#include "CoreUObject/PackageMountPoints.h"
#include "HAL/FileManager.h"
#include "Misc/PackageName.h"
#include "Misc/Paths.h"
#include "Templates/Casts.h"
#include "UObject/Class.h"
#include "UObject/Package.h"

DEFINE_LOG_CATEGORY_STATIC(LogAssetRegistry, Log, All);

namespace
{
	// A scan warns about this many packages it cannot read, then only counts the rest (a
	// checkout whose large files were never fetched would otherwise bury the log).
	constexpr int32 MaxRefusalWarnings = 20;
}

namespace UE::Host
{
	namespace
	{
		// What the editor's registry treats as an asset in memory: a public object directly inside
		// a content package, neither a template nor garbage.
		bool IsMemoryAsset(const UObject* Object)
		{
			if (!IsValid(Object) || !Object->HasAnyFlags(RF_Public) || Object->HasAnyFlags(RF_Transient | RF_ClassDefaultObject | RF_ArchetypeObject))
			{
				return false;
			}
			const UObject* Outer = Object->GetOuter();
			if (!Outer || Outer->GetClass() != UPackage::StaticClass() || !IsValid(Outer))
			{
				return false;
			}
			const UPackage* Package = static_cast<const UPackage*>(Outer);
			return !Package->HasAnyFlags(RF_Transient) && !Package->HasAnyPackageFlags(PKG_CompiledIn);
		}

		// A folder path as filters name it: no trailing '/', except for the root of everything.
		FString NormalizePackagePath(FName Path)
		{
			FString Result = Path.ToString();
			while (Result.Len() > 1 && Result.EndsWith(TEXT("/")))
			{
				Result.LeftChopInline(1);
			}
			return Result;
		}

		bool IsPathMatch(const FString& AssetPath, const FString& FilterPath, bool bRecursive)
		{
			if (AssetPath.Equals(FilterPath, ESearchCase::IgnoreCase))
			{
				return true;
			}
			if (!bRecursive)
			{
				return false;
			}
			if (FilterPath == TEXT("/"))
			{
				return AssetPath.StartsWith(TEXT("/"));
			}
			return AssetPath.Len() > FilterPath.Len() && AssetPath.StartsWith(FilterPath, ESearchCase::IgnoreCase) && AssetPath[FilterPath.Len()] == TEXT('/');
		}

		UClass* FindClass(const FTopLevelAssetPath& ClassPath)
		{
			return Cast<UClass>(StaticFindObject(UClass::StaticClass(), nullptr, ClassPath.ToString()));
		}

		// The class paths a filter accepts, with subclasses and exclusions worked out.
		TSet<FTopLevelAssetPath> CompileClassPaths(const FARFilter& Filter)
		{
			TSet<FTopLevelAssetPath> Result;
			if (!Filter.bRecursiveClasses)
			{
				for (const FTopLevelAssetPath& Path : Filter.ClassPaths)
				{
					Result.Add(Path);
				}
				return Result;
			}

			TArray<const UClass*> Bases;
			for (const FTopLevelAssetPath& Path : Filter.ClassPaths)
			{
				if (const UClass* Class = FindClass(Path))
				{
					Bases.Add(Class);
				}
				else if (!Filter.RecursiveClassPathsExclusionSet.Contains(Path))
				{
					// A class the object system does not know has no known subclasses either.
					Result.Add(Path);
				}
			}
			TArray<const UClass*> Excluded;
			for (const FTopLevelAssetPath& Path : Filter.RecursiveClassPathsExclusionSet)
			{
				if (const UClass* Class = FindClass(Path))
				{
					Excluded.Add(Class);
				}
			}

			TArray<UObject*> Objects;
			FObjectRegistry::Get().GetAllObjects(Objects);
			for (const UObject* Object : Objects)
			{
				const UClass* Class = Object->GetClass() == UClass::StaticClass() && !Object->HasAnyFlags(RF_ClassDefaultObject) ? static_cast<const UClass*>(Object) : nullptr;
				if (!Class)
				{
					continue;
				}
				const bool bIncluded = Bases.ContainsByPredicate([Class](const UClass* Base) { return Class->IsChildOf(Base); });
				const bool bExcluded = Excluded.ContainsByPredicate([Class](const UClass* Base) { return Class->IsChildOf(Base); });
				if (bIncluded && !bExcluded)
				{
					Result.Add(Class->GetClassPathName());
				}
			}
			return Result;
		}
	}

	bool FAssetRegistryImpl::GetAssets(const FARFilter& Filter, TArray<FAssetData>& OutAssetData, bool bSkipARFilteredAssets) const
	{
		if (Filter.IsEmpty())
		{
			return false;
		}

		TSet<FName> PackageNames;
		for (const FName Name : Filter.PackageNames)
		{
			PackageNames.Add(Name);
		}
		TArray<FString> PackagePaths;
		for (const FName Path : Filter.PackagePaths)
		{
			PackagePaths.Add(NormalizePackagePath(Path));
		}
		TSet<FString> ObjectPaths;
		for (const FSoftObjectPath& Path : Filter.SoftObjectPaths)
		{
			ObjectPaths.Add(Path.ToString());
		}
		const TSet<FTopLevelAssetPath> ClassPaths = CompileClassPaths(Filter);
		// Every class asked for was excluded: nothing can match.
		if (!Filter.ClassPaths.IsEmpty() && ClassPaths.IsEmpty())
		{
			return true;
		}

		TArray<FAssetData> Candidates;
		GatherAssets(Filter.bIncludeOnlyOnDiskAssets, Candidates);
		for (FAssetData& Asset : Candidates)
		{
			if (!Filter.PackageNames.IsEmpty() && !PackageNames.Contains(Asset.PackageName))
			{
				continue;
			}
			if (!PackagePaths.IsEmpty())
			{
				const FString AssetPath = Asset.PackagePath.ToString();
				if (!PackagePaths.ContainsByPredicate([&AssetPath, &Filter](const FString& Path) { return IsPathMatch(AssetPath, Path, Filter.bRecursivePaths); }))
				{
					continue;
				}
			}
			if (!Filter.SoftObjectPaths.IsEmpty() && !ObjectPaths.Contains(Asset.GetObjectPathString()))
			{
				continue;
			}
			if (!Filter.ClassPaths.IsEmpty() && !ClassPaths.Contains(Asset.AssetClassPath))
			{
				continue;
			}
			OutAssetData.Add(MoveTemp(Asset));
		}
		return true;
	}

	FAssetData FAssetRegistryImpl::GetAssetByObjectPath(const FSoftObjectPath& ObjectPath, bool bIncludeOnlyOnDiskAssets, bool bSkipARFilteredAssets) const
	{
		if (!ObjectPath.IsAsset())
		{
			return FAssetData();
		}
		const FString Path = ObjectPath.ToString();
		if (!bIncludeOnlyOnDiskAssets)
		{
			const UObject* Object = StaticFindObject(nullptr, nullptr, Path);
			if (IsMemoryAsset(Object))
			{
				return FAssetData(Object);
			}
		}
		const FAssetRecord* Record = Records.Find(Path);
		if (!Record || (bIncludeOnlyOnDiskAssets && Record->Filename.IsEmpty()))
		{
			return FAssetData();
		}
		return Record->Data;
	}

	bool FAssetRegistryImpl::GetAssetsByPackageName(FName PackageName, TArray<FAssetData>& OutAssetData, bool bIncludeOnlyOnDiskAssets, bool bSkipARFilteredAssets) const
	{
		FARFilter Filter;
		Filter.PackageNames.Add(PackageName);
		Filter.bIncludeOnlyOnDiskAssets = bIncludeOnlyOnDiskAssets;
		return GetAssets(Filter, OutAssetData, bSkipARFilteredAssets);
	}

	bool FAssetRegistryImpl::GetAssetsByPath(FName PackagePath, TArray<FAssetData>& OutAssetData, bool bRecursive, bool bIncludeOnlyOnDiskAssets) const
	{
		FARFilter Filter;
		Filter.PackagePaths.Add(PackagePath);
		Filter.bRecursivePaths = bRecursive;
		Filter.bIncludeOnlyOnDiskAssets = bIncludeOnlyOnDiskAssets;
		return GetAssets(Filter, OutAssetData);
	}

	bool FAssetRegistryImpl::GetAssetsByClass(FTopLevelAssetPath ClassPathName, TArray<FAssetData>& OutAssetData, bool bSearchSubClasses) const
	{
		FARFilter Filter;
		Filter.ClassPaths.Add(ClassPathName);
		Filter.bRecursiveClasses = bSearchSubClasses;
		return GetAssets(Filter, OutAssetData);
	}

	bool FAssetRegistryImpl::GetAllAssets(TArray<FAssetData>& OutAssetData, bool bIncludeOnlyOnDiskAssets) const
	{
		TArray<FAssetData> Candidates;
		GatherAssets(bIncludeOnlyOnDiskAssets, Candidates);
		OutAssetData.Append(MoveTemp(Candidates));
		return true;
	}

	bool FAssetRegistryImpl::HasAssets(const FName PackagePath, const bool bRecursive) const
	{
		TArray<FAssetData> Found;
		GetAssetsByPath(PackagePath, Found, bRecursive);
		return !Found.IsEmpty();
	}

	void FAssetRegistryImpl::GatherAssets(bool bIncludeOnlyOnDiskAssets, TArray<FAssetData>& OutAssetData) const
	{
		TSet<FString> InMemory;
		if (!bIncludeOnlyOnDiskAssets)
		{
			TArray<UObject*> Objects;
			FObjectRegistry::Get().GetAllObjects(Objects);
			for (const UObject* Object : Objects)
			{
				if (IsMemoryAsset(Object))
				{
					FAssetData Data(Object);
					InMemory.Add(Data.GetObjectPathString());
					OutAssetData.Add(MoveTemp(Data));
				}
			}
		}
		for (const auto& Pair : Records)
		{
			const FAssetRecord& Record = Pair.Value;
			if (bIncludeOnlyOnDiskAssets ? Record.Filename.IsEmpty() : InMemory.Contains(Pair.Key))
			{
				continue;
			}
			OutAssetData.Add(Record.Data);
		}
	}

	void FAssetRegistryImpl::SearchAllAssets(bool bSynchronousSearch)
	{
		TArray<FString> Folders;
		for (const FMountPointMatch& Mount : GetContentMountPoints())
		{
			Folders.Add(Mount.ContentPath);
		}
		ScanPathsSynchronous(Folders, true);
	}

	void FAssetRegistryImpl::ScanPathsSynchronous(const TArray<FString>& InPaths, bool bForceRescan, bool bIgnoreDenyListScanFilters)
	{
		RefusedPackages = 0;
		for (const FString& InPath : InPaths)
		{
			// A package path names a folder (or package) below a root; anything else is a file name.
			FString Filename;
			if (InPath.StartsWith(TEXT("/")) && FPackageName::IsValidPath(InPath) && FPackageName::TryConvertLongPackageNameToFilename(InPath, Filename))
			{
				FString PackageFile;
				if (!IFileManager::Get().DirectoryExists(*Filename))
				{
					// Forget the package's files of either kind, then read the one that counts.
					ForgetFilesUnder(Filename + FPackageName::GetAssetPackageExtension());
					ForgetFilesUnder(Filename + AssetFiles::GetCsvExtension());
					if (FPackageName::DoesPackageExist(InPath, &PackageFile))
					{
						ScanFile(PackageFile, nullptr);
					}
					continue;
				}
			}
			else
			{
				Filename = FPaths::ConvertRelativePathToFull(InPath);
			}
			ForgetFilesUnder(Filename);
			if (IFileManager::Get().DirectoryExists(*Filename))
			{
				ScanFolder(Filename);
			}
			else if (IFileManager::Get().FileExists(*Filename))
			{
				ScanFile(Filename, nullptr);
			}
		}
		if (RefusedPackages > MaxRefusalWarnings)
		{
			UE_LOG(LogAssetRegistry, Warning, TEXT("%d more packages were not read (run with -v to see them)"), RefusedPackages - MaxRefusalWarnings);
		}
	}

	void FAssetRegistryImpl::ScanFolder(const FString& Directory)
	{
		// One walk of the tree; packages go first, so that a package beside a CSV file of the same
		// name is the asset.
		TArray<FString> Files;
		IFileManager::Get().FindFilesRecursive(Files, *Directory, TEXT("*"), true, false);
		TArray<FString> CsvFiles;
		TSet<FString> PackageBases;
		for (const FString& File : Files)
		{
			if (AssetFiles::IsPackageFile(File))
			{
				ScanFile(File, nullptr);
				PackageBases.Add(FPaths::GetBaseFilename(File, false));
			}
			else if (File.EndsWith(AssetFiles::GetCsvExtension(), ESearchCase::IgnoreCase))
			{
				CsvFiles.Add(File);
			}
		}
		for (const FString& File : CsvFiles)
		{
			ScanFile(File, &PackageBases);
		}
	}

	void FAssetRegistryImpl::ScanFile(const FString& Filename, const TSet<FString>* PackageBases)
	{
		const bool bPackage = AssetFiles::IsPackageFile(Filename);
		if (!bPackage)
		{
			const FString Base = FPaths::GetBaseFilename(Filename, false);
			if (PackageBases ? PackageBases->Contains(Base) : FPaths::FileExists(Base + FPackageName::GetAssetPackageExtension()))
			{
				UE_LOG(LogAssetRegistry, Verbose, TEXT("'%s' is not read: the package beside it is the asset"), *Filename);
				return;
			}
		}
		FString PackageName;
		FString Reason;
		if (!FPackageName::TryConvertFilenameToLongPackageName(Filename, PackageName, &Reason))
		{
			UE_LOG(LogAssetRegistry, Warning, TEXT("Skipping '%s': %s"), *Filename, *Reason);
			return;
		}
		FText InvalidReason;
		if (!FPackageName::IsValidLongPackageName(PackageName, false, &InvalidReason))
		{
			UE_LOG(LogAssetRegistry, Warning, TEXT("Skipping '%s': %s"), *Filename, *InvalidReason.ToString());
			return;
		}
		TArray<PackageFile::FListedAsset> Assets;
		if (!AssetFiles::ListAssets(Filename, Assets, Reason))
		{
			++RefusedPackages;
			if (RefusedPackages <= MaxRefusalWarnings)
			{
				UE_LOG(LogAssetRegistry, Warning, TEXT("Package '%s' is not read: %s"), *Filename, *Reason);
			}
			else
			{
				UE_LOG(LogAssetRegistry, Verbose, TEXT("Package '%s' is not read: %s"), *Filename, *Reason);
			}
			return;
		}
		if (Assets.IsEmpty())
		{
			// Plain CSV files live beside assets; they are simply not assets.
			UE_LOG(LogAssetRegistry, Verbose, TEXT("'%s' holds no asset"), *Filename);
			return;
		}
		const FName Package(PackageName);
		const FName PackagePath(FPackageName::GetLongPackagePath(PackageName));
		for (const PackageFile::FListedAsset& Asset : Assets)
		{
			FAssetData Data(Package, PackagePath, Asset.AssetName, Asset.ClassPath);
			const FString ObjectPath = Data.GetObjectPathString();
			if (const FAssetRecord* Existing = Records.Find(ObjectPath); Existing && !Existing->Filename.IsEmpty() && !Existing->Filename.Equals(Filename, ESearchCase::CaseSensitive))
			{
				UE_LOG(LogAssetRegistry, Warning, TEXT("Skipping '%s': package '%s' is already read from '%s'"), *Filename, *PackageName, *Existing->Filename);
				return;
			}
			Records.Add(ObjectPath, FAssetRecord{MoveTemp(Data), Filename});
		}
	}

	void FAssetRegistryImpl::ForgetFilesUnder(const FString& FilenameOrDirectory)
	{
		FString Folder = FilenameOrDirectory;
		if (!Folder.EndsWith(TEXT("/")))
		{
			Folder.AppendChar(TEXT('/'));
		}
		TArray<FString> Forgotten;
		for (const auto& Pair : Records)
		{
			const FString& File = Pair.Value.Filename;
			if (!File.IsEmpty() && (File.Equals(FilenameOrDirectory, ESearchCase::CaseSensitive) || File.StartsWith(Folder, ESearchCase::CaseSensitive)))
			{
				Forgotten.Add(Pair.Key);
			}
		}
		for (const FString& Key : Forgotten)
		{
			Records.Remove(Key);
		}
	}

	void FAssetRegistryImpl::AssetCreated(UObject* NewAsset)
	{
		FAssetData Data(NewAsset);
		if (!Data.IsValid())
		{
			UE_LOG(LogAssetRegistry, Warning, TEXT("AssetCreated: '%s' is not an object directly inside a package"), NewAsset ? *NewAsset->GetPathName() : TEXT("None"));
			return;
		}
		const FString ObjectPath = Data.GetObjectPathString();
		FAssetRecord& Record = Records.FindOrAdd(ObjectPath);
		Record.Data = MoveTemp(Data);
	}

	void FAssetRegistryImpl::AssetDeleted(UObject* DeletedAsset)
	{
		const FAssetData Data(DeletedAsset);
		if (Data.IsValid())
		{
			Records.Remove(Data.GetObjectPathString());
		}
	}

	void FAssetRegistryImpl::PackageDeleted(UPackage* DeletedPackage)
	{
		if (!DeletedPackage)
		{
			return;
		}
		const FName PackageName = DeletedPackage->GetFName();
		TArray<FString> Forgotten;
		for (const auto& Pair : Records)
		{
			if (Pair.Value.Data.PackageName == PackageName)
			{
				Forgotten.Add(Pair.Key);
			}
		}
		for (const FString& Key : Forgotten)
		{
			Records.Remove(Key);
		}
	}

	bool FAssetRegistryImpl::FindPackageFile(FName PackageName, FName& OutPackageName, FString& OutFilename) const
	{
		// A file's asset is usually named after its package; a package whose asset has another name
		// is looked for among all records.
		const FString Name = PackageName.ToString();
		const FAssetRecord* Record = Records.Find(Name + TEXT(".") + FPackageName::GetLongPackageAssetName(Name));
		if (!Record || Record->Filename.IsEmpty())
		{
			Record = nullptr;
			for (const auto& Pair : Records)
			{
				if (!Pair.Value.Filename.IsEmpty() && Pair.Value.Data.PackageName == PackageName)
				{
					Record = &Pair.Value;
					break;
				}
			}
			if (!Record)
			{
				return false;
			}
		}
		OutPackageName = Record->Data.PackageName;
		OutFilename = Record->Filename;
		return true;
	}
}
