#include "OrvexLocalizationActions.h"

#include "AssetRegistry/ARFilter.h"
#include "AssetRegistry/AssetData.h"
#include "AssetRegistry/IAssetRegistry.h"
#include "Dom/JsonValue.h"
#include "Internationalization/Culture.h"
#include "Internationalization/Internationalization.h"
#include "Internationalization/StringTable.h"
#include "Internationalization/StringTableCore.h"
#include "Internationalization/TextKey.h"
#include "Misc/PackageName.h"
#include "OrvexAssetUtils.h"
#include "OrvexPackagePath.h"
#include "OrvexParamSchema.h"
#include "OrvexToolRegistry.h"
#include "UObject/Class.h"
#include "UObject/Package.h"

#include <algorithm>
#include <cmath>
#include <string_view>

namespace OrvexLocalizationInternal
{
	constexpr int32 MaxCultureNames = 256;
	constexpr int32 MaxCursorLength = 4096;

	FOrvexActionResult BadParam(const TCHAR* Name, const FString& Message)
	{
		return FOrvexActionResult::Error(FString::Printf(TEXT("Invalid parameter '%s': %s"), Name, *Message), -32602);
	}

	// Reads typed parameters and keeps the first failure as a ready-made error result; every read
	// after a failure answers with its default.
	struct FParamReader
	{
		TSharedPtr<FJsonObject> Params;
		FOrvexActionResult Error;
		bool bOk = true;

		explicit FParamReader(const TSharedPtr<FJsonObject>& InParams)
			: Params(InParams)
		{
		}

		void Fail(const TCHAR* Name, const FString& Message)
		{
			if (bOk)
			{
				bOk = false;
				Error = BadParam(Name, Message);
			}
		}

		FString Str(const TCHAR* Name, const FString& Default)
		{
			const TSharedPtr<FJsonValue> Value = Lookup(Name);
			if (!Value.IsValid())
			{
				return Default;
			}
			if (Value->Type != EJson::String)
			{
				Fail(Name, TEXT("expected a string"));
				return Default;
			}
			return Value->AsString();
		}

		FString RequiredStr(const TCHAR* Name)
		{
			if (bOk && (!Params.IsValid() || !Params->HasField(Name)))
			{
				Fail(Name, TEXT("field is required"));
				return FString();
			}
			const FString Value = Str(Name, FString());
			if (!bOk || Value.IsEmpty())
			{
				Fail(Name, TEXT("expected a non-empty string"));
			}
			return Value;
		}

		TArray<FString> StrArray(const TCHAR* Name, int32 MaxCount)
		{
			TArray<FString> Result;
			const TSharedPtr<FJsonValue> Value = Lookup(Name);
			if (!Value.IsValid())
			{
				return Result;
			}
			if (Value->Type != EJson::Array || Value->AsArray().Num() == 0)
			{
				Fail(Name, TEXT("expected a non-empty string array"));
				return Result;
			}
			const TArray<TSharedPtr<FJsonValue>>& Elements = Value->AsArray();
			if (Elements.Num() > MaxCount)
			{
				Fail(Name, FString::Printf(TEXT("at most %d values are accepted"), MaxCount));
				return Result;
			}
			Result.Reserve(Elements.Num());
			for (int32 Index = 0; Index < Elements.Num(); ++Index)
			{
				const TSharedPtr<FJsonValue>& Element = Elements[Index];
				if (!Element.IsValid() || Element->Type != EJson::String || Element->AsString().IsEmpty())
				{
					Fail(Name, FString::Printf(TEXT("element %d must be a non-empty string"), Index));
					Result.Empty();
					return Result;
				}
				Result.Add(Element->AsString());
			}
			return Result;
		}

		bool Flag(const TCHAR* Name, bool bDefault)
		{
			const TSharedPtr<FJsonValue> Value = Lookup(Name);
			if (!Value.IsValid())
			{
				return bDefault;
			}
			if (Value->Type != EJson::Boolean)
			{
				Fail(Name, TEXT("expected a boolean"));
				return bDefault;
			}
			return Value->AsBool();
		}

		int32 Int(const TCHAR* Name, int32 Default, int32 Min, int32 Max)
		{
			const TSharedPtr<FJsonValue> Value = Lookup(Name);
			if (!Value.IsValid())
			{
				return Default;
			}
			if (Value->Type != EJson::Number)
			{
				Fail(Name, TEXT("expected an integer JSON number"));
				return Default;
			}
			const double Number = Value->AsNumber();
			if (std::isfinite(Number) && Number == std::trunc(Number) && Number >= static_cast<double>(Min) && Number <= static_cast<double>(Max))
			{
				return static_cast<int32>(Number);
			}
			Fail(Name, FString::Printf(TEXT("expected an integer in the range %d..%d"), Min, Max));
			return Default;
		}

	private:
		// Null when an earlier read failed, there is no parameter object, or the field is absent.
		// A JSON null is a present value.
		TSharedPtr<FJsonValue> Lookup(const TCHAR* Name) const
		{
			if (!bOk || !Params.IsValid() || !Params->HasField(Name))
			{
				return nullptr;
			}
			return Params->TryGetField(Name);
		}
	};

	void SetPage(const TSharedPtr<FJsonObject>& Result, int32 Total, int32 Offset, int32 Limit, int32 Count)
	{
		Result->SetNumberField(TEXT("total"), Total);
		Result->SetNumberField(TEXT("offset"), Offset);
		Result->SetNumberField(TEXT("limit"), Limit);
		Result->SetNumberField(TEXT("count"), Count);
		Result->SetBoolField(TEXT("has_more"), static_cast<int64>(Offset) + Count < Total);
	}

