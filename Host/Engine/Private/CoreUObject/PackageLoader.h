// How LoadPackage turns a package file into objects. The asset system installs the loader at
// start-up and removes it at shutdown; without one, only packages in memory are found.
#pragma once

#include "CoreMinimal.h"

class UPackage;

namespace UE::Host
{
	enum class EPackageLoadResult : uint8
	{
		Loaded,
		// No file behind the package name.
		NotFound,
		// A file exists but does not load; the loader has logged why.
		Failed,
		// The package holds a redirector left behind by a rename: the object From now lives at To.
		Redirected,
	};

	struct FPackageRedirect
	{
		// Object paths.
		FString From;
		FString To;
	};

	class IPackageLoader
	{
	public:
		virtual ~IPackageLoader() = default;

		// Makes the package and its objects from the file. On failure nothing is left in memory; a
		// redirector package makes nothing and says where its object went.
		virtual EPackageLoadResult LoadPackage(const FString& LongPackageName, UPackage*& OutPackage, FPackageRedirect& OutRedirect) = 0;
	};

	void SetPackageLoader(IPackageLoader* Loader);
	IPackageLoader* GetPackageLoader();
}
