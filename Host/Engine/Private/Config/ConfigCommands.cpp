#include "Config/ConfigCommands.h"

#include "Config/ConfigLineReader.h"
#include "Config/ConfigMergeState.h"
#include "Host/HostEnvironment.h"
#include "Misc/Paths.h"

#include <string>
#include <unordered_set>

namespace UE::Host::Config
{
	FString ExpandConfigTokens(const FString& Value)
	{
		if (!Value.Contains(TEXT("%"), ESearchCase::CaseSensitive))
		{
			return Value;
		}
		FString Result = Value;
		Result.ReplaceInline(TEXT("%GAMEDIR%"), *FPaths::ProjectDir(), ESearchCase::CaseSensitive);
		Result.ReplaceInline(TEXT("%GAMESAVEDDIR%"), *FPaths::ProjectSavedDir(), ESearchCase::CaseSensitive);
		Result.ReplaceInline(TEXT("%GAME%"), *UE::Host::GetProjectName(), ESearchCase::CaseSensitive);
		Result.ReplaceInline(TEXT("%ENGINEDIR%"), *FPaths::EngineDir(), ESearchCase::CaseSensitive);
		Result.ReplaceInline(TEXT("%ENGINEUSERDIR%"), *FPaths::EngineUserDir(), ESearchCase::CaseSensitive);
		Result.ReplaceInline(TEXT("%ENGINEVERSIONAGNOSTICUSERDIR%"), *FPaths::EngineVersionAgnosticUserDir(), ESearchCase::CaseSensitive);
		Result.ReplaceInline(TEXT("%APPSETTINGSDIR%"), *UE::Host::GetEnvironment().UserSettingsDir, ESearchCase::CaseSensitive);
		return Result;
	}

	FConfigValue MakeConfigValue(const FString& Value)
	{
		return FConfigValue(Value);
	}

	bool ExtractStructField(const FString& StructText, const FString& Field, FString& OutValue)
	{
		const int32 Length = StructText.Len();
		const int32 FieldLength = Field.Len();
		if (FieldLength == 0)
		{
			return false;
		}
		int32 Depth = 0;
		bool bQuoted = false;
		bool bAtFieldStart = false;
		for (int32 Index = 0; Index < Length; ++Index)
		{
			const TCHAR C = StructText[Index];
			if (bQuoted)
			{
				if (C == '\\')
				{
					++Index;
				}
				else if (C == '"')
				{
					bQuoted = false;
				}
				continue;
			}
			if (bAtFieldStart && Depth == 1 && !FChar::IsWhitespace(C))
			{
				bAtFieldStart = false;
				const bool bNameMatches = Index + FieldLength < Length
					&& FCString::Strnicmp(&StructText[Index], *Field, static_cast<SIZE_T>(FieldLength)) == 0
					&& StructText[Index + FieldLength] == '=';
				if (bNameMatches)
				{
					int32 ValueStart = Index + FieldLength + 1;
					if (ValueStart < Length && StructText[ValueStart] == '"')
					{
						OutValue.Reset();
						for (int32 Scan = ValueStart + 1; Scan < Length && StructText[Scan] != '"'; ++Scan)
						{
							if (StructText[Scan] == '\\' && Scan + 1 < Length)
							{
								++Scan;
							}
							OutValue.AppendChar(StructText[Scan]);
						}
						return true;
					}
					int32 ValueEnd = ValueStart;
					while (ValueEnd < Length && StructText[ValueEnd] != ',' && StructText[ValueEnd] != ')')
					{
						++ValueEnd;
					}
					OutValue = StructText.Mid(ValueStart, ValueEnd - ValueStart).TrimStartAndEnd();
					return true;
				}
			}
			if (C == '"')
			{
				bQuoted = true;
			}
			else if (C == '(')
			{
				++Depth;
				bAtFieldStart = Depth == 1;
			}
			else if (C == ')')
			{
				--Depth;
			}
			else if (C == ',')
			{
				bAtFieldStart = Depth == 1;
			}
		}
		return false;
	}

