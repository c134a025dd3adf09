// FString: the engine's UTF-16 string. Lengths count UTF-16 code units. ==, != and < ignore
// (ASCII) case; Equals and Compare are case-sensitive unless asked otherwise.
#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Misc/CString.h"
#include "Misc/Char.h"

#include <string>
#include <string_view>
#include <type_traits>

template<typename CharType>
class TStringView;

namespace UE::Host::Format
{
	struct FArg
	{
		enum class EKind : uint8 { Signed, Unsigned, Double, WideString, AnsiString, Pointer };
		EKind Kind;
		union
		{
			int64 Signed;
			uint64 Unsigned;
			double Double;
			const TCHAR* WideString;
			const ANSICHAR* AnsiString;
			const void* Pointer;
		};
	};

	template<typename T>
	FArg MakeArg(T Value)
	{
		using D = std::decay_t<T>;
		static_assert(std::is_arithmetic_v<D> || std::is_enum_v<D> || std::is_pointer_v<D>,
			"Printf arguments must be numbers, characters or character pointers (pass *String for an FString)");
		FArg Arg{};
		if constexpr (std::is_same_v<D, const TCHAR*> || std::is_same_v<D, TCHAR*>)
		{
			Arg.Kind = FArg::EKind::WideString;
			Arg.WideString = Value;
		}
		else if constexpr (std::is_same_v<D, const ANSICHAR*> || std::is_same_v<D, ANSICHAR*>)
		{
			Arg.Kind = FArg::EKind::AnsiString;
			Arg.AnsiString = Value;
		}
		else if constexpr (std::is_pointer_v<D>)
		{
			Arg.Kind = FArg::EKind::Pointer;
			Arg.Pointer = Value;
		}
		else if constexpr (std::is_floating_point_v<D>)
		{
			Arg.Kind = FArg::EKind::Double;
			Arg.Double = static_cast<double>(Value);
		}
		else if constexpr (std::is_enum_v<D>)
		{
			Arg.Kind = FArg::EKind::Signed;
			Arg.Signed = static_cast<int64>(Value);
		}
		else if constexpr (std::is_signed_v<D>)
		{
			Arg.Kind = FArg::EKind::Signed;
			Arg.Signed = static_cast<int64>(Value);
		}
		else
		{
			Arg.Kind = FArg::EKind::Unsigned;
			Arg.Unsigned = static_cast<uint64>(Value);
		}
		return Arg;
	}
}

class FString
{
public:
	using ElementType = TCHAR;

	FString() = default;
	FString(const FString&) = default;
	FString(FString&&) noexcept = default;
	FString& operator=(const FString&) = default;
	FString& operator=(FString&&) noexcept = default;

	FString(const TCHAR* Str) : Data(Str ? Str : u"") {}
	// Narrow literals are taken as UTF-8 (ASCII in practice).
	FString(const ANSICHAR* Str);
	FString(int32 InCount, const TCHAR* InSrc) : Data(InSrc ? std::u16string(InSrc, static_cast<size_t>(InCount)) : std::u16string()) {}
	explicit FString(const TStringView<TCHAR>& View);
	explicit FString(std::u16string InData) : Data(std::move(InData)) {}
	explicit FString(std::u16string_view InData) : Data(InData) {}

	FString& operator=(const TCHAR* Str) { Data = Str ? Str : u""; return *this; }

	// Access
	const TCHAR* operator*() const { return Data.c_str(); }
	TCHAR& operator[](int32 Index) { check(Index >= 0 && Index < Len()); return Data[static_cast<size_t>(Index)]; }
	const TCHAR& operator[](int32 Index) const { check(Index >= 0 && Index < Len()); return Data[static_cast<size_t>(Index)]; }
	int32 Len() const { return static_cast<int32>(Data.size()); }
	bool IsEmpty() const { return Data.empty(); }
	bool IsValidIndex(int32 Index) const { return Index >= 0 && Index < Len(); }
	TCHAR* GetCharArrayData() { return Data.data(); }
	const std::u16string& GetStdString() const { return Data; }
	std::u16string& GetStdString() { return Data; }
	SIZE_T GetAllocatedSize() const { return Data.capacity() * sizeof(TCHAR); }

