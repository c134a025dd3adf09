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
}

static void BM_BareKeyEnumeration(benchmark::State& State)
{
	FLoadedTable& Loaded = GetLoadedTable();
	for (auto _ : State)
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
		const FOrvexActionResult Outcome = CallAction(TEXT("localization"), TEXT("get_string_table"), R"({"asset_path":"/Game/Localization/ST_Big","entry_limit":200})");
		benchmark::DoNotOptimize(Outcome.Result);
	}
}
BENCHMARK(BM_GetStringTableFirstPage)->Unit(benchmark::kMillisecond);

static void BM_GetStringTableMiddlePage(benchmark::State& State)
{
	FLoadedTable& Loaded = GetLoadedTable();
	const std::string Params = R"({"asset_path":"/Game/Localization/ST_Big","entry_limit":200,"after_key":)" + JsonString(Loaded.MiddleCursor) + "}";
	for (auto _ : State)
	{
		const FOrvexActionResult Outcome = CallAction(TEXT("localization"), TEXT("get_string_table"), Params);
		benchmark::DoNotOptimize(Outcome.Result);
	}
}
BENCHMARK(BM_GetStringTableMiddlePage)->Unit(benchmark::kMillisecond);

static void BM_ValidateScan10000(benchmark::State& State)
{
	GetLoadedTable();
	for (auto _ : State)
	{
		const FOrvexActionResult Outcome = CallAction(TEXT("localization"), TEXT("validate_string_table"), R"({"asset_path":"/Game/Localization/ST_Big","scan_limit":10000})");
		benchmark::DoNotOptimize(Outcome.Result);
	}
}
BENCHMARK(BM_ValidateScan10000)->Unit(benchmark::kMillisecond);

// The three actions against the bare enumeration, interleaved within each iteration so that the
// machine's slower and faster spells fall on both sides alike; the counters are the time ratios.
static void BM_RatiosToBareEnumeration(benchmark::State& State)
{
	FLoadedTable& Loaded = GetLoadedTable();
	const std::string MiddleParams = R"({"asset_path":"/Game/Localization/ST_Big","entry_limit":200,"after_key":)" + JsonString(Loaded.MiddleCursor) + "}";
	using FClock = std::chrono::steady_clock;
	double Bare = 0.0;
	double FirstPage = 0.0;
	double MiddlePage = 0.0;
	double Validate = 0.0;
	for (auto _ : State)
	{
		const FClock::time_point Start = FClock::now();
		int64 Units = 0;
		Loaded.Table->EnumerateKeysAndSourceStrings([&Units](const FTextKey& Key, const FString& Source)
		{
			Units += Key.ToString().Len();
			return true;
		});
		benchmark::DoNotOptimize(Units);
		const FClock::time_point AfterBare = FClock::now();
		benchmark::DoNotOptimize(CallAction(TEXT("localization"), TEXT("get_string_table"), R"({"asset_path":"/Game/Localization/ST_Big","entry_limit":200})").Result);
		const FClock::time_point AfterFirst = FClock::now();
		benchmark::DoNotOptimize(CallAction(TEXT("localization"), TEXT("get_string_table"), MiddleParams).Result);
		const FClock::time_point AfterMiddle = FClock::now();
		benchmark::DoNotOptimize(CallAction(TEXT("localization"), TEXT("validate_string_table"), R"({"asset_path":"/Game/Localization/ST_Big","scan_limit":10000})").Result);
		const FClock::time_point AfterValidate = FClock::now();
		Bare += std::chrono::duration<double>(AfterBare - Start).count();
		FirstPage += std::chrono::duration<double>(AfterFirst - AfterBare).count();
		MiddlePage += std::chrono::duration<double>(AfterMiddle - AfterFirst).count();
		Validate += std::chrono::duration<double>(AfterValidate - AfterMiddle).count();
	}
	State.counters["first_page"] = FirstPage / Bare;
	State.counters["middle_page"] = MiddlePage / Bare;
	State.counters["validate"] = Validate / Bare;
}
BENCHMARK(BM_RatiosToBareEnumeration)->Unit(benchmark::kMillisecond);

// The parts of validation on their own: selecting the smallest keys, then looking the 10,000
// smallest up again, either through keys built anew from their texts or through the table's own
// keys collected with them.
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

static void BM_LookUp10000KeysFromText(benchmark::State& State)
{
	FLoadedTable& Loaded = GetLoadedTable();
	TArray<FString> Keys;
	TArray<FTextKey> TextKeys;
	int32 Entries = 0;
	int32 AfterCursor = 0;
	OrvexLocalizationInternal::CollectSmallestKeys(Loaded.Table.ToSharedRef(), nullptr, 10000, Keys, &TextKeys, Entries, AfterCursor);
	for (auto _ : State)
	{
		int64 Units = 0;
		FString Source;
		for (const FString& Key : Keys)
		{
			Loaded.Table->GetSourceString(FTextKey(Key), Source);
			Units += Source.Len();
		}
		benchmark::DoNotOptimize(Units);
	}
}
BENCHMARK(BM_LookUp10000KeysFromText)->Unit(benchmark::kMillisecond);

static void BM_LookUp10000TableKeys(benchmark::State& State)
{
	FLoadedTable& Loaded = GetLoadedTable();
	TArray<FString> Keys;
	TArray<FTextKey> TextKeys;
	int32 Entries = 0;
	int32 AfterCursor = 0;
	OrvexLocalizationInternal::CollectSmallestKeys(Loaded.Table.ToSharedRef(), nullptr, 10000, Keys, &TextKeys, Entries, AfterCursor);
	for (auto _ : State)
	{
		int64 Units = 0;
		FString Source;
		for (const FTextKey& Key : TextKeys)
		{
			Loaded.Table->GetSourceString(Key, Source);
			Units += Source.Len();
		}
		benchmark::DoNotOptimize(Units);
	}
}
BENCHMARK(BM_LookUp10000TableKeys)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
