#include "Host/ConfigOrigin.h"

#include "ConfigFileText.h"
#include "ConfigLineReader.h"
#include "CoreGlobals.h"
#include "Host/ConfigSystem.h"
#include "Host/HostEnvironment.h"
#include "Misc/ConfigCacheIni.h"

namespace UE::Host
{
	namespace
	{
		const TCHAR* LayerName(EConfigLayer Layer)
		{
			switch (Layer)
			{
			case EConfigLayer::AbsoluteBase: return TEXT("Absolute Base");
			case EConfigLayer::EngineBase: return TEXT("Engine Base");
			case EConfigLayer::EnginePlatformBase: return TEXT("Engine Platform Base");
			case EConfigLayer::ProjectDefault: return TEXT("Project Default");
			case EConfigLayer::EnginePlatform: return TEXT("Engine Platform");
			case EConfigLayer::ProjectPlatform: return TEXT("Project Platform");
			case EConfigLayer::GlobalUser: return TEXT("Global User");
			case EConfigLayer::ProjectUser: return TEXT("Project User");
			case EConfigLayer::Saved: return TEXT("User Saved");
			}
			return TEXT("");
		}

		// What a line does to the key's values; null for lines that hold no value ('@' and '*'
		// declare how array elements are told apart).
		const TCHAR* EffectOf(TCHAR Operation)
		{
			switch (Operation)
			{
			case ' ': return TEXT("set");
			case '+': return TEXT("add_unique");
			case '.': return TEXT("add");
			case '-': return TEXT("remove");
			case '!':
			case '^': return TEXT("clear");
			default: return nullptr;
			}
		}

		// The file's lines for the key, in file order, numbered as an editor numbers them. Base.ini
		// is read as a plain file, so an operator there is part of the key.
		void ReadFileLines(const FString& File, const FString& Layer, bool bPlainFile, const FString& Section, const FString& Key, TArray<FConfigOriginEntry>& OutEntries)
		{
			Config::FConfigFileText Text;
			FString Error;
			if (!Text.Load(File, Error))
			{
				return;
			}
			bool bInSection = false;
			const TArray<Config::FEditLine>& Lines = Text.GetLines();
			for (int32 Index = 0; Index < Lines.Num(); ++Index)
			{
				const Config::FEditLine& Line = Lines[Index];
				if (Line.Kind == Config::EEditLineKind::Section)
				{
					bInSection = Line.SectionName.Equals(Section, ESearchCase::IgnoreCase);
					continue;
				}
				if (!bInSection || Line.Kind != Config::EEditLineKind::KeyValue)
				{
					continue;
				}
				const TCHAR Operation = bPlainFile ? TEXT(' ') : Line.Operation;
				const FString LineKey = bPlainFile && Line.Operation != ' ' ? FString::Printf(TEXT("%c%s"), Line.Operation, *Line.Key) : Line.Key;
				const TCHAR* Effect = EffectOf(Operation);
				if (!Effect || !LineKey.Equals(Key, ESearchCase::IgnoreCase))
				{
					continue;
				}
				FConfigOriginEntry& Entry = OutEntries.AddDefaulted_GetRef();
				Entry.File = File;
				Entry.Line = Line.FirstPhysical + 1;
				Entry.Text = FString::Join(Text.GetPhysicalTexts(Index), TEXT("\n")).TrimStartAndEnd();
				Entry.Layer = Layer;
				Entry.Effect = Effect;
				Entry.Value = FConfigValue(Line.Value).GetValue();
			}
		}

		void ReadOverrides(const FString& Category, const FString& Section, const FString& Key, TArray<FConfigOriginEntry>& OutEntries)
		{
			const TArray<FString>& Arguments = GetEnvironment().IniOverrides;
			for (int32 Index = 0; Index < Arguments.Num(); ++Index)
			{
				TArray<FConfigOverride> Overrides;
				FString Error;
				if (!ParseConfigOverride(Arguments[Index], Overrides, Error))
				{
					continue;
				}
				for (const FConfigOverride& Override : Overrides)
				{
					const TCHAR* Effect = EffectOf(Override.Operation);
					if (!Effect || !Override.Category.Equals(Category, ESearchCase::IgnoreCase) || !Override.Section.Equals(Section, ESearchCase::IgnoreCase)
						|| !Override.Key.Equals(Key, ESearchCase::IgnoreCase))
					{
						continue;
					}
					FConfigOriginEntry& Entry = OutEntries.AddDefaulted_GetRef();
					Entry.File = TEXT("--ini");
					Entry.Line = Index + 1;
					Entry.Text = Override.Operation == ' ' ? FString::Printf(TEXT("%s=%s"), *Override.Key, *Override.Value)
						: FString::Printf(TEXT("%c%s=%s"), Override.Operation, *Override.Key, *Override.Value);
					Entry.Layer = TEXT("Command Line");
					Entry.Effect = Effect;
					Entry.Value = FConfigValue(Override.Value).GetValue();
				}
			}
		}
	}

	bool DescribeConfigOrigin(const FString& Category, const FString& Section, const FString& Key, FConfigOrigin& OutOrigin, FString& OutError)
	{
		OutOrigin = FConfigOrigin();
		const TArray<FString> Known = GConfig ? GConfig->GetKnownCategories() : TArray<FString>();
		const FString* Spelled = Known.FindByPredicate([&Category](const FString& Name) { return Name.Equals(Category, ESearchCase::IgnoreCase); });
		if (!Spelled)
		{
			OutError = FString::Printf(TEXT("No config found for category '%s'"), *Category);
			return false;
		}
		OutOrigin.Category = *Spelled;
		for (const FConfigLayerFile& Layer : GetConfigLayerFiles(*Spelled))
		{
			ReadFileLines(Layer.Filename, LayerName(Layer.Layer), Layer.Layer == EConfigLayer::AbsoluteBase, Section, Key, OutOrigin.Entries);
		}
		ReadOverrides(*Spelled, Section, Key, OutOrigin.Entries);

		OutOrigin.bFound = GConfig->GetString(*Section, *Key, OutOrigin.EffectiveValue, *Spelled);
		if (OutOrigin.bFound)
		{
			// The value a read returns was put there by the last line that set or added it.
			for (int32 Index = OutOrigin.Entries.Num() - 1; Index >= 0; --Index)
			{
				const FConfigOriginEntry& Entry = OutOrigin.Entries[Index];
				if ((Entry.Effect == TEXT("set") || Entry.Effect == TEXT("add") || Entry.Effect == TEXT("add_unique"))
					&& Entry.Value.Equals(OutOrigin.EffectiveValue, ESearchCase::CaseSensitive))
				{
					OutOrigin.EffectiveFile = Entry.File;
					break;
				}
			}
		}
		return true;
	}
}
