// FField: the base of properties. Properties are not objects: each kind has an FFieldClass, and
// CastField<> tests against it. Metadata (editor-only in the engine) lives here.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/Object.h"

#include <type_traits>

class UObject;
class UClass;
class UStruct;
class FField;

class FFieldClass
{
public:
	FFieldClass(const TCHAR* InName, FFieldClass* InSuperClass);
	FFieldClass(const FFieldClass&) = delete;
	FFieldClass& operator=(const FFieldClass&) = delete;

	// "IntProperty", "BoolProperty", ...
	FString GetName() const { return Name.ToString(); }
	FName GetFName() const { return Name; }
	FFieldClass* GetSuperClass() const { return SuperClass; }
	bool IsChildOf(const FFieldClass* InClass) const;

private:
	FName Name;
	FFieldClass* SuperClass;
};

// The owner of a field: an object (a struct or class) or another field (an array's inner).
class FFieldVariant
{
public:
	FFieldVariant() = default;
	FFieldVariant(FField* InField) : Field(InField) {}
	FFieldVariant(const FField* InField) : Field(const_cast<FField*>(InField)) {}
	FFieldVariant(UObject* InObject) : Object(InObject) {}
	FFieldVariant(const UObject* InObject) : Object(const_cast<UObject*>(InObject)) {}
	FFieldVariant(std::nullptr_t) {}

	bool IsUObject() const { return Object != nullptr; }
	bool IsValid() const { return Object || Field; }
	FField* ToField() const { return Field; }
	UObject* ToUObjectUnsafe() const { return Object; }
	UObject* ToUObject() const { return Object; }
	explicit operator bool() const { return IsValid(); }

private:
	UObject* Object = nullptr;
	FField* Field = nullptr;
};

#define UE_HOST_DECLARE_FIELD(TClass, TSuperClass) \
public: \
	typedef TSuperClass Super; \
	typedef TClass ThisClass; \
	static FFieldClass* StaticClass(); \
	virtual FFieldClass* GetClass() const override { return StaticClass(); }

#define UE_HOST_IMPLEMENT_FIELD(TClass, TSuperFieldClass) \
	FFieldClass* TClass::StaticClass() \
	{ \
		static FFieldClass Class(&TEXT(#TClass)[1], TSuperFieldClass::StaticClass()); \
		return &Class; \
	}

class FField
{
public:
	FField(FFieldVariant InOwner, const FName& InName, EObjectFlags InFlags = RF_NoFlags);
	FField(const FField&) = delete;
	FField& operator=(const FField&) = delete;
	virtual ~FField() = default;

	static FFieldClass* StaticClass();
	virtual FFieldClass* GetClass() const { return StaticClass(); }
	bool IsA(const FFieldClass* FieldType) const { return GetClass()->IsChildOf(FieldType); }
	template<typename T>
	bool IsA() const { return IsA(T::StaticClass()); }

	FName GetFName() const { return NamePrivate; }
	FString GetName() const { return NamePrivate.ToString(); }
	void Rename(const FName& NewName) { NamePrivate = NewName; }
	EObjectFlags GetFlags() const { return FlagsPrivate; }
	bool HasAnyFlags(EObjectFlags FlagsToCheck) const { return (FlagsPrivate & FlagsToCheck) != 0; }

	FFieldVariant GetOwnerVariant() const { return Owner; }
	// The object that owns this field, walking up through owning fields.
	UObject* GetOwnerUObject() const;
	UClass* GetOwnerClass() const;
	UStruct* GetOwnerStruct() const;
	template<typename T>
	T* GetOwner() const;
	// "Outer.Path:PropertyName", as the engine prints property paths.
	FString GetPathName() const;
	// "ClassName Path".
	FString GetFullName() const;

#if WITH_EDITORONLY_DATA
	// An empty string when the key is absent.
	const FString& GetMetaData(const TCHAR* Key) const;
	const FString& GetMetaData(const FName& Key) const;
	const FString* FindMetaData(const TCHAR* Key) const;
	const FString* FindMetaData(const FName& Key) const;
	bool HasMetaData(const TCHAR* Key) const { return FindMetaData(Key) != nullptr; }
	bool HasMetaData(const FName& Key) const { return FindMetaData(Key) != nullptr; }
	void SetMetaData(const TCHAR* Key, FString&& InValue);
	void SetMetaData(const FName& Key, FString&& InValue);
	void RemoveMetaData(const TCHAR* Key);
	bool GetBoolMetaData(const TCHAR* Key) const { return GetMetaData(Key) == TEXT("true"); }
	int32 GetIntMetaData(const TCHAR* Key) const { return FCString::Atoi(*GetMetaData(Key)); }
	float GetFloatMetaData(const TCHAR* Key) const { return FCString::Atof(*GetMetaData(Key)); }
	const TMap<FName, FString>* GetMetaDataMap() const { return &MetaDataMap; }
	FText GetDisplayNameText() const;
	FText GetToolTipText(bool bShortTooltip = false) const;
#endif

	FFieldVariant Owner;
	FField* Next = nullptr;

private:
	FName NamePrivate;
	EObjectFlags FlagsPrivate;
	TMap<FName, FString> MetaDataMap;
};

template<typename FieldType>
FieldType* CastField(FField* Src)
{
	return Src && Src->IsA(FieldType::StaticClass()) ? static_cast<FieldType*>(Src) : nullptr;
}

template<typename FieldType>
const FieldType* CastField(const FField* Src)
{
	return Src && Src->IsA(FieldType::StaticClass()) ? static_cast<const FieldType*>(Src) : nullptr;
}

template<typename FieldType>
FieldType* ExactCastField(FField* Src)
{
	return Src && Src->GetClass() == FieldType::StaticClass() ? static_cast<FieldType*>(Src) : nullptr;
}

template<typename FieldType>
FieldType* CastFieldChecked(FField* Src)
{
	FieldType* Result = CastField<FieldType>(Src);
	check(Result);
	return Result;
}

template<typename FieldType>
const FieldType* CastFieldChecked(const FField* Src)
{
	const FieldType* Result = CastField<FieldType>(Src);
	check(Result);
	return Result;
}

template<typename T>
T* FField::GetOwner() const
{
	if constexpr (std::is_base_of_v<FField, T>)
	{
		return CastField<T>(Owner.ToField());
	}
	else
	{
		UObject* Object = Owner.ToUObject();
		return Object && Object->IsA(T::StaticClass()) ? static_cast<T*>(Object) : nullptr;
	}
}
