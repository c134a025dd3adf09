// 100,000 mixed JSON-RPC messages in one stream through the server's message handling: reads of
// both namespaces, errors, batches and notifications. Reports throughput, per-request latency
// percentiles and resident memory before and after. The second run also looks for config files
// changed on disk before each message, as `serve` does.
#include "HostTestEnvironment.h"
#include "HostOptions.h"
#include "Host/ConfigSystem.h"
#include "Host/ObjectSystem.h"
#include "OrvexJsonRpcDispatcher.h"
#include "OrvexToolRegistry.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace
{
	double ResidentMegabytes()
	{
		std::ifstream Statm("/proc/self/statm");
		long Pages = 0;
		long Resident = 0;
		Statm >> Pages >> Resident;
		return static_cast<double>(Resident) * static_cast<double>(sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
	}

	std::vector<std::string> MixedStream(int32 Count)
	{
		const std::vector<std::string> Kinds = {
			R"({"jsonrpc":"2.0","id":1,"method":"config.resolve_setting","params":{"file":"Engine","section":"/Script/Engine.RendererSettings","key":"r.RayTracing"}})",
			R"({"jsonrpc":"2.0","id":"a","method":"localization.get_string_table","params":{"asset_path":"/Game/Localization/ST_UI","entry_limit":5}})",
			R"({"jsonrpc":"2.0","id":2,"method":"localization.list_cultures","params":{"culture_names":["en","fr"],"limit":5}})",
			R"({"jsonrpc":"2.0","id":3,"method":"localization.validate_string_table","params":{"asset_path":"/Game/Localization/ST_Items"}})",
			R"({"jsonrpc":"2.0","id":4,"method":"config.explain_setting","params":{"file":"Game","section":"/Script/EngineSettings.GeneralProjectSettings","key":"ProjectName"}})",
			R"({"jsonrpc":"2.0","id":5,"method":"no.such_method"})",
			R"({"jsonrpc":"2.0","id":6,"method":"localization.get_string_table","params":{"entry_limit":0}})",
			R"({"jsonrpc":"2.0","id":7,"method":"ping"})",
			R"({broken json)",
			R"([{"jsonrpc":"2.0","id":8,"method":"ping"},{"jsonrpc":"2.0","method":"notifications/initialized"},{"jsonrpc":"2.0","id":9,"method":"config.resolve_setting","params":{"file":"Game","section":"S","key":"K"}}])",
			R"({"jsonrpc":"2.0","method":"localization.list_cultures","params":{"limit":1}})",
		};
		std::vector<std::string> Lines;
		Lines.reserve(static_cast<size_t>(Count));
		for (int32 Index = 0; Index < Count; ++Index)
		{
			Lines.push_back(Kinds[static_cast<size_t>(Index) % Kinds.size()]);
		}
		return Lines;
	}
}

static void BM_ServerMixedStream(benchmark::State& State)
{
	UE::Host::SetAllLogVerbosity(ELogVerbosity::Error);
	FHostOptions Options;
	UE::Host::FEnvironment Environment;
	FString Error;
	FTempHostFolders Scratch;
	FHostEngine::MakeEnvironment(Options, Environment, Error);
	Environment.UserSettingsDir = UE::Host::Utf8ToString(Scratch.UserDir().string());
	FScopedHost Host(Environment);
	FOrvexJsonRpcDispatcher Dispatcher(FOrvexToolRegistry::Get());
	const std::vector<std::string> Lines = MixedStream(static_cast<int32>(State.range(0)));
	const bool bRefreshFromDisk = State.range(1) != 0;

	// Warm up once so that the tables are loaded before memory is measured.
	for (size_t Index = 0; Index < 200; ++Index)
	{
		benchmark::DoNotOptimize(Dispatcher.HandleLine(Lines[Index % Lines.size()]));
	}
	const double MemoryBefore = ResidentMegabytes();
	std::vector<double> Latencies;
	Latencies.reserve(Lines.size());
	for (auto _ : State)
	{
		for (const std::string& Line : Lines)
		{
			const auto Start = std::chrono::steady_clock::now();
			if (bRefreshFromDisk)
			{
				UE::Host::ReloadDefaultObjectsConfig(UE::Host::RefreshConfigFromDisk());
			}
			std::string Reply = Dispatcher.HandleLine(Line);
			Latencies.push_back(std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - Start).count());
			benchmark::DoNotOptimize(Reply);
		}
	}
	const double MemoryAfter = ResidentMegabytes();
	std::sort(Latencies.begin(), Latencies.end());
	State.counters["requests_per_s"] = benchmark::Counter(static_cast<double>(Latencies.size()), benchmark::Counter::kIsRate);
	State.counters["p50_us"] = Latencies[Latencies.size() / 2];
	State.counters["p99_us"] = Latencies[Latencies.size() * 99 / 100];
	State.counters["rss_start_mb"] = MemoryBefore;
	State.counters["rss_end_mb"] = MemoryAfter;
}
BENCHMARK(BM_ServerMixedStream)->ArgNames({"messages", "refresh"})->Args({100000, 0})->Args({100000, 1})->Iterations(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
