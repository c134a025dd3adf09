#include "Misc/ConfigCacheIni.h"

#include "Config/ConfigCommands.h"
#include "Config/ConfigDiskState.h"
#include "Config/ConfigHierarchy.h"
#include "Config/ConfigMergeState.h"
#include "Config/ConfigSectionPeeks.h"
#include "Host/ConfigSystem.h"
#include "Host/HostEnvironment.h"
#include "Misc/Paths.h"

FConfigCacheIni* GConfig = nullptr;

// In 5.x the globals hold the cache keys, which are the short category names.
FString GEngineIni = TEXT("Engine");
FString GGameIni = TEXT("Game");
FString GInputIni = TEXT("Input");
FString GEditorIni = TEXT("Editor");
FString GEditorPerProjectIni = TEXT("EditorPerProjectUserSettings");
FString GScalabilityIni = TEXT("Scalability");
FString GGameUserSettingsIni = TEXT("GameUserSettings");

FConfigValue::FConfigValue(const FString& InValue)
	: SavedValue(InValue)
{
	int32 Percent = INDEX_NONE;
	if (InValue.FindChar(TEXT('%'), Percent))
	{
		ExpandedValue = UE::Host::Config::ExpandConfigTokens(InValue);
		bExpanded = !ExpandedValue.Equals(SavedValue);
		if (!bExpanded)
		{
			ExpandedValue.Reset();
		}
	}
}

void FConfigFile::GetSectionNames(TArray<FString>& OutNames) const
{
	OutNames.Reset();
	for (const auto& Pair : *this)
	{
		OutNames.Add(Pair.Key);
	}
}

namespace
{
	// A key's newest value in a section that may be missing.
	bool GetSectionString(const FConfigSection* Section, const TCHAR* Key, FString& Value)
	{
		const FConfigValue* ConfigValue = Section ? Section->Find(FName(Key)) : nullptr;
		if (!ConfigValue)
		{
			return false;
		}
		Value = ConfigValue->GetValue();
		return true;
	}

	int32 GetSectionArray(const FConfigSection* Section, const TCHAR* Key, TArray<FString>& Value)
	{
		Value.Reset();
		if (Section)
		{
			TArray<const FConfigValue*> Values;
			Section->MultiFindPointer(FName(Key), Values, true);
			for (const FConfigValue* ConfigValue : Values)
			{
				Value.Add(ConfigValue->GetValue());
			}
		}
		return Value.Num();
	}
}

bool FConfigFile::GetString(const TCHAR* Section, const TCHAR* Key, FString& Value) const
{
	return GetSectionString(FindSection(FString(Section)), Key, Value);
}

int32 FConfigFile::GetArray(const TCHAR* Section, const TCHAR* Key, TArray<FString>& Value) const
{
	return GetSectionArray(FindSection(FString(Section)), Key, Value);
}

void FConfigFile::SetString(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value)
{
	FConfigSection& Found = FindOrAddSection(FString(Section));
	const FConfigValue NewValue = UE::Host::Config::MakeConfigValue(FString(Value));
	if (FConfigValue* Existing = Found.Find(FName(Key)))
	{
		*Existing = NewValue;
	}
	else
	{
		Found.Add(FName(Key), NewValue);
	}
}

void FConfigFile::CombineFromBuffer(const FString& Buffer, const FString& FileHint)
{
	UE::Host::Config::FMergeFile Merged;
	Merged.ImportFrom(*this);
	UE::Host::Config::CombineConfigText(Merged, Buffer);
	Merged.MoveTo(*this);
	if (!FileHint.IsEmpty())
	{
		SourceFiles.Add(FileHint);
	}
}

namespace
{
	using FMergedFiles = TMap<FString, std::unique_ptr<FConfigFile>>;

	// The section a single-section read answers from: the merged one once the category is merged;
	// before that, the section read on its own, unless another section of the category was read
	// that way already, which makes it worth merging the whole category.
	const FConfigSection* FindSectionToRead(FConfigCacheIni& Cache, const FMergedFiles& Files, const TArray<FString>& KnownCategories,
		const TCHAR* Section, const FString& Filename)
	{
		if (Filename.IsEmpty())
		{
			return nullptr;
		}
		const FString SectionName(Section);
		if (const std::unique_ptr<FConfigFile>* Merged = Files.Find(Filename))
		{
			return (*Merged)->FindSection(SectionName);
		}
		const int32 KnownIndex = KnownCategories.Find(Filename);
		if (KnownIndex == INDEX_NONE)
		{
			return nullptr;
		}
		const FString& Category = KnownCategories[KnownIndex];
		UE::Host::Config::FSectionPeeks& Peeks = UE::Host::Config::GetSectionPeeks(Cache);
		const UE::Host::Config::FSectionPeek* Peek = Peeks.Find(Category, SectionName);
		if (!Peek && Peeks.HasCategory(Category))
		{
			const FConfigFile* File = Cache.Find(Filename);
			return File ? File->FindSection(SectionName) : nullptr;
		}
		if (!Peek)
		{
			Peek = &Peeks.Read(Category, SectionName);
		}
		return Peek->bExists ? &Peek->Values : nullptr;
	}
}

