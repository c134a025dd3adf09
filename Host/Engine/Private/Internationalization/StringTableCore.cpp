#include "Internationalization/StringTableCore.h"

#include "Host/StringTableCsv.h"
#include "Logging/LogMacros.h"

#include <algorithm>

DEFINE_LOG_CATEGORY_STATIC(LogStringTable, Log, All);

namespace
{
	// Removed entries are dropped from the entry list once they make up half of it.
	constexpr int32 MinRemovedBeforeCompaction = 64;
}

int32 FStringTable::FStorage::FindIndex(const FTextKey& Key) const
{
	if (Slots.empty())
	{
		return INDEX_NONE;
	}
	const uint32 Hash = GetTypeHash(Key);
	const size_t Mask = Slots.size() - 1;
	for (size_t Slot = Hash & Mask;; Slot = (Slot + 1) & Mask)
	{
		const FSlot& Candidate = Slots[Slot];
		if (Candidate.Index == INDEX_NONE)
		{
			return INDEX_NONE;
		}
		if (Candidate.Hash == Hash && Entries[static_cast<size_t>(Candidate.Index)].Key == Key)
		{
			return Candidate.Index;
		}
	}
}

void FStringTable::FStorage::Reserve(int32 NumEntries)
{
	if (NumEntries <= 0)
	{
		return;
	}
	Entries.reserve(static_cast<size_t>(NumEntries));
	size_t SlotCount = 16;
	while (SlotCount < static_cast<size_t>(NumEntries) * 2)
	{
		SlotCount *= 2;
	}
	if (SlotCount > Slots.size())
	{
		Rebuild(SlotCount);
	}
}

int32 FStringTable::FStorage::Set(const FTextKey& Key, FString&& SourceString)
{
	const int32 Existing = FindIndex(Key);
	if (Existing != INDEX_NONE)
	{
		Entries[static_cast<size_t>(Existing)].SourceString = std::move(SourceString);
		return Existing;
	}

	const size_t NumLive = Entries.size() - static_cast<size_t>(NumRemoved);
	if ((NumLive + 1) * 2 > Slots.size())
	{
		Rebuild(std::max<size_t>(16, Slots.size() * 2));
	}
	const int32 Index = static_cast<int32>(Entries.size());
	FEntry& Entry = Entries.emplace_back();
	Entry.Key = Key;
	Entry.SourceString = std::move(SourceString);
	if (!PendingMetaData.empty())
	{
		if (const auto Pending = PendingMetaData.find(Key); Pending != PendingMetaData.end())
		{
			Entry.MetaData = std::move(Pending->second);
			PendingMetaData.erase(Pending);
		}
	}
	Insert(GetTypeHash(Key), Index);
	return Index;
}

void FStringTable::FStorage::Remove(const FTextKey& Key)
{
	PendingMetaData.erase(Key);
	if (Slots.empty())
	{
		return;
	}
	const uint32 Hash = GetTypeHash(Key);
	const size_t Mask = Slots.size() - 1;
	size_t Hole = Hash & Mask;
	while (Slots[Hole].Index != INDEX_NONE && !(Slots[Hole].Hash == Hash && Entries[static_cast<size_t>(Slots[Hole].Index)].Key == Key))
	{
		Hole = (Hole + 1) & Mask;
	}
	if (Slots[Hole].Index == INDEX_NONE)
	{
		return;
	}

	FEntry& Entry = Entries[static_cast<size_t>(Slots[Hole].Index)];
	Entry.bRemoved = true;
	Entry.SourceString.Empty();
	Entry.MetaData = FMetaDataList();
	++NumRemoved;

	// Backward-shift deletion keeps every probe sequence unbroken without tombstones.
	for (size_t Next = (Hole + 1) & Mask; Slots[Next].Index != INDEX_NONE; Next = (Next + 1) & Mask)
	{
		const size_t Home = Slots[Next].Hash & Mask;
		const bool bHomeBetween = Hole <= Next ? (Hole < Home && Home <= Next) : (Hole < Home || Home <= Next);
		if (!bHomeBetween)
		{
			Slots[Hole] = Slots[Next];
			Hole = Next;
		}
	}
	Slots[Hole].Index = INDEX_NONE;

	if (NumRemoved >= MinRemovedBeforeCompaction && static_cast<size_t>(NumRemoved) * 2 >= Entries.size())
	{
		Compact();
	}
}

