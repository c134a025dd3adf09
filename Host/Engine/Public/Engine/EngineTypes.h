// Engine types used by settings classes: folder and file paths, and the lighting methods.
#pragma once

#include "CoreMinimal.h"
#include "Engine/EngineBaseTypes.h"
#include "UObject/Class.h"

// A folder; settings hold it as (Path="...").
USTRUCT(BlueprintType)
struct FDirectoryPath
{
	UE_HOST_DECLARE_STRUCT(FDirectoryPath)

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Path)
	FString Path;

	bool operator==(const FDirectoryPath& Other) const { return Path.Equals(Other.Path); }
};

USTRUCT(BlueprintType)
struct FFilePath
{
	UE_HOST_DECLARE_STRUCT(FFilePath)

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = FilePath)
	FString FilePath;

	bool operator==(const FFilePath& Other) const { return FilePath.Equals(Other.FilePath); }
};

UENUM()
namespace EDynamicGlobalIlluminationMethod
{
	enum Type : int
	{
		None,
		Lumen,
		ScreenSpace,
		RayTraced,
		Plugin,
	};
}

UENUM()
namespace EReflectionMethod
{
	enum Type : int
	{
		None,
		Lumen,
		ScreenSpace,
		RayTraced,
	};
}