FConfigCacheIni::FConfigCacheIni() = default;

FConfigCacheIni::~FConfigCacheIni()
{
	UE::Host::Config::ReleaseSectionPeeks(*this);
}

FString FConfigCacheIni::GetConfigFilename(const TCHAR* BaseIniName)
{
	const FString Name(BaseIniName);
	const int32 Index = KnownCategories.Find(Name);
	if (Index != INDEX_NONE)
	{
		return KnownCategories[Index];
	}
	return FPaths::GeneratedConfigDir() + UE::Host::GetEnvironment().SavedPlatformName + TEXT("/") + Name + TEXT(".ini");
}

FConfigFile* FConfigCacheIni::Find(const FString& Filename)
{
	if (Filename.IsEmpty())
	{
		return nullptr;
	}
	if (std::unique_ptr<FConfigFile>* Loaded = Files.Find(Filename))
	{
		return Loaded->get();
	}
	// A known category is merged the first time it is asked for.
	const int32 KnownIndex = KnownCategories.Find(Filename);
	if (KnownIndex == INDEX_NONE || !LoadCategory(KnownCategories[KnownIndex]))
	{
		return nullptr;
	}
	std::unique_ptr<FConfigFile>* Loaded = Files.Find(Filename);
	return Loaded ? Loaded->get() : nullptr;
}

const FConfigFile* FConfigCacheIni::Find(const FString& Filename) const
{
	// Merging on first use does not change what the cache answers, only when the work is done.
	return const_cast<FConfigCacheIni*>(this)->Find(Filename);
}

FConfigFile* FConfigCacheIni::FindConfigFileWithBaseName(FName BaseName)
{
	return Find(BaseName.IsNone() ? FString() : BaseName.ToString());
}

bool FConfigCacheIni::GetString(const TCHAR* Section, const TCHAR* Key, FString& Value, const FString& Filename)
{
	return GetSectionString(FindSectionToRead(*this, Files, KnownCategories, Section, Filename), Key, Value);
}

bool FConfigCacheIni::GetText(const TCHAR* Section, const TCHAR* Key, FText& Value, const FString& Filename)
{
	FString Text;
	if (!GetString(Section, Key, Text, Filename))
	{
		return false;
	}
	Value = FText::FromString(std::move(Text));
	return true;
}

bool FConfigCacheIni::GetBool(const TCHAR* Section, const TCHAR* Key, bool& Value, const FString& Filename)
{
	FString Text;
	if (!GetString(Section, Key, Text, Filename))
	{
		return false;
	}
	Value = FCString::ToBool(*Text);
	return true;
}

bool FConfigCacheIni::GetInt(const TCHAR* Section, const TCHAR* Key, int32& Value, const FString& Filename)
{
	FString Text;
	if (!GetString(Section, Key, Text, Filename))
	{
		return false;
	}
	Value = FCString::Atoi(*Text);
	return true;
}

bool FConfigCacheIni::GetInt64(const TCHAR* Section, const TCHAR* Key, int64& Value, const FString& Filename)
{
	FString Text;
	if (!GetString(Section, Key, Text, Filename))
	{
		return false;
	}
	Value = FCString::Atoi64(*Text);
	return true;
}

bool FConfigCacheIni::GetFloat(const TCHAR* Section, const TCHAR* Key, float& Value, const FString& Filename)
{
	FString Text;
	if (!GetString(Section, Key, Text, Filename))
	{
		return false;
	}
	Value = FCString::Atof(*Text);
	return true;
}

bool FConfigCacheIni::GetDouble(const TCHAR* Section, const TCHAR* Key, double& Value, const FString& Filename)
{
	FString Text;
	if (!GetString(Section, Key, Text, Filename))
	{
		return false;
	}
	Value = FCString::Atod(*Text);
	return true;
}

int32 FConfigCacheIni::GetArray(const TCHAR* Section, const TCHAR* Key, TArray<FString>& Value, const FString& Filename)
{
	return GetSectionArray(FindSectionToRead(*this, Files, KnownCategories, Section, Filename), Key, Value);
}

bool FConfigCacheIni::GetSection(const TCHAR* Section, TArray<FString>& Result, const FString& Filename)
{
	Result.Reset();
	const FConfigSection* Found = FindSectionToRead(*this, Files, KnownCategories, Section, Filename);
	if (!Found)
	{
		return false;
	}
	for (const auto& Pair : *Found)
	{
		Result.Add(Pair.Key.ToString() + TEXT("=") + Pair.Value.GetValue());
	}
	return true;
}

