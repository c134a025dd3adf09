#include "Config/ConfigSectionPeeks.h"

#include "Config/ConfigDiskState.h"
#include "Config/ConfigHierarchy.h"
#include "Host/ConfigSystem.h"

#include <algorithm>
#include <unordered_map>

namespace UE::Host::Config
{
	const FSectionPeek* FSectionPeeks::Find(const FString& Category, const FString& Section) const
	{
		for (const std::unique_ptr<FSectionPeek>& Peek : Peeks)
		{
			if (Peek->Category == Category && Peek->Section == Section)
			{
				return Peek.get();
			}
		}
		return nullptr;
	}

	bool FSectionPeeks::HasCategory(const FString& Category) const
	{
		return std::any_of(Peeks.begin(), Peeks.end(), [&Category](const std::unique_ptr<FSectionPeek>& Peek) { return Peek->Category == Category; });
	}

	const FSectionPeek& FSectionPeeks::Read(const FString& Category, const FString& Section)
	{
		RecordCategoryStamps(Category);
		FSectionPeek* const Peek = Peeks.emplace_back(std::make_unique<FSectionPeek>()).get();
		Peek->Category = Category;
		Peek->Section = Section;
		Peek->bExists = BuildCategorySection(Category, Section, Peek->Values);
		return *Peek;
	}

	void FSectionPeeks::Forget(const FString& Category)
	{
		Peeks.erase(std::remove_if(Peeks.begin(), Peeks.end(), [&Category](const std::unique_ptr<FSectionPeek>& Peek) { return Peek->Category == Category; }), Peeks.end());
	}

	void FSectionPeeks::ForgetAll()
	{
		Peeks.clear();
	}

	namespace
	{
		// Never freed: a cache may be deleted while static objects are being destroyed.
		std::unordered_map<const FConfigCacheIni*, FSectionPeeks>& GetAllPeeks()
		{
			static auto* const AllPeeks = new std::unordered_map<const FConfigCacheIni*, FSectionPeeks>();
			return *AllPeeks;
		}
	}

	FSectionPeeks& GetSectionPeeks(const FConfigCacheIni& Cache)
	{
		return GetAllPeeks()[&Cache];
	}

	void ReleaseSectionPeeks(const FConfigCacheIni& Cache)
	{
		GetAllPeeks().erase(&Cache);
	}

	TArray<FString> GetCategoriesInUse(const FConfigCacheIni& Cache)
	{
		const TArray<FString> Loaded = Cache.GetLoadedCategories();
		const FSectionPeeks& Peeks = GetSectionPeeks(Cache);
		TArray<FString> Categories;
		for (const FString& Category : Cache.GetKnownCategories())
		{
			if (Loaded.Contains(Category) || Peeks.HasCategory(Category))
			{
				Categories.Add(Category);
			}
		}
		return Categories;
	}
}
