// Settings classes that exist only in the engine's and the project's headers: read on demand,
// loaded from the config cache, written by config.set_setting to the file their flags choose.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "Engine/RendererSettings.h"
#include "HAL/IConsoleManager.h"
#include "Host/HeaderClasses.h"
#include "HostTestEnvironment.h"
#include "UObject/Class.h"
#include "UObject/EnumProperty.h"
#include "UObject/UnrealType.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace
{
	const char* const TextureStreamingHeader = R"hdr(// Copyright Epic Games, Inc. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Engine/DeveloperSettings.h"
#include "TextureStreamingTypes.h"
#include "TextureStreamingSettings.generated.h"

/**
 * Texture streaming budgets. A comment with ; and } must not end the class.
 */
UCLASS(config=Engine, defaultconfig, meta=(DisplayName="Texture Streaming"))
class TEXTURESTREAMING_API UTextureStreamingSettings : public UDeveloperSettings
{
	GENERATED_UCLASS_BODY()

public:
	/** Texture pool size in megabytes. */
	UPROPERTY(config, EditAnywhere, Category = Budget, meta = (
		ConsoleVariable = "r.Streaming.PoolSize",
		DisplayName = "Pool Size", ClampMin = "0", ClampMax = "16384"))
	int32 PoolSize = 1000;

	UPROPERTY(config, EditAnywhere, Category = Budget, meta = (ConsoleVariable = "r.Streaming.UseFixedPoolSize", ConfigRestartRequired = true))
	uint32 bUseFixedPoolSize : 1;

	UPROPERTY(config, EditAnywhere, Category = Budget)
	uint32 bLimitPoolSizeToVRAM : 1;

	UPROPERTY(config, EditAnywhere, Category = Budget)
	TEnumAsByte<EMipDropPolicy::Type> DropPolicy = EMipDropPolicy::DropHidden;

	UPROPERTY(config, EditAnywhere, Category = Budget)
	EStreamingQuality Quality = EStreamingQuality::Medium;

	UPROPERTY(config, EditAnywhere, Category = Budget)
	TArray<FStreamingPool> Pools;

	UPROPERTY(config, EditAnywhere, Category = Budget)
	float MipBias{0.5f};

	UPROPERTY(config)
	FName GroupNames[3];

	UPROPERTY(config)
	FSoftObjectPath FallbackTexture = FSoftObjectPath(TEXT("/Engine/Textures/Fallback.Fallback"));

	UPROPERTY(config)
	TSoftClassPtr<UObject> StreamerClass;

	UPROPERTY(config)
	TArray<FString> Tags = { TEXT("Default"), TEXT("Shipping") };

	UPROPERTY(config)
	TMap<FName, int32> BudgetsPerGroup;

	UPROPERTY(config)
	TSet<FName> DisabledGroups;

	UPROPERTY(config)
	TWeakObjectPtr<UObject> StreamingSource;

	UPROPERTY(config)
	TOptional<int32> PoolOverride;

	UPROPERTY(config, EditAnywhere, Category = Budget)
	TArray<FStreamingPool> ReservedPools = { { TEXT("World"), 256 }, FStreamingPool{ TEXT("UI") } };

	UPROPERTY(config, EditAnywhere, Category = Display)
	FText Banner = NSLOCTEXT("TextureStreaming", "Banner", "Streaming; {budget}");

	UPROPERTY(config)
	TSubclassOf<UObject> LoaderClass;

	UPROPERTY(config)
	UObject* LoaderTemplate = nullptr;

	UE_DEPRECATED(5.3, "Use PoolSize.")
	UPROPERTY(config, meta = (DeprecatedProperty))
	int32 OldPoolSize_DEPRECATED = 0;

#if WITH_EDITORONLY_DATA
	UPROPERTY(config, EditAnywhere, Category = Editor)
	bool bShowStreamingStats = true;
#endif

#if PLATFORM_WINDOWS
	UPROPERTY(config)
	FString WindowsCachePath;
#endif

	UFUNCTION(BlueprintCallable, Category = Budget)
	void ResetPools() { Pools.Reset(); }

	virtual FName GetCategoryName() const override;
};

/** One per streaming volume; never made itself. */
UCLASS(Abstract, config=Engine, perObjectConfig)
class UStreamingVolumeSettings : public UObject
{
	GENERATED_BODY()

	UPROPERTY(config)
	double Priority = 1.5;
};

/** Same budgets for the mobile renderer; no config= of its own. */
UCLASS()
class TEXTURESTREAMING_API UMobileTextureStreamingSettings : public UTextureStreamingSettings
{
	GENERATED_BODY()

	UPROPERTY(config, EditAnywhere, Category = Mobile)
	int32 MobilePoolSize = 200;
};
)hdr";

	const char* const StreamingTypesHeader = R"hdr(#pragma once

#include "CoreMinimal.h"
#include "TextureStreamingTypes.generated.h"

UENUM()
namespace EMipDropPolicy
{
	enum Type : int
	{
		Keep UMETA(DisplayName = "Keep all mips"),
		Drop = 2,
		DropHidden UMETA(Hidden),
	};
}

