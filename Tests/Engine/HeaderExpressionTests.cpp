// Constant expressions of headers: enumerator values and static array sizes.
#include "HeaderTool/HeaderExpressions.h"

#include <gtest/gtest.h>

#include <map>

using namespace UE::Host::Headers;

TEST(HeaderExpressions, EvaluatesWhatHeadersWriteAndRefusesTheRest)
{
	const std::map<std::string, int64_t> Names = {{"ETags::MaxTags", 32}, {"::SP_NumPlatforms", 50}, {"A::B::C", 7}};
	const FConstantLookup Lookup = [&Names](const std::string& Scope, const std::string& Name, int64_t& OutValue)
	{
		const auto Found = Names.find(Scope + "::" + Name);
		if (Found == Names.end())
		{
			return false;
		}
		OutValue = Found->second;
		return true;
	};
	const std::pair<const char*, int64_t> Good[] = {
		{"4", 4}, {"0x10", 16}, {"010", 8}, {"3u", 3}, {"16ULL", 16},
		{"SP_NumPlatforms", 50}, {"ETags::MaxTags", 32}, {"A::B::C", 7},
		{"static_cast<int32>(ETags::MaxTags)", 32}, {"(int32)ETags::MaxTags + 1", 33}, {"uint8(SP_NumPlatforms)", 50},
		{"1 << 3 | 1", 9}, {"2 + 3 * 4", 14}, {"(2 + 3) * 4", 20}, {"-(1) + ~0 + !0", -1}, {"17 % 5 - 10 / 3", -1},
		{"0xFF & 0x0F ^ 0x03", 0x0C},
	};
	for (const auto& [Text, Expected] : Good)
	{
		int64_t Value = -99;
		EXPECT_TRUE(EvaluateIntegerExpression(Text, Lookup, Value)) << Text;
		EXPECT_EQ(Value, Expected) << Text;
	}
	for (const char* Bad : {"", "Unknown", "1 / 0", "5 % 0", "1.5f", "2 +", "(3", "3)", "sizeof(FVector)", "\"4\""})
	{
		int64_t Value = 0;
		EXPECT_FALSE(EvaluateIntegerExpression(Bad, Lookup, Value)) << Bad;
	}
}
