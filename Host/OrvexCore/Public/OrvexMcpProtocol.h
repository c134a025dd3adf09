// The tool-calling protocol that AI assistant clients speak over stdio (Model Context Protocol),
// on top of the registry: one tool per enabled namespace, called as {"action", "params"}.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "OrvexActionResult.h"

class FOrvexToolRegistry;

namespace OrvexMcp
{
	// Protocol revisions this server speaks, newest first.
	ORVEXCORE_API const TArray<FString>& GetSupportedProtocolVersions();

	// True for the protocol's own methods ("initialize", "ping", "tools/...", "notifications/...").
	ORVEXCORE_API bool IsProtocolMethod(const FString& Method);

	// Runs one protocol method. A JSON-RPC level failure comes back as an error result with its
	// code; tool failures are successful results with "isError": true, as the protocol wants.
	ORVEXCORE_API FOrvexActionResult HandleMethod(FOrvexToolRegistry& Registry, const FString& Method, const TSharedPtr<FJsonObject>& Params);
}
