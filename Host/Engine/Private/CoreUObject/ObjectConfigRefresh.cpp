#include "ObjectConfigRefresh.h"

#include "ObjectConfigAccess.h"
#include "ObjectConfigText.h"
#include "UObject/Class.h"
#include "UObject/Object.h"
#include "UObject/UnrealType.h"

#include <mutex>

namespace
{
	namespace ObjectConfig = UE::Host::ObjectConfig;

	// Per object, per "<property>|<key>": the values the file was known to hold.
	struct FRemembered
	{
		std::mutex Mutex;
		TMap<const UObject*, TMap<FString, TArray<FString>>> Values;
	};

	FRemembered& GetRemembered()
	{
		static FRemembered Remembered;
		return Remembered;
	}

	FString EntryId(const FProperty* Property, const ObjectConfig::FConfigEntry& Entry)
	{
		return Property->GetName() + TEXT("|") + Entry.Key;
	}
}

namespace UE::Host::ObjectConfig
{
	void RememberConfigValues(UObject* Object, const FProperty* Property)
	{
		if (!Object || !Property || !Object->HasAnyFlags(RF_ClassDefaultObject))
		{
			return;
		}
		const TArray<FConfigEntry> Entries = ExportPropertyEntries(Object, Property);
		FRemembered& Remembered = GetRemembered();
		std::lock_guard<std::mutex> Lock(Remembered.Mutex);
		TMap<FString, TArray<FString>>& ForObject = Remembered.Values.FindOrAdd(Object);
		for (const FConfigEntry& Entry : Entries)
		{
			ForObject.Add(EntryId(Property, Entry), Entry.Values);
		}
	}

	void RefreshFromDisk(UObject* Object, const TArray<const FProperty*>& Properties, const FString& Category, const FString& File)
	{
		ReloadAfterWrite(Category, File);
		if (!Object)
		{
			return;
		}
		for (const FProperty* Property : Properties)
		{
			const TArray<FConfigEntry> Entries = ExportPropertyEntries(Object, Property);
			// Elements changed here keep their values across the reload.
			TArray<int32> Changed;
			bool bAnyUnchanged = false;
			{
				FRemembered& Remembered = GetRemembered();
				std::lock_guard<std::mutex> Lock(Remembered.Mutex);
				const TMap<FString, TArray<FString>>* ForObject = Remembered.Values.Find(Object);
				if (!ForObject)
				{
					return;
				}
				for (int32 Index = 0; Index < Entries.Num(); ++Index)
				{
					const TArray<FString>* Known = ForObject->Find(EntryId(Property, Entries[Index]));
					if (Known && *Known == Entries[Index].Values)
					{
						bAnyUnchanged = true;
					}
					else
					{
						Changed.Add(Index);
					}
				}
			}
			if (!bAnyUnchanged)
			{
				continue;
			}
			Object->LoadConfig(nullptr, nullptr, UE::LCPF_None, const_cast<FProperty*>(Property));
			const int32 PortFlags = GetPropertyPortFlags(Property);
			for (const int32 Index : Changed)
			{
				// Only a fixed-size array has more than one entry; a changed single value or dynamic
				// array is never reloaded.
				Property->ImportText_Direct(*Entries[Index].Values[0], Property->ContainerPtrToValuePtr<void>(Object, Index), Object, PortFlags);
			}
		}
	}

	bool HasChangedSinceLoaded(UObject* Object, const FProperty* Property)
	{
		if (!Object || !Property)
		{
			return false;
		}
		const TArray<FConfigEntry> Entries = ExportPropertyEntries(Object, Property);
		FRemembered& Remembered = GetRemembered();
		std::lock_guard<std::mutex> Lock(Remembered.Mutex);
		const TMap<FString, TArray<FString>>* ForObject = Remembered.Values.Find(Object);
		if (!ForObject)
		{
			return false;
		}
		for (const FConfigEntry& Entry : Entries)
		{
			const TArray<FString>* Known = ForObject->Find(EntryId(Property, Entry));
			if (Known && *Known != Entry.Values)
			{
				return true;
			}
		}
		return false;
	}

	void ForgetConfigValues()
	{
		FRemembered& Remembered = GetRemembered();
		std::lock_guard<std::mutex> Lock(Remembered.Mutex);
		Remembered.Values.Reset();
	}
}
