// How the text of an INI file becomes section headers and key lines, as the engine's
// hierarchical loader reads it.
#pragma once

#include "CoreMinimal.h"

namespace UE::Host::Config
{
	enum class EConfigLineKind : uint8
	{
		Ignored,
		Section,
		KeyValue,
	};

	struct FConfigLine
	{
		EConfigLineKind Kind = EConfigLineKind::Ignored;
		// The header's name, for a section line.
		FString SectionName;
		// ' ' for a plain line, else one of + - . ! @ * ^.
		TCHAR Operation = ' ';
		FString Key;
		// Quotes removed and escapes resolved when the value was quoted; verbatim otherwise.
		FString Value;
	};

	// Reads the logical line that starts at Start: "//" outside quotes starts a comment, a
	// "{ }" block may span lines (braces dropped, line breaks become spaces) and a trailing
	// backslash continues the line. Returns the index of the line break that ends the line, or
	// Length. Iterative and linear in the text it consumes.
	int32 ReadLogicalLine(const TCHAR* Data, int32 Length, int32 Start, FString* OutText);

	// Where the logical line that starts at Start ends, as ReadLogicalLine finds it, without
	// reading its text.
	int32 SkipLogicalLine(const TCHAR* Data, int32 Length, int32 Start);

	// Classifies one logical line: a header when its first character is '[' and its last (after
	// trailing white space) is ']'; a ';' line is a comment; otherwise a key line when it holds '='.
	FConfigLine ParseLogicalLine(FString Text);
	// The same, filling OutLine in place (its strings keep their capacity).
	void ParseLogicalLine(const FString& Text, FConfigLine& OutLine);

	// The value of a quoted string that starts at Text[0] == '"': escapes resolved, everything
	// after the closing quote dropped.
	FString ParseQuotedValue(const FString& Text);
	// The same for the Length characters at Text, appended to Out.
	void AppendQuotedValue(const TCHAR* Text, int32 Length, FString& Out);

	// Walks a file's text, returning its headers and key lines in order. Given a section, it
	// returns only that section's headers and key lines (the name compared as the cache compares
	// section names), and passes over the other lines without reading them into text.
	class FConfigTextReader
	{
	public:
		explicit FConfigTextReader(const FString& InText, const FString* InOnlySection = nullptr)
			: Text(InText)
			, OnlySection(InOnlySection)
		{
		}

		bool Next(FConfigLine& OutLine);

	private:
		const FString& Text;
		const FString* OnlySection;
		bool bInOnlySection = false;
		int32 Position = 0;
		// Reused from line to line.
		FString LineText;
	};
}
