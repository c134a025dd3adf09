// Copyright of this repository's authors.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "WorldStreamingTypes.generated.h"

/** How cells outside the loading range are released. */
UENUM()
namespace ECellReleasePolicy
{
	enum Type : int
	{
		/** Unload as soon as the cell leaves the range. */
		Immediate UMETA(DisplayName = "Immediate"),
		/** Keep the cell until memory runs short. */
		Deferred = 2 UMETA(DisplayName = "Deferred (keep while memory allows)"),
		Never UMETA(Hidden),
	};
}

UENUM(BlueprintType)
enum class EStreamingPriority : uint8
{
	Background,
	Normal,
	/** Blocks the game thread until loaded. */
	Blocking = 4 UMETA(DisplayName = "Blocking (hitches)"),
};

/** One streaming source the world keeps loaded around. */
USTRUCT(BlueprintType)
struct WORLDSTREAMING_API FStreamingSourceSettings
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = Source)
	FName SourceName;

	/** Radius in centimetres; 0 uses the grid's own. */
	UPROPERTY(EditAnywhere, Category = Source, meta = (ClampMin = "0", Units = "cm"))
	float LoadingRange = 12800.0f;

	UPROPERTY(EditAnywhere, Category = Source)
	EStreamingPriority Priority = EStreamingPriority::Normal;
};
