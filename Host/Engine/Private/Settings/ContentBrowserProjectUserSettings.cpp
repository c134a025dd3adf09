#include "Settings/ContentBrowserProjectUserSettings.h"

#include "Host/ReflectionBuilder.h"

UE_HOST_IMPLEMENT_CLASS(UContentBrowserProjectUserSettings, "/Script/ContentBrowser")

void UContentBrowserProjectUserSettings::DeclareReflection(UE::Host::TClassBuilder<UContentBrowserProjectUserSettings>& Class)
{
	Class.Flags(CLASS_Config | CLASS_ProjectUserConfig).Config(TEXT("Editor")).Meta(TEXT("DisplayName"), TEXT("Content Browser (Project User)"));
	const EPropertyFlags Setting = CPF_Edit | CPF_Config;

	Class.Property(UE_HOST_MEMBER(FavoriteFolders), Setting).Meta(TEXT("Category"), TEXT("Folders"));
	Class.Property(UE_HOST_MEMBER(LastSelectedPath), Setting).Meta(TEXT("Category"), TEXT("Folders"));
	Class.Property(UE_HOST_MEMBER(bShowEngineContent), Setting).Meta(TEXT("Category"), TEXT("View"));
	Class.Property(UE_HOST_MEMBER(NumRecentFolders), Setting).Meta(TEXT("Category"), TEXT("View")).Meta(TEXT("ClampMin"), TEXT("0")).Meta(TEXT("ClampMax"), TEXT("50"));
}

UContentBrowserProjectUserSettings::UContentBrowserProjectUserSettings()
	: bShowEngineContent(false)
	, NumRecentFolders(10)
{
}
