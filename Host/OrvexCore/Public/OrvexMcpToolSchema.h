// Actions as assistant clients see them: one tool per action, whose input schema is generated from
// the action's registered parameter schema, and the check of call arguments against that schema.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"

namespace OrvexMcp
{
	// The first argument that does not fit the schema, and what is wrong with it.
	struct FArgumentProblem
	{
		FString Parameter;
		FString Problem;
	};

	// "<namespace>_<action>", every character other than an ASCII letter, digit or '_' written as
	// '_', so that every client accepts the name.
	ORVEXCORE_API FString MakeToolName(const FString& Namespace, const FString& Action);

	// A human-readable name, e.g. "Localization: List string tables".
	ORVEXCORE_API FString MakeToolTitle(const FString& Namespace, const FString& Action);

	// The JSON Schema type of a parameter's type word; null for "any" and for words it does not know,
	// which then accept every JSON value.
	ORVEXCORE_API const TCHAR* ToJsonSchemaType(const FString& TypeWord);

	// An object schema with one property per parameter (and per alias), the required names and no
	// other properties. It carries no "$schema": the keywords it uses mean the same in draft 2020-12
	// (the protocol's default) and in draft-07, so clients of either accept it.
	ORVEXCORE_API TSharedRef<FJsonObject> MakeInputSchema(const TSharedPtr<FJsonObject>& ParameterSchema);

	// True when the arguments fit the schema that MakeInputSchema generates. Otherwise false with the
	// first problem: an unknown name first, then the parameters in schema order. Names are compared
	// case-sensitively, as JSON Schema does.
	ORVEXCORE_API bool CheckArguments(const TSharedPtr<FJsonObject>& ParameterSchema, const FJsonObject& Arguments, FArgumentProblem& OutProblem);
}
