// Strict reading at the program's edges: the facts the parser notes beside the tree, and how the
// edge writer spells what script readers would misread.
#include "Dom/JsonObject.h"
#include "Host/JsonText.h"
#include "Policies/CondensedJsonPrintPolicy.h"
#include "Serialization/JsonSerializer.h"

#include <gtest/gtest.h>

#include <string>

namespace
{
	using UE::Host::Json::FJsonSourceFacts;
	using UE::Host::Json::FJsonStrictProblem;

	TSharedPtr<FJsonValue> Parse(const std::string& Text, FJsonSourceFacts& Facts)
	{
		TSharedPtr<FJsonValue> Value;
		FString Error;
		EXPECT_TRUE(UE::Host::Json::ParseUtf8(Text, Value, Facts, Error)) << UE::Host::StringToUtf8(Error);
		return Value;
	}

	std::string Where(const FJsonStrictProblem& Problem)
	{
		return UE::Host::StringToUtf8(Problem.Where);
	}
}

TEST(JsonSourceFacts, RepeatedNamesAreNotedPerObjectIgnoringCaseWhileTheTreeKeepsTheLast)
{
	FJsonSourceFacts Facts;
	const TSharedPtr<FJsonValue> Value = Parse(R"({"a":{"k":1,"K":2,"k":3},"b":[{"x":1},{"y":1,"y":2}],"c":{"k":1}})", Facts);
	ASSERT_EQ(Facts.RepeatedNames.size(), 2u);
	const TSharedPtr<FJsonObject> A = Value->AsObject()->GetObjectField(TEXT("a"));
	EXPECT_EQ(A->Values.Num(), 1);
	EXPECT_EQ(A->GetNumberField(TEXT("k")), 3.0);
	EXPECT_EQ(UE::Host::StringToUtf8(Facts.RepeatedNames.at(A.Get())), "K");
	EXPECT_EQ(Facts.RepeatedNames.count(Value->AsObject()->GetObjectField(TEXT("c")).Get()), 0u);

	// The walk reports the first in document order, and the plain parse notes nothing at all.
	EXPECT_EQ(Where(UE::Host::Json::FindStrictProblem(Value->AsObject()->TryGetField(TEXT("b")), &Facts, TEXT("b"))), "y");
	EXPECT_EQ(UE::Host::Json::FindStrictProblem(Value, nullptr, FString()).Kind, FJsonStrictProblem::EKind::None);
}

TEST(JsonSourceFacts, OnlyMessageIdsKeepTheirText)
{
	FJsonSourceFacts Facts;
	const TSharedPtr<FJsonValue> Single = Parse(R"({"id":18446744073709551615,"params":{"id":9007199254740993,"n":1.50}})", Facts);
	ASSERT_EQ(Facts.IdTexts.size(), 1u);
	EXPECT_EQ(Facts.IdTexts.at(Single->AsObject()->TryGetField(TEXT("id")).Get()), "18446744073709551615");
	EXPECT_EQ(UE::Host::Json::ToUtf8(Single, Facts.IdTexts), R"({"id":18446744073709551615,"params":{"id":9007199254740992,"n":1.5}})");

	const TSharedPtr<FJsonValue> Batch = Parse(R"([{"ID":-0},[{"id":2}],{"id":"7"}])", Facts);
	ASSERT_EQ(Facts.IdTexts.size(), 1u);
	EXPECT_EQ(Facts.IdTexts.begin()->second, "-0");
	EXPECT_EQ(UE::Host::Json::ToUtf8(Batch, Facts.IdTexts), R"([{"ID":-0},[{"id":2}],{"id":"7"}])");
}

TEST(JsonSourceFacts, UPlus0000IsFoundInStringsAndNamesWithItsPath)
{
	FJsonSourceFacts Facts;
	const TSharedPtr<FJsonValue> InValue = Parse(R"({"ok":"a","list":[1,{"deep":["x","y\u0000"]}]})", Facts);
	const FJsonStrictProblem Found = UE::Host::Json::FindStrictProblem(InValue, &Facts, FString());
	EXPECT_EQ(Found.Kind, FJsonStrictProblem::EKind::NulCharacter);
	EXPECT_EQ(Where(Found), "list[1].deep[1]");
	const TSharedPtr<FJsonValue> InName = Parse(R"({"outer":{"na\u0000me":true}})", Facts);
	EXPECT_EQ(Where(UE::Host::Json::FindStrictProblem(InName, &Facts, TEXT("params"))), "params.outer.na\\u0000me");
	EXPECT_EQ(UE::Host::Json::FindStrictProblem(Parse(R"({"a":"\u0001","b":["\u2028"]})", Facts), &Facts, FString()).Kind, FJsonStrictProblem::EKind::None);
}

TEST(JsonSourceFacts, LineSeparatorsAreEscapedInUtf8OutputOnly)
{
	FJsonSourceFacts Facts;
	const TSharedPtr<FJsonValue> Value = Parse("{\"k\xE2\x80\xA8\":\"a\xE2\x80\xA9 b \\ud800 \xC3\xA9\"}", Facts);
	EXPECT_EQ(UE::Host::Json::ToUtf8(Value), "{\"k\\u2028\":\"a\\u2029 b \\uD800 \xC3\xA9\"}");
	EXPECT_EQ(UE::Host::Json::ToUtf8(Value, true).find("\xE2\x80"), std::string::npos);
	// The engine's own writer, into an FString, keeps them as they are.
	FString Out;
	FJsonSerializer::Serialize(Value->AsObject().ToSharedRef(), TJsonWriterFactory<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>::Create(&Out));
	EXPECT_NE(Out.GetStdString().find(u'\u2028'), std::u16string::npos);
}
