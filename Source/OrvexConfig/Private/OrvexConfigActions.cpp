#include "OrvexConfigActions.h"

#include "Dom/JsonValue.h"
#include "HAL/FileManager.h"
#include "HAL/PlatformProperties.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"
#include "OrvexParamSchema.h"
#include "OrvexToolRegistry.h"

#include <filesystem>
#include <string_view>

namespace
{
	const TCHAR* const LayerEngineBase = TEXT("Engine Base");
	const TCHAR* const LayerProjectDefault = TEXT("Project Default");
	const TCHAR* const LayerUserSaved = TEXT("User Saved");

	// The editor's saved configuration folder of the running platform (LinuxEditor, MacEditor, ...).
	FString GetUserSavedConfigDir()
	{
		return FPaths::Combine(FPaths::Combine(FPaths::ProjectSavedDir(), TEXT("Config")), ANSI_TO_TCHAR(FPlatformProperties::PlatformName()));
	}

	void ScanConfigDirectory(const FString& Directory, const TCHAR* Level, const FString& Filter, TArray<TSharedPtr<FJsonValue>>& OutFiles)
	{
		TArray<FString> FileNames;
		IFileManager::Get().FindFiles(FileNames, *FPaths::Combine(Directory, TEXT("*.ini")), true, false);
		for (const FString& FileName : FileNames)
		{
			if (!Filter.IsEmpty() && !FileName.Contains(Filter, ESearchCase::IgnoreCase))
			{
				continue;
			}
			const FString Path = FPaths::Combine(Directory, FileName);
			TSharedRef<FJsonObject> Entry = MakeShared<FJsonObject>();
			Entry->SetStringField(TEXT("name"), FileName);
			Entry->SetStringField(TEXT("path"), Path);
			Entry->SetStringField(TEXT("hierarchy_level"), Level);
			Entry->SetNumberField(TEXT("size_bytes"), static_cast<double>(IFileManager::Get().FileSize(*Path)));
			OutFiles.Add(MakeShared<FJsonValueObject>(Entry));
		}
	}

	// A missing field, or one that is not text, reads as empty.
	FString ReadString(const TSharedPtr<FJsonObject>& Params, const TCHAR* Name)
	{
		FString Value;
		if (Params.IsValid())
		{
			Params->TryGetStringField(Name, Value);
		}
		return Value;
	}

	bool IsSectionHeader(const FString& TrimmedLine)
	{
		return TrimmedLine.StartsWith(TEXT("[")) && TrimmedLine.Contains(TEXT("]"));
	}

	// The text from the second character up to the first ']'.
	FString SectionNameOf(const FString& HeaderLine)
	{
		int32 Close = INDEX_NONE;
		HeaderLine.FindChar(TEXT(']'), Close);
		return HeaderLine.Mid(1, Close - 1);
	}

	bool SplitKeyLine(const FString& Line, FString& OutKey, FString& OutValue)
	{
		int32 Equals = INDEX_NONE;
		if (!Line.FindChar(TEXT('='), Equals))
		{
			return false;
		}
		OutKey = Line.Left(Equals).TrimStartAndEnd();
		OutValue = Line.Mid(Equals + 1).TrimStartAndEnd();
		return true;
	}

	bool StartsWithAnyOf(const FString& Text, const TCHAR* Characters)
	{
		if (Text.IsEmpty())
		{
			return false;
		}
		for (const TCHAR* Character = Characters; *Character; ++Character)
		{
			if (Text[0] == *Character)
			{
				return true;
			}
		}
		return false;
	}

	bool LoadLines(const FString& Path, TArray<FString>& OutLines)
	{
		FString Text;
		if (!FFileHelper::LoadFileToString(Text, *Path))
		{
			return false;
		}
		Text.ParseIntoArrayLines(OutLines, true);
		return true;
	}

	std::filesystem::path ToFilesystemPath(const FString& Path)
	{
		return std::filesystem::path(std::basic_string_view<TCHAR>(*Path, Path.Len()));
	}

