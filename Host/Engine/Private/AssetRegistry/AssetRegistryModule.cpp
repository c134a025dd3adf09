#include "AssetRegistry/AssetRegistryModule.h"

#include "AssetRegistryImpl.h"
#include "Modules/ModuleManager.h"

namespace
{
	IAssetRegistry* GAssetRegistry = nullptr;
}

namespace UE::Host
{
	void SetAssetRegistry(IAssetRegistry* Registry)
	{
		GAssetRegistry = Registry;
	}
}

IAssetRegistry* IAssetRegistry::Get()
{
	return GAssetRegistry;
}

IAssetRegistry& IAssetRegistry::GetChecked()
{
	checkf(GAssetRegistry, TEXT("The asset registry is not running"));
	return *GAssetRegistry;
}

IAssetRegistry& FAssetRegistryModule::Get() const
{
	return IAssetRegistry::GetChecked();
}

IAssetRegistry& FAssetRegistryModule::GetRegistry()
{
	return IAssetRegistry::GetChecked();
}

// Like the engine, this needs the registry to exist.
void FAssetRegistryModule::AssetCreated(UObject* NewAsset)
{
	IAssetRegistry::GetChecked().AssetCreated(NewAsset);
}

void FAssetRegistryModule::PackageDeleted(UPackage* DeletedPackage)
{
	if (IAssetRegistry* Registry = IAssetRegistry::Get())
	{
		Registry->PackageDeleted(DeletedPackage);
	}
}

IMPLEMENT_MODULE(FAssetRegistryModule, AssetRegistry)
