#include "Dom/JsonObject.h"
#include "Policies/CondensedJsonPrintPolicy.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"
#include "Serialization/JsonWriter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

namespace
{
	using FCondensedFactory = TJsonWriterFactory<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>;

	std::u16string Std(const FString& String)
	{
		return String.GetStdString();
	}

	class FQuietJsonLog
	{
	public:
		FQuietJsonLog() : Previous(LogJson.GetVerbosity()) { LogJson.SetVerbosity(ELogVerbosity::NoLogging); }
		~FQuietJsonLog() { LogJson.SetVerbosity(Previous); }

	private:
		ELogVerbosity::Type Previous;
	};

	std::u16string Condensed(const TSharedRef<FJsonObject>& Object)
	{
		FString Out;
		EXPECT_TRUE(FJsonSerializer::Serialize(Object, FCondensedFactory::Create(&Out)));
		return Std(Out);
	}

	std::u16string Condensed(const TSharedPtr<FJsonValue>& Value)
	{
		FString Out;
		EXPECT_TRUE(FJsonSerializer::Serialize(Value, FString(), FCondensedFactory::Create(&Out)));
		return Std(Out);
	}

	// Parses Text; on failure the returned value is null and Error holds the reader's message.
	TSharedPtr<FJsonValue> Parse(const FString& Text, FString* Error = nullptr)
	{
		const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::Create(Text);
		TSharedPtr<FJsonValue> Value;
		if (!FJsonSerializer::Deserialize(Reader, Value))
		{
			EXPECT_FALSE(Reader->GetErrorMessage().IsEmpty());
			if (Error)
			{
				*Error = Reader->GetErrorMessage();
			}
			return TSharedPtr<FJsonValue>();
		}
		return Value;
	}

	bool IsWellFormedUtf16(const std::u16string& Text)
	{
		for (size_t Index = 0; Index < Text.size(); ++Index)
		{
			const char16_t Unit = Text[Index];
			if (Unit >= 0xD800 && Unit <= 0xDBFF && Index + 1 < Text.size() && Text[Index + 1] >= 0xDC00 && Text[Index + 1] <= 0xDFFF)
			{
				++Index;
			}
			else if (Unit >= 0xD800 && Unit <= 0xDFFF)
			{
				return false;
			}
		}
		return true;
	}

	FString Nested(int32 Depth, const TCHAR* Open, const TCHAR* Inner, const TCHAR* Close)
	{
		FString Text;
		for (int32 Level = 0; Level < Depth; ++Level)
		{
			Text += Open;
		}
		Text += Inner;
		for (int32 Level = 0; Level < Depth; ++Level)
		{
			Text += Close;
		}
		return Text;
	}
}

TEST(JsonSerializer, ObjectsRoundTripInInsertionOrder)
{
	const FString Text(TEXT(" { \"zeta\": 1, \"alpha\": [true, false, null], \"Mid\": {\"x\": \"y\"} } "));
	TSharedPtr<FJsonObject> Object;
	ASSERT_TRUE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Object));
	EXPECT_EQ(Condensed(Object.ToSharedRef()), u"{\"zeta\":1,\"alpha\":[true,false,null],\"Mid\":{\"x\":\"y\"}}");

	Object->SetStringField(TEXT("ALPHA"), TEXT("replaced"));
	Object->SetNumberField(TEXT("last"), 2);
	EXPECT_EQ(Condensed(Object.ToSharedRef()), u"{\"zeta\":1,\"ALPHA\":\"replaced\",\"Mid\":{\"x\":\"y\"},\"last\":2}");
}

TEST(JsonSerializer, RepeatedKeysKeepTheFirstPositionAndTheLastValue)
{
	const TSharedPtr<FJsonValue> Value = Parse(FString(TEXT("{\"a\":1,\"b\":2,\"A\":3}")));
	ASSERT_TRUE(Value.IsValid());
	EXPECT_EQ(Condensed(Value), u"{\"A\":3,\"b\":2}");
}

