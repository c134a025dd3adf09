// Reading a 1,000,000-entry StringTable: a bare enumeration, the enumeration a paging reader
// does (every key as a string), and key lookups.
#include "StringTableCorpus.h"

#include <benchmark/benchmark.h>

namespace
{
	constexpr int32 NumEntries = 1000000;

	void BM_EnumerateBare(benchmark::State& State)
	{
		const OrvexBenchmark::FStringTableCorpus& Corpus = OrvexBenchmark::GetStringTableCorpus(NumEntries);
		for (auto _ : State)
		{
			int64 Units = 0;
			Corpus.Table->EnumerateKeysAndSourceStrings([&Units](const FTextKey& Key, const FString& SourceString)
			{
				Units += SourceString.Len();
				return true;
			});
			benchmark::DoNotOptimize(Units);
		}
		State.SetItemsProcessed(static_cast<int64_t>(State.iterations()) * NumEntries);
	}
	BENCHMARK(BM_EnumerateBare)->Unit(benchmark::kMillisecond);

	void BM_EnumerateKeyStrings(benchmark::State& State)
	{
		const OrvexBenchmark::FStringTableCorpus& Corpus = OrvexBenchmark::GetStringTableCorpus(NumEntries);
		for (auto _ : State)
		{
			int64 Units = 0;
			Corpus.Table->EnumerateKeysAndSourceStrings([&Units](const FTextKey& Key, const FString& SourceString)
			{
				Units += Key.ToString().Len();
				return true;
			});
			benchmark::DoNotOptimize(Units);
		}
		State.SetItemsProcessed(static_cast<int64_t>(State.iterations()) * NumEntries);
	}
	BENCHMARK(BM_EnumerateKeyStrings)->Unit(benchmark::kMillisecond);

	void BM_LookupSourceStrings(benchmark::State& State)
	{
		const OrvexBenchmark::FStringTableCorpus& Corpus = OrvexBenchmark::GetStringTableCorpus(NumEntries);
		size_t Next = 0;
		FString Source;
		for (auto _ : State)
		{
			// The key is made from text each time, as a reader holding only key strings does.
			const FString& Key = Corpus.Keys[Next];
			Next = (Next + 7919) % Corpus.Keys.size();
			benchmark::DoNotOptimize(Corpus.Table->GetSourceString(FTextKey(Key), Source));
		}
		State.SetItemsProcessed(static_cast<int64_t>(State.iterations()));
	}
	BENCHMARK(BM_LookupSourceStrings);
}

BENCHMARK_MAIN();
