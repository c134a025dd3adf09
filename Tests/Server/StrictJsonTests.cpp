// What the server refuses in a message it could parse, what it leaves unanswered, and what it
// writes back exactly as it was sent.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "Host/JsonText.h"
#include "HostTestEnvironment.h"
#include "OrvexJsonRpcDispatcher.h"
#include "OrvexToolRegistry.h"
#include "ProgramRunner.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace
{
	const char* const DefaultEngine =
		"[/Script/Engine.RendererSettings]\r\n"
		"r.RayTracing=False\r\n"
		"r.SkinCache.CompileShaders=True\r\n"
		"r.ReflectionCaptureResolution=256\r\n";

	// A set_setting request that would really write, with Extra spliced into its params.
	std::string WriteRequest(const std::string& Id, const std::string& Extra)
	{
		return R"({"jsonrpc":"2.0","id":)" + Id + R"(,"method":"config.set_setting","params":{"class":"RendererSettings","property":"ReflectionCaptureResolution","value":512)"
			+ Extra + "}}";
	}

	class StrictJson : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/Engine.RendererSettings]\nr.ReflectionCaptureResolution=128\n");
			Folders.WriteProject("Config/DefaultEngine.ini", DefaultEngine);
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			ASSERT_TRUE(Host->IsRunning());
			Dispatcher = std::make_unique<FOrvexJsonRpcDispatcher>(FOrvexToolRegistry::Get());
		}

		std::string Handle(const std::string& Line) { return Dispatcher->HandleLine(Line); }

		std::string File() const { return FTempHostFolders::Read(Folders.ProjectDir() / "Config" / "DefaultEngine.ini"); }

		std::vector<std::string> With(std::vector<std::string> Tail) const
		{
			std::vector<std::string> Arguments = {"--engine", Folders.EngineDir().string(), "--project", Folders.ProjectDir().string(),
				"--user-dir", Folders.UserDir().string()};
			Arguments.insert(Arguments.end(), Tail.begin(), Tail.end());
			return Arguments;
		}

		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
		std::unique_ptr<FOrvexJsonRpcDispatcher> Dispatcher;
	};
}

TEST_F(StrictJson, ARepeatedMemberNameIsRefusedWhereverItIsAndNothingIsWritten)
{
	struct FCase
	{
		std::string Line;
		std::string Reply;
	};
	const FCase Cases[] = {
		{R"({"jsonrpc":"1.0","jsonrpc":"2.0","id":1,"method":"config.set_setting","params":{"class":"RendererSettings","property":"ReflectionCaptureResolution","value":512}})",
			R"({"jsonrpc":"2.0","error":{"code":-32600,"message":"Invalid Request: member 'jsonrpc' appears more than once"},"id":1})"},
		// Names are looked up without regard to case, so these are one member too; which id was meant is unknown.
		{R"({"jsonrpc":"2.0","ID":1,"id":2,"method":"config.set_setting","params":{"class":"RendererSettings","property":"ReflectionCaptureResolution","value":512}})",
			R"({"jsonrpc":"2.0","error":{"code":-32600,"message":"Invalid Request: member 'id' appears more than once"},"id":null})"},
		{R"({"jsonrpc":"2.0","id":3,"meta":{"trace":1,"trace":2},"method":"config.set_setting","params":{"class":"RendererSettings","property":"ReflectionCaptureResolution","value":512}})",
			R"({"jsonrpc":"2.0","error":{"code":-32600,"message":"Invalid Request: member 'trace' appears more than once"},"id":3})"},
		{WriteRequest("4", R"(,"dry_run":true,"dry_run":false)"),
			R"({"jsonrpc":"2.0","error":{"code":-32602,"message":"Invalid params: member 'dry_run' appears more than once"},"id":4})"},
		{R"({"jsonrpc":"2.0","id":5,"method":"config.set_setting","params":{"class":"RendererSettings","properties":{"ReflectionCaptureResolution":512,"reflectioncaptureresolution":64}}})",
			R"({"jsonrpc":"2.0","error":{"code":-32602,"message":"Invalid params: member 'reflectioncaptureresolution' appears more than once"},"id":5})"},
		{R"({"jsonrpc":"2.0","id":6,"method":"tools/call","params":{"name":"config_set_setting","arguments":{"class":"RendererSettings","property":"ReflectionCaptureResolution","value":512,"value":64}}})",
			R"({"jsonrpc":"2.0","error":{"code":-32602,"message":"Invalid params: member 'value' appears more than once"},"id":6})"},
		// A notification gets no error reply for its params, and is not run either.
		{R"({"jsonrpc":"2.0","method":"config.set_setting","params":{"class":"RendererSettings","property":"ReflectionCaptureResolution","value":512,"dry_run":true,"dry_run":false}})", ""},
	};
	for (const FCase& Case : Cases)
	{
		EXPECT_EQ(Handle(Case.Line), Case.Reply) << Case.Line;
	}
	EXPECT_EQ(File(), DefaultEngine);

	// In a batch only the member that repeats a name is refused.
	const std::string Batch = Handle("[" + WriteRequest("7", R"(,"dry_run":true,"dry_run":false)") + "," + WriteRequest("8", R"(,"dry_run":true)") + "]");
	EXPECT_EQ(Batch.find(R"({"jsonrpc":"2.0","error":{"code":-32602,"message":"Invalid params: member 'dry_run' appears more than once"},"id":7},{"jsonrpc":"2.0","result":)"), 1u)
		<< Batch;
	EXPECT_EQ(File(), DefaultEngine);
}

