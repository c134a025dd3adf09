#include "Config/ConfigMergeState.h"

#include "Config/ConfigCommands.h"

#include <algorithm>
#include <utility>

namespace
{
	std::u16string IdentityKey(const FString& Identity)
	{
		return Identity.ToLower().GetStdString();
	}
}

namespace UE::Host::Config
{
	void FMergeSection::FSlotList::Insert(int32 Slot)
	{
		if (!Many && Count == 0)
		{
			Single = Slot;
			Count = 1;
			return;
		}
		if (!Many)
		{
			Many = std::make_unique<std::set<int32>>();
			Many->insert(Single);
		}
		Many->insert(Slot);
		Count = static_cast<int32>(Many->size());
	}

	void FMergeSection::FSlotList::Remove(int32 Slot)
	{
		if (Many)
		{
			Many->erase(Slot);
			Count = static_cast<int32>(Many->size());
		}
		else if (Count == 1 && Single == Slot)
		{
			Count = 0;
			Single = INDEX_NONE;
		}
	}

	void FMergeSection::FSlotList::Reset()
	{
		Count = 0;
		Single = INDEX_NONE;
		Many.reset();
	}

	FMergeSection::FKeyIndex* FMergeSection::FindKey(FName Key)
	{
		return const_cast<FKeyIndex*>(static_cast<const FMergeSection*>(this)->FindKey(Key));
	}

	size_t FMergeSection::FindKeyPosition(uint32 Name) const
	{
		const size_t Mask = KeyTable.size() - 1;
		size_t Position = (static_cast<size_t>(Name) * 2654435761u) & Mask;
		while (KeyTable[Position] != INDEX_NONE && Keys[static_cast<size_t>(KeyTable[Position])].Name != Name)
		{
			Position = (Position + 1) & Mask;
		}
		return Position;
	}

	const FMergeSection::FKeyIndex* FMergeSection::FindKey(FName Key) const
	{
		if (KeyTable.empty())
		{
			return nullptr;
		}
		const int32 Found = KeyTable[FindKeyPosition(Key.GetComparisonIndex())];
		return Found == INDEX_NONE ? nullptr : &Keys[static_cast<size_t>(Found)];
	}

	FMergeSection::FKeyIndex& FMergeSection::FindOrAddKey(FName Key)
	{
		const uint32 Name = Key.GetComparisonIndex();
		if ((Keys.size() + 1) * 2 > KeyTable.size())
		{
			KeyTable.assign(KeyTable.empty() ? 16 : KeyTable.size() * 2, INDEX_NONE);
			for (size_t Existing = 0; Existing < Keys.size(); ++Existing)
			{
				KeyTable[FindKeyPosition(Keys[Existing].Name)] = static_cast<int32>(Existing);
			}
		}
		const size_t Position = FindKeyPosition(Name);
		if (KeyTable[Position] == INDEX_NONE)
		{
			KeyTable[Position] = static_cast<int32>(Keys.size());
			Keys.emplace_back().Name = Name;
		}
		return Keys[static_cast<size_t>(KeyTable[Position])];
	}

	void FMergeSection::IndexIdentity(FKeyIndex& Index, int32 Slot, bool bAdd)
	{
		if (!Index.ByIdentity)
		{
			return;
		}
		FString Identity;
		if (ExtractStructField(Slots[static_cast<size_t>(Slot)].Value.GetSavedValue(), Index.IdentityField, Identity))
		{
			std::set<int32>& IdentitySlots = (*Index.ByIdentity)[IdentityKey(Identity)];
			if (bAdd)
			{
				IdentitySlots.insert(Slot);
			}
			else
			{
				IdentitySlots.erase(Slot);
			}
		}
	}

	void FMergeSection::IndexValue(FKeyIndex& Index, int32 Slot, bool bAdd)
	{
		if (!Index.ByValue)
		{
			return;
		}
		const std::u16string& Value = Slots[static_cast<size_t>(Slot)].Value.GetValue().GetStdString();
		if (bAdd)
		{
			(*Index.ByValue)[Value].insert(Slot);
			return;
		}
		const auto Found = Index.ByValue->find(Value);
		if (Found != Index.ByValue->end())
		{
			Found->second.erase(Slot);
			if (Found->second.empty())
			{
				Index.ByValue->erase(Found);
			}
		}
	}

