#include "Engine/RendererSettings.h"

#include "HAL/IConsoleManager.h"
#include "Host/ReflectionBuilder.h"
#include "CoreGlobals.h"

DEFINE_LOG_CATEGORY_STATIC(LogRendererSettings, Log, All);

namespace
{
	// The editor asks before changing a second setting on the user's behalf. A script running
	// unattended must never be asked, and this host has no dialogs at all, so both take the
	// answer that keeps the user's change; only an attended session is told about it.
	bool ConfirmDependentChange(const TCHAR* Question)
	{
		if (!GIsRunningUnattendedScript)
		{
			UE_LOG(LogRendererSettings, Display, TEXT("%s Answered yes: there are no dialogs on this host."), Question);
		}
		return true;
	}
}

namespace
{
	// The renderer declares these variables in the engine (read-only ones are read once at
	// start-up, so a change needs a restart); the host registers them from the settings' defaults.
	constexpr uint32 StartupOnly = ECVF_ReadOnly | ECVF_RenderThreadSafe;
	const UE::Host::FConsoleVariableDeclaration GRendererConsoleVariables[] = {
		{TEXT("r.RayTracing"), StartupOnly, TEXT("0 to disable ray tracing, 1 to enable it. Needs the skin cache shaders.")},
		{TEXT("r.SkinCache.CompileShaders"), StartupOnly, TEXT("Whether to compile the GPU compute skinning cache shaders.")},
		{TEXT("r.SkinCache.SkipCompilingGPUSkinVF"), StartupOnly, TEXT("Skip compiling GPU skin vertex factory shaders.")},
		{TEXT("r.DynamicGlobalIlluminationMethod"), ECVF_RenderThreadSafe, TEXT("0 - None, 1 - Lumen, 2 - Screen Space, 3 - Ray Traced, 4 - Plugin.")},
		{TEXT("r.ReflectionMethod"), ECVF_RenderThreadSafe, TEXT("0 - None, 1 - Lumen, 2 - Screen Space, 3 - Ray Traced.")},
		{TEXT("r.ReflectionCaptureResolution"), ECVF_RenderThreadSafe, TEXT("Resolution of reflection captures: a power of two.")},
		{TEXT("r.Lumen.HardwareRayTracing"), ECVF_RenderThreadSafe, TEXT("Use hardware ray tracing for Lumen features when available.")},
		{TEXT("r.Shadow.Virtual.Enable"), ECVF_RenderThreadSafe, TEXT("Whether virtual shadow maps replace the conventional shadow maps.")},
		{TEXT("r.RayTracing.Shadows"), ECVF_RenderThreadSafe, TEXT("Default ray traced shadows for lights.")},
		{TEXT("r.PathTracing"), StartupOnly, TEXT("Compile the path tracing shaders.")},
		{TEXT("r.AllowStaticLighting"), StartupOnly, TEXT("Whether to allow any static lighting to be generated and used.")},
		{TEXT("r.ForwardShading"), StartupOnly, TEXT("Whether to use forward shading on desktop platforms.")},
		{TEXT("r.Nanite.ProjectEnabled"), StartupOnly, TEXT("Whether Nanite is enabled for the project.")},
		{TEXT("r.VirtualTextures"), StartupOnly, TEXT("Whether virtual texture support is compiled in.")},
		{TEXT("r.GenerateMeshDistanceFields"), StartupOnly, TEXT("Whether to build distance fields of static meshes.")},
		{TEXT("r.DistanceFields.DefaultVoxelDensity"), StartupOnly, TEXT("Voxels per world unit of mesh distance fields.")},
		{TEXT("r.AllowOcclusionQueries"), ECVF_RenderThreadSafe, TEXT("Whether to use occlusion queries.")},
		{TEXT("r.MinScreenRadiusForLights"), ECVF_RenderThreadSafe, TEXT("Screen radius below which lights are culled.")},
		{TEXT("r.DefaultFeature.AutoExposure"), ECVF_RenderThreadSafe, TEXT("Whether auto exposure is on by default.")},
		{TEXT("r.Mobile.ShadingPath"), StartupOnly, TEXT("0 - Forward shading, 1 - Deferred shading.")},
	};
	const UE::Host::FConsoleVariableDeclarations GRendererConsoleVariableDeclarations(GRendererConsoleVariables);
}

