#include "HostTestSettings.h"

#include "HAL/IConsoleManager.h"
#include "Host/ReflectionBuilder.h"

UE_HOST_IMPLEMENT_CLASS(UHostTestSettings, "/Script/OrvexTests")
UE_HOST_REGISTER_CLASS(UHostTestSettings)

void UHostTestSettings::DeclareReflection(UE::Host::TClassBuilder<UHostTestSettings>& Class)
{
	Class.Flags(CLASS_Config | CLASS_DefaultConfig).Config(TEXT("Game"))
		.Meta(TEXT("DisplayName"), TEXT("Host Test Settings"));
	const EPropertyFlags Setting = CPF_Edit | CPF_Config;

	Class.Property(UE_HOST_MEMBER(Int8Value), Setting);
	Class.Property(UE_HOST_MEMBER(Int16Value), Setting);
	Class.Property(UE_HOST_MEMBER(IntValue), Setting).Meta(TEXT("ClampMin"), TEXT("0"));
	Class.Property(UE_HOST_MEMBER(Int64Value), Setting);
	Class.Property(UE_HOST_MEMBER(ByteValue), Setting);
	Class.Property(UE_HOST_MEMBER(UInt16Value), Setting);
	Class.Property(UE_HOST_MEMBER(UInt32Value), Setting);
	Class.Property(UE_HOST_MEMBER(UInt64Value), Setting);
	Class.Property(UE_HOST_MEMBER(FloatValue), Setting);
	Class.Property(UE_HOST_MEMBER(DoubleValue), Setting);
	Class.Property(UE_HOST_MEMBER(ByteEnum), Setting);
	Class.Property(UE_HOST_MEMBER(EnumClass), Setting);
	Class.Bitfield(UE_HOST_BITFIELD(bFlagA), Setting);
	Class.Bitfield(UE_HOST_BITFIELD(bFlagB), Setting);
	Class.Bitfield(UE_HOST_BITFIELD(bFlagC), Setting);
	Class.Property(UE_HOST_MEMBER(bNative), Setting);
	Class.Property(UE_HOST_MEMBER(Text), Setting);
	Class.Property(UE_HOST_MEMBER(Name), Setting);
	Class.Property(UE_HOST_MEMBER(DisplayText), Setting);
	Class.Property(UE_HOST_MEMBER(SoftPath), Setting);
	Class.Property(UE_HOST_MEMBER(SoftClass), Setting);
	Class.Property(UE_HOST_MEMBER(SoftObjectPtr), Setting);
	Class.Property(UE_HOST_MEMBER(SoftClassPtr), Setting);
	Class.Property(UE_HOST_MEMBER(SettingsClass), Setting);
	Class.Property(UE_HOST_MEMBER(ObjectRef), Setting);
	Class.Property(UE_HOST_MEMBER(Vector), Setting);
	Class.Property(UE_HOST_MEMBER(LinearColor), Setting);
	Class.Property(UE_HOST_MEMBER(Color), Setting);
	Class.Property(UE_HOST_MEMBER(Guid), Setting);
	Class.Property(UE_HOST_MEMBER(Key), Setting);
	Class.Property(UE_HOST_MEMBER(Numbers), Setting);
	Class.Property(UE_HOST_MEMBER(Strings), Setting);
	Class.Property(UE_HOST_MEMBER(Mappings), Setting);
	Class.Property(UE_HOST_MEMBER(StaticInts), Setting);
	Class.Property(UE_HOST_MEMBER(NotConfig), CPF_Edit);
	Class.Property(UE_HOST_MEMBER(CVarInt), Setting).ConsoleVariable(TEXT("test.Int"));
	Class.Property(UE_HOST_MEMBER(CVarFloat), Setting).ConsoleVariable(TEXT("test.Float"));
	Class.Property(UE_HOST_MEMBER(CVarEnum), Setting).ConsoleVariable(TEXT("test.Enum"));
	Class.Bitfield(UE_HOST_BITFIELD(bCVarReadOnly), Setting).ConsoleVariable(TEXT("test.ReadOnly"), ECVF_ReadOnly);
	Class.Property(UE_HOST_MEMBER(CVarName), Setting).ConsoleVariable(TEXT("test.Name"));
	Class.Property(UE_HOST_MEMBER(SharedPath), Setting | CPF_GlobalConfig);
}

UHostTestSettings::UHostTestSettings()
	: bFlagA(0)
	, bFlagB(1)
	, bFlagC(0)
	, bCVarReadOnly(0)
{
}

UE_HOST_IMPLEMENT_CLASS(UHostTestSettingsChild, "/Script/OrvexTests")
UE_HOST_REGISTER_CLASS(UHostTestSettingsChild)

void UHostTestSettingsChild::DeclareReflection(UE::Host::TClassBuilder<UHostTestSettingsChild>& Class)
{
	Class.Property(UE_HOST_MEMBER(ChildValue), CPF_Edit | CPF_Config);
}
