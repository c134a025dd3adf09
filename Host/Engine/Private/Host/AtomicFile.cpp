#include "Host/AtomicFile.h"

#include "HAL/PlatformFileManager.h"
#include "Host/ConfigFileLock.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

namespace
{
	FString DescribeErrno(int32 ErrorNumber)
	{
		return UE::Host::Utf8ToString(std::strerror(ErrorNumber));
	}

	FString ToDisplay(const std::string& NativePath)
	{
		return UE::Host::Utf8ToString(NativePath);
	}

	bool WriteAll(int Descriptor, const uint8* Data, int64 Size)
	{
		while (Size > 0)
		{
			const ssize_t Written = ::write(Descriptor, Data, static_cast<size_t>(Size));
			if (Written < 0)
			{
				if (errno == EINTR)
				{
					continue;
				}
				return false;
			}
			Data += Written;
			Size -= Written;
		}
		return true;
	}

	// A name no other writer in this process or another one will pick at the same moment.
	std::string MakeTemporaryName(const std::string& Directory, const std::string& BaseName, int32 Attempt)
	{
		static std::atomic<uint32> Counter{0};
		return Directory + "/." + BaseName + ".tmp-" + std::to_string(::getpid()) + "-" + std::to_string(Counter.fetch_add(1)) + "-" + std::to_string(Attempt);
	}
}

namespace UE::Host
{
	bool WriteFileAtomically(const FString& Filename, const void* Data, int64 Size, FString& OutError)
	{
		if (Filename.IsEmpty())
		{
			OutError = TEXT("No file name was given.");
			return false;
		}
		if (Size < 0 || (Size > 0 && Data == nullptr))
		{
			OutError = FString::Printf(TEXT("Nothing valid to write to '%s'."), *Filename);
			return false;
		}
		std::string Target = StringToUtf8(Filename);
		struct stat LinkInfo;
		if (::lstat(Target.c_str(), &LinkInfo) == 0 && S_ISLNK(LinkInfo.st_mode))
		{
			// Replacing the link itself would cut it loose from the file it shares.
			char* Resolved = ::realpath(Target.c_str(), nullptr);
			if (!Resolved)
			{
				OutError = FString::Printf(TEXT("'%s' is a symbolic link to a missing file."), *Filename);
				return false;
			}
			Target = Resolved;
			std::free(Resolved);
		}

		const size_t Slash = Target.find_last_of('/');
		const std::string Directory = Slash == std::string::npos ? std::string(".") : (Slash == 0 ? std::string("/") : Target.substr(0, Slash));
		const std::string BaseName = Slash == std::string::npos ? Target : Target.substr(Slash + 1);
		if (BaseName.empty())
		{
			OutError = FString::Printf(TEXT("'%s' names a folder, not a file."), *Filename);
			return false;
		}

		IPlatformFile& PlatformFile = FPlatformFileManager::Get().GetPlatformFile();
		const FString DisplayDirectory = ToDisplay(Directory);
		if (!PlatformFile.DirectoryExists(*DisplayDirectory) && !PlatformFile.CreateDirectoryTree(*DisplayDirectory))
		{
			OutError = FString::Printf(TEXT("Cannot create the folder '%s'."), *DisplayDirectory);
			return false;
		}

		struct stat TargetInfo;
		const bool bTargetExists = ::stat(Target.c_str(), &TargetInfo) == 0;
		if (bTargetExists && !S_ISREG(TargetInfo.st_mode))
		{
			OutError = FString::Printf(TEXT("'%s' is not a regular file."), *Filename);
			return false;
		}
		if (bTargetExists && PlatformFile.IsReadOnly(*ToDisplay(Target)))
		{
			OutError = FString::Printf(TEXT("'%s' is read-only."), *Filename);
			return false;
		}
		if (PlatformFile.IsReadOnly(*DisplayDirectory))
		{
			OutError = FString::Printf(TEXT("The folder '%s' is read-only."), *DisplayDirectory);
			return false;
		}

		// Writers of the same file take turns, so none replaces the file with bytes made from an
		// older copy than the one another writer just left.
		const FScopedConfigFileLock Lock(Filename);
		if (!Lock.IsLocked())
		{
			OutError = Lock.GetError();
			return false;
		}
		std::string TemporaryPath;
		int Descriptor = -1;
		for (int32 Attempt = 0; Attempt < 100 && Descriptor < 0; ++Attempt)
		{
			TemporaryPath = MakeTemporaryName(Directory, BaseName, Attempt);
			Descriptor = ::open(TemporaryPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
			if (Descriptor < 0 && errno != EEXIST)
			{
				OutError = FString::Printf(TEXT("Cannot create a temporary file in '%s': %s."), *DisplayDirectory, *DescribeErrno(errno));
				return false;
			}
		}
		if (Descriptor < 0)
		{
			OutError = FString::Printf(TEXT("Cannot create a temporary file in '%s'."), *DisplayDirectory);
			return false;
		}

		bool bWritten = WriteAll(Descriptor, static_cast<const uint8*>(Data), Size);
		int32 WriteError = bWritten ? 0 : errno;
		if (bWritten && bTargetExists)
		{
			// Keep the replaced file's permissions and, where allowed, its owner.
			::fchmod(Descriptor, TargetInfo.st_mode & 07777);
			if (::fchown(Descriptor, TargetInfo.st_uid, TargetInfo.st_gid) != 0)
			{
				// Only the owner's identity is lost; the content is what matters.
			}
		}
		if (bWritten && ::fsync(Descriptor) != 0)
		{
			bWritten = false;
			WriteError = errno;
		}
		if (::close(Descriptor) != 0 && bWritten)
		{
			bWritten = false;
			WriteError = errno;
		}
		if (!bWritten)
		{
			::unlink(TemporaryPath.c_str());
			OutError = FString::Printf(TEXT("Cannot write '%s': %s."), *Filename, *DescribeErrno(WriteError));
			return false;
		}
		if (::rename(TemporaryPath.c_str(), Target.c_str()) != 0)
		{
			const int32 RenameError = errno;
			::unlink(TemporaryPath.c_str());
			OutError = FString::Printf(TEXT("Cannot replace '%s': %s."), *Filename, *DescribeErrno(RenameError));
			return false;
		}
		const int DirectoryDescriptor = ::open(Directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
		if (DirectoryDescriptor >= 0)
		{
			::fsync(DirectoryDescriptor);
			::close(DirectoryDescriptor);
		}
		return true;
	}
}
