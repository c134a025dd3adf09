// The outcome of one action: a result object on success, or a message and a JSON-RPC error
// code. An error may carry a result object too (details the caller still needs).
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"

namespace OrvexErrorCodes
{
	constexpr int32 ParseError = -32700;
	constexpr int32 InvalidRequest = -32600;
	constexpr int32 MethodNotFound = -32601;
	constexpr int32 InvalidParams = -32602;
	constexpr int32 InternalError = -32603;
}

struct ORVEXCORE_API FOrvexActionResult
{
	bool bSuccess = false;
	TSharedPtr<FJsonObject> Result;
	FString ErrorMessage;
	int32 ErrorCode = 0;
	// Extra content for dispatchers that render rich results; actions of this plugin leave it empty.
	TSharedPtr<FJsonValue> Attachment;

	static FOrvexActionResult Success(const TSharedPtr<FJsonObject>& InResult)
	{
		FOrvexActionResult Out;
		Out.bSuccess = true;
		Out.Result = InResult;
		return Out;
	}

	static FOrvexActionResult Error(const FString& InMessage, int32 InCode = OrvexErrorCodes::InternalError)
	{
		FOrvexActionResult Out;
		Out.ErrorMessage = InMessage;
		Out.ErrorCode = InCode;
		return Out;
	}
};
