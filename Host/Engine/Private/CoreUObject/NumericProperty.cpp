// Numbers, byte enums and enum-class properties.
#include "UObject/EnumProperty.h"
#include "UObject/UnrealType.h"

#include "Misc/OutputDevice.h"
#include "PropertyText.h"

UE_HOST_IMPLEMENT_FIELD(FNumericProperty, FProperty)
UE_HOST_IMPLEMENT_FIELD(FInt8Property, FNumericProperty)
UE_HOST_IMPLEMENT_FIELD(FInt16Property, FNumericProperty)
UE_HOST_IMPLEMENT_FIELD(FIntProperty, FNumericProperty)
UE_HOST_IMPLEMENT_FIELD(FInt64Property, FNumericProperty)
UE_HOST_IMPLEMENT_FIELD(FUInt16Property, FNumericProperty)
UE_HOST_IMPLEMENT_FIELD(FUInt32Property, FNumericProperty)
UE_HOST_IMPLEMENT_FIELD(FUInt64Property, FNumericProperty)
UE_HOST_IMPLEMENT_FIELD(FFloatProperty, FNumericProperty)
UE_HOST_IMPLEMENT_FIELD(FDoubleProperty, FNumericProperty)
UE_HOST_IMPLEMENT_FIELD(FByteProperty, FNumericProperty)
UE_HOST_IMPLEMENT_FIELD(FEnumProperty, FProperty)

using namespace UE::Host::PropertyText;

namespace
{
	bool IsHexPrefix(const TCHAR* Text)
	{
		return Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X');
	}

	void LogImportFailure(FOutputDevice* ErrorText, const FProperty& Property, const TCHAR* Reason, const TCHAR* Buffer)
	{
		if (ErrorText)
		{
			ErrorText->Logf(ELogVerbosity::Warning, TEXT("Import failed for '%s': %s: %s"), *Property.GetName(), Reason, Buffer);
		}
	}
}

// FNumericProperty

const TCHAR* FNumericProperty::ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	SkipWhitespace(Buffer);
	const TCHAR* Start = Buffer;
	if (IsInteger())
	{
		if (FChar::IsAlpha(*Buffer))
		{
			// "EnumName::Value" of any enum stands for its number.
			const int64 EnumValue = UEnum::ParseEnum(Buffer);
			if (EnumValue == INDEX_NONE)
			{
				LogImportFailure(ErrorText, *this, TEXT("not a number"), Start);
				return nullptr;
			}
			SetIntPropertyValue(PropertyValue, EnumValue);
			return Buffer;
		}
		if (IsHexPrefix(Buffer))
		{
			Buffer += 2;
			while (FChar::IsHexDigit(*Buffer))
			{
				++Buffer;
			}
		}
		else
		{
			while (*Buffer == '-' || *Buffer == '+')
			{
				++Buffer;
			}
			while (FChar::IsDigit(*Buffer))
			{
				++Buffer;
			}
		}
		if (Buffer == Start || !FChar::IsHexDigit(Buffer[-1]))
		{
			LogImportFailure(ErrorText, *this, TEXT("not a number"), Start);
			return nullptr;
		}
	}
	else
	{
		bool bHasDigit = false;
		while (*Buffer == '+' || *Buffer == '-' || *Buffer == '.' || FChar::IsDigit(*Buffer))
		{
			bHasDigit |= FChar::IsDigit(*Buffer);
			++Buffer;
		}
		if (bHasDigit && (*Buffer == 'e' || *Buffer == 'E'))
		{
			const TCHAR* Exponent = Buffer + 1;
			if (*Exponent == '+' || *Exponent == '-')
			{
				++Exponent;
			}
			if (FChar::IsDigit(*Exponent))
			{
				while (FChar::IsDigit(*Exponent))
				{
					++Exponent;
				}
				Buffer = Exponent;
			}
		}
		if (*Buffer == 'f' || *Buffer == 'F')
		{
			++Buffer;
		}
		// The engine reads such text as 0; a value without a digit is refused here instead.
		if (!bHasDigit)
		{
			LogImportFailure(ErrorText, *this, TEXT("not a number"), Start);
			return nullptr;
		}
	}
	SetNumericPropertyValueFromString(PropertyValue, Start);
	return Buffer;
}

// TProperty_Numeric

