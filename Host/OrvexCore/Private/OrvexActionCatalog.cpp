#include "OrvexActionCatalog.h"

#include "Dom/JsonValue.h"
#include "OrvexToolRegistry.h"

namespace OrvexCore
{
	namespace
	{
		TSharedRef<FJsonObject> BuildAnnotations(const FOrvexDispatcherAnnotations& Annotations)
		{
			TSharedRef<FJsonObject> Object = MakeShared<FJsonObject>();
			Object->SetBoolField(TEXT("read_only"), Annotations.bReadOnly);
			Object->SetBoolField(TEXT("destructive"), Annotations.bDestructive);
			Object->SetBoolField(TEXT("idempotent"), Annotations.bIdempotent);
			Object->SetStringField(TEXT("description"), Annotations.Description);
			return Object;
		}

		TSharedRef<FJsonObject> BuildNamespace(const FOrvexToolRegistry& Registry, const FString& Namespace)
		{
			TSharedRef<FJsonObject> Object = MakeShared<FJsonObject>();
			FString DisabledReason;
			const bool bDisabled = Registry.IsNamespaceDisabled(Namespace, &DisabledReason);
			Object->SetStringField(TEXT("name"), Namespace);
			Object->SetBoolField(TEXT("enabled"), !bDisabled);
			FOrvexDispatcherAnnotations Annotations;
			if (Registry.GetDispatcherAnnotations(Namespace, Annotations))
			{
				Object->SetObjectField(TEXT("annotations"), BuildAnnotations(Annotations));
			}
			if (bDisabled)
			{
				Object->SetStringField(TEXT("disabled_reason"), DisabledReason);
			}
			TArray<TSharedPtr<FJsonValue>> Actions;
			for (const FOrvexActionInfo& Info : Registry.GetActions(Namespace))
			{
				TSharedRef<FJsonObject> Action = MakeShared<FJsonObject>();
				Action->SetStringField(TEXT("name"), Info.ActionName);
				Action->SetStringField(TEXT("description"), Info.Description);
				Action->SetObjectField(TEXT("parameters"), Info.ParameterSchema);
				Actions.Add(MakeShared<FJsonValueObject>(Action));
			}
			Object->SetArrayField(TEXT("actions"), Actions);
			return Object;
		}
	}

	TSharedRef<FJsonObject> BuildActionCatalog(const FOrvexToolRegistry& Registry, const FString& OnlyNamespace)
	{
		TArray<TSharedPtr<FJsonValue>> Namespaces;
		for (const FString& Namespace : Registry.GetNamespaces())
		{
			if (OnlyNamespace.IsEmpty() || OnlyNamespace.Equals(Namespace))
			{
				Namespaces.Add(MakeShared<FJsonValueObject>(BuildNamespace(Registry, Namespace)));
			}
		}
		TSharedRef<FJsonObject> Catalog = MakeShared<FJsonObject>();
		Catalog->SetArrayField(TEXT("namespaces"), Namespaces);
		return Catalog;
	}
}
