// Reading reflection declarations from settings headers written the way engine headers are.
#include "HeaderTool/HeaderDeclarations.h"

#include <gtest/gtest.h>

using namespace UE::Host::Headers;

namespace
{
	const char* const StreamingSettingsHeader = R"hdr(// Copyright Epic Games, Inc. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "Engine/DeveloperSettings.h"
#include "StreamingSettings.generated.h"

/** How aggressively the streamer drops mips; see r.Streaming.DropMips. */
UENUM()
namespace EMipDropPolicy
{
	enum Type : int
	{
		/** Keep everything. */
		Keep UMETA(DisplayName = "Keep all mips"),
		Drop = 2,
		DropHidden UMETA(Hidden),
		Count = DropHidden + 1 UMETA(Hidden)
	};
}

UENUM(BlueprintType)
enum class EStreamingQuality : uint8
{
	Low = 1 << 0,
	Medium = 1 << 1 UMETA(DisplayName="Medium (default)"),
	High = 0x08,
};

USTRUCT()
struct FStreamingPoolEntry
{
	GENERATED_BODY()

	/** Pool name; "}" and ';' in a comment must not end anything. */
	UPROPERTY(EditAnywhere, Category = Pool)
	FString Name = TEXT("Default");

	UPROPERTY(EditAnywhere, Category = Pool, meta = (ClampMin = "0"))
	int32 SizeMB = 64;

	FStreamingPoolEntry() {}
	bool operator==(const FStreamingPoolEntry& Other) const { return Name == Other.Name; }
};

/**
 * Settings for texture streaming.
 */
UCLASS(config=Engine, defaultconfig, meta=(DisplayName="Texture Streaming"))
class ENGINE_API UStreamingSettings : public UDeveloperSettings
{
	GENERATED_UCLASS_BODY()

public:
	/** Pool size in megabytes; a value ; with } inside. */
	UPROPERTY(config, EditAnywhere, Category = Streaming, meta = (
		ConsoleVariable = "r.Streaming.PoolSize", DisplayName = "Pool Size",
		ClampMin = "0", ClampMax = "16384",
		ToolTip = "Pool (MB)"))
	int32 PoolSize = 1000;

	UPROPERTY(config, EditAnywhere, Category = Streaming, meta = (ConsoleVariable = "r.Streaming.UseFixedPoolSize", ConfigRestartRequired = true))
	uint32 bUseFixedPoolSize : 1;

	UPROPERTY(config)
	uint32 bLimitPoolSizeToVRAM:1;

	UPROPERTY(config, EditAnywhere, Category = Streaming)
	TEnumAsByte<EMipDropPolicy::Type> DropPolicy = EMipDropPolicy::Drop;

	UPROPERTY(globalconfig, EditAnywhere, Category = Streaming)
	EStreamingQuality Quality = EStreamingQuality::Medium;

	UPROPERTY(config, EditAnywhere, Category = Streaming)
	TArray<FStreamingPoolEntry> Pools;

	UPROPERTY(config)
	float MipBias{0.5f};

	UPROPERTY(config)
	FName LevelNames[4];

	UPROPERTY(config)
	TSubclassOf<class UObject> StreamerClass;

	UPROPERTY(config)
	TSoftObjectPtr<UTexture2D> FallbackTexture;

	UPROPERTY(config)
	TMap<FName, int32> BudgetsPerGroup;

	UE_DEPRECATED(5.3, "Use PoolSize instead.")
	UPROPERTY(config, meta = (DeprecatedProperty))
	int32 OldPoolSize_DEPRECATED = 0;

#if WITH_EDITORONLY_DATA
	UPROPERTY(config, EditAnywhere, Category = Editor)
	bool bShowStreamingStats = true;
#endif

#if PLATFORM_WINDOWS
	UPROPERTY(config)
	FString WindowsOnlyPath;
#elif PLATFORM_LINUX && !defined(SOME_UNKNOWN_FLAG)
	UPROPERTY(config)
	FString LinuxPath = TEXT("/tmp/stream");
#else
	UPROPERTY(config)
	FString OtherPath;
#endif

#if 0
	UPROPERTY(config)
	int32 NeverSeen;
#endif

	UFUNCTION(BlueprintCallable, Category = Streaming)
	void FlushPools() { if (PoolSize > 0) { PoolSize = 0; } }

