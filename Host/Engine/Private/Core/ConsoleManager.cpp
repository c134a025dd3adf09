// The console manager: variables by name (case ignored), each remembering who set it last.
#include "HAL/IConsoleManager.h"

#include <memory>

DEFINE_LOG_CATEGORY_STATIC(LogConsoleManager, Log, All);

namespace
{
	const TCHAR* GetSetByName(uint32 SetBy)
	{
		switch (SetBy & ECVF_SetByMask)
		{
		case ECVF_SetByConstructor: return TEXT("Constructor");
		case ECVF_SetByScalability: return TEXT("Scalability");
		case ECVF_SetByGameSetting: return TEXT("GameSetting");
		case ECVF_SetByProjectSetting: return TEXT("ProjectSetting");
		case ECVF_SetBySystemSettingsIni: return TEXT("SystemSettingsIni");
		case ECVF_SetByPluginLowPriority: return TEXT("PluginLowPriority");
		case ECVF_SetByDeviceProfile: return TEXT("DeviceProfile");
		case ECVF_SetByPluginHighPriority: return TEXT("PluginHighPriority");
		case ECVF_SetByGameOverride: return TEXT("GameOverride");
		case ECVF_SetByConsoleVariablesIni: return TEXT("ConsoleVariablesIni");
		case ECVF_SetByHotfix: return TEXT("Hotfix");
		case ECVF_SetByPreview: return TEXT("Preview");
		case ECVF_SetByCommandline: return TEXT("Commandline");
		case ECVF_SetByCode: return TEXT("Code");
		case ECVF_SetByConsole: return TEXT("Console");
		default: return TEXT("Unknown");
		}
	}

	// "%f" without the trailing zeros, keeping one decimal, as the engine prints float variables.
	FString FloatToString(float Value)
	{
		FString Text = FString::Printf(TEXT("%f"), static_cast<double>(Value));
		int32 Dot = INDEX_NONE;
		if (Text.FindChar(TEXT('.'), Dot))
		{
			int32 End = Text.Len();
			while (End > Dot + 2 && Text[End - 1] == '0')
			{
				--End;
			}
			Text = Text.Left(End);
		}
		return Text;
	}

	class FConsoleVariableBase : public IConsoleVariable
	{
	public:
		FConsoleVariableBase(const FString& InName, const TCHAR* InHelp, uint32 InFlags)
			: Name(InName), Help(InHelp ? InHelp : TEXT("")), Flags(static_cast<EConsoleVariableFlags>(InFlags))
		{
		}

		virtual const TCHAR* GetHelp() const override { return *Help; }
		virtual void SetHelp(const TCHAR* Value) override { Help = Value ? Value : TEXT(""); }
		virtual EConsoleVariableFlags GetFlags() const override { return Flags; }
		virtual void SetFlags(const EConsoleVariableFlags Value) override { Flags = Value; }

		virtual void Set(const TCHAR* InValue, EConsoleVariableFlags SetBy, FName Tag) override
		{
			const uint32 NewPriority = static_cast<uint32>(SetBy) & ECVF_SetByMask;
			const uint32 OldPriority = static_cast<uint32>(Flags) & ECVF_SetByMask;
			if (NewPriority < OldPriority)
			{
				UE_LOG(LogConsoleManager, Log, TEXT("Setting the console variable '%s' with 'SetBy%s' was ignored as it is lower priority than the previous 'SetBy%s'. Value remains '%s'"),
					*Name, GetSetByName(NewPriority), GetSetByName(OldPriority), *GetString());
				return;
			}
			// Read-only variables take values from code and ini files, never from the console.
			if (NewPriority == ECVF_SetByConsole && TestFlags(ECVF_ReadOnly))
			{
				UE_LOG(LogConsoleManager, Warning, TEXT("Error: %s is read only!"), *Name);
				return;
			}
			SetValueFromString(InValue ? InValue : TEXT(""));
			Flags = static_cast<EConsoleVariableFlags>((static_cast<uint32>(Flags) & ~static_cast<uint32>(ECVF_SetByMask)) | NewPriority);
		}

