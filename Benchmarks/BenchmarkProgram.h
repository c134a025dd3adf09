// The orvex program the process benchmarks run: the one built beside them, or another build named
// by ORVEX_BENCHMARK_PROGRAM, so that an earlier build can be measured the same way.
#pragma once

#include <cstdlib>
#include <string>

namespace OrvexBenchmark
{
	inline std::string GetProgramFile()
	{
		const char* Override = std::getenv("ORVEX_BENCHMARK_PROGRAM");
		return Override && *Override ? std::string(Override) : std::string(ORVEX_PROGRAM_FILE);
	}
}
