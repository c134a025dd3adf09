// What the config cache knows about the files on disk: the ini platform chain, the one shared
// Base.ini, a stamp of every layer file a category was built from, and a watch on the config
// folders that tells cheaply whether anything there changed since the last look.
#pragma once

#include "CoreMinimal.h"

namespace UE::Host::Config
{
	// Size, times and inode of a file; all -1 when it does not exist. A rename over the file or a
	// rewrite in place changes at least one of them.
	struct FFileStamp
	{
		int64 Size = -1;
		int64 ModifiedNs = -1;
		int64 ChangedNs = -1;
		int64 Inode = -1;

		bool operator==(const FFileStamp& Other) const
		{
			return Size == Other.Size && ModifiedNs == Other.ModifiedNs && ChangedNs == Other.ChangedNs && Inode == Other.Inode;
		}
	};

	FFileStamp GetFileStamp(const FString& Path);

	// Forgets everything read from disk (a new environment, or a rebuild of the whole cache).
	void ResetDiskState();

	// The ini platforms of the running platform, parents first: each platform's parent is
	// IniParent= in [DataDrivenPlatformInfo] of <engine>/Config/<P>/DataDrivenPlatformInfo.ini.
	const TArray<FString>& GetIniPlatformChain();

	// Base.ini's text, read from disk only when its stamp changed; false when it cannot be read.
	bool GetAbsoluteBaseText(const FString& Path, FString& OutText);

	// The stamps of a category's layer files (existing or not), taken before they are read: an
	// edit that lands while the files are read shows as a change later.
	void RecordCategoryStamps(const FString& Category);
	// True when a file of the category changed, appeared or went away since it was recorded.
	bool HaveCategoryFilesChanged(const FString& Category);
	void ForgetCategoryStamps(const FString& Category);

	// True when anything under the watched config folders may have changed since the last call
	// (always true where the folders cannot be watched). The first call arms the watch.
	bool TakeConfigFolderChanges();
}
