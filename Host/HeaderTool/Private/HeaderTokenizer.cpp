#include "HeaderTool/HeaderTokenizer.h"

#include <cctype>
#include <cstdlib>

namespace UE::Host::Headers
{
	namespace
	{
		// Plain comparisons: every byte of every header goes through these.
		bool IsIdentStart(char C)
		{
			return (C >= 'a' && C <= 'z') || (C >= 'A' && C <= 'Z') || C == '_' || static_cast<unsigned char>(C) >= 0x80;
		}

		bool IsIdentChar(char C)
		{
			return IsIdentStart(C) || (C >= '0' && C <= '9');
		}

		// Names an editor build on Linux defines; everything else is 0 in a condition.
		int64_t KnownMacroValue(std::string_view Name, bool& bOutKnown)
		{
			static const std::pair<std::string_view, int64_t> Known[] = {
				{"WITH_EDITOR", 1}, {"WITH_EDITORONLY_DATA", 1}, {"WITH_ENGINE", 1}, {"WITH_UNREAL_DEVELOPER_TOOLS", 1},
				{"WITH_PLUGIN_SUPPORT", 1}, {"UE_EDITOR", 1}, {"PLATFORM_LINUX", 1}, {"PLATFORM_UNIX", 1}, {"PLATFORM_DESKTOP", 1},
				{"PLATFORM_64BITS", 1}, {"UE_BUILD_DEVELOPMENT", 1}, {"WITH_HOT_RELOAD", 1}, {"WITH_SERVER_CODE", 1},
				{"PLATFORM_WINDOWS", 0}, {"PLATFORM_MAC", 0}, {"PLATFORM_IOS", 0}, {"PLATFORM_ANDROID", 0}, {"PLATFORM_APPLE", 0},
				{"UE_BUILD_SHIPPING", 0}, {"UE_BUILD_TEST", 0}, {"UE_BUILD_DEBUG", 0}, {"UE_GAME", 0}, {"UE_SERVER", 0}, {"CPP", 0},
			};
			for (const auto& Entry : Known)
			{
				if (Entry.first == Name)
				{
					bOutKnown = true;
					return Entry.second;
				}
			}
			bOutKnown = false;
			return 0;
		}

		// A small recursive-descent evaluator over the tokens of one directive.
		class FConditionEvaluator : private FTokenCursor
		{
		public:
			explicit FConditionEvaluator(const std::vector<FToken>& InTokens) : FTokenCursor(InTokens) {}

			int64_t Evaluate() { return ParseOr(); }

		private:
			// "&&" and "||" arrive as two punctuators.
			bool AcceptPair(char C)
			{
				if (Position + 1 < Tokens.size() && Tokens[Position].Is(std::string(1, C)) && Tokens[Position + 1].Is(std::string(1, C)))
				{
					Position += 2;
					return true;
				}
				return false;
			}

			int64_t ParseOr()
			{
				int64_t Value = ParseAnd();
				while (AcceptPair('|'))
				{
					const int64_t Right = ParseAnd();
					Value = (Value || Right) ? 1 : 0;
				}
				return Value;
			}

			int64_t ParseAnd()
			{
				int64_t Value = ParseCompare();
				while (AcceptPair('&'))
				{
					const int64_t Right = ParseCompare();
					Value = (Value && Right) ? 1 : 0;
				}
				return Value;
			}

			int64_t ParseCompare()
			{
				int64_t Value = ParseUnary();
				for (;;)
				{
					if (Position + 1 < Tokens.size() && Tokens[Position + 1].Is("="))
					{
						const std::string& Op = Tokens[Position].Text;
						if (Op == "=" || Op == "!" || Op == "<" || Op == ">")
						{
							Position += 2;
							const int64_t Right = ParseUnary();
							Value = Op == "=" ? Value == Right : Op == "!" ? Value != Right : Op == "<" ? Value <= Right : Value >= Right;
							continue;
						}
					}
					if (Accept("<"))
					{
						Value = Value < ParseUnary();
						continue;
					}
					if (Accept(">"))
					{
						Value = Value > ParseUnary();
						continue;
					}
					return Value;
				}
			}

