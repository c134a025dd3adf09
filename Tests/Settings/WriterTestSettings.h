// Small settings classes for the config writer tests, so that a whole section can be spelled out.
#pragma once

#include "CoreMinimal.h"
#include "Containers/EnumAsByte.h"
#include "Engine/DeveloperSettings.h"
#include "Engine/RendererSettings.h"

// config=Game, defaultconfig: one of each shape a section holds.
class UWriterTestSettings : public UDeveloperSettings
{
	UE_HOST_DECLARE_CLASS(UWriterTestSettings, UDeveloperSettings)

public:
	UWriterTestSettings() = default;

	int32 Count = 2;
	FString Title = TEXT("Demo");
	TArray<FString> Tags;
	FString Slots[3] = {TEXT("x"), TEXT(""), TEXT("z")};
	// Linked to test.Writer.Method, so stored under that name and as a number.
	TEnumAsByte<EReflectionMethod::Type> Method = EReflectionMethod::ScreenSpace;
	float Ratio = 0.5f;
};

// config=Game without defaultconfig: saved through SaveConfig only.
class UPlainGameSettings : public UObject
{
	UE_HOST_DECLARE_CLASS(UPlainGameSettings, UObject)

public:
	UPlainGameSettings() = default;

	int32 Level = 1;
	FString Nickname;
};
