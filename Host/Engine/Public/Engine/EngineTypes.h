// Engine types used by settings classes: folder and file paths, and the lighting methods.
#pragma once

#include "CoreMinimal.h"
#include "Engine/EngineBaseTypes.h"
#include "UObject/Class.h"
#include "EngineTypes.generated.h"

// A folder; settings hold it as (Path="...").
USTRUCT(BlueprintType)
struct FDirectoryPath
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = Path)
	FString Path;

	bool operator==(const FDirectoryPath& Other) const { return Path.Equals(Other.Path); }
};

USTRUCT(BlueprintType)
struct FFilePath
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, BlueprintReadWrite, Category = FilePath)
	FString FilePath;

	bool operator==(const FFilePath& Other) const { return FilePath.Equals(Other.FilePath); }
};

UENUM()
namespace EDynamicGlobalIlluminationMethod
{
	enum Type : int
	{
		None UMETA(DisplayName = "None"),
		Lumen UMETA(DisplayName = "Lumen"),
		ScreenSpace UMETA(DisplayName = "Screen Space (Beta)"),
		RayTraced UMETA(DisplayName = "Ray Traced (Deprecated)", Hidden),
		Plugin UMETA(DisplayName = "Plugin"),
	};
}

UENUM()
namespace EReflectionMethod
{
	enum Type : int
	{
		None UMETA(DisplayName = "None"),
		Lumen UMETA(DisplayName = "Lumen"),
		ScreenSpace UMETA(DisplayName = "Screen Space"),
		RayTraced UMETA(DisplayName = "Ray Traced (Deprecated)", Hidden),
	};
}
