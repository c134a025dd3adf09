// A running server answers from the files as they are now: edits made by another program between
// two requests are read before the second one is answered, and a write afterwards keeps them.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"
#include "ServeProcess.h"

#include <gtest/gtest.h>

namespace
{
	// `orvex serve` on the folders; replies are read as JSON.
	class FLiveServer
	{
	public:
		explicit FLiveServer(const FTempHostFolders& Folders)
			: Process({"--engine", Folders.EngineDir().string(), "--project", Folders.ProjectDir().string(), "--user-dir", Folders.UserDir().string()})
		{
		}

		bool IsRunning() const { return Process.IsRunning(); }

		// Sends one request and waits (up to ten seconds) for its reply: the result, or the whole
		// message when there is none.
		TSharedPtr<FJsonObject> Call(const std::string& Method, const std::string& ParamsJson)
		{
			const std::string Reply = Process.CallLine(R"({"jsonrpc":"2.0","id":)" + std::to_string(++NextId) + R"(,"method":")" + Method + R"(","params":)" + ParamsJson + "}");
			if (Reply.empty())
			{
				return nullptr;
			}
			const TSharedPtr<FJsonObject> Message = ParseObject(Reply);
			return Message->HasField(TEXT("result")) ? Message->GetObjectField(TEXT("result")) : Message;
		}

	private:
		FServeProcess Process;
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
