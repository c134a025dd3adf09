// Content Browser preferences that belong to one user in one project: they live in the
// project's Config/UserEditor.ini, which projects keep out of source control.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Object.h"
#include "ContentBrowserProjectUserSettings.generated.h"

UCLASS(config = Editor, projectuserconfig, meta = (DisplayName = "Content Browser (Project User)"))
class UContentBrowserProjectUserSettings : public UObject
{
	GENERATED_BODY()

public:
	UContentBrowserProjectUserSettings();

	UPROPERTY(config, EditAnywhere, Category = Folders)
	TArray<FString> FavoriteFolders;

	UPROPERTY(config, EditAnywhere, Category = Folders)
	FString LastSelectedPath;

	UPROPERTY(config, EditAnywhere, Category = View)
	bool bShowEngineContent;

	UPROPERTY(config, EditAnywhere, Category = View, meta = (ClampMin = "0", ClampMax = "50"))
	int32 NumRecentFolders;
};
