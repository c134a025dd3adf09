#include "ConfigOriginDescription.h"

#include "Dom/JsonValue.h"
#include "Host/ConfigOrigin.h"

TSharedPtr<FJsonObject> DescribeConfigOriginJson(const FString& Category, const FString& Section, const FString& Key, FString& OutError)
{
	UE::Host::FConfigOrigin Origin;
	if (!UE::Host::DescribeConfigOrigin(Category, Section, Key, Origin, OutError))
	{
		return nullptr;
	}
	TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
	Result->SetStringField(TEXT("category"), Origin.Category);
	Result->SetStringField(TEXT("section"), Section);
	Result->SetStringField(TEXT("key"), Key);
	Result->SetBoolField(TEXT("found"), Origin.bFound);
	if (Origin.bFound)
	{
		Result->SetStringField(TEXT("effective_value"), Origin.EffectiveValue);
		if (!Origin.EffectiveFile.IsEmpty())
		{
			Result->SetStringField(TEXT("effective_file"), Origin.EffectiveFile);
		}
	}
	TArray<TSharedPtr<FJsonValue>> Entries;
	for (const UE::Host::FConfigOriginEntry& Entry : Origin.Entries)
	{
		TSharedRef<FJsonObject> Row = MakeShared<FJsonObject>();
		Row->SetStringField(TEXT("file"), Entry.File);
		Row->SetNumberField(TEXT("line"), Entry.Line);
		Row->SetStringField(TEXT("text"), Entry.Text);
		Row->SetStringField(TEXT("layer"), Entry.Layer);
		Row->SetStringField(TEXT("effect"), Entry.Effect);
		Entries.Add(MakeShared<FJsonValueObject>(Row));
	}
	Result->SetArrayField(TEXT("entries"), Entries);
	return Result;
}
