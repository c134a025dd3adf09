#include "OrvexMcpProtocol.h"

#include "Host/JsonText.h"
#include "OrvexLog.h"
#include "OrvexMcpToolSchema.h"

namespace
{
	const TCHAR* const ServerName = TEXT("orvex");
	const TCHAR* const ServerVersion = TEXT(ORVEX_VERSION_STRING);

	// Enough for every request a client can have in flight.
	constexpr int32 MaxRememberedCancellations = 1024;

	// Revisions are dates, so they order as text. An empty revision (no "initialize" yet) knows all.
	bool Knows(const FString& Negotiated, const TCHAR* Revision)
	{
		return Negotiated.IsEmpty() || Negotiated.Compare(Revision, ESearchCase::CaseSensitive) >= 0;
	}

	FString ToText(const TSharedRef<FJsonObject>& Object)
	{
		return UE::Host::Utf8ToString(UE::Host::Json::ToUtf8(Object));
	}

	// The text content is the JSON of the structured content, for clients that read only text.
	TSharedPtr<FJsonObject> MakeToolResult(const TSharedRef<FJsonObject>& Structured, bool bIsError, const FString& Revision)
	{
		TSharedRef<FJsonObject> Content = MakeShared<FJsonObject>();
		Content->SetStringField(TEXT("type"), TEXT("text"));
		Content->SetStringField(TEXT("text"), ToText(Structured));
		TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
		Result->SetArrayField(TEXT("content"), TArray<TSharedPtr<FJsonValue>>{MakeShared<FJsonValueObject>(Content)});
		if (Knows(Revision, TEXT("2025-06-18")))
		{
			Result->SetObjectField(TEXT("structuredContent"), Structured);
		}
		Result->SetBoolField(TEXT("isError"), bIsError);
		return Result;
	}

	TSharedRef<FJsonObject> MakeErrorContent(const FString& Message, int32 Code)
	{
		TSharedRef<FJsonObject> Error = MakeShared<FJsonObject>();
		Error->SetNumberField(TEXT("code"), Code);
		Error->SetStringField(TEXT("message"), Message);
		return Error;
	}

	// An action's tool, or one of the program's.
	struct FTool
	{
		FString Name;
		FString Title;
		FString Description;
		TSharedPtr<FJsonObject> ParameterSchema;
		TOptional<FOrvexDispatcherAnnotations> Hints;
		FOrvexActionInfo Action;
		const FOrvexMcpProgramTool* ProgramTool = nullptr;
	};

	bool IsEnabled(const FOrvexToolRegistry& Registry, const FString& Namespace)
	{
		return Namespace.IsEmpty() || (Registry.GetNamespaces().Contains(Namespace) && !Registry.IsNamespaceDisabled(Namespace));
	}

	// Every action of every enabled namespace, in registration order, then the program's tools
	// whose namespace is enabled. Two tools of one name keep the first; a list with one name twice
	// is refused by clients.
	TArray<FTool> CollectTools(const FOrvexToolRegistry& Registry, const TMap<FString, FOrvexDispatcherAnnotations>& ToolHints,
		const TArray<FOrvexMcpProgramTool>& ProgramTools)
	{
		TArray<FTool> Tools;
		auto IsTaken = [&Tools](const FString& Name)
		{
			return Tools.ContainsByPredicate([&Name](const FTool& Tool) { return Tool.Name.Equals(Name, ESearchCase::CaseSensitive); });
		};
		for (const FString& Namespace : Registry.GetNamespaces())
		{
			if (Registry.IsNamespaceDisabled(Namespace))
			{
				continue;
			}
			for (const FOrvexActionInfo& Action : Registry.GetActions(Namespace))
			{
				const FString Name = OrvexMcp::MakeToolName(Namespace, Action.ActionName);
				if (IsTaken(Name))
				{
					UE_LOG(LogOrvex, Warning, TEXT("Action '%s.%s' is not offered as a tool: the name '%s' is taken"), *Namespace, *Action.ActionName, *Name);
					continue;
				}
				FTool& Tool = Tools.AddDefaulted_GetRef();
				Tool.Name = Name;
				Tool.Title = OrvexMcp::MakeToolTitle(Namespace, Action.ActionName);
				Tool.Description = Action.Description;
				Tool.ParameterSchema = Action.ParameterSchema;
				FOrvexDispatcherAnnotations Annotations;
				if (const FOrvexDispatcherAnnotations* Own = ToolHints.Find(Namespace + TEXT(".") + Action.ActionName))
				{
					Tool.Hints = *Own;
				}
				else if (Registry.GetDispatcherAnnotations(Namespace, Annotations))
				{
					Tool.Hints = Annotations;
				}
				Tool.Action = Action;
			}
		}
		for (const FOrvexMcpProgramTool& ProgramTool : ProgramTools)
		{
			if (!IsEnabled(Registry, ProgramTool.RequiredNamespace) || IsTaken(ProgramTool.Name))
			{
				continue;
			}
			FTool& Tool = Tools.AddDefaulted_GetRef();
			Tool.Name = ProgramTool.Name;
			Tool.Title = ProgramTool.Title;
			Tool.Description = ProgramTool.Description;
			Tool.ParameterSchema = ProgramTool.ParameterSchema;
			Tool.Hints = ProgramTool.Hints;
			Tool.ProgramTool = &ProgramTool;
		}
		return Tools;
	}

