// Small settings classes for the config writer tests, so that a whole section can be spelled out.
#pragma once

#include "CoreMinimal.h"
#include "Containers/EnumAsByte.h"
#include "Engine/DeveloperSettings.h"
#include "Engine/RendererSettings.h"
#include "WriterTestSettings.generated.h"

// config=Game, defaultconfig: one of each shape a section holds.
UCLASS(config = Game, defaultconfig)
class UWriterTestSettings : public UDeveloperSettings
{
	GENERATED_BODY()

public:
	UWriterTestSettings() = default;

	UPROPERTY(config, EditAnywhere)
	int32 Count = 2;
	UPROPERTY(config, EditAnywhere)
	FString Title = TEXT("Demo");
	UPROPERTY(config, EditAnywhere)
	TArray<FString> Tags;
	UPROPERTY(config, EditAnywhere)
	FString Slots[3] = {TEXT("x"), TEXT(""), TEXT("z")};
	// Linked to test.Writer.Method, so stored under that name and as a number.
	UPROPERTY(config, EditAnywhere, meta = (ConsoleVariable = "test.Writer.Method"))
	TEnumAsByte<EReflectionMethod::Type> Method = EReflectionMethod::ScreenSpace;
	UPROPERTY(config, EditAnywhere)
	float Ratio = 0.5f;
};

// config=Game without defaultconfig: saved through SaveConfig only.
UCLASS(config = Game)
class UPlainGameSettings : public UObject
{
	GENERATED_BODY()

public:
	UPlainGameSettings() = default;

	UPROPERTY(config, EditAnywhere)
	int32 Level = 1;
	UPROPERTY(config, EditAnywhere)
	FString Nickname;
};
