#include "AssetFileFormats.h"

#include "Engine/DataTable.h"
#include "Host/StringTableCsv.h"
#include "Internationalization/StringTable.h"
#include "Misc/FileHelper.h"
#include "Misc/PackageName.h"
#include "Misc/Paths.h"
#include "Templates/Casts.h"

#include <fstream>

DEFINE_LOG_CATEGORY_STATIC(LogStringTable, Log, All);
DEFINE_LOG_CATEGORY_STATIC(LogDataTable, Log, All);

namespace UE::Host::AssetFiles
{
	namespace
	{
		// A header row longer than this is not one the editor writes.
		constexpr size_t MaxHeaderBytes = 64 * 1024;

		bool StartsWithBytes(const std::string& Text, const char* Prefix, size_t Length)
		{
			return Text.size() >= Length && Text.compare(0, Length, Prefix, Length) == 0;
		}

		// Units after the byte-order mark, up to the end of Bytes.
		void ConvertUtf16Units(const std::string& Bytes, bool bBigEndian, std::string& OutUtf8)
		{
			std::u16string Units;
			for (size_t Index = 2; Index + 1 < Bytes.size(); Index += 2)
			{
				const uint8 First = static_cast<uint8>(Bytes[Index]);
				const uint8 Second = static_cast<uint8>(Bytes[Index + 1]);
				Units.push_back(static_cast<char16_t>(bBigEndian ? (First << 8) | Second : (Second << 8) | First));
			}
			OutUtf8 = StringToUtf8(FString(std::move(Units)));
		}
	}

	const FString& GetCsvExtension()
	{
		static const FString Extension(TEXT(".csv"));
		return Extension;
	}

	bool IsPackageFile(const FString& Filename)
	{
		return Filename.EndsWith(FPackageName::GetAssetPackageExtension(), ESearchCase::IgnoreCase);
	}

	bool ReadFirstLine(const FString& Filename, std::string& OutUtf8Line)
	{
		std::ifstream File(StringToUtf8(Filename), std::ios::binary);
		if (!File)
		{
			return false;
		}
		std::string Bytes;
		char Buffer[4096];
		bool bUtf16 = false;
		bool bBigEndian = false;
		size_t LineEnd = std::string::npos;
		while (LineEnd == std::string::npos && Bytes.size() < MaxHeaderBytes && File.read(Buffer, sizeof(Buffer)).gcount() > 0)
		{
			const size_t Searched = Bytes.size();
			Bytes.append(Buffer, static_cast<size_t>(File.gcount()));
			if (Searched == 0)
			{
				bBigEndian = StartsWithBytes(Bytes, "\xFE\xFF", 2);
				bUtf16 = bBigEndian || StartsWithBytes(Bytes, "\xFF\xFE", 2);
			}
			if (!bUtf16)
			{
				LineEnd = Bytes.find('\n', Searched);
				continue;
			}
			// A newline byte inside UTF-16 text may be half of another character: look at whole units.
			for (size_t Index = 2 + ((Searched > 2 ? Searched - 2 : 0) & ~size_t(1)); Index + 1 < Bytes.size(); Index += 2)
			{
				if (Bytes[Index + (bBigEndian ? 1 : 0)] == '\n' && Bytes[Index + (bBigEndian ? 0 : 1)] == 0)
				{
					LineEnd = Index;
					break;
				}
			}
		}
		if (bUtf16)
		{
			ConvertUtf16Units(Bytes.substr(0, LineEnd), bBigEndian, OutUtf8Line);
		}
		else
		{
			OutUtf8Line = Bytes.substr(0, LineEnd);
			if (StartsWithBytes(OutUtf8Line, "\xEF\xBB\xBF", 3))
			{
				OutUtf8Line.erase(0, 3);
			}
		}
		if (!OutUtf8Line.empty() && OutUtf8Line.back() == '\r')
		{
			OutUtf8Line.pop_back();
		}
		return true;
	}

	UClass* ClassifyHeader(const std::string& Utf8Line)
	{
		if (StringTableCsv::HasStringTableHeader(Utf8Line))
		{
			return UStringTable::StaticClass();
		}
		const std::string_view Line(Utf8Line);
		if (Line.starts_with("\"---\"") || Line.starts_with("---"))
		{
			const size_t CellEnd = Line.starts_with("\"") ? 5 : 3;
			if (Line.size() == CellEnd || Line[CellEnd] == ',')
			{
				return UDataTable::StaticClass();
			}
		}
		return nullptr;
	}

	UClass* ClassifyFile(const FString& Filename)
	{
		std::string Line;
		return ReadFirstLine(Filename, Line) ? ClassifyHeader(Line) : nullptr;
	}

	bool ListAssets(const FString& Filename, TArray<PackageFile::FListedAsset>& OutAssets, FString& OutError)
	{
		OutAssets.Reset();
		if (IsPackageFile(Filename))
		{
			return PackageFile::ReadAssetList(Filename, OutAssets, OutError);
		}
		if (UClass* Class = ClassifyFile(Filename))
		{
			PackageFile::FListedAsset& Asset = OutAssets.AddDefaulted_GetRef();
			Asset.AssetName = FName(FPaths::GetBaseFilename(Filename));
			Asset.ClassPath = Class->GetClassPathName();
		}
		return true;
	}

	bool LoadFromFile(UObject* Asset, const FString& Filename)
	{
		if (UStringTable* Table = Cast<UStringTable>(Asset))
		{
			FString Error;
			const bool bLoaded = IsPackageFile(Filename) ? PackageFile::LoadStringTableFile(Filename, FStringView(Asset->GetName()), Table->GetMutableStringTable().Get(), Error)
														 : StringTableCsv::LoadFile(Filename, Table->GetMutableStringTable().Get(), Error);
			if (!bLoaded)
			{
				UE_LOG(LogStringTable, Warning, TEXT("Failed to load StringTable '%s' from '%s': %s"), *Asset->GetPathName(), *Filename, *Error);
				return false;
			}
			return true;
		}
		if (UDataTable* DataTable = Cast<UDataTable>(Asset); DataTable && !IsPackageFile(Filename))
		{
			FString Text;
			if (!FFileHelper::LoadFileToString(Text, *Filename))
			{
				UE_LOG(LogDataTable, Warning, TEXT("Failed to load DataTable '%s': cannot read '%s'"), *Asset->GetPathName(), *Filename);
				return false;
			}
			const TArray<FString> Problems = DataTable->CreateTableFromCSVString(Text);
			if (!Problems.IsEmpty())
			{
				UE_LOG(LogDataTable, Warning, TEXT("Failed to load DataTable '%s' from '%s': %s"), *Asset->GetPathName(), *Filename, *FString::Join(Problems, TEXT(" ")));
				return false;
			}
			return true;
		}
		return false;
	}
}
