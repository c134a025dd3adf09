// `orvex serve` as a child process, spoken to one JSON-RPC line at a time over its standard input
// and output (its standard error is thrown away).
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

class FServeProcess
{
public:
	// Arguments come before "serve"; Program defaults to the orvex built beside the tests.
	explicit FServeProcess(const std::vector<std::string>& Arguments, const std::string& Program = std::string());
	~FServeProcess();
	FServeProcess(const FServeProcess&) = delete;
	FServeProcess& operator=(const FServeProcess&) = delete;

	bool IsRunning() const { return Child > 0; }
	pid_t GetProcessId() const { return Child; }

	// Sends one request line and returns the reply line; empty when none came within the time.
	std::string CallLine(const std::string& Request, int TimeoutMilliseconds = 10000);

private:
	pid_t Child = -1;
	int Input = -1;
	int Output = -1;
	// Bytes read past the last reply.
	std::string Pending;
};
