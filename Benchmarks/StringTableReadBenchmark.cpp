// get_string_table and validate_string_table on a loaded 1,000,000-entry table, against a bare
// enumeration of every key and against copying and sorting every key, in the same program.
#include "ActionTestUtils.h"
#include "HostTestEnvironment.h"
#include "Internationalization/StringTable.h"
#include "OrvexAssetUtils.h"
#include "StringTableCorpus.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>

namespace OrvexLocalizationInternal
{
	// Defined in the module's localization actions.
	void CollectSmallestKeys(TSharedRef<const FStringTable> StringTable, const FString* Cursor, int32 Limit, TArray<FString>& Keys,
		int32& OutEntryCount, int32& OutAfterCursorCount);
	void CollectSmallestKeys(TSharedRef<const FStringTable> StringTable, const FString* Cursor, int32 Limit, TArray<FString>& Keys,
		TArray<FTextKey>* TextKeys, int32& OutEntryCount, int32& OutAfterCursorCount);
}

namespace
{
	constexpr int32 EntryCount = 1000000;

	struct FLoadedTable
	{
		FTempHostFolders Folders;
		std::unique_ptr<FScopedHost> Host;
		FStringTableConstPtr Table;
		std::string MiddleCursor;

		FLoadedTable()
		{
			const OrvexBenchmark::FStringTableCorpus& Corpus = OrvexBenchmark::GetStringTableCorpus(EntryCount);
			Folders.WriteProject("Content/Localization/ST_Big.csv", Corpus.Csv);
			UE::Host::SetAllLogVerbosity(ELogVerbosity::Warning);
			Host = std::make_unique<FScopedHost>(Folders.MakeEnvironment());
			UObject* Asset = FOrvexAssetUtils::LoadAssetByPath(UStringTable::StaticClass(), TEXT("/Game/Localization/ST_Big.ST_Big"));
			check(Asset);
			Table = static_cast<UStringTable*>(Asset)->GetStringTable();
			std::vector<std::u16string> Sorted;
			for (const FString& Key : Corpus.Keys)
			{
				Sorted.push_back(Key.GetStdString());
			}
			std::nth_element(Sorted.begin(), Sorted.begin() + Sorted.size() / 2, Sorted.end());
			MiddleCursor = UE::Host::StringToUtf8(FString(Sorted[Sorted.size() / 2]));
		}
	};

	FLoadedTable& GetLoadedTable()
	{
		static FLoadedTable Loaded;
		return Loaded;
	}

	std::string JsonString(const std::string& Text)
	{
		std::string Out = "\"";
		for (const char C : Text)
		{
			if (C == '"' || C == '\\')
			{
				Out += '\\';
				Out += C;
			}
			else if (static_cast<unsigned char>(C) < 0x20)
			{
				char Escape[8];
				std::snprintf(Escape, sizeof(Escape), "\\u%04x", C);
				Out += Escape;
			}
			else
			{
				Out += C;
			}
		}
		return Out + "\"";
	}

	const std::string FirstPageParams = R"({"asset_path":"/Game/Localization/ST_Big","entry_limit":200})";
	const std::string ValidateParams = R"({"asset_path":"/Game/Localization/ST_Big","scan_limit":10000})";

	std::string MiddlePageParams(const FLoadedTable& Loaded)
	{
		return R"({"asset_path":"/Game/Localization/ST_Big","entry_limit":200,"after_key":)" + JsonString(Loaded.MiddleCursor) + "}";
	}

	void CallLocalization(const TCHAR* Action, const std::string& Params)
	{
		const FOrvexActionResult Outcome = CallAction(TEXT("localization"), Action, Params);
		benchmark::DoNotOptimize(Outcome.Result);
	}

	// The yardstick: every key of the table, each converted to a string.
	void EnumerateAllKeys(const FLoadedTable& Loaded)
	{
		int64 Units = 0;
		Loaded.Table->EnumerateKeysAndSourceStrings([&Units](const FTextKey& Key, const FString& Source)
		{
			Units += Key.ToString().Len();
			return true;
		});
		benchmark::DoNotOptimize(Units);
	}
}

static void BM_BareKeyEnumeration(benchmark::State& State)
{
	FLoadedTable& Loaded = GetLoadedTable();
	for (auto _ : State)
	{
		EnumerateAllKeys(Loaded);
	}
}
BENCHMARK(BM_BareKeyEnumeration)->Unit(benchmark::kMillisecond);

