#include "Misc/CString.h"

#include "Containers/UnrealString.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <string>

int32 FCString::Strlen(const TCHAR* String)
{
	if (!String)
	{
		return 0;
	}
	const TCHAR* End = String;
	while (*End)
	{
		++End;
	}
	return static_cast<int32>(End - String);
}

int32 FCString::Strcmp(const TCHAR* A, const TCHAR* B)
{
	for (;; ++A, ++B)
	{
		if (*A != *B || *A == 0)
		{
			return static_cast<int32>(*A) - static_cast<int32>(*B);
		}
	}
}

int32 FCString::Stricmp(const TCHAR* A, const TCHAR* B)
{
	for (;; ++A, ++B)
	{
		const TCHAR CA = FChar::ToLower(*A);
		const TCHAR CB = FChar::ToLower(*B);
		if (CA != CB || CA == 0)
		{
			return static_cast<int32>(CA) - static_cast<int32>(CB);
		}
	}
}

int32 FCString::Strncmp(const TCHAR* A, const TCHAR* B, SIZE_T Count)
{
	for (; Count > 0; --Count, ++A, ++B)
	{
		if (*A != *B || *A == 0)
		{
			return static_cast<int32>(*A) - static_cast<int32>(*B);
		}
	}
	return 0;
}

int32 FCString::Strnicmp(const TCHAR* A, const TCHAR* B, SIZE_T Count)
{
	for (; Count > 0; --Count, ++A, ++B)
	{
		const TCHAR CA = FChar::ToLower(*A);
		const TCHAR CB = FChar::ToLower(*B);
		if (CA != CB || CA == 0)
		{
			return static_cast<int32>(CA) - static_cast<int32>(CB);
		}
	}
	return 0;
}

const TCHAR* FCString::Strstr(const TCHAR* String, const TCHAR* Find)
{
	const std::u16string_view Haystack(String);
	const size_t Pos = Haystack.find(Find);
	return Pos == std::u16string_view::npos ? nullptr : String + Pos;
}

const TCHAR* FCString::Stristr(const TCHAR* String, const TCHAR* Find)
{
	const int32 FindLen = Strlen(Find);
	for (const TCHAR* P = String; *P; ++P)
	{
		if (Strnicmp(P, Find, static_cast<SIZE_T>(FindLen)) == 0)
		{
			return P;
		}
	}
	return FindLen == 0 ? String : nullptr;
}

const TCHAR* FCString::Strchr(const TCHAR* String, TCHAR C)
{
	for (; *String; ++String)
	{
		if (*String == C)
		{
			return String;
		}
	}
	return C == 0 ? String : nullptr;
}

namespace
{
	std::string Narrow(const TCHAR* String)
	{
		std::string Out;
		for (; String && *String; ++String)
		{
			Out.push_back(*String < 0x80 ? static_cast<char>(*String) : '?');
		}
		return Out;
	}
}

int32 FCString::Atoi(const TCHAR* String)
{
	return static_cast<int32>(std::strtol(Narrow(String).c_str(), nullptr, 10));
}

int64 FCString::Atoi64(const TCHAR* String)
{
	return static_cast<int64>(std::strtoll(Narrow(String).c_str(), nullptr, 10));
}

double FCString::Atod(const TCHAR* String)
{
	return std::strtod(Narrow(String).c_str(), nullptr);
}

int64 FCString::Strtoi64(const TCHAR* Start, TCHAR** End, int32 Base)
{
	const std::string N = Narrow(Start);
	char* NarrowEnd = nullptr;
	const long long Value = std::strtoll(N.c_str(), &NarrowEnd, Base);
	if (End)
	{
		*End = const_cast<TCHAR*>(Start) + (NarrowEnd - N.c_str());
	}
	return static_cast<int64>(Value);
}

uint64 FCString::Strtoui64(const TCHAR* Start, TCHAR** End, int32 Base)
{
	const std::string N = Narrow(Start);
	char* NarrowEnd = nullptr;
	const unsigned long long Value = std::strtoull(N.c_str(), &NarrowEnd, Base);
	if (End)
	{
		*End = const_cast<TCHAR*>(Start) + (NarrowEnd - N.c_str());
	}
	return static_cast<uint64>(Value);
}

bool FCString::ToBool(const TCHAR* String)
{
	if (!String)
	{
		return false;
	}
	if (Stricmp(String, u"True") == 0 || Stricmp(String, u"Yes") == 0 || Stricmp(String, u"On") == 0)
	{
		return true;
	}
	if (Stricmp(String, u"False") == 0 || Stricmp(String, u"No") == 0 || Stricmp(String, u"Off") == 0)
	{
		return false;
	}
	return Atoi(String) != 0;
}

bool FCString::IsNumeric(const TCHAR* String)
{
	if (!String || *String == 0)
	{
		return false;
	}
	if (*String == '-' || *String == '+')
	{
		++String;
	}
	bool bHasDot = false;
	bool bHasDigit = false;
	for (; *String; ++String)
	{
		if (*String == '.')
		{
			if (bHasDot)
			{
				return false;
			}
			bHasDot = true;
		}
		else if (FChar::IsDigit(*String))
		{
			bHasDigit = true;
		}
		else
		{
			return false;
		}
	}
	return bHasDigit;
}
