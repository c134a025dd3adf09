#include "ProgramTools.h"

#include "ConfigOriginDescription.h"
#include "Dom/JsonValue.h"
#include "Host/HeaderClasses.h"
#include "OrvexMcpProtocol.h"
#include "OrvexParamSchema.h"
#include "SettingsDescription.h"
#include "UObject/Class.h"

namespace
{
	const TCHAR* const ConfigNamespace = TEXT("config");
	constexpr int32 DefaultClassLimit = 200;
	constexpr int32 MaxClassLimit = 1000;

	FOrvexDispatcherAnnotations Hints(bool bReadOnly, bool bDestructive, bool bIdempotent)
	{
		FOrvexDispatcherAnnotations Annotations;
		Annotations.bReadOnly = bReadOnly;
		Annotations.bDestructive = bDestructive;
		Annotations.bIdempotent = bIdempotent;
		return Annotations;
	}

	FOrvexActionResult BadParameter(const TCHAR* Name, const FString& Problem)
	{
		return FOrvexActionResult::Error(FString::Printf(TEXT("Invalid parameter '%s': %s"), Name, *Problem), -32602);
	}

	bool ReadInteger(const TSharedPtr<FJsonObject>& Params, const TCHAR* Name, int32 Default, int32 Min, int32 Max, int32& OutValue, FOrvexActionResult& OutError)
	{
		OutValue = Default;
		const TSharedPtr<FJsonValue> Field = Params->TryGetField(Name);
		if (!Field.IsValid())
		{
			return true;
		}
		const double Number = Field->Type == EJson::Number ? Field->AsNumber() : -1.0;
		if (Field->Type != EJson::Number || Number != static_cast<double>(static_cast<int64>(Number)) || Number < Min || Number > Max)
		{
			OutError = BadParameter(Name, Max == MAX_int32 ? FString::Printf(TEXT("must be an integer of at least %d"), Min)
				: FString::Printf(TEXT("must be an integer from %d to %d"), Min, Max));
			return false;
		}
		OutValue = static_cast<int32>(Number);
		return true;
	}

	FOrvexActionResult ListClasses(const TSharedPtr<FJsonObject>& Params)
	{
		FString Filter;
		Params->TryGetStringField(TEXT("filter"), Filter);
		int32 Offset = 0;
		int32 Limit = DefaultClassLimit;
		FOrvexActionResult Error;
		if (!ReadInteger(Params, TEXT("offset"), 0, 0, MAX_int32, Offset, Error) || !ReadInteger(Params, TEXT("limit"), DefaultClassLimit, 1, MaxClassLimit, Limit, Error))
		{
			return Error;
		}
		// Rows are described for the page alone.
		TArray<const UClass*> Matching;
		for (const UClass* Class : UE::Host::CollectSettingsClasses())
		{
			if (Filter.IsEmpty() || Class->GetName().Contains(Filter, ESearchCase::IgnoreCase)
				|| UE::Host::GetClassConfigSection(Class).Contains(Filter, ESearchCase::IgnoreCase))
			{
				Matching.Add(Class);
			}
		}
		TArray<TSharedPtr<FJsonValue>> Page;
		for (int32 Index = Offset; Index < Matching.Num() && Page.Num() < Limit; ++Index)
		{
			Page.Add(MakeShared<FJsonValueObject>(DescribeSettingsClassRow(Matching[Index])));
		}
		TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
		Result->SetNumberField(TEXT("total"), Matching.Num());
		Result->SetNumberField(TEXT("offset"), Offset);
		Result->SetNumberField(TEXT("limit"), Limit);
		Result->SetNumberField(TEXT("count"), Page.Num());
		Result->SetBoolField(TEXT("has_more"), static_cast<int64>(Offset) + Page.Num() < Matching.Num());
		Result->SetArrayField(TEXT("classes"), Page);
		return FOrvexActionResult::Success(Result);
	}

	FOrvexActionResult ShowClass(const TSharedPtr<FJsonObject>& Params)
	{
		FString Name;
		Params->TryGetStringField(TEXT("class"), Name);
		UClass* Class = Name.TrimStartAndEnd().IsEmpty() ? nullptr : FindSettingsClass(Name);
		if (!Class || !Class->HasAnyClassFlags(CLASS_Config))
		{
			return FOrvexActionResult::Error(FString::Printf(TEXT("Settings class '%s' not found (see project_settings_classes)"), *Name.TrimStartAndEnd()), -32602);
		}
		return FOrvexActionResult::Success(DescribeSettingsClass(Class));
	}

