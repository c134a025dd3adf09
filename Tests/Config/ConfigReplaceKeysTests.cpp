// Giving chosen keys exactly the lines asked for, in one write: exact bytes before and after.
#include "CoreMinimal.h"
#include "HAL/PlatformFileManager.h"
#include "Host/ConfigFileEditor.h"
#include "ScopedTestFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <string>

namespace
{
	namespace Editor = UE::Host::ConfigFileEditor;

	class FConfigReplaceKeysTest : public ::testing::Test
	{
	protected:
		bool Replace(const TArray<Editor::FKeyLines>& Edits, Editor::EEmptyFilePolicy Policy = Editor::EEmptyFilePolicy::Keep)
		{
			Error.Reset();
			return Editor::ReplaceKeys(File(), Edits, Policy, Error);
		}

		std::string Bytes() const { return Folder.ReadFile(TEXT("Saved/Game.ini")); }
		void Write(const std::string& Text) const { Folder.WriteFile(TEXT("Saved/Game.ini"), Text); }
		FString File() const { return Folder.Path(TEXT("Saved/Game.ini")); }

		ino_t Inode() const
		{
			struct stat Info;
			return ::stat(UE::Host::StringToUtf8(File()).c_str(), &Info) == 0 ? Info.st_ino : 0;
		}

		FScopedTestFolder Folder;
		FString Error;
	};

	Editor::FKeyLines Lines(const TCHAR* Section, const TCHAR* Key, TArray<FString> NewLines)
	{
		Editor::FKeyLines Edit;
		Edit.Section = Section;
		Edit.Key = Key;
		Edit.Lines = std::move(NewLines);
		return Edit;
	}
}

TEST_F(FConfigReplaceKeysTest, EveryLineOfTheKeyIsReplacedWhereItsFirstLineWas)
{
	Write(
		"; saved by hand\r\n"
		"[/Script/Game.Settings]\r\n"
		"Before=1\r\n"
		"+Maps=A\r\n"
		"@Maps=Name\r\n"
		"; keep me\r\n"
		"-Maps=B\r\n"
		"After=2\r\n"
		"\r\n"
		"[Other]\r\n"
		"Maps=untouched\r\n"
		"\r\n"
		"[/script/game.settings]\r\n"
		"maps=late copy\r\n");
	ASSERT_TRUE(Replace({Lines(TEXT("/Script/Game.Settings"), TEXT("Maps"), {TEXT("!Maps=ClearArray"), TEXT("+Maps=C"), TEXT(".Maps=C")})})) << ToUtf8(Error);
	EXPECT_EQ(Bytes(),
		"; saved by hand\r\n"
		"[/Script/Game.Settings]\r\n"
		"Before=1\r\n"
		"!Maps=ClearArray\r\n"
		"+Maps=C\r\n"
		".Maps=C\r\n"
		"@Maps=Name\r\n"
		"; keep me\r\n"
		"After=2\r\n"
		"\r\n"
		"[Other]\r\n"
		"Maps=untouched\r\n"
		"\r\n"
		"[/script/game.settings]\r\n");
}

TEST_F(FConfigReplaceKeysTest, NewKeysFollowTheLastEntryAndNewSectionsAreAppendedOnce)
{
	Write("[A]\nX=1\n\n; about B\n[B]\nY=2\n");
	ASSERT_TRUE(Replace({
		Lines(TEXT("A"), TEXT("Z"), {TEXT("Z=3")}),
		Lines(TEXT("New"), TEXT("P"), {TEXT("P=4")}),
		Lines(TEXT("A"), TEXT("W"), {TEXT("W=5")}),
		Lines(TEXT("New"), TEXT("Q"), {TEXT("Q=6")}),
		Lines(TEXT("Newer"), TEXT("R"), {TEXT("R=7")}),
	})) << ToUtf8(Error);
	EXPECT_EQ(Bytes(), "[A]\nX=1\nZ=3\nW=5\n\n; about B\n[B]\nY=2\n\n[New]\nP=4\nQ=6\n\n[Newer]\nR=7\n");
}

