#include "Host/ConfigFileEditor.h"

#include "Config/ConfigFileText.h"
#include "Config/ConfigLineReader.h"
#include "HAL/PlatformFileManager.h"
#include "Host/ConfigFileLock.h"

namespace
{
	using namespace UE::Host::Config;

	bool HasLineBreak(const FString& Text)
	{
		int32 Index = INDEX_NONE;
		return Text.FindChar('\n', Index) || Text.FindChar('\r', Index);
	}

	// How the loader reads Line when another line follows it; false when Line would reach into
	// the next line (an open brace, a trailing backslash).
	bool ReadAlone(const FString& Line, FConfigLine& OutParsed)
	{
		const FString Probe = Line + TEXT("\nX=1");
		FString Text;
		if (ReadLogicalLine(*Probe, Probe.Len(), 0, &Text) != Line.Len())
		{
			return false;
		}
		OutParsed = ParseLogicalLine(std::move(Text));
		return true;
	}

	bool ReadsBackAs(const FString& Written, const FString& Expected)
	{
		FConfigLine Line;
		return ReadAlone(TEXT("K=") + Written, Line) && Line.Kind == EConfigLineKind::KeyValue && Line.Value.Equals(Expected);
	}

	bool HasUnbalancedBraces(const FString& Value)
	{
		int32 Depth = 0;
		for (const TCHAR C : Value)
		{
			if (C == '{')
			{
				++Depth;
			}
			else if (C == '}' && --Depth < 0)
			{
				return true;
			}
		}
		return Depth != 0;
	}

	FString Quote(const FString& Value, bool bEscapeQuotesAsCodePoints)
	{
		FString Result(TEXT("\""));
		for (const TCHAR C : Value)
		{
			switch (C)
			{
			case '\\':
				Result += TEXT("\\\\");
				break;
			case '"':
				// The line reader toggles its quote state on every '"', escaped or not; a code point
				// escape keeps "//" and braces later in the value inside the quotes.
				Result += bEscapeQuotesAsCodePoints ? TEXT("\\u0022") : TEXT("\\\"");
				break;
			case '\n':
				Result += TEXT("\\n");
				break;
			case '\r':
				Result += TEXT("\\r");
				break;
			case '\t':
				Result += TEXT("\\t");
				break;
			default:
				Result.AppendChar(C);
				break;
			}
		}
		Result.AppendChar('"');
		return Result;
	}

	bool ValidateSection(const FString& Section, FString& OutError)
	{
		FConfigLine Header;
		if (Section.IsEmpty())
		{
			OutError = TEXT("The section name is empty.");
			return false;
		}
		if (HasLineBreak(Section) || !ReadAlone(TEXT("[") + Section + TEXT("]"), Header) || Header.Kind != EConfigLineKind::Section
			|| !Header.SectionName.Equals(Section))
		{
			OutError = FString::Printf(TEXT("'%s' cannot be written as a section name."), *Section);
			return false;
		}
		return true;
	}

	bool ValidateKey(const FString& Key, FString& OutError)
	{
		if (Key.IsEmpty())
		{
			OutError = TEXT("The key is empty.");
			return false;
		}
		int32 Index = INDEX_NONE;
		const TCHAR First = Key[0];
		const bool bBadStart = First == '[' || First == ';' || First == '~' || First == '+' || First == '-' || First == '.'
			|| First == '!' || First == '@' || First == '*' || First == '^';
		FConfigLine Line;
		if (HasLineBreak(Key) || Key.FindChar('=', Index) || bBadStart || FChar::IsWhitespace(First) || !ReadAlone(Key + TEXT("=V"), Line)
			|| Line.Kind != EConfigLineKind::KeyValue || Line.Operation != ' ' || !Line.Key.Equals(Key))
		{
			OutError = FString::Printf(TEXT("'%s' cannot be written as a config key."), *Key);
			return false;
		}
		return true;
	}

