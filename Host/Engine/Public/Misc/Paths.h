// Folder and path helpers. Directory functions return strings that end with '/'.
#pragma once

#include "CoreMinimal.h"

class FPaths
{
public:
	static FString EngineDir();
	static FString EngineConfigDir();
	static FString EngineContentDir();
	static FString EngineUserDir();
	static FString EngineVersionAgnosticUserDir();
	static FString ProjectDir();
	static FString ProjectConfigDir();
	static FString ProjectContentDir();
	static const FString& ProjectSavedDir();
	static FString ProjectPluginsDir();
	// <project>/Saved/Config/ : the saved layer lives in its platform folder below.
	static FString GeneratedConfigDir();
	static FString GetProjectFilePath();

	static bool FileExists(const FString& InPath);
	static bool DirectoryExists(const FString& InPath);

	static FString GetCleanFilename(const FString& InPath);
	static FString GetBaseFilename(const FString& InPath, bool bRemovePath = true);
	static FString GetExtension(const FString& InPath, bool bIncludeDot = false);
	static FString GetPath(const FString& InPath);

	static bool IsRelative(const FString& InPath);
	static void NormalizeFilename(FString& InPath);
	static void NormalizeDirectoryName(FString& InPath);
	static void RemoveDuplicateSlashes(FString& InPath);
	// Removes "." and ".." segments; false when ".." would climb above the root.
	static bool CollapseRelativeDirectories(FString& InPath);
	static FString ConvertRelativePathToFull(const FString& InPath);
	static FString ConvertRelativePathToFull(FString&& InPath) { return ConvertRelativePathToFull(static_cast<const FString&>(InPath)); }
	static FString ConvertRelativePathToFull(const FString& BasePath, const FString& InPath);
	static FString ConvertRelativePathToFull(const FString& BasePath, FString&& InPath) { return ConvertRelativePathToFull(BasePath, static_cast<const FString&>(InPath)); }
	static FString ConvertRelativePathToFull(FString&& BasePath, const FString& InPath) { return ConvertRelativePathToFull(static_cast<const FString&>(BasePath), InPath); }
	static FString ConvertRelativePathToFull(FString&& BasePath, FString&& InPath) { return ConvertRelativePathToFull(static_cast<const FString&>(BasePath), static_cast<const FString&>(InPath)); }
	static bool IsUnderDirectory(const FString& InPath, const FString& InDirectory);

	template<typename... PathTypes>
	static FString Combine(PathTypes&&... InPaths)
	{
		const TCHAR* Parts[] = {GetCharPointer(std::forward<PathTypes>(InPaths))...};
		return CombineInternal(Parts, static_cast<int32>(sizeof...(PathTypes)));
	}

private:
	static const TCHAR* GetCharPointer(const TCHAR* Path) { return Path; }
	static const TCHAR* GetCharPointer(const FString& Path) { return *Path; }
	static FString CombineInternal(const TCHAR** Paths, int32 NumPaths);
};
