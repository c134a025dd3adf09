// What the renderer settings do when a property changes: the dependent settings the editor
// would ask about, and the console variables they feed.
#include "Engine/RendererSettings.h"
#include "HAL/IConsoleManager.h"
#include "SettingsTestSupport.h"
#include "UObject/UnrealType.h"

namespace
{
	class FRendererSettingsTest : public FSettingsTest
	{
	protected:
		virtual void SetUp() override
		{
			FSettingsTest::SetUp();
			Settings = GetMutableDefault<URendererSettings>();
		}

		FProperty* Property(const TCHAR* Name) const
		{
			return URendererSettings::StaticClass()->FindPropertyByName(FName(Name));
		}

		void Changed(const TCHAR* Name)
		{
			FPropertyChangedEvent Event(Property(Name), EPropertyChangeType::ValueSet);
			Settings->PostEditChangeProperty(Event);
		}

		static IConsoleVariable* Variable(const TCHAR* Name)
		{
			IConsoleVariable* Found = IConsoleManager::Get().FindConsoleVariable(Name);
			EXPECT_NE(Found, nullptr) << U8(Name);
			return Found;
		}

		URendererSettings* Settings = nullptr;
	};
}

TEST(PropertyChangedEvent, StartsWithTheMemberPropertyAndTheChangeType)
{
	FPropertyChangedEvent Unspecified(nullptr);
	EXPECT_EQ(Unspecified.ChangeType, EPropertyChangeType::Unspecified);
	EXPECT_TRUE(Unspecified.GetPropertyName().IsNone());
	EXPECT_EQ(EPropertyChangeType::ValueSet, 0x10u);
	EXPECT_EQ(EPropertyChangeType::ArrayAdd, 0x2u);
}

using RendererSettingsChanges = FRendererSettingsTest;

TEST_F(RendererSettingsChanges, EventsNameTheChangedProperty)
{
	FPropertyChangedEvent Event(Property(TEXT("Reflections")), EPropertyChangeType::ValueSet);
	EXPECT_EQ(Event.Property, Event.MemberProperty);
	EXPECT_EQ(Event.ChangeType, EPropertyChangeType::ValueSet);
	EXPECT_TRUE(Event.GetPropertyName() == FName(TEXT("Reflections")));
	EXPECT_EQ(Event.GetNumObjectsBeingEdited(), 0);
}

TEST_F(RendererSettingsChanges, RayTracingTurnsTheSkinCacheShadersOn)
{
	Settings->bSupportSkinCacheShaders = 0;
	Settings->bEnableRayTracing = 1;
	Changed(TEXT("bEnableRayTracing"));
	EXPECT_EQ(Settings->bSupportSkinCacheShaders, 1u);
	// Both variables are read at start-up only: the change does not reach them.
	EXPECT_EQ(Variable(TEXT("r.RayTracing"))->GetInt(), 0);
	EXPECT_EQ(Variable(TEXT("r.SkinCache.CompileShaders"))->GetInt(), 0);

	// Turning ray tracing off leaves the skin cache as it is.
	Settings->bEnableRayTracing = 0;
	Changed(TEXT("bEnableRayTracing"));
	EXPECT_EQ(Settings->bSupportSkinCacheShaders, 1u);
}

TEST_F(RendererSettingsChanges, TheSkinCacheStaysOnWhileRayTracingIs)
{
	Settings->bEnableRayTracing = 1;
	Settings->bSupportSkinCacheShaders = 1;
	EXPECT_FALSE(Settings->CanEditChange(Property(TEXT("bSupportSkinCacheShaders"))));
	EXPECT_TRUE(Settings->CanEditChange(Property(TEXT("bEnableRayTracing"))));
	Settings->bSupportSkinCacheShaders = 0;
	Changed(TEXT("bSupportSkinCacheShaders"));
	EXPECT_EQ(Settings->bSupportSkinCacheShaders, 1u);

	Settings->bEnableRayTracing = 0;
	EXPECT_TRUE(Settings->CanEditChange(Property(TEXT("bSupportSkinCacheShaders"))));
	Settings->bSupportSkinCacheShaders = 0;
	Changed(TEXT("bSupportSkinCacheShaders"));
	EXPECT_EQ(Settings->bSupportSkinCacheShaders, 0u);
}

