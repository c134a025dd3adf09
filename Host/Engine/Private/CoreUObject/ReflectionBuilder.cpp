#include "Host/ReflectionBuilder.h"

#include "HeaderObjectLayout.h"
#include "ObjectRegistry.h"
#include "ObjectSystemInternal.h"

#include <cstring>
#include <vector>

namespace UE::Host
{
	namespace
	{
		TArray<Private::FDeclaredConsoleVariable>& DeclaredConsoleVariables()
		{
			static TArray<Private::FDeclaredConsoleVariable>* Declared = new TArray<Private::FDeclaredConsoleVariable>();
			return *Declared;
		}

		TArray<const FConsoleVariableDeclaration*>& ConsoleVariableDeclarations()
		{
			static TArray<const FConsoleVariableDeclaration*>* Declarations = new TArray<const FConsoleVariableDeclaration*>();
			return *Declarations;
		}

		TArray<UClass* (*)()>& DeferredRegistrations()
		{
			static TArray<UClass* (*)()>* Registrations = new TArray<UClass* (*)()>();
			return *Registrations;
		}

		TArray<UObject*>& RuntimeObjects()
		{
			static TArray<UObject*>* Objects = new TArray<UObject*>();
			return *Objects;
		}
	}

	void InitializeNativeClass(UClass* Class, const TCHAR* PackageName, const TCHAR* ClassName, UClass* SuperClass, int32 Size, int32 Alignment, UClass::FNativeFactory Factory)
	{
		Class->SetSuperStruct(SuperClass);
		Class->ClassFlags |= CLASS_Native;
		if (SuperClass)
		{
			Class->ClassFlags |= SuperClass->ClassFlags & CLASS_Inherit;
			Class->ClassConfigName = SuperClass->ClassConfigName;
		}
		Class->SetPropertiesSize(Size);
		Class->SetMinAlignment(Alignment);
		Class->NativeFactory = Factory;
		UPackage* Package = CreatePackage(PackageName);
		FObjectRegistry::Get().Register(Class, nullptr, Package, FName(ClassName), RF_Public | RF_Standalone | RF_MarkAsNative);
	}

	void RegisterNativePlacementFactory(UClass* Class, UObject* (*Placement)(void* Memory))
	{
		Private::SetNativePlacement(Class, Placement);
	}

	void FinishNativeClass(UClass* Class)
	{
		Class->StaticLink();
		FObjectRegistry::Get().SetClass(Class, UClass::StaticClass());
	}

	void InitializeNativeStruct(UScriptStruct* Struct, const TCHAR* PackageName, const TCHAR* StructName, UScriptStruct* SuperStruct, std::unique_ptr<UScriptStruct::ICppStructOps> Ops)
	{
		Struct->SetSuperStruct(SuperStruct);
		Struct->SetCppStructOps(std::move(Ops));
		UPackage* Package = CreatePackage(PackageName);
		FObjectRegistry::Get().Register(Struct, nullptr, Package, FName(StructName), RF_Public | RF_Standalone | RF_MarkAsNative);
	}

	void FinishNativeStruct(UScriptStruct* Struct)
	{
		Struct->StaticLink();
		FObjectRegistry::Get().SetClass(Struct, UScriptStruct::StaticClass());
	}

	UEnum* ConstructNativeEnum(const TCHAR* PackageName, const TCHAR* EnumName, UEnum::ECppForm CppForm,
		const TArray<TPair<FName, int64>>& Names, const TArray<TPair<int32, TPair<FName, FString>>>& EnumeratorMetaData, const TMap<FName, FString>& EnumMetaData)
	{
		UEnum* Enum = new UEnum();
		UPackage* Package = CreatePackage(PackageName);
		FObjectRegistry::Get().Register(Enum, nullptr, Package, FName(EnumName), RF_Public | RF_Standalone | RF_MarkAsNative);
		FObjectRegistry::Get().SetClass(Enum, UEnum::StaticClass());
		Enum->SetEnums(Names, CppForm);
		for (const TPair<int32, TPair<FName, FString>>& Entry : EnumeratorMetaData)
		{
			Enum->SetMetaData(*Entry.Value.Key.ToString(), *Entry.Value.Value, Entry.Key);
		}
		for (const TPair<FName, FString>& Entry : EnumMetaData)
		{
			Enum->SetMetaData(Entry.Key, *Entry.Value);
		}
		return Enum;
	}

