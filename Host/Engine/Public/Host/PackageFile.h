// Editor-saved packages (.uasset) as the host reads them: the asset list from the header's asset
// registry block (for discovery, reading only the summary and that block), and a StringTable
// export's namespace, entries and metadata (for loading). The host never writes packages.
#pragma once

#include "CoreMinimal.h"
#include "UObject/TopLevelAssetPath.h"

#include <string_view>

class FStringTable;

namespace UE::Host::PackageFile
{
	// One object a package's asset registry block lists.
	struct FListedAsset
	{
		FName AssetName;
		// The 5.0 short class names are made full ("StringTable" is /Script/Engine.StringTable).
		FTopLevelAssetPath ClassPath;
		// Redirectors only: the object path their DestinationObject tag names, or empty when the tag
		// is missing or names no object path.
		FString RedirectTarget;

		bool IsRedirector() const;
	};

	// Reads the summary and the asset registry block of a package file. On failure OutError says
	// why (a refusal, truncation or damage) and nothing is listed.
	bool ReadAssetList(const FString& Filename, TArray<FListedAsset>& OutAssets, FString& OutError);
	bool ReadAssetList(std::string_view Bytes, TArray<FListedAsset>& OutAssets, FString& OutError);

	// Replaces the table's namespace, entries and metadata with those of the package's StringTable
	// export named ObjectName (any StringTable asset export when ObjectName is empty). The export
	// must be read to exactly its recorded size. On failure the table is unchanged.
	bool LoadStringTable(std::string_view Bytes, FStringView ObjectName, FStringTable& OutTable, FString& OutError);
	bool LoadStringTableFile(const FString& Filename, FStringView ObjectName, FStringTable& OutTable, FString& OutError);

	// The class path of the engine's redirector objects.
	const FTopLevelAssetPath& GetRedirectorClassPath();
}
