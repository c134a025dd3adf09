// Engine-layer access to JSON value internals: reading a string value without copying it, and
// releasing trees without recursion.
#pragma once

#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"

#include <vector>

namespace UE::Host::Json
{
	struct FValueAccess
	{
		// The text of a string value, or null when Value is not an FJsonValueString.
		static const FString* PeekString(const FJsonValue& Value)
		{
			const FJsonValueString* String = dynamic_cast<const FJsonValueString*>(&Value);
			return String ? &String->Value : nullptr;
		}
	};

	// Destroying a container destroys its children, which would recurse once per level. Instead
	// the containers below are detached into a list and released one by one, each after its own
	// containers have been detached, so every destructor stays shallow.
	class FTreeRelease
	{
	public:
		static void ReleaseChildren(TArray<TSharedPtr<FJsonValue>>& Children);
		static void ReleaseChildren(TMap<FString, TSharedPtr<FJsonValue>>& Fields);

	private:
		using FPending = std::vector<TSharedPtr<FJsonValue>>;

		static void Detach(TArray<TSharedPtr<FJsonValue>>& Children, FPending& Pending);
		static void Detach(TMap<FString, TSharedPtr<FJsonValue>>& Fields, FPending& Pending);
		static void Drain(FPending& Pending);
	};
}
