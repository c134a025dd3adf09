#include "HeaderTool/HeaderDeclarations.h"

#include "HeaderTool/HeaderExpressions.h"
#include "HeaderTool/HeaderTokenizer.h"

#include <cctype>
#include <cstdlib>
#include <functional>
#include <map>

namespace UE::Host::Headers
{
	bool EqualsIgnoreCase(std::string_view A, std::string_view B)
	{
		if (A.size() != B.size())
		{
			return false;
		}
		for (size_t Index = 0; Index < A.size(); ++Index)
		{
			if (std::tolower(static_cast<unsigned char>(A[Index])) != std::tolower(static_cast<unsigned char>(B[Index])))
			{
				return false;
			}
		}
		return true;
	}

	namespace
	{
		const FSpecifier* FindIn(const std::vector<FSpecifier>& List, std::string_view Key)
		{
			for (const FSpecifier& Specifier : List)
			{
				if (EqualsIgnoreCase(Specifier.Key, Key))
				{
					return &Specifier;
				}
			}
			return nullptr;
		}

		template<typename T>
		const T* FindByName(const std::vector<T>& List, std::string_view Name)
		{
			for (const T& Entry : List)
			{
				if (Entry.Name == Name)
				{
					return &Entry;
				}
			}
			return nullptr;
		}

		bool IsTypeKeyword(const std::string& Text)
		{
			return Text == "const" || Text == "class" || Text == "struct" || Text == "enum" || Text == "mutable" || Text == "typename" || Text == "volatile";
		}

		bool IsIdentifierText(std::string_view Text)
		{
			return !Text.empty() && (std::isalnum(static_cast<unsigned char>(Text.front())) || Text.front() == '_');
		}

		class FParser : private FTokenCursor
		{
		public:
			explicit FParser(const std::vector<FToken>& InTokens) : FTokenCursor(InTokens) {}

			void Run(FHeaderDecls& Out)
			{
				while (!AtEnd())
				{
					const FToken& Token = Tokens[Position];
					if (Token.Kind == ETokenKind::DocComment)
					{
						PendingDoc = CleanDocComment(Token.Text);
						++Position;
					}
					else if (Token.Is("UCLASS") || Token.Is("USTRUCT"))
					{
						ParseType(Out, Token.Is("USTRUCT"));
					}
					else if (Token.Is("UENUM"))
					{
						ParseEnum(Out);
					}
					else if (Token.Is("enum") || (Token.Is("namespace") && PeekIs("{", 2) && PeekIs("enum", 3)))
					{
						FEnumDecl Decl;
						Decl.Line = Token.Line;
						if (ParseEnumDeclaration(Decl))
						{
							Out.PlainEnums.push_back(std::move(Decl));
						}
					}
					else
					{
						if (Token.Is(";") || Token.Is("}"))
						{
							PendingDoc.clear();
						}
						++Position;
					}
				}
			}

		private:
			// The tokens between an opening parenthesis at Position and its match; Position ends past it.
			std::vector<FToken> ReadParenthesized()
			{
				std::vector<FToken> Inner;
				if (!PeekIs("("))
				{
					return Inner;
				}
				const size_t Start = Position;
				if (!SkipBalanced())
				{
					return Inner;
				}
				Inner.assign(Tokens.begin() + static_cast<std::ptrdiff_t>(Start + 1), Tokens.begin() + static_cast<std::ptrdiff_t>(Position - 1));
				return Inner;
			}

			static std::string JoinValue(const std::vector<FToken>& Value)
			{
				if (Value.size() == 1 && Value[0].Kind == ETokenKind::String)
				{
					return UnquoteString(Value[0].Text);
				}
				std::string Result;
				for (const FToken& Token : Value)
				{
					Result += Token.Kind == ETokenKind::String ? UnquoteString(Token.Text) : Token.Text;
				}
				return Result;
			}