	// The [start, end) window of a page over Total items; the sum is formed in 64 bits.
	void PageWindow(int32 Total, int32 Offset, int32 Limit, int32& OutStart, int32& OutEnd)
	{
		OutStart = FMath::Min(Offset, Total);
		OutEnd = static_cast<int32>(FMath::Min<int64>(Total, static_cast<int64>(Offset) + Limit));
	}

	UStringTable* LoadStringTable(const FString& Path, const TCHAR* ParamName, FString& OutObjectPath, FOrvexActionResult& OutError)
	{
		FString PackagePath;
		const FString Message = OrvexCore::ValidatePackagePath(Path, PackagePath);
		if (!Message.IsEmpty())
		{
			OutError = BadParam(ParamName, Message);
			return nullptr;
		}
		const FString AssetName = FPackageName::GetLongPackageAssetName(PackagePath);
		if (AssetName.IsEmpty())
		{
			OutError = BadParam(ParamName, TEXT("path has no asset name"));
			return nullptr;
		}
		OutObjectPath = PackagePath + TEXT(".") + AssetName;
		UObject* Object = FOrvexAssetUtils::LoadAssetByPath(UObject::StaticClass(), OutObjectPath);
		if (!Object)
		{
			OutError = FOrvexActionResult::Error(FString::Printf(TEXT("StringTable not found: %s"), *OutObjectPath), -32603);
			return nullptr;
		}
		if (!Object->GetClass()->IsChildOf(UStringTable::StaticClass()))
		{
			OutError = FOrvexActionResult::Error(FString::Printf(TEXT("Asset '%s' is a %s, not a StringTable"), *OutObjectPath, *Object->GetClass()->GetName()), -32603);
			return nullptr;
		}
		return static_cast<UStringTable*>(Object);
	}

	void AddTableIdentity(const TSharedPtr<FJsonObject>& Result, const UStringTable* Table)
	{
		FStringTableConstRef TableData = Table->GetStringTable();
		Result->SetStringField(TEXT("asset_path"), Table->GetPathName());
		Result->SetStringField(TEXT("package_path"), Table->GetOutermost()->GetName());
		Result->SetStringField(TEXT("name"), Table->GetName());
		Result->SetStringField(TEXT("table_id"), Table->GetStringTableId().ToString());
		Result->SetStringField(TEXT("namespace"), TableData->GetNamespace());
		Result->SetBoolField(TEXT("is_internal"), TableData->IsInternal());
	}

	int32 CountEntries(TSharedRef<const FStringTable> StringTable)
	{
		int32 Count = 0;
		StringTable->EnumerateKeysAndSourceStrings([&Count](const FTextKey& Key, const FString& SourceString)
		{
			++Count;
			return true;
		});
		return Count;
	}

	// Key order: UTF-16 code units by value, case-sensitive, a prefix first.
	inline bool KeyLess(const FString& A, const FString& B)
	{
		// Most keys differ in their first unit; decide those without the general compare.
		if (A.Len() > 0 && B.Len() > 0 && (*A)[0] != (*B)[0])
		{
			return static_cast<uint32>((*A)[0]) < static_cast<uint32>((*B)[0]);
		}
		return std::basic_string_view<TCHAR>(*A, A.Len()) < std::basic_string_view<TCHAR>(*B, B.Len());
	}

	// Key order as a function object, so the sorting algorithms inline the comparison.
	struct FKeyLess
	{
		bool operator()(const FString& A, const FString& B) const { return KeyLess(A, B); }
	};

	// Sorts the Limit smallest elements into the front of the buffer and drops the rest. Only the
	// kept part is put in order; the sort works in place and the storage is not given back.
	template<typename ElementType, typename LessType>
	void TrimToSmallest(TArray<ElementType>& Buffer, int32 Limit, LessType Less)
	{
		if (Buffer.Num() >= 2)
		{
			ElementType* const First = Buffer.GetData();
			ElementType* const Last = First + Buffer.Num();
			ElementType* const Kept = First + FMath::Clamp(Limit, 0, Buffer.Num());
			if (Kept < Last)
			{
				std::nth_element(First, Kept, Last, Less);
			}
			std::sort(First, Kept, Less);
		}
		if (Buffer.Num() > Limit)
		{
			Buffer.SetNum(FMath::Max(Limit, 0), EAllowShrinking::No);
		}
	}

	void TrimToSmallestKeys(TArray<FString>& Keys, int32 Limit)
	{
		TrimToSmallest(Keys, Limit, FKeyLess());
	}

	using FKeyText = std::basic_string_view<TCHAR>;

	// Four code units of a key from Start on, packed first-unit-highest and padded with zeros. Keys
	// whose packed units differ are ordered by them (a padding zero only ever meets a longer key that
	// the shorter one is a prefix of), so most comparisons never read the text.
	uint64 PackKeyUnits(FKeyText Text, size_t Start)
	{
		uint64 Packed = 0;
		for (size_t Index = Start; Index < Start + 4; ++Index)
		{
			Packed = (Packed << 16) | (Index < Text.size() ? static_cast<uint16>(Text[Index]) : 0u);
		}
		return Packed;
	}

	FKeyText ViewOf(const FString& Text)
	{
		return FKeyText(*Text, static_cast<size_t>(Text.Len()));
	}

	// Whether key A comes before key B, given their first four units packed.
	bool PackedKeyLess(uint64 PrefixA, FKeyText A, uint64 PrefixB, FKeyText B)
	{
		return PrefixA != PrefixB ? PrefixA < PrefixB : A < B;
	}

