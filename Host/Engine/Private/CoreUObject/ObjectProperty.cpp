// Hard and soft object references.
#include "UObject/UnrealType.h"

#include "Misc/OutputDevice.h"
#include "PropertyText.h"
#include "UObject/SoftObjectPtr.h"
#include "UObject/UObjectGlobals.h"

UE_HOST_IMPLEMENT_FIELD(FObjectPropertyBase, FProperty)
UE_HOST_IMPLEMENT_FIELD(FObjectProperty, FObjectPropertyBase)
UE_HOST_IMPLEMENT_FIELD(FClassProperty, FObjectProperty)
UE_HOST_IMPLEMENT_FIELD(FSoftObjectProperty, FProperty)
UE_HOST_IMPLEMENT_FIELD(FSoftClassProperty, FSoftObjectProperty)

using namespace UE::Host::PropertyText;

namespace
{
	FString CppClassName(const UClass* Class)
	{
		return Class ? TEXT("U") + Class->GetName() : FString(TEXT("UObject"));
	}
}

// FObjectPropertyBase

FObjectPropertyBase::FObjectPropertyBase(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, UClass* InPropertyClass)
	: FProperty(InOwner, InName, InObjectFlags)
	, PropertyClass(InPropertyClass)
{
	ElementSize = sizeof(UObject*);
}

bool FObjectPropertyBase::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	return GetObjectPropertyValue(A) == (B ? GetObjectPropertyValue(B) : nullptr);
}

FString FObjectPropertyBase::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return FString::Printf(TEXT("TObjectPtr<%s>"), *CppClassName(PropertyClass));
}

bool FObjectPropertyBase::AllowObjectTypeReinterpretationTo(const UObject* Object) const
{
	return !PropertyClass || Object->IsA(PropertyClass);
}

void FObjectPropertyBase::ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	const UObject* Object = GetObjectPropertyValue(PropertyValue);
	ValueStr += Object ? Object->GetPathName() : FString(TEXT("None"));
}

const TCHAR* FObjectPropertyBase::ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	SkipWhitespace(Buffer);
	const TCHAR* Start = Buffer;
	FString Path;
	const TCHAR* End = ReadToken(Buffer, Path, true);
	if (End && *End == '\'')
	{
		// The older Class'/Script/Module.Name' form.
		Path.Empty();
		End = ReadToken(End + 1, Path, true);
		End = End && *End == '\'' ? End + 1 : nullptr;
	}
	if (!End || Path.IsEmpty())
	{
		if (ErrorText)
		{
			ErrorText->Logf(ELogVerbosity::Warning, TEXT("Import failed for '%s': expected an object path: %s"), *GetName(), Start);
		}
		return nullptr;
	}
	if (Path == TEXT("None"))
	{
		SetObjectPropertyValue(PropertyValue, nullptr);
		return End;
	}
	UObject* Object = StaticFindObject(nullptr, nullptr, FStringView(Path));
	if (!Object || !AllowObjectTypeReinterpretationTo(Object))
	{
		if (ErrorText)
		{
			if (Object)
			{
				ErrorText->Logf(ELogVerbosity::Warning, TEXT("Import failed for '%s': '%s' is not of the required class"), *GetName(), *Path);
			}
			else
			{
				ErrorText->Logf(ELogVerbosity::Warning, TEXT("Import failed for '%s': no object '%s'"), *GetName(), *Path);
			}
		}
		return nullptr;
	}
	SetObjectPropertyValue(PropertyValue, Object);
	return End;
}

void FObjectPropertyBase::CopyValuesInternal(void* Dest, void const* Src, int32 Count) const
{
	for (int32 Index = 0; Index < Count; ++Index)
	{
		static_cast<UObject**>(Dest)[Index] = static_cast<UObject* const*>(Src)[Index];
	}
}

void FObjectPropertyBase::InitializeValueInternal(void* Dest) const
{
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		static_cast<UObject**>(Dest)[Index] = nullptr;
	}
}

// FClassProperty

FClassProperty::FClassProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, UClass* InMetaClass)
	: FObjectProperty(InOwner, InName, InObjectFlags, UClass::StaticClass())
	, MetaClass(InMetaClass)
{
}

FString FClassProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return FString::Printf(TEXT("TSubclassOf<%s>"), *CppClassName(MetaClass));
}

bool FClassProperty::AllowObjectTypeReinterpretationTo(const UObject* Object) const
{
	const UClass* Class = Object->IsA(UClass::StaticClass()) ? static_cast<const UClass*>(Object) : nullptr;
	return Class && (!MetaClass || Class->IsChildOf(MetaClass));
}

// FSoftObjectProperty

FSoftObjectProperty::FSoftObjectProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, UClass* InPropertyClass)
	: TProperty<FSoftObjectPtr, FProperty>(InOwner, InName, InObjectFlags)
	, PropertyClass(InPropertyClass)
{
}

FString FSoftObjectProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return FString::Printf(TEXT("TSoftObjectPtr<%s>"), *CppClassName(PropertyClass));
}

void FSoftObjectProperty::ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	const FSoftObjectPath& Path = static_cast<const FSoftObjectPtr*>(PropertyValue)->ToSoftObjectPath();
	Path.ExportTextItem(ValueStr, Path, Parent, PortFlags, ExportRootScope);
}

const TCHAR* FSoftObjectProperty::ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	FSoftObjectPath Path;
	if (!Path.ImportTextItem(Buffer, PortFlags, OwnerObject, ErrorText))
	{
		return nullptr;
	}
	static_cast<FSoftObjectPtr*>(PropertyValue)->SetPath(Path);
	return Buffer;
}

// FSoftClassProperty

FSoftClassProperty::FSoftClassProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, UClass* InMetaClass)
	: FSoftObjectProperty(InOwner, InName, InObjectFlags, UClass::StaticClass())
	, MetaClass(InMetaClass)
{
}

FString FSoftClassProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return FString::Printf(TEXT("TSoftClassPtr<%s>"), *CppClassName(MetaClass));
}
