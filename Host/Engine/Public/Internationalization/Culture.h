// FCulture: one culture's names and codes, read from ICU when the culture is made.
#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "Internationalization/CulturePointer.h"

#include <string>

class FCulture
{
public:
	// Host: the culture of a canonical name ("fr-FR"); its display name is rendered in
	// InDisplayLanguage (the current language).
	FCulture(const FString& InName, const FString& InDisplayLanguage);

	const FString& GetName() const { return Name; }
	const FString& GetNativeName() const { return NativeName; }
	const FString& GetEnglishName() const { return EnglishName; }
	const FString& GetDisplayName() const { return DisplayName; }
	const FString& GetNativeLanguage() const { return NativeLanguage; }
	const FString& GetTwoLetterISOLanguageName() const { return TwoLetterISOLanguageName; }
	const FString& GetThreeLetterISOLanguageName() const { return ThreeLetterISOLanguageName; }
	const FString& GetUnrealLegacyThreeLetterISOLanguageName() const { return UnrealLegacyThreeLetterISOLanguageName; }
	const FString& GetRegion() const { return Region; }
	const FString& GetScript() const { return Script; }
	const FString& GetVariant() const { return Variant; }

	// This culture's name, then the names it falls back to ("zh-Hans-CN", "zh-CN", "zh-Hans", "zh").
	TArray<FString> GetPrioritizedParentCultureNames() const;
	static TArray<FString> GetPrioritizedParentCultureNames(const FString& LanguageCode, const FString& ScriptCode, const FString& RegionCode);

	// Host: renders the display name again after the current language changed.
	void HandleCultureChanged(const FString& InDisplayLanguage);

private:
	FString Name;
	FString NativeName;
	FString EnglishName;
	FString DisplayName;
	FString NativeLanguage;
	FString TwoLetterISOLanguageName;
	FString ThreeLetterISOLanguageName;
	FString UnrealLegacyThreeLetterISOLanguageName;
	FString Region;
	FString Script;
	FString Variant;
	// ICU's id for Name ("zh_Hans_CN"), kept for re-rendering the display name.
	std::string IcuLocaleId;
};
