// An INI file held as its original bytes, split into lines that can be replaced, removed or
// added to while everything else is written back byte for byte.
#pragma once

#include "CoreMinimal.h"

#include <string>
#include <vector>

namespace UE::Host::Config
{
	enum class EConfigTextEncoding : uint8
	{
		Utf8,
		Utf8WithBom,
		Utf16LittleEndian,
		Utf16BigEndian,
	};

	enum class EEditLineKind : uint8
	{
		// Empty or white space only.
		Blank,
		// A ';' line, or a line that is nothing but a "//" comment.
		Comment,
		Section,
		KeyValue,
		// Anything else the loader ignores (no '=', no key).
		Other,
	};

	// One logical line: a single physical line, or several joined by braces or a trailing '\'.
	struct FEditLine
	{
		EEditLineKind Kind = EEditLineKind::Blank;
		int32 FirstPhysical = 0;
		int32 LastPhysical = 0;
		FString SectionName;
		TCHAR Operation = ' ';
		FString Key;
		FString Value;
	};

	class FConfigFileText
	{
	public:
		// A missing file reads as empty text; false (with OutError) when it cannot be read.
		bool Load(const FString& InFilename, FString& OutError);

		const TArray<FEditLine>& GetLines() const { return Lines; }

		// Indices of the logical lines that are headers of Section (case ignored).
		TArray<int32> FindSectionHeaders(const FString& Section) const;
		// One past the last logical line of the section that starts at Header.
		int32 GetSectionEnd(int32 Header) const;
		// The last line of the section that is neither blank nor a comment (the header at least).
		int32 GetLastEntry(int32 Header) const;

		// The text of a logical line, one entry per physical line it spans, as read.
		TArray<FString> GetPhysicalTexts(int32 LogicalLine) const;

		// Edits, applied when the file is written. Physical lines are addressed by the logical
		// lines that hold them.
		void ReplaceLine(int32 LogicalLine, const FString& NewText);
		void RemoveLine(int32 LogicalLine);
		void InsertAfter(int32 LogicalLine, const TArray<FString>& NewLines);
		// Appends "[Section]" and the lines, after a blank line unless the file is empty or already
		// ends with one; sections appended together are separated by a blank line too.
		void AppendSection(const FString& Section, const TArray<FString>& NewLines);
		// A line the file starts with, before everything else (a new file's metadata line).
		void PrependLine(const FString& Text);

		// Renders the edited file (ending with a line break) and writes it atomically.
		bool Save(FString& OutError) const;
		// Whether Save would change the file: it is missing, or the edits change its bytes.
		bool WouldChange() const;
		bool Existed() const { return bExisted; }

	private:
		struct FPhysicalLine
		{
			// The line's original bytes, without and with its line break.
			std::string ContentBytes;
			std::string BreakBytes;
			std::u16string BreakText;
			FString Content;
			bool bRemoved = false;
			bool bReplaced = false;
			FString Replacement;
			TArray<FString> InsertedAfter;
		};

		std::string Render() const;
		std::string Encode(const FString& Text) const;
		void Parse(const std::string& Body);

		FString Filename;
		EConfigTextEncoding Encoding = EConfigTextEncoding::Utf8;
		FString LineBreak = TEXT("\n");
		std::vector<FPhysicalLine> Physical;
		TArray<FEditLine> Lines;
		TArray<FString> Appended;
		TArray<FString> Prepended;
		std::string OriginalBytes;
		bool bExisted = false;
	};
}
