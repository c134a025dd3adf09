#include "UObject/Class.h"

#include "Host/ReflectionBuilder.h"
#include "HeaderObjectLayout.h"
#include "HeaderTypes.h"
#include "Misc/OutputDevice.h"
#include "ObjectRegistry.h"
#include "ObjectConfigAccess.h"
#include "PropertyText.h"
#include "Templates/Casts.h"
#include "UObject/UnrealType.h"

DEFINE_LOG_CATEGORY_STATIC(LogClass, Log, All);

IMPLEMENT_CORE_INTRINSIC_CLASS(UField, UObject, {})
IMPLEMENT_CORE_INTRINSIC_CLASS(UStruct, UField, {})
IMPLEMENT_CORE_INTRINSIC_CLASS(UScriptStruct, UStruct, {})
IMPLEMENT_CORE_INTRINSIC_CLASS(UClass, UStruct, {})

namespace
{
	const FString& EmptyString()
	{
		static const FString Empty;
		return Empty;
	}
}

// UField

UClass* UField::GetOwnerClass() const
{
	for (const UObject* Object = this; Object; Object = Object->GetOuter())
	{
		if (const UClass* Class = Cast<UClass>(Object))
		{
			return const_cast<UClass*>(Class);
		}
	}
	return nullptr;
}

UStruct* UField::GetOwnerStruct() const
{
	for (const UObject* Object = this; Object; Object = Object->GetOuter())
	{
		if (const UStruct* Struct = Cast<UStruct>(Object))
		{
			return const_cast<UStruct*>(Struct);
		}
	}
	return nullptr;
}

#if WITH_EDITORONLY_DATA
const FString& UField::GetMetaData(const TCHAR* Key) const
{
	return GetMetaData(FName(Key));
}

const FString& UField::GetMetaData(const FName& Key) const
{
	const FString* Found = FindMetaData(Key);
	return Found ? *Found : EmptyString();
}

const FString* UField::FindMetaData(const TCHAR* Key) const
{
	return FindMetaData(FName(Key));
}

const FString* UField::FindMetaData(const FName& Key) const
{
	return MetaData.Find(Key);
}

void UField::SetMetaData(const TCHAR* Key, const TCHAR* InValue)
{
	SetMetaData(FName(Key), InValue);
}

void UField::SetMetaData(const FName& Key, const TCHAR* InValue)
{
	MetaData.FindOrAdd(Key) = FString(InValue);
}

void UField::RemoveMetaData(const TCHAR* Key)
{
	MetaData.Remove(FName(Key));
}

FText UField::GetDisplayNameText() const
{
	const FString* DisplayName = FindMetaData(TEXT("DisplayName"));
	return FText::FromString(DisplayName ? *DisplayName : GetName());
}

FText UField::GetToolTipText(bool bShortTooltip) const
{
	const FString* ToolTip = bShortTooltip ? FindMetaData(TEXT("ShortTooltip")) : nullptr;
	if (!ToolTip)
	{
		ToolTip = FindMetaData(TEXT("ToolTip"));
	}
	return FText::FromString(ToolTip ? *ToolTip : FString());
}
#endif

// UStruct

UStruct::~UStruct()
{
	for (FField* Field = ChildProperties; Field;)
	{
		FField* Next = Field->Next;
		delete Field;
		Field = Next;
	}
}

void UStruct::SetSuperStruct(UStruct* NewSuperStruct)
{
	SuperStruct = NewSuperStruct;
}

bool UStruct::IsChildOf(const UStruct* SomeBase) const
{
	if (!SomeBase)
	{
		return false;
	}
	for (const UStruct* Struct = this; Struct; Struct = Struct->GetSuperStruct())
	{
		if (Struct == SomeBase)
		{
			return true;
		}
	}
	return false;
}

FProperty* UStruct::FindPropertyByName(FName InName) const
{
	for (FProperty* Property = PropertyLink; Property; Property = Property->PropertyLinkNext)
	{
		if (Property->GetFName() == InName)
		{
			return Property;
		}
	}
	UE::Host::Private::NoteMissingProperty(this, InName);
	return nullptr;
}

