#include "Config/ConfigFileText.h"

#include "Config/ConfigLineReader.h"
#include "Host/AtomicFile.h"
#include "Misc/FileHelper.h"
#include "Misc/Paths.h"

namespace
{
	using namespace UE::Host::Config;

	bool IsBlank(const FString& Text)
	{
		for (const TCHAR C : Text)
		{
			if (!FChar::IsWhitespace(C))
			{
				return false;
			}
		}
		return true;
	}

	bool IsUtf16(EConfigTextEncoding Encoding)
	{
		return Encoding == EConfigTextEncoding::Utf16LittleEndian || Encoding == EConfigTextEncoding::Utf16BigEndian;
	}
}

namespace UE::Host::Config
{
	bool FConfigFileText::Load(const FString& InFilename, FString& OutError)
	{
		Filename = InFilename;
		Physical.clear();
		Lines.Reset();
		Appended.Reset();
		Encoding = EConfigTextEncoding::Utf8;
		LineBreak = TEXT("\n");
		OriginalBytes.clear();
		bExisted = false;
		if (!FPaths::FileExists(Filename))
		{
			if (FPaths::DirectoryExists(Filename))
			{
				OutError = FString::Printf(TEXT("'%s' is a folder, not a config file."), *Filename);
				return false;
			}
			return true;
		}
		TArray<uint8> Bytes;
		if (!FFileHelper::LoadFileToArray(Bytes, *Filename))
		{
			OutError = FString::Printf(TEXT("Cannot read '%s'."), *Filename);
			return false;
		}
		const std::string Raw(reinterpret_cast<const char*>(Bytes.GetData()), static_cast<size_t>(Bytes.Num()));
		OriginalBytes = Raw;
		bExisted = true;
		size_t BomLength = 0;
		if (Raw.size() >= 3 && Raw.compare(0, 3, "\xEF\xBB\xBF") == 0)
		{
			Encoding = EConfigTextEncoding::Utf8WithBom;
			BomLength = 3;
		}
		else if (Raw.size() >= 2 && Raw.compare(0, 2, "\xFF\xFE") == 0)
		{
			Encoding = EConfigTextEncoding::Utf16LittleEndian;
			BomLength = 2;
		}
		else if (Raw.size() >= 2 && Raw.compare(0, 2, "\xFE\xFF") == 0)
		{
			Encoding = EConfigTextEncoding::Utf16BigEndian;
			BomLength = 2;
		}
		Parse(Raw.substr(BomLength));
		return true;
	}

