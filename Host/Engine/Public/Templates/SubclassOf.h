// TSubclassOf: a class pointer limited to T and its children.
#pragma once

#include "UObject/Class.h"

template<class T>
class TSubclassOf
{
public:
	typedef T ElementType;

	TSubclassOf() = default;
	TSubclassOf(std::nullptr_t) {}
	TSubclassOf(UClass* From) : Class(From) {}

	UClass* Get() const { return Class && Class->IsChildOf(T::StaticClass()) ? Class : nullptr; }
	operator UClass*() const { return Get(); }
	UClass* operator->() const { return Get(); }
	UClass& operator*() const { return *Get(); }
	T* GetDefaultObject() const { UClass* Result = Get(); return Result ? Result->GetDefaultObject<T>() : nullptr; }
	bool operator==(const TSubclassOf& Other) const { return Class == Other.Class; }

private:
	UClass* Class = nullptr;
};