UENUM()
enum class EStreamingQuality : uint8
{
	Low,
	Medium UMETA(DisplayName = "Medium (default)"),
	High = 4,
};

USTRUCT()
struct FStreamingPool
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = Pool)
	FString Name = TEXT("Unnamed");

	UPROPERTY(EditAnywhere, Category = Pool)
	int32 SizeMB = 64;
};
)hdr";

	const char* const EditorUserHeader = R"hdr(#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "ViewportUserSettings.generated.h"

UCLASS(config=EditorPerProjectUserSettings)
class UViewportUserSettings : public UObject
{
	GENERATED_BODY()
public:
	UPROPERTY(config, EditAnywhere, Category = Viewport)
	float CameraSpeed = 1.0f;
};

UCLASS(config=Engine, globaluserconfig)
class UStreamingCacheUserSettings : public UObject
{
	GENERATED_BODY()
public:
	UPROPERTY(config, globalconfig, EditAnywhere, Category = Cache)
	FString CacheFolder;
};

UCLASS(config=Game, projectuserconfig)
class UPreviewUserSettings : public UObject
{
	GENERATED_BODY()
public:
	UPROPERTY(config, EditAnywhere, Category = Preview)
	bool bAutoPreview = false;
};
)hdr";

	class HeaderSettings : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/TextureStreaming.TextureStreamingSettings]\nr.Streaming.PoolSize=1500\nbLimitPoolSizeToVRAM=True\n"
				"+Pools=(Name=\"Base\",SizeMB=32)\n");
			Folders.WriteEngine("Config/BaseEditorPerProjectUserSettings.ini", "[/Script/UnrealEd.LevelEditorPlaySettings]\nPlayNumberOfClients=1\n");
			Folders.WriteEngine("Config/BaseGame.ini", "[/Script/EngineSettings.GeneralProjectSettings]\nProjectName=Sample\n");
			Folders.WriteEngine("Source/Runtime/TextureStreaming/TextureStreaming.Build.cs", "public class TextureStreaming : ModuleRules { }\n");
			Folders.WriteEngine("Source/Runtime/TextureStreaming/Public/TextureStreamingSettings.h", TextureStreamingHeader);
			Folders.WriteEngine("Source/Runtime/TextureStreaming/Public/TextureStreamingTypes.h", StreamingTypesHeader);
			Folders.WriteProject("Config/DefaultEngine.ini", "; project settings\r\n[/Script/Engine.RendererSettings]\r\nr.RayTracing=False\r\n");
			Folders.WriteProject("Source/SampleGame/SampleGame.Build.cs", "public class SampleGame : ModuleRules { }\n");
			Folders.WriteProject("Source/SampleGame/Private/Settings/ViewportUserSettings.h", EditorUserHeader);
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			ASSERT_TRUE(Host->IsRunning()) << UE::Host::StringToUtf8(Host->GetError());
		}

		static FOrvexActionResult Set(const std::string& Params)
		{
			return CallAction(TEXT("config"), TEXT("set_setting"), Params);
		}

		static TSharedPtr<FJsonObject> Row(const FOrvexActionResult& Outcome, int32 Index = 0)
		{
			return Outcome.Result->GetArrayField(TEXT("results"))[Index]->AsObject();
		}

		static UClass* FindClass(const TCHAR* Name)
		{
			return Cast<UClass>(StaticFindFirstObject(UClass::StaticClass(), Name, EFindFirstObjectOptions::NativeFirst));
		}

		static FString Text(UClass* Class, const TCHAR* PropertyName)
		{
			UObject* Defaults = Class->GetDefaultObject();
			const FProperty* Property = Class->FindPropertyByName(FName(PropertyName));
			FString Value;
			if (Property)
			{
				Property->ExportText_InContainer(0, Value, Defaults, nullptr, Defaults, PPF_None);
			}
			return Value;
		}

		std::string DefaultEngine() const { return FTempHostFolders::Read(Folders.ProjectDir() / "Config" / "DefaultEngine.ini"); }

		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
	};
}

