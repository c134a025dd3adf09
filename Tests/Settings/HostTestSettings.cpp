#include "HostTestSettings.h"

#include "HAL/IConsoleManager.h"
#include "Host/ReflectionBuilder.h"

namespace
{
	// test.ReadOnly stands for a variable its owner registers read-only, as the renderer does.
	const UE::Host::FConsoleVariableDeclaration GTestConsoleVariables[] = {
		{TEXT("test.ReadOnly"), ECVF_ReadOnly, nullptr},
	};
	const UE::Host::FConsoleVariableDeclarations GTestConsoleVariableDeclarations(GTestConsoleVariables);
}

UHostTestSettings::UHostTestSettings()
	: bFlagA(0)
	, bFlagB(1)
	, bFlagC(0)
	, bCVarReadOnly(0)
{
}
