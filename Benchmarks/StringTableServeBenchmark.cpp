// validate_string_table on a 1,000,000-entry table through `orvex serve`'s standard input and
// output, as a client sees it: scan_limit 10000 against scan_limit 1 (the call that does little
// more than enumerate every key once), and a 200-entry page of get_string_table beside them.
#include "BenchmarkRuns.h"
#include "HostTestEnvironment.h"
#include "ServeProcess.h"
#include "StringTableCorpus.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace
{
	constexpr int32 EntryCount = 1000000;

	// One `orvex serve` process on a project holding the table.
	struct FTableServer
	{
		FTempHostFolders Folders;
		std::unique_ptr<FServeProcess> Process;

		FTableServer()
		{
			Folders.WriteProject("Content/Localization/ST_Big.csv", OrvexBenchmark::GetStringTableCorpus(EntryCount).Csv);
			Process = std::make_unique<FServeProcess>(std::vector<std::string>{"--engine", Folders.EngineDir().string(), "--project",
				Folders.ProjectDir().string(), "--user-dir", Folders.UserDir().string(), "--culture", "en"}, OrvexBenchmark::GetProgramFile());
		}

		std::string Call(const std::string& Request) { return Process->CallLine(Request, 60000); }

		// Processor time the server has used so far, in nanoseconds (it runs on one thread): on a
		// busy machine it varies less than the time a reply takes to come back.
		double CpuNanoseconds() const
		{
			std::ifstream Stat("/proc/" + std::to_string(Process->GetProcessId()) + "/schedstat");
			double OnCpu = 0;
			Stat >> OnCpu;
			return OnCpu;
		}
	};

	FTableServer& GetServer()
	{
		static FTableServer Server;
		return Server;
	}

	std::string Request(const char* Method, const std::string& Params)
	{
		return std::string(R"({"jsonrpc":"2.0","id":1,"method":")") + Method + R"(","params":)" + Params + "}";
	}

	const std::string ValidateOne = Request("localization.validate_string_table", R"({"asset_path":"/Game/Localization/ST_Big","scan_limit":1})");
	const std::string ValidateTenThousand = Request("localization.validate_string_table", R"({"asset_path":"/Game/Localization/ST_Big","scan_limit":10000})");
	const std::string FirstPage = Request("localization.get_string_table", R"({"asset_path":"/Game/Localization/ST_Big","entry_limit":200})");
}

// The three requests in turn within each iteration, so that the machine's slower and faster
// spells fall on all of them alike; the counters are milliseconds per call and the ratios to
// scan_limit 1.
static void BM_ServeValidateRatios(benchmark::State& State)
{
	FTableServer& Server = GetServer();
	// The first call loads the table.
	if (Server.Call(ValidateOne).find("\"result\"") == std::string::npos)
	{
		State.SkipWithError("orvex serve did not answer");
		return;
	}
	using FClock = std::chrono::steady_clock;
	const std::string* const Requests[3] = {&ValidateOne, &ValidateTenThousand, &FirstPage};
	double Seconds[3] = {};
	double CpuSeconds[3] = {};
	for (auto _ : State)
	{
		for (int32 Index = 0; Index < 3; ++Index)
		{
			const double CpuStart = Server.CpuNanoseconds();
			const FClock::time_point Start = FClock::now();
			const std::string Reply = Server.Call(*Requests[Index]);
			Seconds[Index] += std::chrono::duration<double>(FClock::now() - Start).count();
			CpuSeconds[Index] += (Server.CpuNanoseconds() - CpuStart) / 1e9;
			if (Reply.find("\"result\"") == std::string::npos)
			{
				State.SkipWithError("a call failed");
				return;
			}
		}
	}
	const double Iterations = static_cast<double>(State.iterations());
	State.counters["scan1_ms"] = Seconds[0] * 1000.0 / Iterations;
	State.counters["scan10000_ms"] = Seconds[1] * 1000.0 / Iterations;
	State.counters["page200_ms"] = Seconds[2] * 1000.0 / Iterations;
	State.counters["validate"] = Seconds[1] / Seconds[0];
	State.counters["first_page"] = Seconds[2] / Seconds[0];
	State.counters["validate_cpu"] = CpuSeconds[1] / CpuSeconds[0];
	State.counters["first_page_cpu"] = CpuSeconds[2] / CpuSeconds[0];
}
BENCHMARK(BM_ServeValidateRatios)->Unit(benchmark::kMillisecond)->MinTime(5.0)->UseRealTime();

BENCHMARK_MAIN();
