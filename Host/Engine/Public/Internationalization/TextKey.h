// FTextKey: a case-sensitive, interned text key. Keys live in one process-wide pool, so a key is
// a pointer and its hash: copying, comparing and hashing it cost nothing, and it never outlives
// its text.
#pragma once

#include "CoreTypes.h"
#include "Containers/StringView.h"
#include "Containers/UnrealString.h"

namespace UE::Host
{
	// One pooled key: its hash and length, followed by its null-terminated code units.
	struct FTextKeyRecord
	{
		uint32 Hash;
		int32 Length;

		const TCHAR* GetChars() const { return reinterpret_cast<const TCHAR*>(this + 1); }
	};

	// Makes room in the key pool for this many more keys, so that loading a large table grows
	// the pool once rather than step by step.
	void ReserveTextKeys(int32 NumKeys);
}

class FTextKey;

namespace UE::Host
{
	// Interns many keys under one lock, fetching their pool slots ahead of use: what loading a
	// large table spends most of its time waiting for.
	void InternTextKeys(const FStringView* Texts, int32 NumTexts, FTextKey* OutKeys);
}

class FTextKey
{
public:
	FTextKey() = default;
	FTextKey(FStringView InStr);
	FTextKey(const TCHAR* InStr);
	FTextKey(const FString& InStr);

	FString ToString() const;
	void ToString(FString& Out) const;
	void AppendString(FString& Out) const;

	bool IsEmpty() const { return Record == nullptr; }
	void Reset()
	{
		Record = nullptr;
		Hash = 0;
	}

	friend bool operator==(const FTextKey& A, const FTextKey& B) { return A.Record == B.Record; }
	friend bool operator!=(const FTextKey& A, const FTextKey& B) { return A.Record != B.Record; }
	friend uint32 GetTypeHash(const FTextKey& Key) { return Key.Hash; }

	// Host: the key's text without a copy; valid for the life of the process.
	FStringView GetView() const { return Record ? FStringView(Record->GetChars(), Record->Length) : FStringView(); }

private:
	friend void UE::Host::InternTextKeys(const FStringView* Texts, int32 NumTexts, FTextKey* OutKeys);

	void SetRecord(const UE::Host::FTextKeyRecord* InRecord)
	{
		Record = InRecord;
		Hash = InRecord ? InRecord->Hash : 0;
	}

	// Null for the empty key.
	const UE::Host::FTextKeyRecord* Record = nullptr;
	// The record's hash, kept beside it so that hashing a key (a table lookup's first step) reads
	// no memory.
	uint32 Hash = 0;
};
