// StringTable fixtures written as CSV assets into temporary project folders.
#pragma once

#include "HostTestEnvironment.h"

#include <string>

// The four-entry table: " Pad", "Alpha" (metadata Context=Menu, Note=Detail), "Empty" (empty
// source), "Long" (metadata Context=Gameplay).
inline const char* FourEntryTableCsv()
{
	return "\"Key\",\"SourceString\",\"Context\",\"Note\"\n"
		   "\" Pad\",\"Padded key\",\"\",\"\"\n"
		   "\"Alpha\",\"Primary value\",\"Menu\",\"Detail\"\n"
		   "\"Empty\",\"\",\"\",\"\"\n"
		   "\"Long\",\"1234567890\",\"Gameplay\",\"\"\n";
}

inline void WriteLocalizationFixtures(const FTempHostFolders& Folders)
{
	Folders.WriteProject("Content/Localization/ST_Four.csv", FourEntryTableCsv());
	Folders.WriteProject("Content/Localization/ST_Empty.csv", "\"Key\",\"SourceString\"\n");
	Folders.WriteProject("Content/Data/DT_Items.csv", "---,Name,Weight\nSword,Sword,3\n");
}
