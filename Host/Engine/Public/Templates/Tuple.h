// TTuple and TPair. A two-element tuple exposes Key and Value, as in the engine.
#pragma once

#include "HAL/Platform.h"

#include <tuple>
#include <type_traits>
#include <utility>

template<typename... Types>
struct TTuple
{
	std::tuple<Types...> Elements;

	TTuple() = default;
	template<typename... Args>
		requires (sizeof...(Args) == sizeof...(Types) && sizeof...(Args) > 0)
	explicit TTuple(Args&&... InArgs) : Elements(std::forward<Args>(InArgs)...) {}

	template<size_t Index>
	auto& Get() { return std::get<Index>(Elements); }
	template<size_t Index>
	const auto& Get() const { return std::get<Index>(Elements); }

	bool operator==(const TTuple& Other) const { return Elements == Other.Elements; }
	bool operator!=(const TTuple& Other) const { return !(*this == Other); }
};

template<typename KeyType, typename ValueType>
struct TTuple<KeyType, ValueType>
{
	KeyType Key{};
	ValueType Value{};

	TTuple() = default;
	template<typename K, typename V>
	TTuple(K&& InKey, V&& InValue) : Key(std::forward<K>(InKey)), Value(std::forward<V>(InValue)) {}

	template<size_t Index>
	auto& Get()
	{
		if constexpr (Index == 0) { return Key; } else { return Value; }
	}
	template<size_t Index>
	const auto& Get() const
	{
		if constexpr (Index == 0) { return Key; } else { return Value; }
	}

	bool operator==(const TTuple& Other) const { return Key == Other.Key && Value == Other.Value; }
	bool operator!=(const TTuple& Other) const { return !(*this == Other); }
};

template<typename KeyType, typename ValueType>
using TPair = TTuple<KeyType, ValueType>;

template<typename... Types>
TTuple<std::decay_t<Types>...> MakeTuple(Types&&... Args)
{
	return TTuple<std::decay_t<Types>...>(std::forward<Types>(Args)...);
}