			int64_t ParseUnary()
			{
				if (Accept("!"))
				{
					return ParseUnary() ? 0 : 1;
				}
				if (Accept("-"))
				{
					return static_cast<int64_t>(0 - static_cast<uint64_t>(ParseUnary()));
				}
				if (Accept("("))
				{
					const int64_t Value = ParseOr();
					Accept(")");
					return Value;
				}
				const FToken* Token = Peek();
				if (!Token)
				{
					return 0;
				}
				++Position;
				if (Token->Kind == ETokenKind::Number)
				{
					return std::strtoll(Token->Text.c_str(), nullptr, 0);
				}
				if (Token->Kind != ETokenKind::Identifier)
				{
					return 0;
				}
				if (Token->Text == "defined")
				{
					const bool bParen = Accept("(");
					const FToken* Name = Peek();
					bool bKnown = false;
					int64_t Value = 0;
					if (Name)
					{
						++Position;
						Value = KnownMacroValue(Name->Text, bKnown);
					}
					if (bParen)
					{
						Accept(")");
					}
					// Names we list as 0 are still defined by the engine's build.
					return bKnown ? 1 : (Value ? 1 : 0);
				}
				if (Accept("("))
				{
					// A function-like macro we cannot expand: its arguments are skipped, its value 0.
					int32_t Depth = 1;
					while (Peek() && Depth > 0)
					{
						Depth += Peek()->Is("(") ? 1 : Peek()->Is(")") ? -1 : 0;
						++Position;
					}
					return 0;
				}
				bool bKnown = false;
				return KnownMacroValue(Token->Text, bKnown);
			}
		};

		class FTokenizer
		{
		public:
			explicit FTokenizer(std::string_view InText) : Text(InText) {}

			FTokenizedHeader Run()
			{
				while (Position < Text.size())
				{
					const char C = Text[Position];
					if (C == '\n')
					{
						++Line;
						++Position;
						bLineStart = true;
						continue;
					}
					if (C == ' ' || C == '\t' || C == '\r' || C == '\f' || C == '\v')
					{
						++Position;
						continue;
					}
					if (C == '\\' && Position + 1 < Text.size() && (Text[Position + 1] == '\n' || Text[Position + 1] == '\r'))
					{
						++Position;
						continue;
					}
					if (C == '/' && Position + 1 < Text.size() && Text[Position + 1] == '/')
					{
						SkipLineComment();
						continue;
					}
					if (C == '/' && Position + 1 < Text.size() && Text[Position + 1] == '*')
					{
						ReadBlockComment();
						continue;
					}
					if (C == '#' && bLineStart)
					{
						ReadDirective();
						continue;
					}
					bLineStart = false;
					ReadToken();
				}
				return std::move(Result);
			}

		private:
			bool IsActive() const
			{
				for (const FConditional& Conditional : Conditionals)
				{
					if (!Conditional.bActive)
					{
						return false;
					}
				}
				return true;
			}

			void Emit(ETokenKind Kind, std::string_view TokenText, int32_t TokenLine)
			{
				if (IsActive())
				{
					Result.Tokens.push_back(FToken{Kind, std::string(TokenText), TokenLine});
				}
			}

			void SkipLineComment()
			{
				while (Position < Text.size() && Text[Position] != '\n')
				{
					// A backslash at the end continues a line comment too.
					if (Text[Position] == '\\' && Position + 1 < Text.size() && Text[Position + 1] == '\n')
					{
						++Line;
						++Position;
					}
					++Position;
				}
			}

			void ReadBlockComment()
			{
				const size_t Start = Position;
				const int32_t StartLine = Line;
				Position += 2;
				while (Position < Text.size() && !(Text[Position] == '*' && Position + 1 < Text.size() && Text[Position + 1] == '/'))
				{
					Line += Text[Position] == '\n' ? 1 : 0;
					++Position;
				}
				Position = Position < Text.size() ? Position + 2 : Text.size();
				const std::string_view Comment = Text.substr(Start, Position - Start);
				// "/**/" is empty, not a doc comment.
				if (Comment.size() > 4 && Comment[2] == '*')
				{
					Emit(ETokenKind::DocComment, Comment, StartLine);
				}
			}

			// The rest of a directive line, continuations joined, comments dropped.
			std::string ReadDirectiveText()
			{
				std::string Directive;
				while (Position < Text.size() && Text[Position] != '\n')
				{
					const char C = Text[Position];
					if (C == '\\' && Position + 1 < Text.size() && (Text[Position + 1] == '\n' || Text[Position + 1] == '\r'))
					{
						Position += Text[Position + 1] == '\r' ? 2 : 1;
						if (Position < Text.size() && Text[Position] == '\n')
						{
							++Position;
						}
						++Line;
						Directive.push_back(' ');
						continue;
					}
					if (C == '/' && Position + 1 < Text.size() && Text[Position + 1] == '/')
					{
						SkipLineComment();
						break;
					}
					if (C == '/' && Position + 1 < Text.size() && Text[Position + 1] == '*')
					{
						Position += 2;
						while (Position < Text.size() && !(Text[Position] == '*' && Position + 1 < Text.size() && Text[Position + 1] == '/'))
						{
							Line += Text[Position] == '\n' ? 1 : 0;
							++Position;
						}
						Position = Position < Text.size() ? Position + 2 : Text.size();
						Directive.push_back(' ');
						continue;
					}
					Directive.push_back(C);
					++Position;
				}
				return Directive;
			}