TEST_F(HeaderSettings, ClassComesFromItsHeaderWithSectionFlagsAndMetadata)
{
	UClass* Class = FindClass(TEXT("TextureStreamingSettings"));
	ASSERT_NE(Class, nullptr);
	EXPECT_EQ(Class->GetPathName(), TEXT("/Script/TextureStreaming.TextureStreamingSettings"));
	EXPECT_TRUE(Class->HasAllClassFlags(CLASS_Config | CLASS_DefaultConfig | CLASS_Native));
	EXPECT_EQ(Class->ClassConfigName, FName(TEXT("Engine")));
	EXPECT_EQ(Class->GetMetaData(TEXT("DisplayName")), TEXT("Texture Streaming"));
	EXPECT_EQ(Class->GetSuperClass()->GetName(), TEXT("DeveloperSettings"));
	EXPECT_TRUE(UE::Host::GetClassHeader(Class).EndsWith(TEXT("Source/Runtime/TextureStreaming/Public/TextureStreamingSettings.h")));

	const FProperty* PoolSize = Class->FindPropertyByName(FName(TEXT("poolsize")));
	ASSERT_NE(PoolSize, nullptr);
	EXPECT_TRUE(PoolSize->HasAllPropertyFlags(CPF_Config | CPF_Edit));
	EXPECT_EQ(PoolSize->GetMetaData(TEXT("ConsoleVariable")), TEXT("r.Streaming.PoolSize"));
	EXPECT_EQ(PoolSize->GetMetaData(TEXT("ClampMax")), TEXT("16384"));
	EXPECT_EQ(PoolSize->GetMetaData(TEXT("ToolTip")), TEXT("Texture pool size in megabytes."));
	EXPECT_TRUE(Class->FindPropertyByName(FName(TEXT("bShowStreamingStats"))) != nullptr);
	EXPECT_EQ(Class->FindPropertyByName(FName(TEXT("WindowsCachePath"))), nullptr);
	EXPECT_TRUE(Class->FindPropertyByName(FName(TEXT("OldPoolSize_DEPRECATED")))->HasAnyPropertyFlags(CPF_Deprecated));
	EXPECT_TRUE(Class->FindPropertyByName(FName(TEXT("GlobalUserName"))) == nullptr);

	const TArray<UE::Host::FUnreadHeaderProperty> Unread = UE::Host::GetUnreadHeaderProperties(Class);
	ASSERT_EQ(Unread.Num(), 2);
	EXPECT_EQ(Unread[0].Name, TEXT("StreamingSource"));
	EXPECT_EQ(Unread[0].Type, TEXT("TWeakObjectPtr<UObject>"));
	EXPECT_EQ(Unread[1].Type, TEXT("TOptional<int32>"));
	EXPECT_NE(CastField<FMapProperty>(Class->FindPropertyByName(FName(TEXT("BudgetsPerGroup")))), nullptr);
	EXPECT_NE(CastField<FSetProperty>(Class->FindPropertyByName(FName(TEXT("DisabledGroups")))), nullptr);
	EXPECT_NE(CastField<FClassProperty>(Class->FindPropertyByName(FName(TEXT("LoaderClass")))), nullptr);
	EXPECT_NE(CastField<FObjectProperty>(Class->FindPropertyByName(FName(TEXT("LoaderTemplate")))), nullptr);

	UClass* Volume = FindClass(TEXT("StreamingVolumeSettings"));
	ASSERT_NE(Volume, nullptr);
	EXPECT_TRUE(Volume->HasAllClassFlags(CLASS_Abstract | CLASS_Config | CLASS_PerObjectConfig));
	EXPECT_FALSE(Volume->HasAnyClassFlags(CLASS_DefaultConfig));
	EXPECT_EQ(Text(Volume, TEXT("Priority")), TEXT("1.500000"));

	// A child without config= takes its parent's config name and flags, and its own section.
	UClass* Mobile = FindClass(TEXT("MobileTextureStreamingSettings"));
	ASSERT_NE(Mobile, nullptr);
	EXPECT_EQ(Mobile->ClassConfigName, FName(TEXT("Engine")));
	EXPECT_TRUE(Mobile->HasAllClassFlags(CLASS_Config | CLASS_DefaultConfig));
	EXPECT_EQ(Mobile->GetSuperClass(), Class);
	EXPECT_EQ(Text(Mobile, TEXT("MobilePoolSize")), TEXT("200"));
	EXPECT_EQ(Text(Mobile, TEXT("MipBias")), TEXT("0.500000"));
}

TEST_F(HeaderSettings, DefaultObjectTakesConfigThenInitializersThenZero)
{
	UClass* Class = FindClass(TEXT("TextureStreamingSettings"));
	ASSERT_NE(Class, nullptr);
	// The ini names the console variable as the key, as the engine saves it.
	EXPECT_EQ(Text(Class, TEXT("PoolSize")), TEXT("1500"));
	EXPECT_EQ(Text(Class, TEXT("bLimitPoolSizeToVRAM")), TEXT("True"));
	EXPECT_EQ(Text(Class, TEXT("bUseFixedPoolSize")), TEXT("False"));
	EXPECT_EQ(Text(Class, TEXT("DropPolicy")), TEXT("DropHidden"));
	EXPECT_EQ(Text(Class, TEXT("Quality")), TEXT("Medium"));
	EXPECT_EQ(Text(Class, TEXT("MipBias")), TEXT("0.500000"));
	EXPECT_EQ(Text(Class, TEXT("Pools")), TEXT("((Name=\"Base\",SizeMB=32))"));
	EXPECT_EQ(Text(Class, TEXT("FallbackTexture")), TEXT("/Engine/Textures/Fallback.Fallback"));
	EXPECT_EQ(Text(Class, TEXT("Tags")), TEXT("(\"Default\",\"Shipping\")"));
	// A struct array's initializer, members given in declaration order; the rest keep the struct's own.
	EXPECT_EQ(Text(Class, TEXT("ReservedPools")), TEXT("((Name=\"World\",SizeMB=256),(Name=\"UI\"))"));
	EXPECT_EQ(Text(Class, TEXT("bShowStreamingStats")), TEXT("True"));
	EXPECT_EQ(UE::Host::StringToUtf8(Text(Class, TEXT("Banner"))), "NSLOCTEXT(\"TextureStreaming\", \"Banner\", \"Streaming; {budget}\")");
	EXPECT_EQ(Text(Class, TEXT("LoaderClass")), TEXT("None"));
	EXPECT_EQ(Class->FindPropertyByName(FName(TEXT("GroupNames")))->ArrayDim, 3);

	const FByteProperty* Policy = CastField<FByteProperty>(Class->FindPropertyByName(FName(TEXT("DropPolicy"))));
	ASSERT_TRUE(Policy && Policy->Enum);
	EXPECT_EQ(Policy->Enum->GetValueByNameString(TEXT("DropHidden")), 3);
	EXPECT_EQ(Policy->Enum->GetMetaData(TEXT("DisplayName"), 0), TEXT("Keep all mips"));
	const FEnumProperty* Quality = CastField<FEnumProperty>(Class->FindPropertyByName(FName(TEXT("Quality"))));
	ASSERT_NE(Quality, nullptr);
	EXPECT_EQ(Quality->GetUnderlyingProperty()->GetElementSize(), 1);
	EXPECT_EQ(Quality->GetEnum()->GetValueByNameString(TEXT("High")), 4);

	// The console variable exists and holds the loaded value.
	IConsoleVariable* PoolVariable = IConsoleManager::Get().FindConsoleVariable(TEXT("r.Streaming.PoolSize"));
	ASSERT_NE(PoolVariable, nullptr);
	EXPECT_EQ(PoolVariable->GetString(), TEXT("1500"));
}

