#include "Internationalization/TextKey.h"

#include "Host/LargePageAllocator.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <string_view>
#include <vector>

namespace
{
	using UE::Host::FTextKeyRecord;

	// The process-wide key pool: records are packed into large blocks that are never freed, and
	// found again through an open-addressing table of (hash, record) slots.
	class FTextKeyPool
	{
	public:
		static FTextKeyPool& Get()
		{
			static FTextKeyPool Pool;
			return Pool;
		}

		const FTextKeyRecord* Intern(std::u16string_view Text)
		{
			if (Text.empty())
			{
				return nullptr;
			}
			const uint32 Hash = HashText(Text);
			std::lock_guard<std::mutex> Lock(Mutex);
			return InternLocked(Text, Hash);
		}

		void InternBatch(const FStringView* Texts, int32 NumTexts, const FTextKeyRecord** OutRecords)
		{
			constexpr int32 MaxBatch = 64;
			uint32 Hashes[MaxBatch];
			for (int32 First = 0; First < NumTexts; First += MaxBatch)
			{
				const int32 Num = std::min(MaxBatch, NumTexts - First);
				for (int32 Index = 0; Index < Num; ++Index)
				{
					Hashes[Index] = HashText(Texts[First + Index].GetStdView());
				}
				std::lock_guard<std::mutex> Lock(Mutex);
				// Two rounds of prefetching: every key's home slot, then the records those slots
				// point at, so the probes below find both in cache.
				const size_t Mask = Slots.size() - 1;
				for (int32 Index = 0; Index < Num; ++Index)
				{
					__builtin_prefetch(&Slots[Hashes[Index] & Mask]);
				}
				for (int32 Index = 0; Index < Num; ++Index)
				{
					const FSlot& Slot = Slots[Hashes[Index] & Mask];
					if (Slot.Record && Slot.Hash == Hashes[Index])
					{
						__builtin_prefetch(Slot.Record);
					}
				}
				for (int32 Index = 0; Index < Num; ++Index)
				{
					const std::u16string_view Text = Texts[First + Index].GetStdView();
					OutRecords[First + Index] = Text.empty() ? nullptr : InternLocked(Text, Hashes[Index]);
				}
			}
		}

		void Reserve(int32 NumKeys)
		{
			std::lock_guard<std::mutex> Lock(Mutex);
			size_t SlotCount = Slots.size();
			while ((Count + static_cast<size_t>(std::max(NumKeys, 0))) * 2 > SlotCount)
			{
				SlotCount *= 2;
			}
			if (SlotCount != Slots.size())
			{
				Rehash(SlotCount);
			}
		}

	private:
		const FTextKeyRecord* InternLocked(std::u16string_view Text, uint32 Hash)
		{
			const size_t Mask = Slots.size() - 1;
			size_t Index = Hash & Mask;
			while (Slots[Index].Record)
			{
				const FSlot& Slot = Slots[Index];
				if (Slot.Hash == Hash && Slot.Record->Length == static_cast<int32>(Text.size())
					&& std::memcmp(Slot.Record->GetChars(), Text.data(), Text.size() * sizeof(TCHAR)) == 0)
				{
					return Slot.Record;
				}
				Index = (Index + 1) & Mask;
			}

			const FTextKeyRecord* Record = Allocate(Text, Hash);
			Slots[Index] = FSlot{Hash, Record};
			if (++Count * 2 > Slots.size())
			{
				Grow();
			}
			return Record;
		}

		struct FSlot
		{
			uint32 Hash = 0;
			const FTextKeyRecord* Record = nullptr;
		};

		// One huge page per block.
		static constexpr size_t BlockSize = size_t(2) << 20;

		// Blocks are released only when the process ends. Shared blocks are huge pages; a long key's
		// own block is ordinary memory, so that many long keys do not each pin a huge page.
		struct FBlock
		{
			uint8* Memory = nullptr;
			size_t Size = 0;
			bool bHugePages = false;
		};

		FTextKeyPool()
			: Slots(1024)
		{
		}

		~FTextKeyPool()
		{
			for (const FBlock& Block : Blocks)
			{
				if (Block.bHugePages)
				{
					UE::Host::FreeLargePages(Block.Memory, Block.Size);
				}
				else
				{
					::operator delete(Block.Memory);
				}
			}
		}

