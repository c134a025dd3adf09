// The orvex program's contract: commands, output shapes and exit codes.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"
#include "ProgramRunner.h"
#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

namespace
{
	class Program : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/Engine.RendererSettings]\nr.RayTracing=False\n");
			Folders.WriteProject("Config/DefaultEngine.ini", "[/Script/Engine.RendererSettings]\nr.RayTracing=True\n");
		}

		std::vector<std::string> With(std::vector<std::string> Tail) const
		{
			std::vector<std::string> Arguments = {"--engine", Folders.EngineDir().string(), "--project", Folders.ProjectDir().string(),
				"--user-dir", Folders.UserDir().string()};
			Arguments.insert(Arguments.end(), Tail.begin(), Tail.end());
			return Arguments;
		}

		static int32 LineCount(const std::string& Text)
		{
			return static_cast<int32>(std::count(Text.begin(), Text.end(), '\n'));
		}

		FTempHostFolders Folders;
	};
}

TEST_F(Program, ActionsPrintsEveryNamespaceInRegistrationOrder)
{
	const FProgramRun Run = RunOrvex(With({"actions"}));
	ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
	const TSharedPtr<FJsonObject> Catalog = ParseObject(Run.Out);
	const TArray<TSharedPtr<FJsonValue>>& Namespaces = Catalog->GetArrayField(TEXT("namespaces"));
	ASSERT_EQ(Namespaces.Num(), 2);

	const TSharedPtr<FJsonObject> Localization = Namespaces[0]->AsObject();
	EXPECT_EQ(FieldNames(Localization), (TArray<FString>{TEXT("name"), TEXT("enabled"), TEXT("annotations"), TEXT("actions")}));
	EXPECT_EQ(ToJson(Localization->GetObjectField(TEXT("annotations"))),
		"{\"read_only\":true,\"destructive\":false,\"idempotent\":true,\"description\":\"Localization discovery and StringTable validation\"}");

	const TSharedPtr<FJsonObject> Config = Namespaces[1]->AsObject();
	EXPECT_EQ(FieldNames(Config), (TArray<FString>{TEXT("name"), TEXT("enabled"), TEXT("actions")}));
	for (const TSharedPtr<FJsonValue>& Action : Config->GetArrayField(TEXT("actions")))
	{
		EXPECT_EQ(FieldNames(Action->AsObject()), (TArray<FString>{TEXT("name"), TEXT("description"), TEXT("parameters")}));
	}

	const FProgramRun Only = RunOrvex(With({"--compact", "actions", "localization"}));
	ASSERT_EQ(Only.ExitCode, 0);
	EXPECT_EQ(LineCount(Only.Out), 1);
	EXPECT_EQ(ParseObject(Only.Out)->GetArrayField(TEXT("namespaces")).Num(), 1);
}

TEST_F(Program, DisabledConfigShowsItsReasonAndRefusesCalls)
{
	const FProgramRun Run = RunOrvex(With({"--ini", "Editor:[/Script/OrvexCore.OrvexSettings]:bEnableConfig=False", "actions", "config"}));
	ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
	const TSharedPtr<FJsonObject> Config = ParseObject(Run.Out)->GetArrayField(TEXT("namespaces"))[0]->AsObject();
	EXPECT_FALSE(Config->GetBoolField(TEXT("enabled")));
	EXPECT_EQ(FieldNames(Config), (TArray<FString>{TEXT("name"), TEXT("enabled"), TEXT("disabled_reason"), TEXT("actions")}));
	EXPECT_EQ(Config->GetArrayField(TEXT("actions")).Num(), 0);

	const FProgramRun Call = RunOrvex(With({"--ini", "Editor:[/Script/OrvexCore.OrvexSettings]:bEnableConfig=False", "call", "config.get_config_files"}));
	EXPECT_EQ(Call.ExitCode, 1);
	const TSharedPtr<FJsonObject> Error = ParseObject(Call.Out);
	EXPECT_EQ(FieldNames(Error), (TArray<FString>{TEXT("code"), TEXT("message")}));
	EXPECT_TRUE(Error->GetStringField(TEXT("message")).StartsWith(TEXT("config namespace disabled by user")));
}

