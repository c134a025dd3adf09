#include "WriterTestSettings.h"

#include "HAL/IConsoleManager.h"
#include "Host/ReflectionBuilder.h"

UE_HOST_IMPLEMENT_CLASS(UWriterTestSettings, "/Script/OrvexTests")
UE_HOST_REGISTER_CLASS(UWriterTestSettings)

void UWriterTestSettings::DeclareReflection(UE::Host::TClassBuilder<UWriterTestSettings>& Class)
{
	Class.Flags(CLASS_Config | CLASS_DefaultConfig).Config(TEXT("Game"));
	const EPropertyFlags Setting = CPF_Edit | CPF_Config;
	Class.Property(UE_HOST_MEMBER(Count), Setting);
	Class.Property(UE_HOST_MEMBER(Title), Setting);
	Class.Property(UE_HOST_MEMBER(Tags), Setting);
	Class.Property(UE_HOST_MEMBER(Slots), Setting);
	Class.Property(UE_HOST_MEMBER(Method), Setting).ConsoleVariable(TEXT("test.Writer.Method"));
	Class.Property(UE_HOST_MEMBER(Ratio), Setting);
}

UE_HOST_IMPLEMENT_CLASS(UPlainGameSettings, "/Script/OrvexTests")
UE_HOST_REGISTER_CLASS(UPlainGameSettings)

void UPlainGameSettings::DeclareReflection(UE::Host::TClassBuilder<UPlainGameSettings>& Class)
{
	Class.Flags(CLASS_Config).Config(TEXT("Game"));
	Class.Property(UE_HOST_MEMBER(Level), CPF_Edit | CPF_Config);
	Class.Property(UE_HOST_MEMBER(Nickname), CPF_Edit | CPF_Config);
}
