// Assembling one category's merged config from its layer files.
#pragma once

#include "CoreMinimal.h"
#include "Misc/ConfigCacheIni.h"

namespace UE::Host::Config
{
	// Every <C> with Base<C>.ini in the engine config folder or Default<C>.ini in the project
	// config folder: engine names first, then the project's, each in name order.
	TArray<FString> DiscoverCategories();

	// Builds the category from the hierarchy, the saved file and the "--ini" overrides. Missing
	// and unreadable files are skipped. Returns the number of the category's own files read (Base.ini not counted).
	int32 BuildCategory(const FString& Category, FConfigFile& OutFile);
	// The hierarchy alone: every layer below the saved file, without the saved file and the
	// overrides. What a saved file records differences from.
	int32 BuildCategoryHierarchy(const FString& Category, FConfigFile& OutFile);
	// One section of the category as BuildCategory gives it, reading only that section's lines of
	// each layer; false when no layer has the section.
	bool BuildCategorySection(const FString& Category, const FString& Section, FConfigSection& OutSection);
}
