#include "Host/ObjectSystem.h"

#include "AndroidSDKSettings.h"
#include "CoreUObject/HeaderTypes.h"
#include "CoreUObject/ObjectConfigAccess.h"
#include "CoreUObject/ObjectConfigRefresh.h"
#include "CoreUObject/ObjectConfigValueState.h"
#include "CoreUObject/ObjectRegistry.h"
#include "CoreUObject/ObjectSystemInternal.h"
#include "Engine/RendererSettings.h"
#include "GameFramework/InputSettings.h"
#include "GameMapsSettings.h"
#include "GeneralProjectSettings.h"
#include "HAL/IConsoleManager.h"
#include "Host/ReflectionBuilder.h"
#include "Settings/ContentBrowserProjectUserSettings.h"
#include "Settings/LevelEditorPlaySettings.h"
#include "UObject/EnumProperty.h"
#include "UObject/UnrealType.h"

#include <memory>

DEFINE_LOG_CATEGORY_STATIC(LogObjectSystem, Log, All);

namespace UE::Host
{
	namespace
	{
		bool GObjectSystemInitialized = false;
		// Variables this start-up registered or created from the ini, released at shut-down.
		TArray<FString> GOwnedConsoleVariables;

		// Every engine class, so that lookups by name find them before anyone touched them.
		void RegisterEngineClasses()
		{
			UObject::StaticClass();
			UPackage::StaticClass();
			UField::StaticClass();
			UStruct::StaticClass();
			UScriptStruct::StaticClass();
			UClass::StaticClass();
			UEnum::StaticClass();
			UDeveloperSettings::StaticClass();
			URendererSettings::StaticClass();
			UGameMapsSettings::StaticClass();
			UGeneralProjectSettings::StaticClass();
			UPlayerInput::StaticClass();
			UInputComponent::StaticClass();
			UInputSettings::StaticClass();
			ULevelEditorPlaySettings::StaticClass();
			UAndroidSDKSettings::StaticClass();
			UContentBrowserProjectUserSettings::StaticClass();
		}

		// The variable takes the property's C++ default, read from a fresh instance of its class.
		IConsoleVariable* RegisterFromProperty(const Private::FDeclaredConsoleVariable& Declared)
		{
			const UClass* OwnerClass = Declared.Property->GetOwnerClass();
			if (!OwnerClass || !OwnerClass->NativeFactory)
			{
				return nullptr;
			}
			std::unique_ptr<UObject> Defaults(OwnerClass->NativeFactory());
			const void* Value = Declared.Property->ContainerPtrToValuePtr<void>(Defaults.get());
			const FString Help = Declared.Help.IsEmpty() ? Declared.Property->GetMetaData(TEXT("ToolTip")) : Declared.Help;
			IConsoleManager& Manager = IConsoleManager::Get();

			if (const FBoolProperty* BoolProperty = CastField<FBoolProperty>(Declared.Property))
			{
				return Manager.RegisterConsoleVariable(*Declared.Name, BoolProperty->GetPropertyValue(Value) ? 1 : 0, *Help, Declared.Flags);
			}
			if (const FEnumProperty* EnumProperty = CastField<FEnumProperty>(Declared.Property))
			{
				return Manager.RegisterConsoleVariable(*Declared.Name, static_cast<int32>(EnumProperty->GetUnderlyingProperty()->GetSignedIntPropertyValue(Value)), *Help, Declared.Flags);
			}
			if (const FNumericProperty* NumericProperty = CastField<FNumericProperty>(Declared.Property))
			{
				if (NumericProperty->IsFloatingPoint())
				{
					return Manager.RegisterConsoleVariable(*Declared.Name, static_cast<float>(NumericProperty->GetFloatingPointPropertyValue(Value)), *Help, Declared.Flags);
				}
				return Manager.RegisterConsoleVariable(*Declared.Name, static_cast<int32>(NumericProperty->GetSignedIntPropertyValue(Value)), *Help, Declared.Flags);
			}
			FString Text;
			Declared.Property->ExportTextItem_Direct(Text, Value, nullptr, nullptr, PPF_ConsoleVariable);
			return Manager.RegisterConsoleVariable(*Declared.Name, Text, *Help, Declared.Flags);
		}

		void RegisterDeclaredConsoleVariables()
		{
			for (const Private::FDeclaredConsoleVariable& Declared : Private::GetDeclaredConsoleVariables())
			{
				if (IConsoleManager::Get().FindConsoleVariable(*Declared.Name))
				{
					continue;
				}
				if (RegisterFromProperty(Declared))
				{
					GOwnedConsoleVariables.AddUnique(Declared.Name);
				}
			}
		}

