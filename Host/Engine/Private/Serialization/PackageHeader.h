// The header of an editor-saved package (.uasset): the summary, the asset registry block and the
// name, import and export tables. Field gates follow the two file version numbers, never the
// legacy version alone. Cooked, unversioned, compressed, big-endian and newer packages are
// refused with the reason.
#pragma once

#include "CoreMinimal.h"
#include "PackageReader.h"

#include <string>
#include <vector>

namespace UE::Host::Package
{
	constexpr uint32 PackageTag = 0x9E2A83C1u;
	constexpr uint64 PackageTrailerTag = 0xD1C43B2E80A5F697ull;

	// The newest file versions this reader knows (editor 5.7).
	constexpr int32 NewestFileVersionUE4 = 522;
	constexpr int32 NewestFileVersionUE5 = 1018;

	struct FPackageSummary
	{
		int32 LegacyFileVersion = 0;
		int32 FileVersionUE4 = 0;
		int32 FileVersionUE5 = 0;
		int32 TotalHeaderSize = 0;
		uint32 PackageFlags = 0;
		int32 NameCount = 0;
		int32 NameOffset = 0;
		int32 ExportCount = 0;
		int32 ExportOffset = 0;
		int32 ImportCount = 0;
		int32 ImportOffset = 0;
		int32 AssetRegistryDataOffset = 0;
		// The package trailer (5.1 and later); -1 when there is none.
		int64 PayloadTocOffset = -1;
	};

	// Reads the summary at offset 0. Refusals and damage are failures of the reader.
	void ReadSummary(FPackageReader& Reader, FPackageSummary& Out);

	// One object the asset registry block lists.
	struct FRegistryObject
	{
		// Relative to the package (the asset name); older packages may give a full path.
		FString ObjectPath;
		FString ClassName;
		// The one tag the host reads: where a redirector points (empty when it has none).
		FString DestinationObject;
	};

	// The asset registry block at AssetRegistryDataOffset; empty when the package has none.
	void ReadAssetRegistryBlock(FPackageReader& Reader, const FPackageSummary& Summary, TArray<FRegistryObject>& OutObjects);

	// A name reference resolved to its text ("Name", or "Name_<Number - 1>").
	struct FNameTable
	{
		std::vector<std::u16string> Names;

		void Read(FPackageReader& Reader, const FPackageSummary& Summary);
		// A name reference at the reader's position; an index outside the table fails.
		std::u16string ReadName(FPackageReader& Reader) const;
		// The same as an engine name, made once per name of the table.
		FName ReadFName(FPackageReader& Reader);

	private:
		std::vector<FName> Made;
	};

	struct FImportEntry
	{
		std::u16string ClassPackage;
		std::u16string ClassName;
		int32 OuterIndex = 0;
		std::u16string ObjectName;
	};

	struct FExportEntry
	{
		int32 ClassIndex = 0;
		int32 OuterIndex = 0;
		std::u16string ObjectName;
		int64 SerialSize = 0;
		int64 SerialOffset = 0;
		bool bIsAsset = false;
	};

	void ReadImports(FPackageReader& Reader, const FPackageSummary& Summary, const FNameTable& Names, std::vector<FImportEntry>& OutImports);
	void ReadExports(FPackageReader& Reader, const FPackageSummary& Summary, const FNameTable& Names, std::vector<FExportEntry>& OutExports);

	// Names compare as the engine's names do: ignoring ASCII letter case.
	bool NamesEqual(std::u16string_view A, std::u16string_view B);
}
