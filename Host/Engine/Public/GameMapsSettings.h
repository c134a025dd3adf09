// Project Settings → Project → Maps & Modes, stored in DefaultEngine.ini under
// [/Script/EngineSettings.GameMapsSettings].
#pragma once

#include "CoreMinimal.h"
#include "Containers/EnumAsByte.h"
#include "UObject/Object.h"
#include "UObject/SoftObjectPath.h"
#include "GameMapsSettings.generated.h"

UENUM()
namespace ETwoPlayerSplitScreenType
{
	enum Type : int
	{
		Horizontal,
		Vertical,
	};
}

UENUM()
namespace EThreePlayerSplitScreenType
{
	enum Type : int
	{
		FavorTop,
		FavorBottom,
		Vertical,
		Horizontal,
	};
}

UENUM()
enum class EFourPlayerSplitScreenType : uint8
{
	Grid,
	Vertical,
	Horizontal,
};

// A map prefix or alias and the game mode it selects.
USTRUCT()
struct FGameModeName
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = DefaultModes)
	FString Name;

	UPROPERTY(EditAnywhere, Category = DefaultModes, meta = (MetaClass = "/Script/Engine.GameModeBase"))
	FSoftClassPath GameMode;

	bool operator==(const FGameModeName& Other) const { return Name.Equals(Other.Name) && GameMode == Other.GameMode; }
};

UCLASS(config = Engine, defaultconfig, meta = (DisplayName = "Maps & Modes"))
class UGameMapsSettings : public UObject
{
	GENERATED_BODY()

public:
	UGameMapsSettings();

	static FString GetGameDefaultMap();
	static void SetGameDefaultMap(const FString& NewMap);
	static FString GetGlobalDefaultGameMode();
	static FString GetGlobalDefaultServerGameMode();
	static void SetGlobalDefaultGameMode(const FString& NewGameMode);
	static UGameMapsSettings* GetGameMapsSettings();

	UPROPERTY(config, EditAnywhere, Category = DefaultMaps, meta = (AllowedClasses = "/Script/Engine.World"))
	FSoftObjectPath EditorStartupMap;

	UPROPERTY(config, EditAnywhere, Category = DefaultModes, AdvancedDisplay)
	FString LocalMapOptions;

	UPROPERTY(config, EditAnywhere, Category = DefaultMaps, AdvancedDisplay, meta = (AllowedClasses = "/Script/Engine.World"))
	FSoftObjectPath TransitionMap;

	UPROPERTY(config, EditAnywhere, Category = LocalMultiplayer)
	bool bUseSplitscreen;

	UPROPERTY(config, EditAnywhere, Category = LocalMultiplayer)
	TEnumAsByte<ETwoPlayerSplitScreenType::Type> TwoPlayerSplitscreenLayout;

	UPROPERTY(config, EditAnywhere, Category = LocalMultiplayer)
	TEnumAsByte<EThreePlayerSplitScreenType::Type> ThreePlayerSplitscreenLayout;

	UPROPERTY(config, EditAnywhere, Category = LocalMultiplayer)
	EFourPlayerSplitScreenType FourPlayerSplitscreenLayout;

	UPROPERTY(config, EditAnywhere, Category = LocalMultiplayer)
	bool bOffsetPlayerGamepadIds;

	UPROPERTY(config, noclear, EditAnywhere, Category = GameInstance, meta = (MetaClass = "/Script/Engine.GameInstance"))
	FSoftClassPath GameInstanceClass;

private:
	UPROPERTY(config, EditAnywhere, Category = DefaultMaps, meta = (AllowedClasses = "/Script/Engine.World"))
	FSoftObjectPath GameDefaultMap;

	UPROPERTY(config, EditAnywhere, Category = DefaultMaps, AdvancedDisplay, meta = (AllowedClasses = "/Script/Engine.World"))
	FSoftObjectPath ServerDefaultMap;

	UPROPERTY(config, noclear, EditAnywhere, Category = DefaultModes, meta = (MetaClass = "/Script/Engine.GameModeBase", DisplayName = "Default GameMode"))
	FSoftClassPath GlobalDefaultGameMode;

	UPROPERTY(config, EditAnywhere, Category = DefaultModes, AdvancedDisplay, meta = (MetaClass = "/Script/Engine.GameModeBase"))
	FSoftClassPath GlobalDefaultServerGameMode;

public:
	UPROPERTY(config, EditAnywhere, Category = DefaultModes, AdvancedDisplay)
	TArray<FGameModeName> GameModeMapPrefixes;

	UPROPERTY(config, EditAnywhere, Category = DefaultModes, AdvancedDisplay)
	TArray<FGameModeName> GameModeClassAliases;
};
