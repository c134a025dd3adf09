// Automation checks of the localization namespace, run through the action registry against two
// temporary StringTables that the checks create and remove.
#include "CoreMinimal.h"

#if WITH_DEV_AUTOMATION_TESTS

#include "AssetRegistry/AssetRegistryModule.h"
#include "AssetRegistry/IAssetRegistry.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Internationalization/StringTable.h"
#include "Internationalization/StringTableCore.h"
#include "Misc/AutomationTest.h"
#include "Misc/PackageName.h"
#include "OrvexToolRegistry.h"
#include "UObject/Package.h"

namespace OrvexLocalizationReadTests
{
	const TCHAR* const FourEntryPackage = TEXT("/Game/OrvexAutomation/ST_OrvexReadFixture");
	const TCHAR* const EmptyPackage = TEXT("/Game/OrvexAutomation/ST_OrvexReadEmpty");

	UStringTable* CreateFixture(const TCHAR* PackageName)
	{
		UPackage* Package = CreatePackage(PackageName);
		const FString AssetName = FPackageName::GetLongPackageAssetName(PackageName);
		UStringTable* Table = NewObject<UStringTable>(Package, FName(*AssetName), RF_Public | RF_Standalone);
		FAssetRegistryModule::AssetCreated(Table);
		return Table;
	}

	void RemoveFixture(UStringTable* Table)
	{
		if (!Table)
		{
			return;
		}
		if (IAssetRegistry* AssetRegistry = IAssetRegistry::Get())
		{
			AssetRegistry->AssetDeleted(Table);
		}
		Table->ClearFlags(RF_Public | RF_Standalone);
		Table->MarkAsGarbage();
		Table->GetOutermost()->MarkAsGarbage();
	}

	// The four-entry table: " Pad", "Alpha" (Context, Note), "Empty" (empty source), "Long" (Context).
	void FillFourEntries(UStringTable* Table)
	{
		FStringTableRef Data = Table->GetMutableStringTable();
		Data->SetSourceString(TEXT(" Pad"), TEXT("Padded key"));
		Data->SetSourceString(TEXT("Alpha"), TEXT("Primary value"));
		Data->SetMetaData(TEXT("Alpha"), TEXT("Context"), TEXT("Menu"));
		Data->SetMetaData(TEXT("Alpha"), TEXT("Note"), TEXT("Detail"));
		Data->SetSourceString(TEXT("Empty"), TEXT(""));
		Data->SetSourceString(TEXT("Long"), TEXT("1234567890"));
		Data->SetMetaData(TEXT("Long"), TEXT("Context"), TEXT("Gameplay"));
	}

	// Creates both fixtures for one check and removes them when it ends.
	struct FScopedFixtures
	{
		UStringTable* FourEntries = nullptr;
		UStringTable* Empty = nullptr;

		FScopedFixtures()
		{
			FourEntries = CreateFixture(FourEntryPackage);
			FillFourEntries(FourEntries);
			Empty = CreateFixture(EmptyPackage);
		}

		~FScopedFixtures()
		{
			RemoveFixture(FourEntries);
			RemoveFixture(Empty);
		}
	};

	FOrvexActionResult Run(const TCHAR* Action, const TSharedPtr<FJsonObject>& Params)
	{
		return FOrvexToolRegistry::Get().ExecuteAction(TEXT("localization"), Action, Params);
	}

	TSharedPtr<FJsonObject> TableParams(const TCHAR* PackageName)
	{
		TSharedPtr<FJsonObject> Params = MakeShared<FJsonObject>();
		Params->SetStringField(TEXT("asset_path"), PackageName);
		return Params;
	}

	// TestEqual ignores letter case for texts; key order and messages must match exactly.
	bool TestExactText(FAutomationTestBase& Test, const FString& What, const FString& Actual, const FString& Expected)
	{
		return Test.TestTrue(FString::Printf(TEXT("%s ('%s', expected '%s')"), *What, *Actual, *Expected), Actual.Equals(Expected, ESearchCase::CaseSensitive));
	}