	TSharedRef<FJsonObject> DescribeTool(const FTool& Tool, const FString& Revision)
	{
		TSharedRef<FJsonObject> Object = MakeShared<FJsonObject>();
		Object->SetStringField(TEXT("name"), Tool.Name);
		if (Knows(Revision, TEXT("2025-06-18")))
		{
			Object->SetStringField(TEXT("title"), Tool.Title);
		}
		Object->SetStringField(TEXT("description"), Tool.Description);
		Object->SetObjectField(TEXT("inputSchema"), OrvexMcp::MakeInputSchema(Tool.ParameterSchema));
		if (Knows(Revision, TEXT("2025-03-26")) && Tool.Hints.IsSet())
		{
			TSharedRef<FJsonObject> Hints = MakeShared<FJsonObject>();
			Hints->SetBoolField(TEXT("readOnlyHint"), Tool.Hints->bReadOnly);
			Hints->SetBoolField(TEXT("destructiveHint"), Tool.Hints->bDestructive);
			Hints->SetBoolField(TEXT("idempotentHint"), Tool.Hints->bIdempotent);
			Object->SetObjectField(TEXT("annotations"), Hints);
		}
		return Object;
	}

	bool IsStringField(const FJsonObject& Object, const TCHAR* Name)
	{
		const TSharedPtr<FJsonValue> Field = Object.TryGetField(Name);
		return Field.IsValid() && Field->Type == EJson::String;
	}

	bool IsObjectField(const FJsonObject& Object, const TCHAR* Name)
	{
		const TSharedPtr<FJsonValue> Field = Object.TryGetField(Name);
		return Field.IsValid() && Field->Type == EJson::Object;
	}

	FOrvexActionResult InvalidParams(const FString& Problem)
	{
		return FOrvexActionResult::Error(TEXT("Invalid params: ") + Problem, OrvexErrorCodes::InvalidParams);
	}
}

FOrvexMcpSession::FOrvexMcpSession(FOrvexToolRegistry& InRegistry)
	: Registry(InRegistry)
{
}

const TArray<FString>& FOrvexMcpSession::GetSupportedProtocolVersions()
{
	static const TArray<FString> Versions = {TEXT("2025-11-25"), TEXT("2025-06-18"), TEXT("2025-03-26"), TEXT("2024-11-05")};
	return Versions;
}

bool FOrvexMcpSession::IsProtocolMethod(const FString& Method)
{
	return Method.Equals(TEXT("initialize")) || Method.Equals(TEXT("ping")) || Method.Equals(TEXT("tools/list")) || Method.Equals(TEXT("tools/call"))
		|| Method.StartsWith(TEXT("notifications/"), ESearchCase::CaseSensitive);
}

FOrvexActionResult FOrvexMcpSession::HandleMethod(const FString& Method, const TSharedPtr<FJsonObject>& Params, bool bIsNotification)
{
	const bool bIsNotificationMethod = Method.StartsWith(TEXT("notifications/"), ESearchCase::CaseSensitive);
	if (bIsNotification)
	{
		// A request sent without an id is not run: nobody would see its outcome.
		if (Method.Equals(TEXT("notifications/cancelled")))
		{
			NoteCancellation(Params);
		}
		return FOrvexActionResult::Success(MakeShared<FJsonObject>());
	}
	if (bIsNotificationMethod)
	{
		return FOrvexActionResult::Error(FString::Printf(TEXT("Method not found: %s is a notification"), *Method), OrvexErrorCodes::MethodNotFound);
	}
	if (Method.Equals(TEXT("initialize")))
	{
		return Initialize(Params);
	}
	if (Method.Equals(TEXT("tools/list")))
	{
		return ListTools(Params);
	}
	if (Method.Equals(TEXT("tools/call")))
	{
		return CallTool(Params);
	}
	return FOrvexActionResult::Success(MakeShared<FJsonObject>());
}

