// JSON text without white space.
#pragma once

#include "Policies/JsonPrintPolicy.h"

template<class CharType>
struct TCondensedJsonPrintPolicy : public TJsonPrintPolicy<CharType>
{
	static constexpr bool bPrettyPrint = false;
};
