// FProperty and its kinds. A property knows where its value sits in a container (offset, array
// dimension), how to copy and compare it, and how to write and read it as text in the engine's
// formats: bools True/False, floats with six decimals, enums by short name (as numbers for
// console variables), strings raw at top level and quoted inside structs and arrays.
#pragma once

#include "CoreMinimal.h"
#include "Containers/ArrayView.h"
#include "CoreGlobals.h"
#include "UObject/Class.h"
#include "UObject/Field.h"
#include "UObject/ObjectPtr.h"
#include "UObject/PropertyPortFlags.h"
#include "UObject/SoftObjectPath.h"
#include "UObject/SoftObjectPtr.h"

class FOutputDevice;

class FProperty : public FField
{
	UE_HOST_DECLARE_FIELD(FProperty, FField)

public:
	FProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags = RF_NoFlags);

	int32 ArrayDim = 1;
	int32 ElementSize = 0;
	EPropertyFlags PropertyFlags = CPF_None;
	// The next property in the owning struct's PropertyLink chain.
	FProperty* PropertyLinkNext = nullptr;

	int32 GetElementSize() const { return ElementSize; }
	void SetElementSize(int32 NewElementSize) { ElementSize = NewElementSize; }
	int32 GetSize() const { return ArrayDim * ElementSize; }
	int32 GetOffset_ForInternal() const { return Offset_Internal; }
	int32 GetOffset_ForUFunction() const { return Offset_Internal; }
	void SetOffset_Internal(int32 NewOffset) { Offset_Internal = NewOffset; }

	EPropertyFlags GetPropertyFlags() const { return PropertyFlags; }
	void SetPropertyFlags(EPropertyFlags NewFlags) { PropertyFlags |= NewFlags; }
	void ClearPropertyFlags(EPropertyFlags FlagsToClear) { PropertyFlags &= ~FlagsToClear; }
	bool HasAnyPropertyFlags(uint64 FlagsToCheck) const { return (PropertyFlags & FlagsToCheck) != 0; }
	bool HasAllPropertyFlags(uint64 FlagsToCheck) const { return (PropertyFlags & FlagsToCheck) == FlagsToCheck; }
	// Transient properties take no part in text export unless asked for.
	bool ShouldPort(uint32 PortFlags = 0) const;

	template<typename ValueType>
	ValueType* ContainerPtrToValuePtr(UObject* ContainerPtr, int32 ArrayIndex = 0) const
	{
		return ContainerPtrToValuePtr<ValueType>(static_cast<void*>(ContainerPtr), ArrayIndex);
	}
	template<typename ValueType>
	const ValueType* ContainerPtrToValuePtr(const UObject* ContainerPtr, int32 ArrayIndex = 0) const
	{
		return ContainerPtrToValuePtr<ValueType>(static_cast<const void*>(ContainerPtr), ArrayIndex);
	}
	template<typename ValueType>
	ValueType* ContainerPtrToValuePtr(void* ContainerPtr, int32 ArrayIndex = 0) const
	{
		return reinterpret_cast<ValueType*>(static_cast<uint8*>(ContainerPtr) + Offset_Internal + ElementSize * ArrayIndex);
	}
	template<typename ValueType>
	const ValueType* ContainerPtrToValuePtr(const void* ContainerPtr, int32 ArrayIndex = 0) const
	{
		return reinterpret_cast<const ValueType*>(static_cast<const uint8*>(ContainerPtr) + Offset_Internal + ElementSize * ArrayIndex);
	}
	// Null when there is no defaults container.
	template<typename ValueType>
	const ValueType* ContainerPtrToValuePtrForDefaults(const UStruct* ContainerClass, const void* ContainerPtr, int32 ArrayIndex = 0) const
	{
		return ContainerPtr ? ContainerPtrToValuePtr<ValueType>(ContainerPtr, ArrayIndex) : nullptr;
	}

	// Writes element Index as text. Returns false, writing nothing, when the value matches the
	// default. Without a defaults container the value is always written ("False" for a false
	// bool, "0" for zero), so callers that want a property's text form pass no defaults.
	bool ExportText_InContainer(int32 Index, FString& ValueStr, const void* Container, const void* DefaultContainer, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const;
	bool ExportText_Direct(FString& ValueStr, const void* Data, const void* Delta, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const;
	// Writes the value unconditionally.
	void ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const;
	void ExportTextItem_InContainer(FString& ValueStr, const void* Container, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope = nullptr) const;

	// Reads element 0 from text. Returns the position after what was read, or null when the text
	// is not a value of this property (the reason goes to ErrorText); then the value is unchanged.
	const TCHAR* ImportText_InContainer(const TCHAR* Buffer, void* Container, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = (FOutputDevice*)GWarn) const;
	const TCHAR* ImportText_Direct(const TCHAR* Buffer, void* PropertyPtr, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText = (FOutputDevice*)GWarn) const;
	// Refuses config properties under PPF_RestrictImportTypes.
	bool ValidateImportFlags(uint32 PortFlags, FOutputDevice* ErrorHandler = nullptr) const;

	// B may be null, which stands for the type's default value.
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const = 0;
	bool Identical_InContainer(const void* A, const void* B, int32 ArrayIndex = 0, uint32 PortFlags = 0) const;

	void CopySingleValue(void* Dest, void const* Src) const { CopyValuesInternal(Dest, Src, 1); }
	void CopyCompleteValue(void* Dest, void const* Src) const { CopyValuesInternal(Dest, Src, ArrayDim); }
	void CopyCompleteValue_InContainer(void* Dest, void const* Src) const
	{
		CopyCompleteValue(ContainerPtrToValuePtr<void>(Dest), ContainerPtrToValuePtr<void>(Src));
	}
	void InitializeValue(void* Dest) const { InitializeValueInternal(Dest); }
	void DestroyValue(void* Dest) const { DestroyValueInternal(Dest); }
	void ClearValue(void* Data) const { ClearValueInternal(Data); }

	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const = 0;
	virtual int32 GetMinAlignment() const { return 1; }

protected:
	virtual void ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const = 0;
	virtual const TCHAR* ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const = 0;
	virtual void CopyValuesInternal(void* Dest, void const* Src, int32 Count) const = 0;
	// Construct and destruct ArrayDim elements in raw memory.
	virtual void InitializeValueInternal(void* Dest) const = 0;
	virtual void DestroyValueInternal(void* Dest) const = 0;
	virtual void ClearValueInternal(void* Data) const = 0;

private:
	int32 Offset_Internal = 0;
};

// The typed part shared by properties that hold one C++ value per element.
template<typename InTCppType, class TInPropertyBaseClass>
class TProperty : public TInPropertyBaseClass
{
public:
	typedef InTCppType TCppType;

	TProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags = RF_NoFlags)
		: TInPropertyBaseClass(InOwner, InName, InObjectFlags)
	{
		this->ElementSize = sizeof(TCppType);
	}

	static TCppType const& GetPropertyValue(void const* A) { return *static_cast<const TCppType*>(A); }
	static TCppType GetDefaultPropertyValue() { return TCppType(); }
	static TCppType GetOptionalPropertyValue(void const* B) { return B ? GetPropertyValue(B) : GetDefaultPropertyValue(); }
	static void SetPropertyValue(void* A, const TCppType& Value) { *static_cast<TCppType*>(A) = Value; }
	static TCppType* GetPropertyValuePtr(void* A) { return static_cast<TCppType*>(A); }
	static const TCppType* GetPropertyValuePtr(void const* A) { return static_cast<const TCppType*>(A); }

	TCppType GetPropertyValue_InContainer(void const* A, int32 ArrayIndex = 0) const
	{
		return GetPropertyValue(this->template ContainerPtrToValuePtr<void>(A, ArrayIndex));
	}
	void SetPropertyValue_InContainer(void* A, const TCppType& Value, int32 ArrayIndex = 0) const
	{
		SetPropertyValue(this->template ContainerPtrToValuePtr<void>(A, ArrayIndex), Value);
	}
	TCppType* GetPropertyValuePtr_InContainer(void* A, int32 ArrayIndex = 0) const
	{
		return GetPropertyValuePtr(this->template ContainerPtrToValuePtr<void>(A, ArrayIndex));
	}

	virtual int32 GetMinAlignment() const override { return alignof(TCppType); }

	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override
	{
		if constexpr (requires(const TCppType& X) { { X == X } -> std::convertible_to<bool>; })
		{
			return GetPropertyValue(A) == GetOptionalPropertyValue(B);
		}
		else
		{
			return false;
		}
	}

protected:
	virtual void CopyValuesInternal(void* Dest, void const* Src, int32 Count) const override
	{
		for (int32 Index = 0; Index < Count; ++Index)
		{
			static_cast<TCppType*>(Dest)[Index] = static_cast<const TCppType*>(Src)[Index];
		}
	}
	virtual void InitializeValueInternal(void* Dest) const override
	{
		for (int32 Index = 0; Index < this->ArrayDim; ++Index)
		{
			new (static_cast<TCppType*>(Dest) + Index) TCppType();
		}
	}
	virtual void DestroyValueInternal(void* Dest) const override
	{
		for (int32 Index = 0; Index < this->ArrayDim; ++Index)
		{
			(static_cast<TCppType*>(Dest) + Index)->~TCppType();
		}
	}
	virtual void ClearValueInternal(void* Data) const override
	{
		*static_cast<TCppType*>(Data) = TCppType();
	}
};

