// The config writers that edit one named file: a single key, or the object's whole section.
#include "UObject/Object.h"

#include "HAL/PlatformFileManager.h"
#include "Host/ConfigFileEditor.h"
#include "Host/ConfigFileLock.h"
#include "Host/HeaderClasses.h"
#include "Misc/Paths.h"
#include "ObjectConfigAccess.h"
#include "ObjectConfigRefresh.h"
#include "ObjectConfigText.h"
#include "ObjectConfigValueState.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"

DEFINE_LOG_CATEGORY_STATIC(LogConfig, Log, All);

namespace
{
	namespace ObjectConfig = UE::Host::ObjectConfig;

	// The file a writer was asked for, made absolute the way the editor's relative config paths
	// resolve (against the working directory), and checked against the folders writers may use.
	bool ResolveTarget(const FString& ConfigIniName, FString& OutPath, FString& OutError)
	{
		if (ConfigIniName.IsEmpty())
		{
			OutError = TEXT("No config file was given.");
			return false;
		}
		OutPath = FPaths::ConvertRelativePathToFull(ConfigIniName);
		return ObjectConfig::IsWritableConfigLocation(OutPath, OutError);
	}

	FString GetCategory(const UObject* Object)
	{
		return ObjectConfig::GetConfigFilename(Object->GetClass()->ClassConfigName);
	}

	// The config properties that the object's section holds, in the order the class lists them.
	TArray<const FProperty*> GetSectionProperties(UObject* Object)
	{
		const UClass* Class = Object->GetClass();
		TArray<const FProperty*> Properties;
		for (FProperty* Property = Class->PropertyLink; Property; Property = Property->PropertyLinkNext)
		{
			if (Property->HasAnyPropertyFlags(CPF_Config) && ObjectConfig::BelongsToClassSection(Property, Class))
			{
				Properties.Add(Property);
			}
		}
		return Properties;
	}

	// The section's properties as lines. Inherited values equal to the parent's default are left
	// to the parent's section, and empty elements of fixed-size arrays are left out, as the engine
	// does. A value the host does not know (a default it could not read, never loaded from a file
	// nor set here) is left out too: the file then keeps saying nothing about it.
	TArray<FString> MakeSectionLines(UObject* Object, const TArray<const FProperty*>& Properties)
	{
		TArray<FString> Lines;
		for (const FProperty* Property : Properties)
		{
			if (ObjectConfig::MatchesParentDefault(Object, Property) || !ObjectConfig::IsConfigValueKnown(Object, Property))
			{
				continue;
			}
			for (const ObjectConfig::FConfigEntry& Entry : ObjectConfig::ExportPropertyEntries(Object, Property))
			{
				if (Property->ArrayDim > 1 && Entry.Values.Num() == 1 && Entry.Values[0].IsEmpty())
				{
					continue;
				}
				Lines.Append(ObjectConfig::FormatEntryLines(Entry));
			}
		}
		return Lines;
	}

	// A class read from headers may have members the host could not read; the host's own classes
	// have none.
	bool IsReadFromHeaders(const UClass* Class)
	{
		for (const UClass* Current = Class; Current; Current = Current->GetSuperClass())
		{
			if (!UE::Host::GetClassHeader(Current).IsEmpty())
			{
				return true;
			}
		}
		return false;
	}

	// The keys the section's lines stand for. Other keys of a header class's section belong to no
	// member the host read (one of a type it cannot hold, say): regenerating the section from
	// memory would drop them, so they stay as they are.
	TArray<FString> KnownKeysOf(const TArray<const FProperty*>& Properties)
	{
		TArray<FString> KnownKeys;
		for (const FProperty* Property : Properties)
		{
			KnownKeys.Append(ObjectConfig::GetPropertyEntryKeys(Property));
		}
		return KnownKeys;
	}

	// Rewrites the object's section of the file; false, with the reason, when nothing was written.
	bool UpdateObjectSection(UObject* Object, const FString& ConfigIniName, FString& OutPath, FString& OutError)
	{
		UClass* Class = Object->GetClass();
		if (!Class->HasAnyClassFlags(CLASS_Config))
		{
			OutPath = ConfigIniName;
			OutError = FString::Printf(TEXT("%s is not a config class."), *Class->GetName());
			return false;
		}
		if (!ResolveTarget(ConfigIniName, OutPath, OutError) || !ObjectConfig::CanWriteClassSection(Object, OutError))
		{
			return false;
		}
		const UE::Host::FScopedConfigFileLock Lock(OutPath);
		if (!Lock.IsLocked())
		{
			OutError = Lock.GetError();
			return false;
		}
		// The whole section is rewritten from the object: values other writers changed since this
		// process loaded it must reach the object first, or the rewrite would undo them.
		const FString Category = GetCategory(Object);
		const TArray<const FProperty*> Properties = GetSectionProperties(Object);
		ObjectConfig::RefreshFromDisk(Object, Properties, Category, OutPath);
		// A value the host could not read would come back from memory as something else.
		const FString Unread = ObjectConfig::FindUnreadConfigValue(Object, Properties);
		if (!Unread.IsEmpty())
		{
			OutError = FString::Printf(TEXT("%s, and rewriting the section would replace it; nothing was written."), *Unread);
			return false;
		}
		const FString Section = ObjectConfig::GetClassSection(Object, Class);
		const TArray<FString> Lines = MakeSectionLines(Object, Properties);
		const bool bReplaced = IsReadFromHeaders(Class)
			? UE::Host::ConfigFileEditor::ReplaceSection(OutPath, Section, Lines, KnownKeysOf(Properties), OutError)
			: UE::Host::ConfigFileEditor::ReplaceSection(OutPath, Section, Lines, OutError);
		if (!bReplaced)
		{
			return false;
		}
		ObjectConfig::ReloadAfterWrite(Category, OutPath);
		for (const FProperty* Property : Properties)
		{
			ObjectConfig::NoteRewritten(Object, Property);
		}
		return true;
	}

