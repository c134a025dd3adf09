#include "ActionTestUtils.h"

#include "Dom/JsonValue.h"
#include "Host/JsonText.h"
#include "OrvexToolRegistry.h"

#include <gtest/gtest.h>

TSharedPtr<FJsonObject> ParseObject(const std::string& Json)
{
	if (Json.empty())
	{
		return MakeShared<FJsonObject>();
	}
	TSharedPtr<FJsonValue> Value;
	FString Error;
	const bool bParsed = UE::Host::Json::ParseUtf8(Json, Value, Error);
	EXPECT_TRUE(bParsed) << UE::Host::StringToUtf8(Error) << " in " << Json;
	if (!bParsed || Value->Type != EJson::Object)
	{
		ADD_FAILURE() << "not a JSON object: " << Json;
		return MakeShared<FJsonObject>();
	}
	return Value->AsObject();
}

FOrvexActionResult CallAction(const TCHAR* Namespace, const TCHAR* Action, const std::string& ParamsJson)
{
	return FOrvexToolRegistry::Get().ExecuteAction(Namespace, Action, ParseObject(ParamsJson));
}

std::string ToJson(const TSharedPtr<FJsonObject>& Object)
{
	return Object.IsValid() ? UE::Host::Json::ToUtf8(Object.ToSharedRef()) : std::string("null");
}

TArray<FString> FieldNames(const TSharedPtr<FJsonObject>& Object)
{
	TArray<FString> Names;
	if (Object.IsValid())
	{
		for (const auto& Pair : Object->Values)
		{
			Names.Add(Pair.Key);
		}
	}
	return Names;
}

std::string ObjectLines(const TSharedPtr<FJsonObject>& Object, const TCHAR* ArrayField)
{
	std::string Out;
	for (const TSharedPtr<FJsonValue>& Element : Object->GetArrayField(ArrayField))
	{
		Out += ToJson(Element->AsObject()) + "\n";
	}
	return Out;
}
