// FStringTable: a namespace of keyed source strings with per-key metadata, the data behind a
// StringTable asset. Entries keep the order they were added in.
#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"
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

	struct FEntry
	{
		FTextKey Key;
		FString SourceString;
		bool bRemoved = false;
	};

	struct FMetaDataValue
	{
		FName Id;
		FString Value;
	};

	struct FTextKeyHash
	{
		size_t operator()(const FTextKey& Key) const { return GetTypeHash(Key); }
	};

	// Entries and their index; metadata lives apart, only for the keys that have some.
	struct FStorage
	{
		std::vector<FEntry> Entries;
		// Open addressing, linear probing: an entry index per slot, INDEX_NONE when free.
		std::vector<int32> Slots;
		int32 NumRemoved = 0;
		std::unordered_map<FTextKey, std::vector<FMetaDataValue>, FTextKeyHash> MetaData;

		int32 FindIndex(const FTextKey& Key) const;
		void Reserve(int32 NumEntries);
		// Returns the entry's index; a key already present keeps its index.
		int32 Set(const FTextKey& Key, FString&& SourceString);
		void Remove(const FTextKey& Key);
		void Clear(int32 Slack);
		void SetMetaData(const FTextKey& Key, FName Id, FString&& Value);

	private:
		void Rebuild(size_t SlotCount);
		void Compact();
	};

	mutable std::recursive_mutex Mutex;
	FStorage Storage;
	FString Namespace;
	bool bIsInternal = false;
	bool bIsLoaded = true;
};