const FConfigSection* FConfigCacheIni::GetSection(const TCHAR* Section, const bool Force, const FString& Filename)
{
	FConfigFile* File = Find(Filename);
	if (!File)
	{
		return nullptr;
	}
	return Force ? &File->FindOrAddSection(FString(Section)) : File->FindSection(FString(Section));
}

bool FConfigCacheIni::GetSectionNames(const FString& Filename, TArray<FString>& out_SectionNames)
{
	const FConfigFile* File = Find(Filename);
	if (!File)
	{
		return false;
	}
	File->GetSectionNames(out_SectionNames);
	return true;
}

bool FConfigCacheIni::DoesSectionExist(const TCHAR* Section, const FString& Filename)
{
	return FindSectionToRead(*this, Files, KnownCategories, Section, Filename) != nullptr;
}

void FConfigCacheIni::SetString(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value, const FString& Filename)
{
	if (FConfigFile* File = Find(Filename))
	{
		File->SetString(Section, Key, Value);
	}
}

void FConfigCacheIni::SetBool(const TCHAR* Section, const TCHAR* Key, bool Value, const FString& Filename)
{
	SetString(Section, Key, Value ? TEXT("True") : TEXT("False"), Filename);
}

void FConfigCacheIni::SetInt(const TCHAR* Section, const TCHAR* Key, int32 Value, const FString& Filename)
{
	SetString(Section, Key, *FString::FromInt(Value), Filename);
}

void FConfigCacheIni::SetArray(const TCHAR* Section, const TCHAR* Key, const TArray<FString>& Value, const FString& Filename)
{
	FConfigFile* File = Find(Filename);
	if (!File)
	{
		return;
	}
	FConfigSection& Found = File->FindOrAddSection(FString(Section));
	const FName KeyName(Key);
	Found.Remove(KeyName);
	for (const FString& Element : Value)
	{
		Found.Add(KeyName, UE::Host::Config::MakeConfigValue(Element));
	}
}

bool FConfigCacheIni::RemoveKey(const TCHAR* Section, const TCHAR* Key, const FString& Filename)
{
	FConfigFile* File = Find(Filename);
	FConfigSection* Found = File ? File->FindSection(FString(Section)) : nullptr;
	return Found && Found->Remove(FName(Key)) > 0;
}

bool FConfigCacheIni::EmptySection(const TCHAR* Section, const FString& Filename)
{
	FConfigFile* File = Find(Filename);
	return File && File->RemoveSection(FString(Section));
}

void FConfigCacheIni::Flush(bool bRemoveFromCache, const FString& Filename)
{
	// Files change on disk only through the config writers, which reload what they write, so
	// there is nothing buffered to write here.
}

TArray<FString> FConfigCacheIni::GetKnownCategories() const
{
	return KnownCategories;
}

bool FConfigCacheIni::LoadCategory(const FString& Category)
{
	if (!UE::Host::IsValidConfigCategoryName(Category))
	{
		return false;
	}
	UE::Host::Config::RecordCategoryStamps(Category);
	FConfigFile File;
	const int32 FilesRead = UE::Host::Config::BuildCategory(Category, File);
	const int32 KnownIndex = KnownCategories.Find(Category);
	if (FilesRead == 0 && KnownIndex == INDEX_NONE)
	{
		// A name with no file on disk stays unknown, as a mistyped category should.
		UE::Host::Config::ForgetCategoryStamps(Category);
		return false;
	}
	const FString Name = KnownIndex == INDEX_NONE ? Category : KnownCategories[KnownIndex];
	if (KnownIndex == INDEX_NONE)
	{
		KnownCategories.Add(Name);
	}
	File.Name = Name;
	UE::Host::Config::GetSectionPeeks(*this).Forget(Name);
	if (std::unique_ptr<FConfigFile>* Existing = Files.Find(Name))
	{
		**Existing = std::move(File);
	}
	else
	{
		Files.Add(Name, std::make_unique<FConfigFile>(std::move(File)));
	}
	return true;
}

TArray<FString> FConfigCacheIni::GetLoadedCategories() const
{
	TArray<FString> Loaded;
	for (const FString& Category : KnownCategories)
	{
		if (Files.Contains(Category))
		{
			Loaded.Add(Category);
		}
	}
	return Loaded;
}

void FConfigCacheIni::ReloadAll()
{
	TArray<FString> Categories = UE::Host::Config::DiscoverCategories();
	// Categories loaded by name earlier (a file a writer created) stay known while they have files.
	const TArray<FString> Previous = std::move(KnownCategories);
	KnownCategories.Reset();
	Files.Empty();
	UE::Host::Config::GetSectionPeeks(*this).ForgetAll();
	for (const FString& Category : Categories)
	{
		KnownCategories.Add(Category);
	}
	for (const FString& Category : Previous)
	{
		if (!KnownCategories.Contains(Category))
		{
			LoadCategory(Category);
		}
	}
}
