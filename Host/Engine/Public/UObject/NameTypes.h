// FName: an interned name. Comparison and hashing ignore case; each name keeps the spelling it
// was made with for ToString (as editor builds do).
#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

enum EName
{
	NAME_None = 0,
};

class FName
{
public:
	FName() = default;
	FName(EName) {}
	FName(const TCHAR* Name);
	FName(const ANSICHAR* Name);
	FName(const FString& Name);
	explicit FName(FStringView Name);

	bool IsNone() const { return ComparisonIndex == 0; }
	bool IsValid() const { return true; }
	FString ToString() const;
	void ToString(FString& Out) const { Out = ToString(); }
	void AppendString(FString& Out) const { Out += ToString(); }
	uint32 GetComparisonIndex() const { return ComparisonIndex; }
	uint32 GetDisplayIndex() const { return DisplayIndex; }

	bool operator==(const FName& Other) const { return ComparisonIndex == Other.ComparisonIndex; }
	bool operator!=(const FName& Other) const { return ComparisonIndex != Other.ComparisonIndex; }
	bool operator==(EName Other) const { return Other == NAME_None && IsNone(); }
	// Lexical order, ignoring case.
	bool LexicalLess(const FName& Other) const { return ToString().Compare(Other.ToString(), ESearchCase::IgnoreCase) < 0; }
	int32 Compare(const FName& Other) const { return ToString().Compare(Other.ToString(), ESearchCase::IgnoreCase); }
	bool FastLess(const FName& Other) const { return ComparisonIndex < Other.ComparisonIndex; }

private:
	uint32 ComparisonIndex = 0;
	uint32 DisplayIndex = 0;
};

inline uint32 GetTypeHash(const FName& Name)
{
	return Name.GetComparisonIndex() * 2654435761u;
}

struct FNameLexicalLess
{
	bool operator()(const FName& A, const FName& B) const { return A.LexicalLess(B); }
};
