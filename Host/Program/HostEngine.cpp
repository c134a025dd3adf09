#include "HostEngine.h"

#include "HostOptions.h"
#include "Host/AssetSystem.h"
#include "Host/ConfigSystem.h"
#include "Host/Internationalization.h"
#include "Host/ObjectSystem.h"
#include "Misc/Paths.h"
#include "Modules/ModuleManager.h"

#include <cstdlib>
#include <filesystem>

namespace
{
	FString ToFString(const std::string& Text)
	{
		return UE::Host::Utf8ToString(Text);
	}

	FString DefaultUserSettingsDir()
	{
		if (const char* ConfigHome = std::getenv("XDG_CONFIG_HOME"); ConfigHome && *ConfigHome)
		{
			return ToFString(ConfigHome) / TEXT("Epic");
		}
		if (const char* Home = std::getenv("HOME"); Home && *Home)
		{
			return ToFString(Home) / TEXT(".config/Epic");
		}
		return FString(TEXT(".config/Epic"));
	}

	// An installed program serves the samples installed beside it; a built one, the source tree's.
	std::filesystem::path FindSamples()
	{
		std::error_code Error;
		const std::filesystem::path Executable = std::filesystem::read_symlink("/proc/self/exe", Error);
		if (!Error)
		{
			const std::filesystem::path Installed = Executable.parent_path().parent_path() / ORVEX_INSTALLED_SAMPLES_DIR;
			if (std::filesystem::is_directory(Installed / "Engine", Error) && std::filesystem::is_directory(Installed / "SampleProject", Error))
			{
				return Installed;
			}
		}
		return std::filesystem::path(ORVEX_SAMPLES_DIR);
	}

	FString LocaleCulture()
	{
		for (const char* Variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
		{
			if (const char* Value = std::getenv(Variable); Value && *Value)
			{
				return ToFString(Value);
			}
		}
		return FString();
	}
}

FHostEngine::~FHostEngine()
{
	Shutdown();
}

bool FHostEngine::MakeEnvironment(const FHostOptions& Options, UE::Host::FEnvironment& OutEnvironment, FString& OutError)
{
	namespace fs = std::filesystem;
	// The bundled samples stand in for both or for neither: an engine with the sample project (or
	// the reverse) would read and write files that belong together with nothing of the user's.
	if (Options.EngineDir.empty() != Options.Project.empty())
	{
		OutError = Options.EngineDir.empty() ? FString(TEXT("--project needs --engine too (the engine folder that holds Config/ and Content/)"))
			: FString(TEXT("--engine needs --project too (the project folder or its .uproject file)"));
		return false;
	}
	const fs::path Samples = Options.EngineDir.empty() ? FindSamples() : fs::path();

	const fs::path EngineDir = Options.EngineDir.empty() ? Samples / "Engine" : fs::path(Options.EngineDir);
	std::error_code Error;
	if (!fs::is_directory(EngineDir, Error))
	{
		OutError = FString::Printf(TEXT("engine folder '%s' does not exist"), *ToFString(EngineDir.string()));
		return false;
	}

	fs::path ProjectDir = Options.Project.empty() ? Samples / "SampleProject" : fs::path(Options.Project);
	fs::path ProjectFile;
	if (fs::is_regular_file(ProjectDir, Error))
	{
		if (ProjectDir.extension() != ".uproject")
		{
			OutError = FString::Printf(TEXT("'%s' is not a folder or a .uproject file"), *ToFString(ProjectDir.string()));
			return false;
		}
		ProjectFile = ProjectDir;
		ProjectDir = ProjectDir.parent_path();
	}
	else if (!fs::is_directory(ProjectDir, Error))
	{
		OutError = FString::Printf(TEXT("project folder '%s' does not exist"), *ToFString(ProjectDir.string()));
		return false;
	}
	else
	{
		for (const fs::directory_entry& Entry : fs::directory_iterator(ProjectDir, Error))
		{
			if (Entry.is_regular_file(Error) && Entry.path().extension() == ".uproject")
			{
				ProjectFile = Entry.path();
				break;
			}
		}
	}

	OutEnvironment = UE::Host::FEnvironment();
	OutEnvironment.EngineDir = ToFString(EngineDir.string());
	OutEnvironment.ProjectDir = ToFString(ProjectDir.string());
	OutEnvironment.ProjectFilePath = ProjectFile.empty() ? FString() : ToFString(ProjectFile.string());
	OutEnvironment.UserSettingsDir = Options.UserDir.empty() ? DefaultUserSettingsDir() : ToFString(Options.UserDir);
	for (const std::string& Override : Options.IniOverrides)
	{
		TArray<UE::Host::FConfigOverride> Parsed;
		FString ParseError;
		if (!UE::Host::ParseConfigOverride(ToFString(Override), Parsed, ParseError))
		{
			OutError = FString::Printf(TEXT("bad --ini '%s': %s"), *ToFString(Override), *ParseError);
			return false;
		}
		OutEnvironment.IniOverrides.Add(ToFString(Override));
	}
	OutEnvironment.Culture = Options.Culture.empty() ? LocaleCulture() : ToFString(Options.Culture);
	OutEnvironment.bCultureRequired = !Options.Culture.empty();
	return true;
}

bool FHostEngine::Startup(const UE::Host::FEnvironment& Environment, FString& OutError)
{
	Shutdown();
	UE::Host::SetEnvironment(Environment);
	UE::Host::InitializeConfigSystem();
	// A culture asked for by name is checked now, so that a wrong one fails the start-up.
	if (!Environment.bCultureRequired)
	{
		UE::Host::DeferInternationalization(UE::Host::GetEnvironment().Culture);
	}
	else if (!UE::Host::InitializeInternationalization(UE::Host::GetEnvironment().Culture))
	{
		OutError = FString::Printf(TEXT("unknown culture '%s'"), *Environment.Culture);
		UE::Host::ShutdownConfigSystem();
		return false;
	}
	UE::Host::InitializeObjectSystem();
	UE::Host::InitializeAssetSystem();
	bRunning = true;
	if (!FModuleManager::Get().LoadModule(TEXT("OrvexConfig")))
	{
		OutError = TEXT("the OrvexConfig module is not registered");
		Shutdown();
		return false;
	}
	return true;
}

void FHostEngine::ShutdownForExit()
{
	if (!bRunning)
	{
		return;
	}
	bRunning = false;
	FModuleManager::Get().UnloadModulesAtShutdown();
}

void FHostEngine::Shutdown()
{
	if (!bRunning)
	{
		return;
	}
	ShutdownForExit();
	UE::Host::ShutdownAssetSystem();
	UE::Host::ShutdownObjectSystem();
	UE::Host::ShutdownConfigSystem();
}