TEST(JsonSerializer, NumbersAreDoublesWrittenInShortestForm)
{
	const TSharedPtr<FJsonValue> Value = Parse(FString(TEXT("[4, 4.0, -0.5, 1e2, 12345678901234567890, 0.1, 9007199254740993, 1e300, 5e-324]")));
	ASSERT_TRUE(Value.IsValid());
	const TArray<TSharedPtr<FJsonValue>>& Numbers = Value->AsArray();
	ASSERT_EQ(Numbers.Num(), 9);
	for (const TSharedPtr<FJsonValue>& Number : Numbers)
	{
		EXPECT_EQ(Number->Type, EJson::Number);
	}
	EXPECT_EQ(Numbers[4]->AsNumber(), 12345678901234567890.0);
	EXPECT_EQ(Numbers[5]->AsNumber(), 0.1);
	EXPECT_EQ(Numbers[8]->AsNumber(), 5e-324);
	EXPECT_EQ(Condensed(Value), u"[4,4,-0.5,100,12345678901234568000.0,0.1,9007199254740992,1e300,5e-324]");

	// Whatever form is chosen must read back as the same double.
	const double Samples[] = {1.0 / 3.0, 2.2250738585072014e-308, std::numeric_limits<double>::max(), 9007199254740994.0, -123456.789e-3};
	for (const double Sample : Samples)
	{
		const TSharedPtr<FJsonValue> Reread = Parse(FString(Condensed(MakeShared<FJsonValueNumber>(Sample))));
		ASSERT_TRUE(Reread.IsValid());
		EXPECT_EQ(Reread->AsNumber(), Sample);
	}
}

TEST(JsonSerializer, ZeroSignificandsTinyAndHugeNumbers)
{
	// A zero with any exponent is zero, keeping its sign; below the smallest double is a signed zero.
	const TSharedPtr<FJsonValue> Value = Parse(FString(TEXT("[0e99, -0e99, 0.000e-999999999999, 0E+300, 1e-400, -1e-400, 0.000001e-320, 1.7976931348623157e308, 100000e-5]")));
	ASSERT_TRUE(Value.IsValid());
	const TArray<TSharedPtr<FJsonValue>>& Numbers = Value->AsArray();
	ASSERT_EQ(Numbers.Num(), 9);
	const double Expected[] = {0.0, -0.0, 0.0, 0.0, 0.0, -0.0, 0.0, 1.7976931348623157e308, 1.0};
	for (int32 Index = 0; Index < Numbers.Num(); ++Index)
	{
		EXPECT_EQ(Numbers[Index]->AsNumber(), Expected[Index]) << Index;
		EXPECT_EQ(std::signbit(Numbers[Index]->AsNumber()), std::signbit(Expected[Index])) << Index;
	}

	// Above the largest double is refused, at the number's offset, whichever way it is too big.
	for (const TCHAR* Text : {TEXT("[1, 1.8e308]"), TEXT("[1, 0.00001e314]"), TEXT("[1, -99999999999999999999e300]")})
	{
		FString Error;
		EXPECT_FALSE(Parse(FString(Text), &Error).IsValid()) << UE::Host::StringToUtf8(Text);
		EXPECT_EQ(Error, TEXT("Number too big to be stored in double at offset 4")) << UE::Host::StringToUtf8(Text);
	}
}

TEST(JsonSerializer, NonFiniteNumbersAreWrittenAsNull)
{
	const TSharedRef<FJsonObject> Object = MakeShared<FJsonObject>();
	Object->SetNumberField(TEXT("nan"), std::nan(""));
	Object->SetNumberField(TEXT("inf"), -std::numeric_limits<double>::infinity());
	EXPECT_EQ(Condensed(Object), u"{\"nan\":null,\"inf\":null}");
}

