#include "Engine/DeveloperSettings.h"

#include "HAL/IConsoleManager.h"
#include "UObject/EnumProperty.h"
#include "UObject/UnrealType.h"

DEFINE_LOG_CATEGORY_STATIC(LogDeveloperSettings, Log, All);

FName UDeveloperSettings::GetContainerName() const
{
	static const FName ProjectName(TEXT("Project"));
	static const FName EditorName(TEXT("Editor"));
	static const FName EditorSettingsName(TEXT("EditorSettings"));
	static const FName EditorPerProjectUserSettingsName(TEXT("EditorPerProjectUserSettings"));
	const FName ConfigName = GetClass()->ClassConfigName;
	return ConfigName == EditorSettingsName || ConfigName == EditorPerProjectUserSettingsName ? EditorName : ProjectName;
}

FName UDeveloperSettings::GetCategoryName() const
{
	static const FName EngineName(TEXT("Engine"));
	static const FName InputName(TEXT("Input"));
	static const FName GeneralName(TEXT("General"));
	static const FName EditorName(TEXT("Editor"));
	static const FName EditorSettingsName(TEXT("EditorSettings"));
	static const FName EditorPerProjectUserSettingsName(TEXT("EditorPerProjectUserSettings"));
	static const FName EditorLayoutName(TEXT("EditorLayout"));
	static const FName EditorKeyBindingsName(TEXT("EditorKeyBindings"));
	static const FName GameName(TEXT("Game"));
	if (!CategoryName.IsNone())
	{
		return CategoryName;
	}
	const FName ConfigName = GetClass()->ClassConfigName;
	if (ConfigName == EngineName || ConfigName == InputName)
	{
		return EngineName;
	}
	if (ConfigName == EditorSettingsName || ConfigName == EditorPerProjectUserSettingsName)
	{
		return GeneralName;
	}
	if (ConfigName == EditorName || ConfigName == EditorLayoutName || ConfigName == EditorKeyBindingsName)
	{
		return EditorName;
	}
	if (ConfigName == GameName)
	{
		return GameName;
	}
	return EngineName;
}

FName UDeveloperSettings::GetSectionName() const
{
	return SectionName.IsNone() ? GetClass()->GetFName() : SectionName;
}

#if WITH_EDITOR
FText UDeveloperSettings::GetSectionText() const
{
	return GetClass()->GetDisplayNameText();
}

FText UDeveloperSettings::GetSectionDescription() const
{
	return GetClass()->GetToolTipText();
}
#endif

void UDeveloperSettings::PostInitProperties()
{
	Super::PostInitProperties();
#if WITH_EDITOR
	if (HasAnyFlags(RF_ClassDefaultObject))
	{
		for (FProperty* Property = GetClass()->PropertyLink; Property; Property = Property->PropertyLinkNext)
		{
			if (Property->HasAnyPropertyFlags(CPF_Config))
			{
				ExportValuesToConsoleVariables(Property);
			}
		}
	}
#endif
}

#if WITH_EDITOR
void UDeveloperSettings::ExportValuesToConsoleVariables(FProperty* PropertyThatChanged)
{
	if (!PropertyThatChanged)
	{
		return;
	}
	const FString& CVarName = PropertyThatChanged->GetMetaData(TEXT("ConsoleVariable"));
	if (CVarName.IsEmpty())
	{
		return;
	}
	IConsoleVariable* CVar = IConsoleManager::Get().FindConsoleVariable(*CVarName);
	if (!CVar || (CVar->GetFlags() & ECVF_ReadOnly) != 0)
	{
		UE_CLOG(!CVar, LogDeveloperSettings, Verbose, TEXT("CVar named '%s' marked up in %s was not found"), *CVarName, *GetClass()->GetName());
		return;
	}

	const void* Value = PropertyThatChanged->ContainerPtrToValuePtr<void>(this);
	if (const FBoolProperty* BoolProperty = CastField<FBoolProperty>(PropertyThatChanged))
	{
		CVar->Set(static_cast<int32>(BoolProperty->GetPropertyValue(Value)), ECVF_SetByProjectSetting);
	}
	else if (const FEnumProperty* EnumProperty = CastField<FEnumProperty>(PropertyThatChanged))
	{
		CVar->Set(static_cast<int32>(EnumProperty->GetUnderlyingProperty()->GetSignedIntPropertyValue(Value)), ECVF_SetByProjectSetting);
	}
	else if (const FNumericProperty* NumericProperty = CastField<FNumericProperty>(PropertyThatChanged))
	{
		if (NumericProperty->IsFloatingPoint())
		{
			CVar->Set(static_cast<float>(NumericProperty->GetFloatingPointPropertyValue(Value)), ECVF_SetByProjectSetting);
		}
		else
		{
			CVar->Set(static_cast<int32>(NumericProperty->GetSignedIntPropertyValue(Value)), ECVF_SetByProjectSetting);
		}
	}
	else if (const FStrProperty* StrProperty = CastField<FStrProperty>(PropertyThatChanged))
	{
		CVar->Set(*StrProperty->GetPropertyValue(Value), ECVF_SetByProjectSetting);
	}
	else if (const FNameProperty* NameProperty = CastField<FNameProperty>(PropertyThatChanged))
	{
		CVar->Set(*NameProperty->GetPropertyValue(Value).ToString(), ECVF_SetByProjectSetting);
	}
}
#endif
