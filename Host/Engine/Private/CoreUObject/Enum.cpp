#include "Host/ReflectionBuilder.h"
#include "ObjectRegistry.h"
#include "UObject/Class.h"

IMPLEMENT_CORE_INTRINSIC_CLASS(UEnum, UField, {})

namespace
{
	// The text after "::", or all of it.
	FString ShortName(const FString& Name)
	{
		const int32 Scope = Name.Find(TEXT("::"), ESearchCase::CaseSensitive);
		return Scope == INDEX_NONE ? Name : Name.RightChop(Scope + 2);
	}
}

void UEnum::SetEnums(const TArray<TPair<FName, int64>>& InNames, ECppForm InCppForm, bool bAddMaxKeyIfMissing)
{
	CppForm = InCppForm;
	Names.Empty();
	const FString Scope = GetName() + TEXT("::");
	for (const TPair<FName, int64>& Entry : InNames)
	{
		FString Name = Entry.Key.ToString();
		if (CppForm != ECppForm::Regular && !Name.Contains(TEXT("::")))
		{
			Name = Scope + Name;
		}
		Names.Add(TPair<FName, int64>(FName(Name), Entry.Value));
	}
	if (bAddMaxKeyIfMissing && !ContainsExistingMax())
	{
		int64 MaxValue = -1;
		for (const TPair<FName, int64>& Entry : Names)
		{
			MaxValue = FMath::Max(MaxValue, Entry.Value);
		}
		const FString MaxName = CppForm == ECppForm::Regular ? GenerateEnumPrefix() + TEXT("_MAX") : Scope + GetName() + TEXT("_MAX");
		Names.Add(TPair<FName, int64>(FName(MaxName), MaxValue + 1));
	}
	EnumeratorMetaData.SetNum(Names.Num());
}

FName UEnum::GetNameByIndex(int32 Index) const
{
	return Names.IsValidIndex(Index) ? Names[Index].Key : FName(NAME_None);
}

int64 UEnum::GetValueByIndex(int32 Index) const
{
	return Names.IsValidIndex(Index) ? Names[Index].Value : INDEX_NONE;
}

FName UEnum::GetNameByValue(int64 InValue) const
{
	return GetNameByIndex(GetIndexByValue(InValue));
}

FString UEnum::GetNameStringByIndex(int32 Index) const
{
	if (!Names.IsValidIndex(Index))
	{
		return FString();
	}
	const FString Name = Names[Index].Key.ToString();
	return CppForm == ECppForm::Regular ? Name : ShortName(Name);
}

FString UEnum::GetNameStringByValue(int64 InValue) const
{
	return GetNameStringByIndex(GetIndexByValue(InValue));
}

FText UEnum::GetDisplayNameTextByIndex(int32 Index) const
{
	const FString DisplayName = GetMetaData(TEXT("DisplayName"), Index);
	return FText::FromString(DisplayName.IsEmpty() ? GetNameStringByIndex(Index) : DisplayName);
}

FText UEnum::GetDisplayNameTextByValue(int64 InValue) const
{
	return GetDisplayNameTextByIndex(GetIndexByValue(InValue));
}

int32 UEnum::GetIndexByName(const FName InName, EGetByNameFlags Flags) const
{
	return GetIndexByNameString(InName.ToString(), Flags);
}

int32 UEnum::GetIndexByNameString(const FString& SearchString, EGetByNameFlags Flags) const
{
	const ESearchCase::Type SearchCase = EnumHasAnyFlags(Flags, EGetByNameFlags::CaseSensitive) ? ESearchCase::CaseSensitive : ESearchCase::IgnoreCase;
	const FString Search = SearchString.TrimStartAndEnd();
	if (Search.IsEmpty())
	{
		return INDEX_NONE;
	}
	// A qualified name must name this enum; the short part then decides.
	const int32 Scope = Search.Find(TEXT("::"), ESearchCase::CaseSensitive);
	if (Scope != INDEX_NONE && !Search.Left(Scope).Equals(GetName(), SearchCase))
	{
		return INDEX_NONE;
	}
	const FString Short = ShortName(Search);
	for (int32 Index = 0; Index < Names.Num(); ++Index)
	{
		if (GetNameStringByIndex(Index).Equals(Short, SearchCase))
		{
			return Index;
		}
	}
	return INDEX_NONE;
}

int64 UEnum::GetValueByName(const FName InName, EGetByNameFlags Flags) const
{
	return GetValueByIndex(GetIndexByName(InName, Flags));
}

