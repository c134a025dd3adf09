// Module Json: the object model as the engine declares it. Getters take FStringView, setters an
// FString name.
#include "ConformanceSupport.h"

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Serialization/JsonTypes.h"

#include <gtest/gtest.h>

namespace JsonConformance
{
	using FValues = TArray<TSharedPtr<FJsonValue>>;

	static_assert(!std::is_convertible_v<EJson, int>, "EJson is an enum class");
	static_assert(static_cast<int>(EJson::None) == 0 && static_cast<int>(EJson::Null) == 1 && static_cast<int>(EJson::String) == 2
		&& static_cast<int>(EJson::Number) == 3 && static_cast<int>(EJson::Boolean) == 4 && static_cast<int>(EJson::Array) == 5
		&& static_cast<int>(EJson::Object) == 6);

	static_assert(std::is_same_v<decltype(&FJsonObject::Values), TMap<FString, TSharedPtr<FJsonValue>> FJsonObject::*>);
	CHECK_ENGINE_OVERLOAD(FJsonObject::TryGetField, TSharedPtr<FJsonValue> (FJsonObject::*)(FStringView) const);
	CHECK_ENGINE_OVERLOAD(FJsonObject::HasField, bool (FJsonObject::*)(FStringView) const);
	CHECK_ENGINE_OVERLOAD(FJsonObject::GetStringField, FString (FJsonObject::*)(FStringView) const);
	CHECK_ENGINE_OVERLOAD(FJsonObject::GetNumberField, double (FJsonObject::*)(FStringView) const);
	CHECK_ENGINE_OVERLOAD(FJsonObject::GetBoolField, bool (FJsonObject::*)(FStringView) const);
	CHECK_ENGINE_OVERLOAD(FJsonObject::GetArrayField, const FValues& (FJsonObject::*)(FStringView) const);
	CHECK_ENGINE_OVERLOAD(FJsonObject::TryGetStringField, bool (FJsonObject::*)(FStringView, FString&) const);
	CHECK_ENGINE_OVERLOAD(FJsonObject::TryGetBoolField, bool (FJsonObject::*)(FStringView, bool&) const);
	CHECK_ENGINE_OVERLOAD(FJsonObject::TryGetObjectField, bool (FJsonObject::*)(FStringView, const TSharedPtr<FJsonObject>*&) const);

	CHECK_ENGINE_OVERLOAD(FJsonObject::SetField, void (FJsonObject::*)(const FString&, const TSharedPtr<FJsonValue>&));
	CHECK_ENGINE_OVERLOAD(FJsonObject::SetField, void (FJsonObject::*)(FString&&, const TSharedPtr<FJsonValue>&));
	CHECK_ENGINE_OVERLOAD(FJsonObject::SetNumberField, void (FJsonObject::*)(const FString&, double));
	CHECK_ENGINE_OVERLOAD(FJsonObject::SetBoolField, void (FJsonObject::*)(const FString&, bool));
	CHECK_ENGINE_OVERLOAD(FJsonObject::SetArrayField, void (FJsonObject::*)(const FString&, const FValues&));
	CHECK_ENGINE_OVERLOAD(FJsonObject::SetArrayField, void (FJsonObject::*)(const FString&, FValues&&));
	CHECK_ENGINE_OVERLOAD(FJsonObject::SetArrayField, void (FJsonObject::*)(FString&&, const FValues&));
	CHECK_ENGINE_OVERLOAD(FJsonObject::SetArrayField, void (FJsonObject::*)(FString&&, FValues&&));
	CHECK_ENGINE_OVERLOAD(FJsonObject::SetObjectField, void (FJsonObject::*)(const FString&, const TSharedPtr<FJsonObject>&));
	CHECK_ENGINE_OVERLOAD(FJsonObject::SetStringField, void (FJsonObject::*)(const FString&, const FString&));
	CHECK_ENGINE_OVERLOAD(FJsonObject::SetStringField, void (FJsonObject::*)(const FString&, FString&&));
	CHECK_ENGINE_OVERLOAD(FJsonObject::SetStringField, void (FJsonObject::*)(FString&&, const FString&));
	CHECK_ENGINE_OVERLOAD(FJsonObject::SetStringField, void (FJsonObject::*)(FString&&, FString&&));
	// 5.7 adds character-pointer value forms.
	CHECK_ENGINE_OVERLOAD(FJsonObject::SetStringField, void (FJsonObject::*)(const FString&, const TCHAR*));
	CHECK_ENGINE_OVERLOAD(FJsonObject::SetStringField, void (FJsonObject::*)(const FString&, const ANSICHAR*));
	CHECK_ENGINE_OVERLOAD(FJsonObject::SetStringField, void (FJsonObject::*)(const FString&, const UTF8CHAR*));

	static_assert(std::is_same_v<decltype(&FJsonValue::Type), EJson FJsonValue::*>);
	CHECK_ENGINE_DECL(FJsonValue::AsNumber, double (FJsonValue::*)() const);
	CHECK_ENGINE_DECL(FJsonValue::AsString, FString (FJsonValue::*)() const);
	CHECK_ENGINE_DECL(FJsonValue::AsBool, bool (FJsonValue::*)() const);
	CHECK_ENGINE_DECL(FJsonValue::AsArray, const FValues& (FJsonValue::*)() const);
	CHECK_ENGINE_DECL(FJsonValue::AsObject, const TSharedPtr<FJsonObject>& (FJsonValue::*)() const);

	// Value kinds: exactly the engine's constructors, so a text literal goes through FString.
	static_assert(std::is_constructible_v<FJsonValueString, const FString&> && std::is_constructible_v<FJsonValueString, FString&&>);
	static_assert(std::is_constructible_v<FJsonValueString, const TCHAR*>, "a literal converts to FString");
	static_assert(std::is_constructible_v<FJsonValueNumber, double>);
	static_assert(std::is_constructible_v<FJsonValueObject, TSharedPtr<FJsonObject>>);
	static_assert(std::is_base_of_v<FJsonValue, FJsonValueString> && std::is_base_of_v<FJsonValue, FJsonValueNumber>
		&& std::is_base_of_v<FJsonValue, FJsonValueObject>);
}

TEST(JsonConformance, LiteralValuesAndNamesMeetTheEngineOverloads)
{
	// A literal name and value pick the engine's overloads without ambiguity.
	const TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
	Object->SetStringField(TEXT("name"), TEXT("Value"));
	Object->SetField(TEXT("kind"), MakeShared<FJsonValueString>(TEXT("Text")));
	EXPECT_TRUE(Object->GetStringField(TEXT("NAME")).Equals(TEXT("Value"), ESearchCase::CaseSensitive));
	EXPECT_TRUE(Object->GetStringField(TEXT("kind")).Equals(TEXT("Text"), ESearchCase::CaseSensitive));
	// A UTF-8 value is decoded, not taken byte by byte.
	Object->SetStringField(TEXT("utf8"), u8"\u00c4\u00df");
	EXPECT_TRUE(Object->GetStringField(TEXT("utf8")).Equals(TEXT("\u00c4\u00df"), ESearchCase::CaseSensitive));
}