TEST_F(FConfigReplaceKeysTest, NothingIsWrittenWhenTheBytesWouldNotChange)
{
	Write("[A]\nK=1\n");
	const ino_t Before = Inode();
	ASSERT_TRUE(Replace({Lines(TEXT("A"), TEXT("K"), {TEXT("K=1")}), Lines(TEXT("A"), TEXT("Absent"), {})})) << ToUtf8(Error);
	EXPECT_EQ(Inode(), Before);

	// So a read-only file that already says it all is no failure.
	IPlatformFile& PlatformFile = FPlatformFileManager::Get().GetPlatformFile();
	ASSERT_TRUE(PlatformFile.SetReadOnly(*File(), true));
	EXPECT_TRUE(Replace({Lines(TEXT("A"), TEXT("K"), {TEXT("K=1")})})) << ToUtf8(Error);
	EXPECT_FALSE(Replace({Lines(TEXT("A"), TEXT("K"), {TEXT("K=2")})}));
	EXPECT_NE(ToUtf8(Error).find("read-only"), std::string::npos) << ToUtf8(Error);
	EXPECT_EQ(Bytes(), "[A]\nK=1\n");
	ASSERT_TRUE(PlatformFile.SetReadOnly(*File(), false));
}

TEST_F(FConfigReplaceKeysTest, AMissingFileIsCreatedOnlyToHoldNewLines)
{
	ASSERT_TRUE(Replace({Lines(TEXT("A"), TEXT("K"), {})})) << ToUtf8(Error);
	EXPECT_FALSE(Folder.Exists(TEXT("Saved/Game.ini")));
	ASSERT_TRUE(Replace({Lines(TEXT("A"), TEXT("K"), {TEXT("K=1")})})) << ToUtf8(Error);
	EXPECT_EQ(Bytes(), "[A]\nK=1\n");
}

TEST_F(FConfigReplaceKeysTest, AFileLeftWithoutEntriesIsDeletedWhenAskedTo)
{
	Write(";METADATA=(Diff=true, UseCommands=true)\n[A]\nK=1\n[B]\nJ=2\n");
	ASSERT_TRUE(Replace({Lines(TEXT("A"), TEXT("K"), {})}, Editor::EEmptyFilePolicy::Delete)) << ToUtf8(Error);
	EXPECT_EQ(Bytes(), ";METADATA=(Diff=true, UseCommands=true)\n[A]\n[B]\nJ=2\n");

	// Removing the last entry deletes the file, unless it may not be touched.
	IPlatformFile& PlatformFile = FPlatformFileManager::Get().GetPlatformFile();
	ASSERT_EQ(::chmod(UE::Host::StringToUtf8(Folder.Path(TEXT("Saved"))).c_str(), 0555), 0);
	EXPECT_FALSE(Replace({Lines(TEXT("B"), TEXT("J"), {})}, Editor::EEmptyFilePolicy::Delete));
	EXPECT_NE(ToUtf8(Error).find("read-only"), std::string::npos) << ToUtf8(Error);
	EXPECT_TRUE(Folder.Exists(TEXT("Saved/Game.ini")));
	ASSERT_EQ(::chmod(UE::Host::StringToUtf8(Folder.Path(TEXT("Saved"))).c_str(), 0755), 0);

	ASSERT_TRUE(Replace({Lines(TEXT("B"), TEXT("J"), {})}, Editor::EEmptyFilePolicy::Delete)) << ToUtf8(Error);
	EXPECT_FALSE(PlatformFile.FileExists(*File()));
	// Keeping the file instead leaves the headers.
	Write("[A]\nK=1\n");
	ASSERT_TRUE(Replace({Lines(TEXT("A"), TEXT("K"), {})})) << ToUtf8(Error);
	EXPECT_EQ(Bytes(), "[A]\n");
}

TEST_F(FConfigReplaceKeysTest, BadEditsAreRefusedBeforeAnythingIsWritten)
{
	Write("[A]\nK=1\n");
	EXPECT_FALSE(Replace({Lines(TEXT("A"), TEXT("K"), {TEXT("K=2")}), Lines(TEXT("a"), TEXT("k"), {TEXT("K=3")})}));
	EXPECT_NE(ToUtf8(Error).find("twice"), std::string::npos) << ToUtf8(Error);
	EXPECT_FALSE(Replace({Lines(TEXT("A"), TEXT("K"), {TEXT("K=2"), TEXT("[Injected]")})}));
	EXPECT_FALSE(Replace({Lines(TEXT("A"), TEXT("K=J"), {TEXT("K=2")})}));
	EXPECT_FALSE(Replace({Lines(TEXT(""), TEXT("K"), {TEXT("K=2")})}));
	EXPECT_EQ(Bytes(), "[A]\nK=1\n");
}
