// FARFilter: what an asset registry query asks for. The values inside one field are alternatives
// (OR); the fields that are set must all match (AND). An empty filter matches nothing.
#pragma once

#include "CoreMinimal.h"
#include "Containers/Set.h"
#include "UObject/SoftObjectPath.h"
#include "UObject/TopLevelAssetPath.h"

struct FARFilter
{
	// Long package names ("/Game/Localization/ST_UI").
	TArray<FName> PackageNames;
	// Folders ("/Game/Localization"); with bRecursivePaths, every folder below them too.
	TArray<FName> PackagePaths;
	// Object paths of assets ("/Game/Localization/ST_UI.ST_UI").
	TArray<FSoftObjectPath> SoftObjectPaths;
	// Asset classes ("/Script/Engine.StringTable"); with bRecursiveClasses, their subclasses too.
	TArray<FTopLevelAssetPath> ClassPaths;
	// With bRecursiveClasses: classes left out, together with their subclasses.
	TSet<FTopLevelAssetPath> RecursiveClassPathsExclusionSet;
	bool bRecursivePaths = false;
	bool bRecursiveClasses = false;
	// Only what the registry read from disk, not assets that exist only in memory.
	bool bIncludeOnlyOnDiskAssets = false;

	bool IsEmpty() const
	{
		return PackageNames.IsEmpty() && PackagePaths.IsEmpty() && SoftObjectPaths.IsEmpty() && ClassPaths.IsEmpty();
	}

	void Append(const FARFilter& Other)
	{
		PackageNames.Append(Other.PackageNames);
		PackagePaths.Append(Other.PackagePaths);
		SoftObjectPaths.Append(Other.SoftObjectPaths);
		ClassPaths.Append(Other.ClassPaths);
		for (const FTopLevelAssetPath& Path : Other.RecursiveClassPathsExclusionSet)
		{
			RecursiveClassPathsExclusionSet.Add(Path);
		}
		bRecursivePaths |= Other.bRecursivePaths;
		bRecursiveClasses |= Other.bRecursiveClasses;
		bIncludeOnlyOnDiskAssets |= Other.bIncludeOnlyOnDiskAssets;
	}

	void Clear()
	{
		*this = FARFilter();
	}
};
