#include "Misc/CoreGlobals.h"

bool GIsRunningUnattendedScript = false;