class FNumericProperty : public FProperty
{
	UE_HOST_DECLARE_FIELD(FNumericProperty, FProperty)

public:
	using FProperty::FProperty;

	virtual bool IsFloatingPoint() const { return false; }
	virtual bool IsInteger() const { return true; }
	// True for a byte property that carries an enum.
	virtual bool IsEnum() const { return false; }
	virtual UEnum* GetIntPropertyEnum() const { return nullptr; }

	virtual void SetIntPropertyValue(void* Data, uint64 Value) const = 0;
	virtual void SetIntPropertyValue(void* Data, int64 Value) const = 0;
	virtual void SetFloatingPointPropertyValue(void* Data, double Value) const = 0;
	// Reads a number the way config text holds it (decimal, 0x hex, or a float).
	virtual void SetNumericPropertyValueFromString(void* Data, TCHAR const* Value) const = 0;
	virtual int64 GetSignedIntPropertyValue(void const* Data) const = 0;
	virtual uint64 GetUnsignedIntPropertyValue(void const* Data) const = 0;
	virtual double GetFloatingPointPropertyValue(void const* Data) const = 0;
	virtual FString GetNumericPropertyValueToString(void const* Data) const = 0;

	int64 GetSignedIntPropertyValue_InContainer(void const* Container) const { return GetSignedIntPropertyValue(ContainerPtrToValuePtr<void>(Container)); }
	uint64 GetUnsignedIntPropertyValue_InContainer(void const* Container) const { return GetUnsignedIntPropertyValue(ContainerPtrToValuePtr<void>(Container)); }
	double GetFloatingPointPropertyValue_InContainer(void const* Container) const { return GetFloatingPointPropertyValue(ContainerPtrToValuePtr<void>(Container)); }

protected:
	// Numbers, and for integers an "EnumName::Value" of any enum.
	virtual const TCHAR* ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const override;
};

