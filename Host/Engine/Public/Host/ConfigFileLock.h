// Serialises the writers of one file across processes: "<file>.lock" beside it, created
// exclusively and holding the writer's process id, lives exactly as long as one write.
#pragma once

#include "CoreMinimal.h"

#include <string>
#include <vector>

namespace UE::Host
{
	// How long a writer waits for a lock held by a live process before giving up.
	constexpr double ConfigFileLockWaitSeconds = 5.0;

	// "<file>.lock": what a writer of File creates and removes.
	FString GetConfigFileLockName(const FString& Filename);

	// Holds the lock of one file while in scope. Nested scopes for the same file in the same
	// thread share the outer one, so a writer can lock a file and call another writer of it.
	// A lock whose process no longer exists is taken over (one taker at a time); one held by a
	// live process is waited for up to ConfigFileLockWaitSeconds. A folder that refuses new
	// files gets no lock: the write itself will fail there with its own reason.
	class FScopedConfigFileLock
	{
	public:
		explicit FScopedConfigFileLock(const FString& Filename);
		~FScopedConfigFileLock();
		FScopedConfigFileLock(const FScopedConfigFileLock&) = delete;
		FScopedConfigFileLock& operator=(const FScopedConfigFileLock&) = delete;

		// False when the lock could not be had; GetError() names the lock and its holder.
		bool IsLocked() const { return bLocked; }
		const FString& GetError() const { return Error; }

	private:
		FString LockName;
		FString Error;
		bool bLocked = false;
		bool bOwner = false;
		std::vector<std::string> CreatedFolders;
	};
}
