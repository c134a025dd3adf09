// UDeveloperSettings: the base of settings classes that the editor lists in Project Settings
// or Editor Preferences by container, category and section.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "DeveloperSettings.generated.h"

class FProperty;
struct FPropertyChangedEvent;

UCLASS(Abstract)
class UDeveloperSettings : public UObject
{
	GENERATED_BODY()

public:
	UDeveloperSettings() = default;

	// "Editor" for EditorSettings and EditorPerProjectUserSettings classes, else "Project".
	virtual FName GetContainerName() const;
	// The explicit CategoryName, else one chosen by the config name ("Engine", "General", ...).
	virtual FName GetCategoryName() const;
	// The explicit SectionName, else the class name.
	virtual FName GetSectionName() const;

#if WITH_EDITOR
	virtual FText GetSectionText() const;
	virtual FText GetSectionDescription() const;
	virtual bool SupportsAutoRegistration() const { return true; }
#endif

	// The class default object pushes its console-variable properties to their variables.
	virtual void PostInitProperties() override;

protected:
#if WITH_EDITOR
	// Pushes one property to the variable its ConsoleVariable metadata names, with the
	// project-setting priority; missing and read-only variables are left alone.
	void ExportValuesToConsoleVariables(FProperty* PropertyThatChanged);
#endif

	FName CategoryName;
	FName SectionName;
};
