#include "Json/JsonTextParser.h"

#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Host/JsonText.h"

#include <rapidjson/error/en.h>
#include <rapidjson/reader.h>

#include <charconv>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

namespace
{
	using UE::Host::Json::MaxNestingDepth;

	// RapidJSON refuses a \u escape of an unpaired high surrogate, yet such strings are legal in
	// FString and the writer escapes them that way. When a parse fails on one, the text is copied
	// with every unpaired surrogate escape rewritten to this marker and parsed again; the target
	// encoding below swaps the original code units back in, in order. Raw text cannot produce the
	// marker (it is a surrogate), and in the retry no escape can either, so the swap is exact.
	constexpr char16_t LoneSurrogateMarker = 0xDFFF;

	struct FLoneSurrogates
	{
		std::vector<char16_t> Units;
		size_t Next = 0;
	};

	thread_local FLoneSurrogates* GActiveLoneSurrogates = nullptr;

	char16_t ResolveMarker()
	{
		FLoneSurrogates* Active = GActiveLoneSurrogates;
		if (Active && Active->Next < Active->Units.size())
		{
			return Active->Units[Active->Next++];
		}
		return LoneSurrogateMarker;
	}

	// UTF-16 output that lets a lone surrogate through (RapidJSON's own asserts on one).
	struct FTargetUtf16
	{
		typedef char16_t Ch;
		enum
		{
			supportUnicode = 1
		};

		template<typename OutputStream>
		static void Encode(OutputStream& Os, unsigned Codepoint)
		{
			if (Codepoint <= 0xFFFF)
			{
				const Ch Unit = static_cast<Ch>(Codepoint);
				Os.Put(Unit == LoneSurrogateMarker ? ResolveMarker() : Unit);
			}
			else
			{
				const unsigned Offset = Codepoint - 0x10000;
				Os.Put(static_cast<Ch>(0xD800 | (Offset >> 10)));
				Os.Put(static_cast<Ch>(0xDC00 | (Offset & 0x3FF)));
			}
		}

		template<typename OutputStream>
		static void EncodeUnsafe(OutputStream& Os, unsigned Codepoint)
		{
			Encode(Os, Codepoint);
		}
	};

	// A stream over a buffer with a length: a NUL inside the text is a character, not the end.
	template<typename CharType>
	class TBoundedInputStream
	{
	public:
		typedef CharType Ch;

		TBoundedInputStream(const Ch* InBegin, size_t Length) : Begin(InBegin), Current(InBegin), End(InBegin + Length) {}

		Ch Peek() const { return Current < End ? *Current : Ch(0); }
		Ch Take() { return Current < End ? *Current++ : Ch(0); }
		size_t Tell() const { return static_cast<size_t>(Current - Begin); }
		const Ch* GetData() const { return Begin; }
		bool AtEnd() const { return Current == End; }

		// Write side of the stream concept; an input stream never writes.
		Ch* PutBegin() { return nullptr; }
		void Put(Ch) {}
		void Flush() {}
		size_t PutEnd(Ch*) { return 0; }

	private:
		const Ch* Begin;
		const Ch* Current;
		const Ch* End;
	};

	// Whether a number's magnitude is at least one, from its JSON text: for a number outside the
	// range of a double, whether it is too big rather than too small.
	bool IsAtLeastOne(std::string_view Text)
	{
		if (!Text.empty() && Text.front() == '-')
		{
			Text.remove_prefix(1);
		}
		const size_t ExponentAt = Text.find_first_of("eE");
		int64_t Exponent = 0;
		if (ExponentAt != std::string_view::npos)
		{
			const std::string_view Digits = Text.substr(ExponentAt + 1);
			const bool bNegative = !Digits.empty() && Digits.front() == '-';
			for (const char Digit : Digits)
			{
				// Saturates: any exponent this large decides the answer on its own.
				if (Digit >= '0' && Digit <= '9' && Exponent < 1000000000)
				{
					Exponent = Exponent * 10 + (Digit - '0');
				}
			}
			Exponent = bNegative ? -Exponent : Exponent;
			Text = Text.substr(0, ExponentAt);
		}
		const size_t Point = Text.find('.');
		const std::string_view Integer = Text.substr(0, Point);
		const std::string_view Fraction = Point == std::string_view::npos ? std::string_view() : Text.substr(Point + 1);
		int64_t Magnitude = 0;
		if (const size_t First = Integer.find_first_not_of('0'); First != std::string_view::npos)
		{
			Magnitude = static_cast<int64_t>(Integer.size() - First) - 1;
		}
		else if (const size_t FirstInFraction = Fraction.find_first_not_of('0'); FirstInFraction != std::string_view::npos)
		{
			Magnitude = -static_cast<int64_t>(FirstInFraction) - 1;
		}
		else
		{
			return false;
		}
		return Magnitude + Exponent >= 0;
	}

