#include "Containers/StringConv.h"

#include "Containers/UnrealString.h"

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
		std::u16string Out(Utf8.size(), u'\0');
		int32_t OutLength = 0;
		UErrorCode Status = U_ZERO_ERROR;
		u_strFromUTF8WithSub(reinterpret_cast<UChar*>(Out.data()), static_cast<int32_t>(Out.size()), &OutLength,
			Utf8.data(), static_cast<int32_t>(Utf8.size()), 0xFFFD, nullptr, &Status);
		if (U_FAILURE(Status))
		{
			return FString();
		}
		Out.resize(static_cast<size_t>(OutLength));
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
