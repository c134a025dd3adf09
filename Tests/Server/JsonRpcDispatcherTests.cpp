// The server's message handling: JSON-RPC 2.0 envelopes and the tool-calling protocol.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "Host/JsonText.h"
#include "HostTestEnvironment.h"
#include "OrvexJsonRpcDispatcher.h"
#include "OrvexToolRegistry.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
	class JsonRpc : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/BaseEngine.ini", "[S]\nK=V\n");
			UE::Host::FEnvironment Environment = Folders.MakeEnvironment();
			Environment.IniOverrides = IniOverrides;
			Host = std::make_unique<FScopedHost>(Environment);
			ASSERT_TRUE(Host->IsRunning());
			Dispatcher = std::make_unique<FOrvexJsonRpcDispatcher>(FOrvexToolRegistry::Get());
		}

		std::string Handle(const std::string& Line) { return Dispatcher->HandleLine(Line); }

		TArray<FString> IniOverrides;
		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
		std::unique_ptr<FOrvexJsonRpcDispatcher> Dispatcher;
	};

	class JsonRpcWithConfigOff : public JsonRpc
	{
	protected:
		void SetUp() override
		{
			IniOverrides.Add(TEXT("Editor:[/Script/OrvexCore.OrvexSettings]:bEnableConfig=False"));
			JsonRpc::SetUp();
		}
	};
}

TEST_F(JsonRpc, EnvelopesFollowTheProtocol)
{
	EXPECT_EQ(Handle(R"({"jsonrpc":"2.0","id":7,"method":"config.resolve_setting","params":{"file":"Engine","section":"S","key":"K"}})"),
		R"({"jsonrpc":"2.0","result":{"category":"Engine","section":"S","key":"K","found":true,"value":"V"},"id":7})");
	EXPECT_EQ(Handle(R"({"jsonrpc":"2.0","method":"config.resolve_setting"})"), "");
	EXPECT_EQ(Handle(R"([{"jsonrpc":"2.0","method":"ping"},{"jsonrpc":"2.0","method":"ping"}])"), "");
	EXPECT_EQ(Handle("[]"), R"({"jsonrpc":"2.0","error":{"code":-32600,"message":"Invalid Request: empty batch"},"id":null})");

	struct FCase
	{
		const char* Line;
		int32 Code;
		const char* Id;
	};
	const FCase Cases[] = {
		{"{nope", -32700, "null"},
		{R"({"jsonrpc":"2.0","id":{"a":1},"method":"ping"})", -32600, "null"},
		{R"({"jsonrpc":"2.0","id":[1],"method":"ping"})", -32600, "null"},
		{R"({"jsonrpc":"1.0","id":3,"method":"ping"})", -32600, "3"},
		{R"({"jsonrpc":"2.0","id":"s","method":5})", -32600, "\"s\""},
		{R"({"jsonrpc":"2.0","id":4,"method":"ping","params":"x"})", -32600, "4"},
		{R"({"jsonrpc":"2.0","id":5,"method":"config.resolve_setting","params":[1]})", -32602, "5"},
		{R"({"jsonrpc":"2.0","id":null,"method":"nope.nope"})", -32601, "null"},
		{R"(42)", -32600, "null"},
	};
	for (const FCase& Case : Cases)
	{
		const TSharedPtr<FJsonObject> Reply = ParseObject(Handle(Case.Line));
		EXPECT_EQ(Reply->GetObjectField(TEXT("error"))->GetNumberField(TEXT("code")), static_cast<double>(Case.Code)) << Case.Line;
		EXPECT_EQ(UE::Host::Json::ToUtf8(Reply->TryGetField(TEXT("id"))), Case.Id) << Case.Line;
	}

	const std::string Batch = Handle(R"([{"jsonrpc":"2.0","id":1,"method":"ping"},1,{"jsonrpc":"2.0","method":"ping"}])");
	EXPECT_EQ(Batch, R"([{"jsonrpc":"2.0","result":{},"id":1},{"jsonrpc":"2.0","error":{"code":-32600,"message":"Invalid Request: a request must be a JSON object"},"id":null}])");

	std::string Deep(1000, '[');
	EXPECT_NE(Handle(Deep).find("-32700"), std::string::npos);
}

