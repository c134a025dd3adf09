#include "Misc/Paths.h"

#include "HAL/PlatformFileManager.h"
#include "Host/HostEnvironment.h"

#include <unistd.h>

#include <cerrno>
#include <string>

namespace
{
	bool IsSlash(TCHAR C)
	{
		return C == '/' || C == '\\';
	}

	int32 FindLastSlash(const FString& Path)
	{
		return Path.FindLastCharByPredicate(IsSlash);
	}

	FString GetCurrentDirectory()
	{
		std::string Buffer(4096, '\0');
		while (getcwd(Buffer.data(), Buffer.size()) == nullptr)
		{
			if (errno != ERANGE || Buffer.size() > (1u << 20))
			{
				return FString(TEXT("/"));
			}
			Buffer.resize(Buffer.size() * 2);
		}
		Buffer.resize(std::char_traits<char>::length(Buffer.c_str()));
		return UE::Host::Utf8ToString(Buffer);
	}
}

FString FPaths::EngineDir()
{
	return UE::Host::GetEnvironment().EngineDir;
}

FString FPaths::EngineConfigDir()
{
	return EngineDir() + TEXT("Config/");
}

FString FPaths::EngineContentDir()
{
	return EngineDir() + TEXT("Content/");
}

FString FPaths::EngineUserDir()
{
	// The per-version user folder of an installed engine; without a user folder the engine's own.
	const FString& UserSettingsDir = UE::Host::GetEnvironment().UserSettingsDir;
	return UserSettingsDir.IsEmpty() ? EngineDir() : UserSettingsDir + TEXT("UnrealEngine/5.7/");
}

FString FPaths::EngineVersionAgnosticUserDir()
{
	const FString& UserSettingsDir = UE::Host::GetEnvironment().UserSettingsDir;
	return UserSettingsDir.IsEmpty() ? EngineDir() : UserSettingsDir + TEXT("UnrealEngine/Common/");
}

FString FPaths::ProjectDir()
{
	return UE::Host::GetEnvironment().ProjectDir;
}

FString FPaths::ProjectConfigDir()
{
	return ProjectDir() + TEXT("Config/");
}

FString FPaths::ProjectContentDir()
{
	return ProjectDir() + TEXT("Content/");
}

const FString& FPaths::ProjectSavedDir()
{
	// The engine keeps one string for the process; the host may switch projects between boots.
	static FString SavedDir;
	const FString Current = ProjectDir() + TEXT("Saved/");
	if (!SavedDir.Equals(Current, ESearchCase::CaseSensitive))
	{
		SavedDir = Current;
	}
	return SavedDir;
}

FString FPaths::ProjectPluginsDir()
{
	return ProjectDir() + TEXT("Plugins/");
}

FString FPaths::GeneratedConfigDir()
{
	return ProjectSavedDir() + TEXT("Config/");
}

FString FPaths::GetProjectFilePath()
{
	return UE::Host::GetEnvironment().ProjectFilePath;
}

bool FPaths::FileExists(const FString& InPath)
{
	return FPlatformFileManager::Get().GetPlatformFile().FileExists(*InPath);
}

bool FPaths::DirectoryExists(const FString& InPath)
{
	return FPlatformFileManager::Get().GetPlatformFile().DirectoryExists(*InPath);
}

FString FPaths::GetCleanFilename(const FString& InPath)
{
	return InPath.RightChop(FindLastSlash(InPath) + 1);
}

