// A minimal in-memory config cache, FPaths and host environment, standing in for the real ones
// until those are built into this tree. Only what the object system and these tests call.
// Delete this file once Host/Engine implements Misc/ConfigCacheIni.h, Misc/Paths.h and
// Host/HostEnvironment.h.
#include "Host/HostEnvironment.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/CoreGlobals.h"
#include "Misc/Paths.h"

FConfigCacheIni* GConfig = nullptr;
FString GEngineIni;
FString GGameIni;
FString GInputIni;
FString GEditorIni;
FString GEditorPerProjectIni;
FString GScalabilityIni;
FString GGameUserSettingsIni;

namespace
{
	UE::Host::FEnvironment& StandInEnvironment()
	{
		static UE::Host::FEnvironment Environment;
		return Environment;
	}
}

namespace UE::Host
{
	void SetEnvironment(const FEnvironment& Environment)
	{
		StandInEnvironment() = Environment;
	}

	const FEnvironment& GetEnvironment()
	{
		return StandInEnvironment();
	}
}

FString FPaths::ProjectConfigDir()
{
	return UE::Host::GetEnvironment().ProjectDir + TEXT("Config/");
}

FConfigCacheIni::FConfigCacheIni() = default;
FConfigCacheIni::~FConfigCacheIni() = default;

FString FConfigCacheIni::GetConfigFilename(const TCHAR* BaseIniName)
{
	return Files.Contains(FString(BaseIniName)) ? FString(BaseIniName) : FString();
}

bool FConfigCacheIni::LoadCategory(const FString& Category)
{
	Files.FindOrAdd(Category).Name = Category;
	return true;
}

bool FConfigCacheIni::GetString(const TCHAR* Section, const TCHAR* Key, FString& Value, const FString& Filename)
{
	const FConfigFile* File = Files.Find(Filename);
	const FConfigSection* Found = File ? File->FindSection(Section) : nullptr;
	const FConfigValue* Entry = Found ? Found->Find(FName(Key)) : nullptr;
	if (!Entry)
	{
		return false;
	}
	Value = Entry->GetValue();
	return true;
}

int32 FConfigCacheIni::GetArray(const TCHAR* Section, const TCHAR* Key, TArray<FString>& Value, const FString& Filename)
{
	Value.Empty();
	const FConfigFile* File = Files.Find(Filename);
	const FConfigSection* Found = File ? File->FindSection(Section) : nullptr;
	if (Found)
	{
		TArray<FConfigValue> Values;
		Found->MultiFind(FName(Key), Values, true);
		for (const FConfigValue& Entry : Values)
		{
			Value.Add(Entry.GetValue());
		}
	}
	return Value.Num();
}

bool FConfigCacheIni::GetSection(const TCHAR* Section, TArray<FString>& Result, const FString& Filename)
{
	Result.Empty();
	const FConfigFile* File = Files.Find(Filename);
	const FConfigSection* Found = File ? File->FindSection(Section) : nullptr;
	if (!Found)
	{
		return false;
	}
	for (const auto& Entry : *Found)
	{
		Result.Add(Entry.Key.ToString() + TEXT("=") + Entry.Value.GetValue());
	}
	return true;
}

void FConfigCacheIni::SetString(const TCHAR* Section, const TCHAR* Key, const TCHAR* Value, const FString& Filename)
{
	if (FConfigFile* File = Files.Find(Filename))
	{
		FConfigSection& Target = File->FindOrAddSection(Section);
		Target.Remove(FName(Key));
		Target.Add(FName(Key), FConfigValue(FString(Value)));
	}
}

void FConfigCacheIni::SetArray(const TCHAR* Section, const TCHAR* Key, const TArray<FString>& Value, const FString& Filename)
{
	if (FConfigFile* File = Files.Find(Filename))
	{
		FConfigSection& Target = File->FindOrAddSection(Section);
		Target.Remove(FName(Key));
		for (const FString& Element : Value)
		{
			Target.Add(FName(Key), FConfigValue(Element));
		}
	}
}
