#include "Host/StringTableCsv.h"

#include "CsvReader.h"
#include "Internationalization/StringTableCore.h"
#include "StringTableAccess.h"

#include <unicode/ustring.h>
#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <random>

namespace UE::Host::StringTableCsv
{
	namespace
	{
		bool EqualsIgnoreCase(const std::u16string& Cell, std::u16string_view Name)
		{
			if (Cell.size() != Name.size())
			{
				return false;
			}
			for (size_t Index = 0; Index < Cell.size(); ++Index)
			{
				if (FChar::ToLower(Cell[Index]) != FChar::ToLower(Name[Index]))
				{
					return false;
				}
			}
			return true;
		}

		struct FHeader
		{
			size_t KeyColumn = static_cast<size_t>(-1);
			size_t SourceColumn = static_cast<size_t>(-1);
			std::vector<std::pair<size_t, FName>> MetaDataColumns;
		};

		// Finds the columns; false (with OutError) when Key or SourceString is missing.
		bool ReadHeader(const Csv::FReader& Reader, const std::vector<Csv::FCell>& Cells, FHeader& OutHeader, FString& OutError)
		{
			std::u16string Name;
			for (size_t Column = 0; Column < Cells.size(); ++Column)
			{
				Name.clear();
				if (!Reader.DecodeCell(Cells[Column], false, Name, OutError))
				{
					return false;
				}
				if (OutHeader.KeyColumn == static_cast<size_t>(-1) && EqualsIgnoreCase(Name, u"Key"))
				{
					OutHeader.KeyColumn = Column;
				}
				else if (OutHeader.SourceColumn == static_cast<size_t>(-1) && EqualsIgnoreCase(Name, u"SourceString"))
				{
					OutHeader.SourceColumn = Column;
				}
				else if (!Name.empty())
				{
					OutHeader.MetaDataColumns.emplace_back(Column, FName(FString(Name)));
				}
			}
			if (OutHeader.KeyColumn == static_cast<size_t>(-1))
			{
				OutError = TEXT("line 1: the header row has no 'Key' column");
				return false;
			}
			if (OutHeader.SourceColumn == static_cast<size_t>(-1))
			{
				OutError = TEXT("line 1: the header row has no 'SourceString' column");
				return false;
			}
			return true;
		}

		// One decoded row waiting for its key to be interned.
		struct FBatchRow
		{
			size_t KeyOffset = 0;
			int32 KeyLength = 0;
			FString SourceString;
			size_t FirstMetaData = 0;
			size_t NumMetaData = 0;
		};

		void AppendCodePoint(std::string& Out, UChar32 CodePoint)
		{
			uint8 Buffer[U8_MAX_LENGTH];
			int32_t Length = 0;
			U8_APPEND_UNSAFE(Buffer, Length, CodePoint);
			Out.append(reinterpret_cast<const char*>(Buffer), static_cast<size_t>(Length));
		}

		// One quoted cell: key and source cells are C-escaped first; every quote is then doubled.
		void AppendCell(std::string& Out, FStringView Text, bool bEscape)
		{
			Out.push_back('"');
			const TCHAR* Chars = Text.GetData();
			const int32 Length = Text.Len();
			int32 Index = 0;
			while (Index < Length)
			{
				UChar32 CodePoint = 0;
				U16_NEXT(Chars, Index, Length, CodePoint);
				if (CodePoint >= 0x80)
				{
					AppendCodePoint(Out, U_IS_SURROGATE(CodePoint) ? 0xFFFD : CodePoint);
					continue;
				}
				if (bEscape)
				{
					switch (CodePoint)
					{
					case '\\': Out += "\\\\"; continue;
					case '\n': Out += "\\n"; continue;
					case '\r': Out += "\\r"; continue;
					case '\t': Out += "\\t"; continue;
					case '\'': Out += "\\'"; continue;
					case '"': Out += "\\\"\""; continue;
					default: break;
					}
				}
				if (CodePoint == '"')
				{
					Out += "\"\"";
				}
				else
				{
					Out.push_back(static_cast<char>(CodePoint));
				}
			}
			Out.push_back('"');
		}

