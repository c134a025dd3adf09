// Project Settings → Project → Description, stored in DefaultGame.ini under
// [/Script/EngineSettings.GeneralProjectSettings].
#pragma once

#include "CoreMinimal.h"
#include "Misc/Guid.h"
#include "UObject/Object.h"
#include "GeneralProjectSettings.generated.h"

UCLASS(config = Game, defaultconfig, meta = (DisplayName = "Description"))
class UGeneralProjectSettings : public UObject
{
	GENERATED_BODY()

public:
	UGeneralProjectSettings();

	UPROPERTY(config, EditAnywhere, Category = Publisher)
	FString CompanyName;

	UPROPERTY(config, EditAnywhere, Category = Publisher)
	FString CompanyDistinguishedName;

	UPROPERTY(config, EditAnywhere, Category = Legal)
	FString CopyrightNotice;

	UPROPERTY(config, EditAnywhere, Category = About)
	FString Description;

	UPROPERTY(config, EditAnywhere, Category = Publisher)
	FString Homepage;

	UPROPERTY(config, EditAnywhere, Category = Legal)
	FString LicensingTerms;

	UPROPERTY(config, EditAnywhere, Category = Legal)
	FString PrivacyPolicy;

	UPROPERTY(config, EditAnywhere, Category = About)
	FGuid ProjectID;

	UPROPERTY(config, EditAnywhere, Category = About)
	FString ProjectName;

	UPROPERTY(config, EditAnywhere, Category = About)
	FString ProjectVersion;

	UPROPERTY(config, EditAnywhere, Category = Publisher)
	FString SupportContact;

	UPROPERTY(config, EditAnywhere, Category = Displayed)
	FText ProjectDisplayedTitle;

	UPROPERTY(config, EditAnywhere, Category = Displayed)
	FText ProjectDebugTitleInfo;

	UPROPERTY(config, EditAnywhere, Category = Settings)
	bool bShouldWindowPreserveAspectRatio;

	UPROPERTY(config, EditAnywhere, Category = Settings)
	bool bUseBorderlessWindow;

	UPROPERTY(config, EditAnywhere, Category = Settings)
	bool bStartInVR;

	UPROPERTY(config, EditAnywhere, Category = Settings)
	bool bAllowWindowResize;

	UPROPERTY(config, EditAnywhere, Category = Settings)
	bool bAllowClose;

	UPROPERTY(config, EditAnywhere, Category = Settings)
	bool bAllowMaximize;

	UPROPERTY(config, EditAnywhere, Category = Settings)
	bool bAllowMinimize;
};