			void ReadDirective()
			{
				++Position;
				const std::string Directive = ReadDirectiveText();
				size_t Cursor = 0;
				while (Cursor < Directive.size() && std::isspace(static_cast<unsigned char>(Directive[Cursor])))
				{
					++Cursor;
				}
				size_t NameEnd = Cursor;
				while (NameEnd < Directive.size() && IsIdentChar(Directive[NameEnd]))
				{
					++NameEnd;
				}
				const std::string Name = Directive.substr(Cursor, NameEnd - Cursor);
				const std::string_view Rest = std::string_view(Directive).substr(NameEnd);

				if (Name == "if" || Name == "ifdef" || Name == "ifndef")
				{
					bool bValue = false;
					if (Name == "if")
					{
						bValue = EvaluateCondition(Rest);
					}
					else
					{
						const std::string Expression = "defined(" + std::string(Rest) + ")";
						bValue = EvaluateCondition(Expression) == (Name == "ifdef");
					}
					Conditionals.push_back(FConditional{bValue, bValue});
				}
				else if (Name == "elif" && !Conditionals.empty())
				{
					FConditional& Top = Conditionals.back();
					Top.bActive = !Top.bTaken && EvaluateCondition(Rest);
					Top.bTaken = Top.bTaken || Top.bActive;
				}
				else if (Name == "else" && !Conditionals.empty())
				{
					FConditional& Top = Conditionals.back();
					Top.bActive = !Top.bTaken;
					Top.bTaken = true;
				}
				else if (Name == "endif" && !Conditionals.empty())
				{
					Conditionals.pop_back();
				}
				else if (Name == "include" && IsActive())
				{
					const size_t Open = Rest.find_first_of("\"<");
					if (Open != std::string_view::npos)
					{
						const size_t Close = Rest.find_first_of(Rest[Open] == '"' ? "\"" : ">", Open + 1);
						if (Close != std::string_view::npos)
						{
							Result.Includes.push_back(std::string(Rest.substr(Open + 1, Close - Open - 1)));
						}
					}
				}
			}

			void ReadQuoted(char Quote, ETokenKind Kind, size_t Start)
			{
				++Position;
				while (Position < Text.size() && Text[Position] != Quote && Text[Position] != '\n')
				{
					Position += Text[Position] == '\\' ? 2 : 1;
				}
				Position = Position < Text.size() ? Position + 1 : Text.size();
				Emit(Kind, Text.substr(Start, Position - Start), Line);
			}

			void ReadToken()
			{
				const size_t Start = Position;
				const char C = Text[Position];
				// R"delim( ... )delim"
				if (C == 'R' && Position + 1 < Text.size() && Text[Position + 1] == '"')
				{
					const size_t Paren = Text.find('(', Position + 2);
					if (Paren != std::string_view::npos)
					{
						const std::string Terminator = ")" + std::string(Text.substr(Position + 2, Paren - Position - 2)) + "\"";
						const size_t End = Text.find(Terminator, Paren);
						const size_t Stop = End == std::string_view::npos ? Text.size() : End + Terminator.size();
						for (size_t Index = Position; Index < Stop; ++Index)
						{
							Line += Text[Index] == '\n' ? 1 : 0;
						}
						Position = Stop;
						const std::string Body(Text.substr(Paren + 1, (End == std::string_view::npos ? Text.size() : End) - Paren - 1));
						std::string Quoted = "\"";
						for (const char Ch : Body)
						{
							if (Ch == '"' || Ch == '\\')
							{
								Quoted.push_back('\\');
							}
							Quoted.push_back(Ch);
						}
						Quoted.push_back('"');
						Emit(ETokenKind::String, Quoted, Line);
						return;
					}
				}
				if (IsIdentStart(C))
				{
					while (Position < Text.size() && IsIdentChar(Text[Position]))
					{
						++Position;
					}
					// Prefixed literals: u"..", L"..", u8"..".
					if (Position < Text.size() && (Text[Position] == '"' || Text[Position] == '\'') && Position - Start <= 2)
					{
						const std::string_view Prefix = Text.substr(Start, Position - Start);
						if (Prefix == "u" || Prefix == "U" || Prefix == "L" || Prefix == "u8")
						{
							ReadQuoted(Text[Position], Text[Position] == '"' ? ETokenKind::String : ETokenKind::Char, Position);
							return;
						}
					}
					Emit(ETokenKind::Identifier, Text.substr(Start, Position - Start), Line);
					return;
				}
				if (std::isdigit(static_cast<unsigned char>(C)) || (C == '.' && Position + 1 < Text.size() && std::isdigit(static_cast<unsigned char>(Text[Position + 1]))))
				{
					while (Position < Text.size())
					{
						const char D = Text[Position];
						if (IsIdentChar(D) || D == '.' || D == '\'')
						{
							++Position;
						}
						else if ((D == '+' || D == '-') && (Text[Position - 1] == 'e' || Text[Position - 1] == 'E') && !(Text.substr(Start, 2) == "0x" || Text.substr(Start, 2) == "0X"))
						{
							++Position;
						}
						else
						{
							break;
						}
					}
					Emit(ETokenKind::Number, Text.substr(Start, Position - Start), Line);
					return;
				}
				if (C == '"')
				{
					ReadQuoted('"', ETokenKind::String, Start);
					return;
				}
				if (C == '\'')
				{
					ReadQuoted('\'', ETokenKind::Char, Start);
					return;
				}
				if (C == ':' && Position + 1 < Text.size() && Text[Position + 1] == ':')
				{
					Position += 2;
					Emit(ETokenKind::Punct, "::", Line);
					return;
				}
				++Position;
				Emit(ETokenKind::Punct, Text.substr(Start, 1), Line);
			}

