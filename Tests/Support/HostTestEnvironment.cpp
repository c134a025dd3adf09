#include "HostTestEnvironment.h"

#include <fstream>
#include <random>
#include <sstream>

FTempHostFolders::FTempHostFolders()
{
	std::random_device Random;
	RootDir = std::filesystem::temp_directory_path() / ("orvex-test-" + std::to_string(Random()) + std::to_string(Random()));
	std::filesystem::create_directories(EngineDir() / "Config");
	std::filesystem::create_directories(ProjectDir() / "Config");
	std::filesystem::create_directories(UserDir());
	Write(ProjectDir() / "Project.uproject", "{\n\t\"FileVersion\": 3\n}\n");
}

FTempHostFolders::~FTempHostFolders()
{
	std::error_code Error;
	// Tests may leave read-only files behind; make them removable first.
	for (const auto& Entry : std::filesystem::recursive_directory_iterator(RootDir, Error))
	{
		std::filesystem::permissions(Entry.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, Error);
	}
	std::filesystem::remove_all(RootDir, Error);
}

void FTempHostFolders::Write(const std::filesystem::path& Path, const std::string& Content) const
{
	std::filesystem::create_directories(Path.parent_path());
	std::ofstream Stream(Path, std::ios::binary | std::ios::trunc);
	Stream << Content;
}

std::string FTempHostFolders::Read(const std::filesystem::path& Path)
{
	std::ifstream Stream(Path, std::ios::binary);
	std::ostringstream Content;
	Content << Stream.rdbuf();
	return Content.str();
}

UE::Host::FEnvironment FTempHostFolders::MakeEnvironment() const
{
	UE::Host::FEnvironment Environment;
	Environment.EngineDir = UE::Host::Utf8ToString(EngineDir().string());
	Environment.ProjectDir = UE::Host::Utf8ToString(ProjectDir().string());
	Environment.ProjectFilePath = UE::Host::Utf8ToString((ProjectDir() / "Project.uproject").string());
	Environment.UserSettingsDir = UE::Host::Utf8ToString(UserDir().string());
	Environment.Culture = TEXT("en");
	return Environment;
}

FScopedHost::FScopedHost(const UE::Host::FEnvironment& Environment)
{
	Engine.Startup(Environment, Error);
}

FScopedHost::~FScopedHost()
{
	Engine.Shutdown();
}
