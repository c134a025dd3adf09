// The property base and the simple kinds: bool, string, name, text.
#include "UObject/UnrealType.h"

#include "Host/TextIdentity.h"

#include "Misc/OutputDevice.h"
#include "PropertyText.h"

#include <cstddef>
#include <new>

UE_HOST_IMPLEMENT_FIELD(FProperty, FField)
UE_HOST_IMPLEMENT_FIELD(FBoolProperty, FProperty)
UE_HOST_IMPLEMENT_FIELD(FStrProperty, FProperty)
UE_HOST_IMPLEMENT_FIELD(FNameProperty, FProperty)
UE_HOST_IMPLEMENT_FIELD(FTextProperty, FProperty)

using namespace UE::Host::PropertyText;

namespace
{
	// The engine's names are at most 1023 characters.
	constexpr int32 MaxNameLength = 1023;
}

// FProperty

FProperty::FProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FField(InOwner, InName, InObjectFlags)
{
}

bool FProperty::ShouldPort(uint32 PortFlags) const
{
	if (HasAnyPropertyFlags(CPF_Transient) && (PortFlags & (PPF_IncludeTransient | PPF_Copy | PPF_Duplicate)) == 0)
	{
		return false;
	}
	if (HasAnyPropertyFlags(CPF_Deprecated) && (PortFlags & (PPF_UseDeprecatedProperties | PPF_DuplicateForPIE)) == 0)
	{
		return false;
	}
	return true;
}

bool FProperty::ExportText_InContainer(int32 Index, FString& ValueStr, const void* Container, const void* DefaultContainer, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	return ExportText_Direct(ValueStr, ContainerPtrToValuePtr<void>(Container, Index), ContainerPtrToValuePtrForDefaults<void>(nullptr, DefaultContainer, Index), Parent, PortFlags, ExportRootScope);
}

bool FProperty::ExportText_Direct(FString& ValueStr, const void* Data, const void* Delta, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	// Without a default to compare with there is nothing to leave out: the value is always written.
	if (!Delta || Data == Delta || !Identical(Data, Delta, PortFlags))
	{
		ExportText_Internal(ValueStr, Data, Delta, Parent, PortFlags, ExportRootScope);
		return true;
	}
	return false;
}

void FProperty::ExportTextItem_Direct(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	ExportText_Internal(ValueStr, PropertyValue, DefaultValue, Parent, PortFlags, ExportRootScope);
}

void FProperty::ExportTextItem_InContainer(FString& ValueStr, const void* Container, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	ExportText_Internal(ValueStr, ContainerPtrToValuePtr<void>(Container), DefaultValue, Parent, PortFlags, ExportRootScope);
}

const TCHAR* FProperty::ImportText_InContainer(const TCHAR* Buffer, void* Container, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	return ImportText_Direct(Buffer, ContainerPtrToValuePtr<void>(Container), OwnerObject, PortFlags, ErrorText);
}

const TCHAR* FProperty::ImportText_Direct(const TCHAR* Buffer, void* PropertyPtr, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	if (!Buffer || !PropertyPtr || !ValidateImportFlags(PortFlags, ErrorText))
	{
		return nullptr;
	}
	// Read into a copy, so that text refused half-way (a struct or an array) changes nothing.
	const std::align_val_t Alignment = static_cast<std::align_val_t>(FMath::Max(GetMinAlignment(), static_cast<int32>(alignof(std::max_align_t))));
	void* Scratch = ::operator new(static_cast<size_t>(FMath::Max(GetSize(), 1)), Alignment);
	InitializeValueInternal(Scratch);
	CopySingleValue(Scratch, PropertyPtr);
	const TCHAR* Result = ImportText_Internal(Buffer, Scratch, OwnerObject, PortFlags, ErrorText);
	if (Result)
	{
		CopySingleValue(PropertyPtr, Scratch);
	}
	DestroyValueInternal(Scratch);
	::operator delete(Scratch, Alignment);
	return Result;
}

