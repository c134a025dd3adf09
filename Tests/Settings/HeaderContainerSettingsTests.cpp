// Set and map config members of header-only settings classes: loaded from the layers, written
// as one line in the engine's text forms, and set from JSON arrays and objects.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"
#include "Misc/OutputDevice.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

namespace
{
	const char* const VoiceChatHeader = R"hdr(// Copyright Epic Games, Inc. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Engine/DeveloperSettings.h"
#include "UObject/SoftObjectPath.h"
#include "VoiceChatSettings.generated.h"

UENUM()
enum class EVoiceQuality : uint8
{
	Low,
	Standard,
	High,
};

USTRUCT()
struct FVoiceCodecSettings
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = Codec)
	int32 BitrateKbps = 32;

	UPROPERTY(EditAnywhere, Category = Codec)
	bool bUseDtx = true;

	/** Frame length in milliseconds per channel layout. */
	UPROPERTY(EditAnywhere, Category = Codec)
	TMap<FName, int32> FrameSizes = { { TEXT("Mono"), 20 } };
};

/**
 * Channels, volumes and codecs of the in-game voice chat.
 */
UCLASS(config=Game, defaultconfig, meta=(DisplayName="Voice Chat"))
class VOICECHAT_API UVoiceChatSettings : public UDeveloperSettings
{
	GENERATED_BODY()

public:
	/** Channels nobody hears; kept in the order they were muted. */
	UPROPERTY(config, EditAnywhere, Category = Channels)
	TSet<FName> MutedChannels;

	/** Volume of each channel, in percent. */
	UPROPERTY(config, EditAnywhere, Category = Channels)
	TMap<FString, int32> ChannelVolumes;

	UPROPERTY(config, EditAnywhere, Category = Channels, meta = (AllowedClasses = "/Script/Engine.SoundAttenuation"))
	TMap<FName, FSoftObjectPath> ChannelAttenuation;

	UPROPERTY(config, EditAnywhere, Category = Codec)
	TMap<EVoiceQuality, FVoiceCodecSettings> CodecPerQuality;

	UPROPERTY(config)
	TSet<FString> ReservedChannelNames = { TEXT("System"), TEXT("Admin") };

	UPROPERTY(config)
	TMap<FName, float> ChannelDucking = { { TEXT("Music"), 0.5f } };

	UPROPERTY(config, EditAnywhere, Category = Channels)
	TArray<bool> SlotEnabled;

	UPROPERTY(config)
	TSet<FText> ChannelTitles;
};

UCLASS(config=EditorPerProjectUserSettings)
class UVoiceChatEditorSettings : public UObject
{
	GENERATED_BODY()

public:
	UPROPERTY(config, EditAnywhere, Category = Shortcuts)
	TMap<FName, int32> PushToTalkKeys;
};
)hdr";

	const char* const BaseGame =
		"[/Script/EngineSettings.GeneralProjectSettings]\n"
		"ProjectName=Sample\n"
		"\n"
		"[/Script/VoiceChat.VoiceChatSettings]\n"
		"MutedChannels=(\"Ambient\",\"Debug\")\n"
		"ChannelVolumes=((\"Music\", 80),(\"Voice\", 100))\n"
		"+SlotEnabled=True\n"
		"+SlotEnabled=False\n";

	const char* const DefaultGame =
		"; voice chat tuning\r\n"
		"[/Script/VoiceChat.VoiceChatSettings]\r\n"
		"ChannelAttenuation=((\"Voice\", \"/Game/Audio/ATT_Voice.ATT_Voice\"),(\"Music\", None))\r\n"
		"CodecPerQuality=((High, (BitrateKbps=96)))\r\n"
		"\r\n"
		"[/Script/EngineSettings.GeneralProjectSettings]\r\n"
		"CompanyName=Sample Studio\r\n";

	class HeaderContainerSettings : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/Engine.RendererSettings]\nr.RayTracing=False\n");
			Folders.WriteEngine("Config/BaseGame.ini", BaseGame);
			Folders.WriteEngine("Config/BaseEditorPerProjectUserSettings.ini", "[/Script/VoiceChat.VoiceChatEditorSettings]\nPushToTalkKeys=((\"Voice\", 84))\n");
			Folders.WriteEngine("Source/Runtime/VoiceChat/VoiceChat.Build.cs", "public class VoiceChat : ModuleRules { }\n");
			Folders.WriteEngine("Source/Runtime/VoiceChat/Public/VoiceChatSettings.h", VoiceChatHeader);
			Folders.WriteProject("Config/DefaultGame.ini", DefaultGame);
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			ASSERT_TRUE(Host->IsRunning()) << UE::Host::StringToUtf8(Host->GetError());
			Class = Cast<UClass>(StaticFindFirstObject(UClass::StaticClass(), TEXT("VoiceChatSettings"), EFindFirstObjectOptions::NativeFirst));
			ASSERT_NE(Class, nullptr);
		}

		static FOrvexActionResult Set(const std::string& Params)
		{
			return CallAction(TEXT("config"), TEXT("set_setting"), Params);
		}

		static std::string Field(const FOrvexActionResult& Outcome, const TCHAR* Name, int32 Row = 0)
		{
			return UE::Host::StringToUtf8(Outcome.Result->GetArrayField(TEXT("results"))[Row]->AsObject()->GetStringField(Name));
		}

		const FProperty* Property(const TCHAR* Name) const
		{
			return Class->FindPropertyByName(FName(Name));
		}

		std::string Text(const TCHAR* Name) const
		{
			UObject* Defaults = Class->GetDefaultObject();
			FString Value;
			Property(Name)->ExportText_InContainer(0, Value, Defaults, nullptr, Defaults, PPF_None);
			return UE::Host::StringToUtf8(Value);
		}

		std::string DefaultGameText() const { return FTempHostFolders::Read(Folders.ProjectDir() / "Config" / "DefaultGame.ini"); }

		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
		UClass* Class = nullptr;
	};

	// Collects what an import refuses.
	class FImportErrors final : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override { Text += V; }

		FString Text;
	};
}

