// Start-up and shutdown of the module: namespaces, annotations, the enable setting, log lines.
#include "ActionTestUtils.h"
#include "HostTestEnvironment.h"
#include "OrvexLog.h"
#include "OrvexToolRegistry.h"

#include <gtest/gtest.h>

namespace
{
	const char* const DisabledReason =
		"config namespace disabled by user \u2014 enable in Project Settings \u2192 Plugins \u2192 Kestrow \u2192 Modules \u2192 Enable Config.";

	class ModuleStartup : public testing::Test
	{
	protected:
		void TearDown() override { UE::Host::SetLogVerbosity(TEXT("LogOrvex"), ELogVerbosity::Log); }

		FTempHostFolders Folders;
	};
}

TEST_F(ModuleStartup, RegistersLocalizationFirstWithReadOnlyAnnotations)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning()) << UE::Host::StringToUtf8(Host.GetError());
	FOrvexToolRegistry& Registry = FOrvexToolRegistry::Get();

	const TArray<FString> Namespaces = Registry.GetNamespaces();
	ASSERT_EQ(Namespaces.Num(), 2);
	EXPECT_EQ(UE::Host::StringToUtf8(Namespaces[0]), "localization");
	EXPECT_EQ(UE::Host::StringToUtf8(Namespaces[1]), "config");

	FOrvexDispatcherAnnotations Annotations;
	ASSERT_TRUE(Registry.GetDispatcherAnnotations(TEXT("localization"), Annotations));
	EXPECT_TRUE(Annotations.bReadOnly);
	EXPECT_FALSE(Annotations.bDestructive);
	EXPECT_TRUE(Annotations.bIdempotent);
	EXPECT_EQ(UE::Host::StringToUtf8(Annotations.Description), "Localization discovery and StringTable validation");
	EXPECT_FALSE(Registry.GetDispatcherAnnotations(TEXT("config"), Annotations));
	EXPECT_FALSE(Registry.IsNamespaceDisabled(TEXT("config")));
	EXPECT_TRUE(Registry.HasAction(TEXT("config"), TEXT("get_config_files")));
}

TEST_F(ModuleStartup, ProjectSettingDisablesConfigWithTheExactReason)
{
	Folders.WriteProject("Config/DefaultEditor.ini", "[/Script/OrvexCore.OrvexSettings]\nbEnableConfig=False\n");
	UE::Host::SetLogVerbosity(TEXT("LogOrvex"), ELogVerbosity::Log);
	testing::internal::CaptureStderr();
	FScopedHost Host(Folders.MakeEnvironment());
	const std::string Log = testing::internal::GetCapturedStderr();
	ASSERT_TRUE(Host.IsRunning());

	FOrvexToolRegistry& Registry = FOrvexToolRegistry::Get();
	FString Reason;
	ASSERT_TRUE(Registry.IsNamespaceDisabled(TEXT("config"), &Reason));
	EXPECT_EQ(UE::Host::StringToUtf8(Reason), DisabledReason);
	EXPECT_EQ(Registry.GetActions(TEXT("config")).Num(), 0);

	const int32 LocalizationCount = Registry.GetActions(TEXT("localization")).Num();
	const std::string Expected = "LogOrvex: Log: Kestrow \u2014 Config actions disabled (" + std::to_string(LocalizationCount) + " localization actions still registered)\n";
	EXPECT_NE(Log.find(Expected), std::string::npos) << Log;
	EXPECT_EQ(Log.find("Config module loaded"), std::string::npos);

	const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("get_config_files"));
	EXPECT_FALSE(Outcome.bSuccess);
	EXPECT_EQ(UE::Host::StringToUtf8(Outcome.ErrorMessage), DisabledReason);
}

TEST_F(ModuleStartup, IniOverrideDisablesConfig)
{
	UE::Host::FEnvironment Environment = Folders.MakeEnvironment();
	Environment.IniOverrides.Add(TEXT("Editor:[/Script/OrvexCore.OrvexSettings]:bEnableConfig=False"));
	FScopedHost Host(Environment);
	ASSERT_TRUE(Host.IsRunning());
	EXPECT_TRUE(FOrvexToolRegistry::Get().IsNamespaceDisabled(TEXT("config")));
	EXPECT_EQ(FOrvexToolRegistry::Get().GetActions(TEXT("config")).Num(), 0);
}

TEST_F(ModuleStartup, LogsBothCountsAtLogAndNothingBelowIt)
{
	UE::Host::SetLogVerbosity(TEXT("LogOrvex"), ELogVerbosity::Log);
	testing::internal::CaptureStderr();
	{
		FScopedHost Host(Folders.MakeEnvironment());
		ASSERT_TRUE(Host.IsRunning());
	}
	const std::string Loaded = testing::internal::GetCapturedStderr();
	EXPECT_NE(Loaded.find("LogOrvex: Log: Kestrow \u2014 Config module loaded ("), std::string::npos) << Loaded;

	UE::Host::SetLogVerbosity(TEXT("LogOrvex"), ELogVerbosity::Display);
	testing::internal::CaptureStderr();
	{
		FScopedHost Host(Folders.MakeEnvironment());
		ASSERT_TRUE(Host.IsRunning());
	}
	EXPECT_EQ(testing::internal::GetCapturedStderr().find("LogOrvex"), std::string::npos);
}

TEST_F(ModuleStartup, ShutdownUnregistersBothNamespacesWhetherOrNotConfigWasRegistered)
{
	for (const bool bEnable : {true, false})
	{
		UE::Host::FEnvironment Environment = Folders.MakeEnvironment();
		if (!bEnable)
		{
			Environment.IniOverrides.Add(TEXT("Editor:[/Script/OrvexCore.OrvexSettings]:bEnableConfig=False"));
		}
		{
			FScopedHost Host(Environment);
			ASSERT_TRUE(Host.IsRunning());
			EXPECT_EQ(FOrvexToolRegistry::Get().GetNamespaces().Num(), 2);
		}
		EXPECT_EQ(FOrvexToolRegistry::Get().GetNamespaces().Num(), 0);
		EXPECT_FALSE(FOrvexToolRegistry::Get().IsNamespaceDisabled(TEXT("config")));
	}
}