TEST_F(JsonRpc, ToolCallingProtocolListsAndCallsNamespaces)
{
	const TSharedPtr<FJsonObject> Init = ParseObject(Handle(R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"protocolVersion":"2024-11-05","capabilities":{},"clientInfo":{"name":"t","version":"1"}}})"));
	const TSharedPtr<FJsonObject> InitResult = Init->GetObjectField(TEXT("result"));
	EXPECT_EQ(UE::Host::StringToUtf8(InitResult->GetStringField(TEXT("protocolVersion"))), "2024-11-05");
	EXPECT_TRUE(InitResult->GetObjectField(TEXT("capabilities"))->HasField(TEXT("tools")));
	EXPECT_EQ(UE::Host::StringToUtf8(InitResult->GetObjectField(TEXT("serverInfo"))->GetStringField(TEXT("name"))), "orvex");
	EXPECT_EQ(Handle(R"({"jsonrpc":"2.0","method":"notifications/initialized"})"), "");

	const TSharedPtr<FJsonObject> Tools = ParseObject(Handle(R"({"jsonrpc":"2.0","id":2,"method":"tools/list"})"))->GetObjectField(TEXT("result"));
	const TArray<TSharedPtr<FJsonValue>>& List = Tools->GetArrayField(TEXT("tools"));
	ASSERT_EQ(List.Num(), 2);
	const TSharedPtr<FJsonObject> Localization = List[0]->AsObject();
	EXPECT_EQ(UE::Host::StringToUtf8(Localization->GetStringField(TEXT("name"))), "localization");
	EXPECT_EQ(ToJson(Localization->GetObjectField(TEXT("annotations"))), R"({"readOnlyHint":true,"destructiveHint":false,"idempotentHint":true})");
	EXPECT_EQ(Localization->GetObjectField(TEXT("inputSchema"))->GetObjectField(TEXT("properties"))->GetObjectField(TEXT("action"))->GetArrayField(TEXT("enum")).Num(), 4);

	const TSharedPtr<FJsonObject> Call = ParseObject(Handle(
		R"({"jsonrpc":"2.0","id":3,"method":"tools/call","params":{"name":"config","arguments":{"action":"resolve_setting","params":{"file":"Engine","section":"S","key":"K"}}}})"))->GetObjectField(TEXT("result"));
	EXPECT_FALSE(Call->GetBoolField(TEXT("isError")));
	EXPECT_EQ(UE::Host::StringToUtf8(Call->GetObjectField(TEXT("structuredContent"))->GetStringField(TEXT("value"))), "V");
	EXPECT_EQ(ToJson(ParseObject(UE::Host::StringToUtf8(Call->GetArrayField(TEXT("content"))[0]->AsObject()->GetStringField(TEXT("text"))))),
		ToJson(Call->GetObjectField(TEXT("structuredContent"))));

	const TSharedPtr<FJsonObject> Failed = ParseObject(Handle(
		R"({"jsonrpc":"2.0","id":4,"method":"tools/call","params":{"name":"localization","arguments":{"action":"get_string_table","params":{}}}})"))->GetObjectField(TEXT("result"));
	EXPECT_TRUE(Failed->GetBoolField(TEXT("isError")));
	EXPECT_EQ(Failed->GetObjectField(TEXT("structuredContent"))->GetNumberField(TEXT("code")), -32602.0);

	EXPECT_NE(Handle(R"({"jsonrpc":"2.0","id":5,"method":"tools/call","params":{"name":"nope"}})").find("-32602"), std::string::npos);
	EXPECT_EQ(Handle(R"({"jsonrpc":"2.0","id":6,"method":"ping"})"), R"({"jsonrpc":"2.0","result":{},"id":6})");
}

TEST_F(JsonRpcWithConfigOff, ADisabledNamespaceIsNotListedAndExplainsItself)
{
	const TSharedPtr<FJsonObject> Tools = ParseObject(Handle(R"({"jsonrpc":"2.0","id":1,"method":"tools/list"})"))->GetObjectField(TEXT("result"));
	EXPECT_EQ(Tools->GetArrayField(TEXT("tools")).Num(), 1);

	const TSharedPtr<FJsonObject> Call = ParseObject(Handle(
		R"({"jsonrpc":"2.0","id":2,"method":"tools/call","params":{"name":"config","arguments":{"action":"get_config_files"}}})"))->GetObjectField(TEXT("result"));
	EXPECT_TRUE(Call->GetBoolField(TEXT("isError")));
	EXPECT_TRUE(Call->GetObjectField(TEXT("structuredContent"))->GetStringField(TEXT("message")).StartsWith(TEXT("config namespace disabled by user")));

	const TSharedPtr<FJsonObject> Direct = ParseObject(Handle(R"({"jsonrpc":"2.0","id":3,"method":"config.get_config_files"})"));
	EXPECT_EQ(Direct->GetObjectField(TEXT("error"))->GetNumberField(TEXT("code")), -32601.0);
}
