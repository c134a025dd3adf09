// Project Settings → Engine → Rendering. Stored in DefaultEngine.ini under
// [/Script/Engine.RendererSettings], keyed by each property's console variable.
#pragma once

#include "CoreMinimal.h"
#include "Containers/EnumAsByte.h"
#include "Engine/DeveloperSettings.h"
#include "Engine/EngineTypes.h"
#include "Math/Vector.h"

class UEnum;

UENUM()
namespace EShadowMapMethod
{
	enum Type : int
	{
		ShadowMaps,
		VirtualShadowMaps,
	};
}

UENUM()
namespace EMobileShadingPath
{
	enum Type : int
	{
		Forward = 0,
		Deferred = 1,
	};
}

UENUM()
enum class EWorkingColorSpace : uint8
{
	sRGB,
	Rec2020,
	ACESAP0,
	ACESAP1,
	P3DCI,
	P3D65,
	Custom,
};

template<typename T>
UEnum* StaticEnum();

template<> ENGINE_API UEnum* StaticEnum<EDynamicGlobalIlluminationMethod::Type>();
template<> ENGINE_API UEnum* StaticEnum<EReflectionMethod::Type>();
template<> ENGINE_API UEnum* StaticEnum<EShadowMapMethod::Type>();
template<> ENGINE_API UEnum* StaticEnum<EMobileShadingPath::Type>();
template<> ENGINE_API UEnum* StaticEnum<EWorkingColorSpace>();

UCLASS(config = Engine, defaultconfig, meta = (DisplayName = "Rendering"))
class URendererSettings : public UDeveloperSettings
{
	UE_HOST_DECLARE_CLASS(URendererSettings, UDeveloperSettings)

public:
	URendererSettings();

	UPROPERTY(config, EditAnywhere, Category = HardwareRayTracing, meta = (ConsoleVariable = "r.RayTracing", ConfigRestartRequired = true))
	uint32 bEnableRayTracing : 1;

	UPROPERTY(config, EditAnywhere, Category = Optimizations, meta = (ConsoleVariable = "r.SkinCache.CompileShaders", ConfigRestartRequired = true))
	uint32 bSupportSkinCacheShaders : 1;

	UPROPERTY(config, EditAnywhere, Category = Optimizations, meta = (ConsoleVariable = "r.SkinCache.SkipCompilingGPUSkinVF", ConfigRestartRequired = true))
	uint32 bSkipCompilingGPUSkinVF : 1;

	UPROPERTY(config, EditAnywhere, Category = GlobalIllumination, meta = (ConsoleVariable = "r.DynamicGlobalIlluminationMethod"))
	TEnumAsByte<EDynamicGlobalIlluminationMethod::Type> DynamicGlobalIllumination;

	UPROPERTY(config, EditAnywhere, Category = Reflections, meta = (ConsoleVariable = "r.ReflectionMethod"))
	TEnumAsByte<EReflectionMethod::Type> Reflections;

	UPROPERTY(config, EditAnywhere, Category = Reflections, meta = (ConsoleVariable = "r.ReflectionCaptureResolution"))
	int32 ReflectionCaptureResolution;

	UPROPERTY(config, EditAnywhere, Category = Lumen, meta = (ConsoleVariable = "r.Lumen.HardwareRayTracing"))
	uint32 bUseHardwareRayTracingForLumen : 1;

	UPROPERTY(config, EditAnywhere, Category = Shadows, meta = (ConsoleVariable = "r.Shadow.Virtual.Enable"))
	TEnumAsByte<EShadowMapMethod::Type> ShadowMapMethod;

	UPROPERTY(config, EditAnywhere, Category = HardwareRayTracing, meta = (ConsoleVariable = "r.RayTracing.Shadows"))
	uint32 bEnableRayTracingShadows : 1;

	UPROPERTY(config, EditAnywhere, Category = HardwareRayTracing, meta = (ConsoleVariable = "r.PathTracing", ConfigRestartRequired = true))
	uint32 bEnablePathTracing : 1;

	UPROPERTY(config, EditAnywhere, Category = Lighting, meta = (ConsoleVariable = "r.AllowStaticLighting", ConfigRestartRequired = true))
	uint32 bAllowStaticLighting : 1;

	UPROPERTY(config, EditAnywhere, Category = ForwardRenderer, meta = (ConsoleVariable = "r.ForwardShading", ConfigRestartRequired = true))
	uint32 bForwardShading : 1;

	UPROPERTY(config, EditAnywhere, Category = Nanite, meta = (ConsoleVariable = "r.Nanite.ProjectEnabled", ConfigRestartRequired = true))
	uint32 bNanite : 1;

	UPROPERTY(config, EditAnywhere, Category = VirtualTextures, meta = (ConsoleVariable = "r.VirtualTextures", ConfigRestartRequired = true))
	uint32 bVirtualTextures : 1;

	UPROPERTY(config, EditAnywhere, Category = Lighting, meta = (ConsoleVariable = "r.GenerateMeshDistanceFields", ConfigRestartRequired = true))
	uint32 bGenerateMeshDistanceFields : 1;

	UPROPERTY(config, EditAnywhere, Category = Lighting, meta = (ConsoleVariable = "r.DistanceFields.DefaultVoxelDensity", ConfigRestartRequired = true))
	float DistanceFieldVoxelDensity;

	UPROPERTY(config, EditAnywhere, Category = Culling, meta = (ConsoleVariable = "r.AllowOcclusionQueries"))
	uint32 bOcclusionCulling : 1;

	UPROPERTY(config, EditAnywhere, Category = Culling, meta = (ConsoleVariable = "r.MinScreenRadiusForLights"))
	float MinScreenRadiusForLights;

	UPROPERTY(config, EditAnywhere, Category = DefaultSettings, meta = (ConsoleVariable = "r.DefaultFeature.AutoExposure"))
	uint32 bDefaultFeatureAutoExposure : 1;

	UPROPERTY(config, EditAnywhere, Category = Mobile, meta = (ConsoleVariable = "r.Mobile.ShadingPath", ConfigRestartRequired = true))
	TEnumAsByte<EMobileShadingPath::Type> MobileShadingPath;

	UPROPERTY(config, EditAnywhere, Category = Translucency)
	FVector TranslucentSortAxis;

	UPROPERTY(config, EditAnywhere, Category = WorkingColorSpace, meta = (ConfigRestartRequired = true))
	EWorkingColorSpace WorkingColorSpaceChoice;

	virtual void PostInitProperties() override;
#if WITH_EDITOR
	// Keeps dependent settings consistent (ray tracing needs the skin cache shaders; Lumen global
	// illumination brings Lumen reflections and mesh distance fields). Where the editor would
	// ask first, this never prompts: unattended scripts (GIsRunningUnattendedScript) and this
	// host, which has no dialogs, take the answer that keeps the change.
	virtual void PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent) override;
	virtual bool CanEditChange(const FProperty* InProperty) const override;
#endif

private:
	// Rounds up to a power of two within [64, 2048], as reflection captures need.
	void SanitizeReflectionCaptureResolution();
};
