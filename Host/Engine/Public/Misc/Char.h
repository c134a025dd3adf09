// Character classification with the engine's rules: case folding covers ASCII only.
#pragma once

#include "HAL/Platform.h"

#include <type_traits>

template<typename CharType>
struct TChar
{
	static constexpr bool IsUpper(CharType C) { return C >= 'A' && C <= 'Z'; }
	static constexpr bool IsLower(CharType C) { return C >= 'a' && C <= 'z'; }
	static constexpr bool IsAlpha(CharType C) { return IsUpper(C) || IsLower(C); }
	static constexpr bool IsDigit(CharType C) { return C >= '0' && C <= '9'; }
	static constexpr bool IsAlnum(CharType C) { return IsAlpha(C) || IsDigit(C); }
	static constexpr bool IsHexDigit(CharType C) { return IsDigit(C) || (C >= 'a' && C <= 'f') || (C >= 'A' && C <= 'F'); }
	static constexpr bool IsLinebreak(CharType C) { return (C >= 0x0a && C <= 0x0d) || C == 0x85 || C == 0x2028 || C == 0x2029; }
	static constexpr CharType ToUpper(CharType C) { return IsLower(C) ? static_cast<CharType>(C - ('a' - 'A')) : C; }
	static constexpr CharType ToLower(CharType C) { return IsUpper(C) ? static_cast<CharType>(C + ('a' - 'A')) : C; }

	static constexpr bool IsWhitespace(CharType C)
	{
		const uint32 U = static_cast<uint32>(static_cast<std::make_unsigned_t<CharType>>(C));
		return (U >= 0x09 && U <= 0x0d) || U == 0x20 || U == 0x85 || U == 0xa0 || U == 0x1680
			|| (U >= 0x2000 && U <= 0x200a) || U == 0x2028 || U == 0x2029 || U == 0x202f || U == 0x205f || U == 0x3000;
	}

	static constexpr int32 ConvertCharDigitToInt(CharType C) { return static_cast<int32>(C) - '0'; }
};

typedef TChar<TCHAR> FChar;
typedef TChar<ANSICHAR> FCharAnsi;
