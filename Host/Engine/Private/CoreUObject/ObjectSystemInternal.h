// Bookkeeping shared by the object system's source files.
#pragma once

#include "CoreMinimal.h"

class UObject;
class FProperty;

namespace UE::Host::Private
{
	// Objects made by StaticConstructObject_Internal that are not class default objects; they are
	// released when the object system shuts down.
	void TrackRuntimeObject(UObject* Object);
	void DestroyRuntimeObjects();
	// Destroys one object made at run time, after everything inside it (newest first). Objects
	// that belong to the code (classes, their packages) are left alone: false.
	bool DestroyRuntimeObject(UObject* Object);

	struct FDeclaredConsoleVariable
	{
		const FProperty* Property = nullptr;
		FString Name;
		uint32 Flags = 0;
		FString Help;
	};

	// Console variables named by ConsoleVariable metadata, as the class builders declared them.
	const TArray<FDeclaredConsoleVariable>& GetDeclaredConsoleVariables();
}
