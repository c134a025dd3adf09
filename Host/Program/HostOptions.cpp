#include "CoreMinimal.h"
