// SaveConfig: an object's config values into the saved layer, as differences from the layers
// below it.
#include "UObject/Object.h"

#include "Host/ConfigFileEditor.h"
#include "Host/ConfigFileLock.h"
#include "Host/ConfigSystem.h"
#include "Misc/ConfigCacheIni.h"
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
	using UE::Host::ConfigFileEditor::FKeyLines;

	// One property to save and where it goes.
	struct FPropertyToSave
	{
		const FProperty* Property = nullptr;
		FString Category;
		FString Section;
		// An inherited value equal to the parent's default: the key is dropped, not written.
		bool bDrop = false;
	};

	// Whether the hierarchy already gives element Index (or, for an array, the whole array) the
	// value the object holds, so the saved file need not mention it.
	bool MatchesHierarchy(const FConfigFile& Hierarchy, const FString& Section, const FString& Key, UObject* Object, const FProperty* Property, int32 Index)
	{
		const int32 PortFlags = ObjectConfig::GetPropertyPortFlags(Property);
		if (const FArrayProperty* Array = CastField<FArrayProperty>(Property))
		{
			TArray<FString> Values;
			Hierarchy.GetArray(*Section, *Key, Values);
			FScriptArrayHelper_InContainer Helper(Array, Object);
			if (Values.Num() != Helper.Num())
			{
				return false;
			}
			for (int32 Element = 0; Element < Values.Num(); ++Element)
			{
				if (!ObjectConfig::ConfigTextMatches(Array->Inner, Values[Element], Helper.GetRawPtr(Element), Object, PortFlags))
				{
					return false;
				}
			}
			return true;
		}
		FString Text;
		return Hierarchy.GetString(*Section, *Key, Text)
			&& ObjectConfig::ConfigTextMatches(Property, Text, Property->ContainerPtrToValuePtr<void>(Object, Index), Object, PortFlags);
	}

	// A saved file keeps only the sections its hierarchy lists under [SectionsToSave], unless it
	// allows all of them or is a per-user file (its name holds "User", or an Editor* file other
	// than Editor itself).
	bool CanSaveSection(const FConfigFile& Hierarchy, const FString& Category, const FString& Section)
	{
		if (Category.Contains(TEXT("User")) || (Category.StartsWith(TEXT("Editor")) && Category != TEXT("Editor")))
		{
			return true;
		}
		FString CanSaveAll;
		if (Hierarchy.GetString(TEXT("SectionsToSave"), TEXT("bCanSaveAllSections"), CanSaveAll) && FCString::ToBool(*CanSaveAll))
		{
			return true;
		}
		TArray<FString> Listed;
		Hierarchy.GetArray(TEXT("SectionsToSave"), TEXT("Section"), Listed);
		return Listed.Contains(Section);
	}

	// The lines a key needs in the saved file: none when the hierarchy already has the value.
	void AddSavedEdits(const FConfigFile& Hierarchy, UObject* Object, const FPropertyToSave& ToSave, TArray<FKeyLines>& OutEdits)
	{
		// A value the host does not know keeps whatever the saved file says of it.
		if (!ObjectConfig::IsConfigValueKnown(Object, ToSave.Property))
		{
			return;
		}
		const TArray<ObjectConfig::FConfigEntry> Entries = ObjectConfig::ExportPropertyEntries(Object, ToSave.Property);
		for (int32 Index = 0; Index < Entries.Num(); ++Index)
		{
			FKeyLines& Edit = OutEdits.AddDefaulted_GetRef();
			Edit.Section = ToSave.Section;
			Edit.Key = Entries[Index].Key;
			if (!ToSave.bDrop && !MatchesHierarchy(Hierarchy, ToSave.Section, Entries[Index].Key, Object, ToSave.Property, Index))
			{
				Edit.Lines = ObjectConfig::FormatEntryLines(Entries[Index]);
			}
		}
	}

	TArray<const FProperty*> PropertiesOf(const TArray<FPropertyToSave>& Properties)
	{
		TArray<const FProperty*> Result;
		for (const FPropertyToSave& ToSave : Properties)
		{
			Result.Add(ToSave.Property);
		}
		return Result;
	}

	void RememberSaved(UObject* Object, const TArray<FPropertyToSave>& Properties)
	{
		for (const FPropertyToSave& ToSave : Properties)
		{
			ObjectConfig::NoteRewritten(Object, ToSave.Property);
		}
	}

	// Every saved key is written from memory: a value the host could not read would be replaced.
	bool RefuseUnread(UObject* Object, const TArray<FPropertyToSave>& Properties, const FString& File)
	{
		const FString Unread = ObjectConfig::FindUnreadConfigValue(Object, PropertiesOf(Properties));
		if (Unread.IsEmpty())
		{
			return false;
		}
		UE_LOG(LogConfig, Warning, TEXT("Failed to update '%s': %s, and saving would replace it; nothing was written."), *File, *Unread);
		return true;
	}

	void SaveToCategory(UObject* Object, const FString& Category, const TArray<FPropertyToSave>& Properties)
	{
		const FString SavedFile = ObjectConfig::GetSavedConfigFilename(Category);
		FString Error;
		if (SavedFile.IsEmpty())
		{
			UE_LOG(LogConfig, Warning, TEXT("SaveConfig (%s): there is no saved config folder without a project."), *Object->GetPathName());
			return;
		}
		if (!ObjectConfig::IsWritableConfigLocation(SavedFile, Error))
		{
			UE_LOG(LogConfig, Warning, TEXT("Failed to update '%s': %s"), *SavedFile, *Error);
			return;
		}
		const UE::Host::FScopedConfigFileLock Lock(SavedFile);
		if (!Lock.IsLocked())
		{
			UE_LOG(LogConfig, Warning, TEXT("Failed to update '%s': %s"), *SavedFile, *Lock.GetError());
			return;
		}
		// Every key of the object is written: values other writers saved meanwhile must reach it first.
		ObjectConfig::RefreshFromDisk(Object, PropertiesOf(Properties), Category, SavedFile);
		if (RefuseUnread(Object, Properties, SavedFile))
		{
			return;
		}
		FConfigFile Hierarchy;
		ObjectConfig::LoadCategoryHierarchy(Category, Hierarchy);
		TArray<FKeyLines> Edits;
		TArray<FString> RefusedSections;
		for (const FPropertyToSave& ToSave : Properties)
		{
			if (!CanSaveSection(Hierarchy, Category, ToSave.Section))
			{
				if (!RefusedSections.Contains(ToSave.Section))
				{
					RefusedSections.Add(ToSave.Section);
					UE_LOG(LogConfig, Warning, TEXT("SaveConfig (%s): [%s] is not saved to '%s' because the [SectionsToSave] of %s does not list it."),
						*Object->GetPathName(), *ToSave.Section, *SavedFile, *Category);
				}
				continue;
			}
			AddSavedEdits(Hierarchy, Object, ToSave, Edits);
		}
		if (!UE::Host::ConfigFileEditor::ReplaceKeys(SavedFile, Edits, UE::Host::ConfigFileEditor::EEmptyFilePolicy::Delete, Error))
		{
			UE_LOG(LogConfig, Warning, TEXT("Failed to update '%s': %s"), *SavedFile, *Error);
			return;
		}
		ObjectConfig::ReloadAfterWrite(Category, SavedFile);
		RememberSaved(Object, Properties);
	}

	// Filename names a file rather than a category: its keys are set outright.
	void SaveToFile(UObject* Object, const FString& Filename, const TArray<FPropertyToSave>& Properties)
	{
		const FString Path = FPaths::ConvertRelativePathToFull(Filename);
		const FString Category = ObjectConfig::GetConfigFilename(Object->GetClass()->ClassConfigName);
		FString Error;
		if (!ObjectConfig::IsWritableConfigLocation(Path, Error))
		{
			UE_LOG(LogConfig, Warning, TEXT("Failed to update '%s': %s"), *Path, *Error);
			return;
		}
		const UE::Host::FScopedConfigFileLock Lock(Path);
		if (!Lock.IsLocked())
		{
			UE_LOG(LogConfig, Warning, TEXT("Failed to update '%s': %s"), *Path, *Lock.GetError());
			return;
		}
		ObjectConfig::RefreshFromDisk(Object, PropertiesOf(Properties), Category, Path);
		if (RefuseUnread(Object, Properties, Path))
		{
			return;
		}
		TArray<FKeyLines> Edits;
		for (const FPropertyToSave& ToSave : Properties)
		{
			if (!ObjectConfig::IsConfigValueKnown(Object, ToSave.Property))
			{
				continue;
			}
			for (const ObjectConfig::FConfigEntry& Entry : ObjectConfig::ExportPropertyEntries(Object, ToSave.Property))
			{
				FKeyLines& Edit = Edits.AddDefaulted_GetRef();
				Edit.Section = ToSave.Section;
				Edit.Key = Entry.Key;
				if (!ToSave.bDrop)
				{
					Edit.Lines = ObjectConfig::FormatEntryLines(Entry);
				}
			}
		}
		if (!UE::Host::ConfigFileEditor::ReplaceKeys(Path, Edits, UE::Host::ConfigFileEditor::EEmptyFilePolicy::Keep, Error))
		{
			UE_LOG(LogConfig, Warning, TEXT("Failed to update '%s': %s"), *Path, *Error);
			return;
		}
		ObjectConfig::ReloadAfterWrite(Category, Path);
		RememberSaved(Object, Properties);
	}

	// Another cache (a sandbox) only holds values in memory.
	void SaveToCache(UObject* Object, FConfigCacheIni& Config, const TArray<FPropertyToSave>& Properties)
	{
		for (const FPropertyToSave& ToSave : Properties)
		{
			for (const ObjectConfig::FConfigEntry& Entry : ObjectConfig::ExportPropertyEntries(Object, ToSave.Property))
			{
				if (ToSave.bDrop)
				{
					Config.RemoveKey(*ToSave.Section, *Entry.Key, ToSave.Category);
				}
				else if (Entry.bIsArray)
				{
					Config.SetArray(*ToSave.Section, *Entry.Key, Entry.Values, ToSave.Category);
				}
				else
				{
					Config.SetString(*ToSave.Section, *Entry.Key, *Entry.Values[0], ToSave.Category);
				}
			}
		}
	}
}

