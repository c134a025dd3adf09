#include "UObject/Field.h"

#include "UObject/Class.h"

FFieldClass::FFieldClass(const TCHAR* InName, FFieldClass* InSuperClass)
	: Name(InName)
	, SuperClass(InSuperClass)
{
}

bool FFieldClass::IsChildOf(const FFieldClass* InClass) const
{
	for (const FFieldClass* Class = this; Class; Class = Class->SuperClass)
	{
		if (Class == InClass)
		{
			return true;
		}
	}
	return false;
}

FFieldClass* FField::StaticClass()
{
	static FFieldClass Class(TEXT("Field"), nullptr);
	return &Class;
}

FField::FField(FFieldVariant InOwner, const FName& InName, EObjectFlags InFlags)
	: Owner(InOwner)
	, NamePrivate(InName)
	, FlagsPrivate(InFlags)
{
}

UObject* FField::GetOwnerUObject() const
{
	FFieldVariant Current = Owner;
	while (Current.IsValid() && !Current.IsUObject())
	{
		Current = Current.ToField()->Owner;
	}
	return Current.ToUObject();
}

UClass* FField::GetOwnerClass() const
{
	UObject* Object = GetOwnerUObject();
	return Object && Object->IsA(UClass::StaticClass()) ? static_cast<UClass*>(Object) : nullptr;
}

UStruct* FField::GetOwnerStruct() const
{
	UObject* Object = GetOwnerUObject();
	return Object && Object->IsA(UStruct::StaticClass()) ? static_cast<UStruct*>(Object) : nullptr;
}

FString FField::GetPathName() const
{
	FString Prefix;
	if (Owner.IsUObject())
	{
		Prefix = Owner.ToUObject()->GetPathName() + TEXT(":");
	}
	else if (Owner.IsValid())
	{
		Prefix = Owner.ToField()->GetPathName() + TEXT(".");
	}
	return Prefix + GetName();
}

FString FField::GetFullName() const
{
	return GetClass()->GetName() + TEXT(" ") + GetPathName();
}

#if WITH_EDITORONLY_DATA
const FString& FField::GetMetaData(const TCHAR* Key) const
{
	return GetMetaData(FName(Key));
}

const FString& FField::GetMetaData(const FName& Key) const
{
	static const FString Empty;
	const FString* Found = MetaDataMap.Find(Key);
	return Found ? *Found : Empty;
}

const FString* FField::FindMetaData(const TCHAR* Key) const
{
	return MetaDataMap.Find(FName(Key));
}

const FString* FField::FindMetaData(const FName& Key) const
{
	return MetaDataMap.Find(Key);
}

void FField::SetMetaData(const TCHAR* Key, FString&& InValue)
{
	MetaDataMap.FindOrAdd(FName(Key)) = std::move(InValue);
}

void FField::SetMetaData(const FName& Key, FString&& InValue)
{
	MetaDataMap.FindOrAdd(Key) = std::move(InValue);
}

void FField::RemoveMetaData(const TCHAR* Key)
{
	MetaDataMap.Remove(FName(Key));
}

FText FField::GetDisplayNameText() const
{
	const FString* DisplayName = FindMetaData(TEXT("DisplayName"));
	return FText::FromString(DisplayName ? *DisplayName : GetName());
}

FText FField::GetToolTipText(bool bShortTooltip) const
{
	const FString* ToolTip = bShortTooltip ? FindMetaData(TEXT("ShortTooltip")) : nullptr;
	if (!ToolTip)
	{
		ToolTip = FindMetaData(TEXT("ToolTip"));
	}
	return FText::FromString(ToolTip ? *ToolTip : FString());
}
#endif
