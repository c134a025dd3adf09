#include "HeaderTool/HeaderTokenizer.h"
#include "HeaderTypes.h"

#include "Templates/Casts.h"
#include "UObject/Class.h"
#include "UObject/EnumProperty.h"
#include "UObject/UnrealType.h"

#include "Containers/StringConv.h"

#include <algorithm>
#include <cstdlib>

namespace UE::Host::Private
{
	namespace
	{
		using Headers::ETokenKind;
		using Headers::FToken;
		typedef std::vector<FToken> FTokens;

		FString ToFString(const std::string& Text)
		{
			return UE::Host::Utf8ToString(Text);
		}

		FString Quote(const FString& Text)
		{
			FString Result = TEXT("\"");
			for (const TCHAR C : Text)
			{
				if (C == '"' || C == '\\')
				{
					Result.AppendChar('\\');
				}
				Result.AppendChar(C);
			}
			Result.AppendChar('"');
			return Result;
		}

		// Splits at top-level commas.
		std::vector<FTokens> SplitArguments(const FTokens& Tokens)
		{
			std::vector<FTokens> Parts;
			FTokens Current;
			int32 Depth = 0;
			for (const FToken& Token : Tokens)
			{
				if (Depth == 0 && Token.Is(","))
				{
					Parts.push_back(Current);
					Current.clear();
					continue;
				}
				Depth += (Token.Is("(") || Token.Is("{") || Token.Is("<")) ? 1 : (Token.Is(")") || Token.Is("}") || Token.Is(">")) ? -1 : 0;
				Current.push_back(Token);
			}
			if (!Current.empty())
			{
				Parts.push_back(Current);
			}
			return Parts;
		}

		bool IsWrapped(const FTokens& Tokens, size_t OpenAt, const char* Open, const char* Close)
		{
			if (Tokens.size() < OpenAt + 2 || !Tokens[OpenAt].Is(Open) || !Tokens.back().Is(Close))
			{
				return false;
			}
			int32 Depth = 0;
			for (size_t Index = OpenAt; Index < Tokens.size(); ++Index)
			{
				Depth += Tokens[Index].Is(Open) ? 1 : Tokens[Index].Is(Close) ? -1 : 0;
				if (Depth == 0 && Index + 1 < Tokens.size())
				{
					return false;
				}
			}
			return true;
		}

		// "TypeName(args)", "TypeName{args}", "{args}" and "(x)" give their arguments.
		bool StripConstruction(const FTokens& Tokens, FTokens& OutInner)
		{
			size_t OpenAt = 0;
			// A type name, maybe templated or qualified, before the brackets.
			while (OpenAt < Tokens.size() && !Tokens[OpenAt].Is("(") && !Tokens[OpenAt].Is("{"))
			{
				if (Tokens[OpenAt].Kind != ETokenKind::Identifier && !Tokens[OpenAt].Is("::") && !Tokens[OpenAt].Is("<") && !Tokens[OpenAt].Is(">") && !Tokens[OpenAt].Is("*"))
				{
					return false;
				}
				++OpenAt;
			}
			if (OpenAt >= Tokens.size())
			{
				return false;
			}
			const bool bParen = Tokens[OpenAt].Is("(");
			if (!IsWrapped(Tokens, OpenAt, bParen ? "(" : "{", bParen ? ")" : "}"))
			{
				return false;
			}
			OutInner.assign(Tokens.begin() + static_cast<std::ptrdiff_t>(OpenAt + 1), Tokens.end() - 1);
			return true;
		}

		// TEXT("x"), FString(TEXT("x")), FName("x"), "x": the string; false for anything else.
		bool ReadStringLiteral(const FTokens& Tokens, FString& OutText)
		{
			if (Tokens.size() == 1 && Tokens[0].Kind == ETokenKind::String)
			{
				OutText = ToFString(Headers::UnquoteString(Tokens[0].Text));
				return true;
			}
			FTokens Inner;
			if (!Tokens.empty() && Tokens[0].Kind == ETokenKind::Identifier && StripConstruction(Tokens, Inner) && Inner.size() >= 1)
			{
				return ReadStringLiteral(Inner, OutText);
			}
			return false;
		}

