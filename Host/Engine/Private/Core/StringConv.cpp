#include "Containers/StringConv.h"

#include "Containers/UnrealString.h"

#include <cstring>

#include <unicode/ustring.h>
#include <unicode/utypes.h>

namespace UE::Host
{
	FString Utf8ToString(std::string_view Utf8)
	{
		if (Utf8.empty())
		{
			return FString();
		}
		// Config and source text is almost all ASCII: that prefix is widened directly, and ICU
		// converts only from the first byte that needs it.
		size_t Ascii = 0;
		for (uint64 Word = 0; Ascii + sizeof(Word) <= Utf8.size(); Ascii += sizeof(Word))
		{
			std::memcpy(&Word, Utf8.data() + Ascii, sizeof(Word));
			if (Word & 0x8080808080808080ull)
			{
				break;
			}
		}
		while (Ascii < Utf8.size() && static_cast<unsigned char>(Utf8[Ascii]) < 0x80)
		{
			++Ascii;
		}
		std::u16string Out(Utf8.size(), u'\0');
		for (size_t Index = 0; Index < Ascii; ++Index)
		{
			Out[Index] = static_cast<char16_t>(Utf8[Index]);
		}
		if (Ascii == Utf8.size())
		{
			return FString(std::move(Out));
		}
		int32_t OutLength = 0;
		UErrorCode Status = U_ZERO_ERROR;
		u_strFromUTF8WithSub(reinterpret_cast<UChar*>(Out.data() + Ascii), static_cast<int32_t>(Out.size() - Ascii), &OutLength,
			Utf8.data() + Ascii, static_cast<int32_t>(Utf8.size() - Ascii), 0xFFFD, nullptr, &Status);
		if (U_FAILURE(Status))
		{
			return FString();
		}
		Out.resize(Ascii + static_cast<size_t>(OutLength));
		return FString(std::move(Out));
	}

	std::string StringToUtf8(const TCHAR* String, int32 Length)
	{
		if (Length <= 0)
		{
			return std::string();
		}
		std::string Out(static_cast<size_t>(Length) * 3, '\0');
		int32_t OutLength = 0;
		UErrorCode Status = U_ZERO_ERROR;
		u_strToUTF8WithSub(Out.data(), static_cast<int32_t>(Out.size()), &OutLength,
			reinterpret_cast<const UChar*>(String), Length, 0xFFFD, nullptr, &Status);
		if (U_FAILURE(Status))
		{
			return std::string();
		}
		Out.resize(static_cast<size_t>(OutLength));
		return Out;
	}

	std::string StringToUtf8(const FString& String)
	{
		return StringToUtf8(*String, String.Len());
	}
}

FTCHARToUTF8::FTCHARToUTF8(const TCHAR* Source)
	: Converted(UE::Host::StringToUtf8(Source, FCString::Strlen(Source)))
{
}

FTCHARToUTF8::FTCHARToUTF8(const TCHAR* Source, int32 Length)
	: Converted(UE::Host::StringToUtf8(Source, Length))
{
}

FUTF8ToTCHAR::FUTF8ToTCHAR(const ANSICHAR* Source)
	: Converted(UE::Host::Utf8ToString(Source ? std::string_view(Source) : std::string_view()).GetStdString())
{
}

FUTF8ToTCHAR::FUTF8ToTCHAR(const ANSICHAR* Source, int32 Length)
	: Converted(UE::Host::Utf8ToString(std::string_view(Source, static_cast<size_t>(Length))).GetStdString())
{
}
