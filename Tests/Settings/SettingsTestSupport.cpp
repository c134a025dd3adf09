#include "SettingsTestSupport.h"

#include "Host/HostEnvironment.h"
#include "Host/ObjectSystem.h"
#include "Misc/ConfigCacheIni.h"
#include "CoreGlobals.h"

#include <atomic>
#include <fstream>
#include <unistd.h>

namespace
{
	const TCHAR* const GCategories[] = {TEXT("Engine"), TEXT("Game"), TEXT("Input"), TEXT("Editor"), TEXT("EditorPerProjectUserSettings")};

	FString ToFolder(const std::filesystem::path& Path)
	{
		return FString(Path.u16string().c_str()) + TEXT("/");
	}
}

FSettingsTestEnvironment::FSettingsTestEnvironment()
{
	static std::atomic<int32> Counter{0};
	Root = std::filesystem::temp_directory_path() / ("OrvexSettingsTest-" + std::to_string(getpid()) + "-" + std::to_string(Counter++));
	std::filesystem::remove_all(Root);
	std::filesystem::create_directories(Root / "Engine" / "Config");
	std::filesystem::create_directories(Root / "Project" / "Config");
	std::filesystem::create_directories(Root / "User");
	// Empty base files make every category known to the cache.
	for (const TCHAR* Category : GCategories)
	{
		std::ofstream(Root / "Engine" / "Config" / ("Base" + UE::Host::StringToUtf8(FString(Category)) + ".ini"));
	}

	UE::Host::FEnvironment HostEnvironment;
	HostEnvironment.EngineDir = ToFolder(Root / "Engine");
	HostEnvironment.ProjectDir = ToFolder(Root / "Project");
	HostEnvironment.UserSettingsDir = ToFolder(Root / "User");
	UE::Host::SetEnvironment(HostEnvironment);

	GConfig = new FConfigCacheIni();
	for (const TCHAR* Category : GCategories)
	{
		GConfig->LoadCategory(Category);
	}
}

FSettingsTestEnvironment::~FSettingsTestEnvironment()
{
	if (bStarted)
	{
		UE::Host::ShutdownObjectSystem();
	}
	delete GConfig;
	GConfig = nullptr;
	std::error_code Ignored;
	std::filesystem::remove_all(Root, Ignored);
}

void FSettingsTestEnvironment::SetValue(const TCHAR* Category, const TCHAR* Section, const TCHAR* Key, const TCHAR* Value)
{
	GConfig->SetString(Section, Key, Value, GConfig->GetConfigFilename(Category));
}

void FSettingsTestEnvironment::SetArray(const TCHAR* Category, const TCHAR* Section, const TCHAR* Key, const TArray<FString>& Values)
{
	GConfig->SetArray(Section, Key, Values, GConfig->GetConfigFilename(Category));
}

void FSettingsTestEnvironment::Start()
{
	UE::Host::InitializeObjectSystem();
	bStarted = true;
}

void FSettingsTest::SetUp()
{
	Environment.Emplace();
	Environment->Start();
}

void FSettingsTest::TearDown()
{
	Environment.Reset();
}
