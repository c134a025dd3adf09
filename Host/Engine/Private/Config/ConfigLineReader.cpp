#include "Config/ConfigLineReader.h"

#include <algorithm>
#include <array>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace
{
	bool IsLineBreak(TCHAR C)
	{
		return C == '\n' || C == '\r';
	}

	// The index of the first of Units at or after Position, or Length. Most of a config file is text
	// that none of them stops, so it is tested eight characters at a time where the processor allows.
	template<size_t NumUnits>
	int32 FindFirstOf(const TCHAR* Data, int32 Position, int32 Length, const std::array<TCHAR, NumUnits>& Units)
	{
#if defined(__SSE2__)
		__m128i Wanted[NumUnits];
		for (size_t Index = 0; Index < NumUnits; ++Index)
		{
			Wanted[Index] = _mm_set1_epi16(static_cast<short>(Units[Index]));
		}
		while (Position + 8 <= Length)
		{
			const __m128i Chars = _mm_loadu_si128(reinterpret_cast<const __m128i*>(Data + Position));
			__m128i Hits = _mm_cmpeq_epi16(Chars, Wanted[0]);
			for (size_t Index = 1; Index < NumUnits; ++Index)
			{
				Hits = _mm_or_si128(Hits, _mm_cmpeq_epi16(Chars, Wanted[Index]));
			}
			const unsigned Mask = static_cast<unsigned>(_mm_movemask_epi8(Hits));
			if (Mask != 0)
			{
				return Position + static_cast<int32>(__builtin_ctz(Mask) / 2);
			}
			Position += 8;
		}
#endif
		while (Position < Length && std::find(Units.begin(), Units.end(), Data[Position]) == Units.end())
		{
			++Position;
		}
		return Position;
	}

	// The index of the first character at or after Position that a logical line reacts to, or
	// Length; everything before it is copied as it stands.
	int32 SkipPlainRun(const TCHAR* Data, int32 Position, int32 Length)
	{
		return FindFirstOf<7>(Data, Position, Length, {'\n', '\r', '/', '\\', '{', '}', '"'});
	}

	// The index of the first line break, '{' or '\\' at or after Position, or Length.
	int32 FindLineBreakOrJoin(const TCHAR* Data, int32 Position, int32 Length)
	{
		return FindFirstOf<4>(Data, Position, Length, {'\n', '\r', '\\', '{'});
	}

	bool IsOperator(TCHAR C)
	{
		return C == '+' || C == '-' || C == '.' || C == '!' || C == '@' || C == '*' || C == '^';
	}

	int32 HexDigitValue(TCHAR C)
	{
		if (C >= '0' && C <= '9')
		{
			return C - '0';
		}
		if (C >= 'a' && C <= 'f')
		{
			return C - 'a' + 10;
		}
		if (C >= 'A' && C <= 'F')
		{
			return C - 'A' + 10;
		}
		return -1;
	}

	void AppendCodePoint(FString& Out, uint32 CodePoint)
	{
		if (CodePoint == 0)
		{
			// A NUL would cut the string short wherever it is read as a C string.
			return;
		}
		if (CodePoint < 0x10000)
		{
			Out.AppendChar(static_cast<TCHAR>(CodePoint));
		}
		else if (CodePoint <= 0x10FFFF)
		{
			CodePoint -= 0x10000;
			Out.AppendChar(static_cast<TCHAR>(0xD800 + (CodePoint >> 10)));
			Out.AppendChar(static_cast<TCHAR>(0xDC00 + (CodePoint & 0x3FF)));
		}
		else
		{
			Out.AppendChar(static_cast<TCHAR>(0xFFFD));
		}
	}

	// Reads exactly Count hex digits at Index; false when there are fewer.
	bool ReadFixedHex(const TCHAR* Text, int32 Length, int32 Index, int32 Count, uint32& OutValue)
	{
		if (Index + Count > Length)
		{
			return false;
		}
		uint32 Value = 0;
		for (int32 Offset = 0; Offset < Count; ++Offset)
		{
			const int32 Digit = HexDigitValue(Text[Index + Offset]);
			if (Digit < 0)
			{
				return false;
			}
			Value = (Value << 4) | static_cast<uint32>(Digit);
		}
		OutValue = Value;
		return true;
	}
}

