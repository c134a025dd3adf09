#include "Containers/UnrealString.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace
{
	bool CharsEqual(TCHAR A, TCHAR B, ESearchCase::Type SearchCase)
	{
		return SearchCase == ESearchCase::CaseSensitive ? A == B : FChar::ToLower(A) == FChar::ToLower(B);
	}

	bool RangeEquals(const TCHAR* A, const TCHAR* B, int32 Count, ESearchCase::Type SearchCase)
	{
		for (int32 Index = 0; Index < Count; ++Index)
		{
			if (!CharsEqual(A[Index], B[Index], SearchCase))
			{
				return false;
			}
		}
		return true;
	}

	int32 FindIn(const std::u16string& Haystack, const TCHAR* Needle, int32 NeedleLen, ESearchCase::Type SearchCase,
		ESearchDir::Type SearchDir, int32 StartPosition)
	{
		const int32 HayLen = static_cast<int32>(Haystack.size());
		if (SearchDir == ESearchDir::FromStart)
		{
			const int32 Start = StartPosition == INDEX_NONE ? 0 : std::max(0, StartPosition);
			if (SearchCase == ESearchCase::CaseSensitive)
			{
				const size_t Pos = Haystack.find(std::u16string_view(Needle, static_cast<size_t>(NeedleLen)), static_cast<size_t>(Start));
				return Pos == std::u16string::npos ? INDEX_NONE : static_cast<int32>(Pos);
			}
			if (NeedleLen == 0)
			{
				return Start <= HayLen ? Start : INDEX_NONE;
			}
			// Scan for the first unit in either case, then compare the rest.
			const TCHAR FirstLower = FChar::ToLower(Needle[0]);
			const TCHAR FirstUpper = FChar::ToUpper(Needle[0]);
			const TCHAR* const Data = Haystack.data();
			for (int32 Index = Start; Index + NeedleLen <= HayLen; ++Index)
			{
				const TCHAR C = Data[Index];
				if (C != FirstLower && C != FirstUpper)
				{
					continue;
				}
				int32 Matched = 1;
				while (Matched < NeedleLen && FChar::ToLower(Data[Index + Matched]) == FChar::ToLower(Needle[Matched]))
				{
					++Matched;
				}
				if (Matched == NeedleLen)
				{
					return Index;
				}
			}
			return INDEX_NONE;
		}
		int32 Start = HayLen - NeedleLen;
		if (StartPosition != INDEX_NONE)
		{
			Start = std::min(Start, StartPosition - NeedleLen);
		}
		for (int32 Index = Start; Index >= 0; --Index)
		{
			if (RangeEquals(Haystack.data() + Index, Needle, NeedleLen, SearchCase))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}
}

FString::FString(const ANSICHAR* Str)
	: Data(UE::Host::Utf8ToString(Str ? std::string_view(Str) : std::string_view()).GetStdString())
{
}

FString::FString(const TStringView<TCHAR>& View)
	: Data(View.GetStdView())
{
}

FString& FString::Append(const TStringView<TCHAR>& View)
{
	Data.append(View.GetStdView());
	return *this;
}

FString& FString::AppendInt(int32 Value)
{
	return Append(FromInt(Value));
}

FString& FString::PathAppend(const TCHAR* Str, int32 StrLength)
{
	if (StrLength == 0)
	{
		if (!Data.empty() && Data.back() != '/' && Data.back() != '\\')
		{
			Data.push_back('/');
		}
		return *this;
	}
	if (!Data.empty() && Data.back() != '/' && Data.back() != '\\' && Str[0] != '/')
	{
		Data.push_back('/');
	}
	Data.append(Str, static_cast<size_t>(StrLength));
	return *this;
}

bool FString::Equals(const FString& Other, ESearchCase::Type SearchCase) const
{
	return Len() == Other.Len() && RangeEquals(Data.data(), Other.Data.data(), Len(), SearchCase);
}

int32 FString::Compare(const FString& Other, ESearchCase::Type SearchCase) const
{
	return SearchCase == ESearchCase::CaseSensitive ? FCString::Strcmp(**this, *Other) : FCString::Stricmp(**this, *Other);
}

bool FString::StartsWith(const TCHAR* Prefix, ESearchCase::Type SearchCase) const
{
	const int32 PrefixLen = FCString::Strlen(Prefix);
	return PrefixLen > 0 && PrefixLen <= Len() && RangeEquals(Data.data(), Prefix, PrefixLen, SearchCase);
}

bool FString::StartsWith(const FString& Prefix, ESearchCase::Type SearchCase) const
{
	return Prefix.Len() > 0 && Prefix.Len() <= Len() && RangeEquals(Data.data(), *Prefix, Prefix.Len(), SearchCase);
}

bool FString::EndsWith(const TCHAR* Suffix, ESearchCase::Type SearchCase) const
{
	const int32 SuffixLen = FCString::Strlen(Suffix);
	return SuffixLen > 0 && SuffixLen <= Len() && RangeEquals(Data.data() + Len() - SuffixLen, Suffix, SuffixLen, SearchCase);
}

bool FString::EndsWith(const FString& Suffix, ESearchCase::Type SearchCase) const
{
	return EndsWith(*Suffix, SearchCase);
}

int32 FString::Find(const TCHAR* SubStr, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir, int32 StartPosition) const
{
	if (!SubStr)
	{
		return INDEX_NONE;
	}
	return FindIn(Data, SubStr, FCString::Strlen(SubStr), SearchCase, SearchDir, StartPosition);
}

int32 FString::Find(const FString& SubStr, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir, int32 StartPosition) const
{
	return FindIn(Data, *SubStr, SubStr.Len(), SearchCase, SearchDir, StartPosition);
}

bool FString::FindChar(TCHAR C, int32& OutIndex) const
{
	// Eight units at a time where the processor allows: every config value is searched for '%'.
	const TCHAR* Chars = Data.data();
	const size_t Length = Data.size();
	size_t Pos = 0;
#if defined(__SSE2__)
	const __m128i Wanted = _mm_set1_epi16(static_cast<short>(C));
	for (; Pos + 8 <= Length; Pos += 8)
	{
		const unsigned Mask = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(Chars + Pos)), Wanted)));
		if (Mask != 0)
		{
			OutIndex = static_cast<int32>(Pos + __builtin_ctz(Mask) / 2);
			return true;
		}
	}
