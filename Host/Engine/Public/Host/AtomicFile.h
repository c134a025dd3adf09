// Replacing a file so that readers see either the old or the new bytes, never a mix.
#pragma once

#include "CoreMinimal.h"

namespace UE::Host
{
	// Writes the bytes to a temporary file beside Filename, then renames it over the target.
	// Creates missing folders. A symbolic link is followed and its target replaced; an existing
	// file keeps its permission bits. Refuses a read-only file or folder. On failure the target
	// is untouched, the temporary file removed and OutError says why. Holds the file's lock
	// (Host/ConfigFileLock.h) while it writes, or shares the caller's.
	bool WriteFileAtomically(const FString& Filename, const void* Data, int64 Size, FString& OutError);
}
