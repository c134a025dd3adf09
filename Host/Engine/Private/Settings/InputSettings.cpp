// Input settings, and FKey's text form.
#include "GameFramework/InputSettings.h"

#include "CoreUObject/PropertyText.h"

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