	// The absolute form of a path with "." and ".." resolved and symbolic links followed as far as
	// the path exists.
	std::filesystem::path CanonicalPath(const FString& Path)
	{
		std::error_code Error;
		std::filesystem::path Canonical = std::filesystem::weakly_canonical(ToFilesystemPath(FPaths::ConvertRelativePathToFull(Path)), Error);
		if (Error)
		{
			return std::filesystem::path();
		}
		return Canonical;
	}

	bool IsInsideDirectory(const std::filesystem::path& Path, const std::filesystem::path& Directory)
	{
		if (Path.empty() || Directory.empty())
		{
			return false;
		}
		auto PathIt = Path.begin();
		for (auto DirIt = Directory.begin(); DirIt != Directory.end(); ++DirIt, ++PathIt)
		{
			if (DirIt->empty() && std::next(DirIt) == Directory.end())
			{
				break;
			}
			if (PathIt == Path.end() || *PathIt != *DirIt)
			{
				return false;
			}
		}
		return PathIt != Path.end();
	}

	// Config files may only be read from the engine config folder, the project config folder and
	// the project's saved config folder (platform subfolders included), so a name cannot reach
	// other INI-shaped files on the machine.
	bool IsInsideConfigFolders(const FString& Path)
	{
		const std::filesystem::path Target = CanonicalPath(Path);
		const FString Roots[] = {
			FPaths::EngineConfigDir(),
			FPaths::ProjectConfigDir(),
			FPaths::Combine(FPaths::ProjectSavedDir(), TEXT("Config")),
		};
		for (const FString& Root : Roots)
		{
			if (IsInsideDirectory(Target, CanonicalPath(Root)))
			{
				return true;
			}
		}
		return false;
	}

	const TCHAR* const CommonCategories[] = {TEXT("Engine"), TEXT("Game"), TEXT("Input"), TEXT("Editor")};

	constexpr int32 MaxSearchMatches = 100;

	using FValueTable = TMap<FString, TArray<FString>>;

	TSharedPtr<FJsonObject> MakeDiffEntry(const FString& Section, const FString& Key, const TCHAR* ChangeType,
		const TArray<FString>& ProjectValues, const TArray<FString>* EngineValues)
	{
		auto SetValues = [](const TSharedPtr<FJsonObject>& Entry, const TCHAR* Singular, const TCHAR* Plural, const TArray<FString>& Values)
		{
			if (Values.Num() == 1)
			{
				Entry->SetStringField(Singular, Values[0]);
				return;
			}
			TArray<TSharedPtr<FJsonValue>> Array;
			for (const FString& Value : Values)
			{
				Array.Add(MakeShared<FJsonValueString>(Value));
			}
			Entry->SetArrayField(Plural, Array);
		};

		TSharedPtr<FJsonObject> Entry = MakeShared<FJsonObject>();
		Entry->SetStringField(TEXT("section"), Section);
		Entry->SetStringField(TEXT("key"), Key);
		Entry->SetStringField(TEXT("change_type"), ChangeType);
		SetValues(Entry, TEXT("project_value"), TEXT("project_values"), ProjectValues);
		if (EngineValues)
		{
			SetValues(Entry, TEXT("engine_value"), TEXT("engine_values"), *EngineValues);
		}
		return Entry;
	}

	bool SameValuesIgnoringCase(const TArray<FString>& A, const TArray<FString>& B)
	{
		if (A.Num() != B.Num())
		{
			return false;
		}
		for (int32 Index = 0; Index < A.Num(); ++Index)
		{
			if (!A[Index].Equals(B[Index], ESearchCase::IgnoreCase))
			{
				return false;
			}
		}
		return true;
	}
}