TEST_F(HeaderSettings, DefaultConfigDryRunAndSingleKeyWriteUseTheConsoleVariableKey)
{
	const FOrvexActionResult Dry = Set(R"({"class":"UTextureStreamingSettings","property":"PoolSize","value":2048,"dry_run":true})");
	ASSERT_TRUE(Dry.bSuccess) << UE::Host::StringToUtf8(Dry.ErrorMessage);
	EXPECT_EQ(UE::Host::StringToUtf8(Dry.Result->GetStringField(TEXT("class"))), "/Script/TextureStreaming.TextureStreamingSettings");
	EXPECT_TRUE(Dry.Result->GetStringField(TEXT("ini_file")).EndsWith(TEXT("/Project/Config/DefaultEngine.ini")));
	EXPECT_EQ(ToJson(Row(Dry)), R"({"property":"PoolSize","old_value":"1500","restart_required":false,"cvar":"r.Streaming.PoolSize","written":false})");
	const std::string Before = DefaultEngine();

	const FOrvexActionResult Written = Set(R"({"class":"TextureStreamingSettings","properties":{"PoolSize":2048,"bUseFixedPoolSize":true}})");
	ASSERT_TRUE(Written.bSuccess) << UE::Host::StringToUtf8(Written.ErrorMessage);
	EXPECT_EQ(ToJson(Row(Written, 0)), R"({"property":"PoolSize","old_value":"1500","restart_required":false,"cvar":"r.Streaming.PoolSize","new_value":"2048","written":true,"persist_method":"UpdateSinglePropertyInConfigFile","cvar_value":"2048"})");
	EXPECT_EQ(ToJson(Row(Written, 1)), R"({"property":"bUseFixedPoolSize","old_value":"False","restart_required":true,"cvar":"r.Streaming.UseFixedPoolSize","new_value":"True","written":true,"persist_method":"UpdateSinglePropertyInConfigFile","cvar_value":"1"})");
	EXPECT_EQ(DefaultEngine(), Before + "\r\n[/Script/TextureStreaming.TextureStreamingSettings]\r\nr.Streaming.PoolSize=2048\r\nr.Streaming.UseFixedPoolSize=True\r\n");
}

TEST_F(HeaderSettings, DefaultConfigArrayOfStructsRewritesTheSection)
{
	const FOrvexActionResult Written = Set(R"({"class":"TextureStreamingSettings","property":"Pools","value":[{"Name":"World","SizeMB":512},{"Name":"UI"}]})");
	ASSERT_TRUE(Written.bSuccess) << UE::Host::StringToUtf8(Written.ErrorMessage);
	EXPECT_EQ(UE::Host::StringToUtf8(Row(Written)->GetStringField(TEXT("persist_method"))), "TryUpdateDefaultConfigFile");
	// The struct's own initializer fills the member the value leaves out, and an element member
	// that equals the struct's default is not written, as the engine exports array elements.
	EXPECT_EQ(UE::Host::StringToUtf8(Row(Written)->GetStringField(TEXT("new_value"))), "((Name=\"World\",SizeMB=512),(Name=\"UI\"))");
	UClass* Class = FindClass(TEXT("TextureStreamingSettings"));
	const FArrayProperty* Pools = CastField<FArrayProperty>(Class->FindPropertyByName(FName(TEXT("Pools"))));
	ASSERT_NE(Pools, nullptr);
	FScriptArrayHelper_InContainer Helper(Pools, Class->GetDefaultObject());
	ASSERT_EQ(Helper.Num(), 2);
	const FProperty* SizeMB = CastField<FStructProperty>(Pools->Inner)->Struct->FindPropertyByName(FName(TEXT("SizeMB")));
	EXPECT_EQ(*SizeMB->ContainerPtrToValuePtr<int32>(Helper.GetRawPtr(1)), 64);
	const std::string Text = DefaultEngine();
	EXPECT_NE(Text.find("[/Script/TextureStreaming.TextureStreamingSettings]\r\n"), std::string::npos) << Text;
	EXPECT_NE(Text.find("!Pools=ClearArray\r\n+Pools=(Name=\"World\",SizeMB=512)\r\n+Pools=(Name=\"UI\",SizeMB=64)\r\n"), std::string::npos) << Text;
	EXPECT_NE(Text.find("r.Streaming.PoolSize=1500"), std::string::npos) << Text;
	EXPECT_EQ(Text.rfind("; project settings\r\n[/Script/Engine.RendererSettings]\r\nr.RayTracing=False\r\n", 0), 0u) << Text;
}

