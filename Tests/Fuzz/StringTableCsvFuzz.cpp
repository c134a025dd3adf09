// Fuzz target: StringTable CSV text through the reader, and a written table back through it.
#include "CoreMinimal.h"
#include "Host/StringTableCsv.h"
#include "Internationalization/StringTableCore.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	FStringTableRef Table = FStringTable::NewStringTable();
	FString Error;
	if (UE::Host::StringTableCsv::Parse(std::string_view(reinterpret_cast<const char*>(Data), Size), *Table, Error))
	{
		const std::string Written = UE::Host::StringTableCsv::Write(*Table);
		FStringTableRef Again = FStringTable::NewStringTable();
		UE::Host::StringTableCsv::Parse(Written, *Again, Error);
	}
	return 0;
}
