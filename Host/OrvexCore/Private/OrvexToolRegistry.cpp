#include "OrvexToolRegistry.h"

FOrvexToolRegistry& FOrvexToolRegistry::Get()
{
	static FOrvexToolRegistry Registry;
	return Registry;
}

FOrvexToolRegistry::FNamespaceEntry* FOrvexToolRegistry::FindNamespace(const FString& Namespace)
{
	return Namespaces.FindByPredicate([&Namespace](const FNamespaceEntry& Entry) { return Entry.Name.Equals(Namespace); });
}

const FOrvexToolRegistry::FNamespaceEntry* FOrvexToolRegistry::FindNamespace(const FString& Namespace) const
{
	return Namespaces.FindByPredicate([&Namespace](const FNamespaceEntry& Entry) { return Entry.Name.Equals(Namespace); });
}

FOrvexToolRegistry::FNamespaceEntry& FOrvexToolRegistry::FindOrAddNamespace(const FString& Namespace)
{
	if (FNamespaceEntry* Existing = FindNamespace(Namespace))
	{
		return *Existing;
	}
	FNamespaceEntry& Entry = Namespaces.AddDefaulted_GetRef();
	Entry.Name = Namespace;
	return Entry;
}

bool FOrvexToolRegistry::RegisterAction(const FString& Namespace, const FString& ActionName, const FString& Description,
	const FOrvexActionHandler& Handler, const TSharedPtr<FJsonObject>& ParameterSchema, const FString& RequiredCapability)
{
	if (Namespace.IsEmpty() || ActionName.IsEmpty() || !Handler.IsBound())
	{
		return false;
	}
	FNamespaceEntry& Entry = FindOrAddNamespace(Namespace);
	FOrvexActionInfo Info;
	Info.Namespace = Namespace;
	Info.ActionName = ActionName;
	Info.Description = Description;
	Info.ParameterSchema = ParameterSchema.IsValid() ? ParameterSchema : MakeShared<FJsonObject>();
	Info.RequiredCapability = RequiredCapability;
	Info.Handler = Handler;
	if (FOrvexActionInfo* Existing = Entry.Actions.FindByPredicate([&ActionName](const FOrvexActionInfo& Action) { return Action.ActionName.Equals(ActionName); }))
	{
		*Existing = MoveTemp(Info);
	}
	else
	{
		Entry.Actions.Add(MoveTemp(Info));
	}
	return true;
}

void FOrvexToolRegistry::SetDispatcherAnnotations(const FString& Namespace, const FOrvexDispatcherAnnotations& Annotations)
{
	FindOrAddNamespace(Namespace).Annotations = Annotations;
}

bool FOrvexToolRegistry::GetDispatcherAnnotations(const FString& Namespace, FOrvexDispatcherAnnotations& OutAnnotations) const
{
	const FNamespaceEntry* Entry = FindNamespace(Namespace);
	if (!Entry || !Entry->Annotations.IsSet())
	{
		return false;
	}
	OutAnnotations = Entry->Annotations.GetValue();
	return true;
}

void FOrvexToolRegistry::MarkNamespaceDisabled(const FString& Namespace, const FString& Reason)
{
	FindOrAddNamespace(Namespace).DisabledReason = Reason;
}

bool FOrvexToolRegistry::IsNamespaceDisabled(const FString& Namespace, FString* OutReason) const
{
	const FNamespaceEntry* Entry = FindNamespace(Namespace);
	if (!Entry || !Entry->DisabledReason.IsSet())
	{
		return false;
	}
	if (OutReason)
	{
		*OutReason = Entry->DisabledReason.GetValue();
	}
	return true;
}

void FOrvexToolRegistry::UnregisterNamespace(const FString& Namespace)
{
	Namespaces.RemoveAll([&Namespace](const FNamespaceEntry& Entry) { return Entry.Name.Equals(Namespace); });
}

TArray<FString> FOrvexToolRegistry::GetNamespaces() const
{
	TArray<FString> Names;
	for (const FNamespaceEntry& Entry : Namespaces)
	{
		Names.Add(Entry.Name);
	}
	return Names;
}

TArray<FOrvexActionInfo> FOrvexToolRegistry::GetActions(const FString& Namespace) const
{
	const FNamespaceEntry* Entry = FindNamespace(Namespace);
	return Entry ? Entry->Actions : TArray<FOrvexActionInfo>();
}

bool FOrvexToolRegistry::HasAction(const FString& Namespace, const FString& ActionName) const
{
	const FNamespaceEntry* Entry = FindNamespace(Namespace);
	return Entry && Entry->Actions.ContainsByPredicate([&ActionName](const FOrvexActionInfo& Action) { return Action.ActionName.Equals(ActionName); });
}

FOrvexActionResult FOrvexToolRegistry::ExecuteAction(const FString& Namespace, const FString& ActionName, const TSharedPtr<FJsonObject>& Params) const
{
	const FNamespaceEntry* Entry = FindNamespace(Namespace);
	if (Entry && Entry->DisabledReason.IsSet())
	{
		return FOrvexActionResult::Error(Entry->DisabledReason.GetValue(), OrvexErrorCodes::MethodNotFound);
	}
	const FOrvexActionInfo* Action = Entry
		? Entry->Actions.FindByPredicate([&ActionName](const FOrvexActionInfo& Info) { return Info.ActionName.Equals(ActionName); })
		: nullptr;
	if (!Action)
	{
		return FOrvexActionResult::Error(FString::Printf(TEXT("Unknown action '%s.%s'"), *Namespace, *ActionName), OrvexErrorCodes::MethodNotFound);
	}
	return Action->Handler.Execute(Params);
}
