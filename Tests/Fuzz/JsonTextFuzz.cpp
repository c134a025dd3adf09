// Fuzz target: UTF-8 JSON text in, the object model and back out.
#include "CoreMinimal.h"
#include "Dom/JsonValue.h"
#include "Host/JsonText.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	TSharedPtr<FJsonValue> Value;
	FString Error;
	if (UE::Host::Json::ParseUtf8(std::string_view(reinterpret_cast<const char*>(Data), Size), Value, Error))
	{
		// Whatever was accepted must write out and read back.
		const std::string Written = UE::Host::Json::ToUtf8(Value);
		TSharedPtr<FJsonValue> Again;
		check(UE::Host::Json::ParseUtf8(Written, Again, Error));
	}
	return 0;
}
