// C-string helpers over TCHAR.
#pragma once

#include "HAL/Platform.h"
#include "Misc/Char.h"

namespace ESearchCase
{
	enum Type
	{
		CaseSensitive,
		IgnoreCase,
	};
}

namespace ESearchDir
{
	enum Type
	{
		FromStart,
		FromEnd,
	};
}

struct FCString
{
	static int32 Strlen(const TCHAR* String);
	static int32 Strcmp(const TCHAR* A, const TCHAR* B);
	static int32 Stricmp(const TCHAR* A, const TCHAR* B);
	static int32 Strncmp(const TCHAR* A, const TCHAR* B, SIZE_T Count);
	static int32 Strnicmp(const TCHAR* A, const TCHAR* B, SIZE_T Count);
	static const TCHAR* Strstr(const TCHAR* String, const TCHAR* Find);
	static const TCHAR* Stristr(const TCHAR* String, const TCHAR* Find);
	static const TCHAR* Strchr(const TCHAR* String, TCHAR C);
	static int32 Atoi(const TCHAR* String);
	static int64 Atoi64(const TCHAR* String);
	static double Atod(const TCHAR* String);
	static float Atof(const TCHAR* String) { return static_cast<float>(Atod(String)); }
	static int64 Strtoi64(const TCHAR* Start, TCHAR** End, int32 Base);
	static uint64 Strtoui64(const TCHAR* Start, TCHAR** End, int32 Base);
	// "True", "Yes", "On" (any case) or a non-zero number.
	static bool ToBool(const TCHAR* String);
	static bool IsNumeric(const TCHAR* String);
};
