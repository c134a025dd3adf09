// The action registry: namespaces of named actions, each with a description, a parameter schema
// and a handler. Namespaces keep the order in which they were first registered or marked.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "OrvexActionResult.h"

DECLARE_DELEGATE_RetVal_OneParam(FOrvexActionResult, FOrvexActionHandler, const TSharedPtr<FJsonObject>&);

struct ORVEXCORE_API FOrvexDispatcherAnnotations
{
	bool bReadOnly = false;
	bool bDestructive = false;
	bool bIdempotent = false;
	FString Description;
};

struct ORVEXCORE_API FOrvexActionInfo
{
	FString Namespace;
	FString ActionName;
	FString Description;
	TSharedPtr<FJsonObject> ParameterSchema;
	// Capability a caller needs to run the action; empty means none.
	FString RequiredCapability;
	FOrvexActionHandler Handler;
};

class ORVEXCORE_API FOrvexToolRegistry
{
public:
	static FOrvexToolRegistry& Get();

	// Adds the action, or replaces an action of the same name in place. False for an empty name
	// or an unbound handler.
	bool RegisterAction(const FString& Namespace, const FString& ActionName, const FString& Description,
		const FOrvexActionHandler& Handler, const TSharedPtr<FJsonObject>& ParameterSchema, const FString& RequiredCapability = FString());

	void SetDispatcherAnnotations(const FString& Namespace, const FOrvexDispatcherAnnotations& Annotations);
	// False when the namespace has no annotations.
	bool GetDispatcherAnnotations(const FString& Namespace, FOrvexDispatcherAnnotations& OutAnnotations) const;

	void MarkNamespaceDisabled(const FString& Namespace, const FString& Reason);
	bool IsNamespaceDisabled(const FString& Namespace, FString* OutReason = nullptr) const;

	// Removes the namespace with its actions, annotations and disabled mark.
	void UnregisterNamespace(const FString& Namespace);

	TArray<FString> GetNamespaces() const;
	TArray<FOrvexActionInfo> GetActions(const FString& Namespace) const;
	bool HasAction(const FString& Namespace, const FString& ActionName) const;

	// Runs the handler synchronously and returns its result unchanged. An unknown action or a
	// disabled namespace is a "method not found" error.
	FOrvexActionResult ExecuteAction(const FString& Namespace, const FString& ActionName, const TSharedPtr<FJsonObject>& Params) const;

private:
	struct FNamespaceEntry
	{
		FString Name;
		TArray<FOrvexActionInfo> Actions;
		TOptional<FOrvexDispatcherAnnotations> Annotations;
		TOptional<FString> DisabledReason;
	};

	FNamespaceEntry* FindNamespace(const FString& Namespace);
	const FNamespaceEntry* FindNamespace(const FString& Namespace) const;
	FNamespaceEntry& FindOrAddNamespace(const FString& Namespace);

	TArray<FNamespaceEntry> Namespaces;
};
