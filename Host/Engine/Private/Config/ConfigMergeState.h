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

		struct FKeyIndex
		{
			// Used slots of the key, in section order.
			std::set<int32> Slots;
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
		int32 NewestOf(const std::set<int32>& Candidates) const;
		// Drops the holes, keeping the order; links are renumbered in slot order, as a rehash does.
		void Compact();

		std::vector<FSlot> Slots;
		std::vector<int32> FreeSlots;
		std::unordered_map<uint32, FKeyIndex> Keys;
		uint64 LinkCounter = 0;
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