template<typename InTCppType>
class TProperty_Numeric : public TProperty<InTCppType, FNumericProperty>
{
public:
	typedef TProperty<InTCppType, FNumericProperty> Super;
	typedef InTCppType TCppType;

	using Super::Super;

	virtual bool IsFloatingPoint() const override { return std::is_floating_point_v<TCppType>; }
	virtual bool IsInteger() const override { return std::is_integral_v<TCppType>; }

	virtual void SetIntPropertyValue(void* Data, uint64 Value) const override { Super::SetPropertyValue(Data, static_cast<TCppType>(Value)); }
	virtual void SetIntPropertyValue(void* Data, int64 Value) const override { Super::SetPropertyValue(Data, static_cast<TCppType>(Value)); }
	virtual void SetFloatingPointPropertyValue(void* Data, double Value) const override { Super::SetPropertyValue(Data, static_cast<TCppType>(Value)); }
	virtual void SetNumericPropertyValueFromString(void* Data, TCHAR const* Value) const override;
	virtual int64 GetSignedIntPropertyValue(void const* Data) const override { return static_cast<int64>(Super::GetPropertyValue(Data)); }
	virtual uint64 GetUnsignedIntPropertyValue(void const* Data) const override { return static_cast<uint64>(Super::GetPropertyValue(Data)); }
	virtual double GetFloatingPointPropertyValue(void const* Data) const override { return static_cast<double>(Super::GetPropertyValue(Data)); }
	virtual FString GetNumericPropertyValueToString(void const* Data) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;

protected:
	virtual void ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const override
	{
		ValueStr += GetNumericPropertyValueToString(PropertyValue);
	}
};

extern template class TProperty_Numeric<int8>;
extern template class TProperty_Numeric<int16>;
extern template class TProperty_Numeric<int32>;
extern template class TProperty_Numeric<int64>;
extern template class TProperty_Numeric<uint8>;
extern template class TProperty_Numeric<uint16>;
extern template class TProperty_Numeric<uint32>;
extern template class TProperty_Numeric<uint64>;
extern template class TProperty_Numeric<float>;
extern template class TProperty_Numeric<double>;

