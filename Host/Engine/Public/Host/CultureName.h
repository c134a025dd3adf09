// Culture-name handling shared by the culture catalogue and FCulture: canonical spelling, the
// parts of a name, and the ICU locale id a name stands for.
#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

#include <string>

namespace UE::Host::CultureName
{
	struct FParts
	{
		FString Language;
		FString Script;
		FString Region;
		// Further tags joined with '-', as spelled.
		FString Variant;
		// Everything after '@', as spelled.
		FString Keywords;
	};

	// "en_us" -> "en-US", "zh_hans_cn" -> "zh-Hans-CN", "" / "C" / "POSIX" -> "en-US-POSIX",
	// "de_DE_PREEURO" -> "de-DE@currency=DEM". A codeset (".UTF-8") is dropped, keywords are kept.
	FString Canonicalize(FStringView Name);

	// Splits a canonical name. Tags after the language: a 4-letter script (before any region), a
	// 2-letter or 3-digit region, then variants.
	FParts Split(const FString& CanonicalName);

	// Most specific first: Lang-Script-Region, Lang-Region, Lang-Script, Lang (empty parts skipped).
	TArray<FString> GetPrioritizedParentNames(const FString& Language, const FString& Script, const FString& Region);

	// The name itself, then its parents; a name with a variant or keywords comes before its first
	// parent, others are their own first parent.
	TArray<FString> GetPrioritizedNames(const FString& CanonicalName);

	// "zh-Hans-CN" -> "zh_Hans_CN", "de-PHONEBOOK" -> "de__PHONEBOOK".
	std::string ToIcuLocaleId(const FParts& Parts);

	// ASCII case folding, for catalogue lookups.
	std::u16string FoldCase(std::u16string_view Name);
}
