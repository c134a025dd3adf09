// FGuid's text forms. The core structs' reflection is generated from UObject/NoExportTypes.h.
#include "Misc/Guid.h"

#include <random>

namespace
{
	bool ParseHexWord(const FString& Text, int32 Start, int32 Count, uint32& OutValue)
	{
		OutValue = 0;
		for (int32 Index = Start; Index < Start + Count; ++Index)
		{
			const TCHAR C = Text[Index];
			if (!FChar::IsHexDigit(C))
			{
				return false;
			}
			OutValue = (OutValue << 4) | static_cast<uint32>(FChar::IsDigit(C) ? C - '0' : FChar::ToUpper(C) - 'A' + 10);
		}
		return true;
	}

	// 32 hex digits, with the hyphens of the 8-4-4-4-12 form removed.
	bool ParseDigits(const FString& Digits, FGuid& OutGuid)
	{
		return Digits.Len() == 32
			&& ParseHexWord(Digits, 0, 8, OutGuid.A)
			&& ParseHexWord(Digits, 8, 8, OutGuid.B)
			&& ParseHexWord(Digits, 16, 8, OutGuid.C)
			&& ParseHexWord(Digits, 24, 8, OutGuid.D);
	}

	bool ParseHyphenated(const FString& Text, FGuid& OutGuid)
	{
		if (Text.Len() != 36 || Text[8] != '-' || Text[13] != '-' || Text[18] != '-' || Text[23] != '-')
		{
			return false;
		}
		return ParseDigits(Text.Replace(TEXT("-"), TEXT("")), OutGuid);
	}
}

FString FGuid::ToString(EGuidFormats Format) const
{
	switch (Format)
	{
	case EGuidFormats::DigitsLower:
		return FString::Printf(TEXT("%08x%08x%08x%08x"), A, B, C, D);
	case EGuidFormats::DigitsWithHyphens:
		return FString::Printf(TEXT("%08X-%04X-%04X-%04X-%04X%08X"), A, B >> 16, B & 0xFFFF, C >> 16, C & 0xFFFF, D);
	case EGuidFormats::DigitsWithHyphensLower:
		return FString::Printf(TEXT("%08x-%04x-%04x-%04x-%04x%08x"), A, B >> 16, B & 0xFFFF, C >> 16, C & 0xFFFF, D);
	case EGuidFormats::DigitsWithHyphensInBraces:
		return TEXT("{") + ToString(EGuidFormats::DigitsWithHyphens) + TEXT("}");
	case EGuidFormats::DigitsWithHyphensInParentheses:
		return TEXT("(") + ToString(EGuidFormats::DigitsWithHyphens) + TEXT(")");
	case EGuidFormats::Digits:
	default:
		return FString::Printf(TEXT("%08X%08X%08X%08X"), A, B, C, D);
	}
}

FGuid FGuid::NewGuid()
{
	static std::random_device Device;
	std::uniform_int_distribution<uint32> Distribution;
	FGuid Guid;
	do
	{
		Guid = FGuid(Distribution(Device), Distribution(Device), Distribution(Device), Distribution(Device));
	} while (!Guid.IsValid());
	return Guid;
}

bool FGuid::ParseExact(const FString& GuidString, EGuidFormats Format, FGuid& OutGuid)
{
	FGuid Parsed;
	bool bParsed = false;
	switch (Format)
	{
	case EGuidFormats::Digits:
	case EGuidFormats::DigitsLower:
		bParsed = ParseDigits(GuidString, Parsed);
		break;
	case EGuidFormats::DigitsWithHyphens:
	case EGuidFormats::DigitsWithHyphensLower:
		bParsed = ParseHyphenated(GuidString, Parsed);
		break;
	case EGuidFormats::DigitsWithHyphensInBraces:
		bParsed = GuidString.Len() == 38 && GuidString[0] == '{' && GuidString[37] == '}' && ParseHyphenated(GuidString.Mid(1, 36), Parsed);
		break;
	case EGuidFormats::DigitsWithHyphensInParentheses:
		bParsed = GuidString.Len() == 38 && GuidString[0] == '(' && GuidString[37] == ')' && ParseHyphenated(GuidString.Mid(1, 36), Parsed);
		break;
	}
	if (bParsed)
	{
		OutGuid = Parsed;
	}
	return bParsed;
}

bool FGuid::Parse(const FString& GuidString, FGuid& OutGuid)
{
	static const EGuidFormats Formats[] = {EGuidFormats::Digits, EGuidFormats::DigitsWithHyphens, EGuidFormats::DigitsWithHyphensInBraces, EGuidFormats::DigitsWithHyphensInParentheses};
	for (const EGuidFormats Format : Formats)
	{
		if (ParseExact(GuidString, Format, OutGuid))
		{
			return true;
		}
	}
	return false;
}

bool FGuid::ExportTextItem(FString& ValueStr, FGuid const& DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	ValueStr += ToString();
	return true;
}

bool FGuid::ImportTextItem(const TCHAR*& Buffer, int32 PortFlags, UObject* Parent, FOutputDevice* ErrorText)
{
	if (FCString::Strlen(Buffer) < 32)
	{
		return false;
	}
	FGuid Parsed;
	if (!ParseDigits(FString(32, Buffer), Parsed) || FChar::IsHexDigit(Buffer[32]))
	{
		return false;
	}
	*this = Parsed;
	Buffer += 32;
	return true;
}
