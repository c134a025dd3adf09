// JSON text with one value per line, indented with tabs.
#pragma once

#include "Policies/JsonPrintPolicy.h"

template<class CharType>
struct TPrettyJsonPrintPolicy : public TJsonPrintPolicy<CharType>
{
	static constexpr bool bPrettyPrint = true;
};
