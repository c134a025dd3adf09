#include "Misc/FileHelper.h"

#include "Host/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <string>

DEFINE_LOG_CATEGORY_STATIC(LogFileHelper, Log, All);

namespace
{
	std::u16string DecodeUtf16(const uint8* Buffer, int32 Size, bool bBigEndian)
	{
		std::u16string Result;
		Result.reserve(static_cast<size_t>(Size / 2));
		// A trailing odd byte cannot form a code unit and is dropped.
		for (int32 Index = 0; Index + 1 < Size; Index += 2)
		{
			const uint16 High = bBigEndian ? Buffer[Index] : Buffer[Index + 1];
			const uint16 Low = bBigEndian ? Buffer[Index + 1] : Buffer[Index];
			Result.push_back(static_cast<char16_t>((High << 8) | Low));
		}
		return Result;
	}

	struct FFileBytes
	{
		std::unique_ptr<uint8[]> Data;
		size_t Size = 0;
	};

	// The file's bytes as they are now: one read of the size it has, then whatever it grew by
	// meanwhile, into storage that is not cleared first. False when it is not a regular file or
	// cannot be read.
	bool ReadFileBytes(const TCHAR* Filename, FFileBytes& Out)
	{
		const std::string Path = UE::Host::StringToUtf8(Filename, FCString::Strlen(Filename));
		// Opened without waiting (a pipe put where a file was would block an open) and checked on
		// the descriptor itself, so that what is read is what was checked.
		const int File = Path.empty() ? -1 : ::open(Path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
		if (File < 0)
		{
			return false;
		}
		struct stat Info;
		if (::fstat(File, &Info) != 0 || !S_ISREG(Info.st_mode))
		{
			::close(File);
			return false;
		}
		// One byte more than the size, so that reaching the end costs no second allocation.
		size_t Capacity = static_cast<size_t>(Info.st_size) + 1;
		Out.Data.reset(new uint8[Capacity]);
		Out.Size = 0;
		bool bRead = true;
		for (;;)
		{
			if (Out.Size == Capacity)
			{
				std::unique_ptr<uint8[]> Grown(new uint8[Capacity * 2]);
				std::memcpy(Grown.get(), Out.Data.get(), Out.Size);
				Out.Data = std::move(Grown);
				Capacity *= 2;
			}
			const ssize_t Count = ::read(File, Out.Data.get() + Out.Size, Capacity - Out.Size);
			if (Count < 0 && errno == EINTR)
			{
				continue;
			}
			if (Count <= 0)
			{
				bRead = Count == 0;
				break;
			}
			Out.Size += static_cast<size_t>(Count);
		}
		::close(File);
		return bRead;
	}
}

bool FFileHelper::LoadFileToArray(TArray<uint8>& Result, const TCHAR* Filename, uint32 Flags)
{
	FFileBytes Bytes;
	if (!ReadFileBytes(Filename, Bytes))
	{
		return false;
	}
	Result.GetStdVector().assign(Bytes.Data.get(), Bytes.Data.get() + Bytes.Size);
	return true;
}

void FFileHelper::BufferToString(FString& Result, const uint8* Buffer, int32 Size)
{
	if (Size >= 2 && Buffer[0] == 0xFF && Buffer[1] == 0xFE)
	{
		Result = FString(DecodeUtf16(Buffer + 2, Size - 2, false));
	}
	else if (Size >= 2 && Buffer[0] == 0xFE && Buffer[1] == 0xFF)
	{
		Result = FString(DecodeUtf16(Buffer + 2, Size - 2, true));
	}
	else
	{
		const int32 Skip = (Size >= 3 && Buffer[0] == 0xEF && Buffer[1] == 0xBB && Buffer[2] == 0xBF) ? 3 : 0;
		Result = UE::Host::Utf8ToString(std::string_view(reinterpret_cast<const char*>(Buffer) + Skip, static_cast<size_t>(Size - Skip)));
	}
}

bool FFileHelper::LoadFileToString(FString& Result, const TCHAR* Filename, EHashOptions VerifyFlags, uint32 ReadFlags)
{
	FFileBytes Bytes;
	if (!ReadFileBytes(Filename, Bytes))
	{
		return false;
	}
	BufferToString(Result, Bytes.Data.get(), static_cast<int32>(Bytes.Size));
	return true;
}

bool FFileHelper::LoadFileToStringArray(TArray<FString>& Result, const TCHAR* Filename)
{
	Result.Reset();
	FString Text;
	if (!LoadFileToString(Text, Filename))
	{
		return false;
	}
	const std::u16string& Data = Text.GetStdString();
	size_t Start = 0;
	while (Start < Data.size())
	{
		size_t End = Start;
		while (End < Data.size() && Data[End] != '\r' && Data[End] != '\n')
		{
			++End;
		}
		Result.Emplace(Data.substr(Start, End - Start));
		if (End < Data.size() && Data[End] == '\r')
		{
			++End;
		}
		if (End < Data.size() && Data[End] == '\n')
		{
			++End;
		}
		Start = End;
	}
	return true;
}

bool FFileHelper::SaveArrayToFile(const TArray<uint8>& Array, const TCHAR* Filename, IFileManager* FileManager, uint32 WriteFlags)
{
	FString Error;
	if (!UE::Host::WriteFileAtomically(FString(Filename), Array.GetData(), Array.Num(), Error))
	{
		UE_LOG(LogFileHelper, Warning, TEXT("%s"), *Error);
		return false;
	}
	return true;
}

bool FFileHelper::SaveStringToFile(FStringView String, const TCHAR* Filename, EEncodingOptions EncodingOptions, IFileManager* FileManager, uint32 WriteFlags)
{
	bool bSevenBit = true;
	for (const TCHAR C : String)
	{
		if (C > 0x7F)
		{
			bSevenBit = false;
			break;
		}
	}
	if (EncodingOptions == EEncodingOptions::AutoDetect)
	{
		EncodingOptions = bSevenBit ? EEncodingOptions::ForceAnsi : EEncodingOptions::ForceUnicode;
	}

	std::string Bytes;
	switch (EncodingOptions)
	{
	case EEncodingOptions::ForceUnicode:
		Bytes.reserve(2 + static_cast<size_t>(String.Len()) * 2);
		Bytes.push_back(static_cast<char>(0xFF));
		Bytes.push_back(static_cast<char>(0xFE));
		for (const TCHAR C : String)
		{
			Bytes.push_back(static_cast<char>(C & 0xFF));
			Bytes.push_back(static_cast<char>((C >> 8) & 0xFF));
		}
		break;
	case EEncodingOptions::ForceAnsi:
		// One byte per character, as the engine's ANSI conversion does.
		Bytes.reserve(static_cast<size_t>(String.Len()));
		for (const TCHAR C : String)
		{
			Bytes.push_back(C <= 0xFF ? static_cast<char>(C) : '?');
		}
		break;
	case EEncodingOptions::ForceUTF8:
		Bytes = "\xEF\xBB\xBF" + UE::Host::StringToUtf8(String.GetData(), String.Len());
		break;
	default:
		Bytes = UE::Host::StringToUtf8(String.GetData(), String.Len());
		break;
	}

	FString Error;
	if (!UE::Host::WriteFileAtomically(FString(Filename), Bytes.data(), static_cast<int64>(Bytes.size()), Error))
	{
		UE_LOG(LogFileHelper, Warning, TEXT("%s"), *Error);
		return false;
	}
	return true;
}
