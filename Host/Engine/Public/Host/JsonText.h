// JSON text at the program's edges (command line, stdio server): UTF-8 straight to and from the
// object model, without an FString of the whole text in between. U+2028 and U+2029 are written
// as escapes, since readers that take JSON lines as script text end a line at them.
#pragma once

#include "CoreMinimal.h"

#include <string>
#include <string_view>
#include <unordered_map>

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

	// What the text said that the object model cannot hold. A message is judged by what a reader
	// of its text sees: a member given twice could be read either way, and a large integer id must
	// go back digit for digit.
	struct FJsonSourceFacts
	{
		// Objects that name a member more than once (letter case ignored, as FJsonObject looks
		// names up; the tree keeps the last value), with the name as written the second time.
		std::unordered_map<const FJsonObject*, FString> RepeatedNames;
		// The source text of each number that is the "id" member of the root object or of an
		// object directly inside a root array.
		std::unordered_map<const FJsonValue*, std::string> IdTexts;
	};

	// ParseUtf8 that also records the facts above.
	bool ParseUtf8(std::string_view Text, TSharedPtr<FJsonValue>& OutValue, FJsonSourceFacts& OutFacts, FString& OutError);

	// The first thing in Value, depth first in document order, that strict reading refuses: a
	// member named twice (known only from Facts) or U+0000 in a string or member name.
	struct FJsonStrictProblem
	{
		enum class EKind : uint8
		{
			None,
			RepeatedName,
			NulCharacter,
		};
		EKind Kind = EKind::None;
		// The repeated name, or the path of the value holding U+0000 ("properties.Name[2]"),
		// below Path as given.
		FString Where;
	};
	FJsonStrictProblem FindStrictProblem(const TSharedPtr<FJsonValue>& Value, const FJsonSourceFacts* Facts, const FString& Path);

	// Condensed unless bPretty (tabs, one value per line). A null value writes "null".
	std::string ToUtf8(const TSharedPtr<FJsonValue>& Value, bool bPretty = false);
	std::string ToUtf8(const TSharedRef<FJsonObject>& Object, bool bPretty = false);

	// Appends instead of returning, so a caller can reuse one buffer for many messages.
	void AppendUtf8(std::string& Out, const FJsonValue* Value, bool bPretty = false);
	void AppendUtf8(std::string& Out, const FJsonObject& Object, bool bPretty = false);

	// Condensed, with each number found in RawNumbers written as that text (an id echoed as sent).
	std::string ToUtf8(const TSharedPtr<FJsonValue>& Value, const std::unordered_map<const FJsonValue*, std::string>& RawNumbers);
}