	FOrvexActionResult ShowOrigin(const TSharedPtr<FJsonObject>& Params)
	{
		FString Category;
		FString Section;
		FString Key;
		Params->TryGetStringField(TEXT("category"), Category);
		Params->TryGetStringField(TEXT("section"), Section);
		Params->TryGetStringField(TEXT("key"), Key);
		FString Error;
		const TSharedPtr<FJsonObject> Result = DescribeConfigOriginJson(Category, Section, Key, Error);
		return Result.IsValid() ? FOrvexActionResult::Success(Result) : FOrvexActionResult::Error(Error, -32602);
	}

	FOrvexMcpProgramTool MakeTool(const TCHAR* Name, const TCHAR* Title, const TCHAR* Description, const FParamSchemaBuilder& Schema,
		FOrvexActionResult (*Handler)(const TSharedPtr<FJsonObject>&))
	{
		FOrvexMcpProgramTool Tool;
		Tool.Name = Name;
		Tool.Title = Title;
		Tool.Description = Description;
		Tool.ParameterSchema = Schema.Build();
		Tool.Hints = Hints(true, false, true);
		Tool.RequiredNamespace = ConfigNamespace;
		Tool.Handler = FOrvexActionHandler::CreateStatic(Handler);
		return Tool;
	}
}

void AddProgramTools(FOrvexMcpSession& Session)
{
	// Six config actions only read; set_setting changes files, and writing the same value twice
	// leaves them as the first write did.
	for (const TCHAR* Action : {TEXT("resolve_setting"), TEXT("explain_setting"), TEXT("diff_from_default"), TEXT("search_config"), TEXT("get_section"), TEXT("get_config_files")})
	{
		Session.SetToolHints(ConfigNamespace, Action, Hints(true, false, true));
	}
	Session.SetToolHints(ConfigNamespace, TEXT("set_setting"), Hints(false, true, true));

	FParamSchemaBuilder Classes;
	Classes.Optional(TEXT("filter"), TEXT("string"), TEXT("Only classes whose name or config section contains this text (letter case ignored)."))
		.Optional(TEXT("offset"), TEXT("integer"), TEXT("Classes to skip (default 0)."), TEXT("0"))
		.Optional(TEXT("limit"), TEXT("integer"), TEXT("Classes to return, 1 to 1000 (default 200)."), TEXT("200"));
	Session.AddProgramTool(MakeTool(TEXT("project_settings_classes"), TEXT("Project: Settings classes"),
		TEXT("List the settings classes (UCLASS(config)) of the engine and the project, built-in and read from their Source headers, with their config section, "
			 "category, flags and header. Use a name from here as 'class' of config_set_setting and project_settings_class. "
			 "Returns {total, offset, limit, count, has_more, classes:[{name, section, config, flags, header, properties}]}."),
		Classes, &ListClasses));

	FParamSchemaBuilder Class;
	Class.Required(TEXT("class"), TEXT("string"), TEXT("Settings class: 'RendererSettings', 'URendererSettings' or '/Script/Engine.RendererSettings'."));
	Session.AddProgramTool(MakeTool(TEXT("project_settings_class"), TEXT("Project: Settings class"),
		TEXT("One settings class's config properties: C++ name, type, current value as text, linked console variable, whether a change needs a restart, "
			 "and the members whose type could not be read. Use the names as 'property' of config_set_setting. "
			 "Returns {name, section, config, flags, header, properties, config_properties:[{name, type, value, cvar?, restart_required, default_known?}], unread_properties}."),
		Class, &ShowClass));

	FParamSchemaBuilder Origin;
	Origin.Required(TEXT("category"), TEXT("string"), TEXT("Config category, e.g. 'Engine', 'Game', 'Input'."))
		.Required(TEXT("section"), TEXT("string"), TEXT("Section name without brackets, e.g. '/Script/Engine.RendererSettings'."))
		.Required(TEXT("key"), TEXT("string"), TEXT("Key, e.g. 'r.RayTracing'."));
	Session.AddProgramTool(MakeTool(TEXT("project_config_origin"), TEXT("Project: Config origin"),
		TEXT("Where a config value comes from: every line of every file the config cache merges for the key (engine base, platform files of the parent chain, "
			 "project default and platform files, user files, the saved file, --ini overrides), in merge order, with line numbers, and the file that gave the effective value. "
			 "Returns {category, section, key, found, effective_value?, effective_file?, entries:[{file, line, text, layer, effect}]}."),
		Origin, &ShowOrigin));
}
