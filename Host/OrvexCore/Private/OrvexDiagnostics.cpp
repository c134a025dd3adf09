#include "OrvexDiagnostics.h"

#include "Misc/CoreGlobals.h"

namespace Orvex::Diagnostics
{
	FScopedUnattendedScript::FScopedUnattendedScript()
		: bWasRunningUnattendedScript(GIsRunningUnattendedScript)
	{
		GIsRunningUnattendedScript = true;
	}

	FScopedUnattendedScript::~FScopedUnattendedScript()
	{
		GIsRunningUnattendedScript = bWasRunningUnattendedScript;
	}
}
