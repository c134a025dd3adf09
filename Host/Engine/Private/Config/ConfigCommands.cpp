#include "Config/ConfigCommands.h"

#include "Config/ConfigLineReader.h"
#include "Host/HostEnvironment.h"
#include "Misc/Paths.h"

#include <string>
#include <unordered_set>

namespace
{
	using namespace UE::Host::Config;

	// Replaces the element whose identity field matches the new value's; false when the key has
	// no identity field, the value names none, or no element matches.
	bool ReplaceKeyedStruct(FConfigSection& Section, FName Key, const FConfigValue& NewValue)
	{
		const FString* Field = Section.ArrayOfStructKeys.Find(Key);
		FString Identity;
		if (!Field || !ExtractStructField(NewValue.GetSavedValue(), *Field, Identity))
		{
			return false;
		}
		TArray<const FConfigValue*> Existing;
		Section.MultiFindPointer(Key, Existing, true);
		for (const FConfigValue* Candidate : Existing)
		{
			FString CandidateIdentity;
			if (ExtractStructField(Candidate->GetSavedValue(), *Field, CandidateIdentity) && CandidateIdentity == Identity)
			{
				*const_cast<FConfigValue*>(Candidate) = NewValue;
				return true;
			}
		}
		return false;
	}

	// Overwrites the key's values in order, then drops the surplus or appends the rest.
	void ReplaceValuesInPlace(FConfigSection& Section, FName Key, const TArray<FConfigValue>& NewValues)
	{
		TArray<const FConfigValue*> Existing;
		Section.MultiFindPointer(Key, Existing, true);
		const int32 Common = Existing.Num() < NewValues.Num() ? Existing.Num() : NewValues.Num();
		for (int32 Index = 0; Index < Common; ++Index)
		{
			*const_cast<FConfigValue*>(Existing[Index]) = NewValues[Index];
		}
		if (Existing.Num() > NewValues.Num())
		{
			int32 Seen = 0;
			for (auto It = Section.CreateIterator(); It; ++It)
			{
				if (It.Key() == Key && ++Seen > NewValues.Num())
				{
					It.RemoveCurrent();
				}
			}
		}
		for (int32 Index = Common; Index < NewValues.Num(); ++Index)
		{
			Section.Add(Key, NewValues[Index]);
		}
	}

	bool HasEqualValue(const FConfigSection& Section, FName Key, const FConfigValue& Value)
	{
		TArray<const FConfigValue*> Existing;
		Section.MultiFindPointer(Key, Existing, true);
		for (const FConfigValue* Candidate : Existing)
		{
			if (*Candidate == Value)
			{
				return true;
			}
		}
		return false;
	}
}

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
		return FConfigValue(Value, ExpandConfigTokens(Value));
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

	void ApplyConfigCommand(FConfigSection& Section, TCHAR Operation, FName Key, const FString& Value)
	{
		switch (Operation)
		{
		case '+':
		{
			const FConfigValue NewValue = MakeConfigValue(Value);
			if (!ReplaceKeyedStruct(Section, Key, NewValue) && !HasEqualValue(Section, Key, NewValue))
			{
				Section.Add(Key, NewValue);
			}
			break;
		}
		case '.':
			Section.Add(Key, MakeConfigValue(Value));
			break;
		case '-':
			Section.RemoveSingle(Key, MakeConfigValue(Value));
			break;
		case '!':
			Section.Remove(Key);
			Section.ExplicitlyEmptyArrays.Remove(Key);
			break;
		case '^':
			Section.Remove(Key);
			Section.ExplicitlyEmptyArrays.Add(Key);
			break;
		case '@':
			Section.ArrayOfStructKeys.Add(Key, Value);
			break;
		case '*':
			// Identity for per-object sections; it names the section, not a value of this one.
			break;
		default:
		{
			const FConfigValue NewValue = MakeConfigValue(Value);
			if (!ReplaceKeyedStruct(Section, Key, NewValue))
			{
				if (FConfigValue* Existing = Section.Find(Key))
				{
					*Existing = NewValue;
				}
				else
				{
					Section.Add(Key, NewValue);
				}
			}
			break;
		}
		}
	}

	void CombineConfigText(FConfigFile& File, const FString& Text)
	{
		FConfigTextReader Reader(Text);
		FConfigLine Line;
		FConfigSection* CurrentSection = nullptr;
		while (Reader.Next(Line))
		{
			if (Line.Kind == EConfigLineKind::Section)
			{
				CurrentSection = &File.FindOrAddSection(Line.SectionName);
			}
			else if (CurrentSection)
			{
				ApplyConfigCommand(*CurrentSection, Line.Operation, FName(Line.Key), Line.Value);
			}
		}
	}

	void CombineSavedConfigText(FConfigFile& File, const FString& Text)
	{
		// The saved lines are applied to empty copies of the sections they name (identity fields
		// kept), which gives each named key its new values; those then take the place of the
		// hierarchy's values, so the section keeps its order.
		FConfigFile Saved;
		TArray<TPair<FString, FName>> NamedKeys;
		std::unordered_set<std::u16string> NamedKeySet;
		FConfigTextReader Reader(Text);
		FConfigLine Line;
		FConfigSection* CurrentSection = nullptr;
		FString CurrentName;
		while (Reader.Next(Line))
		{
			if (Line.Kind == EConfigLineKind::Section)
			{
				CurrentName = Line.SectionName;
				const bool bFirstSight = Saved.FindSection(CurrentName) == nullptr;
				CurrentSection = &Saved.FindOrAddSection(CurrentName);
				const FConfigSection& Target = File.FindOrAddSection(CurrentName);
				if (bFirstSight)
				{
					CurrentSection->ArrayOfStructKeys = Target.ArrayOfStructKeys;
				}
				continue;
			}
			if (!CurrentSection)
			{
				continue;
			}
			const FName Key(Line.Key);
			ApplyConfigCommand(*CurrentSection, Line.Operation, Key, Line.Value);
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
			const FConfigSection* Source = Saved.FindSection(Named.Key);
			FConfigSection& Target = File.FindOrAddSection(Named.Key);
			TArray<FConfigValue> NewValues;
			Source->MultiFind(Named.Value, NewValues, true);
			ReplaceValuesInPlace(Target, Named.Value, NewValues);
			if (Source->ExplicitlyEmptyArrays.Contains(Named.Value))
			{
				Target.ExplicitlyEmptyArrays.Add(Named.Value);
			}
			else
			{
				Target.ExplicitlyEmptyArrays.Remove(Named.Value);
			}
		}
		for (const auto& SavedSection : Saved)
		{
			FConfigSection& Target = File.FindOrAddSection(SavedSection.Key);
			for (const auto& Identity : SavedSection.Value.ArrayOfStructKeys)
			{
				Target.ArrayOfStructKeys.Add(Identity.Key, Identity.Value);
			}
		}
	}
}