void FOrvexConfigActions::RegisterActions(FOrvexToolRegistry& Registry)
{
	auto Register = [&Registry](const TCHAR* Name, const TCHAR* Description, FOrvexActionResult (*Handler)(const TSharedPtr<FJsonObject>&), const FParamSchemaBuilder& Schema)
	{
		Registry.RegisterAction(TEXT("config"), Name, Description, FOrvexActionHandler::CreateStatic(Handler), Schema.Build(), FString());
	};

	{
		FParamSchemaBuilder Schema;
		Schema.Required(TEXT("file"), TEXT("string"), TEXT("Config category (e.g. Engine, Game, Input)"))
			.Required(TEXT("section"), TEXT("string"), TEXT("Config section (e.g. /Script/Engine.RendererSettings)"))
			.Required(TEXT("key"), TEXT("string"), TEXT("Config key name"));
		Register(TEXT("resolve_setting"), TEXT("Get effective value of a config key across the full INI hierarchy"), &FOrvexConfigActions::ResolveSetting, Schema);
	}
	{
		FParamSchemaBuilder Schema;
		Schema.Optional(TEXT("file"), TEXT("string"), TEXT("Config category (e.g. Engine, Game)"))
			.Optional(TEXT("section"), TEXT("string"), TEXT("Config section"))
			.Optional(TEXT("key"), TEXT("string"), TEXT("Config key name"))
			.Optional(TEXT("setting"), TEXT("string"), TEXT("Convenience: search for this key across common categories"));
		Register(TEXT("explain_setting"), TEXT("Show where a config value comes from across Base->Default->User layers"), &FOrvexConfigActions::ExplainSetting, Schema);
	}
	{
		FParamSchemaBuilder Schema;
		Schema.Required(TEXT("file"), TEXT("string"), TEXT("Config category to diff (e.g. Engine, Game)"))
			.Optional(TEXT("section"), TEXT("string"), TEXT("Filter to a specific section"));
		Register(TEXT("diff_from_default"), TEXT("Show project config overrides vs engine defaults for a category"), &FOrvexConfigActions::DiffFromDefault, Schema);
	}
	{
		FParamSchemaBuilder Schema;
		Schema.Required(TEXT("query"), TEXT("string"), TEXT("Search text"))
			.Optional(TEXT("category"), TEXT("string"), TEXT("Filter to a config category"));
		Register(TEXT("search_config"), TEXT("Full-text search across all config files"), &FOrvexConfigActions::SearchConfig, Schema);
	}
	{
		FParamSchemaBuilder Schema;
		Schema.Required(TEXT("file"), TEXT("string"), TEXT("Config file name or category"))
			.Required(TEXT("section"), TEXT("string"), TEXT("Section name"));
		Register(TEXT("get_section"), TEXT("Read an entire config section from a specific file"), &FOrvexConfigActions::GetSection, Schema);
	}
	{
		FParamSchemaBuilder Schema;
		Schema.Optional(TEXT("category"), TEXT("string"), TEXT("Filter to a specific category"));
		Register(TEXT("get_config_files"), TEXT("List all config files with their hierarchy level"), &FOrvexConfigActions::GetConfigFiles, Schema);
	}
}

TArray<TTuple<FString, FString>> FOrvexConfigActions::GetConfigHierarchy(const FString& Category)
{
	const TTuple<const TCHAR*, FString> Layers[] = {
		MakeTuple(LayerEngineBase, FPaths::Combine(FPaths::EngineConfigDir(), FString::Printf(TEXT("Base%s.ini"), *Category))),
		MakeTuple(LayerProjectDefault, FPaths::Combine(FPaths::ProjectConfigDir(), FString::Printf(TEXT("Default%s.ini"), *Category))),
		MakeTuple(LayerUserSaved, FPaths::Combine(GetUserSavedConfigDir(), FString::Printf(TEXT("%s.ini"), *Category))),
	};

	TArray<TTuple<FString, FString>> Hierarchy;
	// A category is a bare name: path pieces in it would build layer paths outside the config folders.
	if (Category.Contains(TEXT("/")) || Category.Contains(TEXT("\\")) || Category.Contains(TEXT("..")))
	{
		return Hierarchy;
	}
	for (const TTuple<const TCHAR*, FString>& Layer : Layers)
	{
		if (FPaths::FileExists(Layer.Value))
		{
			Hierarchy.Add(MakeTuple(FString(Layer.Key), Layer.Value));
		}
	}
	return Hierarchy;
}