	// A key kept while collecting: its first eight units packed, the table's own key and where the
	// enumeration met it. It holds no text, so keeping and reordering keys moves a few bytes each;
	// the text is read again from the key only when two keys agree in their first eight units.
	struct FCollectedKey
	{
		uint64 High = 0;
		uint64 Low = 0;
		FTextKey Key;
		int32 Position = 0;
	};

	// Key order over collected keys.
	struct FCollectedKeyLess
	{
		// Where the texts of two keys that agree in their packed units are read into.
		FString* TextA;
		FString* TextB;

		bool operator()(const FCollectedKey& A, const FCollectedKey& B) const
		{
			if (A.High != B.High)
			{
				return A.High < B.High;
			}
			if (A.Low != B.Low)
			{
				return A.Low < B.Low;
			}
			A.Key.ToString(*TextA);
			B.Key.ToString(*TextB);
			return ViewOf(*TextA) < ViewOf(*TextB);
		}
	};

	// Selects the Limit smallest keys after the cursor into Collected, in no particular order; the
	// buffer never holds more than 2 x max(1, Limit) keys, whatever the table's size.
	void SelectSmallestKeys(TSharedRef<const FStringTable> StringTable, const FString* Cursor, int32 Limit, TArray<FCollectedKey>& Collected,
		int32& OutEntryCount, int32& OutAfterCursorCount)
	{
		Collected.Reset();
		OutEntryCount = 0;
		OutAfterCursorCount = 0;
		const int32 Threshold = 2 * FMath::Max(1, Limit);
		Collected.Reserve(Threshold);
		FString TieTextA;
		FString TieTextB;
		const FCollectedKeyLess Less{&TieTextA, &TieTextB};
		// Each key is converted here; most go no further, and the storage serves the next.
		FString Text;
		const FKeyText CursorText = Cursor ? ViewOf(*Cursor) : FKeyText();
		const uint64 CursorPrefix = PackKeyUnits(CursorText, 0);
		// Once the buffer has been trimmed to Limit keys, a key above the largest kept one can never
		// enter the result, so it is counted but not kept.
		bool bHasCeiling = false;
		uint64 CeilingPrefix = 0;
		FString CeilingText;
		// Only the kept part needs order: the nth key lands at Limit - 1 with every smaller one before
		// it, so it is the largest kept key.
		auto KeepSmallest = [&Collected, &Less, Limit]()
		{
			FCollectedKey* const First = Collected.GetData();
			std::nth_element(First, First + Limit - 1, First + Collected.Num(), Less);
			Collected.SetNum(Limit, EAllowShrinking::No);
		};

		StringTable->EnumerateKeysAndSourceStrings([&](const FTextKey& Key, const FString& SourceString)
		{
			const int32 Position = OutEntryCount++;
			if (Limit < 1)
			{
				return true;
			}
			Key.ToString(Text);
			const FKeyText View = ViewOf(Text);
			const uint64 Prefix = PackKeyUnits(View, 0);
			if (Cursor && !PackedKeyLess(CursorPrefix, CursorText, Prefix, View))
			{
				return true;
			}
			++OutAfterCursorCount;
			if (bHasCeiling && PackedKeyLess(CeilingPrefix, ViewOf(CeilingText), Prefix, View))
			{
				return true;
			}
			Collected.Add(FCollectedKey{Prefix, PackKeyUnits(View, 4), Key, Position});
			check(Collected.Num() <= Threshold);
			if (Collected.Num() >= Threshold)
			{
				KeepSmallest();
				CeilingPrefix = Collected[Limit - 1].High;
				Collected[Limit - 1].Key.ToString(CeilingText);
				bHasCeiling = true;
			}
			return true;
		});
		if (Collected.Num() > Limit)
		{
			KeepSmallest();
		}
	}

	// Fills Keys with the Limit smallest keys after the cursor, ascending, and, when asked, TextKeys
	// with the table's own key for each of them, in the same order; the buffer never holds more than
	// 2 x max(1, Limit) keys, whatever the table's size.
	void CollectSmallestKeys(TSharedRef<const FStringTable> StringTable, const FString* Cursor, int32 Limit, TArray<FString>& Keys,
		TArray<FTextKey>* TextKeys, int32& OutEntryCount, int32& OutAfterCursorCount)
	{
		TArray<FCollectedKey> Collected;
		SelectSmallestKeys(StringTable, Cursor, Limit, Collected, OutEntryCount, OutAfterCursorCount);
		FString TieTextA;
		FString TieTextB;
		TrimToSmallest(Collected, Limit, FCollectedKeyLess{&TieTextA, &TieTextB});
		Keys.Reset();
		Keys.Reserve(Collected.Num());
		if (TextKeys)
		{
			TextKeys->Reset();
			TextKeys->Reserve(Collected.Num());
		}
		for (const FCollectedKey& Collect : Collected)
		{
			Keys.Add(Collect.Key.ToString());
			if (TextKeys)
			{
				TextKeys->Add(Collect.Key);
			}
		}
	}

	void CollectSmallestKeys(TSharedRef<const FStringTable> StringTable, const FString* Cursor, int32 Limit, TArray<FString>& Keys,
		int32& OutEntryCount, int32& OutAfterCursorCount)
	{
		CollectSmallestKeys(StringTable, Cursor, Limit, Keys, nullptr, OutEntryCount, OutAfterCursorCount);
	}

	// One text value under a limit: the first min(limit, length) code units, and the full length.
	struct FBoundedText
	{
		FString Text;
		int32 Length = 0;