#endif
	for (; Pos < Length; ++Pos)
	{
		if (Chars[Pos] == C)
		{
			OutIndex = static_cast<int32>(Pos);
			return true;
		}
	}
	OutIndex = INDEX_NONE;
	return false;
}

bool FString::FindLastChar(TCHAR C, int32& OutIndex) const
{
	const size_t Pos = Data.rfind(C);
	OutIndex = Pos == std::u16string::npos ? INDEX_NONE : static_cast<int32>(Pos);
	return OutIndex != INDEX_NONE;
}

FString FString::Left(int32 Count) const&
{
	return FString(Data.substr(0, static_cast<size_t>(std::clamp(Count, 0, Len()))));
}

FString FString::LeftChop(int32 Count) const
{
	return Left(Len() - std::clamp(Count, 0, Len()));
}

FString FString::Right(int32 Count) const
{
	const int32 C = std::clamp(Count, 0, Len());
	return FString(Data.substr(static_cast<size_t>(Len() - C)));
}

FString FString::RightChop(int32 Count) const
{
	return FString(Data.substr(static_cast<size_t>(std::clamp(Count, 0, Len()))));
}

FString FString::Mid(int32 Start, int32 Count) const&
{
	if (Count <= 0)
	{
		return FString();
	}
	const int64 End = std::clamp<int64>(static_cast<int64>(Start) + Count, 0, Len());
	const int32 S = std::clamp(Start, 0, Len());
	return End > S ? FString(Data.substr(static_cast<size_t>(S), static_cast<size_t>(End - S))) : FString();
}

void FString::RemoveAt(int32 Index, int32 Count, EAllowShrinking AllowShrinking)
{
	check(Index >= 0 && Count >= 0 && Index + Count <= Len());
	Data.erase(static_cast<size_t>(Index), static_cast<size_t>(Count));
	(void)AllowShrinking;
}

void FString::InsertAt(int32 Index, TCHAR Character)
{
	check(Index >= 0 && Index <= Len());
	Data.insert(Data.begin() + Index, Character);
}

