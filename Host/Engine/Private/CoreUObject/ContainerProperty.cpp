// Struct and array properties.
#include "UObject/UnrealType.h"

#include "Misc/OutputDevice.h"
#include "PropertyText.h"
#include "StructDefaults.h"

UE_HOST_IMPLEMENT_FIELD(FStructProperty, FProperty)
UE_HOST_IMPLEMENT_FIELD(FArrayProperty, FProperty)

using namespace UE::Host::PropertyText;

// FStructProperty

FStructProperty::FStructProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, UScriptStruct* InStruct)
	: FProperty(InOwner, InName, InObjectFlags)
	, Struct(InStruct)
{
	check(InStruct);
	ElementSize = InStruct->GetStructureSize();
}

bool FStructProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	return Struct->CompareScriptStruct(A, B, PortFlags);
}

FString FStructProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return TEXT("F") + Struct->GetName();
}

void FStructProperty::ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	Struct->ExportText(ValueStr, PropertyValue, DefaultValue, Parent, PortFlags, ExportRootScope, true);
}

const TCHAR* FStructProperty::ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	return Struct->ImportText(Buffer, PropertyValue, OwnerObject, PortFlags, ErrorText, Struct->GetName(), true);
}

void FStructProperty::CopyValuesInternal(void* Dest, void const* Src, int32 Count) const
{
	Struct->CopyScriptStruct(Dest, Src, Count);
}

void FStructProperty::InitializeValueInternal(void* Dest) const
{
	Struct->InitializeStruct(Dest, ArrayDim);
}

void FStructProperty::DestroyValueInternal(void* Dest) const
{
	Struct->DestroyStruct(Dest, ArrayDim);
}

void FStructProperty::ClearValueInternal(void* Data) const
{
	Struct->DestroyStruct(Data);
	Struct->InitializeStruct(Data);
}

// FArrayProperty

FArrayProperty::FArrayProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, const FScriptArrayOps& InOps)
	: FProperty(InOwner, InName, InObjectFlags)
	, ArrayOps(&InOps)
{
	ElementSize = sizeof(TArray<uint8>);
}

FArrayProperty::~FArrayProperty()
{
	delete Inner;
}

bool FArrayProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	FScriptArrayHelper HelperA(this, A);
	if (!B)
	{
		return HelperA.Num() == 0;
	}
	FScriptArrayHelper HelperB(this, B);
	if (HelperA.Num() != HelperB.Num())
	{
		return false;
	}
	for (int32 Index = 0; Index < HelperA.Num(); ++Index)
	{
		if (!Inner->Identical(HelperA.GetRawPtr(Index), HelperB.GetRawPtr(Index), PortFlags))
		{
			return false;
		}
	}
	return true;
}

FString FArrayProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return FString::Printf(TEXT("TArray<%s>"), *Inner->GetCPPType());
}

void FArrayProperty::ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	FScriptArrayHelper ArrayHelper(this, PropertyValue);
	if (ArrayHelper.Num() == 0)
	{
		return;
	}
	// Struct elements are written against a default struct, as the engine does, so that import
	// (which starts each element from that default) reads back the same values.
	const FStructProperty* StructInner = CastField<FStructProperty>(Inner);
	TOptional<FStructDefaults> StructDefaults;
	if (StructInner)
	{
		StructDefaults.Emplace(StructInner->Struct);
	}
	const int32 DefaultNum = DefaultValue ? FScriptArrayHelper(this, DefaultValue).Num() : 0;
	for (int32 Index = 0; Index < ArrayHelper.Num(); ++Index)
	{
		ValueStr.AppendChar(Index == 0 ? TEXT('(') : TEXT(','));
		const void* ElementDefault = StructInner ? StructDefaults->Get()
			: (Index < DefaultNum ? FScriptArrayHelper(this, DefaultValue).GetRawPtr(Index) : nullptr);
		Inner->ExportTextItem_Direct(ValueStr, ArrayHelper.GetRawPtr(Index), ElementDefault, Parent, PortFlags | PPF_Delimited, ExportRootScope);
	}
	ValueStr.AppendChar(TEXT(')'));
}

