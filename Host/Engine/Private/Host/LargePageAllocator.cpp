#include "Host/LargePageAllocator.h"

#include <sys/mman.h>

#include <cstdint>

namespace UE::Host
{
	namespace
	{
		constexpr size_t HugePageSize = size_t(2) << 20;

		size_t RoundUp(size_t Bytes)
		{
			return (Bytes + HugePageSize - 1) & ~(HugePageSize - 1);
		}
	}

	void* AllocateLargePages(size_t Bytes)
	{
		const size_t Size = RoundUp(Bytes);
		// Map one huge page more than needed, then trim, so the block starts on a huge-page boundary.
		void* Mapped = mmap(nullptr, Size + HugePageSize, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
		if (Mapped == MAP_FAILED)
		{
			throw std::bad_alloc();
		}
		const uintptr_t Start = reinterpret_cast<uintptr_t>(Mapped);
		const uintptr_t Aligned = (Start + HugePageSize - 1) & ~(uintptr_t(HugePageSize) - 1);
		if (Aligned > Start)
		{
			munmap(Mapped, Aligned - Start);
		}
		const uintptr_t End = Start + Size + HugePageSize;
		if (End > Aligned + Size)
		{
			munmap(reinterpret_cast<void*>(Aligned + Size), End - (Aligned + Size));
		}
#ifdef MADV_HUGEPAGE
		// Only advice: without huge pages the block still works, page by page.
		madvise(reinterpret_cast<void*>(Aligned), Size, MADV_HUGEPAGE);
#endif
		return reinterpret_cast<void*>(Aligned);
	}

	void FreeLargePages(void* Memory, size_t Bytes)
	{
		if (Memory)
		{
			munmap(Memory, RoundUp(Bytes));
		}
	}
}
