#include "AndroidSDKSettings.h"

#include "Host/ReflectionBuilder.h"

UE_HOST_IMPLEMENT_CLASS(UAndroidSDKSettings, "/Script/AndroidPlatformEditor")

void UAndroidSDKSettings::DeclareReflection(UE::Host::TClassBuilder<UAndroidSDKSettings>& Class)
{
	Class.Flags(CLASS_Config | CLASS_GlobalUserConfig).Config(TEXT("Engine")).Meta(TEXT("DisplayName"), TEXT("Android SDK"));
	const EPropertyFlags Setting = CPF_Edit | CPF_Config | CPF_GlobalConfig;

	Class.Property(UE_HOST_MEMBER(SDKPath), Setting).Meta(TEXT("Category"), TEXT("SDKConfig")).Meta(TEXT("DisplayName"), TEXT("Location of Android SDK (the directory usually contains 'android-sdk-')"));
	Class.Property(UE_HOST_MEMBER(NDKPath), Setting).Meta(TEXT("Category"), TEXT("SDKConfig")).Meta(TEXT("DisplayName"), TEXT("Location of Android NDK (the directory usually contains 'android-ndk-')"));
	Class.Property(UE_HOST_MEMBER(JavaPath), Setting).Meta(TEXT("Category"), TEXT("SDKConfig")).Meta(TEXT("DisplayName"), TEXT("Location of JAVA (often a JDK folder)"));
	Class.Property(UE_HOST_MEMBER(SDKAPILevel), Setting).Meta(TEXT("Category"), TEXT("SDKConfig")).Meta(TEXT("DisplayName"), TEXT("SDK API Level (specific version, 'latest', or 'matchndk' - see tooltip)"));
	Class.Property(UE_HOST_MEMBER(NDKAPILevel), Setting).Meta(TEXT("Category"), TEXT("SDKConfig")).Meta(TEXT("DisplayName"), TEXT("NDK API Level (specific version or 'latest' - see tooltip)"));
}
