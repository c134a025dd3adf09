// Settings classes declared by the tests: one property of every kind the reflection supports,
// and a child class for inheritance and globalconfig.
#pragma once

#include "CoreMinimal.h"
#include "Containers/EnumAsByte.h"
#include "Engine/DeveloperSettings.h"
#include "Engine/RendererSettings.h"
#include "GameFramework/PlayerInput.h"
#include "Math/Color.h"
#include "Math/Vector.h"
#include "Misc/Guid.h"
#include "Templates/SubclassOf.h"
#include "UObject/ObjectPtr.h"
#include "UObject/SoftObjectPath.h"
#include "UObject/SoftObjectPtr.h"
#include "HostTestSettings.generated.h"

UCLASS(config = Game, defaultconfig, meta = (DisplayName = "Host Test Settings"))
class UHostTestSettings : public UDeveloperSettings
{
	GENERATED_BODY()

public:
	UHostTestSettings();

	UPROPERTY(config, EditAnywhere)
	int8 Int8Value = -8;
	UPROPERTY(config, EditAnywhere)
	int16 Int16Value = -16;
	UPROPERTY(config, EditAnywhere, meta = (ClampMin = "0"))
	int32 IntValue = 32;
	UPROPERTY(config, EditAnywhere)
	int64 Int64Value = -64;
	UPROPERTY(config, EditAnywhere)
	uint8 ByteValue = 8;
	UPROPERTY(config, EditAnywhere)
	uint16 UInt16Value = 16;
	UPROPERTY(config, EditAnywhere)
	uint32 UInt32Value = 32;
	UPROPERTY(config, EditAnywhere)
	uint64 UInt64Value = 64;
	UPROPERTY(config, EditAnywhere)
	float FloatValue = 0.5f;
	UPROPERTY(config, EditAnywhere)
	double DoubleValue = -980.0;
	UPROPERTY(config, EditAnywhere)
	TEnumAsByte<EReflectionMethod::Type> ByteEnum = EReflectionMethod::ScreenSpace;
	UPROPERTY(config, EditAnywhere)
	EWorkingColorSpace EnumClass = EWorkingColorSpace::Rec2020;
	UPROPERTY(config, EditAnywhere)
	uint32 bFlagA : 1;
	UPROPERTY(config, EditAnywhere)
	uint32 bFlagB : 1;
	UPROPERTY(config, EditAnywhere)
	uint32 bFlagC : 1;
	UPROPERTY(config, EditAnywhere)
	bool bNative = false;
	UPROPERTY(config, EditAnywhere)
	FString Text = TEXT("My Company");
	UPROPERTY(config, EditAnywhere)
	FName Name = TEXT("Shooter");
	UPROPERTY(config, EditAnywhere)
	FText DisplayText;
	UPROPERTY(config, EditAnywhere)
	FSoftObjectPath SoftPath;
	UPROPERTY(config, EditAnywhere)
	FSoftClassPath SoftClass;
	UPROPERTY(config, EditAnywhere)
	TSoftObjectPtr<UObject> SoftObjectPtr;
	UPROPERTY(config, EditAnywhere)
	TSoftClassPtr<UObject> SoftClassPtr;
	UPROPERTY(config, EditAnywhere)
	TSubclassOf<UDeveloperSettings> SettingsClass;
	UPROPERTY(config, EditAnywhere)
	TObjectPtr<UObject> ObjectRef;
	UPROPERTY(config, EditAnywhere)
	FVector Vector = FVector(0.0, -1.0, 0.0);
	UPROPERTY(config, EditAnywhere)
	FLinearColor LinearColor = FLinearColor(1.0f, 0.5f, 0.25f, 1.0f);
	UPROPERTY(config, EditAnywhere)
	FColor Color = FColor(255, 128, 0, 255);
	UPROPERTY(config, EditAnywhere)
	FGuid Guid;
	UPROPERTY(config, EditAnywhere)
	FKey Key;
	UPROPERTY(config, EditAnywhere)
	TArray<int32> Numbers;
	UPROPERTY(config, EditAnywhere)
	TArray<FString> Strings;
	UPROPERTY(config, EditAnywhere)
	TArray<FInputAxisKeyMapping> Mappings;
	UPROPERTY(config, EditAnywhere)
	int32 StaticInts[4] = {1, 2, 3, 4};
	UPROPERTY(EditAnywhere)
	int32 NotConfig = 7;

	// Linked to console variables (test.*).
	UPROPERTY(config, EditAnywhere, meta = (ConsoleVariable = "test.Int"))
	int32 CVarInt = 3;
	UPROPERTY(config, EditAnywhere, meta = (ConsoleVariable = "test.Float"))
	float CVarFloat = 0.25f;
	UPROPERTY(config, EditAnywhere, meta = (ConsoleVariable = "test.Enum"))
	TEnumAsByte<EDynamicGlobalIlluminationMethod::Type> CVarEnum = EDynamicGlobalIlluminationMethod::ScreenSpace;
	UPROPERTY(config, EditAnywhere, meta = (ConsoleVariable = "test.ReadOnly"))
	uint32 bCVarReadOnly : 1;
	UPROPERTY(config, EditAnywhere, meta = (ConsoleVariable = "test.Name"))
	FName CVarName = TEXT("Alpha");

	// Shared by every subclass: read from this class's section.
	UPROPERTY(globalconfig, EditAnywhere)
	FString SharedPath;
};

UCLASS()
class UHostTestSettingsChild : public UHostTestSettings
{
	GENERATED_BODY()

public:
	UHostTestSettingsChild() = default;

	UPROPERTY(config, EditAnywhere)
	int32 ChildValue = 11;
};
