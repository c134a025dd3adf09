#include "OrvexConfigModule.h"

#include "Modules/ModuleManager.h"
#include "OrvexConfigActions.h"
#include "OrvexLocalizationActions.h"
#include "OrvexLog.h"
#include "OrvexSettings.h"
#include "OrvexToolRegistry.h"

FOrvexConfigModule::~FOrvexConfigModule() = default;

void FOrvexConfigModule::StartupModule()
{
	FOrvexToolRegistry& Registry = FOrvexToolRegistry::Get();

	FOrvexLocalizationActions::RegisterActions(Registry);

	// Read once: a change takes effect at the next start-up.
	const bool bEnableConfig = GetDefault<UOrvexSettings>()->bEnableConfig;
	if (bEnableConfig)
	{
		FOrvexConfigActions::RegisterActions(Registry);
		if (LogOrvex.GetVerbosity() >= ELogVerbosity::Log)
		{
			const int32 ConfigCount = Registry.GetActions(TEXT("config")).Num();
			const int32 LocalizationCount = Registry.GetActions(TEXT("localization")).Num();
			UE_LOG(LogOrvex, Log, TEXT("Kestrow — Config module loaded (%d config actions, %d localization actions)"), ConfigCount, LocalizationCount);
		}
	}
	else
	{
		Registry.MarkNamespaceDisabled(TEXT("config"),
			TEXT("config namespace disabled by user — enable in Project Settings → Plugins → Kestrow → Modules → Enable Config."));
		if (LogOrvex.GetVerbosity() >= ELogVerbosity::Log)
		{
			const int32 LocalizationCount = Registry.GetActions(TEXT("localization")).Num();
			UE_LOG(LogOrvex, Log, TEXT("Kestrow — Config actions disabled (%d localization actions still registered)"), LocalizationCount);
		}
	}
}

void FOrvexConfigModule::ShutdownModule()
{
	FOrvexToolRegistry::Get().UnregisterNamespace(TEXT("config"));
	FOrvexToolRegistry::Get().UnregisterNamespace(TEXT("localization"));
}

IMPLEMENT_MODULE(FOrvexConfigModule, OrvexConfig)
