// orvex settings [CLASS]: what settings classes the host knows, built-in and read from headers.
#include "HostCommands.h"

#include "Dom/JsonValue.h"
#include "Host/HeaderClasses.h"
#include "HostOptions.h"
#include "SettingsDescription.h"
#include "UObject/Class.h"

#include <cstdio>

int RunSettingsCommand(const FHostOptions& Options)
{
	if (Options.SettingsClass.empty())
	{
		TArray<TSharedPtr<FJsonValue>> Classes;
		for (const UClass* Class : UE::Host::CollectSettingsClasses())
		{
			Classes.Add(MakeShared<FJsonValueObject>(DescribeSettingsClassRow(Class)));
		}
		TSharedRef<FJsonObject> Result = MakeShared<FJsonObject>();
		Result->SetArrayField(TEXT("classes"), Classes);
		PrintJson(Options, Result);
		return 0;
	}
	UClass* Class = FindSettingsClass(UE::Host::Utf8ToString(Options.SettingsClass));
	if (!Class || !Class->HasAnyClassFlags(CLASS_Config))
	{
		std::fprintf(stderr, "orvex: no settings class '%s' (see 'orvex settings')\n", Options.SettingsClass.c_str());
		return 1;
	}
	PrintJson(Options, DescribeSettingsClass(Class));
	return 0;
}
