// Writing a JSON value into a reflected property the way a settings page would: converted to
// the property's type, checked against its limits, and stored only when the whole value is good.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonValue.h"

class FProperty;
class UObject;

namespace Orvex::PropertyWriter
{
	// Everything off by default: a plain write of a config property, no notification.
	struct FWriteOptions
	{
		// Calls PreEditChange before the value is stored and PostEditChangeProperty (ValueSet) after.
		bool bNotify = false;
		// Writes properties without the config flag too; by default only config properties are written.
		bool bAllowNonConfig = false;
		// Brings numbers outside the ClampMin/ClampMax metadata into range instead of refusing them.
		bool bClampToMetaRange = false;
		// Converts and checks the value exactly as a write would, on a copy, and stores nothing (no
		// notification either); NewValueText is the text the property would then hold.
		bool bValidateOnly = false;
	};

	struct FWriteResult
	{
		bool bSuccess = false;
		// Why nothing was written: one sentence naming the value and, where it helps, the property
		// and what it accepts.
		FString ErrorMessage;
		// The property's text form after a successful write (element 0 of a fixed-size array).
		FString NewValueText;
	};

	// Stores Value in Property of Object. Accepted forms, by property kind:
	// - bool: true/false, the strings "true"/"false" (any case), the numbers 1/0;
	// - integers: whole numbers within the type's range (and ClampMin/ClampMax), as JSON
	//   numbers or decimal strings; floats and doubles likewise, without the whole-number rule;
	// - enums: the enumerator's name, short ("Lumen") or qualified ("EReflectionMethod::Lumen"),
	//   in any letter case, or its number; hidden enumerators are not offered;
	// - strings, names, texts: JSON strings;
	// - soft object and class paths: "/Package/Path.Asset", or None, "" or null for no object;
	//   object and class references: the path of a loaded object;
	// - structs: an object of fields ({"X": 1}), unknown fields refused, missing ones kept; or
	//   the engine's text form ("(X=1,Y=2,Z=3)");
	// - arrays: a JSON array, element by element, or the engine's text form; fixed-size arrays:
	//   a JSON array with exactly one value per element.
	// A refused value leaves the property exactly as it was.
	ORVEXCORE_API FWriteResult WriteProperty(UObject* Object, FProperty* Property, const TSharedPtr<FJsonValue>& Value, const FWriteOptions& Options);
}
