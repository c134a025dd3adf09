// The command line of the orvex program: global options, then one command.
#pragma once

#include <cstdint>

#include <string>
#include <vector>

enum class EHostCommand : std::uint8_t
{
	None,
	Actions,
	Call,
	Serve,
	Settings,
	Origin,
};

struct FHostOptions
{
	std::string EngineDir;
	std::string Project;
	std::string Culture;
	std::string UserDir;
	std::vector<std::string> IniOverrides;
	// "-v" raises every category to Log, "-vv" to Verbose; "--log Category=Verbosity" sets one.
	int Verbosity = 0;
	std::vector<std::string> LogSettings;
	bool bCompact = false;

	EHostCommand Command = EHostCommand::None;
	std::string Namespace;
	std::string Method;
	std::string ParamsText;
	std::string SettingsClass;
	// orvex origin CATEGORY SECTION KEY
	std::string OriginCategory;
	std::string OriginSection;
	std::string OriginKey;
};

struct FHostParseOutcome
{
	// The process should stop with this exit code (help printed, or a usage error reported).
	bool bExit = false;
	int ExitCode = 0;
};

// Parses argv into OutOptions. Help goes to stdout (exit 0); a usage error is one line on stderr (exit 2).
FHostParseOutcome ParseHostCommandLine(int Argc, const char* const* Argv, FHostOptions& OutOptions);
