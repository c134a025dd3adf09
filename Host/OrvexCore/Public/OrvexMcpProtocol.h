// The tool-calling protocol that AI assistant clients speak over stdio (Model Context Protocol),
// on top of the registry: one tool per action of an enabled namespace. One session per stream.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "OrvexActionResult.h"

#include "OrvexToolRegistry.h"

// A tool of the serving program itself, offered beside the actions' tools.
struct ORVEXCORE_API FOrvexMcpProgramTool
{
	FString Name;
	FString Title;
	FString Description;
	// The arguments in the registry's parameter schema form (FParamSchemaBuilder).
	TSharedPtr<FJsonObject> ParameterSchema;
	FOrvexDispatcherAnnotations Hints;
	// Listed and callable only while this namespace is registered and enabled; when it is
	// disabled, a call gives its reason. Empty: always.
	FString RequiredNamespace;
	FOrvexActionHandler Handler;
};

class ORVEXCORE_API FOrvexMcpSession
{
public:
	explicit FOrvexMcpSession(FOrvexToolRegistry& InRegistry);

	// Protocol revisions this server speaks, newest first.
	static const TArray<FString>& GetSupportedProtocolVersions();

	// True for the protocol's own methods ("initialize", "ping", "tools/...", "notifications/...").
	static bool IsProtocolMethod(const FString& Method);

	// Runs one protocol method. A JSON-RPC level failure comes back as an error result with its
	// code; a failing tool is a successful result with "isError": true, so the assistant reads it.
	// A notification only updates the session.
	FOrvexActionResult HandleMethod(const FString& Method, const TSharedPtr<FJsonObject>& Params, bool bIsNotification);

	// True, once, when the client cancelled this request id before the request was read.
	bool TakeCancellation(const TSharedPtr<FJsonValue>& Id);

	// The negotiated revision; empty before "initialize".
	const FString& GetProtocolVersion() const { return ProtocolVersion; }

	// Hints for one action's tool in place of its namespace's annotations.
	void SetToolHints(const FString& Namespace, const FString& Action, const FOrvexDispatcherAnnotations& Hints);
	// A tool of the program, listed after the actions' tools in the order added.
	void AddProgramTool(const FOrvexMcpProgramTool& Tool);

private:
	FOrvexActionResult Initialize(const TSharedPtr<FJsonObject>& Params);
	FOrvexActionResult ListTools(const TSharedPtr<FJsonObject>& Params) const;
	FOrvexActionResult CallTool(const TSharedPtr<FJsonObject>& Params) const;
	void NoteCancellation(const TSharedPtr<FJsonObject>& Params);

	FOrvexToolRegistry& Registry;
	FString ProtocolVersion;
	// "<namespace>.<action>" to the hints its tool carries.
	TMap<FString, FOrvexDispatcherAnnotations> ToolHints;
	TArray<FOrvexMcpProgramTool> ProgramTools;
	// Ids as JSON text, oldest first; bounded, since a cancellation may name a request that has
	// already been answered and then never matches.
	TArray<FString> CancelledIds;
};
