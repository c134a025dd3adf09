// A bounds-checked little-endian reader over a package's bytes, held in memory or read from the
// file a window at a time (so that listing reads only the parts of a header it needs). Like the
// engine's archives it records the first failure and answers every later read with zeros; the
// parser checks IsError() between steps.
#pragma once

#include "CoreMinimal.h"

#include <string>
#include <string_view>

namespace UE::Host::Package
{
	class FPackageReader
	{
	public:
		// Reads the bytes given, which must outlive the reader.
		explicit FPackageReader(std::string_view InBytes);
		// Reads the file on demand. A file that cannot be opened is a failure.
		explicit FPackageReader(const FString& Filename);
		~FPackageReader();
		FPackageReader(const FPackageReader&) = delete;
		FPackageReader& operator=(const FPackageReader&) = delete;

		// Reads the whole file at once, for a package read from end to end: later reads make no
		// system calls. Bytes in memory are already whole.
		void ReadWholeFile();

		int64 TotalSize() const { return FileSize; }
		int64 Tell() const { return Position; }
		// Moves to an offset; one outside the file fails, naming what was sought.
		void Seek(int64 Offset, const TCHAR* What);
		// Reads past End fail as overruns of the part being read (an export's recorded size).
		void SetLimit(int64 End) { Limit = End; }

		// What the next reads belong to, for messages ("the name table").
		void SetContext(const TCHAR* InContext) { Context = InContext; }
		const TCHAR* GetContext() const { return Context; }

		bool IsError() const { return bError; }
		const FString& GetError() const { return Error; }
		// The first failure wins.
		void Fail(const FString& Reason);

		uint8 ReadUInt8();
		int32 ReadInt32();
		uint32 ReadUInt32() { return static_cast<uint32>(ReadInt32()); }
		int64 ReadInt64();
		// Four bytes, 0 or 1.
		bool ReadBool();
		void Skip(int64 Count);
		// A count that must be zero or more, each item taking at least MinItemSize bytes of what is
		// left (so a damaged count cannot make the parser reserve gigabytes).
		int32 ReadCount(int64 MinItemSize);

		// An FString: N > 0 single-byte characters (Latin-1), N < 0 UTF-16 code units, each
		// including a terminating 0 that is dropped. Text is kept exactly as stored.
		void ReadString(std::u16string& Out);
		// Appends the string's text to Out (nothing on failure).
		void AppendString(std::u16string& Out);
		FString ReadString();
		void SkipString();

	private:
		// Makes Count bytes at the position readable; false (and a failure) when they are not there.
		bool Ensure(int64 Count);
		const uint8* Take(int64 Count);

		std::string_view Window;
		int64 WindowStart = 0;
		int64 Position = 0;
		int64 FileSize = 0;
		int64 Limit = -1;
		std::string Buffer;
		int FileHandle = -1;
		bool bError = false;
		FString Error;
		const TCHAR* Context = TEXT("the package summary");
	};
}