	void Empty() { Data.clear(); Data.shrink_to_fit(); }
	void Empty(int32 Slack) { Data.clear(); if (Slack == 0) { Data.shrink_to_fit(); } else { Data.reserve(static_cast<size_t>(Slack)); } }
	void Reset(int32 Slack = 0) { Data.clear(); if (Slack > 0) { Data.reserve(static_cast<size_t>(Slack)); } }
	void Reserve(int32 Count) { if (Count > 0) { Data.reserve(static_cast<size_t>(Count)); } }
	void Shrink() { Data.shrink_to_fit(); }

	// Appending
	FString& Append(const FString& Other) { Data += Other.Data; return *this; }
	FString& Append(const TCHAR* Str) { if (Str) { Data += Str; } return *this; }
	FString& Append(const TCHAR* Str, int32 Count) { Data.append(Str, static_cast<size_t>(Count)); return *this; }
	FString& Append(const TStringView<TCHAR>& View);
	FString& AppendChar(TCHAR C) { Data.push_back(C); return *this; }
	FString& AppendChars(const TCHAR* Str, int32 Count) { return Append(Str, Count); }
	FString& AppendInt(int32 Value);

	FString& operator+=(const FString& Other) { return Append(Other); }
	FString& operator+=(const TCHAR* Str) { return Append(Str); }
	FString& operator+=(TCHAR C) { return AppendChar(C); }
	FString& operator+=(const TStringView<TCHAR>& View) { return Append(View); }

	// Joins two path parts with one '/'.
	FString& PathAppend(const TCHAR* Str, int32 StrLength);
	FString& operator/=(const FString& Other) { return PathAppend(*Other, Other.Len()); }
	FString& operator/=(const TCHAR* Str) { return PathAppend(Str, FCString::Strlen(Str)); }
	friend FString operator/(const FString& A, const FString& B) { FString R(A); R /= B; return R; }
	friend FString operator/(const FString& A, const TCHAR* B) { FString R(A); R /= B; return R; }

	friend FString operator+(const FString& A, const FString& B) { FString R(A); R += B; return R; }
	friend FString operator+(FString&& A, const FString& B) { A += B; return std::move(A); }
	friend FString operator+(const FString& A, const TCHAR* B) { FString R(A); R += B; return R; }
	friend FString operator+(FString&& A, const TCHAR* B) { A += B; return std::move(A); }
	friend FString operator+(const TCHAR* A, const FString& B) { FString R(A); R += B; return R; }
	friend FString operator+(const FString& A, TCHAR B) { FString R(A); R += B; return R; }