		static uint32 HashText(std::u16string_view Text)
		{
			const size_t Hash = std::hash<std::u16string_view>()(Text);
			return static_cast<uint32>(Hash ^ (Hash >> 32));
		}

		const FTextKeyRecord* Allocate(std::u16string_view Text, uint32 Hash)
		{
			const size_t Bytes = (sizeof(FTextKeyRecord) + (Text.size() + 1) * sizeof(TCHAR) + alignof(FTextKeyRecord) - 1)
				& ~(alignof(FTextKeyRecord) - 1);
			uint8* Memory = nullptr;
			if (Bytes > BlockSize / 4)
			{
				// A long key gets a block of its own rather than wasting the rest of a shared one.
				Blocks.insert(Blocks.begin(), FBlock{static_cast<uint8*>(::operator new(Bytes)), Bytes, false});
				Memory = Blocks.front().Memory;
			}
			else
			{
				if (Blocks.empty() || BlockUsed + Bytes > BlockSize)
				{
					Blocks.push_back(FBlock{static_cast<uint8*>(UE::Host::AllocateLargePages(BlockSize)), BlockSize, true});
					BlockUsed = 0;
				}
				Memory = Blocks.back().Memory + BlockUsed;
				BlockUsed += Bytes;
			}
			FTextKeyRecord* Record = new (Memory) FTextKeyRecord{Hash, static_cast<int32>(Text.size())};
			TCHAR* Chars = const_cast<TCHAR*>(Record->GetChars());
			std::memcpy(Chars, Text.data(), Text.size() * sizeof(TCHAR));
			Chars[Text.size()] = 0;
			return Record;
		}

		void Grow()
		{
			Rehash(Slots.size() * 2);
		}

		void Rehash(size_t SlotCount)
		{
			std::vector<FSlot, UE::Host::TLargePageAllocator<FSlot>> Old(SlotCount);
			Old.swap(Slots);
			const size_t Mask = Slots.size() - 1;
			for (const FSlot& Slot : Old)
			{
				if (Slot.Record)
				{
					size_t Index = Slot.Hash & Mask;
					while (Slots[Index].Record)
					{
						Index = (Index + 1) & Mask;
					}
					Slots[Index] = Slot;
				}
			}
		}

		std::mutex Mutex;
		std::vector<FSlot, UE::Host::TLargePageAllocator<FSlot>> Slots;
		size_t Count = 0;
		// The block being filled is the last one.
		std::vector<FBlock> Blocks;
		size_t BlockUsed = 0;
	};
}

FTextKey::FTextKey(FStringView InStr)
{
	SetRecord(FTextKeyPool::Get().Intern(InStr.GetStdView()));
}

FTextKey::FTextKey(const TCHAR* InStr)
	: FTextKey(FStringView(InStr))
{
}

FTextKey::FTextKey(const FString& InStr)
	: FTextKey(FStringView(InStr))
{
}

FString FTextKey::ToString() const
{
	return Record ? FString(Record->Length, Record->GetChars()) : FString();
}

void FTextKey::ToString(FString& Out) const
{
	// Reuses the output's storage, so a caller converting many keys allocates once.
	Out.Reset();
	if (Record)
	{
		Out.Append(Record->GetChars(), Record->Length);
	}
}

void UE::Host::InternTextKeys(const FStringView* Texts, int32 NumTexts, FTextKey* OutKeys)
{
	constexpr int32 Chunk = 256;
	const FTextKeyRecord* Records[Chunk];
	for (int32 First = 0; First < NumTexts; First += Chunk)
	{
		const int32 Num = std::min(Chunk, NumTexts - First);
		FTextKeyPool::Get().InternBatch(Texts + First, Num, Records);
		for (int32 Index = 0; Index < Num; ++Index)
		{
			OutKeys[First + Index].SetRecord(Records[Index]);
		}
	}
}

void UE::Host::ReserveTextKeys(int32 NumKeys)
{
	FTextKeyPool::Get().Reserve(NumKeys);
}

void FTextKey::AppendString(FString& Out) const
{
	if (Record)
	{
		Out.Append(Record->GetChars(), Record->Length);
	}
}
