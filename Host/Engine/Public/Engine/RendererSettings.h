// Project Settings → Engine → Rendering. Stored in DefaultEngine.ini under
// [/Script/Engine.RendererSettings], keyed by each property's console variable.
#pragma once

#include "CoreMinimal.h"
#include "Containers/EnumAsByte.h"
#include "Engine/DeveloperSettings.h"
#include "Engine/EngineTypes.h"
#include "Math/Vector.h"
#include "RendererSettings.generated.h"

UENUM()
namespace EShadowMapMethod
{
	enum Type : int
	{
		ShadowMaps UMETA(DisplayName = "Shadow Maps"),
		VirtualShadowMaps UMETA(DisplayName = "Virtual Shadow Maps"),
	};
}

UENUM()
namespace EMobileShadingPath
{
	enum Type : int
	{
		Forward = 0 UMETA(DisplayName = "Forward Shading"),
		Deferred = 1 UMETA(DisplayName = "Deferred Shading"),
	};
}

UENUM()
enum class EWorkingColorSpace : uint8
{
	sRGB UMETA(DisplayName = "sRGB / Rec709"),
	Rec2020 UMETA(DisplayName = "Rec2020"),
	ACESAP0 UMETA(DisplayName = "ACES AP0"),
	ACESAP1 UMETA(DisplayName = "ACES AP1 / ACEScg"),
	P3DCI UMETA(DisplayName = "P3DCI"),
	P3D65 UMETA(DisplayName = "P3D65"),
	Custom UMETA(DisplayName = "Custom"),
};

/** Rendering settings. */
UCLASS(config = Engine, defaultconfig, meta = (DisplayName = "Rendering"))
class URendererSettings : public UDeveloperSettings
{
	GENERATED_BODY()

public:
	URendererSettings();

	UPROPERTY(config, EditAnywhere, Category = HardwareRayTracing, meta = (ConsoleVariable = "r.RayTracing", DisplayName = "Support Hardware Ray Tracing", ConfigRestartRequired = true))
	uint32 bEnableRayTracing : 1;

	UPROPERTY(config, EditAnywhere, Category = Optimizations, meta = (ConsoleVariable = "r.SkinCache.CompileShaders", DisplayName = "Support Compute Skin Cache", ConfigRestartRequired = true))
	uint32 bSupportSkinCacheShaders : 1;

	UPROPERTY(config, EditAnywhere, Category = Optimizations, meta = (ConsoleVariable = "r.SkinCache.SkipCompilingGPUSkinVF", DisplayName = "Reduce GPU Skin Vertex Factory shader permutations", ConfigRestartRequired = true))
	uint32 bSkipCompilingGPUSkinVF : 1;

	UPROPERTY(config, EditAnywhere, Category = GlobalIllumination, meta = (ConsoleVariable = "r.DynamicGlobalIlluminationMethod", DisplayName = "Dynamic Global Illumination Method"))
	TEnumAsByte<EDynamicGlobalIlluminationMethod::Type> DynamicGlobalIllumination;

	UPROPERTY(config, EditAnywhere, Category = Reflections, meta = (ConsoleVariable = "r.ReflectionMethod", DisplayName = "Reflection Method"))
	TEnumAsByte<EReflectionMethod::Type> Reflections;

	UPROPERTY(config, EditAnywhere, Category = Reflections, meta = (ConsoleVariable = "r.ReflectionCaptureResolution", DisplayName = "Reflection Capture Resolution", ClampMin = "1", ClampMax = "2048"))
	int32 ReflectionCaptureResolution;

	UPROPERTY(config, EditAnywhere, Category = Lumen, meta = (ConsoleVariable = "r.Lumen.HardwareRayTracing", DisplayName = "Use Hardware Ray Tracing when available"))
	uint32 bUseHardwareRayTracingForLumen : 1;

	UPROPERTY(config, EditAnywhere, Category = Shadows, meta = (ConsoleVariable = "r.Shadow.Virtual.Enable", DisplayName = "Shadow Map Method"))
	TEnumAsByte<EShadowMapMethod::Type> ShadowMapMethod;

	UPROPERTY(config, EditAnywhere, Category = HardwareRayTracing, meta = (ConsoleVariable = "r.RayTracing.Shadows", DisplayName = "Ray Traced Shadows"))
	uint32 bEnableRayTracingShadows : 1;

	UPROPERTY(config, EditAnywhere, Category = HardwareRayTracing, meta = (ConsoleVariable = "r.PathTracing", DisplayName = "Path Tracing", ConfigRestartRequired = true))
	uint32 bEnablePathTracing : 1;

	UPROPERTY(config, EditAnywhere, Category = Lighting, meta = (ConsoleVariable = "r.AllowStaticLighting", DisplayName = "Allow Static Lighting", ConfigRestartRequired = true))
	uint32 bAllowStaticLighting : 1;

	UPROPERTY(config, EditAnywhere, Category = ForwardRenderer, meta = (ConsoleVariable = "r.ForwardShading", DisplayName = "Forward Shading", ConfigRestartRequired = true))
	uint32 bForwardShading : 1;

	UPROPERTY(config, EditAnywhere, Category = Nanite, meta = (ConsoleVariable = "r.Nanite.ProjectEnabled", DisplayName = "Nanite", ConfigRestartRequired = true))
	uint32 bNanite : 1;

	UPROPERTY(config, EditAnywhere, Category = VirtualTextures, meta = (ConsoleVariable = "r.VirtualTextures", DisplayName = "Enable virtual texture support", ConfigRestartRequired = true))
	uint32 bVirtualTextures : 1;

	UPROPERTY(config, EditAnywhere, Category = Lighting, meta = (ConsoleVariable = "r.GenerateMeshDistanceFields", DisplayName = "Generate Mesh Distance Fields", ConfigRestartRequired = true))
	uint32 bGenerateMeshDistanceFields : 1;

	UPROPERTY(config, EditAnywhere, Category = Lighting, meta = (ConsoleVariable = "r.DistanceFields.DefaultVoxelDensity", DisplayName = "Distance Field Voxel Density", ConfigRestartRequired = true))
	float DistanceFieldVoxelDensity;

	UPROPERTY(config, EditAnywhere, Category = Culling, meta = (ConsoleVariable = "r.AllowOcclusionQueries", DisplayName = "Occlusion Culling"))
	uint32 bOcclusionCulling : 1;

	UPROPERTY(config, EditAnywhere, Category = Culling, meta = (ConsoleVariable = "r.MinScreenRadiusForLights", DisplayName = "Min Screen Radius for Lights"))
	float MinScreenRadiusForLights;

	UPROPERTY(config, EditAnywhere, Category = DefaultSettings, meta = (ConsoleVariable = "r.DefaultFeature.AutoExposure", DisplayName = "Auto Exposure"))
	uint32 bDefaultFeatureAutoExposure : 1;

	UPROPERTY(config, EditAnywhere, Category = Mobile, meta = (ConsoleVariable = "r.Mobile.ShadingPath", DisplayName = "Mobile Shading", ConfigRestartRequired = true))
	TEnumAsByte<EMobileShadingPath::Type> MobileShadingPath;

	UPROPERTY(config, EditAnywhere, Category = Translucency, meta = (DisplayName = "Translucent Sort Axis"))
	FVector TranslucentSortAxis;

	UPROPERTY(config, EditAnywhere, Category = WorkingColorSpace, meta = (ConfigRestartRequired = true, DisplayName = "Working Color Space"))
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
