#include "CoreGlobals.h"

bool GIsRunningUnattendedScript = false;
