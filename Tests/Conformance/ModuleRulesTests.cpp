// The module's Build.cs against the headers its sources include: the editor links only the modules
// listed there, and a module whose headers a public header includes must be a public dependency.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace
{
	const std::filesystem::path SourceRoot = ORVEX_SOURCE_DIR;

	std::string ReadText(const std::filesystem::path& Path)
	{
		std::ifstream Stream(Path, std::ios::binary);
		std::stringstream Text;
		Text << Stream.rdbuf();
		return Text.str();
	}

	// The engine module that provides a header, by the engine's own layout.
	std::string EngineModuleOf(const std::string& Header)
	{
		static const std::map<std::string, std::string> Exact = {
			{"AssetRegistry/ARFilter.h", "CoreUObject"},
			{"AssetRegistry/AssetData.h", "CoreUObject"},
			{"Engine/DeveloperSettings.h", "DeveloperSettings"},
			{"Internationalization/StringTable.h", "Engine"},
			{"Misc/PackageName.h", "CoreUObject"},
			{"Templates/Casts.h", "CoreUObject"},
			{"UObject/NameTypes.h", "Core"},
		};
		static const std::pair<const char*, const char*> Prefixes[] = {
			{"AssetRegistry/", "AssetRegistry"},
			{"Engine/", "Engine"},
			{"Dom/", "Json"},
			{"Serialization/Json", "Json"},
			{"Policies/", "Json"},
			{"UObject/", "CoreUObject"},
		};
		if (const auto Found = Exact.find(Header); Found != Exact.end())
		{
			return Found->second;
		}
		for (const auto& [Prefix, Module] : Prefixes)
		{
			if (Header.rfind(Prefix, 0) == 0)
			{
				return Module;
			}
		}
		return "Core";
	}

	struct FModuleRules
	{
		std::set<std::string> Public;
		std::set<std::string> Private;
		std::multiset<std::string> Every;
	};

	FModuleRules ReadRules()
	{
		FModuleRules Rules;
		const std::string Text = ReadText(SourceRoot / "Source/OrvexConfig/OrvexConfig.Build.cs");
		const std::regex List(R"((Public|Private)DependencyModuleNames\.AddRange\(\s*new\s+string\[\]\s*\{([^}]*)\})");
		const std::regex Name(R"re("([A-Za-z0-9_]+)")re");
		for (auto Match = std::sregex_iterator(Text.begin(), Text.end(), List); Match != std::sregex_iterator(); ++Match)
		{
			const std::string Names = (*Match)[2];
			for (auto Item = std::sregex_iterator(Names.begin(), Names.end(), Name); Item != std::sregex_iterator(); ++Item)
			{
				((*Match)[1] == "Public" ? Rules.Public : Rules.Private).insert((*Item)[1]);
				Rules.Every.insert((*Item)[1]);
			}
		}
		return Rules;
	}

	// Module name -> the module's files whose includes need it.
	std::map<std::string, std::set<std::string>> NeededModules(const char* Folder)
	{
		std::map<std::string, std::set<std::string>> Needed;
		const std::regex Include(R"re(^\s*#\s*include\s*"([^"]+)")re");
		const std::filesystem::path ModuleRoot = SourceRoot / "Source/OrvexConfig";
		for (const auto& Entry : std::filesystem::recursive_directory_iterator(ModuleRoot / Folder))
		{
			if (!Entry.is_regular_file() || (Entry.path().extension() != ".h" && Entry.path().extension() != ".cpp"))
			{
				continue;
			}
			std::istringstream Lines(ReadText(Entry.path()));
			for (std::string Line; std::getline(Lines, Line);)
			{
				std::smatch Match;
				if (!std::regex_search(Line, Match, Include))
				{
					continue;
				}
				const std::string Header = Match[1];
				if (std::filesystem::exists(ModuleRoot / "Public" / Header) || std::filesystem::exists(ModuleRoot / "Private" / Header))
				{
					continue;
				}
				const std::string Module = std::filesystem::exists(SourceRoot / "Host/OrvexCore/Public" / Header) ? "OrvexCore" : EngineModuleOf(Header);
				Needed[Module].insert(std::filesystem::relative(Entry.path(), ModuleRoot).string() + ": " + Header);
			}
		}
		return Needed;
	}
	// The using-directives of a source that sit at namespace scope (file scope included): in a
	// unity file they reach every file that follows. Comments, strings and characters are skipped.
	std::vector<int> NamespaceScopeUsingDirectives(const std::string& Text)
	{
		std::vector<int> Lines;
		std::vector<bool> NamespaceBraces;
		std::string Statement;
		int Line = 1;
		const std::regex NamespaceOpening(R"(\bnamespace\b[\w:\s]*$)");
		const std::regex UsingDirective(R"(^\s*using\s+namespace\b)");
		for (size_t Index = 0; Index < Text.size(); ++Index)
		{
			const char C = Text[Index];
			const char Next = Index + 1 < Text.size() ? Text[Index + 1] : '\0';
			if (C == '\n')
			{
				++Line;
				Statement += ' ';
			}
			else if (C == '/' && Next == '/')
			{
				Index = Text.find('\n', Index) - 1;
			}
			else if (C == '/' && Next == '*')
			{
				const size_t End = Text.find("*/", Index + 2);
				Line += static_cast<int>(std::count(Text.begin() + static_cast<std::ptrdiff_t>(Index), Text.begin() + static_cast<std::ptrdiff_t>(End), '\n'));
				Index = End + 1;
			}
			else if (C == '"' || C == '\'')
			{
				for (++Index; Index < Text.size() && Text[Index] != C; ++Index)
				{
					Index += Text[Index] == '\\' ? 1 : 0;
				}
				Statement += "0";
			}
			else if (C == '{' || C == '}' || C == ';')
			{
				const bool bAtNamespaceScope = std::all_of(NamespaceBraces.begin(), NamespaceBraces.end(), [](bool bNamespace) { return bNamespace; });
				if (C == ';' && bAtNamespaceScope && std::regex_search(Statement, UsingDirective))
				{
					Lines.push_back(Line);
				}
				if (C == '{')
				{
					NamespaceBraces.push_back(std::regex_search(Statement, NamespaceOpening));
				}
				else if (C == '}' && !NamespaceBraces.empty())
				{
					NamespaceBraces.pop_back();
				}
				Statement.clear();
			}
			else if (C != '#' || Statement.find_first_not_of(" \t") != std::string::npos)
			{
				Statement += C;
			}
			else
			{
				// A preprocessor line is no statement.
				Index = Text.find('\n', Index) - 1;
			}
		}
		return Lines;
	}
}

TEST(ModuleRules, ListEveryModuleTheSourcesIncludeAndNothingElse)
{
	const FModuleRules Rules = ReadRules();
	ASSERT_FALSE(Rules.Public.empty());
	for (const std::string& Module : Rules.Every)
	{
		EXPECT_EQ(Rules.Every.count(Module), 1u) << Module << " is listed more than once";
	}

	const auto Needed = NeededModules("");
	for (const auto& [Module, Files] : Needed)
	{
		EXPECT_TRUE(Rules.Public.count(Module) || Rules.Private.count(Module)) << Module << " is not listed but included by " << *Files.begin();
	}
	for (const std::string& Module : Rules.Every)
	{
		EXPECT_TRUE(Needed.count(Module)) << Module << " is listed but nothing of it is included";
	}
}

TEST(ModuleRules, PublicHeadersNeedOnlyPublicDependencies)
{
	const FModuleRules Rules = ReadRules();
	for (const auto& [Module, Files] : NeededModules("Public"))
	{
		EXPECT_TRUE(Rules.Public.count(Module)) << Module << " must be a public dependency: " << *Files.begin();
	}
}

TEST(ModuleRules, NoUsingDirectiveAtNamespaceScope)
{
	const std::filesystem::path ModuleRoot = SourceRoot / "Source/OrvexConfig";
	for (const auto& Entry : std::filesystem::recursive_directory_iterator(ModuleRoot))
	{
		if (Entry.is_regular_file() && (Entry.path().extension() == ".cpp" || Entry.path().extension() == ".h"))
		{
			for (const int Line : NamespaceScopeUsingDirectives(ReadText(Entry.path())))
			{
				ADD_FAILURE() << std::filesystem::relative(Entry.path(), ModuleRoot).string() << ":" << Line << ": a using-directive at namespace scope";
			}
		}
	}
}

TEST(ModuleRules, UsingDirectivesAreFoundOnlyAtNamespaceScope)
{
	const std::string Source =
		"#include \"A.h\"\n"
		"using namespace AfterInclude;\n"
		"namespace Outer { using namespace Inner; }\n"
		"// using namespace Commented;\n"
		"const char* Text = \"{ using namespace Quoted; }\";\n"
		"void F()\n{\n\tusing namespace Local;\n}\n"
		"struct FType { void G() { using namespace Member; } };\n"
		"using namespace Leaking;\n";
	EXPECT_EQ(NamespaceScopeUsingDirectives(Source), (std::vector<int>{2, 3, 11}));
}
