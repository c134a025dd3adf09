// Log categories with a runtime verbosity. Every category registers itself so the host can set
// verbosities from the command line.
#pragma once

#include "CoreTypes.h"
#include "Logging/LogVerbosity.h"

class FString;

struct FLogCategoryBase
{
	FLogCategoryBase(const TCHAR* InCategoryName, ELogVerbosity::Type InDefaultVerbosity, ELogVerbosity::Type InCompileTimeVerbosity);
	~FLogCategoryBase();

	bool IsSuppressed(ELogVerbosity::Type VerbosityLevel) const
	{
		return (VerbosityLevel & ELogVerbosity::VerbosityMask) > Verbosity;
	}
	constexpr ELogVerbosity::Type GetVerbosity() const { return Verbosity; }
	void SetVerbosity(ELogVerbosity::Type NewVerbosity) { Verbosity = static_cast<ELogVerbosity::Type>(NewVerbosity & ELogVerbosity::VerbosityMask); }
	const TCHAR* GetCategoryName() const { return CategoryName; }
	ELogVerbosity::Type GetCompileTimeVerbosity() const { return CompileTimeVerbosity; }

private:
	ELogVerbosity::Type Verbosity;
	ELogVerbosity::Type DefaultVerbosity;
	ELogVerbosity::Type CompileTimeVerbosity;
	const TCHAR* CategoryName;
};

template<ELogVerbosity::Type InDefaultVerbosity, ELogVerbosity::Type InCompileTimeVerbosity>
struct FLogCategory : public FLogCategoryBase
{
	static constexpr ELogVerbosity::Type CompileTimeVerbosity = InCompileTimeVerbosity;

	explicit FLogCategory(const TCHAR* InCategoryName)
		: FLogCategoryBase(InCategoryName, InDefaultVerbosity, InCompileTimeVerbosity)
	{
	}
};

namespace UE::Host
{
	// Sets the runtime verbosity of one category (by name, case ignored) or of all of them.
	// A setting for a category that registers later is applied when it registers.
	void SetLogVerbosity(const FString& CategoryName, ELogVerbosity::Type Verbosity);
	void SetAllLogVerbosity(ELogVerbosity::Type Verbosity);
	FLogCategoryBase* FindLogCategory(const FString& CategoryName);
}
