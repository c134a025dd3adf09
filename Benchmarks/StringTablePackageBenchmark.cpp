// StringTable packages: the start-up scan of a Content tree of 10,000 editor-saved packages in
// nested folders (1,000 StringTables, the rest textures, materials, meshes, sounds and blueprints),
// and loading plus paging a 3,000-entry table against reading its file into memory.
#include "ActionTestUtils.h"
#include "AssetRegistry/IAssetRegistry.h"
#include "Host/PackageFile.h"
#include "HostTestEnvironment.h"
#include "Internationalization/StringTable.h"
#include "Misc/FileHelper.h"
#include "PackageFixtures.h"
#include "UObject/Package.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <random>

namespace
{
	using namespace OrvexTestPackages;

	constexpr int32 NumPackages = 10000;
	constexpr int32 BigTableEntries = 3000;
	const char* const BigTablePath = "Localization/ST_Big.uasset";

	// A table shaped like a game's UI text: grouped keys, sentences of varied length, some text
	// beyond Latin-1, a comment on a third of the entries; stored in the map's unsorted order.
	FTableContent MakeTable(int32 NumEntries, uint32 Seed)
	{
		std::mt19937 Random(Seed);
		static const char16_t* const Words[] = {u"the", u"gate", u"opens", u"at", u"dawn", u"Collect", u"gold", u"coins", u"Épée", u"剣", u"quest",
			u"reward", u"Press", u"to", u"continue", u"village", u"north", u"before", u"night", u"falls"};
		FTableContent Table;
		Table.Namespace = u"Game";
		for (int32 Index = 0; Index < NumEntries; ++Index)
		{
			FTableEntry Entry;
			const std::string Key = "UI_Screen" + std::to_string(Index / 50) + "_Label" + std::to_string(Index);
			Entry.Key = std::u16string(Key.begin(), Key.end());
			const int32 NumWords = 3 + static_cast<int32>(Random() % 18);
			for (int32 Word = 0; Word < NumWords; ++Word)
			{
				Entry.Source += (Word ? u" " : u"") + std::u16string(Words[Random() % std::size(Words)]);
			}
			if (Index % 3 == 0)
			{
				Entry.MetaData.push_back({u"Comment", u"Shown on the pause screen; keep it short"});
			}
			Table.Entries.push_back(std::move(Entry));
		}
		std::shuffle(Table.Entries.begin(), Table.Entries.end(), Random);
		return Table;
	}

	struct FPackageProject
	{
		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
		double StartupSeconds = 0.0;

		FPackageProject()
		{
			static const char* const Classes[] = {"/Script/Engine.Texture2D", "/Script/Engine.Material", "/Script/Engine.StaticMesh", "/Script/Engine.SoundWave", "/Script/Engine.Blueprint"};
			static const EEditorVersion Versions[] = {EEditorVersion::UE5_4, EEditorVersion::UE5_5, EEditorVersion::UE5_7};
			for (int32 Index = 0; Index < NumPackages; ++Index)
			{
				const std::string Folder = "G" + std::to_string(Index / 1000) + "/F" + std::to_string(Index / 100 % 10) + "/";
				FPackageOptions Options;
				Options.Version = Versions[Index % 3];
				if (Index % 10 == 0)
				{
					const std::string Path = Folder + "ST_" + std::to_string(Index) + ".uasset";
					Options.PackageName = PackageNameFor(Path);
					Folders.WriteProject("Content/" + Path, WriteStringTablePackage(MakeTable(20, static_cast<uint32>(Index)), Options));
				}
				else
				{
					const std::string Path = Folder + "A_" + std::to_string(Index) + ".uasset";
					Options.PackageName = PackageNameFor(Path);
					Folders.WriteProject("Content/" + Path, WriteOtherAssetPackage(Classes[Index % 5], {{"NumLODs", "3"}, {"SourceFile", "D:/Art/Source/A_" + std::to_string(Index) + ".fbx"}}, Options));
				}
			}
			FPackageOptions Big;
			Big.PackageName = PackageNameFor(BigTablePath);
			Folders.WriteProject(std::string("Content/") + BigTablePath, WriteStringTablePackage(MakeTable(BigTableEntries, 7), Big));

			UE::Host::SetAllLogVerbosity(ELogVerbosity::Warning);
			const auto Start = std::chrono::steady_clock::now();
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			StartupSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - Start).count();
		}

