// Boots the engine layer on an engine folder and a project folder, loads the OrvexConfig module,
// and tears everything down again.
#pragma once

#include "CoreMinimal.h"
#include "Host/HostEnvironment.h"

struct FHostOptions;

class FHostEngine
{
public:
	FHostEngine() = default;
	~FHostEngine();
	FHostEngine(const FHostEngine&) = delete;
	FHostEngine& operator=(const FHostEngine&) = delete;

	// Fills an environment from the command line: the bundled samples stand in for a missing
	// --engine/--project. False with a one-line reason for a folder that does not exist.
	static bool MakeEnvironment(const FHostOptions& Options, UE::Host::FEnvironment& OutEnvironment, FString& OutError);

	// Brings up paths, config, cultures, objects and assets, then loads the module.
	bool Startup(const UE::Host::FEnvironment& Environment, FString& OutError);
	// Unloads the module and shuts the systems down; safe to call twice.
	void Shutdown();
	// Unloads the module only, for a process about to exit: the memory of the systems goes back
	// with the process, so freeing it piece by piece would be work for nothing.
	void ShutdownForExit();

	bool IsRunning() const { return bRunning; }

private:
	bool bRunning = false;
};
