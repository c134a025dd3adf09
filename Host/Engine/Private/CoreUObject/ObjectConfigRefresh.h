// Another process may write a config file between this one loading an object and saving it. An
// object's config values are remembered as loaded (or as last written), so that a writer about to
// rewrite the object's keys can tell the values this process changed from stale ones, and take
// the stale ones afresh from disk first.
#pragma once

#include "CoreMinimal.h"

class FProperty;
class UObject;

namespace UE::Host::ObjectConfig
{
	// Remembers Property's current values in Object as the ones its config file holds. Only class
	// default objects are remembered; they live as long as the object system.
	void RememberConfigValues(UObject* Object, const FProperty* Property);

	// Under the lock of File: rebuilds Category (and every category reading File) from disk, then
	// loads each of Properties afresh unless it no longer holds the remembered values (this process
	// changed it, and its write is what is about to happen). Objects that are not remembered keep
	// every value.
	void RefreshFromDisk(UObject* Object, const TArray<const FProperty*>& Properties, const FString& Category, const FString& File);

	// Whether Object no longer holds the values remembered for Property: this process changed it.
	// False for an object or property never remembered.
	bool HasChangedSinceLoaded(UObject* Object, const FProperty* Property);

	// Forgets every remembered object (the object system is going away).
	void ForgetConfigValues();
}
