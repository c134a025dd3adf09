// FPackageName: long package names ("/Game/Maps/Main"), the roots they are mounted under and the
// files behind them. /Engine and /Game are always mounted; plugins mount their own root. The
// read-only roots /Script, /Temp, /Config and /Memory hold packages that are never content.
#pragma once

#include "CoreMinimal.h"
#include "Internationalization/Text.h"

class FPackageName
{
public:
	enum class EErrorCode : uint8
	{
		PackageNameUnknown,
		PackageNameEmptyPath,
		PackageNamePathNotMounted,
		PackageNamePathIsMemoryOnly,
		PackageNameSpacesNotAllowed,
		PackageNameContainsInvalidCharacters,
		LongPackageNames_PathTooShort,
		LongPackageNames_PathWithNoStartingSlash,
		LongPackageNames_PathWithTrailingSlash,
		LongPackageNames_PathWithDoubleSlash,
	};

	// Text checks first (length, slashes, characters), then the mount check: the name must lie
	// below a mounted root. Read-only roots count only when asked for.
	static bool IsValidLongPackageName(FStringView InLongPackageName, bool bIncludeReadOnlyRoots = false, EErrorCode* OutReason = nullptr);
	static bool IsValidLongPackageName(FStringView InLongPackageName, bool bIncludeReadOnlyRoots, FText* OutReason);
	// The text checks alone.
	static bool IsValidTextForLongPackageName(FStringView InLongPackageName, EErrorCode* OutReason = nullptr);
	static bool IsValidTextForLongPackageName(FStringView InLongPackageName, FText* OutReason);
	// "/Game/Maps/Main.Main": a valid package name, a dot, and an object name.
	static bool IsValidObjectPath(const FString& InObjectPath, FText* OutReason = nullptr);
	// Whether the path starts with a mounted root (read-only roots included); no text checks.
	static bool IsValidPath(const FString& InPath);

	static FText FormatErrorAsText(FStringView InPath, EErrorCode ErrorCode);
	static FString FormatErrorAsString(FStringView InPath, EErrorCode ErrorCode);

	// "/Game/Maps/Main" -> "Main" and "/Game/Maps".
	static FString GetLongPackageAssetName(const FString& InLongPackageName);
	static FString GetLongPackagePath(const FString& InLongPackageName);
	// The last segment of a package name or object path ("/Game/Maps/Main.Main" -> "Main").
	static FString GetShortName(const FString& LongName);
	static FName GetShortFName(const FString& LongName);
	// "/Game/Maps/Main.Main:Sub" -> "/Game/Maps/Main" and "Main:Sub".
	static FString ObjectPathToPackageName(const FString& InObjectPath);
	static FString ObjectPathToObjectName(const FString& InObjectPath);
	// Root ("/Game/"), the folders below it ("Maps/") and the short name ("Main").
	static bool SplitLongPackageName(const FString& InLongPackageName, FString& OutPackageRoot, FString& OutPackagePath, FString& OutPackageName, const bool bStripRootLeadingSlash = false);
	// The root a package lies under: "Game" (or "/Game/" without bInWithoutSlashes); None if unmounted.
	static FName GetPackageMountPoint(const FString& InPackagePath, bool InWithoutSlashes = true);

	static bool IsScriptPackage(FStringView InPackageName);
	static bool IsMemoryPackage(FStringView InPackageName);
	static bool IsTempPackage(FStringView InPackageName);

	// Mount points map a root ("/MyPlugin/") to a content folder. Roots and folders may be given
	// with or without their trailing '/'; folders are made absolute.
	static void RegisterMountPoint(const FString& RootPath, const FString& ContentPath);
	static void UnRegisterMountPoint(const FString& RootPath, const FString& ContentPath);
	static bool MountPointExists(const FString& RootPath);
	// The content roots ("/Engine/", "/Game/", plugin roots) in the order they were mounted, then
	// the read-only roots when asked for.
	static void QueryRootContentPaths(TArray<FString>& OutRootContentPaths, bool bIncludeReadOnlyRoots = false, bool bWithoutLeadingSlashes = false, bool bWithoutTrailingSlashes = false);

	// Package names and the files behind them. Extension is added to the file name ("" for a
	// folder-like conversion); a file under no mounted folder has no package name.
	static bool TryConvertLongPackageNameToFilename(const FString& InLongPackageName, FString& OutFilename, const FString& InExtension = TEXT(""));
	// The file name, or the empty string (and a warning) when the package is not mounted.
	static FString LongPackageNameToFilename(const FString& InLongPackageName, const FString& InExtension = TEXT(""));
	static bool TryConvertFilenameToLongPackageName(const FString& InFilename, FString& OutPackageName, FString* OutFailureReason = nullptr);

	// The file of the package, when one exists on disk: the .uasset file, else (the host's text
	// form of tables) the .csv file.
	static bool DoesPackageExist(const FString& LongPackageName, FString* OutFilename = nullptr);
	// ".uasset".
	static const FString& GetAssetPackageExtension();
};
