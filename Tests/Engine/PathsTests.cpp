// FPaths: folders from the host environment, joining, splitting and normalising paths.
#include "CoreMinimal.h"
#include "Host/HostEnvironment.h"
#include "Misc/Paths.h"
#include "ScopedTestFolder.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace
{
	class FPathsEnvironmentTest : public ::testing::Test
	{
	protected:
		void TearDown() override { UE::Host::SetEnvironment(UE::Host::FEnvironment()); }
		FScopedTestFolder Folder;
	};

	std::string Collapsed(const TCHAR* Path)
	{
		FString Result(Path);
		return FPaths::CollapseRelativeDirectories(Result) ? ToUtf8(Result) : "<refused>";
	}
}

TEST_F(FPathsEnvironmentTest, FoldersComeFromTheEnvironmentAsAbsolutePathsEndingWithSlash)
{
	const std::filesystem::path Previous = std::filesystem::current_path();
	std::filesystem::current_path(UE::Host::StringToUtf8(Folder.GetPath()));
	UE::Host::FEnvironment Environment;
	Environment.EngineDir = TEXT("Engine/../Engine");
	Environment.ProjectFilePath = TEXT("./Game/Game.uproject");
	Environment.UserSettingsDir = TEXT("User//");
	UE::Host::SetEnvironment(Environment);
	std::filesystem::current_path(Previous);

	const std::string Root = ToUtf8(Folder.GetPath());
	EXPECT_EQ(ToUtf8(FPaths::EngineDir()), Root + "Engine/");
	EXPECT_EQ(ToUtf8(FPaths::EngineConfigDir()), Root + "Engine/Config/");
	EXPECT_EQ(ToUtf8(FPaths::EngineContentDir()), Root + "Engine/Content/");
	EXPECT_EQ(ToUtf8(FPaths::ProjectDir()), Root + "Game/");
	EXPECT_EQ(ToUtf8(FPaths::ProjectConfigDir()), Root + "Game/Config/");
	EXPECT_EQ(ToUtf8(FPaths::ProjectSavedDir()), Root + "Game/Saved/");
	EXPECT_EQ(ToUtf8(FPaths::ProjectContentDir()), Root + "Game/Content/");
	EXPECT_EQ(ToUtf8(FPaths::ProjectPluginsDir()), Root + "Game/Plugins/");
	EXPECT_EQ(ToUtf8(FPaths::GeneratedConfigDir()), Root + "Game/Saved/Config/");
	EXPECT_EQ(ToUtf8(FPaths::GetProjectFilePath()), Root + "Game/Game.uproject");
	EXPECT_EQ(ToUtf8(FPaths::EngineUserDir()), Root + "User/UnrealEngine/5.7/");
	EXPECT_EQ(ToUtf8(UE::Host::GetProjectName()), "Game");
}

TEST(Paths, CombineJoinsWithExactlyOneSlash)
{
	EXPECT_EQ(ToUtf8(FPaths::Combine(TEXT("a"), TEXT("b"))), "a/b");
	EXPECT_EQ(ToUtf8(FPaths::Combine(FString(TEXT("a/")), TEXT("b"))), "a/b");
	EXPECT_EQ(ToUtf8(FPaths::Combine(TEXT("a\\"), TEXT("b"))), "a\\b");
	EXPECT_EQ(ToUtf8(FPaths::Combine(TEXT("a"), TEXT("/b"))), "a/b");
	EXPECT_EQ(ToUtf8(FPaths::Combine(TEXT("a"), TEXT(""))), "a/");
	EXPECT_EQ(ToUtf8(FPaths::Combine(TEXT(""), TEXT("b"))), "b");
	EXPECT_EQ(ToUtf8(FPaths::Combine(TEXT("Saved"), TEXT("Config"), FString(TEXT("LinuxEditor")))), "Saved/Config/LinuxEditor");
}