		bool ReadNumber(const FTokens& Tokens, bool bFloat, FString& OutText)
		{
			size_t Index = 0;
			std::string Sign;
			while (Index < Tokens.size() && (Tokens[Index].Is("-") || Tokens[Index].Is("+")))
			{
				Sign = Tokens[Index].Is("-") ? (Sign == "-" ? "" : "-") : Sign;
				++Index;
			}
			if (Index + 1 != Tokens.size() || Tokens[Index].Kind != ETokenKind::Number)
			{
				return false;
			}
			std::string Text = Tokens[Index].Text;
			Text.erase(std::remove(Text.begin(), Text.end(), '\''), Text.end());
			const bool bHex = Text.size() > 2 && Text[0] == '0' && (Text[1] == 'x' || Text[1] == 'X');
			if (bHex || !bFloat)
			{
				while (!bHex && !Text.empty() && std::string("uUlLfF").find(Text.back()) != std::string::npos)
				{
					Text.pop_back();
				}
				char* End = nullptr;
				const long long Value = std::strtoll(Text.c_str(), &End, 0);
				if (End == Text.c_str() || *End != '\0')
				{
					// "1.5" for an integer is not something the compiler would take either.
					if (bFloat || Text.find('.') != std::string::npos)
					{
						return false;
					}
				}
				OutText = ToFString(Sign + std::to_string(Value));
				return true;
			}
			while (!Text.empty() && std::string("fFlL").find(Text.back()) != std::string::npos)
			{
				Text.pop_back();
			}
			char* End = nullptr;
			const double Value = std::strtod(Text.c_str(), &End);
			if (End == Text.c_str() || *End != '\0')
			{
				return false;
			}
			OutText = FString::Printf(TEXT("%f"), Sign == "-" ? -Value : Value);
			return true;
		}

		bool Convert(const FProperty* Property, const FTokens& Tokens, bool bNested, FString& OutText);

		bool ConvertEnumerator(const UEnum* Enum, const FTokens& Tokens, FString& OutText)
		{
			if (Tokens.empty())
			{
				return false;
			}
			if (Tokens.back().Kind == ETokenKind::Identifier)
			{
				// EFoo::Bar, EFoo::Type::Bar or Bar: the short name is what the engine exports.
				OutText = ToFString(Tokens.back().Text);
				return !Enum || Enum->GetValueByNameString(OutText) != INDEX_NONE;
			}
			FString Number;
			if (ReadNumber(Tokens, false, Number) && Enum)
			{
				const int64 Value = FCString::Atoi64(*Number);
				for (int32 Index = 0; Index < Enum->NumEnums(); ++Index)
				{
					if (Enum->GetValueByIndex(Index) == Value)
					{
						OutText = Enum->GetNameStringByIndex(Index);
						return true;
					}
				}
			}
			return false;
		}

		bool ConvertStruct(const FStructProperty* Property, const FTokens& Tokens, FString& OutText)
		{
			const UScriptStruct* Struct = Property->Struct;
			FString Path;
			if (Struct == TBaseStructure<FSoftObjectPath>::Get() || Struct == TBaseStructure<FSoftClassPath>::Get())
			{
				if (!ReadStringLiteral(Tokens, Path))
				{
					return false;
				}
				OutText = Path;
				return true;
			}
			FTokens Inner;
			if (!StripConstruction(Tokens, Inner))
			{
				return false;
			}
			const std::vector<FTokens> Arguments = SplitArguments(Inner);
			if (Arguments.empty())
			{
				return false;
			}
			// Arguments go to the members in declaration order, as aggregate initialization does.
			FString Result = TEXT("(");
			size_t Argument = 0;
			for (TFieldIterator<FProperty> It(Struct); It && Argument < Arguments.size(); ++It, ++Argument)
			{
				FString Member;
				if (!Convert(*It, Arguments[Argument], true, Member))
				{
					return false;
				}
				Result += (Argument ? TEXT(",") : TEXT("")) + It->GetName() + TEXT("=") + Member;
			}
			if (Argument < Arguments.size())
			{
				return false;
			}
			OutText = Result + TEXT(")");
			return true;
		}

		bool ConvertText(const FTokens& Tokens, FString& OutText)
		{
			if (Tokens.empty() || Tokens[0].Kind != ETokenKind::Identifier)
			{
				return false;
			}
			const std::string& Macro = Tokens[0].Text;
			FTokens Inner;
			if ((Macro == "NSLOCTEXT" || Macro == "LOCTEXT" || Macro == "INVTEXT") && StripConstruction(Tokens, Inner))
			{
				FString Result = ToFString(Macro) + TEXT("(");
				const std::vector<FTokens> Arguments = SplitArguments(Inner);
				for (size_t Index = 0; Index < Arguments.size(); ++Index)
				{
					FString Argument;
					if (!ReadStringLiteral(Arguments[Index], Argument))
					{
						return false;
					}
					Result += (Index ? TEXT(", ") : TEXT("")) + Quote(Argument);
				}
				OutText = Result + TEXT(")");
				return true;
			}
			// FText::FromString(TEXT("x")) and FText::AsCultureInvariant(...): culture invariant text.
			if (Tokens.size() > 3 && Macro == "FText" && Tokens[1].Is("::"))
			{
				const FTokens Call(Tokens.begin() + 2, Tokens.end());
				FString Value;
				if ((Call[0].Is("FromString") || Call[0].Is("AsCultureInvariant")) && StripConstruction(Call, Inner) && ReadStringLiteral(Inner, Value))
				{
					OutText = TEXT("INVTEXT(") + Quote(Value) + TEXT(")");
					return true;
				}
			}
			return false;
		}

