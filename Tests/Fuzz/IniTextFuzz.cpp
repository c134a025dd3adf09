// Fuzz target: INI text through the config cache's loader.
#include "CoreMinimal.h"
#include "Misc/ConfigCacheIni.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	const FString Text = UE::Host::Utf8ToString(std::string_view(reinterpret_cast<const char*>(Data), Size));
	FConfigFile File;
	File.CombineFromBuffer(Text, TEXT("Fuzz.ini"));
	TArray<FString> Sections;
	File.GetSectionNames(Sections);
	for (const FString& Section : Sections)
	{
		FString Value;
		File.GetString(*Section, TEXT("Key"), Value);
	}
	return 0;
}
