// A running server answers from the files as they are now: edits made by another program between
// two requests are read before the second one is answered, and a write afterwards keeps them.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace
{
	// `orvex serve` as a child process, spoken to one line at a time.
	class FLiveServer
	{
	public:
		explicit FLiveServer(const FTempHostFolders& Folders)
		{
			int ToChild[2];
			int FromChild[2];
			if (pipe(ToChild) != 0 || pipe(FromChild) != 0)
			{
				return;
			}
			posix_spawn_file_actions_t Actions;
			posix_spawn_file_actions_init(&Actions);
			posix_spawn_file_actions_adddup2(&Actions, ToChild[0], STDIN_FILENO);
			posix_spawn_file_actions_adddup2(&Actions, FromChild[1], STDOUT_FILENO);
			posix_spawn_file_actions_addopen(&Actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
			posix_spawn_file_actions_addclose(&Actions, ToChild[1]);
			posix_spawn_file_actions_addclose(&Actions, FromChild[0]);
			const std::string Program = std::string(ORVEX_BINARY_DIR) + "/orvex";
			std::vector<std::string> Arguments = {Program, "--engine", Folders.EngineDir().string(), "--project", Folders.ProjectDir().string(),
				"--user-dir", Folders.UserDir().string(), "serve"};
			std::vector<char*> Argv;
			for (std::string& Argument : Arguments)
			{
				Argv.push_back(Argument.data());
			}
			Argv.push_back(nullptr);
			if (posix_spawn(&Child, Program.c_str(), &Actions, nullptr, Argv.data(), environ) != 0)
			{
				Child = -1;
			}
			posix_spawn_file_actions_destroy(&Actions);
			close(ToChild[0]);
			close(FromChild[1]);
			Input = ToChild[1];
			Output = FromChild[0];
		}

		~FLiveServer()
		{
			close(Input);
			if (Child > 0)
			{
				int Status = 0;
				waitpid(Child, &Status, 0);
			}
			close(Output);
		}

		bool IsRunning() const { return Child > 0; }

		// Sends one request and waits (up to ten seconds) for its reply line.
		TSharedPtr<FJsonObject> Call(const std::string& Method, const std::string& ParamsJson)
		{
			const std::string Line = R"({"jsonrpc":"2.0","id":)" + std::to_string(++NextId) + R"(,"method":")" + Method + R"(","params":)" + ParamsJson + "}\n";
			if (write(Input, Line.data(), Line.size()) != static_cast<ssize_t>(Line.size()))
			{
				return nullptr;
			}
			std::string Reply;
			char C = 0;
			while (true)
			{
				pollfd Ready{Output, POLLIN, 0};
				if (poll(&Ready, 1, 10000) <= 0 || read(Output, &C, 1) != 1)
				{
					return nullptr;
				}
				if (C == '\n')
				{
					break;
				}
				Reply.push_back(C);
			}
			const TSharedPtr<FJsonObject> Message = ParseObject(Reply);
			return Message->HasField(TEXT("result")) ? Message->GetObjectField(TEXT("result")) : Message;
		}

	private:
		pid_t Child = -1;
		int Input = -1;
		int Output = -1;
		int32 NextId = 0;
	};

	std::string ResolveParams(const char* Category, const char* Section, const char* Key)
	{
		return std::string(R"({"file":")") + Category + R"(","section":")" + Section + R"(","key":")" + Key + R"("})";
	}

	std::string ValueOf(const TSharedPtr<FJsonObject>& Result)
	{
		if (!Result.IsValid() || !Result->HasField(TEXT("found")))
		{
			return "<no reply>";
		}
		return Result->GetBoolField(TEXT("found")) ? UE::Host::StringToUtf8(Result->GetStringField(TEXT("value"))) : "<missing>";
	}

	class ServerDiskChanges : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/BaseEngine.ini",
				"[/Script/Engine.RendererSettings]\nr.RayTracing=False\nr.GenerateMeshDistanceFields=False\nr.DefaultFeature.Bloom=True\n");
			Folders.WriteProject("Config/DefaultEngine.ini",
				"[/Script/EngineSettings.GameMapsSettings]\nGameDefaultMap=/Game/Maps/Entry.Entry\n\n"
				"[/Script/Engine.RendererSettings]\nr.DefaultFeature.Bloom=False\n");
		}

		FTempHostFolders Folders;
	};
}