class FInt8Property : public TProperty_Numeric<int8>
{
	UE_HOST_DECLARE_FIELD(FInt8Property, TProperty_Numeric<int8>)
	using Super::Super;
};

class FInt16Property : public TProperty_Numeric<int16>
{
	UE_HOST_DECLARE_FIELD(FInt16Property, TProperty_Numeric<int16>)
	using Super::Super;
};

class FIntProperty : public TProperty_Numeric<int32>
{
	UE_HOST_DECLARE_FIELD(FIntProperty, TProperty_Numeric<int32>)
	using Super::Super;
};

class FInt64Property : public TProperty_Numeric<int64>
{
	UE_HOST_DECLARE_FIELD(FInt64Property, TProperty_Numeric<int64>)
	using Super::Super;
};

class FUInt16Property : public TProperty_Numeric<uint16>
{
	UE_HOST_DECLARE_FIELD(FUInt16Property, TProperty_Numeric<uint16>)
	using Super::Super;
};

class FUInt32Property : public TProperty_Numeric<uint32>
{
	UE_HOST_DECLARE_FIELD(FUInt32Property, TProperty_Numeric<uint32>)
	using Super::Super;
};

class FUInt64Property : public TProperty_Numeric<uint64>
{
	UE_HOST_DECLARE_FIELD(FUInt64Property, TProperty_Numeric<uint64>)
	using Super::Super;
};

class FFloatProperty : public TProperty_Numeric<float>
{
	UE_HOST_DECLARE_FIELD(FFloatProperty, TProperty_Numeric<float>)
	using Super::Super;
};

class FDoubleProperty : public TProperty_Numeric<double>
{
	UE_HOST_DECLARE_FIELD(FDoubleProperty, TProperty_Numeric<double>)
	using Super::Super;
};

// uint8, optionally an old-style enum (TEnumAsByte): then it exports the enumerator's short name.
class FByteProperty : public TProperty_Numeric<uint8>
{
	UE_HOST_DECLARE_FIELD(FByteProperty, TProperty_Numeric<uint8>)

public:
	using Super::Super;

	TObjectPtr<UEnum> Enum;

	virtual bool IsEnum() const override { return Enum != nullptr; }
	virtual UEnum* GetIntPropertyEnum() const override { return Enum; }
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;

protected:
	virtual void ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const override;
	virtual const TCHAR* ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const override;
};

// A native bool (FieldMask 0xff) or one bit of a uint32:1 bitfield. The host keeps bitfields as
// the byte that holds the bit plus its mask, found by setting the bit on a probe instance, so
// Offset is that byte and ElementSize is 1.
class FBoolProperty : public FProperty
{
	UE_HOST_DECLARE_FIELD(FBoolProperty, FProperty)

public:
	FBoolProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags = RF_NoFlags);

	// Size of the C++ storage, whether it is a native bool, and the bit's mask within its byte.
	void SetBoolSize(uint32 InSize, bool bIsNativeBool = false, uint8 InBitMask = 0);
	bool IsNativeBool() const { return FieldMask == 0xff; }
	uint8 GetFieldMask() const { return FieldMask; }
	uint8 GetByteMask() const { return ByteMask; }
	uint8 GetByteOffset() const { return ByteOffset; }
	uint8 GetFieldSize() const { return FieldSize; }

	bool GetPropertyValue(void const* A) const;
	void SetPropertyValue(void* A, bool Value) const;
	bool GetPropertyValue_InContainer(void const* A, int32 ArrayIndex = 0) const { return GetPropertyValue(ContainerPtrToValuePtr<void>(A, ArrayIndex)); }
	void SetPropertyValue_InContainer(void* A, bool Value, int32 ArrayIndex = 0) const { SetPropertyValue(ContainerPtrToValuePtr<void>(A, ArrayIndex), Value); }

	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;

protected:
	virtual void ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const override;
	virtual const TCHAR* ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const override;
	virtual void CopyValuesInternal(void* Dest, void const* Src, int32 Count) const override;
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void DestroyValueInternal(void* Dest) const override {}
	virtual void ClearValueInternal(void* Data) const override { SetPropertyValue(Data, false); }

private:
	uint8 FieldSize = 0;
	uint8 ByteOffset = 0;
	uint8 ByteMask = 1;
	uint8 FieldMask = 1;
};

class FStrProperty : public TProperty<FString, FProperty>
{
	UE_HOST_DECLARE_FIELD(FStrProperty, FProperty)

public:
	using TProperty<FString, FProperty>::TProperty;

	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override { return TEXT("FString"); }

protected:
	virtual void ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const override;
	virtual const TCHAR* ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const override;
};

