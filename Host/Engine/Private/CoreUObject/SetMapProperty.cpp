// Set and map properties. The host has no layout shared by every TSet<T> or TMap<K,V>, so such a
// value is held as one block per entry, in insertion order, built and compared through the
// element (or key and value) properties.
#include "UObject/UnrealType.h"

#include "Misc/OutputDevice.h"
#include "PropertyText.h"
#include "StructDefaults.h"

#include <cstddef>
#include <new>

UE_HOST_IMPLEMENT_FIELD(FSetProperty, FProperty)
UE_HOST_IMPLEMENT_FIELD(FMapProperty, FProperty)

using namespace UE::Host::PropertyText;

namespace
{
	// What a set or map value is in its container.
	struct FScriptContainer
	{
		TArray<uint8*> Entries;
	};

	FScriptContainer& ContainerAt(void* Value)
	{
		return *static_cast<FScriptContainer*>(Value);
	}

	int32 AlignUp(int32 Value, int32 Alignment)
	{
		return (Value + Alignment - 1) / Alignment * Alignment;
	}

	// One entry: a set's element, or a map's key followed by its value.
	class FEntryLayout
	{
	public:
		explicit FEntryLayout(const FProperty* InFirst, const FProperty* InSecond = nullptr)
			: First(InFirst)
			, Second(InSecond)
			, SecondOffset(InSecond ? AlignUp(InFirst->GetSize(), FMath::Max(InSecond->GetMinAlignment(), 1)) : 0)
			, Size(FMath::Max(InSecond ? SecondOffset + InSecond->GetSize() : InFirst->GetSize(), 1))
			, Alignment(static_cast<std::align_val_t>(FMath::Max(FMath::Max(InFirst->GetMinAlignment(), InSecond ? InSecond->GetMinAlignment() : 1), static_cast<int32>(alignof(std::max_align_t)))))
		{
		}

		uint8* New() const
		{
			uint8* Entry = static_cast<uint8*>(::operator new(static_cast<size_t>(Size), Alignment));
			First->InitializeValue(Entry);
			if (Second)
			{
				Second->InitializeValue(Entry + SecondOffset);
			}
			return Entry;
		}

		uint8* Clone(const uint8* Source) const
		{
			uint8* Entry = New();
			Assign(Entry, Source);
			return Entry;
		}

		void Assign(uint8* Dest, const uint8* Source) const
		{
			First->CopySingleValue(Dest, Source);
			if (Second)
			{
				Second->CopySingleValue(Dest + SecondOffset, Source + SecondOffset);
			}
		}

		void Delete(uint8* Entry) const
		{
			First->DestroyValue(Entry);
			if (Second)
			{
				Second->DestroyValue(Entry + SecondOffset);
			}
			::operator delete(Entry, Alignment);
		}

		void Empty(FScriptContainer& Container) const
		{
			for (uint8* Entry : Container.Entries)
			{
				Delete(Entry);
			}
			Container.Entries.Empty();
		}

		void RemoveAt(FScriptContainer& Container, int32 Index, int32 Count) const
		{
			for (int32 Offset = 0; Offset < Count; ++Offset)
			{
				Delete(Container.Entries[Index + Offset]);
			}
			Container.Entries.RemoveAt(Index, Count);
		}

		// The first entry before Limit whose leading part is the same key as Value. String keys
		// ignore case, as TSet<FString> and TMap<FString, V> hash and compare them.
		int32 Find(const FScriptContainer& Container, const void* Value, int32 Limit) const
		{
			const FStrProperty* StringKey = CastField<FStrProperty>(First);
			for (int32 Index = 0; Index < Limit; ++Index)
			{
				const bool bSameKey = StringKey ? StringKey->GetPropertyValue(Container.Entries[Index]).Equals(StringKey->GetPropertyValue(Value), ESearchCase::IgnoreCase)
					: First->Identical(Container.Entries[Index], Value, 0);
				if (bSameKey)
				{
					return Index;
				}
			}
			return INDEX_NONE;
		}

