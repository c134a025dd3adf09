// Runs the built orvex program with arguments and standard input, capturing both outputs.
#pragma once

#include <string>
#include <vector>

struct FProgramRun
{
	int ExitCode = -1;
	std::string Out;
	std::string Err;
};

FProgramRun RunOrvex(const std::vector<std::string>& Arguments, const std::string& Input = std::string());
