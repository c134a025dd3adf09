#include "Logging/LogMacros.h"

#include "Containers/Map.h"
#include "CoreGlobals.h"
#include "Misc/OutputDeviceRedirector.h"
#include "UObject/NameTypes.h"

#include <cstdio>
#include <mutex>
#include <vector>

namespace
{
	struct FLogRegistry
	{
		std::mutex Mutex;
		std::vector<FLogCategoryBase*> Categories;
		TMap<FString, ELogVerbosity::Type> PendingVerbosity;
		bool bHasGlobalVerbosity = false;
		ELogVerbosity::Type GlobalVerbosity = ELogVerbosity::Log;
	};

	FLogRegistry& GetLogRegistry()
	{
		static FLogRegistry Registry;
		return Registry;
	}

	const TCHAR* const GVerbosityNames[] = {u"NoLogging", u"Fatal", u"Error", u"Warning", u"Display", u"Log", u"Verbose", u"VeryVerbose"};
}

const TCHAR* ToString(ELogVerbosity::Type Verbosity)
{
	const uint8 Index = Verbosity & ELogVerbosity::VerbosityMask;
	return Index < ELogVerbosity::NumVerbosity ? GVerbosityNames[Index] : u"UnknownVerbosity";
}

ELogVerbosity::Type ParseLogVerbosityFromString(const FString& VerbosityString)
{
	for (uint8 Index = 0; Index < ELogVerbosity::NumVerbosity; ++Index)
	{
		if (VerbosityString == GVerbosityNames[Index])
		{
			return static_cast<ELogVerbosity::Type>(Index);
		}
	}
	if (VerbosityString == TEXT("All"))
	{
		return ELogVerbosity::All;
	}
	return ELogVerbosity::NumVerbosity;
}

FLogCategoryBase::FLogCategoryBase(const TCHAR* InCategoryName, ELogVerbosity::Type InDefaultVerbosity, ELogVerbosity::Type InCompileTimeVerbosity)
	: Verbosity(InDefaultVerbosity)
	, DefaultVerbosity(InDefaultVerbosity)
	, CompileTimeVerbosity(InCompileTimeVerbosity)
	, CategoryName(InCategoryName)
{
	FLogRegistry& Registry = GetLogRegistry();
	std::lock_guard<std::mutex> Lock(Registry.Mutex);
	Registry.Categories.push_back(this);
	if (const ELogVerbosity::Type* Pending = Registry.PendingVerbosity.Find(FString(CategoryName)))
	{
		SetVerbosity(*Pending);
	}
	else if (Registry.bHasGlobalVerbosity)
	{
		SetVerbosity(Registry.GlobalVerbosity);
	}
}

FLogCategoryBase::~FLogCategoryBase()
{
	FLogRegistry& Registry = GetLogRegistry();
	std::lock_guard<std::mutex> Lock(Registry.Mutex);
	std::erase(Registry.Categories, this);
}

namespace UE::Host
{
	void SetLogVerbosity(const FString& CategoryName, ELogVerbosity::Type Verbosity)
	{
		FLogRegistry& Registry = GetLogRegistry();
		std::lock_guard<std::mutex> Lock(Registry.Mutex);
		Registry.PendingVerbosity.Add(CategoryName, Verbosity);
		for (FLogCategoryBase* Category : Registry.Categories)
		{
			if (CategoryName == Category->GetCategoryName())
			{
				Category->SetVerbosity(Verbosity);
			}
		}
	}

	void SetAllLogVerbosity(ELogVerbosity::Type Verbosity)
	{
		FLogRegistry& Registry = GetLogRegistry();
		std::lock_guard<std::mutex> Lock(Registry.Mutex);
		Registry.bHasGlobalVerbosity = true;
		Registry.GlobalVerbosity = Verbosity;
		Registry.PendingVerbosity.Reset();
		for (FLogCategoryBase* Category : Registry.Categories)
		{
			Category->SetVerbosity(Verbosity);
		}
	}

	FLogCategoryBase* FindLogCategory(const FString& CategoryName)
	{
		FLogRegistry& Registry = GetLogRegistry();
		std::lock_guard<std::mutex> Lock(Registry.Mutex);
		for (FLogCategoryBase* Category : Registry.Categories)
		{
			if (CategoryName == Category->GetCategoryName())
			{
				return Category;
			}
		}
		return nullptr;
	}

	void WriteLogLine(const FLogCategoryBase& Category, ELogVerbosity::Type Verbosity, const FString& Text)
	{
		GLog->Serialize(*Text, Verbosity, FName(Category.GetCategoryName()));
	}
}
