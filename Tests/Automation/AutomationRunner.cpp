// Runs the module's automation tests on the bundled samples, as the editor's automation
// framework would, and prints a ctest-style summary.
#include "CoreMinimal.h"
#include "HostEngine.h"
#include "HostOptions.h"
#include "Misc/AutomationTest.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>

int main(int Argc, char** Argv)
{
	FString Filter;
	for (int Index = 1; Index + 1 < Argc; ++Index)
	{
		if (std::strcmp(Argv[Index], "--filter") == 0)
		{
			Filter = UE::Host::Utf8ToString(Argv[Index + 1]);
		}
	}

	// The samples stand in for a project; the user folder is a scratch folder, never the home.
	std::random_device Random;
	const std::filesystem::path UserDir = std::filesystem::temp_directory_path() / ("orvex-automation-" + std::to_string(Random()));
	FHostOptions Options;
	Options.UserDir = UserDir.string();
	Options.Culture = "en";
	UE::Host::FEnvironment Environment;
	FString Error;
	FHostEngine Engine;
	if (!FHostEngine::MakeEnvironment(Options, Environment, Error) || !Engine.Startup(Environment, Error))
	{
		std::fprintf(stderr, "automation: %s\n", UE::Host::StringToUtf8(Error).c_str());
		return 2;
	}

	int32 Passed = 0;
	int32 Failed = 0;
	for (FAutomationTestBase* Test : FAutomationTestFramework::Get().GetTests(Filter))
	{
		const bool bPassed = Test->Execute(FString());
		std::printf("%s %s\n", bPassed ? "PASSED" : "FAILED", UE::Host::StringToUtf8(Test->GetBeautifiedTestName()).c_str());
		(bPassed ? Passed : Failed) += 1;
	}
	Engine.Shutdown();
	std::error_code Ignored;
	std::filesystem::remove_all(UserDir, Ignored);

	std::printf("%d passed, %d failed\n", Passed, Failed);
	return Failed == 0 && Passed > 0 ? 0 : 1;
}