	// The characters a JSON number is written with; what comes before a number is never one of them.
	template<typename CharType>
	bool IsNumberCharacter(CharType C)
	{
		return (C >= '0' && C <= '9') || C == '-' || C == '+' || C == '.' || C == 'e' || C == 'E';
	}

	using UE::Host::Json::FJsonSourceFacts;

	// Builds the tree as RapidJSON reports it. Numbers all become doubles; a repeated object key
	// replaces the earlier value in its position (TMap keeps the slot), and is noted in the facts
	// when there are any to keep.
	template<typename SourceCh>
	class TTreeBuilder
	{
	public:
		typedef char16_t Ch;

		TTreeBuilder(const TBoundedInputStream<SourceCh>& InSource, FJsonSourceFacts* InFacts) : Source(InSource), Facts(InFacts) {}

		bool Null() { return Add(MakeShared<FJsonValueNull>()); }
		bool Bool(bool bValue) { return Add(MakeShared<FJsonValueBoolean>(bValue)); }
		bool Int(int Value) { return Number(static_cast<double>(Value), false); }
		bool Uint(unsigned Value) { return Number(static_cast<double>(Value), false); }
		bool Int64(int64_t Value) { return Number(static_cast<double>(Value), false); }
		bool Uint64(uint64_t Value) { return Number(static_cast<double>(Value), false); }
		bool RawNumber(const Ch*, rapidjson::SizeType, bool) { return false; }

		// A number that is not a plain integer is converted again from its source text, which ends
		// where the reader stands, correctly rounded. (The reader's own exact conversion takes a bit
		// scan of a zero significand for a text like "0e99", which is undefined, so the reader only
		// approximates.) A value too small for a double becomes a zero of its sign; one too big is
		// refused.
		bool Double(double)
		{
			ReadNumberText();
			double Value = 0.0;
			const char* const TextEnd = NumberText.data() + NumberText.size();
			const std::from_chars_result Result = std::from_chars(NumberText.data(), TextEnd, Value);
			if (Result.ec == std::errc::result_out_of_range)
			{
				if (IsAtLeastOne(NumberText))
				{
					bNumberTooBig = true;
					return false;
				}
				Value = NumberText.front() == '-' ? -0.0 : 0.0;
			}
			else if (Result.ec != std::errc() || Result.ptr != TextEnd)
			{
				return false;
			}
			return Number(Value, true);
		}

		bool String(const Ch* Text, rapidjson::SizeType Length, bool)
		{
			return Add(MakeShared<FJsonValueString>(FString(std::u16string(Text, Length))));
		}

		bool Key(const Ch* Text, rapidjson::SizeType Length, bool)
		{
			Frames.back().Key.GetStdString().assign(Text, Length);
			return true;
		}

		bool StartObject()
		{
			if (!CanNest())
			{
				return false;
			}
			FFrame& Frame = Frames.emplace_back();
			Frame.Object = MakeShared<FJsonObject>();
			return true;
		}

		bool EndObject(rapidjson::SizeType)
		{
			TSharedPtr<FJsonObject> Object = std::move(Frames.back().Object);
			Frames.pop_back();
			return Add(MakeShared<FJsonValueObject>(std::move(Object)));
		}

		bool StartArray()
		{
			if (!CanNest())
			{
				return false;
			}
			Frames.emplace_back();
			return true;
		}

		bool EndArray(rapidjson::SizeType)
		{
			TArray<TSharedPtr<FJsonValue>> Elements = std::move(Frames.back().Elements);
			Frames.pop_back();
			return Add(MakeShared<FJsonValueArray>(std::move(Elements)));
		}

		bool IsTooDeep() const { return bTooDeep; }
		bool IsNumberTooBig() const { return bNumberTooBig; }
		TSharedPtr<FJsonValue>& GetRoot() { return Root; }

	private:
		struct FFrame
		{
			TSharedPtr<FJsonObject> Object;
			TArray<TSharedPtr<FJsonValue>> Elements;
			FString Key;
		};

		bool CanNest()
		{
			if (Frames.size() >= static_cast<size_t>(MaxNestingDepth))
			{
				bTooDeep = true;
				return false;
			}
			return true;
		}

		// The number the reader just passed, as written; it ends where the reader stands.
		void ReadNumberText()
		{
			const size_t End = Source.Tell();
			size_t Begin = End;
			const SourceCh* const Text = Source.GetData();
			while (Begin > 0 && IsNumberCharacter(Text[Begin - 1]))
			{
				--Begin;
			}
			NumberText.resize(End - Begin);
			for (size_t Index = Begin; Index < End; ++Index)
			{
				NumberText[Index - Begin] = static_cast<char>(Text[Index]);
			}
		}

