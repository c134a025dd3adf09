// The tool-calling protocol on the server stream: handshake, one tool per action, argument checks,
// protocol errors and cancellation.
#include "ActionTestUtils.h"
#include "DispatcherTestFixture.h"
#include "Dom/JsonValue.h"
#include "Host/JsonText.h"
#include "HostTestEnvironment.h"
#include "OrvexJsonRpcDispatcher.h"
#include "OrvexToolRegistry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

namespace
{
	const char* const InitializeLine =
		R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"protocolVersion":"%s","capabilities":{},"clientInfo":{"name":"t","version":"1"}}})";

	class ToolProtocol : public FDispatcherTest
	{
	protected:
		void WriteFixtures() override
		{
			Folders.WriteEngine("Config/BaseEngine.ini",
				"[/Script/Engine.RendererSettings]\n"
				"r.RayTracing=False\n"
				"r.SkinCache.CompileShaders=True\n");
			Folders.WriteProject("Content/Localization/ST_Menu.csv",
				"\"Key\",\"SourceString\",\"Comment\"\n"
				"\"Menu.Play\",\"Play\",\"Main menu button\"\n"
				"\"Menu.Quit\",\"Quit\",\"\"\n");
		}

		TSharedPtr<FJsonObject> Initialize(const char* Version)
		{
			char Line[512];
			std::snprintf(Line, sizeof(Line), InitializeLine, Version);
			return ParseObject(Handle(Line));
		}


		double ErrorCode(const std::string& Line)
		{
			const TSharedPtr<FJsonObject> Reply = ParseObject(Handle(Line));
			return Reply->HasField(TEXT("error")) ? Reply->GetObjectField(TEXT("error"))->GetNumberField(TEXT("code")) : 0.0;
		}

		static std::string Text(const TSharedPtr<FJsonObject>& ToolResult)
		{
			return UE::Host::StringToUtf8(ToolResult->GetArrayField(TEXT("content"))[0]->AsObject()->GetStringField(TEXT("text")));
		}

		static std::string Str(const TSharedPtr<FJsonObject>& Object, const TCHAR* Field) { return UE::Host::StringToUtf8(Object->GetStringField(Field)); }

	};

	class ToolProtocolWithConfigOff : public ToolProtocol
	{
	protected:
		void SetUp() override
		{
			IniOverrides.Add(TEXT("Editor:[/Script/OrvexCore.OrvexSettings]:bEnableConfig=False"));
			ToolProtocol::SetUp();
		}
	};
}

TEST_F(ToolProtocol, InitializeNegotiatesTheRevisionOnce)
{
	const TSharedPtr<FJsonObject> Init = Initialize("2025-03-26")->GetObjectField(TEXT("result"));
	EXPECT_EQ(Str(Init, TEXT("protocolVersion")), "2025-03-26");
	EXPECT_EQ(ToJson(Init->GetObjectField(TEXT("capabilities"))), R"({"tools":{"listChanged":false}})");
	EXPECT_EQ(Str(Init->GetObjectField(TEXT("serverInfo")), TEXT("name")), "orvex");
	EXPECT_EQ(Initialize("2025-03-26")->GetObjectField(TEXT("error"))->GetNumberField(TEXT("code")), -32600.0);

	for (const char* Version : {"2024-11-05", "2025-06-18", "2025-11-25"})
	{
		Dispatcher = std::make_unique<FOrvexJsonRpcDispatcher>(FOrvexToolRegistry::Get());
		EXPECT_EQ(Str(Initialize(Version)->GetObjectField(TEXT("result")), TEXT("protocolVersion")), Version);
	}
	// A revision we do not speak gets our latest; the client decides whether to go on.
	Dispatcher = std::make_unique<FOrvexJsonRpcDispatcher>(FOrvexToolRegistry::Get());
	EXPECT_EQ(Str(Initialize("2024-10-07")->GetObjectField(TEXT("result")), TEXT("protocolVersion")), "2025-11-25");
}

TEST_F(ToolProtocol, InitializeRefusesMalformedParamsAndStaysOpenForAGoodOne)
{
	const char* const Bad[] = {
		R"({"jsonrpc":"2.0","id":1,"method":"initialize"})",
		R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"protocolVersion":20250618,"capabilities":{},"clientInfo":{"name":"t","version":"1"}}})",
		R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"protocolVersion":"2025-06-18","capabilities":[],"clientInfo":{"name":"t","version":"1"}}})",
		R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"protocolVersion":"2025-06-18","capabilities":{}}})",
		R"({"jsonrpc":"2.0","id":1,"method":"initialize","params":{"protocolVersion":"2025-06-18","capabilities":{},"clientInfo":{"name":"t"}}})",
	};
	for (const char* Line : Bad)
	{
		EXPECT_EQ(ErrorCode(Line), -32602.0) << Line;
	}
	EXPECT_EQ(Str(Initialize("2025-06-18")->GetObjectField(TEXT("result")), TEXT("protocolVersion")), "2025-06-18");
}

