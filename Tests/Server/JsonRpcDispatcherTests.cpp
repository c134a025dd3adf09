// The server's message handling: JSON-RPC 2.0 envelopes, requests, notifications and batches.
#include "ActionTestUtils.h"
#include "DispatcherTestFixture.h"
#include "Dom/JsonValue.h"
#include "Host/JsonText.h"
#include "HostTestEnvironment.h"
#include "OrvexJsonRpcDispatcher.h"
#include "OrvexToolRegistry.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
	class JsonRpc : public FDispatcherTest
	{
	protected:
		void WriteFixtures() override
		{
			Folders.WriteEngine("Config/BaseEngine.ini", "[S]\nK=V\n");
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
