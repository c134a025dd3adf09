// JSON text to FJsonValue trees through RapidJSON's iterative SAX reader.
#pragma once

#include "CoreMinimal.h"

#include <string_view>

class FJsonValue;

namespace UE::Host::Json
{
	// The UTF-16 counterpart of ParseUtf8 (Host/JsonText.h): the whole text is one value, nesting is
	// bounded, an unpaired surrogate is accepted only as a \u escape, and offsets in OutError
	// count code units.
	bool ParseUtf16(std::u16string_view Text, TSharedPtr<FJsonValue>& OutValue, FString& OutError);
}