TEST_F(ToolProtocol, EveryActionIsOneToolWithItsOwnSchema)
{
	Initialize("2025-11-25");
	const TArray<TSharedPtr<FJsonValue>> Tools = ListTools();
	TArray<FString> Names;
	for (const TSharedPtr<FJsonValue>& Tool : Tools)
	{
		Names.Add(Tool->AsObject()->GetStringField(TEXT("name")));
	}
	EXPECT_EQ(Names, (TArray<FString>{TEXT("localization_list_cultures"), TEXT("localization_list_string_tables"), TEXT("localization_get_string_table"),
						 TEXT("localization_validate_string_table"), TEXT("config_resolve_setting"), TEXT("config_explain_setting"),
						 TEXT("config_diff_from_default"), TEXT("config_search_config"), TEXT("config_get_section"), TEXT("config_get_config_files"),
						 TEXT("config_set_setting")}));

	const TSharedPtr<FJsonObject> GetTable = FindTool(Tools, TEXT("localization_get_string_table"));
	EXPECT_EQ(FieldNames(GetTable), (TArray<FString>{TEXT("name"), TEXT("title"), TEXT("description"), TEXT("inputSchema"), TEXT("annotations")}));
	EXPECT_EQ(Str(GetTable, TEXT("title")), "Localization: Get string table");
	EXPECT_EQ(ToJson(GetTable->GetObjectField(TEXT("annotations"))), R"({"readOnlyHint":true,"destructiveHint":false,"idempotentHint":true})");
	EXPECT_EQ(ToJson(GetTable->GetObjectField(TEXT("inputSchema"))),
		R"({"type":"object","properties":{)"
		R"("asset_path":{"type":"string","description":"Canonical StringTable package path or matching top-level object path"},)"
		R"("after_key":{"type":"string","description":"Exclusive cursor: return keys sorting strictly after this one. Max 4096 chars."},)"
		R"("entry_limit":{"type":"integer","description":"Max entries to return (1-1000).","default":200},)"
		R"("include_metadata":{"type":"boolean","description":"Include per-entry metadata rows within the shared metadata_limit budget.","default":false},)"
		R"("metadata_limit":{"type":"integer","description":"Total metadata rows returned across the whole page (0-4096).","default":512},)"
		R"("text_limit":{"type":"integer","description":"Max characters per source string or metadata value (1-65536).","default":4096}},)"
		R"("required":["asset_path"],"additionalProperties":false})");

	// "bool" is a boolean, "any" has no type; a namespace without annotations has no hints.
	const TSharedPtr<FJsonObject> SetSetting = FindTool(Tools, TEXT("config_set_setting"));
	EXPECT_FALSE(SetSetting->HasField(TEXT("annotations")));
	const TSharedPtr<FJsonObject> Properties = SetSetting->GetObjectField(TEXT("inputSchema"))->GetObjectField(TEXT("properties"));
	EXPECT_EQ(FieldNames(Properties->GetObjectField(TEXT("value"))), TArray<FString>{TEXT("description")});
	EXPECT_EQ(ToJson(Properties->GetObjectField(TEXT("dry_run"))),
		R"({"type":"boolean","description":"Resolve class/property, report old value, ini file and restart_required without writing.","default":false})");
	EXPECT_FALSE(SetSetting->GetObjectField(TEXT("inputSchema"))->HasField(TEXT("required")));
}

TEST_F(ToolProtocol, OlderRevisionsGetOnlyTheFieldsTheyDefine)
{
	Initialize("2024-11-05");
	const TSharedPtr<FJsonObject> Tool = FindTool(ListTools(), TEXT("localization_list_cultures"));
	EXPECT_EQ(FieldNames(Tool), (TArray<FString>{TEXT("name"), TEXT("description"), TEXT("inputSchema")}));
	const TSharedPtr<FJsonObject> Called = Call("localization_list_cultures", R"({"culture_names":["en"],"include_derived":false})");
	EXPECT_EQ(FieldNames(Called), (TArray<FString>{TEXT("content"), TEXT("isError")}));
	EXPECT_EQ(ParseObject(Text(Called))->GetNumberField(TEXT("count")), 1.0);
}

