// Start-up of the host's internationalization.
#pragma once

#include "CoreTypes.h"
#include "Containers/UnrealString.h"

namespace UE::Host
{
	// The locale of the environment (LC_ALL, then LC_MESSAGES, then LANG) without its codeset, or
	// "en" when none is set.
	FString GetSystemCultureName();

	// Makes the named culture (the system's when empty) the current language and locale; the
	// default culture stays the system's. A name that resolves to no culture falls back to "en"
	// and returns false.
	bool InitializeInternationalization(const FString& CultureName);

	// The same, left until the cultures are first asked for: building the catalogue reads every
	// locale ICU knows, which a process that never touches a culture need not pay for.
	void DeferInternationalization(const FString& CultureName);
}
