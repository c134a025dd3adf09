#include "Modules/ModuleManager.h"

#include "Misc/CString.h"

namespace
{
	FModuleInitializerEntry*& GetFirstInitializer()
	{
		static FModuleInitializerEntry* First = nullptr;
		return First;
	}
}

FModuleInitializerEntry::FModuleInitializerEntry(const TCHAR* InName, FInitializeModuleFunctionPtr InFunction, const TCHAR* InName2)
	: Name(InName)
	, Function(InFunction)
	, Next(GetFirstInitializer())
{
	(void)InName2;
	GetFirstInitializer() = this;
}

FModuleInitializerEntry::~FModuleInitializerEntry()
{
	for (FModuleInitializerEntry** Link = &GetFirstInitializer(); *Link; Link = &(*Link)->Next)
	{
		if (*Link == this)
		{
			*Link = Next;
			break;
		}
	}
}

FInitializeModuleFunctionPtr FModuleInitializerEntry::FindModule(const TCHAR* Name)
{
	for (FModuleInitializerEntry* Entry = GetFirstInitializer(); Entry; Entry = Entry->Next)
	{
		if (FCString::Stricmp(Entry->Name, Name) == 0)
		{
			return Entry->Function;
		}
	}
	return nullptr;
}

FModuleManager& FModuleManager::Get()
{
	static FModuleManager Manager;
	return Manager;
}

IModuleInterface* FModuleManager::LoadModule(FName ModuleName)
{
	if (IModuleInterface* Existing = GetModule(ModuleName))
	{
		return Existing;
	}
	const FString NameText = ModuleName.ToString();
	FInitializeModuleFunctionPtr Factory = FModuleInitializerEntry::FindModule(*NameText);
	if (!Factory)
	{
		return nullptr;
	}
	auto Entry = std::make_shared<FModuleEntry>();
	Entry->Name = ModuleName;
	Entry->Module.reset(Factory());
	if (!Entry->Module)
	{
		return nullptr;
	}
	IModuleInterface* Module = Entry->Module.get();
	Modules.Add(Entry);
	Module->StartupModule();
	return Module;
}

IModuleInterface& FModuleManager::LoadModuleChecked(FName ModuleName)
{
	IModuleInterface* Module = LoadModule(ModuleName);
	check(Module);
	return *Module;
}

IModuleInterface* FModuleManager::GetModule(FName ModuleName) const
{
	for (const std::shared_ptr<FModuleEntry>& Entry : Modules)
	{
		if (Entry->Name == ModuleName)
		{
			return Entry->Module.get();
		}
	}
	return nullptr;
}

bool FModuleManager::IsModuleLoaded(FName ModuleName) const
{
	return GetModule(ModuleName) != nullptr;
}

bool FModuleManager::UnloadModule(FName ModuleName)
{
	for (int32 Index = 0; Index < Modules.Num(); ++Index)
	{
		if (Modules[Index]->Name == ModuleName)
		{
			std::shared_ptr<FModuleEntry> Entry = Modules[Index];
			Modules.RemoveAt(Index);
			Entry->Module->PreUnloadCallback();
			Entry->Module->ShutdownModule();
			Entry->Module.reset();
			return true;
		}
	}
	return false;
}

void FModuleManager::UnloadModulesAtShutdown()
{
	while (Modules.Num() > 0)
	{
		UnloadModule(Modules.Last()->Name);
	}
}
