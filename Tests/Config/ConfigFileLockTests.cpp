// The lock file beside a config file: held for one write, shared by nested writers of the same
// file, taken over from a writer that died.
#include "CoreMinimal.h"
#include "Host/ConfigFileEditor.h"
#include "Host/ConfigFileLock.h"
#include "ProgramRunner.h"
#include "ScopedTestFolder.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace
{
	namespace Editor = UE::Host::ConfigFileEditor;

	const char* const DefaultGame =
		"[/Script/EngineSettings.GeneralProjectSettings]\r\n"
		"ProjectID=3F9D696D4D7BB2D3C5C4B8A1E5F0A2C7\r\n"
		"ProjectName=Third Person BP Game Template\r\n";

	class ConfigFileLock : public testing::Test
	{
	protected:
		void SetUp() override { Folder.WriteFile(TEXT("Config/DefaultGame.ini"), DefaultGame); }

		FString File() const { return Folder.Path(TEXT("Config/DefaultGame.ini")); }
		std::filesystem::path LockPath() const { return ToUtf8(UE::Host::GetConfigFileLockName(File())); }

		FScopedTestFolder Folder;
	};
}

TEST_F(ConfigFileLock, HoldsTheWritersProcessIdAndIsSharedByNestedWritersOfTheFile)
{
	{
		const UE::Host::FScopedConfigFileLock Lock(File());
		ASSERT_TRUE(Lock.IsLocked()) << ToUtf8(Lock.GetError());
		EXPECT_EQ(Folder.ReadFile(TEXT("Config/DefaultGame.ini.lock")), std::to_string(::getpid()) + "\n");
		// The editor below takes the same lock again: it must not wait for itself.
		FString Error;
		EXPECT_TRUE(Editor::SetKey(File(), TEXT("/Script/EngineSettings.GeneralProjectSettings"), TEXT("CompanyName"), TEXT("Epic"), Error)) << ToUtf8(Error);
		EXPECT_TRUE(std::filesystem::exists(LockPath())) << "an inner writer released the outer lock";
	}
	EXPECT_FALSE(std::filesystem::exists(LockPath()));
	EXPECT_NE(Folder.ReadFile(TEXT("Config/DefaultGame.ini")).find("CompanyName=Epic\r\n"), std::string::npos);
}

TEST_F(ConfigFileLock, ALockLeftByADeadWriterIsTakenOver)
{
	for (const std::string& Left : {std::to_string(DeadProcessId()) + "\n", std::to_string(DeadProcessId())})
	{
		Folder.WriteFile(TEXT("Config/DefaultGame.ini.lock"), Left);
		FString Error;
		EXPECT_TRUE(Editor::SetKey(File(), TEXT("/Script/EngineSettings.GeneralProjectSettings"), TEXT("Description"), TEXT("Third person"), Error))
			<< ToUtf8(Error);
		EXPECT_FALSE(std::filesystem::exists(LockPath()));
	}
	// A writer that died between creating its lock and writing its id into it.
	Folder.WriteFile(TEXT("Config/DefaultGame.ini.lock"), "");
	std::filesystem::last_write_time(LockPath(), std::filesystem::file_time_type::clock::now() - std::chrono::minutes(1));
	FString Error;
	EXPECT_TRUE(Editor::SetKey(File(), TEXT("/Script/EngineSettings.GeneralProjectSettings"), TEXT("Description"), TEXT("Top down"), Error)) << ToUtf8(Error);
	EXPECT_FALSE(std::filesystem::exists(LockPath()));
	EXPECT_NE(Folder.ReadFile(TEXT("Config/DefaultGame.ini")).find("Description=Top down\r\n"), std::string::npos);
}

TEST_F(ConfigFileLock, FoldersMadeOnlyForTheLockGoAgain)
{
	const FString Missing = Folder.Path(TEXT("Saved/Config/LinuxEditor/Game.ini"));
	FString Error;
	// Nothing to write: the file is not created, and neither are its folders.
	EXPECT_TRUE(Editor::ReplaceKeys(Missing, {{TEXT("/Script/Engine.GameSession"), TEXT("MaxPlayers"), {}}}, Editor::EEmptyFilePolicy::Delete, Error));
	EXPECT_FALSE(std::filesystem::exists(ToUtf8(Folder.Path(TEXT("Saved")))));
	EXPECT_TRUE(Editor::SetKey(Missing, TEXT("/Script/Engine.GameSession"), TEXT("MaxPlayers"), TEXT("16"), Error)) << ToUtf8(Error);
	EXPECT_EQ(Folder.ReadFile(TEXT("Saved/Config/LinuxEditor/Game.ini")), "[/Script/Engine.GameSession]\nMaxPlayers=16\n");
	EXPECT_FALSE(std::filesystem::exists(ToUtf8(Missing + TEXT(".lock"))));
}
