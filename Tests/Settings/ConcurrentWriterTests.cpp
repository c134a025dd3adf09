// Several orvex processes writing one project's DefaultEngine.ini at once (past a lock left by a
// dead writer), and a writer that finds the file's lock held by a live one.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"
#include "ProgramRunner.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>
#include <sstream>
#include <string>
#include <vector>

namespace
{
	const char* const BaseEngine =
		"[/Script/Engine.RendererSettings]\n"
		"r.ReflectionCaptureResolution=128\n"
		"r.MinScreenRadiusForLights=0.030000\n"
		"r.DistanceFields.DefaultVoxelDensity=0.200000\n"
		"\n"
		"[/Script/EngineSettings.GameMapsSettings]\n"
		"LocalMapOptions=\n"
		"GameDefaultMap=/Engine/Maps/Entry\n"
		"TransitionMap=\n"
		"+GameModeMapPrefixes=(Name=\"DM-\",GameMode=\"/Script/Engine.GameModeBase\")\n"
		"+GameModeClassAliases=(Name=\"DM\",GameMode=\"/Script/Engine.GameModeBase\")\n";

	const char* const DefaultEngine =
		"; Project overrides, kept by every writer\r\n"
		"[/Script/EngineSettings.GameMapsSettings]\r\n"
		"EditorStartupMap=/Game/Maps/Main.Main\r\n"
		"GameDefaultMap=/Game/Maps/Main.Main\r\n"
		"\r\n"
		"[/Script/Engine.RendererSettings]\r\n"
		"r.RayTracing=False\r\n"
		"r.ReflectionCaptureResolution=256\r\n";

	// One writer process: the property it owns and the value of its Nth write.
	struct FWriter
	{
		const char* Class;
		const char* Property;
		std::string (*Value)(int32 Write);
	};

	std::string Prefixes(int32 Write)
	{
		return "[{\"Name\":\"P" + std::to_string(Write) + "-\",\"GameMode\":\"/Script/Engine.GameModeBase\"}]";
	}

	class ConcurrentWriters : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/BaseEngine.ini", BaseEngine);
			Folders.WriteProject("Config/DefaultEngine.ini", DefaultEngine);
		}

		std::vector<std::string> With(std::vector<std::string> Tail) const
		{
			std::vector<std::string> Arguments = {"--engine", Folders.EngineDir().string(), "--project", Folders.ProjectDir().string(),
				"--user-dir", Folders.UserDir().string()};
			Arguments.insert(Arguments.end(), Tail.begin(), Tail.end());
			return Arguments;
		}

		static std::string SetRequest(int32 Id, const FWriter& Writer, const std::string& Value)
		{
			return "{\"jsonrpc\":\"2.0\",\"id\":" + std::to_string(Id) + ",\"method\":\"config.set_setting\",\"params\":{\"class\":\"" + Writer.Class
				+ "\",\"property\":\"" + Writer.Property + "\",\"value\":" + Value + "}}\n";
		}

		static std::vector<TSharedPtr<FJsonObject>> Responses(const std::string& Out)
		{
			std::vector<TSharedPtr<FJsonObject>> Objects;
			std::istringstream Lines(Out);
			for (std::string Line; std::getline(Lines, Line);)
			{
				Objects.push_back(ParseObject(Line));
			}
			return Objects;
		}

		std::filesystem::path File() const { return Folders.ProjectDir() / "Config" / "DefaultEngine.ini"; }

		FTempHostFolders Folders;
	};
}

