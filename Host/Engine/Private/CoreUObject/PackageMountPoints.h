// The table of mounted roots behind FPackageName. Content roots (/Engine, /Game, plugins) map to
// folders; the read-only roots are fixed.
#pragma once

#include "CoreMinimal.h"

namespace UE::Host
{
	struct FMountPointMatch
	{
		// "/Game/": always with both slashes.
		FString RootPath;
		// Absolute, ending with '/'; empty for a root without files (/Script, /Memory).
		FString ContentPath;
		bool bReadOnly = false;
	};

	// The longest root that Path lies strictly below (letter case ignored), read-only roots
	// included; false when there is none.
	bool FindMountPoint(FStringView Path, FMountPointMatch& OutMatch);

	// Content mount points in mount order.
	TArray<FMountPointMatch> GetContentMountPoints();

	// Back to /Engine and /Game alone, mounted on the current environment's content folders.
	void ResetMountPoints();
}
