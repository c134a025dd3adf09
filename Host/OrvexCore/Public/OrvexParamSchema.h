// Parameter schemas: one JSON object per action mapping each parameter name to a descriptor
// {"type", "description", "required", "default"?, "aliases"?, "kind"?}, in the order added.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"

#include <initializer_list>

enum class EOrvexParamKind : uint8
{
	None = 0,
	AssetPath = 1,
	DiskPath = 2,
	GameplayTag = 3,
	Other = 4,
};

// The "kind" text of a descriptor; any value past the known ones reads "Other".
ORVEXCORE_API const TCHAR* LexToString(EOrvexParamKind Kind);

class ORVEXCORE_API FParamSchemaBuilder
{
public:
	FParamSchemaBuilder();

	void AddParam(const FString& Name, const FString& Type, const FString& Description, bool bRequired,
		const FString& Default, bool bHasDefault, std::initializer_list<const TCHAR*> Aliases, EOrvexParamKind Kind);

	FParamSchemaBuilder& Required(const FString& Name, const FString& Type, const FString& Description);
	FParamSchemaBuilder& Optional(const FString& Name, const FString& Type, const FString& Description, const FString& Default = FString());
	FParamSchemaBuilder& RequiredAssetPath(const FString& Name, const FString& Description);
	FParamSchemaBuilder& OptionalAssetPathWithDefault(const FString& Name, const FString& Description, const FString& Default);

	TSharedPtr<FJsonObject> Build() const { return Schema; }

private:
	TSharedPtr<FJsonObject> Schema;
};
