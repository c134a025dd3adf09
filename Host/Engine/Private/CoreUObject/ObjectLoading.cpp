#include "UObject/UObjectGlobals.h"

#include "Misc/PackageName.h"
#include "PackageLoader.h"
#include "UObject/Class.h"
#include "UObject/Package.h"

DEFINE_LOG_CATEGORY_STATIC(LogUObjectLoading, Log, All);

namespace
{
	UE::Host::IPackageLoader* GPackageLoader = nullptr;

	bool ShouldWarn(uint32 LoadFlags)
	{
		return (LoadFlags & (LOAD_NoWarn | LOAD_Quiet)) == 0;
	}

	// "Class'/Path.Name'" names the same object as "/Path.Name".
	FString StripClassPrefix(const FString& Path)
	{
		const int32 FirstQuote = Path.Find(TEXT("'"), ESearchCase::CaseSensitive);
		if (FirstQuote > 0 && Path.Len() >= FirstQuote + 2 && Path[Path.Len() - 1] == TEXT('\''))
		{
			return Path.Mid(FirstQuote + 1, Path.Len() - FirstQuote - 2);
		}
		return Path;
	}
}

namespace UE::Host
{
	void SetPackageLoader(IPackageLoader* Loader)
	{
		GPackageLoader = Loader;
	}

	IPackageLoader* GetPackageLoader()
	{
		return GPackageLoader;
	}
}

namespace
{
	// Renames can leave redirectors pointing at redirectors; a longer chain is a loop.
	constexpr int32 MaxRedirectHops = 8;

	// LoadPackage, telling a redirector package apart: it makes nothing and fills OutRedirect.
	UPackage* LoadPackageOrRedirect(const FString& PackageName, uint32 LoadFlags, UE::Host::FPackageRedirect& OutRedirect)
	{
		if (PackageName.IsEmpty())
		{
			return nullptr;
		}
		UPackage* Existing = FindPackage(nullptr, *PackageName);
		if (!IsValid(Existing))
		{
			Existing = nullptr;
		}
		// A package that holds its asset is loaded (or was made in memory) already.
		if (Existing && IsValid(StaticFindObject(nullptr, Existing, FPackageName::GetLongPackageAssetName(PackageName))))
		{
			return Existing;
		}
		if (!FPackageName::IsValidLongPackageName(PackageName, true))
		{
			UE_CLOG(ShouldWarn(LoadFlags), LogUObjectLoading, Warning, TEXT("LoadPackage: '%s' is not a valid long package name"), *PackageName);
			return nullptr;
		}
		UE::Host::IPackageLoader* Loader = UE::Host::GetPackageLoader();
		UPackage* Package = nullptr;
		const UE::Host::EPackageLoadResult Result = Loader ? Loader->LoadPackage(PackageName, Package, OutRedirect) : UE::Host::EPackageLoadResult::NotFound;
		switch (Result)
		{
		case UE::Host::EPackageLoadResult::Loaded:
			return Package;
		case UE::Host::EPackageLoadResult::NotFound:
			if (Existing)
			{
				// Made in memory, with no file behind it.
				return Existing;
			}
			UE_CLOG(ShouldWarn(LoadFlags), LogUObjectLoading, Warning, TEXT("LoadPackage: cannot find a file for package '%s'"), *PackageName);
			return nullptr;
		case UE::Host::EPackageLoadResult::Redirected:
		case UE::Host::EPackageLoadResult::Failed:
			break;
		}
		return nullptr;
	}
}

UPackage* LoadPackage(UPackage* InOuter, const TCHAR* InLongPackageName, uint32 LoadFlags, FArchive* InReaderOverride, const FLinkerInstancingContext* InstancingContext)
{
	FString PackageName = FString(InLongPackageName ? InLongPackageName : TEXT("")).TrimStartAndEnd();
	for (int32 Hop = 0; Hop <= MaxRedirectHops; ++Hop)
	{
		UE::Host::FPackageRedirect Redirect;
		if (UPackage* Package = LoadPackageOrRedirect(PackageName, LoadFlags, Redirect))
		{
			return Package;
		}
		if (Redirect.To.IsEmpty())
		{
			return nullptr;
		}
		// The package of the object the redirector points at stands for it.
		PackageName = FPackageName::ObjectPathToPackageName(Redirect.To);
	}
	UE_CLOG(ShouldWarn(LoadFlags), LogUObjectLoading, Warning, TEXT("LoadPackage: the redirectors from '%s' form a chain longer than %d"), InLongPackageName, MaxRedirectHops);
	return nullptr;
}

UObject* StaticLoadObject(UClass* Class, UObject* InOuter, FStringView Name, FStringView Filename, uint32 LoadFlags,
	UPackageMap* Sandbox, bool bAllowObjectReconciliation, const FLinkerInstancingContext* InstancingContext)
{
	const FString RequestedPath = StripClassPrefix(FString(Name).TrimStartAndEnd());
	if (RequestedPath.IsEmpty())
	{
		return nullptr;
	}
	FString Path = RequestedPath;
	UObject* Object = StaticFindObject(nullptr, InOuter, Path);
	// Only a full path says which package to load. A redirector is followed to its object.
	for (int32 Hop = 0; !IsValid(Object) && !InOuter; ++Hop)
	{
		UE::Host::FPackageRedirect Redirect;
		if (LoadPackageOrRedirect(FPackageName::ObjectPathToPackageName(Path), LoadFlags | LOAD_NoWarn, Redirect))
		{
			Object = StaticFindObject(nullptr, nullptr, Path);
			break;
		}
		if (Redirect.To.IsEmpty() || !Redirect.From.Equals(Path, ESearchCase::IgnoreCase))
		{
			break;
		}
		if (Hop == MaxRedirectHops)
		{
			UE_CLOG(ShouldWarn(LoadFlags), LogUObjectLoading, Warning, TEXT("Failed to load '%s': its redirectors form a chain longer than %d"), *RequestedPath, MaxRedirectHops);
			return nullptr;
		}
		Path = Redirect.To;
		Object = StaticFindObject(nullptr, nullptr, Path);
	}
	if (!IsValid(Object) || (Class && !Object->IsA(Class)))
	{
		UE_CLOG(ShouldWarn(LoadFlags), LogUObjectLoading, Warning, TEXT("Failed to find object '%s %s'"), Class ? *Class->GetName() : TEXT("Object"), *Path);
		return nullptr;
	}
	return Object;
}

UObject* StaticLoadObject(UClass* Class, UObject* InOuter, const TCHAR* Name, const TCHAR* Filename, uint32 LoadFlags,
	UPackageMap* Sandbox, bool bAllowObjectReconciliation, const FLinkerInstancingContext* InstancingContext)
{
	return StaticLoadObject(Class, InOuter, FStringView(Name), FStringView(Filename), LoadFlags, Sandbox, bAllowObjectReconciliation, InstancingContext);
}