void UStruct::AddCppProperty(FProperty* Property)
{
	FField** Tail = &ChildProperties;
	while (*Tail)
	{
		Tail = &(*Tail)->Next;
	}
	*Tail = Property;
	Property->Next = nullptr;
}

void UStruct::StaticLink(bool bRelinkExistingProperties)
{
	FProperty** Link = &PropertyLink;
	for (FField* Field = ChildProperties; Field; Field = Field->Next)
	{
		if (FProperty* Property = CastField<FProperty>(Field))
		{
			*Link = Property;
			Link = &Property->PropertyLinkNext;
		}
	}
	*Link = SuperStruct ? SuperStruct->PropertyLink : nullptr;
}

// UScriptStruct

void UScriptStruct::SetCppStructOps(std::unique_ptr<ICppStructOps> InOps)
{
	CppStructOps = std::move(InOps);
	if (CppStructOps)
	{
		SetPropertiesSize(CppStructOps->GetSize());
		SetMinAlignment(CppStructOps->GetAlignment());
		StructFlags |= STRUCT_Native;
		if (CppStructOps->HasExportTextItem())
		{
			StructFlags |= STRUCT_ExportTextItemNative;
		}
		if (CppStructOps->HasImportTextItem())
		{
			StructFlags |= STRUCT_ImportTextItemNative;
		}
		if (CppStructOps->HasIdentical())
		{
			StructFlags |= STRUCT_IdenticalNative;
		}
	}
}

void UScriptStruct::InitializeStruct(void* Dest, int32 ArrayDim) const
{
	check(CppStructOps);
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		CppStructOps->Construct(static_cast<uint8*>(Dest) + Index * GetStructureSize());
	}
}

void UScriptStruct::DestroyStruct(void* Dest, int32 ArrayDim) const
{
	check(CppStructOps);
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		CppStructOps->Destruct(static_cast<uint8*>(Dest) + Index * GetStructureSize());
	}
}

void UScriptStruct::CopyScriptStruct(void* Dest, void const* Src, int32 ArrayDim) const
{
	check(CppStructOps);
	CppStructOps->Copy(Dest, Src, ArrayDim);
}

bool UScriptStruct::CompareScriptStruct(const void* A, const void* B, uint32 PortFlags) const
{
	if (!B)
	{
		return false;
	}
	bool bResult = false;
	if (CppStructOps && CppStructOps->HasIdentical() && CppStructOps->Identical(A, B, PortFlags, bResult))
	{
		return bResult;
	}
	for (TFieldIterator<FProperty> It(this); It; ++It)
	{
		for (int32 Index = 0; Index < It->ArrayDim; ++Index)
		{
			if (!It->Identical_InContainer(A, B, Index, PortFlags))
			{
				return false;
			}
		}
	}
	return true;
}

void UScriptStruct::ExportText(FString& ValueStr, const void* Value, const void* Defaults, UObject* OwnerObject, int32 PortFlags, UObject* ExportRootScope, bool bAllowNativeOverride) const
{
	if (bAllowNativeOverride && CppStructOps && CppStructOps->HasExportTextItem()
		&& CppStructOps->ExportTextItem(ValueStr, Value, Defaults, OwnerObject, PortFlags, ExportRootScope))
	{
		return;
	}
	// An atomic struct is written whole.
	if ((StructFlags & STRUCT_Atomic) != 0)
	{
		Defaults = Value;
	}
	int32 Count = 0;
	for (TFieldIterator<FProperty> It(this); It; ++It)
	{
		if (!It->ShouldPort(PortFlags))
		{
			continue;
		}
		for (int32 Index = 0; Index < It->ArrayDim; ++Index)
		{
			FString InnerValue;
			if (It->ExportText_InContainer(Index, InnerValue, Value, Defaults, OwnerObject, PPF_Delimited | PortFlags, ExportRootScope))
			{
				++Count;
				ValueStr.AppendChar(Count == 1 ? TEXT('(') : TEXT(','));
				ValueStr += It->ArrayDim == 1 ? FString::Printf(TEXT("%s="), *It->GetName()) : FString::Printf(TEXT("%s[%d]="), *It->GetName(), Index);
				ValueStr += InnerValue;
			}
		}
	}
	ValueStr += Count > 0 ? TEXT(")") : TEXT("()");
}