template<typename InTCppType>
void TProperty_Numeric<InTCppType>::SetNumericPropertyValueFromString(void* Data, TCHAR const* Value) const
{
	if constexpr (std::is_floating_point_v<TCppType>)
	{
		Super::SetPropertyValue(Data, static_cast<TCppType>(FCString::Atod(Value)));
	}
	else if (IsHexPrefix(Value))
	{
		Super::SetPropertyValue(Data, static_cast<TCppType>(FCString::Strtoui64(Value + 2, nullptr, 16)));
	}
	else if constexpr (std::is_signed_v<TCppType>)
	{
		Super::SetPropertyValue(Data, static_cast<TCppType>(FCString::Atoi64(Value)));
	}
	else
	{
		const TCHAR* Digits = Value;
		while (*Digits == '+')
		{
			++Digits;
		}
		Super::SetPropertyValue(Data, *Digits == '-' ? static_cast<TCppType>(FCString::Atoi64(Digits)) : static_cast<TCppType>(FCString::Strtoui64(Digits, nullptr, 10)));
	}
}

template<typename InTCppType>
FString TProperty_Numeric<InTCppType>::GetNumericPropertyValueToString(void const* Data) const
{
	const TCppType Value = Super::GetPropertyValue(Data);
	if constexpr (std::is_floating_point_v<TCppType>)
	{
		return FString::Printf(TEXT("%f"), static_cast<double>(Value));
	}
	else if constexpr (std::is_signed_v<TCppType>)
	{
		return FString::Printf(TEXT("%lld"), static_cast<long long>(Value));
	}
	else
	{
		return FString::Printf(TEXT("%llu"), static_cast<unsigned long long>(Value));
	}
}

template<typename InTCppType>
FString TProperty_Numeric<InTCppType>::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	if constexpr (std::is_same_v<TCppType, int8>) { return TEXT("int8"); }
	else if constexpr (std::is_same_v<TCppType, int16>) { return TEXT("int16"); }
	else if constexpr (std::is_same_v<TCppType, int32>) { return TEXT("int32"); }
	else if constexpr (std::is_same_v<TCppType, int64>) { return TEXT("int64"); }
	else if constexpr (std::is_same_v<TCppType, uint8>) { return TEXT("uint8"); }
	else if constexpr (std::is_same_v<TCppType, uint16>) { return TEXT("uint16"); }
	else if constexpr (std::is_same_v<TCppType, uint32>) { return TEXT("uint32"); }
	else if constexpr (std::is_same_v<TCppType, uint64>) { return TEXT("uint64"); }
	else if constexpr (std::is_same_v<TCppType, float>) { return TEXT("float"); }
	else { return TEXT("double"); }
}

template class TProperty_Numeric<int8>;
template class TProperty_Numeric<int16>;
template class TProperty_Numeric<int32>;
template class TProperty_Numeric<int64>;
template class TProperty_Numeric<uint8>;
template class TProperty_Numeric<uint16>;
template class TProperty_Numeric<uint32>;
template class TProperty_Numeric<uint64>;
template class TProperty_Numeric<float>;
template class TProperty_Numeric<double>;

namespace
{
	// The enumerator index for a name (short or qualified) or, failing that, a number that is
	// one of the enum's values.
	int32 FindEnumIndex(const UEnum& Enum, const FString& Token)
	{
		int32 Index = Enum.GetIndexByNameString(Token);
		if (Index == INDEX_NONE && !Token.IsEmpty() && Token.IsNumeric() && !Token.Contains(TEXT(".")))
		{
			Index = Enum.GetIndexByValue(FCString::Atoi64(*Token));
		}
		return Index;
	}
}

// FByteProperty

FString FByteProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	if (!Enum)
	{
		return TEXT("uint8");
	}
	return Enum->GetCppForm() == UEnum::ECppForm::Namespaced
		? FString::Printf(TEXT("TEnumAsByte<%s::Type>"), *Enum->GetName())
		: FString::Printf(TEXT("TEnumAsByte<%s>"), *Enum->GetName());
}

void FByteProperty::ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	if (Enum && (PortFlags & PPF_ConsoleVariable) == 0)
	{
		const int64 Value = GetPropertyValue(PropertyValue);
		// The generated _MAX entry is not a value anyone meant to store.
		if (Value >= Enum->GetMaxEnumValue() && (PortFlags & PPF_Copy) == 0)
		{
			ValueStr += TEXT("(INVALID)");
		}
		else
		{
			ValueStr += Enum->GetNameStringByValue(Value);
		}
		return;
	}
	Super::ExportText_Internal(ValueStr, PropertyValue, DefaultValue, Parent, PortFlags, ExportRootScope);
}