		bool Convert(const FProperty* Property, const FTokens& Tokens, bool bNested, FString& OutText);

		// "{ a, b }" as "(a,b)"; with a value property, "{ { k, v }, ... }" as "((k, v),...)".
		bool ConvertElementList(const FProperty* Element, const FProperty* Value, const FTokens& Tokens, FString& OutText)
		{
			FTokens Inner;
			if (!StripConstruction(Tokens, Inner))
			{
				return false;
			}
			FString Result = TEXT("(");
			const std::vector<FTokens> Elements = SplitArguments(Inner);
			for (size_t Index = 0; Index < Elements.size(); ++Index)
			{
				FString Text;
				FTokens Pair;
				std::vector<FTokens> Parts;
				if (!Value)
				{
					Parts.push_back(Elements[Index]);
				}
				else if (StripConstruction(Elements[Index], Pair))
				{
					Parts = SplitArguments(Pair);
				}
				if (Parts.size() != (Value ? 2u : 1u) || !Convert(Element, Parts[0], true, Text))
				{
					return false;
				}
				if (Value)
				{
					FString ValueText;
					if (!Convert(Value, Parts[1], true, ValueText))
					{
						return false;
					}
					Text = TEXT("(") + Text + TEXT(", ") + ValueText + TEXT(")");
				}
				Result += (Index ? TEXT(",") : TEXT("")) + Text;
			}
			OutText = Result + TEXT(")");
			return true;
		}

		bool Convert(const FProperty* Property, const FTokens& Tokens, bool bNested, FString& OutText)
		{
			if (Tokens.empty())
			{
				return false;
			}
			if (const FArrayProperty* Array = CastField<FArrayProperty>(Property))
			{
				return ConvertElementList(Array->Inner, nullptr, Tokens, OutText);
			}
			if (const FSetProperty* Set = CastField<FSetProperty>(Property))
			{
				return ConvertElementList(Set->GetElementProperty(), nullptr, Tokens, OutText);
			}
			if (const FMapProperty* Map = CastField<FMapProperty>(Property))
			{
				return ConvertElementList(Map->GetKeyProperty(), Map->GetValueProperty(), Tokens, OutText);
			}
			if (CastField<FBoolProperty>(Property))
			{
				if (Tokens.size() == 1 && (Tokens[0].Is("true") || Tokens[0].Is("false")))
				{
					OutText = Tokens[0].Is("true") ? TEXT("True") : TEXT("False");
					return true;
				}
				return false;
			}
			if (const FEnumProperty* EnumProperty = CastField<FEnumProperty>(Property))
			{
				return ConvertEnumerator(EnumProperty->GetEnum(), Tokens, OutText);
			}
			if (const FByteProperty* ByteProperty = CastField<FByteProperty>(Property); ByteProperty && ByteProperty->Enum)
			{
				return ConvertEnumerator(ByteProperty->Enum, Tokens, OutText);
			}
			if (const FNumericProperty* Numeric = CastField<FNumericProperty>(Property))
			{
				return ReadNumber(Tokens, Numeric->IsFloatingPoint(), OutText);
			}
			if (CastField<FStrProperty>(Property) || CastField<FNameProperty>(Property))
			{
				FString Value;
				if (!ReadStringLiteral(Tokens, Value))
				{
					return false;
				}
				OutText = bNested ? Quote(Value) : Value;
				return true;
			}
			if (CastField<FTextProperty>(Property))
			{
				return ConvertText(Tokens, OutText);
			}
			if (const FStructProperty* StructProperty = CastField<FStructProperty>(Property))
			{
				FString Value;
				if (!ConvertStruct(StructProperty, Tokens, Value))
				{
					return false;
				}
				const UScriptStruct* Struct = StructProperty->Struct;
				const bool bPath = Struct == TBaseStructure<FSoftObjectPath>::Get() || Struct == TBaseStructure<FSoftClassPath>::Get();
				OutText = bNested && bPath ? Quote(Value) : Value;
				return true;
			}
			if (CastField<FSoftObjectProperty>(Property))
			{
				// TSoftObjectPtr<UFoo>(FSoftObjectPath(TEXT("/Game/A.A"))) and plain paths alike.
				FString Value;
				if (!ReadStringLiteral(Tokens, Value))
				{
					return false;
				}
				OutText = bNested ? Quote(Value) : Value;
				return true;
			}
			return false;
		}
	}

	bool ConvertInitializer(const FProperty* Property, const std::string& Initializer, FString& OutText)
	{
		if (!Property || Initializer.empty())
		{
			return false;
		}
		const Headers::FTokenizedHeader Tokenized = Headers::TokenizeHeader(Initializer);
		return Convert(Property, Tokenized.Tokens, false, OutText);
	}
}
