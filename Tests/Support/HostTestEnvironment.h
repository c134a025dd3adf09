// Temporary engine, project and user folders for tests, and a booted host on top of them.
#pragma once

#include "CoreMinimal.h"
#include "Host/HostEnvironment.h"
#include "HostEngine.h"

#include <filesystem>
#include <string>

class FTempHostFolders
{
public:
	FTempHostFolders();
	~FTempHostFolders();
	FTempHostFolders(const FTempHostFolders&) = delete;
	FTempHostFolders& operator=(const FTempHostFolders&) = delete;

	const std::filesystem::path& Root() const { return RootDir; }
	std::filesystem::path EngineDir() const { return RootDir / "Engine"; }
	std::filesystem::path ProjectDir() const { return RootDir / "Project"; }
	std::filesystem::path UserDir() const { return RootDir / "User"; }

	// Writes a file (UTF-8, exactly the given bytes), creating folders as needed.
	void Write(const std::filesystem::path& Path, const std::string& Content) const;
	void WriteEngine(const std::string& RelativePath, const std::string& Content) const { Write(EngineDir() / RelativePath, Content); }
	void WriteProject(const std::string& RelativePath, const std::string& Content) const { Write(ProjectDir() / RelativePath, Content); }
	static std::string Read(const std::filesystem::path& Path);

	// An environment over these folders (no overrides, culture "en").
	UE::Host::FEnvironment MakeEnvironment() const;

private:
	std::filesystem::path RootDir;
};

// Boots the host on the folders for the lifetime of the object.
class FScopedHost
{
public:
	explicit FScopedHost(const UE::Host::FEnvironment& Environment);
	~FScopedHost();

	bool IsRunning() const { return Engine.IsRunning(); }
	const FString& GetError() const { return Error; }

private:
	FHostEngine Engine;
	FString Error;
};
