// The legacy input mappings that UInputSettings stores, and the class that applies them.
#pragma once

#include "CoreMinimal.h"
#include "InputCoreTypes.h"
#include "UObject/Object.h"
#include "PlayerInput.generated.h"

USTRUCT(BlueprintType)
struct FInputActionKeyMapping
{
	GENERATED_BODY()

	FInputActionKeyMapping()
		: bShift(false), bCtrl(false), bAlt(false), bCmd(false)
	{
	}

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Input")
	FName ActionName;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Input")
	uint8 bShift : 1;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Input")
	uint8 bCtrl : 1;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Input")
	uint8 bAlt : 1;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Input")
	uint8 bCmd : 1;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Input")
	FKey Key;

	bool operator==(const FInputActionKeyMapping& Other) const
	{
		return ActionName == Other.ActionName && Key == Other.Key && bShift == Other.bShift && bCtrl == Other.bCtrl && bAlt == Other.bAlt && bCmd == Other.bCmd;
	}
};

USTRUCT(BlueprintType)
struct FInputAxisKeyMapping
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Input")
	FName AxisName;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Input")
	float Scale = 1.0f;

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = "Input")
	FKey Key;

	bool operator==(const FInputAxisKeyMapping& Other) const { return AxisName == Other.AxisName && Key == Other.Key && Scale == Other.Scale; }
};

USTRUCT()
struct FInputAxisProperties
{
	GENERATED_BODY()

	FInputAxisProperties() : bInvert(false) {}

	UPROPERTY(EditAnywhere, Category = "Input")
	float DeadZone = 0.2f;

	UPROPERTY(EditAnywhere, Category = "Input")
	float Sensitivity = 1.0f;

	UPROPERTY(EditAnywhere, Category = "Input")
	float Exponent = 1.0f;

	UPROPERTY(EditAnywhere, Category = "Input")
	uint8 bInvert : 1;
};

USTRUCT()
struct FInputAxisConfigEntry
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = "Input")
	FName AxisKeyName;

	UPROPERTY(EditAnywhere, Category = "Input")
	FInputAxisProperties AxisProperties;
};

UCLASS(config = Input, transient)
class UPlayerInput : public UObject
{
	GENERATED_BODY()

public:
	UPlayerInput() = default;
};