	// Each line must stay one entry of this section: no line break, nothing that joins it to the
	// next line, no header.
	bool ValidateEntryLines(const FString& Section, const TArray<FString>& Lines, FString& OutError)
	{
		for (const FString& Line : Lines)
		{
			FConfigLine Parsed;
			if (HasLineBreak(Line) || !ReadAlone(Line, Parsed) || Parsed.Kind == EConfigLineKind::Section)
			{
				OutError = FString::Printf(TEXT("'%s' cannot be written as a line of [%s]."), *Line.Replace(TEXT("\n"), TEXT("\\n")).Replace(TEXT("\r"), TEXT("\\r")), *Section);
				return false;
			}
		}
		return true;
	}

	// Lines that give a key its values, as opposed to '@' and '*' declarations about it.
	bool IsValueLine(const FEditLine& Line)
	{
		return Line.Kind == EEditLineKind::KeyValue && Line.Operation != '@' && Line.Operation != '*';
	}

	bool LoadForEdit(FConfigFileText& File, const FString& FilePath, FString& OutError)
	{
		if (FilePath.IsEmpty())
		{
			OutError = TEXT("No config file was given.");
			return false;
		}
		return File.Load(FilePath, OutError);
	}

	// The file is read only once its lock is held, so the edit applies to what other writers left.
	bool LockAndLoad(const UE::Host::FScopedConfigFileLock& Lock, FConfigFileText& File, const FString& FilePath, FString& OutError)
	{
		if (FilePath.IsEmpty())
		{
			OutError = TEXT("No config file was given.");
			return false;
		}
		if (!Lock.IsLocked())
		{
			OutError = Lock.GetError();
			return false;
		}
		return LoadForEdit(File, FilePath, OutError);
	}
}

namespace UE::Host::ConfigFileEditor
{
	using UE::Host::FScopedConfigFileLock;

	FString QuoteValueIfNeeded(const FString& Value)
	{
		if (Value.IsEmpty())
		{
			return Value;
		}
		const bool bNeedsQuotes = FChar::IsWhitespace(Value[0]) || FChar::IsWhitespace(Value[Value.Len() - 1])
			|| Value[0] == '"' || Value[Value.Len() - 1] == '\\' || Value.Contains(TEXT("//")) || HasUnbalancedBraces(Value)
			|| HasLineBreak(Value) || !ReadsBackAs(Value, Value);
		if (!bNeedsQuotes)
		{
			return Value;
		}
		const FString Quoted = Quote(Value, false);
		return ReadsBackAs(Quoted, Value) ? Quoted : Quote(Value, true);
	}

	bool SetKey(const FString& FilePath, const FString& Section, const FString& Key, const FString& Value, FString& OutError)
	{
		if (!ValidateSection(Section, OutError) || !ValidateKey(Key, OutError))
		{
			return false;
		}
		FScopedConfigFileLock Lock(FilePath);
		FConfigFileText File;
		if (!LockAndLoad(Lock, File, FilePath, OutError))
		{
			return false;
		}
		const FString NewLine = Key + TEXT("=") + QuoteValueIfNeeded(Value);
		const TArray<int32> Headers = File.FindSectionHeaders(Section);
		const TArray<FEditLine>& Lines = File.GetLines();
		bool bReplaced = false;
		// Every copy of the section counts: any later line of the key (a plain one, or an array
		// line that adds a newer value or removes this one) would change what a read returns.
		for (const int32 Header : Headers)
		{
			const int32 End = File.GetSectionEnd(Header);
			for (int32 Index = Header + 1; Index < End; ++Index)
			{
				const FEditLine& Line = Lines[Index];
				if (!IsValueLine(Line) || Line.Key != Key)
				{
					continue;
				}
				if (bReplaced)
				{
					File.RemoveLine(Index);
				}
				else if (Line.Operation == ' ')
				{
					File.ReplaceLine(Index, NewLine);
					bReplaced = true;
				}
			}
		}
		if (!bReplaced)
		{
			if (Headers.IsEmpty())
			{
				File.AppendSection(Section, {NewLine});
			}
			else
			{
				File.InsertAfter(File.GetLastEntry(Headers[0]), {NewLine});
			}
		}
		return File.Save(OutError);
	}

