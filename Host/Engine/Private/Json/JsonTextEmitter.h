// FJsonValue trees and single tokens to JSON text through a RapidJSON writer, into a UTF-16
// (FString) or UTF-8 (std::string) buffer.
#pragma once

#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Json/JsonValueAccess.h"

#include <rapidjson/prettywriter.h>
#include <rapidjson/writer.h>

#include <cmath>
#include <optional>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

namespace UE::Host::Json
{
	// Appends to a std::basic_string. With an indent, every new line starts with that many tabs
	// (a JSON string never holds a raw line feed, so each one is formatting).
	template<typename CharType>
	class TStringOutputStream
	{
	public:
		typedef CharType Ch;

		TStringOutputStream(std::basic_string<Ch>& InOut, int32 InIndentAfterNewline)
			: Out(&InOut)
			, IndentAfterNewline(InIndentAfterNewline)
		{
		}

		void Put(Ch C)
		{
			Out->push_back(C);
			if (IndentAfterNewline > 0 && C == Ch('\n'))
			{
				Out->append(static_cast<size_t>(IndentAfterNewline), Ch('\t'));
			}
		}

		void Flush() {}

		// Text already encoded for this stream and free of line feeds.
		void Append(const std::basic_string<Ch>& Text) { Out->append(Text); }

	private:
		std::basic_string<Ch>* Out;
		int32 IndentAfterNewline;
	};

	// RapidJSON's own PutUnsafe is declared after the encoders that call it, so a stream outside
	// its namespace needs one that argument-dependent lookup finds.
	template<typename CharType>
	void PutUnsafe(TStringOutputStream<CharType>& Stream, CharType C)
	{
		Stream.Put(C);
	}

	template<typename TargetEncoding, bool bPretty>
	class TJsonTextEmitter
	{
	public:
		using FCh = typename TargetEncoding::Ch;
		using FText = std::basic_string<FCh>;
		using FOutput = TStringOutputStream<FCh>;
		using FSourceEncoding = rapidjson::UTF16<char16_t>;
		using FWriter = std::conditional_t<bPretty,
			rapidjson::PrettyWriter<FOutput, FSourceEncoding, TargetEncoding>,
			rapidjson::Writer<FOutput, FSourceEncoding, TargetEncoding>>;

		explicit TJsonTextEmitter(FText& Out, int32 InitialIndent = 0)
			: Output(Out, bPretty ? InitialIndent : 0)
			, Writer(Output)
		{
			if constexpr (bPretty)
			{
				Writer.SetIndent('\t', 1);
			}
		}

		TJsonTextEmitter(const TJsonTextEmitter&) = delete;
		TJsonTextEmitter& operator=(const TJsonTextEmitter&) = delete;

		// Numbers to write as the given text instead of their value (ASCII number text).
		void SetRawNumbers(const std::unordered_map<const FJsonValue*, std::string>* InRawNumbers) { RawNumbers = InRawNumbers; }

		void Key(FStringView Name) { Text(Name, true); }
		void String(FStringView Value) { Text(Value, false); }
		void Bool(bool bValue) { Writer.Bool(bValue); }
		void Null() { Writer.Null(); }
		void Int64(int64 Value) { Writer.Int64(Value); }
		void UInt64(uint64 Value) { Writer.Uint64(Value); }
		void StartObject() { Writer.StartObject(); }
		void EndObject() { Writer.EndObject(); }
		void StartArray() { Writer.StartArray(); }
		void EndArray() { Writer.EndArray(); }

		// Integral values within +-2^53 without a fraction, others in shortest round-trip form;
		// JSON has no NaN or infinity, so those become null.
		void Number(double Value)
		{
			if (!std::isfinite(Value))
			{
				Writer.Null();
			}
			else if (std::fabs(Value) <= 9007199254740992.0 && std::trunc(Value) == Value)
			{
				Writer.Int64(static_cast<int64_t>(Value));
			}
			else
			{
				Writer.Double(Value);
			}
		}