TEST(JsonSerializer, PrettyPrintingIndentsWithTabs)
{
	TSharedPtr<FJsonObject> Object;
	ASSERT_TRUE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(FString(TEXT("{\"a\":1,\"b\":[1,{}],\"c\":[]}"))), Object));

	FString Out;
	ASSERT_TRUE(FJsonSerializer::Serialize(Object.ToSharedRef(), TJsonWriterFactory<>::Create(&Out)));
	EXPECT_EQ(Std(Out), u"{\n\t\"a\": 1,\n\t\"b\": [\n\t\t1,\n\t\t{}\n\t],\n\t\"c\": []\n}");

	FString Indented;
	ASSERT_TRUE(FJsonSerializer::Serialize(Object.ToSharedRef(), TJsonWriterFactory<>::Create(&Indented, 1)));
	EXPECT_EQ(Std(Indented), u"{\n\t\t\"a\": 1,\n\t\t\"b\": [\n\t\t\t1,\n\t\t\t{}\n\t\t],\n\t\t\"c\": []\n\t}");
}

TEST(JsonSerializer, MalformedTextIsRefusedWithTheOffset)
{
	FString Error;
	EXPECT_FALSE(Parse(FString(TEXT("{} x")), &Error).IsValid());
	EXPECT_TRUE(Error.Contains(TEXT("offset 3"))) << UE::Host::StringToUtf8(Error);
	EXPECT_FALSE(Parse(FString(TEXT("[1,]")), &Error).IsValid());
	EXPECT_TRUE(Error.Contains(TEXT("offset 3"))) << UE::Host::StringToUtf8(Error);
	EXPECT_FALSE(Parse(FString(TEXT("{\"a\" 1}")), &Error).IsValid());
	EXPECT_TRUE(Error.Contains(TEXT("colon"))) << UE::Host::StringToUtf8(Error);
	EXPECT_FALSE(Parse(FString(TEXT("\"open")), &Error).IsValid());
	EXPECT_FALSE(Parse(FString(TEXT("   ")), &Error).IsValid());
	EXPECT_FALSE(Parse(FString(TEXT("[1e400]")), &Error).IsValid());
	EXPECT_FALSE(Parse(FString(TEXT("{'a':1}")), &Error).IsValid());
	EXPECT_FALSE(Parse(FString(TEXT("[NaN]")), &Error).IsValid());

	// A NUL is a character, not the end of the text.
	std::u16string WithNul(u"{}");
	WithNul.push_back(u'\0');
	WithNul += u"{}";
	EXPECT_FALSE(Parse(FString(WithNul), &Error).IsValid());
	EXPECT_TRUE(Error.Contains(TEXT("offset 2"))) << UE::Host::StringToUtf8(Error);
}

TEST(JsonSerializer, NestingIsLimitedTo512Levels)
{
	EXPECT_TRUE(Parse(Nested(512, TEXT("["), TEXT("1"), TEXT("]"))).IsValid());
	EXPECT_TRUE(Parse(Nested(511, TEXT("{\"a\":"), TEXT("[]"), TEXT("}"))).IsValid());

	FString Error;
	EXPECT_FALSE(Parse(Nested(513, TEXT("["), TEXT(""), TEXT("]")), &Error).IsValid());
	EXPECT_TRUE(Error.Contains(TEXT("deeper than 512"))) << UE::Host::StringToUtf8(Error);

	// Unclosed nesting far past the limit fails cleanly rather than exhausting the stack.
	EXPECT_FALSE(Parse(Nested(100000, TEXT("["), TEXT(""), TEXT("")), &Error).IsValid());
	EXPECT_TRUE(Error.Contains(TEXT("deeper than 512")));
	EXPECT_FALSE(Parse(Nested(100000, TEXT("{\"k\":"), TEXT("0"), TEXT("}")), &Error).IsValid());
	EXPECT_TRUE(Error.Contains(TEXT("deeper than 512")));
}