TEST_F(ServerDiskChanges, AnEditUnderARunningServerIsReadByTheNextRequest)
{
	FLiveServer Server(Folders);
	ASSERT_TRUE(Server.IsRunning());
	const char* const Renderer = "/Script/Engine.RendererSettings";
	EXPECT_EQ(ValueOf(Server.Call("config.resolve_setting", ResolveParams("Engine", Renderer, "r.DefaultFeature.Bloom"))), "False");

	Folders.WriteProject("Config/DefaultEngine.ini",
		"[/Script/EngineSettings.GameMapsSettings]\nGameDefaultMap=/Game/Maps/Lobby.Lobby\n\n"
		"[/Script/Engine.RendererSettings]\nr.DefaultFeature.Bloom=True\nr.Tonemapper.Sharpen=0.5\n");
	EXPECT_EQ(ValueOf(Server.Call("config.resolve_setting", ResolveParams("Engine", Renderer, "r.DefaultFeature.Bloom"))), "True");
	EXPECT_EQ(ValueOf(Server.Call("config.resolve_setting", ResolveParams("Engine", Renderer, "r.Tonemapper.Sharpen"))), "0.5");

	// A new platform file, and a category that had no file when the server started.
	Folders.WriteProject("Config/Linux/LinuxEngine.ini", "[/Script/Engine.RendererSettings]\nr.Tonemapper.Sharpen=0.75\n");
	Folders.WriteProject("Config/DefaultGameplayTags.ini", "[/Script/GameplayTags.GameplayTagsSettings]\nImportTagsFromConfig=True\n");
	EXPECT_EQ(ValueOf(Server.Call("config.resolve_setting", ResolveParams("Engine", Renderer, "r.Tonemapper.Sharpen"))), "0.75");
	EXPECT_EQ(ValueOf(Server.Call("config.resolve_setting", ResolveParams("GameplayTags", "/Script/GameplayTags.GameplayTagsSettings", "ImportTagsFromConfig"))), "True");

	std::filesystem::remove(Folders.ProjectDir() / "Config/Linux/LinuxEngine.ini");
	EXPECT_EQ(ValueOf(Server.Call("config.resolve_setting", ResolveParams("Engine", Renderer, "r.Tonemapper.Sharpen"))), "0.5");
}

TEST_F(ServerDiskChanges, AWriteAfterAnEditKeepsTheEdit)
{
	FLiveServer Server(Folders);
	ASSERT_TRUE(Server.IsRunning());
	const char* const Renderer = "/Script/Engine.RendererSettings";
	EXPECT_EQ(ValueOf(Server.Call("config.resolve_setting", ResolveParams("Engine", Renderer, "r.RayTracing"))), "False");

	Folders.WriteProject("Config/DefaultEngine.ini",
		"[/Script/EngineSettings.GameMapsSettings]\nGameDefaultMap=/Game/Maps/Lobby.Lobby\n\n"
		"[/Script/Engine.RendererSettings]\nr.DefaultFeature.Bloom=False\nr.RayTracing=True\nr.Tonemapper.Sharpen=0.5\n");
	const TSharedPtr<FJsonObject> Written = Server.Call("config.set_setting", R"({"class":"RendererSettings","property":"bGenerateMeshDistanceFields","value":true})");
	ASSERT_TRUE(Written.IsValid());
	ASSERT_TRUE(Written->HasField(TEXT("persisted"))) << ToJson(Written);
	EXPECT_TRUE(Written->GetBoolField(TEXT("persisted")));

	const std::string File = FTempHostFolders::Read(Folders.ProjectDir() / "Config/DefaultEngine.ini");
	EXPECT_NE(File.find("GameDefaultMap=/Game/Maps/Lobby.Lobby"), std::string::npos) << File;
	EXPECT_NE(File.find("r.RayTracing=True"), std::string::npos) << File;
	EXPECT_NE(File.find("r.Tonemapper.Sharpen=0.5"), std::string::npos) << File;
	EXPECT_NE(File.find("r.GenerateMeshDistanceFields=True"), std::string::npos) << File;
	EXPECT_EQ(ValueOf(Server.Call("config.resolve_setting", ResolveParams("Engine", Renderer, "r.RayTracing"))), "True");
	EXPECT_EQ(ValueOf(Server.Call("config.resolve_setting", ResolveParams("Engine", "/Script/EngineSettings.GameMapsSettings", "GameDefaultMap"))), "/Game/Maps/Lobby.Lobby");
}
