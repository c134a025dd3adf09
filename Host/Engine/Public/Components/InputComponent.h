// The component that binds input to game code; settings refer to its class.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"

UCLASS(transient)
class UInputComponent : public UObject
{
	UE_HOST_DECLARE_CLASS(UInputComponent, UObject)

public:
	UInputComponent() = default;
};
