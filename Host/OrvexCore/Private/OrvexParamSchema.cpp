#include "OrvexParamSchema.h"

#include "Dom/JsonValue.h"

const TCHAR* LexToString(EOrvexParamKind Kind)
{
	switch (Kind)
	{
	case EOrvexParamKind::None:
		return TEXT("None");
	case EOrvexParamKind::AssetPath:
		return TEXT("AssetPath");
	case EOrvexParamKind::DiskPath:
		return TEXT("DiskPath");
	case EOrvexParamKind::GameplayTag:
		return TEXT("GameplayTag");
	default:
		return TEXT("Other");
	}
}

FParamSchemaBuilder::FParamSchemaBuilder()
	: Schema(MakeShared<FJsonObject>())
{
}

void FParamSchemaBuilder::AddParam(const FString& Name, const FString& Type, const FString& Description, bool bRequired,
	const FString& Default, bool bHasDefault, std::initializer_list<const TCHAR*> Aliases, EOrvexParamKind Kind)
{
	TSharedRef<FJsonObject> Descriptor = MakeShared<FJsonObject>();
	Descriptor->SetStringField(TEXT("type"), Type);
	Descriptor->SetStringField(TEXT("description"), Description);
	Descriptor->SetBoolField(TEXT("required"), bRequired);
	if (bHasDefault)
	{
		Descriptor->SetStringField(TEXT("default"), Default);
	}
	if (Aliases.size() > 0)
	{
		TArray<TSharedPtr<FJsonValue>> AliasValues;
		for (const TCHAR* Alias : Aliases)
		{
			AliasValues.Add(MakeShared<FJsonValueString>(FString(Alias)));
		}
		Descriptor->SetArrayField(TEXT("aliases"), AliasValues);
	}
	if (Kind != EOrvexParamKind::None)
	{
		Descriptor->SetStringField(TEXT("kind"), LexToString(Kind));
	}
	Schema->SetObjectField(Name, Descriptor);
}

FParamSchemaBuilder& FParamSchemaBuilder::Required(const FString& Name, const FString& Type, const FString& Description)
{
	AddParam(Name, Type, Description, true, FString(), false, {}, EOrvexParamKind::None);
	return *this;
}

FParamSchemaBuilder& FParamSchemaBuilder::Optional(const FString& Name, const FString& Type, const FString& Description, const FString& Default)
{
	AddParam(Name, Type, Description, false, Default, !Default.IsEmpty(), {}, EOrvexParamKind::None);
	return *this;
}

FParamSchemaBuilder& FParamSchemaBuilder::RequiredAssetPath(const FString& Name, const FString& Description)
{
	AddParam(Name, TEXT("string"), Description, true, FString(), false, {}, EOrvexParamKind::AssetPath);
	return *this;
}

FParamSchemaBuilder& FParamSchemaBuilder::OptionalAssetPathWithDefault(const FString& Name, const FString& Description, const FString& Default)
{
	AddParam(Name, TEXT("string"), Description, false, Default, true, {}, EOrvexParamKind::AssetPath);
	return *this;
}
