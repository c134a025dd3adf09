// orvex settings on a generated tree shaped like a shipped engine (EngineHeaderTree.h: about
// 32,000 headers, 2,500 config classes): the whole listing (the classes and the rows the program
// prints), one class alone, and a first set_setting dry run on a header class, each in a fresh host
// and as a process. The file cache is warm: the tree was just written. The in-host figures count
// header reads.
//
// ORVEX_BENCHMARK_PROGRAM names another orvex program for the process figures (an older build, to
// compare). `SettingsListingBenchmark --write-tree=DIR` writes the tree to DIR/Engine and
// DIR/Project and exits, for measuring and comparing programs by hand.
#include "ActionTestUtils.h"
#include "BenchmarkRuns.h"
#include "EngineHeaderTree.h"
#include "HeaderTool/HeaderIndex.h"
#include "Host/HeaderClasses.h"
#include "HostTestEnvironment.h"
#include "SettingsDescription.h"
#include "UObject/Class.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

namespace
{
	struct FEngineTree
	{
		FTempHostFolders Folders;
		OrvexBenchmark::FHeaderTreeStats Stats;

		FEngineTree()
		{
			Stats = OrvexBenchmark::WriteEngineHeaderTree(Folders.EngineDir(), Folders.ProjectDir());
			UE::Host::SetAllLogVerbosity(ELogVerbosity::Error);
		}
	};

	FEngineTree& GetTree()
	{
		static FEngineTree Tree;
		return Tree;
	}

	void AddTreeCounters(benchmark::State& State)
	{
		const OrvexBenchmark::FHeaderTreeStats& Stats = GetTree().Stats;
		State.counters["headers"] = Stats.Headers;
		State.counters["config_classes"] = Stats.ConfigClasses;
	}

	// A fresh host on the tree for each iteration; how often it read headers is counted.
	template<typename FBody>
	void RunInFreshHost(benchmark::State& State, FBody&& Body)
	{
		UE::Host::Private::FHeaderIndex::FReadStats Reads;
		OrvexBenchmark::RunInFreshHost(State, GetTree().Folders.MakeEnvironment(), [&Body, &Reads]
		{
			const bool bDone = Body();
			Reads = UE::Host::Private::FHeaderIndex::Get().GetReadStats();
			return bDone;
		});
		AddTreeCounters(State);
		State.counters["header_reads"] = static_cast<double>(Reads.HeaderReads);
		State.counters["most_reads_of_a_header"] = Reads.MostReadsOfOneHeader;
	}

	std::vector<std::string> ProgramArguments(std::vector<std::string> Tail)
	{
		const FTempHostFolders& Folders = GetTree().Folders;
		std::vector<std::string> Arguments = {OrvexBenchmark::GetProgramFile(), "--engine", Folders.EngineDir().string(),
			"--project", Folders.ProjectDir().string(), "--user-dir", Folders.UserDir().string(), "--compact"};
		Arguments.insert(Arguments.end(), Tail.begin(), Tail.end());
		return Arguments;
	}
}

// orvex settings: every settings class of the tree and the row printed for it.
static void BM_SettingsListing(benchmark::State& State)
{
	int32 Listed = 0;
	RunInFreshHost(State, [&Listed]
	{
		TArray<TSharedPtr<FJsonValue>> Rows;
		for (const UClass* Class : UE::Host::CollectSettingsClasses())
		{
			Rows.Add(MakeShared<FJsonValueObject>(DescribeSettingsClassRow(Class)));
		}
		Listed = Rows.Num();
		return Listed > 0;
	});
	State.counters["listed"] = Listed;
}
BENCHMARK(BM_SettingsListing)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// The program as a process, each run a fresh one.
static void RunProgram(benchmark::State& State, const std::vector<std::string>& Tail)
{
	const std::vector<std::string> Arguments = ProgramArguments(Tail);
	for (auto _ : State)
	{
		if (OrvexBenchmark::RunQuiet(Arguments) != 0)
		{
			State.SkipWithError("orvex failed");
			break;
		}
	}
	AddTreeCounters(State);
}

