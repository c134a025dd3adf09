#include "CsvReader.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <bit>
#include <cstring>

static_assert(std::endian::native == std::endian::little, "cells are widened as little-endian words");

namespace UE::Host::Csv
{
	namespace
	{
		constexpr uint64 Ones = 0x0101010101010101ull;
		constexpr uint64 HighBits = 0x8080808080808080ull;

		// High bit set in each byte of the word that is a quote, a backslash or not ASCII. The lowest
		// flagged byte is exact (flags above it may be spurious).
		uint64 SpecialBytes(uint64 Word)
		{
			const uint64 Quotes = Word ^ (Ones * '"');
			const uint64 Backslashes = Word ^ (Ones * '\\');
			return (Word | ((Quotes - Ones) & ~Quotes) | ((Backslashes - Ones) & ~Backslashes)) & HighBits;
		}

		// Four bytes (the low half of the argument) as four little-endian UTF-16 code units.
		uint64 WidenFourBytes(uint64 Bytes)
		{
			Bytes = (Bytes | (Bytes << 16)) & 0x0000FFFF0000FFFFull;
			return (Bytes | (Bytes << 8)) & 0x00FF00FF00FF00FFull;
		}

		char16_t UnescapedChar(uint8 Byte)
		{
			switch (Byte)
			{
			case '\\': return u'\\';
			case 'n': return u'\n';
			case 'r': return u'\r';
			case 't': return u'\t';
			case '\'': return u'\'';
			case '"': return u'"';
			default: return 0;
			}
		}
	}

	FReader::FReader(std::string_view InText)
		: Text(InText)
	{
		if (Text.starts_with("\xEF\xBB\xBF"))
		{
			Pos = 3;
		}
	}

	int32 FReader::LineAt(size_t Offset) const
	{
		return 1 + static_cast<int32>(std::count(Text.begin(), Text.begin() + static_cast<std::ptrdiff_t>(std::min(Offset, Text.size())), '\n'));
	}

	size_t FReader::EstimateRows() const
	{
		// A file whose cells are all quoted (as the editor writes them) starts each row with a quote
		// after a line feed; line feeds inside cells rarely precede one.
		const std::string_view Rest = Text.substr(Pos);
		const bool bQuotedRows = !Rest.empty() && Rest.front() == '"';
		size_t Rows = 1;
		for (size_t Found = Rest.find('\n'); Found != std::string_view::npos; Found = Rest.find('\n', Found + 1))
		{
			Rows += !bQuotedRows || (Found + 1 < Rest.size() && Rest[Found + 1] == '"');
		}
		return Rows;
	}

	ERowResult FReader::ReadRow(std::vector<FCell>& OutCells, FString& OutError)
	{
		OutCells.clear();
		if (Pos >= Text.size())
		{
			return ERowResult::End;
		}
		const char* Bytes = Text.data();
		const size_t Size = Text.size();

		for (;;)
		{
			FCell& Cell = OutCells.emplace_back();
			if (Pos < Size && Bytes[Pos] == '"')
			{
				Cell.bQuoted = true;
				Cell.Begin = ++Pos;
				for (;;)
				{
					const void* Found = std::memchr(Bytes + Pos, '"', Size - Pos);
					if (!Found)
					{
						OutError = FString::Printf(TEXT("line %d: a quoted cell is never closed"), LineAt(Cell.Begin - 1));
						return ERowResult::Error;
					}
					const size_t Quote = static_cast<size_t>(static_cast<const char*>(Found) - Bytes);
					if (Quote + 1 < Size && Bytes[Quote + 1] == '"')
					{
						Cell.bDoubledQuotes = true;
						Pos = Quote + 2;
						continue;
					}
					Cell.End = Quote;
					Pos = Quote + 1;
					break;
				}
			}
			else
			{
				Cell.Begin = Pos;
				while (Pos < Size && Bytes[Pos] != ',' && Bytes[Pos] != '\n' && !(Bytes[Pos] == '\r' && Pos + 1 < Size && Bytes[Pos + 1] == '\n'))
				{
					++Pos;
				}
				Cell.End = Pos;
			}

			if (Pos >= Size)
			{
				return ERowResult::Row;
			}
			if (Bytes[Pos] == ',')
			{
				++Pos;
				continue;
			}
			if (Bytes[Pos] == '\n')
			{
				++Pos;
				return ERowResult::Row;
			}
			if (Bytes[Pos] == '\r' && Pos + 1 < Size && Bytes[Pos + 1] == '\n')
			{
				Pos += 2;
				return ERowResult::Row;
			}
			OutError = FString::Printf(TEXT("line %d: only a comma or a line end may follow the closing quote of a cell"), LineAt(Pos));
			return ERowResult::Error;
		}
	}