void FString::InsertAt(int32 Index, const FString& Characters)
{
	check(Index >= 0 && Index <= Len());
	Data.insert(static_cast<size_t>(Index), Characters.Data);
}

bool FString::RemoveFromStart(const FString& Prefix, ESearchCase::Type SearchCase)
{
	if (StartsWith(Prefix, SearchCase))
	{
		Data.erase(0, static_cast<size_t>(Prefix.Len()));
		return true;
	}
	return false;
}

bool FString::RemoveFromEnd(const FString& Suffix, ESearchCase::Type SearchCase)
{
	if (EndsWith(Suffix, SearchCase))
	{
		Data.erase(static_cast<size_t>(Len() - Suffix.Len()));
		return true;
	}
	return false;
}

FString FString::TrimStart() const&
{
	FString Result(*this);
	Result.TrimStartInline();
	return Result;
}

FString FString::TrimEnd() const&
{
	FString Result(*this);
	Result.TrimEndInline();
	return Result;
}

FString FString::TrimStartAndEnd() const&
{
	FString Result(*this);
	Result.TrimStartAndEndInline();
	return Result;
}

void FString::TrimStartInline()
{
	size_t Start = 0;
	while (Start < Data.size() && FChar::IsWhitespace(Data[Start]))
	{
		++Start;
	}
	Data.erase(0, Start);
}

void FString::TrimEndInline()
{
	size_t End = Data.size();
	while (End > 0 && FChar::IsWhitespace(Data[End - 1]))
	{
		--End;
	}
	Data.erase(End);
}

void FString::TrimStartAndEndInline()
{
	TrimEndInline();
	TrimStartInline();
}

FString FString::TrimQuotes(bool* bQuotesRemoved) const
{
	int32 Start = 0;
	int32 Count = Len();
	bool bRemoved = false;
	if (Count > 0 && Data[0] == '"')
	{
		++Start;
		--Count;
		bRemoved = true;
	}
	if (Count > 0 && Data.back() == '"')
	{
		--Count;
		bRemoved = true;
	}
	if (bQuotesRemoved)
	{
		*bQuotesRemoved = bRemoved;
	}
	return Mid(Start, Count);
}

FString FString::TrimChar(TCHAR CharacterToTrim, bool* bCharRemoved) const
{
	int32 Start = 0;
	int32 Count = Len();
	bool bRemoved = false;
	if (Count > 0 && Data[0] == CharacterToTrim)
	{
		++Start;
		--Count;
		bRemoved = true;
	}
	if (Count > 0 && Data.back() == CharacterToTrim)
	{
		--Count;
		bRemoved = true;
	}
	if (bCharRemoved)
	{
		*bCharRemoved = bRemoved;
	}
	return Mid(Start, Count);
}

FString FString::ToLower() const&
{
	FString Result(*this);
	Result.ToLowerInline();
	return Result;
}

FString FString::ToUpper() const&
{
	FString Result(*this);
	Result.ToUpperInline();
	return Result;
}

void FString::ToLowerInline()
{
	for (TCHAR& C : Data)
	{
		C = FChar::ToLower(C);
	}
}

void FString::ToUpperInline()
{
	for (TCHAR& C : Data)
	{
		C = FChar::ToUpper(C);
	}
}

bool FString::Split(const FString& InS, FString* LeftS, FString* RightS, ESearchCase::Type SearchCase, ESearchDir::Type SearchDir) const
{
	const int32 Pos = Find(InS, SearchCase, SearchDir);
	if (Pos == INDEX_NONE)
	{
		return false;
	}
	if (LeftS)
	{
		*LeftS = Left(Pos);
	}
	if (RightS)
	{
		*RightS = Mid(Pos + InS.Len());
	}
	return true;
}

int32 FString::ParseIntoArray(TArray<FString>& OutArray, const TCHAR* Delim, bool bInCullEmpty) const
{
	OutArray.Reset();
	const int32 DelimLen = FCString::Strlen(Delim);
	if (DelimLen == 0)
	{
		if (!bInCullEmpty || !IsEmpty())
		{
			OutArray.Add(*this);
		}
		return OutArray.Num();
	}
	size_t Start = 0;
	const std::u16string_view DelimView(Delim, static_cast<size_t>(DelimLen));
	while (true)
	{
		const size_t Pos = Data.find(DelimView, Start);
		const size_t End = Pos == std::u16string::npos ? Data.size() : Pos;
		if (!bInCullEmpty || End > Start)
		{
			OutArray.Emplace(Data.substr(Start, End - Start));
		}
		if (Pos == std::u16string::npos)
		{
			break;
		}
		Start = Pos + DelimView.size();
	}
	return OutArray.Num();
}

