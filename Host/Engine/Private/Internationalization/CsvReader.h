// Reads CSV rows from UTF-8 text without copying: each cell is a byte range, decoded only when it
// is used. Line numbers are worked out only for error messages.
#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

#include <string>
#include <string_view>
#include <vector>

namespace UE::Host::Csv
{
	struct FCell
	{
		// The cell's bytes, quotes around it excluded.
		size_t Begin = 0;
		size_t End = 0;
		bool bQuoted = false;
		// Only quoted cells hold doubled quotes; elsewhere a quote is text.
		bool bDoubledQuotes = false;
	};

	enum class ERowResult : uint8
	{
		Row,
		End,
		Error,
	};

	class FReader
	{
	public:
		// A UTF-8 byte-order mark at the start is skipped; offsets in errors count it.
		explicit FReader(std::string_view InText);

		// Rows end at "\n" or "\r\n" outside quotes. A quoted cell must be closed, and only a comma or
		// a line end may follow its closing quote.
		ERowResult ReadRow(std::vector<FCell>& OutCells, FString& OutError);

		// Appends the cell to Out as UTF-16: doubled quotes undone, then (when asked) the escapes
		// \\ \n \r \t \' \" undone. Fails on invalid UTF-8.
		bool DecodeCell(const FCell& Cell, bool bUnescape, std::u16string& Out, FString& OutError) const;

		// An upper bound on the number of rows left, near the real count for files with quoted cells.
		size_t EstimateRows() const;

	private:
		// 1-based line of a byte offset.
		int32 LineAt(size_t Offset) const;

		std::string_view Text;
		size_t Pos = 0;
	};
}
