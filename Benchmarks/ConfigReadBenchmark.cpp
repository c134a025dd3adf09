// config.search_config and config.diff_from_default over a generated config tree of realistic
// size (80 base files, about 2 MB), against a baseline that only reads the same files.
#include "ActionTestUtils.h"
#include "HostTestEnvironment.h"
#include "Misc/FileHelper.h"
#include "OrvexToolRegistry.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <random>

namespace
{
	constexpr int32 BaseFileCount = 80;
	constexpr size_t BytesPerFile = 2 * 1024 * 1024 / BaseFileCount;

	struct FConfigTree
	{
		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
		TArray<FString> Files;

		FConfigTree()
		{
			std::mt19937 Random(7);
			for (int32 FileIndex = 0; FileIndex < BaseFileCount; ++FileIndex)
			{
				const std::string Category = FileIndex == 0 ? "Engine" : "Category" + std::to_string(FileIndex);
				std::string Text = "; generated base file\n";
				int32 Section = 0;
				while (Text.size() < BytesPerFile)
				{
					Text += "\n[/Script/Module" + std::to_string(FileIndex) + ".Settings" + std::to_string(Section++) + "]\n";
					for (int32 Key = 0; Key < 40; ++Key)
					{
						Text += (Key % 7 == 0 ? "+Paths=" : "r.Setting." + std::to_string(Key) + "=") + std::to_string(Random() % 100000) + "\n";
					}
				}
				Folders.WriteEngine("Config/Base" + Category + ".ini", Text);
				Files.Add(UE::Host::Utf8ToString((Folders.EngineDir() / "Config" / ("Base" + Category + ".ini")).string()));
			}
			std::string Project = "[/Script/Module0.Settings3]\nr.Setting.5=changed\nr.Extra=1\n";
			Folders.WriteProject("Config/DefaultEngine.ini", Project);
			Files.Add(UE::Host::Utf8ToString((Folders.ProjectDir() / "Config" / "DefaultEngine.ini").string()));
			UE::Host::SetAllLogVerbosity(ELogVerbosity::Warning);
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
		}
	};

	FConfigTree& GetTree()
	{
		static FConfigTree Tree;
		return Tree;
	}
}

static void BM_ReadAllFilesBaseline(benchmark::State& State)
{
	FConfigTree& Tree = GetTree();
	int64 Bytes = 0;
	for (auto _ : State)
	{
		for (const FString& File : Tree.Files)
		{
			FString Text;
			FFileHelper::LoadFileToString(Text, *File);
			Bytes += Text.Len();
			benchmark::DoNotOptimize(Text);
		}
	}
	State.SetBytesProcessed(Bytes);
}
BENCHMARK(BM_ReadAllFilesBaseline)->Unit(benchmark::kMillisecond);

static void BM_SearchConfig(benchmark::State& State)
{
	GetTree();
	for (auto _ : State)
	{
		// A query that matches nothing scans every line of every file.
		const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("search_config"), R"({"query":"NoSuchSettingAnywhere"})");
		benchmark::DoNotOptimize(Outcome.Result);
	}
}
BENCHMARK(BM_SearchConfig)->Unit(benchmark::kMillisecond);

static void BM_DiffFromDefault(benchmark::State& State)
{
	GetTree();
	for (auto _ : State)
	{
		const FOrvexActionResult Outcome = CallAction(TEXT("config"), TEXT("diff_from_default"), R"({"file":"Engine"})");
		benchmark::DoNotOptimize(Outcome.Result);
	}
}
BENCHMARK(BM_DiffFromDefault)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
