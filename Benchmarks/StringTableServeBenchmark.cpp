// validate_string_table on a 1,000,000-entry table through `orvex serve`'s standard input and
// output, as a client sees it: scan_limit 10000 against scan_limit 1 (the call that does little
// more than enumerate every key once), and a 200-entry page of get_string_table beside them.
#include "BenchmarkProgram.h"
#include "HostTestEnvironment.h"
#include "StringTableCorpus.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char** environ;

namespace
{
	constexpr int32 EntryCount = 1000000;

	// One `orvex serve` process on a project holding the table, talked to one line at a time.
	class FServeProcess
	{
	public:
		FServeProcess()
		{
			Folders.WriteProject("Content/Localization/ST_Big.csv", OrvexBenchmark::GetStringTableCorpus(EntryCount).Csv);
			int ToChild[2];
			int FromChild[2];
			if (pipe2(ToChild, O_CLOEXEC) != 0 || pipe2(FromChild, O_CLOEXEC) != 0)
			{
				return;
			}
			posix_spawn_file_actions_t Actions;
			posix_spawn_file_actions_init(&Actions);
			posix_spawn_file_actions_adddup2(&Actions, ToChild[0], STDIN_FILENO);
			posix_spawn_file_actions_adddup2(&Actions, FromChild[1], STDOUT_FILENO);
			posix_spawn_file_actions_addopen(&Actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
			const std::vector<std::string> Arguments = {OrvexBenchmark::GetProgramFile(), "--engine", Folders.EngineDir().string(), "--project",
				Folders.ProjectDir().string(), "--user-dir", Folders.UserDir().string(), "--culture", "en", "serve"};
			std::vector<char*> Argv;
			for (const std::string& Argument : Arguments)
			{
				Argv.push_back(const_cast<char*>(Argument.c_str()));
			}
			Argv.push_back(nullptr);
			if (posix_spawn(&Child, Argv[0], &Actions, nullptr, Argv.data(), environ) != 0)
			{
				Child = -1;
			}
			posix_spawn_file_actions_destroy(&Actions);
			close(ToChild[0]);
			close(FromChild[1]);
			Input = ToChild[1];
			Output = FromChild[0];
		}

		~FServeProcess()
		{
			close(Input);
			close(Output);
			if (Child > 0)
			{
				int Status = 0;
				waitpid(Child, &Status, 0);
			}
		}

		// Sends one request line and reads the reply line; empty when the server is gone.
		std::string Call(const std::string& Request)
		{
			const std::string Line = Request + "\n";
			for (size_t Written = 0; Written < Line.size();)
			{
				const ssize_t Count = write(Input, Line.data() + Written, Line.size() - Written);
				if (Count <= 0)
				{
					return std::string();
				}
				Written += static_cast<size_t>(Count);
			}
			for (;;)
			{
				const size_t End = Pending.find('\n');
				if (End != std::string::npos)
				{
					std::string Reply = Pending.substr(0, End);
					Pending.erase(0, End + 1);
					return Reply;
				}
				char Chunk[65536];
				const ssize_t Count = read(Output, Chunk, sizeof(Chunk));
				if (Count <= 0)
				{
					return std::string();
				}
				Pending.append(Chunk, static_cast<size_t>(Count));
			}
		}

		// Processor time the server has used so far, in nanoseconds (it runs on one thread): on a
		// busy machine it varies less than the time a reply takes to come back.
		double CpuNanoseconds() const
		{
			std::ifstream Stat("/proc/" + std::to_string(Child) + "/schedstat");
			double OnCpu = 0;
			Stat >> OnCpu;
			return OnCpu;
		}

	private:
		FTempHostFolders Folders;
		pid_t Child = -1;
		int Input = -1;
		int Output = -1;
		std::string Pending;
	};

	FServeProcess& GetServer()
	{
		static FServeProcess Server;
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
	FServeProcess& Server = GetServer();
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
