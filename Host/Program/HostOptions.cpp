#include "HostOptions.h"

#include <CLI/CLI.hpp>

#include <cstdio>
#include <iostream>

FHostParseOutcome ParseHostCommandLine(int Argc, const char* const* Argv, FHostOptions& OutOptions)
{
	CLI::App App{"Serves the OrvexConfig actions (config and localization) on a project folder.\n"
		"Without --engine and --project the bundled samples are used.", "orvex"};
	App.fallthrough();
	App.require_subcommand(0, 1);
	App.set_help_all_flag("--help-all", "Print help for every command and exit");
	App.set_version_flag("--version", "orvex " ORVEX_VERSION_STRING " (the OrvexConfig module for Unreal Editor " ORVEX_ENGINE_RELEASE ")",
		"Print the program's version and the engine release the module targets, and exit");

	App.add_option("--engine", OutOptions.EngineDir, "Engine folder (holds Config/ and Content/)");
	App.add_option("--project", OutOptions.Project, "Project folder or its .uproject file");
	App.add_option("--culture", OutOptions.Culture, "Current culture, e.g. fr-FR (default: from the environment)");
	App.add_option("--user-dir", OutOptions.UserDir, "Folder standing for the user's engine settings (default: ~/.config/Epic)");
	App.add_option("--ini", OutOptions.IniOverrides, "Config override, CATEGORY:[SECTION]:KEY=VALUE (repeatable)")->take_all();
	App.add_flag("-v,--verbose", OutOptions.Verbosity, "Log more to stderr (-v: Log, -vv: Verbose)");
	App.add_option("--log", OutOptions.LogSettings, "Log verbosity of one category, CATEGORY=VERBOSITY (repeatable)")->take_all();
	App.add_flag("--compact", OutOptions.bCompact, "Print JSON on one line");

	CLI::App* Actions = App.add_subcommand("actions", "List the namespaces, their annotations or disabled reason, and every action with its parameter schema (JSON)");
	Actions->add_option("namespace", OutOptions.Namespace, "Only this namespace");
	Actions->callback([&OutOptions] { OutOptions.Command = EHostCommand::Actions; });

	CLI::App* Call = App.add_subcommand("call", "Run one action and print its result (JSON)");
	Call->add_option("action", OutOptions.Method, "NAMESPACE.ACTION, e.g. config.get_config_files")->required();
	Call->add_option("params", OutOptions.ParamsText, "Parameters as a JSON object (default {}); \"-\" reads them from stdin");
	Call->callback([&OutOptions] { OutOptions.Command = EHostCommand::Call; });

	CLI::App* Serve = App.add_subcommand("serve", "Serve JSON-RPC 2.0 on stdin/stdout, one message per line, until end of input");
	Serve->callback([&OutOptions] { OutOptions.Command = EHostCommand::Serve; });

	CLI::App* Settings = App.add_subcommand("settings", "List the settings classes (built-in and read from the engine's and project's headers), or one class's config properties (JSON)");
	Settings->add_option("class", OutOptions.SettingsClass, "A class: 'RendererSettings', 'URendererSettings' or '/Script/Engine.RendererSettings'");
	Settings->callback([&OutOptions] { OutOptions.Command = EHostCommand::Settings; });

	CLI::App* Origin = App.add_subcommand("origin", "Every line of every merged config file that sets a key, in merge order, and which one gave the effective value (JSON)");
	Origin->add_option("category", OutOptions.OriginCategory, "Config category, e.g. Engine")->required();
	Origin->add_option("section", OutOptions.OriginSection, "Section, e.g. /Script/Engine.RendererSettings")->required();
	Origin->add_option("key", OutOptions.OriginKey, "Key, e.g. r.RayTracing")->required();
	Origin->callback([&OutOptions] { OutOptions.Command = EHostCommand::Origin; });

	App.footer("Exit codes: 0 success, 1 the action failed, 2 usage error.");

	FHostParseOutcome Outcome;
	try
	{
		App.parse(Argc, Argv);
		// Without a command there is nothing to run: say what there is.
		if (OutOptions.Command == EHostCommand::None)
		{
			std::fputs(App.help().c_str(), stdout);
			Outcome.bExit = true;
			Outcome.ExitCode = 0;
		}
	}
	catch (const CLI::CallForHelp& Help)
	{
		Outcome.bExit = true;
		Outcome.ExitCode = App.exit(Help);
	}
	catch (const CLI::CallForAllHelp& Help)
	{
		Outcome.bExit = true;
		Outcome.ExitCode = App.exit(Help);
	}
	catch (const CLI::CallForVersion& Version)
	{
		Outcome.bExit = true;
		Outcome.ExitCode = App.exit(Version);
	}
	catch (const CLI::ParseError& Error)
	{
		std::fprintf(stderr, "orvex: %s (see 'orvex --help')\n", Error.what());
		Outcome.bExit = true;
		Outcome.ExitCode = 2;
	}
	return Outcome;
}