	bool FReader::DecodeCell(const FCell& Cell, bool bUnescape, std::u16string& Out, FString& OutError) const
	{
		const uint8* Bytes = reinterpret_cast<const uint8*>(Text.data());
		const size_t End = Cell.End;
		// UTF-16 never needs more code units than UTF-8 has bytes.
		const size_t Start = Out.size();
		Out.resize(Start + (End - Cell.Begin));
		char16_t* Write = Out.data() + Start;
		size_t Index = Cell.Begin;

		while (Index < End)
		{
			// Runs of plain ASCII are widened eight bytes at a time.
			size_t Plain = 0;
			if (Index + 8 <= End)
			{
				uint64 Word = 0;
				std::memcpy(&Word, Bytes + Index, 8);
				const uint64 Special = SpecialBytes(Word);
				Plain = Special == 0 ? 8 : static_cast<size_t>(std::countr_zero(Special) >> 3);
			}
			else
			{
				while (Index + Plain < End && Bytes[Index + Plain] < 0x80 && Bytes[Index + Plain] != '"' && Bytes[Index + Plain] != '\\')
				{
					++Plain;
				}
			}
			if (Plain == 8)
			{
				uint64 Word = 0;
				std::memcpy(&Word, Bytes + Index, 8);
				const uint64 Low = WidenFourBytes(Word & 0xFFFFFFFFull);
				const uint64 High = WidenFourBytes(Word >> 32);
				std::memcpy(Write, &Low, 8);
				std::memcpy(Write + 4, &High, 8);
				Write += 8;
				Index += 8;
				continue;
			}
			for (const size_t RunEnd = Index + Plain; Index < RunEnd; ++Index)
			{
				*Write++ = static_cast<char16_t>(Bytes[Index]);
			}
			if (Index == End)
			{
				break;
			}

			const uint8 Byte = Bytes[Index];
			if (Byte == '"')
			{
				// In a quoted cell the first of a doubled pair (the reader let no single quote through).
				*Write++ = u'"';
				Index += Cell.bQuoted ? 2 : 1;
			}
			else if (Byte == '\\')
			{
				const char16_t Unescaped = bUnescape && Index + 1 < End ? UnescapedChar(Bytes[Index + 1]) : 0;
				if (Unescaped != 0)
				{
					*Write++ = Unescaped;
					Index += (Bytes[Index + 1] == '"' && Cell.bQuoted) ? 3 : 2;
				}
				else
				{
					*Write++ = u'\\';
					++Index;
				}
			}
			else
			{
				int32_t Offset = static_cast<int32_t>(Index);
				UChar32 CodePoint = 0;
				U8_NEXT(Bytes, Offset, static_cast<int32_t>(End), CodePoint);
				if (CodePoint < 0)
				{
					OutError = FString::Printf(TEXT("line %d: invalid UTF-8 at byte offset %lld"), LineAt(Index), static_cast<long long>(Index));
					return false;
				}
				if (U_IS_BMP(CodePoint))
				{
					*Write++ = static_cast<char16_t>(CodePoint);
				}
				else
				{
					*Write++ = static_cast<char16_t>(U16_LEAD(CodePoint));
					*Write++ = static_cast<char16_t>(U16_TRAIL(CodePoint));
				}
				Index = static_cast<size_t>(Offset);
			}
		}
		Out.resize(static_cast<size_t>(Write - Out.data()));
		return true;
	}
}