	// Comparison: operators ignore case like the engine's.
	bool Equals(const FString& Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const;
	int32 Compare(const FString& Other, ESearchCase::Type SearchCase = ESearchCase::CaseSensitive) const;
	friend bool operator==(const FString& A, const FString& B) { return A.Equals(B, ESearchCase::IgnoreCase); }
	friend bool operator==(const FString& A, const TCHAR* B) { return FCString::Stricmp(*A, B ? B : u"") == 0; }
	friend bool operator==(const TCHAR* A, const FString& B) { return B == A; }
	friend bool operator!=(const FString& A, const FString& B) { return !(A == B); }
	friend bool operator!=(const FString& A, const TCHAR* B) { return !(A == B); }
	friend bool operator!=(const TCHAR* A, const FString& B) { return !(B == A); }
	friend bool operator<(const FString& A, const FString& B) { return A.Compare(B, ESearchCase::IgnoreCase) < 0; }
	friend bool operator>(const FString& A, const FString& B) { return B < A; }
	friend bool operator<=(const FString& A, const FString& B) { return !(B < A); }
	friend bool operator>=(const FString& A, const FString& B) { return !(A < B); }

	// Searching: these ignore case unless asked otherwise.
	bool StartsWith(const TCHAR* Prefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool StartsWith(const FString& Prefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool EndsWith(const TCHAR* Suffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	bool EndsWith(const FString& Suffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	int32 Find(const TCHAR* SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase,
		ESearchDir::Type SearchDir = ESearchDir::FromStart, int32 StartPosition = INDEX_NONE) const;
	int32 Find(const FString& SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase,
		ESearchDir::Type SearchDir = ESearchDir::FromStart, int32 StartPosition = INDEX_NONE) const;
	bool Contains(const TCHAR* SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase,
		ESearchDir::Type SearchDir = ESearchDir::FromStart) const { return Find(SubStr, SearchCase, SearchDir) != INDEX_NONE; }
	bool Contains(const FString& SubStr, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase,
		ESearchDir::Type SearchDir = ESearchDir::FromStart) const { return Find(SubStr, SearchCase, SearchDir) != INDEX_NONE; }
	bool FindChar(TCHAR C, int32& OutIndex) const;
	bool FindLastChar(TCHAR C, int32& OutIndex) const;
	template<typename Predicate>
	int32 FindLastCharByPredicate(Predicate Pred, int32 Count) const
	{
		for (int32 Index = Count - 1; Index >= 0; --Index)
		{
			if (Pred(Data[static_cast<size_t>(Index)]))
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}
	template<typename Predicate>
	int32 FindLastCharByPredicate(Predicate Pred) const { return FindLastCharByPredicate(Pred, Len()); }

	// Substrings: out-of-range arguments are clamped.
	FString Left(int32 Count) const&;
	FString Left(int32 Count) && { return Left(Count); }
	FString LeftChop(int32 Count) const;
	FString Right(int32 Count) const;
	FString RightChop(int32 Count) const;
	// Two overloads, as in the engine: no defaulted count.
	FString Mid(int32 Start, int32 Count) const&;
	FString Mid(int32 Start) const& { return Mid(Start, MAX_int32); }
	FString Mid(int32 Start, int32 Count) && { return Mid(Start, Count); }
	FString Mid(int32 Start) && { return Mid(Start, MAX_int32); }
	void LeftInline(int32 Count, EAllowShrinking AllowShrinking = EAllowShrinking::Yes) { *this = Left(Count); (void)AllowShrinking; }
	void LeftChopInline(int32 Count, EAllowShrinking AllowShrinking = EAllowShrinking::Yes) { *this = LeftChop(Count); (void)AllowShrinking; }
	void RightInline(int32 Count, EAllowShrinking AllowShrinking = EAllowShrinking::Yes) { *this = Right(Count); (void)AllowShrinking; }
	void RightChopInline(int32 Count, EAllowShrinking AllowShrinking = EAllowShrinking::Yes) { *this = RightChop(Count); (void)AllowShrinking; }
	void MidInline(int32 Start, int32 Count = MAX_int32, EAllowShrinking AllowShrinking = EAllowShrinking::Yes) { *this = Mid(Start, Count); (void)AllowShrinking; }
	void RemoveAt(int32 Index, int32 Count = 1, EAllowShrinking AllowShrinking = EAllowShrinking::Yes);
	void InsertAt(int32 Index, TCHAR Character);
	void InsertAt(int32 Index, const FString& Characters);
	bool RemoveFromStart(const FString& Prefix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	bool RemoveFromEnd(const FString& Suffix, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);

	// Trimming with the engine's white-space set.
	FString TrimStart() const&;
	FString TrimEnd() const&;
	FString TrimStartAndEnd() const&;
	FString TrimStartAndEnd() && { return TrimStartAndEnd(); }
	void TrimStartInline();
	void TrimEndInline();
	void TrimStartAndEndInline();
	FString TrimQuotes(bool* bQuotesRemoved = nullptr) const;
	FString TrimChar(TCHAR CharacterToTrim, bool* bCharRemoved = nullptr) const;

	FString ToLower() const&;
	FString ToLower() && { return ToLower(); }
	FString ToUpper() const&;
	void ToLowerInline();
	void ToUpperInline();

	bool Split(const FString& InS, FString* LeftS, FString* RightS, ESearchCase::Type SearchCase,
		ESearchDir::Type SearchDir = ESearchDir::FromStart) const;
	bool Split(const FString& InS, FString* LeftS, FString* RightS) const { return Split(InS, LeftS, RightS, ESearchCase::IgnoreCase); }

	int32 ParseIntoArray(TArray<FString>& OutArray, const TCHAR* Delim, bool bInCullEmpty = true) const;
	int32 ParseIntoArrayLines(TArray<FString>& OutArray, bool bInCullEmpty = true) const;
	int32 ParseIntoArrayWS(TArray<FString>& OutArray, const TCHAR* ExtraDelim = nullptr, bool bInCullEmpty = true) const;

	FString Replace(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase) const;
	int32 ReplaceInline(const TCHAR* From, const TCHAR* To, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	void ReplaceCharInline(TCHAR From, TCHAR To, ESearchCase::Type SearchCase = ESearchCase::IgnoreCase);
	FString ReplaceCharWithEscapedChar(const TArray<TCHAR>* Chars = nullptr) const;
	FString ReplaceEscapedCharWithChar(const TArray<TCHAR>* Chars = nullptr) const;
	FString ReplaceQuotesWithEscapedQuotes() const;
	FString Reverse() const;

	bool IsNumeric() const;
	bool ToBool() const { return FCString::ToBool(**this); }

	static FString Chr(TCHAR C) { return FString(std::u16string(1, C)); }
	static FString ChrN(int32 Count, TCHAR C) { return FString(std::u16string(static_cast<size_t>(Count > 0 ? Count : 0), C)); }
	static FString FromInt(int32 Value);
	// 1.0 prints as "1.0" with the default, "1" with 0 minimum fractional digits.
	static FString SanitizeFloat(double InFloat, int32 InMinFractionalDigits = 1);
	static FString ConstructFromPtrSize(const TCHAR* Ptr, int32 Size) { return FString(Size, Ptr); }

	template<typename RangeType>
	static FString Join(const RangeType& Range, const TCHAR* Separator)
	{
		FString Result;
		bool bFirst = true;
		for (const auto& Element : Range)
		{
			if (!bFirst)
			{
				Result += Separator;
			}
			bFirst = false;
			Result += Element;
		}
		return Result;
	}

	// The format is a TCHAR literal, as the engine requires.
	template<typename FmtType, typename... Types>
	static FString Printf(const FmtType& Fmt, Types... Args)
	{
		static_assert(std::is_array_v<FmtType> && std::is_same_v<std::remove_cv_t<std::remove_extent_t<FmtType>>, TCHAR>,
			"Formatting string must be a TCHAR array.");
		const UE::Host::Format::FArg ArgArray[] = {UE::Host::Format::MakeArg(Args)..., UE::Host::Format::FArg{}};
		return PrintfImpl(Fmt, ArgArray, static_cast<int32>(sizeof...(Types)));
	}

	static FString PrintfImpl(const TCHAR* Fmt, const UE::Host::Format::FArg* Args, int32 NumArgs);

	auto begin() { return Data.begin(); }
	auto end() { return Data.end(); }
	auto begin() const { return Data.begin(); }
	auto end() const { return Data.end(); }

private:
	std::u16string Data;
};

// Hash that ignores (ASCII) case, matching the equality above.
uint32 GetTypeHash(const FString& S);
uint32 GetTypeHash(const TCHAR* S);
inline uint32 GetTypeHash(int32 V) { return static_cast<uint32>(V); }
inline uint32 GetTypeHash(uint32 V) { return V; }
inline uint32 GetTypeHash(int64 V) { return static_cast<uint32>(V) ^ static_cast<uint32>(V >> 32); }
inline uint32 GetTypeHash(uint64 V) { return static_cast<uint32>(V) ^ static_cast<uint32>(V >> 32); }
template<typename T>
inline uint32 GetTypeHash(const T* P) { return static_cast<uint32>(reinterpret_cast<UPTRINT>(P) >> 4); }

inline const TCHAR* ToCStr(const FString& S) { return *S; }

// Code-unit order: case-sensitive, a prefix first. Used wherever a stable key order is needed.
struct FStringOrdinalLess
{
	bool operator()(const FString& A, const FString& B) const { return A.GetStdString() < B.GetStdString(); }
};

#include "Containers/StringView.h"
#include "Containers/StringConv.h"

// Ignores case like the other FString comparisons (the reversed form comes from C++20 rewriting).
// Compares every code unit, so text with an embedded NUL is not cut short.
inline bool operator==(const FString& A, const TStringView<TCHAR>& B)
{
	if (A.Len() != B.Len())
	{
		return false;
	}
	const TCHAR* Left = *A;
	for (int32 Index = 0; Index < B.Len(); ++Index)
	{
		if (FChar::ToLower(Left[Index]) != FChar::ToLower(B[Index]))
		{
			return false;
		}
	}
	return true;
}
