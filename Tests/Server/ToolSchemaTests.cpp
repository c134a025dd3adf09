// Tool input schemas generated from registered parameter schemas, and the argument check that
// goes with them, on schemas in every shape the registration format allows.
#include "ActionTestUtils.h"
#include "Containers/StringConv.h"
#include "OrvexMcpToolSchema.h"
#include "OrvexParamSchema.h"

#include <gtest/gtest.h>

namespace
{
	// A gameplay-tag action of another module: aliases, kinds, every type word and odd defaults.
	TSharedPtr<FJsonObject> MakeTagQuerySchema()
	{
		FParamSchemaBuilder Schema;
		Schema.AddParam(TEXT("tag"), TEXT("string"), TEXT("Gameplay tag to query"), true, FString(), false, {TEXT("gameplay_tag"), TEXT("name")}, EOrvexParamKind::GameplayTag);
		Schema.AddParam(TEXT("include_children"), TEXT("bool"), TEXT("Match child tags"), false, TEXT("True"), true, {}, EOrvexParamKind::None);
		Schema.AddParam(TEXT("weight"), TEXT("number"), TEXT("Minimum weight"), false, TEXT("0.5"), true, {}, EOrvexParamKind::None);
		Schema.AddParam(TEXT("depth"), TEXT("integer"), TEXT("Levels to descend"), false, TEXT("deep"), true, {}, EOrvexParamKind::None);
		Schema.AddParam(TEXT("sources"), TEXT("array"), TEXT("Tag source files"), false, TEXT("[\"DefaultGameplayTags.ini\"]"), true, {}, EOrvexParamKind::DiskPath);
		Schema.AddParam(TEXT("filter"), TEXT("object"), TEXT("Extra filter"), false, TEXT("{}"), true, {}, EOrvexParamKind::None);
		Schema.AddParam(TEXT("payload"), TEXT("any"), TEXT("Anything"), false, TEXT("3"), true, {}, EOrvexParamKind::Other);
		Schema.AddParam(TEXT("scale"), TEXT("float"), TEXT("A word the schema does not know"), false, FString(), false, {}, EOrvexParamKind::None);
		Schema.Optional(TEXT("label"), TEXT("string"), TEXT("Shown name"), TEXT("Untitled"));
		return Schema.Build();
	}

	OrvexMcp::FArgumentProblem Check(const TSharedPtr<FJsonObject>& Schema, const std::string& Arguments)
	{
		OrvexMcp::FArgumentProblem Problem;
		if (OrvexMcp::CheckArguments(Schema, *ParseObject(Arguments), Problem))
		{
			Problem.Problem = TEXT("fits");
		}
		return Problem;
	}

	std::string Describe(const OrvexMcp::FArgumentProblem& Problem)
	{
		return UE::Host::StringToUtf8(Problem.Parameter.IsEmpty() ? Problem.Problem : Problem.Parameter + TEXT(": ") + Problem.Problem);
	}
}

TEST(ToolSchema, NamesAndTitlesAreSafeForEveryClient)
{
	EXPECT_EQ(OrvexMcp::MakeToolName(TEXT("config"), TEXT("get_section")), TEXT("config_get_section"));
	EXPECT_EQ(OrvexMcp::MakeToolName(TEXT("asset-tools"), TEXT("find.by name")), TEXT("asset_tools_find_by_name"));
	EXPECT_EQ(OrvexMcp::MakeToolName(TEXT("ns"), TEXT("\u00e9t\u00e9")), TEXT("ns__t_"));
	EXPECT_EQ(OrvexMcp::MakeToolTitle(TEXT("config"), TEXT("diff_from_default")), TEXT("Config: Diff from default"));
}

TEST(ToolSchema, TypeWordsMapToJsonSchemaTypes)
{
	EXPECT_EQ(FString(OrvexMcp::ToJsonSchemaType(TEXT("bool"))), TEXT("boolean"));
	EXPECT_EQ(FString(OrvexMcp::ToJsonSchemaType(TEXT("boolean"))), TEXT("boolean"));
	EXPECT_EQ(FString(OrvexMcp::ToJsonSchemaType(TEXT("Integer"))), TEXT("integer"));
	for (const TCHAR* Same : {TEXT("string"), TEXT("number"), TEXT("array"), TEXT("object")})
	{
		EXPECT_EQ(FString(OrvexMcp::ToJsonSchemaType(Same)), Same);
	}
	EXPECT_EQ(OrvexMcp::ToJsonSchemaType(TEXT("any")), nullptr);
	EXPECT_EQ(OrvexMcp::ToJsonSchemaType(TEXT("float")), nullptr);
	EXPECT_EQ(OrvexMcp::ToJsonSchemaType(FString()), nullptr);
}