			// "A, B=C, meta=(D, E="F")": specifiers into OutSpecifiers, meta entries into OutMeta.
			static void ParseSpecifierList(const std::vector<FToken>& List, std::vector<FSpecifier>& OutSpecifiers, std::vector<FSpecifier>* OutMeta)
			{
				size_t Index = 0;
				while (Index < List.size())
				{
					std::vector<FToken> Item;
					int32_t Depth = 0;
					while (Index < List.size() && !(Depth == 0 && List[Index].Is(",")))
					{
						Depth += List[Index].Is("(") ? 1 : List[Index].Is(")") ? -1 : 0;
						Item.push_back(List[Index++]);
					}
					++Index;
					if (Item.empty())
					{
						continue;
					}
					size_t Equals = 0;
					while (Equals < Item.size() && !Item[Equals].Is("="))
					{
						++Equals;
					}
					std::string Key;
					for (size_t KeyIndex = 0; KeyIndex < Equals; ++KeyIndex)
					{
						Key += Item[KeyIndex].Text;
					}
					std::vector<FToken> Value;
					if (Equals < Item.size())
					{
						Value.assign(Item.begin() + static_cast<std::ptrdiff_t>(Equals + 1), Item.end());
					}
					if (OutMeta && (EqualsIgnoreCase(Key, "meta") || EqualsIgnoreCase(Key, "metadata")) && !Value.empty() && Value.front().Is("("))
					{
						const std::vector<FToken> Inner(Value.begin() + 1, Value.end() - (Value.back().Is(")") ? 1 : 0));
						ParseSpecifierList(Inner, *OutMeta, nullptr);
						continue;
					}
					// A parenthesised value, as in "ToolTip=(...)" or a list, keeps its text.
					if (!Value.empty() && Value.front().Is("(") && Value.back().Is(")"))
					{
						Value = std::vector<FToken>(Value.begin() + 1, Value.end() - 1);
					}
					OutSpecifiers.push_back(FSpecifier{Key, Equals < Item.size() ? JoinValue(Value) : std::string()});
				}
			}

			void ParseType(FHeaderDecls& Out, bool bStruct)
			{
				FTypeDecl Decl;
				Decl.bStruct = bStruct;
				Decl.Doc = std::move(PendingDoc);
				PendingDoc.clear();
				Decl.Line = Tokens[Position].Line;
				++Position;
				ParseSpecifierList(ReadParenthesized(), Decl.Specifiers, &Decl.Meta);
				while (Peek() && Peek()->Kind == ETokenKind::DocComment)
				{
					++Position;
				}
				if (!Accept(bStruct ? "struct" : "class"))
				{
					return;
				}
				// Export macros (ENGINE_API), alignment and deprecation attributes come before the name.
				std::vector<std::string> Names;
				while (Peek() && !PeekIs(":") && !PeekIs("{") && !PeekIs(";"))
				{
					if (PeekIs("(") || PeekIs("["))
					{
						SkipBalanced();
						continue;
					}
					if (Peek()->Kind == ETokenKind::Identifier && Peek()->Text != "final")
					{
						Names.push_back(Peek()->Text);
					}
					++Position;
				}
				// The name is the last identifier that is not an export macro.
				for (auto It = Names.rbegin(); It != Names.rend(); ++It)
				{
					if (It->size() < 4 || It->compare(It->size() - 4, 4, "_API") != 0)
					{
						Decl.Name = *It;
						break;
					}
				}
				if (Accept(":"))
				{
					while (Peek() && !PeekIs("{") && !PeekIs(";"))
					{
						const FToken& Token = *Peek();
						if (Decl.Parent.empty() && Token.Kind == ETokenKind::Identifier && Token.Text != "public" && Token.Text != "protected" && Token.Text != "private" && Token.Text != "virtual")
						{
							Decl.Parent = Token.Text;
						}
						++Position;
					}
				}
				if (!PeekIs("{") || Decl.Name.empty())
				{
					return;
				}
				++Position;
				ParseBody(Decl);
				(bStruct ? Out.Structs : Out.Classes).push_back(std::move(Decl));
			}