		FBoundedText() = default;
		FBoundedText(const FString& Value, int32 Limit)
			: Text(Value.Len() > Limit ? Value.Left(Limit) : Value)
			, Length(Value.Len())
		{
		}
	};

	void SetBoundedText(const TSharedPtr<FJsonObject>& Object, const FString& FieldName, const FBoundedText& Value)
	{
		Object->SetStringField(FieldName, Value.Text);
		Object->SetNumberField(FieldName + TEXT("_length"), Value.Length);
		Object->SetBoolField(FieldName + TEXT("_truncated"), Value.Text.Len() < Value.Length);
	}

	struct FMetadataRow
	{
		FString Name;
		FBoundedText Value;
	};

	void TrimToSmallestMetadata(TArray<FMetadataRow>& Rows, int32 Limit)
	{
		if (Rows.Num() >= 2)
		{
			Rows.Sort([](const FMetadataRow& A, const FMetadataRow& B) { return KeyLess(A.Name, B.Name); });
		}
		if (Rows.Num() > Limit)
		{
			Rows.SetNum(FMath::Max(Limit, 0), EAllowShrinking::No);
		}
	}

	void CollectMetadata(TSharedRef<const FStringTable> StringTable, const FString& Key, int32 Limit, int32 TextLimit,
		TArray<FMetadataRow>& Rows, int32& OutRowCount)
	{
		Rows.Reset();
		OutRowCount = 0;
		const int32 Threshold = 2 * FMath::Max(1, Limit);
		StringTable->EnumerateMetaData(FTextKey(Key), [&](FName Id, const FString& Value)
		{
			++OutRowCount;
			if (Limit < 1)
			{
				return true;
			}
			Rows.Add(FMetadataRow{Id.ToString(), FBoundedText(Value, TextLimit)});
			if (Rows.Num() >= Threshold)
			{
				TrimToSmallestMetadata(Rows, Limit);
			}
			return true;
		});
		TrimToSmallestMetadata(Rows, Limit);
	}

	struct FValidationIssue
	{
		FString Code;
		FString Message;
		FString Key;
		bool bError = false;
	};

	void AddIssue(TArray<FValidationIssue>& Issues, const TCHAR* Code, bool bError, const FString& Message, const FString& Key)
	{
		Issues.Add(FValidationIssue{FString(Code), Message, Key, bError});
	}

	bool IssueLess(const FValidationIssue& A, const FValidationIssue& B)
	{
		if (!A.Key.Equals(B.Key))
		{
			return KeyLess(A.Key, B.Key);
		}
		if (!A.Code.Equals(B.Code))
		{
			return KeyLess(A.Code, B.Code);
		}
		return KeyLess(A.Message, B.Message);
	}

	TSharedRef<FJsonObject> MakeCultureObject(const FCultureRef& Culture)
	{
		TSharedRef<FJsonObject> Object = MakeShared<FJsonObject>();
		Object->SetStringField(TEXT("name"), Culture->GetName());
		Object->SetStringField(TEXT("native_name"), Culture->GetNativeName());
		Object->SetStringField(TEXT("english_name"), Culture->GetEnglishName());
		Object->SetStringField(TEXT("display_name"), Culture->GetDisplayName());
		Object->SetStringField(TEXT("two_letter_iso"), Culture->GetTwoLetterISOLanguageName());
		Object->SetStringField(TEXT("three_letter_iso"), Culture->GetThreeLetterISOLanguageName());
		return Object;
	}
}

