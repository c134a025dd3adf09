// TSet: unique elements in insertion order, hashed with GetTypeHash and compared with ==.
#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/SparseHashTable.h"

#include <initializer_list>

template<typename InElementType>
struct TDefaultSetKeyFuncs
{
	using KeyType = InElementType;

	static const KeyType& GetKey(const InElementType& Element) { return Element; }
	template<typename KeyArg>
	static uint32 GetKeyHash(const KeyArg& Key) { return GetTypeHash(Key); }
	template<typename KeyArg>
	static bool Matches(const KeyType& A, const KeyArg& B) { return A == B; }
};

struct FSetElementId
{
	int32 Index = INDEX_NONE;
	bool IsValidId() const { return Index != INDEX_NONE; }
};

template<typename ElementType, typename KeyFuncs = void, typename Allocator = void>
class TSet
{
public:
	TSet() = default;
	TSet(std::initializer_list<ElementType> Init) { for (const ElementType& E : Init) { Add(E); } }
	template<typename A>
	explicit TSet(const TArray<ElementType, A>& Array) { Append(Array); }

	int32 Num() const { return Table.Num(); }
	bool IsEmpty() const { return Table.IsEmpty(); }
	void Empty(int32 ExpectedNumElements = 0) { Table.Empty(); Table.Reserve(ExpectedNumElements); }
	void Reset() { Table.Reset(); }
	void Reserve(int32 Number) { Table.Reserve(Number); }

	FSetElementId Add(const ElementType& Element, bool* bIsAlreadyInSetPtr = nullptr)
	{
		return Emplace(ElementType(Element), bIsAlreadyInSetPtr);
	}

	FSetElementId Add(ElementType&& Element, bool* bIsAlreadyInSetPtr = nullptr)
	{
		return Emplace(std::move(Element), bIsAlreadyInSetPtr);
	}

	FSetElementId Emplace(ElementType&& Element, bool* bIsAlreadyInSetPtr = nullptr)
	{
		const int32 Existing = Table.FindIndex(Element);
		if (bIsAlreadyInSetPtr)
		{
			*bIsAlreadyInSetPtr = Existing != INDEX_NONE;
		}
		if (Existing != INDEX_NONE)
		{
			Table.ReplaceSlot(Existing, std::move(Element));
			return FSetElementId{Existing};
		}
		return FSetElementId{Table.AddSlot(std::move(Element))};
	}

	template<typename A>
	void Append(const TArray<ElementType, A>& Array)
	{
		for (const ElementType& E : Array)
		{
			Add(E);
		}
	}

	template<typename KeyArg>
	bool Contains(const KeyArg& Key) const { return Table.FindIndex(Key) != INDEX_NONE; }

	template<typename KeyArg>
	ElementType* Find(const KeyArg& Key)
	{
		const int32 Slot = Table.FindIndex(Key);
		return Slot == INDEX_NONE ? nullptr : &Table.At(Slot);
	}

	template<typename KeyArg>
	const ElementType* Find(const KeyArg& Key) const
	{
		const int32 Slot = Table.FindIndex(Key);
		return Slot == INDEX_NONE ? nullptr : &Table.At(Slot);
	}

	template<typename KeyArg>
	int32 Remove(const KeyArg& Key)
	{
		const int32 Slot = Table.FindIndex(Key);
		if (Slot == INDEX_NONE)
		{
			return 0;
		}
		Table.RemoveSlot(Slot);
		return 1;
	}

	TArray<ElementType> Array() const
	{
		TArray<ElementType> Result;
		Result.Reserve(Num());
		for (const ElementType& E : Table)
		{
			Result.Add(E);
		}
		return Result;
	}

	template<typename Predicate>
	void Sort(const Predicate& Pred) { Table.SortElements(Pred); }

	auto begin() const { return Table.begin(); }
	auto end() const { return Table.end(); }

private:
	UE::Host::TSparseHashTable<ElementType, TDefaultSetKeyFuncs<ElementType>> Table;
};
