// Module AssetRegistry: the registry interface and module as the engine declares them (the filter
// and asset records belong to CoreUObject).
#include "ConformanceSupport.h"

#include "CoreMinimal.h"
#include "AssetRegistry/ARFilter.h"
#include "AssetRegistry/AssetData.h"
#include "AssetRegistry/AssetRegistryModule.h"
#include "AssetRegistry/IAssetRegistry.h"
#include "Modules/ModuleInterface.h"

namespace AssetRegistryConformance
{
	CHECK_ENGINE_DECL(IAssetRegistry::Get, IAssetRegistry* (*)());
	CHECK_ENGINE_DECL(IAssetRegistry::GetChecked, IAssetRegistry& (*)());
	CHECK_ENGINE_OVERLOAD(IAssetRegistry::GetAssets, bool (IAssetRegistry::*)(const FARFilter&, TArray<FAssetData>&, bool) const);
	CHECK_ENGINE_OVERLOAD(IAssetRegistry::AssetDeleted, void (IAssetRegistry::*)(UObject*));
	CHECK_ENGINE_OVERLOAD(IAssetRegistry::AssetCreated, void (IAssetRegistry::*)(UObject*));
	static_assert(std::is_abstract_v<IAssetRegistry>);

	static_assert(std::is_base_of_v<IModuleInterface, FAssetRegistryModule>);
	CHECK_ENGINE_DECL(FAssetRegistryModule::AssetCreated, void (*)(UObject*));
	// Deleting goes through the registry interface; the module class has no static for it.
	template<typename ModuleType>
	concept THasStaticAssetDeleted = requires(UObject* Asset) { ModuleType::AssetDeleted(Asset); };
	static_assert(!THasStaticAssetDeleted<FAssetRegistryModule>);
}
