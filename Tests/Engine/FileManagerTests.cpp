// IFileManager and IPlatformFile over a real folder.
#include "CoreMinimal.h"
#include "HAL/FileManager.h"
#include "HAL/PlatformFileManager.h"
#include "ScopedTestFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cctype>
#include <filesystem>

namespace
{
	class FFileManagerTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			for (const TCHAR* Name : {TEXT("DefaultGame.ini"), TEXT("BaseEngine.INI"), TEXT("zeta.ini"), TEXT("Alpha.ini"), TEXT("notes.txt"), TEXT("ini")})
			{
				Folder.WriteFile(TEXT("Config/") + FString(Name), "x");
			}
			Folder.WriteFile(TEXT("Config/Linux/LinuxEngine.ini"), "nested");
			Folder.WriteFile(TEXT("Config/Folder.ini/Inside.ini"), "nested");
		}

		FString Config(const TCHAR* Relative = TEXT("")) const { return Folder.Path(TEXT("Config/")) + Relative; }

		FScopedTestFolder Folder;
	};

	// The names a plain directory listing gives, in its order.
	TArray<FString> ListingOrder(const FString& Directory, bool bDirectories)
	{
		TArray<FString> Names;
		for (const auto& Entry : std::filesystem::directory_iterator(UE::Host::StringToUtf8(Directory)))
		{
			const std::string Name = Entry.path().filename().string();
			std::string Extension = Entry.path().extension().string();
			for (char& C : Extension)
			{
				C = static_cast<char>(std::tolower(static_cast<unsigned char>(C)));
			}
			if (Entry.is_directory() == bDirectories && (bDirectories || Extension == ".ini"))
			{
				Names.Add(UE::Host::Utf8ToString(Name));
			}
		}
		return Names;
	}
}

TEST_F(FFileManagerTest, FindFilesListsBareMatchingNamesInDirectoryOrder)
{
	IFileManager& FileManager = IFileManager::Get();
	TArray<FString> Names;
	Names.Add(TEXT("kept"));
	FileManager.FindFiles(Names, *Config(TEXT("*.ini")), true, false);
	ASSERT_EQ(Names.Num(), 5);
	EXPECT_EQ(ToUtf8(Names[0]), "kept");
	Names.RemoveAt(0);
	// Letter case is ignored, nothing below the folder is listed and the order is not sorted.
	EXPECT_EQ(ToUtf8(FString::Join(Names, TEXT("|"))), ToUtf8(FString::Join(ListingOrder(Config(), false), TEXT("|"))));

	TArray<FString> Directories;
	FileManager.FindFiles(Directories, *Config(TEXT("*")), false, true);
	EXPECT_EQ(ToUtf8(FString::Join(Directories, TEXT("|"))), ToUtf8(FString::Join(ListingOrder(Config(), true), TEXT("|"))));

	TArray<FString> Single;
	FileManager.FindFiles(Single, *Config(TEXT("default?ame.*")), true, false);
	EXPECT_EQ(ToUtf8(FString::Join(Single, TEXT("|"))), "DefaultGame.ini");

	TArray<FString> Missing;
	FileManager.FindFiles(Missing, *Folder.Path(TEXT("Nowhere/*.ini")), true, true);
	EXPECT_TRUE(Missing.IsEmpty());
}

TEST_F(FFileManagerTest, FindFilesByExtensionAcceptsTheEnginesForms)
{
	IFileManager& FileManager = IFileManager::Get();
	for (const TCHAR* Extension : {TEXT("ini"), TEXT(".ini"), TEXT("*.ini")})
	{
		TArray<FString> Names;
		FileManager.FindFiles(Names, *Config(), Extension);
		EXPECT_EQ(Names.Num(), 4) << ToUtf8(Extension);
	}
	TArray<FString> All;
	FileManager.FindFiles(All, *Config(), nullptr);
	EXPECT_EQ(All.Num(), 6);
}

