// The asset files the host understands: packages the editor saved (.uasset, listed from their
// header's asset registry block), and CSV files in the editor's StringTable or DataTable export
// form (a file's kind comes from its first line alone). Listing never parses a table.
#pragma once

#include "CoreMinimal.h"
#include "Host/PackageFile.h"

#include <string>

class UClass;
class UObject;

namespace UE::Host::AssetFiles
{
	// The host's own text form of tables, beside the engine's packages.
	const FString& GetCsvExtension();
	bool IsPackageFile(const FString& Filename);

	// The first line of the file as UTF-8 (a UTF-16 file is converted, byte-order marks go), read
	// without touching the rest. False when the file cannot be opened.
	bool ReadFirstLine(const FString& Filename, std::string& OutUtf8Line);

	// The asset class a header line stands for: UStringTable for one naming Key and SourceString
	// (letter case ignored), UDataTable for one whose first cell is "---"; null otherwise.
	UClass* ClassifyHeader(const std::string& Utf8Line);
	UClass* ClassifyFile(const FString& Filename);

	// The assets a file holds: those a package's header lists, or the one a CSV file holds (named
	// after the file; none for a CSV file of no known kind). False, with the reason, for a package
	// that is refused or damaged.
	bool ListAssets(const FString& Filename, TArray<PackageFile::FListedAsset>& OutAssets, FString& OutError);

	// Fills a freshly made asset object from its file. On failure the reason is logged (under
	// LogStringTable or LogDataTable) and false comes back.
	bool LoadFromFile(UObject* Asset, const FString& Filename);
}
