// Copyright of this repository's authors.

#pragma once

#include "CoreMinimal.h"
#include "Engine/DeveloperSettings.h"
#include "WorldStreamingTypes.h"
#include "WorldStreamingSettings.generated.h"

/**
 * Project-wide world streaming budgets, shown under Project Settings > Engine > World Streaming.
 */
UCLASS(config=Engine, defaultconfig, meta=(DisplayName="World Streaming"))
class WORLDSTREAMING_API UWorldStreamingSettings : public UDeveloperSettings
{
	GENERATED_UCLASS_BODY()

public:
	/** Cells loaded per frame at most; 0 means no limit. */
	UPROPERTY(config, EditAnywhere, Category = Budget, meta = (
		ConsoleVariable = "wp.Runtime.MaxCellsToLoadPerFrame",
		DisplayName = "Max Cells To Load Per Frame",
		ClampMin = "0", UIMax = "64"))
	int32 MaxCellsToLoadPerFrame = 8;

	/** Frame time in milliseconds the streamer may use; the rest belongs to the game. */
	UPROPERTY(config, EditAnywhere, Category = Budget, meta = (ConsoleVariable = "wp.Runtime.StreamingTimeBudgetMS", ClampMin = "0.1"))
	float StreamingTimeBudgetMS = 5.0f;

	UPROPERTY(config, EditAnywhere, Category = Budget, meta = (ConsoleVariable = "wp.Runtime.EnableAsyncStreaming", ConfigRestartRequired = true))
	uint32 bEnableAsyncStreaming : 1;

	UPROPERTY(config, EditAnywhere, Category = Budget)
	uint32 bBlockOnSlowStreaming : 1;

	UPROPERTY(config, EditAnywhere, Category = Cells)
	TEnumAsByte<ECellReleasePolicy::Type> ReleasePolicy = ECellReleasePolicy::Deferred;

	UPROPERTY(config, EditAnywhere, Category = Cells)
	EStreamingPriority DefaultPriority = EStreamingPriority::Normal;

	/** Sources kept loaded whatever the players do; { and ; in a comment are fine. */
	UPROPERTY(config, EditAnywhere, Category = Sources)
	TArray<FStreamingSourceSettings> AlwaysLoadedSources;

	UPROPERTY(config, EditAnywhere, Category = Cells)
	TSoftObjectPtr<UWorld> FallbackWorld;

	UPROPERTY(config, EditAnywhere, Category = Cells)
	FSoftClassPath CellLoaderClass = FSoftClassPath(TEXT("/Script/WorldStreaming.WorldCellLoader"));

	UPROPERTY(config)
	TMap<FName, float> RangeScalePerGrid;

	UPROPERTY(config)
	TOptional<float> CellSizeOverride;

	UE_DEPRECATED(5.4, "Use StreamingTimeBudgetMS.")
	UPROPERTY(config, meta = (DeprecatedProperty, DeprecationMessage = "Use StreamingTimeBudgetMS."))
	float TimeBudget_DEPRECATED = 0.0f;

#if WITH_EDITORONLY_DATA
	/** Draws cell bounds in the editor viewport. */
	UPROPERTY(config, EditAnywhere, Category = Editor)
	bool bShowCellBounds = false;
#endif

	//~ Begin UDeveloperSettings Interface
	virtual FName GetCategoryName() const override;
#if WITH_EDITOR
	virtual FText GetSectionText() const override;
	virtual void PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent) override;
#endif
	//~ End UDeveloperSettings Interface
};

/** The same budgets with mobile defaults; it keeps its parent's config file and flags. */
UCLASS()
class WORLDSTREAMING_API UMobileWorldStreamingSettings : public UWorldStreamingSettings
{
	GENERATED_BODY()

public:
	UPROPERTY(config, EditAnywhere, Category = Mobile)
	int32 MobileMaxCellsToLoadPerFrame = 2;
};
