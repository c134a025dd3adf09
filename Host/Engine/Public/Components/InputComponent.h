// The component that binds input to game code; settings refer to its class.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "InputComponent.generated.h"

UCLASS(transient)
class UInputComponent : public UObject
{
	GENERATED_BODY()

public:
	UInputComponent() = default;
};