void FOrvexMcpSession::SetToolHints(const FString& Namespace, const FString& Action, const FOrvexDispatcherAnnotations& Hints)
{
	ToolHints.Add(Namespace + TEXT(".") + Action, Hints);
}

void FOrvexMcpSession::AddProgramTool(const FOrvexMcpProgramTool& Tool)
{
	ProgramTools.Add(Tool);
}

bool FOrvexMcpSession::TakeCancellation(const TSharedPtr<FJsonValue>& Id)
{
	if (!Id.IsValid() || CancelledIds.Num() == 0)
	{
		return false;
	}
	const FString Key = UE::Host::Utf8ToString(UE::Host::Json::ToUtf8(Id));
	const int32 Index = CancelledIds.IndexOfByPredicate([&Key](const FString& Cancelled) { return Cancelled.Equals(Key, ESearchCase::CaseSensitive); });
	if (Index == INDEX_NONE)
	{
		return false;
	}
	CancelledIds.RemoveAt(Index);
	return true;
}

void FOrvexMcpSession::NoteCancellation(const TSharedPtr<FJsonObject>& Params)
{
	const TSharedPtr<FJsonValue> RequestId = Params->TryGetField(TEXT("requestId"));
	if (!RequestId.IsValid() || (RequestId->Type != EJson::String && RequestId->Type != EJson::Number))
	{
		return;
	}
	if (CancelledIds.Num() >= MaxRememberedCancellations)
	{
		CancelledIds.RemoveAt(0);
	}
	CancelledIds.Add(UE::Host::Utf8ToString(UE::Host::Json::ToUtf8(RequestId)));
}

FOrvexActionResult FOrvexMcpSession::Initialize(const TSharedPtr<FJsonObject>& Params)
{
	if (!ProtocolVersion.IsEmpty())
	{
		return FOrvexActionResult::Error(TEXT("Invalid Request: the session is already initialized"), OrvexErrorCodes::InvalidRequest);
	}
	if (!IsStringField(*Params, TEXT("protocolVersion")))
	{
		return InvalidParams(TEXT("'protocolVersion' must be a string"));
	}
	if (!IsObjectField(*Params, TEXT("capabilities")))
	{
		return InvalidParams(TEXT("'capabilities' must be an object"));
	}
	if (!IsObjectField(*Params, TEXT("clientInfo")))
	{
		return InvalidParams(TEXT("'clientInfo' must be an object"));
	}
	const TSharedPtr<FJsonObject> ClientInfo = Params->GetObjectField(TEXT("clientInfo"));
	if (!IsStringField(*ClientInfo, TEXT("name")) || !IsStringField(*ClientInfo, TEXT("version")))
	{
		return InvalidParams(TEXT("'clientInfo' needs a string 'name' and a string 'version'"));
	}

	// The client's revision when we speak it, otherwise our latest; the client decides whether
	// it can go on with that.
	const TArray<FString>& Supported = GetSupportedProtocolVersions();
	const FString Requested = Params->GetStringField(TEXT("protocolVersion"));
	ProtocolVersion = Supported.ContainsByPredicate([&Requested](const FString& Version) { return Version.Equals(Requested, ESearchCase::CaseSensitive); })
		? Requested
		: Supported[0];

	TSharedRef<FJsonObject> Tools = MakeShared<FJsonObject>();
	Tools->SetBoolField(TEXT("listChanged"), false);
	TSharedRef<FJsonObject> Capabilities = MakeShared<FJsonObject>();
	Capabilities->SetObjectField(TEXT("tools"), Tools);
	TSharedRef<FJsonObject> ServerInfo = MakeShared<FJsonObject>();
	ServerInfo->SetStringField(TEXT("name"), ServerName);
	ServerInfo->SetStringField(TEXT("version"), ServerVersion);

	TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
	Result->SetStringField(TEXT("protocolVersion"), ProtocolVersion);
	Result->SetObjectField(TEXT("capabilities"), Capabilities);
	Result->SetObjectField(TEXT("serverInfo"), ServerInfo);
	Result->SetStringField(TEXT("instructions"),
		TEXT("Each tool runs one action on an Unreal project, named <namespace>_<action>. localization_* tools are read-only; "
			 "config_* tools read the layered INI configuration, and config_set_setting writes Project Settings."));
	return FOrvexActionResult::Success(Result);
}