TEST_F(HeaderSettings, EnumsWriteByNameAndUnreadTypesAreRefused)
{
	const FOrvexActionResult Written = Set(R"({"class":"TextureStreamingSettings","properties":{"Quality":"High","DropPolicy":"EMipDropPolicy::Keep"}})");
	ASSERT_TRUE(Written.bSuccess) << UE::Host::StringToUtf8(Written.ErrorMessage);
	EXPECT_EQ(UE::Host::StringToUtf8(Row(Written, 0)->GetStringField(TEXT("new_value"))), "High");
	EXPECT_EQ(UE::Host::StringToUtf8(Row(Written, 1)->GetStringField(TEXT("new_value"))), "Keep");
	EXPECT_NE(DefaultEngine().find("Quality=High\r\nDropPolicy=Keep\r\n"), std::string::npos) << DefaultEngine();

	// The action's answer is the engine's; the log says which type the host could not read.
	testing::internal::CaptureStderr();
	const FOrvexActionResult Unread = Set(R"({"class":"TextureStreamingSettings","property":"StreamingSource","value":null})");
	const std::string Log = testing::internal::GetCapturedStderr();
	EXPECT_FALSE(Unread.bSuccess);
	EXPECT_EQ(UE::Host::StringToUtf8(Unread.ErrorMessage), "Property 'StreamingSource' not found on TextureStreamingSettings");
	EXPECT_NE(Log.find("Property 'StreamingSource' of 'TextureStreamingSettings'"), std::string::npos) << Log;
	EXPECT_NE(Log.find("its type 'TWeakObjectPtr<UObject>' could not be read"), std::string::npos) << Log;
}

TEST_F(HeaderSettings, InheritedConfigNameWritesTheChildSection)
{
	const FOrvexActionResult Written = Set(R"({"class":"/Script/TextureStreaming.MobileTextureStreamingSettings","property":"MobilePoolSize","value":300})");
	ASSERT_TRUE(Written.bSuccess) << UE::Host::StringToUtf8(Written.ErrorMessage);
	EXPECT_TRUE(Written.Result->GetStringField(TEXT("ini_file")).EndsWith(TEXT("/Project/Config/DefaultEngine.ini")));
	EXPECT_NE(DefaultEngine().find("[/Script/TextureStreaming.MobileTextureStreamingSettings]\r\nMobilePoolSize=300\r\n"), std::string::npos) << DefaultEngine();
}

