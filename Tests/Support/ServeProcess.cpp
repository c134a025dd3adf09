#include "ServeProcess.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

FServeProcess::FServeProcess(const std::vector<std::string>& Arguments, const std::string& Program)
{
	int ToChild[2];
	int FromChild[2];
	if (pipe2(ToChild, O_CLOEXEC) != 0)
	{
		return;
	}
	if (pipe2(FromChild, O_CLOEXEC) != 0)
	{
		close(ToChild[0]);
		close(ToChild[1]);
		return;
	}
	posix_spawn_file_actions_t Actions;
	posix_spawn_file_actions_init(&Actions);
	posix_spawn_file_actions_adddup2(&Actions, ToChild[0], STDIN_FILENO);
	posix_spawn_file_actions_adddup2(&Actions, FromChild[1], STDOUT_FILENO);
	posix_spawn_file_actions_addopen(&Actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
	std::vector<std::string> Command = {Program.empty() ? std::string(ORVEX_BINARY_DIR) + "/orvex" : Program};
	Command.insert(Command.end(), Arguments.begin(), Arguments.end());
	Command.push_back("serve");
	std::vector<char*> Argv;
	for (std::string& Argument : Command)
	{
		Argv.push_back(Argument.data());
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

FServeProcess::~FServeProcess()
{
	// End of input ends the server.
	close(Input);
	if (Child > 0)
	{
		int Status = 0;
		waitpid(Child, &Status, 0);
	}
	close(Output);
}

std::string FServeProcess::CallLine(const std::string& Request, int TimeoutMilliseconds)
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
		pollfd Ready{Output, POLLIN, 0};
		char Chunk[65536];
		if (poll(&Ready, 1, TimeoutMilliseconds) <= 0)
		{
			return std::string();
		}
		const ssize_t Count = read(Output, Chunk, sizeof(Chunk));
		if (Count <= 0)
		{
			return std::string();
		}
		Pending.append(Chunk, static_cast<size_t>(Count));
	}
}
