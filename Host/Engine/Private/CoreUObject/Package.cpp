#include "UObject/Package.h"

bool UObject::MarkPackageDirty() const
{
	UPackage* Package = GetOutermost();
	if (!Package || HasAnyFlags(RF_ClassDefaultObject) || Package->HasAnyFlags(RF_Transient) || Package->HasAnyPackageFlags(PKG_CompiledIn))
	{
		return false;
	}
	Package->SetDirtyFlag(true);
	return true;
}
