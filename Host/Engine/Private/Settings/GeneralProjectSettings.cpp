#include "GeneralProjectSettings.h"

#include "Host/ReflectionBuilder.h"

UE_HOST_IMPLEMENT_CLASS(UGeneralProjectSettings, "/Script/EngineSettings")

void UGeneralProjectSettings::DeclareReflection(UE::Host::TClassBuilder<UGeneralProjectSettings>& Class)
{
	Class.Flags(CLASS_Config | CLASS_DefaultConfig).Config(TEXT("Game")).Meta(TEXT("DisplayName"), TEXT("Description"));
	const EPropertyFlags Setting = CPF_Edit | CPF_Config;

	Class.Property(UE_HOST_MEMBER(CompanyName), Setting).Meta(TEXT("Category"), TEXT("Publisher"));
	Class.Property(UE_HOST_MEMBER(CompanyDistinguishedName), Setting).Meta(TEXT("Category"), TEXT("Publisher"));
	Class.Property(UE_HOST_MEMBER(CopyrightNotice), Setting).Meta(TEXT("Category"), TEXT("Legal"));
	Class.Property(UE_HOST_MEMBER(Description), Setting).Meta(TEXT("Category"), TEXT("About"));
	Class.Property(UE_HOST_MEMBER(Homepage), Setting).Meta(TEXT("Category"), TEXT("Publisher"));
	Class.Property(UE_HOST_MEMBER(LicensingTerms), Setting).Meta(TEXT("Category"), TEXT("Legal"));
	Class.Property(UE_HOST_MEMBER(PrivacyPolicy), Setting).Meta(TEXT("Category"), TEXT("Legal"));
	Class.Property(UE_HOST_MEMBER(ProjectID), Setting).Meta(TEXT("Category"), TEXT("About"));
	Class.Property(UE_HOST_MEMBER(ProjectName), Setting).Meta(TEXT("Category"), TEXT("About"));
	Class.Property(UE_HOST_MEMBER(ProjectVersion), Setting).Meta(TEXT("Category"), TEXT("About"));
	Class.Property(UE_HOST_MEMBER(SupportContact), Setting).Meta(TEXT("Category"), TEXT("Publisher"));
	Class.Property(UE_HOST_MEMBER(ProjectDisplayedTitle), Setting).Meta(TEXT("Category"), TEXT("Displayed"));
	Class.Property(UE_HOST_MEMBER(ProjectDebugTitleInfo), Setting).Meta(TEXT("Category"), TEXT("Displayed"));
	Class.Property(UE_HOST_MEMBER(bShouldWindowPreserveAspectRatio), Setting).Meta(TEXT("Category"), TEXT("Settings"));
	Class.Property(UE_HOST_MEMBER(bUseBorderlessWindow), Setting).Meta(TEXT("Category"), TEXT("Settings"));
	Class.Property(UE_HOST_MEMBER(bStartInVR), Setting).Meta(TEXT("Category"), TEXT("Settings"));
	Class.Property(UE_HOST_MEMBER(bAllowWindowResize), Setting).Meta(TEXT("Category"), TEXT("Settings"));
	Class.Property(UE_HOST_MEMBER(bAllowClose), Setting).Meta(TEXT("Category"), TEXT("Settings"));
	Class.Property(UE_HOST_MEMBER(bAllowMaximize), Setting).Meta(TEXT("Category"), TEXT("Settings"));
	Class.Property(UE_HOST_MEMBER(bAllowMinimize), Setting).Meta(TEXT("Category"), TEXT("Settings"));
}

UGeneralProjectSettings::UGeneralProjectSettings()
	: bShouldWindowPreserveAspectRatio(true)
	, bUseBorderlessWindow(false)
	, bStartInVR(false)
	, bAllowWindowResize(true)
	, bAllowClose(true)
	, bAllowMaximize(true)
	, bAllowMinimize(true)
{
}
