// TArray: the engine's dynamic array, on top of std::vector. Sizes are int32 as in the engine.
#pragma once

#include "CoreTypes.h"
#include "Containers/AllowShrinking.h"

#include <algorithm>
#include <concepts>
#include <initializer_list>
#include <type_traits>
#include <utility>
#include <vector>

template<typename T>
class TArrayView;

namespace UE::Host::ArrayDetail
{
	// TArray<T*>::Sort hands the predicate the pointed-to elements, as the engine does.
	template<typename T, typename Pred>
	struct TDereferenceWrapper
	{
		const Pred& P;
		bool operator()(const T& A, const T& B) const { return P(A, B); }
	};

	template<typename T, typename Pred>
	struct TDereferenceWrapper<T*, Pred>
	{
		const Pred& P;
		bool operator()(T* A, T* B) const { return P(*A, *B); }
	};

	struct FLess
	{
		template<typename A, typename B>
		bool operator()(const A& X, const B& Y) const { return X < Y; }
	};
}

template<typename InElementType, typename InAllocator = void>
class TArray
{
	static_assert(!std::is_same_v<InElementType, bool>, "TArray<bool> is not supported by the host layer");

public:
	using ElementType = InElementType;
	using SizeType = int32;

	TArray() = default;
	TArray(std::initializer_list<ElementType> Init) : Data(Init) {}
	TArray(const ElementType* Ptr, SizeType Count) : Data(Ptr, Ptr + Count) {}
	TArray(const TArray&) = default;
	TArray(TArray&&) noexcept = default;
	TArray& operator=(const TArray&) = default;
	TArray& operator=(TArray&&) noexcept = default;
	TArray& operator=(std::initializer_list<ElementType> Init) { Data = Init; return *this; }

	template<typename OtherElement, typename OtherAlloc>
		requires (!std::is_same_v<OtherElement, ElementType> && std::is_constructible_v<ElementType, const OtherElement&>)
	explicit TArray(const TArray<OtherElement, OtherAlloc>& Other)
	{
		Data.reserve(Other.Num());
		for (const OtherElement& E : Other)
		{
			Data.emplace_back(E);
		}
	}

	SizeType Num() const { return static_cast<SizeType>(Data.size()); }
	SizeType Max() const { return static_cast<SizeType>(Data.capacity()); }
	bool IsEmpty() const { return Data.empty(); }
	bool IsValidIndex(SizeType Index) const { return Index >= 0 && Index < Num(); }
	SIZE_T GetAllocatedSize() const { return Data.capacity() * sizeof(ElementType); }

	ElementType* GetData() { return Data.data(); }
	const ElementType* GetData() const { return Data.data(); }

	ElementType& operator[](SizeType Index) { check(IsValidIndex(Index)); return Data[static_cast<size_t>(Index)]; }
	const ElementType& operator[](SizeType Index) const { check(IsValidIndex(Index)); return Data[static_cast<size_t>(Index)]; }

	ElementType& Last(SizeType IndexFromEnd = 0) { return (*this)[Num() - 1 - IndexFromEnd]; }
	const ElementType& Last(SizeType IndexFromEnd = 0) const { return (*this)[Num() - 1 - IndexFromEnd]; }
	ElementType& Top() { return Last(); }
	const ElementType& Top() const { return Last(); }

	ElementType Pop(EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		check(Num() > 0);
		ElementType Result = std::move(Data.back());
		Data.pop_back();
		(void)AllowShrinking;
		return Result;
	}

	void Push(const ElementType& Item) { Data.push_back(Item); }
	void Push(ElementType&& Item) { Data.push_back(std::move(Item)); }

	SizeType Add(const ElementType& Item) { Data.push_back(Item); return Num() - 1; }
	SizeType Add(ElementType&& Item) { Data.push_back(std::move(Item)); return Num() - 1; }

	template<typename... ArgsType>
	SizeType Emplace(ArgsType&&... Args) { Data.emplace_back(std::forward<ArgsType>(Args)...); return Num() - 1; }

	template<typename... ArgsType>
	ElementType& Emplace_GetRef(ArgsType&&... Args) { return Data.emplace_back(std::forward<ArgsType>(Args)...); }

	ElementType& Add_GetRef(const ElementType& Item) { return Data.emplace_back(Item); }
	ElementType& Add_GetRef(ElementType&& Item) { return Data.emplace_back(std::move(Item)); }

	SizeType AddUnique(const ElementType& Item)
	{
		const SizeType Index = Find(Item);
		return Index != INDEX_NONE ? Index : Add(Item);
	}