		// The entry just added at the end repeats an earlier one: the earlier keeps its place and
		// takes the new spelling and value, as adding an existing key to a TSet or TMap does.
		void FoldLastIntoEarlier(FScriptContainer& Container) const
		{
			const int32 Last = Container.Entries.Num() - 1;
			const int32 Earlier = Find(Container, Container.Entries[Last], Last);
			if (Earlier != INDEX_NONE)
			{
				Assign(Container.Entries[Earlier], Container.Entries[Last]);
				RemoveAt(Container, Last, 1);
			}
		}

		void CopyContainers(void* Dest, const void* Src, int32 Count, int32 ContainerSize) const
		{
			for (int32 Index = 0; Index < Count; ++Index)
			{
				FScriptContainer& To = ContainerAt(static_cast<uint8*>(Dest) + Index * ContainerSize);
				const FScriptContainer& From = ContainerAt(const_cast<uint8*>(static_cast<const uint8*>(Src)) + Index * ContainerSize);
				if (&To == &From)
				{
					continue;
				}
				Empty(To);
				To.Entries.Reserve(From.Entries.Num());
				for (const uint8* Entry : From.Entries)
				{
					To.Entries.Add(Clone(Entry));
				}
			}
		}

		int32 GetSecondOffset() const { return SecondOffset; }

	private:
		const FProperty* First;
		const FProperty* Second;
		int32 SecondOffset;
		int32 Size;
		std::align_val_t Alignment;
	};

	void ConstructContainers(void* Dest, int32 Count)
	{
		for (int32 Index = 0; Index < Count; ++Index)
		{
			new (static_cast<uint8*>(Dest) + Index * static_cast<int32>(sizeof(FScriptContainer))) FScriptContainer();
		}
	}

	void DestroyContainers(const FEntryLayout& Layout, void* Dest, int32 Count)
	{
		for (int32 Index = 0; Index < Count; ++Index)
		{
			FScriptContainer& Container = ContainerAt(static_cast<uint8*>(Dest) + Index * static_cast<int32>(sizeof(FScriptContainer)));
			Layout.Empty(Container);
			Container.~FScriptContainer();
		}
	}

	void ImportError(FOutputDevice* ErrorText, const FProperty* Property, const TCHAR* What, const TCHAR* Buffer)
	{
		if (ErrorText)
		{
			ErrorText->Logf(ELogVerbosity::Warning, TEXT("Import failed for '%s': %s at: %s"), *Property->GetName(), What, Buffer);
		}
	}

	// Struct parts are written against their struct's defaults, as array elements are.
	const void* StructDefaultsFor(const FProperty* Property, TOptional<FStructDefaults>& Storage)
	{
		if (const FStructProperty* Struct = CastField<FStructProperty>(Property))
		{
			Storage.Emplace(Struct->Struct);
			return Storage->Get();
		}
		return nullptr;
	}

	// "(entry,entry)", each entry read and added by ReadEntry, which returns the text after it or
	// null. An empty container may be written as nothing: at the end, or as a struct field
	// (before "," or ")"). An entry that repeats an earlier key is folded into it.
	template<typename TReadEntry>
	const TCHAR* ImportEntries(const FProperty* Property, const FEntryLayout& Layout, void* PropertyValue, const TCHAR* Buffer, const TCHAR* Kind, FOutputDevice* ErrorText, TReadEntry&& ReadEntry)
	{
		FScriptContainer& Container = ContainerAt(PropertyValue);
		SkipWhitespace(Buffer);
		Layout.Empty(Container);
		if (*Buffer == '\0' || *Buffer == ')' || *Buffer == ',')
		{
			return Buffer;
		}
		if (*Buffer != '(')
		{
			ImportError(ErrorText, Property, *FString::Printf(TEXT("a %s starts with '('"), Kind), Buffer);
			return nullptr;
		}
		++Buffer;
		SkipWhitespace(Buffer);
		while (*Buffer != ')')
		{
			Buffer = ReadEntry(Buffer);
			if (!Buffer)
			{
				return nullptr;
			}
			Layout.FoldLastIntoEarlier(Container);
			SkipWhitespace(Buffer);
			if (*Buffer != ',')
			{
				break;
			}
			++Buffer;
			SkipWhitespace(Buffer);
		}
		if (*Buffer != ')')
		{
			ImportError(ErrorText, Property, TEXT("missing ')'"), Buffer);
			return nullptr;
		}
		return Buffer + 1;
	}
}