TEST_F(HeaderContainerSettings, DefaultsComeFromTheLayersAndTheInitializers)
{
	ASSERT_NE(CastField<FSetProperty>(Property(TEXT("MutedChannels"))), nullptr);
	EXPECT_EQ(UE::Host::StringToUtf8(Property(TEXT("MutedChannels"))->GetCPPType()), "TSet<FName>");
	EXPECT_EQ(UE::Host::StringToUtf8(Property(TEXT("ChannelVolumes"))->GetCPPType()), "TMap<FString,int32>");
	EXPECT_EQ(UE::Host::StringToUtf8(Property(TEXT("ChannelAttenuation"))->GetCPPType()), "TMap<FName,FSoftObjectPath>");
	EXPECT_TRUE(Property(TEXT("ChannelVolumes"))->HasAllPropertyFlags(CPF_Config | CPF_Edit));

	// Names and strings are quoted inside a container; keys and values are parted by ", ".
	EXPECT_EQ(Text(TEXT("MutedChannels")), "(\"Ambient\",\"Debug\")");
	EXPECT_EQ(Text(TEXT("ChannelVolumes")), "((\"Music\", 80),(\"Voice\", 100))");
	EXPECT_EQ(Text(TEXT("ChannelAttenuation")), "((\"Voice\", \"/Game/Audio/ATT_Voice.ATT_Voice\"),(\"Music\", \"\"))");
	// A struct value names only the members that differ from the struct's defaults.
	EXPECT_EQ(Text(TEXT("CodecPerQuality")), "((High, (BitrateKbps=96)))");
	EXPECT_EQ(Text(TEXT("ReservedChannelNames")), "(\"System\",\"Admin\")");
	EXPECT_EQ(Text(TEXT("ChannelDucking")), "((\"Music\", 0.500000))");
	EXPECT_EQ(Text(TEXT("SlotEnabled")), "(True,False)");

	const FMapProperty* Codecs = CastField<FMapProperty>(Property(TEXT("CodecPerQuality")));
	ASSERT_NE(Codecs, nullptr);
	FScriptMapHelper_InContainer Helper(Codecs, Class->GetDefaultObject());
	ASSERT_EQ(Helper.Num(), 1);
	const UScriptStruct* Codec = CastField<FStructProperty>(Codecs->GetValueProperty())->Struct;
	EXPECT_TRUE(*Codec->FindPropertyByName(FName(TEXT("bUseDtx")))->ContainerPtrToValuePtr<bool>(Helper.GetValuePtr(0)));

	// A text has no hash, so a set of texts is left out, as the header tool refuses it.
	EXPECT_EQ(Property(TEXT("ChannelTitles")), nullptr);
}

