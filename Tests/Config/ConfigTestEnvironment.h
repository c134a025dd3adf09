// An engine folder, a project folder and a user folder in a temporary tree, with GConfig built
// from them on demand.
#pragma once

#include "CoreMinimal.h"
#include "Host/ConfigSystem.h"
#include "Host/HostEnvironment.h"
#include "Misc/ConfigCacheIni.h"
#include "ScopedTestFolder.h"

#include <gtest/gtest.h>

#include <string>

class FConfigTestEnvironment : public ::testing::Test
{
protected:
	void TearDown() override
	{
		UE::Host::ShutdownConfigSystem();
		UE::Host::SetEnvironment(UE::Host::FEnvironment());
	}

	void WriteEngine(const FString& Relative, const std::string& Text) { Folder.WriteFile(TEXT("Engine/Config/") + Relative, Text); }
	void WriteProject(const FString& Relative, const std::string& Text) { Folder.WriteFile(TEXT("Project/") + Relative, Text); }
	void WriteUser(const FString& Relative, const std::string& Text) { Folder.WriteFile(TEXT("User/") + Relative, Text); }

	// Points the host at the tree (with the given "--ini" overrides) and builds GConfig.
	void Load(const TArray<FString>& IniOverrides = {})
	{
		UE::Host::FEnvironment Environment;
		Environment.EngineDir = Folder.Path(TEXT("Engine"));
		Environment.ProjectDir = Folder.Path(TEXT("Project"));
		Environment.UserSettingsDir = Folder.Path(TEXT("User"));
		Environment.IniOverrides = IniOverrides;
		UE::Host::SetEnvironment(Environment);
		UE::Host::InitializeConfigSystem();
	}

	std::string Get(const TCHAR* Category, const TCHAR* Section, const TCHAR* Key)
	{
		FString Value;
		if (!GConfig->GetString(Section, Key, Value, GConfig->GetConfigFilename(Category)))
		{
			return "<missing>";
		}
		return ToUtf8(Value);
	}

	std::string GetArray(const TCHAR* Category, const TCHAR* Section, const TCHAR* Key)
	{
		TArray<FString> Values;
		GConfig->GetArray(Section, Key, Values, GConfig->GetConfigFilename(Category));
		return ToUtf8(FString::Join(Values, TEXT("|")));
	}

	FScopedTestFolder Folder;
};
