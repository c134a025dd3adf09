#pragma once

#include "Templates/SharedPointer.h"

class FStringTable;
class FStringTableEntry;

typedef TSharedPtr<FStringTable, ESPMode::ThreadSafe> FStringTablePtr;
typedef TSharedRef<FStringTable, ESPMode::ThreadSafe> FStringTableRef;
typedef TSharedPtr<const FStringTable, ESPMode::ThreadSafe> FStringTableConstPtr;
typedef TSharedRef<const FStringTable, ESPMode::ThreadSafe> FStringTableConstRef;
typedef TWeakPtr<FStringTable, ESPMode::ThreadSafe> FStringTableWeakPtr;
typedef TWeakPtr<const FStringTable, ESPMode::ThreadSafe> FStringTableConstWeakPtr;

typedef TSharedPtr<FStringTableEntry, ESPMode::ThreadSafe> FStringTableEntryPtr;
typedef TSharedRef<FStringTableEntry, ESPMode::ThreadSafe> FStringTableEntryRef;
typedef TSharedPtr<const FStringTableEntry, ESPMode::ThreadSafe> FStringTableEntryConstPtr;
typedef TSharedRef<const FStringTableEntry, ESPMode::ThreadSafe> FStringTableEntryConstRef;
