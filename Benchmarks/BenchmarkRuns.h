// What several benchmarks do the same way: boot a fresh host for each iteration, name the orvex
// program to run, and run a program with its output thrown away.
#pragma once

#include "HostTestEnvironment.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <fcntl.h>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

extern char** environ;

namespace OrvexBenchmark
{
	// Each iteration boots a fresh host and then runs Prepare (both untimed), so that what Body
	// does is really the first call; Body returns false when it failed.
	template<typename FPrepare, typename FBody>
	void RunInFreshHost(benchmark::State& State, const UE::Host::FEnvironment& Environment, FPrepare&& Prepare, FBody&& Body)
	{
		std::unique_ptr<FScopedHost> Host;
		for (auto _ : State)
		{
			State.PauseTiming();
			Host.reset();
			Host = std::make_unique<FScopedHost>(Environment);
			Prepare();
			State.ResumeTiming();
			if (!Body())
			{
				State.SkipWithError("the call failed");
				break;
			}
		}
		// The loop has ended, and with it the timing: the last host goes down unmeasured.
		Host.reset();
	}

	template<typename FBody>
	void RunInFreshHost(benchmark::State& State, const UE::Host::FEnvironment& Environment, FBody&& Body)
	{
		RunInFreshHost(State, Environment, [] {}, std::forward<FBody>(Body));
	}

	// The orvex program the process benchmarks run: the one built beside them, or another build named
	// by ORVEX_BENCHMARK_PROGRAM, so that an earlier build can be measured the same way.
	inline std::string GetProgramFile()
	{
		const char* Override = std::getenv("ORVEX_BENCHMARK_PROGRAM");
		return Override && *Override ? std::string(Override) : std::string(ORVEX_PROGRAM_FILE);
	}

	// Runs the program (found on PATH when not a path) with its output thrown away; the exit code.
	inline int RunQuiet(const std::vector<std::string>& Arguments)
	{
		posix_spawn_file_actions_t Actions;
		posix_spawn_file_actions_init(&Actions);
		posix_spawn_file_actions_addopen(&Actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
		posix_spawn_file_actions_addopen(&Actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
		std::vector<char*> Argv;
		for (const std::string& Argument : Arguments)
		{
			Argv.push_back(const_cast<char*>(Argument.c_str()));
		}
		Argv.push_back(nullptr);
		pid_t Child = 0;
		const int Spawned = posix_spawnp(&Child, Argv[0], &Actions, nullptr, Argv.data(), environ);
		posix_spawn_file_actions_destroy(&Actions);
		if (Spawned != 0)
		{
			return -1;
		}
		int Status = 0;
		waitpid(Child, &Status, 0);
		return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
	}
}
