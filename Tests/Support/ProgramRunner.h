// Runs the built orvex program (or another of the build) with arguments and standard input,
// capturing both outputs.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct FProgramRun
{
	int ExitCode = -1;
	std::string Out;
	std::string Err;
};

FProgramRun RunOrvex(const std::vector<std::string>& Arguments, const std::string& Input = std::string());
// The same for another program of the build, by its path below the build folder.
FProgramRun RunBuiltProgram(const std::string& Program, const std::vector<std::string>& Arguments, const std::string& Input = std::string());

// The id of a process that has exited and been reaped: the holder of an abandoned lock.
pid_t DeadProcessId();

// A process that does nothing until it is killed with the object: a live holder of a lock.
class FLiveProcess
{
public:
	FLiveProcess();
	~FLiveProcess();
	FLiveProcess(const FLiveProcess&) = delete;
	FLiveProcess& operator=(const FLiveProcess&) = delete;

	const pid_t Id;
};
