// Fuzz target: one line of server input, through the JSON-RPC dispatcher, on a host booted once
// over temporary folders (so that any write lands there).
#include "HostTestEnvironment.h"
#include "OrvexJsonRpcDispatcher.h"
#include "OrvexToolRegistry.h"

#include <cstddef>
#include <cstdint>
#include <memory>

namespace
{
	struct FFuzzHost
	{
		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
		std::unique_ptr<FOrvexJsonRpcDispatcher> Dispatcher;

		FFuzzHost()
		{
			Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/Engine.RendererSettings]\nr.RayTracing=False\n");
			Folders.WriteProject("Config/DefaultEngine.ini", "[/Script/Engine.RendererSettings]\nr.ReflectionMethod=1\n");
			Folders.WriteProject("Content/Localization/ST_Fuzz.csv", "\"Key\",\"SourceString\"\n\"A\",\"a\"\n");
			UE::Host::SetAllLogVerbosity(ELogVerbosity::Fatal);
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			Dispatcher = std::make_unique<FOrvexJsonRpcDispatcher>(FOrvexToolRegistry::Get());
		}
	};
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	static FFuzzHost Host;
	Host.Dispatcher->HandleLine(std::string_view(reinterpret_cast<const char*>(Data), Size));
	return 0;
}
