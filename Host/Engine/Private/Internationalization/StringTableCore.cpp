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
	const size_t Mask = Slots.size() - 1;
	for (size_t Slot = GetTypeHash(Key) & Mask;; Slot = (Slot + 1) & Mask)
	{
		const int32 Index = Slots[Slot];
		if (Index == INDEX_NONE || Entries[static_cast<size_t>(Index)].Key == Key)
		{
			return Index;
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
	Entries.push_back(FEntry{Key, std::move(SourceString), false});
	const size_t Mask = Slots.size() - 1;
	size_t Slot = GetTypeHash(Key) & Mask;
	while (Slots[Slot] != INDEX_NONE)
	{
		Slot = (Slot + 1) & Mask;
	}
	Slots[Slot] = Index;
	return Index;
}

void FStringTable::FStorage::Remove(const FTextKey& Key)
{
	MetaData.erase(Key);
	if (Slots.empty())
	{
		return;
	}
	const size_t Mask = Slots.size() - 1;
	size_t Hole = GetTypeHash(Key) & Mask;
	while (Slots[Hole] != INDEX_NONE && !(Entries[static_cast<size_t>(Slots[Hole])].Key == Key))
	{
		Hole = (Hole + 1) & Mask;
	}
	if (Slots[Hole] == INDEX_NONE)
	{
		return;
	}

	FEntry& Entry = Entries[static_cast<size_t>(Slots[Hole])];
	Entry.bRemoved = true;
	Entry.SourceString.Empty();
	++NumRemoved;

	// Backward-shift deletion keeps every probe sequence unbroken without tombstones.
	for (size_t Next = (Hole + 1) & Mask; Slots[Next] != INDEX_NONE; Next = (Next + 1) & Mask)
	{
		const size_t Home = GetTypeHash(Entries[static_cast<size_t>(Slots[Next])].Key) & Mask;
		const bool bHomeBetween = Hole <= Next ? (Hole < Home && Home <= Next) : (Hole < Home || Home <= Next);
		if (!bHomeBetween)
		{
			Slots[Hole] = Slots[Next];
			Hole = Next;
		}
	}
	Slots[Hole] = INDEX_NONE;

	if (NumRemoved >= MinRemovedBeforeCompaction && static_cast<size_t>(NumRemoved) * 2 >= Entries.size())
	{
		Compact();
	}
}

void FStringTable::FStorage::Clear(int32 Slack)
{
	Entries.clear();
	Slots.clear();
	MetaData.clear();
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

void FStringTable::FStorage::SetMetaData(const FTextKey& Key, FName Id, FString&& Value)
{
	std::vector<FMetaDataValue>& Values = MetaData[Key];
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

void FStringTable::FStorage::Rebuild(size_t SlotCount)
{
	Slots.assign(SlotCount, INDEX_NONE);
	const size_t Mask = SlotCount - 1;
	for (size_t Index = 0; Index < Entries.size(); ++Index)
	{
		if (Entries[Index].bRemoved)
		{
			continue;
		}
		size_t Slot = GetTypeHash(Entries[Index].Key) & Mask;
		while (Slots[Slot] != INDEX_NONE)
		{
			Slot = (Slot + 1) & Mask;
		}
		Slots[Slot] = static_cast<int32>(Index);
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
	if (const auto Found = Storage.MetaData.find(InKey); Found != Storage.MetaData.end())
	{
		for (const FMetaDataValue& Value : Found->second)
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
	const auto Found = Storage.MetaData.find(InKey);
	if (Found == Storage.MetaData.end())
	{
		return;
	}
	std::vector<FMetaDataValue>& Values = Found->second;
	Values.erase(std::remove_if(Values.begin(), Values.end(), [&InMetaDataId](const FMetaDataValue& Value) { return Value.Id == InMetaDataId; }), Values.end());
	if (Values.empty())
	{
		Storage.MetaData.erase(Found);
	}
}

void FStringTable::EnumerateMetaData(const FTextKey& InKey, const TFunctionRef<bool(FName, const FString&)>& InEnumerator) const
{
	std::lock_guard<std::recursive_mutex> Lock(Mutex);
	const auto Found = Storage.MetaData.find(InKey);
	if (Found == Storage.MetaData.end())
	{
		return;
	}
	for (const FMetaDataValue& Value : Found->second)
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
	Storage.MetaData.erase(InKey);
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