	FString EntryKeys(const FOrvexActionResult& Result)
	{
		TArray<FString> Keys;
		for (const TSharedPtr<FJsonValue>& Entry : Result.Result->GetArrayField(TEXT("entries")))
		{
			Keys.Add(FString::Printf(TEXT("[%s]"), *Entry->AsObject()->GetStringField(TEXT("key"))));
		}
		return FString::Join(Keys, TEXT(","));
	}
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FOrvexLocalizationReadRegistrationTest, "Orvex.Localization.Read.Registration",
	EAutomationTestFlags_ApplicationContextMask | EAutomationTestFlags::EngineFilter)

bool FOrvexLocalizationReadRegistrationTest::RunTest(const FString& Parameters)
{
	FOrvexToolRegistry& Registry = FOrvexToolRegistry::Get();
	TestEqual(TEXT("localization action count"), Registry.GetActions(TEXT("localization")).Num(), 4);
	for (const TCHAR* Action : {TEXT("list_cultures"), TEXT("list_string_tables"), TEXT("get_string_table"), TEXT("validate_string_table")})
	{
		TestTrue(FString::Printf(TEXT("%s is registered"), Action), Registry.HasAction(TEXT("localization"), Action));
	}
	TestFalse(TEXT("no authoring action"), Registry.HasAction(TEXT("localization"), TEXT("create_string_table")));

	FOrvexDispatcherAnnotations Annotations;
	TestTrue(TEXT("annotations are set"), Registry.GetDispatcherAnnotations(TEXT("localization"), Annotations));
	TestTrue(TEXT("read-only"), Annotations.bReadOnly);
	TestFalse(TEXT("not destructive"), Annotations.bDestructive);
	TestTrue(TEXT("idempotent"), Annotations.bIdempotent);

	for (const FOrvexActionInfo& Info : Registry.GetActions(TEXT("localization")))
	{
		if (Info.ActionName == TEXT("get_string_table"))
		{
			for (const TCHAR* Key : {TEXT("after_key"), TEXT("entry_limit"), TEXT("metadata_limit"), TEXT("text_limit")})
			{
				TestTrue(FString::Printf(TEXT("get_string_table schema has %s"), Key), Info.ParameterSchema->HasField(Key));
			}
		}
		if (Info.ActionName == TEXT("validate_string_table"))
		{
			for (const TCHAR* Key : {TEXT("scan_limit"), TEXT("issue_offset"), TEXT("issue_limit")})
			{
				TestTrue(FString::Printf(TEXT("validate_string_table schema has %s"), Key), Info.ParameterSchema->HasField(Key));
			}
		}
	}
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FOrvexLocalizationReadParamGuardsTest, "Orvex.Localization.Read.ParamGuards",
	EAutomationTestFlags_ApplicationContextMask | EAutomationTestFlags::EngineFilter)

