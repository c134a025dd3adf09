// UObject: the base of every reflected class. Config loading follows the engine: the section is
// the class path ("/Script/Engine.RendererSettings"), the key is the property name or, in editor
// builds, the name in its ConsoleVariable metadata.
#pragma once

#include "CoreMinimal.h"
#include "CoreGlobals.h"
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
	DECLARE_CLASS(UObject, UObject, CLASS_None, CASTCLASS_None, TEXT("/Script/CoreUObject"), NO_API)

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

	// Config files this object writes to: the project's Config/Default<Category>.ini (or the
	// platform's file for a platform-override object), <user-dir>/Unreal Engine/Engine/Config/
	// User<Category>.ini and the project's Config/User<Category>.ini. The editor returns these
	// relative to its working directory; the host's folders are absolute, so these are too.
	// FPaths::ConvertRelativePathToFull gives the same file for either form.
	FString GetDefaultConfigFilename() const;
	FString GetGlobalUserConfigFilename() const;
	FString GetProjectUserConfigFilename() const;

	// The config writers. Each edits its INI file as text: every line it was not asked to change
	// stays byte for byte (comments, blank lines, other sections, key order, line endings), the
	// file is replaced atomically, and GConfig is rebuilt from disk afterwards. They write only
	// inside the project folder (its Saved folder included) and the user config folder. A write
	// that fails leaves the file as it was and logs a warning naming the file and the reason.
	//
	// Keys and values follow the engine: the key is the property name, or its ConsoleVariable
	// metadata (and then enums are numbers); values are the property's text export, with strings
	// raw and quoted only where a config line needs it.

	// Sets one key, the property's, in this object's section of InConfigIniName (a relative name
	// is taken from the working directory, as the editor's relative paths are). Single values
	// only: an array, set, map or fixed-size array property is refused with a warning.
	void UpdateSinglePropertyInConfigFile(const FProperty* InProperty, const FString& InConfigIniName);
	// Rewrites this object's section of SpecificFileLocation (default: GetDefaultConfigFilename())
	// with every config property of the class: "Key=Value" lines, "Key[i]=" for fixed-size arrays,
	// and "!Key=ClearArray" then one "+Key=" per element for arrays. Other sections and the text
	// before the first header stay as they were; copies of the section are merged. Returns false
	// without writing when the file exists and is read-only, and false when the write fails.
	bool TryUpdateDefaultConfigFile(const FString& SpecificFileLocation = TEXT(""), bool bWarnIfFail = true);
	// The same section rewrite into GetGlobalUserConfigFilename(), creating its folders.
	void UpdateGlobalUserConfigFile();
	// The same section rewrite into GetProjectUserConfigFilename().
	void UpdateProjectUserConfigFile();
	// Saves the config properties that have all of RequiredPropertyFlags into the saved file of
	// the class's category, Saved/Config/<Platform>Editor/<Category>.ini: a key is written only
	// where the value differs from the layers below it (and removed where it no longer does); a
	// saved file left without entries is deleted. globalconfig properties go to the declaring
	// class's section. Filename names another category, or a file whose keys are set outright.
	// A Config other than GConfig is an in-memory cache: the values are only set in it. When
	// saving an object that is not the class default object, bAllowCopyToDefaultObject copies
	// the saved values into the class default object as well.
	void SaveConfig(uint64 RequiredPropertyFlags = CPF_Config, const TCHAR* Filename = nullptr, FConfigCacheIni* Config = GConfig, bool bAllowCopyToDefaultObject = true);
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