	void FMergeSection::EnsureValueIndex(FKeyIndex& Index)
	{
		if (Index.ByValue)
		{
			return;
		}
		Index.ByValue = std::make_unique<FSlotsByText>();
		Index.Slots.ForEach([this, &Index](int32 Slot) { IndexValue(Index, Slot, true); });
	}

	int32 FMergeSection::AddSlot(FName Key, FConfigValue Value)
	{
		int32 Slot;
		if (!FreeSlots.empty())
		{
			Slot = FreeSlots.back();
			FreeSlots.pop_back();
		}
		else
		{
			Slot = static_cast<int32>(Slots.size());
			Slots.emplace_back();
		}
		FSlot& Entry = Slots[static_cast<size_t>(Slot)];
		Entry.Key = Key;
		Entry.Value = std::move(Value);
		Entry.Link = ++LinkCounter;
		Entry.bUsed = true;
		FKeyIndex& Index = FindOrAddKey(Key);
		Index.Slots.Insert(Slot);
		IndexValue(Index, Slot, true);
		IndexIdentity(Index, Slot, true);
		return Slot;
	}

	void FMergeSection::RemoveSlot(int32 Slot)
	{
		FSlot& Entry = Slots[static_cast<size_t>(Slot)];
		FKeyIndex& Index = FindOrAddKey(Entry.Key);
		IndexIdentity(Index, Slot, false);
		Index.Slots.Remove(Slot);
		IndexValue(Index, Slot, false);
		Entry.bUsed = false;
		Entry.Value = FConfigValue();
		FreeSlots.push_back(Slot);
	}

	void FMergeSection::SetSlotValue(int32 Slot, FConfigValue Value)
	{
		FSlot& Entry = Slots[static_cast<size_t>(Slot)];
		FKeyIndex& Index = FindOrAddKey(Entry.Key);
		IndexIdentity(Index, Slot, false);
		IndexValue(Index, Slot, false);
		Entry.Value = std::move(Value);
		IndexValue(Index, Slot, true);
		IndexIdentity(Index, Slot, true);
	}

	bool FMergeSection::IsNewer(int32 A, int32 B) const
	{
		const uint64 LinkA = Slots[static_cast<size_t>(A)].Link;
		const uint64 LinkB = Slots[static_cast<size_t>(B)].Link;
		if (LinkA <= PackedLink && LinkB <= PackedLink)
		{
			return A > B;
		}
		return LinkA > LinkB;
	}

	int32 FMergeSection::NewestOf(const std::set<int32>& Candidates) const
	{
		int32 Newest = INDEX_NONE;
		for (const int32 Slot : Candidates)
		{
			if (Newest == INDEX_NONE || IsNewer(Slot, Newest))
			{
				Newest = Slot;
			}
		}
		return Newest;
	}

	int32 FMergeSection::NewestOf(const FSlotList& Candidates) const
	{
		int32 Newest = INDEX_NONE;
		Candidates.ForEach([this, &Newest](int32 Slot)
		{
			if (Newest == INDEX_NONE || IsNewer(Slot, Newest))
			{
				Newest = Slot;
			}
		});
		return Newest;
	}

	void FMergeSection::RemoveKey(FName Key)
	{
		if (FKeyIndex* Index = FindKey(Key))
		{
			// Newest first, as the engine's multimap walks its hash chain: the oldest slot is freed
			// last and so refilled first.
			std::vector<int32> KeySlots;
			Index->Slots.ForEach([&KeySlots](int32 Slot) { KeySlots.push_back(Slot); });
			std::sort(KeySlots.begin(), KeySlots.end(), [this](int32 A, int32 B) { return IsNewer(A, B); });
			for (const int32 Slot : KeySlots)
			{
				RemoveSlot(Slot);
			}
		}
	}

	void FMergeSection::Compact()
	{
		FreeSlots.clear();
		PackedLink = LinkCounter;
	}