		// Whether the value being added is the "id" of a message: of the root object or of an
		// object in a root array (a batch).
		bool IsMessageId() const
		{
			if (Frames.empty() || Frames.size() > 2 || !Frames.back().Object.IsValid() || Frames.back().Key != TEXT("id"))
			{
				return false;
			}
			return Frames.size() == 1 || !Frames.front().Object.IsValid();
		}

		bool Number(double Value, bool bHaveText)
		{
			TSharedPtr<FJsonValue> Node = MakeShared<FJsonValueNumber>(Value);
			if (Facts && IsMessageId())
			{
				if (!bHaveText)
				{
					ReadNumberText();
				}
				Facts->IdTexts.emplace(Node.Get(), NumberText);
			}
			return Add(std::move(Node));
		}

		bool Add(TSharedPtr<FJsonValue> Value)
		{
			if (Frames.empty())
			{
				Root = std::move(Value);
				return true;
			}
			FFrame& Top = Frames.back();
			if (Top.Object.IsValid())
			{
				const int32 Before = Top.Object->Values.Num();
				const TSharedPtr<FJsonValue>& Added = Top.Object->Values.Add(std::move(Top.Key), std::move(Value));
				// Adding a name the object already holds replaces that member: the count stays, and
				// the slot now has the name as written this time.
				if (Facts && Top.Object->Values.Num() == Before)
				{
					for (const auto& Field : Top.Object->Values)
					{
						if (&Field.Value == &Added)
						{
							Facts->RepeatedNames.emplace(Top.Object.Get(), Field.Key);
							break;
						}
					}
				}
			}
			else
			{
				Top.Elements.Add(std::move(Value));
			}
			return true;
		}

		const TBoundedInputStream<SourceCh>& Source;
		FJsonSourceFacts* Facts;
		std::vector<FFrame> Frames;
		TSharedPtr<FJsonValue> Root;
		std::string NumberText;
		bool bTooDeep = false;
		bool bNumberTooBig = false;
	};

	template<typename CharType>
	bool IsHexDigit(CharType C)
	{
		return (C >= '0' && C <= '9') || (C >= 'a' && C <= 'f') || (C >= 'A' && C <= 'F');
	}

	// The code unit of the \uXXXX escape whose backslash is at Text[At], if there is one.
	template<typename CharType>
	std::optional<char16_t> ReadUnicodeEscape(std::basic_string_view<CharType> Text, size_t At)
	{
		if (At + 6 > Text.size() || Text[At] != '\\' || Text[At + 1] != 'u')
		{
			return std::nullopt;
		}
		unsigned Unit = 0;
		for (size_t Index = At + 2; Index < At + 6; ++Index)
		{
			const CharType C = Text[Index];
			if (!IsHexDigit(C))
			{
				return std::nullopt;
			}
			const unsigned Digit = C <= '9' ? unsigned(C - '0') : (unsigned(C | 0x20) - 'a' + 10);
			Unit = Unit * 16 + Digit;
		}
		return static_cast<char16_t>(Unit);
	}

	bool IsHighSurrogate(char16_t C) { return C >= 0xD800 && C <= 0xDBFF; }
	bool IsLowSurrogate(char16_t C) { return C >= 0xDC00 && C <= 0xDFFF; }

	// Copies Text with each unpaired surrogate escape inside a string rewritten to the marker
	// (same length, so error offsets do not move) and records the original units in order.
	// Returns false when there is none.
	template<typename CharType>
	bool MarkLoneSurrogateEscapes(std::basic_string_view<CharType> Text, std::basic_string<CharType>& OutText, FLoneSurrogates& OutUnits)
	{
		OutText.assign(Text.data(), Text.size());
		bool bInString = false;
		for (size_t Index = 0; Index < Text.size();)
		{
			const CharType C = Text[Index];
			if (!bInString || C != '\\')
			{
				if (C == '"')
				{
					bInString = !bInString;
				}
				++Index;
				continue;
			}
			const std::optional<char16_t> Unit = ReadUnicodeEscape(Text, Index);
			if (!Unit)
			{
				// Any other escape is two characters; a bad one fails the parse anyway.
				Index += 2;
				continue;
			}
			if (IsHighSurrogate(*Unit))
			{
				const std::optional<char16_t> Next = ReadUnicodeEscape(Text, Index + 6);
				if (Next && IsLowSurrogate(*Next))
				{
					Index += 12;
					continue;
				}
			}
			if (IsHighSurrogate(*Unit) || IsLowSurrogate(*Unit))
			{
				OutText[Index + 2] = 'D';
				OutText[Index + 3] = 'F';
				OutText[Index + 4] = 'F';
				OutText[Index + 5] = 'F';
				OutUnits.Units.push_back(*Unit);
			}
			Index += 6;
		}
		return !OutUnits.Units.empty();
	}