int32 FString::ParseIntoArrayLines(TArray<FString>& OutArray, bool bInCullEmpty) const
{
	// Line ends are "\r\n", a lone "\r" or a lone "\n".
	OutArray.Reset();
	const size_t Size = Data.size();
	OutArray.Reserve(static_cast<int32>(std::count(Data.begin(), Data.end(), u'\n')) + 1);
	size_t Start = 0;
	for (size_t Index = 0; Index < Size; ++Index)
	{
		const TCHAR C = Data[Index];
		if (C == '\r' || C == '\n')
		{
			if (!bInCullEmpty || Index > Start)
			{
				OutArray.Emplace(Data.substr(Start, Index - Start));
			}
			if (C == '\r' && Index + 1 < Size && Data[Index + 1] == '\n')
			{
				++Index;
			}
			Start = Index + 1;
		}
	}
	if (!bInCullEmpty || Start < Size)
	{
		OutArray.Emplace(Data.substr(Start));
	}
	return OutArray.Num();
}

int32 FString::ParseIntoArrayWS(TArray<FString>& OutArray, const TCHAR* ExtraDelim, bool bInCullEmpty) const
{
	OutArray.Reset();
	const std::u16string_view Extra = ExtraDelim ? std::u16string_view(ExtraDelim) : std::u16string_view();
	size_t Start = 0;
	for (size_t Index = 0; Index <= Data.size(); ++Index)
	{
		size_t DelimLen = 0;
		if (Index < Data.size())
		{
			if (Data[Index] == ' ' || Data[Index] == '\t' || Data[Index] == '\r' || Data[Index] == '\n')
			{
				DelimLen = 1;
			}
			else if (!Extra.empty() && Data.compare(Index, Extra.size(), Extra) == 0)
			{
				DelimLen = Extra.size();
			}
		}
		if (Index == Data.size() || DelimLen > 0)
		{
			if (!bInCullEmpty || Index > Start)
			{
				OutArray.Emplace(Data.substr(Start, Index - Start));
			}
			if (DelimLen > 0)
			{
				Index += DelimLen - 1;
			}
			Start = Index + 1;
		}
	}
	return OutArray.Num();
}

FString FString::Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase) const
{
	FString Result(*this);
	Result.ReplaceInline(From, To, SearchCase);
	return Result;
}

int32 FString::ReplaceInline(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase)
{
	const int32 FromLen = FCString::Strlen(From);
	if (FromLen == 0 || IsEmpty())
	{
		return 0;
	}
	const std::u16string_view ToView(To ? To : u"");
	std::u16string Result;
	Result.reserve(Data.size());
	int32 Count = 0;
	int32 Pos = 0;
	while (true)
	{
		const int32 Found = FindIn(Data, From, FromLen, SearchCase, ESearchDir::FromStart, Pos);
		if (Found == INDEX_NONE)
		{
			break;
		}
		Result.append(Data, static_cast<size_t>(Pos), static_cast<size_t>(Found - Pos));
		Result.append(ToView);
		Pos = Found + FromLen;
		++Count;
	}
	Result.append(Data, static_cast<size_t>(Pos));
	Data = std::move(Result);
	return Count;
}

void FString::ReplaceCharInline(TCHAR From, TCHAR To, ESearchCase::Type SearchCase)
{
	for (TCHAR& C : Data)
	{
		if (CharsEqual(C, From, SearchCase))
		{
			C = To;
		}
	}
}

namespace
{
	const TCHAR GEscapableChars[] = {'\\', '\n', '\r', '\t', '\'', '"'};
	const TCHAR* const GEscapedForms[] = {u"\\\\", u"\\n", u"\\r", u"\\t", u"\\'", u"\\\""};

