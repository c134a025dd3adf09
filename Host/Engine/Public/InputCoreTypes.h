// FKey: an input key by name. Config files hold the bare name (Key=SpaceBar).
#pragma once

#include "CoreMinimal.h"
#include "UObject/Class.h"
#include "InputCoreTypes.generated.h"

class FOutputDevice;

USTRUCT(BlueprintType)
struct FKey
{
	GENERATED_BODY()

	FKey() = default;
	FKey(const FName InName) : KeyName(InName) {}
	FKey(const TCHAR* InName) : KeyName(InName) {}

	bool IsValid() const { return !KeyName.IsNone(); }
	FName GetFName() const { return KeyName; }
	FString ToString() const { return KeyName.ToString(); }

	bool operator==(const FKey& Other) const { return KeyName == Other.KeyName; }
	bool operator!=(const FKey& Other) const { return KeyName != Other.KeyName; }

	bool ExportTextItem(FString& ValueStr, FKey const& DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const;
	bool ImportTextItem(const TCHAR*& Buffer, int32 PortFlags, UObject* Parent, FOutputDevice* ErrorText);

private:
	UPROPERTY(EditAnywhere, Category = "Input")
	FName KeyName;
};