		// UTF-16 output only (RapidJSON copies raw text unit by unit). Json holds no NUL.
		void Raw(const char16_t* Json, size_t Length)
		{
			static_assert(std::is_same_v<FCh, char16_t>, "Raw JSON text is copied without transcoding");
			Writer.RawValue(Json, Length, rapidjson::kObjectType);
		}

		void Tree(const FJsonValue* Root)
		{
			Enter(Root);
			Walk();
		}

		void ObjectTree(const FJsonObject& Object)
		{
			OpenObject(Object);
			Walk();
		}

		void ArrayTree(const TArray<TSharedPtr<FJsonValue>>& Array)
		{
			OpenArray(Array);
			Walk();
		}

	private:
		using FFieldIterator = decltype(std::declval<const TMap<FString, TSharedPtr<FJsonValue>>&>().begin());

		struct FFrame
		{
			const TArray<TSharedPtr<FJsonValue>>* Elements = nullptr;
			int32 Index = 0;
			std::optional<FFieldIterator> Field;
			std::optional<FFieldIterator> FieldEnd;
		};

		static bool IsHighSurrogate(char16_t C) { return C >= 0xD800 && C <= 0xDBFF; }
		static bool IsLowSurrogate(char16_t C) { return C >= 0xDC00 && C <= 0xDFFF; }
		static bool IsSurrogate(char16_t C) { return (C & 0xF800) == 0xD800; }

		// UTF-8 text is what the program writes to its streams, read line by line, also by script
		// engines that end a line at U+2028 and U+2029: those are escaped there.
		static constexpr bool bEscapeLineSeparators = std::is_same_v<FCh, char>;

		static bool IsEscapedByHand(char16_t C)
		{
			return IsSurrogate(C) || (bEscapeLineSeparators && (C == 0x2028 || C == 0x2029));
		}

		// Whether RapidJSON cannot write the text as it is: an unpaired surrogate, or a line
		// separator to escape.
		static bool NeedsEscapesByHand(const char16_t* Data, size_t Length)
		{
			for (size_t Index = 0; Index < Length; ++Index)
			{
				if (!IsEscapedByHand(Data[Index]))
				{
					continue;
				}
				if (!IsSurrogate(Data[Index]))
				{
					return true;
				}
				if (IsHighSurrogate(Data[Index]) && Index + 1 < Length && IsLowSurrogate(Data[Index + 1]))
				{
					++Index;
					continue;
				}
				return true;
			}
			return false;
		}

		void Text(FStringView Value, bool bKey)
		{
			static const char16_t Empty[] = {0};
			const char16_t* Data = Value.GetData() ? Value.GetData() : Empty;
			const rapidjson::SizeType Length = static_cast<rapidjson::SizeType>(Value.Len());
			if (!NeedsEscapesByHand(Data, Length))
			{
				if (bKey)
				{
					Writer.Key(Data, Length);
				}
				else
				{
					Writer.String(Data, Length);
				}
				return;
			}
			// RapidJSON cannot encode an unpaired surrogate, nor be told to escape a line separator,
			// so the well-formed runs are escaped by it and those units by hand. An empty raw value makes the writer put the separator
			// and indentation (in a key position as well as a value position); the string itself
			// goes straight to the output, already in the target encoding.
			FText Escaped;
			EscapeByHand(Data, Length, Escaped);
			Writer.RawValue(Empty, 0, rapidjson::kStringType);
			Output.Append(Escaped);
		}