		bool ReadFileBytes(const FString& Filename, std::string& OutBytes, FString& OutError)
		{
			std::ifstream File(StringToUtf8(Filename), std::ios::binary);
			if (!File)
			{
				OutError = FString::Printf(TEXT("cannot open the file (%s)"), *Utf8ToString(std::strerror(errno)));
				return false;
			}
			File.seekg(0, std::ios::end);
			const std::streamoff Size = File.tellg();
			if (Size < 0)
			{
				OutError = TEXT("cannot read the file");
				return false;
			}
			File.seekg(0, std::ios::beg);
			OutBytes.resize(static_cast<size_t>(Size));
			if (Size > 0 && !File.read(OutBytes.data(), Size))
			{
				OutError = TEXT("cannot read the file");
				return false;
			}
			return true;
		}

		// UTF-16 with a byte-order mark, as the editor saves non-ASCII text, re-encoded as UTF-8.
		bool Utf16ToUtf8(std::string_view Bytes, bool bBigEndian, std::string& OutUtf8, FString& OutError)
		{
			if (Bytes.size() % 2 != 0)
			{
				OutError = TEXT("the file starts with a UTF-16 byte-order mark but has an odd number of bytes");
				return false;
			}
			std::u16string Units(Bytes.size() / 2, u'\0');
			for (size_t Index = 0; Index < Units.size(); ++Index)
			{
				const uint8 First = static_cast<uint8>(Bytes[Index * 2]);
				const uint8 Second = static_cast<uint8>(Bytes[Index * 2 + 1]);
				Units[Index] = static_cast<char16_t>(bBigEndian ? (First << 8) | Second : (Second << 8) | First);
			}
			int32_t Length = 0;
			UErrorCode Status = U_ZERO_ERROR;
			u_strToUTF8(nullptr, 0, &Length, reinterpret_cast<const UChar*>(Units.data()), static_cast<int32_t>(Units.size()), &Status);
			if (Status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(Status))
			{
				OutError = TEXT("the file is not valid UTF-16 (an unpaired surrogate)");
				return false;
			}
			OutUtf8.assign(static_cast<size_t>(Length), '\0');
			Status = U_ZERO_ERROR;
			u_strToUTF8(OutUtf8.data(), Length, &Length, reinterpret_cast<const UChar*>(Units.data()), static_cast<int32_t>(Units.size()), &Status);
			if (U_FAILURE(Status))
			{
				OutError = TEXT("the file is not valid UTF-16 (an unpaired surrogate)");
				return false;
			}
			return true;
		}
	}

