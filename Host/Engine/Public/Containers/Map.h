// TMap and TMultiMap. Keys hash and compare with GetTypeHash and ==, so FString and FName keys
// ignore case. Replacing a key keeps its position but takes the new key's spelling.
#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/SparseHashTable.h"
#include "Templates/Tuple.h"

template<typename InKeyType, typename InValueType>
struct TDefaultMapKeyFuncs
{
	using KeyType = InKeyType;
	using ElementType = TPair<InKeyType, InValueType>;

	static const KeyType& GetKey(const ElementType& Element) { return Element.Key; }
	template<typename KeyArg>
	static uint32 GetKeyHash(const KeyArg& Key) { return GetTypeHash(Key); }
	template<typename KeyArg>
	static bool Matches(const KeyType& A, const KeyArg& B) { return A == B; }
};

template<typename KeyType, typename ValueType, bool bAllowDuplicateKeys>
class TMapBase
{
public:
	using ElementType = TPair<KeyType, ValueType>;
	using FTable = UE::Host::TSparseHashTable<ElementType, TDefaultMapKeyFuncs<KeyType, ValueType>>;

	int32 Num() const { return Table.Num(); }
	bool IsEmpty() const { return Table.IsEmpty(); }
	void Empty(int32 ExpectedNumElements = 0) { Table.Empty(); Table.Reserve(ExpectedNumElements); }
	void Reset() { Table.Reset(); }
	void Reserve(int32 Number) { Table.Reserve(Number); }

	ValueType& Add(const KeyType& Key, const ValueType& Value) { return Emplace(KeyType(Key), ValueType(Value)); }
	ValueType& Add(const KeyType& Key, ValueType&& Value) { return Emplace(KeyType(Key), std::move(Value)); }
	ValueType& Add(KeyType&& Key, const ValueType& Value) { return Emplace(std::move(Key), ValueType(Value)); }
	ValueType& Add(KeyType&& Key, ValueType&& Value) { return Emplace(std::move(Key), std::move(Value)); }
	ValueType& Add(const KeyType& Key) { return Emplace(KeyType(Key), ValueType()); }

	ValueType& Emplace(KeyType&& Key, ValueType&& Value)
	{
		if constexpr (!bAllowDuplicateKeys)
		{
			const int32 Existing = Table.FindIndex(Key);
			if (Existing != INDEX_NONE)
			{
				Table.ReplaceSlot(Existing, ElementType(std::move(Key), std::move(Value)));
				return Table.At(Existing).Value;
			}
		}
		return Table.At(Table.AddSlot(ElementType(std::move(Key), std::move(Value)))).Value;
	}

	template<typename K, typename V>
	ValueType& Emplace(K&& Key, V&& Value) { return Emplace(KeyType(std::forward<K>(Key)), ValueType(std::forward<V>(Value))); }

	template<typename KeyArg>
	ValueType* Find(const KeyArg& Key)
	{
		const int32 Slot = Table.FindIndex(Key);
		return Slot == INDEX_NONE ? nullptr : &Table.At(Slot).Value;
	}

	template<typename KeyArg>
	const ValueType* Find(const KeyArg& Key) const
	{
		const int32 Slot = Table.FindIndex(Key);
		return Slot == INDEX_NONE ? nullptr : &Table.At(Slot).Value;
	}

	template<typename KeyArg>
	ValueType FindRef(const KeyArg& Key) const
	{
		const ValueType* Found = Find(Key);
		return Found ? *Found : ValueType();
	}

	template<typename KeyArg>
	ValueType& FindChecked(const KeyArg& Key) { ValueType* Found = Find(Key); check(Found); return *Found; }
	template<typename KeyArg>
	const ValueType& FindChecked(const KeyArg& Key) const { const ValueType* Found = Find(Key); check(Found); return *Found; }

	template<typename KeyArg>
	bool Contains(const KeyArg& Key) const { return Table.FindIndex(Key) != INDEX_NONE; }

	const KeyType* FindKey(const ValueType& Value) const
	{
		for (const ElementType& Element : Table)
		{
			if (Element.Value == Value)
			{
				return &Element.Key;
			}
		}
		return nullptr;
	}

	template<typename KeyArg>
	int32 Remove(const KeyArg& Key)
	{
		int32 Removed = 0;
		for (int32 Slot = Table.FindIndex(Key); Slot != INDEX_NONE; Slot = Table.FindIndex(Key))
		{
			Table.RemoveSlot(Slot);
			++Removed;
		}
		return Removed;
	}

	template<typename Predicate>
	void KeySort(const Predicate& Pred)
	{
		Table.SortElements([&Pred](const ElementType& A, const ElementType& B) { return Pred(A.Key, B.Key); });
	}

	template<typename Predicate>
	void ValueSort(const Predicate& Pred)
	{
		Table.SortElements([&Pred](const ElementType& A, const ElementType& B) { return Pred(A.Value, B.Value); });
	}

	template<typename Allocator>
	int32 GetKeys(TArray<KeyType, Allocator>& OutKeys) const
	{
		OutKeys.Reset();
		for (const ElementType& Element : Table)
		{
			if (bAllowDuplicateKeys && OutKeys.Contains(Element.Key))
			{
				continue;
			}
			OutKeys.Add(Element.Key);
		}
		return OutKeys.Num();
	}

