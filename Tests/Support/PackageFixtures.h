// StringTable contents written as packages by the tests, the sample generator and the benchmarks.
#pragma once

#include "PackageWriter.h"

#include <string>

namespace OrvexTestPackages
{
	// The four-entry table (" Pad", "Alpha" with Context=Menu and Note=Detail, "Empty" with an
	// empty source, "Long" with Context=Gameplay) in a map order that is not key order.
	inline FTableContent FourEntryTable(const std::u16string& Namespace = u"UI")
	{
		FTableContent Table;
		Table.Namespace = Namespace;
		Table.Entries = {
			{u"Long", u"1234567890", {{u"Context", u"Gameplay"}}},
			{u"Alpha", u"Primary value", {{u"Note", u"Detail"}, {u"Context", u"Menu"}}},
			{u" Pad", u"Padded key", {}},
			{u"Empty", u"", {}},
		};
		return Table;
	}

	// Keys and texts beyond ASCII: accents, CJK, a character outside the BMP, CRLF line breaks,
	// and a metadata id with a number ("Note_2").
	inline FTableContent NonAsciiTable()
	{
		FTableContent Table;
		Table.Namespace = U16("Équipement");
		Table.Entries = {
			{U16("Épée_Nom"), U16("Épée à deux mains"), {{u"Comment", U16("ligne 1\r\nligne 2")}}},
			{U16("剣"), U16("💎 gem\r\n"), {{u"Note", U16("注"), 3}}},
			{u"Plain", u"ASCII only", {}},
		};
		return Table;
	}

	inline std::string PackageNameFor(const std::string& ContentPath)
	{
		return "/Game/" + ContentPath.substr(0, ContentPath.rfind('.'));
	}
}
