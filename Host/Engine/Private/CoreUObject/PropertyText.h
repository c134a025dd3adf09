// Tokens of property text, as the engine's property helpers read them.
#pragma once

#include "CoreMinimal.h"

namespace UE::Host::PropertyText
{
	void SkipWhitespace(const TCHAR*& Buffer);
	// A quoted string with C-style escapes (\" \\ \n \r \t \' \xHH \uXXXX); Buffer must be on
	// the opening quote. Null for an unterminated string.
	const TCHAR* ReadQuotedString(const TCHAR* Buffer, FString& OutString);
	// A quoted string, or a run of identifier characters (letters, digits, _ - +, and with
	// bDottedNames also . / :), or nothing. Null only for a bad quoted string.
	const TCHAR* ReadToken(const TCHAR* Buffer, FString& OutToken, bool bDottedNames = false);
	// Skips one value (up to the next ',' or ')' outside quotes and parentheses). Null on
	// unbalanced text.
	const TCHAR* SkipValue(const TCHAR* Buffer);
	// "\"text\"" with the characters the engine escapes.
	FString QuoteString(const FString& Value);
}