		// Ini files write booleans as words; console variables read numbers.
		FString ConvertValueFromHumanFriendlyValue(const FString& Value)
		{
			if (Value == TEXT("True") || Value == TEXT("Yes") || Value == TEXT("On"))
			{
				return TEXT("1");
			}
			if (Value == TEXT("False") || Value == TEXT("No") || Value == TEXT("Off"))
			{
				return TEXT("0");
			}
			return Value;
		}

		// As the engine's boot does for a settings section: every key that names a variable sets
		// it; other keys are kept as unregistered variables for a later registration to pick up.
		void ApplyCVarSettingsFromIni(const FString& Section, const FString& IniFilename, uint32 SetBy)
		{
			TArray<TPair<FString, FString>> Pairs;
			if (!ObjectConfig::GetSectionPairs(Section, IniFilename, Pairs))
			{
				return;
			}
			IConsoleManager& Manager = IConsoleManager::Get();
			for (const TPair<FString, FString>& Pair : Pairs)
			{
				if (IConsoleVariable* Variable = Manager.FindConsoleVariable(*Pair.Key))
				{
					if ((Variable->GetFlags() & ECVF_Cheat) == 0)
					{
						Variable->Set(*ConvertValueFromHumanFriendlyValue(Pair.Value), static_cast<EConsoleVariableFlags>(SetBy));
					}
					continue;
				}
				Manager.RegisterConsoleVariable(*Pair.Key, Pair.Value, TEXT("IAmNoRealVariable"), ECVF_Unregistered | ECVF_CreatedFromIni | SetBy);
				GOwnedConsoleVariables.AddUnique(Pair.Key);
			}
		}
	}

	void InitializeObjectSystem()
	{
		if (GObjectSystemInitialized)
		{
			return;
		}
		RegisterEngineClasses();
		RunDeferredClassRegistrations();
		RegisterDeclaredConsoleVariables();
		ApplyCVarSettingsFromIni(TEXT("/Script/Engine.RendererSettings"), ObjectConfig::GetConfigFilename(FName(TEXT("Engine"))), ECVF_SetByProjectSetting);
		GObjectSystemInitialized = true;
		UE_LOG(LogObjectSystem, Verbose, TEXT("Object system started with %d console variables"), GOwnedConsoleVariables.Num());
	}

	void ShutdownObjectSystem()
	{
		TArray<UObject*> Objects;
		FObjectRegistry::Get().GetAllObjects(Objects);
		TArray<UClass*> Classes;
		for (UObject* Object : Objects)
		{
			// The default object of UClass is itself a UClass; it goes with its class.
			if (Object->GetClass() == UClass::StaticClass() && !Object->HasAnyFlags(RF_ClassDefaultObject))
			{
				Classes.Add(static_cast<UClass*>(Object));
			}
		}
		for (UClass* Class : Classes)
		{
			Class->DestroyDefaultObject();
		}
		Private::DestroyRuntimeObjects();
		ObjectConfig::ForgetConfigValues();
		ObjectConfig::ForgetValueStates();

		for (const FString& Name : GOwnedConsoleVariables)
		{
			IConsoleManager::Get().UnregisterConsoleObject(*Name, false);
		}
		GOwnedConsoleVariables.Empty();
		// Types read from headers go last: the objects made of them are gone by now.
		Private::ResetHeaderTypes();
		GObjectSystemInitialized = false;
	}

	bool IsObjectSystemInitialized()
	{
		return GObjectSystemInitialized;
	}

	void ReloadDefaultObjectsConfig(const TArray<FString>& Categories)
	{
		if (Categories.IsEmpty() || !GObjectSystemInitialized)
		{
			return;
		}
		TArray<UObject*> Objects;
		FObjectRegistry::Get().GetAllObjects(Objects);
		for (UObject* Object : Objects)
		{
			if (Object->GetClass() != UClass::StaticClass() || Object->HasAnyFlags(RF_ClassDefaultObject))
			{
				continue;
			}
			UClass* Class = static_cast<UClass*>(Object);
			UObject* DefaultObject = Class->GetDefaultObject(false);
			if (DefaultObject && Class->HasAnyClassFlags(CLASS_Config) && Categories.Contains(ObjectConfig::GetConfigFilename(Class->ClassConfigName)))
			{
				DefaultObject->ReloadConfig();
			}
		}
	}
}