static void BM_CopyAndSortAllKeys(benchmark::State& State)
{
	FLoadedTable& Loaded = GetLoadedTable();
	for (auto _ : State)
	{
		TArray<FString> Keys;
		Keys.Reserve(EntryCount);
		Loaded.Table->EnumerateKeysAndSourceStrings([&Keys](const FTextKey& Key, const FString& Source)
		{
			Keys.Add(Key.ToString());
			return true;
		});
		Keys.Sort(FStringOrdinalLess());
		benchmark::DoNotOptimize(Keys.GetData());
	}
}
BENCHMARK(BM_CopyAndSortAllKeys)->Unit(benchmark::kMillisecond);

static void BM_GetStringTableFirstPage(benchmark::State& State)
{
	GetLoadedTable();
	for (auto _ : State)
	{
		CallLocalization(TEXT("get_string_table"), FirstPageParams);
	}
}
BENCHMARK(BM_GetStringTableFirstPage)->Unit(benchmark::kMillisecond);

static void BM_GetStringTableMiddlePage(benchmark::State& State)
{
	const std::string Params = MiddlePageParams(GetLoadedTable());
	for (auto _ : State)
	{
		CallLocalization(TEXT("get_string_table"), Params);
	}
}
BENCHMARK(BM_GetStringTableMiddlePage)->Unit(benchmark::kMillisecond);

static void BM_ValidateScan10000(benchmark::State& State)
{
	GetLoadedTable();
	for (auto _ : State)
	{
		CallLocalization(TEXT("validate_string_table"), ValidateParams);
	}
}
BENCHMARK(BM_ValidateScan10000)->Unit(benchmark::kMillisecond);

// The three actions against the bare enumeration, interleaved within each iteration so that the
// machine's slower and faster spells fall on both sides alike; the counters are the time ratios.
static void BM_RatiosToBareEnumeration(benchmark::State& State)
{
	FLoadedTable& Loaded = GetLoadedTable();
	const std::string MiddleParams = MiddlePageParams(Loaded);
	using FClock = std::chrono::steady_clock;
	double Seconds[4] = {};
	for (auto _ : State)
	{
		FClock::time_point Times[5];
		Times[0] = FClock::now();
		EnumerateAllKeys(Loaded);
		Times[1] = FClock::now();
		CallLocalization(TEXT("get_string_table"), FirstPageParams);
		Times[2] = FClock::now();
		CallLocalization(TEXT("get_string_table"), MiddleParams);
		Times[3] = FClock::now();
		CallLocalization(TEXT("validate_string_table"), ValidateParams);
		Times[4] = FClock::now();
		for (int32 Index = 0; Index < 4; ++Index)
		{
			Seconds[Index] += std::chrono::duration<double>(Times[Index + 1] - Times[Index]).count();
		}
	}
	State.counters["first_page"] = Seconds[1] / Seconds[0];
	State.counters["middle_page"] = Seconds[2] / Seconds[0];
	State.counters["validate"] = Seconds[3] / Seconds[0];
}
BENCHMARK(BM_RatiosToBareEnumeration)->Unit(benchmark::kMillisecond);

// The parts of validation on their own: selecting the smallest keys, then looking the 10,000
// smallest up again, either through keys built anew from their texts (argument 0) or through the
// table's own keys collected with them (argument 1).
static void BM_SelectSmallestKeys(benchmark::State& State)
{
	FLoadedTable& Loaded = GetLoadedTable();
	for (auto _ : State)
	{
		TArray<FString> Keys;
		int32 Entries = 0;
		int32 AfterCursor = 0;
		OrvexLocalizationInternal::CollectSmallestKeys(Loaded.Table.ToSharedRef(), nullptr, static_cast<int32>(State.range(0)), Keys, Entries, AfterCursor);
		benchmark::DoNotOptimize(Keys.GetData());
	}
}
BENCHMARK(BM_SelectSmallestKeys)->Arg(201)->Arg(10000)->Unit(benchmark::kMillisecond);

static void BM_LookUp10000Keys(benchmark::State& State)
{
	FLoadedTable& Loaded = GetLoadedTable();
	TArray<FString> Keys;
	TArray<FTextKey> TextKeys;
	int32 Entries = 0;
	int32 AfterCursor = 0;
	OrvexLocalizationInternal::CollectSmallestKeys(Loaded.Table.ToSharedRef(), nullptr, 10000, Keys, &TextKeys, Entries, AfterCursor);
	const bool bTableKeys = State.range(0) != 0;
	for (auto _ : State)
	{
		int64 Units = 0;
		FString Source;
		for (int32 Index = 0; Index < Keys.Num(); ++Index)
		{
			Loaded.Table->GetSourceString(bTableKeys ? TextKeys[Index] : FTextKey(Keys[Index]), Source);
			Units += Source.Len();
		}
		benchmark::DoNotOptimize(Units);
	}
}
BENCHMARK(BM_LookUp10000Keys)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
