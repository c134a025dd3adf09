// Converting a JSON value into a property's value in memory, one property kind at a time.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonValue.h"

class FProperty;
class UObject;

namespace Orvex::PropertyWriter::Private
{
	struct FConversion
	{
		// The object being written, for imports that resolve references.
		UObject* Owner = nullptr;
		// Values outside ClampMin/ClampMax are brought into range rather than refused.
		bool bClampToMetaRange = false;
	};

	// Where a value goes, for messages: "IntValue", "Mappings[1].Scale", "Budgets[\"Low\"]".
	struct FValuePath
	{
		FString Text;
		bool bTopLevel = true;

		FValuePath Element(int32 Index) const { return FValuePath{FString::Printf(TEXT("%s[%d]"), *Text, Index), false}; }
		FValuePath Field(const FString& Name) const { return FValuePath{Text + TEXT(".") + Name, false}; }
		FValuePath Key(const FString& Name) const { return FValuePath{FString::Printf(TEXT("%s[\"%s\"]"), *Text, *Name), false}; }
	};

	// Stores Value into the ArrayDim elements at Data: a fixed-size array takes a JSON array of
	// exactly that many values. On failure OutError says why; Data may then hold part of the
	// value, so callers convert into a copy.
	bool ConvertCompleteValue(const FProperty* Property, void* Data, const TSharedPtr<FJsonValue>& Value, const FValuePath& Path, const FConversion& Conversion, FString& OutError);

	// A JSON value as a message shows it: 2.5, 'text', true, null, [...], {...}.
	FString DescribeJson(const TSharedPtr<FJsonValue>& Value);
}
