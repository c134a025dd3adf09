#include "UObject/NameTypes.h"

#include "Internationalization/Text.h"

#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace
{
	// Looked up by view, so that finding a name already made copies nothing.
	struct FViewHash
	{
		using is_transparent = void;
		size_t operator()(std::u16string_view Name) const
		{
			return std::hash<std::u16string_view>()(Name);
		}
	};

	template<typename ValueType>
	using TViewMap = std::unordered_map<std::u16string, ValueType, FViewHash, std::equal_to<>>;

	// Index 0 is None in both tables.
	struct FNameTable
	{
		struct FIndices
		{
			uint32 Display = 0;
			uint32 Comparison = 0;
		};

		std::mutex Mutex;
		TViewMap<uint32> ComparisonIndices;
		// Each spelling with the comparison index its lower-case form has.
		TViewMap<FIndices> DisplayIndices;
		std::vector<std::u16string> DisplayStrings{u"None"};
		uint32 NextComparisonIndex = 1;

		FNameTable()
		{
			ComparisonIndices.emplace(u"none", 0);
			DisplayIndices.emplace(u"None", FIndices());
		}

		void Find(std::u16string_view Name, uint32& OutComparison, uint32& OutDisplay)
		{
			if (Name.empty())
			{
				OutComparison = 0;
				OutDisplay = 0;
				return;
			}
			std::lock_guard<std::mutex> Lock(Mutex);
			if (const auto Found = DisplayIndices.find(Name); Found != DisplayIndices.end())
			{
				OutComparison = Found->second.Comparison;
				OutDisplay = Found->second.Display;
				return;
			}
			std::u16string Lower(Name);
			for (char16_t& C : Lower)
			{
				C = FChar::ToLower(C);
			}
			auto [ComparisonIt, bNewComparison] = ComparisonIndices.try_emplace(std::move(Lower), NextComparisonIndex);
			if (bNewComparison)
			{
				++NextComparisonIndex;
			}
			OutComparison = ComparisonIt->second;
			OutDisplay = static_cast<uint32>(DisplayStrings.size());
			DisplayIndices.emplace(std::u16string(Name), FIndices{OutDisplay, OutComparison});
			DisplayStrings.emplace_back(Name);
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