// FSetProperty

FSetProperty::FSetProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FProperty(InOwner, InName, InObjectFlags)
{
	ElementSize = sizeof(FScriptContainer);
}

FSetProperty::~FSetProperty()
{
	delete ElementProp;
}

void FSetProperty::AddCppProperty(FProperty* Property)
{
	check(!ElementProp && Property);
	ElementProp = Property;
}

bool FSetProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	const FScriptSetHelper HelperA(this, A);
	if (!B)
	{
		return HelperA.Num() == 0;
	}
	const FScriptSetHelper HelperB(this, B);
	if (HelperA.Num() != HelperB.Num())
	{
		return false;
	}
	for (int32 Index = 0; Index < HelperA.Num(); ++Index)
	{
		if (HelperB.FindElementIndex(HelperA.GetElementPtr(Index)) == INDEX_NONE)
		{
			return false;
		}
	}
	return true;
}

FString FSetProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return FString::Printf(TEXT("TSet<%s>"), *ElementProp->GetCPPType());
}

int32 FSetProperty::GetMinAlignment() const
{
	return alignof(FScriptContainer);
}

void FSetProperty::ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	const FScriptSetHelper Helper(this, PropertyValue);
	if (Helper.Num() == 0)
	{
		ValueStr += TEXT("()");
		return;
	}
	TOptional<FStructDefaults> StructDefaults;
	const void* ElementDefault = StructDefaultsFor(ElementProp, StructDefaults);
	for (int32 Index = 0; Index < Helper.Num(); ++Index)
	{
		ValueStr.AppendChar(Index == 0 ? TEXT('(') : TEXT(','));
		ElementProp->ExportTextItem_Direct(ValueStr, Helper.GetElementPtr(Index), ElementDefault, Parent, PortFlags | PPF_Delimited, ExportRootScope);
	}
	ValueStr.AppendChar(TEXT(')'));
}

const TCHAR* FSetProperty::ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	FScriptSetHelper Helper(this, PropertyValue);
	const TCHAR* End = ImportEntries(this, FEntryLayout(ElementProp), PropertyValue, Buffer, TEXT("set"), ErrorText, [&](const TCHAR* Entry)
	{
		const int32 Index = Helper.AddDefaultValue_Invalid_NeedsRehash();
		return ElementProp->ImportText_Direct(Entry, Helper.GetElementPtr(Index), OwnerObject, PortFlags | PPF_Delimited, ErrorText);
	});
	Helper.Rehash();
	return End;
}

void FSetProperty::CopyValuesInternal(void* Dest, void const* Src, int32 Count) const
{
	FEntryLayout(ElementProp).CopyContainers(Dest, Src, Count, ElementSize);
}

void FSetProperty::InitializeValueInternal(void* Dest) const
{
	ConstructContainers(Dest, ArrayDim);
}

void FSetProperty::DestroyValueInternal(void* Dest) const
{
	DestroyContainers(FEntryLayout(ElementProp), Dest, ArrayDim);
}

void FSetProperty::ClearValueInternal(void* Data) const
{
	FEntryLayout(ElementProp).Empty(ContainerAt(Data));
}

// FMapProperty

FMapProperty::FMapProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags)
	: FProperty(InOwner, InName, InObjectFlags)
{
	ElementSize = sizeof(FScriptContainer);
}

FMapProperty::~FMapProperty()
{
	delete KeyProp;
	delete ValueProp;
}

void FMapProperty::AddCppProperty(FProperty* Property)
{
	check(Property && !ValueProp);
	(KeyProp ? ValueProp : KeyProp) = Property;
}