			// Members up to the closing brace of the class or struct body.
			void ParseBody(FTypeDecl& Decl)
			{
				std::string Doc;
				bool bDeprecated = false;
				FPropertyDecl::EAccess Access = Decl.bStruct ? FPropertyDecl::EAccess::Public : FPropertyDecl::EAccess::Private;
				while (!AtEnd())
				{
					const FToken& Token = Tokens[Position];
					if (Token.Is("}"))
					{
						++Position;
						return;
					}
					if (Token.Kind == ETokenKind::DocComment)
					{
						Doc = CleanDocComment(Token.Text);
						++Position;
						continue;
					}
					if (Token.Is("UE_DEPRECATED") || Token.Is("UE_DEPRECATED_FORGAME"))
					{
						++Position;
						ReadParenthesized();
						bDeprecated = true;
						continue;
					}
					if (Token.Is("GENERATED_BODY") || Token.Is("GENERATED_UCLASS_BODY") || Token.Is("GENERATED_USTRUCT_BODY") || Token.Is("GENERATED_UINTERFACE_BODY") || Token.Is("GENERATED_IINTERFACE_BODY"))
					{
						Decl.GeneratedBodyLine = Token.Line;
						Decl.GeneratedBodyMacro = Token.Text;
						// A class's generated body ends private, the legacy one public; a struct's leaves access alone.
						if (!Decl.bStruct)
						{
							Access = Token.Is("GENERATED_BODY") ? FPropertyDecl::EAccess::Private : FPropertyDecl::EAccess::Public;
						}
						++Position;
						ReadParenthesized();
						continue;
					}
					if ((Token.Is("public") || Token.Is("protected") || Token.Is("private")) && PeekIs(":", 1))
					{
						Access = Token.Is("public") ? FPropertyDecl::EAccess::Public : Token.Is("protected") ? FPropertyDecl::EAccess::Protected : FPropertyDecl::EAccess::Private;
						Position += 2;
						continue;
					}
					if (Token.Is("UPROPERTY"))
					{
						FPropertyDecl Property;
						Property.Line = Token.Line;
						++Position;
						ParseSpecifierList(ReadParenthesized(), Property.Specifiers, &Property.Meta);
						Property.Doc = std::move(Doc);
						Property.bDeprecated = bDeprecated;
						Property.Access = Access;
						if (ParsePropertyDeclaration(Property))
						{
							Decl.Properties.push_back(std::move(Property));
						}
						Doc.clear();
						bDeprecated = false;
						continue;
					}
					if (Token.Is(";"))
					{
						++Position;
						continue;
					}
					if (!ParseSpecialMember(Decl))
					{
						SkipMember();
					}
					Doc.clear();
					bDeprecated = false;
				}
			}

			// The name a member declares before its first parenthesis ("OverrideConfigSection" in
			// "virtual void OverrideConfigSection(FString& Name) override"), and where that
			// parenthesis is; empty when the member has none before its end.
			std::string FindMemberFunctionName(size_t& OutOpen) const
			{
				for (size_t Index = Position; Index < Tokens.size(); ++Index)
				{
					const FToken& Token = Tokens[Index];
					if (Token.Is(";") || Token.Is("{") || Token.Is("}") || Token.Is("=") || Token.Is("UPROPERTY") || Token.Is("UFUNCTION"))
					{
						return std::string();
					}
					if (Token.Is("("))
					{
						OutOpen = Index;
						return Index > Position && Tokens[Index - 1].Kind == ETokenKind::Identifier ? Tokens[Index - 1].Text : std::string();
					}
				}
				return std::string();
			}

			// Constructors and OverrideConfigSection: what they say about the class's defaults and
			// its config section. False for any other member (left to SkipMember).
			bool ParseSpecialMember(FTypeDecl& Decl)
			{
				size_t Open = 0;
				const std::string Name = FindMemberFunctionName(Open);
				const bool bConstructor = Name == Decl.Name && Open >= 1 && !(Open >= 2 + Position && Tokens[Open - 2].Is("~"));
				if (!bConstructor && Name != "OverrideConfigSection")
				{
					return false;
				}
				const size_t Start = Open - 1;
				Position = Open;
				const size_t ParametersStart = Position + 1;
				if (!SkipBalanced())
				{
					return true;
				}
				const std::vector<FToken> Parameters(Tokens.begin() + static_cast<std::ptrdiff_t>(ParametersStart), Tokens.begin() + static_cast<std::ptrdiff_t>(Position - 1));
				while (Peek() && Peek()->Kind == ETokenKind::Identifier)
				{
					++Position;
				}
				if (bConstructor)
				{
					ParseConstructor(Decl, Start);
					return true;
				}
				ParseSectionOverride(Decl, Parameters);
				return true;
			}

			void ParseConstructor(FTypeDecl& Decl, size_t Start)
			{
				Decl.bDeclaresConstructor = true;
				if (Accept(";"))
				{
					Decl.bConstructorDefinedElsewhere = true;
					return;
				}
				// "= default;" and "= delete;" leave the defaults to the members' initializers.
				if (Accept("="))
				{
					SkipMember();
					return;
				}
				// The member initializers, up to the body; "Member{1}" is an initializer, not the body.
				while (Peek() && !PeekIs(";") && !PeekIs("}"))
				{
					if (PeekIs("(") || PeekIs("["))
					{
						SkipBalanced();
						continue;
					}
					if (PeekIs("{"))
					{
						const bool bMemberBrace = Position >= 2 && Tokens[Position - 1].Kind == ETokenKind::Identifier
							&& (Tokens[Position - 2].Is(":") || Tokens[Position - 2].Is(","));
						if (!bMemberBrace)
						{
							break;
						}
						SkipBalanced();
						continue;
					}
					++Position;
				}
				if (!PeekIs("{") || !SkipBalanced())
				{
					return;
				}
				Decl.InlineConstructor.assign(Tokens.begin() + static_cast<std::ptrdiff_t>(Start), Tokens.begin() + static_cast<std::ptrdiff_t>(Position));
			}

