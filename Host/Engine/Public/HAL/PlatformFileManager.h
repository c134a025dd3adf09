#pragma once

#include "CoreMinimal.h"
#include "GenericPlatform/GenericPlatformFile.h"

class FPlatformFileManager
{
public:
	static FPlatformFileManager& Get();

	IPlatformFile& GetPlatformFile();
	// Host: replaces the platform file (tests, wrappers); nullptr restores the physical one.
	void SetPlatformFile(IPlatformFile* NewTopmostPlatformFile);

private:
	IPlatformFile* TopmostPlatformFile = nullptr;
};