	void FConfigFileText::Parse(const std::string& Body)
	{
		// Physical lines first. Bytes 0x0D and 0x0A never occur inside a multi-byte UTF-8
		// sequence, so UTF-8 splits safely on bytes; UTF-16 splits on code units.
		const bool bUtf16 = IsUtf16(Encoding);
		const bool bBigEndian = Encoding == EConfigTextEncoding::Utf16BigEndian;
		const size_t UnitSize = bUtf16 ? 2 : 1;
		const size_t UnitCount = Body.size() / UnitSize;
		auto UnitAt = [&](size_t Unit) -> char16_t
		{
			if (!bUtf16)
			{
				return static_cast<char16_t>(static_cast<uint8>(Body[Unit]));
			}
			const uint8 First = static_cast<uint8>(Body[Unit * 2]);
			const uint8 Second = static_cast<uint8>(Body[Unit * 2 + 1]);
			return static_cast<char16_t>(bBigEndian ? (First << 8) | Second : (Second << 8) | First);
		};
		bool bLineBreakFound = false;
		size_t Start = 0;
		while (Start < UnitCount)
		{
			size_t End = Start;
			while (End < UnitCount && UnitAt(End) != '\r' && UnitAt(End) != '\n')
			{
				++End;
			}
			size_t BreakEnd = End;
			if (BreakEnd < UnitCount && UnitAt(BreakEnd) == '\r')
			{
				++BreakEnd;
			}
			if (BreakEnd < UnitCount && UnitAt(BreakEnd) == '\n')
			{
				++BreakEnd;
			}
			FPhysicalLine& Line = Physical.emplace_back();
			Line.ContentBytes = Body.substr(Start * UnitSize, (End - Start) * UnitSize);
			Line.BreakBytes = Body.substr(End * UnitSize, (BreakEnd - End) * UnitSize);
			for (size_t Unit = End; Unit < BreakEnd; ++Unit)
			{
				Line.BreakText.push_back(UnitAt(Unit));
			}
			if (bUtf16)
			{
				std::u16string Units;
				for (size_t Unit = Start; Unit < End; ++Unit)
				{
					Units.push_back(UnitAt(Unit));
				}
				Line.Content = FString(std::move(Units));
			}
			else
			{
				Line.Content = UE::Host::Utf8ToString(Line.ContentBytes);
			}
			if (!bLineBreakFound && BreakEnd > End)
			{
				bLineBreakFound = true;
				LineBreak = BreakEnd - End == 2 ? TEXT("\r\n") : (UnitAt(End) == '\r' ? TEXT("\r") : TEXT("\n"));
			}
			Start = BreakEnd;
		}
		if (Body.size() % UnitSize != 0)
		{
			// A stray last byte of a UTF-16 file is kept as it was.
			if (Physical.empty())
			{
				Physical.emplace_back();
			}
			Physical.back().ContentBytes.push_back(Body.back());
		}

		// Then logical lines, read with the loader's own rules over the decoded text.
		std::u16string Flat;
		std::vector<int32> Starts;
		Starts.reserve(Physical.size());
		for (const FPhysicalLine& Line : Physical)
		{
			Starts.push_back(static_cast<int32>(Flat.size()));
			Flat += Line.Content.GetStdString();
			Flat += Line.BreakText;
		}
		const int32 PhysicalCount = static_cast<int32>(Physical.size());
		int32 Index = 0;
		while (Index < PhysicalCount)
		{
			FEditLine Line;
			Line.FirstPhysical = Index;
			Line.LastPhysical = Index;
			if (!IsBlank(Physical[static_cast<size_t>(Index)].Content))
			{
				FString Text;
				const int32 End = ReadLogicalLine(Flat.data(), static_cast<int32>(Flat.size()), Starts[static_cast<size_t>(Index)], &Text);
				while (Line.LastPhysical + 1 < PhysicalCount && Starts[static_cast<size_t>(Line.LastPhysical + 1)] <= End)
				{
					++Line.LastPhysical;
				}
				const FConfigLine Parsed = ParseLogicalLine(Text);
				switch (Parsed.Kind)
				{
				case EConfigLineKind::Section:
					Line.Kind = EEditLineKind::Section;
					Line.SectionName = Parsed.SectionName;
					break;
				case EConfigLineKind::KeyValue:
					Line.Kind = EEditLineKind::KeyValue;
					Line.Operation = Parsed.Operation;
					Line.Key = Parsed.Key;
					Line.Value = Parsed.Value;
					break;
				default:
					Text.TrimEndInline();
					Line.Kind = (Text.IsEmpty() || Text[0] == ';') ? EEditLineKind::Comment : EEditLineKind::Other;
					break;
				}
			}
			Lines.Add(Line);
			Index = Line.LastPhysical + 1;
		}
	}

	TArray<int32> FConfigFileText::FindSectionHeaders(const FString& Section) const
	{
		TArray<int32> Headers;
		for (int32 Index = 0; Index < Lines.Num(); ++Index)
		{
			if (Lines[Index].Kind == EEditLineKind::Section && Lines[Index].SectionName == Section)
			{
				Headers.Add(Index);
			}
		}
		return Headers;
	}

	int32 FConfigFileText::GetSectionEnd(int32 Header) const
	{
		int32 End = Header + 1;
		while (End < Lines.Num() && Lines[End].Kind != EEditLineKind::Section)
		{
			++End;
		}
		return End;
	}

	int32 FConfigFileText::GetLastEntry(int32 Header) const
	{
		// Comments just before the next header usually introduce that section, so new entries
		// go above them.
		for (int32 Index = GetSectionEnd(Header) - 1; Index > Header; --Index)
		{
			if (Lines[Index].Kind != EEditLineKind::Blank && Lines[Index].Kind != EEditLineKind::Comment)
			{
				return Index;
			}
		}
		return Header;
	}

	void FConfigFileText::ReplaceLine(int32 LogicalLine, const FString& NewText)
	{
		const FEditLine& Line = Lines[LogicalLine];
		FPhysicalLine& First = Physical[static_cast<size_t>(Line.FirstPhysical)];
		First.bReplaced = true;
		First.Replacement = NewText;
		First.BreakBytes = Physical[static_cast<size_t>(Line.LastPhysical)].BreakBytes;
		for (int32 Index = Line.FirstPhysical + 1; Index <= Line.LastPhysical; ++Index)
		{
			Physical[static_cast<size_t>(Index)].bRemoved = true;
		}
	}

