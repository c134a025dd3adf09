// The editor's StringTable CSV format: a header row naming Key and SourceString (letter case
// ignored, first occurrence) and one metadata column per other named cell; every later row one
// entry. Key, source and metadata cells have their backslash escapes undone after the quote
// doubling; export escapes key and source, and only doubles the quotes of metadata.
#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

#include <string>
#include <string_view>

class FStringTable;

namespace UE::Host::StringTableCsv
{
	// Replaces the table's entries and metadata with the file's rows (UTF-8, optional BOM). A file
	// holding only the header row gives an empty table. On failure the table is unchanged and
	// OutError says what is wrong and where.
	bool Parse(std::string_view Utf8Text, FStringTable& OutTable, FString& OutError);

	// The table's entries in table order: every cell quoted, '\n' line ends, UTF-8 without BOM.
	std::string Write(const FStringTable& Table);

	// Whether the text's first row names both a Key and a SourceString column.
	bool HasStringTableHeader(std::string_view Utf8Text);

	// Reads a file as UTF-8, or as UTF-16 when it starts with a UTF-16 byte-order mark (the
	// editor saves non-ASCII text that way), then parses it.
	bool LoadFile(const FString& Filename, FStringTable& OutTable, FString& OutError);

	// Writes Write's text through a temporary file beside the target, then renames it.
	bool SaveFile(const FString& Filename, const FStringTable& Table, FString& OutError);
}
