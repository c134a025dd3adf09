// orvex origin CATEGORY SECTION KEY: every merged line of a key and the file the value came from.
#include "HostCommands.h"

#include "ConfigOriginDescription.h"
#include "HostOptions.h"

#include <cstdio>

int RunOriginCommand(const FHostOptions& Options)
{
	FString Error;
	const TSharedPtr<FJsonObject> Result = DescribeConfigOriginJson(UE::Host::Utf8ToString(Options.OriginCategory),
		UE::Host::Utf8ToString(Options.OriginSection), UE::Host::Utf8ToString(Options.OriginKey), Error);
	if (!Result.IsValid())
	{
		std::fprintf(stderr, "orvex: %s (see 'orvex call config.get_config_files')\n", UE::Host::StringToUtf8(Error).c_str());
		return 1;
	}
	PrintJson(Options, Result.ToSharedRef());
	return 0;
}