namespace
{
	// "Name", "Name[2]" or "Name(2)" before '='. False when the text is not a member assignment.
	bool ReadMemberName(const TCHAR*& Buffer, FString& OutName, int32& OutIndex)
	{
		using namespace UE::Host::PropertyText;
		SkipWhitespace(Buffer);
		while (*Buffer && *Buffer != '=' && *Buffer != '[' && *Buffer != '(' && *Buffer != ',' && *Buffer != ')' && !FChar::IsWhitespace(*Buffer))
		{
			OutName.AppendChar(*Buffer++);
		}
		SkipWhitespace(Buffer);
		OutIndex = 0;
		if (*Buffer == '[' || *Buffer == '(')
		{
			const TCHAR Close = *Buffer == '[' ? ']' : ')';
			++Buffer;
			if (!FChar::IsDigit(*Buffer))
			{
				return false;
			}
			OutIndex = 0;
			while (FChar::IsDigit(*Buffer))
			{
				OutIndex = OutIndex * 10 + (*Buffer++ - '0');
			}
			if (*Buffer++ != Close)
			{
				return false;
			}
			SkipWhitespace(Buffer);
		}
		if (OutName.IsEmpty() || *Buffer != '=')
		{
			return false;
		}
		++Buffer;
		return true;
	}
}

const TCHAR* UScriptStruct::ImportText(const TCHAR* InBuffer, void* Value, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText, const FString& StructName, bool bAllowNativeOverride) const
{
	using namespace UE::Host::PropertyText;

	if (bAllowNativeOverride && CppStructOps && CppStructOps->HasImportTextItem())
	{
		const TCHAR* NativeBuffer = InBuffer;
		if (CppStructOps->ImportTextItem(NativeBuffer, Value, PortFlags, OwnerObject, ErrorText))
		{
			return NativeBuffer;
		}
	}

	const TCHAR* Buffer = InBuffer;
	SkipWhitespace(Buffer);
	if (*Buffer != '(')
	{
		if (ErrorText)
		{
			ErrorText->Logf(ELogVerbosity::Warning, TEXT("ImportText (%s): Missing opening parenthesis: %s"), *StructName, InBuffer);
		}
		return nullptr;
	}
	++Buffer;
	SkipWhitespace(Buffer);
	while (*Buffer != ')')
	{
		const TCHAR* MemberStart = Buffer;
		FString MemberName;
		int32 Index = 0;
		if (!ReadMemberName(Buffer, MemberName, Index))
		{
			if (ErrorText)
			{
				ErrorText->Logf(ELogVerbosity::Warning, TEXT("ImportText (%s): Expected Member=Value at: %s"), *StructName, MemberStart);
			}
			return nullptr;
		}
		SkipWhitespace(Buffer);

		FProperty* Property = FindPropertyByName(FName(MemberName));
		if (Property && (Index < 0 || Index >= Property->ArrayDim))
		{
			if (ErrorText)
			{
				ErrorText->Logf(ELogVerbosity::Warning, TEXT("ImportText (%s): Index %d out of bounds for %s"), *StructName, Index, *MemberName);
			}
			return nullptr;
		}
		if (!Property && UE::Host::Private::IsUnreadHeaderMember(this, FName(MemberName)))
		{
			// A member the header declares in a type the host cannot hold: skipping its text would
			// lose it on the next write, so the value as a whole is not read.
			if (ErrorText)
			{
				ErrorText->Logf(ELogVerbosity::Warning, TEXT("ImportText (%s): the type of member %s could not be read: %s"), *StructName, *MemberName, InBuffer);
			}
			return nullptr;
		}
		if (!Property)
		{
			// Members this build does not know are skipped, so newer files still read.
			if (ErrorText)
			{
				ErrorText->Logf(ELogVerbosity::Warning, TEXT("ImportText (%s): Unknown member %s in: %s"), *StructName, *MemberName, InBuffer);
			}
			Buffer = SkipValue(Buffer);
			if (!Buffer)
			{
				return nullptr;
			}
		}
		else if ((*Buffer == ',' || *Buffer == ')') && !CastField<FArrayProperty>(Property) && !CastField<FSetProperty>(Property) && !CastField<FMapProperty>(Property))
		{
			// "Member=" with nothing after it leaves the member as it is (and empties a container).
		}
		else
		{
			const TCHAR* Result = Property->ImportText_Direct(Buffer, Property->ContainerPtrToValuePtr<void>(Value, Index), OwnerObject, PortFlags | PPF_Delimited, ErrorText);
			if (!Result)
			{
				if (ErrorText)
				{
					ErrorText->Logf(ELogVerbosity::Warning, TEXT("ImportText (%s): Invalid value for %s: %s"), *StructName, *MemberName, Buffer);
				}
				return nullptr;
			}
			Buffer = Result;
		}

		SkipWhitespace(Buffer);
		if (*Buffer == ',')
		{
			++Buffer;
			SkipWhitespace(Buffer);
		}
		else if (*Buffer != ')')
		{
			if (ErrorText)
			{
				ErrorText->Logf(ELogVerbosity::Warning, TEXT("ImportText (%s): Missing closing parenthesis: %s"), *StructName, Buffer);
			}
			return nullptr;
		}
	}
	return Buffer + 1;
}

