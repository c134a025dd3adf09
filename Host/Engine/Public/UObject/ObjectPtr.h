// TObjectPtr: in the engine a tracked object pointer; here it is a plain pointer with the same
// surface, so code written against it compiles unchanged.
#pragma once

#include "CoreTypes.h"

#include <cstddef>
#include <type_traits>

template<typename T>
class TObjectPtr
{
public:
	TObjectPtr() = default;
	TObjectPtr(std::nullptr_t) {}
	TObjectPtr(T* InObject) : Object(InObject) {}
	template<typename U>
		requires std::is_convertible_v<U*, T*>
	TObjectPtr(const TObjectPtr<U>& Other) : Object(Other.Get()) {}

	TObjectPtr& operator=(T* InObject) { Object = InObject; return *this; }

	T* Get() const { return Object; }
	operator T*() const { return Object; }
	T* operator->() const { return Object; }
	T& operator*() const { return *Object; }
	explicit operator bool() const { return Object != nullptr; }

	bool operator==(const TObjectPtr& Other) const { return Object == Other.Object; }
	bool operator==(const T* Other) const { return Object == Other; }
	bool operator==(std::nullptr_t) const { return Object == nullptr; }

private:
	T* Object = nullptr;
};
