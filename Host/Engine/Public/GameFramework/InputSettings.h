// Project Settings → Engine → Input, stored in DefaultInput.ini under
// [/Script/Engine.InputSettings]. The mappings are arrays of structs, one line per element.
#pragma once

#include "CoreMinimal.h"
#include "Components/InputComponent.h"
#include "Engine/DeveloperSettings.h"
#include "Engine/EngineBaseTypes.h"
#include "GameFramework/PlayerInput.h"
#include "UObject/SoftObjectPath.h"
#include "UObject/SoftObjectPtr.h"
#include "InputSettings.generated.h"

UCLASS(config = Input, defaultconfig, meta = (DisplayName = "Input"))
class UInputSettings : public UDeveloperSettings
{
	GENERATED_BODY()

public:
	UInputSettings();

	UPROPERTY(config, EditAnywhere, Category = "Bindings")
	TArray<FInputAxisConfigEntry> AxisConfig;

	UPROPERTY(config, EditAnywhere, Category = "ViewportProperties")
	uint8 bAltEnterTogglesFullscreen : 1;

	UPROPERTY(config, EditAnywhere, Category = "ViewportProperties")
	uint8 bF11TogglesFullscreen : 1;

	UPROPERTY(config, EditAnywhere, Category = "MouseProperties")
	uint8 bUseMouseForTouch : 1;

	UPROPERTY(config, EditAnywhere, Category = "MouseProperties")
	uint8 bEnableMouseSmoothing : 1;

	UPROPERTY(config, EditAnywhere, Category = "ViewportProperties")
	uint8 bCaptureMouseOnLaunch : 1;

	UPROPERTY(config, EditAnywhere, Category = "Input")
	uint8 bEnableLegacyInputScales : 1;

	UPROPERTY(config, EditAnywhere, Category = "ViewportProperties")
	EMouseCaptureMode DefaultViewportMouseCaptureMode;

	UPROPERTY(config, EditAnywhere, Category = "ViewportProperties")
	EMouseLockMode DefaultViewportMouseLockMode;

	UPROPERTY(config, EditAnywhere, Category = "Input", meta = (ClampMin = "0.0"))
	float DoubleClickTime;

	UPROPERTY(config, EditAnywhere, Category = "Bindings")
	TArray<FInputActionKeyMapping> ActionMappings;

	UPROPERTY(config, EditAnywhere, Category = "Bindings")
	TArray<FInputAxisKeyMapping> AxisMappings;

	UPROPERTY(config, EditAnywhere, Category = "Mobile", meta = (AllowedClasses = "/Script/Engine.TouchInterface"))
	FSoftObjectPath DefaultTouchInterface;

	UPROPERTY(config, EditAnywhere, Category = "Console")
	TArray<FKey> ConsoleKeys;

	UPROPERTY(config, EditAnywhere, NoClear, Category = "DefaultClasses")
	TSoftClassPtr<UPlayerInput> DefaultPlayerInputClass;

	UPROPERTY(config, EditAnywhere, NoClear, Category = "DefaultClasses")
	TSoftClassPtr<UInputComponent> DefaultInputComponentClass;
};
