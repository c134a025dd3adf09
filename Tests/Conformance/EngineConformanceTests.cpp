// Modules Engine and DeveloperSettings: the renderer settings members the module touches and the
// StringTable asset, as the engine declares them.
#include "ConformanceSupport.h"

#include "CoreMinimal.h"
#include "Engine/DeveloperSettings.h"
#include "Engine/EngineTypes.h"
#include "Engine/RendererSettings.h"
#include "Internationalization/StringTable.h"


namespace EngineConformance
{
	static_assert(std::is_base_of_v<UObject, UDeveloperSettings>);
	CHECK_ENGINE_DECL(UDeveloperSettings::StaticClass, UClass* (*)());
	static_assert(std::is_base_of_v<UDeveloperSettings, URendererSettings>);
	CHECK_ENGINE_DECL(URendererSettings::StaticClass, UClass* (*)());

	// One-bit flags: the declared type is uint32.
	static_assert(std::is_same_v<decltype(URendererSettings::bEnableRayTracing), uint32>);
	static_assert(std::is_same_v<decltype(URendererSettings::bSupportSkinCacheShaders), uint32>);
	static_assert(std::is_same_v<decltype(URendererSettings::bGenerateMeshDistanceFields), uint32>);
	static_assert(std::is_same_v<decltype(&URendererSettings::Reflections), TEnumAsByte<EReflectionMethod::Type> URendererSettings::*>);
	static_assert(std::is_same_v<decltype(&URendererSettings::DynamicGlobalIllumination),
		TEnumAsByte<EDynamicGlobalIlluminationMethod::Type> URendererSettings::*>);
	// Declared in EngineTypes.h, as in the engine; the module's rules write Lumen as 1.
	static_assert(EReflectionMethod::Lumen == 1 && EDynamicGlobalIlluminationMethod::Lumen == 1);

	static_assert(std::is_base_of_v<UObject, UStringTable>);
	CHECK_ENGINE_DECL(UStringTable::GetStringTableId, FName (UStringTable::*)() const);
	CHECK_ENGINE_DECL(UStringTable::GetStringTable, FStringTableConstRef (UStringTable::*)() const);
	// Const, as the engine declares it.
	CHECK_ENGINE_DECL(UStringTable::GetMutableStringTable, FStringTableRef (UStringTable::*)() const);
}
