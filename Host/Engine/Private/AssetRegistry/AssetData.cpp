#include "AssetRegistry/AssetData.h"

#include "Misc/PackageName.h"
#include "Templates/Casts.h"
#include "UObject/Class.h"
#include "UObject/Package.h"

FAssetData::FAssetData(FName InPackageName, FName InPackagePath, FName InAssetName, FTopLevelAssetPath InAssetClassPathName, uint32 InPackageFlags)
	: PackageName(InPackageName)
	, PackagePath(InPackagePath)
	, AssetName(InAssetName)
	, AssetClassPath(InAssetClassPathName)
	, PackageFlags(InPackageFlags)
{
}

FAssetData::FAssetData(const UObject* InAsset, bool bAllowBlueprintClass)
{
	if (!InAsset || !InAsset->GetOuter() || InAsset->GetOuter()->GetClass() != UPackage::StaticClass())
	{
		return;
	}
	const UPackage* Package = static_cast<const UPackage*>(InAsset->GetOuter());
	const FString Name = Package->GetName();
	PackageName = Package->GetFName();
	PackagePath = FName(FPackageName::GetLongPackagePath(Name));
	AssetName = InAsset->GetFName();
	AssetClassPath = InAsset->GetClass()->GetClassPathName();
	PackageFlags = static_cast<uint32>(Package->GetPackageFlags());
}

bool FAssetData::IsUAsset() const
{
	return IsValid() && AssetName.ToString().Equals(FPackageName::GetLongPackageAssetName(PackageName.ToString()), ESearchCase::IgnoreCase);
}

FString FAssetData::GetObjectPathString() const
{
	if (!IsValid())
	{
		return FString();
	}
	return PackageName.ToString() + TEXT(".") + AssetName.ToString();
}

FSoftObjectPath FAssetData::GetSoftObjectPath() const
{
	return IsValid() ? FSoftObjectPath(FTopLevelAssetPath(PackageName, AssetName)) : FSoftObjectPath();
}

FString FAssetData::GetFullName() const
{
	return IsValid() ? AssetClassPath.GetAssetName().ToString() + TEXT(" ") + GetObjectPathString() : FString(TEXT("None"));
}

FString FAssetData::GetExportTextName() const
{
	return IsValid() ? AssetClassPath.ToString() + TEXT("'") + GetObjectPathString() + TEXT("'") : FString(TEXT("None"));
}

UObject* FAssetData::GetAsset(TSet<FName> LoadTags) const
{
	if (!IsValid())
	{
		return nullptr;
	}
	if (UObject* Loaded = FastGetAsset(false))
	{
		return Loaded;
	}
	return StaticLoadObject(UObject::StaticClass(), nullptr, *GetObjectPathString());
}

UObject* FAssetData::FastGetAsset(bool bLoad) const
{
	if (!IsValid())
	{
		return nullptr;
	}
	UObject* Found = StaticFindObject(nullptr, nullptr, GetObjectPathString());
	if (::IsValid(Found))
	{
		return Found;
	}
	return bLoad ? GetAsset() : nullptr;
}

bool FAssetData::IsAssetLoaded() const
{
	return FastGetAsset(false) != nullptr;
}

UPackage* FAssetData::GetPackage() const
{
	if (PackageName.IsNone())
	{
		return nullptr;
	}
	UPackage* Package = FindPackage(nullptr, *PackageName.ToString());
	return ::IsValid(Package) ? Package : nullptr;
}

UClass* FAssetData::GetClass() const
{
	return AssetClassPath.IsValid() ? Cast<UClass>(StaticFindObject(UClass::StaticClass(), nullptr, AssetClassPath.ToString())) : nullptr;
}

bool FAssetData::IsInstanceOf(const UClass* BaseClass) const
{
	const UClass* Class = GetClass();
	return Class && BaseClass && Class->IsChildOf(BaseClass);
}
