// A default-constructed struct value, for exporting container elements against it: import
// starts each element from that default, so it reads back the same values.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Class.h"

#include <new>

namespace UE::Host::PropertyText
{
	class FStructDefaults
	{
	public:
		explicit FStructDefaults(const UScriptStruct* InStruct)
			: Struct(InStruct)
			, Memory(::operator new(static_cast<size_t>(InStruct->GetStructureSize()), std::align_val_t(static_cast<size_t>(InStruct->GetMinAlignment()))))
		{
			Struct->InitializeStruct(Memory);
		}
		FStructDefaults(const FStructDefaults&) = delete;
		FStructDefaults& operator=(const FStructDefaults&) = delete;
		~FStructDefaults()
		{
			Struct->DestroyStruct(Memory);
			::operator delete(Memory, std::align_val_t(static_cast<size_t>(Struct->GetMinAlignment())));
		}

		const void* Get() const { return Memory; }

	private:
		const UScriptStruct* Struct;
		void* Memory;
	};
}