	bool Parse(std::string_view Utf8Text, FStringTable& OutTable, FString& OutError)
	{
		if (Utf8Text.size() > static_cast<size_t>(MAX_int32))
		{
			OutError = TEXT("the file is larger than 2 GiB");
			return false;
		}

		Csv::FReader Reader(Utf8Text);
		std::vector<Csv::FCell> Cells;
		switch (Reader.ReadRow(Cells, OutError))
		{
		case Csv::ERowResult::End:
			OutError = TEXT("the file is empty: expected a header row with 'Key' and 'SourceString' columns");
			return false;
		case Csv::ERowResult::Error:
			return false;
		case Csv::ERowResult::Row:
			break;
		}
		FHeader Header;
		if (!ReadHeader(Reader, Cells, Header, OutError))
		{
			return false;
		}
		const size_t RequiredCells = std::max(Header.KeyColumn, Header.SourceColumn) + 1;

		FStringTableAccess::FStorage Staging;
		const int32 EstimatedRows = static_cast<int32>(std::min<size_t>(Reader.EstimateRows(), static_cast<size_t>(MAX_int32) / 4));
		Staging.Reserve(EstimatedRows);
		ReserveTextKeys(EstimatedRows);

		// Rows are decoded a batch at a time and their keys interned and added together, so the
		// hash-table lookups of a batch overlap instead of waiting one after another.
		constexpr size_t BatchSize = 128;
		std::vector<FBatchRow> Batch;
		Batch.reserve(BatchSize);
		std::u16string BatchKeyChars;
		std::vector<std::pair<FName, FString>> BatchMetaData;
		std::vector<FStringView> KeyViews;
		std::vector<FTextKey> Keys;
		const auto FlushBatch = [&]()
		{
			KeyViews.clear();
			for (const FBatchRow& Row : Batch)
			{
				KeyViews.emplace_back(BatchKeyChars.data() + Row.KeyOffset, Row.KeyLength);
			}
			Keys.resize(Batch.size());
			InternTextKeys(KeyViews.data(), static_cast<int32>(KeyViews.size()), Keys.data());
			for (const FTextKey& Key : Keys)
			{
				Staging.Prefetch(Key);
			}
			for (size_t Row = 0; Row < Batch.size(); ++Row)
			{
				const size_t NumBefore = Staging.Entries.size();
				const int32 Index = Staging.Set(Keys[Row], std::move(Batch[Row].SourceString));
				if (Staging.Entries.size() == NumBefore)
				{
					// A repeated key: the later row replaces the earlier one, metadata included.
					Staging.Entries[static_cast<size_t>(Index)].MetaData.clear();
				}
				for (size_t Meta = Batch[Row].FirstMetaData; Meta < Batch[Row].FirstMetaData + Batch[Row].NumMetaData; ++Meta)
				{
					Staging.SetMetaDataAt(Index, BatchMetaData[Meta].first, std::move(BatchMetaData[Meta].second));
				}
			}
			Batch.clear();
			BatchKeyChars.clear();
			BatchMetaData.clear();
		};

		std::u16string Scratch;
		std::vector<bool> UsedColumns;
		for (;;)
		{
			const Csv::ERowResult Result = Reader.ReadRow(Cells, OutError);
			if (Result == Csv::ERowResult::End)
			{
				break;
			}
			if (Result == Csv::ERowResult::Error)
			{
				return false;
			}

			if (Cells.size() >= RequiredCells)
			{
				FBatchRow& Row = Batch.emplace_back();
				Row.KeyOffset = BatchKeyChars.size();
				if (!Reader.DecodeCell(Cells[Header.KeyColumn], true, BatchKeyChars, OutError))
				{
					return false;
				}
				Row.KeyLength = static_cast<int32>(BatchKeyChars.size() - Row.KeyOffset);
				std::u16string Source;
				if (!Reader.DecodeCell(Cells[Header.SourceColumn], true, Source, OutError))
				{
					return false;
				}
				Row.SourceString = FString(std::move(Source));
				Row.FirstMetaData = BatchMetaData.size();
				for (const auto& [Column, Id] : Header.MetaDataColumns)
				{
					if (Column >= Cells.size() || Cells[Column].Begin == Cells[Column].End)
					{
						continue;
					}
					std::u16string Value;
					if (!Reader.DecodeCell(Cells[Column], true, Value, OutError))
					{
						return false;
					}
					BatchMetaData.emplace_back(Id, FString(std::move(Value)));
				}
				Row.NumMetaData = BatchMetaData.size() - Row.FirstMetaData;
			}

			// Cells that are not read still have to be valid text.
			UsedColumns.assign(Cells.size(), false);
			if (Cells.size() >= RequiredCells)
			{
				UsedColumns[Header.KeyColumn] = true;
				UsedColumns[Header.SourceColumn] = true;
				for (const auto& [Column, Id] : Header.MetaDataColumns)
				{
					if (Column < Cells.size())
					{
						UsedColumns[Column] = true;
					}
				}
			}
			for (size_t Column = 0; Column < Cells.size(); ++Column)
			{
				if (!UsedColumns[Column] && Cells[Column].Begin != Cells[Column].End)
				{
					Scratch.clear();
					if (!Reader.DecodeCell(Cells[Column], false, Scratch, OutError))
					{
						return false;
					}
				}
			}
			if (Batch.size() == BatchSize)
			{
				FlushBatch();
			}
		}
		FlushBatch();

		FStringTableAccess::Replace(OutTable, std::move(Staging));
		return true;
	}