FString FOrvexConfigActions::ResolveConfigFilePath(const FString& Name)
{
	if (Name.StartsWith(TEXT("Base"), ESearchCase::IgnoreCase))
	{
		return FPaths::Combine(FPaths::EngineConfigDir(), Name + TEXT(".ini"));
	}
	if (Name.StartsWith(TEXT("Default"), ESearchCase::IgnoreCase))
	{
		return FPaths::Combine(FPaths::ProjectConfigDir(), Name + TEXT(".ini"));
	}
	if (Name.Contains(TEXT("/")) || Name.Contains(TEXT("\\")))
	{
		return Name;
	}
	const FString ProjectPath = FPaths::Combine(FPaths::ProjectConfigDir(), Name + TEXT(".ini"));
	if (FPaths::FileExists(ProjectPath))
	{
		return ProjectPath;
	}
	return FPaths::Combine(FPaths::EngineConfigDir(), Name + TEXT(".ini"));
}

FOrvexActionResult FOrvexConfigActions::GetConfigFiles(const TSharedPtr<FJsonObject>& Params)
{
	FString Filter;
	if (Params.IsValid() && Params->HasField(TEXT("category")))
	{
		Filter = Params->GetStringField(TEXT("category"));
	}

	TArray<TSharedPtr<FJsonValue>> Files;
	ScanConfigDirectory(FPaths::EngineConfigDir(), LayerEngineBase, Filter, Files);
	ScanConfigDirectory(FPaths::ProjectConfigDir(), LayerProjectDefault, Filter, Files);
	const FString UserDir = GetUserSavedConfigDir();
	if (FPaths::DirectoryExists(UserDir))
	{
		ScanConfigDirectory(UserDir, LayerUserSaved, Filter, Files);
	}

	TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
	if (!Filter.IsEmpty())
	{
		Result->SetStringField(TEXT("filter_category"), Filter);
	}
	Result->SetNumberField(TEXT("file_count"), Files.Num());
	Result->SetArrayField(TEXT("files"), Files);
	return FOrvexActionResult::Success(Result);
}

FOrvexActionResult FOrvexConfigActions::ResolveSetting(const TSharedPtr<FJsonObject>& Params)
{
	const FString File = ReadString(Params, TEXT("file"));
	const FString Section = ReadString(Params, TEXT("section"));
	const FString Key = ReadString(Params, TEXT("key"));

	FString Value;
	const bool bFound = GConfig->GetString(*Section, *Key, Value, GConfig->GetConfigFilename(*File));

	TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
	Result->SetStringField(TEXT("category"), File);
	Result->SetStringField(TEXT("section"), Section);
	Result->SetStringField(TEXT("key"), Key);
	Result->SetBoolField(TEXT("found"), bFound);
	if (bFound)
	{
		Result->SetStringField(TEXT("value"), Value);
	}
	return FOrvexActionResult::Success(Result);
}

