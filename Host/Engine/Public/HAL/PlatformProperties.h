// Compile-time properties of the running binary. The platform name is also the folder of the
// saved configuration (Saved/Config/<PlatformName>/).
#pragma once

#include "HAL/Platform.h"

struct FPlatformProperties
{
	static constexpr const char* IniPlatformName() { return "Linux"; }
	static constexpr const char* PlatformName() { return "LinuxEditor"; }
	static constexpr bool HasEditorOnlyData() { return true; }
	static constexpr bool RequiresCookedData() { return false; }
	static constexpr bool IsServerOnly() { return false; }
};
