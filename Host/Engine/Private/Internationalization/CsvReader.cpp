#include "CsvReader.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace UE::Host::Csv
{
	namespace
	{
		enum EByteClass : uint8
		{
			Plain = 0,
			Quote,
			Comma,
			LineFeed,
			CarriageReturn,
			Backslash,
			NonAscii,
		};

		constexpr std::array<uint8, 256> MakeByteClasses()
		{
			std::array<uint8, 256> Classes{};
			for (size_t Byte = 0x80; Byte < 256; ++Byte)
			{
				Classes[Byte] = NonAscii;
			}
			Classes['"'] = Quote;
			Classes[','] = Comma;
			Classes['\n'] = LineFeed;
			Classes['\r'] = CarriageReturn;
			Classes['\\'] = Backslash;
			return Classes;
		}

		constexpr std::array<uint8, 256> ByteClasses = MakeByteClasses();

		// The first byte from Index on that is a quote, a backslash or not ASCII; eight bytes at a time.
		size_t FindSpecialByte(const uint8* Bytes, size_t Index, size_t End)
		{
			constexpr uint64 Ones = 0x0101010101010101ull;
			constexpr uint64 HighBits = 0x8080808080808080ull;
			for (; Index + 8 <= End; Index += 8)
			{
				uint64 Word = 0;
				std::memcpy(&Word, Bytes + Index, 8);
				const uint64 Quotes = Word ^ (Ones * '"');
				const uint64 Backslashes = Word ^ (Ones * '\\');
				// A zero byte in Quotes or Backslashes sets its high bit here; the lowest flagged byte is exact.
				const uint64 Special = (Word | ((Quotes - Ones) & ~Quotes) | ((Backslashes - Ones) & ~Backslashes)) & HighBits;
				if (Special != 0)
				{
					return Index + static_cast<size_t>(std::countr_zero(Special) >> 3);
				}
			}
			while (Index < End && Bytes[Index] < 0x80 && Bytes[Index] != '"' && Bytes[Index] != '\\')
			{
				++Index;
			}
			return Index;
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
		const uint8* Bytes = reinterpret_cast<const uint8*>(Text.data());
		const size_t Size = Text.size();

		for (;;)
		{
			FCell& Cell = OutCells.emplace_back();
			Cell.Line = Line;
			if (Pos < Size && Bytes[Pos] == '"')
			{
				Cell.bQuoted = true;
				Cell.Begin = ++Pos;
				for (;;)
				{
					const void* Found = std::memchr(Bytes + Pos, '"', Size - Pos);
					if (!Found)
					{
						OutError = FString::Printf(TEXT("line %d: a quoted cell is never closed"), Cell.Line);
						return ERowResult::Error;
					}
					const size_t QuotePos = static_cast<size_t>(static_cast<const uint8*>(Found) - Bytes);
					// Branch-free, so the compiler can run it over many bytes at once.
					int32 LineFeeds = 0;
					uint8 AnyHighBit = 0;
					uint8 AnyBackslash = 0;
					for (size_t Index = Pos; Index < QuotePos; ++Index)
					{
						const uint8 Byte = Bytes[Index];
						LineFeeds += Byte == '\n';
						AnyHighBit |= Byte;
						AnyBackslash |= Byte == '\\';
					}
					Line += LineFeeds;
					Cell.bNonAscii |= (AnyHighBit & 0x80) != 0;
					Cell.bBackslash |= AnyBackslash != 0;
					if (QuotePos + 1 < Size && Bytes[QuotePos + 1] == '"')
					{
						Cell.bDoubledQuotes = true;
						Pos = QuotePos + 2;
						continue;
					}
					Cell.End = QuotePos;
					Pos = QuotePos + 1;
					break;
				}
			}
			else
			{
				Cell.Begin = Pos;
				for (; Pos < Size; ++Pos)
				{
					const uint8 Class = ByteClasses[Bytes[Pos]];
					if (Class == Comma || Class == LineFeed || (Class == CarriageReturn && Pos + 1 < Size && Bytes[Pos + 1] == '\n'))
					{
						break;
					}
					Cell.bBackslash |= Class == Backslash;
					Cell.bNonAscii |= Class == NonAscii;
				}
				Cell.End = Pos;
			}

			if (Pos >= Size)
			{
				return ERowResult::Row;
			}
			const uint8 Next = Bytes[Pos];
			if (Next == ',')
			{
				++Pos;
				continue;
			}
			if (Next == '\n')
			{
				++Pos;
				++Line;
				return ERowResult::Row;
			}
			if (Next == '\r' && Pos + 1 < Size && Bytes[Pos + 1] == '\n')
			{
				Pos += 2;
				++Line;
				return ERowResult::Row;
			}
			OutError = FString::Printf(TEXT("line %d: only a comma or a line end may follow the closing quote of a cell"), Line);
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

		if (!Cell.bNonAscii && !Cell.bDoubledQuotes && !(bUnescape && Cell.bBackslash))
		{
			for (; Index < End; ++Index)
			{
				*Write++ = static_cast<char16_t>(Bytes[Index]);
			}
			return true;
		}

		while (Index < End)
		{
			const size_t RunEnd = FindSpecialByte(Bytes, Index, End);
			for (; Index < RunEnd; ++Index)
			{
				*Write++ = static_cast<char16_t>(Bytes[Index]);
			}
			if (Index == End)
			{
				break;
			}

			const uint8 Byte = Bytes[Index];
			if (Byte < 0x80)
			{
				if (Byte == '"' && Cell.bQuoted)
				{
					// The first of a doubled pair: the reader let no single quote through.
					*Write++ = u'"';
					Index += 2;
					continue;
				}
				if (Byte == '\\' && bUnescape && Index + 1 < End)
				{
					const char16_t Unescaped = UnescapedChar(Bytes[Index + 1]);
					if (Unescaped != 0)
					{
						*Write++ = Unescaped;
						Index += (Bytes[Index + 1] == '"' && Cell.bQuoted) ? 3 : 2;
						continue;
					}
				}
				*Write++ = static_cast<char16_t>(Byte);
				++Index;
				continue;
			}

			int32_t Offset = static_cast<int32_t>(Index);
			UChar32 CodePoint = 0;
			U8_NEXT(Bytes, Offset, static_cast<int32_t>(End), CodePoint);
			if (CodePoint < 0)
			{
				int32 Line = Cell.Line;
				for (size_t Scan = Cell.Begin; Scan < Index; ++Scan)
				{
					Line += Bytes[Scan] == '\n';
				}
				OutError = FString::Printf(TEXT("line %d: invalid UTF-8 at byte offset %lld"), Line, static_cast<long long>(Index));
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
		Out.resize(static_cast<size_t>(Write - Out.data()));
		return true;
	}
}