TEST(JsonSerializer, DeserializeChecksTheRootType)
{
	const FString ArrayText(TEXT("[1, \"two\"]"));
	TSharedPtr<FJsonObject> Object;
	const TSharedRef<TJsonReader<>> Reader = TJsonReaderFactory<>::Create(ArrayText);
	EXPECT_FALSE(FJsonSerializer::Deserialize(Reader, Object));
	EXPECT_FALSE(Object.IsValid());
	EXPECT_FALSE(Reader->GetErrorMessage().IsEmpty());

	TArray<TSharedPtr<FJsonValue>> Elements;
	ASSERT_TRUE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(ArrayText), Elements));
	ASSERT_EQ(Elements.Num(), 2);
	EXPECT_EQ(Std(Elements[1]->AsString()), u"two");
	EXPECT_FALSE(FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(FString(TEXT("{}"))), Elements));

	FString Out;
	ASSERT_TRUE(FJsonSerializer::Serialize(Elements, FCondensedFactory::Create(&Out)));
	EXPECT_EQ(Std(Out), u"[1,\"two\"]");
}

TEST(JsonSerializer, UnpairedSurrogatesAreEscapedAndReadBack)
{
	const std::u16string Cases[] = {
		std::u16string(1, char16_t(0xD800)),
		std::u16string(u"a") + char16_t(0xDC00) + u"b",
		std::u16string(u"\"quoted\"") + char16_t(0xDBFF),
		std::u16string(1, char16_t(0xDFFF)) + char16_t(0xD800),
		std::u16string(1, char16_t(0xD83D)) + char16_t(0xDE00) + char16_t(0xDE00),
	};
	for (const std::u16string& Case : Cases)
	{
		const TSharedRef<FJsonObject> Object = MakeShared<FJsonObject>();
		Object->SetStringField(FString(Case), FString(Case));
		const std::u16string Text = Condensed(Object);
		EXPECT_TRUE(IsWellFormedUtf16(Text));

		FString Error;
		const TSharedPtr<FJsonValue> Reread = Parse(FString(Text), &Error);
		ASSERT_TRUE(Reread.IsValid()) << UE::Host::StringToUtf8(Error);
		const TSharedPtr<FJsonObject>& Fields = Reread->AsObject();
		ASSERT_EQ(Fields->Values.Num(), 1);
		for (const auto& Field : Fields->Values)
		{
			EXPECT_EQ(Std(Field.Key), Case);
			EXPECT_EQ(Std(Field.Value->AsString()), Case);
		}
	}
	EXPECT_EQ(Condensed(MakeShared<FJsonValueString>(FString(std::u16string(u"x\n") + char16_t(0xD800)))), u"\"x\\n\\uD800\"");
}

TEST(JsonSerializer, SurrogateEscapesAreReadExactly)
{
	const TSharedPtr<FJsonValue> Value = Parse(FString(TEXT("[\"\\uD83D\\uDE00\", \"\\uDE00x\", \"\\uD83Dx\", \"\\uD83D\\u0041\", \"\\\\uD800\"]")));
	ASSERT_TRUE(Value.IsValid());
	const TArray<TSharedPtr<FJsonValue>>& Strings = Value->AsArray();
	EXPECT_EQ(Std(Strings[0]->AsString()), (std::u16string{0xD83D, 0xDE00}));
	EXPECT_EQ(Std(Strings[1]->AsString()), (std::u16string{0xDE00, u'x'}));
	EXPECT_EQ(Std(Strings[2]->AsString()), (std::u16string{0xD83D, u'x'}));
	EXPECT_EQ(Std(Strings[3]->AsString()), (std::u16string{0xD83D, u'A'}));
	// An escaped backslash followed by text is not an escape.
	EXPECT_EQ(Std(Strings[4]->AsString()), u"\\uD800");

	FString Error;
	EXPECT_FALSE(Parse(FString(TEXT("[\"\\uD800\", \"\\uZZZZ\"]")), &Error).IsValid());
	EXPECT_TRUE(Error.Contains(TEXT("offset 12"))) << UE::Host::StringToUtf8(Error);
	// Raw surrogates in the text itself are malformed UTF-16.
	EXPECT_FALSE(Parse(FString(std::u16string(u"\"") + char16_t(0xD800) + u"\"")).IsValid());
}

