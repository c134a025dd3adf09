// Shared by the config writer tests: INI files written on disk before the object system starts,
// read back byte for byte afterwards, and the warnings the writers log.
#pragma once

#include "CoreMinimal.h"
#include "HAL/PlatformFileManager.h"
#include "Host/ObjectSystem.h"
#include "Misc/ConfigCacheIni.h"
#include "SettingsTestSupport.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

class FConfigWriterTest : public ::testing::Test
{
protected:
	virtual void SetUp() override
	{
		Environment.Emplace();
	}

	virtual void TearDown() override
	{
		for (const std::filesystem::path& Folder : LockedFolders)
		{
			::chmod(Folder.c_str(), 0755);
		}
		Environment.Reset();
	}

	// Paths under the test root ("Project/Config/DefaultEngine.ini", "User/...").
	std::filesystem::path Native(const std::string& Relative) const { return Environment->GetRoot() / Relative; }
	FString Path(const std::string& Relative) const { return UE::Host::Utf8ToString(Native(Relative).string()); }

	void Write(const std::string& Relative, const std::string& Bytes) const
	{
		std::filesystem::create_directories(Native(Relative).parent_path());
		std::ofstream Stream(Native(Relative), std::ios::binary | std::ios::trunc);
		Stream << Bytes;
	}

	std::string Read(const std::string& Relative) const
	{
		std::ifstream Stream(Native(Relative), std::ios::binary);
		return std::string(std::istreambuf_iterator<char>(Stream), std::istreambuf_iterator<char>());
	}

	bool Exists(const std::string& Relative) const { return std::filesystem::exists(Native(Relative)); }

	// Builds the cache from the files written so far and starts the object system on it.
	void Start()
	{
		GConfig->ReloadAll();
		Environment->Start();
	}

	// A fresh start over what is on disk now: the class default objects load it again.
	void Restart()
	{
		UE::Host::ShutdownObjectSystem();
		GConfig->ReloadAll();
		UE::Host::InitializeObjectSystem();
	}

	std::string Cached(const TCHAR* Category, const TCHAR* Section, const TCHAR* Key) const
	{
		FString Value;
		return GConfig->GetString(Section, Key, Value, GConfig->GetConfigFilename(Category)) ? U8(Value) : "<missing>";
	}

	void SetReadOnly(const std::string& Relative) const
	{
		ASSERT_TRUE(FPlatformFileManager::Get().GetPlatformFile().SetReadOnly(*Path(Relative), true));
	}

	void LockFolder(const std::string& Relative)
	{
		ASSERT_EQ(::chmod(Native(Relative).c_str(), 0555), 0);
		LockedFolders.push_back(Native(Relative));
	}

	void UnlockFolders()
	{
		for (const std::filesystem::path& Folder : LockedFolders)
		{
			::chmod(Folder.c_str(), 0755);
		}
		LockedFolders.clear();
	}

	TOptional<FSettingsTestEnvironment> Environment;
	std::vector<std::filesystem::path> LockedFolders;
};

// What a block of code wrote to standard error, where the log goes.
template<typename FunctionType>
std::string CaptureLog(FunctionType&& Function)
{
	::testing::internal::CaptureStderr();
	Function();
	return ::testing::internal::GetCapturedStderr();
}
