// The host's header tool as a build step: reads the reflected declarations of the given headers
// and writes <Name>.generated.h for each and one source that registers all their types (one
// translation unit per library builds faster than one per header). A file whose text did not
// change is left alone, so that an unchanged header rebuilds nothing.
#include "HeaderTool/HeaderDeclarations.h"
#include "ReflectionCodeWriter.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{
	bool ReadFile(const std::filesystem::path& Path, std::string& OutText)
	{
		std::ifstream Stream(Path, std::ios::binary);
		if (!Stream)
		{
			return false;
		}
		std::ostringstream Buffer;
		Buffer << Stream.rdbuf();
		OutText = Buffer.str();
		return true;
	}

	bool WriteIfChanged(const std::filesystem::path& Path, const std::string& Text)
	{
		std::string Existing;
		if (ReadFile(Path, Existing) && Existing == Text)
		{
			return true;
		}
		std::filesystem::create_directories(Path.parent_path());
		const std::filesystem::path Temporary = Path.string() + ".tmp";
		{
			std::ofstream Stream(Temporary, std::ios::binary | std::ios::trunc);
			Stream << Text;
			if (!Stream.flush())
			{
				return false;
			}
		}
		std::error_code Error;
		std::filesystem::rename(Temporary, Path, Error);
		return !Error;
	}
}

int main(int argc, char** argv)
{
	CLI::App App("Writes the generated headers and registration sources of reflected C++ headers.");
	std::filesystem::path OutputDir;
	std::filesystem::path SourceRoot;
	std::filesystem::path IncludeRoot;
	std::string SourceName;
	bool bRegisterAtStartup = false;
	std::vector<std::string> Headers;
	App.add_option("--output", OutputDir, "Folder that receives Inc/<Name>.generated.h and Src/<source name>.gen.cpp")->required();
	App.add_option("--source-name", SourceName, "Name of the generated source")->required();
	App.add_option("--source-root", SourceRoot, "Root of the source tree; generated macros are named after paths below it")->required()->check(CLI::ExistingDirectory);
	App.add_option("--include-root", IncludeRoot, "Folder the headers are included from")->required()->check(CLI::ExistingDirectory);
	App.add_flag("--register-at-startup", bRegisterAtStartup, "Register every class when the object system starts");
	App.add_option("headers", Headers, "MODULE:HEADER for each header")->required();
	CLI11_PARSE(App, argc, argv);

	int ExitCode = 0;
	std::set<std::string> BaseNames;
	std::string Source;
	for (const std::string& Entry : Headers)
	{
		const size_t Colon = Entry.find(':');
		if (Colon == std::string::npos || Colon == 0)
		{
			std::cerr << "error: '" << Entry << "' is not MODULE:HEADER\n";
			return 2;
		}
		const std::filesystem::path Header = std::filesystem::absolute(Entry.substr(Colon + 1));
		std::string Text;
		if (!ReadFile(Header, Text))
		{
			std::cerr << Header.string() << ": error: cannot read the header\n";
			ExitCode = 1;
			continue;
		}
		UE::Host::Headers::FReflectionSource Reflected;
		Reflected.Module = Entry.substr(0, Colon);
		Reflected.RelativePath = Header.lexically_relative(std::filesystem::absolute(SourceRoot)).generic_string();
		Reflected.IncludePath = Header.lexically_relative(std::filesystem::absolute(IncludeRoot)).generic_string();
		Reflected.bRegisterAtStartup = bRegisterAtStartup;
		const std::string BaseName = UE::Host::Headers::HeaderBaseName(Reflected.RelativePath);
		if (!BaseNames.insert(BaseName).second)
		{
			std::cerr << Header.string() << ": error: another header is also named " << BaseName << ".h; generated headers are found by name\n";
			ExitCode = 1;
			continue;
		}

		const UE::Host::Headers::FGeneratedReflection Generated = UE::Host::Headers::GenerateReflection(UE::Host::Headers::ReadHeader(Text), Reflected);
		for (const std::string& Error : Generated.Errors)
		{
			std::cerr << Error << "\n";
		}
		if (!Generated.Errors.empty())
		{
			ExitCode = 1;
			continue;
		}
		if (!WriteIfChanged(OutputDir / "Inc" / (BaseName + ".generated.h"), Generated.Header))
		{
			std::cerr << OutputDir.string() << ": error: cannot write " << BaseName << ".generated.h\n";
			ExitCode = 1;
		}
		Source += Generated.Source + "\n";
	}
	// Left as it was when a header failed, so that the build stops on the error, not on half a source.
	if (ExitCode == 0 && !WriteIfChanged(OutputDir / "Src" / (SourceName + ".gen.cpp"), Source))
	{
		std::cerr << OutputDir.string() << ": error: cannot write " << SourceName << ".gen.cpp\n";
		ExitCode = 1;
	}
	return ExitCode;
}