TEST_F(HeaderSettings, EveryPersistenceKindOfProjectHeaderClasses)
{
	// Dry runs name the file and write nothing.
	for (const char* Params : {R"({"class":"ViewportUserSettings","property":"CameraSpeed","value":4,"dry_run":true})",
		R"({"class":"StreamingCacheUserSettings","property":"CacheFolder","value":"/x","dry_run":true})",
		R"({"class":"PreviewUserSettings","property":"bAutoPreview","value":true,"dry_run":true})"})
	{
		const FOrvexActionResult Dry = Set(Params);
		ASSERT_TRUE(Dry.bSuccess) << Params << UE::Host::StringToUtf8(Dry.ErrorMessage);
		EXPECT_FALSE(Dry.Result->GetBoolField(TEXT("default_config"))) << Params;
		EXPECT_FALSE(Row(Dry)->GetBoolField(TEXT("written"))) << Params;
	}
	EXPECT_FALSE(std::filesystem::exists(Folders.ProjectDir() / "Saved" / "Config" / "LinuxEditor" / "EditorPerProjectUserSettings.ini"));
	EXPECT_FALSE(std::filesystem::exists(Folders.UserDir() / "Unreal Engine"));
	EXPECT_FALSE(std::filesystem::exists(Folders.ProjectDir() / "Config" / "UserGame.ini"));

	const FOrvexActionResult Saved = Set(R"({"class":"ViewportUserSettings","property":"CameraSpeed","value":4})");
	ASSERT_TRUE(Saved.bSuccess) << UE::Host::StringToUtf8(Saved.ErrorMessage);
	EXPECT_EQ(UE::Host::StringToUtf8(Row(Saved)->GetStringField(TEXT("persist_method"))), "SaveConfig");
	EXPECT_EQ(UE::Host::StringToUtf8(Saved.Result->GetStringField(TEXT("class"))), "/Script/SampleGame.ViewportUserSettings");
	const std::string SavedText = FTempHostFolders::Read(Folders.ProjectDir() / "Saved" / "Config" / "LinuxEditor" / "EditorPerProjectUserSettings.ini");
	EXPECT_NE(SavedText.find("[/Script/SampleGame.ViewportUserSettings]\nCameraSpeed=4.000000\n"), std::string::npos) << SavedText;

	const FOrvexActionResult Global = Set(R"({"class":"StreamingCacheUserSettings","property":"CacheFolder","value":"/data/cache"})");
	ASSERT_TRUE(Global.bSuccess) << UE::Host::StringToUtf8(Global.ErrorMessage);
	EXPECT_EQ(UE::Host::StringToUtf8(Row(Global)->GetStringField(TEXT("persist_method"))), "UpdateGlobalUserConfigFile");
	const std::string GlobalText = FTempHostFolders::Read(Folders.UserDir() / "Unreal Engine" / "Engine" / "Config" / "UserEngine.ini");
	EXPECT_NE(GlobalText.find("[/Script/SampleGame.StreamingCacheUserSettings]"), std::string::npos) << GlobalText;
	EXPECT_NE(GlobalText.find("CacheFolder=/data/cache"), std::string::npos) << GlobalText;

	const FOrvexActionResult Project = Set(R"({"class":"PreviewUserSettings","property":"bAutoPreview","value":true})");
	ASSERT_TRUE(Project.bSuccess) << UE::Host::StringToUtf8(Project.ErrorMessage);
	EXPECT_EQ(UE::Host::StringToUtf8(Row(Project)->GetStringField(TEXT("persist_method"))), "UpdateProjectUserConfigFile");
	const std::string ProjectText = FTempHostFolders::Read(Folders.ProjectDir() / "Config" / "UserGame.ini");
	EXPECT_NE(ProjectText.find("[/Script/SampleGame.PreviewUserSettings]"), std::string::npos) << ProjectText;
	EXPECT_NE(ProjectText.find("bAutoPreview=True"), std::string::npos) << ProjectText;
}

TEST_F(HeaderSettings, NamesNoHeaderDeclaresStayUnknownAndBuiltInClassesStayNative)
{
	const FOrvexActionResult Missing = Set(R"({"class":"NoSuchStreamingSettings","property":"X","value":1})");
	EXPECT_FALSE(Missing.bSuccess);
	EXPECT_EQ(Missing.ErrorCode, -32602);
	EXPECT_NE(UE::Host::StringToUtf8(Missing.ErrorMessage).find("Settings class 'NoSuchStreamingSettings' not found"), std::string::npos);

	const FOrvexActionResult Renderer = Set(R"({"class":"URendererSettings","property":"bEnableRayTracing","value":true,"dry_run":true})");
	ASSERT_TRUE(Renderer.bSuccess) << UE::Host::StringToUtf8(Renderer.ErrorMessage);
	EXPECT_TRUE(UE::Host::GetClassHeader(FindClass(TEXT("RendererSettings"))).IsEmpty());
}

TEST_F(HeaderSettings, ListingFindsBuiltInAndHeaderClasses)
{
	const TArray<UClass*> Classes = UE::Host::CollectSettingsClasses();
	TArray<FString> Names;
	for (const UClass* Class : Classes)
	{
		Names.Add(Class->GetName());
	}
	for (const TCHAR* Expected : {TEXT("TextureStreamingSettings"), TEXT("MobileTextureStreamingSettings"), TEXT("ViewportUserSettings"),
		TEXT("StreamingCacheUserSettings"), TEXT("PreviewUserSettings"), TEXT("RendererSettings"), TEXT("GameMapsSettings")})
	{
		EXPECT_TRUE(Names.Contains(FString(Expected))) << UE::Host::StringToUtf8(Expected);
	}
}

