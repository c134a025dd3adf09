#include "Config/ConfigHierarchy.h"

#include "Config/ConfigCommands.h"
#include "Config/ConfigDiskState.h"
#include "Config/ConfigMergeState.h"
#include "Config/ConfigSectionPeeks.h"
#include "HAL/FileManager.h"
#include "Host/ConfigSystem.h"
#include "Host/HostEnvironment.h"
#include "CoreGlobals.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"

DEFINE_LOG_CATEGORY_STATIC(LogConfig, Log, All);

namespace
{
	// Category names found in one folder from files named <Prefix><C>.ini.
	void CollectCategories(const FString& Directory, const TCHAR* Prefix, TArray<FString>& InOutCategories)
	{
		if (Directory.IsEmpty())
		{
			return;
		}
		const int32 PrefixLength = FCString::Strlen(Prefix);
		TArray<FString> Names;
		IFileManager::Get().FindFiles(Names, *(Directory + Prefix + TEXT("*.ini")), true, false);
		// Listing order differs between machines; name order keeps every run alike.
		Names.Sort([](const FString& A, const FString& B) { return A.Compare(B, ESearchCase::IgnoreCase) < 0; });
		for (const FString& Name : Names)
		{
			const FString Category = Name.Mid(PrefixLength, Name.Len() - PrefixLength - 4);
			if (UE::Host::IsValidConfigCategoryName(Category) && !InOutCategories.Contains(Category))
			{
				InOutCategories.Add(Category);
			}
		}
	}

	void ApplyOverrides(UE::Host::Config::FMergeFile& File, const FString& Category, const FString* OnlySection)
	{
		for (const FString& Argument : UE::Host::GetEnvironment().IniOverrides)
		{
			TArray<UE::Host::FConfigOverride> Overrides;
			FString Error;
			if (!UE::Host::ParseConfigOverride(Argument, Overrides, Error))
			{
				UE_LOG(LogConfig, Warning, TEXT("%s"), *Error);
				continue;
			}
			for (const UE::Host::FConfigOverride& Override : Overrides)
			{
				if (Override.Category == Category && (!OnlySection || Override.Section == *OnlySection))
				{
					File.FindOrAddSection(Override.Section).Apply(Override.Operation, FName(Override.Key), Override.Value);
				}
			}
		}
	}
}

namespace UE::Host
{
	bool IsValidConfigCategoryName(const FString& Category)
	{
		if (Category.IsEmpty())
		{
			return false;
		}
		for (const TCHAR C : Category)
		{
			if (!FChar::IsAlnum(C) && C != '_' && C != '-')
			{
				return false;
			}
		}
		return true;
	}

	TArray<FConfigLayerFile> GetConfigLayerFiles(const FString& Category)
	{
		const FEnvironment& Environment = GetEnvironment();
		const FString EngineConfig = Environment.EngineDir.IsEmpty() ? FString() : FPaths::EngineConfigDir();
		const FString ProjectConfig = Environment.ProjectDir.IsEmpty() ? FString() : FPaths::ProjectConfigDir();
		const FString UserConfig = Environment.UserSettingsDir.IsEmpty() ? FString() : Environment.UserSettingsDir + TEXT("Unreal Engine/Engine/Config/");
		const FString SavedConfig = Environment.ProjectDir.IsEmpty() ? FString() : FPaths::GeneratedConfigDir() + Environment.SavedPlatformName + TEXT("/");

		TArray<FConfigLayerFile> Layers;
		auto AddLayer = [&Layers](EConfigLayer Layer, const FString& Directory, const FString& Name)
		{
			if (!Directory.IsEmpty())
			{
				Layers.Add(FConfigLayerFile{Layer, Directory + Name});
			}
		};
		// Each platform layer is read for every platform of the ini parent chain, parents first.
		const TArray<FString>& Chain = Config::GetIniPlatformChain();
		auto AddPlatformLayers = [&AddLayer, &Chain](EConfigLayer Layer, const FString& Directory, const TCHAR* Prefix, const FString& Category)
		{
			for (const FString& Platform : Chain)
			{
				AddLayer(Layer, Directory, Platform + TEXT("/") + Prefix + Platform + Category + TEXT(".ini"));
			}
		};
		AddLayer(EConfigLayer::AbsoluteBase, EngineConfig, TEXT("Base.ini"));
		AddLayer(EConfigLayer::EngineBase, EngineConfig, TEXT("Base") + Category + TEXT(".ini"));
		AddPlatformLayers(EConfigLayer::EnginePlatformBase, EngineConfig, TEXT("Base"), Category);
		AddLayer(EConfigLayer::ProjectDefault, ProjectConfig, TEXT("Default") + Category + TEXT(".ini"));
		AddPlatformLayers(EConfigLayer::EnginePlatform, EngineConfig, TEXT(""), Category);
		AddPlatformLayers(EConfigLayer::ProjectPlatform, ProjectConfig, TEXT(""), Category);
		AddLayer(EConfigLayer::GlobalUser, UserConfig, TEXT("User") + Category + TEXT(".ini"));
		AddLayer(EConfigLayer::ProjectUser, ProjectConfig, TEXT("User") + Category + TEXT(".ini"));
		AddLayer(EConfigLayer::Saved, SavedConfig, Category + TEXT(".ini"));
		return Layers;
	}

