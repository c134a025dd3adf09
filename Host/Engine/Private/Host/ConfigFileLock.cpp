#include "Host/ConfigFileLock.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <ctime>
#include <random>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace
{
	// A lock file without a readable process id is being written by its creator, unless it is
	// this old: then the creator died between creating and writing it.
	constexpr time_t UnreadableLockAgeSeconds = 10;

	// Locks this thread holds, by lock file, with how many scopes share each.
	thread_local std::unordered_map<std::string, int32> HeldLocks;

	enum class EHolder : uint8
	{
		Gone,
		Alive,
		Missing,
	};

	struct FHolder
	{
		EHolder State = EHolder::Missing;
		long ProcessId = 0;
	};

	FHolder ReadHolder(const std::string& LockPath)
	{
		FHolder Holder;
		const int Descriptor = ::open(LockPath.c_str(), O_RDONLY | O_CLOEXEC);
		if (Descriptor < 0)
		{
			return Holder;
		}
		char Buffer[32] = {};
		const ssize_t Read = ::read(Descriptor, Buffer, sizeof(Buffer) - 1);
		struct stat Info;
		const bool bHaveInfo = ::fstat(Descriptor, &Info) == 0;
		::close(Descriptor);

		char* End = nullptr;
		const long ProcessId = Read > 0 ? std::strtol(Buffer, &End, 10) : 0;
		if (ProcessId <= 0 || End == Buffer || (*End != '\n' && *End != '\0'))
		{
			const bool bOld = bHaveInfo && std::time(nullptr) - Info.st_mtime > UnreadableLockAgeSeconds;
			Holder.State = bOld ? EHolder::Gone : EHolder::Alive;
			return Holder;
		}
		Holder.ProcessId = ProcessId;
		// EPERM: the process exists but belongs to someone else.
		const bool bAlive = ::kill(static_cast<pid_t>(ProcessId), 0) == 0 || errno == EPERM;
		Holder.State = bAlive ? EHolder::Alive : EHolder::Gone;
		return Holder;
	}

	std::string FolderOf(const std::string& Path)
	{
		const size_t Slash = Path.find_last_of('/');
		return Slash == std::string::npos ? std::string(".") : (Slash == 0 ? std::string("/") : Path.substr(0, Slash));
	}

	// Removes a lock left by a process that is gone. Takers queue on the folder's flock, which the
	// kernel drops with its holder, and look again once inside: a lock is only removed while its
	// writer is known to be dead, so a fresh lock of a live writer is never taken.
	void RemoveAbandonedLock(const std::string& LockPath)
	{
		const int Folder = ::open(FolderOf(LockPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
		if (Folder < 0)
		{
			return;
		}
		while (::flock(Folder, LOCK_EX) != 0 && errno == EINTR)
		{
		}
		if (ReadHolder(LockPath).State == EHolder::Gone)
		{
			::unlink(LockPath.c_str());
		}
		::flock(Folder, LOCK_UN);
		::close(Folder);
	}

	bool CreateLock(const std::string& LockPath, int& OutErrno)
	{
		const int Descriptor = ::open(LockPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
		if (Descriptor < 0)
		{
			OutErrno = errno;
			return false;
		}
		const std::string Text = std::to_string(::getpid()) + "\n";
		const ssize_t Written = ::write(Descriptor, Text.data(), Text.size());
		::close(Descriptor);
		if (Written != static_cast<ssize_t>(Text.size()))
		{
			// An unreadable lock would block others for a while; better none at all.
			OutErrno = errno != 0 ? errno : EIO;
			::unlink(LockPath.c_str());
			return false;
		}
		return true;
	}

	// Makes the missing folders of Folder, recording the ones made, outermost first. True when
	// Folder exists afterwards.
	bool CreateFolders(const std::string& Folder, std::vector<std::string>& OutCreated)
	{
		struct stat Info;
		if (::stat(Folder.c_str(), &Info) == 0)
		{
			return S_ISDIR(Info.st_mode);
		}
		const std::string Parent = FolderOf(Folder);
		if (Parent == Folder || !CreateFolders(Parent, OutCreated))
		{
			return false;
		}
		if (::mkdir(Folder.c_str(), 0777) == 0)
		{
			OutCreated.push_back(Folder);
			return true;
		}
		return errno == EEXIST;
	}

	void Pause(std::mt19937& Random)
	{
		std::uniform_int_distribution<int32> Micros(500, 4000);
		std::this_thread::sleep_for(std::chrono::microseconds(Micros(Random)));
	}
}

namespace UE::Host
{
	FString GetConfigFileLockName(const FString& Filename)
	{
		return Filename + TEXT(".lock");
	}

	FScopedConfigFileLock::FScopedConfigFileLock(const FString& Filename)
		: LockName(GetConfigFileLockName(Filename))
	{
		if (Filename.IsEmpty())
		{
			// Nothing to lock; the writer refuses the missing name itself.
			bLocked = true;
			return;
		}
		const std::string LockPath = StringToUtf8(LockName);
		auto Held = HeldLocks.find(LockPath);
		if (Held != HeldLocks.end())
		{
			++Held->second;
			bLocked = true;
			return;
		}

		std::mt19937 Random(static_cast<uint32>(::getpid()) ^ static_cast<uint32>(std::chrono::steady_clock::now().time_since_epoch().count()));
		const auto Deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(ConfigFileLockWaitSeconds);
		for (;;)
		{
			int Errno = 0;
			if (CreateLock(LockPath, Errno))
			{
				bLocked = true;
				bOwner = true;
				HeldLocks.emplace(LockPath, 1);
				return;
			}
			if (Errno == ENOENT && std::chrono::steady_clock::now() < Deadline && CreateFolders(FolderOf(LockPath), CreatedFolders))
			{
				continue;
			}
			if (Errno == ENOENT || Errno == ENOTDIR || Errno == EACCES || Errno == EPERM || Errno == EROFS)
			{
				// A folder that cannot hold the lock cannot take the new file either: the write
				// fails there with its own reason.
				bLocked = true;
				return;
			}
			if (Errno != EEXIST)
			{
				Error = FString::Printf(TEXT("cannot create the lock '%s': %s"), *LockName, *Utf8ToString(std::strerror(Errno)));
				return;
			}
			const FHolder Holder = ReadHolder(LockPath);
			if (Holder.State == EHolder::Gone)
			{
				RemoveAbandonedLock(LockPath);
				continue;
			}
			if (Holder.State == EHolder::Missing)
			{
				continue;
			}
			if (std::chrono::steady_clock::now() >= Deadline)
			{
				Error = Holder.ProcessId > 0
					? FString::Printf(TEXT("the lock '%s' is held by process %lld; gave up after %g seconds, nothing was written"), *LockName,
						static_cast<long long>(Holder.ProcessId), ConfigFileLockWaitSeconds)
					: FString::Printf(TEXT("the lock '%s' is held by another writer; gave up after %g seconds, nothing was written"), *LockName,
						ConfigFileLockWaitSeconds);
				return;
			}
			Pause(Random);
		}
	}

	FScopedConfigFileLock::~FScopedConfigFileLock()
	{
		if (!bOwner)
		{
			if (bLocked)
			{
				auto Held = HeldLocks.find(StringToUtf8(LockName));
				if (Held != HeldLocks.end())
				{
					--Held->second;
				}
			}
			return;
		}
		const std::string LockPath = StringToUtf8(LockName);
		HeldLocks.erase(LockPath);
		::unlink(LockPath.c_str());
		// Folders made only to hold the lock go again when the write left nothing in them.
		for (auto Folder = CreatedFolders.rbegin(); Folder != CreatedFolders.rend(); ++Folder)
		{
			if (::rmdir(Folder->c_str()) != 0)
			{
				break;
			}
		}
	}
}