	namespace
	{
		// "Key" and "Key[2]" name their key; an element index names only that element, while a bare
		// "Key" also covers the older "Key[0]", "Key[1]" lines of an array.
		bool IsKnownKey(const TArray<FString>& KnownKeys, const FString& Key)
		{
			FString Base = Key;
			int32 Bracket = INDEX_NONE;
			if (Key.EndsWith(TEXT("]")) && Key.FindLastChar(TEXT('['), Bracket))
			{
				Base = Key.Left(Bracket);
			}
			for (const FString& Known : KnownKeys)
			{
				if (Known.Equals(Key, ESearchCase::IgnoreCase) || Known.Equals(Base, ESearchCase::IgnoreCase))
				{
					return true;
				}
			}
			return false;
		}
	}

	// Every entry of the section goes, but those of keys KnownKeys does not name (when given), which
	// follow Lines as they were.
	bool ReplaceSectionKeeping(const FString& FilePath, const FString& Section, const TArray<FString>& Lines, const TArray<FString>* KnownKeys, FString& OutError)
	{
		if (!ValidateSection(Section, OutError))
		{
			return false;
		}
		if (!ValidateEntryLines(Section, Lines, OutError))
		{
			return false;
		}
		FScopedConfigFileLock Lock(FilePath);
		FConfigFileText File;
		if (!LockAndLoad(Lock, File, FilePath, OutError))
		{
			return false;
		}
		const TArray<int32> Headers = File.FindSectionHeaders(Section);
		if (Headers.IsEmpty())
		{
			File.AppendSection(Section, Lines);
			return File.Save(OutError);
		}
		const TArray<FEditLine>& FileLines = File.GetLines();
		TArray<FString> NewLines = Lines;
		for (const int32 Header : Headers)
		{
			const int32 LastEntry = File.GetLastEntry(Header);
			for (int32 Index = Header + 1; Index <= LastEntry && KnownKeys; ++Index)
			{
				if (FileLines[Index].Kind == EEditLineKind::KeyValue && !IsKnownKey(*KnownKeys, FileLines[Index].Key))
				{
					NewLines.Append(File.GetPhysicalTexts(Index));
				}
			}
		}
		for (int32 Copy = 0; Copy < Headers.Num(); ++Copy)
		{
			const int32 Header = Headers[Copy];
			const int32 LastEntry = File.GetLastEntry(Header);
			for (int32 Index = Header + 1; Index <= LastEntry; ++Index)
			{
				File.RemoveLine(Index);
			}
			if (Copy == 0)
			{
				File.InsertAfter(Header, NewLines);
				continue;
			}
			// A merged-away copy takes its header and the blank lines that separated it along.
			File.RemoveLine(Header);
			const int32 End = File.GetSectionEnd(Header);
			for (int32 Index = LastEntry + 1; Index < End && FileLines[Index].Kind == EEditLineKind::Blank; ++Index)
			{
				File.RemoveLine(Index);
			}
		}
		return File.Save(OutError);
	}

	bool ReplaceSection(const FString& FilePath, const FString& Section, const TArray<FString>& Lines, FString& OutError)
	{
		return ReplaceSectionKeeping(FilePath, Section, Lines, nullptr, OutError);
	}

	bool ReplaceSection(const FString& FilePath, const FString& Section, const TArray<FString>& Lines, const TArray<FString>& KnownKeys, FString& OutError)
	{
		return ReplaceSectionKeeping(FilePath, Section, Lines, &KnownKeys, OutError);
	}

