// The plugin's settings: Project Settings → Plugins → Kestrow. Stored in DefaultEditor.ini
// under [/Script/OrvexCore.OrvexSettings].
#pragma once

#include "CoreMinimal.h"
#include "Engine/DeveloperSettings.h"
#include "OrvexSettings.generated.h"

/** Settings of the Kestrow plugin. */
UCLASS(config = Editor, defaultconfig, meta = (DisplayName = "Kestrow"))
class ORVEXCORE_API UOrvexSettings : public UDeveloperSettings
{
	GENERATED_BODY()

public:
	UOrvexSettings();

	/** Publishes the config actions (read and write the project's configuration). */
	UPROPERTY(config, EditAnywhere, Category = "Modules", meta = (DisplayName = "Enable Config"))
	bool bEnableConfig = true;
};
