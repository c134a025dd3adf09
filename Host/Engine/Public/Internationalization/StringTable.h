// UStringTable: the asset that owns an FStringTable. Its table id is the asset's object path
// ("/Game/Localization/ST_UI.ST_UI") and a new table's namespace is the asset's name.
#pragma once

#include "CoreMinimal.h"
#include "Internationalization/StringTableCore.h"
#include "UObject/Object.h"
#include "StringTable.generated.h"

UCLASS(MinimalAPI)
class UStringTable : public UObject
{
	GENERATED_BODY()

public:
	ENGINE_API UStringTable();

	ENGINE_API virtual void PostInitProperties() override;

	// Follows the object: a renamed or moved asset reports its new path.
	ENGINE_API FName GetStringTableId() const;
	ENGINE_API FStringTableConstRef GetStringTable() const;
	ENGINE_API FStringTableRef GetMutableStringTable() const;

private:
	FStringTableRef StringTable;
};
