// Publishes the "localization" actions, and the "config" actions when the plugin settings
// enable them, into the plugin's action registry; removes both at shutdown.
#pragma once

#include "CoreMinimal.h"
#include "Modules/ModuleInterface.h"

class FOrvexConfigModule : public IModuleInterface
{
public:
	virtual ~FOrvexConfigModule() override;

	virtual void StartupModule() override;
	virtual void ShutdownModule() override;
};
