#include "UObject/NameTypes.h"

#include "Internationalization/Text.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace
{
	// Index 0 is None in both tables. Each spelling is kept once, in blocks that never move, and
	// found through open-addressing tables of indices, so that a new name costs no allocation of
	// its own and a known one costs a hash and one comparison.
	class FNameTable
	{
	public:
		FNameTable()
		{
			uint32 Comparison = 0;
			uint32 Display = 0;
			Find(u"None", Comparison, Display);
		}

		void Find(std::u16string_view Name, uint32& OutComparison, uint32& OutDisplay)
		{
			if (Name.empty())
			{
				OutComparison = 0;
				OutDisplay = 0;
				return;
			}
			FScopedSpinLock Lock(Busy);
			// Both tables take the hash of the name's lower-case form: every spelling of a name meets
			// its comparison entry there, and a new spelling costs no second pass over its text.
			const uint64 Hash = HashIgnoringCase(Name);
			size_t Position = Probe(DisplaySlots, Hash);
			for (; DisplaySlots[Position].Index != EmptySlot; Position = (Position + 1) & (DisplaySlots.size() - 1))
			{
				const FEntry& Entry = DisplaySlots[Position];
				if (Entry.Hash == Hash && Displays[Entry.Index].View() == Name)
				{
					OutComparison = Displays[Entry.Index].Comparison;
					OutDisplay = Entry.Index;
					return;
				}
			}
			uint32 Comparison = EmptySlot;
			size_t LowerPosition = Probe(ComparisonSlots, Hash);
			for (; ComparisonSlots[LowerPosition].Index != EmptySlot; LowerPosition = (LowerPosition + 1) & (ComparisonSlots.size() - 1))
			{
				const FEntry& Entry = ComparisonSlots[LowerPosition];
				if (Entry.Hash == Hash && EqualsIgnoringCase(Displays[Lowered[Entry.Index]].View(), Name))
				{
					Comparison = Entry.Index;
					break;
				}
			}
			const uint32 Display = static_cast<uint32>(Displays.size());
			Displays.push_back(FSpelling{Store(Name), static_cast<uint32>(Name.size()), Comparison});
			if (Comparison == EmptySlot)
			{
				// The first spelling met stands for every spelling of the name when comparing.
				Comparison = static_cast<uint32>(Lowered.size());
				Lowered.push_back(Display);
				Displays.back().Comparison = Comparison;
				ComparisonSlots[LowerPosition] = FEntry{Hash, Comparison};
				GrowIfFull(ComparisonSlots, Lowered.size());
			}
			DisplaySlots[Position] = FEntry{Hash, Display};
			GrowIfFull(DisplaySlots, Displays.size());
			OutComparison = Comparison;
			OutDisplay = Display;
		}

		FString Display(uint32 Index)
		{
			FScopedSpinLock Lock(Busy);
			return FString(Displays[Index].View());
		}

	private:
		static constexpr uint32 EmptySlot = ~0u;
		static constexpr size_t BlockUnits = 16384;

		struct FSpelling
		{
			const char16_t* Chars;
			uint32 Length;
			uint32 Comparison;

			std::u16string_view View() const { return std::u16string_view(Chars, Length); }
		};

		struct FEntry
		{
			uint64 Hash = 0;
			uint32 Index = EmptySlot;
		};

		// Host code makes names from one thread at a time; the lock only has to be cheap and correct.
		struct FScopedSpinLock
		{
			explicit FScopedSpinLock(std::atomic_flag& InFlag) : Flag(InFlag)
			{
				while (Flag.test_and_set(std::memory_order_acquire))
				{
				}
			}
			~FScopedSpinLock() { Flag.clear(std::memory_order_release); }
			std::atomic_flag& Flag;
		};

		static uint64 HashIgnoringCase(std::u16string_view Name)
		{
			constexpr uint64 LaneTops = 0x8000800080008000ull;
			uint64 Hash = 0x9E3779B97F4A7C15ull ^ Name.size();
			auto Mix = [&Hash](uint64 Units)
			{
				// Four units at a time, each from 'A' to 'Z' lowered: below 0x8000, at least 'A' and at
				// most 'Z', tested in every 16-bit lane at once without a borrow crossing lanes.
				const uint64 Low15 = Units & ~LaneTops;
				const uint64 AtLeastA = (Low15 | LaneTops) - 0x0041004100410041ull;
				const uint64 AtMostZ = 0x805A805A805A805Aull - Low15;
				Units |= (AtLeastA & AtMostZ & ~Units & LaneTops) >> 10;
				Hash = (Hash ^ Units) * 0x9E3779B97F4A7C15ull;
				Hash ^= Hash >> 32;
			};
			const char16_t* Chars = Name.data();
			size_t Left = Name.size();
			for (; Left >= 4; Left -= 4, Chars += 4)
			{
				uint64 Units;
				std::memcpy(&Units, Chars, sizeof(Units));
				Mix(Units);
			}
			if (Left > 0)
			{
				uint64 Units = 0;
				std::memcpy(&Units, Chars, Left * sizeof(char16_t));
				Mix(Units);
			}
			return Hash;
		}

		static bool EqualsIgnoringCase(std::u16string_view A, std::u16string_view B)
		{
			if (A.size() != B.size())
			{
				return false;
			}
			for (size_t Index = 0; Index < A.size(); ++Index)
			{
				if (A[Index] != B[Index] && FChar::ToLower(A[Index]) != FChar::ToLower(B[Index]))
				{
					return false;
				}
			}
			return true;
		}

		static size_t Probe(const std::vector<FEntry>& Slots, uint64 Hash)
		{
			return static_cast<size_t>(Hash) & (Slots.size() - 1);
		}

		// Keeps the table at most half full.
		static void GrowIfFull(std::vector<FEntry>& Slots, size_t Count)
		{
			if (Count * 2 <= Slots.size())
			{
				return;
			}
			std::vector<FEntry> Grown(Slots.size() * 2);
			for (const FEntry& Entry : Slots)
			{
				if (Entry.Index != EmptySlot)
				{
					size_t Position = Probe(Grown, Entry.Hash);
					while (Grown[Position].Index != EmptySlot)
					{
						Position = (Position + 1) & (Grown.size() - 1);
					}
					Grown[Position] = Entry;
				}
			}
			Slots = std::move(Grown);
		}

		const char16_t* Store(std::u16string_view Name)
		{
			if (Blocks.empty() || BlockUsed + Name.size() > BlockUnits)
			{
				Blocks.push_back(std::make_unique<char16_t[]>(std::max(BlockUnits, Name.size())));
				BlockUsed = 0;
			}
			char16_t* Chars = Blocks.back().get() + BlockUsed;
			std::copy(Name.begin(), Name.end(), Chars);
			BlockUsed += Name.size();
			return Chars;
		}

		std::atomic_flag Busy = ATOMIC_FLAG_INIT;
		std::vector<std::unique_ptr<char16_t[]>> Blocks;
		size_t BlockUsed = 0;
		std::vector<FSpelling> Displays;
		// For each comparison index, the display index of its first spelling.
		std::vector<uint32> Lowered;
		std::vector<FEntry> DisplaySlots = std::vector<FEntry>(1024);
		std::vector<FEntry> ComparisonSlots = std::vector<FEntry>(1024);
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
