// The listing of registered namespaces and actions that "orvex actions" prints and the
// "actions/list" method returns: {"namespaces": [{name, enabled, annotations?, disabled_reason?, actions}]}.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"

class FOrvexToolRegistry;

namespace OrvexCore
{
	// Every namespace in registration order, or only the named one (an empty listing when unknown).
	ORVEXCORE_API TSharedRef<FJsonObject> BuildActionCatalog(const FOrvexToolRegistry& Registry, const FString& OnlyNamespace = FString());
}
