// Listing every settings class reads each header once, and answers what the classes looked up one
// at a time in fresh hosts answer: parents, structs and enums declared in headers named otherwise,
// static arrays sized by enums nobody includes, constructors in another source of the module.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HeaderTool/HeaderIndex.h"
#include "Host/HeaderClasses.h"
#include "HostTestEnvironment.h"
#include "SettingsDescription.h"
#include "Templates/Casts.h"
#include "UObject/Class.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

using UE::Host::Private::FHeaderIndex;

namespace
{
	const char* const StreamingTypesHeader = R"hdr(// Copyright Epic Games, Inc. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Engine/DeveloperSettings.h"
#include "StreamingTypes.generated.h"

/** How the streamer picks what to drop first. */
UENUM(BlueprintType)
enum class EStreamingPolicy : uint8
{
	Nearest UMETA(DisplayName = "Nearest first"),
	Oldest,
	Largest = 4,
};

USTRUCT(BlueprintType)
struct STREAMING_API FStreamingBudget
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = Budget)
	FName PoolName;

	UPROPERTY(EditAnywhere, Category = Budget, meta = (ClampMin = "0", Units = "MB"))
	int32 SizeMB = 64;
};

/** What every settings class of the module has. */
UCLASS(Abstract, config=Engine)
class STREAMING_API UStreamingSettingsBase : public UDeveloperSettings
{
	GENERATED_BODY()

public:
	UPROPERTY(config, EditAnywhere, Category = Diagnostics)
	bool bLogChanges = false;
};
)hdr";

	// Reaches the types only through StreamingShared.h, and sizes an array by a plain enum of a
	// private header it does not include.
	const char* const StreamingSettingsHeader = R"hdr(// Copyright Epic Games, Inc. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "StreamingShared.h"
#include "StreamingSettings.generated.h"

UCLASS(config=Engine, defaultconfig, meta=(DisplayName="Streaming"))
class STREAMING_API UStreamingSettings : public UStreamingSettingsBase
{
	GENERATED_BODY()

public:
	/** Pool used when a level names none. */
	UPROPERTY(config, EditAnywhere, Category = Budget)
	FStreamingBudget DefaultBudget;

	UPROPERTY(config, EditAnywhere, Category = Budget, meta = (ConsoleVariable = "s.Streaming.Policy"))
	EStreamingPolicy Policy = EStreamingPolicy::Oldest;

	UPROPERTY(config, EditAnywhere, Category = Budget)
	int32 BudgetPerSlot[(int32)EStreamingSlot::Count];

	UPROPERTY(config, EditAnywhere, Category = Budget)
	TArray<FStreamingBudget> ExtraBudgets;
};
)hdr";

	// Two classes in a header named after neither; the first sets its defaults in the module's
	// own source, the second declares a constructor no source defines.
	const char* const StreamingOptionsHeader = R"hdr(// Copyright Epic Games, Inc. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "StreamingEditorOptions.generated.h"

UCLASS(config=EditorPerProjectUserSettings)
class STREAMING_API UStreamingViewportSettings : public UObject
{
	GENERATED_UCLASS_BODY()

public:
	UPROPERTY(config, EditAnywhere, Category = Viewport)
	float CameraSpeed;

	UPROPERTY(config, EditAnywhere, Category = Viewport)
	uint32 bShowCells : 1;
};

UCLASS(config=Editor)
class STREAMING_API UStreamingCookSettings : public UObject
{
	GENERATED_UCLASS_BODY()

public:
	UPROPERTY(config, EditAnywhere, Category = Cook)
	int32 ChunkSize = 8;
};

/** Not config: only looked up by name. */
UCLASS()
class STREAMING_API UStreamingDebugHelper : public UObject
{
	GENERATED_BODY()

public:
	UPROPERTY(EditAnywhere, Category = Debug)
	int32 DrawDepth = 2;
};
)hdr";

	const char* const StreamingModuleSource = R"cpp(// Copyright Epic Games, Inc. All Rights Reserved.

#include "StreamingModule.h"
#include "StreamingEditorOptions.h"
#include "Modules/ModuleManager.h"

