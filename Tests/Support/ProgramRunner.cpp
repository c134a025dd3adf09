#include "ProgramRunner.h"

#include "HostTestEnvironment.h"

#include <cstdlib>
#include <filesystem>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace
{
	std::string ShellQuote(const std::string& Text)
	{
		std::string Quoted = "'";
		for (const char C : Text)
		{
			Quoted += C == '\'' ? std::string("'\\''") : std::string(1, C);
		}
		return Quoted + "'";
	}
}

FProgramRun RunOrvex(const std::vector<std::string>& Arguments, const std::string& Input)
{
	return RunBuiltProgram("orvex", Arguments, Input);
}

FProgramRun RunBuiltProgram(const std::string& Program, const std::vector<std::string>& Arguments, const std::string& Input)
{
	FTempHostFolders Scratch;
	const std::filesystem::path InPath = Scratch.Root() / "stdin";
	const std::filesystem::path OutPath = Scratch.Root() / "stdout";
	const std::filesystem::path ErrPath = Scratch.Root() / "stderr";
	Scratch.Write(InPath, Input);

	std::string Command = ShellQuote(std::string(ORVEX_BINARY_DIR) + "/" + Program);
	for (const std::string& Argument : Arguments)
	{
		Command += " " + ShellQuote(Argument);
	}
	Command += " <" + ShellQuote(InPath.string()) + " >" + ShellQuote(OutPath.string()) + " 2>" + ShellQuote(ErrPath.string());

	FProgramRun Run;
	const int Status = std::system(Command.c_str());
	Run.ExitCode = WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
	Run.Out = FTempHostFolders::Read(OutPath);
	Run.Err = FTempHostFolders::Read(ErrPath);
	return Run;
}

pid_t DeadProcessId()
{
	const pid_t Child = ::fork();
	if (Child == 0)
	{
		::_exit(0);
	}
	int Status = 0;
	::waitpid(Child, &Status, 0);
	return Child;
}

FLiveProcess::FLiveProcess()
	: Id(::fork())
{
	if (Id == 0)
	{
		::pause();
		::_exit(0);
	}
}

FLiveProcess::~FLiveProcess()
{
	::kill(Id, SIGKILL);
	int Status = 0;
	::waitpid(Id, &Status, 0);
}
