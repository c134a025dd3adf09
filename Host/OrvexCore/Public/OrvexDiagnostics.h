// Running engine code on behalf of a remote caller, where no one is at the keyboard.
#pragma once

#include "CoreMinimal.h"

namespace Orvex::Diagnostics
{
	// Marks the scope as an unattended script (GIsRunningUnattendedScript): code that would ask
	// the user, such as a settings class's change handling, takes its default answer instead of
	// prompting. The previous state comes back on destruction, so scopes nest.
	class ORVEXCORE_API FScopedUnattendedScript
	{
	public:
		FScopedUnattendedScript();
		~FScopedUnattendedScript();

		FScopedUnattendedScript(const FScopedUnattendedScript&) = delete;
		FScopedUnattendedScript& operator=(const FScopedUnattendedScript&) = delete;

	private:
		bool bWasRunningUnattendedScript;
	};
}
