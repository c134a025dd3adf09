// Memory for big, randomly probed arrays (hash-table slots, a large table's entries). Blocks of a
// few megabytes and more come straight from the kernel with transparent huge pages requested:
// touching them the first time then costs one fault per 2 MiB instead of one per 4 KiB, and
// probing them misses the TLB far less.
#pragma once

#include "CoreTypes.h"

#include <cstddef>
#include <new>

namespace UE::Host
{
	// Below this size an ordinary allocation is cheaper.
	constexpr size_t LargePageThreshold = size_t(4) << 20;

	void* AllocateLargePages(size_t Bytes);
	void FreeLargePages(void* Memory, size_t Bytes);

	template<typename T>
	struct TLargePageAllocator
	{
		using value_type = T;

		TLargePageAllocator() = default;
		template<typename U>
		TLargePageAllocator(const TLargePageAllocator<U>&) {}

		T* allocate(size_t Count)
		{
			const size_t Bytes = Count * sizeof(T);
			return static_cast<T*>(Bytes >= LargePageThreshold ? AllocateLargePages(Bytes) : ::operator new(Bytes, std::align_val_t(alignof(T))));
		}

		void deallocate(T* Memory, size_t Count)
		{
			const size_t Bytes = Count * sizeof(T);
			if (Bytes >= LargePageThreshold)
			{
				FreeLargePages(Memory, Bytes);
			}
			else
			{
				::operator delete(Memory, std::align_val_t(alignof(T)));
			}
		}

		template<typename U>
		bool operator==(const TLargePageAllocator<U>&) const { return true; }
	};
}