const TCHAR* FArrayProperty::ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	FScriptArrayHelper ArrayHelper(this, PropertyValue);
	SkipWhitespace(Buffer);
	// An empty array is exported as nothing.
	if (*Buffer == '\0' || *Buffer == ')' || *Buffer == ',')
	{
		ArrayHelper.EmptyValues();
		return Buffer;
	}
	if (*Buffer != '(')
	{
		if (ErrorText)
		{
			ErrorText->Logf(ELogVerbosity::Warning, TEXT("Import failed for '%s': an array starts with '(': %s"), *GetName(), Buffer);
		}
		return nullptr;
	}
	++Buffer;
	ArrayHelper.EmptyValues();
	SkipWhitespace(Buffer);
	if (*Buffer == ')')
	{
		return Buffer + 1;
	}
	int32 Index = 0;
	ArrayHelper.ExpandForIndex(0);
	while (true)
	{
		SkipWhitespace(Buffer);
		if (*Buffer == ')')
		{
			break;
		}
		// An empty slot ("a,,b") keeps the element's default.
		if (*Buffer != ',')
		{
			Buffer = Inner->ImportText_Direct(Buffer, ArrayHelper.GetRawPtr(Index), OwnerObject, PortFlags | PPF_Delimited, ErrorText);
			if (!Buffer)
			{
				return nullptr;
			}
			SkipWhitespace(Buffer);
		}
		if (*Buffer != ',')
		{
			break;
		}
		++Buffer;
		ArrayHelper.ExpandForIndex(++Index);
	}
	if (*Buffer != ')')
	{
		if (ErrorText)
		{
			ErrorText->Logf(ELogVerbosity::Warning, TEXT("Import failed for '%s': missing ')' at: %s"), *GetName(), Buffer);
		}
		return nullptr;
	}
	return Buffer + 1;
}

void FArrayProperty::CopyValuesInternal(void* Dest, void const* Src, int32 Count) const
{
	for (int32 Index = 0; Index < Count; ++Index)
	{
		ArrayOps->Copy(ArrayOps->Context, static_cast<uint8*>(Dest) + Index * ElementSize, static_cast<const uint8*>(Src) + Index * ElementSize);
	}
}

void FArrayProperty::InitializeValueInternal(void* Dest) const
{
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		ArrayOps->Construct(ArrayOps->Context, static_cast<uint8*>(Dest) + Index * ElementSize);
	}
}

void FArrayProperty::DestroyValueInternal(void* Dest) const
{
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		ArrayOps->Destruct(ArrayOps->Context, static_cast<uint8*>(Dest) + Index * ElementSize);
	}
}

void FArrayProperty::ClearValueInternal(void* Data) const
{
	ArrayOps->Resize(ArrayOps->Context, Data, 0);
}

// FScriptArrayHelper

FScriptArrayHelper::FScriptArrayHelper(const FArrayProperty* InProperty, const void* InArray)
	: Ops(&InProperty->GetArrayOps())
	, Array(const_cast<void*>(InArray))
	, ElementSize(InProperty->Inner->ElementSize)
{
}

uint8* FScriptArrayHelper::GetRawPtr(int32 Index) const
{
	return static_cast<uint8*>(Ops->GetData(Ops->Context, Array)) + static_cast<SIZE_T>(Index) * static_cast<SIZE_T>(ElementSize);
}

int32 FScriptArrayHelper::AddValues(int32 Count)
{
	const int32 OldNum = Num();
	Ops->Resize(Ops->Context, Array, OldNum + Count);
	return OldNum;
}

bool FScriptArrayHelper::ExpandForIndex(int32 Index)
{
	if (Index < Num())
	{
		return false;
	}
	Ops->Resize(Ops->Context, Array, Index + 1);
	return true;
}
