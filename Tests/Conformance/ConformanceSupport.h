// Compile-time checks that the engine layer declares what the real engine declares, for every
// engine name the module uses. A check fails the build, not a test run.
#pragma once

#include <type_traits>

// The one declaration of a name that has no overloads: its exact type.
#define CHECK_ENGINE_DECL(Name, ...) \
	static_assert(std::is_same_v<decltype(&Name), __VA_ARGS__>, "declaration differs from the engine's: " #Name)

// One overload of an overloaded name: an overload of exactly this type exists (static_cast picks
// only an exact match from an overload set).
#define CHECK_ENGINE_OVERLOAD(Name, ...) \
	static_assert(std::is_same_v<decltype(static_cast<__VA_ARGS__>(&Name)), __VA_ARGS__>, "overload missing: " #Name)