FString FPaths::GetBaseFilename(const FString& InPath, bool bRemovePath)
{
	FString Result = bRemovePath ? GetCleanFilename(InPath) : InPath;
	const int32 DotPos = Result.Find(TEXT("."), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	if (DotPos != INDEX_NONE && DotPos > FindLastSlash(Result))
	{
		Result.LeftInline(DotPos);
	}
	return Result;
}

FString FPaths::GetExtension(const FString& InPath, bool bIncludeDot)
{
	const FString Filename = GetCleanFilename(InPath);
	const int32 DotPos = Filename.Find(TEXT("."), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
	return DotPos == INDEX_NONE ? FString() : Filename.Mid(DotPos + (bIncludeDot ? 0 : 1));
}

FString FPaths::GetPath(const FString& InPath)
{
	const int32 SlashPos = FindLastSlash(InPath);
	return SlashPos == INDEX_NONE ? FString() : InPath.Left(SlashPos);
}

bool FPaths::IsRelative(const FString& InPath)
{
	const bool bRooted = InPath.StartsWith(TEXT("/")) || InPath.StartsWith(TEXT("\\"))
		|| (InPath.Len() >= 2 && FChar::IsAlpha(InPath[0]) && InPath[1] == ':');
	return !bRooted;
}

void FPaths::NormalizeFilename(FString& InPath)
{
	InPath.ReplaceCharInline('\\', '/', ESearchCase::CaseSensitive);
}

void FPaths::NormalizeDirectoryName(FString& InPath)
{
	NormalizeFilename(InPath);
	// The root keeps its slash: "/" and "C:/" name a directory on their own.
	while (InPath.Len() > 1 && InPath.EndsWith(TEXT("/")) && !(InPath.Len() == 3 && InPath[1] == ':'))
	{
		InPath.LeftChopInline(1);
	}
}

void FPaths::RemoveDuplicateSlashes(FString& InPath)
{
	std::u16string& Data = InPath.GetStdString();
	size_t Write = 0;
	for (size_t Read = 0; Read < Data.size(); ++Read)
	{
		if (Data[Read] == '/' && Write > 0 && Data[Write - 1] == '/')
		{
			continue;
		}
		Data[Write++] = Data[Read];
	}
	Data.resize(Write);
}

bool FPaths::CollapseRelativeDirectories(FString& InPath)
{
	TArray<FString> Segments;
	InPath.ParseIntoArray(Segments, TEXT("/"), false);
	TArray<FString> Kept;
	// Segments that ".." may remove: everything after a leading root marker.
	int32 FirstRemovable = 0;
	if (Segments.Num() > 1 && Segments[0].IsEmpty())
	{
		Kept.Add(FString());
		FirstRemovable = 1;
	}
	for (int32 Index = FirstRemovable; Index < Segments.Num(); ++Index)
	{
		const FString& Segment = Segments[Index];
		const bool bLast = Index == Segments.Num() - 1;
		if (Segment.Equals(TEXT(".")))
		{
			if (bLast)
			{
				Kept.Add(FString());
			}
			continue;
		}
		if (Segment.Equals(TEXT("..")))
		{
			if (Kept.Num() <= FirstRemovable || (Kept.Num() == FirstRemovable + 1 && Kept.Last().EndsWith(TEXT(":"))))
			{
				return false;
			}
			Kept.Pop();
			if (bLast)
			{
				Kept.Add(FString());
			}
			continue;
		}
		Kept.Add(Segment);
	}
	FString Result = FString::Join(Kept, TEXT("/"));
	if (Result.IsEmpty() && FirstRemovable == 1)
	{
		Result = TEXT("/");
	}
	InPath = std::move(Result);
	return true;
}

FString FPaths::ConvertRelativePathToFull(const FString& InPath)
{
	return ConvertRelativePathToFull(GetCurrentDirectory(), InPath);
}

FString FPaths::ConvertRelativePathToFull(const FString& BasePath, const FString& InPath)
{
	FString FullPath = IsRelative(InPath) ? Combine(BasePath, InPath) : InPath;
	NormalizeFilename(FullPath);
	RemoveDuplicateSlashes(FullPath);
	// A path that climbs above its root is returned as joined rather than guessed at.
	CollapseRelativeDirectories(FullPath);
	if (FullPath.IsEmpty())
	{
		FullPath = TEXT("/");
	}
	return FullPath;
}

bool FPaths::IsUnderDirectory(const FString& InPath, const FString& InDirectory)
{
	const FString Path = ConvertRelativePathToFull(InPath);
	FString Directory = ConvertRelativePathToFull(InDirectory);
	if (Directory.EndsWith(TEXT("/")))
	{
		Directory.LeftChopInline(1);
	}
	// Linux paths are case-sensitive.
	if (!Path.StartsWith(Directory, ESearchCase::CaseSensitive) && !Directory.IsEmpty())
	{
		return false;
	}
	return Path.Len() == Directory.Len() || Path[Directory.Len()] == '/';
}

FString FPaths::CombineInternal(const TCHAR** Paths, int32 NumPaths)
{
	if (NumPaths <= 0)
	{
		return FString();
	}
	FString Result(Paths[0]);
	for (int32 Index = 1; Index < NumPaths; ++Index)
	{
		Result /= Paths[Index];
	}
	return Result;
}