void FOrvexLocalizationActions::RegisterActions(FOrvexToolRegistry& Registry)
{
	FOrvexDispatcherAnnotations Annotations;
	Annotations.bReadOnly = true;
	Annotations.bDestructive = false;
	Annotations.bIdempotent = true;
	Annotations.Description = TEXT("Localization discovery and StringTable validation");
	Registry.SetDispatcherAnnotations(TEXT("localization"), Annotations);

	auto Register = [&Registry](const TCHAR* Name, const TCHAR* Description, FOrvexActionResult (*Handler)(const TSharedPtr<FJsonObject>&), const FParamSchemaBuilder& Schema)
	{
		Registry.RegisterAction(TEXT("localization"), Name, Description, FOrvexActionHandler::CreateStatic(Handler), Schema.Build(), FString());
	};

	{
		FParamSchemaBuilder Schema;
		Schema.Optional(TEXT("culture_names"), TEXT("array"), TEXT("Culture roots to resolve, e.g. [\"en\",\"fr\"]. Max 256. Omit to list every known culture."))
			.Optional(TEXT("include_derived"), TEXT("boolean"), TEXT("Include cultures derived from each requested root (only used with culture_names)."), TEXT("true"))
			.Optional(TEXT("offset"), TEXT("integer"), TEXT("Zero-based result offset."), TEXT("0"))
			.Optional(TEXT("limit"), TEXT("integer"), TEXT("Max cultures to return (1-500)."), TEXT("100"));
		Register(TEXT("list_cultures"),
			TEXT("List Unreal cultures with bounded pagination. Without culture_names it pages every known culture; with them it resolves those roots (optionally including derived cultures) and reports the ones that did not resolve. Returns {current_culture, current_language, current_locale, unresolved_names, cultures:[{name, native_name, english_name, display_name, two_letter_iso, three_letter_iso}], total, offset, limit, count, has_more}."),
			&FOrvexLocalizationActions::ListCultures, Schema);
	}
	{
		FParamSchemaBuilder Schema;
		Schema.OptionalAssetPathWithDefault(TEXT("path"), TEXT("Canonical mounted package root to search recursively, e.g. /Game/Localization"), TEXT("/Game"))
			.Optional(TEXT("offset"), TEXT("integer"), TEXT("Zero-based result offset."), TEXT("0"))
			.Optional(TEXT("limit"), TEXT("integer"), TEXT("Max tables to return (1-1000)."), TEXT("200"))
			.Optional(TEXT("include_details"), TEXT("boolean"), TEXT("Load the returned page and include namespace + entry count."), TEXT("false"));
		Register(TEXT("list_string_tables"),
			TEXT("Discover StringTable assets under a mounted package root via the AssetRegistry, with bounded pagination. include_details loads ONLY the returned page and adds namespace, table_id, is_internal and entry_count per row. Returns {path, string_tables:[{asset_path, package_path, name, ...}], total, offset, limit, count, has_more}."),
			&FOrvexLocalizationActions::ListStringTables, Schema);
	}
	{
		FParamSchemaBuilder Schema;
		Schema.RequiredAssetPath(TEXT("asset_path"), TEXT("Canonical StringTable package path or matching top-level object path"))
			.Optional(TEXT("after_key"), TEXT("string"), TEXT("Exclusive cursor: return keys sorting strictly after this one. Max 4096 chars."))
			.Optional(TEXT("entry_limit"), TEXT("integer"), TEXT("Max entries to return (1-1000)."), TEXT("200"))
			.Optional(TEXT("include_metadata"), TEXT("boolean"), TEXT("Include per-entry metadata rows within the shared metadata_limit budget."), TEXT("false"))
			.Optional(TEXT("metadata_limit"), TEXT("integer"), TEXT("Total metadata rows returned across the whole page (0-4096)."), TEXT("512"))
			.Optional(TEXT("text_limit"), TEXT("integer"), TEXT("Max characters per source string or metadata value (1-65536)."), TEXT("4096"));
		Register(TEXT("get_string_table"),
			TEXT("Read one bounded page of StringTable entries in stable key order, resuming from an exclusive after_key cursor. Metadata rows and text values have independent budgets. Returns {entry_count, entries_after_cursor, entries:[{key, source_string, source_string_length, source_string_truncated, metadata?}], has_more_entries, next_after_key?, all_entries_covered, metadata_complete, complete}."),
			&FOrvexLocalizationActions::GetStringTable, Schema);
	}
	{
		FParamSchemaBuilder Schema;
		Schema.RequiredAssetPath(TEXT("asset_path"), TEXT("Canonical StringTable package path or matching top-level object path"))
			.Optional(TEXT("scan_limit"), TEXT("integer"), TEXT("Max entries validated, in key order (1-10000). A table larger than this reports complete=false."), TEXT("4096"))
			.Optional(TEXT("issue_offset"), TEXT("integer"), TEXT("Zero-based issue offset."), TEXT("0"))
			.Optional(TEXT("issue_limit"), TEXT("integer"), TEXT("Max issues to return (1-1000)."), TEXT("200"));
		Register(TEXT("validate_string_table"),
			TEXT("Validate a bounded prefix of a StringTable's keys and source strings in stable key order, with paginated issues. Reports errors (empty key, empty table, scan_limit exceeded) apart from warnings (edge whitespace, empty source string). valid=true ONLY when the scan covered every entry AND found zero errors. Returns {entry_count, entries_scanned, complete, valid, errors, warnings, issues:[{code, severity, message, key?}], issue_total, has_more_issues}."),
			&FOrvexLocalizationActions::ValidateStringTable, Schema);
	}
}

FOrvexActionResult FOrvexLocalizationActions::ListCultures(const TSharedPtr<FJsonObject>& Params)
{
	using namespace OrvexLocalizationInternal;

	const bool bExplicitNames = Params.IsValid() && Params->HasField(TEXT("culture_names"));
	FParamReader Reader(Params);
	const TArray<FString> CultureNames = Reader.StrArray(TEXT("culture_names"), MaxCultureNames);
	const bool bIncludeDerived = Reader.Flag(TEXT("include_derived"), true);
	const int32 Offset = Reader.Int(TEXT("offset"), 0, 0, MAX_int32);
	const int32 Limit = Reader.Int(TEXT("limit"), 100, 1, 500);
	if (!Reader.bOk)
	{
		return Reader.Error;
	}

	FInternationalization& I18N = FInternationalization::Get();
	TArray<FCultureRef> Cultures;
	TArray<TSharedPtr<FJsonValue>> Unresolved;
	if (bExplicitNames)
	{
		Cultures = I18N.GetAvailableCultures(CultureNames, bIncludeDerived);
		for (const FString& Name : CultureNames)
		{
			if (!I18N.GetCulture(Name).IsValid())
			{
				Unresolved.Add(MakeShared<FJsonValueString>(Name));
			}
		}
	}
	else
	{
		TArray<FString> AllNames;
		I18N.GetCultureNames(AllNames);
		Cultures.Reserve(AllNames.Num());
		for (const FString& Name : AllNames)
		{
			if (const FCulturePtr Culture = I18N.GetCulture(Name))
			{
				Cultures.Add(Culture.ToSharedRef());
			}
		}
	}

	Cultures.Sort([](const FCultureRef& A, const FCultureRef& B) { return KeyLess(A->GetName(), B->GetName()); });
	TArray<FCultureRef> Distinct;
	Distinct.Reserve(Cultures.Num());
	for (const FCultureRef& Culture : Cultures)
	{
		if (Distinct.Num() == 0 || !Distinct.Last()->GetName().Equals(Culture->GetName(), ESearchCase::CaseSensitive))
		{
			Distinct.Add(Culture);
		}
	}

	const int32 Total = Distinct.Num();
	int32 Start = 0;
	int32 End = 0;
	PageWindow(Total, Offset, Limit, Start, End);
	TArray<TSharedPtr<FJsonValue>> Page;
	for (int32 Index = Start; Index < End; ++Index)
	{
		Page.Add(MakeShared<FJsonValueObject>(MakeCultureObject(Distinct[Index])));
	}

	TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
	Result->SetStringField(TEXT("current_culture"), I18N.GetCurrentLanguage()->GetName());
	Result->SetStringField(TEXT("current_language"), I18N.GetCurrentLanguage()->GetName());
	Result->SetStringField(TEXT("current_locale"), I18N.GetCurrentLocale()->GetName());
	Result->SetBoolField(TEXT("explicit_names"), bExplicitNames);
	Result->SetBoolField(TEXT("include_derived"), bIncludeDerived);
	Result->SetArrayField(TEXT("unresolved_names"), Unresolved);
	Result->SetArrayField(TEXT("cultures"), Page);
	Result->SetBoolField(TEXT("read_only"), true);
	SetPage(Result, Total, Offset, Limit, Page.Num());
	return FOrvexActionResult::Success(Result);
}

