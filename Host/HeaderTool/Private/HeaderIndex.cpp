#include "HeaderTool/HeaderIndex.h"

#include <algorithm>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace UE::Host::Private
{
	namespace
	{
		bool ReadWholeFile(const std::string& Path, std::string& OutText)
		{
			const int File = ::open(Path.c_str(), O_RDONLY | O_CLOEXEC);
			if (File < 0)
			{
				return false;
			}
			// One read of the size the file reports, into a buffer the caller reuses.
			struct stat Info;
			const size_t Expected = ::fstat(File, &Info) == 0 && Info.st_size > 0 ? static_cast<size_t>(Info.st_size) : 0;
			OutText.resize(Expected + 1);
			size_t Size = 0;
			for (;;)
			{
				if (Size == OutText.size())
				{
					OutText.resize(OutText.size() * 2 + 4096);
				}
				const ssize_t Read = ::read(File, &OutText[Size], OutText.size() - Size);
				if (Read <= 0)
				{
					break;
				}
				Size += static_cast<size_t>(Read);
			}
			OutText.resize(Size);
			::close(File);
			return true;
		}

		bool IsIdentChar(char C)
		{
			return std::isalnum(static_cast<unsigned char>(C)) || C == '_';
		}

		bool ContainsWord(const std::string& Text, const std::string& Name)
		{
			for (size_t At = Text.find(Name); At != std::string::npos; At = Text.find(Name, At + 1))
			{
				const bool bStart = At == 0 || !IsIdentChar(Text[At - 1]);
				const bool bEnd = At + Name.size() >= Text.size() || !IsIdentChar(Text[At + Name.size()]);
				if (bStart && bEnd)
				{
					return true;
				}
			}
			return false;
		}

		// "UCLASS", "USTRUCT" or "UENUM" anywhere, in one pass over the text.
		bool HasReflectionMacro(const std::string& Text)
		{
			const char* const End = Text.data() + Text.size();
			for (const char* At = Text.data(); (At = static_cast<const char*>(std::memchr(At, 'U', static_cast<size_t>(End - At)))); ++At)
			{
				const size_t Left = static_cast<size_t>(End - At);
				if ((Left >= 6 && std::memcmp(At, "UCLASS", 6) == 0) || (Left >= 7 && std::memcmp(At, "USTRUCT", 7) == 0) || (Left >= 5 && std::memcmp(At, "UENUM", 5) == 0))
				{
					return true;
				}
			}
			return false;
		}

		bool HasEnumKeyword(const std::string& Text)
		{
			return ::memmem(Text.data(), Text.size(), "enum", 4) != nullptr;
		}

		bool DeclaresType(const Headers::FHeaderDecls& Decls, const std::string& TypeName)
		{
			return Decls.FindClass(TypeName) || Decls.FindStruct(TypeName) || Decls.FindEnum(TypeName);
		}

		const Headers::FHeaderDecls& EmptyDecls()
		{
			static const Headers::FHeaderDecls Empty;
			return Empty;
		}

		template<typename FVisitName>
		void ForEachDeclaredName(const Headers::FHeaderDecls& Decls, FVisitName&& Visit)
		{
			for (const Headers::FTypeDecl& Class : Decls.Classes)
			{
				Visit(Class.Name);
			}
			for (const Headers::FTypeDecl& Struct : Decls.Structs)
			{
				Visit(Struct.Name);
			}
			for (const Headers::FEnumDecl& Enum : Decls.Enums)
			{
				Visit(Enum.Name);
			}
		}

		bool IsSkippedFolder(const std::string& Name)
		{
			// Not "DerivedDataCache": the engine has a module of that name (Source/Developer/DerivedDataCache).
			return Name == "Intermediate" || Name == "Binaries" || Name == "ThirdParty" || Name == "Saved" || Name == "Content"
				|| Name == "Config" || Name == "Resources" || Name == "Shaders" || (!Name.empty() && Name[0] == '.');
		}

		// readdir with the entry types the file system reports: a tree of tens of thousands of
		// headers is listed without a stat per file.
		template<typename FVisit>
		void WalkHeaders(const std::string& Folder, FVisit& Visit, int Depth)
		{
			DIR* Directory = Depth < 64 ? ::opendir(Folder.c_str()) : nullptr;
			if (!Directory)
			{
				return;
			}
			std::vector<std::string> Subfolders;
			while (const dirent* Entry = ::readdir(Directory))
			{
				const char* Name = Entry->d_name;
				if (Name[0] == '.')
				{
					continue;
				}
				unsigned char Type = Entry->d_type;
				std::string Path = Folder + "/" + Name;
				if (Type == DT_UNKNOWN || Type == DT_LNK)
				{
					struct stat Info;
					Type = ::stat(Path.c_str(), &Info) == 0 && S_ISDIR(Info.st_mode) ? DT_DIR : DT_REG;
				}
				if (Type == DT_DIR)
				{
					if (!IsSkippedFolder(Name))
					{
						Subfolders.push_back(std::move(Path));
					}
				}
				else
				{
					Visit(Path);
				}
			}
			::closedir(Directory);
			for (const std::string& Subfolder : Subfolders)
			{
				WalkHeaders(Subfolder, Visit, Depth + 1);
			}
		}

		std::string StemOf(const std::string& Path)
		{
			const size_t Slash = Path.rfind('/');
			std::string Name = Slash == std::string::npos ? Path : Path.substr(Slash + 1);
			const size_t Dot = Name.rfind('.');
			return Dot == std::string::npos ? Name : Name.substr(0, Dot);
		}

		bool EndsWith(const std::string& Text, const std::string& Suffix)
		{
			return Text.size() >= Suffix.size() && Text.compare(Text.size() - Suffix.size(), Suffix.size(), Suffix) == 0;
		}
	}

	FHeaderIndex& FHeaderIndex::Get()
	{
		static FHeaderIndex* Index = new FHeaderIndex();
		return *Index;
	}

	void FHeaderIndex::SetRoots(std::vector<std::string> InRoots)
	{
		Reset();
		Roots = std::move(InRoots);
	}

	void FHeaderIndex::Reset()
	{
		Roots.clear();
		bListed = false;
		bComplete = false;
		Headers.clear();
		Files.clear();
		IndexByPath.clear();
		DeclaredIn.clear();
		ConstantsIn.clear();
		bConstantsIndexed = false;
		ModuleFolderByFolder.clear();
		HeaderReads = 0;
		SourceReads = 0;
		HeadersByStem.clear();
		Parsed.clear();
		Found.clear();
		ModuleByFolder.clear();
		SourcesByModuleFolder.clear();
		ConstantHeaders.clear();
	}

	void FHeaderIndex::ListHeaders()
	{
		if (bListed)
		{
			return;
		}
		bListed = true;
		auto Visit = [this](const std::string& Path)
		{
			if (EndsWith(Path, ".h") && !EndsWith(Path, ".generated.h"))
			{
				HeadersByStem[StemOf(Path)].push_back(Headers.size());
				IndexByPath.emplace(Path, Headers.size());
				Headers.push_back(Path);
			}
		};
		for (const std::string& Root : Roots)
		{
			WalkHeaders(Root, Visit, 0);
		}
		Files.resize(Headers.size());
	}

	const std::vector<std::string>& FHeaderIndex::AllHeaders()
	{
		ListHeaders();
		return Headers;
	}

	bool FHeaderIndex::ReadHeaderText(const std::string& Path, std::string& OutText)
	{
		++HeaderReads;
		const auto Listed = IndexByPath.find(Path);
		if (Listed != IndexByPath.end())
		{
			FHeaderFile& File = Files[Listed->second];
			File.Reads = File.Reads == UINT16_MAX ? File.Reads : static_cast<uint16_t>(File.Reads + 1);
		}
		if (!ReadWholeFile(Path, OutText))
		{
			OutText.clear();
			return false;
		}
		return true;
	}

	bool FHeaderIndex::Remembered(const std::string& Path, const std::string& Text, uint8_t Known, uint8_t Has, bool (*Test)(const std::string&))
	{
		const auto Listed = IndexByPath.find(Path);
		if (Listed == IndexByPath.end())
		{
			return Test(Text);
		}
		uint8_t& Flags = Files[Listed->second].Flags;
		if (!(Flags & Known))
		{
			Flags |= Known | (Test(Text) ? Has : 0);
		}
		return (Flags & Has) != 0;
	}

	bool FHeaderIndex::MayDeclareTypes(const std::string& Path, const std::string& Text)
	{
		return Remembered(Path, Text, ReflectionKnown, HasReflection, &HasReflectionMacro);
	}

	bool FHeaderIndex::MayDeclareEnums(const std::string& Path, const std::string& Text)
	{
		return Remembered(Path, Text, EnumKnown, HasEnum, &HasEnumKeyword);
	}

	bool FHeaderIndex::IsKnownWithout(const std::string& Path, uint8_t Known, uint8_t Has) const
	{
		const auto Listed = IndexByPath.find(Path);
		return Listed != IndexByPath.end() && (Files[Listed->second].Flags & (Known | Has)) == Known;
	}

	const Headers::FHeaderDecls& FHeaderIndex::Parse(const std::string& Path, const std::string& Text, bool bIndexOnly)
	{
		std::unique_ptr<Headers::FHeaderDecls>& Slot = Parsed[Path];
		if (!Slot)
		{
			Slot = std::make_unique<Headers::FHeaderDecls>(Headers::ReadHeader(Text));
			if (!bIndexOnly)
			{
				// Every type of a parsed header is known from now on, so its neighbours cost nothing.
				ForEachDeclaredName(*Slot, [this, &Path](const std::string& Name) { Found.emplace(Name, Path); });
			}
		}
		return *Slot;
	}

	const Headers::FHeaderDecls& FHeaderIndex::Read(const std::string& Path)
	{
		const auto Known = Parsed.find(Path);
		if (Known != Parsed.end())
		{
			return *Known->second;
		}
		// Once every header is read, one left unparsed declares nothing.
		if (bComplete && IndexByPath.count(Path))
		{
			return EmptyDecls();
		}
		std::string Text;
		ReadHeaderText(Path, Text);
		return Parse(Path, Text, false);
	}

	const Headers::FHeaderDecls* FHeaderIndex::FindParsed(const std::string& Path) const
	{
		const auto Known = Parsed.find(Path);
		return Known == Parsed.end() ? nullptr : Known->second.get();
	}

	void FHeaderIndex::ReadAllHeaders()
	{
		if (bComplete || Roots.empty())
		{
			return;
		}
		ListHeaders();
		std::string Text;
		for (size_t Index = 0; Index < Headers.size(); ++Index)
		{
			const std::string& Path = Headers[Index];
			const Headers::FHeaderDecls* Decls = FindParsed(Path);
			const bool bKnownEmpty = IsKnownWithout(Path, ReflectionKnown, HasReflection) && IsKnownWithout(Path, EnumKnown, HasEnum);
			if (!Decls && !bKnownEmpty && ReadHeaderText(Path, Text) && (MayDeclareTypes(Path, Text) || MayDeclareEnums(Path, Text)))
			{
				Decls = &Parse(Path, Text, true);
			}
			if (Decls)
			{
				ForEachDeclaredName(*Decls, [this, Index](const std::string& Name) { DeclaredIn.emplace(Name, Index); });
			}
		}
		bComplete = true;
	}

	const std::string* FHeaderIndex::FirstDeclaring(const std::string& TypeName) const
	{
		const auto Declaring = DeclaredIn.find(TypeName);
		return Declaring == DeclaredIn.end() ? nullptr : &Headers[Declaring->second];
	}

	void FHeaderIndex::IndexConstants()
	{
		if (bConstantsIndexed)
		{
			return;
		}
		bConstantsIndexed = true;
		// Keyed as FindEnumConstant asks: "Enum::Name" for every enumerator, "::Name" for those of
		// unscoped enums; the first header in listing order wins, as a scan would find it.
		for (size_t Index = 0; Index < Headers.size(); ++Index)
		{
			const Headers::FHeaderDecls* Decls = FindParsed(Headers[Index]);
			if (!Decls)
			{
				continue;
			}
			for (const std::vector<Headers::FEnumDecl>* List : {&Decls->Enums, &Decls->PlainEnums})
			{
				for (const Headers::FEnumDecl& Enum : *List)
				{
					for (const Headers::FEnumeratorDecl& Enumerator : Enum.Enumerators)
					{
						ConstantsIn.emplace(Enum.Name + "::" + Enumerator.Name, Index);
						if (Enum.Form == Headers::FEnumDecl::EForm::Regular)
						{
							ConstantsIn.emplace("::" + Enumerator.Name, Index);
						}
					}
				}
			}
		}
	}

	FHeaderIndex::FReadStats FHeaderIndex::GetReadStats() const
	{
		FReadStats Stats;
		Stats.HeaderReads = HeaderReads;
		Stats.SourceReads = SourceReads;
		for (const FHeaderFile& File : Files)
		{
			Stats.MostReadsOfOneHeader = std::max<int32_t>(Stats.MostReadsOfOneHeader, File.Reads);
		}
		return Stats;
	}

	bool FHeaderIndex::Declares(const std::string& Path, const std::string& TypeName)
	{
		return DeclaresType(Read(Path), TypeName);
	}

	const std::string* FHeaderIndex::Remember(const std::string& TypeName, const std::string& Path)
	{
		std::string& Entry = Found[TypeName];
		Entry = Path;
		return Entry.empty() ? nullptr : &Entry;
	}

	const std::string* FHeaderIndex::FindDeclaringHeader(const std::string& TypeName, const std::string* NearHeader)
	{
		if (Roots.empty() || TypeName.size() < 2)
		{
			return nullptr;
		}
		const auto Known = Found.find(TypeName);
		if (Known != Found.end())
		{
			return Known->second.empty() ? nullptr : &Known->second;
		}
		// Engine headers are named after their main type: UGameMapsSettings lives in GameMapsSettings.h.
		if (const std::string* ByName = FindHeaderByFileName(TypeName))
		{
			return ByName;
		}
		if (NearHeader)
		{
			const std::string Near = *NearHeader;
			if (Declares(Near, TypeName))
			{
				return Remember(TypeName, Near);
			}
			for (const std::string& Included : IncludedHeaders(Near))
			{
				if (Declares(Included, TypeName))
				{
					return Remember(TypeName, Included);
				}
			}
		}
		if (bComplete)
		{
			const std::string* First = FirstDeclaring(TypeName);
			return Remember(TypeName, First ? *First : std::string());
		}
		std::string Text;
		for (const std::string& Path : Headers)
		{
			if (Parsed.count(Path) || IsKnownWithout(Path, ReflectionKnown, HasReflection) || !ReadHeaderText(Path, Text) || !MayDeclareTypes(Path, Text) || !ContainsWord(Text, TypeName))
			{
				continue;
			}
			const Headers::FHeaderDecls& Decls = Parse(Path, Text, false);
			if (DeclaresType(Decls, TypeName))
			{
				return Remember(TypeName, Path);
			}
		}
		return Remember(TypeName, std::string());
	}

	const std::string* FHeaderIndex::FindDeclaringHeaderOfAny(const std::vector<std::string>& Names)
	{
		if (Roots.empty())
		{
			return nullptr;
		}
		for (const std::string& Name : Names)
		{
			const auto Known = Found.find(Name);
			if (Known != Found.end() && !Known->second.empty())
			{
				return &Known->second;
			}
		}
		std::vector<std::string> Unknown;
		for (const std::string& Name : Names)
		{
			if (const std::string* ByName = FindHeaderByFileName(Name))
			{
				return ByName;
			}
			if (!Found.count(Name))
			{
				Unknown.push_back(Name);
			}
		}
		if (Unknown.empty())
		{
			return nullptr;
		}
		if (bComplete)
		{
			// The first header in listing order that declares any of them, as the scan finds it.
			const std::string* First = nullptr;
			const std::string* FirstName = nullptr;
			for (const std::string& Name : Unknown)
			{
				const std::string* Declaring = FirstDeclaring(Name);
				if (Declaring && (!First || IndexByPath.at(*Declaring) < IndexByPath.at(*First)))
				{
					First = Declaring;
					FirstName = &Name;
				}
			}
			if (First)
			{
				return Remember(*FirstName, *First);
			}
		}
		std::string Text;
		for (size_t Index = 0; Index < Headers.size() && !bComplete; ++Index)
		{
			const std::string& Path = Headers[Index];
			if (Parsed.count(Path) || IsKnownWithout(Path, ReflectionKnown, HasReflection) || !ReadHeaderText(Path, Text) || !MayDeclareTypes(Path, Text))
			{
				continue;
			}
			for (const std::string& Name : Unknown)
			{
				if (!ContainsWord(Text, Name))
				{
					continue;
				}
				const Headers::FHeaderDecls& Decls = Parse(Path, Text, false);
				if (DeclaresType(Decls, Name))
				{
					return Remember(Name, Path);
				}
			}
		}
		for (const std::string& Name : Unknown)
		{
			Remember(Name, std::string());
		}
		return nullptr;
	}

	const std::string* FHeaderIndex::FindHeaderByFileName(const std::string& TypeName)
	{
		if (Roots.empty() || TypeName.size() < 2)
		{
			return nullptr;
		}
		const auto Known = Found.find(TypeName);
		if (Known != Found.end())
		{
			return Known->second.empty() ? nullptr : &Known->second;
		}
		ListHeaders();
		const auto ByStem = HeadersByStem.find(TypeName.substr(1));
		if (ByStem != HeadersByStem.end())
		{
			for (const size_t Index : ByStem->second)
			{
				if (Declares(Headers[Index], TypeName))
				{
					return Remember(TypeName, Headers[Index]);
				}
			}
		}
		return nullptr;
	}

	std::vector<std::string> FHeaderIndex::IncludedHeaders(const std::string& NearHeader)
	{
		ListHeaders();
		std::vector<std::string> Result;
		const std::vector<std::string> Includes = Read(NearHeader).Includes;
		for (const std::string& Include : Includes)
		{
			const auto IncludeStem = HeadersByStem.find(StemOf(Include));
			if (IncludeStem == HeadersByStem.end())
			{
				continue;
			}
			for (const size_t Index : IncludeStem->second)
			{
				if (EndsWith(Headers[Index], "/" + Include))
				{
					Result.push_back(Headers[Index]);
				}
			}
		}
		return Result;
	}

	bool FHeaderIndex::FindEnumConstant(const std::string& Scope, const std::string& Name, const std::string* NearHeader, int64_t& OutValue)
	{
		if (Roots.empty() || Name.empty())
		{
			return false;
		}
		const std::string Id = Scope + "::" + Name;
		const auto Known = ConstantHeaders.find(Id);
		if (Known != ConstantHeaders.end())
		{
			return !Known->second.empty() && Read(Known->second).FindEnumConstant(Scope, Name, OutValue);
		}
		std::vector<std::string> Candidates;
		if (NearHeader)
		{
			Candidates.push_back(*NearHeader);
			for (const std::string& Included : IncludedHeaders(*NearHeader))
			{
				Candidates.push_back(Included);
			}
		}
		for (const std::string& Path : Candidates)
		{
			if (Read(Path).FindEnumConstant(Scope, Name, OutValue))
			{
				ConstantHeaders[Id] = Path;
				return true;
			}
		}
		// Any header that names the enumerator and declares an enum: parsed ones from memory.
		ListHeaders();
		if (bComplete)
		{
			IndexConstants();
			const auto Naming = ConstantsIn.find(Id);
			if (Naming != ConstantsIn.end() && Read(Headers[Naming->second]).FindEnumConstant(Scope, Name, OutValue))
			{
				ConstantHeaders[Id] = Headers[Naming->second];
				return true;
			}
			ConstantHeaders[Id] = std::string();
			return false;
		}
		std::string Text;
		for (const std::string& Path : Headers)
		{
			const Headers::FHeaderDecls* Decls = FindParsed(Path);
			if (!Decls)
			{
				if (IsKnownWithout(Path, EnumKnown, HasEnum) || !ReadHeaderText(Path, Text) || !MayDeclareEnums(Path, Text) || !ContainsWord(Text, Name))
				{
					continue;
				}
				Decls = &Parse(Path, Text, false);
			}
			if (Decls->FindEnumConstant(Scope, Name, OutValue))
			{
				ConstantHeaders[Id] = Path;
				return true;
			}
		}
		ConstantHeaders[Id] = std::string();
		return false;
	}

	std::string FHeaderIndex::ModuleFolderOf(const std::string& Path)
	{
		const size_t Slash = Path.rfind('/');
		const std::string Folder = Slash == std::string::npos ? std::string(".") : Path.substr(0, Slash);
		const auto Cached = ModuleFolderByFolder.find(Folder);
		if (Cached != ModuleFolderByFolder.end())
		{
			return Cached->second;
		}
		std::string Found;
		std::error_code Error;
		for (std::filesystem::path Current(Folder); Found.empty() && !Current.empty() && Current.has_filename(); Current = Current.parent_path())
		{
			for (std::filesystem::directory_iterator It(Current, Error); !Error && It != std::filesystem::directory_iterator(); It.increment(Error))
			{
				if (EndsWith(It->path().filename().string(), ".Build.cs"))
				{
					Found = Current.string();
					break;
				}
			}
			if (Current.filename() == "Source")
			{
				break;
			}
		}
		return ModuleFolderByFolder[Folder] = Found;
	}

	void FHeaderIndex::IndexConstructors(FModuleSources& Sources)
	{
		if (Sources.bIndexed)
		{
			return;
		}
		Sources.bIndexed = true;
		std::string Text;
		for (size_t Index = 0; Index < Sources.Files.size(); ++Index)
		{
			++SourceReads;
			if (!ReadWholeFile(Sources.Files[Index], Text))
			{
				continue;
			}
			// "Name::Name", blanks allowed around "::": a constructor definition (or a mention of one).
			for (size_t At = Text.find("::"); At != std::string::npos; At = Text.find("::", At + 2))
			{
				size_t End = At;
				while (End > 0 && (Text[End - 1] == ' ' || Text[End - 1] == '\t'))
				{
					--End;
				}
				size_t Begin = End;
				while (Begin > 0 && IsIdentChar(Text[Begin - 1]))
				{
					--Begin;
				}
				size_t After = At + 2;
				while (After < Text.size() && (Text[After] == ' ' || Text[After] == '\t'))
				{
					++After;
				}
				const size_t Length = End - Begin;
				if (Length > 0 && Text.compare(After, Length, Text, Begin, Length) == 0 && (After + Length >= Text.size() || !IsIdentChar(Text[After + Length])))
				{
					std::vector<size_t>& In = Sources.ConstructorsIn[Text.substr(Begin, Length)];
					if (In.empty() || In.back() != Index)
					{
						In.push_back(Index);
					}
				}
			}
		}
	}

	bool FHeaderIndex::FindConstructorDefinition(const std::string& Header, const std::string& ClassName, Headers::FConstructorDefaults& OutDefaults)
	{
		const std::string Folder = ModuleFolderOf(Header);
		if (Folder.empty())
		{
			return false;
		}
		auto Listed = SourcesByModuleFolder.find(Folder);
		if (Listed == SourcesByModuleFolder.end())
		{
			FModuleSources Sources;
			auto Visit = [&Sources](const std::string& Path)
			{
				if (EndsWith(Path, ".cpp"))
				{
					Sources.Files.push_back(Path);
				}
			};
			WalkHeaders(Folder, Visit, 0);
			std::sort(Sources.Files.begin(), Sources.Files.end());
			Listed = SourcesByModuleFolder.emplace(Folder, std::move(Sources)).first;
		}
		FModuleSources& Sources = Listed->second;
		std::string Text;
		// A file that never names the class is passed over untokenized; the constructor reader finds
		// "UFoo::UFoo(" in any spacing, as the index does.
		auto Holds = [&](size_t Index)
		{
			++SourceReads;
			return ReadWholeFile(Sources.Files[Index], Text) && ContainsWord(Text, ClassName) && Headers::ReadConstructorDefinition(Text, ClassName, OutDefaults);
		};
		// The sources named after the header go first (the last listed first); they nearly always
		// hold the constructor.
		const std::string Stem = StemOf(Header);
		for (size_t Index = Sources.Files.size(); Index-- > 0;)
		{
			if (StemOf(Sources.Files[Index]) == Stem && Holds(Index))
			{
				return true;
			}
		}
		// Then the others that name it, found by reading the module's sources once for all its classes.
		IndexConstructors(Sources);
		const auto Naming = Sources.ConstructorsIn.find(ClassName);
		if (Naming != Sources.ConstructorsIn.end())
		{
			for (const size_t Index : Naming->second)
			{
				if (StemOf(Sources.Files[Index]) != Stem && Holds(Index))
				{
					return true;
				}
			}
		}
		return false;
	}

	const std::string& FHeaderIndex::ModuleOf(const std::string& Path)
	{
		const size_t Slash = Path.rfind('/');
		const std::string Folder = Slash == std::string::npos ? std::string(".") : Path.substr(0, Slash);
		const auto Cached = ModuleByFolder.find(Folder);
		if (Cached != ModuleByFolder.end())
		{
			return Cached->second;
		}
		const std::string ModuleFolder = ModuleFolderOf(Path);
		if (!ModuleFolder.empty())
		{
			return ModuleByFolder[Folder] = std::filesystem::path(ModuleFolder).filename().string();
		}
		// Without a rules file, the module is the folder below Source/ (or below the engine's
		// Source/Runtime, Editor, Developer or Programs), as the layout has it.
		std::string BelowSource;
		std::string Previous;
		for (std::filesystem::path Current(Folder); !Current.empty() && Current.has_filename() && Current.filename() != "Source"; Current = Current.parent_path())
		{
			if (Current.parent_path().filename() == "Source" && BelowSource.empty())
			{
				const std::string Name = Current.filename().string();
				const bool bGroup = Name == "Runtime" || Name == "Editor" || Name == "Developer" || Name == "Programs";
				BelowSource = bGroup && !Previous.empty() ? Previous : Name;
			}
			Previous = Current.filename().string();
		}
		const std::string Module = BelowSource.empty() ? std::filesystem::path(Folder).filename().string() : BelowSource;
		return ModuleByFolder[Folder] = Module;
	}
}
