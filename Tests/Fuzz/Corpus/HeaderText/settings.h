#pragma once
#include "Engine/DeveloperSettings.h"
#include "AudioBudgetSettings.generated.h"

UENUM() namespace EVoiceSteal { enum Type : int { Oldest, Quietest = 3 UMETA(DisplayName = "Quietest"), }; }
UENUM() enum class EMixRate : uint8 { Low = 1 << 1, High = 0x10 };

USTRUCT() struct FVoicePool { GENERATED_BODY() UPROPERTY() FName Pool = "Sfx"; UPROPERTY() int32 Voices = 32; };

/** Audio budgets; ; and } in a comment. */
UCLASS(config=Engine, defaultconfig, meta=(DisplayName="Audio Budget"))
class AUDIOBUDGET_API UAudioBudgetSettings : public UDeveloperSettings
{
	GENERATED_UCLASS_BODY()
public:
	UPROPERTY(config, EditAnywhere, meta = (ConsoleVariable = "au.MaxVoices",
		ClampMin = "1", ConfigRestartRequired = true))
	int32 MaxVoices = 64;
	UPROPERTY(config) uint32 bStealVoices : 1;
	UPROPERTY(config) TEnumAsByte<EVoiceSteal::Type> Steal = EVoiceSteal::Quietest;
	UPROPERTY(config) EMixRate Rate{EMixRate::High};
	UPROPERTY(config) TArray<FVoicePool> Pools = { { "Music", 8 } };
	UPROPERTY(config) FString Device[2];
#if WITH_EDITORONLY_DATA
	UPROPERTY(config) bool bShowVoices = true;
#elif 1
	UPROPERTY(config) bool bNever;
#endif
	UE_DEPRECATED(5.1, "x") UPROPERTY(config) float Old_DEPRECATED = 1.f;
	virtual void PostEditChangeProperty(FPropertyChangedEvent& Event) override { Super::PostEditChangeProperty(Event); }
};