		FString BigTableFile() const
		{
			return UE::Host::Utf8ToString((Folders.ProjectDir() / "Content" / BigTablePath).string());
		}
	};

	FPackageProject& GetProject()
	{
		static FPackageProject Project;
		return Project;
	}

	// Drops the loaded table, so that the next call loads it from its file again.
	void UnloadBigTable()
	{
		if (UPackage* Package = FindPackage(nullptr, TEXT("/Game/Localization/ST_Big")))
		{
			if (UObject* Table = StaticFindObject(nullptr, Package, TEXT("ST_Big")))
			{
				Table->MarkAsGarbage();
			}
			Package->MarkAsGarbage();
			CollectGarbage(RF_NoFlags);
		}
	}
}

static void BM_ScanContentTree(benchmark::State& State)
{
	FPackageProject& Project = GetProject();
	for (auto _ : State)
	{
		IAssetRegistry::GetChecked().ScanPathsSynchronous({TEXT("/Game")}, true);
	}
	const FOrvexActionResult Listed = CallAction(TEXT("localization"), TEXT("list_string_tables"), R"({"limit":1})");
	State.counters["string_tables"] = Listed.Result->GetNumberField(TEXT("total"));
	State.counters["packages"] = NumPackages + 1;
	State.counters["host_startup_s"] = Project.StartupSeconds;
	State.SetItemsProcessed(State.iterations() * (NumPackages + 1));
}
BENCHMARK(BM_ScanContentTree)->Unit(benchmark::kMillisecond);

static void BM_ReadTableFileIntoMemory(benchmark::State& State)
{
	const FString File = GetProject().BigTableFile();
	for (auto _ : State)
	{
		TArray<uint8> Bytes;
		FFileHelper::LoadFileToArray(Bytes, *File);
		benchmark::DoNotOptimize(Bytes.GetData());
		State.counters["file_KB"] = Bytes.Num() / 1024.0;
	}
}
BENCHMARK(BM_ReadTableFileIntoMemory)->Unit(benchmark::kMicrosecond);

static void BM_LoadAndPageTable(benchmark::State& State)
{
	GetProject();
	for (auto _ : State)
	{
		const FOrvexActionResult Outcome = CallAction(TEXT("localization"), TEXT("get_string_table"), R"({"asset_path":"/Game/Localization/ST_Big","entry_limit":200})");
		if (!Outcome.bSuccess)
		{
			State.SkipWithError("the table did not load");
			break;
		}
		State.PauseTiming();
		UnloadBigTable();
		State.ResumeTiming();
	}
}
BENCHMARK(BM_LoadAndPageTable)->Unit(benchmark::kMicrosecond);

// The two halves of the above: the package read alone, and a page of the table once loaded.
static void BM_LoadTableExport(benchmark::State& State)
{
	const FString File = GetProject().BigTableFile();
	for (auto _ : State)
	{
		FStringTableRef Table = FStringTable::NewStringTable();
		FString Error;
		if (!UE::Host::PackageFile::LoadStringTableFile(File, FStringView(), *Table, Error))
		{
			State.SkipWithError("the table did not load");
			break;
		}
	}
}
BENCHMARK(BM_LoadTableExport)->Unit(benchmark::kMicrosecond);

static void BM_PageLoadedTable(benchmark::State& State)
{
	GetProject();
	for (auto _ : State)
	{
		const FOrvexActionResult Outcome = CallAction(TEXT("localization"), TEXT("get_string_table"), R"({"asset_path":"/Game/Localization/ST_Big","entry_limit":200})");
		benchmark::DoNotOptimize(Outcome.Result);
	}
}
BENCHMARK(BM_PageLoadedTable)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
