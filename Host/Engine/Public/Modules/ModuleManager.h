// Module registration by name and the manager that loads and unloads modules.
#pragma once

#include "CoreTypes.h"
#include "Containers/Array.h"
#include "Containers/UnrealString.h"
#include "Modules/ModuleInterface.h"
#include "UObject/NameTypes.h"

#include <memory>

typedef IModuleInterface* (*FInitializeModuleFunctionPtr)();

// A static registration of a module factory under the module's name.
class FModuleInitializerEntry
{
public:
	FModuleInitializerEntry(const TCHAR* InName, FInitializeModuleFunctionPtr InFunction, const TCHAR* InName2);
	~FModuleInitializerEntry();

	static FInitializeModuleFunctionPtr FindModule(const TCHAR* Name);

private:
	const TCHAR* Name;
	FInitializeModuleFunctionPtr Function;
	FModuleInitializerEntry* Next;
};

class FModuleManager
{
public:
	static FModuleManager& Get();

	// Creates the module through its registered factory and starts it; null if none is registered.
	IModuleInterface* LoadModule(FName ModuleName);
	IModuleInterface& LoadModuleChecked(FName ModuleName);
	template<typename TModuleInterface>
	static TModuleInterface& LoadModuleChecked(FName ModuleName) { return static_cast<TModuleInterface&>(Get().LoadModuleChecked(ModuleName)); }
	template<typename TModuleInterface>
	static TModuleInterface* GetModulePtr(FName ModuleName) { return static_cast<TModuleInterface*>(Get().GetModule(ModuleName)); }

	IModuleInterface* GetModule(FName ModuleName) const;
	bool IsModuleLoaded(FName ModuleName) const;
	// Calls PreUnloadCallback and ShutdownModule, then deletes the module.
	bool UnloadModule(FName ModuleName);
	// Unloads every module, last loaded first.
	void UnloadModulesAtShutdown();

private:
	struct FModuleEntry
	{
		FName Name;
		std::unique_ptr<IModuleInterface> Module;
	};

	TArray<std::shared_ptr<FModuleEntry>> Modules;
};

#define IMPLEMENT_MODULE(ModuleImplClass, ModuleName) \
	extern "C" IModuleInterface* Initialize##ModuleName##Module() \
	{ \
		return new ModuleImplClass(); \
	} \
	static FModuleInitializerEntry ModuleName##InitializerEntry(TEXT(#ModuleName), Initialize##ModuleName##Module, TEXT(#ModuleName));

#define IMPLEMENT_GAME_MODULE(ModuleImplClass, ModuleName) IMPLEMENT_MODULE(ModuleImplClass, ModuleName)
#define IMPLEMENT_PRIMARY_GAME_MODULE(ModuleImplClass, ModuleName, GameName) IMPLEMENT_MODULE(ModuleImplClass, ModuleName)