TEST(Paths, SplittingNames)
{
	EXPECT_EQ(ToUtf8(FPaths::GetCleanFilename(TEXT("/x/Config/DefaultEngine.ini"))), "DefaultEngine.ini");
	EXPECT_EQ(ToUtf8(FPaths::GetCleanFilename(TEXT("C:\\x\\File.ini"))), "File.ini");
	EXPECT_EQ(ToUtf8(FPaths::GetCleanFilename(TEXT("/x/"))), "");
	EXPECT_EQ(ToUtf8(FPaths::GetBaseFilename(TEXT("/x/Game.v2.uproject"))), "Game.v2");
	EXPECT_EQ(ToUtf8(FPaths::GetBaseFilename(TEXT("/x.y/File"), false)), "/x.y/File");
	EXPECT_EQ(ToUtf8(FPaths::GetBaseFilename(TEXT("/x.y/File.ini"), false)), "/x.y/File");
	EXPECT_EQ(ToUtf8(FPaths::GetExtension(TEXT("/x.y/File"))), "");
	EXPECT_EQ(ToUtf8(FPaths::GetExtension(TEXT("a/b.tar.gz"))), "gz");
	EXPECT_EQ(ToUtf8(FPaths::GetExtension(TEXT("a/b.ini"), true)), ".ini");
	EXPECT_EQ(ToUtf8(FPaths::GetPath(TEXT("/x/Config/DefaultEngine.ini"))), "/x/Config");
	EXPECT_EQ(ToUtf8(FPaths::GetPath(TEXT("File.ini"))), "");
}

TEST(Paths, CollapseRemovesDotSegmentsAndRefusesToClimbAboveTheRoot)
{
	EXPECT_EQ(Collapsed(TEXT("/a/b/../c/./d")), "/a/c/d");
	EXPECT_EQ(Collapsed(TEXT("/a/b/../../")), "/");
	EXPECT_EQ(Collapsed(TEXT("a/./b/..")), "a/");
	EXPECT_EQ(Collapsed(TEXT("../a")), "<refused>");
	EXPECT_EQ(Collapsed(TEXT("/a/../..")), "<refused>");
	EXPECT_EQ(Collapsed(TEXT("C:/..")), "<refused>");
	EXPECT_EQ(Collapsed(TEXT("/a/..b/c")), "/a/..b/c");
}

TEST(Paths, RelativePathsResolveAgainstTheCurrentFolder)
{
	const std::string Current = std::filesystem::current_path().string();
	EXPECT_EQ(ToUtf8(FPaths::ConvertRelativePathToFull(TEXT("a/../b"))), Current + "/b");
	EXPECT_EQ(ToUtf8(FPaths::ConvertRelativePathToFull(TEXT("/base"), TEXT("c\\d"))), "/base/c/d");
	EXPECT_EQ(ToUtf8(FPaths::ConvertRelativePathToFull(TEXT("/base"), TEXT("/abs/./x"))), "/abs/x");
	EXPECT_TRUE(FPaths::IsRelative(TEXT("a/b")));
	EXPECT_FALSE(FPaths::IsRelative(TEXT("/a")));
	EXPECT_FALSE(FPaths::IsRelative(TEXT("C:/a")));
}

TEST(Paths, IsUnderDirectoryComparesWholeSegments)
{
	EXPECT_TRUE(FPaths::IsUnderDirectory(TEXT("/p/Config/x.ini"), TEXT("/p/Config")));
	EXPECT_TRUE(FPaths::IsUnderDirectory(TEXT("/p/Config/x.ini"), TEXT("/p/Config/")));
	EXPECT_TRUE(FPaths::IsUnderDirectory(TEXT("/p/Config"), TEXT("/p/Config")));
	EXPECT_FALSE(FPaths::IsUnderDirectory(TEXT("/p/ConfigOld/x.ini"), TEXT("/p/Config")));
	EXPECT_FALSE(FPaths::IsUnderDirectory(TEXT("/p/Config/../Saved/x.ini"), TEXT("/p/Config")));
	EXPECT_FALSE(FPaths::IsUnderDirectory(TEXT("/P/Config/x.ini"), TEXT("/p/Config")));
	EXPECT_TRUE(FPaths::IsUnderDirectory(TEXT("/anything"), TEXT("/")));
}

TEST(Paths, FileAndDirectoryExistenceAreDistinct)
{
	FScopedTestFolder Folder;
	Folder.WriteFile(TEXT("Dir/File.ini"), "x");
	EXPECT_TRUE(FPaths::FileExists(Folder.Path(TEXT("Dir/File.ini"))));
	EXPECT_FALSE(FPaths::DirectoryExists(Folder.Path(TEXT("Dir/File.ini"))));
	EXPECT_TRUE(FPaths::DirectoryExists(Folder.Path(TEXT("Dir"))));
	EXPECT_TRUE(FPaths::DirectoryExists(Folder.Path(TEXT("Dir/"))));
	EXPECT_FALSE(FPaths::FileExists(Folder.Path(TEXT("Dir"))));
	EXPECT_FALSE(FPaths::FileExists(Folder.Path(TEXT("Missing.ini"))));
}
