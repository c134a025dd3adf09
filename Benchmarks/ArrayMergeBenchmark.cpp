// Merging one very long struct array and a layer that removes half of it element by element and
// adds replacements, as a project trims a shipped list. Each '-' packs the section, so the time
// per line must stay flat as the array grows: compare the per-element figure across the sizes.
#include "CoreMinimal.h"
#include "Misc/ConfigCacheIni.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{
	std::string Element(int64 Index)
	{
		return "(Name=\"Item" + std::to_string(Index) + "\",Path=\"/Game/Data/Item" + std::to_string(Index) + "\",Weight=1.000000)";
	}
}

static void BM_MergeLongArrayWithRemovals(benchmark::State& State)
{
	const int64 Count = State.range(0);
	std::string Base = "[/Script/Engine.AssetManagerSettings]\n";
	std::string Project = "[/Script/Engine.AssetManagerSettings]\n";
	for (int64 Index = 0; Index < Count; ++Index)
	{
		Base += "+PrimaryAssetTypesToScan=" + Element(Index) + "\n";
		if (Index % 2 == 0)
		{
			Project += "-PrimaryAssetTypesToScan=" + Element(Index) + "\n";
			Project += "+PrimaryAssetTypesToScan=" + Element(Count + Index) + "\n";
		}
	}
	const FString BaseText = UE::Host::Utf8ToString(Base);
	const FString ProjectText = UE::Host::Utf8ToString(Project);
	for (auto _ : State)
	{
		FConfigFile File;
		File.CombineFromBuffer(BaseText, FString());
		File.CombineFromBuffer(ProjectText, FString());
		benchmark::DoNotOptimize(File.FindSection(TEXT("/Script/Engine.AssetManagerSettings")));
	}
	State.SetItemsProcessed(State.iterations() * Count);
}
BENCHMARK(BM_MergeLongArrayWithRemovals)->Arg(2000)->Arg(16000)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