	bool IsSelected(TCHAR C, const TArray<TCHAR>* Chars)
	{
		return !Chars || Chars->Contains(C);
	}
}

FString FString::ReplaceCharWithEscapedChar(const TArray<TCHAR>* Chars) const
{
	FString Result;
	Result.Reserve(Len());
	for (const TCHAR C : Data)
	{
		bool bEscaped = false;
		for (int32 Index = 0; Index < 6; ++Index)
		{
			if (C == GEscapableChars[Index] && IsSelected(C, Chars))
			{
				Result += GEscapedForms[Index];
				bEscaped = true;
				break;
			}
		}
		if (!bEscaped)
		{
			Result.AppendChar(C);
		}
	}
	return Result;
}

FString FString::ReplaceEscapedCharWithChar(const TArray<TCHAR>* Chars) const
{
	FString Result;
	Result.Reserve(Len());
	for (size_t Index = 0; Index < Data.size(); ++Index)
	{
		if (Data[Index] == '\\' && Index + 1 < Data.size())
		{
			bool bUnescaped = false;
			for (int32 Form = 0; Form < 6; ++Form)
			{
				if (Data[Index + 1] == GEscapedForms[Form][1] && IsSelected(GEscapableChars[Form], Chars))
				{
					Result.AppendChar(GEscapableChars[Form]);
					++Index;
					bUnescaped = true;
					break;
				}
			}
			if (bUnescaped)
			{
				continue;
			}
		}
		Result.AppendChar(Data[Index]);
	}
	return Result;
}

FString FString::ReplaceQuotesWithEscapedQuotes() const
{
	FString Result;
	for (size_t Index = 0; Index < Data.size(); ++Index)
	{
		if (Data[Index] == '"' && (Index == 0 || Data[Index - 1] != '\\'))
		{
			Result.AppendChar('\\');
		}
		Result.AppendChar(Data[Index]);
	}
	return Result;
}

FString FString::Reverse() const
{
	return FString(std::u16string(Data.rbegin(), Data.rend()));
}

bool FString::IsNumeric() const
{
	return FCString::IsNumeric(**this);
}

FString FString::FromInt(int32 Value)
{
	return Printf(u"%d", Value);
}

FString FString::SanitizeFloat(double InFloat, int32 InMinFractionalDigits)
{
	if (std::isnan(InFloat))
	{
		return FString(u"nan");
	}
	if (std::isinf(InFloat))
	{
		return FString(InFloat > 0 ? u"inf" : u"-inf");
	}
	// The shortest text that reads back as the same double.
	char Buffer[64];
	for (int32 Precision = 1; Precision <= 17; ++Precision)
	{
		std::snprintf(Buffer, sizeof(Buffer), "%.*g", Precision, InFloat);
		if (std::strtod(Buffer, nullptr) == InFloat)
		{
			break;
		}
	}
	std::string Text(Buffer);
	if (Text.find_first_of("eE") != std::string::npos)
	{
		std::snprintf(Buffer, sizeof(Buffer), "%.17f", InFloat);
		Text = Buffer;
		while (!Text.empty() && Text.back() == '0')
		{
			Text.pop_back();
		}
		if (!Text.empty() && Text.back() == '.')
		{
			Text.pop_back();
		}
	}
	const size_t Dot = Text.find('.');
	int32 Fraction = Dot == std::string::npos ? 0 : static_cast<int32>(Text.size() - Dot - 1);
	if (Fraction < InMinFractionalDigits)
	{
		if (Dot == std::string::npos)
		{
			Text.push_back('.');
		}
		Text.append(static_cast<size_t>(InMinFractionalDigits - Fraction), '0');
	}
	return FString(Text.c_str());
}

uint32 GetTypeHash(const TCHAR* S)
{
	// FNV-1a over ASCII-lowered code units.
	uint32 Hash = 2166136261u;
	for (; S && *S; ++S)
	{
		Hash = (Hash ^ static_cast<uint32>(FChar::ToLower(*S))) * 16777619u;
	}
	return Hash;
}

uint32 GetTypeHash(const FString& S)
{
	uint32 Hash = 2166136261u;
	for (const TCHAR C : S)
	{
		Hash = (Hash ^ static_cast<uint32>(FChar::ToLower(C))) * 16777619u;
	}
	return Hash;
}
