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

		// Every "Name::Name(" of a source text: the classes whose constructors it may define.
		std::vector<std::string> FindConstructorNames(const std::string& Text)
		{
			std::vector<std::string> Names;
			for (size_t At = Text.find("::"); At != std::string::npos; At = Text.find("::", At + 2))
			{
				size_t Begin = At;
				while (Begin > 0 && IsIdentChar(Text[Begin - 1]))
				{
					--Begin;
				}
				const size_t Length = At - Begin;
				if (Length == 0 || Text.compare(At + 2, Length, Text, Begin, Length) != 0)
				{
					continue;
				}
				size_t After = At + 2 + Length;
				if (After < Text.size() && IsIdentChar(Text[After]))
				{
					continue;
				}
				while (After < Text.size() && (Text[After] == ' ' || Text[After] == '\t'))
				{
					++After;
				}
				if (After < Text.size() && Text[After] == '(')
				{
					std::string Name = Text.substr(Begin, Length);
					if (std::find(Names.begin(), Names.end(), Name) == Names.end())
					{
						Names.push_back(std::move(Name));
					}
				}
			}
			return Names;
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

		// Text holds Name as a whole word and a reflection macro: worth parsing.
		bool MayDeclare(const std::string& Text, const std::string& Name)
		{
			return ContainsWord(Text, Name)
				&& (Text.find("UCLASS") != std::string::npos || Text.find("USTRUCT") != std::string::npos || Text.find("UENUM") != std::string::npos);
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
		Headers.clear();
		HeadersByStem.clear();
		Parsed.clear();
		Found.clear();
		ModuleByFolder.clear();
		ConstructorsByModuleFolder.clear();
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
				Headers.push_back(Path);
			}
		};
		for (const std::string& Root : Roots)
		{
			WalkHeaders(Root, Visit, 0);
		}
	}

	const std::vector<std::string>& FHeaderIndex::AllHeaders()
	{
		ListHeaders();
		return Headers;
	}

	const Headers::FHeaderDecls& FHeaderIndex::Read(const std::string& Path)
	{
		std::unique_ptr<Headers::FHeaderDecls>& Slot = Parsed[Path];
		if (!Slot)
		{
			std::string Text;
			Slot = std::make_unique<Headers::FHeaderDecls>(ReadWholeFile(Path, Text) ? Headers::ReadHeader(Text) : Headers::FHeaderDecls());
			// Every type of a parsed header is known from now on, so its neighbours cost nothing.
			for (const Headers::FTypeDecl& Class : Slot->Classes)
			{
				Found.emplace(Class.Name, Path);
			}
			for (const Headers::FTypeDecl& Struct : Slot->Structs)
			{
				Found.emplace(Struct.Name, Path);
			}
			for (const Headers::FEnumDecl& Enum : Slot->Enums)
			{
				Found.emplace(Enum.Name, Path);
			}
		}
		return *Slot;
	}

	const Headers::FHeaderDecls* FHeaderIndex::ReadIfDeclaresClasses(const std::string& Path)
	{
		const auto Known = Parsed.find(Path);
		if (Known != Parsed.end())
		{
			return Known->second.get();
		}
		std::string Text;
		if (!ReadWholeFile(Path, Text) || Text.find("UCLASS") == std::string::npos)
		{
			return nullptr;
		}
		return &Read(Path);
	}

	bool FHeaderIndex::Declares(const std::string& Path, const std::string& TypeName)
	{
		const Headers::FHeaderDecls& Decls = Read(Path);
		return Decls.FindClass(TypeName) || Decls.FindStruct(TypeName) || Decls.FindEnum(TypeName);
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
		std::string Text;
		for (const std::string& Path : Headers)
		{
			if (Parsed.count(Path) || !ReadWholeFile(Path, Text) || !MayDeclare(Text, TypeName))
			{
				continue;
			}
			if (Declares(Path, TypeName))
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
		std::string Text;
		for (const std::string& Path : Headers)
		{
			if (Parsed.count(Path) || !ReadWholeFile(Path, Text))
			{
				continue;
			}
			for (const std::string& Name : Unknown)
			{
				if (MayDeclare(Text, Name) && Declares(Path, Name))
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
		// Any header that names the enumerator and declares an enum.
		ListHeaders();
		std::string Text;
		for (const std::string& Path : Headers)
		{
			if (!ReadWholeFile(Path, Text) || !ContainsWord(Text, Name) || Text.find("enum") == std::string::npos)
			{
				continue;
			}
			if (Read(Path).FindEnumConstant(Scope, Name, OutValue))
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
		std::error_code Error;
		for (std::filesystem::path Current = std::filesystem::path(Path).parent_path(); !Current.empty() && Current.has_filename(); Current = Current.parent_path())
		{
			for (std::filesystem::directory_iterator It(Current, Error); !Error && It != std::filesystem::directory_iterator(); It.increment(Error))
			{
				if (EndsWith(It->path().filename().string(), ".Build.cs"))
				{
					return Current.string();
				}
			}
			if (Current.filename() == "Source")
			{
				break;
			}
		}
		return std::string();
	}

	bool FHeaderIndex::FindConstructorDefinition(const std::string& Header, const std::string& ClassName, Headers::FConstructorDefaults& OutDefaults)
	{
		const std::string Folder = ModuleFolderOf(Header);
		if (Folder.empty())
		{
			return false;
		}
		auto Indexed = ConstructorsByModuleFolder.find(Folder);
		if (Indexed == ConstructorsByModuleFolder.end())
		{
			std::vector<std::string> Sources;
			auto Visit = [&Sources](const std::string& Path)
			{
				if (EndsWith(Path, ".cpp"))
				{
					Sources.push_back(Path);
				}
			};
			WalkHeaders(Folder, Visit, 0);
			std::sort(Sources.begin(), Sources.end());
			std::unordered_map<std::string, std::vector<std::string>> Constructors;
			std::string Text;
			for (const std::string& Source : Sources)
			{
				if (ReadWholeFile(Source, Text))
				{
					for (const std::string& Name : FindConstructorNames(Text))
					{
						Constructors[Name].push_back(Source);
					}
				}
			}
			Indexed = ConstructorsByModuleFolder.emplace(Folder, std::move(Constructors)).first;
		}
		const auto Files = Indexed->second.find(ClassName);
		if (Files == Indexed->second.end())
		{
			return false;
		}
		std::string Text;
		for (const std::string& Source : Files->second)
		{
			if (ReadWholeFile(Source, Text) && Headers::ReadConstructorDefinition(Text, ClassName, OutDefaults))
			{
				return true;
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
		std::string Module;
		// Without a rules file, the module is the folder below Source/ (or below the engine's
		// Source/Runtime, Editor, Developer or Programs), as the layout has it.
		std::string BelowSource;
		std::string Previous;
		std::error_code Error;
		for (std::filesystem::path Current(Folder); !Current.empty() && Current.has_filename(); Current = Current.parent_path())
		{
			if (Current.parent_path().filename() == "Source" && BelowSource.empty())
			{
				const std::string Name = Current.filename().string();
				const bool bGroup = Name == "Runtime" || Name == "Editor" || Name == "Developer" || Name == "Programs";
				BelowSource = bGroup && !Previous.empty() ? Previous : Name;
			}
			Previous = Current.filename().string();
			for (std::filesystem::directory_iterator It(Current, Error); !Error && It != std::filesystem::directory_iterator(); It.increment(Error))
			{
				if (EndsWith(It->path().filename().string(), ".Build.cs"))
				{
					Module = Current.filename().string();
					break;
				}
			}
			if (!Module.empty() || Current.filename() == "Source")
			{
				break;
			}
		}
		if (Module.empty())
		{
			Module = BelowSource.empty() ? std::filesystem::path(Folder).filename().string() : BelowSource;
		}
		return ModuleByFolder[Folder] = Module;
	}
}
