#include "GameMapsSettings.h"

#include "Host/ReflectionBuilder.h"

UE_HOST_IMPLEMENT_ENUM(ETwoPlayerSplitScreenType::Type, "/Script/EngineSettings", ETwoPlayerSplitScreenType, Namespaced)
{
	Enum.Value(TEXT("Horizontal"), ETwoPlayerSplitScreenType::Horizontal);
	Enum.Value(TEXT("Vertical"), ETwoPlayerSplitScreenType::Vertical);
}

UE_HOST_IMPLEMENT_ENUM(EThreePlayerSplitScreenType::Type, "/Script/EngineSettings", EThreePlayerSplitScreenType, Namespaced)
{
	Enum.Value(TEXT("FavorTop"), EThreePlayerSplitScreenType::FavorTop);
	Enum.Value(TEXT("FavorBottom"), EThreePlayerSplitScreenType::FavorBottom);
	Enum.Value(TEXT("Vertical"), EThreePlayerSplitScreenType::Vertical);
	Enum.Value(TEXT("Horizontal"), EThreePlayerSplitScreenType::Horizontal);
}

UE_HOST_IMPLEMENT_ENUM(EFourPlayerSplitScreenType, "/Script/EngineSettings", EFourPlayerSplitScreenType, EnumClass)
{
	Enum.Value(TEXT("Grid"), static_cast<int64>(EFourPlayerSplitScreenType::Grid));
	Enum.Value(TEXT("Vertical"), static_cast<int64>(EFourPlayerSplitScreenType::Vertical));
	Enum.Value(TEXT("Horizontal"), static_cast<int64>(EFourPlayerSplitScreenType::Horizontal));
}

UE_HOST_IMPLEMENT_STRUCT(FGameModeName, "/Script/EngineSettings")

void FGameModeName::DeclareReflection(UE::Host::TStructBuilder<FGameModeName>& Struct)
{
	Struct.Property(UE_HOST_MEMBER(Name), CPF_Edit);
	Struct.Property(UE_HOST_MEMBER(GameMode), CPF_Edit).Meta(TEXT("MetaClass"), TEXT("/Script/Engine.GameModeBase"));
}

UE_HOST_IMPLEMENT_CLASS(UGameMapsSettings, "/Script/EngineSettings")

void UGameMapsSettings::DeclareReflection(UE::Host::TClassBuilder<UGameMapsSettings>& Class)
{
	Class.Flags(CLASS_Config | CLASS_DefaultConfig).Config(TEXT("Engine")).Meta(TEXT("DisplayName"), TEXT("Maps & Modes"));
	const EPropertyFlags Setting = CPF_Edit | CPF_Config;

	Class.Property(UE_HOST_MEMBER(EditorStartupMap), Setting).Meta(TEXT("Category"), TEXT("DefaultMaps")).Meta(TEXT("AllowedClasses"), TEXT("/Script/Engine.World"));
	Class.Property(UE_HOST_MEMBER(LocalMapOptions), Setting | CPF_AdvancedDisplay).Meta(TEXT("Category"), TEXT("DefaultModes"));
	Class.Property(UE_HOST_MEMBER(TransitionMap), Setting | CPF_AdvancedDisplay).Meta(TEXT("Category"), TEXT("DefaultMaps")).Meta(TEXT("AllowedClasses"), TEXT("/Script/Engine.World"));
	Class.Property(UE_HOST_MEMBER(bUseSplitscreen), Setting).Meta(TEXT("Category"), TEXT("LocalMultiplayer"));
	Class.Property(UE_HOST_MEMBER(TwoPlayerSplitscreenLayout), Setting).Meta(TEXT("Category"), TEXT("LocalMultiplayer"));
	Class.Property(UE_HOST_MEMBER(ThreePlayerSplitscreenLayout), Setting).Meta(TEXT("Category"), TEXT("LocalMultiplayer"));
	Class.Property(UE_HOST_MEMBER(FourPlayerSplitscreenLayout), Setting).Meta(TEXT("Category"), TEXT("LocalMultiplayer"));
	Class.Property(UE_HOST_MEMBER(bOffsetPlayerGamepadIds), Setting).Meta(TEXT("Category"), TEXT("LocalMultiplayer"));
	Class.Property(UE_HOST_MEMBER(GameInstanceClass), Setting | CPF_NoClear).Meta(TEXT("Category"), TEXT("GameInstance")).Meta(TEXT("MetaClass"), TEXT("/Script/Engine.GameInstance"));
	Class.Property(UE_HOST_MEMBER(GameDefaultMap), Setting | CPF_NativeAccessSpecifierPrivate).Meta(TEXT("Category"), TEXT("DefaultMaps")).Meta(TEXT("AllowedClasses"), TEXT("/Script/Engine.World"));
	Class.Property(UE_HOST_MEMBER(ServerDefaultMap), Setting | CPF_AdvancedDisplay | CPF_NativeAccessSpecifierPrivate).Meta(TEXT("Category"), TEXT("DefaultMaps")).Meta(TEXT("AllowedClasses"), TEXT("/Script/Engine.World"));
	Class.Property(UE_HOST_MEMBER(GlobalDefaultGameMode), Setting | CPF_NoClear | CPF_NativeAccessSpecifierPrivate)
		.Meta(TEXT("Category"), TEXT("DefaultModes"))
		.Meta(TEXT("MetaClass"), TEXT("/Script/Engine.GameModeBase"))
		.Meta(TEXT("DisplayName"), TEXT("Default GameMode"));
	Class.Property(UE_HOST_MEMBER(GlobalDefaultServerGameMode), Setting | CPF_AdvancedDisplay | CPF_NativeAccessSpecifierPrivate)
		.Meta(TEXT("Category"), TEXT("DefaultModes"))
		.Meta(TEXT("MetaClass"), TEXT("/Script/Engine.GameModeBase"));
	Class.Property(UE_HOST_MEMBER(GameModeMapPrefixes), Setting | CPF_AdvancedDisplay).Meta(TEXT("Category"), TEXT("DefaultModes"));
	Class.Property(UE_HOST_MEMBER(GameModeClassAliases), Setting | CPF_AdvancedDisplay).Meta(TEXT("Category"), TEXT("DefaultModes"));
}

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