TEST_F(ToolProtocol, ArgumentsOutsideTheSchemaAreToolErrorsNamingTheParameter)
{
	Initialize("2025-11-25");
	struct FCase
	{
		const char* Tool;
		const char* Arguments;
		const char* Parameter;
		const char* Problem;
	};
	const FCase Cases[] = {
		{"localization_list_cultures", R"({"limit":"5"})", "limit", "must be an integer, not a string"},
		{"localization_list_cultures", R"({"limit":2.5})", "limit", "must be an integer, not a fractional number"},
		{"localization_list_cultures", R"({"include_derived":"true"})", "include_derived", "must be a boolean, not a string"},
		{"localization_list_cultures", R"({"culture_names":"en"})", "culture_names", "must be an array, not a string"},
		{"localization_list_cultures", R"({"offset":null})", "offset", "must be an integer, not null"},
		{"localization_list_cultures", R"({"Limit":5})", "Limit", "is not a parameter of this tool; did you mean 'limit'?"},
		{"localization_get_string_table", R"({"entry_limit":5})", "asset_path", "is required"},
		{"config_get_config_files", R"({"categories":"Base"})", "categories", "is not a parameter of this tool (it takes: category)"},
		{"config_set_setting", R"({"class":"RendererSettings","properties":[1]})", "properties", "must be an object, not an array"},
	};
	for (const FCase& Case : Cases)
	{
		const TSharedPtr<FJsonObject> Called = Call(Case.Tool, Case.Arguments);
		ASSERT_TRUE(Called.IsValid()) << Case.Arguments;
		EXPECT_TRUE(Called->GetBoolField(TEXT("isError"))) << Case.Arguments;
		const TSharedPtr<FJsonObject> Error = Called->GetObjectField(TEXT("structuredContent"));
		EXPECT_EQ(FieldNames(Error), (TArray<FString>{TEXT("code"), TEXT("message"), TEXT("parameter"), TEXT("problem")}));
		EXPECT_EQ(Error->GetNumberField(TEXT("code")), -32602.0);
		EXPECT_EQ(Str(Error, TEXT("parameter")), Case.Parameter) << Case.Arguments;
		EXPECT_EQ(Str(Error, TEXT("problem")), Case.Problem) << Case.Arguments;
		EXPECT_EQ(Str(Error, TEXT("message")), std::string("Invalid argument '") + Case.Parameter + "': " + Case.Problem);
		EXPECT_EQ(Text(Called), ToJson(Error));
	}

	// Within the schema, the action's own checks still decide.
	const TSharedPtr<FJsonObject> OutOfRange = Call("localization_list_cultures", R"({"limit":0})");
	EXPECT_TRUE(OutOfRange->GetBoolField(TEXT("isError")));
	const TSharedPtr<FJsonObject> Error = OutOfRange->GetObjectField(TEXT("structuredContent"));
	EXPECT_EQ(Error->GetNumberField(TEXT("code")), -32602.0);
	EXPECT_FALSE(Error->HasField(TEXT("parameter")));
	EXPECT_TRUE(Error->GetStringField(TEXT("message")).StartsWith(TEXT("Invalid parameter 'limit'"))) << Str(Error, TEXT("message"));
	EXPECT_EQ(Text(OutOfRange), ToJson(Error));

	// "any" takes every value, and an integer-valued number is an integer.
	const TSharedPtr<FJsonObject> Dry = Call("config_set_setting",
		R"({"class":"RendererSettings","property":"bEnableRayTracing","value":null,"dry_run":true})");
	EXPECT_FALSE(Dry->GetObjectField(TEXT("structuredContent"))->HasField(TEXT("parameter"))) << Text(Dry);
	EXPECT_FALSE(Call("localization_list_cultures", R"({"limit":5.0})")->GetBoolField(TEXT("isError")));
}

TEST_F(ToolProtocol, ResultsCarryTheirJsonAsText)
{
	Initialize("2025-06-18");
	const TSharedPtr<FJsonObject> Called = Call("localization_get_string_table", R"({"asset_path":"/Game/Localization/ST_Menu","entry_limit":1})");
	EXPECT_FALSE(Called->GetBoolField(TEXT("isError")));
	const TSharedPtr<FJsonObject> Structured = Called->GetObjectField(TEXT("structuredContent"));
	EXPECT_EQ(Structured->GetNumberField(TEXT("entries_returned")), 1.0);
	EXPECT_EQ(Text(Called), ToJson(Structured));

	const TSharedPtr<FJsonObject> Missing = Call("localization_get_string_table", R"({"asset_path":"/Game/Localization/ST_Nope"})");
	EXPECT_TRUE(Missing->GetBoolField(TEXT("isError")));
	EXPECT_EQ(Missing->GetObjectField(TEXT("structuredContent"))->GetNumberField(TEXT("code")), -32603.0);
	EXPECT_EQ(Text(Missing), ToJson(Missing->GetObjectField(TEXT("structuredContent"))));
}