TEST(HeaderSettingsModules, PluginModulesAndFoldersWithoutRulesNameTheSection)
{
	FTempHostFolders Folders;
	Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/Engine.RendererSettings]\nr.RayTracing=False\n");
	Folders.WriteProject("Plugins/Weather/Source/WeatherRuntime/WeatherRuntime.Build.cs", "public class WeatherRuntime : ModuleRules { }\n");
	Folders.WriteProject("Plugins/Weather/Source/WeatherRuntime/Public/Settings/WeatherSettings.h",
		"UCLASS(config=Game, defaultconfig) class WEATHERRUNTIME_API UWeatherSettings : public UDeveloperSettings\n{\n\tGENERATED_BODY()\n\tUPROPERTY(config) float RainChance = 0.25f;\n};\n");
	Folders.WriteEngine("Source/Developer/Profiling/Public/ProfilingSettings.h",
		"UCLASS(config=Editor) class UProfilingSettings : public UObject\n{\n\tGENERATED_BODY()\n\tUPROPERTY(config) int32 FrameCount = 60;\n};\n"
		"UCLASS(config=Editor) class UUIOverlaySettings : public UObject\n{\n\tGENERATED_BODY()\n};\n");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const UClass* Weather = Cast<UClass>(StaticFindFirstObject(UClass::StaticClass(), TEXT("WeatherSettings")));
	ASSERT_NE(Weather, nullptr);
	EXPECT_EQ(Weather->GetPathName(), TEXT("/Script/WeatherRuntime.WeatherSettings"));
	// An object name that looks like a C++ name is still found by it.
	const UClass* Interface = Cast<UClass>(StaticFindFirstObject(UClass::StaticClass(), TEXT("UIOverlaySettings")));
	ASSERT_NE(Interface, nullptr);
	EXPECT_EQ(Interface->GetPathName(), TEXT("/Script/Profiling.UIOverlaySettings"));
	EXPECT_EQ(StaticFindFirstObject(UClass::StaticClass(), TEXT("UProfilingSettings")), nullptr);
	const UClass* Profiling = Cast<UClass>(StaticFindFirstObject(UClass::StaticClass(), TEXT("ProfilingSettings")));
	ASSERT_NE(Profiling, nullptr);
	EXPECT_EQ(Profiling->GetPathName(), TEXT("/Script/Profiling.ProfilingSettings"));

	const FOrvexActionResult Written = CallAction(TEXT("config"), TEXT("set_setting"), R"({"class":"WeatherSettings","property":"RainChance","value":0.5})");
	ASSERT_TRUE(Written.bSuccess) << UE::Host::StringToUtf8(Written.ErrorMessage);
	EXPECT_EQ(FTempHostFolders::Read(Folders.ProjectDir() / "Config" / "DefaultGame.ini").rfind("[/Script/WeatherRuntime.WeatherSettings]\nRainChance=0.500000\n", 0), 0u);
}

TEST(HeaderSettingsLifetime, ClassesFromHeadersGoWithTheHostThatReadThem)
{
	FTempHostFolders Folders;
	Folders.WriteEngine("Config/BaseEngine.ini", "[Core.System]\nPaths=../../../Engine/Content\n");
	Folders.WriteEngine("Source/Runtime/TextureStreaming/TextureStreaming.Build.cs", "public class TextureStreaming : ModuleRules { }\n");
	Folders.WriteEngine("Source/Runtime/TextureStreaming/Public/TextureStreamingSettings.h", TextureStreamingHeader);
	Folders.WriteEngine("Source/Runtime/TextureStreaming/Public/TextureStreamingTypes.h", StreamingTypesHeader);
	{
		FScopedHost Host(Folders.MakeEnvironment());
		ASSERT_TRUE(Host.IsRunning());
		EXPECT_NE(StaticFindFirstObject(UClass::StaticClass(), TEXT("TextureStreamingSettings")), nullptr);
	}
	std::filesystem::remove_all(Folders.EngineDir() / "Source");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());
	EXPECT_EQ(StaticFindFirstObject(UClass::StaticClass(), TEXT("TextureStreamingSettings")), nullptr);
	EXPECT_EQ(IConsoleManager::Get().FindConsoleVariable(TEXT("r.Streaming.PoolSize")), nullptr);
}

namespace
{
	// The engine's own header of a class the host declares too, with members the host lacks.
	const char* const RendererSettingsHeader = R"hdr(#pragma once

#include "CoreMinimal.h"
#include "Engine/DeveloperSettings.h"
#include "RendererSettings.generated.h"

UCLASS(config=Engine, defaultconfig, meta=(DisplayName="Rendering"))
class ENGINE_API URendererSettings : public UDeveloperSettings
{
	GENERATED_UCLASS_BODY()

	UPROPERTY(config, EditAnywhere, Category = RayTracing, meta = (ConsoleVariable = "r.RayTracing", ConfigRestartRequired = true))
	uint32 bEnableRayTracing : 1;

	UPROPERTY(config, EditAnywhere, Category = Substrate, meta = (ConsoleVariable = "r.Substrate", DisplayName = "Substrate materials", ConfigRestartRequired = true))
	uint32 bEnableSubstrate : 1;

	UPROPERTY(config, EditAnywhere, Category = VirtualTextures, meta = (ClampMin = "16"))
	int32 VirtualTexturePoolSizeMB = 256;

	UPROPERTY(config)
	TMap<FName, FString> ShaderFormatOverrides;

	UPROPERTY(config)
	TWeakObjectPtr<UObject> PreviewMaterial;
};
)hdr";

	class BuiltInHeaderSettings : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/Engine.RendererSettings]\nr.SkinCache.CompileShaders=False\nr.Substrate=False\nVirtualTexturePoolSizeMB=128\n");
			Folders.WriteEngine("Source/Runtime/Engine/Engine.Build.cs", "public class Engine : ModuleRules { }\n");
			Folders.WriteEngine("Source/Runtime/Engine/Classes/Engine/RendererSettings.h", RendererSettingsHeader);
			Folders.WriteProject("Config/DefaultEngine.ini", "[/Script/Engine.RendererSettings]\r\nr.RayTracing=False\r\n");
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			ASSERT_TRUE(Host->IsRunning()) << UE::Host::StringToUtf8(Host->GetError());
		}

		std::string DefaultEngine() const { return FTempHostFolders::Read(Folders.ProjectDir() / "Config" / "DefaultEngine.ini"); }

		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
	};
}

