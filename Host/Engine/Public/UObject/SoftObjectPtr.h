// TSoftObjectPtr and TSoftClassPtr: a soft path typed by what it should point at.
#pragma once

#include "CoreMinimal.h"
#include "UObject/SoftObjectPath.h"
#include "Templates/Casts.h"

struct FSoftObjectPtr
{
	FSoftObjectPtr() = default;
	explicit FSoftObjectPtr(const FSoftObjectPath& InPath) : Path(InPath) {}

	const FSoftObjectPath& ToSoftObjectPath() const { return Path; }
	void SetPath(const FSoftObjectPath& InPath) { Path = InPath; }
	FString ToString() const { return Path.ToString(); }
	bool IsNull() const { return Path.IsNull(); }
	UObject* Get() const { return Path.ResolveObject(); }
	void Reset() { Path.Reset(); }
	bool operator==(const FSoftObjectPtr& Other) const { return Path == Other.Path; }

private:
	FSoftObjectPath Path;
};

template<class T = UObject>
class TSoftObjectPtr
{
public:
	TSoftObjectPtr() = default;
	explicit TSoftObjectPtr(const FSoftObjectPath& InPath) : SoftPtr(InPath) {}

	const FSoftObjectPath& ToSoftObjectPath() const { return SoftPtr.ToSoftObjectPath(); }
	FString ToString() const { return SoftPtr.ToString(); }
	FString GetLongPackageName() const { return ToSoftObjectPath().GetLongPackageName(); }
	FString GetAssetName() const { return ToSoftObjectPath().GetAssetName(); }
	bool IsNull() const { return SoftPtr.IsNull(); }
	T* Get() const { return Cast<T>(SoftPtr.Get()); }
	void Reset() { SoftPtr.Reset(); }
	bool operator==(const TSoftObjectPtr& Other) const { return SoftPtr == Other.SoftPtr; }

private:
	FSoftObjectPtr SoftPtr;
};

template<class T = UObject>
class TSoftClassPtr
{
public:
	TSoftClassPtr() = default;
	explicit TSoftClassPtr(const FSoftObjectPath& InPath) : SoftPtr(InPath) {}

	const FSoftObjectPath& ToSoftObjectPath() const { return SoftPtr.ToSoftObjectPath(); }
	FString ToString() const { return SoftPtr.ToString(); }
	bool IsNull() const { return SoftPtr.IsNull(); }
	UClass* Get() const
	{
		UClass* Class = Cast<UClass>(SoftPtr.Get());
		return Class && Class->IsChildOf(T::StaticClass()) ? Class : nullptr;
	}
	void Reset() { SoftPtr.Reset(); }
	bool operator==(const TSoftClassPtr& Other) const { return SoftPtr == Other.SoftPtr; }

private:
	FSoftObjectPtr SoftPtr;
};
