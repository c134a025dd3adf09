// Copyright of this repository's authors.

#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "PreviewToolsSettings.generated.h"

/** Per-user preview options of this project, saved in the user's saved config. */
UCLASS(config=EditorPerProjectUserSettings)
class PREVIEWTOOLS_API UPreviewToolsSettings : public UObject
{
	GENERATED_BODY()

public:
	UPROPERTY(config, EditAnywhere, Category = Preview, meta = (ClampMin = "0.1", ClampMax = "10.0"))
	float PreviewCameraSpeed = 1.0f;

	UPROPERTY(config, EditAnywhere, Category = Preview)
	FString LastPreviewedMap;
};

/** Where preview captures go on this machine, for every project. */
UCLASS(config=Engine, globaluserconfig)
class PREVIEWTOOLS_API UPreviewCaptureUserSettings : public UObject
{
	GENERATED_BODY()

public:
	UPROPERTY(config, globalconfig, EditAnywhere, Category = Capture)
	FString CaptureFolder;
};
