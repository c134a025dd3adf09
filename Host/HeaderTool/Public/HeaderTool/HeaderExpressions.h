// Integer constant expressions as headers write them: enumerator values and static array sizes
// ("SP_NumPlatforms", "EMaterialQualityLevel::Num", "static_cast<int32>(ETags::MaxTags) + 1").
#pragma once

#include "HeaderTool/HeaderTokenizer.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace UE::Host::Headers
{
	// The value of a name: Scope is "EFoo" for EFoo::Bar ("A::B" for A::B::Bar), empty for a bare Bar.
	using FConstantLookup = std::function<bool(const std::string& Scope, const std::string& Name, int64_t& OutValue)>;

	// Literals (decimal, hex, octal, with u/l suffixes), names through Lookup, unary - + ~ !,
	// parentheses, casts (static_cast<T>(X), (int32)X, int32(X)) and the binary operators
	// * / % + - << >> & ^ |, with C's precedence. Arithmetic wraps; a division by zero, an unknown
	// name or text left over is a failure.
	bool EvaluateIntegerExpression(const std::vector<FToken>& Tokens, const FConstantLookup& Lookup, int64_t& OutValue);
	bool EvaluateIntegerExpression(std::string_view Text, const FConstantLookup& Lookup, int64_t& OutValue);
}