UStreamingViewportSettings::UStreamingViewportSettings(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
{
	CameraSpeed = 2.5f;
	bShowCells = true;
}

IMPLEMENT_MODULE(FStreamingModule, Streaming)
)cpp";

	class HeaderListing : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/Streaming.StreamingSettings]\nBudgetPerSlot[1]=256\n+ExtraBudgets=(PoolName=\"Cinematics\",SizeMB=512)\n");
			WriteHeader("Source/Runtime/Streaming/Streaming.Build.cs", "public class Streaming : ModuleRules { }\n", false);
			WriteHeader("Source/Runtime/Streaming/Public/StreamingTypes.h", StreamingTypesHeader);
			WriteHeader("Source/Runtime/Streaming/Public/StreamingShared.h", "#pragma once\n#include \"StreamingTypes.h\"\n\nnamespace UE::Streaming\n{\n\tinline constexpr int32 Version = 3;\n}\n");
			WriteHeader("Source/Runtime/Streaming/Public/StreamingSettings.h", StreamingSettingsHeader);
			WriteHeader("Source/Runtime/Streaming/Public/StreamingEditorOptions.h", StreamingOptionsHeader);
			WriteHeader("Source/Runtime/Streaming/Public/StreamingModule.h", "#pragma once\n#include \"Modules/ModuleInterface.h\"\n\nclass FStreamingModule : public IModuleInterface\n{\n};\n");
			WriteHeader("Source/Runtime/Streaming/Private/StreamingLimits.h", "#pragma once\n\nenum class EStreamingSlot : uint8\n{\n\tLow,\n\tMedium,\n\tHigh,\n\tCount\n};\n");
			WriteHeader("Source/Runtime/Streaming/Private/StreamingCache.h", "#pragma once\n#include \"Containers/Array.h\"\n\nclass FStreamingCache\n{\npublic:\n\tvoid Trim(int32 Budget);\n};\n");
			WriteHeader("Source/Runtime/Streaming/Private/StreamingModule.cpp", StreamingModuleSource, false);
			// A plugin a folder deeper, with an enum of the same name and a class whose parent no header declares.
			WriteHeader("Plugins/Experimental/Weather/Source/WeatherRuntime/WeatherRuntime.Build.cs", "public class WeatherRuntime : ModuleRules { }\n", false);
			WriteHeader("Plugins/Experimental/Weather/Source/WeatherRuntime/Public/WeatherTypes.h",
				"#pragma once\n#include \"WeatherTypes.generated.h\"\n\nUENUM()\nenum class EStreamingPolicy : uint8\n{\n\tNever,\n\tAlways,\n};\n");
			WriteHeader("Plugins/Experimental/Weather/Source/WeatherRuntime/Public/Settings/WeatherSettings.h",
				"#pragma once\n#include \"Engine/DeveloperSettings.h\"\n#include \"WeatherSettings.generated.h\"\n\n"
				"UCLASS(config=Game, defaultconfig)\nclass WEATHERRUNTIME_API UWeatherSettings : public UDeveloperSettings\n{\n\tGENERATED_BODY()\n\n"
				"\tUPROPERTY(config, EditAnywhere, Category = Rain)\n\tfloat RainChance = 0.25f;\n};\n\n"
				"UCLASS(config=Game)\nclass WEATHERRUNTIME_API UWeatherLegacySettings : public UWeatherSettingsBase\n{\n\tGENERATED_BODY()\n};\n");
		}

		void WriteHeader(const std::string& RelativePath, const std::string& Text, bool bHeader = true)
		{
			Folders.WriteEngine(RelativePath, Text);
			HeaderCount += bHeader ? 1 : 0;
		}

		// Each settings class with what orvex settings CLASS shows of it.
		static std::map<std::string, std::string> DescribeAll(const TArray<UClass*>& Classes)
		{
			std::map<std::string, std::string> Described;
			for (UClass* Class : Classes)
			{
				Described[UE::Host::StringToUtf8(Class->GetName())] = ToJson(DescribeSettingsClass(Class));
			}
			return Described;
		}

		FTempHostFolders Folders;
		int32 HeaderCount = 0;
	};
}

TEST_F(HeaderListing, ReadsEachHeaderOnceAndAnswersAsSingleLookupsDo)
{
	std::map<std::string, std::string> Listed;
	{
		FScopedHost Host(Folders.MakeEnvironment());
		ASSERT_TRUE(Host.IsRunning());
		Listed = DescribeAll(UE::Host::CollectSettingsClasses());
		const FHeaderIndex::FReadStats Reads = FHeaderIndex::Get().GetReadStats();
		EXPECT_EQ(Reads.HeaderReads, HeaderCount);
		EXPECT_EQ(Reads.MostReadsOfOneHeader, 1);
	}
	for (const char* Name : {"StreamingSettings", "StreamingViewportSettings", "StreamingCookSettings", "WeatherSettings"})
	{
		ASSERT_EQ(Listed.count(Name), 1u) << Name;
	}
	EXPECT_EQ(Listed.count("WeatherLegacySettings"), 0u);
	// The engine's enum, not the plugin's of the same name; the array's size comes from an enum of
	// a header nobody includes.
	EXPECT_NE(Listed["StreamingSettings"].find(R"({"name":"Policy","type":"EStreamingPolicy","value":"Oldest",)"), std::string::npos) << Listed["StreamingSettings"];
	EXPECT_NE(Listed["StreamingSettings"].find(R"({"name":"BudgetPerSlot","type":"int32",)"), std::string::npos) << Listed["StreamingSettings"];
	EXPECT_NE(Listed["StreamingSettings"].find(R"("unread_properties":[])"), std::string::npos) << Listed["StreamingSettings"];
	EXPECT_NE(Listed["StreamingViewportSettings"].find(R"({"name":"CameraSpeed","type":"float","value":"2.500000","restart_required":false})"), std::string::npos) << Listed["StreamingViewportSettings"];
	EXPECT_NE(Listed["StreamingCookSettings"].find(R"("default_known":false)"), std::string::npos) << Listed["StreamingCookSettings"];

	// Each header class alone in a fresh host, found through the lookups that scan.
	for (const auto& Entry : Listed)
	{
		FScopedHost Host(Folders.MakeEnvironment());
		ASSERT_TRUE(Host.IsRunning());
		UClass* Class = FindSettingsClass(UE::Host::Utf8ToString(Entry.first));
		ASSERT_NE(Class, nullptr) << Entry.first;
		EXPECT_EQ(ToJson(DescribeSettingsClass(Class)), Entry.second) << Entry.first;
	}
}

