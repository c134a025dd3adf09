// Sections read on their own from categories that are not merged yet. Reading one key or one
// section of such a category (a setting at start-up, a single lookup) takes that section's lines
// from the layer files and leaves every other section unread; the whole category is merged only
// once it is used more widely. A merge of the category supersedes its sections read this way.
#pragma once

#include "CoreMinimal.h"
#include "Misc/ConfigCacheIni.h"

#include <memory>
#include <vector>

namespace UE::Host::Config
{
	struct FSectionPeek
	{
		FString Category;
		FString Section;
		// False when no layer of the category has the section.
		bool bExists = false;
		FConfigSection Values;
	};

	class FSectionPeeks
	{
	public:
		const FSectionPeek* Find(const FString& Category, const FString& Section) const;
		bool HasCategory(const FString& Category) const;
		// Reads the section from the category's layers; the stamps of the category's files are
		// taken first, as a merge takes them, so that a later change on disk is noticed.
		const FSectionPeek& Read(const FString& Category, const FString& Section);
		void Forget(const FString& Category);
		void ForgetAll();

	private:
		// Each kept where it is, so a section handed out stays valid until its category is forgotten.
		std::vector<std::unique_ptr<FSectionPeek>> Peeks;
	};

	// The sections read so far through one cache.
	FSectionPeeks& GetSectionPeeks(const FConfigCacheIni& Cache);
	void ReleaseSectionPeeks(const FConfigCacheIni& Cache);
	// The categories merged so far or some of whose sections were read, in the cache's order:
	// everything a change on disk has to reach.
	TArray<FString> GetCategoriesInUse(const FConfigCacheIni& Cache);
}
