// A throw-away environment for the settings tests: temporary engine, project and user folders,
// a fresh config cache seeded through its own setters, and the object system started on top.
#pragma once

#include "CoreMinimal.h"
#include "Misc/OutputDevice.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class FSettingsTestEnvironment
{
public:
	FSettingsTestEnvironment();
	~FSettingsTestEnvironment();
	FSettingsTestEnvironment(const FSettingsTestEnvironment&) = delete;
	FSettingsTestEnvironment& operator=(const FSettingsTestEnvironment&) = delete;

	void SetValue(const TCHAR* Category, const TCHAR* Section, const TCHAR* Key, const TCHAR* Value);
	void SetArray(const TCHAR* Category, const TCHAR* Section, const TCHAR* Key, const TArray<FString>& Values);
	// Starts the object system over the values set so far.
	void Start();

	const std::filesystem::path& GetRoot() const { return Root; }

private:
	std::filesystem::path Root;
	bool bStarted = false;
};

// Exact (case-sensitive) comparisons with readable failure messages.
inline std::string U8(const FString& Text)
{
	return UE::Host::StringToUtf8(Text);
}

// Runs each test with the object system started over an empty config.
class FSettingsTest : public ::testing::Test
{
protected:
	virtual void SetUp() override;
	virtual void TearDown() override;

	TOptional<FSettingsTestEnvironment> Environment;
};

// Collects what an import reports instead of printing it.
class FCapturedErrors final : public FOutputDevice
{
public:
	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
	{
		Lines.Add(FString(V));
	}

	TArray<FString> Lines;
};
