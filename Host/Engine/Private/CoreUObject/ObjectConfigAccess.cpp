#include "ObjectConfigAccess.h"

#include "Config/ConfigHierarchy.h"
#include "Config/ConfigSectionPeeks.h"
#include "Host/ConfigSystem.h"
#include "Host/HostEnvironment.h"
#include "Misc/ConfigCacheIni.h"
#include "CoreGlobals.h"
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
		// A category the cache does not know keeps its short name as the key, so writes still land.
		const FString Name = ConfigName.ToString();
		if (GConfig)
		{
			const TArray<FString> Known = GConfig->GetKnownCategories();
			const int32 Index = Known.Find(Name);
			if (Index != INDEX_NONE)
			{
				return Known[Index];
			}
		}
		return Name;
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

	void LoadCategoryHierarchy(const FString& Category, FConfigFile& OutFile)
	{
		OutFile.Empty();
		UE::Host::Config::BuildCategoryHierarchy(Category, OutFile);
	}

	FString GetSavedConfigFilename(const FString& Category)
	{
		return GetConfigLayerFilename(Category, EConfigLayer::Saved);
	}

	void ReloadAfterWrite(const FString& Category, const FString& File)
	{
		if (!GConfig)
		{
			return;
		}
		if (IsValidConfigCategoryName(Category))
		{
			ReloadConfigCategory(Category);
		}
		// Categories not read yet read the file when they are first used.
		for (const FString& Known : Config::GetCategoriesInUse(*GConfig))
		{
			if (Known == Category)
			{
				continue;
			}
			for (const FConfigLayerFile& Layer : GetConfigLayerFiles(Known))
			{
				if (Layer.Filename.Equals(File, ESearchCase::CaseSensitive))
				{
					ReloadConfigCategory(Known);
					break;
				}
			}
		}
	}

	bool IsWritableConfigLocation(const FString& FullPath, FString& OutReason)
	{
		const FEnvironment& Environment = GetEnvironment();
		if (!FPaths::IsRelative(FullPath))
		{
			if (!Environment.ProjectDir.IsEmpty() && FPaths::IsUnderDirectory(FullPath, Environment.ProjectDir))
			{
				return true;
			}
			if (!Environment.UserSettingsDir.IsEmpty() && FPaths::IsUnderDirectory(FullPath, Environment.UserSettingsDir + TEXT("Unreal Engine/Engine/Config/")))
			{
				return true;
			}
		}
		OutReason = FString::Printf(TEXT("'%s' is outside the project folder and the user config folder, where config files may be written."), *FullPath);
		return false;
	}
}
