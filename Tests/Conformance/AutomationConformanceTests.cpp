// The automation framework (Misc/AutomationTest.h in Core) as the engine declares it, and its
// text comparison, which ignores letter case as the engine's does.
#include "ConformanceSupport.h"

#include "CoreMinimal.h"
#include "Misc/AutomationTest.h"

#include <gtest/gtest.h>

namespace AutomationConformance
{
	// The 5.5+ form: an enum class with separate mask constants.
	static_assert(!std::is_convertible_v<EAutomationTestFlags, uint32>, "EAutomationTestFlags is an enum class");
	static_assert(static_cast<uint32>(EAutomationTestFlags::EngineFilter) == 0x02000000u);
	static_assert(std::is_same_v<std::remove_cv_t<decltype(EAutomationTestFlags_ApplicationContextMask)>, EAutomationTestFlags>);
	static_assert(std::is_same_v<decltype(EAutomationTestFlags_ApplicationContextMask | EAutomationTestFlags::EngineFilter), EAutomationTestFlags>);

	CHECK_ENGINE_OVERLOAD(FAutomationTestBase::TestTrue, bool (FAutomationTestBase::*)(const TCHAR*, bool));
	CHECK_ENGINE_OVERLOAD(FAutomationTestBase::TestTrue, bool (FAutomationTestBase::*)(const FString&, bool));
	CHECK_ENGINE_OVERLOAD(FAutomationTestBase::TestFalse, bool (FAutomationTestBase::*)(const TCHAR*, bool));
	CHECK_ENGINE_OVERLOAD(FAutomationTestBase::TestFalse, bool (FAutomationTestBase::*)(const FString&, bool));
	CHECK_ENGINE_OVERLOAD(FAutomationTestBase::TestEqual, bool (FAutomationTestBase::*)(const TCHAR*, const FString&, const FString&));
	CHECK_ENGINE_OVERLOAD(FAutomationTestBase::TestEqual, bool (FAutomationTestBase::*)(const TCHAR*, const FString&, const TCHAR*));
	CHECK_ENGINE_OVERLOAD(FAutomationTestBase::TestEqual, bool (FAutomationTestBase::*)(const FString&, const FString&, const FString&));
	CHECK_ENGINE_OVERLOAD(FAutomationTestBase::TestEqual, bool (FAutomationTestBase::*)(const TCHAR*, int32, int32));
	// The module's integer checks name their subject with a TCHAR literal or a formatted FString.
	static_assert(requires(FAutomationTestBase& Test, const FString& What) {
		{ Test.TestEqual(What, 1, 1) } -> std::same_as<bool>;
		{ Test.TestEqual(TEXT("n"), 1, 1) } -> std::same_as<bool>;
	});

	IMPLEMENT_SIMPLE_AUTOMATION_TEST(FConformanceProbeTest, "Conformance.Probe", EAutomationTestFlags_ApplicationContextMask | EAutomationTestFlags::EngineFilter)
	static_assert(std::is_base_of_v<FAutomationTestBase, FConformanceProbeTest>);

	// Runs only when asked through this file's tests; records what each comparison answered.
	bool bProbeCaseInsensitiveText = false;
	bool bProbeExactText = false;
	bool bProbeIntegers = false;
}

bool AutomationConformance::FConformanceProbeTest::RunTest(const FString& Parameters)
{
	bProbeCaseInsensitiveText = TestEqual(TEXT("text"), FString(TEXT("Alpha")), FString(TEXT("ALPHA")));
	bProbeExactText = TestTrue(TEXT("exact text"), FString(TEXT("Alpha")).Equals(TEXT("ALPHA"), ESearchCase::CaseSensitive));
	bProbeIntegers = TestEqual(TEXT("count"), 3, 4);
	return true;
}

TEST(AutomationConformance, TextEqualityIgnoresLetterCaseAsInTheEditor)
{
	using namespace AutomationConformance;
	FConformanceProbeTest Probe(TEXT("FConformanceProbeTest"));
	EXPECT_FALSE(Probe.Execute(FString()));
	EXPECT_TRUE(bProbeCaseInsensitiveText) << "TestEqual(FString) compares ignoring case";
	EXPECT_FALSE(bProbeExactText) << "a case-sensitive comparison is written with Equals";
	EXPECT_FALSE(bProbeIntegers);
	// Two failed checks, nothing from the text comparison.
	EXPECT_EQ(Probe.GetErrors().Num(), 2);
}