TEST_F(RendererSettingsChanges, LumenGlobalIlluminationBringsLumenReflectionsAndDistanceFields)
{
	Settings->Reflections = EReflectionMethod::ScreenSpace;
	Settings->bGenerateMeshDistanceFields = 0;
	Settings->DynamicGlobalIllumination = EDynamicGlobalIlluminationMethod::Lumen;
	Changed(TEXT("DynamicGlobalIllumination"));
	EXPECT_EQ(Settings->Reflections, EReflectionMethod::Lumen);
	EXPECT_EQ(Settings->bGenerateMeshDistanceFields, 1u);
	IConsoleVariable* Reflections = Variable(TEXT("r.ReflectionMethod"));
	EXPECT_EQ(Reflections->GetInt(), 1);
	EXPECT_EQ(static_cast<uint32>(Reflections->GetFlags()) & ECVF_SetByMask, static_cast<uint32>(ECVF_SetByProjectSetting));
	EXPECT_EQ(Variable(TEXT("r.DynamicGlobalIlluminationMethod"))->GetInt(), 1);
}

TEST_F(RendererSettingsChanges, OtherGlobalIlluminationMethodsChangeNothingElse)
{
	Settings->Reflections = EReflectionMethod::ScreenSpace;
	Settings->bGenerateMeshDistanceFields = 0;
	Settings->DynamicGlobalIllumination = EDynamicGlobalIlluminationMethod::ScreenSpace;
	Changed(TEXT("DynamicGlobalIllumination"));
	EXPECT_EQ(Settings->Reflections, EReflectionMethod::ScreenSpace);
	EXPECT_EQ(Settings->bGenerateMeshDistanceFields, 0u);
	EXPECT_EQ(Variable(TEXT("r.DynamicGlobalIlluminationMethod"))->GetInt(), 2);
}

TEST_F(RendererSettingsChanges, ChangedValuesReachWritableVariablesOnly)
{
	Settings->ReflectionCaptureResolution = 300;
	Changed(TEXT("ReflectionCaptureResolution"));
	EXPECT_EQ(Settings->ReflectionCaptureResolution, 512);
	EXPECT_EQ(Variable(TEXT("r.ReflectionCaptureResolution"))->GetInt(), 512);

	Settings->MinScreenRadiusForLights = 0.125f;
	Changed(TEXT("MinScreenRadiusForLights"));
	EXPECT_FLOAT_EQ(Variable(TEXT("r.MinScreenRadiusForLights"))->GetFloat(), 0.125f);

	Settings->ShadowMapMethod = EShadowMapMethod::ShadowMaps;
	Changed(TEXT("ShadowMapMethod"));
	EXPECT_EQ(Variable(TEXT("r.Shadow.Virtual.Enable"))->GetInt(), 0);

	Settings->bForwardShading = 1;
	Changed(TEXT("bForwardShading"));
	EXPECT_EQ(Variable(TEXT("r.ForwardShading"))->GetInt(), 0);

	// A property without a variable changes only itself.
	Settings->TranslucentSortAxis = FVector(0.0, 0.0, 1.0);
	Changed(TEXT("TranslucentSortAxis"));
	EXPECT_EQ(Settings->TranslucentSortAxis, FVector(0.0, 0.0, 1.0));
}

TEST_F(RendererSettingsChanges, AnEventWithoutAPropertyOnlySanitises)
{
	Settings->ReflectionCaptureResolution = 5000;
	FPropertyChangedEvent Event(nullptr);
	Settings->PostEditChangeProperty(Event);
	EXPECT_EQ(Settings->ReflectionCaptureResolution, 2048);
}
