// Modules Engine and DeveloperSettings: the renderer settings members the module touches and the
// StringTable asset, as the engine declares them.
#include "ConformanceSupport.h"

#include "CoreMinimal.h"
#include "Engine/DeveloperSettings.h"
#include "Engine/EngineTypes.h"
#include "Engine/RendererSettings.h"
#include "Internationalization/StringTable.h"
// Included by engine code beside the types it describes: compiled code skips its header-tool block.
#include "UObject/NoExportTypes.h"


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

	// GENERATED_BODY() gives what the engine's generated body gives: Super, ThisClass and the
	// static flags, StaticClass() above; objects are never copied. Members after it are private
	// until an access specifier says otherwise, as in the engine.
	static_assert(std::is_same_v<URendererSettings::Super, UDeveloperSettings> && std::is_same_v<URendererSettings::ThisClass, URendererSettings>);
	static_assert(std::is_same_v<decltype(URendererSettings::StaticClassFlags), const EClassFlags>);
	static_assert(!std::is_copy_constructible_v<URendererSettings> && !std::is_move_constructible_v<URendererSettings>);
	static_assert(std::is_same_v<UObject::Super, UObject> && std::is_same_v<UClass::Super, UStruct>);
	static_assert(CPP == 1);

	static_assert(std::is_base_of_v<UObject, UStringTable>);
	CHECK_ENGINE_DECL(UStringTable::GetStringTableId, FName (UStringTable::*)() const);
	CHECK_ENGINE_DECL(UStringTable::GetStringTable, FStringTableConstRef (UStringTable::*)() const);
	// Const, as the engine declares it.
	CHECK_ENGINE_DECL(UStringTable::GetMutableStringTable, FStringTableRef (UStringTable::*)() const);
}