		const FString& GetName() const { return Name; }

	protected:
		virtual void SetValueFromString(const TCHAR* InValue) = 0;

	private:
		FString Name;
		FString Help;
		EConsoleVariableFlags Flags;
	};

	class FConsoleVariableBool final : public FConsoleVariableBase
	{
	public:
		FConsoleVariableBool(const FString& InName, bool InValue, const TCHAR* InHelp, uint32 InFlags) : FConsoleVariableBase(InName, InHelp, InFlags), Value(InValue) {}
		virtual bool GetBool() const override { return Value; }
		virtual int32 GetInt() const override { return Value ? 1 : 0; }
		virtual float GetFloat() const override { return Value ? 1.0f : 0.0f; }
		virtual FString GetString() const override { return Value ? TEXT("true") : TEXT("false"); }
		virtual bool IsVariableBool() const override { return true; }

	protected:
		virtual void SetValueFromString(const TCHAR* InValue) override { Value = FCString::ToBool(InValue); }

	private:
		bool Value;
	};

	class FConsoleVariableInt final : public FConsoleVariableBase
	{
	public:
		FConsoleVariableInt(const FString& InName, int32 InValue, const TCHAR* InHelp, uint32 InFlags) : FConsoleVariableBase(InName, InHelp, InFlags), Value(InValue) {}
		virtual bool GetBool() const override { return Value != 0; }
		virtual int32 GetInt() const override { return Value; }
		virtual float GetFloat() const override { return static_cast<float>(Value); }
		virtual FString GetString() const override { return FString::Printf(TEXT("%d"), Value); }
		virtual bool IsVariableInt() const override { return true; }

	protected:
		virtual void SetValueFromString(const TCHAR* InValue) override { Value = FCString::Atoi(InValue); }

	private:
		int32 Value;
	};

	class FConsoleVariableFloat final : public FConsoleVariableBase
	{
	public:
		FConsoleVariableFloat(const FString& InName, float InValue, const TCHAR* InHelp, uint32 InFlags) : FConsoleVariableBase(InName, InHelp, InFlags), Value(InValue) {}
		virtual bool GetBool() const override { return Value != 0.0f; }
		virtual int32 GetInt() const override { return static_cast<int32>(Value); }
		virtual float GetFloat() const override { return Value; }
		virtual FString GetString() const override { return FloatToString(Value); }
		virtual bool IsVariableFloat() const override { return true; }

	protected:
		virtual void SetValueFromString(const TCHAR* InValue) override { Value = FCString::Atof(InValue); }

	private:
		float Value;
	};

	class FConsoleVariableString final : public FConsoleVariableBase
	{
	public:
		FConsoleVariableString(const FString& InName, const FString& InValue, const TCHAR* InHelp, uint32 InFlags) : FConsoleVariableBase(InName, InHelp, InFlags), Value(InValue) {}
		virtual bool GetBool() const override { return FCString::ToBool(*Value); }
		virtual int32 GetInt() const override { return FCString::Atoi(*Value); }
		virtual float GetFloat() const override { return FCString::Atof(*Value); }
		virtual FString GetString() const override { return Value; }
		virtual bool IsVariableString() const override { return true; }

	protected:
		virtual void SetValueFromString(const TCHAR* InValue) override { Value = InValue; }

	private:
		FString Value;
	};

