// Fuzz target: package bytes through the package reader, for discovery (the header's asset list)
// and for loading (the StringTable export).
#include "CoreMinimal.h"
#include "Host/PackageFile.h"
#include "Internationalization/StringTableCore.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	const std::string_view Bytes(reinterpret_cast<const char*>(Data), Size);
	TArray<UE::Host::PackageFile::FListedAsset> Assets;
	FString Error;
	UE::Host::PackageFile::ReadAssetList(Bytes, Assets, Error);
	FStringTableRef Table = FStringTable::NewStringTable();
	UE::Host::PackageFile::LoadStringTable(Bytes, FStringView(), *Table, Error);
	return 0;
}
