#include "OrvexJsonRpcDispatcher.h"

#include "Host/JsonText.h"
#include "OrvexActionCatalog.h"
#include "OrvexActionResult.h"
#include "OrvexLog.h"
#include "OrvexMcpProtocol.h"
#include "OrvexToolRegistry.h"

namespace
{
	TSharedRef<FJsonObject> MakeResponse(const TSharedPtr<FJsonValue>& Id)
	{
		TSharedRef<FJsonObject> Response = MakeShared<FJsonObject>();
		Response->SetStringField(TEXT("jsonrpc"), TEXT("2.0"));
		return Response;
	}

	void SetId(const TSharedRef<FJsonObject>& Response, const TSharedPtr<FJsonValue>& Id)
	{
		Response->SetField(TEXT("id"), Id.IsValid() ? Id : MakeShared<FJsonValueNull>());
	}

	TSharedRef<FJsonObject> MakeError(const TSharedPtr<FJsonValue>& Id, int32 Code, const FString& Message, const TSharedPtr<FJsonObject>& Data = nullptr)
	{
		TSharedRef<FJsonObject> Response = MakeResponse(Id);
		TSharedRef<FJsonObject> Error = MakeShared<FJsonObject>();
		Error->SetNumberField(TEXT("code"), Code);
		Error->SetStringField(TEXT("message"), Message);
		if (Data.IsValid())
		{
			Error->SetObjectField(TEXT("data"), Data);
		}
		Response->SetObjectField(TEXT("error"), Error);
		SetId(Response, Id);
		return Response;
	}

	TSharedRef<FJsonObject> MakeResult(const TSharedPtr<FJsonValue>& Id, const TSharedPtr<FJsonObject>& Result)
	{
		TSharedRef<FJsonObject> Response = MakeResponse(Id);
		Response->SetObjectField(TEXT("result"), Result.IsValid() ? Result : MakeShared<FJsonObject>());
		SetId(Response, Id);
		return Response;
	}

	bool IsValidId(const TSharedPtr<FJsonValue>& Id)
	{
		return Id->Type == EJson::String || Id->Type == EJson::Number || Id->Type == EJson::Null;
	}
}

FOrvexJsonRpcDispatcher::FOrvexJsonRpcDispatcher(FOrvexToolRegistry& InRegistry)
	: Registry(InRegistry)
	, Session(InRegistry)
{
}

std::string FOrvexJsonRpcDispatcher::MakeErrorLine(int32 Code, const FString& Message)
{
	return UE::Host::Json::ToUtf8(MakeError(nullptr, Code, Message));
}

std::string FOrvexJsonRpcDispatcher::HandleLine(std::string_view Line)
{
	TSharedPtr<FJsonValue> Message;
	UE::Host::Json::FJsonSourceFacts Facts;
	FString ParseError;
	if (!UE::Host::Json::ParseUtf8(Line, Message, Facts, ParseError))
	{
		return MakeErrorLine(OrvexErrorCodes::ParseError, FString::Printf(TEXT("Parse error: %s"), *ParseError));
	}
	SourceFacts = &Facts;
	const TSharedPtr<FJsonValue> Reply = HandleMessage(Message);
	SourceFacts = nullptr;
	// The replies hold the parsed id values themselves, so their source text can be written back.
	return Reply.IsValid() ? UE::Host::Json::ToUtf8(Reply, Facts.IdTexts) : std::string();
}

TSharedPtr<FJsonObject> FOrvexJsonRpcDispatcher::CheckEnvelope(const TSharedPtr<FJsonObject>& Request, const TSharedPtr<FJsonValue>& Id) const
{
	using UE::Host::Json::FJsonStrictProblem;
	if (!SourceFacts)
	{
		return nullptr;
	}
	FString Repeated;
	const auto Own = SourceFacts->RepeatedNames.find(Request.Get());
	if (Own != SourceFacts->RepeatedNames.end())
	{
		Repeated = Own->second;
	}
	for (const auto& Field : Request->Values)
	{
		if (!Repeated.IsEmpty())
		{
			break;
		}
		if (Field.Key != TEXT("params"))
		{
			const FJsonStrictProblem Problem = UE::Host::Json::FindStrictProblem(Field.Value, SourceFacts, Field.Key);
			Repeated = Problem.Kind == FJsonStrictProblem::EKind::RepeatedName ? Problem.Where : FString();
		}
	}
	if (Repeated.IsEmpty())
	{
		return nullptr;
	}
	// Which of two ids was meant cannot be known.
	const TSharedPtr<FJsonValue> ReplyId = Repeated == TEXT("id") ? nullptr : Id;
	return MakeError(ReplyId, OrvexErrorCodes::InvalidRequest, FString::Printf(TEXT("Invalid Request: member '%s' appears more than once"), *Repeated));
}

