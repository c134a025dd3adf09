#include "HAL/PlatformFileManager.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>

namespace
{
	std::string ToNativePath(const TCHAR* Path)
	{
		return UE::Host::StringToUtf8(Path, FCString::Strlen(Path));
	}

	bool StatPath(const std::string& Path, struct stat& OutInfo)
	{
		return !Path.empty() && ::stat(Path.c_str(), &OutInfo) == 0;
	}

	constexpr mode_t AnyWriteBits = S_IWUSR | S_IWGRP | S_IWOTH;

	// The permission bits count even for a user (root) whom access() would let through, so that
	// a file or folder marked read-only is treated as such by everyone.
	bool IsWriteProtected(const std::string& Path, const struct stat& Info)
	{
		if ((Info.st_mode & AnyWriteBits) == 0)
		{
			return true;
		}
		const int Mode = S_ISDIR(Info.st_mode) ? (W_OK | X_OK) : W_OK;
		return ::access(Path.c_str(), Mode) != 0 && (errno == EACCES || errno == EROFS || errno == EPERM);
	}

	class FFunctionDirectoryVisitor final : public IPlatformFile::FDirectoryVisitor
	{
	public:
		explicit FFunctionDirectoryVisitor(IPlatformFile::FDirectoryVisitorFunc InFunc) : Func(InFunc) {}
		bool Visit(const TCHAR* FilenameOrDirectory, bool bIsDirectory) override { return Func(FilenameOrDirectory, bIsDirectory); }

	private:
		IPlatformFile::FDirectoryVisitorFunc Func;
	};

	class FPosixPlatformFile final : public IPlatformFile
	{
	public:
		const TCHAR* GetName() const override
		{
			return TEXT("PhysicalFile");
		}

		bool FileExists(const TCHAR* Filename) override
		{
			struct stat Info;
			return StatPath(ToNativePath(Filename), Info) && S_ISREG(Info.st_mode);
		}

		int64 FileSize(const TCHAR* Filename) override
		{
			struct stat Info;
			if (!StatPath(ToNativePath(Filename), Info) || !S_ISREG(Info.st_mode))
			{
				return INDEX_NONE;
			}
			return static_cast<int64>(Info.st_size);
		}

		bool DeleteFile(const TCHAR* Filename) override
		{
			const std::string Path = ToNativePath(Filename);
			struct stat Info;
			if (::lstat(Path.c_str(), &Info) != 0 || S_ISDIR(Info.st_mode))
			{
				return false;
			}
			return ::unlink(Path.c_str()) == 0;
		}

		bool IsReadOnly(const TCHAR* Filename) override
		{
			const std::string Path = ToNativePath(Filename);
			struct stat Info;
			if (!StatPath(Path, Info))
			{
				return false;
			}
			if (IsWriteProtected(Path, Info))
			{
				return true;
			}
			if (!S_ISREG(Info.st_mode))
			{
				return false;
			}
			// Files are replaced through a temporary file and a rename, so a folder that refuses new
			// entries makes the file as unwritable as its own bits would. A link's target is what
			// gets replaced, so its folder is the one that counts.
			char* Resolved = ::realpath(Path.c_str(), nullptr);
			if (!Resolved)
			{
				return false;
			}
			std::string Folder(Resolved);
			std::free(Resolved);
			const size_t Slash = Folder.find_last_of('/');
			Folder = Slash == 0 ? std::string("/") : Folder.substr(0, Slash);
			struct stat FolderInfo;
			return StatPath(Folder, FolderInfo) && IsWriteProtected(Folder, FolderInfo);
		}

		bool MoveFile(const TCHAR* To, const TCHAR* From) override
		{
			const std::string ToPath = ToNativePath(To);
			const std::string FromPath = ToNativePath(From);
			if (::rename(FromPath.c_str(), ToPath.c_str()) == 0)
			{
				return true;
			}
			if (errno != EXDEV)
			{
				return false;
			}
			// Across file systems: copy, then remove the source.
			std::error_code Error;
			std::filesystem::copy_file(FromPath, ToPath, std::filesystem::copy_options::overwrite_existing, Error);
			return !Error && ::unlink(FromPath.c_str()) == 0;
		}

