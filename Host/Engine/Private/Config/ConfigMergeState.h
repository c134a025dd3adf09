// A category while its layers are merged. It keeps the engine's slot order (a removed value
// leaves a slot that the next addition refills, the most recently freed first), knows which value
// of a key was linked last (what a single-value read returns) and indexes every key and value, so
// each line costs a logarithmic number of steps however long a file is.
#pragma once

#include "CoreMinimal.h"
#include "Misc/ConfigCacheIni.h"

#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

namespace UE::Host::Config
{
	class FMergeSection
	{
	public:
		// Applies one key line: ' ' replaces the newest value (or the element with the same
		// identity once "@Key=Field" was declared), '+' adds unless an equal value is there (or
		// replaces the element with the same identity), '.' adds, '-' removes the newest equal value
		// and packs the section (order kept, no hole left), '!' removes all (newest first, so later
		// additions refill the slots in file order), '^' removes all and marks the array explicitly
		// empty, '@' declares the identity field, '*' (identity of per-object sections) changes
		// nothing here.
		void Apply(TCHAR Operation, FName Key, const FString& Value);

		// The key's values in section order.
		TArray<FConfigValue> GetValues(FName Key) const;
		// Overwrites the key's values in order, then drops the surplus or appends the rest, so the
		// key keeps its place in the section.
		void ReplaceValues(FName Key, const TArray<FConfigValue>& NewValues);

		void ImportFrom(const FConfigSection& Section);
		// Hands the merged values over to Section and leaves this one empty.
		void MoveTo(FConfigSection& Section);

		TMap<FName, FString> ArrayOfStructKeys;
		TSet<FName> ExplicitlyEmptyArrays;

	private:
		struct FSlot
		{
			FName Key;
			FConfigValue Value;
			// When the value was linked; the highest of a key is its newest value.
			uint64 Link = 0;
			bool bUsed = false;
		};

		using FSlotsByText = std::unordered_map<std::u16string, std::set<int32>>;

		// Slot numbers in ascending order. Most keys hold one value, which is kept inline; a key
		// that ever holds more moves to a tree, so a long array stays logarithmic per line.
		class FSlotList
		{
		public:
			bool IsEmpty() const { return Count == 0; }
			void Insert(int32 Slot);
			void Remove(int32 Slot);
			void Reset();
			int32 Last() const { return Many ? *Many->rbegin() : Single; }
			// Visits the slots in ascending order.
			template<typename VisitorType>
			void ForEach(VisitorType&& Visit) const
			{
				if (Many)
				{
					for (const int32 Slot : *Many)
					{
						Visit(Slot);
					}
				}
				else if (Count == 1)
				{
					Visit(Single);
				}
			}

		private:
			int32 Count = 0;
			int32 Single = INDEX_NONE;
			std::unique_ptr<std::set<int32>> Many;
		};

		struct FKeyIndex
		{
			// The key's name index.
			uint32 Name = 0;
			// Used slots of the key, in section order.
			FSlotList Slots;
			// Slots by value (FConfigValue equality: the expanded text, case-sensitive), made the
			// first time an array line needs it: most keys hold one plain value and never do, and
			// an engine file has thousands of keys.
			std::unique_ptr<FSlotsByText> ByValue;
			// Slots by identity (letter case ignored), for IdentityField only; made when first needed.
			FString IdentityField;
			std::unique_ptr<FSlotsByText> ByIdentity;
		};

		int32 AddSlot(FName Key, FConfigValue Value);
		void RemoveSlot(int32 Slot);
		void RemoveKey(FName Key);
		void SetSlotValue(int32 Slot, FConfigValue Value);
		// The slot of the key's element with the same identity as Value, or INDEX_NONE.
		int32 FindByIdentity(FName Key, const FConfigValue& Value);
		void IndexIdentity(FKeyIndex& Index, int32 Slot, bool bAdd);
		void IndexValue(FKeyIndex& Index, int32 Slot, bool bAdd);
		void EnsureValueIndex(FKeyIndex& Index);
		FKeyIndex* FindKey(FName Key);
		const FKeyIndex* FindKey(FName Key) const;
		FKeyIndex& FindOrAddKey(FName Key);
		// The position in KeyTable where Name is, or the empty one where it would go.
		size_t FindKeyPosition(uint32 Name) const;
		// Whether slot A's value was linked after slot B's.
		bool IsNewer(int32 A, int32 B) const;
		int32 NewestOf(const std::set<int32>& Candidates) const;
		int32 NewestOf(const FSlotList& Candidates) const;
		// Packs the section as the engine does after a removal: the holes are never refilled
		// (later additions go after every kept value, as they would once the holes were dropped)
		// and the values present are relinked in slot order, as a rehash does. Constant time: the
		// relinking is recorded as PackedLink rather than written into every slot.
		void Compact();

		std::vector<FSlot> Slots;
		std::vector<int32> FreeSlots;
		// Keys in order of first use, found through an open-addressing table of their positions
		// (INDEX_NONE marks a free entry; the table is a power of two at most half full): a
		// section is built once and mostly holds keys of one value, where a node per key costs
		// more than the key's merging.
		std::vector<FKeyIndex> Keys;
		std::vector<int32> KeyTable;
		uint64 LinkCounter = 0;
		// Slots linked at or before this were relinked in slot order by the last pack.
		uint64 PackedLink = 0;
	};

	class FMergeFile
	{
	public:
		// Sections keep the order in which they were first met and the spelling of that first time.
		FMergeSection& FindOrAddSection(const FString& Name);
		FMergeSection* FindSection(const FString& Name);
		const TArray<FString>& GetSectionNames() const { return SectionNames; }

		void ImportFrom(const FConfigFile& File);
		// Replaces the sections of File with the merged ones and leaves this one empty.
		void MoveTo(FConfigFile& File);

	private:
		TArray<FString> SectionNames;
		TMap<FString, int32> SectionIndices;
		std::vector<FMergeSection> Sections;
	};
}