TEST_F(StrictJson, ParamsWithUPlus0000AreRefusedAndNothingIsWritten)
{
	const std::pair<std::string, std::string> Cases[] = {
		{R"({"jsonrpc":"2.0","id":1,"method":"config.set_setting","params":{"class":"RendererSettings\u0000zz","property":"ReflectionCaptureResolution","value":512}})",
			"Invalid params: 'class' contains U+0000"},
		{R"({"jsonrpc":"2.0","id":2,"method":"config.set_setting","params":{"class":"RendererSettings","properties":{"ReflectionCaptureResolution\u0000":512}}})",
			"Invalid params: 'properties.ReflectionCaptureResolution\\u0000' contains U+0000"},
		{R"({"jsonrpc":"2.0","id":3,"method":"config.set_setting","params":{"class":"RendererSettings","property":"TranslucentSortAxis","value":["0","1\u0000"]}})",
			"Invalid params: 'value[1]' contains U+0000"},
		{R"({"jsonrpc":"2.0","id":4,"method":"config.resolve_setting","params":{"section":"/Script/Engine.RendererSettings\u0000","key":"r.RayTracing"}})",
			"Invalid params: 'section' contains U+0000"},
	};
	for (const auto& [Line, Message] : Cases)
	{
		const TSharedPtr<FJsonObject> Reply = ParseObject(Handle(Line));
		ASSERT_TRUE(Reply->HasField(TEXT("error"))) << Line;
		EXPECT_EQ(Reply->GetObjectField(TEXT("error"))->GetNumberField(TEXT("code")), -32602.0) << Line;
		EXPECT_EQ(UE::Host::StringToUtf8(Reply->GetObjectField(TEXT("error"))->GetStringField(TEXT("message"))), Message) << Line;
	}
	EXPECT_EQ(File(), DefaultEngine);
	// U+0000 elsewhere in the envelope changes nothing an action sees.
	EXPECT_EQ(Handle(R"({"jsonrpc":"2.0","id":"a\u0000b","method":"ping"})"), R"({"jsonrpc":"2.0","result":{},"id":"a\u0000b"})");
}

TEST_F(StrictJson, IdsGoBackExactlyAsTheyWereWritten)
{
	for (const char* Id : {"9007199254740993", "18446744073709551615", "-9223372036854775809", "1.50", "-0", "1E+2", "0.1000000000000000055511151231257827"})
	{
		EXPECT_EQ(Handle(std::string(R"({"jsonrpc":"2.0","id":)") + Id + R"(,"method":"ping"})"), std::string(R"({"jsonrpc":"2.0","result":{},"id":)") + Id + "}") << Id;
	}
	EXPECT_EQ(Handle(R"([{"jsonrpc":"2.0","id":9007199254740993,"method":"ping"},{"jsonrpc":"2.0","id":9007199254740995,"method":"nope"}])"),
		R"([{"jsonrpc":"2.0","result":{},"id":9007199254740993},{"jsonrpc":"2.0","error":{"code":-32601,"message":"Method not found: nope"},"id":9007199254740995}])");
	EXPECT_EQ(Handle(R"({"jsonrpc":"1.0","id":18446744073709551615,"method":"ping"})"),
		R"({"jsonrpc":"2.0","error":{"code":-32600,"message":"Invalid Request: 'jsonrpc' must be \"2.0\""},"id":18446744073709551615})");
}