TEST_F(ConcurrentWriters, EveryValueReportedAsPersistedIsOnDiskAfterwards)
{
	const std::vector<FWriter> Writers = {
		{"RendererSettings", "ReflectionCaptureResolution", [](int32 Write) { return std::to_string(300 + Write); }},
		{"RendererSettings", "MinScreenRadiusForLights", [](int32 Write) { return std::to_string(Write + 1) + ".5"; }},
		{"RendererSettings", "DistanceFieldVoxelDensity", [](int32 Write) { return std::to_string(Write + 2) + ".25"; }},
		{"GameMapsSettings", "LocalMapOptions", [](int32 Write) { return "\"?Listen?Write=" + std::to_string(Write) + "\""; }},
		{"GameMapsSettings", "GameDefaultMap", [](int32 Write) { return "\"/Game/Maps/Default" + std::to_string(Write) + ".Default" + std::to_string(Write) + "\""; }},
		{"GameMapsSettings", "TransitionMap", [](int32 Write) { return "\"/Game/Maps/Transition" + std::to_string(Write) + ".Transition" + std::to_string(Write) + "\""; }},
		// Arrays rewrite the whole GameMapsSettings section, among the single keys of three other writers.
		{"GameMapsSettings", "GameModeMapPrefixes", Prefixes},
		{"GameMapsSettings", "GameModeClassAliases", [](int32 Write) { return "[{\"Name\":\"A" + std::to_string(Write) + "\",\"GameMode\":\"/Script/Engine.GameModeBase\"}]"; }},
	};
	constexpr int32 WritesEach = 10;
	// A writer that died holding the lock: all eight find it, one at a time takes it over.
	Folders.Write(File().string() + ".lock", std::to_string(DeadProcessId()) + "\n");

	std::vector<std::future<FProgramRun>> Runs;
	for (const FWriter& Writer : Writers)
	{
		std::string Input;
		for (int32 Write = 0; Write < WritesEach; ++Write)
		{
			Input += SetRequest(Write, Writer, Writer.Value(Write));
		}
		Runs.push_back(std::async(std::launch::async, [this, Input] { return RunOrvex(With({"serve"}), Input); }));
	}

	std::vector<std::string> LastValues;
	int32 Persisted = 0;
	for (size_t Index = 0; Index < Writers.size(); ++Index)
	{
		const FProgramRun Run = Runs[Index].get();
		ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
		const std::vector<TSharedPtr<FJsonObject>> Answers = Responses(Run.Out);
		ASSERT_EQ(Answers.size(), static_cast<size_t>(WritesEach)) << Run.Out;
		for (const TSharedPtr<FJsonObject>& Answer : Answers)
		{
			ASSERT_TRUE(Answer->HasField(TEXT("result"))) << ToJson(Answer);
			const TSharedPtr<FJsonObject> Result = Answer->GetObjectField(TEXT("result"));
			EXPECT_TRUE(Result->GetBoolField(TEXT("persisted"))) << ToJson(Result);
			Persisted += Result->GetBoolField(TEXT("persisted")) ? 1 : 0;
		}
		LastValues.push_back(UE::Host::StringToUtf8(
			Answers.back()->GetObjectField(TEXT("result"))->GetArrayField(TEXT("results"))[0]->AsObject()->GetStringField(TEXT("new_value"))));
	}
	EXPECT_EQ(Persisted, static_cast<int32>(Writers.size()) * WritesEach);

	// A fresh process reads every writer's last value back from disk.
	std::string Reads;
	for (size_t Index = 0; Index < Writers.size(); ++Index)
	{
		Reads += "{\"jsonrpc\":\"2.0\",\"id\":" + std::to_string(Index) + ",\"method\":\"config.set_setting\",\"params\":{\"class\":\"" + Writers[Index].Class
			+ "\",\"property\":\"" + Writers[Index].Property + "\",\"value\":0,\"dry_run\":true}}\n";
	}
	const FProgramRun Check = RunOrvex(With({"serve"}), Reads);
	ASSERT_EQ(Check.ExitCode, 0) << Check.Err;
	const std::vector<TSharedPtr<FJsonObject>> Answers = Responses(Check.Out);
	ASSERT_EQ(Answers.size(), Writers.size()) << Check.Out;
	for (size_t Index = 0; Index < Writers.size(); ++Index)
	{
		const TSharedPtr<FJsonObject> Row = Answers[Index]->GetObjectField(TEXT("result"))->GetArrayField(TEXT("results"))[0]->AsObject();
		EXPECT_EQ(UE::Host::StringToUtf8(Row->GetStringField(TEXT("old_value"))), LastValues[Index]) << Writers[Index].Property;
	}
	const std::string After = FTempHostFolders::Read(File());
	EXPECT_EQ(After.rfind("; Project overrides, kept by every writer\r\n", 0), 0u) << After;
	EXPECT_NE(After.find("EditorStartupMap=/Game/Maps/Main.Main\r\n"), std::string::npos) << After;
	EXPECT_NE(After.find("r.RayTracing=False\r\n"), std::string::npos) << After;
	EXPECT_FALSE(std::filesystem::exists(File().string() + ".lock"));
}

TEST_F(ConcurrentWriters, ALockHeldByALiveProcessFailsTheWriteAndLeavesTheFileAlone)
{
	const FLiveProcess Holder;
	const std::string LockFile = File().string() + ".lock";
	Folders.Write(LockFile, std::to_string(Holder.Id) + "\n");
	const FWriter SingleKey = {"RendererSettings", "ReflectionCaptureResolution", nullptr};
	const FWriter Section = {"GameMapsSettings", "GameModeMapPrefixes", nullptr};
	const FProgramRun Run = RunOrvex(With({"serve"}), SetRequest(1, SingleKey, "512") + SetRequest(2, Section, Prefixes(7)));
	ASSERT_EQ(Run.ExitCode, 0) << Run.Err;

	const std::vector<TSharedPtr<FJsonObject>> Answers = Responses(Run.Out);
	ASSERT_EQ(Answers.size(), 2u) << Run.Out;
	for (const TSharedPtr<FJsonObject>& Answer : Answers)
	{
		// Nothing reached the file: the request failed, with the details attached.
		ASSERT_TRUE(Answer->HasTypedField<EJson::Object>(TEXT("error"))) << ToJson(Answer);
		const TSharedPtr<FJsonObject> Failure = Answer->GetObjectField(TEXT("error"));
		EXPECT_EQ(Failure->GetNumberField(TEXT("code")), -32603);
		const TSharedPtr<FJsonObject> Result = Failure->GetObjectField(TEXT("data"));
		EXPECT_FALSE(Result->GetBoolField(TEXT("persisted"))) << ToJson(Result);
		const FString Error = Result->GetArrayField(TEXT("results"))[0]->AsObject()->GetStringField(TEXT("error"));
		EXPECT_NE(Error.Find(UE::Host::Utf8ToString(LockFile)), INDEX_NONE) << UE::Host::StringToUtf8(Error);
		EXPECT_NE(Error.Find(FString::Printf(TEXT("process %d"), static_cast<int32>(Holder.Id))), INDEX_NONE) << UE::Host::StringToUtf8(Error);
	}
	EXPECT_EQ(FTempHostFolders::Read(File()), DefaultEngine);
	EXPECT_EQ(FTempHostFolders::Read(LockFile), std::to_string(Holder.Id) + "\n");
}