	int32 FMergeSection::FindByIdentity(FName Key, const FConfigValue& Value)
	{
		const FString* Field = ArrayOfStructKeys.Find(Key);
		FString Identity;
		FKeyIndex* Index = FindKey(Key);
		if (!Field || !Index || !ExtractStructField(Value.GetSavedValue(), *Field, Identity))
		{
			return INDEX_NONE;
		}
		if (!Index->ByIdentity || !Index->IdentityField.Equals(*Field))
		{
			Index->IdentityField = *Field;
			Index->ByIdentity = std::make_unique<FSlotsByText>();
			Index->Slots.ForEach([this, Index](int32 Slot) { IndexIdentity(*Index, Slot, true); });
		}
		const auto Found = Index->ByIdentity->find(IdentityKey(Identity));
		return Found == Index->ByIdentity->end() || Found->second.empty() ? INDEX_NONE : *Found->second.begin();
	}

	void FMergeSection::Apply(TCHAR Operation, FName Key, const FString& Value)
	{
		switch (Operation)
		{
		case '+':
		{
			FConfigValue NewValue = MakeConfigValue(Value);
			const int32 Same = FindByIdentity(Key, NewValue);
			if (Same != INDEX_NONE)
			{
				SetSlotValue(Same, std::move(NewValue));
				break;
			}
			FKeyIndex* Index = FindKey(Key);
			if (Index)
			{
				EnsureValueIndex(*Index);
			}
			if (!Index || Index->ByValue->find(NewValue.GetValue().GetStdString()) == Index->ByValue->end())
			{
				AddSlot(Key, std::move(NewValue));
			}
			break;
		}
		case '.':
			AddSlot(Key, MakeConfigValue(Value));
			break;
		case '-':
		{
			const FConfigValue OldValue = MakeConfigValue(Value);
			if (FKeyIndex* Index = FindKey(Key))
			{
				EnsureValueIndex(*Index);
				const auto Found = Index->ByValue->find(OldValue.GetValue().GetStdString());
				if (Found != Index->ByValue->end() && !Found->second.empty())
				{
					RemoveSlot(NewestOf(Found->second));
					Compact();
				}
			}
			break;
		}
		case '!':
			RemoveKey(Key);
			ExplicitlyEmptyArrays.Remove(Key);
			break;
		case '^':
			RemoveKey(Key);
			ExplicitlyEmptyArrays.Add(Key);
			break;
		case '@':
			ArrayOfStructKeys.Add(Key, Value);
			break;
		case '*':
			break;
		default:
		{
			FConfigValue NewValue = MakeConfigValue(Value);
			int32 Target = FindByIdentity(Key, NewValue);
			if (Target == INDEX_NONE)
			{
				const FKeyIndex* Index = FindKey(Key);
				Target = Index && !Index->Slots.IsEmpty() ? NewestOf(Index->Slots) : INDEX_NONE;
			}
			if (Target != INDEX_NONE)
			{
				SetSlotValue(Target, std::move(NewValue));
			}
			else
			{
				AddSlot(Key, std::move(NewValue));
			}
			break;
		}
		}
	}

	TArray<FConfigValue> FMergeSection::GetValues(FName Key) const
	{
		TArray<FConfigValue> Values;
		if (const FKeyIndex* Found = FindKey(Key))
		{
			Found->Slots.ForEach([this, &Values](int32 Slot) { Values.Add(Slots[static_cast<size_t>(Slot)].Value); });
		}
		return Values;
	}

	void FMergeSection::ReplaceValues(FName Key, const TArray<FConfigValue>& NewValues)
	{
		std::vector<int32> Existing;
		if (const FKeyIndex* Index = FindKey(Key))
		{
			Index->Slots.ForEach([&Existing](int32 Slot) { Existing.push_back(Slot); });
		}
		const size_t Common = Existing.size() < static_cast<size_t>(NewValues.Num()) ? Existing.size() : static_cast<size_t>(NewValues.Num());
		for (size_t Index = 0; Index < Common; ++Index)
		{
			SetSlotValue(Existing[Index], NewValues[static_cast<int32>(Index)]);
		}
		for (size_t Index = Common; Index < Existing.size(); ++Index)
		{
			RemoveSlot(Existing[Index]);
		}
		for (int32 Index = static_cast<int32>(Common); Index < NewValues.Num(); ++Index)
		{
			AddSlot(Key, NewValues[Index]);
		}
	}