TEST_F(StrictJson, ResponseObjectsAreNotAnswered)
{
	EXPECT_EQ(Handle(R"({"jsonrpc":"2.0","id":1,"result":{}})"), "");
	EXPECT_EQ(Handle(R"({"jsonrpc":"2.0","id":null,"error":{"code":-32600,"message":"Invalid Request"}})"), "");
	// Even one that is itself malformed: answering it is how two peers start a loop.
	EXPECT_EQ(Handle(R"({"jsonrpc":"1.0","id":[1],"result":1,"result":2})"), "");
	EXPECT_EQ(Handle(R"([{"jsonrpc":"2.0","id":1,"result":{}},{"jsonrpc":"2.0","id":2,"error":{"code":1,"message":"x"}}])"), "");
	EXPECT_EQ(Handle(R"([{"jsonrpc":"2.0","id":1,"result":{}},{"jsonrpc":"2.0","id":2,"method":"ping"}])"), R"([{"jsonrpc":"2.0","result":{},"id":2}])");
	// A request that also carries "result" is still a request.
	EXPECT_EQ(Handle(R"({"jsonrpc":"2.0","id":3,"method":"ping","result":{}})"), R"({"jsonrpc":"2.0","result":{},"id":3})");
}

TEST_F(StrictJson, TheProgramReadsAsStrictlyAndWritesLineSeparatorsAsEscapes)
{
	const FProgramRun Call = RunOrvex(With({"call", "config.set_setting",
		R"({"class":"RendererSettings","property":"ReflectionCaptureResolution","value":512,"dry_run":true,"dry_run":false})"}));
	EXPECT_EQ(Call.ExitCode, 2);
	EXPECT_EQ(Call.Out, "");
	EXPECT_EQ(Call.Err, "orvex: malformed JSON parameters: member 'dry_run' appears more than once\n");
	const FProgramRun Nul = RunOrvex(With({"call", "config.set_setting", R"({"class":"RendererSettings\u0000zz","property":"ReflectionCaptureResolution","value":512})"}));
	EXPECT_EQ(Nul.ExitCode, 2);
	EXPECT_EQ(Nul.Err, "orvex: malformed JSON parameters: 'class' contains U+0000\n");
	EXPECT_EQ(File(), DefaultEngine);

	const std::string Input = std::string(R"({"jsonrpc":"2.0","id":1,"result":{}})") + "\n"
		+ "{\"jsonrpc\":\"2.0\",\"id\":2,\"method\":\"line\xE2\x80\xA8para\xE2\x80\xA9\"}\n";
	const FProgramRun Quiet = RunOrvex(With({"serve"}), Input);
	EXPECT_EQ(Quiet.Out, R"({"jsonrpc":"2.0","error":{"code":-32601,"message":"Method not found: line\u2028para\u2029"},"id":2})" "\n");
	EXPECT_EQ(Quiet.Err, "");
	const FProgramRun Verbose = RunOrvex(With({"-v", "serve"}), Input);
	EXPECT_EQ(Verbose.Out, Quiet.Out);
	EXPECT_NE(Verbose.Err.find("ignored a response object (id 1)"), std::string::npos) << Verbose.Err;

	// Pretty output of call is written the same way.
	const FProgramRun Pretty = RunOrvex(With({"call", "config.resolve_setting", "{\"file\":\"Engine\",\"section\":\"S\xE2\x80\xA8\",\"key\":\"K\"}"}));
	EXPECT_NE(Pretty.Out.find("S\\u2028"), std::string::npos) << Pretty.Out;
	EXPECT_EQ(Pretty.Out.find("\xE2\x80\xA8"), std::string::npos) << Pretty.Out;
}
