// Where the headers of the engine's and the project's Source folders are, and which of them
// declares a type. Finding a declaration reads as little as it can: a header named after the
// type first, then the headers the asking header includes, and only then a byte scan of every
// header for the name, parsing just the files that hold it. A header found to hold no reflection
// macro (or no enum) is not read again by later scans.
//
// Listing every class reads all headers anyway: ReadAllHeaders reads each one once and parses
// those that declare types or enums; from then on every lookup is answered from memory, and a
// name no header declares is known to be absent.
#pragma once

#include "HeaderTool/HeaderDeclarations.h"

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace UE::Host::Private
{
	class FHeaderIndex
	{
	public:
		static FHeaderIndex& Get();

		// Source folders: <engine>/Source, <engine>/Plugins/**/Source, and the same in the project.
		void SetRoots(std::vector<std::string> InRoots);
		void Reset();
		bool HasRoots() const { return !Roots.empty(); }

		// The header declaring the UCLASS, USTRUCT or UENUM named TypeName (C++ name), or null.
		// NearHeader, when given, is the header that uses the type: it and its includes go first.
		const std::string* FindDeclaringHeader(const std::string& TypeName, const std::string* NearHeader);
		// The header declaring any of the names (UFoo, AFoo, ...), with one scan for all of them.
		const std::string* FindDeclaringHeaderOfAny(const std::vector<std::string>& Names);
		// The same by the header's file name alone (UFooSettings in FooSettings.h); never scans.
		const std::string* FindHeaderByFileName(const std::string& TypeName);
		// The declarations of a header, read once.
		const Headers::FHeaderDecls& Read(const std::string& Path);
		// The module of a header: the folder that holds the nearest .Build.cs above it.
		const std::string& ModuleOf(const std::string& Path);
		// The definition of ClassName's constructor in the source files of Header's module (the
		// folder of its .Build.cs): the file named after the header first, then any that holds
		// "ClassName::ClassName". False when none does.
		bool FindConstructorDefinition(const std::string& Header, const std::string& ClassName, Headers::FConstructorDefaults& OutDefaults);
		// The value of Scope::Name, or of a bare enumerator Name, from the enums (reflected or not) of
		// NearHeader, then of the headers it includes, then of any header that names it.
		bool FindEnumConstant(const std::string& Scope, const std::string& Name, const std::string* NearHeader, int64_t& OutValue);
		// Every header below the roots (listed on first use).
		const std::vector<std::string>& AllHeaders();

		// Reads every header not read yet, once; parses those with a reflection macro or an enum.
		void ReadAllHeaders();
		// The declarations of a header already parsed, or null; never reads.
		const Headers::FHeaderDecls* FindParsed(const std::string& Path) const;

		// How often files were read since the roots were set; what tests and benchmarks look at.
		struct FReadStats
		{
			int64_t HeaderReads = 0;
			// The most times one header was read.
			int32_t MostReadsOfOneHeader = 0;
			int64_t SourceReads = 0;
		};
		FReadStats GetReadStats() const;

	private:
		// What reading a listed header told, each asked once: whether it has a reflection macro,
		// whether it has an enum.
		enum EHeaderFlags : uint8_t
		{
			ReflectionKnown = 1,
			HasReflection = 2,
			EnumKnown = 4,
			HasEnum = 8,
		};
		struct FHeaderFile
		{
			uint8_t Flags = 0;
			uint16_t Reads = 0;
		};

		// The text of a header, counted.
		bool ReadHeaderText(const std::string& Path, std::string& OutText);
		// Whether Text, read from Path, has a reflection macro (an enum); remembered for a listed header.
		bool MayDeclareTypes(const std::string& Path, const std::string& Text);
		bool MayDeclareEnums(const std::string& Path, const std::string& Text);
		bool Remembered(const std::string& Path, const std::string& Text, uint8_t Known, uint8_t Has, bool (*Test)(const std::string&));
		// Parses text read from Path and keeps it. Types are remembered as found unless
		// bIndexOnly (the complete pass records them in DeclaredIn instead).
		const Headers::FHeaderDecls& Parse(const std::string& Path, const std::string& Text, bool bIndexOnly);
		// Whether a listed header is known, from an earlier read, to lack what Has stands for.
		bool IsKnownWithout(const std::string& Path, uint8_t Known, uint8_t Has) const;
		// The first listed header declaring TypeName, once every header is read; null when none does.
		const std::string* FirstDeclaring(const std::string& TypeName) const;
		void IndexConstants();
		bool Declares(const std::string& Path, const std::string& TypeName);
		// The folder holding the nearest .Build.cs above Path, or empty.
		std::string ModuleFolderOf(const std::string& Path);
		// The headers NearHeader includes, as found below the roots.
		std::vector<std::string> IncludedHeaders(const std::string& NearHeader);
		const std::string* Remember(const std::string& TypeName, const std::string& Path);
		void ListHeaders();

		std::vector<std::string> Roots;
		bool bListed = false;
		bool bComplete = false;
		std::vector<std::string> Headers;
		std::vector<FHeaderFile> Files;
		std::unordered_map<std::string, size_t> IndexByPath;
		// After the complete pass: type name to the first listed header declaring it.
		std::unordered_map<std::string, size_t> DeclaredIn;
		// After the complete pass, built on first use: "Scope::Name" as FindEnumConstant asks it to
		// the first header whose enums give it.
		std::unordered_map<std::string, size_t> ConstantsIn;
		bool bConstantsIndexed = false;
		int64_t HeaderReads = 0;
		int64_t SourceReads = 0;
		// File name without ".h" to the indices of the headers of that name.
		std::unordered_map<std::string, std::vector<size_t>> HeadersByStem;
		std::unordered_map<std::string, std::unique_ptr<Headers::FHeaderDecls>> Parsed;
		// Type name to its header; an empty path is a type no header declares.
		std::unordered_map<std::string, std::string> Found;
		std::unordered_map<std::string, std::string> ModuleByFolder;
		// A module's .cpp files, listed on first use.
		struct FModuleSources
		{
			std::vector<std::string> Files;
			// Read once when a constructor is not beside its header: "UFoo" (for "UFoo::UFoo") to
			// the files that hold it.
			bool bIndexed = false;
			std::unordered_map<std::string, std::vector<size_t>> ConstructorsIn;
		};
		void IndexConstructors(FModuleSources& Sources);
		std::unordered_map<std::string, FModuleSources> SourcesByModuleFolder;
		// A header's folder to its module folder (empty when no .Build.cs is above it).
		std::unordered_map<std::string, std::string> ModuleFolderByFolder;
		// "Scope::Name" to the header whose enums give it; an empty path when none does.
		std::unordered_map<std::string, std::string> ConstantHeaders;
	};
}