TSharedPtr<FJsonObject> FOrvexJsonRpcDispatcher::CheckParams(const TSharedPtr<FJsonValue>& Params, const TSharedPtr<FJsonValue>& Id) const
{
	using UE::Host::Json::FJsonStrictProblem;
	const FJsonStrictProblem Problem = UE::Host::Json::FindStrictProblem(Params, SourceFacts, FString());
	switch (Problem.Kind)
	{
	case FJsonStrictProblem::EKind::RepeatedName:
		return MakeError(Id, OrvexErrorCodes::InvalidParams, FString::Printf(TEXT("Invalid params: member '%s' appears more than once"), *Problem.Where));
	case FJsonStrictProblem::EKind::NulCharacter:
		// Names and texts end at U+0000 inside the engine, so the action would see another value.
		return MakeError(Id, OrvexErrorCodes::InvalidParams, FString::Printf(TEXT("Invalid params: '%s' contains U+0000"), *Problem.Where));
	case FJsonStrictProblem::EKind::None:
		break;
	}
	return nullptr;
}

bool FOrvexJsonRpcDispatcher::HandleCancellationAhead(std::string_view Line)
{
	if (Line.find("notifications/cancelled") == std::string_view::npos)
	{
		return false;
	}
	TSharedPtr<FJsonValue> Message;
	UE::Host::Json::FJsonSourceFacts Facts;
	FString ParseError;
	if (!UE::Host::Json::ParseUtf8(Line, Message, Facts, ParseError) || Message->Type != EJson::Object || !Facts.RepeatedNames.empty())
	{
		return false;
	}
	// Only a well-formed one, read as strictly as in its place: anything else keeps its place and
	// gets its error reply there.
	const TSharedPtr<FJsonObject> Object = Message->AsObject();
	const TSharedPtr<FJsonValue> Version = Object->TryGetField(TEXT("jsonrpc"));
	const TSharedPtr<FJsonValue> Method = Object->TryGetField(TEXT("method"));
	const TSharedPtr<FJsonValue> Params = Object->TryGetField(TEXT("params"));
	if (Object->HasField(TEXT("id")) || !Version.IsValid() || Version->Type != EJson::String || !Version->AsString().Equals(TEXT("2.0"))
		|| !Method.IsValid() || Method->Type != EJson::String || !Method->AsString().Equals(TEXT("notifications/cancelled"))
		|| !Params.IsValid() || Params->Type != EJson::Object)
	{
		return false;
	}
	SourceFacts = &Facts;
	HandleRequest(Message);
	SourceFacts = nullptr;
	return true;
}

TSharedPtr<FJsonValue> FOrvexJsonRpcDispatcher::HandleMessage(const TSharedPtr<FJsonValue>& Message)
{
	if (!Message.IsValid())
	{
		return MakeShared<FJsonValueObject>(MakeError(nullptr, OrvexErrorCodes::InvalidRequest, TEXT("Invalid Request")));
	}
	if (Message->Type != EJson::Array)
	{
		return HandleRequest(Message);
	}
	const TArray<TSharedPtr<FJsonValue>>& Batch = Message->AsArray();
	if (Batch.Num() == 0)
	{
		return MakeShared<FJsonValueObject>(MakeError(nullptr, OrvexErrorCodes::InvalidRequest, TEXT("Invalid Request: empty batch")));
	}
	TArray<TSharedPtr<FJsonValue>> Replies;
	for (const TSharedPtr<FJsonValue>& Request : Batch)
	{
		if (TSharedPtr<FJsonValue> Reply = HandleRequest(Request))
		{
			Replies.Add(Reply);
		}
	}
	if (Replies.Num() == 0)
	{
		return nullptr;
	}
	return MakeShared<FJsonValueArray>(Replies);
}

