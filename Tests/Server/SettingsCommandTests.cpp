// orvex settings on the bundled samples, whose engine and project Source folders declare
// settings classes of their own.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"
#include "ProgramRunner.h"

#include <gtest/gtest.h>

namespace
{
	class SettingsCommand : public testing::Test
	{
	protected:
		FProgramRun Run(std::vector<std::string> Tail) const
		{
			std::vector<std::string> Arguments = {"--user-dir", Folders.UserDir().string(), "--compact"};
			Arguments.insert(Arguments.end(), Tail.begin(), Tail.end());
			return RunOrvex(Arguments);
		}

		static TSharedPtr<FJsonObject> FindByName(const TArray<TSharedPtr<FJsonValue>>& Rows, const TCHAR* Name)
		{
			for (const TSharedPtr<FJsonValue>& Row : Rows)
			{
				if (Row->AsObject()->GetStringField(TEXT("name")) == Name)
				{
					return Row->AsObject();
				}
			}
			return nullptr;
		}

		FTempHostFolders Folders;
	};
}

TEST_F(SettingsCommand, ListsBuiltInAndHeaderClassesOfTheSamples)
{
	const FProgramRun Listed = Run({"settings"});
	ASSERT_EQ(Listed.ExitCode, 0) << Listed.Err;
	const TArray<TSharedPtr<FJsonValue>> Classes = ParseObject(Listed.Out)->GetArrayField(TEXT("classes"));

	const TSharedPtr<FJsonObject> Streaming = FindByName(Classes, TEXT("WorldStreamingSettings"));
	ASSERT_TRUE(Streaming.IsValid()) << Listed.Out;
	EXPECT_EQ(ToJson(Streaming).rfind(R"({"name":"WorldStreamingSettings","section":"/Script/WorldStreaming.WorldStreamingSettings","config":"Engine","flags":["Config","DefaultConfig"],)", 0), 0u) << ToJson(Streaming);
	EXPECT_TRUE(Streaming->GetStringField(TEXT("header")).EndsWith(TEXT("Samples/Engine/Source/Runtime/WorldStreaming/Public/WorldStreamingSettings.h")));
	EXPECT_EQ(Streaming->GetNumberField(TEXT("properties")), 12.0);

	const TSharedPtr<FJsonObject> Mobile = FindByName(Classes, TEXT("MobileWorldStreamingSettings"));
	ASSERT_TRUE(Mobile.IsValid());
	EXPECT_EQ(Mobile->GetStringField(TEXT("config")), TEXT("Engine"));
	EXPECT_EQ(Mobile->GetNumberField(TEXT("properties")), 13.0);

	const TSharedPtr<FJsonObject> User = FindByName(Classes, TEXT("SampleGameUserSettings"));
	ASSERT_TRUE(User.IsValid());
	EXPECT_NE(ToJson(User).find(R"("flags":["Config","ProjectUserConfig"])"), std::string::npos) << ToJson(User);
	EXPECT_EQ(User->GetStringField(TEXT("section")), TEXT("/Script/SampleProject.SampleGameUserSettings"));

	const TSharedPtr<FJsonObject> Renderer = FindByName(Classes, TEXT("RendererSettings"));
	ASSERT_TRUE(Renderer.IsValid());
	EXPECT_TRUE(Renderer->GetStringField(TEXT("header")).IsEmpty());
}

TEST_F(SettingsCommand, OneClassShowsItsConfigPropertiesAndWhatWasNotRead)
{
	const FProgramRun Shown = Run({"settings", "UWorldStreamingSettings"});
	ASSERT_EQ(Shown.ExitCode, 0) << Shown.Err;
	const TSharedPtr<FJsonObject> Result = ParseObject(Shown.Out);
	const TArray<TSharedPtr<FJsonValue>> Properties = Result->GetArrayField(TEXT("config_properties"));
	ASSERT_EQ(Properties.Num(), 12);
	EXPECT_EQ(ToJson(Properties[0]->AsObject()), R"({"name":"MaxCellsToLoadPerFrame","type":"int32","value":"8","cvar":"wp.Runtime.MaxCellsToLoadPerFrame","restart_required":false})");
	EXPECT_EQ(ToJson(FindByName(Properties, TEXT("bEnableAsyncStreaming"))), R"({"name":"bEnableAsyncStreaming","type":"uint32","value":"True","cvar":"wp.Runtime.EnableAsyncStreaming","restart_required":true})");
	EXPECT_EQ(ToJson(FindByName(Properties, TEXT("ReleasePolicy"))), R"({"name":"ReleasePolicy","type":"TEnumAsByte<ECellReleasePolicy::Type>","value":"Deferred","restart_required":false})");
	EXPECT_EQ(ToJson(FindByName(Properties, TEXT("CellLoaderClass"))), R"({"name":"CellLoaderClass","type":"FSoftClassPath","value":"/Script/WorldStreaming.WorldCellLoader","restart_required":false})");
	EXPECT_EQ(ToJson(FindByName(Properties, TEXT("RangeScalePerGrid"))), R"j({"name":"RangeScalePerGrid","type":"TMap<FName,float>","value":"()","restart_required":false})j");
	EXPECT_EQ(ToJson(Result->GetArrayField(TEXT("unread_properties"))[0]->AsObject()), R"({"name":"CellSizeOverride","type":"TOptional<float>"})");

	const FProgramRun Unknown = Run({"settings", "NoSuchSettings"});
	EXPECT_EQ(Unknown.ExitCode, 1);
	EXPECT_TRUE(Unknown.Out.empty());
	EXPECT_EQ(Unknown.Err, "orvex: no settings class 'NoSuchSettings' (see 'orvex settings')\n");
}

TEST_F(SettingsCommand, SetSettingDryRunReachesASampleHeaderClass)
{
	const FProgramRun Dry = Run({"call", "config.set_setting", R"({"class":"WorldStreamingSettings","property":"maxcellstoloadperframe","value":4,"dry_run":true})"});
	ASSERT_EQ(Dry.ExitCode, 0) << Dry.Err;
	const TSharedPtr<FJsonObject> Result = ParseObject(Dry.Out);
	EXPECT_EQ(Result->GetStringField(TEXT("class")), TEXT("/Script/WorldStreaming.WorldStreamingSettings"));
	EXPECT_TRUE(Result->GetStringField(TEXT("ini_file")).EndsWith(TEXT("Samples/SampleProject/Config/DefaultEngine.ini")));
	EXPECT_EQ(ToJson(Result->GetArrayField(TEXT("results"))[0]->AsObject()), R"({"property":"MaxCellsToLoadPerFrame","old_value":"8","restart_required":false,"cvar":"wp.Runtime.MaxCellsToLoadPerFrame","written":false})");
}
