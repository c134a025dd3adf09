#include "Misc/AssertionMacros.h"

#include <cstdio>
#include <cstdlib>

namespace UE::Host
{
	void CheckFailed(const char* Expr, const char* File, int Line)
	{
		std::fprintf(stderr, "Assertion failed: %s [%s:%d]\n", Expr, File, Line);
		std::fflush(stderr);
		std::abort();
	}

	bool EnsureFailed(const char* Expr, const char* File, int Line)
	{
		std::fprintf(stderr, "Ensure condition failed: %s [%s:%d]\n", Expr, File, Line);
		return false;
	}
}