class FNameProperty : public TProperty<FName, FProperty>
{
	UE_HOST_DECLARE_FIELD(FNameProperty, FProperty)

public:
	using TProperty<FName, FProperty>::TProperty;

	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override { return TEXT("FName"); }

protected:
	virtual void ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const override;
	virtual const TCHAR* ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const override;
};

// Exported as INVTEXT("..."); reads NSLOCTEXT/LOCTEXT/INVTEXT, a quoted string, or (top level) raw text.
class FTextProperty : public TProperty<FText, FProperty>
{
	UE_HOST_DECLARE_FIELD(FTextProperty, FProperty)

public:
	using TProperty<FText, FProperty>::TProperty;

	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override { return TEXT("FText"); }

protected:
	virtual void ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const override;
	virtual const TCHAR* ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const override;
};

class FStructProperty : public FProperty
{
	UE_HOST_DECLARE_FIELD(FStructProperty, FProperty)

public:
	FStructProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, UScriptStruct* InStruct);

	TObjectPtr<UScriptStruct> Struct;

	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;
	virtual int32 GetMinAlignment() const override { return Struct->GetMinAlignment(); }

protected:
	virtual void ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const override;
	virtual const TCHAR* ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const override;
	virtual void CopyValuesInternal(void* Dest, void const* Src, int32 Count) const override;
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void DestroyValueInternal(void* Dest) const override;
	virtual void ClearValueInternal(void* Data) const override;
};

// How the host reaches into one TArray<T> type: the engine's arrays share a layout, the host's
// (std::vector underneath) do not, so each array property carries these. Context is handed to
// every operation: an array of a struct known only at run time keeps its struct there.
struct FScriptArrayOps
{
	int32 (*Num)(const void* Context, const void* Array);
	void* (*GetData)(const void* Context, void* Array);
	void (*Resize)(const void* Context, void* Array, int32 NewNum);
	void (*InsertDefaulted)(const void* Context, void* Array, int32 Index, int32 Count);
	void (*Remove)(const void* Context, void* Array, int32 Index, int32 Count);
	void (*Construct)(const void* Context, void* Dest);
	void (*Destruct)(const void* Context, void* Dest);
	void (*Copy)(const void* Context, void* Dest, const void* Src);
	const void* Context = nullptr;
};

template<typename ElementType>
const FScriptArrayOps& GetScriptArrayOps()
{
	typedef TArray<ElementType> FArrayType;
	static const FScriptArrayOps Ops = {
		[](const void*, const void* Array) { return static_cast<const FArrayType*>(Array)->Num(); },
		[](const void*, void* Array) { return static_cast<void*>(static_cast<FArrayType*>(Array)->GetData()); },
		[](const void*, void* Array, int32 NewNum) { static_cast<FArrayType*>(Array)->SetNum(NewNum); },
		[](const void*, void* Array, int32 Index, int32 Count)
		{
			FArrayType& Typed = *static_cast<FArrayType*>(Array);
			for (int32 Added = 0; Added < Count; ++Added)
			{
				Typed.Insert(ElementType(), Index);
			}
		},
		[](const void*, void* Array, int32 Index, int32 Count) { static_cast<FArrayType*>(Array)->RemoveAt(Index, Count); },
		[](const void*, void* Dest) { new (Dest) FArrayType(); },
		[](const void*, void* Dest) { static_cast<FArrayType*>(Dest)->~FArrayType(); },
		[](const void*, void* Dest, const void* Src) { *static_cast<FArrayType*>(Dest) = *static_cast<const FArrayType*>(Src); },
	};
	return Ops;
}

class FArrayProperty : public FProperty
{
	UE_HOST_DECLARE_FIELD(FArrayProperty, FProperty)

public:
	FArrayProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, const FScriptArrayOps& InOps);
	virtual ~FArrayProperty() override;

	// The element property; its offset is 0 within an element.
	FProperty* Inner = nullptr;
	const FScriptArrayOps& GetArrayOps() const { return *ArrayOps; }

	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;
	virtual int32 GetMinAlignment() const override { return alignof(TArray<uint8>); }

protected:
	// "(a,b,c)"; an empty array writes nothing.
	virtual void ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const override;
	// "(a,b,c)"; empty text, ")" or "," give an empty array.
	virtual const TCHAR* ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const override;
	virtual void CopyValuesInternal(void* Dest, void const* Src, int32 Count) const override;
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void DestroyValueInternal(void* Dest) const override;
	virtual void ClearValueInternal(void* Data) const override;

