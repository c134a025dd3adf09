// A generated engine config folder the size of a shipped one (about 80 files, 850 KB, 18
// categories, platform folders chained by IniParent=) and a project with its own layers. The text
// follows the shape of shipped files: quoted values, struct values, +/-/! array lines, comments.
#pragma once

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace OrvexBenchmark
{
	struct FConfigCorpusStats
	{
		int Files = 0;
		size_t Bytes = 0;
	};

	inline void WriteCorpusFile(const std::filesystem::path& Path, const std::string& Text, FConfigCorpusStats& Stats)
	{
		std::filesystem::create_directories(Path.parent_path());
		std::ofstream(Path, std::ios::binary) << Text;
		++Stats.Files;
		Stats.Bytes += Text.size();
	}

	// Sections of generated settings, about TargetBytes long.
	inline std::string MakeCategoryText(const std::string& Category, size_t TargetBytes, unsigned Seed)
	{
		std::string Text = ";" + Category + " defaults\n\n";
		char Line[512];
		for (unsigned SectionIndex = 0; Text.size() < TargetBytes; ++SectionIndex)
		{
			std::snprintf(Line, sizeof(Line), "[/Script/%s.%sSettings%u]\n", Category.c_str(), Category.c_str(), SectionIndex);
			Text += Line;
			for (unsigned KeyIndex = 0; KeyIndex < 24; ++KeyIndex)
			{
				const unsigned Mix = (Seed * 2654435761u) ^ (SectionIndex * 40503u) ^ (KeyIndex * 9973u);
				switch (Mix % 6)
				{
				case 0:
					std::snprintf(Line, sizeof(Line), "bEnableFeature%u=%s\n", KeyIndex, Mix & 8 ? "True" : "False");
					break;
				case 1:
					std::snprintf(Line, sizeof(Line), "DefaultClass%u=\"/Script/Engine.GameModeBase%u\"\n", KeyIndex, Mix % 97);
					break;
				case 2:
					std::snprintf(Line, sizeof(Line), "+Paths%u=(Name=\"Item%u\",Path=\"/Game/Data/Item%u\",Weight=%u.500000)\n", KeyIndex % 3, Mix % 1000, Mix % 1000, Mix % 50);
					break;
				case 3:
					std::snprintf(Line, sizeof(Line), "r.Setting%u.Value%u=%u ; tuned for consoles\n", SectionIndex, KeyIndex, Mix % 4096);
					break;
				case 4:
					// Removals are rare in shipped files: a few per file.
					if (Mix % 16 == 4)
					{
						std::snprintf(Line, sizeof(Line), "-Paths%u=(Name=\"Item%u\",Path=\"/Game/Data/Item%u\",Weight=1.000000)\n", KeyIndex % 3, Mix % 1000, Mix % 1000);
					}
					else
					{
						std::snprintf(Line, sizeof(Line), "MaxCount%u=%u\n", KeyIndex, Mix % 100000);
					}
					break;
				default:
					std::snprintf(Line, sizeof(Line), "Description%u=\"A longer text value with spaces, commas and a // marker inside quotes %u\"\n", KeyIndex, Mix);
					break;
				}
				Text += Line;
			}
			if (SectionIndex % 5 == 0)
			{
				std::snprintf(Line, sizeof(Line), "!ClearedList=ClearArray\n+ClearedList=First%u\n+ClearedList=Second%u\n", SectionIndex, SectionIndex);
				Text += Line;
			}
			Text += "\n";
		}
		return Text;
	}

	inline FConfigCorpusStats WriteEngineConfigCorpus(const std::filesystem::path& EngineDir, const std::filesystem::path& ProjectDir)
	{
		FConfigCorpusStats Stats;
		const std::filesystem::path Config = EngineDir / "Config";
		// Shipped sizes, roughly: Engine and DeviceProfiles dominate.
		const std::vector<std::pair<std::string, size_t>> Categories = {
			{"Engine", 230000}, {"Editor", 60000}, {"Game", 40000}, {"Input", 30000}, {"DeviceProfiles", 90000},
			{"Scalability", 30000}, {"EditorPerProjectUserSettings", 40000}, {"EditorSettings", 20000}, {"EditorKeyBindings", 8000},
			{"EditorLayout", 12000}, {"GameUserSettings", 6000}, {"Lightmass", 8000}, {"Hardware", 4000}, {"RuntimeOptions", 2000},
			{"InstallBundle", 3000}, {"GameplayTags", 3000}, {"Crypto", 1000}, {"Compat", 30000},
		};
		WriteCorpusFile(Config / "Base.ini", "[SectionsToSave]\nbCanSaveAllSections=false\n+Section=Internationalization\n\n[Internationalization]\nShouldUseLocalizedNumericInput=True\n", Stats);
		unsigned Seed = 1;
		for (const auto& [Category, Size] : Categories)
		{
			std::string Text = MakeCategoryText(Category, Size, Seed++);
			if (Category == "Engine")
			{
				Text += "[/Script/Engine.RendererSettings]\nr.RayTracing=False\nr.Lumen.TraceMeshSDFs=0\nr.GenerateMeshDistanceFields=True\n\n"
					"[/Script/EngineSettings.GameMapsSettings]\nGlobalDefaultGameMode=\"/Script/Engine.GameModeBase\"\nGameInstanceClass=/Script/Engine.GameInstance\n";
			}
			WriteCorpusFile(Config / ("Base" + Category + ".ini"), Text, Stats);
		}
		WriteCorpusFile(Config / "ConfigRedirects.ini", "[SectionNameRemap]\n/Script/Old.Settings=/Script/New.Settings\n", Stats);

		// Platform folders; the editor on Linux reads VulkanPC, Unix, then Linux.
		const std::vector<std::pair<std::string, std::string>> Platforms = {
			{"Linux", "Unix"}, {"LinuxArm64", "Linux"}, {"Unix", "VulkanPC"}, {"VulkanPC", ""}, {"Windows", ""}, {"Mac", "Apple"}, {"Apple", ""},
			{"IOS", "Apple"}, {"TVOS", "IOS"}, {"Android", ""}, {"VisionOS", "IOS"},
		};
		const std::vector<std::string> PlatformCategories = {"Engine", "Game", "Input", "DeviceProfiles", "Scalability"};
		for (const auto& [Platform, Parent] : Platforms)
		{
			std::string Info = "[DataDrivenPlatformInfo]\nbIsConfidential=false\nTargetSettingsIniSectionName=/Script/" + Platform + "TargetPlatform." + Platform + "TargetSettings\n";
			if (!Parent.empty())
			{
				Info += "IniParent=" + Parent + "\n";
			}
			Info += "bHasDedicatedGamepad=false\nDefaultInputType=MouseAndKeyboard\n";
			WriteCorpusFile(Config / Platform / "DataDrivenPlatformInfo.ini", Info, Stats);
			for (size_t Index = 0; Index < PlatformCategories.size() && Stats.Files < 78; Index += Platform.size() % 2 + 1)
			{
				const std::string& Category = PlatformCategories[Index];
				const std::string Prefix = Index % 2 == 0 ? "Base" + Platform : Platform;
				std::string Text = MakeCategoryText(Platform + Category, 4200, Seed++);
				Text += "[/Script/Engine.RendererSettings]\nr.Shaders.Platform" + Platform + "=1\n";
				WriteCorpusFile(Config / Platform / (Prefix + Category + ".ini"), Text, Stats);
			}
		}

		const std::filesystem::path ProjectConfig = ProjectDir / "Config";
		WriteCorpusFile(ProjectDir / "Corpus.uproject", "{\n\t\"FileVersion\": 3,\n\t\"EngineAssociation\": \"5.4\"\n}\n", Stats);
		WriteCorpusFile(ProjectConfig / "DefaultEngine.ini",
			"[/Script/Engine.RendererSettings]\nr.RayTracing=True\nr.Lumen.TraceMeshSDFs=1\n\n"
			"[/Script/EngineSettings.GameMapsSettings]\nGlobalDefaultGameMode=/Game/Blueprints/BP_GameMode.BP_GameMode_C\n\n" + MakeCategoryText("ProjectEngine", 12000, Seed++), Stats);
		for (const char* Category : {"Game", "Input", "Editor", "Scalability", "DeviceProfiles", "EditorPerProjectUserSettings"})
		{
			WriteCorpusFile(ProjectConfig / ("Default" + std::string(Category) + ".ini"), MakeCategoryText(std::string("Project") + Category, 3000, Seed++), Stats);
		}
		WriteCorpusFile(ProjectConfig / "Linux" / "LinuxEngine.ini", "[/Script/Engine.RendererSettings]\nr.Shaders.Optimize=1\n", Stats);
		return Stats;
	}
}
