#pragma once

#include "CoreTypes.h"

#include <algorithm>
#include <cmath>

struct FMath
{
	template<typename T>
	static constexpr T Min(const T A, const T B) { return A < B ? A : B; }
	template<typename T>
	static constexpr T Max(const T A, const T B) { return A < B ? B : A; }
	template<typename T>
	static constexpr T Clamp(const T X, const T MinValue, const T MaxValue) { return X < MinValue ? MinValue : (X < MaxValue ? X : MaxValue); }
	template<typename T>
	static constexpr T Abs(const T A) { return A < T(0) ? -A : A; }
	static bool IsFinite(double A) { return std::isfinite(A); }
	static bool IsNaN(double A) { return std::isnan(A); }
	static double TruncToDouble(double A) { return std::trunc(A); }
	static int32 TruncToInt(double A) { return static_cast<int32>(A); }
	static int32 RoundToInt(double A) { return static_cast<int32>(std::floor(A + 0.5)); }
	static double RoundHalfFromZero(double A) { return std::round(A); }
	static bool IsNearlyEqual(double A, double B, double Tolerance = 1.e-8) { return std::abs(A - B) <= Tolerance; }
};
