// The first config.set_setting on a class that only a header declares, in an engine tree of
// 30,000 generated headers (300 modules of 100), with the file cache warm and cold. The class is
// found either by its file name (the engine's habit) or, declared in a header named otherwise,
// by the byte scan. A built-in class in the same tree pays for finding its own header by name (the
// listing of the tree); the same call without Source folders costs what it costs without headers.
//
// Listing every settings class (orvex settings) reads each header once and parses those with a
// reflection macro (SettingsListingBenchmark measures it on a tree shaped like a shipped engine).
//
// Cold: the page cache is dropped (/proc/sys/vm/drop_caches, as root) and the tree's files are
// evicted with posix_fadvise; folder entries stay cached either way.
#include "ActionTestUtils.h"
#include "BenchmarkRuns.h"
#include "Host/HeaderClasses.h"
#include "HostTestEnvironment.h"
#include "OrvexToolRegistry.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <memory>
#include <unistd.h>

namespace
{
	constexpr int32 ModuleCount = 300;
	constexpr int32 HeadersPerModule = 100;

	// An engine-like header: includes, a doc-commented class with functions and a few
	// reflected members, none of them config.
	std::string MakeFiller(int32 Module, int32 Header)
	{
		const std::string Name = "M" + std::to_string(Module) + "Type" + std::to_string(Header);
		std::string Text = "// Copyright of this repository's authors.\n\n#pragma once\n\n#include \"CoreMinimal.h\"\n#include \"UObject/Object.h\"\n#include \""
			+ Name + ".generated.h\"\n\n";
		Text += "/**\n * Generated type " + Name + ": stands for an engine header of average length.\n */\n";
		Text += "UCLASS(BlueprintType)\nclass MODULE" + std::to_string(Module) + "_API U" + Name + " : public UObject\n{\n\tGENERATED_BODY()\n\npublic:\n";
		for (int32 Member = 0; Member < 12; ++Member)
		{
			Text += "\t/** Member " + std::to_string(Member) + " of the generated type; it has a doc comment like engine members do. */\n";
			Text += "\tUPROPERTY(EditAnywhere, BlueprintReadWrite, Category = \"Generated\", meta = (ClampMin = \"0\"))\n\tint32 Value" + std::to_string(Member) + " = " + std::to_string(Member) + ";\n\n";
			Text += "\tUFUNCTION(BlueprintCallable, Category = \"Generated\")\n\tvoid SetValue" + std::to_string(Member) + "(int32 NewValue) { Value" + std::to_string(Member) + " = NewValue; }\n\n";
		}
		Text += "private:\n\tTArray<FString> CachedNames;\n};\n";
		return Text;
	}

	const char* const NamedClass = R"(
UCLASS(config=Engine, defaultconfig)
class UTargetStreamingSettings : public UDeveloperSettings
{
	GENERATED_BODY()
public:
	UPROPERTY(config, EditAnywhere, Category = Budget, meta = (ConsoleVariable = "bench.Target.PoolSize"))
	int32 PoolSize = 1000;
};
)";

	const char* const ScannedClass = R"(
UCLASS(config=Engine, defaultconfig)
class UScannedStreamingSettings : public UDeveloperSettings
{
	GENERATED_BODY()
public:
	UPROPERTY(config, EditAnywhere, Category = Budget)
	int32 PoolSize = 1000;
};
)";

	struct FHeaderTree
	{
		FTempHostFolders Folders;
		std::vector<std::string> Files;

		FHeaderTree()
		{
			Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/Engine.RendererSettings]\nr.RayTracing=False\n");
			Folders.WriteProject("Config/DefaultEngine.ini", "[/Script/Engine.RendererSettings]\nr.RayTracing=False\n");
			for (int32 Module = 0; Module < ModuleCount; ++Module)
			{
				const std::filesystem::path Folder = Folders.EngineDir() / "Source" / "Runtime" / ("Module" + std::to_string(Module));
				std::filesystem::create_directories(Folder / "Public");
				std::ofstream(Folder / ("Module" + std::to_string(Module) + ".Build.cs")) << "public class Module" << Module << " : ModuleRules { }\n";
				for (int32 Header = 0; Header < HeadersPerModule; ++Header)
				{
					std::string Name = "M" + std::to_string(Module) + "Type" + std::to_string(Header) + ".h";
					std::string Text = MakeFiller(Module, Header);
					// A settings class in a header not named after it: only the scan finds it.
					if (Module == ModuleCount / 2 && Header == HeadersPerModule / 2)
					{
						Name = "StreamingTypes.h";
						Text += ScannedClass;
					}
					const std::filesystem::path Path = Folder / "Public" / Name;
					std::ofstream(Path, std::ios::binary) << Text;
					Files.push_back(Path.string());
				}
			}
			// The file-name route, the engine's habit: UTargetStreamingSettings in TargetStreamingSettings.h.
			const std::filesystem::path Named = Folders.EngineDir() / "Source" / "Runtime" / ("Module" + std::to_string(ModuleCount / 2)) / "Public" / "TargetStreamingSettings.h";
			std::ofstream(Named, std::ios::binary) << "#pragma once\n#include \"Engine/DeveloperSettings.h\"\n" << NamedClass;
			Files.push_back(Named.string());
			UE::Host::SetAllLogVerbosity(ELogVerbosity::Error);
		}

		void EvictFiles() const
		{
			sync();
			if (std::FILE* Drop = std::fopen("/proc/sys/vm/drop_caches", "w"))
			{
				std::fputs("1\n", Drop);
				std::fclose(Drop);
			}
			for (const std::string& File : Files)
			{
				const int Handle = ::open(File.c_str(), O_RDONLY);
				if (Handle >= 0)
				{
					::posix_fadvise(Handle, 0, 0, POSIX_FADV_DONTNEED);
					::close(Handle);
				}
			}
		}
	};

	FHeaderTree& GetTree()
	{
		static FHeaderTree Tree;
		return Tree;
	}

	// The same engine and project configuration without any Source folder.
	FTempHostFolders& GetConfigOnlyFolders()
	{
		static FTempHostFolders Folders;
		static const bool bWritten = [] {
			Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/Engine.RendererSettings]\nr.RayTracing=False\n");
			Folders.WriteProject("Config/DefaultEngine.ini", "[/Script/Engine.RendererSettings]\nr.RayTracing=False\n");
			return true;
		}();
		(void)bWritten;
		return Folders;
	}

	// Each iteration boots a fresh host (untimed), so its first lookup is really the first.
	void RunFirstSetSetting(benchmark::State& State, const char* Params, bool bCold, bool bExpectSuccess = true, bool bWithSource = true)
	{
		FHeaderTree& Tree = GetTree();
		OrvexBenchmark::RunInFreshHost(State, bWithSource ? Tree.Folders.MakeEnvironment() : GetConfigOnlyFolders().MakeEnvironment(),
			[&Tree, bCold]
			{
				if (bCold)
				{
					Tree.EvictFiles();
				}
			},
			[Params, bExpectSuccess] { return CallAction(TEXT("config"), TEXT("set_setting"), Params).bSuccess == bExpectSuccess; });
	}
}