bool FMapProperty::Identical(const void* A, const void* B, uint32 PortFlags) const
{
	const FScriptMapHelper HelperA(this, A);
	if (!B)
	{
		return HelperA.Num() == 0;
	}
	const FScriptMapHelper HelperB(this, B);
	if (HelperA.Num() != HelperB.Num())
	{
		return false;
	}
	for (int32 Index = 0; Index < HelperA.Num(); ++Index)
	{
		const int32 Other = HelperB.FindMapIndexWithKey(HelperA.GetKeyPtr(Index));
		if (Other == INDEX_NONE || !ValueProp->Identical(HelperA.GetValuePtr(Index), HelperB.GetValuePtr(Other), PortFlags))
		{
			return false;
		}
	}
	return true;
}

FString FMapProperty::GetCPPType(FString* ExtendedTypeText, uint32 CPPExportFlags) const
{
	return FString::Printf(TEXT("TMap<%s,%s>"), *KeyProp->GetCPPType(), *ValueProp->GetCPPType());
}

int32 FMapProperty::GetMinAlignment() const
{
	return alignof(FScriptContainer);
}

void FMapProperty::ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	const FScriptMapHelper Helper(this, PropertyValue);
	if (Helper.Num() == 0)
	{
		ValueStr += TEXT("()");
		return;
	}
	TOptional<FStructDefaults> KeyDefaults;
	TOptional<FStructDefaults> ValueDefaults;
	const void* KeyDefault = StructDefaultsFor(KeyProp, KeyDefaults);
	const void* ValueDefault = StructDefaultsFor(ValueProp, ValueDefaults);
	ValueStr.AppendChar(TEXT('('));
	for (int32 Index = 0; Index < Helper.Num(); ++Index)
	{
		ValueStr += Index == 0 ? TEXT("(") : TEXT(",(");
		KeyProp->ExportTextItem_Direct(ValueStr, Helper.GetKeyPtr(Index), KeyDefault, Parent, PortFlags | PPF_Delimited, ExportRootScope);
		ValueStr += TEXT(", ");
		ValueProp->ExportTextItem_Direct(ValueStr, Helper.GetValuePtr(Index), ValueDefault, Parent, PortFlags | PPF_Delimited, ExportRootScope);
		ValueStr.AppendChar(TEXT(')'));
	}
	ValueStr.AppendChar(TEXT(')'));
}

const TCHAR* FMapProperty::ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const
{
	FScriptMapHelper Helper(this, PropertyValue);
	const TCHAR* End = ImportEntries(this, FEntryLayout(KeyProp, ValueProp), PropertyValue, Buffer, TEXT("map"), ErrorText, [&](const TCHAR* Pair) -> const TCHAR*
	{
		if (*Pair != '(')
		{
			ImportError(ErrorText, this, TEXT("a pair starts with '('"), Pair);
			return nullptr;
		}
		++Pair;
		SkipWhitespace(Pair);
		const int32 Index = Helper.AddDefaultValue_Invalid_NeedsRehash();
		Pair = KeyProp->ImportText_Direct(Pair, Helper.GetKeyPtr(Index), OwnerObject, PortFlags | PPF_Delimited, ErrorText);
		if (!Pair)
		{
			return nullptr;
		}
		SkipWhitespace(Pair);
		if (*Pair != ',')
		{
			ImportError(ErrorText, this, TEXT("a pair separates its key and value with ','"), Pair);
			return nullptr;
		}
		++Pair;
		SkipWhitespace(Pair);
		Pair = ValueProp->ImportText_Direct(Pair, Helper.GetValuePtr(Index), OwnerObject, PortFlags | PPF_Delimited, ErrorText);
		if (!Pair)
		{
			return nullptr;
		}
		SkipWhitespace(Pair);
		if (*Pair != ')')
		{
			ImportError(ErrorText, this, TEXT("a pair ends with ')'"), Pair);
			return nullptr;
		}
		return Pair + 1;
	});
	Helper.Rehash();
	return End;
}