	bool ReplaceKeys(const FString& FilePath, const TArray<FKeyLines>& Edits, EEmptyFilePolicy EmptyFilePolicy, FString& OutError)
	{
		for (int32 EditIndex = 0; EditIndex < Edits.Num(); ++EditIndex)
		{
			const FKeyLines& Edit = Edits[EditIndex];
			if (!ValidateSection(Edit.Section, OutError) || !ValidateKey(Edit.Key, OutError) || !ValidateEntryLines(Edit.Section, Edit.Lines, OutError))
			{
				return false;
			}
			for (int32 Earlier = 0; Earlier < EditIndex; ++Earlier)
			{
				if (Edits[Earlier].Section == Edit.Section && Edits[Earlier].Key == Edit.Key)
				{
					OutError = FString::Printf(TEXT("'%s' of [%s] is edited twice."), *Edit.Key, *Edit.Section);
					return false;
				}
			}
		}
		FScopedConfigFileLock Lock(FilePath);
		FConfigFileText File;
		if (!LockAndLoad(Lock, File, FilePath, OutError))
		{
			return false;
		}
		const TArray<FEditLine>& Lines = File.GetLines();
		TArray<uint8> Removed;
		Removed.Init(0, Lines.Num());
		int32 AddedLines = 0;
		// Sections that do not exist yet gather their lines, in the order first asked for.
		TArray<FString> NewSectionNames;
		TArray<TArray<FString>> NewSectionLines;
		for (const FKeyLines& Edit : Edits)
		{
			const TArray<int32> Headers = File.FindSectionHeaders(Edit.Section);
			int32 FirstRemoved = INDEX_NONE;
			for (const int32 Header : Headers)
			{
				const int32 End = File.GetSectionEnd(Header);
				for (int32 Index = Header + 1; Index < End; ++Index)
				{
					if (IsValueLine(Lines[Index]) && Lines[Index].Key == Edit.Key)
					{
						File.RemoveLine(Index);
						Removed[Index] = 1;
						FirstRemoved = FirstRemoved == INDEX_NONE ? Index : FirstRemoved;
					}
				}
			}
			if (Edit.Lines.IsEmpty())
			{
				continue;
			}
			AddedLines += Edit.Lines.Num();
			if (FirstRemoved != INDEX_NONE)
			{
				File.InsertAfter(FirstRemoved, Edit.Lines);
			}
			else if (!Headers.IsEmpty())
			{
				File.InsertAfter(File.GetLastEntry(Headers[0]), Edit.Lines);
			}
			else
			{
				int32 NewIndex = NewSectionNames.IndexOfByPredicate([&Edit](const FString& Name) { return Name == Edit.Section; });
				if (NewIndex == INDEX_NONE)
				{
					NewIndex = NewSectionNames.Add(Edit.Section);
					NewSectionLines.AddDefaulted();
				}
				NewSectionLines[NewIndex].Append(Edit.Lines);
			}
		}
		for (int32 Index = 0; Index < NewSectionNames.Num(); ++Index)
		{
			File.AppendSection(NewSectionNames[Index], NewSectionLines[Index]);
		}

		int32 RemainingEntries = AddedLines;
		for (int32 Index = 0; Index < Lines.Num(); ++Index)
		{
			RemainingEntries += Lines[Index].Kind == EEditLineKind::KeyValue && Removed[Index] == 0 ? 1 : 0;
		}
		if (EmptyFilePolicy == EEmptyFilePolicy::Delete && RemainingEntries == 0)
		{
			if (!File.Existed())
			{
				return true;
			}
			IPlatformFile& PlatformFile = FPlatformFileManager::Get().GetPlatformFile();
			if (PlatformFile.IsReadOnly(*FilePath))
			{
				OutError = FString::Printf(TEXT("'%s' is read-only."), *FilePath);
				return false;
			}
			if (!PlatformFile.DeleteFile(*FilePath))
			{
				OutError = FString::Printf(TEXT("Cannot delete '%s'."), *FilePath);
				return false;
			}
			return true;
		}
		if ((!File.Existed() && AddedLines == 0) || !File.WouldChange())
		{
			return true;
		}
		if (EmptyFilePolicy == EEmptyFilePolicy::Delete && !File.Existed())
		{
			// A saved file the engine creates records differences and may hold array commands.
			File.PrependLine(TEXT(";METADATA=(Diff=true, UseCommands=true)"));
		}
		return File.Save(OutError);
	}
}
