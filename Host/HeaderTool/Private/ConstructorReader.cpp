// What a class's constructor sets before the config layers apply: the member initializers and
// the plain "Member = Value;" statements of its body. Anything else that touches a member is
// noted as a change the reader did not follow, so that its value is not taken for known.
#include "HeaderTool/HeaderDeclarations.h"

namespace UE::Host::Headers
{
	namespace
	{
		std::string Join(const std::vector<FToken>& Tokens, size_t Begin, size_t End)
		{
			std::string Text;
			for (size_t Index = Begin; Index < End; ++Index)
			{
				Text += (Text.empty() ? "" : " ") + Tokens[Index].Text;
			}
			return Text;
		}

		bool IsControlKeyword(const FToken& Token)
		{
			return Token.Is("if") || Token.Is("for") || Token.Is("while") || Token.Is("switch");
		}

		class FConstructorReader : private FTokenCursor
		{
		public:
			FConstructorReader(const std::vector<FToken>& InTokens, size_t InPosition, FConstructorDefaults& InOut)
				: FTokenCursor(InTokens, InPosition), Out(InOut)
			{
			}

			// From the constructor's name: parameters, member initializers, body.
			void Read()
			{
				++Position;
				if (!PeekIs("(") || !SkipBalanced())
				{
					return;
				}
				while (Peek() && Peek()->Kind == ETokenKind::Identifier)
				{
					++Position;
				}
				if (Accept(":"))
				{
					ReadInitializers();
				}
				if (PeekIs("{"))
				{
					Block(false);
				}
			}

		private:
			// "Super(ObjectInitializer), Volume(1.0f), Mode{EMode::On}" up to the body.
			void ReadInitializers()
			{
				while (Peek() && !PeekIs("{"))
				{
					if (PeekIs(","))
					{
						++Position;
						continue;
					}
					size_t NameEnd = Position;
					while (NameEnd < Tokens.size() && !Tokens[NameEnd].Is("(") && !Tokens[NameEnd].Is("{") && !Tokens[NameEnd].Is(","))
					{
						++NameEnd;
					}
					// A qualified or templated name is a base class, not a member.
					const bool bMember = NameEnd == Position + 1 && Tokens[Position].Kind == ETokenKind::Identifier && !Tokens[Position].Is("Super");
					const std::string Name = Tokens[Position].Text;
					Position = NameEnd;
					if (!Peek() || PeekIs(","))
					{
						continue;
					}
					const size_t Open = Position;
					if (!SkipBalanced())
					{
						return;
					}
					if (bMember)
					{
						Out.Assignments.emplace_back(Name, Join(Tokens, Open + 1, Position - 1));
					}
				}
			}

			void Block(bool bNested)
			{
				++Position;
				while (Peek() && !PeekIs("}"))
				{
					Statement(bNested);
				}
				Accept("}");
			}

			void Statement(bool bNested)
			{
				if (PeekIs("{"))
				{
					Block(bNested);
					return;
				}
				if (Accept(";"))
				{
					return;
				}
				if (IsControlKeyword(*Peek()))
				{
					++Position;
					if (PeekIs("(") && !SkipBalanced())
					{
						return;
					}
					Nested();
					while (Accept("else"))
					{
						Accept("if") && PeekIs("(") && SkipBalanced();
						Nested();
					}
					return;
				}
				if (Accept("do"))
				{
					Nested();
					Accept("while") && PeekIs("(") && SkipBalanced();
					Accept(";");
					return;
				}
				const size_t Start = Position;
				while (Peek() && !PeekIs(";") && !PeekIs("}"))
				{
					if (PeekIs("(") || PeekIs("[") || PeekIs("{"))
					{
						if (!SkipBalanced())
						{
							return;
						}
						continue;
					}
					++Position;
				}
				Note(Start, Position, bNested);
				Accept(";");
			}

			void Nested()
			{
				if (Peek())
				{
					Statement(true);
				}
			}

			// One statement's effect on a member: "Member = Value" at the top level is read; any other
			// change of a member (nested, compound, through a call, an element or a field) is noted.
			void Note(size_t Begin, size_t End, bool bNested)
			{
				size_t At = Begin;
				if (At + 2 < End && Tokens[At].Is("this") && Tokens[At + 1].Is("-") && Tokens[At + 2].Is(">"))
				{
					At += 3;
				}
				if (At >= End || Tokens[At].Kind != ETokenKind::Identifier || At + 1 >= End)
				{
					return;
				}
				const std::string& Name = Tokens[At].Text;
				const FToken& Next = Tokens[At + 1];
				const bool bPlainAssignment = Next.Is("=") && At + 2 < End && !Tokens[At + 2].Is("=");
				if (bPlainAssignment && !bNested)
				{
					Out.Assignments.emplace_back(Name, Join(Tokens, At + 2, End));
					return;
				}
				const bool bCompound = At + 2 < End && Tokens[At + 2].Is("=") && (Next.Is("+") || Next.Is("-") || Next.Is("*") || Next.Is("/")
					|| Next.Is("|") || Next.Is("&") || Next.Is("^") || Next.Is("%"));
				if (bPlainAssignment || bCompound || Next.Is(".") || Next.Is("[") || (Next.Is("-") && At + 2 < End && Tokens[At + 2].Is(">"))
					|| (Next.Is("+") && At + 2 < End && Tokens[At + 2].Is("+")) || (Next.Is("-") && At + 2 < End && Tokens[At + 2].Is("-")))
				{
					Out.Changed.push_back(Name);
				}
			}

			FConstructorDefaults& Out;
		};

		bool TakesObjectInitializer(const std::vector<FToken>& Tokens, size_t NameAt)
		{
			for (size_t Index = NameAt + 1; Index < Tokens.size() && !Tokens[Index].Is(")"); ++Index)
			{
				if (Tokens[Index].Is("FObjectInitializer"))
				{
					return true;
				}
			}
			return false;
		}
	}

	bool ReadConstructorDefinition(std::string_view Text, const std::string& ClassName, FConstructorDefaults& OutDefaults)
	{
		const std::vector<FToken> Tokens = TokenizeHeader(Text).Tokens;
		// The engine makes a default object with the FObjectInitializer constructor when there is one.
		size_t Chosen = Tokens.size();
		for (size_t Index = 0; Index + 3 < Tokens.size(); ++Index)
		{
			if (Tokens[Index].Is(ClassName) && Tokens[Index + 1].Is("::") && Tokens[Index + 2].Is(ClassName) && Tokens[Index + 3].Is("("))
			{
				if (Chosen == Tokens.size() || TakesObjectInitializer(Tokens, Index + 2))
				{
					Chosen = Index + 2;
				}
			}
		}
		if (Chosen == Tokens.size())
		{
			return false;
		}
		FConstructorReader(Tokens, Chosen, OutDefaults).Read();
		return true;
	}

	void ReadInlineConstructor(const std::vector<FToken>& Tokens, FConstructorDefaults& OutDefaults)
	{
		if (!Tokens.empty())
		{
			FConstructorReader(Tokens, 0, OutDefaults).Read();
		}
	}
}