	virtual FName GetCategoryName() const override;

#if WITH_EDITOR
	virtual void PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent) override;
#endif

private:
	/** Not a UPROPERTY: ignored. */
	int32 CachedValue = 3;

	UPROPERTY(config)
	FText Banner = NSLOCTEXT("Streaming", "Banner", "Hello; world}");
};

UCLASS()
class UStreamingSettingsOverride final : public UStreamingSettings
{
	GENERATED_BODY()

	UPROPERTY(config)
	FSoftObjectPath OverrideMap = FSoftObjectPath(TEXT("/Game/Maps/Override.Override"));
};
)hdr";

	const FPropertyDecl* FindProperty(const FTypeDecl& Type, const char* Name)
	{
		for (const FPropertyDecl& Property : Type.Properties)
		{
			if (Property.Name == Name)
			{
				return &Property;
			}
		}
		return nullptr;
	}

	std::vector<std::string> PropertyNames(const FTypeDecl& Type)
	{
		std::vector<std::string> Names;
		for (const FPropertyDecl& Property : Type.Properties)
		{
			Names.push_back(Property.Name);
		}
		return Names;
	}
}

TEST(HeaderReader, ReadsClassSpecifiersParentAndDocComment)
{
	const FHeaderDecls Decls = ReadHeader(StreamingSettingsHeader);
	ASSERT_EQ(Decls.Classes.size(), 2u);
	const FTypeDecl& Settings = Decls.Classes[0];
	EXPECT_EQ(Settings.Name, "UStreamingSettings");
	EXPECT_EQ(Settings.Parent, "UDeveloperSettings");
	ASSERT_NE(Settings.FindSpecifier("Config"), nullptr);
	EXPECT_EQ(*Settings.FindSpecifier("config"), "Engine");
	EXPECT_TRUE(Settings.HasSpecifier("DefaultConfig"));
	EXPECT_FALSE(Settings.HasSpecifier("Abstract"));
	ASSERT_EQ(Settings.Meta.size(), 1u);
	EXPECT_EQ(Settings.Meta[0].Key, "DisplayName");
	EXPECT_EQ(Settings.Meta[0].Value, "Texture Streaming");
	EXPECT_EQ(Settings.Doc, "Settings for texture streaming.");

	const FTypeDecl& Override = Decls.Classes[1];
	EXPECT_EQ(Override.Name, "UStreamingSettingsOverride");
	EXPECT_EQ(Override.Parent, "UStreamingSettings");
	EXPECT_EQ(Override.FindSpecifier("config"), nullptr);
	EXPECT_EQ(Decls.Includes, (std::vector<std::string>{"CoreMinimal.h", "UObject/ObjectMacros.h", "Engine/DeveloperSettings.h", "StreamingSettings.generated.h"}));
}

TEST(HeaderReader, KeepsOnlyPropertiesAndBlocksAnEditorOnLinuxSees)
{
	const FHeaderDecls Decls = ReadHeader(StreamingSettingsHeader);
	ASSERT_FALSE(Decls.Classes.empty());
	EXPECT_EQ(PropertyNames(Decls.Classes[0]), (std::vector<std::string>{"PoolSize", "bUseFixedPoolSize", "bLimitPoolSizeToVRAM", "DropPolicy", "Quality",
		"Pools", "MipBias", "LevelNames", "StreamerClass", "FallbackTexture", "BudgetsPerGroup", "OldPoolSize_DEPRECATED", "bShowStreamingStats", "LinuxPath", "Banner"}));
	ASSERT_EQ(Decls.Classes[1].Properties.size(), 1u);
	EXPECT_EQ(Decls.Classes[1].Properties[0].Type, "FSoftObjectPath");
	EXPECT_EQ(Decls.Classes[1].Properties[0].Default, "FSoftObjectPath ( TEXT ( \"/Game/Maps/Override.Override\" ) )");
}

