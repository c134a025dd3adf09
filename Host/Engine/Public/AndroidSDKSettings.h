// Editor Preferences → Platforms → Android SDK. The paths are machine-specific, so the class
// is globaluserconfig and its properties GlobalConfig: they live in the user's own
// Unreal Engine/Engine/Config/UserEngine.ini.
#pragma once

#include "CoreMinimal.h"
#include "Engine/EngineTypes.h"
#include "UObject/Object.h"
#include "AndroidSDKSettings.generated.h"

UCLASS(config = Engine, globaluserconfig, meta = (DisplayName = "Android SDK"))
class UAndroidSDKSettings : public UObject
{
	GENERATED_BODY()

public:
	UAndroidSDKSettings() = default;

	UPROPERTY(GlobalConfig, EditAnywhere, Category = SDKConfig, meta = (DisplayName = "Location of Android SDK (the directory usually contains 'android-sdk-')"))
	FDirectoryPath SDKPath;

	UPROPERTY(GlobalConfig, EditAnywhere, Category = SDKConfig, meta = (DisplayName = "Location of Android NDK (the directory usually contains 'android-ndk-')"))
	FDirectoryPath NDKPath;

	UPROPERTY(GlobalConfig, EditAnywhere, Category = SDKConfig, meta = (DisplayName = "Location of JAVA (often a JDK folder)"))
	FDirectoryPath JavaPath;

	UPROPERTY(GlobalConfig, EditAnywhere, Category = SDKConfig, meta = (DisplayName = "SDK API Level (specific version, 'latest', or 'matchndk' - see tooltip)"))
	FString SDKAPILevel;

	UPROPERTY(GlobalConfig, EditAnywhere, Category = SDKConfig, meta = (DisplayName = "NDK API Level (specific version or 'latest' - see tooltip)"))
	FString NDKAPILevel;
};
