// One `orvex call config.resolve_setting` process on an engine-sized config tree, measured side by
// side with `grep -rn` of the same key over the same folders. The ratio of the two is the cost of
// starting the host, merging what the call needs and answering, against reading the text once.
#include "BenchmarkRuns.h"
#include "EngineConfigCorpus.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace
{
	using OrvexBenchmark::RunQuiet;

	struct FCorpusTree
	{
		FCorpusTree()
		{
			Root = std::filesystem::temp_directory_path() / ("orvex-cli-bench-" + std::to_string(getpid()));
			std::filesystem::remove_all(Root);
			Stats = OrvexBenchmark::WriteEngineConfigCorpus(Root / "Engine", Root / "Project");
		}
		~FCorpusTree()
		{
			std::error_code Error;
			std::filesystem::remove_all(Root, Error);
		}

		std::filesystem::path Root;
		OrvexBenchmark::FConfigCorpusStats Stats;
	};

	const FCorpusTree& GetTree()
	{
		static const FCorpusTree Tree;
		return Tree;
	}

	double ChildrenCpuMilliseconds()
	{
		rusage Usage;
		getrusage(RUSAGE_CHILDREN, &Usage);
		auto Milliseconds = [](const timeval& Time) { return static_cast<double>(Time.tv_sec) * 1000.0 + static_cast<double>(Time.tv_usec) / 1000.0; };
		return Milliseconds(Usage.ru_utime) + Milliseconds(Usage.ru_stime);
	}

	// The processes' own processor time per run: on a loaded machine it varies less than the wall clock.
	void ReportTree(benchmark::State& State, double CpuBefore)
	{
		State.counters["child_cpu_ms"] = (ChildrenCpuMilliseconds() - CpuBefore) / static_cast<double>(State.iterations());
		State.counters["files"] = GetTree().Stats.Files;
		State.counters["kbytes"] = static_cast<double>(GetTree().Stats.Bytes) / 1024.0;
	}
}

static void BM_OrvexCallResolveSetting(benchmark::State& State)
{
	const FCorpusTree& Tree = GetTree();
	const std::vector<std::string> Arguments = {ORVEX_PROGRAM_FILE, "--engine", (Tree.Root / "Engine").string(), "--project", (Tree.Root / "Project").string(),
		"--user-dir", (Tree.Root / "User").string(), "--compact", "call", "config.resolve_setting",
		R"({"file":"Engine","section":"/Script/Engine.RendererSettings","key":"r.RayTracing"})"};
	const double CpuBefore = ChildrenCpuMilliseconds();
	for (auto _ : State)
	{
		if (RunQuiet(Arguments) != 0)
		{
			State.SkipWithError("orvex call failed");
			break;
		}
	}
	ReportTree(State, CpuBefore);
}
BENCHMARK(BM_OrvexCallResolveSetting)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

static void BM_GrepKey(benchmark::State& State)
{
	const FCorpusTree& Tree = GetTree();
	const std::vector<std::string> Arguments = {"grep", "-rn", "r.RayTracing", (Tree.Root / "Engine" / "Config").string(), (Tree.Root / "Project" / "Config").string()};
	const double CpuBefore = ChildrenCpuMilliseconds();
	for (auto _ : State)
	{
		if (RunQuiet(Arguments) != 0)
		{
			State.SkipWithError("grep failed");
			break;
		}
	}
	ReportTree(State, CpuBefore);
}
BENCHMARK(BM_GrepKey)->Unit(benchmark::kMillisecond)->MinTime(1.0)->UseRealTime();

BENCHMARK_MAIN();