	FString DescribeError(rapidjson::ParseErrorCode Code, size_t Offset, bool bTooDeep)
	{
		FString Problem;
		if (bTooDeep)
		{
			Problem = FString::Printf(TEXT("Nesting is deeper than %d levels"), MaxNestingDepth);
		}
		else
		{
			std::string Text = rapidjson::GetParseError_En(Code);
			while (!Text.empty() && Text.back() == '.')
			{
				Text.pop_back();
			}
			Problem = FString(Text.c_str());
		}
		return FString::Printf(TEXT("%s at offset %llu"), *Problem, static_cast<unsigned long long>(Offset));
	}

	constexpr unsigned ParseFlags = rapidjson::kParseIterativeFlag | rapidjson::kParseValidateEncodingFlag;

	enum class EParseOutcome
	{
		Parsed,
		Failed,
		LoneSurrogateEscape,
	};

	template<typename SourceEncoding>
	EParseOutcome ParseOnce(std::basic_string_view<typename SourceEncoding::Ch> Text, TSharedPtr<FJsonValue>& OutValue, FJsonSourceFacts* Facts, FString& OutError)
	{
		if (Facts)
		{
			*Facts = FJsonSourceFacts();
		}
		TBoundedInputStream<typename SourceEncoding::Ch> Stream(Text.data(), Text.size());
		TTreeBuilder<typename SourceEncoding::Ch> Builder(Stream, Facts);
		rapidjson::GenericReader<SourceEncoding, FTargetUtf16> Reader;
		const rapidjson::ParseResult Result = Reader.template Parse<ParseFlags>(Stream, Builder);
		if (Result.IsError())
		{
			if (Result.Code() == rapidjson::kParseErrorStringUnicodeSurrogateInvalid)
			{
				OutError = DescribeError(Result.Code(), Result.Offset(), false);
				return EParseOutcome::LoneSurrogateEscape;
			}
			const rapidjson::ParseErrorCode Code = Builder.IsNumberTooBig() ? rapidjson::kParseErrorNumberTooBig : Result.Code();
			OutError = DescribeError(Code, Result.Offset(), Builder.IsTooDeep());
			return EParseOutcome::Failed;
		}
		// The reader stops at a NUL as if the text ended there.
		if (!Stream.AtEnd())
		{
			OutError = DescribeError(rapidjson::kParseErrorDocumentRootNotSingular, Stream.Tell(), false);
			return EParseOutcome::Failed;
		}
		OutValue = std::move(Builder.GetRoot());
		return EParseOutcome::Parsed;
	}

	template<typename SourceEncoding>
	bool Parse(std::basic_string_view<typename SourceEncoding::Ch> Text, TSharedPtr<FJsonValue>& OutValue, FJsonSourceFacts* Facts, FString& OutError)
	{
		using FCh = typename SourceEncoding::Ch;
		const EParseOutcome Outcome = ParseOnce<SourceEncoding>(Text, OutValue, Facts, OutError);
		if (Outcome != EParseOutcome::LoneSurrogateEscape)
		{
			if (Outcome != EParseOutcome::Parsed && Facts)
			{
				// The facts name nodes of a tree that no longer exists.
				*Facts = FJsonSourceFacts();
			}
			return Outcome == EParseOutcome::Parsed;
		}
		std::basic_string<FCh> Marked;
		FLoneSurrogates Units;
		if (!MarkLoneSurrogateEscapes(Text, Marked, Units))
		{
			return false;
		}
		GActiveLoneSurrogates = &Units;
		const EParseOutcome Retry = ParseOnce<SourceEncoding>(std::basic_string_view<FCh>(Marked), OutValue, Facts, OutError);
		GActiveLoneSurrogates = nullptr;
		if (Retry != EParseOutcome::Parsed && Facts)
		{
			*Facts = FJsonSourceFacts();
		}
		return Retry == EParseOutcome::Parsed;
	}
}

namespace UE::Host::Json
{
	bool ParseUtf16(std::u16string_view Text, TSharedPtr<FJsonValue>& OutValue, FString& OutError)
	{
		return Parse<rapidjson::UTF16<char16_t>>(Text, OutValue, nullptr, OutError);
	}

	bool ParseUtf8(std::string_view Text, TSharedPtr<FJsonValue>& OutValue, FString& OutError)
	{
		return Parse<rapidjson::UTF8<char>>(Text, OutValue, nullptr, OutError);
	}

	bool ParseUtf8(std::string_view Text, TSharedPtr<FJsonValue>& OutValue, FJsonSourceFacts& OutFacts, FString& OutError)
	{
		return Parse<rapidjson::UTF8<char>>(Text, OutValue, &OutFacts, OutError);
	}
}
