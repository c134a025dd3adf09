// FText, reduced to what the host needs: a display string, and the localization key of a text
// read from config text.
#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

namespace UE::Host
{
	struct FTextIdentity;
}

class FText
{
public:
	FText() = default;

	static FText FromString(const FString& String) { FText Text; Text.Value = String; return Text; }
	static FText FromString(FString&& String) { FText Text; Text.Value = std::move(String); return Text; }
	static FText FromStringView(FStringView View) { return FromString(FString(View)); }
	static FText AsCultureInvariant(const FString& String) { return FromString(String); }
	static const FText& GetEmpty();

	const FString& ToString() const { return Value; }
	bool IsEmpty() const { return Value.IsEmpty(); }
	bool EqualTo(const FText& Other) const { return Value.Equals(Other.Value); }


private:
	friend struct UE::Host::FTextIdentity;

	FString Value;
	// A text read from NSLOCTEXT("Namespace", "Key", "Source") or LOCTEXT("Key", "Source") keeps
	// where it came from, so that writing it back keeps its localization.
	FString Namespace;
	FString Key;
	uint8 Origin = 0;
};

#define LOCTEXT(Key, Text) FText::FromString(FString(TEXT(Text)))
#define NSLOCTEXT(Namespace, Key, Text) FText::FromString(FString(TEXT(Text)))
#define INVTEXT(Text) FText::FromString(FString(TEXT(Text)))
