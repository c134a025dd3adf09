// The AssetRegistry module: the registry instance and the notifications editor code sends it.
#pragma once

#include "CoreMinimal.h"
#include "AssetRegistry/IAssetRegistry.h"
#include "Modules/ModuleInterface.h"

class FAssetRegistryModule : public IModuleInterface
{
public:
	// The registry; it exists while the asset system runs.
	virtual IAssetRegistry& Get() const;
	static IAssetRegistry& GetRegistry();

	// Forward to the registry when there is one; no-ops otherwise.
	static void AssetCreated(UObject* NewAsset);
	static void PackageDeleted(UPackage* DeletedPackage);
};
