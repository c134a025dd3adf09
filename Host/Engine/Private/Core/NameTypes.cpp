#include "UObject/NameTypes.h"

#include "Internationalization/Text.h"

#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace
{
	// Index 0 is None in both tables.
	struct FNameTable
	{
		std::mutex Mutex;
		std::unordered_map<std::u16string, uint32> ComparisonIndices;
		std::unordered_map<std::u16string, uint32> DisplayIndices;
		std::vector<std::u16string> DisplayStrings{u"None"};
		uint32 NextComparisonIndex = 1;

		FNameTable()
		{
			ComparisonIndices.emplace(u"none", 0);
			DisplayIndices.emplace(u"None", 0);
		}

		void Find(std::u16string_view Name, uint32& OutComparison, uint32& OutDisplay)
		{
			if (Name.empty())
			{
				OutComparison = 0;
				OutDisplay = 0;
				return;
			}
			std::u16string Lower(Name);
			for (char16_t& C : Lower)
			{
				C = FChar::ToLower(C);
			}
			std::lock_guard<std::mutex> Lock(Mutex);
			auto [ComparisonIt, bNewComparison] = ComparisonIndices.try_emplace(std::move(Lower), NextComparisonIndex);
			if (bNewComparison)
			{
				++NextComparisonIndex;
			}
			OutComparison = ComparisonIt->second;
			auto [DisplayIt, bNewDisplay] = DisplayIndices.try_emplace(std::u16string(Name), static_cast<uint32>(DisplayStrings.size()));
			if (bNewDisplay)
			{
				DisplayStrings.emplace_back(Name);
			}
			OutDisplay = DisplayIt->second;
		}

		FString Display(uint32 Index)
		{
			std::lock_guard<std::mutex> Lock(Mutex);
			return FString(DisplayStrings[Index]);
		}
	};

	FNameTable& GetNameTable()
	{
		static FNameTable Table;
		return Table;
	}
}

FName::FName(const TCHAR* Name)
{
	GetNameTable().Find(Name ? std::u16string_view(Name) : std::u16string_view(), ComparisonIndex, DisplayIndex);
}

FName::FName(const ANSICHAR* Name)
	: FName(FString(Name))
{
}

FName::FName(const FString& Name)
{
	GetNameTable().Find(Name.GetStdString(), ComparisonIndex, DisplayIndex);
}

FName::FName(FStringView Name)
{
	GetNameTable().Find(Name.GetStdView(), ComparisonIndex, DisplayIndex);
}

FString FName::ToString() const
{
	return GetNameTable().Display(DisplayIndex);
}

const FText& FText::GetEmpty()
{
	static const FText Empty;
	return Empty;
}