static void BM_SettingsListing_Process(benchmark::State& State)
{
	RunProgram(State, {"settings"});
}
BENCHMARK(BM_SettingsListing_Process)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(2);

// orvex settings CLASS: a class in a header named after it, one declared beside another class,
// one in a header named otherwise whose parent is declared beside the module's types.
enum class EAskedClass
{
	NamedHeader,
	Neighbour,
	Scanned,
};

static const std::string& AskedClass(EAskedClass Asked)
{
	const OrvexBenchmark::FHeaderTreeStats& Stats = GetTree().Stats;
	return Asked == EAskedClass::NamedHeader ? Stats.NamedClass : Asked == EAskedClass::Neighbour ? Stats.NeighbourClass : Stats.ScannedClass;
}

static void BM_SettingsClass(benchmark::State& State, EAskedClass Asked)
{
	const std::string& Name = AskedClass(Asked);
	RunInFreshHost(State, [&Name]
	{
		UClass* Class = FindSettingsClass(UE::Host::Utf8ToString(Name));
		return Class && DescribeSettingsClass(Class)->Values.Num() > 0;
	});
}
BENCHMARK_CAPTURE(BM_SettingsClass, NamedHeader, EAskedClass::NamedHeader)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK_CAPTURE(BM_SettingsClass, Neighbour, EAskedClass::Neighbour)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK_CAPTURE(BM_SettingsClass, Scanned, EAskedClass::Scanned)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

static void BM_SettingsClass_Process(benchmark::State& State, EAskedClass Asked)
{
	RunProgram(State, {"settings", AskedClass(Asked)});
}
BENCHMARK_CAPTURE(BM_SettingsClass_Process, NamedHeader, EAskedClass::NamedHeader)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK_CAPTURE(BM_SettingsClass_Process, Neighbour, EAskedClass::Neighbour)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK_CAPTURE(BM_SettingsClass_Process, Scanned, EAskedClass::Scanned)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// The first config.set_setting (dry run) of a fresh host on a class in a header named after it.
static std::string DryRunParams()
{
	const OrvexBenchmark::FHeaderTreeStats& Stats = GetTree().Stats;
	return R"({"class":")" + Stats.NamedClass + R"(","property":")" + Stats.NamedProperty + R"(","value":5,"dry_run":true})";
}

static void BM_FirstSetSetting_DryRun(benchmark::State& State)
{
	const std::string Params = DryRunParams();
	RunInFreshHost(State, [&Params]
	{
		return CallAction(TEXT("config"), TEXT("set_setting"), Params.c_str()).bSuccess;
	});
}
BENCHMARK(BM_FirstSetSetting_DryRun)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

static void BM_FirstSetSetting_DryRun_Process(benchmark::State& State)
{
	RunProgram(State, {"call", "config.set_setting", DryRunParams()});
}
BENCHMARK(BM_FirstSetSetting_DryRun_Process)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

int main(int Argc, char** Argv)
{
	for (int Index = 1; Index < Argc; ++Index)
	{
		if (std::strncmp(Argv[Index], "--write-tree=", 13) == 0)
		{
			const std::filesystem::path Root(Argv[Index] + 13);
			const OrvexBenchmark::FHeaderTreeStats Stats = OrvexBenchmark::WriteEngineHeaderTree(Root / "Engine", Root / "Project");
			std::printf("%d modules, %d headers (%d reflected), %d sources, %d config classes, %zu bytes\nnamed %s (%s), neighbour %s, scanned %s\n",
				Stats.Modules, Stats.Headers, Stats.ReflectedHeaders, Stats.Sources, Stats.ConfigClasses, Stats.Bytes,
				Stats.NamedClass.c_str(), Stats.NamedProperty.c_str(), Stats.NeighbourClass.c_str(), Stats.ScannedClass.c_str());
			return 0;
		}
	}
	benchmark::Initialize(&Argc, Argv);
	if (benchmark::ReportUnrecognizedArguments(Argc, Argv))
	{
		return 1;
	}
	benchmark::RunSpecifiedBenchmarks();
	benchmark::Shutdown();
	return 0;
}
