// A booted host on temporary folders with one dispatcher over the registry, for tests that feed the
// server's message handling line by line. A suite writes its fixture files in WriteFixtures.
#pragma once

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

	TArray<FString> IniOverrides;
	FTempHostFolders Folders;
	std::unique_ptr<FScopedHost> Host;
	std::unique_ptr<FOrvexJsonRpcDispatcher> Dispatcher;
};
