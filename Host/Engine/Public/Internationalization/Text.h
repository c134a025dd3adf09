// FText, reduced to what the host needs: a display string.
#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

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
	FString Value;
};

#define LOCTEXT(Key, Text) FText::FromString(FString(TEXT(Text)))
#define NSLOCTEXT(Namespace, Key, Text) FText::FromString(FString(TEXT(Text)))
#define INVTEXT(Text) FText::FromString(FString(TEXT(Text)))
