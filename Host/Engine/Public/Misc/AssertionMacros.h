// check/ensure as the engine spells them. A failed check is a programming error: it aborts
// with the expression and location, as a fatal log would.
#pragma once

#include "HAL/Platform.h"

namespace UE::Host
{
	[[noreturn]] void CheckFailed(const char* Expr, const char* File, int Line);
	bool EnsureFailed(const char* Expr, const char* File, int Line);
}

#define check(expr) do { if (!(expr)) { ::UE::Host::CheckFailed(#expr, __FILE__, __LINE__); } } while (0)
#define checkf(expr, ...) check(expr)
#define checkSlow(expr) check(expr)
#define verify(expr) check(expr)
#define checkNoEntry() ::UE::Host::CheckFailed("unreachable", __FILE__, __LINE__)
#define ensure(expr) ((expr) || ::UE::Host::EnsureFailed(#expr, __FILE__, __LINE__))
#define ensureMsgf(expr, ...) ensure(expr)
#define ensureAlways(expr) ensure(expr)