TEST_F(FFileManagerTest, FindFilesRecursiveReturnsFullPathsFolderBeforeSubfolders)
{
	TArray<FString> Paths;
	Paths.Add(TEXT("cleared"));
	IFileManager::Get().FindFilesRecursive(Paths, *Config(), TEXT("*Engine*.ini"), true, false);
	ASSERT_EQ(Paths.Num(), 2);
	EXPECT_EQ(ToUtf8(Paths[0]), ToUtf8(Config(TEXT("BaseEngine.INI"))));
	EXPECT_EQ(ToUtf8(Paths[1]), ToUtf8(Config(TEXT("Linux/LinuxEngine.ini"))));
}

TEST_F(FFileManagerTest, FileSizeIsMinusOneForMissingFilesAndFolders)
{
	IFileManager& FileManager = IFileManager::Get();
	EXPECT_EQ(FileManager.FileSize(*Config(TEXT("Linux/LinuxEngine.ini"))), 6);
	EXPECT_EQ(FileManager.FileSize(*Config(TEXT("Missing.ini"))), -1);
	EXPECT_EQ(FileManager.FileSize(*Config(TEXT("Linux"))), -1);
}

TEST_F(FFileManagerTest, ReadOnlyChangesThePermissionBitsAndGuardsDeleteAndMove)
{
	IPlatformFile& PlatformFile = FPlatformFileManager::Get().GetPlatformFile();
	IFileManager& FileManager = IFileManager::Get();
	const FString Target = Config(TEXT("zeta.ini"));
	struct stat Info;

	ASSERT_TRUE(PlatformFile.SetReadOnly(*Target, true));
	ASSERT_EQ(::stat(UE::Host::StringToUtf8(Target).c_str(), &Info), 0);
	EXPECT_EQ(Info.st_mode & 0222, 0u);
	EXPECT_TRUE(FileManager.IsReadOnly(*Target));
	EXPECT_FALSE(FileManager.Delete(*Target));
	EXPECT_FALSE(FileManager.Move(*Target, *Config(TEXT("Alpha.ini"))));
	EXPECT_TRUE(FileManager.FileExists(*Config(TEXT("Alpha.ini"))));

	ASSERT_TRUE(PlatformFile.SetReadOnly(*Target, false));
	ASSERT_EQ(::stat(UE::Host::StringToUtf8(Target).c_str(), &Info), 0);
	EXPECT_NE(Info.st_mode & S_IWUSR, 0u);
	EXPECT_FALSE(FileManager.IsReadOnly(*Target));
	EXPECT_FALSE(PlatformFile.SetReadOnly(*Config(TEXT("Missing.ini")), true));

	EXPECT_FALSE(FileManager.Move(*Target, *Config(TEXT("Alpha.ini")), false));
	EXPECT_TRUE(FileManager.Move(*Config(TEXT("Moved/Deeper/zeta.ini")), *Target));
	EXPECT_FALSE(FileManager.FileExists(*Target));
	EXPECT_TRUE(FileManager.Delete(*Config(TEXT("Moved/Deeper/zeta.ini")), true));
	EXPECT_FALSE(FileManager.Delete(*Config(TEXT("Moved/Deeper/zeta.ini")), true));
	EXPECT_TRUE(FileManager.Delete(*Config(TEXT("Moved/Deeper/zeta.ini"))));
}

TEST_F(FFileManagerTest, MakeDirectoryCreatesParentsOnlyForATree)
{
	IFileManager& FileManager = IFileManager::Get();
	EXPECT_FALSE(FileManager.MakeDirectory(*Folder.Path(TEXT("A/B/C"))));
	EXPECT_TRUE(FileManager.MakeDirectory(*Folder.Path(TEXT("A/B/C")), true));
	EXPECT_TRUE(FileManager.DirectoryExists(*Folder.Path(TEXT("A/B/C"))));
	EXPECT_TRUE(FileManager.MakeDirectory(*Folder.Path(TEXT("A/B/C"))));
	EXPECT_FALSE(FileManager.MakeDirectory(*Config(TEXT("zeta.ini/Sub")), true));
	EXPECT_FALSE(FileManager.DeleteDirectory(*Folder.Path(TEXT("A"))));
	EXPECT_TRUE(FileManager.DeleteDirectory(*Folder.Path(TEXT("A")), true, true));
	EXPECT_FALSE(FileManager.DirectoryExists(*Folder.Path(TEXT("A"))));
}
