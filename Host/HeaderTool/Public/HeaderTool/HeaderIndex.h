// Where the headers of the engine's and the project's Source folders are, and which of them
// declares a type. Finding a declaration reads as little as it can: a header named after the
// type first, then the headers the asking header includes, and only then a byte scan of every
// header for the name, parsing just the files that hold it.
#pragma once

#include "HeaderTool/HeaderDeclarations.h"

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
		// The declarations of a header that has a UCLASS at all; null for any other (read, not parsed).
		const Headers::FHeaderDecls* ReadIfDeclaresClasses(const std::string& Path);
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

	private:
		bool Declares(const std::string& Path, const std::string& TypeName);
		// The folder holding the nearest .Build.cs above Path, or empty.
		std::string ModuleFolderOf(const std::string& Path);
		// The headers NearHeader includes, as found below the roots.
		std::vector<std::string> IncludedHeaders(const std::string& NearHeader);
		const std::string* Remember(const std::string& TypeName, const std::string& Path);
		void ListHeaders();

		std::vector<std::string> Roots;
		bool bListed = false;
		std::vector<std::string> Headers;
		// File name without ".h" to the indices of the headers of that name.
		std::unordered_map<std::string, std::vector<size_t>> HeadersByStem;
		std::unordered_map<std::string, std::unique_ptr<Headers::FHeaderDecls>> Parsed;
		// Type name to its header; an empty path is a type no header declares.
		std::unordered_map<std::string, std::string> Found;
		std::unordered_map<std::string, std::string> ModuleByFolder;
		// Module folder to the constructor definitions ("UFoo::UFoo(") of its .cpp files: class name to
		// the files that hold one, each file read once, on the first lookup in the module.
		std::unordered_map<std::string, std::unordered_map<std::string, std::vector<std::string>>> ConstructorsByModuleFolder;
		// "Scope::Name" to the header whose enums give it; an empty path when none does.
		std::unordered_map<std::string, std::string> ConstantHeaders;
	};
}