private:
	const FScriptArrayOps* ArrayOps;
};

// TSet<T>: unique elements in insertion order, written as "(a,b)". The element property is
// given with AddCppProperty; the set owns it.
class FSetProperty : public FProperty
{
	UE_HOST_DECLARE_FIELD(FSetProperty, FProperty)

public:
	FSetProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags);
	virtual ~FSetProperty() override;

	void AddCppProperty(FProperty* Property);
	FProperty* GetElementProperty() const { return ElementProp; }

	// Equal when both hold the same elements, in any order.
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;
	virtual int32 GetMinAlignment() const override;

protected:
	virtual void ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const override;
	// "(a,b)"; empty text or "()" give an empty set; an element given twice is kept once.
	virtual const TCHAR* ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const override;
	virtual void CopyValuesInternal(void* Dest, void const* Src, int32 Count) const override;
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void DestroyValueInternal(void* Dest) const override;
	virtual void ClearValueInternal(void* Data) const override;

private:
	FProperty* ElementProp = nullptr;
};

// TMap<K,V>: pairs with unique keys in insertion order, written as "((k1, v1),(k2, v2))". The key
// property is given first with AddCppProperty, then the value property; the map owns both.
class FMapProperty : public FProperty
{
	UE_HOST_DECLARE_FIELD(FMapProperty, FProperty)

public:
	FMapProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags);
	virtual ~FMapProperty() override;

	void AddCppProperty(FProperty* Property);
	FProperty* GetKeyProperty() const { return KeyProp; }
	FProperty* GetValueProperty() const { return ValueProp; }

	// Equal when every key of one is in the other with an identical value.
	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;
	virtual int32 GetMinAlignment() const override;

protected:
	virtual void ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const override;
	// "((k1, v1),(k2, v2))"; empty text or "()" give an empty map; a repeated key takes the later value.
	virtual const TCHAR* ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const override;
	virtual void CopyValuesInternal(void* Dest, void const* Src, int32 Count) const override;
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void DestroyValueInternal(void* Dest) const override;
	virtual void ClearValueInternal(void* Data) const override;

private:
	FProperty* KeyProp = nullptr;
	FProperty* ValueProp = nullptr;
};

// Indices run from 0 to GetMaxIndex() - 1; every index in that range holds an element.
class FScriptSetHelper
{
public:
	FScriptSetHelper(const FSetProperty* InProperty, const void* InSet);

	int32 Num() const;
	int32 GetMaxIndex() const { return Num(); }
	bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Num(); }
	uint8* GetElementPtr(int32 Index) const;

	void EmptyElements(int32 Slack = 0);
	// Adds a default element; Rehash makes it findable once it holds its value.
	int32 AddDefaultValue_Invalid_NeedsRehash();
	void Rehash() {}
	void RemoveAt(int32 Index, int32 Count = 1);
	int32 FindElementIndex(const void* ElementToFind) const;

private:
	const FSetProperty* Property;
	void* Set;
};

class FScriptSetHelper_InContainer : public FScriptSetHelper
{
public:
	FScriptSetHelper_InContainer(const FSetProperty* InProperty, const void* InContainer, int32 FixedIndex = 0)
		: FScriptSetHelper(InProperty, InProperty->ContainerPtrToValuePtr<void>(InContainer, FixedIndex))
	{
	}
};

class FScriptMapHelper
{
public:
	FScriptMapHelper(const FMapProperty* InProperty, const void* InMap);

	int32 Num() const;
	int32 GetMaxIndex() const { return Num(); }
	bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Num(); }
	uint8* GetPairPtr(int32 Index) const;
	uint8* GetKeyPtr(int32 Index) const { return GetPairPtr(Index); }
	uint8* GetValuePtr(int32 Index) const;

	void EmptyValues(int32 Slack = 0);
	// Adds a pair of defaults; Rehash makes it findable once its key is set.
	int32 AddDefaultValue_Invalid_NeedsRehash();
	void Rehash() {}
	void RemoveAt(int32 Index, int32 Count = 1);
	int32 FindMapIndexWithKey(const void* KeyPtr, int32 IndexHint = 0) const;

private:
	const FMapProperty* Property;
	void* Map;
};

class FScriptMapHelper_InContainer : public FScriptMapHelper
{
public:
	FScriptMapHelper_InContainer(const FMapProperty* InProperty, const void* InContainer, int32 FixedIndex = 0)
		: FScriptMapHelper(InProperty, InProperty->ContainerPtrToValuePtr<void>(InContainer, FixedIndex))
	{
	}
};

