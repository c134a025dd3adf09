#include "GameMapsSettings.h"

UGameMapsSettings::UGameMapsSettings()
	: bUseSplitscreen(true)
	, TwoPlayerSplitscreenLayout(ETwoPlayerSplitScreenType::Horizontal)
	, ThreePlayerSplitscreenLayout(EThreePlayerSplitScreenType::FavorTop)
	, FourPlayerSplitscreenLayout(EFourPlayerSplitScreenType::Grid)
	, bOffsetPlayerGamepadIds(false)
{
}

UGameMapsSettings* UGameMapsSettings::GetGameMapsSettings()
{
	return GetMutableDefault<UGameMapsSettings>();
}

FString UGameMapsSettings::GetGameDefaultMap()
{
	return GetDefault<UGameMapsSettings>()->GameDefaultMap.GetLongPackageName();
}

void UGameMapsSettings::SetGameDefaultMap(const FString& NewMap)
{
	GetMutableDefault<UGameMapsSettings>()->GameDefaultMap.SetPath(NewMap);
}

FString UGameMapsSettings::GetGlobalDefaultGameMode()
{
	return GetDefault<UGameMapsSettings>()->GlobalDefaultGameMode.ToString();
}

FString UGameMapsSettings::GetGlobalDefaultServerGameMode()
{
	const UGameMapsSettings* Settings = GetDefault<UGameMapsSettings>();
	return Settings->GlobalDefaultServerGameMode.IsValid() ? Settings->GlobalDefaultServerGameMode.ToString() : Settings->GlobalDefaultGameMode.ToString();
}

void UGameMapsSettings::SetGlobalDefaultGameMode(const FString& NewGameMode)
{
	GetMutableDefault<UGameMapsSettings>()->GlobalDefaultGameMode.SetPath(NewGameMode);
}
