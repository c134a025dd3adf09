#include "OrvexMcpToolSchema.h"

#include "Dom/JsonValue.h"
#include "Host/JsonText.h"

#include <cmath>

namespace OrvexMcp
{
	namespace
	{
		bool IsNameCharacter(TCHAR Character)
		{
			return (Character >= TEXT('a') && Character <= TEXT('z')) || (Character >= TEXT('A') && Character <= TEXT('Z'))
				|| (Character >= TEXT('0') && Character <= TEXT('9')) || Character == TEXT('_');
		}

		FString Sentence(const FString& Name)
		{
			FString Text = Name.Replace(TEXT("_"), TEXT(" "), ESearchCase::CaseSensitive);
			if (!Text.IsEmpty() && Text[0] >= TEXT('a') && Text[0] <= TEXT('z'))
			{
				Text[0] = static_cast<TCHAR>(Text[0] - TEXT('a') + TEXT('A'));
			}
			return Text;
		}

		FString GetStringMember(const FJsonObject& Object, const TCHAR* Name)
		{
			const TSharedPtr<FJsonValue> Field = Object.TryGetField(Name);
			return Field.IsValid() && Field->Type == EJson::String ? Field->AsString() : FString();
		}

		bool GetBoolMember(const FJsonObject& Object, const TCHAR* Name)
		{
			const TSharedPtr<FJsonValue> Field = Object.TryGetField(Name);
			return Field.IsValid() && Field->Type == EJson::Boolean && Field->AsBool();
		}

		TArray<FString> GetAliases(const FJsonObject& Descriptor)
		{
			TArray<FString> Aliases;
			const TSharedPtr<FJsonValue> Field = Descriptor.TryGetField(TEXT("aliases"));
			if (Field.IsValid() && Field->Type == EJson::Array)
			{
				for (const TSharedPtr<FJsonValue>& Alias : Field->AsArray())
				{
					if (Alias.IsValid() && Alias->Type == EJson::String && !Alias->AsString().IsEmpty())
					{
						Aliases.Add(Alias->AsString());
					}
				}
			}
			return Aliases;
		}

		// One registered parameter as the schema and the check see it.
		struct FParameter
		{
			FString Name;
			FString Description;
			const TCHAR* JsonType = nullptr;
			bool bRequired = false;
			TArray<FString> Aliases;
			TSharedPtr<FJsonObject> Descriptor;
		};

		TArray<FParameter> ReadParameters(const TSharedPtr<FJsonObject>& ParameterSchema)
		{
			TArray<FParameter> Parameters;
			if (!ParameterSchema.IsValid())
			{
				return Parameters;
			}
			for (const auto& Entry : ParameterSchema->Values)
			{
				if (!Entry.Value.IsValid() || Entry.Value->Type != EJson::Object)
				{
					continue;
				}
				FParameter& Parameter = Parameters.AddDefaulted_GetRef();
				Parameter.Name = Entry.Key;
				Parameter.Descriptor = Entry.Value->AsObject();
				Parameter.Description = GetStringMember(*Parameter.Descriptor, TEXT("description"));
				Parameter.JsonType = ToJsonSchemaType(GetStringMember(*Parameter.Descriptor, TEXT("type")));
				Parameter.bRequired = GetBoolMember(*Parameter.Descriptor, TEXT("required"));
				Parameter.Aliases = GetAliases(*Parameter.Descriptor);
			}
			return Parameters;
		}

		bool IsIntegral(const FJsonValue& Value)
		{
			const double Number = Value.AsNumber();
			return std::isfinite(Number) && std::floor(Number) == Number;
		}

		bool FitsType(const FJsonValue& Value, const TCHAR* JsonType)
		{
			const FString Type(JsonType);
			if (Type.Equals(TEXT("string")))
			{
				return Value.Type == EJson::String;
			}
			if (Type.Equals(TEXT("integer")))
			{
				return Value.Type == EJson::Number && IsIntegral(Value);
			}
			if (Type.Equals(TEXT("number")))
			{
				return Value.Type == EJson::Number;
			}
			if (Type.Equals(TEXT("boolean")))
			{
				return Value.Type == EJson::Boolean;
			}
			if (Type.Equals(TEXT("array")))
			{
				return Value.Type == EJson::Array;
			}
			return Value.Type == EJson::Object;
		}

		const TCHAR* WithArticle(const TCHAR* JsonType)
		{
			const FString Type(JsonType);
			if (Type.Equals(TEXT("integer")))
			{
				return TEXT("an integer");
			}
			if (Type.Equals(TEXT("array")))
			{
				return TEXT("an array");
			}
			if (Type.Equals(TEXT("object")))
			{
				return TEXT("an object");
			}
			if (Type.Equals(TEXT("boolean")))
			{
				return TEXT("a boolean");
			}
			return Type.Equals(TEXT("number")) ? TEXT("a number") : TEXT("a string");
		}

