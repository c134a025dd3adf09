// Start-up and shutdown of packages and assets on the host: the mount points of the environment
// (/Engine, /Game and every project plugin), the asset registry with its scan of the content
// folders, and the loader that turns asset files into objects on demand. Start it after the
// object system; shut it down before the object system.
#pragma once

#include "CoreMinimal.h"

namespace UE::Host
{
	void InitializeAssetSystem();
	// Releases every asset loaded from a file, stops the registry and unmounts the plugins, so
	// that a later InitializeAssetSystem starts afresh.
	void ShutdownAssetSystem();
	bool IsAssetSystemInitialized();
}
