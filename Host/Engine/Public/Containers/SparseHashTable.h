// Storage shared by TMap, TMultiMap and TSet: a sparse array of slots in insertion order with a
// hash index. Removal leaves a hole that the next addition refills (most recent hole first), so
// iteration order behaves like the engine's. A lookup finds the most recently added match, as the
// head of the engine's hash chain does; that is what a multimap's Find returns.
#pragma once

#include "CoreTypes.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace UE::Host
{
	template<typename ElementType, typename KeyFuncs>
	class TSparseHashTable
	{
	public:
		using KeyType = typename KeyFuncs::KeyType;

		int32 Num() const { return NumElements; }
		bool IsEmpty() const { return NumElements == 0; }

		void Empty()
		{
			Reset();
			Slots.shrink_to_fit();
			SlotHashes.shrink_to_fit();
			NextInChain.shrink_to_fit();
			FreeSlots.shrink_to_fit();
			Buckets.clear();
			Buckets.shrink_to_fit();
		}

		void Reset()
		{
			Slots.clear();
			SlotHashes.clear();
			NextInChain.clear();
			FreeSlots.clear();
			std::fill(Buckets.begin(), Buckets.end(), INDEX_NONE);
			NumElements = 0;
		}

		void Reserve(int32 Count)
		{
			if (Count > 0)
			{
				const size_t Wanted = static_cast<size_t>(Count);
				Slots.reserve(Wanted);
				SlotHashes.reserve(Wanted);
				NextInChain.reserve(Wanted);
				GrowBuckets(Wanted);
			}
		}

		template<typename KeyArg>
		int32 FindIndex(const KeyArg& Key) const
		{
			return FindNewestMatch(Key, [](int32) { return true; });
		}

		// The most recently added slot whose key matches and that Accept takes.
		template<typename KeyArg, typename Predicate>
		int32 FindNewestMatch(const KeyArg& Key, Predicate&& Accept) const
		{
			if (Buckets.empty())
			{
				return INDEX_NONE;
			}
			const uint32 Hash = KeyFuncs::GetKeyHash(Key);
			// A chain runs newest first, so the first match is the one the engine's chain head gives.
			for (int32 Slot = Buckets[Hash & BucketMask()]; Slot != INDEX_NONE; Slot = NextInChain[static_cast<size_t>(Slot)])
			{
				if (SlotHashes[static_cast<size_t>(Slot)] == Hash && KeyFuncs::Matches(KeyFuncs::GetKey(*Slots[static_cast<size_t>(Slot)]), Key) && Accept(Slot))
				{
					return Slot;
				}
			}
			return INDEX_NONE;
		}

		// Visits the matching slots in slot order.
		template<typename KeyArg, typename Visitor>
		void ForEachMatch(const KeyArg& Key, Visitor&& Visit) const
		{
			if (Buckets.empty())
			{
				return;
			}
			const uint32 Hash = KeyFuncs::GetKeyHash(Key);
			int32 Single = INDEX_NONE;
			std::vector<int32> Matches;
			for (int32 Slot = Buckets[Hash & BucketMask()]; Slot != INDEX_NONE; Slot = NextInChain[static_cast<size_t>(Slot)])
			{
				if (SlotHashes[static_cast<size_t>(Slot)] == Hash && KeyFuncs::Matches(KeyFuncs::GetKey(*Slots[static_cast<size_t>(Slot)]), Key))
				{
					// Most keys hold one value: that needs no list.
					if (Single == INDEX_NONE && Matches.empty())
					{
						Single = Slot;
						continue;
					}
					if (Single != INDEX_NONE)
					{
						Matches.push_back(Single);
						Single = INDEX_NONE;
					}
					Matches.push_back(Slot);
				}
			}
			if (Single != INDEX_NONE)
			{
				Visit(Single);
				return;
			}
			std::sort(Matches.begin(), Matches.end());
			for (const int32 Slot : Matches)
			{
				Visit(Slot);
			}
		}

		int32 AddSlot(ElementType&& Element)
		{
			const uint32 Hash = KeyFuncs::GetKeyHash(KeyFuncs::GetKey(Element));
			int32 Slot;
			if (!FreeSlots.empty())
			{
				Slot = FreeSlots.back();
				FreeSlots.pop_back();
				Slots[static_cast<size_t>(Slot)].emplace(std::move(Element));
				SlotHashes[static_cast<size_t>(Slot)] = Hash;
			}
			else
			{
				Slot = static_cast<int32>(Slots.size());
				Slots.emplace_back(std::move(Element));
				SlotHashes.push_back(Hash);
				NextInChain.push_back(INDEX_NONE);
			}
			++NumElements;
			GrowBuckets(static_cast<size_t>(NumElements));
			int32& Head = Buckets[Hash & BucketMask()];
			NextInChain[static_cast<size_t>(Slot)] = Head;
			Head = Slot;
			return Slot;
		}

		void RemoveSlot(int32 Slot)
		{
			int32* Link = &Buckets[SlotHashes[static_cast<size_t>(Slot)] & BucketMask()];
			while (*Link != Slot)
			{
				Link = &NextInChain[static_cast<size_t>(*Link)];
			}
			*Link = NextInChain[static_cast<size_t>(Slot)];
			NextInChain[static_cast<size_t>(Slot)] = INDEX_NONE;
			Slots[static_cast<size_t>(Slot)].reset();
			FreeSlots.push_back(Slot);
			--NumElements;
		}

		// Replaces the element in a slot whose key hashes the same (a respelt key, for example).
		void ReplaceSlot(int32 Slot, ElementType&& Element)
		{
			Slots[static_cast<size_t>(Slot)].emplace(std::move(Element));
		}

		ElementType& At(int32 Slot) { return *Slots[static_cast<size_t>(Slot)]; }
		const ElementType& At(int32 Slot) const { return *Slots[static_cast<size_t>(Slot)]; }
		bool IsSlotUsed(int32 Slot) const { return Slot >= 0 && Slot < static_cast<int32>(Slots.size()) && Slots[static_cast<size_t>(Slot)].has_value(); }
		int32 GetMaxIndex() const { return static_cast<int32>(Slots.size()); }

		// Sorts the elements and packs them, dropping holes.
		template<typename Predicate>
		void SortElements(const Predicate& Pred)
		{
			std::vector<ElementType> Elements;
			Elements.reserve(static_cast<size_t>(NumElements));
			for (std::optional<ElementType>& Entry : Slots)
			{
				if (Entry)
				{
					Elements.push_back(std::move(*Entry));
				}
			}
			std::stable_sort(Elements.begin(), Elements.end(), Pred);
			Reset();
			for (ElementType& Element : Elements)
			{
				AddSlot(std::move(Element));
			}
		}

		template<typename SlotsType, typename ValueType>
		class TIterator
		{
		public:
			TIterator(SlotsType* InSlots, size_t InPos) : SlotsPtr(InSlots), Pos(InPos) { Skip(); }
			ValueType& operator*() const { return *(*SlotsPtr)[Pos]; }
			ValueType* operator->() const { return &*(*SlotsPtr)[Pos]; }
			TIterator& operator++() { ++Pos; Skip(); return *this; }
			bool operator==(const TIterator& Other) const { return Pos == Other.Pos; }
			bool operator!=(const TIterator& Other) const { return Pos != Other.Pos; }
			size_t GetPos() const { return Pos; }

		private:
			void Skip()
			{
				while (Pos < SlotsPtr->size() && !(*SlotsPtr)[Pos].has_value())
				{
					++Pos;
				}
			}

			SlotsType* SlotsPtr;
			size_t Pos;
		};

		using FSlots = std::vector<std::optional<ElementType>>;
		using FIterator = TIterator<FSlots, ElementType>;
		using FConstIterator = TIterator<const FSlots, const ElementType>;

		FIterator begin() { return FIterator(&Slots, 0); }
		FIterator end() { return FIterator(&Slots, Slots.size()); }
		FConstIterator begin() const { return FConstIterator(&Slots, 0); }
		FConstIterator end() const { return FConstIterator(&Slots, Slots.size()); }

	private:
		size_t BucketMask() const { return Buckets.size() - 1; }

		// Keeps at least one bucket per element (a power of two). Growing splits each chain in two
		// in its own order, so chains stay newest first.
		void GrowBuckets(size_t Count)
		{
			if (Buckets.size() >= Count && !Buckets.empty())
			{
				return;
			}
			size_t NewSize = Buckets.empty() ? 8 : Buckets.size();
			while (NewSize < Count)
			{
				NewSize *= 2;
			}
			std::vector<int32> NewBuckets(NewSize, INDEX_NONE);
			std::vector<int32> Tails(NewSize, INDEX_NONE);
			for (const int32 Head : Buckets)
			{
				for (int32 Slot = Head; Slot != INDEX_NONE;)
				{
					const int32 Next = NextInChain[static_cast<size_t>(Slot)];
					const size_t Bucket = SlotHashes[static_cast<size_t>(Slot)] & (NewSize - 1);
					int32& Tail = Tails[Bucket];
					(Tail == INDEX_NONE ? NewBuckets[Bucket] : NextInChain[static_cast<size_t>(Tail)]) = Slot;
					NextInChain[static_cast<size_t>(Slot)] = INDEX_NONE;
					Tail = Slot;
					Slot = Next;
				}
			}
			Buckets = std::move(NewBuckets);
		}

		FSlots Slots;
		std::vector<int32> FreeSlots;
		// The index, engine style: each bucket heads a chain of slots, newest first, linked through
		// the slots themselves, so adding an element allocates nothing of its own.
		std::vector<uint32> SlotHashes;
		std::vector<int32> NextInChain;
		std::vector<int32> Buckets;
		int32 NumElements = 0;
	};
}
