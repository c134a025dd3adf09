// TStringView: a pointer and a length, not null-terminated.
#pragma once

#include "CoreTypes.h"
#include "Misc/Char.h"

#include <string_view>

class FString;

template<typename CharType>
class TStringView
{
public:
	using ElementType = CharType;

	constexpr TStringView() = default;
	constexpr TStringView(const CharType* InData) : View(InData ? std::basic_string_view<CharType>(InData) : std::basic_string_view<CharType>()) {}
	constexpr TStringView(const CharType* InData, int32 InLen) : View(InData, static_cast<size_t>(InLen)) {}
	constexpr TStringView(std::basic_string_view<CharType> InView) : View(InView) {}
	template<typename StringType>
		requires std::is_same_v<StringType, FString> && std::is_same_v<CharType, TCHAR>
	TStringView(const StringType& String) : View(String.GetStdString()) {}

	constexpr const CharType* GetData() const { return View.data(); }
	constexpr int32 Len() const { return static_cast<int32>(View.size()); }
	constexpr bool IsEmpty() const { return View.empty(); }
	constexpr const CharType& operator[](int32 Index) const { return View[static_cast<size_t>(Index)]; }
	constexpr TStringView Left(int32 Count) const { return TStringView(View.substr(0, Clamp(Count))); }
	constexpr TStringView Mid(int32 Start, int32 Count = 0x7fffffff) const
	{
		const size_t S = static_cast<size_t>(Clamp(Start));
		return TStringView(View.substr(S, static_cast<size_t>(Count < 0 ? 0 : Count)));
	}
	constexpr TStringView RightChop(int32 Count) const { return Mid(Count); }
	constexpr std::basic_string_view<CharType> GetStdView() const { return View; }

	constexpr auto begin() const { return View.begin(); }
	constexpr auto end() const { return View.end(); }

	// Ignores (ASCII) case and equals GetTypeHash(const FString&) for the same text, so a view can
	// look up an FString key without a copy.
	friend uint32 GetTypeHash(TStringView Text)
	{
		uint32 Hash = 2166136261u;
		for (const CharType C : Text.View)
		{
			Hash = (Hash ^ static_cast<uint32>(TChar<CharType>::ToLower(C))) * 16777619u;
		}
		return Hash;
	}

private:
	constexpr int32 Clamp(int32 Count) const { return Count < 0 ? 0 : (Count > Len() ? Len() : Count); }

	std::basic_string_view<CharType> View;
};

typedef TStringView<TCHAR> FStringView;
typedef TStringView<ANSICHAR> FAnsiStringView;
typedef TStringView<UTF8CHAR> FUtf8StringView;
