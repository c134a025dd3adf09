// FOutputDevice: where log text and import errors go. GLog and GWarn (CoreGlobals.h) are
// output devices that write to the host's log.
#pragma once

#include "CoreMinimal.h"
#include "Logging/LogVerbosity.h"

class FOutputDevice
{
public:
	FOutputDevice() = default;
	FOutputDevice(const FOutputDevice&) = default;
	FOutputDevice& operator=(const FOutputDevice&) = default;
	virtual ~FOutputDevice() = default;

	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) = 0;
	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category, const double Time)
	{
		Serialize(V, Verbosity, Category);
	}
	virtual void Flush() {}
	// A device that says so is handed lines on the thread that logs them, without buffering.
	virtual bool CanBeUsedOnAnyThread() const { return false; }

	void Log(const TCHAR* Str) { Serialize(Str, ELogVerbosity::Log, NAME_None); }
	void Log(const FString& Str) { Serialize(*Str, ELogVerbosity::Log, NAME_None); }
	void Log(ELogVerbosity::Type Verbosity, const FString& Str) { Serialize(*Str, Verbosity, NAME_None); }
	void Log(const FName& Category, ELogVerbosity::Type Verbosity, const FString& Str) { Serialize(*Str, Verbosity, Category); }

	template<typename FmtType, typename... Types>
	void Logf(const FmtType& Fmt, Types... Args)
	{
		Serialize(*FString::Printf(Fmt, Args...), ELogVerbosity::Log, NAME_None);
	}

	template<typename FmtType, typename... Types>
	void Logf(ELogVerbosity::Type Verbosity, const FmtType& Fmt, Types... Args)
	{
		Serialize(*FString::Printf(Fmt, Args...), Verbosity, NAME_None);
	}

	template<typename FmtType, typename... Types>
	void CategorizedLogf(const FName& Category, ELogVerbosity::Type Verbosity, const FmtType& Fmt, Types... Args)
	{
		Serialize(*FString::Printf(Fmt, Args...), Verbosity, Category);
	}
};