	FDeferredClassRegistration::FDeferredClassRegistration(UClass* (*StaticClassFunction)())
	{
		DeferredRegistrations().Add(StaticClassFunction);
	}

	void RunDeferredClassRegistrations()
	{
		for (UClass* (*StaticClassFunction)() : DeferredRegistrations())
		{
			StaticClassFunction();
		}
	}

	void DeclareConsoleVariable(const FProperty* Property, const TCHAR* Name)
	{
		Private::FDeclaredConsoleVariable Declared;
		Declared.Property = Property;
		Declared.Name = Name;
		DeclaredConsoleVariables().Add(Declared);
	}

	FConsoleVariableDeclarations::FConsoleVariableDeclarations(const FConsoleVariableDeclaration* Declarations, int32 Count)
	{
		for (int32 Index = 0; Index < Count; ++Index)
		{
			ConsoleVariableDeclarations().Add(&Declarations[Index]);
		}
	}

	bool FindBitfieldByteAndMask(void* Object, int32 ObjectSize, void (*SetBit)(void*, bool), int32& OutByteOffset, uint8& OutMask)
	{
		const uint8* Bytes = static_cast<const uint8*>(Object);
		const size_t Size = static_cast<size_t>(ObjectSize);
		SetBit(Object, false);
		std::vector<uint8> Cleared(Bytes, Bytes + Size);
		SetBit(Object, true);
		std::vector<uint8> Set(Bytes, Bytes + Size);
		SetBit(Object, false);

		int32 Found = INDEX_NONE;
		for (size_t Index = 0; Index < Size; ++Index)
		{
			if (Cleared[Index] != Set[Index])
			{
				if (Found != INDEX_NONE)
				{
					return false;
				}
				Found = static_cast<int32>(Index);
			}
		}
		if (Found == INDEX_NONE)
		{
			return false;
		}
		const uint8 Mask = static_cast<uint8>(Cleared[static_cast<size_t>(Found)] ^ Set[static_cast<size_t>(Found)]);
		// Exactly one bit.
		if ((Mask & (Mask - 1)) != 0)
		{
			return false;
		}
		OutByteOffset = Found;
		OutMask = Mask;
		return true;
	}

	namespace Private
	{
		const TArray<FDeclaredConsoleVariable>& GetDeclaredConsoleVariables()
		{
			// Flags and help come from the code that declares the variable, known by now.
			for (FDeclaredConsoleVariable& Declared : DeclaredConsoleVariables())
			{
				for (const FConsoleVariableDeclaration* Declaration : ConsoleVariableDeclarations())
				{
					if (Declared.Name == Declaration->Name)
					{
						Declared.Flags = Declaration->Flags;
						Declared.Help = Declaration->Help ? FString(Declaration->Help) : FString();
					}
				}
			}
			return DeclaredConsoleVariables();
		}

		void TrackRuntimeObject(UObject* Object)
		{
			RuntimeObjects().Add(Object);
		}

		bool DestroyRuntimeObject(UObject* Object)
		{
			TArray<UObject*>& Objects = RuntimeObjects();
			if (!Objects.Contains(Object))
			{
				return false;
			}
			// Inner objects were made after their outer, so walking from the newest releases them first.
			for (int32 Index = Objects.Num() - 1; Index >= 0; --Index)
			{
				UObject* Candidate = Objects[Index];
				if (Candidate != Object && Candidate->IsIn(Object))
				{
					Objects.RemoveAt(Index);
					Private::DeleteObject(Candidate);
				}
			}
			Objects.RemoveSingle(Object);
			Private::DeleteObject(Object);
			return true;
		}

		void DestroyRuntimeObjects()
		{
			TArray<UObject*>& Objects = RuntimeObjects();
			// Newest first: later objects may live inside earlier ones.
			while (!Objects.IsEmpty())
			{
				UObject* Object = Objects.Pop();
				Private::DeleteObject(Object);
			}
		}
	}
}
