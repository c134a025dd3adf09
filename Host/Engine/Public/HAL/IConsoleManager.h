// Console variables. Every set names who made it (the SetBy part of the flags); a set from a
// lower priority than the variable's last one is ignored, as in the engine. ECVF_ReadOnly only
// stops sets from the console itself. The SetBy values follow the 5.7 layout, where 0x04000000 is
// ECVF_SetByProjectSetting.
#pragma once

#include "CoreMinimal.h"

#include <type_traits>

enum EConsoleVariableFlags
{
	ECVF_FlagMask = 0x0000ffff,
	ECVF_Default = 0x0,
	ECVF_Cheat = 0x1,
	ECVF_ReadOnly = 0x4,
	ECVF_Unregistered = 0x8,
	ECVF_CreatedFromIni = 0x10,
	ECVF_RenderThreadSafe = 0x20,
	ECVF_Scalability = 0x40,
	ECVF_ScalabilityGroup = 0x80,
	ECVF_Preview = 0x100,
	ECVF_GeneralShaderChange = 0x200,
	ECVF_MobileShaderChange = 0x400,
	ECVF_DesktopShaderChange = 0x800,
	ECVF_ExcludeFromPreview = 0x1000,
	ECVF_SaveForNextBoot = 0x2000,

	ECVF_SetFlagMask = 0x00ff0000,
	ECVF_Set_NoSinkCall_Unsafe = 0x00010000,
	ECVF_Set_SetOnly_Unsafe = 0x00020000,
	ECVF_Set_ReplaceExistingTag = 0x00040000,

	// Who set the value, lowest priority first.
	ECVF_SetByMask = 0xff000000,
	ECVF_SetByConstructor = 0x00000000,
	ECVF_SetByScalability = 0x02000000,
	ECVF_SetByGameSetting = 0x03000000,
	ECVF_SetByProjectSetting = 0x04000000,
	ECVF_SetBySystemSettingsIni = 0x05000000,
	ECVF_SetByPluginLowPriority = 0x06000000,
	ECVF_SetByDeviceProfile = 0x07000000,
	ECVF_SetByPluginHighPriority = 0x08000000,
	ECVF_SetByGameOverride = 0x09000000,
	ECVF_SetByConsoleVariablesIni = 0x0A000000,
	ECVF_SetByHotfix = 0x0B000000,
	ECVF_SetByPreview = 0x0C000000,
	ECVF_SetByCommandline = 0x0D000000,
	ECVF_SetByCode = 0x0E000000,
	ECVF_SetByConsole = 0x0F000000,
};

class IConsoleVariable;

class IConsoleObject
{
public:
	IConsoleObject() = default;
	IConsoleObject(const IConsoleObject&) = delete;
	IConsoleObject& operator=(const IConsoleObject&) = delete;
	virtual ~IConsoleObject() = default;

	virtual const TCHAR* GetHelp() const = 0;
	virtual void SetHelp(const TCHAR* Value) = 0;
	// The flag bits and, in the top byte, who set the value last.
	virtual EConsoleVariableFlags GetFlags() const = 0;
	virtual void SetFlags(const EConsoleVariableFlags Value) = 0;
	void ClearFlags(const EConsoleVariableFlags Value) { SetFlags((EConsoleVariableFlags)((uint32)GetFlags() & ~(uint32)Value)); }
	bool TestFlags(const EConsoleVariableFlags Value) const { return ((uint32)GetFlags() & (uint32)Value) != 0; }
	virtual IConsoleVariable* AsVariable() { return nullptr; }
};

class IConsoleVariable : public IConsoleObject
{
public:
	// Sets from text; ignored when SetBy is below the priority of the last set.
	virtual void Set(const TCHAR* InValue, EConsoleVariableFlags SetBy = ECVF_SetByCode, FName Tag = NAME_None) = 0;

	// Numbers and bools are turned into text first, as the engine's convenience setters do.
	template<typename T>
	void Set(T InValue, EConsoleVariableFlags SetBy = ECVF_SetByCode, FName Tag = NAME_None)
	{
		if constexpr (std::is_same_v<T, bool>)
		{
			Set(InValue ? TEXT("1") : TEXT("0"), SetBy, Tag);
		}
		else if constexpr (std::is_integral_v<T> || std::is_enum_v<T>)
		{
			Set(*FString::Printf(TEXT("%d"), static_cast<int32>(InValue)), SetBy, Tag);
		}
		else if constexpr (std::is_floating_point_v<T>)
		{
			Set(*FString::SanitizeFloat(static_cast<double>(InValue), 0), SetBy, Tag);
		}
		else
		{
			Set(*FString(InValue), SetBy, Tag);
		}
	}

	virtual bool GetBool() const = 0;
	virtual int32 GetInt() const = 0;
	virtual float GetFloat() const = 0;
	virtual FString GetString() const = 0;
	virtual bool IsVariableBool() const { return false; }
	virtual bool IsVariableInt() const { return false; }
	virtual bool IsVariableFloat() const { return false; }
	virtual bool IsVariableString() const { return false; }
	virtual IConsoleVariable* AsVariable() override { return this; }
};

class IConsoleManager
{
public:
	virtual ~IConsoleManager() = default;

	static IConsoleManager& Get();

	// Registering a name that exists returns the existing variable (and keeps its value).
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, bool DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, int32 DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, float DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, const TCHAR* DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual IConsoleVariable* RegisterConsoleVariable(const TCHAR* Name, const FString& DefaultValue, const TCHAR* Help, uint32 Flags = ECVF_Default) = 0;
	virtual void UnregisterConsoleObject(IConsoleObject* ConsoleObject, bool bKeepState = true) = 0;
	virtual void UnregisterConsoleObject(const TCHAR* Name, bool bKeepState = true) = 0;

	// Names compare without regard to case; null when there is no such variable.
	virtual IConsoleVariable* FindConsoleVariable(const TCHAR* Name, bool bTrackFrequentCalls = true) const = 0;
	virtual IConsoleObject* FindConsoleObject(const TCHAR* Name, bool bTrackFrequentCalls = true) const = 0;
	virtual FString FindConsoleObjectName(const IConsoleObject* Obj) const = 0;
};
