#include "UObject/UObjectGlobals.h"

#include "ObjectRegistry.h"
#include "ObjectSystemInternal.h"

DEFINE_LOG_CATEGORY_STATIC(LogGarbage, Log, All);

void CollectGarbage(EObjectFlags KeepFlags, bool bPerformFullPurge)
{
	TArray<UObject*> Objects;
	UE::Host::FObjectRegistry::Get().GetAllObjects(Objects);
	TArray<UObject*> Garbage;
	for (UObject* Object : Objects)
	{
		if (Object->HasAnyFlags(RF_MirroredGarbage) && !Object->HasAnyFlags(KeepFlags))
		{
			Garbage.Add(Object);
		}
	}
	// An object inside another piece of garbage goes with it; destroying it first would leave a
	// dangling pointer in the list.
	TArray<UObject*> Outermost;
	for (UObject* Object : Garbage)
	{
		const bool bInsideGarbage = Garbage.ContainsByPredicate([Object](const UObject* Other) { return Other != Object && Object->IsIn(Other); });
		if (!bInsideGarbage)
		{
			Outermost.Add(Object);
		}
	}
	int32 NumDestroyed = 0;
	for (UObject* Object : Outermost)
	{
		NumDestroyed += UE::Host::Private::DestroyRuntimeObject(Object) ? 1 : 0;
	}
	UE_LOG(LogGarbage, Verbose, TEXT("Collected %d garbage objects"), NumDestroyed);
}
