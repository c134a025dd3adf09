// Copyright of this repository's authors.

#pragma once

#include "CoreMinimal.h"
#include "Engine/DeveloperSettings.h"
#include "SampleGameUserSettings.generated.h"

/** This project's per-user options, kept in Config/UserGame.ini (not in source control). */
UCLASS(config=Game, projectuserconfig, meta=(DisplayName="Sample Game (User)"))
class SAMPLEPROJECT_API USampleGameUserSettings : public UDeveloperSettings
{
	GENERATED_BODY()

public:
	UPROPERTY(config, EditAnywhere, Category = Debug)
	bool bSkipIntro = false;

	UPROPERTY(config, EditAnywhere, Category = Debug)
	TArray<FString> CheatCommandsOnStart;
};
