// Turns JSON-RPC 2.0 messages into registry calls. Method "NAMESPACE.ACTION" runs that action
// with the (object) params; "actions/list" returns the action catalog. Requests, notifications,
// batches and errors follow JSON-RPC 2.0; response objects get no reply. A line is read strictly:
// a member named twice is refused (the request when in its envelope, the params when in them),
// as is U+0000 in params, and a number id goes back exactly as it was written.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "OrvexMcpProtocol.h"

#include <string>
#include <string_view>

class FOrvexToolRegistry;

namespace UE::Host::Json
{
	struct FJsonSourceFacts;
}

class ORVEXCORE_API FOrvexJsonRpcDispatcher
{
public:
	explicit FOrvexJsonRpcDispatcher(FOrvexToolRegistry& InRegistry);

	// One line of input in, the reply line out (no line break); empty when no reply is due.
	std::string HandleLine(std::string_view Line);

	// One parsed message (a request, a notification or a batch); null when no reply is due.
	TSharedPtr<FJsonValue> HandleMessage(const TSharedPtr<FJsonValue>& Message);

	// A line read ahead of the ones before it: when it is a cancellation notification it is
	// handled now, so that the request it names gets no reply, and true is returned (the line
	// needs no handling later).
	bool HandleCancellationAhead(std::string_view Line);

	// The reply to a line that was refused before parsing (too long, for example).
	static std::string MakeErrorLine(int32 Code, const FString& Message);

	// The stream's tool-calling session, for the program to add its own tools and hints.
	FOrvexMcpSession& GetMcpSession() { return Session; }

private:
	TSharedPtr<FJsonValue> HandleRequest(const TSharedPtr<FJsonValue>& Request);
	// The error reply a request gets for what strict reading refuses in it, if any.
	TSharedPtr<FJsonObject> CheckEnvelope(const TSharedPtr<FJsonObject>& Request, const TSharedPtr<FJsonValue>& Id) const;
	TSharedPtr<FJsonObject> CheckParams(const TSharedPtr<FJsonValue>& Params, const TSharedPtr<FJsonValue>& Id) const;
	TSharedPtr<FJsonObject> Dispatch(const FString& Method, const TSharedPtr<FJsonObject>& Params, const TSharedPtr<FJsonValue>& Id, bool bIsNotification);

	FOrvexToolRegistry& Registry;
	FOrvexMcpSession Session;
	// What the line being handled said beyond its tree; null for a message parsed elsewhere.
	const UE::Host::Json::FJsonSourceFacts* SourceFacts = nullptr;
};
