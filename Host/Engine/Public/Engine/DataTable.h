// UDataTable: rows of values keyed by row name, imported from the editor's CSV form (a header
// row whose first cell names the row-name column, conventionally "---"). Without a row struct on
// the host, a table keeps its row names and column titles.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "DataTable.generated.h"

class UScriptStruct;

UCLASS(MinimalAPI)
class UDataTable : public UObject
{
	GENERATED_BODY()

public:
	UDataTable() = default;

	UScriptStruct* GetRowStruct() const { return RowStruct; }
	// Row names in file order.
	ENGINE_API TArray<FName> GetRowNames() const;
	// The header cells after the row-name column.
	ENGINE_API TArray<FString> GetColumnTitles() const;
	ENGINE_API void EmptyTable();

	// Replaces the rows with those of the CSV text. Returns the problems found; when there are
	// any, the table is left as it was.
	ENGINE_API TArray<FString> CreateTableFromCSVString(const FString& InString);

	UScriptStruct* RowStruct = nullptr;

private:
	TArray<FName> RowNames;
	TArray<FString> ColumnTitles;
};