	SizeType AddDefaulted() { return AddDefaulted(1); }
	SizeType AddDefaulted(SizeType Count)
	{
		const SizeType Index = Num();
		Data.resize(Data.size() + static_cast<size_t>(Count));
		return Index;
	}

	ElementType& AddDefaulted_GetRef() { return Data.emplace_back(); }
	SizeType AddZeroed(SizeType Count = 1) { return AddDefaulted(Count); }
	SizeType AddUninitialized(SizeType Count = 1) { return AddDefaulted(Count); }

	template<typename OtherAlloc>
	void Append(const TArray<ElementType, OtherAlloc>& Source) { Data.insert(Data.end(), Source.begin(), Source.end()); }
	template<typename OtherAlloc>
	void Append(TArray<ElementType, OtherAlloc>&& Source)
	{
		Data.insert(Data.end(), std::make_move_iterator(Source.begin()), std::make_move_iterator(Source.end()));
		Source.Empty();
	}
	void Append(const ElementType* Ptr, SizeType Count) { Data.insert(Data.end(), Ptr, Ptr + Count); }
	void Append(std::initializer_list<ElementType> Init) { Data.insert(Data.end(), Init); }

	TArray& operator+=(const TArray& Other) { Append(Other); return *this; }

	SizeType Insert(const ElementType& Item, SizeType Index) { check(Index >= 0 && Index <= Num()); Data.insert(Data.begin() + Index, Item); return Index; }
	SizeType Insert(ElementType&& Item, SizeType Index) { check(Index >= 0 && Index <= Num()); Data.insert(Data.begin() + Index, std::move(Item)); return Index; }
	SizeType Insert(const TArray& Items, SizeType Index) { check(Index >= 0 && Index <= Num()); Data.insert(Data.begin() + Index, Items.begin(), Items.end()); return Index; }

	void RemoveAt(SizeType Index, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		check(IsValidIndex(Index));
		Data.erase(Data.begin() + Index);
		MaybeShrink(AllowShrinking);
	}

	template<std::integral CountType>
	void RemoveAt(SizeType Index, CountType Count, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		check(Index >= 0 && Count >= 0 && Index + static_cast<SizeType>(Count) <= Num());
		Data.erase(Data.begin() + Index, Data.begin() + Index + static_cast<SizeType>(Count));
		MaybeShrink(AllowShrinking);
	}

	void RemoveAtSwap(SizeType Index, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		check(IsValidIndex(Index));
		if (Index != Num() - 1)
		{
			Data[static_cast<size_t>(Index)] = std::move(Data.back());
		}
		Data.pop_back();
		MaybeShrink(AllowShrinking);
	}

	SizeType Remove(const ElementType& Item)
	{
		const size_t Before = Data.size();
		Data.erase(std::remove(Data.begin(), Data.end(), Item), Data.end());
		return static_cast<SizeType>(Before - Data.size());
	}

	SizeType RemoveSingle(const ElementType& Item)
	{
		const SizeType Index = Find(Item);
		if (Index == INDEX_NONE)
		{
			return 0;
		}
		RemoveAt(Index);
		return 1;
	}

	template<typename Predicate>
	SizeType RemoveAll(const Predicate& Pred)
	{
		const size_t Before = Data.size();
		Data.erase(std::remove_if(Data.begin(), Data.end(), [&Pred](const ElementType& E) { return static_cast<bool>(Pred(E)); }), Data.end());
		return static_cast<SizeType>(Before - Data.size());
	}

	void Empty(SizeType Slack = 0)
	{
		Data.clear();
		if (Slack == 0)
		{
			Data.shrink_to_fit();
		}
		else
		{
			Data.reserve(static_cast<size_t>(Slack));
		}
	}

	void Reset(SizeType NewSize = 0)
	{
		Data.clear();
		if (NewSize > 0)
		{
			Data.reserve(static_cast<size_t>(NewSize));
		}
	}

	void Reserve(SizeType Number) { if (Number > 0) { Data.reserve(static_cast<size_t>(Number)); } }
	void Shrink() { Data.shrink_to_fit(); }

	void SetNum(SizeType NewNum, EAllowShrinking AllowShrinking = EAllowShrinking::Yes)
	{
		check(NewNum >= 0);
		Data.resize(static_cast<size_t>(NewNum));
		MaybeShrink(AllowShrinking);
	}
	void SetNumZeroed(SizeType NewNum, EAllowShrinking AllowShrinking = EAllowShrinking::Yes) { SetNum(NewNum, AllowShrinking); }
	void SetNumUninitialized(SizeType NewNum, EAllowShrinking AllowShrinking = EAllowShrinking::Yes) { SetNum(NewNum, AllowShrinking); }
	void Init(const ElementType& Element, SizeType Number) { Data.assign(static_cast<size_t>(Number), Element); }

