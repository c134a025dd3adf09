// FStringTable: a namespace of keyed source strings with per-key metadata, the data behind a
// StringTable asset. Entries keep the order they were added in.
#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "Host/LargePageAllocator.h"
#include "Internationalization/StringTableCoreFwd.h"
#include "Internationalization/TextKey.h"
#include "Templates/Function.h"
#include "UObject/NameTypes.h"

#include <mutex>
#include <unordered_map>
#include <vector>

namespace UE::Host
{
	struct FStringTableAccess;
}

class FStringTable : public TSharedFromThis<FStringTable, ESPMode::ThreadSafe>
{
public:
	static FStringTableRef NewStringTable();

	FStringTable();
	FStringTable(const FStringTable&) = delete;
	FStringTable& operator=(const FStringTable&) = delete;

	bool IsLoaded() const;
	void IsLoaded(const bool bInIsLoaded);
	bool IsInternal() const;
	void IsInternal(const bool bInIsInternal);

	FString GetNamespace() const;
	void SetNamespace(const FString& InNamespace);

	bool GetSourceString(const FTextKey& InKey, FString& OutSourceString) const;
	// A new key goes last; an existing key keeps its place and its metadata.
	void SetSourceString(const FTextKey& InKey, const FString& InSourceString);
	// Removes the entry and its metadata.
	void RemoveSourceString(const FTextKey& InKey);
	void ClearSourceStrings(const int32 InSlack = 0);

	// The callbacks run in entry order and stop the enumeration by returning false. They must not
	// change the table.
	void EnumerateSourceStrings(const TFunctionRef<bool(const FString&, const FString&)>& InEnumerator) const;
	void EnumerateKeysAndSourceStrings(const TFunctionRef<bool(const FTextKey&, const FString&)>& InEnumerator) const;
	// Key, source string and the string shown for it (the source string: the host has no translations).
	void EnumerateKeysAndSourceStrings(const TFunctionRef<bool(const FTextKey&, const FString&, const FString&)>& InEnumerator) const;

	// Metadata ids compare ignoring case; each key's metadata keeps the order it was set in.
	FString GetMetaData(const FTextKey& InKey, const FName InMetaDataId) const;
	void SetMetaData(const FTextKey& InKey, const FName InMetaDataId, const FString& InMetaData);
	void RemoveMetaData(const FTextKey& InKey, const FName InMetaDataId);
	void EnumerateMetaData(const FTextKey& InKey, const TFunctionRef<bool(FName, const FString&)>& InEnumerator) const;
	void ClearMetaData(const FTextKey& InKey);

	// The editor's CSV format: Key, SourceString, then one column per metadata id. Import replaces
	// the whole table and leaves it unchanged when the file cannot be read; failures are logged.
	bool ExportStrings(const FString& InFilename) const;
	bool ImportStrings(const FString& InFilename);

private:
	friend struct UE::Host::FStringTableAccess;

	struct FMetaDataValue
	{
		FName Id;
		FString Value;
	};
	typedef std::vector<FMetaDataValue> FMetaDataList;

	struct FEntry
	{
		FTextKey Key;
		FString SourceString;
		// Allocates nothing while the entry has no metadata.
		FMetaDataList MetaData;
		bool bRemoved = false;
	};

	struct FTextKeyHash
	{
		size_t operator()(const FTextKey& Key) const { return GetTypeHash(Key); }
	};

	struct FSlot
	{
		uint32 Hash;
		int32 Index;
	};

	// Entries in insertion order, found through an open-addressing index (linear probing, each
	// slot caching its key's hash so that probing rarely touches an entry).
	struct FStorage
	{
		std::vector<FEntry, UE::Host::TLargePageAllocator<FEntry>> Entries;
		std::vector<FSlot, UE::Host::TLargePageAllocator<FSlot>> Slots;
		int32 NumRemoved = 0;
		// Metadata may be set before its entry exists; it joins the entry when that is added.
		std::unordered_map<FTextKey, FMetaDataList, FTextKeyHash> PendingMetaData;

		int32 FindIndex(const FTextKey& Key) const;
		// Starts loading the key's home slot, for callers about to add many keys.
		void Prefetch(const FTextKey& Key) const
		{
			if (!Slots.empty())
			{
				__builtin_prefetch(&Slots[GetTypeHash(Key) & (Slots.size() - 1)]);
			}
		}
		void Reserve(int32 NumEntries);
		// Returns the entry's index; a key already present keeps its index.
		int32 Set(const FTextKey& Key, FString&& SourceString);
		void Remove(const FTextKey& Key);
		void Clear(int32 Slack);
		const FMetaDataList* FindMetaData(const FTextKey& Key) const;
		FMetaDataList* FindMetaData(const FTextKey& Key);
		void SetMetaData(const FTextKey& Key, FName Id, FString&& Value);
		void SetMetaDataAt(int32 Index, FName Id, FString&& Value);
		void ClearMetaData(const FTextKey& Key);

	private:
		void Insert(uint32 Hash, int32 Index);
		void Rebuild(size_t SlotCount);
		void Compact();
	};

	mutable std::recursive_mutex Mutex;
	FStorage Storage;
	FString Namespace;
	bool bIsInternal = false;
	bool bIsLoaded = true;
};