bool FOrvexLocalizationReadParamGuardsTest::RunTest(const FString& Parameters)
{
	using namespace OrvexLocalizationReadTests;
	FScopedFixtures Fixtures;

	struct FGuard
	{
		const TCHAR* Action;
		const TCHAR* Field;
		TSharedPtr<FJsonValue> Value;
		const TCHAR* Message;
	};
	const FGuard Guards[] = {
		{TEXT("list_cultures"), TEXT("limit"), MakeShared<FJsonValueNumber>(0), TEXT("Invalid parameter 'limit': expected an integer in the range 1..500")},
		{TEXT("list_cultures"), TEXT("limit"), MakeShared<FJsonValueNumber>(501), TEXT("Invalid parameter 'limit': expected an integer in the range 1..500")},
		{TEXT("list_string_tables"), TEXT("limit"), MakeShared<FJsonValueNumber>(1001), TEXT("Invalid parameter 'limit': expected an integer in the range 1..1000")},
		{TEXT("list_string_tables"), TEXT("path"), MakeShared<FJsonValueString>(TEXT("/Game/")), TEXT("Invalid parameter 'path': expected a canonical mounted package root, e.g. /Game or /Game/Localization")},
		{TEXT("get_string_table"), TEXT("entry_limit"), MakeShared<FJsonValueNumber>(1001), TEXT("Invalid parameter 'entry_limit': expected an integer in the range 1..1000")},
		{TEXT("get_string_table"), TEXT("text_limit"), MakeShared<FJsonValueNumber>(65537), TEXT("Invalid parameter 'text_limit': expected an integer in the range 1..65536")},
		{TEXT("get_string_table"), TEXT("entry_limit"), MakeShared<FJsonValueString>(TEXT("3")), TEXT("Invalid parameter 'entry_limit': expected an integer JSON number")},
		{TEXT("validate_string_table"), TEXT("scan_limit"), MakeShared<FJsonValueNumber>(10001), TEXT("Invalid parameter 'scan_limit': expected an integer in the range 1..10000")},
		{TEXT("validate_string_table"), TEXT("scan_limit"), MakeShared<FJsonValueNumber>(0), TEXT("Invalid parameter 'scan_limit': expected an integer in the range 1..10000")},
	};
	for (const FGuard& Guard : Guards)
	{
		TSharedPtr<FJsonObject> Params = TableParams(TEXT("/Game/OrvexAutomation/NoSuchTable"));
		Params->SetField(Guard.Field, Guard.Value);
		const FOrvexActionResult Result = Run(Guard.Action, Params);
		TestEqual(FString::Printf(TEXT("%s.%s code"), Guard.Action, Guard.Field), Result.ErrorCode, -32602);
		TestExactText(*this, FString::Printf(TEXT("%s.%s message"), Guard.Action, Guard.Field), Result.ErrorMessage, FString(Guard.Message));
	}

	const FOrvexActionResult Missing = Run(TEXT("get_string_table"), MakeShared<FJsonObject>());
	TestExactText(*this, TEXT("missing asset_path"), Missing.ErrorMessage, FString(TEXT("Invalid parameter 'asset_path': field is required")));
	const FOrvexActionResult Absent = Run(TEXT("validate_string_table"), TableParams(TEXT("/Game/OrvexAutomation/NoSuchTable")));
	TestEqual(TEXT("well-formed path with nothing behind it"), Absent.ErrorCode, -32603);
	TestExactText(*this, TEXT("not-found message"), Absent.ErrorMessage, FString(TEXT("StringTable not found: /Game/OrvexAutomation/NoSuchTable.NoSuchTable")));
	const FOrvexActionResult Unmounted = Run(TEXT("get_string_table"), TableParams(TEXT("/NotMounted/ST_X")));
	TestEqual(TEXT("unmounted root"), Unmounted.ErrorCode, -32602);
	const FOrvexActionResult WrongObject = Run(TEXT("get_string_table"), TableParams(TEXT("/Game/OrvexAutomation/ST_OrvexReadFixture.Wrong")));
	TestEqual(TEXT("object name that is not the asset name"), WrongObject.ErrorCode, -32602);
	return true;
}

IMPLEMENT_SIMPLE_AUTOMATION_TEST(FOrvexLocalizationReadReadbackAndValidationTest, "Orvex.Localization.Read.ReadbackAndValidation",
	EAutomationTestFlags_ApplicationContextMask | EAutomationTestFlags::EngineFilter)