TEST(HeaderReader, ReadsMultiLineMetadataBitfieldsArraysAndInitializers)
{
	const FHeaderDecls Decls = ReadHeader(StreamingSettingsHeader);
	ASSERT_FALSE(Decls.Classes.empty());
	const FTypeDecl& Settings = Decls.Classes[0];

	const FPropertyDecl* PoolSize = FindProperty(Settings, "PoolSize");
	ASSERT_NE(PoolSize, nullptr);
	EXPECT_EQ(PoolSize->Type, "int32");
	EXPECT_EQ(PoolSize->Default, "1000");
	EXPECT_TRUE(PoolSize->HasSpecifier("Config"));
	EXPECT_TRUE(PoolSize->HasSpecifier("EditAnywhere"));
	ASSERT_NE(PoolSize->FindMeta("ConsoleVariable"), nullptr);
	EXPECT_EQ(*PoolSize->FindMeta("ConsoleVariable"), "r.Streaming.PoolSize");
	EXPECT_EQ(*PoolSize->FindMeta("DisplayName"), "Pool Size");
	EXPECT_EQ(*PoolSize->FindMeta("ClampMax"), "16384");
	EXPECT_EQ(*PoolSize->FindMeta("ToolTip"), "Pool (MB)");
	EXPECT_EQ(PoolSize->Doc, "Pool size in megabytes; a value ; with } inside.");

	const FPropertyDecl* FixedPool = FindProperty(Settings, "bUseFixedPoolSize");
	ASSERT_NE(FixedPool, nullptr);
	EXPECT_TRUE(FixedPool->bBitfield);
	EXPECT_EQ(FixedPool->Type, "uint32");
	EXPECT_EQ(*FixedPool->FindMeta("ConfigRestartRequired"), "true");
	EXPECT_TRUE(FindProperty(Settings, "bLimitPoolSizeToVRAM")->bBitfield);

	EXPECT_EQ(FindProperty(Settings, "DropPolicy")->Type, "TEnumAsByte<EMipDropPolicy::Type>");
	EXPECT_EQ(FindProperty(Settings, "DropPolicy")->Default, "EMipDropPolicy :: Drop");
	EXPECT_TRUE(FindProperty(Settings, "Quality")->HasSpecifier("globalconfig"));
	EXPECT_EQ(FindProperty(Settings, "Pools")->Type, "TArray<FStreamingPoolEntry>");
	EXPECT_EQ(FindProperty(Settings, "MipBias")->Default, "0.5f");
	EXPECT_EQ(FindProperty(Settings, "LevelNames")->ArrayDim, "4");
	EXPECT_EQ(FindProperty(Settings, "StreamerClass")->Type, "TSubclassOf<UObject>");
	EXPECT_EQ(FindProperty(Settings, "BudgetsPerGroup")->Type, "TMap<FName,int32>");
	EXPECT_TRUE(FindProperty(Settings, "OldPoolSize_DEPRECATED")->bDeprecated);
	EXPECT_FALSE(FindProperty(Settings, "PoolSize")->bDeprecated);
	EXPECT_EQ(FindProperty(Settings, "LinuxPath")->Default, "TEXT ( \"/tmp/stream\" )");
	EXPECT_EQ(FindProperty(Settings, "Banner")->Default, "NSLOCTEXT ( \"Streaming\" , \"Banner\" , \"Hello; world}\" )");
}

TEST(HeaderReader, ReadsStructsWithMemberDefaults)
{
	const FHeaderDecls Decls = ReadHeader(StreamingSettingsHeader);
	const FTypeDecl* Entry = Decls.FindStruct("FStreamingPoolEntry");
	ASSERT_NE(Entry, nullptr);
	EXPECT_TRUE(Entry->bStruct);
	EXPECT_EQ(PropertyNames(*Entry), (std::vector<std::string>{"Name", "SizeMB"}));
	EXPECT_EQ(Entry->Properties[0].Default, "TEXT ( \"Default\" )");
	EXPECT_EQ(Entry->Properties[0].Doc, "Pool name; \"}\" and ';' in a comment must not end anything.");
}