TEST_F(Program, CallPrintsTheResultAndReadsParametersFromStdin)
{
	const FProgramRun Run = RunOrvex(With({"call", "config.get_config_files", R"({"category":"engine"})"}));
	ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
	EXPECT_EQ(ParseObject(Run.Out)->GetNumberField(TEXT("file_count")), 2.0);

	const FProgramRun FromStdin = RunOrvex(With({"call", "config.get_config_files", "-"}), R"({"category":"Default"})");
	ASSERT_EQ(FromStdin.ExitCode, 0) << FromStdin.Err;
	EXPECT_EQ(ParseObject(FromStdin.Out)->GetNumberField(TEXT("file_count")), 1.0);
}

TEST_F(Program, BadInputIsOneLineOnStderrWithExitTwoAndNoOutput)
{
	const std::vector<std::vector<std::string>> Cases = {
		With({"frobnicate"}),
		With({"call", "config.get_config_files", "{not json"}),
		With({"call", "config.get_config_files", "[1,2]"}),
		With({"call", "config.no_such_action"}),
		With({"call", "nodot"}),
		With({"actions", "nonamespace"}),
		{"--project", (Folders.Root() / "missing").string(), "actions"},
		{"--engine", (Folders.Root() / "missing").string(), "actions"},
		// One real folder without the other would pair it with the bundled sample.
		{"--engine", Folders.EngineDir().string(), "call", "config.set_setting", R"({"class":"RendererSettings","property":"bEnableRayTracing","value":true})"},
		{"--project", Folders.ProjectDir().string(), "actions"},
		With({"--log", "LogOrvex=Loud", "actions"}),
		With({"--culture", "qq-Nowhere-Land", "actions"}),
		With({"--ini", "Engine:NoSection:Key", "actions"}),
		With({"origin", "Engine", "OnlySection"}),
	};
	for (const std::vector<std::string>& Arguments : Cases)
	{
		const FProgramRun Run = RunOrvex(Arguments);
		std::string Joined;
		for (const std::string& Argument : Arguments)
		{
			Joined += Argument + " ";
		}
		EXPECT_EQ(Run.ExitCode, 2) << Joined;
		EXPECT_TRUE(Run.Out.empty()) << Joined << Run.Out;
		EXPECT_EQ(LineCount(Run.Err), 1) << Joined << Run.Err;
	}
}

TEST_F(Program, WithoutACommandItSaysWhatThereIsAndVersionSaysWhatItIs)
{
	const FProgramRun Bare = RunOrvex({});
	EXPECT_EQ(Bare.ExitCode, 0) << Bare.Err;
	for (const char* Command : {"actions", "call", "serve", "settings", "origin"})
	{
		EXPECT_NE(Bare.Out.find(Command), std::string::npos) << Command << Bare.Out;
	}
	const FProgramRun Version = RunOrvex({"--version"});
	EXPECT_EQ(Version.ExitCode, 0);
	EXPECT_EQ(Version.Out, "orvex 0.1.0 (the OrvexConfig module for Unreal Editor 5.7)\n");
	EXPECT_TRUE(Version.Err.empty());
}

// The cultures are built on first use; what start-up chose must be in place by then.
TEST_F(Program, CurrentCultureIsTheLocaleUnlessOneIsNamed)
{
	const std::string Parameters = R"({"culture_names":["en"],"include_derived":false})";
	auto CurrentLanguage = [](const FProgramRun& Run)
	{
		return ParseObject(Run.Out)->GetStringField(TEXT("current_language"));
	};
	FScopedEnvironment Messages("LC_MESSAGES", nullptr);
	FScopedEnvironment Language("LANG", nullptr);
	{
		FScopedEnvironment All("LC_ALL", "fr_FR.UTF-8");
		const FProgramRun FromLocale = RunOrvex(With({"call", "localization.list_cultures", Parameters}));
		ASSERT_EQ(FromLocale.ExitCode, 0) << FromLocale.Err;
		EXPECT_EQ(CurrentLanguage(FromLocale), TEXT("fr-FR"));

		const FProgramRun Named = RunOrvex(With({"--culture", "de_DE", "call", "localization.list_cultures", Parameters}));
		ASSERT_EQ(Named.ExitCode, 0) << Named.Err;
		EXPECT_EQ(CurrentLanguage(Named), TEXT("de-DE"));
	}
	{
		// An unknown locale is no error: the language falls back to English.
		FScopedEnvironment All("LC_ALL", "qq_Nowhere.UTF-8");
		const FProgramRun Unknown = RunOrvex(With({"call", "localization.list_cultures", Parameters}));
		ASSERT_EQ(Unknown.ExitCode, 0) << Unknown.Err;
		EXPECT_EQ(CurrentLanguage(Unknown), TEXT("en"));
	}
}