	template<typename Allocator>
	void GenerateKeyArray(TArray<KeyType, Allocator>& OutArray) const
	{
		OutArray.Reset();
		for (const ElementType& Element : Table)
		{
			OutArray.Add(Element.Key);
		}
	}

	template<typename Allocator>
	void GenerateValueArray(TArray<ValueType, Allocator>& OutArray) const
	{
		OutArray.Reset();
		for (const ElementType& Element : Table)
		{
			OutArray.Add(Element.Value);
		}
	}

	template<typename TableType, typename PairType>
	class TBaseIterator
	{
	public:
		TBaseIterator(TableType& InTable) : TablePtr(&InTable), Slot(0) { Skip(); }
		explicit operator bool() const { return Slot < TablePtr->GetMaxIndex(); }
		TBaseIterator& operator++() { ++Slot; Skip(); return *this; }
		decltype(auto) Key() const { return (TablePtr->At(Slot).Key); }
		decltype(auto) Value() const { return (TablePtr->At(Slot).Value); }
		PairType& operator*() const { return TablePtr->At(Slot); }
		PairType* operator->() const { return &TablePtr->At(Slot); }
		void RemoveCurrent() { TablePtr->RemoveSlot(Slot); }

	private:
		void Skip()
		{
			while (Slot < TablePtr->GetMaxIndex() && !TablePtr->IsSlotUsed(Slot))
			{
				++Slot;
			}
		}

		TableType* TablePtr;
		int32 Slot;
	};

	using TIterator = TBaseIterator<FTable, ElementType>;
	using TConstIterator = TBaseIterator<const FTable, const ElementType>;

	TIterator CreateIterator() { return TIterator(Table); }
	TConstIterator CreateConstIterator() const { return TConstIterator(Table); }

	auto begin() { return Table.begin(); }
	auto end() { return Table.end(); }
	auto begin() const { return Table.begin(); }
	auto end() const { return Table.end(); }

protected:
	FTable Table;
};

template<typename KeyType, typename ValueType, typename SetAllocator = void, typename KeyFuncs = void>
class TMap : public TMapBase<KeyType, ValueType, false>
{
	using Super = TMapBase<KeyType, ValueType, false>;

public:
	TMap() = default;
	TMap(std::initializer_list<TPair<KeyType, ValueType>> Init)
	{
		for (const TPair<KeyType, ValueType>& Element : Init)
		{
			Super::Add(Element.Key, Element.Value);
		}
	}

	template<typename KeyArg>
	ValueType& FindOrAdd(const KeyArg& Key)
	{
		ValueType* Found = Super::Find(Key);
		return Found ? *Found : Super::Add(KeyType(Key));
	}

	template<typename KeyArg>
	ValueType& FindOrAdd(const KeyArg& Key, ValueType&& Value)
	{
		ValueType* Found = Super::Find(Key);
		return Found ? *Found : Super::Add(KeyType(Key), std::move(Value));
	}

	template<typename KeyArg>
	ValueType& operator[](const KeyArg& Key) { return Super::FindChecked(Key); }
	template<typename KeyArg>
	const ValueType& operator[](const KeyArg& Key) const { return Super::FindChecked(Key); }

	template<typename KeyArg>
	bool RemoveAndCopyValue(const KeyArg& Key, ValueType& OutRemovedValue)
	{
		ValueType* Found = Super::Find(Key);
		if (!Found)
		{
			return false;
		}
		OutRemovedValue = std::move(*Found);
		Super::Remove(Key);
		return true;
	}
};

template<typename KeyType, typename ValueType, typename SetAllocator = void, typename KeyFuncs = void>
class TMultiMap : public TMapBase<KeyType, ValueType, true>
{
	using Super = TMapBase<KeyType, ValueType, true>;

public:
	template<typename KeyArg, typename Allocator>
	void MultiFind(const KeyArg& Key, TArray<ValueType, Allocator>& OutValues, bool bMaintainOrder = false) const
	{
		(void)bMaintainOrder;
		this->Table.ForEachMatch(Key, [&](int32 Slot) { OutValues.Add(this->Table.At(Slot).Value); });
	}

	template<typename KeyArg, typename Allocator>
	void MultiFindPointer(const KeyArg& Key, TArray<const ValueType*, Allocator>& OutValues, bool bMaintainOrder = false) const
	{
		(void)bMaintainOrder;
		this->Table.ForEachMatch(Key, [&](int32 Slot) { OutValues.Add(&this->Table.At(Slot).Value); });
	}

	template<typename KeyArg>
	int32 Num(const KeyArg& Key) const
	{
		int32 Count = 0;
		this->Table.ForEachMatch(Key, [&](int32) { ++Count; });
		return Count;
	}

	int32 Num() const { return Super::Num(); }

	template<typename KeyArg>
	int32 RemoveSingle(const KeyArg& Key, const ValueType& Value)
	{
		// The newest equal value goes first, as the engine walks its hash chain.
		const int32 Target = this->Table.FindNewestMatch(Key, [&](int32 Slot) { return this->Table.At(Slot).Value == Value; });
		if (Target == INDEX_NONE)
		{
			return 0;
		}
		this->Table.RemoveSlot(Target);
		return 1;
	}

	template<typename KeyArg>
	ValueType& FindOrAdd(const KeyArg& Key)
	{
		ValueType* Found = Super::Find(Key);
		return Found ? *Found : Super::Add(KeyType(Key));
	}
};