TEST(HeaderReader, ReadsNamespacedAndScopedEnumsWithValuesAndUmeta)
{
	const FHeaderDecls Decls = ReadHeader(StreamingSettingsHeader);
	const FEnumDecl* Policy = Decls.FindEnum("EMipDropPolicy");
	ASSERT_NE(Policy, nullptr);
	EXPECT_EQ(Policy->Form, FEnumDecl::EForm::Namespaced);
	ASSERT_EQ(Policy->Enumerators.size(), 4u);
	EXPECT_EQ(Policy->Enumerators[0].Name, "Keep");
	EXPECT_EQ(Policy->Enumerators[0].Value, 0);
	ASSERT_EQ(Policy->Enumerators[0].Meta.size(), 1u);
	EXPECT_EQ(Policy->Enumerators[0].Meta[0].Value, "Keep all mips");
	EXPECT_EQ(Policy->Enumerators[1].Value, 2);
	EXPECT_EQ(Policy->Enumerators[2].Value, 3);
	EXPECT_EQ(Policy->Enumerators[2].Meta[0].Key, "Hidden");
	EXPECT_EQ(Policy->Enumerators[3].Value, 4);

	const FEnumDecl* Quality = Decls.FindEnum("EStreamingQuality");
	ASSERT_NE(Quality, nullptr);
	EXPECT_EQ(Quality->Form, FEnumDecl::EForm::EnumClass);
	EXPECT_EQ(Quality->Underlying, "uint8");
	ASSERT_EQ(Quality->Enumerators.size(), 3u);
	EXPECT_EQ(Quality->Enumerators[0].Value, 1);
	EXPECT_EQ(Quality->Enumerators[1].Value, 2);
	EXPECT_EQ(Quality->Enumerators[2].Value, 8);
}

TEST(HeaderReader, SurvivesUnbalancedAndTruncatedText)
{
	for (const char* Text : {"UCLASS(config=Engine", "UCLASS(config=Engine) class", "UCLASS() class UA : public UObject { UPROPERTY(config) int32",
		"UENUM() enum class E : uint8 { A = , B", "#if WITH_EDITOR\nUCLASS()", "/** never closed", "R\"x(raw", "#endif\n#else\n"})
	{
		const FHeaderDecls Decls = ReadHeader(Text);
		for (const FTypeDecl& Class : Decls.Classes)
		{
			EXPECT_FALSE(Class.Name.empty()) << Text;
		}
	}
	const FHeaderDecls Decls = ReadHeader("UCLASS() class UA : public UObject { UPROPERTY(config) int32 X = 1; UPROPERTY(config) float");
	ASSERT_EQ(Decls.Classes.size(), 1u);
	EXPECT_EQ(Decls.Classes[0].Properties[0].Name, "X");
}

TEST(HeaderReader, RegularEnumsAndDeprecatedClassMacrosAfterTheKeyword)
{
	const FHeaderDecls Decls = ReadHeader(R"(
UENUM()
enum ETonemapper
{
	TM_Filmic,
	TM_Legacy = 5,
	TM_MAX,
};

UCLASS(config=Game, Abstract, perObjectConfig)
class UE_DEPRECATED(5.2, "gone") MYGAME_API UOldSettings : public UObject, public IInterfaceA
{
	GENERATED_BODY()
	UPROPERTY(config) TEnumAsByte<ETonemapper> Tonemapper = TM_Legacy;
};
)");
	ASSERT_EQ(Decls.Enums.size(), 1u);
	EXPECT_EQ(Decls.Enums[0].Form, FEnumDecl::EForm::Regular);
	EXPECT_EQ(Decls.Enums[0].Enumerators[2].Value, 6);
	ASSERT_EQ(Decls.Classes.size(), 1u);
	EXPECT_EQ(Decls.Classes[0].Name, "UOldSettings");
	EXPECT_EQ(Decls.Classes[0].Parent, "UObject");
	EXPECT_TRUE(Decls.Classes[0].HasSpecifier("abstract"));
	EXPECT_TRUE(Decls.Classes[0].HasSpecifier("PerObjectConfig"));
	EXPECT_EQ(Decls.Classes[0].Properties[0].Type, "TEnumAsByte<ETonemapper>");
}

