#include "Dom/JsonObject.h"
#include "Host/JsonText.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
	using UE::Host::Json::ParseUtf8;
	using UE::Host::Json::ToUtf8;

	// Parses Text, expecting failure; returns the error message as UTF-8.
	std::string ParseError(std::string_view Text)
	{
		TSharedPtr<FJsonValue> Value;
		FString Error;
		EXPECT_FALSE(ParseUtf8(Text, Value, Error)) << "accepted: " << std::string(Text);
		EXPECT_FALSE(Value.IsValid());
		return UE::Host::StringToUtf8(Error);
	}

	TSharedPtr<FJsonValue> ParseOk(std::string_view Text)
	{
		TSharedPtr<FJsonValue> Value;
		FString Error;
		EXPECT_TRUE(ParseUtf8(Text, Value, Error)) << UE::Host::StringToUtf8(Error);
		return Value;
	}
}

TEST(JsonText, Utf8RoundTripsThroughTheObjectModel)
{
	const std::string Text = "{\"name\":\"caf\xC3\xA9 \xE4\xB8\xAD\",\"emoji\":\"\xF0\x9F\x98\x80\",\"list\":[1,2.5,true,null],\"nested\":{\"k\":\"v\"}}";
	const TSharedPtr<FJsonValue> Value = ParseOk(Text);
	ASSERT_TRUE(Value.IsValid());
	const TSharedPtr<FJsonObject>& Object = Value->AsObject();
	// A character outside the BMP is a surrogate pair in the FString.
	EXPECT_EQ(Object->GetStringField(TEXT("emoji")).GetStdString(), (std::u16string{0xD83D, 0xDE00}));
	EXPECT_EQ(Object->GetStringField(TEXT("name")).Len(), 6);
	// Non-ASCII text goes out as UTF-8, not as escapes.
	EXPECT_EQ(ToUtf8(Value), Text);
	EXPECT_EQ(ToUtf8(Object.ToSharedRef()), Text);
}

TEST(JsonText, EscapedInputIsWrittenAsPlainUtf8)
{
	const TSharedPtr<FJsonValue> Value = ParseOk("[\"\\ud83d\\ude00\", \"\\u00e9\\t\\/\"]");
	ASSERT_TRUE(Value.IsValid());
	EXPECT_EQ(ToUtf8(Value), "[\"\xF0\x9F\x98\x80\",\"\xC3\xA9\\t/\"]");
}

TEST(JsonText, InvalidUtf8IsRefused)
{
	EXPECT_NE(ParseError("\"\xC3\x28\"").find("offset 1"), std::string::npos);
	ParseError("\"\xC0\xAF\"");
	ParseError("\"\xED\xA0\x80\"");
	ParseError("\"\xF4\x90\x80\x80\"");
	ParseError("\"\xF8\x88\x80\x80\x80\"");
	ParseError("\"\xE2\x82\"");
	ParseError("\"\x80\"");
	ParseError("[1]\xFF");
}

TEST(JsonText, WholeInputMustBeOneValue)
{
	EXPECT_TRUE(ParseOk(" \t\r\n[1] \n").IsValid());
	EXPECT_NE(ParseError("[1] [2]").find("offset 4"), std::string::npos);
	EXPECT_NE(ParseError("{\"a\":1}}").find("offset 7"), std::string::npos);
	EXPECT_NE(ParseError(std::string_view("[1]\0[2]", 7)).find("offset 3"), std::string::npos);
	ParseError("");
	// A byte order mark is not white space.
	ParseError("\xEF\xBB\xBF[1]");
	ParseError("\"line\nbreak\"");
	ParseError("[1,2");

	TSharedPtr<FJsonValue> Kept = MakeShared<FJsonValueNumber>(7.0);
	FString Error;
	EXPECT_FALSE(ParseUtf8("nul", Kept, Error));
	EXPECT_EQ(Kept->AsNumber(), 7.0);
}

TEST(JsonText, DeepNestingIsAnErrorNotACrash)
{
	EXPECT_NE(ParseError(std::string(100000, '[')).find("deeper than 512"), std::string::npos);
	std::string Objects;
	for (int32 Level = 0; Level < 100000; ++Level)
	{
		Objects += "{\"a\":";
	}
	EXPECT_NE(ParseError(Objects).find("deeper than 512"), std::string::npos);
	EXPECT_TRUE(ParseOk(std::string(512, '[') + std::string(512, ']')).IsValid());
}

TEST(JsonText, UnpairedSurrogatesSurviveAUtf8RoundTrip)
{
	const TSharedPtr<FJsonValue> Value = ParseOk("{\"\\udc00k\":\"a\\ud800\"}");
	ASSERT_TRUE(Value.IsValid());
	const std::string Written = ToUtf8(Value);
	EXPECT_EQ(Written, "{\"\\uDC00k\":\"a\\uD800\"}");

	const TSharedPtr<FJsonValue> Reread = ParseOk(Written);
	ASSERT_TRUE(Reread.IsValid());
	EXPECT_TRUE(FJsonValue::CompareEqual(*Value, *Reread));
	for (const auto& Field : Reread->AsObject()->Values)
	{
		EXPECT_EQ(Field.Key.GetStdString(), (std::u16string{0xDC00, u'k'}));
		EXPECT_EQ(Field.Value->AsString().GetStdString(), (std::u16string{u'a', 0xD800}));
	}
}

TEST(JsonText, WritingFormats)
{
	const TSharedPtr<FJsonValue> Value = ParseOk("{\"a\":[],\"b\":{\"c\":-0}}");
	ASSERT_TRUE(Value.IsValid());
	EXPECT_EQ(ToUtf8(Value, true), "{\n\t\"a\": [],\n\t\"b\": {\n\t\t\"c\": 0\n\t}\n}");
	EXPECT_EQ(ToUtf8(TSharedPtr<FJsonValue>()), "null");

	std::string Buffer = "prefix:";
	UE::Host::Json::AppendUtf8(Buffer, Value.Get());
	EXPECT_EQ(Buffer, "prefix:{\"a\":[],\"b\":{\"c\":0}}");
}