FOrvexActionResult FOrvexLocalizationActions::ListStringTables(const TSharedPtr<FJsonObject>& Params)
{
	using namespace OrvexLocalizationInternal;

	FParamReader Reader(Params);
	const FString Root = Reader.Str(TEXT("path"), TEXT("/Game"));
	const int32 Offset = Reader.Int(TEXT("offset"), 0, 0, MAX_int32);
	const int32 Limit = Reader.Int(TEXT("limit"), 200, 1, 1000);
	const bool bIncludeDetails = Reader.Flag(TEXT("include_details"), false);
	if (!Reader.bOk)
	{
		return Reader.Error;
	}
	// A root passes when a package directly below it would be a valid long package name.
	if (!FPackageName::IsValidLongPackageName(Root + TEXT("/x"), false))
	{
		return BadParam(TEXT("path"), TEXT("expected a canonical mounted package root, e.g. /Game or /Game/Localization"));
	}
	IAssetRegistry* AssetRegistry = IAssetRegistry::Get();
	if (!AssetRegistry)
	{
		return FOrvexActionResult::Error(TEXT("AssetRegistry is unavailable"), -32603);
	}

	FARFilter Filter;
	Filter.PackagePaths.Add(FName(*Root));
	Filter.bRecursivePaths = true;
	Filter.ClassPaths.Add(UStringTable::StaticClass()->GetStructPathName());
	Filter.bRecursiveClasses = true;
	TArray<FAssetData> Assets;
	AssetRegistry->GetAssets(Filter, Assets);

	// Sort on the object paths, built once per asset.
	TArray<TPair<FString, int32>> Order;
	Order.Reserve(Assets.Num());
	for (int32 Index = 0; Index < Assets.Num(); ++Index)
	{
		Order.Add(TPair<FString, int32>(Assets[Index].GetObjectPathString(), Index));
	}
	if (Order.Num() >= 2)
	{
		Order.Sort([](const TPair<FString, int32>& A, const TPair<FString, int32>& B) { return KeyLess(A.Key, B.Key); });
	}

	const int32 Total = Order.Num();
	int32 Start = 0;
	int32 End = 0;
	PageWindow(Total, Offset, Limit, Start, End);
	TArray<TSharedPtr<FJsonValue>> Rows;
	for (int32 Position = Start; Position < End; ++Position)
	{
		const FAssetData& Asset = Assets[Order[Position].Value];
		TSharedPtr<FJsonObject> Row = MakeShared<FJsonObject>();
		Row->SetStringField(TEXT("asset_path"), Order[Position].Key);
		Row->SetStringField(TEXT("package_path"), Asset.PackageName.ToString());
		Row->SetStringField(TEXT("name"), Asset.AssetName.ToString());
		if (bIncludeDetails)
		{
			UObject* Object = Asset.GetAsset();
			if (Object && Object->GetClass()->IsChildOf(UStringTable::StaticClass()))
			{
				const UStringTable* Table = static_cast<const UStringTable*>(Object);
				AddTableIdentity(Row, Table);
				Row->SetNumberField(TEXT("entry_count"), CountEntries(Table->GetStringTable()));
			}
			else
			{
				Row->SetStringField(TEXT("load_error"), TEXT("asset could not be loaded as a StringTable"));
			}
		}
		Rows.Add(MakeShared<FJsonValueObject>(Row));
	}

	TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
	Result->SetStringField(TEXT("path"), Root);
	Result->SetBoolField(TEXT("include_details"), bIncludeDetails);
	Result->SetArrayField(TEXT("string_tables"), Rows);
	Result->SetBoolField(TEXT("read_only"), true);
	SetPage(Result, Total, Offset, Limit, Rows.Num());
	return FOrvexActionResult::Success(Result);
}

