#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"
#include "Logging/LogCategory.h"
#include "Logging/LogVerbosity.h"

namespace UE::Host
{
	// Writes "Category: Verbosity: text" to standard error.
	void WriteLogLine(const FLogCategoryBase& Category, ELogVerbosity::Type Verbosity, const FString& Text);
}

#define DECLARE_LOG_CATEGORY_EXTERN(CategoryName, DefaultVerbosity, CompileTimeVerbosity) \
	extern struct FLogCategory##CategoryName : public FLogCategory<ELogVerbosity::DefaultVerbosity, ELogVerbosity::CompileTimeVerbosity> \
	{ \
		FLogCategory##CategoryName() : FLogCategory(TEXT(#CategoryName)) {} \
	} CategoryName;

#define DEFINE_LOG_CATEGORY(CategoryName) FLogCategory##CategoryName CategoryName;

#define DEFINE_LOG_CATEGORY_STATIC(CategoryName, DefaultVerbosity, CompileTimeVerbosity) \
	static struct FLogCategory##CategoryName : public FLogCategory<ELogVerbosity::DefaultVerbosity, ELogVerbosity::CompileTimeVerbosity> \
	{ \
		FLogCategory##CategoryName() : FLogCategory(TEXT(#CategoryName)) {} \
	} CategoryName;

#define DECLARE_LOG_CATEGORY_CLASS(CategoryName, DefaultVerbosity, CompileTimeVerbosity) \
	DEFINE_LOG_CATEGORY_STATIC(CategoryName, DefaultVerbosity, CompileTimeVerbosity)

#define UE_LOG_ACTIVE(CategoryName, Verbosity) (!CategoryName.IsSuppressed(ELogVerbosity::Verbosity))

#define UE_LOG(CategoryName, Verbosity, Format, ...) \
	do \
	{ \
		if (!CategoryName.IsSuppressed(ELogVerbosity::Verbosity)) \
		{ \
			::UE::Host::WriteLogLine(CategoryName, ELogVerbosity::Verbosity, FString::Printf(Format, ##__VA_ARGS__)); \
		} \
	} while (0)

#define UE_CLOG(Condition, CategoryName, Verbosity, Format, ...) \
	do \
	{ \
		if (Condition) \
		{ \
			UE_LOG(CategoryName, Verbosity, Format, ##__VA_ARGS__); \
		} \
	} while (0)
