#include "OrvexMcpProtocol.h"

#include "Dom/JsonValue.h"
#include "Host/JsonText.h"
#include "OrvexToolRegistry.h"

namespace OrvexMcp
{
	namespace
	{
		const TCHAR* const ServerName = TEXT("orvex");
		const TCHAR* const ServerVersion = TEXT(ORVEX_VERSION_STRING);

		TSharedPtr<FJsonObject> MakeTextContentResult(const FString& Text, bool bIsError, const TSharedPtr<FJsonObject>& Structured)
		{
			TSharedRef<FJsonObject> Content = MakeShared<FJsonObject>();
			Content->SetStringField(TEXT("type"), TEXT("text"));
			Content->SetStringField(TEXT("text"), Text);
			TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
			Result->SetArrayField(TEXT("content"), TArray<TSharedPtr<FJsonValue>>{MakeShared<FJsonValueObject>(Content)});
			if (Structured.IsValid())
			{
				Result->SetObjectField(TEXT("structuredContent"), Structured);
			}
			Result->SetBoolField(TEXT("isError"), bIsError);
			return Result;
		}

		TSharedPtr<FJsonObject> MakeToolError(const FString& Message, int32 Code, const TSharedPtr<FJsonObject>& Data)
		{
			TSharedPtr<FJsonObject> Error = MakeShared<FJsonObject>();
			Error->SetNumberField(TEXT("code"), Code);
			Error->SetStringField(TEXT("message"), Message);
			if (Data.IsValid())
			{
				Error->SetObjectField(TEXT("data"), Data);
			}
			return MakeTextContentResult(Message, true, Error);
		}

		FString DescribeNamespace(const FOrvexToolRegistry& Registry, const FString& Namespace, const TArray<FOrvexActionInfo>& Actions)
		{
			FOrvexDispatcherAnnotations Annotations;
			FString Description = Registry.GetDispatcherAnnotations(Namespace, Annotations) && !Annotations.Description.IsEmpty()
				? Annotations.Description + TEXT(".")
				: FString::Printf(TEXT("Actions of the %s namespace."), *Namespace);
			Description += TEXT(" Call with {\"action\": NAME, \"params\": {...}}. Actions:");
			for (const FOrvexActionInfo& Action : Actions)
			{
				TArray<FString> Parameters;
				if (Action.ParameterSchema.IsValid())
				{
					for (const auto& Parameter : Action.ParameterSchema->Values)
					{
						Parameters.Add(Parameter.Key);
					}
				}
				Description += FString::Printf(TEXT("\n- %s(%s): %s"), *Action.ActionName, *FString::Join(Parameters, TEXT(", ")), *Action.Description);
			}
			return Description;
		}

		TSharedRef<FJsonObject> MakeTool(const FOrvexToolRegistry& Registry, const FString& Namespace)
		{
			const TArray<FOrvexActionInfo> Actions = Registry.GetActions(Namespace);
			TArray<TSharedPtr<FJsonValue>> ActionNames;
			for (const FOrvexActionInfo& Action : Actions)
			{
				ActionNames.Add(MakeShared<FJsonValueString>(Action.ActionName));
			}

			TSharedRef<FJsonObject> ActionProperty = MakeShared<FJsonObject>();
			ActionProperty->SetStringField(TEXT("type"), TEXT("string"));
			ActionProperty->SetArrayField(TEXT("enum"), ActionNames);
			ActionProperty->SetStringField(TEXT("description"), TEXT("The action to run"));
			TSharedRef<FJsonObject> ParamsProperty = MakeShared<FJsonObject>();
			ParamsProperty->SetStringField(TEXT("type"), TEXT("object"));
			ParamsProperty->SetStringField(TEXT("description"), TEXT("The action's parameters (see the tool description)"));
			TSharedRef<FJsonObject> Properties = MakeShared<FJsonObject>();
			Properties->SetObjectField(TEXT("action"), ActionProperty);
			Properties->SetObjectField(TEXT("params"), ParamsProperty);
			TSharedRef<FJsonObject> InputSchema = MakeShared<FJsonObject>();
			InputSchema->SetStringField(TEXT("type"), TEXT("object"));
			InputSchema->SetObjectField(TEXT("properties"), Properties);
			InputSchema->SetArrayField(TEXT("required"), TArray<TSharedPtr<FJsonValue>>{MakeShared<FJsonValueString>(TEXT("action"))});

			TSharedRef<FJsonObject> Tool = MakeShared<FJsonObject>();
			Tool->SetStringField(TEXT("name"), Namespace);
			Tool->SetStringField(TEXT("description"), DescribeNamespace(Registry, Namespace, Actions));
			Tool->SetObjectField(TEXT("inputSchema"), InputSchema);
			FOrvexDispatcherAnnotations Annotations;
			if (Registry.GetDispatcherAnnotations(Namespace, Annotations))
			{
				TSharedRef<FJsonObject> Hints = MakeShared<FJsonObject>();
				Hints->SetBoolField(TEXT("readOnlyHint"), Annotations.bReadOnly);
				Hints->SetBoolField(TEXT("destructiveHint"), Annotations.bDestructive);
				Hints->SetBoolField(TEXT("idempotentHint"), Annotations.bIdempotent);
				Tool->SetObjectField(TEXT("annotations"), Hints);
			}
			return Tool;
		}

