// Automation tests as the editor declares them. Tests register themselves by name; the host's
// runner (or the editor's session frontend) executes them.
#pragma once

#include "CoreMinimal.h"
#include "Misc/EnumClassFlags.h"

enum class EAutomationTestFlags : uint32
{
	None = 0x00000000,
	EditorContext = 0x00000001,
	ClientContext = 0x00000002,
	ServerContext = 0x00000004,
	CommandletContext = 0x00000008,
	ProgramContext = 0x00000010,
	NonNullRHI = 0x00000100,
	RequiresUser = 0x00000200,
	Disabled = 0x00010000,
	CriticalPriority = 0x00100000,
	HighPriority = 0x00200000,
	MediumPriority = 0x00400000,
	LowPriority = 0x00800000,
	SmokeFilter = 0x01000000,
	EngineFilter = 0x02000000,
	ProductFilter = 0x04000000,
	PerfFilter = 0x08000000,
	StressFilter = 0x10000000,
	NegativeFilter = 0x20000000,
};
ENUM_CLASS_FLAGS(EAutomationTestFlags)

constexpr EAutomationTestFlags EAutomationTestFlags_ApplicationContextMask = EAutomationTestFlags::EditorContext | EAutomationTestFlags::ClientContext
	| EAutomationTestFlags::ServerContext | EAutomationTestFlags::CommandletContext | EAutomationTestFlags::ProgramContext;
constexpr EAutomationTestFlags EAutomationTestFlags_FeatureMask = EAutomationTestFlags::NonNullRHI | EAutomationTestFlags::RequiresUser;
constexpr EAutomationTestFlags EAutomationTestFlags_PriorityMask = EAutomationTestFlags::CriticalPriority | EAutomationTestFlags::HighPriority
	| EAutomationTestFlags::MediumPriority | EAutomationTestFlags::LowPriority;
constexpr EAutomationTestFlags EAutomationTestFlags_FilterMask = EAutomationTestFlags::SmokeFilter | EAutomationTestFlags::EngineFilter
	| EAutomationTestFlags::ProductFilter | EAutomationTestFlags::PerfFilter | EAutomationTestFlags::StressFilter | EAutomationTestFlags::NegativeFilter;

class FAutomationTestBase
{
public:
	FAutomationTestBase(const FString& InName, const bool bInComplexTask);
	virtual ~FAutomationTestBase();

	virtual EAutomationTestFlags GetTestFlags() const = 0;
	virtual FString GetBeautifiedTestName() const = 0;
	const FString& GetTestName() const { return TestName; }

	// Runs the test and returns true when it passed (it returned true and raised no error).
	bool Execute(const FString& Parameters);

	virtual void AddError(const FString& InError, int32 StackOffset = 0);
	virtual void AddWarning(const FString& InWarning, int32 StackOffset = 0);
	virtual void AddInfo(const FString& InLogItem, int32 StackOffset = 0);
	bool HasAnyErrors() const { return Errors.Num() > 0; }
	const TArray<FString>& GetErrors() const { return Errors; }

	bool TestTrue(const TCHAR* What, bool Value);
	bool TestTrue(const FString& What, bool Value) { return TestTrue(*What, Value); }
	bool TestFalse(const TCHAR* What, bool Value);
	bool TestFalse(const FString& What, bool Value) { return TestFalse(*What, Value); }
	bool TestEqual(const TCHAR* What, int32 Actual, int32 Expected);
	bool TestEqual(const TCHAR* What, int64 Actual, int64 Expected);
	bool TestEqual(const TCHAR* What, double Actual, double Expected, double Tolerance = 1.e-4);
	bool TestEqual(const TCHAR* What, bool Actual, bool Expected);
	bool TestEqual(const TCHAR* What, const FString& Actual, const FString& Expected);
	bool TestEqual(const TCHAR* What, const TCHAR* Actual, const TCHAR* Expected) { return TestEqual(What, FString(Actual), FString(Expected)); }
	bool TestEqual(const TCHAR* What, const FString& Actual, const TCHAR* Expected) { return TestEqual(What, Actual, FString(Expected)); }
	bool TestEqual(const TCHAR* What, const FName& Actual, const FName& Expected);
	template<typename ValueType>
	bool TestEqual(const FString& What, const ValueType& Actual, const ValueType& Expected) { return TestEqual(*What, Actual, Expected); }
	template<typename ValueType>
	bool TestNotNull(const TCHAR* What, const ValueType* Pointer) { return TestTrue(What, Pointer != nullptr); }
	template<typename ValueType>
	bool TestNull(const TCHAR* What, const ValueType* Pointer) { return TestTrue(What, Pointer == nullptr); }
	template<typename ValueType>
	bool TestValid(const TCHAR* What, const TSharedPtr<ValueType>& Pointer) { return TestTrue(What, Pointer.IsValid()); }

protected:
	virtual bool RunTest(const FString& Parameters) = 0;

	FString TestName;

private:
	TArray<FString> Errors;
};

class FAutomationTestFramework
{
public:
	static FAutomationTestFramework& Get();

	void RegisterAutomationTest(const FString& InTestNameToRegister, FAutomationTestBase* InTestToRegister);
	void UnregisterAutomationTest(const FString& InTestNameToUnregister);
	// Registered tests whose pretty names start with the filter, in name order.
	TArray<FAutomationTestBase*> GetTests(const FString& PrettyNameFilter = FString()) const;

private:
	TArray<FAutomationTestBase*> Tests;
};

#define IMPLEMENT_SIMPLE_AUTOMATION_TEST_PRIVATE(TClass, PrettyName, TFlags, bComplex) \
	static_assert(EnumHasAnyFlags(TFlags, EAutomationTestFlags_ApplicationContextMask), "AutomationTest has no application flag.  It shouldn't run.  See AutomationTest.h."); \
	class TClass : public FAutomationTestBase \
	{ \
	public: \
		TClass(const FString& InName) : FAutomationTestBase(InName, bComplex) {} \
		virtual EAutomationTestFlags GetTestFlags() const override { return TFlags; } \
		virtual FString GetBeautifiedTestName() const override { return TEXT(PrettyName); } \
	protected: \
		virtual bool RunTest(const FString& Parameters) override; \
	};

#define IMPLEMENT_SIMPLE_AUTOMATION_TEST(TClass, PrettyName, TFlags) \
	IMPLEMENT_SIMPLE_AUTOMATION_TEST_PRIVATE(TClass, PrettyName, TFlags, false) \
	namespace \
	{ \
		TClass TClass##AutomationTestInstance(TEXT(#TClass)); \
	}
