#include "ObjectConfigAccess.h"

#include "Host/HostEnvironment.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/CoreGlobals.h"
#include "Misc/Paths.h"

namespace UE::Host::ObjectConfig
{
	namespace
	{
		const FString* FindGlobalIniName(const FName ConfigName)
		{
			static const FName NAME_Engine(TEXT("Engine"));
			static const FName NAME_Editor(TEXT("Editor"));
			static const FName NAME_Input(TEXT("Input"));
			static const FName NAME_Game(TEXT("Game"));
			static const FName NAME_EditorPerProjectUserSettings(TEXT("EditorPerProjectUserSettings"));
			static const FName NAME_Scalability(TEXT("Scalability"));
			static const FName NAME_GameUserSettings(TEXT("GameUserSettings"));
			if (ConfigName == NAME_Engine) { return &GEngineIni; }
			if (ConfigName == NAME_Editor) { return &GEditorIni; }
			if (ConfigName == NAME_Input) { return &GInputIni; }
			if (ConfigName == NAME_Game) { return &GGameIni; }
			if (ConfigName == NAME_EditorPerProjectUserSettings) { return &GEditorPerProjectIni; }
			if (ConfigName == NAME_Scalability) { return &GScalabilityIni; }
			if (ConfigName == NAME_GameUserSettings) { return &GGameUserSettingsIni; }
			return nullptr;
		}
	}

	FString GetConfigFilename(FName ConfigName)
	{
		if (ConfigName.IsNone())
		{
			return FString();
		}
		if (const FString* Global = FindGlobalIniName(ConfigName); Global && !Global->IsEmpty())
		{
			return *Global;
		}
		const FString Name = ConfigName.ToString();
		const FString Known = GConfig ? GConfig->GetConfigFilename(*Name) : FString();
		return Known.IsEmpty() ? Name : Known;
	}

	bool GetString(const FString& Section, const FString& Key, FString& OutValue, const FString& Filename)
	{
		return GConfig && GConfig->GetString(*Section, *Key, OutValue, Filename);
	}

	bool GetArray(const FString& Section, const FString& Key, TArray<FString>& OutValues, const FString& Filename)
	{
		return GConfig && GConfig->GetArray(*Section, *Key, OutValues, Filename) > 0;
	}

	bool GetSectionPairs(const FString& Section, const FString& Filename, TArray<TPair<FString, FString>>& OutPairs)
	{
		TArray<FString> Lines;
		if (!GConfig || !GConfig->GetSection(*Section, Lines, Filename))
		{
			return false;
		}
		for (const FString& Line : Lines)
		{
			int32 Equals = INDEX_NONE;
			if (Line.FindChar(TEXT('='), Equals))
			{
				OutPairs.Add(TPair<FString, FString>(Line.Left(Equals), Line.RightChop(Equals + 1)));
			}
		}
		return true;
	}

	FString GetProjectConfigDir()
	{
		return FPaths::ProjectConfigDir();
	}

	FString GetUserSettingsDir()
	{
		return UE::Host::GetEnvironment().UserSettingsDir;
	}
}