TEST_F(ToolProtocol, MalformedCallsAndCursorsAreProtocolErrors)
{
	Initialize("2025-11-25");
	const char* const Lines[] = {
		R"({"jsonrpc":"2.0","id":3,"method":"tools/call","params":{"name":"config_get_config_files","arguments":"category=Base"}})",
		R"({"jsonrpc":"2.0","id":3,"method":"tools/call","params":{"name":"config_get_config_files","arguments":[]}})",
		R"({"jsonrpc":"2.0","id":3,"method":"tools/call","params":{"name":"config_get_config_files","arguments":null}})",
		R"({"jsonrpc":"2.0","id":3,"method":"tools/call","params":{"name":"config"}})",
		R"({"jsonrpc":"2.0","id":3,"method":"tools/call","params":{"name":"config.get_config_files"}})",
		R"({"jsonrpc":"2.0","id":3,"method":"tools/call","params":{"arguments":{}}})",
		R"({"jsonrpc":"2.0","id":3,"method":"tools/list","params":{"cursor":"2"}})",
		R"({"jsonrpc":"2.0","id":3,"method":"tools/list","params":{"cursor":null}})",
	};
	for (const char* Line : Lines)
	{
		EXPECT_EQ(ErrorCode(Line), -32602.0) << Line;
	}
	EXPECT_EQ(ErrorCode(R"({"jsonrpc":"2.0","id":3,"method":"notifications/initialized"})"), -32601.0);
	EXPECT_EQ(ErrorCode(R"({"jsonrpc":"2.0","id":3,"method":"resources/list"})"), -32601.0);
	EXPECT_FALSE(Call("config_get_config_files", "{}")->GetBoolField(TEXT("isError")));
}

TEST_F(ToolProtocol, ARequestCancelledBeforeItIsReadNeitherRunsNorAnswers)
{
	EXPECT_EQ(Handle(R"({"jsonrpc":"2.0","method":"notifications/cancelled","params":{"requestId":1}})"), "");
	EXPECT_TRUE(Initialize("2025-11-25")->HasField(TEXT("result")));
	const std::filesystem::path Written = Folders.ProjectDir() / "Config" / "DefaultEngine.ini";
	const std::string Write =
		R"({"jsonrpc":"2.0","id":"w1","method":"tools/call","params":{"name":"config_set_setting","arguments":{"class":"RendererSettings","property":"bEnableRayTracing","value":true}}})";

	EXPECT_EQ(Handle(R"({"jsonrpc":"2.0","method":"notifications/cancelled","params":{"requestId":"w1","reason":"user"}})"), "");
	EXPECT_EQ(Handle(Write), "");
	EXPECT_FALSE(std::filesystem::exists(Written));

	// A cancellation counts once, and only for its own id.
	EXPECT_EQ(Handle(R"({"jsonrpc":"2.0","method":"notifications/cancelled","params":{"requestId":7}})"), "");
	EXPECT_EQ(Handle(R"({"jsonrpc":"2.0","id":"7","method":"ping"})"), R"({"jsonrpc":"2.0","result":{},"id":"7"})");
	EXPECT_EQ(Handle(R"({"jsonrpc":"2.0","id":7,"method":"ping"})"), "");
	EXPECT_EQ(Handle(R"({"jsonrpc":"2.0","id":7,"method":"ping"})"), R"({"jsonrpc":"2.0","result":{},"id":7})");

	EXPECT_FALSE(Call("config_set_setting", R"({"class":"RendererSettings","property":"bEnableRayTracing","value":true})")->GetBoolField(TEXT("isError")));
	EXPECT_TRUE(std::filesystem::exists(Written));
}

TEST_F(ToolProtocolWithConfigOff, ADisabledNamespaceIsNotListedAndExplainsItself)
{
	Initialize("2025-11-25");
	EXPECT_EQ(ListTools().Num(), 4);

	const TSharedPtr<FJsonObject> Called = Call("config_get_config_files", "{}");
	EXPECT_TRUE(Called->GetBoolField(TEXT("isError")));
	const TSharedPtr<FJsonObject> Error = Called->GetObjectField(TEXT("structuredContent"));
	EXPECT_TRUE(Error->GetStringField(TEXT("message")).StartsWith(TEXT("config namespace disabled by user"))) << Text(Called);
	EXPECT_EQ(Text(Called), ToJson(Error));

	EXPECT_EQ(ErrorCode(R"({"jsonrpc":"2.0","id":3,"method":"config.get_config_files"})"), -32601.0);
}
