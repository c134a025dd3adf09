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

class UHostTestSettings : public UDeveloperSettings
{
	UE_HOST_DECLARE_CLASS(UHostTestSettings, UDeveloperSettings)

public:
	UHostTestSettings();

	int8 Int8Value = -8;
	int16 Int16Value = -16;
	int32 IntValue = 32;
	int64 Int64Value = -64;
	uint8 ByteValue = 8;
	uint16 UInt16Value = 16;
	uint32 UInt32Value = 32;
	uint64 UInt64Value = 64;
	float FloatValue = 0.5f;
	double DoubleValue = -980.0;
	TEnumAsByte<EReflectionMethod::Type> ByteEnum = EReflectionMethod::ScreenSpace;
	EWorkingColorSpace EnumClass = EWorkingColorSpace::Rec2020;
	uint32 bFlagA : 1;
	uint32 bFlagB : 1;
	uint32 bFlagC : 1;
	bool bNative = false;
	FString Text = TEXT("My Company");
	FName Name = TEXT("Shooter");
	FText DisplayText;
	FSoftObjectPath SoftPath;
	FSoftClassPath SoftClass;
	TSoftObjectPtr<UObject> SoftObjectPtr;
	TSoftClassPtr<UObject> SoftClassPtr;
	TSubclassOf<UDeveloperSettings> SettingsClass;
	TObjectPtr<UObject> ObjectRef;
	FVector Vector = FVector(0.0, -1.0, 0.0);
	FLinearColor LinearColor = FLinearColor(1.0f, 0.5f, 0.25f, 1.0f);
	FColor Color = FColor(255, 128, 0, 255);
	FGuid Guid;
	FKey Key;
	TArray<int32> Numbers;
	TArray<FString> Strings;
	TArray<FInputAxisKeyMapping> Mappings;
	int32 StaticInts[4] = {1, 2, 3, 4};
	int32 NotConfig = 7;

	// Linked to console variables (test.*).
	int32 CVarInt = 3;
	float CVarFloat = 0.25f;
	TEnumAsByte<EDynamicGlobalIlluminationMethod::Type> CVarEnum = EDynamicGlobalIlluminationMethod::ScreenSpace;
	uint32 bCVarReadOnly : 1;
	FName CVarName = TEXT("Alpha");

	// Shared by every subclass: read from this class's section.
	FString SharedPath;
};

class UHostTestSettingsChild : public UHostTestSettings
{
	UE_HOST_DECLARE_CLASS(UHostTestSettingsChild, UHostTestSettings)

public:
	UHostTestSettingsChild() = default;

	int32 ChildValue = 11;
};