FOrvexActionResult FOrvexLocalizationActions::GetStringTable(const TSharedPtr<FJsonObject>& Params)
{
	using namespace OrvexLocalizationInternal;

	FParamReader Reader(Params);
	const FString AssetPath = Reader.RequiredStr(TEXT("asset_path"));
	const bool bHasCursor = Params.IsValid() && Params->HasField(TEXT("after_key"));
	const FString Cursor = Reader.Str(TEXT("after_key"), FString());
	const int32 EntryLimit = Reader.Int(TEXT("entry_limit"), 200, 1, 1000);
	const bool bIncludeMetadata = Reader.Flag(TEXT("include_metadata"), false);
	const int32 MetadataLimit = Reader.Int(TEXT("metadata_limit"), 512, 0, 4096);
	const int32 TextLimit = Reader.Int(TEXT("text_limit"), 4096, 1, 65536);
	if (Reader.bOk && Cursor.Len() > MaxCursorLength)
	{
		Reader.Fail(TEXT("after_key"), FString::Printf(TEXT("must not exceed %d characters"), MaxCursorLength));
	}
	if (!Reader.bOk)
	{
		return Reader.Error;
	}

	FString ObjectPath;
	FOrvexActionResult LoadError;
	const UStringTable* Table = LoadStringTable(AssetPath, TEXT("asset_path"), ObjectPath, LoadError);
	if (!Table)
	{
		return LoadError;
	}
	const FStringTableConstRef TableData = Table->GetStringTable();

	// One key beyond the page tells whether another page exists.
	TArray<FString> Keys;
	int32 EntryCount = 0;
	int32 EntriesAfterCursor = 0;
	CollectSmallestKeys(TableData, bHasCursor ? &Cursor : nullptr, EntryLimit + 1, Keys, EntryCount, EntriesAfterCursor);
	const bool bHasMoreEntries = Keys.Num() > EntryLimit;
	if (bHasMoreEntries)
	{
		Keys.Pop(EAllowShrinking::No);
	}

	int32 RemainingBudget = bIncludeMetadata ? MetadataLimit : 0;
	int32 AvailableMetadata = 0;
	int32 ReturnedMetadata = 0;
	bool bMetadataComplete = true;
	TArray<FMetadataRow> Rows;
	TArray<TSharedPtr<FJsonValue>> Entries;
	Entries.Reserve(Keys.Num());
	for (const FString& Key : Keys)
	{
		FString SourceString;
		if (!TableData->GetSourceString(FTextKey(Key), SourceString))
		{
			return FOrvexActionResult::Error(FString::Printf(TEXT("StringTable entry '%s' disappeared during readback"), *Key), -32603);
		}
		TSharedPtr<FJsonObject> Entry = MakeShared<FJsonObject>();
		Entry->SetStringField(TEXT("key"), Key);
		Entry->SetNumberField(TEXT("key_length"), Key.Len());
		SetBoundedText(Entry, TEXT("source_string"), FBoundedText(SourceString, TextLimit));
		if (bIncludeMetadata)
		{
			int32 RowCount = 0;
			CollectMetadata(TableData, Key, RemainingBudget, TextLimit, Rows, RowCount);
			TArray<TSharedPtr<FJsonValue>> Metadata;
			for (const FMetadataRow& Row : Rows)
			{
				TSharedPtr<FJsonObject> RowObject = MakeShared<FJsonObject>();
				RowObject->SetStringField(TEXT("name"), Row.Name);
				SetBoundedText(RowObject, TEXT("value"), Row.Value);
				Metadata.Add(MakeShared<FJsonValueObject>(RowObject));
			}
			const int32 Returned = Rows.Num();
			Entry->SetArrayField(TEXT("metadata"), Metadata);
			Entry->SetNumberField(TEXT("metadata_count"), RowCount);
			Entry->SetNumberField(TEXT("metadata_returned"), Returned);
			Entry->SetBoolField(TEXT("metadata_truncated"), Returned < RowCount);
			RemainingBudget = FMath::Max(0, RemainingBudget - Returned);
			AvailableMetadata += RowCount;
			ReturnedMetadata += Returned;
			if (Returned != RowCount)
			{
				bMetadataComplete = false;
			}
		}
		Entries.Add(MakeShared<FJsonValueObject>(Entry));
	}

	const bool bAllEntriesCovered = !bHasMoreEntries && !bHasCursor;
	TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
	AddTableIdentity(Result, Table);
	Result->SetNumberField(TEXT("entry_count"), EntryCount);
	Result->SetNumberField(TEXT("entries_after_cursor"), EntriesAfterCursor);
	Result->SetNumberField(TEXT("entry_limit"), EntryLimit);
	Result->SetNumberField(TEXT("entries_returned"), Entries.Num());
	Result->SetArrayField(TEXT("entries"), Entries);
	Result->SetBoolField(TEXT("has_more_entries"), bHasMoreEntries);
	Result->SetBoolField(TEXT("all_entries_covered"), bAllEntriesCovered);
	Result->SetBoolField(TEXT("include_metadata"), bIncludeMetadata);
	Result->SetNumberField(TEXT("metadata_limit"), MetadataLimit);
	Result->SetNumberField(TEXT("available_metadata_count"), AvailableMetadata);
	Result->SetNumberField(TEXT("returned_metadata_count"), ReturnedMetadata);
	Result->SetBoolField(TEXT("metadata_complete"), bMetadataComplete);
	Result->SetNumberField(TEXT("text_limit"), TextLimit);
	Result->SetBoolField(TEXT("complete"), bAllEntriesCovered && bMetadataComplete);
	Result->SetBoolField(TEXT("read_only"), true);
	if (bHasCursor)
	{
		Result->SetStringField(TEXT("after_key"), Cursor);
	}
	if (bHasMoreEntries)
	{
		Result->SetStringField(TEXT("next_after_key"), Keys.Last());
	}
	return FOrvexActionResult::Success(Result);
}