TEST_F(HeaderListing, LookupsAfterTheListingReadNoHeader)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());
	UE::Host::CollectSettingsClasses();
	FHeaderIndex& Index = FHeaderIndex::Get();
	const int64_t ReadsAfterListing = Index.GetReadStats().HeaderReads;

	// A class the listing did not build, in a header named otherwise; names no header declares.
	const UClass* Helper = Cast<UClass>(StaticFindFirstObject(UClass::StaticClass(), TEXT("StreamingDebugHelper")));
	ASSERT_NE(Helper, nullptr);
	EXPECT_EQ(Helper->GetPathName(), TEXT("/Script/Streaming.StreamingDebugHelper"));
	EXPECT_EQ(StaticFindFirstObject(UClass::StaticClass(), TEXT("NoSuchStreamingSettings")), nullptr);
	EXPECT_EQ(Index.FindDeclaringHeader("FNoSuchBudget", nullptr), nullptr);
	int64_t Value = 0;
	EXPECT_TRUE(Index.FindEnumConstant("EStreamingSlot", "High", nullptr, Value));
	EXPECT_EQ(Value, 2);
	EXPECT_FALSE(Index.FindEnumConstant("EStreamingSlot", "Ultra", nullptr, Value));
	const FOrvexActionResult Dry = CallAction(TEXT("config"), TEXT("set_setting"), R"({"class":"StreamingSettings","property":"Policy","value":"Largest","dry_run":true})");
	EXPECT_TRUE(Dry.bSuccess) << UE::Host::StringToUtf8(Dry.ErrorMessage);
	EXPECT_EQ(Index.GetReadStats().HeaderReads, ReadsAfterListing);
}

TEST_F(HeaderListing, ScansReadOnlyHeadersThatMayDeclareWhatTheyLookFor)
{
	FHeaderIndex Index;
	Index.SetRoots({(Folders.EngineDir() / "Source").string(), (Folders.EngineDir() / "Plugins").string()});
	EXPECT_EQ(Index.FindDeclaringHeader("UNoSuchSettings", nullptr), nullptr);
	EXPECT_EQ(Index.GetReadStats().HeaderReads, HeaderCount);

	// A second scan reads again only the five headers with reflection macros, none parsed yet.
	EXPECT_EQ(Index.FindDeclaringHeader("UNoSuchSettingsEither", nullptr), nullptr);
	EXPECT_EQ(Index.GetReadStats().HeaderReads, HeaderCount + 5);
	const std::string* Base = Index.FindDeclaringHeader("UStreamingSettingsBase", nullptr);
	ASSERT_NE(Base, nullptr);
	EXPECT_TRUE(Base->ends_with("/Public/StreamingTypes.h"));
	// The same for enumerators: after one search, only the two unparsed headers with an enum.
	int64_t Value = 0;
	EXPECT_FALSE(Index.FindEnumConstant("EStreamingSlot", "Ultra", nullptr, Value));
	const int64_t BeforeConstant = Index.GetReadStats().HeaderReads;
	EXPECT_FALSE(Index.FindEnumConstant("EStreamingSlot", "Epic", nullptr, Value));
	EXPECT_EQ(Index.GetReadStats().HeaderReads, BeforeConstant + 2);
	EXPECT_TRUE(Index.FindEnumConstant("EStreamingSlot", "Count", nullptr, Value));
	EXPECT_EQ(Value, 3);

	// After a complete pass the same questions are answered from memory.
	Index.ReadAllHeaders();
	const int64_t Complete = Index.GetReadStats().HeaderReads;
	const std::string* Budget = Index.FindDeclaringHeader("FStreamingBudget", nullptr);
	ASSERT_NE(Budget, nullptr);
	EXPECT_EQ(*Budget, *Base);
	EXPECT_EQ(Index.FindDeclaringHeader("UNoSuchThirdSettings", nullptr), nullptr);
	EXPECT_TRUE(Index.FindEnumConstant("EStreamingSlot", "High", nullptr, Value));
	const std::string* Options = Index.FindDeclaringHeaderOfAny({"UStreamingCookSettings", "AStreamingCookSettings"});
	ASSERT_NE(Options, nullptr);
	EXPECT_TRUE(Options->ends_with("/Public/StreamingEditorOptions.h"));
	EXPECT_EQ(Index.GetReadStats().HeaderReads, Complete);
}
