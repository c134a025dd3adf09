// Turns JSON-RPC 2.0 messages into registry calls. Method "NAMESPACE.ACTION" runs that action
// with the (object) params; "actions/list" returns the action catalog. Requests, notifications,
// batches and errors follow JSON-RPC 2.0.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "OrvexMcpProtocol.h"

#include <string>
#include <string_view>

class FOrvexToolRegistry;

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

private:
	TSharedPtr<FJsonValue> HandleRequest(const TSharedPtr<FJsonValue>& Request);
	TSharedPtr<FJsonObject> Dispatch(const FString& Method, const TSharedPtr<FJsonObject>& Params, const TSharedPtr<FJsonValue>& Id, bool bIsNotification);

	FOrvexToolRegistry& Registry;
	FOrvexMcpSession Session;
};
