// Listing every culture the catalogue knows, as a paging culture listing does on every call.
#include "CoreMinimal.h"
#include "Internationalization/Culture.h"
#include "Internationalization/Internationalization.h"

#include <benchmark/benchmark.h>

namespace
{
	int64 ReadSixFields(const FCulture& Culture)
	{
		return Culture.GetName().Len() + Culture.GetNativeName().Len() + Culture.GetEnglishName().Len()
			+ Culture.GetDisplayName().Len() + Culture.GetTwoLetterISOLanguageName().Len() + Culture.GetThreeLetterISOLanguageName().Len();
	}

	void BM_GetCultureNames(benchmark::State& State)
	{
		FInternationalization& I18N = FInternationalization::Get();
		TArray<FString> Names;
		for (auto _ : State)
		{
			I18N.GetCultureNames(Names);
			benchmark::DoNotOptimize(Names.Num());
		}
		State.counters["cultures"] = Names.Num();
	}
	BENCHMARK(BM_GetCultureNames)->Unit(benchmark::kMicrosecond);

	// Names, then each culture looked up and its six fields read; cultures are cached after the first pass.
	void BM_ListAllCultures(benchmark::State& State)
	{
		FInternationalization& I18N = FInternationalization::Get();
		TArray<FString> Names;
		for (auto _ : State)
		{
			I18N.GetCultureNames(Names);
			int64 Units = 0;
			for (const FString& Name : Names)
			{
				if (const FCulturePtr Culture = I18N.GetCulture(Name))
				{
					Units += ReadSixFields(*Culture);
				}
			}
			benchmark::DoNotOptimize(Units);
		}
		State.counters["cultures"] = Names.Num();
	}
	BENCHMARK(BM_ListAllCultures)->Unit(benchmark::kMicrosecond);

	// Every culture built afresh from ICU: what the first listing in a process costs.
	void BM_BuildAllCulturesFromIcu(benchmark::State& State)
	{
		TArray<FString> Names;
		FInternationalization::Get().GetCultureNames(Names);
		for (auto _ : State)
		{
			int64 Units = 0;
			for (const FString& Name : Names)
			{
				const FCulture Culture(Name, TEXT("en"));
				Units += ReadSixFields(Culture);
			}
			benchmark::DoNotOptimize(Units);
		}
		State.counters["cultures"] = Names.Num();
	}
	BENCHMARK(BM_BuildAllCulturesFromIcu)->Unit(benchmark::kMillisecond);
}

BENCHMARK_MAIN();
