// The low-level file interface. The host's implementation sits on POSIX calls; paths use '/'.
#pragma once

#include "CoreMinimal.h"

class IPlatformFile
{
public:
	class FDirectoryVisitor
	{
	public:
		virtual ~FDirectoryVisitor() = default;
		// Called once per entry with its full path; returning false stops the iteration.
		virtual bool Visit(const TCHAR* FilenameOrDirectory, bool bIsDirectory) = 0;
	};

	using FDirectoryVisitorFunc = TFunctionRef<bool(const TCHAR*, bool)>;

	virtual ~IPlatformFile() = default;

	virtual const TCHAR* GetName() const = 0;

	virtual bool FileExists(const TCHAR* Filename) = 0;
	// Size in bytes, -1 when the file is missing or is a directory.
	virtual int64 FileSize(const TCHAR* Filename) = 0;
	virtual bool DeleteFile(const TCHAR* Filename) = 0;
	// True when the file cannot be written: its write permission bits are all clear (for every
	// user, root included), the file system refuses writes, or its folder does (writes replace a
	// file through a temporary file and a rename, so a read-only folder makes its files read-only
	// too). For a folder, only the folder's own permission counts. False for a missing path.
	virtual bool IsReadOnly(const TCHAR* Filename) = 0;
	virtual bool MoveFile(const TCHAR* To, const TCHAR* From) = 0;
	// Clears or restores the write permission bits; true on success.
	virtual bool SetReadOnly(const TCHAR* Filename, bool bNewReadOnlyValue) = 0;

	virtual bool DirectoryExists(const TCHAR* Directory) = 0;
	virtual bool CreateDirectory(const TCHAR* Directory) = 0;
	virtual bool DeleteDirectory(const TCHAR* Directory) = 0;
	// Entries in directory-listing order, without "." and "..".
	virtual bool IterateDirectory(const TCHAR* Directory, FDirectoryVisitor& Visitor) = 0;
	virtual bool IterateDirectory(const TCHAR* Directory, FDirectoryVisitorFunc Visitor);

	// Creates every missing folder of the path; true when it exists afterwards.
	virtual bool CreateDirectoryTree(const TCHAR* Directory);
	virtual bool DeleteDirectoryRecursively(const TCHAR* Directory);
};
