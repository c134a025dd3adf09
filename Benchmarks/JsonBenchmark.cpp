// JSON text to and from the object model at the sizes the stdio server sees: many small
// messages, and now and then a large result.
#include "Dom/JsonObject.h"
#include "Host/JsonText.h"
#include "Policies/CondensedJsonPrintPolicy.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonSerializer.h"

#include <benchmark/benchmark.h>

#include <string>

namespace
{
	const std::string SmallRequest =
		"{\"jsonrpc\":\"2.0\",\"id\":17,\"method\":\"localization.get_string_table\","
		"\"params\":{\"asset_path\":\"/Game/Localization/ST_Menus.ST_Menus\",\"entry_limit\":50,\"cursor\":\"menu.options\"}}";

	std::string LargeResult()
	{
		std::string Text = "{\"entries\":[";
		for (int32 Index = 0; Index < 2000; ++Index)
		{
			Text += Index ? "," : "";
			Text += "{\"key\":\"menu.item." + std::to_string(Index) + "\",\"source_string\":\"Texte num\xC3\xA9ro " + std::to_string(Index) +
				"\",\"source_string_length\":" + std::to_string(15 + Index % 7) + ",\"metadata\":{}}";
		}
		return Text + "],\"complete\":true}";
	}

	void ParseSmallUtf8(benchmark::State& State)
	{
		for (auto _ : State)
		{
			TSharedPtr<FJsonValue> Value;
			FString Error;
			benchmark::DoNotOptimize(UE::Host::Json::ParseUtf8(SmallRequest, Value, Error));
		}
		State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * SmallRequest.size()));
	}

	// What the server does with each line: parse with the source facts, then walk the params for
	// what strict reading refuses. Against ParseSmallUtf8 / RoundTripLargeUtf8 it is the price of
	// the strictness.
	void ParseSmallUtf8Strict(benchmark::State& State)
	{
		for (auto _ : State)
		{
			TSharedPtr<FJsonValue> Value;
			UE::Host::Json::FJsonSourceFacts Facts;
			FString Error;
			benchmark::DoNotOptimize(UE::Host::Json::ParseUtf8(SmallRequest, Value, Facts, Error));
			benchmark::DoNotOptimize(UE::Host::Json::FindStrictProblem(Value, &Facts, FString()).Kind);
		}
		State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * SmallRequest.size()));
	}

	void ParseLargeUtf8Strict(benchmark::State& State)
	{
		const std::string Text = LargeResult();
		for (auto _ : State)
		{
			TSharedPtr<FJsonValue> Value;
			UE::Host::Json::FJsonSourceFacts Facts;
			FString Error;
			benchmark::DoNotOptimize(UE::Host::Json::ParseUtf8(Text, Value, Facts, Error));
			benchmark::DoNotOptimize(UE::Host::Json::FindStrictProblem(Value, &Facts, FString()).Kind);
		}
		State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Text.size()));
	}

	void ParseLargeUtf8(benchmark::State& State)
	{
		const std::string Text = LargeResult();
		for (auto _ : State)
		{
			TSharedPtr<FJsonValue> Value;
			FString Error;
			benchmark::DoNotOptimize(UE::Host::Json::ParseUtf8(Text, Value, Error));
		}
		State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Text.size()));
	}

	void WriteSmallUtf8(benchmark::State& State)
	{
		TSharedPtr<FJsonValue> Value;
		FString Error;
		UE::Host::Json::ParseUtf8(SmallRequest, Value, Error);
		std::string Buffer;
		for (auto _ : State)
		{
			Buffer.clear();
			UE::Host::Json::AppendUtf8(Buffer, Value.Get());
			benchmark::DoNotOptimize(Buffer.data());
		}
	}

	void RoundTripLargeUtf8(benchmark::State& State)
	{
		const std::string Text = LargeResult();
		for (auto _ : State)
		{
			TSharedPtr<FJsonValue> Value;
			FString Error;
			UE::Host::Json::ParseUtf8(Text, Value, Error);
			benchmark::DoNotOptimize(UE::Host::Json::ToUtf8(Value));
		}
		State.SetBytesProcessed(static_cast<int64_t>(State.iterations() * Text.size()));
	}

	void RoundTripSmallFString(benchmark::State& State)
	{
		const FString Text = UE::Host::Utf8ToString(SmallRequest);
		for (auto _ : State)
		{
			TSharedPtr<FJsonObject> Object;
			FJsonSerializer::Deserialize(TJsonReaderFactory<>::Create(Text), Object);
			FString Out;
			FJsonSerializer::Serialize(Object.ToSharedRef(), TJsonWriterFactory<TCHAR, TCondensedJsonPrintPolicy<TCHAR>>::Create(&Out));
			benchmark::DoNotOptimize(Out.Len());
		}
	}
}

BENCHMARK(ParseSmallUtf8);
BENCHMARK(ParseSmallUtf8Strict);
BENCHMARK(ParseLargeUtf8);
BENCHMARK(ParseLargeUtf8Strict);
BENCHMARK(WriteSmallUtf8);
BENCHMARK(RoundTripLargeUtf8);
BENCHMARK(RoundTripSmallFString);

BENCHMARK_MAIN();