			// "{ Name = TEXT("/Script/Module.Section"); }" is the one form read; anything else keeps
			// the reason it was not.
			void ParseSectionOverride(FTypeDecl& Decl, const std::vector<FToken>& Parameters)
			{
				Decl.SectionOverrideKind = FTypeDecl::ESectionOverride::Unreadable;
				if (Accept(";"))
				{
					Decl.SectionOverride = "its body is not in the header";
					return;
				}
				if (Accept("="))
				{
					SkipMember();
					Decl.SectionOverride = "its body is not in the header";
					return;
				}
				if (!PeekIs("{"))
				{
					SkipMember();
					Decl.SectionOverride = "its declaration could not be read";
					return;
				}
				const size_t BodyStart = Position + 1;
				if (!SkipBalanced())
				{
					Decl.SectionOverride = "its body could not be read";
					return;
				}
				const std::vector<FToken> Body(Tokens.begin() + static_cast<std::ptrdiff_t>(BodyStart), Tokens.begin() + static_cast<std::ptrdiff_t>(Position - 1));
				const std::string Parameter = !Parameters.empty() && Parameters.back().Kind == ETokenKind::Identifier ? Parameters.back().Text : std::string();
				auto Literal = [&Body](size_t At) -> const FToken*
				{
					if (At < Body.size() && Body[At].Kind == ETokenKind::String && At + 1 < Body.size() && Body[At + 1].Is(";") && At + 2 == Body.size())
					{
						return &Body[At];
					}
					return nullptr;
				};
				const bool bAssigns = !Parameter.empty() && Body.size() >= 4 && Body[0].Is(Parameter) && Body[1].Is("=");
				const FToken* Value = nullptr;
				if (bAssigns && Body.size() == 7 && Body[2].Is("TEXT") && Body[3].Is("(") && Body[5].Is(")"))
				{
					Value = Body[4].Kind == ETokenKind::String && Body[6].Is(";") ? &Body[4] : nullptr;
				}
				else if (bAssigns)
				{
					Value = Literal(2);
				}
				if (!Value)
				{
					Decl.SectionOverride = "its body is not a single assignment of a string literal";
					return;
				}
				Decl.SectionOverrideKind = FTypeDecl::ESectionOverride::Literal;
				Decl.SectionOverride = UnquoteString(Value->Text);
			}

			// A function, a nested type, a plain member: up to its ';' or the end of its body.
			void SkipMember()
			{
				const size_t Start = Position;
				while (!AtEnd())
				{
					const FToken& Token = Tokens[Position];
					if (Token.Is(";"))
					{
						++Position;
						return;
					}
					if (Token.Is("}"))
					{
						// The enclosing body's end: left for the caller.
						return;
					}
					// A macro line without a semicolon ("DECLARE_EVENT(UFoo, FChanged)") ends where
					// the next reflected member begins.
					if (Position > Start && (Token.Is("UPROPERTY") || Token.Is("UFUNCTION") || Token.Is("GENERATED_BODY") || Token.Is("GENERATED_UCLASS_BODY")
						|| Token.Is("UE_DEPRECATED") || ((Token.Is("public") || Token.Is("protected") || Token.Is("private")) && PeekIs(":", 1))))
					{
						return;
					}
					if (Token.Is("(") || Token.Is("["))
					{
						SkipBalanced();
						continue;
					}
					if (Token.Is("{"))
					{
						SkipBalanced();
						// "int32 X{1};" and "struct F { } Y;" go on to their ';'; a function body ends here.
						if (PeekIs(";") || (Peek() && Peek()->Kind == ETokenKind::Identifier && PeekIs(";", 1)))
						{
							continue;
						}
						return;
					}
					++Position;
				}
			}

