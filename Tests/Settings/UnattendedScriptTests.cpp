// Orvex::Diagnostics::FScopedUnattendedScript and the change handling that listens to it.
#include "Engine/RendererSettings.h"
#include "CoreGlobals.h"
#include "OrvexDiagnostics.h"
#include "SettingsTestSupport.h"
#include "UObject/UnrealType.h"

TEST(UnattendedScript, ScopesSetTheFlagAndRestoreWhatWasThereWhenNested)
{
	ASSERT_FALSE(GIsRunningUnattendedScript);
	{
		Orvex::Diagnostics::FScopedUnattendedScript Outer;
		EXPECT_TRUE(GIsRunningUnattendedScript);
		{
			Orvex::Diagnostics::FScopedUnattendedScript Inner;
			EXPECT_TRUE(GIsRunningUnattendedScript);
		}
		// The inner scope must not end the outer one's unattended run.
		EXPECT_TRUE(GIsRunningUnattendedScript);
	}
	EXPECT_FALSE(GIsRunningUnattendedScript);

	// A flag someone else set stays set after a scope of ours.
	GIsRunningUnattendedScript = true;
	{
		Orvex::Diagnostics::FScopedUnattendedScript Scope;
	}
	EXPECT_TRUE(GIsRunningUnattendedScript);
	GIsRunningUnattendedScript = false;
}

using UnattendedChangeHandling = FSettingsTest;

TEST_F(UnattendedChangeHandling, RendererTakesTheAnswerThatKeepsTheChangeAndStaysQuietUnattended)
{
	URendererSettings* Settings = GetMutableDefault<URendererSettings>();
	FPropertyChangedEvent Event(URendererSettings::StaticClass()->FindPropertyByName(FName(TEXT("bEnableRayTracing"))), EPropertyChangeType::ValueSet);

	Settings->bEnableRayTracing = 1;
	Settings->bSupportSkinCacheShaders = 0;
	::testing::internal::CaptureStderr();
	{
		Orvex::Diagnostics::FScopedUnattendedScript Scope;
		Settings->PostEditChangeProperty(Event);
	}
	EXPECT_EQ(::testing::internal::GetCapturedStderr().find("Answered"), std::string::npos);
	EXPECT_EQ(Settings->bEnableRayTracing, 1u);
	EXPECT_EQ(Settings->bSupportSkinCacheShaders, 1u);

	// Attended, this host still has no dialog to show: it says what it decided instead.
	Settings->bSupportSkinCacheShaders = 0;
	::testing::internal::CaptureStderr();
	Settings->PostEditChangeProperty(Event);
	EXPECT_NE(::testing::internal::GetCapturedStderr().find("skin cache shaders"), std::string::npos);
	EXPECT_EQ(Settings->bSupportSkinCacheShaders, 1u);
}