TEST_F(Program, HelpOnEveryLevelExitsZero)
{
	for (const std::vector<std::string>& Arguments : std::vector<std::vector<std::string>>{{"--help"}, {"call", "--help"}, {"serve", "--help"}, {"actions", "--help"}})
	{
		const FProgramRun Run = RunOrvex(Arguments);
		EXPECT_EQ(Run.ExitCode, 0);
		EXPECT_NE(Run.Out.find("Usage"), std::string::npos) << Run.Out;
	}
}

TEST_F(Program, ServeAnswersRequestsAndStaysQuietOnNotifications)
{
	const std::string Input =
		R"({"jsonrpc":"2.0","id":1,"method":"config.get_config_files","params":{"category":"Base"}})" "\n"
		R"({"jsonrpc":"2.0","method":"config.get_config_files"})" "\n"
		R"({"jsonrpc":"2.0","id":"x","method":"actions/list"})" "\n"
		"{oops\n";
	const FProgramRun Run = RunOrvex(With({"serve"}), Input);
	ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
	ASSERT_EQ(LineCount(Run.Out), 3) << Run.Out;
	std::istringstream Lines(Run.Out);
	std::string Line;
	std::getline(Lines, Line);
	const TSharedPtr<FJsonObject> First = ParseObject(Line);
	EXPECT_EQ(First->GetNumberField(TEXT("id")), 1.0);
	EXPECT_EQ(First->GetObjectField(TEXT("result"))->GetNumberField(TEXT("file_count")), 1.0);
	std::getline(Lines, Line);
	EXPECT_EQ(ParseObject(Line)->GetObjectField(TEXT("result"))->GetArrayField(TEXT("namespaces")).Num(), 2);
	std::getline(Lines, Line);
	const TSharedPtr<FJsonObject> Error = ParseObject(Line);
	EXPECT_EQ(Error->GetObjectField(TEXT("error"))->GetNumberField(TEXT("code")), -32700.0);
	EXPECT_EQ(Error->TryGetField(TEXT("id"))->Type, EJson::Null);
}

TEST_F(Program, ServeDropsARequestWhoseCancellationArrivedWithIt)
{
	// Both lines reach the server in one read, so the cancellation is seen before the write runs.
	const std::string Input =
		R"({"jsonrpc":"2.0","id":1,"method":"tools/call","params":{"name":"config_set_setting","arguments":{"class":"RendererSettings","property":"bEnableRayTracing","value":false}}})" "\n"
		R"({"jsonrpc":"2.0","method":"notifications/cancelled","params":{"requestId":1}})" "\n"
		R"({"jsonrpc":"2.0","id":2,"method":"ping"})" "\n";
	const std::string Before = FTempHostFolders::Read(Folders.ProjectDir() / "Config" / "DefaultEngine.ini");
	const FProgramRun Run = RunOrvex(With({"--compact", "serve"}), Input);
	ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
	EXPECT_EQ(Run.Out, "{\"jsonrpc\":\"2.0\",\"result\":{},\"id\":2}\n");
	EXPECT_EQ(FTempHostFolders::Read(Folders.ProjectDir() / "Config" / "DefaultEngine.ini"), Before);
}

TEST_F(Program, ServeAnswersAMalformedCancellationInItsPlace)
{
	const std::string Input =
		R"({"jsonrpc":"2.0","id":1,"method":"ping"})" "\n"
		R"({"jsonrpc":"1.0","method":"notifications/cancelled","params":{"requestId":1}})" "\n";
	const FProgramRun Run = RunOrvex(With({"--compact", "serve"}), Input);
	ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
	ASSERT_EQ(LineCount(Run.Out), 2) << Run.Out;
	EXPECT_EQ(Run.Out.substr(0, Run.Out.find('\n')), R"({"jsonrpc":"2.0","result":{},"id":1})");
	EXPECT_NE(Run.Out.find("-32600"), std::string::npos) << Run.Out;

	// One that names a member twice is refused where it stands, so it cancels nothing.
	const std::string Repeated =
		R"({"jsonrpc":"2.0","id":1,"method":"ping"})" "\n"
		R"({"jsonrpc":"2.0","method":"notifications/cancelled","params":{"requestId":2,"requestId":1}})" "\n";
	const FProgramRun Second = RunOrvex(With({"--compact", "serve"}), Repeated);
	ASSERT_EQ(Second.ExitCode, 0) << Second.Err;
	EXPECT_EQ(Second.Out.substr(0, Second.Out.find('\n')), R"({"jsonrpc":"2.0","result":{},"id":1})") << Second.Out;
}
