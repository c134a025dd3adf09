#include "Internationalization/Culture.h"

#include "Containers/StringConv.h"
#include "Host/CultureName.h"

#include <unicode/uloc.h>

#include <cstring>

namespace
{
	// Runs one of ICU's "fill this UChar buffer" calls, growing the buffer when it is too short.
	// bOutUsedDefault tells that ICU had no data for the display locale and used its default.
	template<typename IcuCall>
	FString ReadIcuText(IcuCall&& Call, bool& bOutUsedDefault)
	{
		std::u16string Buffer(64, u'\0');
		for (int32 Attempt = 0; Attempt < 2; ++Attempt)
		{
			UErrorCode Status = U_ZERO_ERROR;
			const int32_t Length = Call(reinterpret_cast<UChar*>(Buffer.data()), static_cast<int32_t>(Buffer.size()), &Status);
			if (Status == U_BUFFER_OVERFLOW_ERROR && Attempt == 0)
			{
				Buffer.assign(static_cast<size_t>(Length) + 1, u'\0');
				continue;
			}
			bOutUsedDefault = Status == U_USING_DEFAULT_WARNING;
			if (U_FAILURE(Status) || Length <= 0)
			{
				return FString();
			}
			Buffer.resize(static_cast<size_t>(Length));
			return FString(std::move(Buffer));
		}
		return FString();
	}

	// A name rendered in a display locale. Where ICU has no data for that locale it would fall
	// back to the process's default locale; English is used instead, so names do not depend on
	// the environment the host runs in.
	template<typename IcuCall>
	FString RenderIn(const char* DisplayLocale, IcuCall&& Call)
	{
		bool bUsedDefault = false;
		FString Text = ReadIcuText([&](UChar* Out, int32_t Capacity, UErrorCode* Status)
		{
			return Call(DisplayLocale, Out, Capacity, Status);
		}, bUsedDefault);
		if (bUsedDefault && std::strcmp(DisplayLocale, "en") != 0)
		{
			Text = ReadIcuText([&](UChar* Out, int32_t Capacity, UErrorCode* Status)
			{
				return Call("en", Out, Capacity, Status);
			}, bUsedDefault);
		}
		return Text;
	}

	template<typename IcuCall>
	FString ReadIcuCode(IcuCall&& Call)
	{
		char Buffer[ULOC_FULLNAME_CAPACITY] = {};
		UErrorCode Status = U_ZERO_ERROR;
		const int32_t Length = Call(Buffer, static_cast<int32_t>(sizeof(Buffer)), &Status);
		if (U_FAILURE(Status) || Length <= 0)
		{
			return FString();
		}
		return FString(Buffer);
	}

	FString RenderLocaleName(const char* Id, const char* DisplayLocale)
	{
		return RenderIn(DisplayLocale, [Id](const char* InLocale, UChar* Out, int32_t Capacity, UErrorCode* Status)
		{
			return uloc_getDisplayName(Id, InLocale, Out, Capacity, Status);
		});
	}

	FString RenderDisplayName(const std::string& IcuLocaleId, const FString& DisplayLanguage)
	{
		const std::string DisplayLocale = UE::Host::CultureName::ToIcuLocaleId(
			UE::Host::CultureName::Split(UE::Host::CultureName::Canonicalize(FStringView(DisplayLanguage))));
		return RenderLocaleName(IcuLocaleId.c_str(), DisplayLocale.c_str());
	}
}

FCulture::FCulture(const FString& InName, const FString& InDisplayLanguage)
	: Name(InName)
{
	IcuLocaleId = UE::Host::CultureName::ToIcuLocaleId(UE::Host::CultureName::Split(Name));
	const char* Id = IcuLocaleId.c_str();

	NativeName = RenderLocaleName(Id, Id);
	EnglishName = RenderLocaleName(Id, "en");
	DisplayName = RenderDisplayName(IcuLocaleId, InDisplayLanguage);

	TwoLetterISOLanguageName = ReadIcuCode([Id](char* Out, int32_t Capacity, UErrorCode* Status)
	{
		return uloc_getLanguage(Id, Out, Capacity, Status);
	});
	ThreeLetterISOLanguageName = FString(uloc_getISO3Language(Id));
	Script = ReadIcuCode([Id](char* Out, int32_t Capacity, UErrorCode* Status)
	{
		return uloc_getScript(Id, Out, Capacity, Status);
	});
	Region = ReadIcuCode([Id](char* Out, int32_t Capacity, UErrorCode* Status)
	{
		return uloc_getCountry(Id, Out, Capacity, Status);
	});
	Variant = ReadIcuCode([Id](char* Out, int32_t Capacity, UErrorCode* Status)
	{
		return uloc_getVariant(Id, Out, Capacity, Status);
	});

	NativeLanguage = RenderIn(Id, [Id](const char* InLocale, UChar* Out, int32_t Capacity, UErrorCode* Status)
	{
		return uloc_getDisplayLanguage(Id, InLocale, Out, Capacity, Status);
	});
	if (!Script.IsEmpty())
	{
		// "中文 (简体)": the language alone would not tell the two Chinese scripts apart.
		const FString NativeScript = RenderIn(Id, [Id](const char* InLocale, UChar* Out, int32_t Capacity, UErrorCode* Status)
		{
			return uloc_getDisplayScript(Id, InLocale, Out, Capacity, Status);
		});
		if (!NativeScript.IsEmpty())
		{
			NativeLanguage += TEXT(" (") + NativeScript + TEXT(")");
		}
	}

	// Older tools name English "INT" and Chinese "CHN"; every other language is its ISO code in capitals.
	if (ThreeLetterISOLanguageName.Equals(TEXT("eng")))
	{
		UnrealLegacyThreeLetterISOLanguageName = TEXT("INT");
	}
	else if (ThreeLetterISOLanguageName.Equals(TEXT("zho")))
	{
		UnrealLegacyThreeLetterISOLanguageName = TEXT("CHN");
	}
	else
	{
		UnrealLegacyThreeLetterISOLanguageName = ThreeLetterISOLanguageName.ToUpper();
	}
}

TArray<FString> FCulture::GetPrioritizedParentCultureNames() const
{
	return UE::Host::CultureName::GetPrioritizedNames(Name);
}

TArray<FString> FCulture::GetPrioritizedParentCultureNames(const FString& LanguageCode, const FString& ScriptCode, const FString& RegionCode)
{
	return UE::Host::CultureName::GetPrioritizedParentNames(LanguageCode, ScriptCode, RegionCode);
}

void FCulture::HandleCultureChanged(const FString& InDisplayLanguage)
{
	DisplayName = RenderDisplayName(IcuLocaleId, InDisplayLanguage);
}
