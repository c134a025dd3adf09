// list_string_tables over 20,000 StringTable files in nested folders (without and with details),
// and list_cultures over the whole catalogue.
#include "ActionTestUtils.h"
#include "HostTestEnvironment.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>

namespace
{
	struct FDiscoveryProject
	{
		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
		double StartupSeconds = 0.0;

		FDiscoveryProject()
		{
			for (int32 Group = 0; Group < 20; ++Group)
			{
				for (int32 Folder = 0; Folder < 10; ++Folder)
				{
					for (int32 File = 0; File < 100; ++File)
					{
						Folders.WriteProject("Content/Localization/G" + std::to_string(Group) + "/F" + std::to_string(Folder) + "/ST_" + std::to_string(File) + ".csv",
							"\"Key\",\"SourceString\",\"Comment\"\n\"Title\",\"Title text\",\"\"\n\"Body\",\"Body text\",\"A note\"\n");
					}
				}
			}
			UE::Host::SetAllLogVerbosity(ELogVerbosity::Warning);
			const auto Start = std::chrono::steady_clock::now();
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			StartupSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
		}
	};

	FDiscoveryProject& GetProject()
	{
		static FDiscoveryProject Project;
		return Project;
	}
}

static void BM_ListStringTables(benchmark::State& State)
{
	FDiscoveryProject& Project = GetProject();
	for (auto _ : State)
	{
		const FOrvexActionResult Outcome = CallAction(TEXT("localization"), TEXT("list_string_tables"), "{}");
		benchmark::DoNotOptimize(Outcome.Result);
	}
	State.counters["host_startup_s"] = Project.StartupSeconds;
}
BENCHMARK(BM_ListStringTables)->Unit(benchmark::kMillisecond);

static void BM_ListStringTablesWithDetails(benchmark::State& State)
{
	GetProject();
	for (auto _ : State)
	{
		const FOrvexActionResult Outcome = CallAction(TEXT("localization"), TEXT("list_string_tables"), R"({"include_details":true})");
		benchmark::DoNotOptimize(Outcome.Result);
	}
}
BENCHMARK(BM_ListStringTablesWithDetails)->Unit(benchmark::kMillisecond);

static void BM_ListAllCultures(benchmark::State& State)
{
	GetProject();
	for (auto _ : State)
	{
		int32 Total = 0;
		for (int32 Offset = 0; Offset == 0 || Offset < Total; Offset += 500)
		{
			const FOrvexActionResult Outcome = CallAction(TEXT("localization"), TEXT("list_cultures"), "{\"offset\":" + std::to_string(Offset) + ",\"limit\":500}");
			Total = static_cast<int32>(Outcome.Result->GetNumberField(TEXT("total")));
		}
		State.counters["cultures"] = Total;
	}
}
BENCHMARK(BM_ListAllCultures)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