		FOrvexActionResult Initialize(const TSharedPtr<FJsonObject>& Params)
		{
			const TArray<FString>& Supported = GetSupportedProtocolVersions();
			FString Version = Supported[0];
			FString Requested;
			if (Params->TryGetStringField(TEXT("protocolVersion"), Requested) && Supported.Contains(Requested))
			{
				Version = Requested;
			}
			TSharedRef<FJsonObject> Tools = MakeShared<FJsonObject>();
			Tools->SetBoolField(TEXT("listChanged"), false);
			TSharedRef<FJsonObject> Capabilities = MakeShared<FJsonObject>();
			Capabilities->SetObjectField(TEXT("tools"), Tools);
			TSharedRef<FJsonObject> ServerInfo = MakeShared<FJsonObject>();
			ServerInfo->SetStringField(TEXT("name"), ServerName);
			ServerInfo->SetStringField(TEXT("version"), ServerVersion);

			TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
			Result->SetStringField(TEXT("protocolVersion"), Version);
			Result->SetObjectField(TEXT("capabilities"), Capabilities);
			Result->SetObjectField(TEXT("serverInfo"), ServerInfo);
			Result->SetStringField(TEXT("instructions"),
				TEXT("Each tool is a namespace of actions on an Unreal project: pass {\"action\": NAME, \"params\": {...}}. "
					 "localization is read-only; config reads the layered INI configuration and can write Project Settings."));
			return FOrvexActionResult::Success(Result);
		}

		FOrvexActionResult ListTools(FOrvexToolRegistry& Registry)
		{
			TArray<TSharedPtr<FJsonValue>> Tools;
			for (const FString& Namespace : Registry.GetNamespaces())
			{
				if (!Registry.IsNamespaceDisabled(Namespace))
				{
					Tools.Add(MakeShared<FJsonValueObject>(MakeTool(Registry, Namespace)));
				}
			}
			TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
			Result->SetArrayField(TEXT("tools"), Tools);
			return FOrvexActionResult::Success(Result);
		}