FOrvexActionResult FOrvexConfigActions::ExplainSetting(const TSharedPtr<FJsonObject>& Params)
{
	FString File = ReadString(Params, TEXT("file"));
	FString Section = ReadString(Params, TEXT("section"));
	FString Key = ReadString(Params, TEXT("key"));

	if (File.IsEmpty() && Section.IsEmpty() && Key.IsEmpty())
	{
		const FString Setting = ReadString(Params, TEXT("setting"));
		if (!Setting.IsEmpty())
		{
			Key = Setting;
			for (const TCHAR* Category : CommonCategories)
			{
				const FString Filename = GConfig->GetConfigFilename(Category);
				TArray<FString> SectionNames;
				GConfig->GetSectionNames(Filename, SectionNames);
				FString Value;
				const FString* Hit = SectionNames.FindByPredicate([&](const FString& Name) { return GConfig->GetString(*Name, *Setting, Value, Filename); });
				if (Hit)
				{
					File = Category;
					Section = *Hit;
					break;
				}
			}
		}
	}

	TArray<TSharedPtr<FJsonValue>> Layers;
	FString Source;
	for (const TTuple<FString, FString>& Layer : GetConfigHierarchy(File))
	{
		TArray<FString> Lines;
		if (!LoadLines(Layer.Value, Lines))
		{
			continue;
		}
		bool bInSection = false;
		for (const FString& Line : Lines)
		{
			const FString Trimmed = Line.TrimStartAndEnd();
			if (IsSectionHeader(Trimmed))
			{
				bInSection = SectionNameOf(Trimmed).Equals(Section, ESearchCase::IgnoreCase);
				continue;
			}
			if (!bInSection || Trimmed.IsEmpty() || Trimmed.StartsWith(TEXT(";")))
			{
				continue;
			}
			FString LineKey;
			FString LineValue;
			if (!SplitKeyLine(Trimmed, LineKey, LineValue))
			{
				continue;
			}
			if (StartsWithAnyOf(LineKey, TEXT("+-.")))
			{
				LineKey.RightChopInline(1);
			}
			if (!LineKey.Equals(Key, ESearchCase::IgnoreCase))
			{
				continue;
			}
			TSharedRef<FJsonObject> Entry = MakeShared<FJsonObject>();
			Entry->SetStringField(TEXT("layer"), Layer.Key);
			Entry->SetStringField(TEXT("file"), Layer.Value);
			Entry->SetStringField(TEXT("value"), LineValue);
			Entry->SetStringField(TEXT("raw_line"), Trimmed);
			Layers.Add(MakeShared<FJsonValueObject>(Entry));
			Source = Layer.Key;
		}
	}

	FString EffectiveValue;
	const bool bFound = GConfig->GetString(*Section, *Key, EffectiveValue, GConfig->GetConfigFilename(*File));

	TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
	Result->SetStringField(TEXT("category"), File);
	Result->SetStringField(TEXT("section"), Section);
	Result->SetStringField(TEXT("key"), Key);
	Result->SetArrayField(TEXT("layers"), Layers);
	Result->SetBoolField(TEXT("found"), bFound);
	if (bFound)
	{
		// The cache's answer also merges layers this walk does not read (platform files, overrides).
		Result->SetStringField(TEXT("effective_value"), EffectiveValue);
		Result->SetStringField(TEXT("effective_source"), Source);
	}
	return FOrvexActionResult::Success(Result);
}