TSharedPtr<FJsonValue> FOrvexJsonRpcDispatcher::HandleRequest(const TSharedPtr<FJsonValue>& RequestValue)
{
	if (!RequestValue.IsValid() || RequestValue->Type != EJson::Object)
	{
		return MakeShared<FJsonValueObject>(MakeError(nullptr, OrvexErrorCodes::InvalidRequest, TEXT("Invalid Request: a request must be a JSON object")));
	}
	const TSharedPtr<FJsonObject> Request = RequestValue->AsObject();

	const TSharedPtr<FJsonValue> IdField = Request->TryGetField(TEXT("id"));
	const bool bHasId = IdField.IsValid();
	// A response (or an error) from the other side is never answered: two peers replying to each
	// other's stray messages would never stop.
	if (!Request->HasField(TEXT("method")) && (Request->HasField(TEXT("result")) || Request->HasField(TEXT("error"))))
	{
		UE_LOG(LogOrvex, Log, TEXT("Kestrow — ignored a response object (id %s): responses are not answered"),
			bHasId ? *UE::Host::Utf8ToString(UE::Host::Json::ToUtf8(IdField)) : TEXT("none"));
		return nullptr;
	}
	if (bHasId && !IsValidId(IdField))
	{
		return MakeShared<FJsonValueObject>(MakeError(nullptr, OrvexErrorCodes::InvalidRequest, TEXT("Invalid Request: 'id' must be a string, a number or null")));
	}
	const TSharedPtr<FJsonValue> Id = bHasId ? IdField : nullptr;
	if (const TSharedPtr<FJsonObject> Refused = CheckEnvelope(Request, Id))
	{
		return MakeShared<FJsonValueObject>(Refused.ToSharedRef());
	}

	const TSharedPtr<FJsonValue> Version = Request->TryGetField(TEXT("jsonrpc"));
	if (!Version.IsValid() || Version->Type != EJson::String || !Version->AsString().Equals(TEXT("2.0")))
	{
		return MakeShared<FJsonValueObject>(MakeError(Id, OrvexErrorCodes::InvalidRequest, TEXT("Invalid Request: 'jsonrpc' must be \"2.0\"")));
	}
	const TSharedPtr<FJsonValue> MethodField = Request->TryGetField(TEXT("method"));
	if (!MethodField.IsValid() || MethodField->Type != EJson::String)
	{
		return MakeShared<FJsonValueObject>(MakeError(Id, OrvexErrorCodes::InvalidRequest, TEXT("Invalid Request: 'method' must be a string")));
	}
	const TSharedPtr<FJsonValue> ParamsField = Request->TryGetField(TEXT("params"));
	TSharedPtr<FJsonObject> Params;
	if (ParamsField.IsValid())
	{
		if (ParamsField->Type == EJson::Array)
		{
			if (!bHasId)
			{
				return nullptr;
			}
			return MakeShared<FJsonValueObject>(MakeError(Id, OrvexErrorCodes::InvalidParams, TEXT("Invalid params: parameters must be named (a JSON object)")));
		}
		if (ParamsField->Type != EJson::Object)
		{
			return MakeShared<FJsonValueObject>(MakeError(Id, OrvexErrorCodes::InvalidRequest, TEXT("Invalid Request: 'params' must be an object or an array")));
		}
		Params = ParamsField->AsObject();
		if (const TSharedPtr<FJsonObject> Refused = CheckParams(ParamsField, Id))
		{
			if (!bHasId)
			{
				return nullptr;
			}
			return MakeShared<FJsonValueObject>(Refused.ToSharedRef());
		}
	}
	if (!Params.IsValid())
	{
		Params = MakeShared<FJsonObject>();
	}

	// The client gave up on this request before it was read: run nothing, answer nothing. The
	// handshake cannot be cancelled.
	if (bHasId && !MethodField->AsString().Equals(TEXT("initialize")) && Session.TakeCancellation(Id))
	{
		return nullptr;
	}

	const TSharedPtr<FJsonObject> Response = Dispatch(MethodField->AsString(), Params, Id, !bHasId);
	if (!bHasId || !Response.IsValid())
	{
		return nullptr;
	}
	return MakeShared<FJsonValueObject>(Response);
}

TSharedPtr<FJsonObject> FOrvexJsonRpcDispatcher::Dispatch(const FString& Method, const TSharedPtr<FJsonObject>& Params, const TSharedPtr<FJsonValue>& Id, bool bIsNotification)
{
	if (Method.Equals(TEXT("actions/list")))
	{
		FString OnlyNamespace;
		if (const TSharedPtr<FJsonValue> NamespaceField = Params->TryGetField(TEXT("namespace")); NamespaceField.IsValid() && NamespaceField->Type == EJson::String)
		{
			OnlyNamespace = NamespaceField->AsString();
		}
		return MakeResult(Id, OrvexCore::BuildActionCatalog(Registry, OnlyNamespace));
	}

	if (FOrvexMcpSession::IsProtocolMethod(Method))
	{
		const FOrvexActionResult Outcome = Session.HandleMethod(Method, Params, bIsNotification);
		if (bIsNotification)
		{
			return nullptr;
		}
		return Outcome.bSuccess ? MakeResult(Id, Outcome.Result) : MakeError(Id, Outcome.ErrorCode, Outcome.ErrorMessage, Outcome.Result);
	}

	FString Namespace;
	FString Action;
	if (Method.Split(TEXT("."), &Namespace, &Action, ESearchCase::CaseSensitive)
		&& (Registry.HasAction(Namespace, Action) || Registry.IsNamespaceDisabled(Namespace)))
	{
		const FOrvexActionResult Outcome = Registry.ExecuteAction(Namespace, Action, Params);
		if (bIsNotification)
		{
			return nullptr;
		}
		if (Outcome.bSuccess)
		{
			return MakeResult(Id, Outcome.Result);
		}
		return MakeError(Id, Outcome.ErrorCode, Outcome.ErrorMessage, Outcome.Result);
	}
	return MakeError(Id, OrvexErrorCodes::MethodNotFound, FString::Printf(TEXT("Method not found: %s"), *Method));
}
