// The asset files the host understands: CSV files in the editor's StringTable or DataTable
// export form. A file's kind comes from its first line alone, so listing never parses a table.
#pragma once

#include "CoreMinimal.h"

#include <string>

class UClass;
class UObject;

namespace UE::Host::AssetFiles
{
	// The first line of the file as UTF-8 (a UTF-16 file is converted, byte-order marks go), read
	// without touching the rest. False when the file cannot be opened.
	bool ReadFirstLine(const FString& Filename, std::string& OutUtf8Line);

	// The asset class a header line stands for: UStringTable for one naming Key and SourceString
	// (letter case ignored), UDataTable for one whose first cell is "---"; null otherwise.
	UClass* ClassifyHeader(const std::string& Utf8Line);
	UClass* ClassifyFile(const FString& Filename);

	// Fills a freshly made asset object from its file. On failure the reason is logged (under
	// LogStringTable or LogDataTable) and false comes back.
	bool LoadFromFile(UObject* Asset, const FString& Filename);
}
