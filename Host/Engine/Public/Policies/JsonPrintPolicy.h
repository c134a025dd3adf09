// Base of the JSON print policies. The host's writer formats through RapidJSON, so a policy only
// says whether the text is pretty-printed.
#pragma once

#include "CoreTypes.h"

template<class CharType>
struct TJsonPrintPolicy
{
	using FCharType = CharType;
	static constexpr bool bPrettyPrint = false;
};
