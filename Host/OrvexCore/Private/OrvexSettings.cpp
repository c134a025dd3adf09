#include "OrvexSettings.h"

#include "Host/ReflectionBuilder.h"

UE_HOST_IMPLEMENT_CLASS(UOrvexSettings, "/Script/OrvexCore")
UE_HOST_REGISTER_CLASS(UOrvexSettings)

void UOrvexSettings::DeclareReflection(UE::Host::TClassBuilder<UOrvexSettings>& Class)
{
	Class.Flags(CLASS_Config | CLASS_DefaultConfig).Config(TEXT("Editor"))
		.Meta(TEXT("DisplayName"), TEXT("Kestrow"))
		.Meta(TEXT("ToolTip"), TEXT("Settings of the Kestrow plugin."));
	Class.Property(UE_HOST_MEMBER(bEnableConfig), CPF_Edit | CPF_Config)
		.Meta(TEXT("Category"), TEXT("Modules"))
		.Meta(TEXT("DisplayName"), TEXT("Enable Config"))
		.Meta(TEXT("ToolTip"), TEXT("Publishes the config actions (read and write the project's configuration)."));
}

UOrvexSettings::UOrvexSettings()
{
	// Listed with the other plugins; the section shows the class's display name.
	CategoryName = TEXT("Plugins");
}