FOrvexActionResult FOrvexMcpSession::ListTools(const TSharedPtr<FJsonObject>& Params) const
{
	// Every tool fits on one page, so no cursor is ever handed out.
	if (Params->HasField(TEXT("cursor")))
	{
		return InvalidParams(TEXT("unknown cursor"));
	}
	TArray<TSharedPtr<FJsonValue>> Tools;
	for (const FTool& Tool : CollectTools(Registry, ToolHints, ProgramTools))
	{
		Tools.Add(MakeShared<FJsonValueObject>(DescribeTool(Tool, ProtocolVersion)));
	}
	TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
	Result->SetArrayField(TEXT("tools"), Tools);
	return FOrvexActionResult::Success(Result);
}

FOrvexActionResult FOrvexMcpSession::CallTool(const TSharedPtr<FJsonObject>& Params) const
{
	if (!IsStringField(*Params, TEXT("name")))
	{
		return InvalidParams(TEXT("'name' must be a string"));
	}
	const FString Name = Params->GetStringField(TEXT("name"));
	TSharedPtr<FJsonObject> Arguments = MakeShared<FJsonObject>();
	if (Params->HasField(TEXT("arguments")))
	{
		if (!IsObjectField(*Params, TEXT("arguments")))
		{
			return InvalidParams(TEXT("'arguments' must be an object"));
		}
		Arguments = Params->GetObjectField(TEXT("arguments"));
	}

	const TArray<FTool> Tools = CollectTools(Registry, ToolHints, ProgramTools);
	const FTool* Tool = Tools.FindByPredicate([&Name](const FTool& Candidate) { return Candidate.Name.Equals(Name, ESearchCase::CaseSensitive); });
	if (!Tool)
	{
		// A tool of a disabled namespace, or a program tool that reads it, says why it is not there.
		for (const FString& Namespace : Registry.GetNamespaces())
		{
			FString DisabledReason;
			const bool bNamesIt = Name.StartsWith(OrvexMcp::MakeToolName(Namespace, FString()), ESearchCase::CaseSensitive)
				|| ProgramTools.ContainsByPredicate([&Name, &Namespace](const FOrvexMcpProgramTool& Candidate)
					{ return Candidate.Name.Equals(Name, ESearchCase::CaseSensitive) && Candidate.RequiredNamespace.Equals(Namespace, ESearchCase::CaseSensitive); });
			if (bNamesIt && Registry.IsNamespaceDisabled(Namespace, &DisabledReason))
			{
				return FOrvexActionResult::Success(MakeToolResult(MakeErrorContent(DisabledReason, OrvexErrorCodes::MethodNotFound), true, ProtocolVersion));
			}
		}
		return InvalidParams(FString::Printf(TEXT("unknown tool '%s'"), *Name));
	}

	// Arguments that do not fit the schema are a tool error, not a protocol error, so that the
	// assistant sees which parameter to correct.
	OrvexMcp::FArgumentProblem Problem;
	if (!OrvexMcp::CheckArguments(Tool->ParameterSchema, *Arguments, Problem))
	{
		TSharedRef<FJsonObject> Error = MakeErrorContent(
			FString::Printf(TEXT("Invalid argument '%s': %s"), *Problem.Parameter, *Problem.Problem), OrvexErrorCodes::InvalidParams);
		Error->SetStringField(TEXT("parameter"), Problem.Parameter);
		Error->SetStringField(TEXT("problem"), Problem.Problem);
		return FOrvexActionResult::Success(MakeToolResult(Error, true, ProtocolVersion));
	}

	const FOrvexActionResult Outcome = Tool->ProgramTool ? Tool->ProgramTool->Handler.Execute(Arguments)
		: Registry.ExecuteAction(Tool->Action.Namespace, Tool->Action.ActionName, Arguments);
	if (!Outcome.bSuccess)
	{
		TSharedRef<FJsonObject> Error = MakeErrorContent(Outcome.ErrorMessage, Outcome.ErrorCode);
		if (Outcome.Result.IsValid())
		{
			Error->SetObjectField(TEXT("data"), Outcome.Result);
		}
		return FOrvexActionResult::Success(MakeToolResult(Error, true, ProtocolVersion));
	}
	return FOrvexActionResult::Success(MakeToolResult(Outcome.Result.IsValid() ? Outcome.Result.ToSharedRef() : MakeShared<FJsonObject>(), false, ProtocolVersion));
}
