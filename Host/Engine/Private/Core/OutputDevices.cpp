// GLog and GWarn: output devices that write to standard error in the log's line format.
#include "CoreGlobals.h"
#include "Misc/OutputDevice.h"
#include "Misc/OutputDeviceRedirector.h"

#include <cstdio>

namespace
{
	void WriteToStandardError(const TCHAR* V, ELogVerbosity::Type Level, const FName& Category)
	{
		FString Line;
		if (!Category.IsNone())
		{
			Line = Category.ToString() + TEXT(": ");
		}
		Line += FString::Printf(TEXT("%s: %s\n"), ToString(Level), V ? V : TEXT(""));
		const std::string Utf8 = UE::Host::StringToUtf8(Line);
		std::fwrite(Utf8.data(), 1, Utf8.size(), stderr);
		std::fflush(stderr);
	}

	class FStandardErrorOutputDevice final : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			const ELogVerbosity::Type Level = static_cast<ELogVerbosity::Type>(Verbosity & ELogVerbosity::VerbosityMask);
			if (Level != ELogVerbosity::NoLogging && Level <= ELogVerbosity::Log)
			{
				WriteToStandardError(V, Level, Category);
			}
		}
	};

	FOutputDeviceRedirector GLogDevice;
	FStandardErrorOutputDevice GWarnDevice;
}

FOutputDeviceRedirector* GLog = &GLogDevice;
FOutputDevice* GWarn = &GWarnDevice;

void FOutputDeviceRedirector::AddOutputDevice(FOutputDevice* OutputDevice)
{
	std::lock_guard<std::mutex> Lock(Mutex);
	if (OutputDevice && !OutputDevices.Contains(OutputDevice))
	{
		OutputDevices.Add(OutputDevice);
	}
}

void FOutputDeviceRedirector::RemoveOutputDevice(FOutputDevice* OutputDevice)
{
	std::lock_guard<std::mutex> Lock(Mutex);
	OutputDevices.Remove(OutputDevice);
}

bool FOutputDeviceRedirector::IsRedirectingTo(FOutputDevice* OutputDevice)
{
	std::lock_guard<std::mutex> Lock(Mutex);
	return OutputDevices.Contains(OutputDevice);
}

void FOutputDeviceRedirector::Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category)
{
	const ELogVerbosity::Type Level = static_cast<ELogVerbosity::Type>(Verbosity & ELogVerbosity::VerbosityMask);
	if (Level == ELogVerbosity::NoLogging)
	{
		return;
	}
	// Whoever logs decided the line is wanted (the category's verbosity); it always reaches stderr.
	WriteToStandardError(V, Level, Category);

	// A device may log in turn; it is called without the list locked.
	TArray<FOutputDevice*> Devices;
	{
		std::lock_guard<std::mutex> Lock(Mutex);
		Devices = OutputDevices;
	}
	for (FOutputDevice* Device : Devices)
	{
		Device->Serialize(V, Verbosity, Category);
	}
}
