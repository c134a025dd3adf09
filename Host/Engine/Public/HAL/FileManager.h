// The high-level file manager: listing with wildcards, sizes, folders, moves and deletes.
#pragma once

#include "CoreMinimal.h"

class IFileManager
{
public:
	static IFileManager& Get();

	virtual ~IFileManager() = default;

	// Appends the bare names (not paths) of the entries of one folder that match the wildcard of
	// Filename ("Dir/*.ini"), letter case ignored, in directory-listing order; no recursion.
	virtual void FindFiles(TArray<FString>& FileNames, const TCHAR* Filename, bool Files, bool Directories) = 0;
	// The files of Directory with the extension ("ini", ".ini", or a wildcard such as "*.ini").
	virtual void FindFiles(TArray<FString>& FoundFiles, const TCHAR* Directory, const TCHAR* FileExtension = nullptr) = 0;
	// Full paths of the matching entries below StartDirectory, each folder before its subfolders.
	virtual void FindFilesRecursive(TArray<FString>& FileNames, const TCHAR* StartDirectory, const TCHAR* Filename,
		bool Files, bool Directories, bool bClearFileNames = true) = 0;

	virtual bool FileExists(const TCHAR* Filename) = 0;
	// Size in bytes, -1 (INDEX_NONE) when the file is missing.
	virtual int64 FileSize(const TCHAR* Filename) = 0;
	virtual bool IsReadOnly(const TCHAR* Filename) = 0;
	virtual bool Delete(const TCHAR* Filename, bool RequireExists = false, bool EvenReadOnly = false, bool Quiet = false) = 0;
	virtual bool Move(const TCHAR* Dest, const TCHAR* Src, bool Replace = true, bool EvenIfReadOnly = false,
		bool Attributes = false, bool bDoNotRetryOrError = false) = 0;

	virtual bool DirectoryExists(const TCHAR* InDirectory) = 0;
	// True when the folder exists afterwards; Tree creates missing parents too.
	virtual bool MakeDirectory(const TCHAR* Path, bool Tree = false) = 0;
	virtual bool DeleteDirectory(const TCHAR* Path, bool RequireExists = false, bool Tree = false) = 0;
};
