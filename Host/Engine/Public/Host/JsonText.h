// JSON text at the program's edges (command line, stdio server): UTF-8 straight to and from the
// object model, without an FString of the whole text in between.
#pragma once

#include "CoreMinimal.h"

#include <string>
#include <string_view>

class FJsonObject;
class FJsonValue;

namespace UE::Host::Json
{
	// Deeper nesting is refused with a parse error (the parser keeps no recursion, so this bounds
	// memory and the depth every consumer of a tree can rely on).
	inline constexpr int32 MaxNestingDepth = 512;

	// The whole text must be one JSON value with optional white space around it; invalid UTF-8 is
	// an error. On failure OutValue is left alone and OutError names the problem and the byte
	// offset.
	bool ParseUtf8(std::string_view Text, TSharedPtr<FJsonValue>& OutValue, FString& OutError);

	// Condensed unless bPretty (tabs, one value per line). A null value writes "null".
	std::string ToUtf8(const TSharedPtr<FJsonValue>& Value, bool bPretty = false);
	std::string ToUtf8(const TSharedRef<FJsonObject>& Object, bool bPretty = false);

	// Appends instead of returning, so a caller can reuse one buffer for many messages.
	void AppendUtf8(std::string& Out, const FJsonValue* Value, bool bPretty = false);
	void AppendUtf8(std::string& Out, const FJsonObject& Object, bool bPretty = false);
}
