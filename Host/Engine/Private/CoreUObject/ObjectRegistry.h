// The global object registry: every registered object by index and by short name, in the order
// objects were registered (the finders' "first" means first registered).
#pragma once

#include "UObject/Object.h"

#include <unordered_map>
#include <vector>

namespace UE::Host
{
	struct FObjectRegistry
	{
		// Never destroyed: objects may be released during static destruction.
		static FObjectRegistry& Get();

		// Gives the object its identity and makes it findable. Class may be null while the core
		// classes are being built; SetClass fills it in afterwards.
		void Register(UObjectBase* Object, UClass* Class, UObject* Outer, FName Name, EObjectFlags Flags);
		void SetClass(UObjectBase* Object, UClass* Class);
		void Unregister(UObjectBase* Object);

		// Registered objects named Name (case ignored), oldest first.
		void FindByName(FName Name, TArray<UObject*>& OutObjects) const;
		UObject* FindByNameAndOuter(FName Name, const UObject* Outer) const;
		// Every registered object, oldest first.
		void GetAllObjects(TArray<UObject*>& OutObjects) const;

	private:
		std::vector<UObjectBase*> Objects;
		std::unordered_multimap<uint32, UObjectBase*> ObjectsByName;
	};
}