	class FConsoleManager final : public IConsoleManager
	{
	public:
		virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, bool DefaultValue, const TCHAR* Help, uint32 Flags) override
		{
			return Add(Name, Flags, [&]() { return new FConsoleVariableBool(Name, DefaultValue, Help, Flags); });
		}
		virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, int32 DefaultValue, const TCHAR* Help, uint32 Flags) override
		{
			return Add(Name, Flags, [&]() { return new FConsoleVariableInt(Name, DefaultValue, Help, Flags); });
		}
		virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, float DefaultValue, const TCHAR* Help, uint32 Flags) override
		{
			return Add(Name, Flags, [&]() { return new FConsoleVariableFloat(Name, DefaultValue, Help, Flags); });
		}
		virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, const TCHAR* DefaultValue, const TCHAR* Help, uint32 Flags) override
		{
			return Add(Name, Flags, [&]() { return new FConsoleVariableString(Name, DefaultValue ? FString(DefaultValue) : FString(), Help, Flags); });
		}
		virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, const FString& DefaultValue, const TCHAR* Help, uint32 Flags) override
		{
			return Add(Name, Flags, [&]() { return new FConsoleVariableString(Name, DefaultValue, Help, Flags); });
		}

		virtual void UnregisterConsoleObject(IConsoleObject* ConsoleObject, bool bKeepState) override
		{
			for (const auto& Entry : Objects)
			{
				if (Entry.Value.get() == ConsoleObject)
				{
					UnregisterConsoleObject(*Entry.Key, bKeepState);
					return;
				}
			}
		}

		virtual void UnregisterConsoleObject(const TCHAR* Name, bool bKeepState) override
		{
			std::unique_ptr<FConsoleVariableBase>* Found = Objects.Find(FString(Name));
			if (!Found)
			{
				return;
			}
			if (bKeepState)
			{
				// Kept, hidden, so that registering the name again restores the value.
				(*Found)->SetFlags(static_cast<EConsoleVariableFlags>((*Found)->GetFlags() | ECVF_Unregistered));
				return;
			}
			Objects.Remove(FString(Name));
		}

		virtual IConsoleVariable* FindConsoleVariable(const TCHAR* Name, bool bTrackFrequentCalls) const override
		{
			IConsoleObject* Object = FindConsoleObject(Name, bTrackFrequentCalls);
			return Object ? Object->AsVariable() : nullptr;
		}

		virtual IConsoleObject* FindConsoleObject(const TCHAR* Name, bool bTrackFrequentCalls) const override
		{
			if (!Name)
			{
				return nullptr;
			}
			const std::unique_ptr<FConsoleVariableBase>* Found = Objects.Find(FString(Name));
			return Found && !(*Found)->TestFlags(ECVF_Unregistered) ? Found->get() : nullptr;
		}

		virtual FString FindConsoleObjectName(const IConsoleObject* Obj) const override
		{
			for (const auto& Entry : Objects)
			{
				if (Entry.Value.get() == Obj)
				{
					return Entry.Value->GetName();
				}
			}
			return FString();
		}

	private:
		template<typename FactoryType>
		IConsoleVariable* Add(const TCHAR* Name, uint32 Flags, FactoryType&& Factory)
		{
			check(Name && *Name);
			std::unique_ptr<FConsoleVariableBase>* Existing = Objects.Find(FString(Name));
			if (Existing && !(*Existing)->TestFlags(ECVF_Unregistered))
			{
				UE_LOG(LogConsoleManager, Warning, TEXT("Console object named '%s' already exists; keeping the first registration"), Name);
				return Existing->get();
			}
			std::unique_ptr<FConsoleVariableBase> Variable(Factory());
			if (Existing && (Flags & ECVF_Unregistered) == 0)
			{
				// A value read from an ini file, or kept from an earlier registration, wins over
				// the default with the priority it was set with.
				const FString KeptValue = (*Existing)->GetString();
				const uint32 KeptSetBy = static_cast<uint32>((*Existing)->GetFlags()) & ECVF_SetByMask;
				Variable->Set(*KeptValue, static_cast<EConsoleVariableFlags>(KeptSetBy), NAME_None);
			}
			IConsoleVariable* Result = Variable.get();
			Objects.FindOrAdd(FString(Name)) = std::move(Variable);
			return Result;
		}

		TMap<FString, std::unique_ptr<FConsoleVariableBase>> Objects;
	};
}

IConsoleManager& IConsoleManager::Get()
{
	static FConsoleManager* Manager = new FConsoleManager();
	return *Manager;
}