			bool ParsePropertyDeclaration(FPropertyDecl& Property)
			{
				std::vector<FToken> Declaration;
				int32_t Depth = 0;
				while (!AtEnd())
				{
					const FToken& Token = Tokens[Position];
					if (Depth == 0 && (Token.Is(";") || Token.Is("}")))
					{
						break;
					}
					Depth += (Token.Is("(") || Token.Is("{") || Token.Is("[")) ? 1 : (Token.Is(")") || Token.Is("}") || Token.Is("]")) ? -1 : 0;
					if (Token.Kind != ETokenKind::DocComment)
					{
						Declaration.push_back(Token);
					}
					++Position;
				}
				Accept(";");

				// The name is the identifier before the first '[', ':' (a bitfield), '=' or '{' at depth 0.
				size_t Stop = Declaration.size();
				int32_t AngleDepth = 0;
				for (size_t Index = 0; Index < Declaration.size(); ++Index)
				{
					const FToken& Token = Declaration[Index];
					AngleDepth += Token.Is("<") ? 1 : Token.Is(">") ? -1 : 0;
					if (AngleDepth == 0 && (Token.Is("[") || Token.Is(":") || Token.Is("=") || Token.Is("{")))
					{
						Stop = Index;
						break;
					}
				}
				if (Stop == 0 || Declaration[Stop - 1].Kind != ETokenKind::Identifier)
				{
					return false;
				}
				Property.Name = Declaration[Stop - 1].Text;
				std::string Type;
				for (size_t Index = 0; Index + 1 < Stop; ++Index)
				{
					const FToken& Token = Declaration[Index];
					if (Token.Kind == ETokenKind::Identifier && IsTypeKeyword(Token.Text))
					{
						continue;
					}
					if (!Type.empty() && IsIdentifierText(Token.Text) && IsIdentifierText(std::string_view(&Type.back(), 1)))
					{
						Type.push_back(' ');
					}
					Type += Token.Text;
				}
				Property.Type = Type;
				if (Property.Type.empty())
				{
					return false;
				}

				size_t Index = Stop;
				if (Index < Declaration.size() && Declaration[Index].Is("["))
				{
					++Index;
					while (Index < Declaration.size() && !Declaration[Index].Is("]"))
					{
						Property.ArrayDim += Declaration[Index++].Text;
					}
					++Index;
				}
				if (Index < Declaration.size() && Declaration[Index].Is(":"))
				{
					Property.bBitfield = true;
					Index += 2;
				}
				const bool bBraceInit = Index < Declaration.size() && Declaration[Index].Is("{");
				if (Index < Declaration.size() && (Declaration[Index].Is("=") || bBraceInit))
				{
					size_t End = Declaration.size();
					if (bBraceInit && Declaration.back().Is("}"))
					{
						++Index;
						--End;
					}
					else if (!bBraceInit)
					{
						++Index;
					}
					for (; Index < End; ++Index)
					{
						Property.Default += (Property.Default.empty() ? "" : " ") + Declaration[Index].Text;
					}
				}
				return true;
			}

			void ParseEnum(FHeaderDecls& Out)
			{
				FEnumDecl Decl;
				Decl.Line = Tokens[Position].Line;
				++Position;
				std::vector<FSpecifier> Specifiers;
				ParseSpecifierList(ReadParenthesized(), Specifiers, &Decl.Meta);
				PendingDoc.clear();
				while (Peek() && Peek()->Kind == ETokenKind::DocComment)
				{
					++Position;
				}
				if (ParseEnumDeclaration(Decl))
				{
					Out.Enums.push_back(std::move(Decl));
				}
			}

