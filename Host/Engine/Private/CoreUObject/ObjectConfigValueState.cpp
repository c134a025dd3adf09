#include "ObjectConfigValueState.h"

#include "HeaderTypes.h"
#include "ObjectConfigRefresh.h"
#include "UObject/Class.h"
#include "UObject/Object.h"
#include "UObject/UnrealType.h"

#include <mutex>

namespace
{
	struct FValueState
	{
		bool bFromFiles = false;
		TArray<FString> UnreadTexts;
	};

	struct FValueStates
	{
		std::mutex Mutex;
		TMap<const UObject*, TMap<const FProperty*, FValueState>> States;
	};

	FValueStates& GetStates()
	{
		static FValueStates States;
		return States;
	}
}

namespace UE::Host::ObjectConfig
{
	void NoteLoaded(UObject* Object, const FProperty* Property, bool bFoundInLayers, const TArray<FString>& UnreadTexts)
	{
		if (!Object || !Property)
		{
			return;
		}
		FValueStates& States = GetStates();
		std::lock_guard<std::mutex> Lock(States.Mutex);
		FValueState& State = States.States.FindOrAdd(Object).FindOrAdd(Property);
		State.bFromFiles = bFoundInLayers;
		State.UnreadTexts = UnreadTexts;
	}

	void NoteWritten(UObject* Object, const FProperty* Property)
	{
		if (!Object || !Property)
		{
			return;
		}
		FValueStates& States = GetStates();
		std::lock_guard<std::mutex> Lock(States.Mutex);
		FValueState& State = States.States.FindOrAdd(Object).FindOrAdd(Property);
		State.bFromFiles = true;
		State.UnreadTexts.Empty();
	}

	FString FindUnreadConfigValue(UObject* Object, const TArray<const FProperty*>& Properties)
	{
		FValueStates& States = GetStates();
		std::lock_guard<std::mutex> Lock(States.Mutex);
		const TMap<const FProperty*, FValueState>* ForObject = States.States.Find(Object);
		if (!ForObject)
		{
			return FString();
		}
		for (const FProperty* Property : Properties)
		{
			const FValueState* State = ForObject->Find(Property);
			// A value this process set since is the caller's: it replaces the text on purpose.
			if (State && State->UnreadTexts.Num() > 0 && !HasChangedSinceLoaded(Object, Property))
			{
				return FString::Printf(TEXT("the config value of '%s' could not be read from '%s'"), *Property->GetName(), *State->UnreadTexts[0]);
			}
		}
		return FString();
	}

	bool IsConfigValueKnown(UObject* Object, const FProperty* Property)
	{
		if (!Object || !Property)
		{
			return false;
		}
		{
			FValueStates& States = GetStates();
			std::lock_guard<std::mutex> Lock(States.Mutex);
			const TMap<const FProperty*, FValueState>* ForObject = States.States.Find(Object);
			const FValueState* State = ForObject ? ForObject->Find(Property) : nullptr;
			if (State && State->bFromFiles)
			{
				return true;
			}
		}
		return UE::Host::Private::IsDefaultKnown(Object->GetClass(), Property) || HasChangedSinceLoaded(Object, Property);
	}

	void NoteRewritten(UObject* Object, const FProperty* Property)
	{
		// Asked before the values are remembered: afterwards no value counts as changed.
		const bool bKnown = IsConfigValueKnown(Object, Property);
		RememberConfigValues(Object, Property);
		if (bKnown)
		{
			NoteWritten(Object, Property);
		}
	}

	void ForgetValueStates()
	{
		FValueStates& States = GetStates();
		std::lock_guard<std::mutex> Lock(States.Mutex);
		States.States.Reset();
	}
}