	FString GetConfigLayerFilename(const FString& Category, EConfigLayer Layer)
	{
		for (const FConfigLayerFile& File : GetConfigLayerFiles(Category))
		{
			if (File.Layer == Layer)
			{
				return File.Filename;
			}
		}
		return FString();
	}

	void InitializeConfigSystem()
	{
		if (!GConfig)
		{
			GConfig = new FConfigCacheIni();
		}
		Config::ResetDiskState();
		GConfig->ReloadAll();
	}

	void ShutdownConfigSystem()
	{
		delete GConfig;
		GConfig = nullptr;
		Config::ResetDiskState();
	}

	const TArray<FString>& GetIniPlatformChain()
	{
		return Config::GetIniPlatformChain();
	}

	bool ReloadConfigCategory(const FString& Category)
	{
		return GConfig && GConfig->LoadCategory(Category);
	}

	TArray<FString> RefreshConfigFromDisk()
	{
		TArray<FString> Reloaded;
		if (!GConfig || !Config::TakeConfigFolderChanges())
		{
			return Reloaded;
		}
		const TArray<FString> Known = GConfig->GetKnownCategories();
		for (const FString& Category : Config::GetCategoriesInUse(*GConfig))
		{
			if (Config::HaveCategoryFilesChanged(Category) && GConfig->LoadCategory(Category))
			{
				Reloaded.Add(Category);
			}
		}
		for (const FString& Category : Config::DiscoverCategories())
		{
			if (!Known.Contains(Category) && GConfig->LoadCategory(Category))
			{
				Reloaded.Add(Category);
			}
		}
		return Reloaded;
	}
}

namespace UE::Host::Config
{
	TArray<FString> DiscoverCategories()
	{
		const FEnvironment& Environment = GetEnvironment();
		TArray<FString> Categories;
		CollectCategories(Environment.EngineDir.IsEmpty() ? FString() : FPaths::EngineConfigDir(), TEXT("Base"), Categories);
		CollectCategories(Environment.ProjectDir.IsEmpty() ? FString() : FPaths::ProjectConfigDir(), TEXT("Default"), Categories);
		// A category named by an override exists even without files, as the engine's own always do.
		for (const FString& Argument : Environment.IniOverrides)
		{
			TArray<FConfigOverride> Overrides;
			FString Error;
			if (ParseConfigOverride(Argument, Overrides, Error))
			{
				for (const FConfigOverride& Override : Overrides)
				{
					if (IsValidConfigCategoryName(Override.Category) && !Categories.Contains(Override.Category))
					{
						Categories.Add(Override.Category);
					}
				}
			}
		}
		return Categories;
	}

	namespace
	{
		int32 BuildCategoryLayers(const FString& Category, FConfigFile& OutFile, bool bHierarchyOnly, const FString* OnlySection = nullptr)
		{
			OutFile.SourceFiles.Reset();
			OutFile.Name = Category;
			FMergeFile Merged;
			int32 FilesRead = 0;
			for (const FConfigLayerFile& Layer : GetConfigLayerFiles(Category))
			{
				FString Text;
				if (bHierarchyOnly && Layer.Layer == EConfigLayer::Saved)
				{
					continue;
				}
				if (Layer.Layer == EConfigLayer::AbsoluteBase)
				{
					// Shared by every category: read once, and as a plain file.
					if (!GetAbsoluteBaseText(Layer.Filename, Text))
					{
						continue;
					}
					CombinePlainConfigText(Merged, Text, OnlySection);
					OutFile.SourceFiles.Add(Layer.Filename);
					continue;
				}
				if (!FPaths::FileExists(Layer.Filename) || !FFileHelper::LoadFileToString(Text, *Layer.Filename))
				{
					continue;
				}
				if (Layer.Layer == EConfigLayer::Saved)
				{
					CombineSavedConfigText(Merged, Text, OnlySection);
				}
				else
				{
					CombineConfigText(Merged, Text, OnlySection);
				}
				OutFile.SourceFiles.Add(Layer.Filename);
				// Base.ini belongs to every category, so it alone does not make one exist.
				++FilesRead;
			}
			if (!bHierarchyOnly)
			{
				ApplyOverrides(Merged, Category, OnlySection);
			}
			Merged.MoveTo(OutFile);
			OutFile.bHasBeenLoaded = true;
			return FilesRead;
		}
	}

	int32 BuildCategory(const FString& Category, FConfigFile& OutFile)
	{
		return BuildCategoryLayers(Category, OutFile, false);
	}

	int32 BuildCategoryHierarchy(const FString& Category, FConfigFile& OutFile)
	{
		return BuildCategoryLayers(Category, OutFile, true);
	}

	bool BuildCategorySection(const FString& Category, const FString& Section, FConfigSection& OutSection)
	{
		FConfigFile File;
		BuildCategoryLayers(Category, File, false, &Section);
		FConfigSection* Found = File.FindSection(Section);
		if (!Found)
		{
			return false;
		}
		OutSection = std::move(*Found);
		return true;
	}
}