class FScriptArrayHelper
{
public:
	FScriptArrayHelper(const FArrayProperty* InProperty, const void* InArray);

	int32 Num() const { return Ops->Num(Ops->Context, Array); }
	int32 NumUnchecked() const { return Num(); }
	bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Num(); }
	uint8* GetRawPtr(int32 Index = 0) const;

	int32 AddValue() { return AddValues(1); }
	int32 AddValues(int32 Count);
	int32 AddUninitializedValue() { return AddValues(1); }
	int32 AddUninitializedValues(int32 Count) { return AddValues(Count); }
	void InsertValues(int32 Index, int32 Count = 1) { Ops->InsertDefaulted(Ops->Context, Array, Index, Count); }
	void RemoveValues(int32 Index, int32 Count = 1) { Ops->Remove(Ops->Context, Array, Index, Count); }
	void EmptyValues(int32 Slack = 0) { Ops->Resize(Ops->Context, Array, 0); }
	void EmptyAndAddValues(int32 Count) { Ops->Resize(Ops->Context, Array, 0); Ops->Resize(Ops->Context, Array, Count); }
	void EmptyAndAddUninitializedValues(int32 Count) { EmptyAndAddValues(Count); }
	void Resize(int32 NewNum) { Ops->Resize(Ops->Context, Array, NewNum); }
	// Grows the array so that Index is valid; true when it had to grow.
	bool ExpandForIndex(int32 Index);

private:
	const FScriptArrayOps* Ops;
	void* Array;
	int32 ElementSize;
};

class FScriptArrayHelper_InContainer : public FScriptArrayHelper
{
public:
	FScriptArrayHelper_InContainer(const FArrayProperty* InProperty, const void* InContainer, int32 FixedIndex = 0)
		: FScriptArrayHelper(InProperty, InProperty->ContainerPtrToValuePtr<void>(InContainer, FixedIndex))
	{
	}
};

// Hard references. Exported as the object's path ("/Script/Engine.GameModeBase") or None.
class FObjectPropertyBase : public FProperty
{
	UE_HOST_DECLARE_FIELD(FObjectPropertyBase, FProperty)

public:
	FObjectPropertyBase(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, UClass* InPropertyClass);

	TObjectPtr<UClass> PropertyClass;

	UObject* GetObjectPropertyValue(const void* PropertyValueAddress) const { return *static_cast<UObject* const*>(PropertyValueAddress); }
	void SetObjectPropertyValue(void* PropertyValueAddress, UObject* Value) const { *static_cast<UObject**>(PropertyValueAddress) = Value; }
	UObject* GetObjectPropertyValue_InContainer(const void* Container, int32 ArrayIndex = 0) const { return GetObjectPropertyValue(ContainerPtrToValuePtr<void>(Container, ArrayIndex)); }
	void SetObjectPropertyValue_InContainer(void* Container, UObject* Value, int32 ArrayIndex = 0) const { SetObjectPropertyValue(ContainerPtrToValuePtr<void>(Container, ArrayIndex), Value); }

	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;
	virtual int32 GetMinAlignment() const override { return alignof(UObject*); }

protected:
	// Whether Object may be stored here (the class test of FClassProperty is stricter).
	virtual bool AllowObjectTypeReinterpretationTo(const UObject* Object) const;
	virtual void ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const override;
	virtual const TCHAR* ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const override;
	virtual void CopyValuesInternal(void* Dest, void const* Src, int32 Count) const override;
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void DestroyValueInternal(void* Dest) const override {}
	virtual void ClearValueInternal(void* Data) const override { SetObjectPropertyValue(Data, nullptr); }
};

class FObjectProperty : public FObjectPropertyBase
{
	UE_HOST_DECLARE_FIELD(FObjectProperty, FObjectPropertyBase)
	using FObjectPropertyBase::FObjectPropertyBase;
};

// TSubclassOf<MetaClass>: a class that must be MetaClass or a child of it.
class FClassProperty : public FObjectProperty
{
	UE_HOST_DECLARE_FIELD(FClassProperty, FObjectProperty)

public:
	FClassProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, UClass* InMetaClass);

	TObjectPtr<UClass> MetaClass;

	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;

protected:
	virtual bool AllowObjectTypeReinterpretationTo(const UObject* Object) const override;
};

// TSoftObjectPtr<T>: held as a path, exported as FSoftObjectPath is.
class FSoftObjectProperty : public TProperty<FSoftObjectPtr, FProperty>
{
	UE_HOST_DECLARE_FIELD(FSoftObjectProperty, FProperty)

public:
	FSoftObjectProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, UClass* InPropertyClass);

	TObjectPtr<UClass> PropertyClass;

	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;

