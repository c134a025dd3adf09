// FVector: three doubles, as in the engine since large world coordinates.
#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

namespace UE::Math
{
	template<typename T>
	struct TVector
	{
		using FReal = T;

		T X = 0;
		T Y = 0;
		T Z = 0;

		TVector() = default;
		TVector(T InX, T InY, T InZ) : X(InX), Y(InY), Z(InZ) {}
		explicit TVector(T InF) : X(InF), Y(InF), Z(InF) {}

		bool operator==(const TVector& V) const { return X == V.X && Y == V.Y && Z == V.Z; }
		bool operator!=(const TVector& V) const { return !(*this == V); }
		TVector operator+(const TVector& V) const { return TVector(X + V.X, Y + V.Y, Z + V.Z); }
		TVector operator-(const TVector& V) const { return TVector(X - V.X, Y - V.Y, Z - V.Z); }
		TVector operator*(T Scale) const { return TVector(X * Scale, Y * Scale, Z * Scale); }
		TVector operator-() const { return TVector(-X, -Y, -Z); }

		bool IsZero() const { return X == 0 && Y == 0 && Z == 0; }
		FString ToString() const { return FString::Printf(TEXT("X=%3.3f Y=%3.3f Z=%3.3f"), X, Y, Z); }
	};
}

using FVector = UE::Math::TVector<double>;
using FVector3d = UE::Math::TVector<double>;
using FVector3f = UE::Math::TVector<float>;
