// Input settings with their mapping structs, the player input and input component classes,
// and FKey.
#include "GameFramework/InputSettings.h"

#include "CoreUObject/PropertyText.h"
#include "Host/ReflectionBuilder.h"

UE_HOST_IMPLEMENT_STRUCT(FKey, "/Script/InputCore")

void FKey::DeclareReflection(UE::Host::TStructBuilder<FKey>& Struct)
{
	Struct.Property(UE_HOST_MEMBER(KeyName), CPF_Edit);
}

bool FKey::ExportTextItem(FString& ValueStr, FKey const& DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	ValueStr += KeyName.ToString();
	return true;
}

bool FKey::ImportTextItem(const TCHAR*& Buffer, int32 PortFlags, UObject* Parent, FOutputDevice* ErrorText)
{
	const TCHAR* Cursor = Buffer;
	UE::Host::PropertyText::SkipWhitespace(Cursor);
	FString Name;
	const TCHAR* End = UE::Host::PropertyText::ReadToken(Cursor, Name, true);
	if (!End || Name.IsEmpty())
	{
		return false;
	}
	KeyName = FName(Name);
	Buffer = End;
	return true;
}

UE_HOST_IMPLEMENT_STRUCT(FInputActionKeyMapping, "/Script/Engine")

void FInputActionKeyMapping::DeclareReflection(UE::Host::TStructBuilder<FInputActionKeyMapping>& Struct)
{
	Struct.Property(UE_HOST_MEMBER(ActionName), CPF_Edit);
	Struct.Bitfield(UE_HOST_BITFIELD(bShift), CPF_Edit);
	Struct.Bitfield(UE_HOST_BITFIELD(bCtrl), CPF_Edit);
	Struct.Bitfield(UE_HOST_BITFIELD(bAlt), CPF_Edit);
	Struct.Bitfield(UE_HOST_BITFIELD(bCmd), CPF_Edit);
	Struct.Property(UE_HOST_MEMBER(Key), CPF_Edit);
}

UE_HOST_IMPLEMENT_STRUCT(FInputAxisKeyMapping, "/Script/Engine")

void FInputAxisKeyMapping::DeclareReflection(UE::Host::TStructBuilder<FInputAxisKeyMapping>& Struct)
{
	Struct.Property(UE_HOST_MEMBER(AxisName), CPF_Edit);
	Struct.Property(UE_HOST_MEMBER(Scale), CPF_Edit);
	Struct.Property(UE_HOST_MEMBER(Key), CPF_Edit);
}

UE_HOST_IMPLEMENT_STRUCT(FInputAxisProperties, "/Script/Engine")

void FInputAxisProperties::DeclareReflection(UE::Host::TStructBuilder<FInputAxisProperties>& Struct)
{
	Struct.Property(UE_HOST_MEMBER(DeadZone), CPF_Edit);
	Struct.Property(UE_HOST_MEMBER(Sensitivity), CPF_Edit);
	Struct.Property(UE_HOST_MEMBER(Exponent), CPF_Edit);
	Struct.Bitfield(UE_HOST_BITFIELD(bInvert), CPF_Edit);
}

UE_HOST_IMPLEMENT_STRUCT(FInputAxisConfigEntry, "/Script/Engine")

void FInputAxisConfigEntry::DeclareReflection(UE::Host::TStructBuilder<FInputAxisConfigEntry>& Struct)
{
	Struct.Property(UE_HOST_MEMBER(AxisKeyName), CPF_Edit);
	Struct.Property(UE_HOST_MEMBER(AxisProperties), CPF_Edit);
}

UE_HOST_IMPLEMENT_CLASS(UPlayerInput, "/Script/Engine")

void UPlayerInput::DeclareReflection(UE::Host::TClassBuilder<UPlayerInput>& Class)
{
	Class.Flags(CLASS_Config | CLASS_Transient).Config(TEXT("Input"));
}

UE_HOST_IMPLEMENT_CLASS(UInputComponent, "/Script/Engine")