static void BM_FirstSetSetting_FoundByFileName_Warm(benchmark::State& State)
{
	RunFirstSetSetting(State, R"({"class":"TargetStreamingSettings","property":"PoolSize","value":5,"dry_run":true})", false);
}
BENCHMARK(BM_FirstSetSetting_FoundByFileName_Warm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

static void BM_FirstSetSetting_FoundByFileName_Cold(benchmark::State& State)
{
	RunFirstSetSetting(State, R"({"class":"TargetStreamingSettings","property":"PoolSize","value":5,"dry_run":true})", true);
}
BENCHMARK(BM_FirstSetSetting_FoundByFileName_Cold)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

static void BM_FirstSetSetting_FoundByScan_Warm(benchmark::State& State)
{
	RunFirstSetSetting(State, R"({"class":"ScannedStreamingSettings","property":"PoolSize","value":5,"dry_run":true})", false);
}
BENCHMARK(BM_FirstSetSetting_FoundByScan_Warm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

static void BM_FirstSetSetting_FoundByScan_Cold(benchmark::State& State)
{
	RunFirstSetSetting(State, R"({"class":"ScannedStreamingSettings","property":"PoolSize","value":5,"dry_run":true})", true);
}
BENCHMARK(BM_FirstSetSetting_FoundByScan_Cold)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

// A name no header declares: every header is read once (the answer is remembered after that).
static void BM_FirstSetSetting_UnknownClass_Warm(benchmark::State& State)
{
	RunFirstSetSetting(State, R"({"class":"NoSuchStreamingSettings","property":"PoolSize","value":5,"dry_run":true})", false, false);
}
BENCHMARK(BM_FirstSetSetting_UnknownClass_Warm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

static void BM_FirstSetSetting_UnknownClass_Cold(benchmark::State& State)
{
	RunFirstSetSetting(State, R"({"class":"NoSuchStreamingSettings","property":"PoolSize","value":5,"dry_run":true})", true, false);
}
BENCHMARK(BM_FirstSetSetting_UnknownClass_Cold)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

static void BM_FirstSetSetting_BuiltInClass(benchmark::State& State)
{
	RunFirstSetSetting(State, R"({"class":"RendererSettings","property":"bEnableRayTracing","value":true,"dry_run":true})", false);
}
BENCHMARK(BM_FirstSetSetting_BuiltInClass)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// The same call where the engine and the project have no Source folder: no header is looked for.
static void BM_FirstSetSetting_BuiltInClass_NoSource(benchmark::State& State)
{
	RunFirstSetSetting(State, R"({"class":"RendererSettings","property":"bEnableRayTracing","value":true,"dry_run":true})", false, true, false);
}
BENCHMARK(BM_FirstSetSetting_BuiltInClass_NoSource)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// orvex settings: every header is read once and parsed, only the settings classes are built.
static void BM_ListSettingsClasses_Warm(benchmark::State& State)
{
	OrvexBenchmark::RunInFreshHost(State, GetTree().Folders.MakeEnvironment(), [] { return UE::Host::CollectSettingsClasses().Num() > 0; });
}
BENCHMARK(BM_ListSettingsClasses_Warm)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