namespace
{
	// Shapes seen in the engine's own headers: a delegate macro without a semicolon under
	// WITH_EDITOR, static arrays sized by enumerators of plain and reflected enums, and
	// OverrideConfigSection written inline, declared only, or with a body that is not one literal.
	const char* const EngineShapesHeader = R"hdr(#pragma once

#include "CoreMinimal.h"
#include "RHIShaderPlatform.h"
#include "AudioSettings.generated.h"

namespace EMaterialQualityLevel
{
	enum Type : uint8
	{
		Low,
		High,
		Medium,
		Epic,
		Num
	};
}

enum EShaderPlatform : uint16
{
	SP_PCD3D_SM5 = 0,
	SP_METAL = 11,
	SP_StaticPlatform_First = 16,
	DDPI_EXTRA_SHADERPLATFORMS
	SP_StaticPlatform_Last = (SP_StaticPlatform_First + 16 - 1),
	SP_NumPlatforms = SP_StaticPlatform_Last + 1,
};

UCLASS(config=Engine, defaultconfig, meta=(DisplayName="Audio"))
class ENGINE_API UAudioSettings : public UDeveloperSettings
{
	GENERATED_UCLASS_BODY()

#if WITH_EDITOR
	DECLARE_EVENT(UAudioSettings, FAudioSettingsChanged)
#endif

	UPROPERTY(config, EditAnywhere, Category="Audio", meta=(AllowedClasses="/Script/Engine.SoundClass", DisplayName="Default Sound Class"))
	FSoftObjectPath DefaultSoundClassName;

	UPROPERTY(config)
	int32 bPlatformUsed[SP_NumPlatforms];

	UPROPERTY(config)
	FMaterialQualityOverrides QualityOverrides[EMaterialQualityLevel::Num];

	UPROPERTY(config)
	FName Tags[static_cast<int32>(EZoneGraphTags::MaxTags)];
};

UCLASS(config=Game, defaultconfig)
class DEVELOPERTOOLSETTINGS_API UProjectPackagingSettings : public UObject
{
	GENERATED_UCLASS_BODY()

public:
	/** UObject Interface */
	virtual void OverrideConfigSection(FString& InOutSectionName) override { InOutSectionName = TEXT("/Script/UnrealEd.ProjectPackagingSettings"); }

	UPROPERTY(config, EditAnywhere, Category=Project)
	FString BuildTarget;
};

UCLASS(config=Editor)
class UElsewhereSettings : public UObject
{
	GENERATED_BODY()
	virtual void OverrideConfigSection(FString& SectionName) override;
};

UCLASS(config=Editor)
class UComputedSectionSettings : public UObject
{
	GENERATED_BODY()
	virtual void OverrideConfigSection(FString& SectionName) override
	{
		SectionName = FString::Printf(TEXT("/Script/%s.Settings"), *GetModuleName());
	}
};

UCLASS(config=Game)
class UInlineConstructedSettings : public UObject
{
	GENERATED_BODY()
public:
	UInlineConstructedSettings()
		: Volume(0.8f)
		, Mode{EPlayMode::Loop}
	{
		bMuted = false;
	}
	UPROPERTY(config) float Volume;
	UPROPERTY(config) bool bMuted;
};
)hdr";
}