void UInputComponent::DeclareReflection(UE::Host::TClassBuilder<UInputComponent>& Class)
{
	Class.Flags(CLASS_Transient);
}

UE_HOST_IMPLEMENT_CLASS(UInputSettings, "/Script/Engine")

void UInputSettings::DeclareReflection(UE::Host::TClassBuilder<UInputSettings>& Class)
{
	Class.Flags(CLASS_Config | CLASS_DefaultConfig).Config(TEXT("Input")).Meta(TEXT("DisplayName"), TEXT("Input"));
	const EPropertyFlags Setting = CPF_Edit | CPF_Config;

	Class.Property(UE_HOST_MEMBER(AxisConfig), Setting).Meta(TEXT("Category"), TEXT("Bindings"));
	Class.Bitfield(UE_HOST_BITFIELD(bAltEnterTogglesFullscreen), Setting).Meta(TEXT("Category"), TEXT("ViewportProperties"));
	Class.Bitfield(UE_HOST_BITFIELD(bF11TogglesFullscreen), Setting).Meta(TEXT("Category"), TEXT("ViewportProperties"));
	Class.Bitfield(UE_HOST_BITFIELD(bUseMouseForTouch), Setting).Meta(TEXT("Category"), TEXT("MouseProperties"));
	Class.Bitfield(UE_HOST_BITFIELD(bEnableMouseSmoothing), Setting).Meta(TEXT("Category"), TEXT("MouseProperties"));
	Class.Bitfield(UE_HOST_BITFIELD(bCaptureMouseOnLaunch), Setting).Meta(TEXT("Category"), TEXT("ViewportProperties"));
	Class.Bitfield(UE_HOST_BITFIELD(bEnableLegacyInputScales), Setting).Meta(TEXT("Category"), TEXT("Input"));
	Class.Property(UE_HOST_MEMBER(DefaultViewportMouseCaptureMode), Setting).Meta(TEXT("Category"), TEXT("ViewportProperties"));
	Class.Property(UE_HOST_MEMBER(DefaultViewportMouseLockMode), Setting).Meta(TEXT("Category"), TEXT("ViewportProperties"));
	Class.Property(UE_HOST_MEMBER(DoubleClickTime), Setting).Meta(TEXT("Category"), TEXT("Input")).Meta(TEXT("ClampMin"), TEXT("0.0"));
	Class.Property(UE_HOST_MEMBER(ActionMappings), Setting).Meta(TEXT("Category"), TEXT("Bindings"));
	Class.Property(UE_HOST_MEMBER(AxisMappings), Setting).Meta(TEXT("Category"), TEXT("Bindings"));
	Class.Property(UE_HOST_MEMBER(DefaultTouchInterface), Setting).Meta(TEXT("Category"), TEXT("Mobile")).Meta(TEXT("AllowedClasses"), TEXT("/Script/Engine.TouchInterface"));
	Class.Property(UE_HOST_MEMBER(ConsoleKeys), Setting).Meta(TEXT("Category"), TEXT("Console"));
	Class.Property(UE_HOST_MEMBER(DefaultPlayerInputClass), Setting | CPF_NoClear).Meta(TEXT("Category"), TEXT("DefaultClasses"));
	Class.Property(UE_HOST_MEMBER(DefaultInputComponentClass), Setting | CPF_NoClear).Meta(TEXT("Category"), TEXT("DefaultClasses"));
}

UInputSettings::UInputSettings()
	: bAltEnterTogglesFullscreen(true)
	, bF11TogglesFullscreen(true)
	, bUseMouseForTouch(false)
	, bEnableMouseSmoothing(true)
	, bCaptureMouseOnLaunch(true)
	, bEnableLegacyInputScales(true)
	, DefaultViewportMouseCaptureMode(EMouseCaptureMode::CapturePermanently_IncludingInitialMouseDown)
	, DefaultViewportMouseLockMode(EMouseLockMode::LockOnCapture)
	, DoubleClickTime(0.2f)
{
}
