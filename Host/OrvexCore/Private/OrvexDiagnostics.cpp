#include "OrvexDiagnostics.h"

#include "CoreGlobals.h"

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