URendererSettings::URendererSettings()
	: bEnableRayTracing(0)
	, bSupportSkinCacheShaders(0)
	, bSkipCompilingGPUSkinVF(0)
	, DynamicGlobalIllumination(EDynamicGlobalIlluminationMethod::Lumen)
	, Reflections(EReflectionMethod::Lumen)
	, ReflectionCaptureResolution(128)
	, bUseHardwareRayTracingForLumen(1)
	, ShadowMapMethod(EShadowMapMethod::VirtualShadowMaps)
	, bEnableRayTracingShadows(0)
	, bEnablePathTracing(0)
	, bAllowStaticLighting(1)
	, bForwardShading(0)
	, bNanite(1)
	, bVirtualTextures(0)
	, bGenerateMeshDistanceFields(1)
	, DistanceFieldVoxelDensity(0.2f)
	, bOcclusionCulling(1)
	, MinScreenRadiusForLights(0.03f)
	, bDefaultFeatureAutoExposure(1)
	, MobileShadingPath(EMobileShadingPath::Forward)
	, TranslucentSortAxis(0.0, -1.0, 0.0)
	, WorkingColorSpaceChoice(EWorkingColorSpace::sRGB)
{
	SectionName = TEXT("Rendering");
}

void URendererSettings::SanitizeReflectionCaptureResolution()
{
	constexpr int32 MinResolution = 64;
	constexpr int32 MaxResolution = 2048;
	int32 PowerOfTwo = 1;
	while (PowerOfTwo < ReflectionCaptureResolution && PowerOfTwo < MaxResolution)
	{
		PowerOfTwo <<= 1;
	}
	ReflectionCaptureResolution = FMath::Clamp(PowerOfTwo, MinResolution, MaxResolution);
}

void URendererSettings::PostInitProperties()
{
	// Sanitised before the base class hands the values to the console variables.
	SanitizeReflectionCaptureResolution();
	Super::PostInitProperties();
}

#if WITH_EDITOR
void URendererSettings::PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent)
{
	Super::PostEditChangeProperty(PropertyChangedEvent);
	SanitizeReflectionCaptureResolution();
	if (!PropertyChangedEvent.Property)
	{
		return;
	}

	static const FName EnableRayTracingName(TEXT("bEnableRayTracing"));
	static const FName SupportSkinCacheShadersName(TEXT("bSupportSkinCacheShaders"));
	static const FName DynamicGlobalIlluminationName(TEXT("DynamicGlobalIllumination"));
	static const FName ReflectionsName(TEXT("Reflections"));
	const FName ChangedName = PropertyChangedEvent.Property->GetFName();

	// Ray tracing needs the skin cache shaders: either both go on or ray tracing stays off.
	if (ChangedName == EnableRayTracingName && bEnableRayTracing && !bSupportSkinCacheShaders)
	{
		if (ConfirmDependentChange(TEXT("Ray tracing needs the skin cache shaders. Enable them too?")))
		{
			bSupportSkinCacheShaders = 1;
		}
		else
		{
			bEnableRayTracing = 0;
		}
	}
	// The editor greys the skin cache out while ray tracing is on; a change made anyway is undone.
	if (ChangedName == SupportSkinCacheShadersName && !bSupportSkinCacheShaders && bEnableRayTracing)
	{
		bSupportSkinCacheShaders = 1;
	}
	// Lumen global illumination works with Lumen reflections and mesh distance fields.
	if (ChangedName == DynamicGlobalIlluminationName && DynamicGlobalIllumination == EDynamicGlobalIlluminationMethod::Lumen)
	{
		if (Reflections != EReflectionMethod::Lumen)
		{
			Reflections = EReflectionMethod::Lumen;
			ExportValuesToConsoleVariables(GetClass()->FindPropertyByName(ReflectionsName));
		}
		if (!bGenerateMeshDistanceFields)
		{
			bGenerateMeshDistanceFields = 1;
		}
	}

	ExportValuesToConsoleVariables(PropertyChangedEvent.Property);
}

bool URendererSettings::CanEditChange(const FProperty* InProperty) const
{
	if (!Super::CanEditChange(InProperty))
	{
		return false;
	}
	static const FName SupportSkinCacheShadersName(TEXT("bSupportSkinCacheShaders"));
	if (InProperty->GetFName() == SupportSkinCacheShadersName)
	{
		return !bEnableRayTracing;
	}
	return true;
}
#endif