TEST_F(HeaderContainerSettings, TextImportKeepsEachKeyOnceAndRefusesBrokenTextWhole)
{
	UObject* Defaults = Class->GetDefaultObject();
	const FProperty* Volumes = Property(TEXT("ChannelVolumes"));
	FImportErrors Errors;
	// Blanks anywhere, a repeated key (ignoring case, as FString keys do) keeps its first place.
	const TCHAR* End = Volumes->ImportText_InContainer(TEXT("( (\"Music\",10) , ( \"Voice\" , 20 ),(\"music\", 30) )"), Defaults, Defaults, PPF_None, &Errors);
	ASSERT_NE(End, nullptr) << UE::Host::StringToUtf8(Errors.Text);
	EXPECT_EQ(*End, 0);
	EXPECT_EQ(Text(TEXT("ChannelVolumes")), "((\"music\", 30),(\"Voice\", 20))");

	for (const TCHAR* Broken : {TEXT("((\"Music\" 10))"), TEXT("((\"Music\", 10)"), TEXT("(\"Music\", 10)"), TEXT("((\"Music\", loud))")})
	{
		EXPECT_EQ(Volumes->ImportText_InContainer(Broken, Defaults, Defaults, PPF_None, &Errors), nullptr) << UE::Host::StringToUtf8(Broken);
		EXPECT_EQ(Text(TEXT("ChannelVolumes")), "((\"music\", 30),(\"Voice\", 20))");
	}

	const FProperty* Muted = Property(TEXT("MutedChannels"));
	ASSERT_NE(Muted->ImportText_InContainer(TEXT("(Voice, \"Music\", voice)"), Defaults, Defaults, PPF_None, &Errors), nullptr);
	EXPECT_EQ(FScriptSetHelper_InContainer(CastField<FSetProperty>(Muted), Defaults).Num(), 2);
	ASSERT_NE(Muted->ImportText_InContainer(TEXT("()"), Defaults, Defaults, PPF_None, &Errors), nullptr);
	EXPECT_EQ(Text(TEXT("MutedChannels")), "()");
	EXPECT_EQ(Muted->ImportText_InContainer(TEXT("Voice"), Defaults, Defaults, PPF_None, &Errors), nullptr);

	// Sets compare as sets: neither the order nor (for strings) the letter case matters.
	// Strings inside a container are quoted, as the engine requires.
	EXPECT_EQ(Property(TEXT("ReservedChannelNames"))->ImportText_InContainer(TEXT("(System)"), Defaults, Defaults, PPF_None, &Errors), nullptr);
	const FSetProperty* Reserved = CastField<FSetProperty>(Property(TEXT("ReservedChannelNames")));
	alignas(16) uint8 Other[64];
	ASSERT_LE(Reserved->GetSize(), static_cast<int32>(sizeof(Other)));
	Reserved->InitializeValue(Other);
	ASSERT_NE(Reserved->ImportText_Direct(TEXT("(\"admin\",\"System\")"), Other, Defaults, PPF_None, &Errors), nullptr);
	EXPECT_TRUE(Reserved->Identical(Reserved->ContainerPtrToValuePtr<void>(Defaults), Other));
	ASSERT_NE(Reserved->ImportText_Direct(TEXT("(\"Admin\")"), Other, Defaults, PPF_None, &Errors), nullptr);
	EXPECT_FALSE(Reserved->Identical(Reserved->ContainerPtrToValuePtr<void>(Defaults), Other));
	Reserved->DestroyValue(Other);
}

TEST_F(HeaderContainerSettings, DryRunReportsAndWritesNothing)
{
	const std::string Before = DefaultGameText();
	const FOrvexActionResult Dry = Set(R"({"class":"VoiceChatSettings","properties":{"MutedChannels":["Voice"],"ChannelVolumes":{"Music":50}},"dry_run":true})");
	ASSERT_TRUE(Dry.bSuccess) << UE::Host::StringToUtf8(Dry.ErrorMessage);
	EXPECT_EQ(ToJson(Dry.Result->GetArrayField(TEXT("results"))[0]->AsObject()), R"j({"property":"MutedChannels","old_value":"(\"Ambient\",\"Debug\")","restart_required":false,"written":false})j");
	EXPECT_EQ(Field(Dry, TEXT("old_value"), 1), "((\"Music\", 80),(\"Voice\", 100))");
	EXPECT_EQ(DefaultGameText(), Before);
	EXPECT_EQ(Text(TEXT("MutedChannels")), "(\"Ambient\",\"Debug\")");
}