TEST(HeaderReader, MacroLinesEnumSizedArraysAndSectionOverrides)
{
	const FHeaderDecls Decls = ReadHeader(EngineShapesHeader);
	const FTypeDecl* Audio = Decls.FindClass("UAudioSettings");
	ASSERT_NE(Audio, nullptr);
	ASSERT_EQ(Audio->Properties.size(), 4u);
	EXPECT_EQ(Audio->Properties[0].Name, "DefaultSoundClassName");
	EXPECT_EQ(Audio->Properties[1].ArrayDim, "SP_NumPlatforms");
	EXPECT_EQ(Audio->Properties[2].ArrayDim, "EMaterialQualityLevel::Num");
	EXPECT_EQ(Audio->Properties[3].Name, "Tags");
	EXPECT_TRUE(Audio->HasConstructorInSource());

	// Enums without UENUM are kept for their values; a bare enumerator reaches only unscoped ones.
	int64_t Value = 0;
	EXPECT_TRUE(Decls.FindEnumConstant("", "SP_NumPlatforms", Value));
	EXPECT_EQ(Value, 32);
	EXPECT_TRUE(Decls.FindEnumConstant("EMaterialQualityLevel", "Num", Value));
	EXPECT_EQ(Value, 4);
	EXPECT_FALSE(Decls.FindEnumConstant("", "Num", Value));
	EXPECT_TRUE(Decls.Enums.empty());

	const FTypeDecl* Packaging = Decls.FindClass("UProjectPackagingSettings");
	ASSERT_NE(Packaging, nullptr);
	EXPECT_EQ(Packaging->SectionOverrideKind, FTypeDecl::ESectionOverride::Literal);
	EXPECT_EQ(Packaging->SectionOverride, "/Script/UnrealEd.ProjectPackagingSettings");
	ASSERT_EQ(Packaging->Properties.size(), 1u);
	const FTypeDecl* Elsewhere = Decls.FindClass("UElsewhereSettings");
	ASSERT_NE(Elsewhere, nullptr);
	EXPECT_EQ(Elsewhere->SectionOverrideKind, FTypeDecl::ESectionOverride::Unreadable);
	EXPECT_EQ(Elsewhere->SectionOverride, "its body is not in the header");
	const FTypeDecl* Computed = Decls.FindClass("UComputedSectionSettings");
	ASSERT_NE(Computed, nullptr);
	EXPECT_EQ(Computed->SectionOverrideKind, FTypeDecl::ESectionOverride::Unreadable);
	EXPECT_EQ(Computed->SectionOverride, "its body is not a single assignment of a string literal");

	const FTypeDecl* Inline = Decls.FindClass("UInlineConstructedSettings");
	ASSERT_NE(Inline, nullptr);
	EXPECT_TRUE(Inline->bDeclaresConstructor);
	EXPECT_EQ(Inline->Properties.size(), 2u);
	FConstructorDefaults Defaults;
	ReadInlineConstructor(Inline->InlineConstructor, Defaults);
	ASSERT_EQ(Defaults.Assignments.size(), 3u);
	EXPECT_EQ(Defaults.Assignments[0], (std::pair<std::string, std::string>("Volume", "0.8f")));
	EXPECT_EQ(Defaults.Assignments[1], (std::pair<std::string, std::string>("Mode", "EPlayMode :: Loop")));
	EXPECT_EQ(Defaults.Assignments[2], (std::pair<std::string, std::string>("bMuted", "false")));
}

TEST(HeaderReader, ConstructorDefinitionsInSourceFiles)
{
	const char* const Source = R"cpp(// Copyright Epic Games, Inc. All Rights Reserved.

#include "FrontendGameUserSettings.h"
#include "AudioMixerBlueprintLibrary.h"

UFrontendGameUserSettings::UFrontendGameUserSettings()
{
}

UFrontendGameUserSettings::UFrontendGameUserSettings(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
	, OverallVolume(1.0f)
	, DisplayGamma{2.2f}
{
	MusicVolume = 1.0f;
	SoundFXVolume = 1.f;
	this->bSubtitles = true;
	Language = TEXT("en");
	Quality = EQualityLevel::High;
	Budget = GetDefaultBudget();
	Keys.Add(EKeys::Escape);
	Counter += 2;
	if (FPlatformMisc::IsRunningOnBattery())
	{
		bLowPower = true;
	}
	for (int32 Index = 0; Index < 3; ++Index)
		Slots[Index] = Index;
#if WITH_EDITOR
	bEditorOnly = true;
#endif
#if PLATFORM_WINDOWS
	bWindowsOnly = true;
#endif
	const float Local = 3.0f;
}

void UFrontendGameUserSettings::Apply()
{
	MusicVolume = 0.0f;
}
)cpp";
	FConstructorDefaults Defaults;
	ASSERT_TRUE(ReadConstructorDefinition(Source, "UFrontendGameUserSettings", Defaults));
	std::string Assigned;
	for (const auto& [Member, Value] : Defaults.Assignments)
	{
		Assigned += Member + "=" + Value + ";";
	}
	// The FObjectInitializer constructor is the one the engine makes default objects with.
	EXPECT_EQ(Assigned, "OverallVolume=1.0f;DisplayGamma=2.2f;MusicVolume=1.0f;SoundFXVolume=1.f;bSubtitles=true;Language=TEXT ( \"en\" );"
		"Quality=EQualityLevel :: High;Budget=GetDefaultBudget ( );bEditorOnly=true;");
	EXPECT_EQ(Defaults.Changed, (std::vector<std::string>{"Keys", "Counter", "bLowPower", "Slots"}));

	FConstructorDefaults None;
	EXPECT_FALSE(ReadConstructorDefinition(Source, "UOtherSettings", None));
}