void FMapProperty::CopyValuesInternal(void* Dest, void const* Src, int32 Count) const
{
	FEntryLayout(KeyProp, ValueProp).CopyContainers(Dest, Src, Count, ElementSize);
}

void FMapProperty::InitializeValueInternal(void* Dest) const
{
	ConstructContainers(Dest, ArrayDim);
}

void FMapProperty::DestroyValueInternal(void* Dest) const
{
	DestroyContainers(FEntryLayout(KeyProp, ValueProp), Dest, ArrayDim);
}

void FMapProperty::ClearValueInternal(void* Data) const
{
	FEntryLayout(KeyProp, ValueProp).Empty(ContainerAt(Data));
}

// FScriptSetHelper

FScriptSetHelper::FScriptSetHelper(const FSetProperty* InProperty, const void* InSet)
	: Property(InProperty)
	, Set(const_cast<void*>(InSet))
{
}

int32 FScriptSetHelper::Num() const
{
	return ContainerAt(Set).Entries.Num();
}

uint8* FScriptSetHelper::GetElementPtr(int32 Index) const
{
	return ContainerAt(Set).Entries[Index];
}

void FScriptSetHelper::EmptyElements(int32 Slack)
{
	FEntryLayout(Property->GetElementProperty()).Empty(ContainerAt(Set));
	ContainerAt(Set).Entries.Reserve(Slack);
}

int32 FScriptSetHelper::AddDefaultValue_Invalid_NeedsRehash()
{
	return ContainerAt(Set).Entries.Add(FEntryLayout(Property->GetElementProperty()).New());
}

void FScriptSetHelper::RemoveAt(int32 Index, int32 Count)
{
	FEntryLayout(Property->GetElementProperty()).RemoveAt(ContainerAt(Set), Index, Count);
}

int32 FScriptSetHelper::FindElementIndex(const void* ElementToFind) const
{
	return FEntryLayout(Property->GetElementProperty()).Find(ContainerAt(Set), ElementToFind, Num());
}

// FScriptMapHelper

FScriptMapHelper::FScriptMapHelper(const FMapProperty* InProperty, const void* InMap)
	: Property(InProperty)
	, Map(const_cast<void*>(InMap))
{
}

int32 FScriptMapHelper::Num() const
{
	return ContainerAt(Map).Entries.Num();
}

uint8* FScriptMapHelper::GetPairPtr(int32 Index) const
{
	return ContainerAt(Map).Entries[Index];
}

uint8* FScriptMapHelper::GetValuePtr(int32 Index) const
{
	return GetPairPtr(Index) + FEntryLayout(Property->GetKeyProperty(), Property->GetValueProperty()).GetSecondOffset();
}

void FScriptMapHelper::EmptyValues(int32 Slack)
{
	FEntryLayout(Property->GetKeyProperty(), Property->GetValueProperty()).Empty(ContainerAt(Map));
	ContainerAt(Map).Entries.Reserve(Slack);
}

int32 FScriptMapHelper::AddDefaultValue_Invalid_NeedsRehash()
{
	return ContainerAt(Map).Entries.Add(FEntryLayout(Property->GetKeyProperty(), Property->GetValueProperty()).New());
}

void FScriptMapHelper::RemoveAt(int32 Index, int32 Count)
{
	FEntryLayout(Property->GetKeyProperty(), Property->GetValueProperty()).RemoveAt(ContainerAt(Map), Index, Count);
}

int32 FScriptMapHelper::FindMapIndexWithKey(const void* KeyPtr, int32 IndexHint) const
{
	const FEntryLayout Layout(Property->GetKeyProperty(), Property->GetValueProperty());
	if (IsValidIndex(IndexHint) && Property->GetKeyProperty()->Identical(GetKeyPtr(IndexHint), KeyPtr, 0))
	{
		return IndexHint;
	}
	return Layout.Find(ContainerAt(Map), KeyPtr, Num());
}
