#pragma once

#include <type_traits>
#include <utility>

template<typename T>
constexpr std::remove_reference_t<T>&& MoveTemp(T&& Obj)
{
	return static_cast<std::remove_reference_t<T>&&>(Obj);
}

template<typename T>
constexpr T CopyTemp(const T& Obj)
{
	return Obj;
}

template<typename T>
constexpr T&& Forward(std::remove_reference_t<T>& Obj)
{
	return static_cast<T&&>(Obj);
}

template<typename T>
constexpr void Swap(T& A, T& B)
{
	std::swap(A, B);
}

template<typename T, size_t N>
constexpr size_t UE_ARRAY_COUNT_Helper(T (&)[N])
{
	return N;
}

#define UE_ARRAY_COUNT(Array) (UE_ARRAY_COUNT_Helper(Array))
