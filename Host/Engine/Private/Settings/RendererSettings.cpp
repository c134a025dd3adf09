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

UE_HOST_IMPLEMENT_ENUM(EDynamicGlobalIlluminationMethod::Type, "/Script/Engine", EDynamicGlobalIlluminationMethod, Namespaced)
{
	Enum.Value(TEXT("None"), EDynamicGlobalIlluminationMethod::None).Meta(TEXT("DisplayName"), TEXT("None"));
	Enum.Value(TEXT("Lumen"), EDynamicGlobalIlluminationMethod::Lumen).Meta(TEXT("DisplayName"), TEXT("Lumen"));
	Enum.Value(TEXT("ScreenSpace"), EDynamicGlobalIlluminationMethod::ScreenSpace).Meta(TEXT("DisplayName"), TEXT("Screen Space (Beta)"));
	Enum.Value(TEXT("RayTraced"), EDynamicGlobalIlluminationMethod::RayTraced).Meta(TEXT("DisplayName"), TEXT("Ray Traced (Deprecated)")).Meta(TEXT("Hidden"));
	Enum.Value(TEXT("Plugin"), EDynamicGlobalIlluminationMethod::Plugin).Meta(TEXT("DisplayName"), TEXT("Plugin"));
}

UE_HOST_IMPLEMENT_ENUM(EReflectionMethod::Type, "/Script/Engine", EReflectionMethod, Namespaced)
{
	Enum.Value(TEXT("None"), EReflectionMethod::None).Meta(TEXT("DisplayName"), TEXT("None"));
	Enum.Value(TEXT("Lumen"), EReflectionMethod::Lumen).Meta(TEXT("DisplayName"), TEXT("Lumen"));
	Enum.Value(TEXT("ScreenSpace"), EReflectionMethod::ScreenSpace).Meta(TEXT("DisplayName"), TEXT("Screen Space"));
	Enum.Value(TEXT("RayTraced"), EReflectionMethod::RayTraced).Meta(TEXT("DisplayName"), TEXT("Ray Traced (Deprecated)")).Meta(TEXT("Hidden"));
}

UE_HOST_IMPLEMENT_ENUM(EShadowMapMethod::Type, "/Script/Engine", EShadowMapMethod, Namespaced)
{
	Enum.Value(TEXT("ShadowMaps"), EShadowMapMethod::ShadowMaps).Meta(TEXT("DisplayName"), TEXT("Shadow Maps"));
	Enum.Value(TEXT("VirtualShadowMaps"), EShadowMapMethod::VirtualShadowMaps).Meta(TEXT("DisplayName"), TEXT("Virtual Shadow Maps"));
}

UE_HOST_IMPLEMENT_ENUM(EMobileShadingPath::Type, "/Script/Engine", EMobileShadingPath, Namespaced)
{
	Enum.Value(TEXT("Forward"), EMobileShadingPath::Forward).Meta(TEXT("DisplayName"), TEXT("Forward Shading"));
	Enum.Value(TEXT("Deferred"), EMobileShadingPath::Deferred).Meta(TEXT("DisplayName"), TEXT("Deferred Shading"));
}

UE_HOST_IMPLEMENT_ENUM(EWorkingColorSpace, "/Script/Engine", EWorkingColorSpace, EnumClass)
{
	Enum.Value(TEXT("sRGB"), static_cast<int64>(EWorkingColorSpace::sRGB)).Meta(TEXT("DisplayName"), TEXT("sRGB / Rec709"));
	Enum.Value(TEXT("Rec2020"), static_cast<int64>(EWorkingColorSpace::Rec2020)).Meta(TEXT("DisplayName"), TEXT("Rec2020"));
	Enum.Value(TEXT("ACESAP0"), static_cast<int64>(EWorkingColorSpace::ACESAP0)).Meta(TEXT("DisplayName"), TEXT("ACES AP0"));
	Enum.Value(TEXT("ACESAP1"), static_cast<int64>(EWorkingColorSpace::ACESAP1)).Meta(TEXT("DisplayName"), TEXT("ACES AP1 / ACEScg"));
	Enum.Value(TEXT("P3DCI"), static_cast<int64>(EWorkingColorSpace::P3DCI)).Meta(TEXT("DisplayName"), TEXT("P3DCI"));
	Enum.Value(TEXT("P3D65"), static_cast<int64>(EWorkingColorSpace::P3D65)).Meta(TEXT("DisplayName"), TEXT("P3D65"));
	Enum.Value(TEXT("Custom"), static_cast<int64>(EWorkingColorSpace::Custom)).Meta(TEXT("DisplayName"), TEXT("Custom"));
}

