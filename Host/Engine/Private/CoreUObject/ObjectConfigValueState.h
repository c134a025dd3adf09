// What the host knows of each config value of an object, so that a writer never puts in a file
// a value the host could not read or does not know: the texts LoadConfig could not import, and
// whether a value came from the config layers, from a default the host knows, or from this
// process.
#pragma once

#include "CoreMinimal.h"

class FProperty;
class UObject;

namespace UE::Host::ObjectConfig
{
	// LoadConfig's outcome for Property: whether the layers held a key for it, and the texts of
	// those keys it could not import (none when every one was read).
	void NoteLoaded(UObject* Object, const FProperty* Property, bool bFoundInLayers, const TArray<FString>& UnreadTexts);
	// A writer put Property's value in a file: from now on the files hold it.
	void NoteWritten(UObject* Object, const FProperty* Property);
	// A writer rewrote Object's saved values from memory: the value of Property is remembered as
	// the files now hold it, and counts as written when the host knew it (a value it did not know
	// was left out).
	void NoteRewritten(UObject* Object, const FProperty* Property);

	// Why Properties of Object must not be rewritten from memory: the first whose config text
	// could not be read, with that text. Empty when every one was read.
	FString FindUnreadConfigValue(UObject* Object, const TArray<const FProperty*>& Properties);

	// Whether the host knows Object's value of Property: it came from the config layers or a file
	// this process wrote, it is the class default and the host knows that default, or this process
	// changed it since it was loaded.
	bool IsConfigValueKnown(UObject* Object, const FProperty* Property);

	// Forgets every object (the object system is going away).
	void ForgetValueStates();
}