const TCHAR* FByteProperty::ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	if (Enum && (PortFlags & PPF_ConsoleVariable) == 0)
	{
		SkipWhitespace(Buffer);
		FString Token;
		const TCHAR* End = ReadToken(Buffer, Token, true);
		const int32 Index = End ? FindEnumIndex(*Enum, Token) : INDEX_NONE;
		if (Index == INDEX_NONE)
		{
			if (ErrorText)
			{
				ErrorText->Logf(ELogVerbosity::Warning, TEXT("Import failed for '%s': '%s' is not a value of %s"), *GetName(), Buffer, *Enum->GetName());
			}
			return nullptr;
		}
		SetPropertyValue(PropertyValue, static_cast<uint8>(Enum->GetValueByIndex(Index)));
		return End;
	}
	if (!Enum)
	{
		// A bool exported into what is now a byte.
		SkipWhitespace(Buffer);
		if (FCString::Strnicmp(Buffer, TEXT("True"), 4) == 0 && !FChar::IsAlnum(Buffer[4]))
		{
			SetPropertyValue(PropertyValue, 1);
			return Buffer + 4;
		}
		if (FCString::Strnicmp(Buffer, TEXT("False"), 5) == 0 && !FChar::IsAlnum(Buffer[5]))
		{
			SetPropertyValue(PropertyValue, 0);
			return Buffer + 5;
		}
	}
	return FNumericProperty::ImportText_Internal(Buffer, PropertyValue, OwnerObject, PortFlags, ErrorText);
}

// FEnumProperty

FEnumProperty::FEnumProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, UEnum* InEnum, FNumericProperty* InUnderlyingProp)
	: FProperty(InOwner, InName, InObjectFlags)
	, UnderlyingProp(nullptr)
	, Enum(InEnum)
{
	if (InUnderlyingProp)
	{
		SetUnderlyingProperty(InUnderlyingProp);
	}
}

FEnumProperty::~FEnumProperty()
{
	delete UnderlyingProp;
}

void FEnumProperty::SetUnderlyingProperty(FNumericProperty* InUnderlyingProp)
{
	delete UnderlyingProp;
	UnderlyingProp = InUnderlyingProp;
	ElementSize = UnderlyingProp->ElementSize;
}

bool FEnumProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	return UnderlyingProp->Identical(A, B, PortFlags);
}

FString FEnumProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return Enum ? Enum->GetName() : FString(TEXT("uint8"));
}

void FEnumProperty::ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	if (!Enum || (PortFlags & PPF_ConsoleVariable) != 0)
	{
		UnderlyingProp->ExportTextItem_Direct(ValueStr, PropertyValue, DefaultValue, Parent, PortFlags, ExportRootScope);
		return;
	}
	const int64 Value = UnderlyingProp->GetSignedIntPropertyValue(PropertyValue);
	if (Value == Enum->GetMaxEnumValue() && (PortFlags & PPF_Copy) == 0)
	{
		ValueStr += TEXT("(INVALID)");
		return;
	}
	ValueStr += Enum->GetNameStringByValue(Value);
}

const TCHAR* FEnumProperty::ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	if (Enum && (PortFlags & PPF_ConsoleVariable) == 0)
	{
		SkipWhitespace(Buffer);
		FString Token;
		const TCHAR* End = ReadToken(Buffer, Token, true);
		const int32 Index = End ? FindEnumIndex(*Enum, Token) : INDEX_NONE;
		if (Index == INDEX_NONE)
		{
			if (ErrorText)
			{
				ErrorText->Logf(ELogVerbosity::Warning, TEXT("Import failed for '%s': '%s' is not a value of %s"), *GetName(), Buffer, *Enum->GetName());
			}
			return nullptr;
		}
		UnderlyingProp->SetIntPropertyValue(PropertyValue, Enum->GetValueByIndex(Index));
		return End;
	}
	return UnderlyingProp->ImportText_Direct(Buffer, PropertyValue, OwnerObject, PortFlags, ErrorText);
}

void FEnumProperty::CopyValuesInternal(void* Dest, void const* Src, int32 Count) const
{
	for (int32 Index = 0; Index < Count; ++Index)
	{
		UnderlyingProp->CopySingleValue(static_cast<uint8*>(Dest) + Index * ElementSize, static_cast<const uint8*>(Src) + Index * ElementSize);
	}
}

void FEnumProperty::InitializeValueInternal(void* Dest) const
{
	for (int32 Index = 0; Index < ArrayDim; ++Index)
	{
		UnderlyingProp->SetIntPropertyValue(static_cast<uint8*>(Dest) + Index * ElementSize, int64(0));
	}
}

void FEnumProperty::ClearValueInternal(void* Data) const
{
	UnderlyingProp->SetIntPropertyValue(Data, int64(0));
}