			// "namespace EFoo { enum Type ... }", "enum class EFoo : uint8 { ... }" or "enum EFoo { ... }",
			// from its first keyword; false for a forward declaration or text that is not one.
			bool ParseEnumDeclaration(FEnumDecl& Decl)
			{
				if (Accept("namespace"))
				{
					Decl.Form = FEnumDecl::EForm::Namespaced;
					if (!Peek() || Peek()->Kind != ETokenKind::Identifier)
					{
						return false;
					}
					Decl.Name = Tokens[Position++].Text;
					if (!Accept("{"))
					{
						return false;
					}
					while (Peek() && Peek()->Kind == ETokenKind::DocComment)
					{
						++Position;
					}
					if (!Accept("enum") || !Peek())
					{
						return false;
					}
					++Position;
				}
				else
				{
					if (!Accept("enum"))
					{
						return false;
					}
					if (Accept("class") || Accept("struct"))
					{
						Decl.Form = FEnumDecl::EForm::EnumClass;
					}
					if (!Peek() || Peek()->Kind != ETokenKind::Identifier)
					{
						return false;
					}
					Decl.Name = Tokens[Position++].Text;
				}
				if (Accept(":"))
				{
					while (Peek() && !PeekIs("{") && !PeekIs(";"))
					{
						Decl.Underlying += (Decl.Underlying.empty() ? "" : " ") + Tokens[Position++].Text;
					}
				}
				if (!Accept("{"))
				{
					return false;
				}
				std::map<std::string, int64_t> Known;
				const FConstantLookup Lookup = [&Known](const std::string&, const std::string& Name, int64_t& OutValue)
				{
					const auto Found = Known.find(Name);
					if (Found == Known.end())
					{
						return false;
					}
					OutValue = Found->second;
					return true;
				};
				int64_t Next = 0;
				while (!AtEnd() && !PeekIs("}"))
				{
					if (Peek()->Kind == ETokenKind::DocComment || PeekIs(","))
					{
						++Position;
						continue;
					}
					if (Peek()->Kind != ETokenKind::Identifier)
					{
						++Position;
						continue;
					}
					FEnumeratorDecl Enumerator;
					Enumerator.Name = Tokens[Position++].Text;
					Enumerator.Value = Next;
					if (Accept("="))
					{
						std::vector<FToken> Expression;
						while (!AtEnd() && !PeekIs(",") && !PeekIs("}") && !PeekIs("UMETA"))
						{
							Expression.push_back(Tokens[Position++]);
						}
						int64_t Value = 0;
						if (EvaluateIntegerExpression(Expression, Lookup, Value))
						{
							Enumerator.Value = Value;
						}
					}
					if (Accept("UMETA"))
					{
						ParseSpecifierList(ReadParenthesized(), Enumerator.Meta, nullptr);
					}
					Known[Enumerator.Name] = Enumerator.Value;
					Next = static_cast<int64_t>(static_cast<uint64_t>(Enumerator.Value) + 1u);
					Decl.Enumerators.push_back(std::move(Enumerator));
				}
				Accept("}");
				return !Decl.Name.empty();
			}

			std::string PendingDoc;
		};
	}

	bool FPropertyDecl::HasSpecifier(std::string_view Key) const
	{
		return FindIn(Specifiers, Key) != nullptr;
	}

	const std::string* FPropertyDecl::FindMeta(std::string_view Key) const
	{
		const FSpecifier* Found = FindIn(Meta, Key);
		return Found ? &Found->Value : nullptr;
	}

	bool FPropertyDecl::IsDeprecated() const
	{
		constexpr std::string_view Suffix = "_DEPRECATED";
		const bool bDeprecatedName = Name.size() > Suffix.size() && Name.compare(Name.size() - Suffix.size(), Suffix.size(), Suffix) == 0;
		return bDeprecated || bDeprecatedName || FindMeta("DeprecatedProperty");
	}

	bool FTypeDecl::HasSpecifier(std::string_view Key) const
	{
		return FindIn(Specifiers, Key) != nullptr;
	}

	const std::string* FTypeDecl::FindSpecifier(std::string_view Key) const
	{
		const FSpecifier* Found = FindIn(Specifiers, Key);
		return Found ? &Found->Value : nullptr;
	}

	const FTypeDecl* FHeaderDecls::FindClass(std::string_view Name) const
	{
		return FindByName(Classes, Name);
	}

	const FTypeDecl* FHeaderDecls::FindStruct(std::string_view Name) const
	{
		return FindByName(Structs, Name);
	}

	const FEnumDecl* FHeaderDecls::FindEnum(std::string_view Name) const
	{
		return FindByName(Enums, Name);
	}

	bool FHeaderDecls::FindEnumConstant(std::string_view Scope, std::string_view Name, int64_t& OutValue) const
	{
		for (const std::vector<FEnumDecl>* List : {&Enums, &PlainEnums})
		{
			for (const FEnumDecl& Enum : *List)
			{
				// A bare name reaches only the enumerators of an unscoped enum, as in C++.
				if (Scope.empty() ? Enum.Form != FEnumDecl::EForm::Regular : Enum.Name != Scope)
				{
					continue;
				}
				for (const FEnumeratorDecl& Enumerator : Enum.Enumerators)
				{
					if (Enumerator.Name == Name)
					{
						OutValue = Enumerator.Value;
						return true;
					}
				}
			}
		}
		return false;
	}

	FHeaderDecls ReadHeader(std::string_view Text)
	{
		FTokenizedHeader Tokenized = TokenizeHeader(Text);
		FHeaderDecls Decls;
		Decls.Includes = std::move(Tokenized.Includes);
		FParser(Tokenized.Tokens).Run(Decls);
		return Decls;
	}
}
