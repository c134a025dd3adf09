#include "OrvexConfigActions.h"

#include "Containers/StringConv.h"
#include "CoreGlobals.h"
#include "Dom/JsonValue.h"
#include "Engine/DeveloperSettings.h"
#include "Engine/RendererSettings.h"
#include "GenericPlatform/GenericPlatformFile.h"
#include "HAL/FileManager.h"
#include "HAL/IConsoleManager.h"
#include "HAL/PlatformFileManager.h"
#include "HAL/PlatformProperties.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/FileHelper.h"
#include "Misc/OutputDeviceRedirector.h"
#include "Misc/Paths.h"
#include "OrvexDiagnostics.h"
#include "OrvexParamSchema.h"
#include "OrvexPropertyWriter.h"
#include "OrvexToolRegistry.h"
#include "UObject/Class.h"
#include "UObject/EnumProperty.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UnrealType.h"

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

	// The category as the config cache spells it ("engine" gives "Engine"), so that file names built
	// from it exist on a case-sensitive file system; the text as given for a name the cache does not
	// know.
	FString CacheSpelling(const FString& Category)
	{
		if (Category.IsEmpty())
		{
			return Category;
		}
		const FString CacheName = FPaths::GetBaseFilename(GConfig->GetConfigFilename(*Category));
		return CacheName.Equals(Category, ESearchCase::IgnoreCase) ? CacheName : Category;
	}

	int32 HexDigit(TCHAR C)
	{
		if (C >= TEXT('0') && C <= TEXT('9'))
		{
			return C - TEXT('0');
		}
		if (C >= TEXT('a') && C <= TEXT('f'))
		{
			return C - TEXT('a') + 10;
		}
		if (C >= TEXT('A') && C <= TEXT('F'))
		{
			return C - TEXT('A') + 10;
		}
		return -1;
	}

	void AppendCodePoint(FString& Out, uint32 CodePoint)
	{
		if (CodePoint == 0)
		{
			return;
		}
		if (CodePoint < 0x10000)
		{
			Out.AppendChar(static_cast<TCHAR>(CodePoint));
		}
		else if (CodePoint <= 0x10FFFF)
		{
			CodePoint -= 0x10000;
			Out.AppendChar(static_cast<TCHAR>(0xD800 + (CodePoint >> 10)));
			Out.AppendChar(static_cast<TCHAR>(0xDC00 + (CodePoint & 0x3FF)));
		}
		else
		{
			Out.AppendChar(static_cast<TCHAR>(0xFFFD));
		}
	}

	// The text between the opening quote at Value[0] and the closing one, escapes resolved.
	FString UnquoteValue(const FString& Value)
	{
		FString Result;
		const int32 Length = Value.Len();
		int32 Index = 1;
		while (Index < Length && Value[Index] != TEXT('"'))
		{
			const TCHAR C = Value[Index];
			if (C != TEXT('\\') || Index + 1 >= Length)
			{
				Result.AppendChar(C);
				++Index;
				continue;
			}
			const TCHAR Escaped = Value[Index + 1];
			const int32 Fixed = Escaped == TEXT('u') ? 4 : Escaped == TEXT('U') ? 8 : 0;
			uint32 CodePoint = 0;
			int32 Digits = 0;
			if (Escaped == TEXT('\\') || Escaped == TEXT('"') || Escaped == TEXT('\''))
			{
				Result.AppendChar(Escaped);
				Index += 2;
			}
			else if (Escaped == TEXT('n') || Escaped == TEXT('r') || Escaped == TEXT('t'))
			{
				Result.AppendChar(Escaped == TEXT('n') ? TEXT('\n') : Escaped == TEXT('r') ? TEXT('\r') : TEXT('\t'));
				Index += 2;
			}
			else if (Fixed > 0)
			{
				while (Digits < Fixed && Index + 2 + Digits < Length && HexDigit(Value[Index + 2 + Digits]) >= 0)
				{
					CodePoint = (CodePoint << 4) | static_cast<uint32>(HexDigit(Value[Index + 2 + Digits]));
					++Digits;
				}
				if (Digits == Fixed)
				{
					AppendCodePoint(Result, CodePoint);
					Index += 2 + Fixed;
				}
				else
				{
					Result.AppendChar(C);
					++Index;
				}
			}
			else if (Escaped == TEXT('x'))
			{
				while (Index + 2 + Digits < Length && HexDigit(Value[Index + 2 + Digits]) >= 0)
				{
					CodePoint = CodePoint > 0x10FFFF ? CodePoint : (CodePoint << 4) | static_cast<uint32>(HexDigit(Value[Index + 2 + Digits]));
					++Digits;
				}
				if (Digits > 0)
				{
					AppendCodePoint(Result, CodePoint);
					Index += 2 + Digits;
				}
				else
				{
					Result.AppendChar(C);
					++Index;
				}
			}
			else if (Escaped >= TEXT('0') && Escaped <= TEXT('7'))
			{
				while (Digits < 3 && Index + 1 + Digits < Length && Value[Index + 1 + Digits] >= TEXT('0') && Value[Index + 1 + Digits] <= TEXT('7'))
				{
					CodePoint = (CodePoint << 3) | static_cast<uint32>(Value[Index + 1 + Digits] - TEXT('0'));
					++Digits;
				}
				AppendCodePoint(Result, CodePoint);
				Index += 1 + Digits;
			}
			else
			{
				// An escape the cache does not know keeps its backslash.
				Result.AppendChar(C);
				++Index;
			}
		}
		return Result;
	}

	// A base file's value as the config cache holds it: "//" outside quotes starts a comment, a
	// quoted value loses its quotes (escapes resolved, text after the closing quote dropped), the
	// rest is trimmed, and %-tokens expand as the cache's values do.
	FString ReadValueAsCache(const FString& RawValue)
	{
		FString Value = RawValue;
		bool bQuoted = false;
		for (int32 Index = 0; Index + 1 < Value.Len(); ++Index)
		{
			if (Value[Index] == TEXT('"'))
			{
				bQuoted = !bQuoted;
			}
			else if (!bQuoted && Value[Index] == TEXT('/') && Value[Index + 1] == TEXT('/'))
			{
				Value.LeftInline(Index);
				break;
			}
		}
		Value.TrimStartAndEndInline();
		if (Value.StartsWith(TEXT("\""), ESearchCase::CaseSensitive))
		{
			Value = UnquoteValue(Value);
		}
		return FConfigValue(Value).GetValue();
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

	// Through the engine's UTF-8 conversion, which cannot fail (an unpaired surrogate is replaced);
	// the standard library's conversion from UTF-16 throws on one.
	std::filesystem::path ToFilesystemPath(const FString& Path)
	{
		const FTCHARToUTF8 Utf8(*Path, Path.Len());
		return std::filesystem::path(std::u8string_view(reinterpret_cast<const char8_t*>(Utf8.Get()), static_cast<size_t>(Utf8.Length())));
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

	// Every push to a console variable from a settings property uses this set-by priority.
	const EConsoleVariableFlags SettingsSetBy = static_cast<EConsoleVariableFlags>(0x04000000);

	// The engine's text form of a property's value on an object.
	FString ExportPropertyText(UObject* Object, const FProperty* Property)
	{
		FString Text;
		Property->ExportText_InContainer(0, Text, Object, nullptr, Object, 0);
		return Text;
	}

	bool JsonTruthy(const TSharedPtr<FJsonValue>& Value)
	{
		if (!Value.IsValid())
		{
			return false;
		}
		switch (Value->Type)
		{
		case EJson::String:
		{
			const FString Lower = Value->AsString().ToLower();
			return Lower == TEXT("true") || Lower == TEXT("1") || Lower == TEXT("yes");
		}
		case EJson::Number:
			return Value->AsNumber() != 0.0;
		case EJson::Boolean:
			return Value->AsBool();
		default:
			return false;
		}
	}

	void ExportSettingToConsoleVariable(UObject* DefaultObject, const FProperty* Property)
	{
		const FString& CVarName = Property->GetMetaData(TEXT("ConsoleVariable"));
		if (CVarName.IsEmpty())
		{
			return;
		}
		IConsoleVariable* CVar = IConsoleManager::Get().FindConsoleVariable(*CVarName);
		if (!CVar || (CVar->GetFlags() & ECVF_ReadOnly) != 0)
		{
			return;
		}
		const void* Value = Property->ContainerPtrToValuePtr<void>(DefaultObject, 0);
		if (const FBoolProperty* BoolProperty = CastField<FBoolProperty>(Property))
		{
			CVar->Set(*FString::Printf(TEXT("%d"), BoolProperty->GetPropertyValue(Value) ? 1 : 0), SettingsSetBy, NAME_None);
		}
		else if (const FEnumProperty* EnumProperty = CastField<FEnumProperty>(Property))
		{
			const int32 Underlying = static_cast<int32>(EnumProperty->GetUnderlyingProperty()->GetSignedIntPropertyValue(Value));
			CVar->Set(*FString::Printf(TEXT("%d"), Underlying), SettingsSetBy, NAME_None);
		}
		else if (const FNumericProperty* NumericProperty = CastField<FNumericProperty>(Property))
		{
			if (NumericProperty->IsFloatingPoint())
			{
				const float Number = static_cast<float>(NumericProperty->GetFloatingPointPropertyValue(Value));
				CVar->Set(*FString::Printf(TEXT("%g"), Number), SettingsSetBy, NAME_None);
			}
			else if (NumericProperty->IsInteger())
			{
				const int32 Number = static_cast<int32>(NumericProperty->GetSignedIntPropertyValue(Value));
				CVar->Set(*FString::Printf(TEXT("%d"), Number), SettingsSetBy, NAME_None);
			}
		}
		else if (const FStrProperty* StrProperty = CastField<FStrProperty>(Property))
		{
			CVar->Set(*StrProperty->GetPropertyValue(Value), SettingsSetBy, NAME_None);
		}
	}

	// The file a persistence method writes, for checking afterwards that it could be written.
	FString PersistTargetFile(UObject* DefaultObject, const FString& Method)
	{
		if (Method == TEXT("UpdateSinglePropertyInConfigFile") || Method == TEXT("TryUpdateDefaultConfigFile"))
		{
			return FPaths::ConvertRelativePathToFull(DefaultObject->GetDefaultConfigFilename());
		}
		if (Method == TEXT("UpdateGlobalUserConfigFile"))
		{
			return DefaultObject->GetGlobalUserConfigFilename();
		}
		if (Method == TEXT("UpdateProjectUserConfigFile"))
		{
			return DefaultObject->GetProjectUserConfigFilename();
		}
		const FString ConfigName = DefaultObject->GetClass()->GetConfigName();
		if (ConfigName.Contains(TEXT("/")))
		{
			return ConfigName;
		}
		return FPaths::Combine(FPaths::GeneratedConfigDir(), ANSI_TO_TCHAR(FPlatformProperties::PlatformName()), ConfigName + TEXT(".ini"));
	}

	// Most of the engine's config writers report a file they could not write only in the log: the
	// first config warning logged while one property is saved says why it was not.
	class FConfigWarningCapture final : public FOutputDevice
	{
	public:
		FConfigWarningCapture()
		{
			GLog->AddOutputDevice(this);
		}
		virtual ~FConfigWarningCapture() override
		{
			GLog->RemoveOutputDevice(this);
		}
		// Lines are then handed over as they are logged, not later from a buffer.
		virtual bool CanBeUsedOnAnyThread() const override
		{
			return true;
		}
		using FOutputDevice::Serialize;
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			const ELogVerbosity::Type Level = static_cast<ELogVerbosity::Type>(Verbosity & ELogVerbosity::VerbosityMask);
			if (FirstWarning.IsEmpty() && V && Level != ELogVerbosity::NoLogging && Level <= ELogVerbosity::Warning && Category == FName(TEXT("LogConfig")))
			{
				FirstWarning = V;
			}
		}

		FString FirstWarning;
	};

	// The method the class's config flags and the property's shape select.
	FString SelectPersistMethod(const UClass* Class, const FProperty* Property)
	{
		if (Class->HasAnyClassFlags(CLASS_DefaultConfig))
		{
			const bool bSingleValue = Property->ArrayDim == 1 && !CastField<FArrayProperty>(Property) && !CastField<FSetProperty>(Property)
				&& !CastField<FMapProperty>(Property);
			return bSingleValue ? TEXT("UpdateSinglePropertyInConfigFile") : TEXT("TryUpdateDefaultConfigFile");
		}
		if (Class->HasAnyClassFlags(CLASS_GlobalUserConfig))
		{
			return TEXT("UpdateGlobalUserConfigFile");
		}
		return Class->HasAnyClassFlags(CLASS_ProjectUserConfig) ? TEXT("UpdateProjectUserConfigFile") : TEXT("SaveConfig");
	}

	// Why the file that saving the property writes cannot be written, before anything changes: a
	// read-only file is one source control has not checked out, the user's to unlock, not ours.
	// Empty when it can be written.
	FString FindReadOnlyTarget(UObject* DefaultObject, const FProperty* Property)
	{
		const FString Target = PersistTargetFile(DefaultObject, SelectPersistMethod(DefaultObject->GetClass(), Property));
		IPlatformFile& PlatformFile = FPlatformFileManager::Get().GetPlatformFile();
		if (PlatformFile.FileExists(*Target) && PlatformFile.IsReadOnly(*Target))
		{
			return FString::Printf(TEXT("'%s' is read-only; check it out or make it writable first"), *Target);
		}
		return FString();
	}

	// Saves one property with the method the class's config flags and the property's shape select,
	// and names the method. OutPersistError, when given, receives why the file was not written.
	FString PersistSettingsProperty(UObject* DefaultObject, const FProperty* Property, FString* OutPersistError = nullptr)
	{
		const FString Method = SelectPersistMethod(DefaultObject->GetClass(), Property);
		const FString Target = PersistTargetFile(DefaultObject, Method);
		IPlatformFile& PlatformFile = FPlatformFileManager::Get().GetPlatformFile();
		const FString ReadOnly = FindReadOnlyTarget(DefaultObject, Property);
		if (!ReadOnly.IsEmpty())
		{
			if (OutPersistError)
			{
				*OutPersistError = ReadOnly;
			}
			return Method;
		}

		bool bReportedFailure = false;
		FConfigWarningCapture Warnings;
		if (Method == TEXT("UpdateSinglePropertyInConfigFile"))
		{
			DefaultObject->UpdateSinglePropertyInConfigFile(Property, DefaultObject->GetDefaultConfigFilename());
		}
		else if (Method == TEXT("TryUpdateDefaultConfigFile"))
		{
			bReportedFailure = !DefaultObject->TryUpdateDefaultConfigFile(TEXT(""), true);
		}
		else if (Method == TEXT("UpdateGlobalUserConfigFile"))
		{
			DefaultObject->UpdateGlobalUserConfigFile();
		}
		else if (Method == TEXT("UpdateProjectUserConfigFile"))
		{
			DefaultObject->UpdateProjectUserConfigFile();
		}
		else
		{
			DefaultObject->SaveConfig(CPF_Config, nullptr, GConfig, true);
		}

		if (OutPersistError)
		{
			// Buffered log lines reach the devices on a flush.
			GLog->Flush();
			// The engine's save calls do not all report failure, so a file that still cannot be written
			// counts as not persisted.
			if (bReportedFailure)
			{
				*OutPersistError = Warnings.FirstWarning.IsEmpty() ? FString::Printf(TEXT("%s could not write '%s'"), *Method, *Target) : Warnings.FirstWarning;
			}
			else if (PlatformFile.IsReadOnly(*Target))
			{
				*OutPersistError = FString::Printf(TEXT("'%s' is read-only; check it out or make it writable first"), *Target);
			}
			else if (Method != TEXT("SaveConfig") && !FPaths::FileExists(Target))
			{
				// SaveConfig may rightly delete a saved file left empty; the other methods always leave one.
				*OutPersistError = FString::Printf(TEXT("'%s' could not be created"), *Target);
			}
			else if (!Warnings.FirstWarning.IsEmpty())
			{
				*OutPersistError = Warnings.FirstWarning;
			}
		}
		return Method;
	}

	// Gives the properties pre-emption changed their previous values back, and their console
	// variables with them.
	void UndoPreemption(UObject* DefaultObject, const TArray<const FProperty*>& AutoChanged, const TArray<FString>& PreviousValues)
	{
		for (int32 Undo = 0; Undo < AutoChanged.Num() && Undo < PreviousValues.Num(); ++Undo)
		{
			if (AutoChanged[Undo]->ValidateImportFlags(0))
			{
				AutoChanged[Undo]->ImportText_InContainer(*PreviousValues[Undo], DefaultObject, DefaultObject, 0);
			}
			ExportSettingToConsoleVariable(DefaultObject, AutoChanged[Undo]);
		}
	}

	// What follows a change of the property's value: the class's own change handling, unattended,
	// and the linked console variable of a developer-settings class.
	void ReactToChange(UObject* DefaultObject, FProperty* Property, bool bPostEditChange, bool bDeveloperSettings)
	{
		if (bPostEditChange)
		{
			Orvex::Diagnostics::FScopedUnattendedScript Unattended;
			FPropertyChangedEvent ChangedEvent(Property, EPropertyChangeType::ValueSet);
			DefaultObject->PostEditChangeProperty(ChangedEvent);
		}
		if (bDeveloperSettings)
		{
			ExportSettingToConsoleVariable(DefaultObject, Property);
		}
	}

	// A write that could not be persisted is taken back: the property, what pre-emption changed
	// for it, the class's own reaction and the linked console variable.
	void RestoreUnpersisted(UObject* DefaultObject, FProperty* Property, const FString& OldValue, const TArray<const FProperty*>& AutoChanged,
		const TArray<FString>& PreviousValues, bool bPostEditChange, bool bDeveloperSettings)
	{
		if (Property->ValidateImportFlags(0))
		{
			Property->ImportText_InContainer(*OldValue, DefaultObject, DefaultObject, 0);
		}
		UndoPreemption(DefaultObject, AutoChanged, PreviousValues);
		ReactToChange(DefaultObject, Property, bPostEditChange, bDeveloperSettings);
	}

	void RecordPreempted(UObject* DefaultObject, const TCHAR* PropertyName, TArray<const FProperty*>& AutoChanged, TArray<FString>& PreviousValues)
	{
		if (const FProperty* Property = URendererSettings::StaticClass()->FindPropertyByName(PropertyName))
		{
			AutoChanged.Add(Property);
			PreviousValues.Add(ExportPropertyText(DefaultObject, Property));
		}
	}

	// Applies, before a renderer-settings write, the dependent changes the engine would ask about in
	// a dialog during change handling, and refuses the one combination it cannot resolve.
	void PreemptSettingsDialogs(UObject* DefaultObject, const FProperty* Property, const TSharedPtr<FJsonValue>& Value,
		TArray<const FProperty*>& AutoChanged, TArray<FString>& PreviousValues, FString& Error)
	{
		if (!DefaultObject->GetClass()->IsChildOf(URendererSettings::StaticClass()))
		{
			return;
		}
		URendererSettings* Settings = static_cast<URendererSettings*>(DefaultObject);
		const FName Name = Property->GetFName();

		if (Name == FName(TEXT("bEnableRayTracing")) && JsonTruthy(Value) && !Settings->bSupportSkinCacheShaders)
		{
			RecordPreempted(DefaultObject, TEXT("bSupportSkinCacheShaders"), AutoChanged, PreviousValues);
			Settings->bSupportSkinCacheShaders = true;
		}

		if (Name == FName(TEXT("bSupportSkinCacheShaders")) && Settings->bEnableRayTracing && Value.IsValid() && !JsonTruthy(Value))
		{
			Error = TEXT("Ray tracing is enabled and requires skin cache shaders; disable bEnableRayTracing first");
		}
		else if (Name == FName(TEXT("DynamicGlobalIllumination")) && Value.IsValid() && Value->Type == EJson::String
			&& Value->AsString().Contains(TEXT("Lumen"), ESearchCase::IgnoreCase))
		{
			if (Settings->Reflections != EReflectionMethod::Lumen)
			{
				RecordPreempted(DefaultObject, TEXT("Reflections"), AutoChanged, PreviousValues);
				Settings->Reflections = EReflectionMethod::Lumen;
				if (IConsoleVariable* CVar = IConsoleManager::Get().FindConsoleVariable(TEXT("r.ReflectionMethod")))
				{
					CVar->Set(*FString::Printf(TEXT("%d"), 1), SettingsSetBy, NAME_None);
				}
			}
			if (!Settings->bGenerateMeshDistanceFields)
			{
				RecordPreempted(DefaultObject, TEXT("bGenerateMeshDistanceFields"), AutoChanged, PreviousValues);
				Settings->bGenerateMeshDistanceFields = true;
			}
		}
	}

	UClass* FindSettingsClass(const FString& ClassText)
	{
		FString Name = ClassText.TrimStartAndEnd();
		if (Name.StartsWith(TEXT("[")))
		{
			Name.RightChopInline(1);
		}
		if (Name.EndsWith(TEXT("]")))
		{
			Name.LeftChopInline(1);
		}
		if (Name.StartsWith(TEXT("/")))
		{
			if (UClass* Found = Cast<UClass>(StaticFindObject(UClass::StaticClass(), nullptr, *Name)))
			{
				return Found;
			}
			int32 LastDot = INDEX_NONE;
			if (Name.FindLastChar(TEXT('.'), LastDot))
			{
				Name = Name.Mid(LastDot + 1);
			}
		}
		TArray<FString> Candidates = {Name};
		if (Name.Len() >= 2 && (Name[0] == TEXT('U') || Name[0] == TEXT('A')) && FChar::IsUpper(Name[1]))
		{
			Candidates.Add(Name.Mid(1));
		}
		for (const FString& Candidate : Candidates)
		{
			UObject* Hit = StaticFindFirstObject(UClass::StaticClass(), *Candidate, EFindFirstObjectOptions::NativeFirst, ELogVerbosity::NoLogging);
			if (UClass* Found = Cast<UClass>(Hit))
			{
				return Found;
			}
		}
		return nullptr;
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
	{
		FParamSchemaBuilder Schema;
		Schema.Optional(TEXT("class"), TEXT("string"), TEXT("Settings class (required unless section): 'RendererSettings', 'URendererSettings' or '/Script/Engine.RendererSettings'. The ini section name is accepted too (alias: section)."))
			.Optional(TEXT("section"), TEXT("string"), TEXT("Alias of class, e.g. '/Script/Engine.RendererSettings'."))
			.Optional(TEXT("property"), TEXT("string"), TEXT("Config property name (C++ name, case-insensitive). Use with value."))
			.Optional(TEXT("value"), TEXT("any"), TEXT("New value: bool/number/string/enum name/array/object (structs as {field:value} or text form)."))
			.Optional(TEXT("properties"), TEXT("object"), TEXT("Batch: {PropertyName: value, ...} instead of property+value."))
			.Optional(TEXT("post_edit_change"), TEXT("bool"), TEXT("Fire PostEditChangeProperty on the class default object (default true; runs the class's own side effects)."), TEXT("true"))
			.Optional(TEXT("dry_run"), TEXT("bool"), TEXT("Resolve class/property, report old value, ini file and restart_required without writing."), TEXT("false"));
		Register(TEXT("set_setting"),
			TEXT("Write a Project/Editor Settings value: sets a config UPROPERTY on a UCLASS(config) settings class default object (URendererSettings, UGameMapsSettings, any UDeveloperSettings), fires PostEditChange, pushes linked console variables and persists it the way the Project Settings editor does (DefaultConfig classes \u2192 Config/Default<Category>.ini, single-key update; containers rewrite the section). Examples: {class:'RendererSettings', property:'bEnableRayTracing', value:true}, {class:'GameMapsSettings', property:'GlobalDefaultGameMode', value:'/Game/BP_MyGameMode.BP_MyGameMode_C'}. Engine dialogs in PostEditChange are pre-empted (ray tracing auto-enables skin cache shaders; Lumen GI auto-enables Lumen reflections + mesh distance fields) and listed in auto_changed. Returns {class, ini_file, results:[{property, old_value, new_value, restart_required, cvar?, written, error?}], auto_changed, persisted}."),
			&FOrvexConfigActions::SetSetting, Schema);
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
	for (const TTuple<FString, FString>& Layer : GetConfigHierarchy(CacheSpelling(File)))
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

	// The engine names a file for any category, so only the cache's sections tell a known one.
	const FString Filename = GConfig->GetConfigFilename(*Category);
	TArray<FString> SectionNames;
	if (!GConfig->GetSectionNames(Filename, SectionNames))
	{
		return FOrvexActionResult::Error(FString::Printf(TEXT("No config found for category '%s'"), *Category), -32603);
	}

	// The engine's defaults as written in Base.ini, which every category merges, and then in the
	// category's base file: operators are not applied, a "-" or "!" line adds its value too. Values are
	// read the way the cache reads them, so that a quoted default equals the cache's unquoted value.
	TMap<FString, FValueTable> BaseTable;
	// How many of a key's first values came from Base.ini: a plain line of the category's base file
	// replaces them, as the cache's merge does.
	TMap<FString, TMap<FString, int32>> FromAbsoluteBase;
	for (const FString& BaseName : {FString(TEXT("Base")), TEXT("Base") + CacheSpelling(Category)})
	{
		const bool bAbsoluteBase = BaseName == TEXT("Base");
		FString BaseText;
		FFileHelper::LoadFileToString(BaseText, *FPaths::Combine(FPaths::EngineConfigDir(), BaseName + TEXT(".ini")));
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
			// The cache reads Base.ini as a plain file, where an operator character stays part of the key.
			const bool bOperator = !bAbsoluteBase && StartsWithAnyOf(Key, TEXT("!+-."));
			if (bOperator)
			{
				Key.RightChopInline(1);
			}
			TArray<FString>& Values = BaseTable.FindOrAdd(CurrentSection).FindOrAdd(Key);
			int32& AbsoluteBaseCount = FromAbsoluteBase.FindOrAdd(CurrentSection).FindOrAdd(Key);
			if (bAbsoluteBase)
			{
				++AbsoluteBaseCount;
			}
			else if (!bOperator && AbsoluteBaseCount > 0)
			{
				Values.RemoveAt(0, AbsoluteBaseCount);
				AbsoluteBaseCount = 0;
			}
			Values.Add(ReadValueAsCache(Value));
		}
	}

	TArray<TSharedPtr<FJsonValue>> Diffs;
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
			FString Text;
			if (!FFileHelper::LoadFileToString(Text, *Path) || Matches.Num() >= MaxSearchMatches)
			{
				continue;
			}
			// A file whose text does not hold the query has no matching line: skip splitting it.
			if (!Text.Contains(Query, ESearchCase::IgnoreCase))
			{
				continue;
			}
			TArray<FString> Lines;
			Text.ParseIntoArrayLines(Lines, true);
			if (Lines.Num() == 0)
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

	// A file name as get_config_files lists it ("DefaultEngine.ini") names the same file as its
	// name without the extension; a path keeps it.
	if (!File.Contains(TEXT("/")) && !File.Contains(TEXT("\\")) && File.EndsWith(TEXT(".ini"), ESearchCase::IgnoreCase))
	{
		File.LeftChopInline(4);
	}

	const bool bHasPrefix = File.StartsWith(TEXT("Default"), ESearchCase::IgnoreCase) || File.StartsWith(TEXT("Base"), ESearchCase::IgnoreCase);
	if (!bHasPrefix && !File.Contains(TEXT("/")) && !File.Contains(TEXT("\\")))
	{
		const FString Spelled = CacheSpelling(File);
		for (const TCHAR* Prefix : {TEXT("Default"), TEXT("Base")})
		{
			const FString Candidate = Prefix + Spelled;
			const FString CandidatePath = ResolveConfigFilePath(Candidate);
			if (IsInsideConfigFolders(CandidatePath) && FPaths::FileExists(CandidatePath))
			{
				File = Candidate;
				break;
			}
		}
	}

	FString Path = ResolveConfigFilePath(File);
	if ((File.Contains(TEXT("/")) || File.Contains(TEXT("\\"))) && FPaths::IsRelative(Path))
	{
		// A relative path names a file of the project (Config/DefaultEngine.ini), not of the
		// process's working folder.
		Path = FPaths::ConvertRelativePathToFull(FPaths::ProjectDir(), Path);
	}
	const FString FullPath = FPaths::ConvertRelativePathToFull(Path);
	if (!IsInsideConfigFolders(Path))
	{
		return FOrvexActionResult::Error(FString::Printf(TEXT("Config file '%s' (resolved to '%s') lies outside the config folders"), *File, *FullPath), -32602);
	}
	if (!FPaths::FileExists(Path))
	{
		return FOrvexActionResult::Error(FString::Printf(TEXT("Config file not found: '%s' (resolved to '%s')"), *File, *FullPath), -32603);
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

FOrvexActionResult FOrvexConfigActions::SetSetting(const TSharedPtr<FJsonObject>& Params)
{
	if (!Params.IsValid())
	{
		return FOrvexActionResult::Error(TEXT("Missing params"), -32602);
	}

	// A blank "class" does not fall back to "section": the emptiness test runs before trimming.
	FString ClassText;
	if (!Params->TryGetStringField(TEXT("class"), ClassText) || ClassText.IsEmpty())
	{
		ClassText.Empty();
		Params->TryGetStringField(TEXT("section"), ClassText);
	}
	ClassText.TrimStartAndEndInline();
	if (ClassText.IsEmpty())
	{
		return FOrvexActionResult::Error(TEXT("'class' (or 'section') is required, e.g. 'RendererSettings' or '/Script/Engine.RendererSettings'"), -32602);
	}

	TArray<TPair<FString, TSharedPtr<FJsonValue>>> Batch;
	const TSharedPtr<FJsonObject>* Properties = nullptr;
	if (Params->TryGetObjectField(TEXT("properties"), Properties) && Properties && Properties->IsValid())
	{
		for (const auto& Field : (*Properties)->Values)
		{
			Batch.Add(TPair<FString, TSharedPtr<FJsonValue>>(Field.Key, Field.Value));
		}
	}
	FString PropertyName;
	if (Params->TryGetStringField(TEXT("property"), PropertyName) && !PropertyName.IsEmpty())
	{
		if (!Params->HasField(TEXT("value")))
		{
			return FOrvexActionResult::Error(TEXT("'value' is required with 'property'"), -32602);
		}
		Batch.Add(TPair<FString, TSharedPtr<FJsonValue>>(PropertyName, Params->TryGetField(TEXT("value"))));
	}
	if (Batch.Num() == 0)
	{
		return FOrvexActionResult::Error(TEXT("Pass property + value, or a non-empty properties object"), -32602);
	}

	// A switch that cannot be read must not fall back to its default: an unreadable "dry_run" would
	// otherwise mean "write".
	for (const TCHAR* SwitchName : {TEXT("post_edit_change"), TEXT("dry_run")})
	{
		const TSharedPtr<FJsonValue> Switch = Params->TryGetField(SwitchName);
		if (Switch.IsValid() && Switch->Type != EJson::Boolean)
		{
			return FOrvexActionResult::Error(FString::Printf(TEXT("'%s' must be true or false"), SwitchName), -32602);
		}
	}
	bool bPostEditChange = true;
	Params->TryGetBoolField(TEXT("post_edit_change"), bPostEditChange);
	bool bDryRun = false;
	Params->TryGetBoolField(TEXT("dry_run"), bDryRun);

	UClass* Class = FindSettingsClass(ClassText);
	if (!Class)
	{
		return FOrvexActionResult::Error(FString::Printf(TEXT("Settings class '%s' not found (try the C++ name without the U prefix, e.g. RendererSettings, or the /Script/Module.Class path)"), *ClassText), -32602);
	}
	if (!Class->HasAnyClassFlags(CLASS_Config))
	{
		return FOrvexActionResult::Error(FString::Printf(TEXT("Class '%s' is not a UCLASS(config) class"), *Class->GetPathName()), -32602);
	}
	UObject* DefaultObject = Class->GetDefaultObject(true);
	if (!DefaultObject)
	{
		return FOrvexActionResult::Error(TEXT("Class default object unavailable"), -32603);
	}

	// Every name is resolved before anything changes, so a bad entry leaves the object untouched.
	TArray<FProperty*> Resolved;
	for (const TPair<FString, TSharedPtr<FJsonValue>>& Entry : Batch)
	{
		FProperty* Property = Class->FindPropertyByName(FName(*Entry.Key));
		if (!Property)
		{
			return FOrvexActionResult::Error(FString::Printf(TEXT("Property '%s' not found on %s"), *Entry.Key, *Class->GetName()), -32602);
		}
		if (!Property->HasAnyPropertyFlags(CPF_Config))
		{
			return FOrvexActionResult::Error(FString::Printf(TEXT("Property '%s' on %s is not a config property (no CPF_Config) — it would not persist"), *Entry.Key, *Class->GetName()), -32602);
		}
		Resolved.Add(Property);
	}

	const bool bDefaultConfig = Class->HasAnyClassFlags(CLASS_DefaultConfig);
	const FString IniFile = bDefaultConfig ? FPaths::ConvertRelativePathToFull(DefaultObject->GetDefaultConfigFilename()) : Class->GetConfigName();
	const bool bDeveloperSettings = DefaultObject->GetClass()->IsChildOf(UDeveloperSettings::StaticClass());

	TArray<TSharedPtr<FJsonValue>> Rows;
	TArray<TSharedPtr<FJsonValue>> AutoChangedRows;
	TArray<TSharedPtr<FJsonValue>> Warnings;
	int32 WrittenCount = 0;
	bool bRestartRequired = false;

	auto AddUnwritten = [&Rows](const TSharedPtr<FJsonObject>& Row, const FString& Error)
	{
		Row->SetBoolField(TEXT("written"), false);
		Row->SetStringField(TEXT("error"), Error);
		Rows.Add(MakeShared<FJsonValueObject>(Row));
	};

	for (int32 Index = 0; Index < Batch.Num(); ++Index)
	{
		FProperty* Property = Resolved[Index];
		const TSharedPtr<FJsonValue>& Value = Batch[Index].Value;
		const FString& CVarName = Property->GetMetaData(TEXT("ConsoleVariable"));
		const bool bPropertyRestart = Property->GetMetaData(TEXT("ConfigRestartRequired")).Equals(TEXT("true"), ESearchCase::IgnoreCase);

		TSharedPtr<FJsonObject> Row = MakeShared<FJsonObject>();
		Row->SetStringField(TEXT("property"), Property->GetName());
		const FString OldValue = ExportPropertyText(DefaultObject, Property);
		Row->SetStringField(TEXT("old_value"), OldValue);
		Row->SetBoolField(TEXT("restart_required"), bPropertyRestart);
		if (!CVarName.IsEmpty())
		{
			Row->SetStringField(TEXT("cvar"), CVarName);
		}

		if (bDryRun)
		{
			// The value is converted as the real run would convert it, on a copy: a value the real run
			// refuses is reported here too.
			Orvex::PropertyWriter::FWriteOptions CheckOnly;
			CheckOnly.bValidateOnly = true;
			const Orvex::PropertyWriter::FWriteResult Check = Orvex::PropertyWriter::WriteProperty(DefaultObject, Property, Value, CheckOnly);
			Row->SetBoolField(TEXT("written"), false);
			if (!Check.bSuccess)
			{
				Row->SetStringField(TEXT("error"), Check.ErrorMessage);
				Rows.Add(MakeShared<FJsonValueObject>(Row));
				continue;
			}
			Rows.Add(MakeShared<FJsonValueObject>(Row));
			bRestartRequired |= bPropertyRestart;
			continue;
		}

		// A file that cannot be written is refused before anything changes, so that the class's own
		// change handling (which may save on its own in the editor) never runs for a refused write.
		const FString ReadOnlyError = FindReadOnlyTarget(DefaultObject, Property);
		if (!ReadOnlyError.IsEmpty())
		{
			AddUnwritten(Row, ReadOnlyError);
			continue;
		}

		TArray<const FProperty*> AutoChanged;
		TArray<FString> PreviousValues;
		FString PreemptError;
		PreemptSettingsDialogs(DefaultObject, Property, Value, AutoChanged, PreviousValues, PreemptError);
		if (!PreemptError.IsEmpty())
		{
			AddUnwritten(Row, PreemptError);
			continue;
		}

		const Orvex::PropertyWriter::FWriteResult Write = Orvex::PropertyWriter::WriteProperty(DefaultObject, Property, Value, Orvex::PropertyWriter::FWriteOptions());
		if (!Write.bSuccess)
		{
			UndoPreemption(DefaultObject, AutoChanged, PreviousValues);
			AddUnwritten(Row, Write.ErrorMessage);
			continue;
		}

		ReactToChange(DefaultObject, Property, bPostEditChange, bDeveloperSettings);
		FString PersistError;
		const FString Method = PersistSettingsProperty(DefaultObject, Property, &PersistError);
		if (!PersistError.IsEmpty())
		{
			// Nothing reached the file, so nothing changed: the object and its console variables go
			// back to what the file still says, and a later write of another key cannot carry this
			// value to disk.
			RestoreUnpersisted(DefaultObject, Property, OldValue, AutoChanged, PreviousValues, bPostEditChange, bDeveloperSettings);
			AddUnwritten(Row, PersistError);
			continue;
		}
		for (const FProperty* Changed : AutoChanged)
		{
			FString ChangedError;
			PersistSettingsProperty(DefaultObject, Changed, &ChangedError);
			if (!ChangedError.IsEmpty())
			{
				Warnings.Add(MakeShared<FJsonValueString>(FString::Printf(TEXT("%s was not persisted: %s"), *Changed->GetName(), *ChangedError)));
			}
			TSharedRef<FJsonObject> AutoRow = MakeShared<FJsonObject>();
			AutoRow->SetStringField(TEXT("property"), Changed->GetName());
			AutoRow->SetStringField(TEXT("new_value"), ExportPropertyText(DefaultObject, Changed));
			AutoRow->SetStringField(TEXT("because"), Property->GetName());
			AutoChangedRows.Add(MakeShared<FJsonValueObject>(AutoRow));
		}

		const FString NewValue = ExportPropertyText(DefaultObject, Property);
		Row->SetStringField(TEXT("new_value"), NewValue);
		Row->SetBoolField(TEXT("written"), true);
		Row->SetStringField(TEXT("persist_method"), Method);
		if (!CVarName.IsEmpty())
		{
			if (IConsoleVariable* CVar = IConsoleManager::Get().FindConsoleVariable(*CVarName))
			{
				Row->SetStringField(TEXT("cvar_value"), CVar->GetString());
			}
		}
		if (bPostEditChange && NewValue.Equals(OldValue, ESearchCase::IgnoreCase))
		{
			Warnings.Add(MakeShared<FJsonValueString>(FString::Printf(TEXT("%s unchanged after PostEditChange (already that value, or the class reverted it)"), *Property->GetName())));
		}
		Rows.Add(MakeShared<FJsonValueObject>(Row));
		bRestartRequired |= bPropertyRestart;
		++WrittenCount;
	}

	TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
	Result->SetStringField(TEXT("class"), Class->GetPathName());
	Result->SetStringField(TEXT("ini_file"), IniFile);
	Result->SetBoolField(TEXT("default_config"), bDefaultConfig);
	Result->SetBoolField(TEXT("dry_run"), bDryRun);
	Result->SetArrayField(TEXT("results"), Rows);
	Result->SetArrayField(TEXT("auto_changed"), AutoChangedRows);
	Result->SetNumberField(TEXT("written"), WrittenCount);
	Result->SetBoolField(TEXT("persisted"), !bDryRun && WrittenCount > 0);
	Result->SetBoolField(TEXT("restart_required"), bRestartRequired);
	Result->SetArrayField(TEXT("warnings"), Warnings);

	if (!bDryRun && WrittenCount == 0)
	{
		TArray<FString> Messages;
		for (const TSharedPtr<FJsonValue>& RowValue : Rows)
		{
			const TSharedPtr<FJsonObject> RowObject = RowValue->AsObject();
			FString Error;
			const TSharedPtr<FJsonValue> ErrorField = RowObject->TryGetField(TEXT("error"));
			if (!ErrorField.IsValid() || ErrorField->Type != EJson::String)
			{
				continue;
			}
			Error = ErrorField->AsString();
			const FString Name = RowObject->GetStringField(TEXT("property"));
			Messages.Add(Name.IsEmpty() ? Error : FString::Printf(TEXT("%s: %s"), *Name, *Error));
		}
		FOrvexActionResult Failure = FOrvexActionResult::Error(Messages.Num() == 0
			? FString(TEXT("No property was written (see results[].error)"))
			: FString::Printf(TEXT("No property was written: %s"), *FString::Join(Messages, TEXT("; "))), -32603);
		Failure.Result = Result;
		return Failure;
	}
	return FOrvexActionResult::Success(Result);
}