		static void EscapeByHand(const char16_t* Data, size_t Length, FText& Out)
		{
			static const char HexDigits[] = "0123456789ABCDEF";
			FText Run;
			FOutput RunOutput(Run, 0);
			rapidjson::Writer<FOutput, FSourceEncoding, TargetEncoding> RunWriter(RunOutput);
			size_t RunStart = 0;
			auto FlushRun = [&](size_t RunEnd)
			{
				if (RunEnd == RunStart)
				{
					return;
				}
				Run.clear();
				RunWriter.Reset(RunOutput);
				RunWriter.String(Data + RunStart, static_cast<rapidjson::SizeType>(RunEnd - RunStart));
				Out.append(Run, 1, Run.size() - 2);
			};

			Out.push_back(FCh('"'));
			for (size_t Index = 0; Index < Length; ++Index)
			{
				const char16_t C = Data[Index];
				if (!IsEscapedByHand(C))
				{
					continue;
				}
				if (IsHighSurrogate(C) && Index + 1 < Length && IsLowSurrogate(Data[Index + 1]))
				{
					++Index;
					continue;
				}
				FlushRun(Index);
				const FCh Escape[] = {FCh('\\'), FCh('u'), FCh(HexDigits[(C >> 12) & 15]), FCh(HexDigits[(C >> 8) & 15]),
					FCh(HexDigits[(C >> 4) & 15]), FCh(HexDigits[C & 15])};
				Out.append(Escape, 6);
				RunStart = Index + 1;
			}
			FlushRun(Length);
			Out.push_back(FCh('"'));
		}

		// Writes a scalar, or opens a container whose children Walk writes.
		void Enter(const FJsonValue* Value)
		{
			if (!Value)
			{
				Writer.Null();
				return;
			}
			switch (Value->Type)
			{
			case EJson::String:
				if (const FString* Peeked = FValueAccess::PeekString(*Value))
				{
					String(FStringView(*Peeked));
				}
				else
				{
					FString Copy;
					Value->TryGetString(Copy);
					String(FStringView(Copy));
				}
				return;
			case EJson::Number:
			{
				if (RawNumbers)
				{
					const auto Raw = RawNumbers->find(Value);
					if (Raw != RawNumbers->end())
					{
						const std::u16string Units(Raw->second.begin(), Raw->second.end());
						Writer.RawValue(Units.data(), Units.size(), rapidjson::kNumberType);
						return;
					}
				}
				double Number = 0.0;
				Value->TryGetNumber(Number);
				this->Number(Number);
				return;
			}
			case EJson::Boolean:
			{
				bool bValue = false;
				Value->TryGetBool(bValue);
				Writer.Bool(bValue);
				return;
			}
			case EJson::Array:
			{
				const TArray<TSharedPtr<FJsonValue>>* Elements = nullptr;
				if (Value->TryGetArray(Elements))
				{
					OpenArray(*Elements);
					return;
				}
				break;
			}
			case EJson::Object:
			{
				const TSharedPtr<FJsonObject>* Object = nullptr;
				if (Value->TryGetObject(Object))
				{
					OpenObject(**Object);
					return;
				}
				break;
			}
			case EJson::None:
			case EJson::Null:
				break;
			}
			Writer.Null();
		}

		void OpenArray(const TArray<TSharedPtr<FJsonValue>>& Elements)
		{
			Writer.StartArray();
			FFrame& Frame = Frames.emplace_back();
			Frame.Elements = &Elements;
		}

		void OpenObject(const FJsonObject& Object)
		{
			Writer.StartObject();
			FFrame& Frame = Frames.emplace_back();
			Frame.Field.emplace(Object.Values.begin());
			Frame.FieldEnd.emplace(Object.Values.end());
		}

		// Depth lives in Frames, not on the call stack.
		void Walk()
		{
			while (!Frames.empty())
			{
				FFrame& Top = Frames.back();
				if (Top.Elements)
				{
					if (Top.Index == Top.Elements->Num())
					{
						Writer.EndArray();
						Frames.pop_back();
						continue;
					}
					Enter((*Top.Elements)[Top.Index++].Get());
				}
				else
				{
					if (*Top.Field == *Top.FieldEnd)
					{
						Writer.EndObject();
						Frames.pop_back();
						continue;
					}
					const auto& Field = **Top.Field;
					++*Top.Field;
					Key(FStringView(Field.Key));
					Enter(Field.Value.Get());
				}
			}
		}

		FOutput Output;
		FWriter Writer;
		const std::unordered_map<const FJsonValue*, std::string>* RawNumbers = nullptr;
		std::vector<FFrame> Frames;
	};
}
