#include "Internationalization/StringTable.h"


UStringTable::UStringTable()
	: StringTable(FStringTable::NewStringTable())
{
}

void UStringTable::PostInitProperties()
{
	Super::PostInitProperties();
	if (!HasAnyFlags(RF_ClassDefaultObject))
	{
		StringTable->SetNamespace(GetName());
	}
}

FName UStringTable::GetStringTableId() const
{
	return FName(GetPathName());
}

FStringTableConstRef UStringTable::GetStringTable() const
{
	return StringTable;
}

FStringTableRef UStringTable::GetMutableStringTable() const
{
	return StringTable;
}
