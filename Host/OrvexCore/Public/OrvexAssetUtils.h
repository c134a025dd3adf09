// Finding or loading an asset by its object path.
#pragma once

#include "CoreMinimal.h"

class UClass;
class UObject;

class ORVEXCORE_API FOrvexAssetUtils
{
public:
	// The object at ObjectPath ("/Game/Dir/Asset.Asset"), loaded if needed, when it is an instance
	// of AssetClass (or of a class derived from it); null otherwise.
	static UObject* LoadAssetByPath(UClass* AssetClass, const FString& ObjectPath);
};