		const TCHAR* DescribeValue(const FJsonValue& Value)
		{
			switch (Value.Type)
			{
			case EJson::String:
				return TEXT("a string");
			case EJson::Number:
				return IsIntegral(Value) ? TEXT("an integer") : TEXT("a fractional number");
			case EJson::Boolean:
				return TEXT("a boolean");
			case EJson::Array:
				return TEXT("an array");
			case EJson::Object:
				return TEXT("an object");
			default:
				return TEXT("null");
			}
		}

		// The registered default is text; the schema carries it as a value of the parameter's type,
		// and leaves it out when the text does not read as one.
		TSharedPtr<FJsonValue> ConvertDefault(const FString& Text, const TCHAR* JsonType)
		{
			if (JsonType && FString(JsonType).Equals(TEXT("string")))
			{
				return MakeShared<FJsonValueString>(Text);
			}
			if (JsonType && FString(JsonType).Equals(TEXT("boolean")))
			{
				if (Text.Equals(TEXT("true"), ESearchCase::IgnoreCase) || Text.Equals(TEXT("false"), ESearchCase::IgnoreCase))
				{
					return MakeShared<FJsonValueBoolean>(Text.Equals(TEXT("true"), ESearchCase::IgnoreCase));
				}
				return nullptr;
			}
			TSharedPtr<FJsonValue> Parsed;
			FString ParseError;
			const bool bParsed = UE::Host::Json::ParseUtf8(UE::Host::StringToUtf8(Text), Parsed, ParseError);
			if (!JsonType)
			{
				return bParsed ? Parsed : MakeShared<FJsonValueString>(Text);
			}
			return bParsed && FitsType(*Parsed, JsonType) ? Parsed : nullptr;
		}

		TSharedRef<FJsonObject> MakeProperty(const TCHAR* JsonType, const FString& Description)
		{
			TSharedRef<FJsonObject> Property = MakeShared<FJsonObject>();
			if (JsonType)
			{
				Property->SetStringField(TEXT("type"), JsonType);
			}
			Property->SetStringField(TEXT("description"), Description);
			return Property;
		}

		// {"properties": {NAME: true}, "required": [NAME]}: the property is named beside the
		// requirement so that validators in strict mode do not take it for a typo.
		TSharedPtr<FJsonValue> MakeRequired(const FString& Name)
		{
			TSharedRef<FJsonObject> Named = MakeShared<FJsonObject>();
			Named->SetBoolField(Name, true);
			TSharedRef<FJsonObject> Alternative = MakeShared<FJsonObject>();
			Alternative->SetObjectField(TEXT("properties"), Named);
			Alternative->SetArrayField(TEXT("required"), TArray<TSharedPtr<FJsonValue>>{MakeShared<FJsonValueString>(Name)});
			return MakeShared<FJsonValueObject>(Alternative);
		}

		const TSharedPtr<FJsonValue>* FindExact(const FJsonObject& Arguments, const FString& Name)
		{
			for (const auto& Entry : Arguments.Values)
			{
				if (Entry.Key.Equals(Name, ESearchCase::CaseSensitive))
				{
					return &Entry.Value;
				}
			}
			return nullptr;
		}

		bool Fail(FArgumentProblem& OutProblem, const FString& Parameter, const FString& Problem)
		{
			OutProblem.Parameter = Parameter;
			OutProblem.Problem = Problem;
			return false;
		}
	}

	FString MakeToolName(const FString& Namespace, const FString& Action)
	{
		FString Name = Namespace + TEXT("_") + Action;
		for (int32 Index = 0; Index < Name.Len(); ++Index)
		{
			if (!IsNameCharacter(Name[Index]))
			{
				Name[Index] = TEXT('_');
			}
		}
		return Name;
	}

	FString MakeToolTitle(const FString& Namespace, const FString& Action)
	{
		return Sentence(Namespace) + TEXT(": ") + Sentence(Action);
	}

	const TCHAR* ToJsonSchemaType(const FString& TypeWord)
	{
		static const TCHAR* const SameName[] = {TEXT("string"), TEXT("integer"), TEXT("number"), TEXT("boolean"), TEXT("array"), TEXT("object")};
		for (const TCHAR* Type : SameName)
		{
			if (TypeWord.Equals(Type, ESearchCase::IgnoreCase))
			{
				return Type;
			}
		}
		return TypeWord.Equals(TEXT("bool"), ESearchCase::IgnoreCase) ? TEXT("boolean") : nullptr;
	}

