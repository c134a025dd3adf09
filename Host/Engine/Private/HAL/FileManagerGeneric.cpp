#include "HAL/FileManager.h"

#include "HAL/PlatformFileManager.h"
#include "Misc/Paths.h"

#include <sys/stat.h>

#include <set>
#include <utility>

namespace
{
	// '*' and '?' wildcards, letter case ignored. Greedy with one backtrack point, so the cost
	// stays linear in practice and nothing recurses.
	bool MatchesWildcard(const FString& Name, const FString& Wildcard)
	{
		const int32 NameLen = Name.Len();
		const int32 WildLen = Wildcard.Len();
		int32 N = 0;
		int32 W = 0;
		int32 StarW = INDEX_NONE;
		int32 StarN = 0;
		while (N < NameLen)
		{
			if (W < WildLen && (Wildcard[W] == '?' || FChar::ToLower(Wildcard[W]) == FChar::ToLower(Name[N])))
			{
				++N;
				++W;
			}
			else if (W < WildLen && Wildcard[W] == '*')
			{
				StarW = W++;
				StarN = N;
			}
			else if (StarW != INDEX_NONE)
			{
				W = StarW + 1;
				N = ++StarN;
			}
			else
			{
				return false;
			}
		}
		while (W < WildLen && Wildcard[W] == '*')
		{
			++W;
		}
		return W == WildLen;
	}

	class FFileManagerGeneric final : public IFileManager
	{
	public:
		void FindFiles(TArray<FString>& FoundFiles, const TCHAR* Directory, const TCHAR* FileExtension) override;
		void FindFiles(TArray<FString>& FileNames, const TCHAR* InFilename, bool Files, bool Directories) override
		{
			FString Filename(InFilename);
			FPaths::NormalizeFilename(Filename);
			const FString Directory = FPaths::GetPath(Filename);
			FString Wildcard = FPaths::GetCleanFilename(Filename);
			if (Wildcard.Equals(TEXT("*.*")))
			{
				Wildcard = TEXT("*");
			}
			GetPlatformFile().IterateDirectory(Directory.IsEmpty() ? TEXT(".") : *Directory,
				[&](const TCHAR* Path, bool bIsDirectory)
				{
					if (bIsDirectory ? Directories : Files)
					{
						FString Name = FPaths::GetCleanFilename(FString(Path));
						if (MatchesWildcard(Name, Wildcard))
						{
							FileNames.Add(std::move(Name));
						}
					}
					return true;
				});
		}

		void FindFilesRecursive(TArray<FString>& FileNames, const TCHAR* StartDirectory, const TCHAR* Filename,
			bool Files, bool Directories, bool bClearFileNames) override
		{
			if (bClearFileNames)
			{
				FileNames.Reset();
			}
			FString Start(StartDirectory);
			FPaths::NormalizeDirectoryName(Start);
			const FString Wildcard(Filename);
			// Depth first with an explicit stack; a folder reached twice through links is skipped.
			TArray<FString> Pending;
			Pending.Add(Start);
			std::set<std::pair<dev_t, ino_t>> Visited;
			while (!Pending.IsEmpty())
			{
				const FString Directory = Pending.Pop();
				struct stat Info;
				if (::stat(UE::Host::StringToUtf8(Directory).c_str(), &Info) != 0 || !Visited.emplace(Info.st_dev, Info.st_ino).second)
				{
					continue;
				}
				TArray<FString> Names;
				FindFiles(Names, *(Directory / Wildcard), Files, Directories);
				for (const FString& Name : Names)
				{
					FileNames.Add(Directory / Name);
				}
				TArray<FString> Subdirectories;
				FindFiles(Subdirectories, *(Directory / TEXT("*")), false, true);
				for (int32 Index = Subdirectories.Num() - 1; Index >= 0; --Index)
				{
					Pending.Add(Directory / Subdirectories[Index]);
				}
			}
		}

