#include "OrvexLog.h"

DEFINE_LOG_CATEGORY(LogOrvex);
