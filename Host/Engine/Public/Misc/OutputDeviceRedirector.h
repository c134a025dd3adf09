// FOutputDeviceRedirector: the log (GLog) hands every line to the devices added to it, besides
// writing it to the host's standard error.
#pragma once

#include "CoreMinimal.h"
#include "Misc/OutputDevice.h"

#include <mutex>

class FOutputDeviceRedirector : public FOutputDevice
{
public:
	void AddOutputDevice(FOutputDevice* OutputDevice);
	void RemoveOutputDevice(FOutputDevice* OutputDevice);
	bool IsRedirectingTo(FOutputDevice* OutputDevice);

	virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override;

private:
	std::mutex Mutex;
	TArray<FOutputDevice*> OutputDevices;
};
