#include "Engine/EngineTypes.h"

#include "Host/ReflectionBuilder.h"

UE_HOST_IMPLEMENT_ENUM(EMouseCaptureMode, "/Script/Engine", EMouseCaptureMode, EnumClass)
{
	Enum.Value(TEXT("NoCapture"), static_cast<int64>(EMouseCaptureMode::NoCapture));
	Enum.Value(TEXT("CapturePermanently"), static_cast<int64>(EMouseCaptureMode::CapturePermanently));
	Enum.Value(TEXT("CapturePermanently_IncludingInitialMouseDown"), static_cast<int64>(EMouseCaptureMode::CapturePermanently_IncludingInitialMouseDown));
	Enum.Value(TEXT("CaptureDuringMouseDown"), static_cast<int64>(EMouseCaptureMode::CaptureDuringMouseDown));
	Enum.Value(TEXT("CaptureDuringRightMouseDown"), static_cast<int64>(EMouseCaptureMode::CaptureDuringRightMouseDown));
}

UE_HOST_IMPLEMENT_ENUM(EMouseLockMode, "/Script/Engine", EMouseLockMode, EnumClass)
{
	Enum.Value(TEXT("DoNotLock"), static_cast<int64>(EMouseLockMode::DoNotLock));
	Enum.Value(TEXT("LockOnCapture"), static_cast<int64>(EMouseLockMode::LockOnCapture));
	Enum.Value(TEXT("LockAlways"), static_cast<int64>(EMouseLockMode::LockAlways));
	Enum.Value(TEXT("LockInFullscreen"), static_cast<int64>(EMouseLockMode::LockInFullscreen));
}

UE_HOST_IMPLEMENT_STRUCT(FDirectoryPath, "/Script/Engine")

void FDirectoryPath::DeclareReflection(UE::Host::TStructBuilder<FDirectoryPath>& Struct)
{
	Struct.Property(UE_HOST_MEMBER(Path), CPF_Edit);
}

UE_HOST_IMPLEMENT_STRUCT(FFilePath, "/Script/Engine")

void FFilePath::DeclareReflection(UE::Host::TStructBuilder<FFilePath>& Struct)
{
	Struct.Property(UE_HOST_MEMBER(FilePath), CPF_Edit);
}