bool FProperty::ValidateImportFlags(uint32 PortFlags, FOutputDevice* ErrorHandler) const
{
	// Default-properties text may not set what belongs to the .ini files.
	if ((PortFlags & PPF_RestrictImportTypes) != 0 && HasAnyPropertyFlags(CPF_Config))
	{
		const FString Message = FString::Printf(TEXT("Import failed for '%s': property is config (Check to see if the property is listed in the DefaultProperties.  It should only be listed in the specific .ini file)"), *GetName());
		if (ErrorHandler)
		{
			ErrorHandler->Logf(ELogVerbosity::Warning, TEXT("%s"), *Message);
		}
		return false;
	}
	return true;
}

bool FProperty::Identical_InContainer(const void* A, const void* B, int32 ArrayIndex, uint32 PortFlags) const
{
	return Identical(ContainerPtrToValuePtr<void>(A, ArrayIndex), B ? ContainerPtrToValuePtr<void>(B, ArrayIndex) : nullptr, PortFlags);
}

// FBoolProperty

FBoolProperty::FBoolProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FProperty(InOwner, InName, InObjectFlags)
{
	SetBoolSize(sizeof(bool), true);
}

void FBoolProperty::SetBoolSize(uint32 InSize, bool bIsNativeBool, uint8 InBitMask)
{
	FieldSize = static_cast<uint8>(InSize);
	ByteOffset = 0;
	if (bIsNativeBool)
	{
		ByteMask = 1;
		FieldMask = 0xff;
		ElementSize = sizeof(bool);
	}
	else
	{
		check(InBitMask != 0);
		ByteMask = InBitMask;
		FieldMask = InBitMask;
		ElementSize = 1;
	}
}

bool FBoolProperty::GetPropertyValue(void const* A) const
{
	return (*(static_cast<const uint8*>(A) + ByteOffset) & FieldMask) != 0;
}

void FBoolProperty::SetPropertyValue(void* A, bool Value) const
{
	uint8* Byte = static_cast<uint8*>(A) + ByteOffset;
	*Byte = static_cast<uint8>((*Byte & ~FieldMask) | (Value ? ByteMask : 0));
}

bool FBoolProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	const uint8 ValueA = *(static_cast<const uint8*>(A) + ByteOffset);
	const uint8 ValueB = B ? *(static_cast<const uint8*>(B) + ByteOffset) : 0;
	return ((ValueA ^ ValueB) & FieldMask) == 0;
}

FString FBoolProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	if (IsNativeBool())
	{
		return TEXT("bool");
	}
	return FieldSize == 1 ? TEXT("uint8") : FieldSize == 2 ? TEXT("uint16") : FieldSize == 8 ? TEXT("uint64") : TEXT("uint32");
}

void FBoolProperty::ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	ValueStr += GetPropertyValue(PropertyValue) ? TEXT("True") : TEXT("False");
}

const TCHAR* FBoolProperty::ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	SkipWhitespace(Buffer);
	FString Token;
	const TCHAR* End = ReadToken(Buffer, Token);
	if (!End)
	{
		return nullptr;
	}
	if (Token == TEXT("1") || Token == TEXT("True") || Token == TEXT("Yes") || Token == TEXT("On"))
	{
		SetPropertyValue(PropertyValue, true);
		return End;
	}
	if (Token == TEXT("0") || Token == TEXT("False") || Token == TEXT("No") || Token == TEXT("Off"))
	{
		SetPropertyValue(PropertyValue, false);
		return End;
	}
	if (ErrorText)
	{
		ErrorText->Logf(ELogVerbosity::Warning, TEXT("Import failed for '%s': '%s' is not a bool (True, False, 1, 0, Yes, No, On, Off)"), *GetName(), Buffer);
	}
	return nullptr;
}

void FBoolProperty::CopyValuesInternal(void* Dest, void const* Src, int32 Count) const
{
	for (int32 Index = 0; Index < Count; ++Index)
	{
		SetPropertyValue(static_cast<uint8*>(Dest) + Index * ElementSize, GetPropertyValue(static_cast<const uint8*>(Src) + Index * ElementSize));
	}
}