		bool SetReadOnly(const TCHAR* Filename, bool bNewReadOnlyValue) override
		{
			const std::string Path = ToNativePath(Filename);
			struct stat Info;
			if (!StatPath(Path, Info))
			{
				return false;
			}
			const mode_t Mode = bNewReadOnlyValue ? (Info.st_mode & ~AnyWriteBits) : (Info.st_mode | S_IWUSR);
			return ::chmod(Path.c_str(), Mode & 07777) == 0;
		}

		bool DirectoryExists(const TCHAR* Directory) override
		{
			struct stat Info;
			return StatPath(ToNativePath(Directory), Info) && S_ISDIR(Info.st_mode);
		}

		bool CreateDirectory(const TCHAR* Directory) override
		{
			const std::string Path = ToNativePath(Directory);
			if (::mkdir(Path.c_str(), 0777) == 0)
			{
				return true;
			}
			return errno == EEXIST && DirectoryExists(Directory);
		}

		bool DeleteDirectory(const TCHAR* Directory) override
		{
			return ::rmdir(ToNativePath(Directory).c_str()) == 0;
		}

		bool IterateDirectory(const TCHAR* Directory, FDirectoryVisitor& Visitor) override
		{
			FString Base(Directory);
			while (Base.Len() > 1 && Base.EndsWith(TEXT("/")))
			{
				Base.LeftChopInline(1);
			}
			const std::string NativeBase = UE::Host::StringToUtf8(Base);
			DIR* Handle = ::opendir(NativeBase.empty() ? "." : NativeBase.c_str());
			if (!Handle)
			{
				return false;
			}
			bool bResult = true;
			while (const dirent* Entry = ::readdir(Handle))
			{
				const std::string Name(Entry->d_name);
				if (Name == "." || Name == "..")
				{
					continue;
				}
				const std::string NativeChild = (NativeBase == "/" ? std::string() : NativeBase) + "/" + Name;
				bool bIsDirectory = Entry->d_type == DT_DIR;
				if (Entry->d_type == DT_UNKNOWN || Entry->d_type == DT_LNK)
				{
					struct stat Info;
					bIsDirectory = StatPath(NativeChild, Info) && S_ISDIR(Info.st_mode);
				}
				const FString Child = UE::Host::Utf8ToString(NativeChild);
				if (!Visitor.Visit(*Child, bIsDirectory))
				{
					bResult = false;
					break;
				}
			}
			::closedir(Handle);
			return bResult;
		}

		using IPlatformFile::IterateDirectory;
	};
}

bool IPlatformFile::IterateDirectory(const TCHAR* Directory, FDirectoryVisitorFunc Visitor)
{
	FFunctionDirectoryVisitor Adapter(Visitor);
	return IterateDirectory(Directory, static_cast<FDirectoryVisitor&>(Adapter));
}

bool IPlatformFile::CreateDirectoryTree(const TCHAR* Directory)
{
	FString Path(Directory);
	Path.ReplaceCharInline('\\', '/', ESearchCase::CaseSensitive);
	if (Path.IsEmpty())
	{
		return false;
	}
	// Create each missing prefix in turn, from the root down.
	int32 Start = Path.StartsWith(TEXT("/")) ? 1 : 0;
	while (Start <= Path.Len())
	{
		int32 Slash = Path.Find(TEXT("/"), ESearchCase::CaseSensitive, ESearchDir::FromStart, Start);
		if (Slash == INDEX_NONE)
		{
			Slash = Path.Len();
		}
		if (Slash > Start)
		{
			const FString Prefix = Path.Left(Slash);
			if (!DirectoryExists(*Prefix) && !CreateDirectory(*Prefix))
			{
				return false;
			}
		}
		Start = Slash + 1;
	}
	return DirectoryExists(*Path);
}

bool IPlatformFile::DeleteDirectoryRecursively(const TCHAR* Directory)
{
	std::error_code Error;
	std::filesystem::remove_all(ToNativePath(Directory), Error);
	return !Error && !DirectoryExists(Directory);
}

FPlatformFileManager& FPlatformFileManager::Get()
{
	static FPlatformFileManager Manager;
	return Manager;
}

IPlatformFile& FPlatformFileManager::GetPlatformFile()
{
	static FPosixPlatformFile PhysicalFile;
	return TopmostPlatformFile ? *TopmostPlatformFile : static_cast<IPlatformFile&>(PhysicalFile);
}

void FPlatformFileManager::SetPlatformFile(IPlatformFile* NewTopmostPlatformFile)
{
	TopmostPlatformFile = NewTopmostPlatformFile;
}
