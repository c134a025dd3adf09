// Every registered action publishes exactly its documented description and parameter schema.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"
#include "Host/JsonText.h"
#include "OrvexParamSchema.h"
#include "OrvexToolRegistry.h"

#include <gtest/gtest.h>

#include <fstream>
#include <map>

namespace
{
	struct FExpectedAction
	{
		std::string Description;
		std::string ParametersJson;
	};

	std::map<std::string, FExpectedAction> LoadExpectedActions()
	{
		std::map<std::string, FExpectedAction> Expected;
		std::ifstream Stream(std::string(ORVEX_TEST_SUPPORT_DIR) + "/ExpectedActionSchemas.jsonl");
		std::string Line;
		while (std::getline(Stream, Line))
		{
			const TSharedPtr<FJsonObject> Entry = ParseObject(Line);
			FExpectedAction Action;
			Action.Description = UE::Host::StringToUtf8(Entry->GetStringField(TEXT("description")));
			Action.ParametersJson = ToJson(Entry->GetObjectField(TEXT("parameters")));
			Expected[UE::Host::StringToUtf8(Entry->GetStringField(TEXT("action")))] = Action;
		}
		return Expected;
	}
}

TEST(ActionSchemas, EveryRegisteredActionMatchesItsDocumentedRowByteForByte)
{
	const std::map<std::string, FExpectedAction> Expected = LoadExpectedActions();
	ASSERT_EQ(Expected.size(), 11u);

	FTempHostFolders Folders;
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	int32 Checked = 0;
	for (const FString& Namespace : FOrvexToolRegistry::Get().GetNamespaces())
	{
		for (const FOrvexActionInfo& Info : FOrvexToolRegistry::Get().GetActions(Namespace))
		{
			const std::string Name = UE::Host::StringToUtf8(Namespace + TEXT(".") + Info.ActionName);
			const auto Found = Expected.find(Name);
			ASSERT_NE(Found, Expected.end()) << "undocumented action " << Name;
			EXPECT_EQ(UE::Host::StringToUtf8(Info.Description), Found->second.Description) << Name;
			EXPECT_EQ(ToJson(Info.ParameterSchema), Found->second.ParametersJson) << Name;
			++Checked;
		}
	}
	EXPECT_GT(Checked, 0);
}

TEST(ActionSchemas, ActionsKeepTheirDocumentedRegistrationOrder)
{
	const char* const ConfigOrder[] = {"resolve_setting", "explain_setting", "diff_from_default", "search_config", "get_section", "get_config_files", "set_setting"};
	const char* const LocalizationOrder[] = {"list_cultures", "list_string_tables", "get_string_table", "validate_string_table"};

	FTempHostFolders Folders;
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	auto CheckOrder = [](const TCHAR* Namespace, const char* const* Order, int32 OrderCount)
	{
		int32 Position = -1;
		for (const FOrvexActionInfo& Info : FOrvexToolRegistry::Get().GetActions(Namespace))
		{
			const std::string Name = UE::Host::StringToUtf8(Info.ActionName);
			int32 Index = 0;
			while (Index < OrderCount && Name != Order[Index])
			{
				++Index;
			}
			ASSERT_LT(Index, OrderCount) << Name;
			EXPECT_GT(Index, Position) << Name << " is out of order";
			Position = Index;
		}
	};
	CheckOrder(TEXT("config"), ConfigOrder, 7);
	CheckOrder(TEXT("localization"), LocalizationOrder, 4);
}

TEST(ParamSchemaBuilder, PublishesDefaultsAliasesAndKindsOnlyWhenSet)
{
	FParamSchemaBuilder Builder;
	Builder.Optional(TEXT("empty_default"), TEXT("string"), TEXT("a"))
		.Optional(TEXT("zero_default"), TEXT("integer"), TEXT("b"), TEXT("0"))
		.OptionalAssetPathWithDefault(TEXT("root"), TEXT("c"), FString())
		.RequiredAssetPath(TEXT("asset"), TEXT("d"));
	Builder.AddParam(TEXT("other"), TEXT("string"), TEXT("e"), false, FString(), false, {TEXT("x"), TEXT("y")}, static_cast<EOrvexParamKind>(9));
	Builder.Required(TEXT("zero_default"), TEXT("integer"), TEXT("replaced"));

	EXPECT_EQ(ToJson(Builder.Build()),
		"{\"empty_default\":{\"type\":\"string\",\"description\":\"a\",\"required\":false},"
		"\"zero_default\":{\"type\":\"integer\",\"description\":\"replaced\",\"required\":true},"
		"\"root\":{\"type\":\"string\",\"description\":\"c\",\"required\":false,\"default\":\"\",\"kind\":\"AssetPath\"},"
		"\"asset\":{\"type\":\"string\",\"description\":\"d\",\"required\":true,\"kind\":\"AssetPath\"},"
		"\"other\":{\"type\":\"string\",\"description\":\"e\",\"required\":false,\"aliases\":[\"x\",\"y\"],\"kind\":\"Other\"}}");
}