void UObject::SaveConfig(uint64 RequiredPropertyFlags, const TCHAR* Filename, FConfigCacheIni* Config, bool bAllowCopyToDefaultObject)
{
	UClass* Class = GetClass();
	if (!Class->HasAnyClassFlags(CLASS_Config))
	{
		return;
	}
	if (!Config)
	{
		Config = GConfig;
	}
	const bool bExplicitFile = Filename && *Filename && !UE::Host::IsValidConfigCategoryName(FString(Filename));
	const FString ClassCategory = Filename && *Filename ? FString(Filename) : ObjectConfig::GetConfigFilename(Class->ClassConfigName);
	FString SectionProblem;
	if (Config == GConfig && !ObjectConfig::CanWriteClassSection(this, SectionProblem))
	{
		UE_LOG(LogConfig, Warning, TEXT("SaveConfig (%s): %s; nothing was written."), *GetPathName(), *SectionProblem);
		return;
	}
	const FString ClassSection = ObjectConfig::GetClassSection(this, Class);
	UObject* DefaultObject = bAllowCopyToDefaultObject && Config == GConfig && !HasAnyFlags(RF_ClassDefaultObject) ? Class->GetDefaultObject() : nullptr;

	TArray<FPropertyToSave> Properties;
	for (FProperty* Property = Class->PropertyLink; Property; Property = Property->PropertyLinkNext)
	{
		if (!Property->HasAnyPropertyFlags(CPF_Config) || (Property->PropertyFlags & RequiredPropertyFlags) != RequiredPropertyFlags)
		{
			continue;
		}
		const bool bGlobalConfig = Property->HasAnyPropertyFlags(CPF_GlobalConfig);
		const UClass* OwnerClass = Property->GetOwnerClass();
		FPropertyToSave& ToSave = Properties.AddDefaulted_GetRef();
		ToSave.Property = Property;
		ToSave.Category = bGlobalConfig && !Filename && OwnerClass ? ObjectConfig::GetConfigFilename(OwnerClass->ClassConfigName) : ClassCategory;
		ToSave.Section = ObjectConfig::GetPropertySection(this, Property, ClassSection);
		ToSave.bDrop = !bGlobalConfig && ObjectConfig::MatchesParentDefault(this, Property);
		if (DefaultObject && DefaultObject != this)
		{
			Property->CopyCompleteValue_InContainer(DefaultObject, this);
		}
	}

	if (Config != GConfig)
	{
		if (Config)
		{
			SaveToCache(this, *Config, Properties);
		}
		return;
	}
	if (bExplicitFile)
	{
		SaveToFile(this, ClassCategory, Properties);
		return;
	}
	// globalconfig properties of a parent may belong to another category: one write per file.
	TArray<FString> Categories;
	for (const FPropertyToSave& ToSave : Properties)
	{
		if (!Categories.Contains(ToSave.Category))
		{
			Categories.Add(ToSave.Category);
		}
	}
	for (const FString& Category : Categories)
	{
		TArray<FPropertyToSave> InCategory = Properties.FilterByPredicate([&Category](const FPropertyToSave& ToSave) { return ToSave.Category == Category; });
		SaveToCategory(this, Category, InCategory);
	}
}