	template<typename KeyType>
	SizeType Find(const KeyType& Item) const
	{
		for (SizeType Index = 0; Index < Num(); ++Index)
		{
			if (Data[static_cast<size_t>(Index)] == Item)
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	bool Find(const ElementType& Item, SizeType& OutIndex) const
	{
		OutIndex = Find(Item);
		return OutIndex != INDEX_NONE;
	}

	template<typename KeyType>
	SizeType FindLast(const KeyType& Item) const
	{
		for (SizeType Index = Num() - 1; Index >= 0; --Index)
		{
			if (Data[static_cast<size_t>(Index)] == Item)
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	template<typename KeyType>
	SizeType IndexOfByKey(const KeyType& Key) const { return Find(Key); }

	template<typename Predicate>
	SizeType IndexOfByPredicate(const Predicate& Pred) const
	{
		for (SizeType Index = 0; Index < Num(); ++Index)
		{
			if (Pred(Data[static_cast<size_t>(Index)]))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}

	template<typename KeyType>
	bool Contains(const KeyType& Item) const { return Find(Item) != INDEX_NONE; }

	template<typename Predicate>
	bool ContainsByPredicate(const Predicate& Pred) const { return IndexOfByPredicate(Pred) != INDEX_NONE; }

	template<typename Predicate>
	ElementType* FindByPredicate(Predicate Pred)
	{
		const SizeType Index = IndexOfByPredicate(Pred);
		return Index == INDEX_NONE ? nullptr : &Data[static_cast<size_t>(Index)];
	}

	template<typename Predicate>
	const ElementType* FindByPredicate(Predicate Pred) const
	{
		const SizeType Index = IndexOfByPredicate(Pred);
		return Index == INDEX_NONE ? nullptr : &Data[static_cast<size_t>(Index)];
	}

	template<typename KeyType>
	ElementType* FindByKey(const KeyType& Key) { return FindByPredicate([&Key](const ElementType& E) { return E == Key; }); }

	template<typename KeyType>
	const ElementType* FindByKey(const KeyType& Key) const { return FindByPredicate([&Key](const ElementType& E) { return E == Key; }); }

	template<typename Predicate>
	TArray FilterByPredicate(const Predicate& Pred) const
	{
		TArray Result;
		for (const ElementType& E : Data)
		{
			if (Pred(E))
			{
				Result.Add(E);
			}
		}
		return Result;
	}

	void Sort() { Sort(UE::Host::ArrayDetail::FLess()); }

	template<typename Predicate>
	void Sort(const Predicate& Pred)
	{
		std::sort(Data.begin(), Data.end(), UE::Host::ArrayDetail::TDereferenceWrapper<ElementType, Predicate>{Pred});
	}

	void StableSort() { StableSort(UE::Host::ArrayDetail::FLess()); }

	template<typename Predicate>
	void StableSort(const Predicate& Pred)
	{
		std::stable_sort(Data.begin(), Data.end(), UE::Host::ArrayDetail::TDereferenceWrapper<ElementType, Predicate>{Pred});
	}

	void Swap(SizeType A, SizeType B) { std::swap(Data[static_cast<size_t>(A)], Data[static_cast<size_t>(B)]); }

	bool operator==(const TArray& Other) const { return Data == Other.Data; }
	bool operator!=(const TArray& Other) const { return !(*this == Other); }

	auto begin() { return Data.begin(); }
	auto end() { return Data.end(); }
	auto begin() const { return Data.begin(); }
	auto end() const { return Data.end(); }

	// Host-side access to the underlying storage.
	std::vector<ElementType>& GetStdVector() { return Data; }
	const std::vector<ElementType>& GetStdVector() const { return Data; }

private:
	void MaybeShrink(EAllowShrinking AllowShrinking)
	{
		if (AllowShrinking == EAllowShrinking::Yes && Data.capacity() > 2 * Data.size() + 16)
		{
			Data.shrink_to_fit();
		}
	}

	std::vector<ElementType> Data;
};

template<typename T, typename A>
uint32 GetTypeHash(const TArray<T, A>& Array)
{
	uint32 Hash = 0;
	for (const T& E : Array)
	{
		Hash = Hash * 31 + GetTypeHash(E);
	}
	return Hash;
}

template<typename T>
using TArray64 = TArray<T>;

template<typename T, uint32 N>
using TInlineArray = TArray<T>;