		bool FileExists(const TCHAR* Filename) override
		{
			return GetPlatformFile().FileExists(Filename);
		}

		int64 FileSize(const TCHAR* Filename) override
		{
			return GetPlatformFile().FileSize(Filename);
		}

		bool IsReadOnly(const TCHAR* Filename) override
		{
			return GetPlatformFile().IsReadOnly(Filename);
		}

		bool Delete(const TCHAR* Filename, bool RequireExists, bool EvenReadOnly, bool Quiet) override
		{
			IPlatformFile& PlatformFile = GetPlatformFile();
			if (!PlatformFile.FileExists(Filename))
			{
				return !RequireExists;
			}
			if (PlatformFile.IsReadOnly(Filename))
			{
				if (!EvenReadOnly)
				{
					return false;
				}
				PlatformFile.SetReadOnly(Filename, false);
			}
			return PlatformFile.DeleteFile(Filename);
		}

		bool Move(const TCHAR* Dest, const TCHAR* Src, bool Replace, bool EvenIfReadOnly, bool Attributes, bool bDoNotRetryOrError) override
		{
			IPlatformFile& PlatformFile = GetPlatformFile();
			if (!PlatformFile.FileExists(Src))
			{
				return false;
			}
			if (PlatformFile.FileExists(Dest))
			{
				if (!Replace)
				{
					return false;
				}
				if (PlatformFile.IsReadOnly(Dest))
				{
					if (!EvenIfReadOnly)
					{
						return false;
					}
					PlatformFile.SetReadOnly(Dest, false);
				}
			}
			const FString DestDirectory = FPaths::GetPath(FString(Dest));
			if (!DestDirectory.IsEmpty() && !PlatformFile.CreateDirectoryTree(*DestDirectory))
			{
				return false;
			}
			return PlatformFile.MoveFile(Dest, Src);
		}

		bool DirectoryExists(const TCHAR* InDirectory) override
		{
			return GetPlatformFile().DirectoryExists(InDirectory);
		}

		bool MakeDirectory(const TCHAR* Path, bool Tree) override
		{
			IPlatformFile& PlatformFile = GetPlatformFile();
			return Tree ? PlatformFile.CreateDirectoryTree(Path) : (PlatformFile.CreateDirectory(Path) || PlatformFile.DirectoryExists(Path));
		}

		bool DeleteDirectory(const TCHAR* Path, bool RequireExists, bool Tree) override
		{
			IPlatformFile& PlatformFile = GetPlatformFile();
			if (!PlatformFile.DirectoryExists(Path))
			{
				return !RequireExists;
			}
			return Tree ? PlatformFile.DeleteDirectoryRecursively(Path) : PlatformFile.DeleteDirectory(Path);
		}

	private:
		static IPlatformFile& GetPlatformFile()
		{
			return FPlatformFileManager::Get().GetPlatformFile();
		}
	};
}

IFileManager& IFileManager::Get()
{
	static FFileManagerGeneric Manager;
	return Manager;
}

void FFileManagerGeneric::FindFiles(TArray<FString>& FoundFiles, const TCHAR* Directory, const TCHAR* FileExtension)
{
	FString RootDirectory(Directory ? Directory : TEXT(""));
	if (RootDirectory.IsEmpty())
	{
		return;
	}
	FPaths::NormalizeDirectoryName(RootDirectory);
	FString Pattern(FileExtension ? FileExtension : TEXT(""));
	// "*.EXT", "*", "*.*" and "Name.*" are taken as given; a bare extension gets its wildcard.
	if (!Pattern.Contains(TEXT("*")))
	{
		if (Pattern.IsEmpty())
		{
			Pattern = TEXT("*.*");
		}
		else
		{
			Pattern = Pattern.StartsWith(TEXT(".")) ? TEXT("*") + Pattern : TEXT("*.") + Pattern;
		}
	}
	FindFiles(FoundFiles, *(RootDirectory / Pattern), true, false);
}
