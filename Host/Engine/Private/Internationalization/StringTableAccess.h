// Bulk access to a table's storage for the file readers: they fill a staging copy and swap it in
// whole, so a file that fails half-way changes nothing.
#pragma once

#include "Internationalization/StringTableCore.h"

#include <mutex>
#include <utility>

namespace UE::Host
{
	struct FStringTableAccess
	{
		using FStorage = FStringTable::FStorage;
		using FEntry = FStringTable::FEntry;
		using FMetaDataValue = FStringTable::FMetaDataValue;

		static void Replace(FStringTable& Table, FStorage&& Storage)
		{
			FStorage Old;
			{
				std::lock_guard<std::recursive_mutex> Lock(Table.Mutex);
				Old = std::exchange(Table.Storage, std::move(Storage));
			}
			// The old entries are freed after the lock is released.
		}

		template<typename FunctionType>
		static void Read(const FStringTable& Table, FunctionType&& Function)
		{
			std::lock_guard<std::recursive_mutex> Lock(Table.Mutex);
			Function(static_cast<const FStorage&>(Table.Storage));
		}
	};
}
