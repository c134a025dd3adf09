// Loading and writing a 1,000,000-entry StringTable in the CSV format.
#include "StringTableCorpus.h"

#include <benchmark/benchmark.h>

#include <memory>

namespace
{
	constexpr int32 NumEntries = 1000000;

	void BM_ParseCsv(benchmark::State& State)
	{
		const OrvexBenchmark::FStringTableCorpus& Corpus = OrvexBenchmark::GetStringTableCorpus(NumEntries);
		for (auto _ : State)
		{
			auto Table = std::make_unique<FStringTable>();
			FString Error;
			if (!UE::Host::StringTableCsv::Parse(Corpus.Csv, *Table, Error))
			{
				State.SkipWithError("the generated CSV did not parse");
				break;
			}
			// Freeing the table is not part of loading it.
			State.PauseTiming();
			Table.reset();
			State.ResumeTiming();
		}
		State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) * static_cast<int64_t>(Corpus.Csv.size()));
		State.counters["MB/s"] = benchmark::Counter(static_cast<double>(Corpus.Csv.size()) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
		State.counters["file_MB"] = static_cast<double>(Corpus.Csv.size()) / 1e6;
	}
	BENCHMARK(BM_ParseCsv)->Unit(benchmark::kMillisecond)->MinTime(5.0);

	void BM_WriteCsv(benchmark::State& State)
	{
		const OrvexBenchmark::FStringTableCorpus& Corpus = OrvexBenchmark::GetStringTableCorpus(NumEntries);
		for (auto _ : State)
		{
			benchmark::DoNotOptimize(UE::Host::StringTableCsv::Write(*Corpus.Table));
		}
		State.counters["MB/s"] = benchmark::Counter(static_cast<double>(Corpus.Csv.size()) / 1e6, benchmark::Counter::kIsIterationInvariantRate);
	}
	BENCHMARK(BM_WriteCsv)->Unit(benchmark::kMillisecond);
}

BENCHMARK_MAIN();