UE_HOST_IMPLEMENT_CLASS(URendererSettings, "/Script/Engine")

void URendererSettings::DeclareReflection(UE::Host::TClassBuilder<URendererSettings>& Class)
{
	Class.Flags(CLASS_Config | CLASS_DefaultConfig).Config(TEXT("Engine"))
		.Meta(TEXT("DisplayName"), TEXT("Rendering"))
		.Meta(TEXT("ToolTip"), TEXT("Rendering settings."));

	// The read-only variables are read by the renderer once at start-up; a change needs a restart.
	constexpr uint32 StartupOnly = ECVF_ReadOnly | ECVF_RenderThreadSafe;
	const EPropertyFlags Setting = CPF_Edit | CPF_Config;

	Class.Bitfield(UE_HOST_BITFIELD(bEnableRayTracing), Setting)
		.Meta(TEXT("Category"), TEXT("HardwareRayTracing"))
		.Meta(TEXT("DisplayName"), TEXT("Support Hardware Ray Tracing"))
		.Meta(TEXT("ConfigRestartRequired"), TEXT("true"))
		.ConsoleVariable(TEXT("r.RayTracing"), StartupOnly, TEXT("0 to disable ray tracing, 1 to enable it. Needs the skin cache shaders."));
	Class.Bitfield(UE_HOST_BITFIELD(bSupportSkinCacheShaders), Setting)
		.Meta(TEXT("Category"), TEXT("Optimizations"))
		.Meta(TEXT("DisplayName"), TEXT("Support Compute Skin Cache"))
		.Meta(TEXT("ConfigRestartRequired"), TEXT("true"))
		.ConsoleVariable(TEXT("r.SkinCache.CompileShaders"), StartupOnly, TEXT("Whether to compile the GPU compute skinning cache shaders."));
	Class.Bitfield(UE_HOST_BITFIELD(bSkipCompilingGPUSkinVF), Setting)
		.Meta(TEXT("Category"), TEXT("Optimizations"))
		.Meta(TEXT("DisplayName"), TEXT("Reduce GPU Skin Vertex Factory shader permutations"))
		.Meta(TEXT("ConfigRestartRequired"), TEXT("true"))
		.ConsoleVariable(TEXT("r.SkinCache.SkipCompilingGPUSkinVF"), StartupOnly, TEXT("Skip compiling GPU skin vertex factory shaders."));
	Class.Property(UE_HOST_MEMBER(DynamicGlobalIllumination), Setting)
		.Meta(TEXT("Category"), TEXT("GlobalIllumination"))
		.Meta(TEXT("DisplayName"), TEXT("Dynamic Global Illumination Method"))
		.ConsoleVariable(TEXT("r.DynamicGlobalIlluminationMethod"), ECVF_RenderThreadSafe, TEXT("0 - None, 1 - Lumen, 2 - Screen Space, 3 - Ray Traced, 4 - Plugin."));
	Class.Property(UE_HOST_MEMBER(Reflections), Setting)
		.Meta(TEXT("Category"), TEXT("Reflections"))
		.Meta(TEXT("DisplayName"), TEXT("Reflection Method"))
		.ConsoleVariable(TEXT("r.ReflectionMethod"), ECVF_RenderThreadSafe, TEXT("0 - None, 1 - Lumen, 2 - Screen Space, 3 - Ray Traced."));
	Class.Property(UE_HOST_MEMBER(ReflectionCaptureResolution), Setting)
		.Meta(TEXT("Category"), TEXT("Reflections"))
		.Meta(TEXT("DisplayName"), TEXT("Reflection Capture Resolution"))
		.Meta(TEXT("ClampMin"), TEXT("1"))
		.Meta(TEXT("ClampMax"), TEXT("2048"))
		.ConsoleVariable(TEXT("r.ReflectionCaptureResolution"), ECVF_RenderThreadSafe, TEXT("Resolution of reflection captures: a power of two."));
	Class.Bitfield(UE_HOST_BITFIELD(bUseHardwareRayTracingForLumen), Setting)
		.Meta(TEXT("Category"), TEXT("Lumen"))
		.Meta(TEXT("DisplayName"), TEXT("Use Hardware Ray Tracing when available"))
		.ConsoleVariable(TEXT("r.Lumen.HardwareRayTracing"), ECVF_RenderThreadSafe, TEXT("Use hardware ray tracing for Lumen features when available."));
	Class.Property(UE_HOST_MEMBER(ShadowMapMethod), Setting)
		.Meta(TEXT("Category"), TEXT("Shadows"))
		.Meta(TEXT("DisplayName"), TEXT("Shadow Map Method"))
		.ConsoleVariable(TEXT("r.Shadow.Virtual.Enable"), ECVF_RenderThreadSafe, TEXT("Whether virtual shadow maps replace the conventional shadow maps."));
	Class.Bitfield(UE_HOST_BITFIELD(bEnableRayTracingShadows), Setting)
		.Meta(TEXT("Category"), TEXT("HardwareRayTracing"))
		.Meta(TEXT("DisplayName"), TEXT("Ray Traced Shadows"))
		.ConsoleVariable(TEXT("r.RayTracing.Shadows"), ECVF_RenderThreadSafe, TEXT("Default ray traced shadows for lights."));
	Class.Bitfield(UE_HOST_BITFIELD(bEnablePathTracing), Setting)
		.Meta(TEXT("Category"), TEXT("HardwareRayTracing"))
		.Meta(TEXT("DisplayName"), TEXT("Path Tracing"))
		.Meta(TEXT("ConfigRestartRequired"), TEXT("true"))
		.ConsoleVariable(TEXT("r.PathTracing"), StartupOnly, TEXT("Compile the path tracing shaders."));
	Class.Bitfield(UE_HOST_BITFIELD(bAllowStaticLighting), Setting)
		.Meta(TEXT("Category"), TEXT("Lighting"))
		.Meta(TEXT("DisplayName"), TEXT("Allow Static Lighting"))
		.Meta(TEXT("ConfigRestartRequired"), TEXT("true"))
		.ConsoleVariable(TEXT("r.AllowStaticLighting"), StartupOnly, TEXT("Whether to allow any static lighting to be generated and used."));
	Class.Bitfield(UE_HOST_BITFIELD(bForwardShading), Setting)
		.Meta(TEXT("Category"), TEXT("ForwardRenderer"))
		.Meta(TEXT("DisplayName"), TEXT("Forward Shading"))
		.Meta(TEXT("ConfigRestartRequired"), TEXT("true"))
		.ConsoleVariable(TEXT("r.ForwardShading"), StartupOnly, TEXT("Whether to use forward shading on desktop platforms."));
	Class.Bitfield(UE_HOST_BITFIELD(bNanite), Setting)
		.Meta(TEXT("Category"), TEXT("Nanite"))
		.Meta(TEXT("DisplayName"), TEXT("Nanite"))
		.Meta(TEXT("ConfigRestartRequired"), TEXT("true"))
		.ConsoleVariable(TEXT("r.Nanite.ProjectEnabled"), StartupOnly, TEXT("Whether Nanite is enabled for the project."));
	Class.Bitfield(UE_HOST_BITFIELD(bVirtualTextures), Setting)
		.Meta(TEXT("Category"), TEXT("VirtualTextures"))
		.Meta(TEXT("DisplayName"), TEXT("Enable virtual texture support"))
		.Meta(TEXT("ConfigRestartRequired"), TEXT("true"))
		.ConsoleVariable(TEXT("r.VirtualTextures"), StartupOnly, TEXT("Whether virtual texture support is compiled in."));
	Class.Bitfield(UE_HOST_BITFIELD(bGenerateMeshDistanceFields), Setting)
		.Meta(TEXT("Category"), TEXT("Lighting"))
		.Meta(TEXT("DisplayName"), TEXT("Generate Mesh Distance Fields"))
		.Meta(TEXT("ConfigRestartRequired"), TEXT("true"))
		.ConsoleVariable(TEXT("r.GenerateMeshDistanceFields"), StartupOnly, TEXT("Whether to build distance fields of static meshes."));
	Class.Property(UE_HOST_MEMBER(DistanceFieldVoxelDensity), Setting)
		.Meta(TEXT("Category"), TEXT("Lighting"))
		.Meta(TEXT("DisplayName"), TEXT("Distance Field Voxel Density"))
		.Meta(TEXT("ConfigRestartRequired"), TEXT("true"))
		.ConsoleVariable(TEXT("r.DistanceFields.DefaultVoxelDensity"), StartupOnly, TEXT("Voxels per world unit of mesh distance fields."));
	Class.Bitfield(UE_HOST_BITFIELD(bOcclusionCulling), Setting)
		.Meta(TEXT("Category"), TEXT("Culling"))
		.Meta(TEXT("DisplayName"), TEXT("Occlusion Culling"))
		.ConsoleVariable(TEXT("r.AllowOcclusionQueries"), ECVF_RenderThreadSafe, TEXT("Whether to use occlusion queries."));
	Class.Property(UE_HOST_MEMBER(MinScreenRadiusForLights), Setting)
		.Meta(TEXT("Category"), TEXT("Culling"))
		.Meta(TEXT("DisplayName"), TEXT("Min Screen Radius for Lights"))
		.ConsoleVariable(TEXT("r.MinScreenRadiusForLights"), ECVF_RenderThreadSafe, TEXT("Screen radius below which lights are culled."));
	Class.Bitfield(UE_HOST_BITFIELD(bDefaultFeatureAutoExposure), Setting)
		.Meta(TEXT("Category"), TEXT("DefaultSettings"))
		.Meta(TEXT("DisplayName"), TEXT("Auto Exposure"))
		.ConsoleVariable(TEXT("r.DefaultFeature.AutoExposure"), ECVF_RenderThreadSafe, TEXT("Whether auto exposure is on by default."));
	Class.Property(UE_HOST_MEMBER(MobileShadingPath), Setting)
		.Meta(TEXT("Category"), TEXT("Mobile"))
		.Meta(TEXT("DisplayName"), TEXT("Mobile Shading"))
		.Meta(TEXT("ConfigRestartRequired"), TEXT("true"))
		.ConsoleVariable(TEXT("r.Mobile.ShadingPath"), StartupOnly, TEXT("0 - Forward shading, 1 - Deferred shading."));
	Class.Property(UE_HOST_MEMBER(TranslucentSortAxis), Setting)
		.Meta(TEXT("Category"), TEXT("Translucency"))
		.Meta(TEXT("DisplayName"), TEXT("Translucent Sort Axis"));
	Class.Property(UE_HOST_MEMBER(WorkingColorSpaceChoice), Setting)
		.Meta(TEXT("Category"), TEXT("WorkingColorSpace"))
		.Meta(TEXT("DisplayName"), TEXT("Working Color Space"))
		.Meta(TEXT("ConfigRestartRequired"), TEXT("true"));
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