	void UpdateObjectSectionOrWarn(UObject* Object, const FString& ConfigIniName)
	{
		FString Path;
		FString Error;
		if (!UpdateObjectSection(Object, ConfigIniName, Path, Error))
		{
			UE_LOG(LogConfig, Warning, TEXT("Failed to update '%s': %s"), *Path, *Error);
		}
	}
}

void UObject::UpdateSinglePropertyInConfigFile(const FProperty* InProperty, const FString& InConfigIniName)
{
	if (!InProperty)
	{
		UE_LOG(LogConfig, Warning, TEXT("Failed to update '%s': no property was given."), *InConfigIniName);
		return;
	}
	const UClass* Class = GetClass();
	const UStruct* Owner = InProperty->GetOwnerStruct();
	FString Reason;
	if (InProperty->IsA(FArrayProperty::StaticClass()) || InProperty->IsA(FSetProperty::StaticClass()) || InProperty->IsA(FMapProperty::StaticClass())
		|| InProperty->ArrayDim != 1)
	{
		Reason = FString::Printf(TEXT("'%s' holds several values; only a single value can be updated on its own (rewrite the section instead)."), *InProperty->GetName());
	}
	else if (!InProperty->HasAnyPropertyFlags(CPF_Config))
	{
		Reason = FString::Printf(TEXT("'%s' is not a config property."), *InProperty->GetName());
	}
	else if (!Owner || !Class->IsChildOf(Owner))
	{
		Reason = FString::Printf(TEXT("'%s' is not a property of %s."), *InProperty->GetName(), *Class->GetName());
	}
	FString Path = InConfigIniName;
	if (Reason.IsEmpty() && ResolveTarget(InConfigIniName, Path, Reason) && ObjectConfig::CanWriteClassSection(this, Reason))
	{
		// The key is set in the file as it is under the lock, and the cache rebuilt before another
		// writer may change it again.
		const UE::Host::FScopedConfigFileLock Lock(Path);
		const FString Section = ObjectConfig::GetPropertySection(this, InProperty, ObjectConfig::GetClassSection(this, Class));
		const TArray<ObjectConfig::FConfigEntry> Entries = ObjectConfig::ExportPropertyEntries(this, InProperty);
		if (!Lock.IsLocked())
		{
			Reason = Lock.GetError();
		}
		else if (UE::Host::ConfigFileEditor::SetKey(Path, Section, Entries[0].Key, Entries[0].Values[0], Reason))
		{
			ObjectConfig::ReloadAfterWrite(GetCategory(this), Path);
			ObjectConfig::RememberConfigValues(this, InProperty);
			ObjectConfig::NoteWritten(this, InProperty);
			return;
		}
	}
	UE_LOG(LogConfig, Warning, TEXT("Failed to update '%s': %s"), *Path, *Reason);
}

bool UObject::TryUpdateDefaultConfigFile(const FString& SpecificFileLocation, bool bWarnIfFail)
{
	const FString ConfigFile = SpecificFileLocation.IsEmpty() ? GetDefaultConfigFilename() : SpecificFileLocation;
	FString Path = FPaths::ConvertRelativePathToFull(ConfigFile);
	FString Error;
	// Checked out of source control or not, a read-only file is the user's call: leave it.
	if (FPlatformFileManager::Get().GetPlatformFile().IsReadOnly(*Path))
	{
		Error = TEXT("the file is read-only.");
	}
	else if (UpdateObjectSection(this, ConfigFile, Path, Error))
	{
		return true;
	}
	if (bWarnIfFail)
	{
		UE_LOG(LogConfig, Warning, TEXT("Failed to update '%s': %s"), *Path, *Error);
	}
	return false;
}

void UObject::UpdateGlobalUserConfigFile()
{
	UpdateObjectSectionOrWarn(this, GetGlobalUserConfigFilename());
}

void UObject::UpdateProjectUserConfigFile()
{
	UpdateObjectSectionOrWarn(this, GetProjectUserConfigFilename());
}