bool FOrvexLocalizationReadReadbackAndValidationTest::RunTest(const FString& Parameters)
{
	using namespace OrvexLocalizationReadTests;
	FScopedFixtures Fixtures;

	// Page by page with the cursor.
	TSharedPtr<FJsonObject> Params = TableParams(FourEntryPackage);
	Params->SetNumberField(TEXT("entry_limit"), 1);
	FString Walked;
	for (int32 Page = 0; Page < 5; ++Page)
	{
		const FOrvexActionResult Result = Run(TEXT("get_string_table"), Params);
		if (!TestTrue(TEXT("page read"), Result.bSuccess))
		{
			return false;
		}
		Walked += EntryKeys(Result);
		FString Next;
		if (!Result.Result->TryGetStringField(TEXT("next_after_key"), Next))
		{
			TestFalse(TEXT("last page claims no coverage"), Result.Result->GetBoolField(TEXT("all_entries_covered")));
			break;
		}
		Params->SetStringField(TEXT("after_key"), Next);
	}
	TestExactText(*this, TEXT("walked keys"), Walked, FString(TEXT("[ Pad][Alpha][Empty][Long]")));

	// Budgets: one metadata row and five characters per text.
	TSharedPtr<FJsonObject> Budget = TableParams(FourEntryPackage);
	Budget->SetBoolField(TEXT("include_metadata"), true);
	Budget->SetNumberField(TEXT("metadata_limit"), 1);
	Budget->SetNumberField(TEXT("text_limit"), 5);
	const FOrvexActionResult Budgeted = Run(TEXT("get_string_table"), Budget);
	TestTrue(TEXT("budgeted read"), Budgeted.bSuccess);
	if (Budgeted.bSuccess)
	{
		TestTrue(TEXT("all entries covered"), Budgeted.Result->GetBoolField(TEXT("all_entries_covered")));
		TestEqual(TEXT("available metadata"), static_cast<int32>(Budgeted.Result->GetNumberField(TEXT("available_metadata_count"))), 3);
		TestEqual(TEXT("returned metadata"), static_cast<int32>(Budgeted.Result->GetNumberField(TEXT("returned_metadata_count"))), 1);
		TestFalse(TEXT("metadata incomplete"), Budgeted.Result->GetBoolField(TEXT("metadata_complete")));
		TestFalse(TEXT("not complete"), Budgeted.Result->GetBoolField(TEXT("complete")));
		const TSharedPtr<FJsonObject> Alpha = Budgeted.Result->GetArrayField(TEXT("entries"))[1]->AsObject();
		TestExactText(*this, TEXT("cut source"), Alpha->GetStringField(TEXT("source_string")), FString(TEXT("Prima")));
		TestEqual(TEXT("full length"), static_cast<int32>(Alpha->GetNumberField(TEXT("source_string_length"))), 13);
	}

	// Validation of both fixtures.
	TSharedPtr<FJsonObject> Validate = TableParams(FourEntryPackage);
	Validate->SetNumberField(TEXT("scan_limit"), 10);
	const FOrvexActionResult Valid = Run(TEXT("validate_string_table"), Validate);
	TestTrue(TEXT("validation ran"), Valid.bSuccess);
	if (Valid.bSuccess)
	{
		TestTrue(TEXT("four-entry table is valid"), Valid.Result->GetBoolField(TEXT("valid")));
		TestEqual(TEXT("two warnings"), static_cast<int32>(Valid.Result->GetNumberField(TEXT("warnings"))), 2);
	}
	const FOrvexActionResult EmptyResult = Run(TEXT("validate_string_table"), TableParams(EmptyPackage));
	TestTrue(TEXT("empty validation ran"), EmptyResult.bSuccess);
	if (EmptyResult.bSuccess)
	{
		TestFalse(TEXT("empty table is never valid"), EmptyResult.Result->GetBoolField(TEXT("valid")));
		TestEqual(TEXT("one error"), static_cast<int32>(EmptyResult.Result->GetNumberField(TEXT("errors"))), 1);
	}

	// Reading never changes a table.
	int32 Count = 0;
	Fixtures.FourEntries->GetStringTable()->EnumerateKeysAndSourceStrings([&Count](const FTextKey& Key, const FString& Source)
	{
		++Count;
		return true;
	});
	TestEqual(TEXT("entries after the reads"), Count, 4);
	TestFalse(TEXT("package not dirty"), Fixtures.FourEntries->GetOutermost()->IsDirty());
	return true;
}

#endif
