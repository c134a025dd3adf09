// FLinearColor (four floats) and FColor (four bytes, stored B, G, R, A as on little-endian PCs).
#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

struct FLinearColor
{
	float R = 0.0f;
	float G = 0.0f;
	float B = 0.0f;
	float A = 0.0f;

	FLinearColor() = default;
	constexpr FLinearColor(float InR, float InG, float InB, float InA = 1.0f) : R(InR), G(InG), B(InB), A(InA) {}

	bool operator==(const FLinearColor& C) const { return R == C.R && G == C.G && B == C.B && A == C.A; }
	bool operator!=(const FLinearColor& C) const { return !(*this == C); }
	FString ToString() const { return FString::Printf(TEXT("(R=%f,G=%f,B=%f,A=%f)"), R, G, B, A); }

	static const FLinearColor White;
	static const FLinearColor Black;
	static const FLinearColor Transparent;
};

inline constexpr FLinearColor FLinearColor::White(1.0f, 1.0f, 1.0f, 1.0f);
inline constexpr FLinearColor FLinearColor::Black(0.0f, 0.0f, 0.0f, 1.0f);
inline constexpr FLinearColor FLinearColor::Transparent(0.0f, 0.0f, 0.0f, 0.0f);

struct FColor
{
	uint8 B = 0;
	uint8 G = 0;
	uint8 R = 0;
	uint8 A = 0;

	FColor() = default;
	constexpr FColor(uint8 InR, uint8 InG, uint8 InB, uint8 InA = 255) : B(InB), G(InG), R(InR), A(InA) {}

	bool operator==(const FColor& C) const { return R == C.R && G == C.G && B == C.B && A == C.A; }
	bool operator!=(const FColor& C) const { return !(*this == C); }
	FString ToString() const { return FString::Printf(TEXT("(R=%i,G=%i,B=%i,A=%i)"), R, G, B, A); }
};
