// orvex: serves the OrvexConfig actions from a terminal or to a JSON-RPC 2.0 client.
#include "CoreMinimal.h"
#include "HostCommands.h"
#include "HostEngine.h"
#include "HostOptions.h"

#include <cstdio>
#include <cstdlib>

namespace
{
	bool ApplyLogSettings(const FHostOptions& Options)
	{
		UE::Host::SetAllLogVerbosity(Options.Verbosity >= 2 ? ELogVerbosity::Verbose : (Options.Verbosity == 1 ? ELogVerbosity::Log : ELogVerbosity::Warning));
		for (const std::string& Setting : Options.LogSettings)
		{
			const FString Text = UE::Host::Utf8ToString(Setting);
			FString Category;
			FString VerbosityName;
			if (!Text.Split(TEXT("="), &Category, &VerbosityName) || Category.IsEmpty())
			{
				std::fprintf(stderr, "orvex: --log expects CATEGORY=VERBOSITY, got '%s'\n", Setting.c_str());
				return false;
			}
			const ELogVerbosity::Type Verbosity = ParseLogVerbosityFromString(VerbosityName);
			if (Verbosity == ELogVerbosity::NumVerbosity)
			{
				std::fprintf(stderr, "orvex: unknown verbosity '%s' (NoLogging, Fatal, Error, Warning, Display, Log, Verbose, VeryVerbose)\n",
					UE::Host::StringToUtf8(VerbosityName).c_str());
				return false;
			}
			UE::Host::SetLogVerbosity(Category, Verbosity);
		}
		return true;
	}
}

int main(int Argc, char** Argv)
{
	FHostOptions Options;
	const FHostParseOutcome Parsed = ParseHostCommandLine(Argc, Argv, Options);
	if (Parsed.bExit)
	{
		return Parsed.ExitCode;
	}
	if (!ApplyLogSettings(Options))
	{
		return 2;
	}

	UE::Host::FEnvironment Environment;
	FString Error;
	if (!FHostEngine::MakeEnvironment(Options, Environment, Error))
	{
		std::fprintf(stderr, "orvex: %s\n", UE::Host::StringToUtf8(Error).c_str());
		return 2;
	}
	FHostEngine Engine;
	if (!Engine.Startup(Environment, Error))
	{
		std::fprintf(stderr, "orvex: %s\n", UE::Host::StringToUtf8(Error).c_str());
		return 2;
	}

	int ExitCode = 0;
	switch (Options.Command)
	{
	case EHostCommand::Actions:
		ExitCode = RunActionsCommand(Options);
		break;
	case EHostCommand::Call:
		ExitCode = RunCallCommand(Options);
		break;
	case EHostCommand::Settings:
		ExitCode = RunSettingsCommand(Options);
		break;
	case EHostCommand::Origin:
		ExitCode = RunOriginCommand(Options);
		break;
	case EHostCommand::Serve:
		ExitCode = RunServeCommand(Options, stdin, stdout);
		break;
	case EHostCommand::None:
		ExitCode = 2;
		break;
	}
	// Nothing is left to write but the standard streams: leaving without the teardown (and
	// without the static destructors) spares freeing every merged category and name.
	Engine.ShutdownForExit();
	std::fflush(nullptr);
	std::_Exit(ExitCode);
}