TEST(ToolSchema, SchemaHasOnePropertyPerNameAndTypedDefaults)
{
	EXPECT_EQ(ToJson(OrvexMcp::MakeInputSchema(MakeTagQuerySchema())),
		R"({"type":"object","properties":{)"
		R"("tag":{"type":"string","description":"Gameplay tag to query"},)"
		R"("gameplay_tag":{"type":"string","description":"Alias of 'tag'."},)"
		R"("name":{"type":"string","description":"Alias of 'tag'."},)"
		R"("include_children":{"type":"boolean","description":"Match child tags","default":true},)"
		R"("weight":{"type":"number","description":"Minimum weight","default":0.5},)"
		R"("depth":{"type":"integer","description":"Levels to descend"},)"
		R"("sources":{"type":"array","description":"Tag source files","default":["DefaultGameplayTags.ini"]},)"
		R"("filter":{"type":"object","description":"Extra filter","default":{}},)"
		R"("payload":{"description":"Anything","default":3},)"
		R"("scale":{"description":"A word the schema does not know"},)"
		R"("label":{"type":"string","description":"Shown name","default":"Untitled"}},)"
		R"("allOf":[{"anyOf":[{"properties":{"tag":true},"required":["tag"]},{"properties":{"gameplay_tag":true},"required":["gameplay_tag"]},)"
		R"({"properties":{"name":true},"required":["name"]}]}],)"
		R"("additionalProperties":false})");

	EXPECT_EQ(ToJson(OrvexMcp::MakeInputSchema(MakeShared<FJsonObject>())), R"({"type":"object","properties":{},"additionalProperties":false})");
	EXPECT_EQ(ToJson(OrvexMcp::MakeInputSchema(nullptr)), R"({"type":"object","properties":{},"additionalProperties":false})");
}

TEST(ToolSchema, ArgumentsAreCheckedAsTheSchemaSays)
{
	const TSharedPtr<FJsonObject> Schema = MakeTagQuerySchema();
	struct FCase
	{
		const char* Arguments;
		const char* Expected;
	};
	const FCase Cases[] = {
		{R"({"tag":"Ability.Fire"})", "fits"},
		{R"({"name":"Ability.Fire","weight":1,"depth":2,"payload":null,"scale":"x","filter":{},"sources":[]})", "fits"},
		{R"({"gameplay_tag":"A","tag":"B"})", "fits"},
		{R"({})", "tag: is required"},
		{R"({"label":"x"})", "tag: is required"},
		{R"({"gameplay_tag":7})", "gameplay_tag: must be a string, not an integer"},
		{R"({"tag":"A","include_children":1})", "include_children: must be a boolean, not an integer"},
		{R"({"tag":"A","weight":"heavy"})", "weight: must be a number, not a string"},
		{R"({"tag":"A","depth":1.5})", "depth: must be an integer, not a fractional number"},
		{R"({"tag":"A","sources":{}})", "sources: must be an array, not an object"},
		{R"({"tag":"A","filter":null})", "filter: must be an object, not null"},
		{R"({"TAG":"A"})", "TAG: is not a parameter of this tool; did you mean 'tag'?"},
		// An unknown name is reported before a missing one: it is usually the same mistake.
		{R"({"tga":"A"})", "tga: is not a parameter of this tool (it takes: tag, gameplay_tag, name, include_children, weight, depth, sources, filter, payload, scale, label)"},
	};
	for (const FCase& Case : Cases)
	{
		EXPECT_EQ(Describe(Check(Schema, Case.Arguments)), Case.Expected) << Case.Arguments;
	}
	EXPECT_EQ(Describe(Check(MakeShared<FJsonObject>(), R"({"x":1})")), "x: is not a parameter of this tool (it takes none)");
	EXPECT_EQ(Describe(Check(MakeShared<FJsonObject>(), "{}")), "fits");
}