	TSharedRef<FJsonObject> MakeInputSchema(const TSharedPtr<FJsonObject>& ParameterSchema)
	{
		TSharedRef<FJsonObject> Properties = MakeShared<FJsonObject>();
		TArray<TSharedPtr<FJsonValue>> Required;
		TArray<TSharedPtr<FJsonValue>> RequiredWithAliases;
		for (const FParameter& Parameter : ReadParameters(ParameterSchema))
		{
			TSharedRef<FJsonObject> Property = MakeProperty(Parameter.JsonType, Parameter.Description);
			FString DefaultText;
			if (Parameter.Descriptor->TryGetStringField(TEXT("default"), DefaultText))
			{
				if (const TSharedPtr<FJsonValue> Default = ConvertDefault(DefaultText, Parameter.JsonType))
				{
					Property->SetField(TEXT("default"), Default);
				}
			}
			Properties->SetObjectField(Parameter.Name, Property);
			// An alias is a name the action accepts, so the schema accepts it too.
			for (const FString& Alias : Parameter.Aliases)
			{
				Properties->SetObjectField(Alias, MakeProperty(Parameter.JsonType, FString::Printf(TEXT("Alias of '%s'."), *Parameter.Name)));
			}
			if (!Parameter.bRequired)
			{
				continue;
			}
			if (Parameter.Aliases.Num() == 0)
			{
				Required.Add(MakeShared<FJsonValueString>(Parameter.Name));
				continue;
			}
			// A required parameter with aliases is satisfied by any one of its names.
			TArray<TSharedPtr<FJsonValue>> Alternatives{MakeRequired(Parameter.Name)};
			for (const FString& Alias : Parameter.Aliases)
			{
				Alternatives.Add(MakeRequired(Alias));
			}
			TSharedRef<FJsonObject> AnyOf = MakeShared<FJsonObject>();
			AnyOf->SetArrayField(TEXT("anyOf"), Alternatives);
			RequiredWithAliases.Add(MakeShared<FJsonValueObject>(AnyOf));
		}

		TSharedRef<FJsonObject> Schema = MakeShared<FJsonObject>();
		Schema->SetStringField(TEXT("type"), TEXT("object"));
		Schema->SetObjectField(TEXT("properties"), Properties);
		if (Required.Num() > 0)
		{
			Schema->SetArrayField(TEXT("required"), Required);
		}
		if (RequiredWithAliases.Num() > 0)
		{
			Schema->SetArrayField(TEXT("allOf"), RequiredWithAliases);
		}
		Schema->SetBoolField(TEXT("additionalProperties"), false);
		return Schema;
	}

	bool CheckArguments(const TSharedPtr<FJsonObject>& ParameterSchema, const FJsonObject& Arguments, FArgumentProblem& OutProblem)
	{
		const TArray<FParameter> Parameters = ReadParameters(ParameterSchema);
		TArray<FString> Known;
		for (const FParameter& Parameter : Parameters)
		{
			Known.Add(Parameter.Name);
			Known.Append(Parameter.Aliases);
		}
		for (const auto& Entry : Arguments.Values)
		{
			if (Known.ContainsByPredicate([&Entry](const FString& Name) { return Name.Equals(Entry.Key, ESearchCase::CaseSensitive); }))
			{
				continue;
			}
			const FString* SameButCase = Known.FindByPredicate([&Entry](const FString& Name) { return Name.Equals(Entry.Key, ESearchCase::IgnoreCase); });
			if (SameButCase)
			{
				return Fail(OutProblem, Entry.Key, FString::Printf(TEXT("is not a parameter of this tool; did you mean '%s'?"), **SameButCase));
			}
			return Fail(OutProblem, Entry.Key, Known.Num() > 0
				? FString::Printf(TEXT("is not a parameter of this tool (it takes: %s)"), *FString::Join(Known, TEXT(", ")))
				: FString(TEXT("is not a parameter of this tool (it takes none)")));
		}

		for (const FParameter& Parameter : Parameters)
		{
			TArray<FString> Names{Parameter.Name};
			Names.Append(Parameter.Aliases);
			bool bPresent = false;
			for (const FString& Name : Names)
			{
				const TSharedPtr<FJsonValue>* Value = FindExact(Arguments, Name);
				if (!Value)
				{
					continue;
				}
				bPresent = true;
				if (Parameter.JsonType && (!Value->IsValid() || !FitsType(**Value, Parameter.JsonType)))
				{
					return Fail(OutProblem, Name, FString::Printf(TEXT("must be %s, not %s"), WithArticle(Parameter.JsonType),
						Value->IsValid() ? DescribeValue(**Value) : TEXT("null")));
				}
			}
			if (Parameter.bRequired && !bPresent)
			{
				return Fail(OutProblem, Parameter.Name, TEXT("is required"));
			}
		}
		return true;
	}
}