protected:
	virtual void ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const override;
	virtual const TCHAR* ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const override;
};

class FSoftClassProperty : public FSoftObjectProperty
{
	UE_HOST_DECLARE_FIELD(FSoftClassProperty, FSoftObjectProperty)

public:
	FSoftClassProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, UClass* InMetaClass);

	TObjectPtr<UClass> MetaClass;

	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;
};

namespace EFieldIteratorFlags
{
	enum SuperClassFlags
	{
		ExcludeSuper = 0,
		IncludeSuper,
	};
}

// The fields of a struct that are of kind T: the struct's own first, then its parents'.
template<class T>
class TFieldIterator
{
public:
	explicit TFieldIterator(const UStruct* InStruct, EFieldIteratorFlags::SuperClassFlags InSuperClassFlags = EFieldIteratorFlags::IncludeSuper)
		: Struct(InStruct)
		, Field(InStruct ? InStruct->ChildProperties : nullptr)
		, bIncludeSuper(InSuperClassFlags == EFieldIteratorFlags::IncludeSuper)
	{
		SkipToMatch();
	}

	explicit operator bool() const { return Field != nullptr; }
	bool operator!() const { return Field == nullptr; }
	T* operator*() const { return static_cast<T*>(Field); }
	T* operator->() const { return static_cast<T*>(Field); }
	TFieldIterator& operator++()
	{
		Field = Field->Next;
		SkipToMatch();
		return *this;
	}
	bool operator!=(const TFieldIterator& Other) const { return Field != Other.Field; }

private:
	void SkipToMatch()
	{
		while (Struct)
		{
			for (; Field; Field = Field->Next)
			{
				if (Field->IsA(T::StaticClass()))
				{
					return;
				}
			}
			Struct = bIncludeSuper ? Struct->GetSuperStruct() : nullptr;
			Field = Struct ? Struct->ChildProperties : nullptr;
		}
	}

	const UStruct* Struct;
	FField* Field;
	bool bIncludeSuper;
};

template<class T>
struct TFieldRange
{
	explicit TFieldRange(const UStruct* InStruct, EFieldIteratorFlags::SuperClassFlags InSuperClassFlags = EFieldIteratorFlags::IncludeSuper)
		: Begin(InStruct, InSuperClassFlags)
	{
	}

	TFieldIterator<T> begin() const { return Begin; }
	TFieldIterator<T> end() const { return TFieldIterator<T>(nullptr); }

private:
	TFieldIterator<T> Begin;
};

namespace EPropertyChangeType
{
	typedef uint32 Type;

	inline constexpr Type Unspecified = 1 << 0;
	inline constexpr Type ArrayAdd = 1 << 1;
	inline constexpr Type ArrayRemove = 1 << 2;
	inline constexpr Type ArrayClear = 1 << 3;
	inline constexpr Type ValueSet = 1 << 4;
	inline constexpr Type Duplicate = 1 << 5;
	inline constexpr Type Interactive = 1 << 6;
	inline constexpr Type Redirected = 1 << 7;
	inline constexpr Type ArrayMove = 1 << 8;
	inline constexpr Type ToggleEditable = 1 << 9;
}

struct FPropertyChangedEvent
{
	FPropertyChangedEvent(FProperty* InProperty, EPropertyChangeType::Type InChangeType = EPropertyChangeType::Unspecified, TArrayView<const UObject* const> InTopLevelObjects = {})
		: Property(InProperty)
		, MemberProperty(InProperty)
		, ChangeType(InChangeType)
		, TopLevelObjects(InTopLevelObjects)
	{
	}

	void SetActiveMemberProperty(FProperty* InActiveMemberProperty) { MemberProperty = InActiveMemberProperty; }
	FName GetPropertyName() const { return Property ? Property->GetFName() : FName(NAME_None); }
	FName GetMemberPropertyName() const { return MemberProperty ? MemberProperty->GetFName() : FName(NAME_None); }
	int32 GetNumObjectsBeingEdited() const { return TopLevelObjects.Num(); }
	const UObject* GetObjectBeingEdited(int32 Index) const { return TopLevelObjects.IsValidIndex(Index) ? TopLevelObjects[Index] : nullptr; }

	FProperty* Property;
	FProperty* MemberProperty;
	EPropertyChangeType::Type ChangeType;
	int32 ObjectIteratorIndex = INDEX_NONE;

private:
	TArrayView<const UObject* const> TopLevelObjects;
};
