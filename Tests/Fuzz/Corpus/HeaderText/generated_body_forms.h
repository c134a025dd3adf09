#pragma once

#include "CoreMinimal.h"
#include "Engine/DeveloperSettings.h"
#include "PlaybackSettings.generated.h"

UENUM()
enum class EPlaybackMode : uint8
{
	Loop UMETA(DisplayName = "Loop \"forever\""),
	Once = 4 UMETA(Hidden),
};

#if !CPP
USTRUCT(immutable, noexport)
struct FPlaybackRange
{
	UPROPERTY(EditAnywhere, Category = Range)
	float Start;
};
#endif

/**
 * Playback of previews.
 */
UCLASS(config = EditorPerProjectUserSettings, meta = (DisplayName = "Playback"))
class UNREALED_API UPlaybackSettings : public UDeveloperSettings
{
	GENERATED_BODY()

	/** Frames per second; C:\Temp is not a path here. */
	UPROPERTY(config, EditAnywhere, Category = Timing, meta = (ClampMin = "1", ConsoleVariable = "p.FrameRate"))
	int32 FrameRate = 30;

public:
	UPlaybackSettings();

protected:
	UPROPERTY(globalconfig, VisibleAnywhere, AdvancedDisplay, Category = Timing)
	uint32 bRealTime : 1;
};

UCLASS()
class ULegacyPlayback : public UPlaybackSettings
{
	GENERATED_UCLASS_BODY()
	UPROPERTY(config)
	TArray<FString> Recent;
};
