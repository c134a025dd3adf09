// FGuid: four 32-bit words. Config files hold it as 32 upper-case hex digits.
#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

class UObject;
class FOutputDevice;

enum class EGuidFormats
{
	// 00000000000000000000000000000000
	Digits,
	// 00000000000000000000000000000000, lower case
	DigitsLower,
	// 00000000-0000-0000-0000-000000000000
	DigitsWithHyphens,
	DigitsWithHyphensLower,
	// {00000000-0000-0000-0000-000000000000}
	DigitsWithHyphensInBraces,
	// (00000000-0000-0000-0000-000000000000)
	DigitsWithHyphensInParentheses,
};

struct FGuid
{
	uint32 A = 0;
	uint32 B = 0;
	uint32 C = 0;
	uint32 D = 0;

	FGuid() = default;
	constexpr FGuid(uint32 InA, uint32 InB, uint32 InC, uint32 InD) : A(InA), B(InB), C(InC), D(InD) {}

	bool IsValid() const { return (A | B | C | D) != 0; }
	void Invalidate() { A = B = C = D = 0; }
	bool operator==(const FGuid& Other) const { return A == Other.A && B == Other.B && C == Other.C && D == Other.D; }
	bool operator!=(const FGuid& Other) const { return !(*this == Other); }

	FString ToString(EGuidFormats Format = EGuidFormats::Digits) const;

	static FGuid NewGuid();
	// Accepts any of the formats above.
	static bool Parse(const FString& GuidString, FGuid& OutGuid);
	static bool ParseExact(const FString& GuidString, EGuidFormats Format, FGuid& OutGuid);

	// Property text: 32 hex digits; import also takes the (A=..,B=..,C=..,D=..) struct form,
	// which the generic struct reader handles when this returns false.
	bool ExportTextItem(FString& ValueStr, FGuid const& DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const;
	bool ImportTextItem(const TCHAR*& Buffer, int32 PortFlags, UObject* Parent, FOutputDevice* ErrorText);
};

inline uint32 GetTypeHash(const FGuid& Guid)
{
	return Guid.A ^ (Guid.B * 31u) ^ (Guid.C * 131u) ^ (Guid.D * 1031u);
}
