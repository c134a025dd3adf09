// The package files kept in the repository (the sample's StringTable package and the fuzz seeds)
// are what the test writer makes. ORVEX_WRITE_PACKAGE_FILES=1 rewrites them.
#include "CoreMinimal.h"
#include "PackageFixtures.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace
{
	using namespace OrvexTestPackages;

	struct FPackageFile
	{
		std::string Path;
		std::string Bytes;
	};

	// The sample project's menu table, saved by a 5.7 editor: metadata, non-ASCII text, a line
	// break, entries in map order.
	std::string SampleMenuPackage()
	{
		FTableContent Table;
		Table.Namespace = u"Menu";
		Table.Entries = {
			{u"Menu_Play", u"Play", {{u"Comment", u"Main menu button"}}},
			{u"Menu_Credits", u"Credits", {{u"Comment", u"Main menu button"}}},
			{u"Menu_Options", u"Options", {{u"Comment", u"Main menu button"}, {u"MaxLength", u"12"}}},
			{u"Menu_Continue", U16("Continuer la partie"), {{u"Comment", U16("Kept in French on purpose: café, naïve")}}},
			{u"Menu_Quit_Confirm", u"Quit to desktop?\r\nUnsaved progress will be lost.", {}},
			{u"Menu_Title", U16("Kestrow ⚔ Sample"), {}},
		};
		FPackageOptions Options;
		Options.PackageName = "/Game/Localization/ST_Menu";
		return WriteStringTablePackage(Table, Options);
	}

	std::vector<FPackageFile> RepositoryPackageFiles()
	{
		const std::string Sample = std::string(ORVEX_SAMPLES_DIR_FOR_TESTS) + "/SampleProject/Content/Localization/ST_Menu.uasset";
		const std::string Seeds = std::string(ORVEX_SOURCE_DIR) + "/Tests/Fuzz/Corpus/StringTablePackage/";
		std::vector<FPackageFile> Files = {{Sample, SampleMenuPackage()}};
		for (const EEditorVersion Version : {EEditorVersion::UE4_27, EEditorVersion::UE5_0, EEditorVersion::UE5_4, EEditorVersion::UE5_7})
		{
			FPackageOptions Options;
			Options.Version = Version;
			Options.bPropertyTag = Version != EEditorVersion::UE5_4;
			Options.bObjectGuid = Version == EEditorVersion::UE5_0;
			Files.push_back({Seeds + "table_" + GetVersionName(Version) + ".uasset", WriteStringTablePackage(Version == EEditorVersion::UE5_7 ? NonAsciiTable() : FourEntryTable(), Options)});
		}
		FPackageOptions Redirector;
		Redirector.Version = EEditorVersion::UE5_1;
		Redirector.PackageName = "/Game/Old/ST_Old";
		Files.push_back({Seeds + "redirector_5.1.uasset", WriteRedirectorPackage("/Game/Localization/ST_Menu.ST_Menu", Redirector)});
		FPackageOptions Empty;
		Empty.Version = EEditorVersion::UE5_6;
		Files.push_back({Seeds + "empty_5.6.uasset", WriteStringTablePackage(FTableContent(), Empty)});
		return Files;
	}

	std::string ReadBytes(const std::string& Path)
	{
		std::ifstream File(Path, std::ios::binary);
		return std::string((std::istreambuf_iterator<char>(File)), std::istreambuf_iterator<char>());
	}
}

TEST(PackageFiles, TheRepositorysPackagesAreWhatTheWriterMakes)
{
	const char* Write = std::getenv("ORVEX_WRITE_PACKAGE_FILES");
	for (const FPackageFile& File : RepositoryPackageFiles())
	{
		if (Write && std::string(Write) == "1")
		{
			std::filesystem::create_directories(std::filesystem::path(File.Path).parent_path());
			std::ofstream(File.Path, std::ios::binary | std::ios::trunc).write(File.Bytes.data(), static_cast<std::streamsize>(File.Bytes.size()));
		}
		EXPECT_TRUE(ReadBytes(File.Path) == File.Bytes) << File.Path << " differs from the writer's output; rerun with ORVEX_WRITE_PACKAGE_FILES=1";
	}
}
