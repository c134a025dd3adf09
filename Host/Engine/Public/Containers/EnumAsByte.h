// TEnumAsByte: stores an old-style (namespaced) enum in one byte.
#pragma once

#include "CoreTypes.h"

#include <type_traits>

template<class InEnumType>
class TEnumAsByte
{
public:
	typedef InEnumType EnumType;

	TEnumAsByte() = default;
	TEnumAsByte(const TEnumAsByte&) = default;
	TEnumAsByte& operator=(const TEnumAsByte&) = default;
	TEnumAsByte(EnumType InValue) : Value(static_cast<uint8>(InValue)) {}
	explicit TEnumAsByte(int32 InValue) : Value(static_cast<uint8>(InValue)) {}
	explicit TEnumAsByte(uint8 InValue) : Value(InValue) {}

	TEnumAsByte& operator=(EnumType InValue) { Value = static_cast<uint8>(InValue); return *this; }
	bool operator==(EnumType InValue) const { return static_cast<EnumType>(Value) == InValue; }
	bool operator==(TEnumAsByte InValue) const { return Value == InValue.Value; }
	bool operator!=(EnumType InValue) const { return !(*this == InValue); }
	bool operator!=(TEnumAsByte InValue) const { return Value != InValue.Value; }

	operator EnumType() const { return static_cast<EnumType>(Value); }
	EnumType GetValue() const { return static_cast<EnumType>(Value); }
	uint8 GetIntValue() const { return Value; }

private:
	uint8 Value = 0;
};

template<class T>
struct TIsTEnumAsByte : std::false_type
{
};

template<class T>
struct TIsTEnumAsByte<TEnumAsByte<T>> : std::true_type
{
};
