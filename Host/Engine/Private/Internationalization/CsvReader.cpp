#include "CsvReader.h"

#include <unicode/utf16.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>

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
		return static_cast<size_t>(std::count(Text.begin() + static_cast<std::ptrdiff_t>(Pos), Text.end(), '\n')) + 1;
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
					if (Pos >= Size)
					{
						OutError = FString::Printf(TEXT("line %d: a quoted cell is never closed"), Cell.Line);
						return ERowResult::Error;
					}
					const uint8 Class = ByteClasses[Bytes[Pos]];
					if (Class == Plain || Class == Comma || Class == CarriageReturn)
					{
						++Pos;
					}
					else if (Class == Quote)
					{
						if (Pos + 1 < Size && Bytes[Pos + 1] == '"')
						{
							Cell.bDoubledQuotes = true;
							Pos += 2;
							continue;
						}
						Cell.End = Pos++;
						break;
					}
					else
					{
						Line += Class == LineFeed;
						Cell.bBackslash |= Class == Backslash;
						Cell.bNonAscii |= Class == NonAscii;
						++Pos;
					}
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
		Out.clear();

		if (!Cell.bNonAscii && !Cell.bDoubledQuotes && !(bUnescape && Cell.bBackslash))
		{
			Out.resize(End - Cell.Begin);
			for (size_t Index = Cell.Begin; Index < End; ++Index)
			{
				Out[Index - Cell.Begin] = static_cast<char16_t>(Bytes[Index]);
			}
			return true;
		}

		Out.reserve(End - Cell.Begin);
		size_t Index = Cell.Begin;
		while (Index < End)
		{
			const uint8 Byte = Bytes[Index];
			if (Byte < 0x80)
			{
				if (Byte == '"' && Cell.bQuoted)
				{
					// The first of a doubled pair: the reader let no single quote through.
					Out.push_back(u'"');
					Index += 2;
					continue;
				}
				if (Byte == '\\' && bUnescape && Index + 1 < End)
				{
					const char16_t Unescaped = UnescapedChar(Bytes[Index + 1]);
					if (Unescaped != 0)
					{
						Out.push_back(Unescaped);
						Index += (Bytes[Index + 1] == '"' && Cell.bQuoted) ? 3 : 2;
						continue;
					}
				}
				Out.push_back(static_cast<char16_t>(Byte));
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
				Out.push_back(static_cast<char16_t>(CodePoint));
			}
			else
			{
				Out.push_back(static_cast<char16_t>(U16_LEAD(CodePoint)));
				Out.push_back(static_cast<char16_t>(U16_TRAIL(CodePoint)));
			}
			Index = static_cast<size_t>(Offset);
		}
		return true;
	}
}