void FStringTable::FStorage::Clear(int32 Slack)
{
	Entries.clear();
	Slots.clear();
	PendingMetaData.clear();
	NumRemoved = 0;
	if (Slack > 0)
	{
		Reserve(Slack);
	}
	else
	{
		Entries.shrink_to_fit();
		Slots.shrink_to_fit();
	}
}

const FStringTable::FMetaDataList* FStringTable::FStorage::FindMetaData(const FTextKey& Key) const
{
	const int32 Index = FindIndex(Key);
	if (Index != INDEX_NONE)
	{
		const FMetaDataList& Values = Entries[static_cast<size_t>(Index)].MetaData;
		return Values.empty() ? nullptr : &Values;
	}
	const auto Pending = PendingMetaData.find(Key);
	return Pending != PendingMetaData.end() ? &Pending->second : nullptr;
}

FStringTable::FMetaDataList* FStringTable::FStorage::FindMetaData(const FTextKey& Key)
{
	return const_cast<FMetaDataList*>(static_cast<const FStorage*>(this)->FindMetaData(Key));
}

void FStringTable::FStorage::SetMetaData(const FTextKey& Key, FName Id, FString&& Value)
{
	const int32 Index = FindIndex(Key);
	if (Index != INDEX_NONE)
	{
		SetMetaDataAt(Index, Id, std::move(Value));
		return;
	}
	FMetaDataList& Values = PendingMetaData[Key];
	for (FMetaDataValue& Existing : Values)
	{
		if (Existing.Id == Id)
		{
			Existing.Value = std::move(Value);
			return;
		}
	}
	Values.push_back(FMetaDataValue{Id, std::move(Value)});
}

void FStringTable::FStorage::SetMetaDataAt(int32 Index, FName Id, FString&& Value)
{
	FMetaDataList& Values = Entries[static_cast<size_t>(Index)].MetaData;
	for (FMetaDataValue& Existing : Values)
	{
		if (Existing.Id == Id)
		{
			Existing.Value = std::move(Value);
			return;
		}
	}
	Values.push_back(FMetaDataValue{Id, std::move(Value)});
}

void FStringTable::FStorage::ClearMetaData(const FTextKey& Key)
{
	const int32 Index = FindIndex(Key);
	if (Index != INDEX_NONE)
	{
		Entries[static_cast<size_t>(Index)].MetaData = FMetaDataList();
	}
	PendingMetaData.erase(Key);
}

void FStringTable::FStorage::Insert(uint32 Hash, int32 Index)
{
	const size_t Mask = Slots.size() - 1;
	size_t Slot = Hash & Mask;
	while (Slots[Slot].Index != INDEX_NONE)
	{
		Slot = (Slot + 1) & Mask;
	}
	Slots[Slot] = FSlot{Hash, Index};
}

void FStringTable::FStorage::Rebuild(size_t SlotCount)
{
	Slots.assign(SlotCount, FSlot{0, INDEX_NONE});
	for (size_t Index = 0; Index < Entries.size(); ++Index)
	{
		if (!Entries[Index].bRemoved)
		{
			Insert(GetTypeHash(Entries[Index].Key), static_cast<int32>(Index));
		}
	}
}

void FStringTable::FStorage::Compact()
{
	Entries.erase(std::remove_if(Entries.begin(), Entries.end(), [](const FEntry& Entry) { return Entry.bRemoved; }), Entries.end());
	NumRemoved = 0;
	Rebuild(Slots.size());
}

FStringTableRef FStringTable::NewStringTable()
{
	return MakeShared<FStringTable, ESPMode::ThreadSafe>();
}

FStringTable::FStringTable() = default;

bool FStringTable::IsLoaded() const
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	return bIsLoaded;
}

void FStringTable::IsLoaded(const bool bInIsLoaded)
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	bIsLoaded = bInIsLoaded;
}

bool FStringTable::IsInternal() const
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	return bIsInternal;
}

void FStringTable::IsInternal(const bool bInIsInternal)
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	bIsInternal = bInIsInternal;
}

FString FStringTable::GetNamespace() const
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	return Namespace;
}