// UClass

UClass::~UClass()
{
	DestroyDefaultObject();
}

UObject* UClass::GetDefaultObject(bool bCreateIfNeeded) const
{
	if (!ClassDefaultObject && bCreateIfNeeded)
	{
		const_cast<UClass*>(this)->CreateDefaultObject();
	}
	return ClassDefaultObject;
}

UObject* UClass::CreateDefaultObject()
{
	if (ClassDefaultObject || !NativeFactory)
	{
		return ClassDefaultObject;
	}
	UClass* SuperClass = GetSuperClass();
	UObject* SuperDefault = SuperClass ? SuperClass->GetDefaultObject() : nullptr;
	if (ClassDefaultObject)
	{
		return ClassDefaultObject;
	}

	UObject* Object = UE::Host::Private::NewObjectOfClass(this);
	UE::Host::FObjectRegistry::Get().Register(Object, this, GetOuter(), FName(TEXT("Default__") + GetName()),
		RF_Public | RF_ClassDefaultObject | RF_ArchetypeObject);
	// Set before config and PostInitProperties, which may ask for it again.
	ClassDefaultObject = Object;
	if (SuperDefault)
	{
		for (FProperty* Property = SuperClass->PropertyLink; Property; Property = Property->PropertyLinkNext)
		{
			Property->CopyCompleteValue_InContainer(Object, SuperDefault);
		}
	}
	if (HasAnyClassFlags(CLASS_Config))
	{
		Object->LoadConfig(nullptr, nullptr, UE::LCPF_ReadParentSections);
	}
	Object->PostInitProperties();
	return Object;
}

void UClass::DestroyDefaultObject()
{
	UObject* Object = ClassDefaultObject;
	ClassDefaultObject = nullptr;
	UE::Host::Private::DeleteObject(Object);
}

const FString UClass::GetConfigName() const
{
	if (ClassConfigName.IsNone())
	{
		UE_LOG(LogClass, Warning, TEXT("UObject::GetConfigName: No config name for class '%s'"), *GetName());
		return FString();
	}
	return UE::Host::ObjectConfig::GetConfigFilename(ClassConfigName);
}