FOrvexActionResult FOrvexLocalizationActions::ValidateStringTable(const TSharedPtr<FJsonObject>& Params)
{
	using namespace OrvexLocalizationInternal;

	FParamReader Reader(Params);
	const FString AssetPath = Reader.RequiredStr(TEXT("asset_path"));
	const int32 ScanLimit = Reader.Int(TEXT("scan_limit"), 4096, 1, 10000);
	const int32 IssueOffset = Reader.Int(TEXT("issue_offset"), 0, 0, MAX_int32);
	const int32 IssueLimit = Reader.Int(TEXT("issue_limit"), 200, 1, 1000);
	if (!Reader.bOk)
	{
		return Reader.Error;
	}

	FString ObjectPath;
	FOrvexActionResult LoadError;
	const UStringTable* Table = LoadStringTable(AssetPath, TEXT("asset_path"), ObjectPath, LoadError);
	if (!Table)
	{
		return LoadError;
	}
	const FStringTableConstRef TableData = Table->GetStringTable();

	// The scanned keys are taken in the order the table holds them, which issue order does not
	// depend on: looking each up again then reads entries that lie near each other one after
	// another, where key order would jump across the whole table for every key. The table's own
	// keys come along: building them again from the texts gives the same keys at the price of a
	// second hash lookup for each.
	TArray<FCollectedKey> Scanned;
	int32 EntryCount = 0;
	int32 AfterCursor = 0;
	SelectSmallestKeys(TableData, nullptr, ScanLimit, Scanned, EntryCount, AfterCursor);
	std::sort(Scanned.GetData(), Scanned.GetData() + Scanned.Num(), [](const FCollectedKey& A, const FCollectedKey& B) { return A.Position < B.Position; });

	TArray<FValidationIssue> Issues;
	// Declared once, so that every key after the first reuses their storage.
	FString Key;
	FString SourceString;
	FString Trimmed;
	for (const FCollectedKey& Entry : Scanned)
	{
		Entry.Key.ToString(Key);
		if (!TableData->GetSourceString(Entry.Key, SourceString))
		{
			AddIssue(Issues, TEXT("source_lookup_failed"), true, TEXT("The entry disappeared while validation was reading it."), Key);
			continue;
		}
		if (Key.IsEmpty())
		{
			AddIssue(Issues, TEXT("empty_key"), true, TEXT("StringTable entry has an empty key."), FString());
		}
		Trimmed = Key;
		Trimmed.TrimStartAndEndInline();
		if (!Trimmed.Equals(Key, ESearchCase::CaseSensitive))
		{
			AddIssue(Issues, TEXT("key_edge_whitespace"), false, TEXT("StringTable key has leading or trailing whitespace."), Key);
		}
		if (SourceString.IsEmpty())
		{
			AddIssue(Issues, TEXT("empty_source_string"), false, TEXT("StringTable entry has an empty source string."), Key);
		}
	}
	if (EntryCount == 0)
	{
		AddIssue(Issues, TEXT("empty_table"), true, TEXT("StringTable has no entries."), FString());
	}
	if (EntryCount > ScanLimit)
	{
		AddIssue(Issues, TEXT("scan_limit_exceeded"), true,
			FString::Printf(TEXT("Validation scanned %d of %d entries; raise scan_limit for full coverage."), Scanned.Num(), EntryCount), FString());
	}
	if (Issues.Num() >= 2)
	{
		std::sort(Issues.GetData(), Issues.GetData() + Issues.Num(), IssueLess);
	}

	int32 ErrorCount = 0;
	for (const FValidationIssue& Issue : Issues)
	{
		ErrorCount += Issue.bError ? 1 : 0;
	}
	const int32 IssueTotal = Issues.Num();
	int32 Start = 0;
	int32 End = 0;
	PageWindow(IssueTotal, IssueOffset, IssueLimit, Start, End);
	TArray<TSharedPtr<FJsonValue>> Page;
	for (int32 Index = Start; Index < End; ++Index)
	{
		const FValidationIssue& Issue = Issues[Index];
		TSharedPtr<FJsonObject> Object = MakeShared<FJsonObject>();
		Object->SetStringField(TEXT("code"), Issue.Code);
		Object->SetStringField(TEXT("severity"), Issue.bError ? TEXT("error") : TEXT("warning"));
		Object->SetStringField(TEXT("message"), Issue.Message);
		if (!Issue.Key.IsEmpty())
		{
			Object->SetStringField(TEXT("key"), Issue.Key);
		}
		Page.Add(MakeShared<FJsonValueObject>(Object));
	}

	const bool bComplete = EntryCount <= ScanLimit;
	TSharedPtr<FJsonObject> Result = MakeShared<FJsonObject>();
	AddTableIdentity(Result, Table);
	Result->SetNumberField(TEXT("entry_count"), EntryCount);
	Result->SetNumberField(TEXT("entries_scanned"), Scanned.Num());
	Result->SetNumberField(TEXT("scan_limit"), ScanLimit);
	Result->SetBoolField(TEXT("complete"), bComplete);
	Result->SetBoolField(TEXT("valid"), bComplete && ErrorCount == 0);
	Result->SetNumberField(TEXT("errors"), ErrorCount);
	Result->SetNumberField(TEXT("warnings"), IssueTotal - ErrorCount);
	Result->SetNumberField(TEXT("issue_total"), IssueTotal);
	Result->SetNumberField(TEXT("issue_offset"), IssueOffset);
	Result->SetNumberField(TEXT("issue_limit"), IssueLimit);
	Result->SetNumberField(TEXT("issues_returned"), Page.Num());
	Result->SetBoolField(TEXT("has_more_issues"), static_cast<int64>(IssueOffset) + Page.Num() < IssueTotal);
	Result->SetArrayField(TEXT("issues"), Page);
	Result->SetBoolField(TEXT("read_only"), true);
	return FOrvexActionResult::Success(Result);
}
