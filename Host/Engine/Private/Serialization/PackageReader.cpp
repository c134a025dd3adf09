#include "PackageReader.h"

#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace UE::Host::Package
{
	namespace
	{
		// One page: the summary, and in a small package its asset registry block too.
		constexpr int64 WindowSize = 4 * 1024;
	}

	FPackageReader::FPackageReader(std::string_view InBytes)
		: Window(InBytes)
		, FileSize(static_cast<int64>(InBytes.size()))
	{
	}

	FPackageReader::FPackageReader(const FString& Filename)
	{
		FileHandle = ::open(StringToUtf8(Filename).c_str(), O_RDONLY | O_CLOEXEC);
		struct stat Info;
		if (FileHandle < 0 || ::fstat(FileHandle, &Info) != 0)
		{
			Fail(FString::Printf(TEXT("cannot open the file (%s)"), *Utf8ToString(std::strerror(errno))));
			return;
		}
		FileSize = static_cast<int64>(Info.st_size);
	}

	FPackageReader::~FPackageReader()
	{
		if (FileHandle >= 0)
		{
			::close(FileHandle);
		}
	}

	void FPackageReader::Fail(const FString& Reason)
	{
		if (!bError)
		{
			bError = true;
			Error = Reason;
		}
	}

	void FPackageReader::Seek(int64 Offset, const TCHAR* What)
	{
		if (bError)
		{
			return;
		}
		if (Offset < 0 || Offset > FileSize)
		{
			Fail(FString::Printf(TEXT("damaged: %s is at offset %lld, outside the file's %lld bytes"), What, static_cast<long long>(Offset), static_cast<long long>(FileSize)));
			return;
		}
		Position = Offset;
	}

	bool FPackageReader::Ensure(int64 Count)
	{
		if (bError)
		{
			return false;
		}
		if (Limit >= 0 && (Count > Limit - Position))
		{
			Fail(FString::Printf(TEXT("damaged: %s reads past its recorded end at offset %lld"), Context, static_cast<long long>(Limit)));
			return false;
		}
		if (Count > FileSize - Position)
		{
			Fail(FString::Printf(TEXT("truncated: %s needs %lld bytes at offset %lld, the file has %lld"), Context, static_cast<long long>(Count),
				static_cast<long long>(Position), static_cast<long long>(FileSize)));
			return false;
		}
		if (Position >= WindowStart && Position + Count <= WindowStart + static_cast<int64>(Window.size()))
		{
			return true;
		}
		// Only a file gets here: bytes in memory are one window over the whole package.
		const int64 Wanted = std::min(std::max(Count, WindowSize), FileSize - Position);
		Buffer.resize(static_cast<size_t>(Wanted));
		int64 Done = 0;
		while (Done < Wanted)
		{
			const ssize_t Read = ::pread(FileHandle, Buffer.data() + Done, static_cast<size_t>(Wanted - Done), static_cast<off_t>(Position + Done));
			if (Read < 0 && errno == EINTR)
			{
				continue;
			}
			if (Read <= 0)
			{
				Fail(Read < 0 ? FString::Printf(TEXT("cannot read the file (%s)"), *Utf8ToString(std::strerror(errno)))
							  : FString::Printf(TEXT("truncated: the file ended while reading %s"), Context));
				Window = std::string_view();
				return false;
			}
			Done += Read;
		}
		Window = std::string_view(Buffer);
		WindowStart = Position;
		return true;
	}

	void FPackageReader::ReadWholeFile()
	{
		const int64 At = Position;
		Position = 0;
		Ensure(FileSize);
		Position = At;
	}

	const uint8* FPackageReader::Take(int64 Count)
	{
		if (!Ensure(Count))
		{
			return nullptr;
		}
		const uint8* Bytes = reinterpret_cast<const uint8*>(Window.data() + (Position - WindowStart));
		Position += Count;
		return Bytes;
	}

	uint8 FPackageReader::ReadUInt8()
	{
		const uint8* Bytes = Take(1);
		return Bytes ? Bytes[0] : 0;
	}

	int32 FPackageReader::ReadInt32()
	{
		const uint8* Bytes = Take(4);
		return Bytes ? static_cast<int32>(static_cast<uint32>(Bytes[0]) | (static_cast<uint32>(Bytes[1]) << 8) | (static_cast<uint32>(Bytes[2]) << 16) | (static_cast<uint32>(Bytes[3]) << 24)) : 0;
	}

	int64 FPackageReader::ReadInt64()
	{
		const uint32 Low = ReadUInt32();
		const uint32 High = ReadUInt32();
		return static_cast<int64>((static_cast<uint64>(High) << 32) | Low);
	}

	bool FPackageReader::ReadBool()
	{
		const int32 Value = ReadInt32();
		if (Value != 0 && Value != 1)
		{
			Fail(FString::Printf(TEXT("damaged: a boolean in %s holds %d at offset %lld"), Context, Value, static_cast<long long>(Position - 4)));
		}
		return Value == 1;
	}

	void FPackageReader::Skip(int64 Count)
	{
		if (Count < 0)
		{
			Fail(FString::Printf(TEXT("damaged: a negative size in %s"), Context));
			return;
		}
		if (Ensure(Count))
		{
			Position += Count;
		}
	}

	int32 FPackageReader::ReadCount(int64 MinItemSize)
	{
		const int32 Count = ReadInt32();
		const int64 Left = (Limit >= 0 ? Limit : FileSize) - Position;
		if (!bError && (Count < 0 || static_cast<int64>(Count) * MinItemSize > Left))
		{
			Fail(FString::Printf(TEXT("damaged: %s counts %d items at offset %lld, more than the bytes left"), Context, Count, static_cast<long long>(Position - 4)));
		}
		return bError ? 0 : Count;
	}

	void FPackageReader::ReadString(std::u16string& Out)
	{
		Out.clear();
		AppendString(Out);
	}

	void FPackageReader::AppendString(std::u16string& Out)
	{
		const int32 Length = ReadInt32();
		if (bError || Length == 0)
		{
			return;
		}
		const bool bWide = Length < 0;
		// -MIN_int32 does not exist; such a length is damage like any other that overruns.
		const int64 Units = bWide ? -static_cast<int64>(Length) : static_cast<int64>(Length);
		const uint8* Bytes = Take(bWide ? Units * 2 : Units);
		if (!Bytes)
		{
			return;
		}
		const bool bTerminated = bWide ? (Bytes[(Units - 1) * 2] == 0 && Bytes[(Units - 1) * 2 + 1] == 0) : Bytes[Units - 1] == 0;
		if (!bTerminated)
		{
			Fail(FString::Printf(TEXT("damaged: a string in %s lacks its terminating zero at offset %lld"), Context, static_cast<long long>(Position)));
			return;
		}
		const size_t Start = Out.size();
		Out.resize(Start + static_cast<size_t>(Units - 1));
		char16_t* Chars = Out.data() + Start;
		if (bWide)
		{
			static_assert(std::endian::native == std::endian::little, "UTF-16LE is copied as it is");
			std::memcpy(Chars, Bytes, static_cast<size_t>(Units - 1) * 2);
		}
		else
		{
			// Latin-1: each byte is its own code point, never a UTF-8 sequence.
			for (int64 Index = 0; Index < Units - 1; ++Index)
			{
				Chars[Index] = static_cast<char16_t>(Bytes[Index]);
			}
		}
	}

	FString FPackageReader::ReadString()
	{
		std::u16string Text;
		ReadString(Text);
		return FString(std::move(Text));
	}

	void FPackageReader::SkipString()
	{
		const int32 Length = ReadInt32();
		if (bError || Length == 0)
		{
			return;
		}
		const int64 Units = Length < 0 ? -static_cast<int64>(Length) : static_cast<int64>(Length);
		Skip(Length < 0 ? Units * 2 : Units);
	}
}