TEST_F(HeaderContainerSettings, WritesRewriteTheDefaultSectionWithOneLinePerContainer)
{
	const FOrvexActionResult Written = Set(R"({"class":"/Script/VoiceChat.VoiceChatSettings","properties":{
		"MutedChannels":["Debug","Music"],
		"ChannelVolumes":{"Music":50,"Voice":100,"Effects":"70"},
		"ChannelAttenuation":{"Voice":"/Game/Audio/ATT_Near.ATT_Near"},
		"CodecPerQuality":{"Low":{"BitrateKbps":16,"bUseDtx":false,"FrameSizes":{"Mono":10,"Stereo":40}},"EVoiceQuality::High":{}},
		"SlotEnabled":[false,true,true]}})");
	ASSERT_TRUE(Written.bSuccess) << UE::Host::StringToUtf8(Written.ErrorMessage);
	EXPECT_EQ(Field(Written, TEXT("persist_method")), "TryUpdateDefaultConfigFile");
	EXPECT_EQ(Field(Written, TEXT("new_value"), 1), "((\"Music\", 50),(\"Voice\", 100),(\"Effects\", 70))");

	const std::string Text = DefaultGameText();
	EXPECT_EQ(Text.rfind("; voice chat tuning\r\n[/Script/VoiceChat.VoiceChatSettings]\r\n", 0), 0u) << Text;
	for (const char* Line : {"\r\nMutedChannels=(\"Debug\",\"Music\")\r\n",
		"\r\nChannelVolumes=((\"Music\", 50),(\"Voice\", 100),(\"Effects\", 70))\r\n",
		"\r\nChannelAttenuation=((\"Voice\", \"/Game/Audio/ATT_Near.ATT_Near\"))\r\n",
		"\r\nCodecPerQuality=((Low, (BitrateKbps=16,bUseDtx=False,FrameSizes=((\"Mono\", 10),(\"Stereo\", 40)))),(High, ()))\r\n",
		"\r\nReservedChannelNames=(\"System\",\"Admin\")\r\n",
		// An array element equal to an earlier one takes '.', which adds it all the same.
		"\r\n!SlotEnabled=ClearArray\r\n+SlotEnabled=False\r\n+SlotEnabled=True\r\n.SlotEnabled=True\r\n"})
	{
		EXPECT_NE(Text.find(Line), std::string::npos) << Line << "\n" << Text;
	}
	EXPECT_NE(Text.find("\r\n[/Script/EngineSettings.GeneralProjectSettings]\r\nCompanyName=Sample Studio\r\n"), std::string::npos) << Text;

	// What was written loads back as the same values.
	UObject* Defaults = Class->GetDefaultObject();
	Property(TEXT("ChannelVolumes"))->ClearValue(Property(TEXT("ChannelVolumes"))->ContainerPtrToValuePtr<void>(Defaults));
	Defaults->LoadConfig();
	EXPECT_EQ(this->Text(TEXT("ChannelVolumes")), "((\"Music\", 50),(\"Voice\", 100),(\"Effects\", 70))");
	EXPECT_EQ(this->Text(TEXT("CodecPerQuality")), "((Low, (BitrateKbps=16,bUseDtx=False,FrameSizes=((\"Mono\", 10),(\"Stereo\", 40)))),(High, ()))");

	// A container member left empty in a struct's text is emptied, as an array member is.
	const FProperty* Codecs = Property(TEXT("CodecPerQuality"));
	ASSERT_NE(Codecs->ImportText_InContainer(TEXT("((Low, (FrameSizes=,BitrateKbps=8)))"), Defaults, Defaults, PPF_None), nullptr);
	EXPECT_EQ(this->Text(TEXT("CodecPerQuality")), "((Low, (BitrateKbps=8,FrameSizes=())))");
}