FOrvexActionResult FOrvexConfigActions::DiffFromDefault(const TSharedPtr<FJsonObject>& Params)
{
	FString Category = ReadString(Params, TEXT("file"));
	const FString Filter = Params.IsValid() && Params->HasField(TEXT("section")) ? ReadString(Params, TEXT("section")) : FString();

	if (Category.StartsWith(TEXT("Default"), ESearchCase::IgnoreCase))
	{
		Category.RightChopInline(7);
	}
	else if (Category.StartsWith(TEXT("Base"), ESearchCase::IgnoreCase))
	{
		Category.RightChopInline(4);
	}

	const FString Filename = GConfig->GetConfigFilename(*Category);
	if (Filename.IsEmpty())
	{
		return FOrvexActionResult::Error(FString::Printf(TEXT("No config found for category '%s'"), *Category), -32603);
	}

	// The engine's base file as written: operators are not applied, a "-" or "!" line adds its value too.
	TMap<FString, FValueTable> BaseTable;
	{
		FString BaseText;
		FFileHelper::LoadFileToString(BaseText, *FPaths::Combine(FPaths::EngineConfigDir(), TEXT("Base") + Category + TEXT(".ini")));
		TArray<FString> Lines;
		BaseText.ParseIntoArrayLines(Lines, true);
		FString CurrentSection;
		for (const FString& Line : Lines)
		{
			const FString Trimmed = Line.TrimStartAndEnd();
			if (Trimmed.IsEmpty() || Trimmed.StartsWith(TEXT(";")))
			{
				continue;
			}
			if (IsSectionHeader(Trimmed))
			{
				CurrentSection = SectionNameOf(Trimmed);
				continue;
			}
			FString Key;
			FString Value;
			if (CurrentSection.IsEmpty() || !SplitKeyLine(Trimmed, Key, Value))
			{
				continue;
			}
			if (StartsWithAnyOf(Key, TEXT("!+-.")))
			{
				Key.RightChopInline(1);
			}
			BaseTable.FindOrAdd(CurrentSection).FindOrAdd(Key).Add(Value);
		}
	}

	TArray<TSharedPtr<FJsonValue>> Diffs;
	TArray<FString> SectionNames;
	GConfig->GetSectionNames(Filename, SectionNames);
	const FValueTable EmptyTable;
	for (const FString& SectionName : SectionNames)
	{
		if (!Filter.IsEmpty() && !SectionName.Equals(Filter, ESearchCase::IgnoreCase))
		{
			continue;
		}
		FValueTable ProjectTable;
		TArray<FString> SectionLines;
		if (GConfig->GetSection(*SectionName, SectionLines, Filename))
		{
			for (const FString& Line : SectionLines)
			{
				FString Key;
				FString Value;
				if (SplitKeyLine(Line, Key, Value))
				{
					ProjectTable.FindOrAdd(Key).Add(Value);
				}
			}
		}
		const FValueTable* FoundBase = BaseTable.Find(SectionName);
		const FValueTable& BaseSection = FoundBase ? *FoundBase : EmptyTable;

		for (const TPair<FString, TArray<FString>>& Project : ProjectTable)
		{
			if (const TArray<FString>* Engine = BaseSection.Find(Project.Key))
			{
				if (!SameValuesIgnoringCase(Project.Value, *Engine))
				{
					Diffs.Add(MakeShared<FJsonValueObject>(MakeDiffEntry(SectionName, Project.Key, TEXT("modified"), Project.Value, Engine)));
				}
			}
			else
			{
				Diffs.Add(MakeShared<FJsonValueObject>(MakeDiffEntry(SectionName, Project.Key, TEXT("added"), Project.Value, nullptr)));
			}
		}
		for (const TPair<FString, TArray<FString>>& Engine : BaseSection)
		{
			if (!ProjectTable.Contains(Engine.Key))
			{
				Diffs.Add(MakeShared<FJsonValueObject>(MakeDiffEntry(SectionName, Engine.Key, TEXT("removed"), TArray<FString>(), &Engine.Value)));
			}
		}
	}

	TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
	Result->SetStringField(TEXT("category"), Category);
	if (!Filter.IsEmpty())
	{
		Result->SetStringField(TEXT("filter_section"), Filter);
	}
	Result->SetNumberField(TEXT("diff_count"), Diffs.Num());
	Result->SetArrayField(TEXT("diffs"), Diffs);
	return FOrvexActionResult::Success(Result);
}

FOrvexActionResult FOrvexConfigActions::SearchConfig(const TSharedPtr<FJsonObject>& Params)
{
	const FString Query = ReadString(Params, TEXT("query"));
	const FString Category = Params.IsValid() && Params->HasField(TEXT("category")) ? ReadString(Params, TEXT("category")) : FString();

	TArray<TSharedPtr<FJsonValue>> Matches;
	for (const FString& Directory : {FPaths::EngineConfigDir(), FPaths::ProjectConfigDir()})
	{
		TArray<FString> FileNames;
		IFileManager::Get().FindFiles(FileNames, *FPaths::Combine(Directory, TEXT("*.ini")), true, false);
		for (const FString& FileName : FileNames)
		{
			if (!Category.IsEmpty() && !FileName.Contains(Category, ESearchCase::IgnoreCase))
			{
				continue;
			}
			const FString Path = FPaths::Combine(Directory, FileName);
			TArray<FString> Lines;
			if (!LoadLines(Path, Lines) || Lines.Num() == 0 || Matches.Num() >= MaxSearchMatches)
			{
				continue;
			}
			FString CurrentSection;
			for (int32 Index = 0; Index < Lines.Num() && Matches.Num() < MaxSearchMatches; ++Index)
			{
				const FString& Line = Lines[Index];
				// Headers are recognised on the line as written: an indented header is not one here.
				if (Line.StartsWith(TEXT("[")) && Line.Contains(TEXT("]")))
				{
					CurrentSection = SectionNameOf(Line);
				}
				if (Line.Contains(Query, ESearchCase::IgnoreCase))
				{
					TSharedRef<FJsonObject> Match = MakeShared<FJsonObject>();
					Match->SetStringField(TEXT("file"), FileName);
					Match->SetStringField(TEXT("path"), Path);
					Match->SetStringField(TEXT("section"), CurrentSection);
					Match->SetNumberField(TEXT("line"), Index + 1);
					Match->SetStringField(TEXT("text"), Line.TrimStartAndEnd());
					Matches.Add(MakeShared<FJsonValueObject>(Match));
				}
			}
		}
	}

	TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
	Result->SetStringField(TEXT("query"), Query);
	Result->SetNumberField(TEXT("match_count"), Matches.Num());
	Result->SetArrayField(TEXT("matches"), Matches);
	return FOrvexActionResult::Success(Result);
}

