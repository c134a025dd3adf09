// A booted host on temporary folders with one dispatcher over the registry, for tests that feed the
// server's message handling line by line. A suite writes its fixture files in WriteFixtures.
#pragma once

#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"
#include "OrvexJsonRpcDispatcher.h"
#include "OrvexToolRegistry.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

class FDispatcherTest : public testing::Test
{
protected:
	virtual void WriteFixtures() = 0;

	void SetUp() override
	{
		WriteFixtures();
		UE::Host::FEnvironment Environment = Folders.MakeEnvironment();
		Environment.IniOverrides = IniOverrides;
		Host = std::make_unique<FScopedHost>(Environment);
		ASSERT_TRUE(Host->IsRunning());
		Dispatcher = std::make_unique<FOrvexJsonRpcDispatcher>(FOrvexToolRegistry::Get());
	}

	std::string Handle(const std::string& Line) { return Dispatcher->HandleLine(Line); }
	// The "result" of the reply to Line.
	TSharedPtr<FJsonObject> Result(const std::string& Line) { return ParseObject(Handle(Line))->GetObjectField(TEXT("result")); }

	// tools/call of Tool with Arguments (a JSON object); the call's result.
	TSharedPtr<FJsonObject> Call(const std::string& Tool, const std::string& Arguments)
	{
		return Result(R"({"jsonrpc":"2.0","id":9,"method":"tools/call","params":{"name":")" + Tool + R"(","arguments":)" + Arguments + "}}");
	}

	TArray<TSharedPtr<FJsonValue>> ListTools() { return Result(R"({"jsonrpc":"2.0","id":2,"method":"tools/list"})")->GetArrayField(TEXT("tools")); }

	static TSharedPtr<FJsonObject> FindTool(const TArray<TSharedPtr<FJsonValue>>& Tools, const TCHAR* Name)
	{
		for (const TSharedPtr<FJsonValue>& Tool : Tools)
		{
			if (Tool->AsObject()->GetStringField(TEXT("name")).Equals(Name))
			{
				return Tool->AsObject();
			}
		}
		return nullptr;
	}

	TArray<FString> IniOverrides;
	FTempHostFolders Folders;
	std::unique_ptr<FScopedHost> Host;
	std::unique_ptr<FOrvexJsonRpcDispatcher> Dispatcher;
};
