#include "UObject/Object.h"

#include "Host/ReflectionBuilder.h"
#include "ObjectConfigAccess.h"
#include "ObjectConfigRefresh.h"
#include "ObjectConfigText.h"
#include "ObjectConfigValueState.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"

DEFINE_LOG_CATEGORY_STATIC(LogObj, Log, All);

// UObject's own class is generated from a header that is never compiled in the engine; here it
// is built like the intrinsic classes.
IMPLEMENT_CORE_INTRINSIC_CLASS(UObject, UObject, {})
IMPLEMENT_CORE_INTRINSIC_CLASS(UPackage, UObject, {})

#if WITH_EDITOR
bool UObject::CanEditChange(const FProperty* InProperty) const
{
	return InProperty && !InProperty->HasAnyPropertyFlags(CPF_EditConst);
}
#endif

FString UObject::GetDefaultConfigFilename() const
{
	const FString ConfigName = GetClass()->ClassConfigName.ToString();
	const FString ConfigDir = UE::Host::ObjectConfig::GetProjectConfigDir();
	if (const TCHAR* OverridePlatform = GetConfigOverridePlatform())
	{
		return FString::Printf(TEXT("%s%s/%s%s.ini"), *ConfigDir, OverridePlatform, OverridePlatform, *ConfigName);
	}
	return FString::Printf(TEXT("%sDefault%s.ini"), *ConfigDir, *ConfigName);
}

FString UObject::GetGlobalUserConfigFilename() const
{
	return FString::Printf(TEXT("%sUnreal Engine/Engine/Config/User%s.ini"), *UE::Host::ObjectConfig::GetUserSettingsDir(), *GetClass()->ClassConfigName.ToString());
}

FString UObject::GetProjectUserConfigFilename() const
{
	return FString::Printf(TEXT("%sUser%s.ini"), *UE::Host::ObjectConfig::GetProjectConfigDir(), *GetClass()->ClassConfigName.ToString());
}

UObject* UObject::GetArchetype() const
{
	const UClass* Class = GetClass();
	if (!Class)
	{
		return nullptr;
	}
	if (HasAnyFlags(RF_ClassDefaultObject))
	{
		const UClass* SuperClass = Class->GetSuperClass();
		return SuperClass ? SuperClass->GetDefaultObject() : nullptr;
	}
	return Class->GetDefaultObject();
}

namespace
{
	// Whether the layers hold the array's key; the texts that could not be imported go to OutUnread.
	bool LoadArrayFromConfig(UObject* Object, FArrayProperty* Array, const FString& Section, const FString& Key, const FString& Filename, int32 PortFlags, TArray<FString>& OutUnread)
	{
		FScriptArrayHelper_InContainer ArrayHelper(Array, Object);
		TArray<FString> Values;
		if (UE::Host::ObjectConfig::GetArray(Section, Key, Values, Filename))
		{
			// Only a key that is present replaces the defaults.
			ArrayHelper.EmptyAndAddValues(Values.Num());
			for (int32 Index = 0; Index < Values.Num(); ++Index)
			{
				if (!Array->Inner->ImportText_Direct(*Values[Index], ArrayHelper.GetRawPtr(Index), Object, PortFlags))
				{
					UE_LOG(LogObj, Error, TEXT("LoadConfig (%s): import failed for %s in: %s"), *Object->GetPathName(), *Array->GetName(), *Values[Index]);
					OutUnread.Add(Values[Index]);
				}
			}
			return true;
		}
		// Older files list elements as Key[0], Key[1], ...
		bool bFound = false;
		for (int32 Index = 0;; ++Index)
		{
			FString ElementValue;
			const bool bElementFound = UE::Host::ObjectConfig::GetString(Section, FString::Printf(TEXT("%s[%d]"), *Key, Index), ElementValue, Filename);
			if (!bElementFound)
			{
				if (Index >= ArrayHelper.Num())
				{
					break;
				}
				continue;
			}
			bFound = true;
			ArrayHelper.ExpandForIndex(Index);
			if (!Array->Inner->ImportText_Direct(*ElementValue, ArrayHelper.GetRawPtr(Index), Object, PortFlags))
			{
				UE_LOG(LogObj, Error, TEXT("LoadConfig (%s): import failed for %s in: %s"), *Object->GetPathName(), *Array->GetName(), *ElementValue);
				OutUnread.Add(ElementValue);
			}
		}
		return bFound;
	}
}

void UObject::LoadConfig(UClass* ConfigClass, const TCHAR* InFilename, uint32 PropagationFlags, FProperty* PropertyToLoad)
{
	if (!ConfigClass)
	{
		ConfigClass = GetClass();
	}
	if (!ConfigClass || !ConfigClass->HasAnyClassFlags(CLASS_Config))
	{
		return;
	}

	const FString Filename = InFilename ? FString(InFilename) : ConfigClass->GetConfigName();
	const FString ClassSection = UE::Host::ObjectConfig::GetClassSection(this, ConfigClass);

	for (FProperty* Property = ConfigClass->PropertyLink; Property; Property = Property->PropertyLinkNext)
	{
		if (!Property->HasAnyPropertyFlags(CPF_Config) || (PropertyToLoad && Property != PropertyToLoad))
		{
			continue;
		}

		// globalconfig values belong to the class that declares them.
		const bool bGlobalConfig = Property->HasAnyPropertyFlags(CPF_GlobalConfig);
		UClass* OwnerClass = Property->GetOwnerClass();
		const FString PropFileName = bGlobalConfig && !InFilename && OwnerClass ? OwnerClass->GetConfigName() : Filename;
		const FString PropSection = UE::Host::ObjectConfig::GetPropertySection(this, Property, ClassSection);
		// Editor builds key such properties by their console variable, whose enums are numbers.
		const FString Key = UE::Host::ObjectConfig::GetPropertyKey(Property);
		const int32 PortFlags = UE::Host::ObjectConfig::GetPropertyPortFlags(Property);

		TArray<FString> Unread;
		if (FArrayProperty* Array = CastField<FArrayProperty>(Property))
		{
			const bool bFound = LoadArrayFromConfig(this, Array, PropSection, Key, PropFileName, PortFlags, Unread);
			UE::Host::ObjectConfig::NoteLoaded(this, Property, bFound, Unread);
			UE::Host::ObjectConfig::RememberConfigValues(this, Property);
			continue;
		}
		bool bFound = false;
		for (int32 Index = 0; Index < Property->ArrayDim; ++Index)
		{
			const FString ElementKey = Property->ArrayDim == 1 ? Key : FString::Printf(TEXT("%s[%d]"), *Key, Index);
			FString Value;
			if (!UE::Host::ObjectConfig::GetString(PropSection, ElementKey, Value, PropFileName))
			{
				continue;
			}
			bFound = true;
			if (!Property->ImportText_Direct(*Value, Property->ContainerPtrToValuePtr<void>(this, Index), this, PortFlags))
			{
				UE_LOG(LogObj, Error, TEXT("LoadConfig (%s): import failed for %s in: %s"), *GetPathName(), *Property->GetName(), *Value);
				Unread.Add(Value);
			}
		}
		UE::Host::ObjectConfig::NoteLoaded(this, Property, bFound, Unread);
		UE::Host::ObjectConfig::RememberConfigValues(this, Property);
	}
}
