#include "PropertyText.h"

namespace UE::Host::PropertyText
{
	namespace
	{
		int32 HexValue(TCHAR C)
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

		bool IsTokenChar(TCHAR C, bool bDottedNames)
		{
			return FChar::IsAlnum(C) || C == '_' || C == '-' || C == '+' || C > 255
				|| (bDottedNames && (C == '.' || C == '/' || C == ':'));
		}
	}

	void SkipWhitespace(const TCHAR*& Buffer)
	{
		while (Buffer && *Buffer && FChar::IsWhitespace(*Buffer))
		{
			++Buffer;
		}
	}

	const TCHAR* ReadQuotedString(const TCHAR* Buffer, FString& OutString)
	{
		if (!Buffer || *Buffer != '"')
		{
			return nullptr;
		}
		++Buffer;
		while (*Buffer && *Buffer != '"' && *Buffer != '\n' && *Buffer != '\r')
		{
			if (*Buffer != '\\')
			{
				OutString.AppendChar(*Buffer++);
				continue;
			}
			++Buffer;
			switch (*Buffer)
			{
			case '\\': OutString.AppendChar('\\'); ++Buffer; break;
			case '"': OutString.AppendChar('"'); ++Buffer; break;
			case '\'': OutString.AppendChar('\''); ++Buffer; break;
			case 'n': OutString.AppendChar('\n'); ++Buffer; break;
			case 'r': OutString.AppendChar('\r'); ++Buffer; break;
			case 't': OutString.AppendChar('\t'); ++Buffer; break;
			case 'x':
			case 'u':
			{
				const int32 MaxDigits = *Buffer == 'x' ? 2 : 4;
				int32 Value = 0;
				int32 Digits = 0;
				while (Digits < MaxDigits && HexValue(Buffer[1 + Digits]) >= 0)
				{
					Value = Value * 16 + HexValue(Buffer[1 + Digits]);
					++Digits;
				}
				if (Digits == 0)
				{
					// Not an escape after all: keep the backslash, as the engine does.
					OutString.AppendChar('\\');
					break;
				}
				OutString.AppendChar(static_cast<TCHAR>(Value));
				Buffer += 1 + Digits;
				break;
			}
			default:
				OutString.AppendChar('\\');
				break;
			}
		}
		if (*Buffer != '"')
		{
			return nullptr;
		}
		return Buffer + 1;
	}

	const TCHAR* ReadToken(const TCHAR* Buffer, FString& OutToken, bool bDottedNames)
	{
		if (*Buffer == '"')
		{
			return ReadQuotedString(Buffer, OutToken);
		}
		while (*Buffer && IsTokenChar(*Buffer, bDottedNames))
		{
			OutToken.AppendChar(*Buffer++);
		}
		return Buffer;
	}

	const TCHAR* SkipValue(const TCHAR* Buffer)
	{
		int32 Depth = 0;
		while (*Buffer)
		{
			if (*Buffer == '"')
			{
				FString Ignored;
				Buffer = ReadQuotedString(Buffer, Ignored);
				if (!Buffer)
				{
					return nullptr;
				}
				continue;
			}
			if (*Buffer == '(')
			{
				++Depth;
			}
			else if (*Buffer == ')')
			{
				if (Depth == 0)
				{
					return Buffer;
				}
				--Depth;
			}
			else if (*Buffer == ',' && Depth == 0)
			{
				return Buffer;
			}
			++Buffer;
		}
		return Depth == 0 ? Buffer : nullptr;
	}

	FString QuoteString(const FString& Value)
	{
		return FString(TEXT("\"")) + Value.ReplaceCharWithEscapedChar() + TEXT("\"");
	}
}