namespace UE::Host::Config
{
	int32 ReadLogicalLine(const TCHAR* Data, int32 Length, int32 Start, FString* OutText)
	{
		bool bQuoted = false;
		bool bComment = false;
		int32 BraceDepth = 0;
		int32 Position = Start;
		// Plain characters are copied a run at a time; a run ends at anything the line drops or
		// changes (a brace, a joined line break, the start of a comment).
		int32 RunStart = Start;
		auto Flush = [&](int32 RunEnd)
		{
			if (OutText && !bComment && RunEnd > RunStart)
			{
				OutText->Append(Data + RunStart, RunEnd - RunStart);
			}
		};
		while (Position < Length && (!IsLineBreak(Data[Position]) || BraceDepth > 0))
		{
			Position = SkipPlainRun(Data, Position, Length);
			if (Position >= Length || (IsLineBreak(Data[Position]) && BraceDepth == 0))
			{
				break;
			}
			const TCHAR C = Data[Position];
			if (!bQuoted && C == '/' && Position + 1 < Length && Data[Position + 1] == '/' && !bComment)
			{
				Flush(Position);
				bComment = true;
			}
			if (IsLineBreak(C))
			{
				// Inside a brace block a line break joins the lines with a space.
				Flush(Position);
				if (OutText)
				{
					OutText->AppendChar(' ');
				}
				++Position;
				if (Position < Length && IsLineBreak(Data[Position]))
				{
					++Position;
				}
				RunStart = Position;
			}
			else if (!bQuoted && C == '\\' && Position + 1 < Length && IsLineBreak(Data[Position + 1]))
			{
				Flush(Position);
				if (OutText)
				{
					OutText->AppendChar(' ');
				}
				Position += 2;
				if (Position < Length && IsLineBreak(Data[Position]))
				{
					++Position;
				}
				RunStart = Position;
			}
			else if (!bQuoted && (C == '{' || (C == '}' && BraceDepth > 0)))
			{
				Flush(Position);
				BraceDepth += C == '{' ? 1 : -1;
				++Position;
				RunStart = Position;
			}
			else
			{
				if (C == '"')
				{
					bQuoted = !bQuoted;
				}
				++Position;
			}
		}
		Flush(Position);
		return Position;
	}

	int32 SkipLogicalLine(const TCHAR* Data, int32 Length, int32 Start)
	{
		// Without a brace or a backslash the line ends at its first line break, whatever its quotes.
		const int32 End = FindLineBreakOrJoin(Data, Start, Length);
		if (End < Length && !IsLineBreak(Data[End]))
		{
			return ReadLogicalLine(Data, Length, Start, nullptr);
		}
		return End;
	}

	FString ParseQuotedValue(const FString& Text)
	{
		FString Result;
		AppendQuotedValue(*Text, Text.Len(), Result);
		return Result;
	}

	void AppendQuotedValue(const TCHAR* Text, int32 Length, FString& Result)
	{
		int32 Index = 1;
		while (Index < Length)
		{
			// Up to the next quote or backslash the text is taken as it stands.
			int32 RunEnd = Index;
			while (RunEnd < Length && Text[RunEnd] != '"' && Text[RunEnd] != '\\')
			{
				++RunEnd;
			}
			if (RunEnd > Index)
			{
				Result.Append(Text + Index, RunEnd - Index);
				Index = RunEnd;
				continue;
			}
			const TCHAR C = Text[Index];
			if (C == '"')
			{
				break;
			}
			if (Index + 1 >= Length)
			{
				Result.AppendChar(C);
				++Index;
				continue;
			}
			const TCHAR Escaped = Text[Index + 1];
			uint32 CodePoint = 0;
			switch (Escaped)
			{
			case '\\':
			case '"':
			case '\'':
				Result.AppendChar(Escaped);
				Index += 2;
				continue;
			case 'n':
				Result.AppendChar('\n');
				Index += 2;
				continue;
			case 'r':
				Result.AppendChar('\r');
				Index += 2;
				continue;
			case 't':
				Result.AppendChar('\t');
				Index += 2;
				continue;
			case 'u':
				if (ReadFixedHex(Text, Length, Index + 2, 4, CodePoint))
				{
					AppendCodePoint(Result, CodePoint);
					Index += 6;
					continue;
				}
				break;
			case 'U':
				if (ReadFixedHex(Text, Length, Index + 2, 8, CodePoint))
				{
					AppendCodePoint(Result, CodePoint);
					Index += 10;
					continue;
				}
				break;
			case 'x':
			{
				int32 Digit = Index + 2;
				bool bAny = false;
				while (Digit < Length && HexDigitValue(Text[Digit]) >= 0)
				{
					// Saturate rather than overflow on a long run of digits.
					CodePoint = CodePoint > 0x10FFFF ? CodePoint : (CodePoint << 4) | static_cast<uint32>(HexDigitValue(Text[Digit]));
					bAny = true;
					++Digit;
				}
				if (bAny)
				{
					AppendCodePoint(Result, CodePoint);
					Index = Digit;
					continue;
				}
				break;
			}
			default:
				if (Escaped >= '0' && Escaped <= '7')
				{
					int32 Digit = Index + 1;
					while (Digit < Length && Digit < Index + 4 && Text[Digit] >= '0' && Text[Digit] <= '7')
					{
						CodePoint = (CodePoint << 3) | static_cast<uint32>(Text[Digit] - '0');
						++Digit;
					}
					AppendCodePoint(Result, CodePoint);
					Index = Digit;
					continue;
				}
				break;
			}
			// An escape the reader does not know keeps its backslash.
			Result.AppendChar('\\');
			++Index;
		}
	}

