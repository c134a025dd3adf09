#include "OrvexAssetUtils.h"

#include "AssetRegistry/IAssetRegistry.h"
#include "UObject/Class.h"
#include "UObject/Object.h"
#include "UObject/SoftObjectPath.h"

UObject* FOrvexAssetUtils::LoadAssetByPath(UClass* AssetClass, const FString& ObjectPath)
{
	if (!AssetClass || ObjectPath.IsEmpty())
	{
		return nullptr;
	}
	UObject* Object = StaticFindObject(nullptr, nullptr, ObjectPath);
	if (!IsValid(Object))
	{
		// Not in memory: the registry knows whether an asset lives at that path, and loads it.
		Object = nullptr;
		const FSoftObjectPath Path(ObjectPath);
		IAssetRegistry* AssetRegistry = IAssetRegistry::Get();
		if (AssetRegistry && Path.IsAsset())
		{
			const FAssetData AssetData = AssetRegistry->GetAssetByObjectPath(Path);
			Object = AssetData.IsValid() ? AssetData.GetAsset() : nullptr;
		}
	}
	return Object && Object->IsA(AssetClass) ? Object : nullptr;
}