	TArray<FString> FConfigFileText::GetPhysicalTexts(int32 LogicalLine) const
	{
		TArray<FString> Texts;
		const FEditLine& Line = Lines[LogicalLine];
		for (int32 Index = Line.FirstPhysical; Index <= Line.LastPhysical; ++Index)
		{
			Texts.Add(Physical[static_cast<size_t>(Index)].Content);
		}
		return Texts;
	}

	void FConfigFileText::RemoveLine(int32 LogicalLine)
	{
		const FEditLine& Line = Lines[LogicalLine];
		for (int32 Index = Line.FirstPhysical; Index <= Line.LastPhysical; ++Index)
		{
			Physical[static_cast<size_t>(Index)].bRemoved = true;
		}
	}

	void FConfigFileText::InsertAfter(int32 LogicalLine, const TArray<FString>& NewLines)
	{
		Physical[static_cast<size_t>(Lines[LogicalLine].LastPhysical)].InsertedAfter.Append(NewLines);
	}

	void FConfigFileText::AppendSection(const FString& Section, const TArray<FString>& NewLines)
	{
		// Sections appended in one edit are set apart like the first one is from the file.
		if (!Appended.IsEmpty())
		{
			Appended.Add(FString());
		}
		Appended.Add(TEXT("[") + Section + TEXT("]"));
		Appended.Append(NewLines);
	}

	void FConfigFileText::PrependLine(const FString& Text)
	{
		Prepended.Add(Text);
	}

	std::string FConfigFileText::Encode(const FString& Text) const
	{
		if (!IsUtf16(Encoding))
		{
			return UE::Host::StringToUtf8(Text);
		}
		std::string Bytes;
		Bytes.reserve(static_cast<size_t>(Text.Len()) * 2);
		for (const TCHAR C : Text)
		{
			const char High = static_cast<char>((C >> 8) & 0xFF);
			const char Low = static_cast<char>(C & 0xFF);
			Bytes.push_back(Encoding == EConfigTextEncoding::Utf16BigEndian ? High : Low);
			Bytes.push_back(Encoding == EConfigTextEncoding::Utf16BigEndian ? Low : High);
		}
		return Bytes;
	}

	bool FConfigFileText::WouldChange() const
	{
		return !bExisted || Render() != OriginalBytes;
	}

	bool FConfigFileText::Save(FString& OutError) const
	{
		const std::string Out = Render();
		return UE::Host::WriteFileAtomically(Filename, Out.data(), static_cast<int64>(Out.size()), OutError);
	}

	std::string FConfigFileText::Render() const
	{
		std::string Out;
		switch (Encoding)
		{
		case EConfigTextEncoding::Utf8WithBom:
			Out = "\xEF\xBB\xBF";
			break;
		case EConfigTextEncoding::Utf16LittleEndian:
			Out = "\xFF\xFE";
			break;
		case EConfigTextEncoding::Utf16BigEndian:
			Out = "\xFE\xFF";
			break;
		default:
			break;
		}
		const std::string EncodedBreak = Encode(LineBreak);
		bool bAnyLine = false;
		bool bLastEndsWithBreak = true;
		bool bLastBlank = true;
		auto EmitNewLine = [&](const FString& Text)
		{
			if (!bLastEndsWithBreak)
			{
				Out += EncodedBreak;
			}
			Out += Encode(Text);
			Out += EncodedBreak;
			bAnyLine = true;
			bLastEndsWithBreak = true;
			bLastBlank = IsBlank(Text);
		};
		for (const FString& Text : Prepended)
		{
			EmitNewLine(Text);
		}
		// A leading line does not set the first section apart from the rest of the file.
		bAnyLine = false;
		for (const FPhysicalLine& Line : Physical)
		{
			if (!Line.bRemoved)
			{
				if (!bLastEndsWithBreak)
				{
					Out += EncodedBreak;
				}
				Out += Line.bReplaced ? Encode(Line.Replacement) : Line.ContentBytes;
				Out += Line.BreakBytes;
				bAnyLine = true;
				bLastEndsWithBreak = !Line.BreakBytes.empty();
				bLastBlank = IsBlank(Line.bReplaced ? Line.Replacement : Line.Content);
			}
			for (const FString& Inserted : Line.InsertedAfter)
			{
				EmitNewLine(Inserted);
			}
		}
		if (!Appended.IsEmpty())
		{
			if (bAnyLine && !bLastBlank)
			{
				EmitNewLine(FString());
			}
			for (const FString& Text : Appended)
			{
				EmitNewLine(Text);
			}
		}
		if (!bLastEndsWithBreak)
		{
			Out += EncodedBreak;
		}
		return Out;
	}
}
