// FInternationalization: the culture catalogue and the cultures in use, on ICU.
#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "Internationalization/Culture.h"
#include "Internationalization/CulturePointer.h"

#include <memory>

namespace UE::Host
{
	class FCultureCatalogue;
}

class FInternationalization
{
public:
	static FInternationalization& Get();
	static bool IsAvailable() { return true; }
	bool IsInitialized() const { return true; }

	// Every culture name of the catalogue, in catalogue order.
	void GetCultureNames(TArray<FString>& CultureNames) const;

	// The culture of a name, after canonicalising it ("en_us" finds "en-US"); null when the name is
	// neither in the catalogue nor backed by ICU data.
	FCulturePtr GetCulture(const FString& InCultureName);

	// Without derived cultures: each requested name that resolves, once, in request order. With
	// them: every catalogue culture one of whose parent names was requested, in catalogue order.
	TArray<FCultureRef> GetAvailableCultures(const TArray<FString>& InCultureNames, const bool bIncludeDerivedCultures);

	// The culture's own name, then its parents; just the name when it resolves to no culture.
	TArray<FString> GetPrioritizedCultureNames(const FString& Name);

	// The current culture is the current language.
	FCultureRef GetCurrentCulture() const { return GetCurrentLanguage(); }
	FCultureRef GetCurrentLanguage() const;
	FCultureRef GetCurrentLocale() const;
	FCultureRef GetDefaultCulture() const { return GetDefaultLanguage(); }
	FCultureRef GetDefaultLanguage() const;
	FCultureRef GetDefaultLocale() const;

	// Each returns false (and changes nothing) for a name that resolves to no culture.
	bool SetCurrentCulture(const FString& InCultureName);
	bool SetCurrentLanguage(const FString& InCultureName);
	bool SetCurrentLocale(const FString& InCultureName);
	bool SetCurrentLanguageAndLocale(const FString& InCultureName);

	FInternationalization(const FInternationalization&) = delete;
	FInternationalization& operator=(const FInternationalization&) = delete;

private:
	FInternationalization();
	~FInternationalization();

	std::unique_ptr<UE::Host::FCultureCatalogue> Catalogue;
};
