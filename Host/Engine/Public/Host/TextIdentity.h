// Where a text read from config came from: NSLOCTEXT("Namespace", "Key", "Source") and
// LOCTEXT("Key", "Source") keep their namespace and key, so that a text written back is the same
// localized text, not a culture-invariant copy of its source string.
#pragma once

#include "Internationalization/Text.h"

namespace UE::Host
{
	struct FTextIdentity
	{
		enum class EOrigin : uint8
		{
			Plain = 0,
			Invariant,
			NamespacedLocalized,
			Localized,
		};

		static FText Make(const FString& Source, EOrigin Origin, const FString& Namespace = FString(), const FString& Key = FString())
		{
			FText Text = FText::FromString(Source);
			Text.Origin = static_cast<uint8>(Origin);
			Text.Namespace = Namespace;
			Text.Key = Key;
			return Text;
		}
		static EOrigin GetOrigin(const FText& Text) { return static_cast<EOrigin>(Text.Origin); }
		static const FString& GetNamespace(const FText& Text) { return Text.Namespace; }
		static const FString& GetKey(const FText& Text) { return Text.Key; }
		static bool IsSame(const FText& A, const FText& B)
		{
			return A.Value.Equals(B.Value, ESearchCase::CaseSensitive) && A.Namespace.Equals(B.Namespace, ESearchCase::CaseSensitive)
				&& A.Key.Equals(B.Key, ESearchCase::CaseSensitive);
		}
	};
}
