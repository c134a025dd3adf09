#include "Misc/AutomationTest.h"

#include <algorithm>
#include <cmath>

DEFINE_LOG_CATEGORY_STATIC(LogAutomationTest, Log, All);

FAutomationTestBase::FAutomationTestBase(const FString& InName, const bool bInComplexTask)
	: TestName(InName)
{
	(void)bInComplexTask;
	FAutomationTestFramework::Get().RegisterAutomationTest(InName, this);
}

FAutomationTestBase::~FAutomationTestBase()
{
	FAutomationTestFramework::Get().UnregisterAutomationTest(TestName);
}

bool FAutomationTestBase::Execute(const FString& Parameters)
{
	Errors.Reset();
	const bool bReturned = RunTest(Parameters);
	return bReturned && !HasAnyErrors();
}

void FAutomationTestBase::AddError(const FString& InError, int32 StackOffset)
{
	Errors.Add(InError);
	UE_LOG(LogAutomationTest, Error, TEXT("%s: %s"), *GetBeautifiedTestName(), *InError);
}

void FAutomationTestBase::AddWarning(const FString& InWarning, int32 StackOffset)
{
	UE_LOG(LogAutomationTest, Warning, TEXT("%s: %s"), *GetBeautifiedTestName(), *InWarning);
}

void FAutomationTestBase::AddInfo(const FString& InLogItem, int32 StackOffset)
{
}

bool FAutomationTestBase::TestTrue(const TCHAR* What, bool Value)
{
	if (!Value)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be true."), What));
	}
	return Value;
}

bool FAutomationTestBase::TestFalse(const TCHAR* What, bool Value)
{
	if (Value)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be false."), What));
	}
	return !Value;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, int32 Actual, int32 Expected)
{
	return TestEqual(What, static_cast<int64>(Actual), static_cast<int64>(Expected));
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, int64 Actual, int64 Expected)
{
	if (Actual != Expected)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %lld, but it was %lld."), What, Expected, Actual));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, double Actual, double Expected, double Tolerance)
{
	if (std::abs(Actual - Expected) > Tolerance)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %g, but it was %g."), What, Expected, Actual));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, bool Actual, bool Expected)
{
	if (Actual != Expected)
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be %s."), What, Expected ? TEXT("true") : TEXT("false")));
		return false;
	}
	return true;
}

// Texts compare ignoring letter case, as the editor's framework does.
bool FAutomationTestBase::TestEqual(const TCHAR* What, const FString& Actual, const FString& Expected)
{
	if (!Actual.Equals(Expected, ESearchCase::IgnoreCase))
	{
		AddError(FString::Printf(TEXT("Expected '%s' to be \"%s\", but it was \"%s\"."), What, *Expected, *Actual));
		return false;
	}
	return true;
}

bool FAutomationTestBase::TestEqual(const TCHAR* What, const FName& Actual, const FName& Expected)
{
	return TestEqual(What, Actual.ToString(), Expected.ToString());
}

FAutomationTestFramework& FAutomationTestFramework::Get()
{
	static FAutomationTestFramework Framework;
	return Framework;
}

void FAutomationTestFramework::RegisterAutomationTest(const FString& InTestNameToRegister, FAutomationTestBase* InTestToRegister)
{
	Tests.Add(InTestToRegister);
}

void FAutomationTestFramework::UnregisterAutomationTest(const FString& InTestNameToUnregister)
{
	Tests.RemoveAll([&InTestNameToUnregister](FAutomationTestBase* Test) { return Test->GetTestName().Equals(InTestNameToUnregister); });
}

TArray<FAutomationTestBase*> FAutomationTestFramework::GetTests(const FString& PrettyNameFilter) const
{
	TArray<FAutomationTestBase*> Matching = Tests.FilterByPredicate([&PrettyNameFilter](FAutomationTestBase* Test)
	{
		return PrettyNameFilter.IsEmpty() || Test->GetBeautifiedTestName().StartsWith(PrettyNameFilter, ESearchCase::CaseSensitive);
	});
	Matching.Sort([](const FAutomationTestBase& A, const FAutomationTestBase& B)
	{
		return A.GetBeautifiedTestName().Compare(B.GetBeautifiedTestName(), ESearchCase::CaseSensitive) < 0;
	});
	return Matching;
}
