#include "HeaderTool/HeaderExpressions.h"

#include <cstdlib>

namespace UE::Host::Headers
{
	namespace
	{
		bool IsIntegerTypeName(const std::string& Name)
		{
			static const char* const Names[] = {"int8", "int16", "int32", "int64", "uint8", "uint16", "uint32", "uint64", "int", "unsigned", "long",
				"short", "char", "SIZE_T", "SSIZE_T", "size_t", "int8_t", "int16_t", "int32_t", "int64_t", "uint8_t", "uint16_t", "uint32_t", "uint64_t"};
			for (const char* Candidate : Names)
			{
				if (Name == Candidate)
				{
					return true;
				}
			}
			return false;
		}

		class FEvaluator : private FTokenCursor
		{
		public:
			FEvaluator(const std::vector<FToken>& InTokens, const FConstantLookup& InLookup) : FTokenCursor(InTokens), Lookup(InLookup) {}

			bool Run(int64_t& OutValue)
			{
				OutValue = Binary(0);
				return bOk && Position == Tokens.size();
			}

		private:
			bool Expect(std::string_view Text)
			{
				if (PeekIs(Text))
				{
					++Position;
					return true;
				}
				bOk = false;
				return false;
			}
			int64_t Fail()
			{
				bOk = false;
				return 0;
			}

			// A template argument list or a C-style cast's type: skipped, the value is not narrowed.
			bool SkipAngles()
			{
				int32_t Depth = 0;
				while (Peek())
				{
					const FToken& Token = Tokens[Position++];
					Depth += Token.Is("<") ? 1 : Token.Is(">") ? -1 : 0;
					if (Depth == 0)
					{
						return true;
					}
				}
				return false;
			}

			int64_t Primary()
			{
				const FToken* Token = Peek();
				if (!Token || !bOk)
				{
					return Fail();
				}
				if (Token->Is("-") || Token->Is("+") || Token->Is("~") || Token->Is("!"))
				{
					++Position;
					const uint64_t Value = static_cast<uint64_t>(Primary());
					return Token->Is("-") ? static_cast<int64_t>(0 - Value) : Token->Is("~") ? static_cast<int64_t>(~Value)
						: Token->Is("!") ? (Value == 0 ? 1 : 0) : static_cast<int64_t>(Value);
				}
				if (Token->Is("("))
				{
					// (int32)X is a cast; (X) a grouping.
					if (Peek(1) && Peek(1)->Kind == ETokenKind::Identifier && IsIntegerTypeName(Peek(1)->Text) && PeekIs(")", 2))
					{
						Position += 3;
						return Primary();
					}
					++Position;
					const int64_t Value = Binary(0);
					Expect(")");
					return Value;
				}
				if (Token->Kind == ETokenKind::Number)
				{
					++Position;
					char* End = nullptr;
					const uint64_t Value = std::strtoull(Token->Text.c_str(), &End, 0);
					for (; End && *End; ++End)
					{
						if (*End != 'u' && *End != 'U' && *End != 'l' && *End != 'L')
						{
							return Fail();
						}
					}
					return static_cast<int64_t>(Value);
				}
				if (Token->Kind != ETokenKind::Identifier)
				{
					return Fail();
				}
				if (Token->Is("static_cast") || Token->Is("int32") || IsIntegerTypeName(Token->Text))
				{
					++Position;
					if (PeekIs("<") && !SkipAngles())
					{
						return Fail();
					}
					if (!Expect("("))
					{
						return 0;
					}
					const int64_t Value = Binary(0);
					Expect(")");
					return Value;
				}
				std::string Scope;
				std::string Name = Tokens[Position++].Text;
				while (PeekIs("::") && Peek(1) && Peek(1)->Kind == ETokenKind::Identifier)
				{
					Scope += (Scope.empty() ? "" : "::") + Name;
					Name = Tokens[Position + 1].Text;
					Position += 2;
				}
				int64_t Value = 0;
				return Lookup && Lookup(Scope, Name, Value) ? Value : Fail();
			}

			// The binary operator at the cursor and its precedence (0: none); shifts are two tokens.
			int Precedence(size_t& OutWidth) const
			{
				OutWidth = 1;
				const FToken* Token = Peek();
				if (!Token || Token->Kind != ETokenKind::Punct)
				{
					return 0;
				}
				if ((Token->Is("<") || Token->Is(">")) && PeekIs(Token->Text, 1))
				{
					OutWidth = 2;
					return 4;
				}
				if (Token->Is("|")) { return 1; }
				if (Token->Is("^")) { return 2; }
				if (Token->Is("&")) { return 3; }
				if (Token->Is("+") || Token->Is("-")) { return 5; }
				if (Token->Is("*") || Token->Is("/") || Token->Is("%")) { return 6; }
				return 0;
			}

			int64_t Binary(int MinPrecedence)
			{
				int64_t Left = Primary();
				for (;;)
				{
					size_t Width = 1;
					const int OpPrecedence = Precedence(Width);
					if (OpPrecedence == 0 || OpPrecedence <= MinPrecedence || !bOk)
					{
						return Left;
					}
					const std::string Op = Tokens[Position].Text;
					Position += Width;
					const int64_t Right = Binary(OpPrecedence);
					// Wrapping arithmetic and shift counts kept in range: a header cannot make this undefined.
					const uint64_t L = static_cast<uint64_t>(Left);
					const uint64_t R = static_cast<uint64_t>(Right);
					const unsigned Shift = static_cast<unsigned>(R & 63u);
					if ((Op == "/" || Op == "%") && (Right == 0 || (Right == -1 && Left == INT64_MIN)))
					{
						return Fail();
					}
					Left = Op == "|" ? static_cast<int64_t>(L | R) : Op == "^" ? static_cast<int64_t>(L ^ R) : Op == "&" ? static_cast<int64_t>(L & R)
						: Op == "<" ? static_cast<int64_t>(L << Shift) : Op == ">" ? static_cast<int64_t>(L >> Shift)
						: Op == "+" ? static_cast<int64_t>(L + R) : Op == "-" ? static_cast<int64_t>(L - R) : Op == "*" ? static_cast<int64_t>(L * R)
						: Op == "/" ? Left / Right : Left % Right;
				}
			}

			const FConstantLookup& Lookup;
			bool bOk = true;
		};
	}

	bool EvaluateIntegerExpression(const std::vector<FToken>& Tokens, const FConstantLookup& Lookup, int64_t& OutValue)
	{
		OutValue = 0;
		return !Tokens.empty() && FEvaluator(Tokens, Lookup).Run(OutValue);
	}

	bool EvaluateIntegerExpression(std::string_view Text, const FConstantLookup& Lookup, int64_t& OutValue)
	{
		return EvaluateIntegerExpression(TokenizeHeader(Text).Tokens, Lookup, OutValue);
	}
}