TEST_F(BuiltInHeaderSettings, BuiltInClassGainsTheHeaderMembersAndKeepsItsChangeHandling)
{
	const FOrvexActionResult Dry = CallAction(TEXT("config"), TEXT("set_setting"), R"({"class":"RendererSettings","properties":{"bEnableSubstrate":true,"VirtualTexturePoolSizeMB":512},"dry_run":true})");
	ASSERT_TRUE(Dry.bSuccess) << UE::Host::StringToUtf8(Dry.ErrorMessage);
	EXPECT_EQ(ToJson(Dry.Result->GetArrayField(TEXT("results"))[0]->AsObject()), R"({"property":"bEnableSubstrate","old_value":"False","restart_required":true,"cvar":"r.Substrate","written":false})");
	EXPECT_EQ(ToJson(Dry.Result->GetArrayField(TEXT("results"))[1]->AsObject()), R"({"property":"VirtualTexturePoolSizeMB","old_value":"128","restart_required":false,"written":false})");

	const FOrvexActionResult Written = CallAction(TEXT("config"), TEXT("set_setting"), R"({"class":"/Script/Engine.RendererSettings","properties":{"bEnableSubstrate":true,"VirtualTexturePoolSizeMB":512}})");
	ASSERT_TRUE(Written.bSuccess) << UE::Host::StringToUtf8(Written.ErrorMessage);
	EXPECT_EQ(DefaultEngine(), "[/Script/Engine.RendererSettings]\r\nr.RayTracing=False\r\nr.Substrate=True\r\nVirtualTexturePoolSizeMB=512\r\n");

	// The native members and the class's own pre-emption still work beside the new ones.
	const FOrvexActionResult RayTracing = CallAction(TEXT("config"), TEXT("set_setting"), R"({"class":"RendererSettings","property":"bEnableRayTracing","value":true})");
	ASSERT_TRUE(RayTracing.bSuccess) << UE::Host::StringToUtf8(RayTracing.ErrorMessage);
	ASSERT_EQ(RayTracing.Result->GetArrayField(TEXT("auto_changed")).Num(), 1);
	EXPECT_NE(DefaultEngine().find("r.SkinCache.CompileShaders=True"), std::string::npos) << DefaultEngine();
	EXPECT_NE(DefaultEngine().find("r.Substrate=True"), std::string::npos) << DefaultEngine();

	UClass* Class = Cast<UClass>(StaticFindFirstObject(UClass::StaticClass(), TEXT("RendererSettings")));
	ASSERT_NE(Class, nullptr);
	EXPECT_EQ(Class->GetFName(), FName(TEXT("RendererSettings")));
	EXPECT_TRUE(UE::Host::GetClassHeader(Class).EndsWith(TEXT("Classes/Engine/RendererSettings.h")));
	ASSERT_EQ(UE::Host::GetUnreadHeaderProperties(Class).Num(), 1);
	EXPECT_EQ(UE::Host::GetUnreadHeaderProperties(Class)[0].Type, TEXT("TWeakObjectPtr<UObject>"));
	// A container the native class lacks is stored beside it like any other gained member.
	const FMapProperty* Overrides = CastField<FMapProperty>(Class->FindPropertyByName(FName(TEXT("ShaderFormatOverrides"))));
	ASSERT_NE(Overrides, nullptr);
	EXPECT_GE(Overrides->GetOffset_ForInternal(), static_cast<int32>(sizeof(URendererSettings)));
}

TEST(BuiltInHeaderSettingsLifetime, TheGainedMembersGoWithTheHost)
{
	FTempHostFolders Folders;
	Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/Engine.RendererSettings]\nr.RayTracing=False\n");
	Folders.WriteEngine("Source/Runtime/Engine/Engine.Build.cs", "public class Engine : ModuleRules { }\n");
	Folders.WriteEngine("Source/Runtime/Engine/Classes/Engine/RendererSettings.h", RendererSettingsHeader);
	{
		FScopedHost Host(Folders.MakeEnvironment());
		UClass* Class = Cast<UClass>(StaticFindFirstObject(UClass::StaticClass(), TEXT("RendererSettings")));
		ASSERT_NE(Class, nullptr);
		EXPECT_NE(Class->FindPropertyByName(FName(TEXT("bEnableSubstrate"))), nullptr);
	}
	std::filesystem::remove_all(Folders.EngineDir() / "Source");
	FScopedHost Host(Folders.MakeEnvironment());
	UClass* Class = Cast<UClass>(StaticFindFirstObject(UClass::StaticClass(), TEXT("RendererSettings")));
	ASSERT_NE(Class, nullptr);
	EXPECT_EQ(Class->FindPropertyByName(FName(TEXT("bEnableSubstrate"))), nullptr);
	EXPECT_EQ(Class->GetPropertiesSize(), static_cast<int32>(sizeof(URendererSettings)));
}
