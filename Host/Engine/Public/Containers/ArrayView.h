// TArrayView: a pointer and a count over elements someone else owns.
#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"

#include <initializer_list>
#include <type_traits>

template<typename InElementType>
class TArrayView
{
public:
	using ElementType = InElementType;
	using SizeType = int32;

	TArrayView() = default;
	TArrayView(ElementType* InData, SizeType InCount) : DataPtr(InData), Count(InCount) {}
	template<typename OtherElement, typename Allocator>
		requires std::is_convertible_v<OtherElement*, ElementType*>
	TArrayView(TArray<OtherElement, Allocator>& Other) : DataPtr(Other.GetData()), Count(Other.Num()) {}
	template<typename OtherElement, typename Allocator>
		requires std::is_convertible_v<const OtherElement*, ElementType*>
	TArrayView(const TArray<OtherElement, Allocator>& Other) : DataPtr(Other.GetData()), Count(Other.Num()) {}
	TArrayView(std::initializer_list<std::remove_const_t<ElementType>> List)
		requires std::is_const_v<ElementType>
		: DataPtr(List.begin()), Count(static_cast<SizeType>(List.size()))
	{
	}

	SizeType Num() const { return Count; }
	bool IsEmpty() const { return Count == 0; }
	bool IsValidIndex(SizeType Index) const { return Index >= 0 && Index < Count; }
	ElementType* GetData() const { return DataPtr; }
	ElementType& operator[](SizeType Index) const { check(IsValidIndex(Index)); return DataPtr[Index]; }

	ElementType* begin() const { return DataPtr; }
	ElementType* end() const { return DataPtr + Count; }

private:
	ElementType* DataPtr = nullptr;
	SizeType Count = 0;
};

template<typename ElementType>
using TConstArrayView = TArrayView<const ElementType>;
