// Read-only detection as the config writers rely on it: a file is read-only when its own bits
// say so, and also when its folder refuses the rename that replaces it.
#include "CoreMinimal.h"
#include "HAL/PlatformFileManager.h"
#include "ScopedTestFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace
{
	class FPlatformFileReadOnlyTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			Folder.WriteFile(TEXT("Config/DefaultEngine.ini"), "[S]\nK=1\n");
			Folder.WriteFile(TEXT("Config/Sub/Inner.ini"), "[S]\n");
		}

		static void Chmod(const FString& Path, mode_t Mode)
		{
			ASSERT_EQ(::chmod(UE::Host::StringToUtf8(Path).c_str(), Mode), 0);
		}

		IPlatformFile& PlatformFile = FPlatformFileManager::Get().GetPlatformFile();
		FScopedTestFolder Folder;
	};
}

TEST_F(FPlatformFileReadOnlyTest, AFileInAReadOnlyFolderIsReadOnlyEvenWithItsOwnWriteBits)
{
	const FString File = Folder.Path(TEXT("Config/DefaultEngine.ini"));
	EXPECT_FALSE(PlatformFile.IsReadOnly(*File));
	Chmod(Folder.Path(TEXT("Config")), 0555);
	EXPECT_TRUE(PlatformFile.IsReadOnly(*File));
	// Clearing the file's own attribute does not help while the folder refuses the rename.
	EXPECT_TRUE(PlatformFile.SetReadOnly(*File, false));
	EXPECT_TRUE(PlatformFile.IsReadOnly(*File));
	Chmod(Folder.Path(TEXT("Config")), 0755);
	EXPECT_FALSE(PlatformFile.IsReadOnly(*File));
}

TEST_F(FPlatformFileReadOnlyTest, AFolderIsJudgedByItsOwnBitsOnly)
{
	// A writable folder inside a read-only one can still take new files.
	Chmod(Folder.Path(TEXT("Config")), 0555);
	EXPECT_TRUE(PlatformFile.IsReadOnly(*Folder.Path(TEXT("Config"))));
	EXPECT_FALSE(PlatformFile.IsReadOnly(*Folder.Path(TEXT("Config/Sub"))));
	EXPECT_FALSE(PlatformFile.IsReadOnly(*Folder.Path(TEXT("Config/Sub/Inner.ini"))));
	Chmod(Folder.Path(TEXT("Config")), 0755);
}

TEST_F(FPlatformFileReadOnlyTest, ALinkIsJudgedByTheFolderOfTheFileItReplaces)
{
	// Writes follow the link and replace its target, so the target's folder is what counts.
	const FString Link = Folder.Path(TEXT("Linked.ini"));
	ASSERT_EQ(::symlink(UE::Host::StringToUtf8(Folder.Path(TEXT("Config/Sub/Inner.ini"))).c_str(), UE::Host::StringToUtf8(Link).c_str()), 0);
	EXPECT_FALSE(PlatformFile.IsReadOnly(*Link));
	Chmod(Folder.Path(TEXT("Config/Sub")), 0555);
	EXPECT_TRUE(PlatformFile.IsReadOnly(*Link));
	Chmod(Folder.Path(TEXT("Config/Sub")), 0755);
}

TEST_F(FPlatformFileReadOnlyTest, MissingPathsAreNotReadOnly)
{
	Chmod(Folder.Path(TEXT("Config")), 0555);
	EXPECT_FALSE(PlatformFile.IsReadOnly(*Folder.Path(TEXT("Config/Missing.ini"))));
	EXPECT_FALSE(PlatformFile.IsReadOnly(*Folder.Path(TEXT("Nowhere/Missing.ini"))));
	Chmod(Folder.Path(TEXT("Config")), 0755);
}