void FBoolProperty::InitializeValueInternal(void* Dest) const
{
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		SetPropertyValue(static_cast<uint8*>(Dest) + Index * ElementSize, false);
	}
}

// FStrProperty

bool FStrProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	// FString's == ignores case; a change of case is still a change of value.
	return GetPropertyValue(A).Equals(GetOptionalPropertyValue(B), ESearchCase::CaseSensitive);
}

void FStrProperty::ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	const FString& Value = *static_cast<const FString*>(PropertyValue);
	ValueStr += (PortFlags & PPF_Delimited) != 0 ? QuoteString(Value) : Value;
}

const TCHAR* FStrProperty::ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	if ((PortFlags & PPF_Delimited) == 0)
	{
		// At top level the whole text is the value.
		*static_cast<FString*>(PropertyValue) = Buffer;
		return Buffer + FCString::Strlen(Buffer);
	}
	SkipWhitespace(Buffer);
	if (*Buffer != '"')
	{
		if (ErrorText)
		{
			ErrorText->Logf(ELogVerbosity::Warning, TEXT("Missing opening '\"' in string property value: %s"), Buffer);
		}
		return nullptr;
	}
	FString Value;
	const TCHAR* End = ReadQuotedString(Buffer, Value);
	if (!End)
	{
		if (ErrorText)
		{
			ErrorText->Logf(ELogVerbosity::Warning, TEXT("Missing terminating '\"' in string property value: %s"), Buffer);
		}
		return nullptr;
	}
	*static_cast<FString*>(PropertyValue) = Value;
	return End;
}

// FNameProperty

void FNameProperty::ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	const FString Value = static_cast<const FName*>(PropertyValue)->ToString();
	ValueStr += (PortFlags & PPF_Delimited) != 0 ? FString::Printf(TEXT("\"%s\""), *Value.ReplaceQuotesWithEscapedQuotes()) : Value;
}

const TCHAR* FNameProperty::ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	FString Value;
	const TCHAR* End = nullptr;
	if ((PortFlags & PPF_Delimited) == 0)
	{
		Value = Buffer;
		End = Buffer + FCString::Strlen(Buffer);
	}
	else
	{
		SkipWhitespace(Buffer);
		End = ReadToken(Buffer, Value, true);
		if (!End)
		{
			if (ErrorText)
			{
				ErrorText->Logf(ELogVerbosity::Warning, TEXT("Bad quoted name in: %s"), Buffer);
			}
			return nullptr;
		}
	}
	if (Value.Len() > MaxNameLength)
	{
		if (ErrorText)
		{
			ErrorText->Logf(ELogVerbosity::Warning, TEXT("Import failed for '%s': a name may hold at most %d characters"), *GetName(), MaxNameLength);
		}
		return nullptr;
	}
	*static_cast<FName*>(PropertyValue) = FName(Value);
	return End;
}

// FTextProperty

bool FTextProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	const FText& ValueA = *static_cast<const FText*>(A);
	if (!B)
	{
		return ValueA.IsEmpty();
	}
	// The same source under another localization key is another text.
	return UE::Host::FTextIdentity::IsSame(ValueA, *static_cast<const FText*>(B));
}

void FTextProperty::ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	const FText& Value = *static_cast<const FText*>(PropertyValue);
	if (Value.IsEmpty())
	{
		if ((PortFlags & PPF_Delimited) != 0)
		{
			ValueStr += TEXT("\"\"");
		}
		return;
	}
	// A text read with its localization key is written with it; any other is culture invariant.
	using UE::Host::FTextIdentity;
	switch (FTextIdentity::GetOrigin(Value))
	{
	case FTextIdentity::EOrigin::NamespacedLocalized:
		ValueStr += FString::Printf(TEXT("NSLOCTEXT(%s, %s, %s)"), *QuoteString(FTextIdentity::GetNamespace(Value)), *QuoteString(FTextIdentity::GetKey(Value)),
			*QuoteString(Value.ToString()));
		break;
	case FTextIdentity::EOrigin::Localized:
		ValueStr += FString::Printf(TEXT("LOCTEXT(%s, %s)"), *QuoteString(FTextIdentity::GetKey(Value)), *QuoteString(Value.ToString()));
		break;
	default:
		ValueStr += TEXT("INVTEXT(") + QuoteString(Value.ToString()) + TEXT(")");
		break;
	}
}