		FOrvexActionResult CallTool(FOrvexToolRegistry& Registry, const TSharedPtr<FJsonObject>& Params)
		{
			FString Namespace;
			const TSharedPtr<FJsonValue> NameField = Params->TryGetField(TEXT("name"));
			if (!NameField.IsValid() || NameField->Type != EJson::String)
			{
				return FOrvexActionResult::Error(TEXT("Invalid params: 'name' must be a string"), OrvexErrorCodes::InvalidParams);
			}
			Namespace = NameField->AsString();
			FString DisabledReason;
			if (Registry.IsNamespaceDisabled(Namespace, &DisabledReason))
			{
				return FOrvexActionResult::Success(MakeToolError(DisabledReason, OrvexErrorCodes::MethodNotFound, nullptr));
			}
			if (!Registry.GetNamespaces().ContainsByPredicate([&Namespace](const FString& Name) { return Name.Equals(Namespace); }))
			{
				return FOrvexActionResult::Error(FString::Printf(TEXT("Unknown tool: %s"), *Namespace), OrvexErrorCodes::InvalidParams);
			}

			TSharedPtr<FJsonObject> Arguments = MakeShared<FJsonObject>();
			if (const TSharedPtr<FJsonValue> ArgumentsField = Params->TryGetField(TEXT("arguments")); ArgumentsField.IsValid() && !ArgumentsField->IsNull())
			{
				if (ArgumentsField->Type != EJson::Object)
				{
					return FOrvexActionResult::Success(MakeToolError(TEXT("'arguments' must be an object {\"action\", \"params\"}"), OrvexErrorCodes::InvalidParams, nullptr));
				}
				Arguments = ArgumentsField->AsObject();
			}
			const TSharedPtr<FJsonValue> ActionField = Arguments->TryGetField(TEXT("action"));
			if (!ActionField.IsValid() || ActionField->Type != EJson::String)
			{
				return FOrvexActionResult::Success(MakeToolError(TEXT("'action' is required: the name of one of the tool's actions"), OrvexErrorCodes::InvalidParams, nullptr));
			}
			const FString Action = ActionField->AsString();
			if (!Registry.HasAction(Namespace, Action))
			{
				return FOrvexActionResult::Success(MakeToolError(FString::Printf(TEXT("Unknown action '%s' of tool '%s'"), *Action, *Namespace), OrvexErrorCodes::MethodNotFound, nullptr));
			}
			TSharedPtr<FJsonObject> ActionParams = MakeShared<FJsonObject>();
			if (const TSharedPtr<FJsonValue> ParamsField = Arguments->TryGetField(TEXT("params")); ParamsField.IsValid() && !ParamsField->IsNull())
			{
				if (ParamsField->Type != EJson::Object)
				{
					return FOrvexActionResult::Success(MakeToolError(TEXT("'params' must be an object of named parameters"), OrvexErrorCodes::InvalidParams, nullptr));
				}
				ActionParams = ParamsField->AsObject();
			}

			const FOrvexActionResult Outcome = Registry.ExecuteAction(Namespace, Action, ActionParams);
			if (!Outcome.bSuccess)
			{
				return FOrvexActionResult::Success(MakeToolError(Outcome.ErrorMessage, Outcome.ErrorCode, Outcome.Result));
			}
			const TSharedPtr<FJsonObject> Result = Outcome.Result.IsValid() ? Outcome.Result : MakeShared<FJsonObject>();
			return FOrvexActionResult::Success(MakeTextContentResult(UE::Host::Utf8ToString(UE::Host::Json::ToUtf8(Result.ToSharedRef())), false, Result));
		}
	}

	const TArray<FString>& GetSupportedProtocolVersions()
	{
		static const TArray<FString> Versions = {TEXT("2025-06-18"), TEXT("2025-03-26"), TEXT("2024-11-05")};
		return Versions;
	}

	bool IsProtocolMethod(const FString& Method)
	{
		return Method.Equals(TEXT("initialize")) || Method.Equals(TEXT("ping")) || Method.Equals(TEXT("tools/list")) || Method.Equals(TEXT("tools/call"))
			|| Method.StartsWith(TEXT("notifications/"), ESearchCase::CaseSensitive);
	}

	FOrvexActionResult HandleMethod(FOrvexToolRegistry& Registry, const FString& Method, const TSharedPtr<FJsonObject>& Params)
	{
		if (Method.Equals(TEXT("initialize")))
		{
			return Initialize(Params);
		}
		if (Method.Equals(TEXT("ping")))
		{
			return FOrvexActionResult::Success(MakeShared<FJsonObject>());
		}
		if (Method.Equals(TEXT("tools/list")))
		{
			return ListTools(Registry);
		}
		if (Method.Equals(TEXT("tools/call")))
		{
			return CallTool(Registry, Params);
		}
		// Notifications (initialized, cancelled, ...) need no work: requests run synchronously.
		return FOrvexActionResult::Success(MakeShared<FJsonObject>());
	}
}
