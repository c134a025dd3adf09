// UObject: the base of every reflected class. Config loading follows the engine: the section is
// the class path ("/Script/Engine.RendererSettings"), the key is the property name or, in editor
// builds, the name in its ConsoleVariable metadata.
#pragma once

#include "CoreMinimal.h"
#include "UObject/ObjectMacros.h"
#include "UObject/UObjectBaseUtility.h"
#include "UObject/UObjectGlobals.h"

class FProperty;
struct FPropertyChangedEvent;

namespace UE
{
	// How LoadConfig spreads to related objects. Only the section walk of the class itself is
	// used on the host; the others are accepted for source compatibility.
	enum ELoadConfigPropagationFlags
	{
		LCPF_None = 0,
		LCPF_ReadParentSections = 1 << 0,
		LCPF_PropagateToChildDefaultObjects = 1 << 1,
		LCPF_PropagateToInstances = 1 << 2,
		LCPF_PersistentFlags = LCPF_ReadParentSections,
	};
}

class UObject : public UObjectBaseUtility
{
	UE_HOST_DECLARE_CLASS(UObject, UObject)

public:
	UObject() = default;

	// Called once the properties hold their defaults and config values.
	virtual void PostInitProperties() {}
	virtual void PostLoad() {}

#if WITH_EDITOR
	virtual void PreEditChange(FProperty* PropertyAboutToChange) {}
	virtual void PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent) {}
	virtual bool CanEditChange(const FProperty* InProperty) const;
#endif

	// Config files this object writes to: the project's Config/Default<Category>.ini, the global
	// user User<Category>.ini and the project's Config/User<Category>.ini.
	FString GetDefaultConfigFilename() const;
	FString GetGlobalUserConfigFilename() const;
	FString GetProjectUserConfigFilename() const;
	virtual const TCHAR* GetConfigOverridePlatform() const { return nullptr; }
	virtual void OverrideConfigSection(FString& SectionName) {}

	// Reads this object's config properties from the config cache. Keys that are absent leave the
	// property as it is.
	void LoadConfig(UClass* ConfigClass = nullptr, const TCHAR* Filename = nullptr, uint32 PropagationFlags = UE::LCPF_None, FProperty* PropertyToLoad = nullptr);
	void ReloadConfig(UClass* ConfigClass = nullptr, const TCHAR* Filename = nullptr, uint32 PropagationFlags = UE::LCPF_None, FProperty* PropertyToLoad = nullptr)
	{
		LoadConfig(ConfigClass, Filename, PropagationFlags, PropertyToLoad);
	}

	UObject* GetArchetype() const;
	FString GetDetailedInfo() const { return GetPathName(); }

	// Marks the package this object lives in as changed; false for objects that cannot dirty one
	// (default objects, objects of the transient package).
	bool MarkPackageDirty() const;
};

// Not null and not garbage.
inline bool IsValid(const UObject* Test)
{
	return Test && !Test->HasAnyFlags(RF_MirroredGarbage);
}

template<typename T>
T* UObjectBaseUtility::GetTypedOuter() const
{
	for (UObject* Outer = GetOuter(); Outer; Outer = Outer->GetOuter())
	{
		if (Outer->IsA(T::StaticClass()))
		{
			return static_cast<T*>(Outer);
		}
	}
	return nullptr;
}