	std::string Write(const FStringTable& Table)
	{
		std::string Out;
		FStringTableAccess::Read(Table, [&Out](const FStringTableAccess::FStorage& Storage)
		{
			// Metadata columns in the order their ids first appear.
			std::vector<FName> Ids;
			for (const auto& Entry : Storage.Entries)
			{
				if (Entry.bRemoved)
				{
					continue;
				}
				for (const FStringTableAccess::FMetaDataValue& Value : Entry.MetaData)
				{
					if (std::find(Ids.begin(), Ids.end(), Value.Id) == Ids.end())
					{
						Ids.push_back(Value.Id);
					}
				}
			}

			Out.reserve(Storage.Entries.size() * 48 + 64);
			Out += "\"Key\",\"SourceString\"";
			for (const FName& Id : Ids)
			{
				Out.push_back(',');
				AppendCell(Out, FStringView(Id.ToString()), false);
			}
			Out.push_back('\n');

			std::vector<const FString*> RowValues(Ids.size());
			for (const auto& Entry : Storage.Entries)
			{
				if (Entry.bRemoved)
				{
					continue;
				}
				AppendCell(Out, Entry.Key.GetView(), true);
				Out.push_back(',');
				AppendCell(Out, FStringView(Entry.SourceString), true);

				std::fill(RowValues.begin(), RowValues.end(), nullptr);
				for (const FStringTableAccess::FMetaDataValue& Value : Entry.MetaData)
				{
					RowValues[static_cast<size_t>(std::find(Ids.begin(), Ids.end(), Value.Id) - Ids.begin())] = &Value.Value;
				}
				for (const FString* Value : RowValues)
				{
					Out.push_back(',');
					AppendCell(Out, Value ? FStringView(*Value) : FStringView(), false);
				}
				Out.push_back('\n');
			}
		});
		return Out;
	}

	bool HasStringTableHeader(std::string_view Utf8Text)
	{
		Csv::FReader Reader(Utf8Text);
		std::vector<Csv::FCell> Cells;
		FString Error;
		if (Reader.ReadRow(Cells, Error) != Csv::ERowResult::Row)
		{
			return false;
		}
		FHeader Header;
		return ReadHeader(Reader, Cells, Header, Error);
	}

	bool LoadFile(const FString& Filename, FStringTable& OutTable, FString& OutError)
	{
		std::string Bytes;
		if (!ReadFileBytes(Filename, Bytes, OutError))
		{
			return false;
		}
		const bool bLittleEndian = Bytes.starts_with("\xFF\xFE");
		if (bLittleEndian || Bytes.starts_with("\xFE\xFF"))
		{
			std::string Utf8;
			if (!Utf16ToUtf8(std::string_view(Bytes).substr(2), !bLittleEndian, Utf8, OutError))
			{
				return false;
			}
			Bytes.swap(Utf8);
		}
		return Parse(Bytes, OutTable, OutError);
	}

	bool SaveFile(const FString& Filename, const FStringTable& Table, FString& OutError)
	{
		const std::string Text = Write(Table);
		const std::filesystem::path Target(StringToUtf8(Filename));
		std::filesystem::path Temporary = Target;
		Temporary += ".tmp" + std::to_string(std::random_device()());
		{
			std::ofstream File(Temporary, std::ios::binary | std::ios::trunc);
			if (!File || !File.write(Text.data(), static_cast<std::streamsize>(Text.size())) || !File.flush())
			{
				OutError = FString::Printf(TEXT("cannot write the file (%s)"), *Utf8ToString(std::strerror(errno)));
				std::error_code Ignored;
				std::filesystem::remove(Temporary, Ignored);
				return false;
			}
		}
		std::error_code Error;
		std::filesystem::rename(Temporary, Target, Error);
		if (Error)
		{
			OutError = FString::Printf(TEXT("cannot replace the file (%s)"), *Utf8ToString(Error.message()));
			std::error_code Ignored;
			std::filesystem::remove(Temporary, Ignored);
			return false;
		}
		return true;
	}
}
