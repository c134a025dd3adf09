// Conversions at the edges: UTF-8 (files, JSON text, terminal) to and from UTF-16.
#pragma once

#include "CoreTypes.h"

#include <string>
#include <string_view>

class FString;

namespace UE::Host
{
	// Invalid UTF-8 sequences become U+FFFD.
	FString Utf8ToString(std::string_view Utf8);
	// Unpaired surrogates become U+FFFD.
	std::string StringToUtf8(const FString& String);
	std::string StringToUtf8(const TCHAR* String, int32 Length);
}

class FTCHARToUTF8
{
public:
	explicit FTCHARToUTF8(const TCHAR* Source);
	FTCHARToUTF8(const TCHAR* Source, int32 Length);
	FTCHARToUTF8(const FTCHARToUTF8&) = delete;
	FTCHARToUTF8& operator=(const FTCHARToUTF8&) = delete;
	const ANSICHAR* Get() const { return Converted.c_str(); }
	int32 Length() const { return static_cast<int32>(Converted.size()); }

private:
	std::string Converted;
};

class FUTF8ToTCHAR
{
public:
	explicit FUTF8ToTCHAR(const ANSICHAR* Source);
	FUTF8ToTCHAR(const ANSICHAR* Source, int32 Length);
	FUTF8ToTCHAR(const FUTF8ToTCHAR&) = delete;
	FUTF8ToTCHAR& operator=(const FUTF8ToTCHAR&) = delete;
	const TCHAR* Get() const { return Converted.c_str(); }
	int32 Length() const { return static_cast<int32>(Converted.size()); }

private:
	std::u16string Converted;
};

#define TCHAR_TO_UTF8(Str) (FTCHARToUTF8(Str).Get())
#define UTF8_TO_TCHAR(Str) (FUTF8ToTCHAR(Str).Get())
#define TCHAR_TO_ANSI(Str) TCHAR_TO_UTF8(Str)
// As in the engine: a non-const pointer that lives until the end of the full expression.
#define ANSI_TO_TCHAR(Str) ((TCHAR*)UTF8_TO_TCHAR(Str))
