// Tokens of a C++ header after the preprocessor's conditional blocks: comments dropped (doc
// comments kept as tokens), lines under a false #if left out, #include targets collected.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace UE::Host::Headers
{
	enum class ETokenKind : uint8_t
	{
		Identifier,
		Number,
		String,
		Char,
		Punct,
		DocComment,
	};

	struct FToken
	{
		ETokenKind Kind = ETokenKind::Punct;
		// Strings and chars keep their quotes; "::" is one token, every other punctuator one char.
		std::string Text;
		int32_t Line = 0;

		bool Is(std::string_view Other) const { return Kind != ETokenKind::String && Kind != ETokenKind::DocComment && Text == Other; }
	};

	struct FTokenizedHeader
	{
		std::vector<FToken> Tokens;
		std::vector<std::string> Includes;
	};

	FTokenizedHeader TokenizeHeader(std::string_view Text);

	// From the opening bracket at Position ("(", "{" or "[") to just past its match; false when the
	// tokens end first (Position is then at the end).
	bool SkipBalanced(const std::vector<FToken>& Tokens, size_t& Position);

	// A reader's place in a token list, with the steps every reader of tokens takes.
	class FTokenCursor
	{
	public:
		explicit FTokenCursor(const std::vector<FToken>& InTokens, size_t InPosition = 0) : Tokens(InTokens), Position(InPosition) {}

	protected:
		bool AtEnd() const { return Position >= Tokens.size(); }
		const FToken* Peek(size_t Ahead = 0) const { return Position + Ahead < Tokens.size() ? &Tokens[Position + Ahead] : nullptr; }
		bool PeekIs(std::string_view Text, size_t Ahead = 0) const { return Peek(Ahead) && Peek(Ahead)->Is(Text); }
		// Steps over the token when it is Text.
		bool Accept(std::string_view Text)
		{
			if (PeekIs(Text))
			{
				++Position;
				return true;
			}
			return false;
		}
		// From an opening bracket to just past its match. False when the tokens end first.
		bool SkipBalanced() { return Headers::SkipBalanced(Tokens, Position); }

		const std::vector<FToken>& Tokens;
		size_t Position;
	};

	// The value of a #if expression for an editor build on Linux; unknown names count as 0.
	bool EvaluateCondition(std::string_view Expression);

	// "abc" (with escapes) to abc; a TEXT("...") wrapper is the caller's business.
	std::string UnquoteString(std::string_view Quoted);
	// The text of a doc comment without its /** */ and leading stars, lines joined with '\n'.
	std::string CleanDocComment(std::string_view Comment);
}
