#include "Host/HostEnvironment.h"

#include "Misc/Paths.h"

namespace
{
	UE::Host::FEnvironment& GetMutableEnvironment()
	{
		static UE::Host::FEnvironment Environment;
		return Environment;
	}

	// Absolute, '/' separated, without "." or ".." segments, ending with '/'. Empty stays empty
	// so that a missing folder is never mistaken for the current directory.
	FString MakeAbsoluteDirectory(const FString& Directory)
	{
		if (Directory.IsEmpty())
		{
			return FString();
		}
		FString Result = FPaths::ConvertRelativePathToFull(Directory);
		if (!Result.EndsWith(TEXT("/")))
		{
			Result.AppendChar('/');
		}
		return Result;
	}
}

namespace UE::Host
{
	void SetEnvironment(const FEnvironment& Environment)
	{
		FEnvironment Stored = Environment;
		Stored.ProjectFilePath = Environment.ProjectFilePath.IsEmpty() ? FString() : FPaths::ConvertRelativePathToFull(Environment.ProjectFilePath);
		if (Stored.ProjectDir.IsEmpty() && !Stored.ProjectFilePath.IsEmpty())
		{
			Stored.ProjectDir = FPaths::GetPath(Stored.ProjectFilePath);
		}
		Stored.EngineDir = MakeAbsoluteDirectory(Environment.EngineDir);
		Stored.ProjectDir = MakeAbsoluteDirectory(Stored.ProjectDir);
		Stored.UserSettingsDir = MakeAbsoluteDirectory(Environment.UserSettingsDir);
		GetMutableEnvironment() = std::move(Stored);
	}

	const FEnvironment& GetEnvironment()
	{
		return GetMutableEnvironment();
	}
}

namespace UE::Host
{
	FString GetProjectName()
	{
		const FEnvironment& Environment = GetEnvironment();
		if (!Environment.ProjectFilePath.IsEmpty())
		{
			return FPaths::GetBaseFilename(Environment.ProjectFilePath);
		}
		FString Directory = Environment.ProjectDir;
		FPaths::NormalizeDirectoryName(Directory);
		return FPaths::GetCleanFilename(Directory);
	}
}
