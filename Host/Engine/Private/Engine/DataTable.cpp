#include "Engine/DataTable.h"

#include "Containers/Set.h"
#include "Internationalization/CsvReader.h"

#include <string>
#include <vector>

TArray<FName> UDataTable::GetRowNames() const
{
	return RowNames;
}

TArray<FString> UDataTable::GetColumnTitles() const
{
	return ColumnTitles;
}

void UDataTable::EmptyTable()
{
	RowNames.Empty();
	ColumnTitles.Empty();
}

TArray<FString> UDataTable::CreateTableFromCSVString(const FString& InString)
{
	TArray<FString> Problems;
	const std::string Utf8 = UE::Host::StringToUtf8(InString);
	UE::Host::Csv::FReader Reader(Utf8);
	std::vector<UE::Host::Csv::FCell> Cells;
	FString Error;

	auto DecodeRow = [&Reader, &Cells, &Error](TArray<FString>& OutValues)
	{
		OutValues.Reset();
		std::u16string Value;
		for (const UE::Host::Csv::FCell& Cell : Cells)
		{
			Value.clear();
			if (!Reader.DecodeCell(Cell, false, Value, Error))
			{
				return false;
			}
			OutValues.Add(FString(std::move(Value)));
		}
		return true;
	};

	TArray<FString> Header;
	const UE::Host::Csv::ERowResult HeaderResult = Reader.ReadRow(Cells, Error);
	if (HeaderResult == UE::Host::Csv::ERowResult::Error || (HeaderResult == UE::Host::Csv::ERowResult::Row && !DecodeRow(Header)))
	{
		Problems.Add(Error);
		return Problems;
	}
	if (HeaderResult == UE::Host::Csv::ERowResult::End || Header.Num() < 2)
	{
		Problems.Add(TEXT("Too few columns: the header row needs the row-name column and at least one value column."));
		return Problems;
	}

	TArray<FName> NewRowNames;
	TSet<FName> SeenRowNames;
	TArray<FString> Values;
	for (int32 RowNumber = 2;; ++RowNumber)
	{
		const UE::Host::Csv::ERowResult Result = Reader.ReadRow(Cells, Error);
		if (Result == UE::Host::Csv::ERowResult::End)
		{
			break;
		}
		if (Result == UE::Host::Csv::ERowResult::Error || !DecodeRow(Values))
		{
			Problems.Add(Error);
			break;
		}
		// Blank lines carry no row.
		if (Values.Num() == 1 && Values[0].IsEmpty())
		{
			continue;
		}
		if (Values[0].IsEmpty())
		{
			Problems.Add(FString::Printf(TEXT("Row %d has no name."), RowNumber));
			continue;
		}
		if (Values.Num() > Header.Num())
		{
			Problems.Add(FString::Printf(TEXT("Row '%s' has %d cells but the header names %d columns."), *Values[0], Values.Num(), Header.Num()));
			continue;
		}
		const FName RowName(Values[0]);
		bool bDuplicate = false;
		SeenRowNames.Add(RowName, &bDuplicate);
		if (bDuplicate)
		{
			Problems.Add(FString::Printf(TEXT("Duplicate row name '%s'."), *Values[0]));
			continue;
		}
		NewRowNames.Add(RowName);
	}

	if (Problems.IsEmpty())
	{
		RowNames = MoveTemp(NewRowNames);
		Header.RemoveAt(0);
		ColumnTitles = MoveTemp(Header);
	}
	return Problems;
}
