// A single read from a category that is not merged yet takes one section's lines from the layer
// files and skips the rest. What it reads must be exactly the section the whole merge gives, and
// a change on disk must reach it as it reaches a merged category.
#include "ConfigTestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
	class FSectionReads : public FConfigTestEnvironment
	{
	protected:
		// The section's "Key=Value" lines, or "<missing>".
		static std::string Lines(bool bFound, const TArray<FString>& Values)
		{
			return bFound ? ToUtf8(FString::Join(Values, TEXT("\n"))) : std::string("<missing>");
		}

		// The section read on its own (the category left unmerged), then as the merged category has it.
		std::pair<std::string, std::string> ReadAloneThenMerged(const TCHAR* Category, const TCHAR* Section)
		{
			const FString Filename = GConfig->GetConfigFilename(Category);
			TArray<FString> Alone;
			const bool bAlone = GConfig->GetSection(Section, Alone, Filename);
			EXPECT_FALSE(GConfig->GetLoadedCategories().Contains(FString(Category)));
			const FConfigFile* File = GConfig->Find(Filename);
			const FConfigSection* Merged = File ? File->FindSection(FString(Section)) : nullptr;
			TArray<FString> MergedLines;
			if (Merged)
			{
				for (const auto& Pair : *Merged)
				{
					MergedLines.Add(Pair.Key.ToString() + TEXT("=") + Pair.Value.GetValue());
				}
			}
			return {Lines(bAlone, Alone), Lines(Merged != nullptr, MergedLines)};
		}
	};
}

TEST_F(FSectionReads, ASectionReadAloneIsTheMergedSection)
{
	WriteEngine(TEXT("Base.ini"), "[SectionsToSave]\nbCanSaveAllSections=false\n\n[/Script/Engine.Paths]\n+Path=FromBaseIni\n");
	// The section under two headers (one spelt differently), array operators and identities, and
	// lines elsewhere that only look like its header: inside a brace block, after a continuation,
	// commented out or indented.
	WriteEngine(TEXT("BaseEngine.ini"),
		"[/Script/Engine.Paths]\n"
		"@Mounts=Name\n"
		"+Mounts=(Name=\"Game\",Path=\"/Game\")\n"
		"+Mounts=(Name=\"Engine\",Path=\"/Engine\")\n"
		"+Path=First\n"
		"+Path=Second\n"
		"Label=\"Quoted // not a comment\" // a comment\n"
		"\n"
		"[/Script/Engine.Other]\n"
		"Block={\n"
		"[/Script/Engine.Paths]\n"
		"Hidden=1\n"
		"}\n"
		"Joined=one \\\n"
		"[/Script/Engine.Paths]\n"
		";[/Script/Engine.Paths]\n"
		"  [/Script/Engine.Paths]\n"
		"Stray=1\n"
		"\n"
		"[/script/engine.PATHS] // again, in other letters\n"
		"-Path=First\n"
		"+Path=Third\n"
		".Path=Third\n");
	WriteEngine(TEXT("Linux/DataDrivenPlatformInfo.ini"), "[DataDrivenPlatformInfo]\nIniParent=Unix\n");
	WriteEngine(TEXT("Unix/BaseUnixEngine.ini"), "[/Script/Engine.Paths]\n+Mounts=(Name=\"Game\",Path=\"/Unix/Game\")\n");
	WriteProject(TEXT("Config/DefaultEngine.ini"), "[/Script/Engine.Paths]\n!Path=ClearArray\n+Path=Project\nLabel=%GAME%\n\n[/Script/Engine.Other]\nStray=2\n");
	WriteProject(TEXT("Saved/Config/LinuxEditor/Engine.ini"), "[/Script/Engine.Paths]\nLabel=Saved\n+Extra=1\n");
	Load({TEXT("Engine:[/Script/Engine.Paths]:+Path=FromCommandLine"), TEXT("Engine:[/Script/Engine.Other]:Stray=3")});

	for (const TCHAR* Section : {TEXT("/Script/Engine.Paths"), TEXT("/Script/Engine.Other"), TEXT("SectionsToSave"), TEXT("/Script/Engine.Missing")})
	{
		const auto [Alone, Merged] = ReadAloneThenMerged(TEXT("Engine"), Section);
		EXPECT_EQ(Alone, Merged) << ToUtf8(Section);
		// Built afresh, so that the next section is read alone again.
		UE::Host::InitializeConfigSystem();
	}
	const auto [Paths, Unused] = ReadAloneThenMerged(TEXT("Engine"), TEXT("/Script/Engine.Paths"));
	EXPECT_EQ(Paths,
		"+Path=FromBaseIni\nMounts=(Name=\"Game\",Path=\"/Unix/Game\")\nMounts=(Name=\"Engine\",Path=\"/Engine\")\n"
		"Path=Project\nLabel=Saved\nExtra=1\nPath=FromCommandLine");
}

TEST_F(FSectionReads, AChangeOnDiskReachesASectionReadAlone)
{
	WriteEngine(TEXT("BaseEditor.ini"), "[/Script/OrvexCore.OrvexSettings]\nbEnableConfig=True\n[Other]\nK=1\n");
	Load();
	EXPECT_EQ(Get(TEXT("Editor"), TEXT("/Script/OrvexCore.OrvexSettings"), TEXT("bEnableConfig")), "True");
	EXPECT_TRUE(UE::Host::RefreshConfigFromDisk().IsEmpty());
	WriteProject(TEXT("Config/DefaultEditor.ini"), "[/Script/OrvexCore.OrvexSettings]\nbEnableConfig=False\n");
	EXPECT_EQ(ToUtf8(FString::Join(UE::Host::RefreshConfigFromDisk(), TEXT("|"))), "Editor");
	EXPECT_EQ(Get(TEXT("Editor"), TEXT("/Script/OrvexCore.OrvexSettings"), TEXT("bEnableConfig")), "False");
}