void FStringTable::SetNamespace(const FString& InNamespace)
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	Namespace = InNamespace;
}

bool FStringTable::GetSourceString(const FTextKey& InKey, FString& OutSourceString) const
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	const int32 Index = Storage.FindIndex(InKey);
	if (Index == INDEX_NONE)
	{
		return false;
	}
	OutSourceString = Storage.Entries[static_cast<size_t>(Index)].SourceString;
	return true;
}

void FStringTable::SetSourceString(const FTextKey& InKey, const FString& InSourceString)
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	Storage.Set(InKey, FString(InSourceString));
}

void FStringTable::RemoveSourceString(const FTextKey& InKey)
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	Storage.Remove(InKey);
}

void FStringTable::ClearSourceStrings(const int32 InSlack)
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	Storage.Clear(InSlack);
}

void FStringTable::EnumerateSourceStrings(const TFunctionRef<bool(const FString&, const FString&)>& InEnumerator) const
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	for (const FEntry& Entry : Storage.Entries)
	{
		if (!Entry.bRemoved && !InEnumerator(Entry.Key.ToString(), Entry.SourceString))
		{
			break;
		}
	}
}

void FStringTable::EnumerateKeysAndSourceStrings(const TFunctionRef<bool(const FTextKey&, const FString&)>& InEnumerator) const
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	for (const FEntry& Entry : Storage.Entries)
	{
		if (!Entry.bRemoved && !InEnumerator(Entry.Key, Entry.SourceString))
		{
			break;
		}
	}
}

void FStringTable::EnumerateKeysAndSourceStrings(const TFunctionRef<bool(const FTextKey&, const FString&, const FString&)>& InEnumerator) const
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	for (const FEntry& Entry : Storage.Entries)
	{
		if (!Entry.bRemoved && !InEnumerator(Entry.Key, Entry.SourceString, Entry.SourceString))
		{
			break;
		}
	}
}

FString FStringTable::GetMetaData(const FTextKey& InKey, const FName InMetaDataId) const
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	if (const FMetaDataList* Values = Storage.FindMetaData(InKey))
	{
		for (const FMetaDataValue& Value : *Values)
		{
			if (Value.Id == InMetaDataId)
			{
				return Value.Value;
			}
		}
	}
	return FString();
}

void FStringTable::SetMetaData(const FTextKey& InKey, const FName InMetaDataId, const FString& InMetaData)
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	Storage.SetMetaData(InKey, InMetaDataId, FString(InMetaData));
}

void FStringTable::RemoveMetaData(const FTextKey& InKey, const FName InMetaDataId)
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	FMetaDataList* Values = Storage.FindMetaData(InKey);
	if (!Values)
	{
		return;
	}
	Values->erase(std::remove_if(Values->begin(), Values->end(), [&InMetaDataId](const FMetaDataValue& Value) { return Value.Id == InMetaDataId; }), Values->end());
	if (Values->empty())
	{
		Storage.ClearMetaData(InKey);
	}
}

void FStringTable::EnumerateMetaData(const FTextKey& InKey, const TFunctionRef<bool(FName, const FString&)>& InEnumerator) const
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	const FMetaDataList* Values = Storage.FindMetaData(InKey);
	if (!Values)
	{
		return;
	}
	for (const FMetaDataValue& Value : *Values)
	{
		if (!InEnumerator(Value.Id, Value.Value))
		{
			break;
		}
	}
}

void FStringTable::ClearMetaData(const FTextKey& InKey)
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	Storage.ClearMetaData(InKey);
}

bool FStringTable::ExportStrings(const FString& InFilename) const
{
	FString Error;
	if (!UE::Host::StringTableCsv::SaveFile(InFilename, *this, Error))
	{
		UE_LOG(LogStringTable, Warning, TEXT("Failed to export the string table to '%s': %s"), *InFilename, *Error);
		return false;
	}
	return true;
}

bool FStringTable::ImportStrings(const FString& InFilename)
{
	FString Error;
	if (!UE::Host::StringTableCsv::LoadFile(InFilename, *this, Error))
	{
		UE_LOG(LogStringTable, Warning, TEXT("Failed to import the string table from '%s': %s"), *InFilename, *Error);
		return false;
	}
	return true;
}
