#pragma once

#include "CoreMinimal.h"

ORVEXCORE_API DECLARE_LOG_CATEGORY_EXTERN(LogOrvex, Log, All);