TEST(JsonSerializer, StringsKeepEveryCharacter)
{
	const std::u16string Text = std::u16string(u"tab\t nul") + u'\0' + u" quote\" slash\\ \u00e9\u4e2d" + char16_t(0xD83D) + char16_t(0xDE00);
	const TSharedPtr<FJsonValue> Value = MakeShared<FJsonValueString>(FString(Text));
	const std::u16string Written = Condensed(Value);
	EXPECT_NE(Written.find(u"\\u0000"), std::u16string::npos);
	const TSharedPtr<FJsonValue> Reread = Parse(FString(Written));
	ASSERT_TRUE(Reread.IsValid());
	EXPECT_EQ(Std(Reread->AsString()), Text);
}

TEST(JsonSerializer, WriterTokensProduceTheExpectedText)
{
	FString Out;
	const TSharedRef<TJsonWriter<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>> Writer = FCondensedFactory::Create(&Out);
	Writer->WriteObjectStart();
	Writer->WriteValue(TEXT("name"), TEXT("Kestrow"));
	Writer->WriteValue(TEXT("count"), 3);
	Writer->WriteValue(TEXT("big"), static_cast<uint64>(18446744073709551615ull));
	Writer->WriteValue(TEXT("ratio"), 0.5);
	Writer->WriteArrayStart(TEXT("list"));
	Writer->WriteValue(true);
	Writer->WriteNull();
	Writer->WriteValue(FString(TEXT("s")));
	Writer->WriteArrayEnd();
	Writer->WriteIdentifierPrefix(TEXT("raw"));
	Writer->WriteRawJSONValue(TEXT("{\"pre\":[1]}"));
	TArray<FString> Names;
	Names.Add(FString(TEXT("a")));
	Writer->WriteValue(TEXT("names"), Names);
	Writer->WriteObjectEnd();
	EXPECT_TRUE(Writer->Close());
	EXPECT_EQ(Std(Out), u"{\"name\":\"Kestrow\",\"count\":3,\"big\":18446744073709551615,\"ratio\":0.5,\"list\":[true,null,\"s\"],\"raw\":{\"pre\":[1]},\"names\":[\"a\"]}");
}

TEST(JsonSerializer, WriterRefusesCallsOutOfPlace)
{
	const FQuietJsonLog Quiet;
	{
		FString Out;
		const auto Writer = FCondensedFactory::Create(&Out);
		Writer->WriteObjectStart();
		Writer->WriteValue(1);
		Writer->WriteArrayEnd();
		Writer->WriteObjectEnd();
		EXPECT_FALSE(Writer->Close());
		EXPECT_EQ(Std(Out), u"{}");
	}
	{
		FString Out;
		const auto Writer = FCondensedFactory::Create(&Out);
		Writer->WriteValue(1);
		Writer->WriteValue(2);
		EXPECT_FALSE(Writer->Close());
		EXPECT_EQ(Std(Out), u"1");
	}
	{
		FString Out;
		const auto Writer = FCondensedFactory::Create(&Out);
		Writer->WriteArrayStart();
		Writer->WriteValue(TEXT("named"), 1);
		Writer->WriteRawJSONValue(TEXT(""));
		EXPECT_FALSE(Writer->Close());
	}
	{
		const auto Writer = FCondensedFactory::Create(nullptr);
		Writer->WriteObjectStart();
		EXPECT_FALSE(Writer->Close());
	}
	{
		FString Out;
		const auto Writer = FCondensedFactory::Create(&Out);
		Writer->WriteArrayStart();
		EXPECT_FALSE(Writer->Close());
		EXPECT_FALSE(FJsonSerializer::Serialize(TSharedPtr<FJsonValue>(), FString(), FCondensedFactory::Create(&Out)));
	}
}
