#include "OrvexSettings.h"

UOrvexSettings::UOrvexSettings()
{
	// Listed with the other plugins; the section shows the class's display name.
	CategoryName = TEXT("Plugins");
}
