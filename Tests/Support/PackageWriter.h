// Editor-saved packages (.uasset) written byte by byte in the layout each editor version saves,
// for the tests, the benchmarks, the fuzz seeds and the bundled sample. The host itself only
// reads packages.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace OrvexTestPackages
{
	enum class EEditorVersion
	{
		UE4_27,
		UE5_0,
		UE5_1,
		UE5_3,
		UE5_4,
		UE5_5,
		UE5_6,
		UE5_7,
	};

	// Every version gate, oldest first.
	const std::vector<EEditorVersion>& AllEditorVersions();
	const char* GetVersionName(EEditorVersion Version);
	// Editors up to 5.5 save a PackageMetaData export beside the asset.
	bool HasMetaDataExport(EEditorVersion Version);

	struct FMetaDataRow
	{
		std::u16string Id;
		std::u16string Value;
		// The name's number: 0 for the name as it is, N for "Id_<N - 1>".
		int32_t Number = 0;
	};

	struct FTableEntry
	{
		std::u16string Key;
		std::u16string Source;
		std::vector<FMetaDataRow> MetaData;
	};

	struct FTableContent
	{
		std::u16string Namespace;
		// In the order the editor's map holds them, which is not sorted.
		std::vector<FTableEntry> Entries;
	};

	struct FPackageOptions
	{
		EEditorVersion Version = EEditorVersion::UE5_7;
		// "/Game/Localization/ST_Menu"; its last segment names the asset.
		std::string PackageName = "/Game/Localization/ST_Menu";
		// PackageMetaData export (5.0 to 5.5): as the version saves it unless set.
		int MetaDataExport = -1;
		// A tagged property before the terminating None (a StringTable has none of its own).
		bool bPropertyTag = false;
		// The object's GUID after the properties.
		bool bObjectGuid = false;
		// Strings whose characters are all below 0x100 written single-byte (the editor does so
		// only below 0x80); the rest as UTF-16.
		bool bLatin1UpTo0xFF = false;

		// Damage and refusals.
		uint32_t ExtraPackageFlags = 0;
		int32_t CompressedChunkCount = 0;
		bool bUnversioned = false;
		int32_t LegacyFileVersionOverride = 0;
		int32_t FileVersionUE5Override = -1;
		// Added to the StringTable export's recorded size.
		int64_t SerialSizeDelta = 0;
	};

	std::string WriteStringTablePackage(const FTableContent& Table, const FPackageOptions& Options = {});
	// A redirector left behind by a rename; Destination is the new object path.
	std::string WriteRedirectorPackage(const std::string& Destination, const FPackageOptions& Options = {});
	// A package holding one asset of another class (a texture, a blueprint), with registry tags.
	std::string WriteOtherAssetPackage(const std::string& ClassPath, const std::vector<std::pair<std::string, std::string>>& Tags, const FPackageOptions& Options = {});

	// The bytes as a big-endian platform's package starts.
	std::string SwapPackageTag(std::string Bytes);
	// What a version control system leaves in place of a large file it has not fetched.
	std::string LargeFilePointer(const std::string& Bytes);
	// A UTF-16 text from UTF-8.
	std::u16string U16(const std::string& Utf8);
}