namespace
{
	// Reads "MACRO(" followed by quoted arguments and ")", into OutArguments.
	const TCHAR* ReadTextMacro(const TCHAR* Buffer, int32 ArgumentCount, TArray<FString>& OutArguments)
	{
		for (int32 Argument = 0; Argument < ArgumentCount; ++Argument)
		{
			SkipWhitespace(Buffer);
			if (Argument > 0)
			{
				if (*Buffer != ',')
				{
					return nullptr;
				}
				++Buffer;
				SkipWhitespace(Buffer);
			}
			FString Value;
			Buffer = ReadQuotedString(Buffer, Value);
			if (!Buffer)
			{
				return nullptr;
			}
			OutArguments.Add(Value);
		}
		SkipWhitespace(Buffer);
		return *Buffer == ')' ? Buffer + 1 : nullptr;
	}
}

const TCHAR* FTextProperty::ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	const TCHAR* Start = Buffer;
	SkipWhitespace(Buffer);
	struct FMacro
	{
		const TCHAR* Name;
		int32 ArgumentCount;
	};
	static const FMacro Macros[] = {{TEXT("NSLOCTEXT("), 3}, {TEXT("LOCTEXT("), 2}, {TEXT("INVTEXT("), 1}};
	for (const FMacro& Macro : Macros)
	{
		const int32 NameLength = FCString::Strlen(Macro.Name);
		if (FCString::Strncmp(Buffer, Macro.Name, static_cast<SIZE_T>(NameLength)) == 0)
		{
			TArray<FString> Arguments;
			const TCHAR* End = ReadTextMacro(Buffer + NameLength, Macro.ArgumentCount, Arguments);
			if (!End)
			{
				if (ErrorText)
				{
					ErrorText->Logf(ELogVerbosity::Warning, TEXT("Import failed for '%s': malformed %s...) in: %s"), *GetName(), Macro.Name, Start);
				}
				return nullptr;
			}
			using UE::Host::FTextIdentity;
			*static_cast<FText*>(PropertyValue) = Macro.ArgumentCount == 3 ? FTextIdentity::Make(Arguments[2], FTextIdentity::EOrigin::NamespacedLocalized, Arguments[0], Arguments[1])
				: Macro.ArgumentCount == 2 ? FTextIdentity::Make(Arguments[1], FTextIdentity::EOrigin::Localized, FString(), Arguments[0])
				: FTextIdentity::Make(Arguments[0], FTextIdentity::EOrigin::Invariant);
			return End;
		}
	}
	if (FCString::Strncmp(Buffer, TEXT("LOCTABLE("), 9) == 0)
	{
		if (ErrorText)
		{
			ErrorText->Logf(ELogVerbosity::Warning, TEXT("Import failed for '%s': string table references are not resolved here: %s"), *GetName(), Start);
		}
		return nullptr;
	}
	if (*Buffer == '"')
	{
		FString Value;
		const TCHAR* End = ReadQuotedString(Buffer, Value);
		if (!End)
		{
			if (ErrorText)
			{
				ErrorText->Logf(ELogVerbosity::Warning, TEXT("Import failed for '%s': bad quoted string in: %s"), *GetName(), Start);
			}
			return nullptr;
		}
		*static_cast<FText*>(PropertyValue) = FText::FromString(Value);
		return End;
	}
	if ((PortFlags & PPF_Delimited) != 0)
	{
		if (ErrorText)
		{
			ErrorText->Logf(ELogVerbosity::Warning, TEXT("Import failed for '%s': expected a quoted text in: %s"), *GetName(), Start);
		}
		return nullptr;
	}
	*static_cast<FText*>(PropertyValue) = FText::FromString(FString(Start));
	return Start + FCString::Strlen(Start);
}