	namespace
	{
		// A plain file applies no operators: every key line adds a value and an operator character
		// stays part of its key.
		void CombineText(FMergeFile& File, const FString& Text, bool bPlainFile, const FString* OnlySection)
		{
			FConfigTextReader Reader(Text, OnlySection);
			FConfigLine Line;
			FMergeSection* CurrentSection = nullptr;
			while (Reader.Next(Line))
			{
				if (Line.Kind == EConfigLineKind::Section)
				{
					CurrentSection = &File.FindOrAddSection(Line.SectionName);
				}
				else if (CurrentSection && !bPlainFile)
				{
					CurrentSection->Apply(Line.Operation, FName(Line.Key), Line.Value);
				}
				else if (CurrentSection)
				{
					const FString Key = Line.Operation == ' ' ? Line.Key : FString::Chr(Line.Operation) + Line.Key;
					CurrentSection->Apply('.', FName(Key), Line.Value);
				}
			}
		}
	}

	void CombineConfigText(FMergeFile& File, const FString& Text, const FString* OnlySection)
	{
		CombineText(File, Text, false, OnlySection);
	}

	void CombinePlainConfigText(FMergeFile& File, const FString& Text, const FString* OnlySection)
	{
		CombineText(File, Text, true, OnlySection);
	}

	void CombineSavedConfigText(FMergeFile& File, const FString& Text, const FString* OnlySection)
	{
		// The saved lines are applied to empty copies of the sections they name (identity fields
		// kept), which gives each named key its new values.
		FMergeFile Saved;
		TArray<TPair<FString, FName>> NamedKeys;
		std::unordered_set<std::u16string> NamedKeySet;
		FConfigTextReader Reader(Text, OnlySection);
		FConfigLine Line;
		FMergeSection* CurrentSection = nullptr;
		FString CurrentName;
		while (Reader.Next(Line))
		{
			if (Line.Kind == EConfigLineKind::Section)
			{
				CurrentName = Line.SectionName;
				const bool bFirstSight = Saved.FindSection(CurrentName) == nullptr;
				const TMap<FName, FString> Identities = File.FindOrAddSection(CurrentName).ArrayOfStructKeys;
				CurrentSection = &Saved.FindOrAddSection(CurrentName);
				if (bFirstSight)
				{
					CurrentSection->ArrayOfStructKeys = Identities;
				}
				continue;
			}
			if (!CurrentSection)
			{
				continue;
			}
			const FName Key(Line.Key);
			CurrentSection->Apply(Line.Operation, Key, Line.Value);
			if (Line.Operation != '@' && Line.Operation != '*')
			{
				// Section names and keys both ignore case: the lowered name and the key's name index.
				std::u16string Identity = CurrentName.ToLower().GetStdString();
				Identity.push_back(u'\0');
				const uint32 KeyIndex = Key.GetComparisonIndex();
				Identity.push_back(static_cast<char16_t>(KeyIndex & 0xFFFF));
				Identity.push_back(static_cast<char16_t>(KeyIndex >> 16));
				if (NamedKeySet.insert(std::move(Identity)).second)
				{
					NamedKeys.Add(TPair<FString, FName>(CurrentName, Key));
				}
			}
		}
		for (const TPair<FString, FName>& Named : NamedKeys)
		{
			const FMergeSection* Source = Saved.FindSection(Named.Key);
			FMergeSection& Target = File.FindOrAddSection(Named.Key);
			Target.ReplaceValues(Named.Value, Source->GetValues(Named.Value));
			if (Source->ExplicitlyEmptyArrays.Contains(Named.Value))
			{
				Target.ExplicitlyEmptyArrays.Add(Named.Value);
			}
			else
			{
				Target.ExplicitlyEmptyArrays.Remove(Named.Value);
			}
		}
		for (const FString& Name : Saved.GetSectionNames())
		{
			const TMap<FName, FString>& Identities = Saved.FindSection(Name)->ArrayOfStructKeys;
			FMergeSection& Target = File.FindOrAddSection(Name);
			for (const auto& Identity : Identities)
			{
				Target.ArrayOfStructKeys.Add(Identity.Key, Identity.Value);
			}
		}
	}
}