	FConfigLine ParseLogicalLine(FString Text)
	{
		FConfigLine Line;
		ParseLogicalLine(Text, Line);
		return Line;
	}

	void ParseLogicalLine(const FString& Text, FConfigLine& OutLine)
	{
		// Works on positions in Text and assigns into the strings OutLine already holds, so a
		// reader that keeps one line for a whole file allocates only when a line outgrows it.
		OutLine.Kind = EConfigLineKind::Ignored;
		OutLine.Operation = ' ';
		const TCHAR* Data = *Text;
		int32 Length = Text.Len();
		while (Length > 0 && FChar::IsWhitespace(Data[Length - 1]))
		{
			--Length;
		}
		if (Length == 0)
		{
			return;
		}
		if (Data[0] == '[' && Length >= 2 && Data[Length - 1] == ']')
		{
			OutLine.Kind = EConfigLineKind::Section;
			OutLine.SectionName.GetStdString().assign(Data + 1, static_cast<size_t>(Length - 2));
			return;
		}
		if (Data[0] == ';')
		{
			return;
		}
		int32 Equals = 0;
		while (Equals < Length && Data[Equals] != '=')
		{
			++Equals;
		}
		if (Equals == Length)
		{
			return;
		}
		int32 KeyStart = 0;
		while (KeyStart < Equals && FChar::IsWhitespace(Data[KeyStart]))
		{
			++KeyStart;
		}
		if (KeyStart < Equals && Data[KeyStart] == '~')
		{
			++KeyStart;
		}
		TCHAR Operation = ' ';
		if (KeyStart < Equals && IsOperator(Data[KeyStart]))
		{
			Operation = Data[KeyStart];
			++KeyStart;
		}
		int32 KeyEnd = Equals;
		while (KeyEnd > KeyStart && FChar::IsWhitespace(Data[KeyEnd - 1]))
		{
			--KeyEnd;
		}
		if (KeyEnd == KeyStart)
		{
			return;
		}
		int32 ValueStart = Equals + 1;
		while (ValueStart < Length && FChar::IsWhitespace(Data[ValueStart]))
		{
			++ValueStart;
		}
		OutLine.Kind = EConfigLineKind::KeyValue;
		OutLine.Operation = Operation;
		OutLine.Key.GetStdString().assign(Data + KeyStart, static_cast<size_t>(KeyEnd - KeyStart));
		if (ValueStart < Length && Data[ValueStart] == '"')
		{
			OutLine.Value.Reset();
			AppendQuotedValue(Data + ValueStart, Length - ValueStart, OutLine.Value);
		}
		else
		{
			OutLine.Value.GetStdString().assign(Data + ValueStart, static_cast<size_t>(Length - ValueStart));
		}
	}

	bool FConfigTextReader::Next(FConfigLine& OutLine)
	{
		const TCHAR* Data = Text.GetStdString().data();
		const int32 Length = Text.Len();
		while (Position < Length)
		{
			while (Position < Length && IsLineBreak(Data[Position]))
			{
				++Position;
			}
			if (Position >= Length)
			{
				break;
			}
			// Only a line whose text starts with '[' is a header, and only a leading brace or a
			// continuation can put anything but its first character first.
			const TCHAR First = Data[Position];
			if (OnlySection && !bInOnlySection && First != '[' && First != '{' && First != '\\')
			{
				Position = SkipLogicalLine(Data, Length, Position);
				continue;
			}
			LineText.Reset();
			Position = ReadLogicalLine(Data, Length, Position, &LineText);
			ParseLogicalLine(LineText, OutLine);
			if (OutLine.Kind == EConfigLineKind::Section && OnlySection)
			{
				bInOnlySection = OutLine.SectionName == *OnlySection;
			}
			if ((OutLine.Kind == EConfigLineKind::Section || OutLine.Kind == EConfigLineKind::KeyValue) && (!OnlySection || bInOnlySection))
			{
				return true;
			}
		}
		return false;
	}
}
