#include "Containers/StringConv.h"

#include "Containers/UnrealString.h"

#include <algorithm>
#include <cstring>
#include <iterator>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <unicode/ustring.h>
#include <unicode/utypes.h>

namespace UE::Host
{
	namespace
	{
		// Widens the ASCII bytes at the start of Bytes into Out; the number of bytes widened, which
		// is less than Count when a byte outside ASCII comes first.
		size_t WidenAscii(const char* Bytes, size_t Count, char16_t* Out)
		{
			size_t Index = 0;
#if defined(__SSE2__)
			const __m128i Zero = _mm_setzero_si128();
			for (; Index + 16 <= Count; Index += 16)
			{
				const __m128i Chunk = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Bytes + Index));
				if (_mm_movemask_epi8(Chunk) != 0)
				{
					break;
				}
				_mm_storeu_si128(reinterpret_cast<__m128i*>(Out + Index), _mm_unpacklo_epi8(Chunk, Zero));
				_mm_storeu_si128(reinterpret_cast<__m128i*>(Out + Index + 8), _mm_unpackhi_epi8(Chunk, Zero));
			}
#endif
			for (; Index < Count && static_cast<unsigned char>(Bytes[Index]) < 0x80; ++Index)
			{
				Out[Index] = static_cast<char16_t>(Bytes[Index]);
			}
			return Index;
		}
	}

	FString Utf8ToString(std::string_view Utf8)
	{
		if (Utf8.empty())
		{
			return FString();
		}
		// Config and source text is almost all ASCII: that prefix is widened directly, a chunk at a
		// time, and ICU converts only from the first byte that needs it.
		std::u16string Out;
		Out.reserve(Utf8.size());
		size_t Ascii = 0;
		char16_t Chunk[512];
		while (Ascii < Utf8.size())
		{
			const size_t Wanted = std::min(Utf8.size() - Ascii, std::size(Chunk));
			const size_t Widened = WidenAscii(Utf8.data() + Ascii, Wanted, Chunk);
			Out.append(Chunk, Widened);
			Ascii += Widened;
			if (Widened < Wanted)
			{
				break;
			}
		}
		if (Ascii == Utf8.size())
		{
			return FString(std::move(Out));
		}
		// Each byte gives at most one code unit (four give two), so the rest fits in as many units.
		Out.resize(Utf8.size());
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