TEST_F(HeaderContainerSettings, BadElementsAreRefusedAndNothingIsWritten)
{
	const std::string Before = DefaultGameText();
	const struct
	{
		const char* Params;
		const char* Error;
	} Cases[] = {
		{R"({"class":"VoiceChatSettings","property":"ChannelVolumes","value":{"Music":50,"Voice":"loud"}})", "Value 'loud' for 'ChannelVolumes[\"Voice\"]' is not a number"},
		{R"({"class":"VoiceChatSettings","property":"ChannelVolumes","value":["Music"]})", "Value [...] for 'ChannelVolumes' is not an object (a map is given as an object of key and value pairs)"},
		{R"({"class":"VoiceChatSettings","property":"MutedChannels","value":["Voice","voice"]})", "Value 'voice' for 'MutedChannels[1]' repeats element 0 (a set holds each element once)"},
		{R"({"class":"VoiceChatSettings","property":"MutedChannels","value":["Voice",3]})", "Value 3 for 'MutedChannels[1]' is not a string"},
		{R"({"class":"VoiceChatSettings","property":"ReservedChannelNames","value":["Admin","System","admin"]})", "Value 'admin' for 'ReservedChannelNames[2]' repeats element 0"},
		{R"({"class":"VoiceChatSettings","property":"CodecPerQuality","value":{"High":{},"EVoiceQuality::High":{}}})", "Key 'EVoiceQuality::High' for 'CodecPerQuality' names the same key as an earlier one"},
		{R"({"class":"VoiceChatSettings","property":"ChannelAttenuation","value":{"Voice":"Audio/ATT_Voice"}})", "Value 'Audio/ATT_Voice' for 'ChannelAttenuation[\"Voice\"]' is not an object path"},
		{R"({"class":"VoiceChatSettings","property":"CodecPerQuality","value":{"Ultra":{}}})", "Value 'Ultra' for 'key of CodecPerQuality' is not a valid EVoiceQuality"},
	};
	for (const auto& Case : Cases)
	{
		const FOrvexActionResult Refused = Set(Case.Params);
		const TSharedPtr<FJsonObject> Row = Refused.Result.IsValid() && Refused.Result->HasField(TEXT("results")) ? Refused.Result->GetArrayField(TEXT("results"))[0]->AsObject() : nullptr;
		const std::string Error = Row.IsValid() ? UE::Host::StringToUtf8(Row->GetStringField(TEXT("error"))) : UE::Host::StringToUtf8(Refused.ErrorMessage);
		EXPECT_EQ(Error.rfind(Case.Error, 0), 0u) << Case.Params << "\n" << Error;
		EXPECT_FALSE(Row.IsValid() && Row->GetBoolField(TEXT("written"))) << Case.Params;
	}
	EXPECT_EQ(DefaultGameText(), Before);
	EXPECT_EQ(Text(TEXT("ChannelVolumes")), "((\"Music\", 80),(\"Voice\", 100))");
	EXPECT_EQ(Text(TEXT("MutedChannels")), "(\"Ambient\",\"Debug\")");
}

TEST_F(HeaderContainerSettings, SaveConfigWritesOnlyAMapThatDiffersFromTheLayers)
{
	const std::filesystem::path Saved = Folders.ProjectDir() / "Saved" / "Config" / "LinuxEditor" / "EditorPerProjectUserSettings.ini";
	// The same pairs in another order are the same map: nothing to save.
	const FOrvexActionResult Same = Set(R"({"class":"VoiceChatEditorSettings","property":"PushToTalkKeys","value":{"voice":84}})");
	ASSERT_TRUE(Same.bSuccess) << UE::Host::StringToUtf8(Same.ErrorMessage);
	EXPECT_EQ(Field(Same, TEXT("persist_method")), "SaveConfig");
	EXPECT_EQ(FTempHostFolders::Read(Saved).find("PushToTalkKeys"), std::string::npos);

	const FOrvexActionResult Changed = Set(R"({"class":"VoiceChatEditorSettings","property":"PushToTalkKeys","value":{"Voice":84,"Team":89}})");
	ASSERT_TRUE(Changed.bSuccess) << UE::Host::StringToUtf8(Changed.ErrorMessage);
	const std::string SavedText = FTempHostFolders::Read(Saved);
	EXPECT_NE(SavedText.find("[/Script/VoiceChat.VoiceChatEditorSettings]\nPushToTalkKeys=((\"Voice\", 84),(\"Team\", 89))\n"), std::string::npos) << SavedText;
}
