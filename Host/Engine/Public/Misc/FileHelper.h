// Whole-file reads and writes with the engine's text encodings.
#pragma once

#include "CoreMinimal.h"
#include "HAL/FileManager.h"

struct FFileHelper
{
	enum class EHashOptions
	{
		None = 0,
		EnableVerify = 1 << 0,
		ErrorMissingHash = 1 << 1,
	};

	enum class EEncodingOptions
	{
		// 7-bit text as plain bytes, anything else as UTF-16 with a byte order mark.
		AutoDetect,
		ForceAnsi,
		ForceUnicode,
		ForceUTF8,
		ForceUTF8WithoutBOM,
	};

	static bool LoadFileToArray(TArray<uint8>& Result, const TCHAR* Filename, uint32 Flags = 0);
	// Detects UTF-16 (little or big endian) and UTF-8 by their byte order marks; text without
	// one is read as UTF-8. False when the file cannot be read.
	static bool LoadFileToString(FString& Result, const TCHAR* Filename, EHashOptions VerifyFlags = EHashOptions::None, uint32 ReadFlags = 0);
	// One entry per line, empty lines included; "\r\n", "\r" and "\n" end a line.
	static bool LoadFileToStringArray(TArray<FString>& Result, const TCHAR* Filename);
	static void BufferToString(FString& Result, const uint8* Buffer, int32 Size);

	// Both write atomically: a temporary file beside the target, then a rename.
	static bool SaveArrayToFile(const TArray<uint8>& Array, const TCHAR* Filename, IFileManager* FileManager = &IFileManager::Get(), uint32 WriteFlags = 0);
	static bool SaveStringToFile(FStringView String, const TCHAR* Filename, EEncodingOptions EncodingOptions = EEncodingOptions::AutoDetect,
		IFileManager* FileManager = &IFileManager::Get(), uint32 WriteFlags = 0);
};
