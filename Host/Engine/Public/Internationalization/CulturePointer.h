#pragma once

#include "Templates/SharedPointer.h"

class FCulture;

typedef TSharedRef<FCulture, ESPMode::ThreadSafe> FCultureRef;
typedef TSharedPtr<FCulture, ESPMode::ThreadSafe> FCulturePtr;
