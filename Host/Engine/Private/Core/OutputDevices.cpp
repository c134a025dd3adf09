// GLog and GWarn: output devices that write to standard error in the log's line format.
#include "CoreGlobals.h"
#include "Misc/OutputDevice.h"

#include <cstdio>

namespace
{
	class FStandardErrorOutputDevice final : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
		{
			const ELogVerbosity::Type Level = static_cast<ELogVerbosity::Type>(Verbosity & ELogVerbosity::VerbosityMask);
			if (Level == ELogVerbosity::NoLogging || Level > ELogVerbosity::Log)
			{
				return;
			}
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
	};

	FStandardErrorOutputDevice GLogDevice;
	FStandardErrorOutputDevice GWarnDevice;
}

FOutputDevice* GLog = &GLogDevice;
FOutputDevice* GWarn = &GWarnDevice;
