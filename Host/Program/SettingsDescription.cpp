// What orvex settings shows of the settings classes.
#include "SettingsDescription.h"

#include "Dom/JsonValue.h"
#include "Host/HeaderClasses.h"
#include "Templates/Casts.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"

namespace
{
	TArray<TSharedPtr<FJsonValue>> FlagNames(const UClass* Class)
	{
		static const TPair<EClassFlags, const TCHAR*> Flags[] = {
			{CLASS_Config, TEXT("Config")},
			{CLASS_DefaultConfig, TEXT("DefaultConfig")},
			{CLASS_GlobalUserConfig, TEXT("GlobalUserConfig")},
			{CLASS_ProjectUserConfig, TEXT("ProjectUserConfig")},
			{CLASS_PerObjectConfig, TEXT("PerObjectConfig")},
			{CLASS_Abstract, TEXT("Abstract")},
		};
		TArray<TSharedPtr<FJsonValue>> Names;
		for (const TPair<EClassFlags, const TCHAR*>& Flag : Flags)
		{
			if (Class->HasAnyClassFlags(Flag.Key))
			{
				Names.Add(MakeShared<FJsonValueString>(FString(Flag.Value)));
			}
		}
		return Names;
	}

	int32 CountConfigProperties(const UClass* Class)
	{
		int32 Count = 0;
		for (const FProperty* Property = Class->PropertyLink; Property; Property = Property->PropertyLinkNext)
		{
			Count += Property->HasAnyPropertyFlags(CPF_Config) ? 1 : 0;
		}
		return Count;
	}
}

TSharedRef<FJsonObject> DescribeSettingsClassRow(const UClass* Class)
{
	TSharedRef<FJsonObject> Object = MakeShared<FJsonObject>();
	Object->SetStringField(TEXT("name"), Class->GetName());
	Object->SetStringField(TEXT("section"), UE::Host::GetClassConfigSection(Class));
	Object->SetStringField(TEXT("config"), Class->ClassConfigName.ToString());
	Object->SetArrayField(TEXT("flags"), FlagNames(Class));
	Object->SetStringField(TEXT("header"), UE::Host::GetClassHeader(Class));
	Object->SetNumberField(TEXT("properties"), CountConfigProperties(Class));
	return Object;
}

UClass* FindSettingsClass(FString Name)
{
	Name.TrimStartAndEndInline();
	Name.RemoveFromStart(TEXT("["));
	Name.RemoveFromEnd(TEXT("]"));
	if (Name.StartsWith(TEXT("/")))
	{
		if (UClass* Found = Cast<UClass>(StaticFindObject(UClass::StaticClass(), nullptr, *Name)))
		{
			return Found;
		}
		int32 Dot = INDEX_NONE;
		if (Name.FindLastChar(TEXT('.'), Dot))
		{
			Name = Name.RightChop(Dot + 1);
		}
	}
	TArray<FString> Candidates = {Name};
	if (Name.Len() >= 2 && (Name[0] == 'U' || Name[0] == 'A') && FChar::IsUpper(Name[1]))
	{
		Candidates.Add(Name.RightChop(1));
	}
	for (const FString& Candidate : Candidates)
	{
		if (UClass* Found = Cast<UClass>(StaticFindFirstObject(UClass::StaticClass(), *Candidate, EFindFirstObjectOptions::NativeFirst)))
		{
			return Found;
		}
	}
	return nullptr;
}

TSharedRef<FJsonObject> DescribeSettingsClass(UClass* Class)
{
	TSharedRef<FJsonObject> Result = DescribeSettingsClassRow(Class);
	UObject* Defaults = Class->GetDefaultObject();
	TArray<TSharedPtr<FJsonValue>> Rows;
	for (const FProperty* Property = Class->PropertyLink; Property; Property = Property->PropertyLinkNext)
	{
		if (!Property->HasAnyPropertyFlags(CPF_Config))
		{
			continue;
		}
		TSharedRef<FJsonObject> Row = MakeShared<FJsonObject>();
		Row->SetStringField(TEXT("name"), Property->GetName());
		Row->SetStringField(TEXT("type"), Property->GetCPPType());
		FString Value;
		if (Defaults)
		{
			Property->ExportText_InContainer(0, Value, Defaults, nullptr, Defaults, PPF_None);
		}
		Row->SetStringField(TEXT("value"), Value);
		const FString& ConsoleVariable = Property->GetMetaData(TEXT("ConsoleVariable"));
		if (!ConsoleVariable.IsEmpty())
		{
			Row->SetStringField(TEXT("cvar"), ConsoleVariable);
		}
		Row->SetBoolField(TEXT("restart_required"), Property->GetMetaData(TEXT("ConfigRestartRequired")).Equals(TEXT("true"), ESearchCase::IgnoreCase));
		// The writers leave such a value out unless it came from a file or a request.
		if (!UE::Host::IsPropertyDefaultKnown(Class, Property))
		{
			Row->SetBoolField(TEXT("default_known"), false);
		}
		Rows.Add(MakeShared<FJsonValueObject>(Row));
	}
	Result->SetArrayField(TEXT("config_properties"), Rows);
	TArray<TSharedPtr<FJsonValue>> Unread;
	for (const UE::Host::FUnreadHeaderProperty& Property : UE::Host::GetUnreadHeaderProperties(Class))
	{
		TSharedRef<FJsonObject> Row = MakeShared<FJsonObject>();
		Row->SetStringField(TEXT("name"), Property.Name);
		Row->SetStringField(TEXT("type"), Property.Type);
		Unread.Add(MakeShared<FJsonValueObject>(Row));
	}
	Result->SetArrayField(TEXT("unread_properties"), Unread);
	return Result;
}