FOrvexActionResult FOrvexConfigActions::GetSection(const TSharedPtr<FJsonObject>& Params)
{
	FString File = ReadString(Params, TEXT("file"));
	const FString Section = ReadString(Params, TEXT("section"));

	const bool bHasPrefix = File.StartsWith(TEXT("Default"), ESearchCase::IgnoreCase) || File.StartsWith(TEXT("Base"), ESearchCase::IgnoreCase);
	if (!bHasPrefix && !File.Contains(TEXT("/")) && !File.Contains(TEXT("\\")))
	{
		for (const TCHAR* Prefix : {TEXT("Default"), TEXT("Base")})
		{
			const FString Candidate = Prefix + File;
			const FString CandidatePath = ResolveConfigFilePath(Candidate);
			if (IsInsideConfigFolders(CandidatePath) && FPaths::FileExists(CandidatePath))
			{
				File = Candidate;
				break;
			}
		}
	}

	const FString Path = ResolveConfigFilePath(File);
	if (!IsInsideConfigFolders(Path))
	{
		return FOrvexActionResult::Error(FString::Printf(TEXT("Config file '%s' (resolved to '%s') lies outside the config folders"), *File, *Path), -32602);
	}
	if (!FPaths::FileExists(Path))
	{
		return FOrvexActionResult::Error(FString::Printf(TEXT("Config file not found: '%s' (resolved to '%s')"), *File, *Path), -32603);
	}
	TArray<FString> Lines;
	if (!LoadLines(Path, Lines))
	{
		return FOrvexActionResult::Error(FString::Printf(TEXT("Failed to read config file: '%s'"), *Path), -32603);
	}

	bool bInside = false;
	int32 EntryCount = 0;
	TSharedPtr<FJsonObject> Entries = MakeShared<FJsonObject>();
	for (const FString& Line : Lines)
	{
		const FString Trimmed = Line.TrimStartAndEnd();
		if (IsSectionHeader(Trimmed))
		{
			if (bInside)
			{
				break;
			}
			bInside = SectionNameOf(Trimmed).Equals(Section, ESearchCase::IgnoreCase);
			continue;
		}
		if (!bInside || Trimmed.IsEmpty() || Trimmed.StartsWith(TEXT(";")))
		{
			continue;
		}
		FString Key;
		FString Value;
		if (SplitKeyLine(Trimmed, Key, Value))
		{
			Entries->SetStringField(Key, Value);
			++EntryCount;
		}
	}
	if (!bInside)
	{
		return FOrvexActionResult::Error(FString::Printf(TEXT("Section '%s' not found in '%s'"), *Section, *File), -32603);
	}

	TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
	Result->SetStringField(TEXT("file"), File);
	Result->SetStringField(TEXT("file_path"), Path);
	Result->SetStringField(TEXT("section"), Section);
	Result->SetNumberField(TEXT("entry_count"), EntryCount);
	Result->SetObjectField(TEXT("entries"), Entries);
	return FOrvexActionResult::Success(Result);
}
