// TSharedPtr, TSharedRef, TWeakPtr and TSharedFromThis over std::shared_ptr. A TSharedRef is
// never null; MakeShared returns one.
#pragma once

#include "CoreTypes.h"

#include <memory>
#include <type_traits>
#include <utility>

enum class ESPMode : uint8
{
	NotThreadSafe = 0,
	ThreadSafe = 1,
};

template<class ObjectType, ESPMode Mode = ESPMode::ThreadSafe>
class TSharedRef;
template<class ObjectType, ESPMode Mode = ESPMode::ThreadSafe>
class TSharedPtr;
template<class ObjectType, ESPMode Mode = ESPMode::ThreadSafe>
class TWeakPtr;

template<class ObjectType, ESPMode Mode>
class TSharedPtr
{
public:
	TSharedPtr() = default;
	TSharedPtr(std::nullptr_t) {}
	explicit TSharedPtr(std::shared_ptr<ObjectType> InPtr) : Ptr(std::move(InPtr)) {}
	template<class OtherType>
		requires std::is_convertible_v<OtherType*, ObjectType*>
	TSharedPtr(const TSharedPtr<OtherType, Mode>& Other) : Ptr(Other.GetStdPtr()) {}
	template<class OtherType>
		requires std::is_convertible_v<OtherType*, ObjectType*>
	TSharedPtr(const TSharedRef<OtherType, Mode>& Other) : Ptr(Other.GetStdPtr()) {}
	template<class OtherType>
		requires std::is_convertible_v<OtherType*, ObjectType*>
	TSharedPtr(TSharedRef<OtherType, Mode>&& Other) : Ptr(std::move(Other).GetStdPtr()) {}

	bool IsValid() const { return Ptr != nullptr; }
	explicit operator bool() const { return IsValid(); }
	ObjectType* Get() const { return Ptr.get(); }
	ObjectType* operator->() const { check(IsValid()); return Ptr.get(); }
	ObjectType& operator*() const { check(IsValid()); return *Ptr; }
	void Reset() { Ptr.reset(); }
	TSharedRef<ObjectType, Mode> ToSharedRef() const;
	int32 GetSharedReferenceCount() const { return static_cast<int32>(Ptr.use_count()); }
	bool IsUnique() const { return Ptr.use_count() == 1; }

	const std::shared_ptr<ObjectType>& GetStdPtr() const& { return Ptr; }
	std::shared_ptr<ObjectType> GetStdPtr() && { return std::move(Ptr); }

	template<class OtherType>
	bool operator==(const TSharedPtr<OtherType, Mode>& Other) const { return Ptr == Other.GetStdPtr(); }
	bool operator==(std::nullptr_t) const { return Ptr == nullptr; }

private:
	std::shared_ptr<ObjectType> Ptr;
};

template<class ObjectType, ESPMode Mode>
class TSharedRef
{
public:
	explicit TSharedRef(std::shared_ptr<ObjectType> InPtr) : Ptr(std::move(InPtr)) { check(Ptr != nullptr); }
	template<class OtherType>
		requires std::is_convertible_v<OtherType*, ObjectType*>
	TSharedRef(const TSharedRef<OtherType, Mode>& Other) : Ptr(Other.GetStdPtr()) {}

	ObjectType* operator->() const { return Ptr.get(); }
	ObjectType& operator*() const { return *Ptr; }
	ObjectType& Get() const { return *Ptr; }
	bool IsValid() const { return true; }
	TSharedPtr<ObjectType, Mode> ToSharedPtr() const { return TSharedPtr<ObjectType, Mode>(Ptr); }
	int32 GetSharedReferenceCount() const { return static_cast<int32>(Ptr.use_count()); }

	const std::shared_ptr<ObjectType>& GetStdPtr() const& { return Ptr; }
	std::shared_ptr<ObjectType> GetStdPtr() && { return Ptr; }

	template<class OtherType>
	bool operator==(const TSharedRef<OtherType, Mode>& Other) const { return Ptr == Other.GetStdPtr(); }

private:
	std::shared_ptr<ObjectType> Ptr;
};

template<class ObjectType, ESPMode Mode>
TSharedRef<ObjectType, Mode> TSharedPtr<ObjectType, Mode>::ToSharedRef() const
{
	check(IsValid());
	return TSharedRef<ObjectType, Mode>(Ptr);
}

template<class ObjectType, ESPMode Mode>
class TWeakPtr
{
public:
	TWeakPtr() = default;
	TWeakPtr(const TSharedPtr<ObjectType, Mode>& Shared) : Ptr(Shared.GetStdPtr()) {}
	TWeakPtr(const TSharedRef<ObjectType, Mode>& Shared) : Ptr(Shared.GetStdPtr()) {}
	TSharedPtr<ObjectType, Mode> Pin() const { return TSharedPtr<ObjectType, Mode>(Ptr.lock()); }
	bool IsValid() const { return !Ptr.expired(); }
	void Reset() { Ptr.reset(); }

private:
	std::weak_ptr<ObjectType> Ptr;
};

template<class ObjectType, ESPMode Mode = ESPMode::ThreadSafe>
class TSharedFromThis : public std::enable_shared_from_this<ObjectType>
{
public:
	TSharedRef<ObjectType, Mode> AsShared() { return TSharedRef<ObjectType, Mode>(this->shared_from_this()); }
	TSharedRef<const ObjectType, Mode> AsShared() const { return TSharedRef<const ObjectType, Mode>(this->shared_from_this()); }
};

template<class ObjectType, ESPMode Mode = ESPMode::ThreadSafe, typename... ArgTypes>
TSharedRef<ObjectType, Mode> MakeShared(ArgTypes&&... Args)
{
	return TSharedRef<ObjectType, Mode>(std::make_shared<ObjectType>(std::forward<ArgTypes>(Args)...));
}

template<class ObjectType>
struct TRawPtrProxy
{
	ObjectType* Object;
	template<class OtherType, ESPMode Mode>
	operator TSharedPtr<OtherType, Mode>() const { return TSharedPtr<OtherType, Mode>(std::shared_ptr<OtherType>(Object)); }
	template<class OtherType, ESPMode Mode>
	operator TSharedRef<OtherType, Mode>() const { return TSharedRef<OtherType, Mode>(std::shared_ptr<OtherType>(Object)); }
};

template<class ObjectType>
TRawPtrProxy<ObjectType> MakeShareable(ObjectType* Object)
{
	return TRawPtrProxy<ObjectType>{Object};
}

template<class To, class From, ESPMode Mode>
TSharedPtr<To, Mode> StaticCastSharedPtr(const TSharedPtr<From, Mode>& In)
{
	return TSharedPtr<To, Mode>(std::static_pointer_cast<To>(In.GetStdPtr()));
}

template<class To, class From, ESPMode Mode>
TSharedRef<To, Mode> StaticCastSharedRef(const TSharedRef<From, Mode>& In)
{
	return TSharedRef<To, Mode>(std::static_pointer_cast<To>(In.GetStdPtr()));
}

template<class To, class From, ESPMode Mode>
TSharedPtr<To, Mode> ConstCastSharedPtr(const TSharedPtr<From, Mode>& In)
{
	return TSharedPtr<To, Mode>(std::const_pointer_cast<To>(In.GetStdPtr()));
}

template<class To, class From, ESPMode Mode>
TSharedRef<To, Mode> ConstCastSharedRef(const TSharedRef<From, Mode>& In)
{
	return TSharedRef<To, Mode>(std::const_pointer_cast<To>(In.GetStdPtr()));
}