			struct FConditional
			{
				bool bActive;
				bool bTaken;
			};

			std::string_view Text;
			size_t Position = 0;
			int32_t Line = 1;
			bool bLineStart = true;
			std::vector<FConditional> Conditionals;
			FTokenizedHeader Result;
		};
	}

	FTokenizedHeader TokenizeHeader(std::string_view Text)
	{
		return FTokenizer(Text).Run();
	}

	bool EvaluateCondition(std::string_view Expression)
	{
		const FTokenizedHeader Tokens = TokenizeHeader(Expression);
		return FConditionEvaluator(Tokens.Tokens).Evaluate() != 0;
	}

	std::string UnquoteString(std::string_view Quoted)
	{
		const size_t Open = Quoted.find('"');
		const size_t Close = Quoted.rfind('"');
		if (Open == std::string_view::npos || Close <= Open)
		{
			return std::string(Quoted);
		}
		std::string Result;
		for (size_t Index = Open + 1; Index < Close; ++Index)
		{
			char C = Quoted[Index];
			if (C == '\\' && Index + 1 < Close)
			{
				C = Quoted[++Index];
				C = C == 'n' ? '\n' : C == 't' ? '\t' : C == 'r' ? '\r' : C;
			}
			Result.push_back(C);
		}
		return Result;
	}

	std::string CleanDocComment(std::string_view Comment)
	{
		std::string_view Body = Comment;
		if (Body.substr(0, 3) == "/**")
		{
			Body.remove_prefix(3);
		}
		if (Body.size() >= 2 && Body.substr(Body.size() - 2) == "*/")
		{
			Body.remove_suffix(2);
		}
		std::vector<std::string> Lines;
		size_t Start = 0;
		while (Start <= Body.size())
		{
			size_t End = Body.find('\n', Start);
			End = End == std::string_view::npos ? Body.size() : End;
			std::string_view LineText = Body.substr(Start, End - Start);
			while (!LineText.empty() && std::isspace(static_cast<unsigned char>(LineText.front())))
			{
				LineText.remove_prefix(1);
			}
			while (!LineText.empty() && LineText.front() == '*')
			{
				LineText.remove_prefix(1);
			}
			while (!LineText.empty() && std::isspace(static_cast<unsigned char>(LineText.front())))
			{
				LineText.remove_prefix(1);
			}
			while (!LineText.empty() && std::isspace(static_cast<unsigned char>(LineText.back())))
			{
				LineText.remove_suffix(1);
			}
			if (!LineText.empty() || !Lines.empty())
			{
				Lines.push_back(std::string(LineText));
			}
			Start = End + 1;
		}
		while (!Lines.empty() && Lines.back().empty())
		{
			Lines.pop_back();
		}
		std::string Result;
		for (size_t Index = 0; Index < Lines.size(); ++Index)
		{
			Result += (Index ? "\n" : "") + Lines[Index];
		}
		return Result;
	}

	bool SkipBalanced(const std::vector<FToken>& Tokens, size_t& Position)
	{
		const std::string& Open = Tokens[Position].Text;
		const char* Close = Open == "(" ? ")" : Open == "{" ? "}" : "]";
		const std::string OpenText = Open;
		int32_t Depth = 0;
		while (Position < Tokens.size())
		{
			const FToken& Token = Tokens[Position++];
			Depth += Token.Is(OpenText) ? 1 : Token.Is(Close) ? -1 : 0;
			if (Depth == 0)
			{
				return true;
			}
		}
		return false;
	}
}