	void FMergeSection::ImportFrom(const FConfigSection& Section)
	{
		std::vector<int32> NewestSlots;
		// Each key's newest value is looked up once: a lookup walks all of the key's values.
		std::unordered_map<uint32, const FConfigValue*> NewestValues;
		for (const auto& Pair : Section)
		{
			const int32 Slot = AddSlot(Pair.Key, Pair.Value);
			const auto Known = NewestValues.try_emplace(Pair.Key.GetComparisonIndex(), nullptr);
			if (Known.second)
			{
				Known.first->second = Section.Find(Pair.Key);
			}
			if (Known.first->second == &Pair.Value)
			{
				NewestSlots.push_back(Slot);
			}
		}
		for (const int32 Slot : NewestSlots)
		{
			Slots[static_cast<size_t>(Slot)].Link = ++LinkCounter;
		}
		ArrayOfStructKeys = Section.ArrayOfStructKeys;
		ExplicitlyEmptyArrays = Section.ExplicitlyEmptyArrays;
	}

	void FMergeSection::MoveTo(FConfigSection& Section)
	{
		// The section links its values in slot order, so its newest is a key's last slot. Where the
		// merge's newest lies elsewhere, removing and adding it again refills the same slot and
		// makes it the newest there too.
		TArray<TPair<FName, FConfigValue>> Relinks;
		for (const FKeyIndex& Index : Keys)
		{
			if (Index.Slots.IsEmpty())
			{
				continue;
			}
			const int32 NewestSlot = NewestOf(Index.Slots);
			const int32 LastSlot = Index.Slots.Last();
			const FSlot& Newest = Slots[static_cast<size_t>(NewestSlot)];
			if (NewestSlot != LastSlot && !(Newest.Value == Slots[static_cast<size_t>(LastSlot)].Value))
			{
				Relinks.Add(TPair<FName, FConfigValue>(Newest.Key, Newest.Value));
			}
		}
		Section.Empty();
		Section.Reserve(static_cast<int32>(std::count_if(Slots.begin(), Slots.end(), [](const FSlot& Entry) { return Entry.bUsed; })));
		for (FSlot& Entry : Slots)
		{
			if (Entry.bUsed)
			{
				Section.Add(Entry.Key, std::move(Entry.Value));
			}
		}
		for (const TPair<FName, FConfigValue>& Relink : Relinks)
		{
			Section.RemoveSingle(Relink.Key, Relink.Value);
			Section.Add(Relink.Key, Relink.Value);
		}
		Section.ArrayOfStructKeys = std::move(ArrayOfStructKeys);
		Section.ExplicitlyEmptyArrays = std::move(ExplicitlyEmptyArrays);
		*this = FMergeSection();
	}

	FMergeSection& FMergeFile::FindOrAddSection(const FString& Name)
	{
		if (const int32* Index = SectionIndices.Find(Name))
		{
			return Sections[static_cast<size_t>(*Index)];
		}
		SectionIndices.Add(Name, static_cast<int32>(Sections.size()));
		SectionNames.Add(Name);
		return Sections.emplace_back();
	}

	FMergeSection* FMergeFile::FindSection(const FString& Name)
	{
		const int32* Index = SectionIndices.Find(Name);
		return Index ? &Sections[static_cast<size_t>(*Index)] : nullptr;
	}

	void FMergeFile::ImportFrom(const FConfigFile& File)
	{
		for (const auto& Pair : File)
		{
			FindOrAddSection(Pair.Key).ImportFrom(Pair.Value);
		}
	}

	void FMergeFile::MoveTo(FConfigFile& File)
	{
		File.Empty();
		for (int32 Index = 0; Index < SectionNames.Num(); ++Index)
		{
			Sections[static_cast<size_t>(Index)].MoveTo(File.FindOrAddSection(SectionNames[Index]));
		}
		*this = FMergeFile();
	}
}
