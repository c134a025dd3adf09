// Storage shared by TMap, TMultiMap and TSet: a sparse array of slots in insertion order with a
// hash index. Removal leaves a hole that the next addition refills (most recent hole first), so
// iteration order behaves like the engine's. A lookup finds the most recently added match, as the
// head of the engine's hash chain does; that is what a multimap's Find returns.
#pragma once

#include "CoreTypes.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
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
			Slots.clear();
			Slots.shrink_to_fit();
			LinkOrder.clear();
			FreeSlots.clear();
			Index.clear();
			NumElements = 0;
		}

		void Reset()
		{
			Slots.clear();
			LinkOrder.clear();
			FreeSlots.clear();
			Index.clear();
			NumElements = 0;
		}

		void Reserve(int32 Count)
		{
			if (Count > 0)
			{
				Slots.reserve(static_cast<size_t>(Count));
				Index.reserve(static_cast<size_t>(Count));
			}
		}

		template<typename KeyArg>
		int32 FindIndex(const KeyArg& Key) const
		{
			const uint32 Hash = KeyFuncs::GetKeyHash(Key);
			auto Range = Index.equal_range(Hash);
			int32 Best = INDEX_NONE;
			for (auto It = Range.first; It != Range.second; ++It)
			{
				if (KeyFuncs::Matches(KeyFuncs::GetKey(*Slots[static_cast<size_t>(It->second)]), Key))
				{
					if (Best == INDEX_NONE || LinkOrder[static_cast<size_t>(It->second)] > LinkOrder[static_cast<size_t>(Best)])
					{
						Best = It->second;
					}
				}
			}
			return Best;
		}

		template<typename KeyArg, typename Visitor>
		void ForEachMatch(const KeyArg& Key, Visitor&& Visit) const
		{
			std::vector<int32> Matches;
			const uint32 Hash = KeyFuncs::GetKeyHash(Key);
			auto Range = Index.equal_range(Hash);
			for (auto It = Range.first; It != Range.second; ++It)
			{
				if (KeyFuncs::Matches(KeyFuncs::GetKey(*Slots[static_cast<size_t>(It->second)]), Key))
				{
					Matches.push_back(It->second);
				}
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
				LinkOrder[static_cast<size_t>(Slot)] = ++LinkCounter;
			}
			else
			{
				Slot = static_cast<int32>(Slots.size());
				Slots.emplace_back(std::move(Element));
				LinkOrder.push_back(++LinkCounter);
			}
			Index.emplace(Hash, Slot);
			++NumElements;
			return Slot;
		}

		void RemoveSlot(int32 Slot)
		{
			std::optional<ElementType>& Entry = Slots[static_cast<size_t>(Slot)];
			const uint32 Hash = KeyFuncs::GetKeyHash(KeyFuncs::GetKey(*Entry));
			auto Range = Index.equal_range(Hash);
			for (auto It = Range.first; It != Range.second; ++It)
			{
				if (It->second == Slot)
				{
					Index.erase(It);
					break;
				}
			}
			Entry.reset();
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
		uint64 GetLinkOrder(int32 Slot) const { return LinkOrder[static_cast<size_t>(Slot)]; }

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
		FSlots Slots;
		// When each slot's element was added; the newest match wins a lookup.
		std::vector<uint64> LinkOrder;
		uint64 LinkCounter = 0;
		std::vector<int32> FreeSlots;
		std::unordered_multimap<uint32, int32> Index;
		int32 NumElements = 0;
	};
}