int64 UEnum::GetValueByNameString(const FString& SearchString, EGetByNameFlags Flags) const
{
	return GetValueByIndex(GetIndexByNameString(SearchString, Flags));
}

int32 UEnum::GetIndexByValue(int64 InValue) const
{
	for (int32 Index = 0; Index < Names.Num(); ++Index)
	{
		if (Names[Index].Value == InValue)
		{
			return Index;
		}
	}
	return INDEX_NONE;
}

int64 UEnum::GetMaxEnumValue() const
{
	if (Names.IsEmpty())
	{
		return 0;
	}
	int64 MaxValue = Names[0].Value;
	for (const TPair<FName, int64>& Entry : Names)
	{
		MaxValue = FMath::Max(MaxValue, Entry.Value);
	}
	return MaxValue;
}

bool UEnum::ContainsExistingMax() const
{
	for (int32 Index = 0; Index < Names.Num(); ++Index)
	{
		if (GetNameStringByIndex(Index).EndsWith(TEXT("_MAX"), ESearchCase::CaseSensitive))
		{
			return true;
		}
	}
	return false;
}

FString UEnum::GenerateEnumPrefix() const
{
	FString Prefix;
	if (Names.Num() > 0)
	{
		Prefix = Names[0].Key.ToString();
		for (int32 Index = 1; Index < Names.Num(); ++Index)
		{
			const FString Name = Names[Index].Key.ToString();
			int32 Common = 0;
			while (Common < Prefix.Len() && Common < Name.Len() && Prefix[Common] == Name[Common])
			{
				++Common;
			}
			Prefix = Prefix.Left(Common);
		}
		int32 Underscore = INDEX_NONE;
		Prefix = Prefix.FindLastChar(TEXT('_'), Underscore) && Underscore > 0 ? Prefix.Left(Underscore) : FString();
	}
	return Prefix.IsEmpty() ? GetName() : Prefix;
}

#if WITH_EDITORONLY_DATA
FString UEnum::GetMetaData(const TCHAR* Key, int32 NameIndex, bool bAllowRemap) const
{
	if (NameIndex == INDEX_NONE)
	{
		return UField::GetMetaData(Key);
	}
	if (!EnumeratorMetaData.IsValidIndex(NameIndex))
	{
		return FString();
	}
	const FString* Found = EnumeratorMetaData[NameIndex].Find(FName(Key));
	return Found ? *Found : FString();
}

bool UEnum::HasMetaData(const TCHAR* Key, int32 NameIndex) const
{
	if (NameIndex == INDEX_NONE)
	{
		return UField::HasMetaData(Key);
	}
	return EnumeratorMetaData.IsValidIndex(NameIndex) && EnumeratorMetaData[NameIndex].Contains(FName(Key));
}

void UEnum::SetMetaData(const TCHAR* Key, const TCHAR* InValue, int32 NameIndex)
{
	if (NameIndex == INDEX_NONE)
	{
		UField::SetMetaData(Key, InValue);
	}
	else if (EnumeratorMetaData.IsValidIndex(NameIndex))
	{
		EnumeratorMetaData[NameIndex].FindOrAdd(FName(Key)) = FString(InValue);
	}
}
#endif

int64 UEnum::ParseEnum(const TCHAR*& Str)
{
	const TCHAR* Cursor = Str;
	FString Token;
	auto ReadIdentifier = [&Cursor, &Token]()
	{
		while (FChar::IsAlnum(*Cursor) || *Cursor == '_')
		{
			Token.AppendChar(*Cursor++);
		}
	};
	ReadIdentifier();
	if (Cursor[0] == ':' && Cursor[1] == ':')
	{
		Token += TEXT("::");
		Cursor += 2;
		ReadIdentifier();
	}
	if (Token.IsEmpty())
	{
		return INDEX_NONE;
	}
	const bool bQualified = Token.Contains(TEXT("::"));
	TArray<UObject*> Objects;
	UE::Host::FObjectRegistry::Get().GetAllObjects(Objects);
	for (UObject* Object : Objects)
	{
		const UEnum* Enum = Object->GetClass() == UEnum::StaticClass() ? static_cast<const UEnum*>(Object) : nullptr;
		// Unqualified names are unique only among old-style enums.
		if (!Enum || (!bQualified && Enum->GetCppForm() != ECppForm::Regular))
		{
			continue;
		}
		const int32 Index = Enum->GetIndexByNameString(Token);
		if (Index != INDEX_NONE)
		{
			Str = Cursor;
			return Enum->GetValueByIndex(Index);
		}
	}
	return INDEX_NONE;
}
