#include "Misc/PackageName.h"

#include "PackageMountPoints.h"
#include "UObject/UObjectBaseUtility.h"

namespace
{
	// The shortest legal long package name is "/A/B".
	constexpr int32 MinLongPackageNameLength = 4;

	// The engine's INVALID_LONGPACKAGE_CHARACTERS.
	constexpr TCHAR InvalidLongPackageCharacters[] = TEXT("\\:*?\"<>|' ,.&!~\n\r\t@#");

	bool IsInvalidLongPackageCharacter(TCHAR C)
	{
		for (const TCHAR* Invalid = InvalidLongPackageCharacters; *Invalid; ++Invalid)
		{
			if (*Invalid == C)
			{
				return true;
			}
		}
		return false;
	}

	// The set as a reader can see it: line breaks and tabs spelled as escapes, so the message
	// stays on one line.
	FString DescribeInvalidCharacters()
	{
		FString Result;
		for (const TCHAR* Invalid = InvalidLongPackageCharacters; *Invalid; ++Invalid)
		{
			switch (*Invalid)
			{
			case TEXT('\n'): Result += TEXT("\\n"); break;
			case TEXT('\r'): Result += TEXT("\\r"); break;
			case TEXT('\t'): Result += TEXT("\\t"); break;
			default: Result.AppendChar(*Invalid); break;
			}
		}
		return Result;
	}

	int32 FindLastSlash(const FString& Path)
	{
		int32 Index = INDEX_NONE;
		Path.FindLastChar(TEXT('/'), Index);
		return Index;
	}

	// The object part of an object path starts at the first '.' or ':' after the last '/'.
	int32 FindObjectDelimiter(const FString& ObjectPath)
	{
		const int32 LastSlash = FindLastSlash(ObjectPath);
		for (int32 Index = LastSlash + 1; Index < ObjectPath.Len(); ++Index)
		{
			if (ObjectPath[Index] == TEXT('.') || ObjectPath[Index] == SUBOBJECT_DELIMITER_CHAR)
			{
				return Index;
			}
		}
		return INDEX_NONE;
	}
}

bool FPackageName::IsValidTextForLongPackageName(FStringView InLongPackageName, EErrorCode* OutReason)
{
	auto Fail = [OutReason](EErrorCode Code)
	{
		if (OutReason)
		{
			*OutReason = Code;
		}
		return false;
	};

	const std::u16string_view Name = InLongPackageName.GetStdView();
	if (Name.size() < static_cast<size_t>(MinLongPackageNameLength))
	{
		return Fail(EErrorCode::LongPackageNames_PathTooShort);
	}
	if (Name.front() != TEXT('/'))
	{
		return Fail(EErrorCode::LongPackageNames_PathWithNoStartingSlash);
	}
	if (Name.back() == TEXT('/'))
	{
		return Fail(EErrorCode::LongPackageNames_PathWithTrailingSlash);
	}
	if (Name.find(u"//") != std::u16string_view::npos)
	{
		return Fail(EErrorCode::LongPackageNames_PathWithDoubleSlash);
	}
	for (const TCHAR C : Name)
	{
		if (IsInvalidLongPackageCharacter(C))
		{
			return Fail(EErrorCode::PackageNameContainsInvalidCharacters);
		}
	}
	return true;
}

bool FPackageName::IsValidTextForLongPackageName(FStringView InLongPackageName, FText* OutReason)
{
	EErrorCode Code = EErrorCode::PackageNameUnknown;
	if (IsValidTextForLongPackageName(InLongPackageName, &Code))
	{
		return true;
	}
	if (OutReason)
	{
		*OutReason = FormatErrorAsText(InLongPackageName, Code);
	}
	return false;
}

bool FPackageName::IsValidLongPackageName(FStringView InLongPackageName, bool bIncludeReadOnlyRoots, EErrorCode* OutReason)
{
	if (!IsValidTextForLongPackageName(InLongPackageName, OutReason))
	{
		return false;
	}
	UE::Host::FMountPointMatch Match;
	if (!UE::Host::FindMountPoint(InLongPackageName, Match) || (Match.bReadOnly && !bIncludeReadOnlyRoots))
	{
		if (OutReason)
		{
			*OutReason = EErrorCode::PackageNamePathNotMounted;
		}
		return false;
	}
	return true;
}

bool FPackageName::IsValidLongPackageName(FStringView InLongPackageName, bool bIncludeReadOnlyRoots, FText* OutReason)
{
	EErrorCode Code = EErrorCode::PackageNameUnknown;
	if (IsValidLongPackageName(InLongPackageName, bIncludeReadOnlyRoots, &Code))
	{
		return true;
	}
	if (OutReason)
	{
		*OutReason = FormatErrorAsText(InLongPackageName, Code);
	}
	return false;
}

bool FPackageName::IsValidObjectPath(const FString& InObjectPath, FText* OutReason)
{
	const int32 Delimiter = FindObjectDelimiter(InObjectPath);
	if (Delimiter == INDEX_NONE || InObjectPath[Delimiter] != TEXT('.'))
	{
		if (OutReason)
		{
			*OutReason = FText::FromString(FString::Printf(TEXT("Object path '%s' should contain a '.' between the package name and the object name."), *InObjectPath));
		}
		return false;
	}
	const FString ObjectName = InObjectPath.Mid(Delimiter + 1);
	if (ObjectName.IsEmpty() || ObjectName.EndsWith(TEXT(".")) || ObjectName.EndsWith(SUBOBJECT_DELIMITER))
	{
		if (OutReason)
		{
			*OutReason = FText::FromString(FString::Printf(TEXT("Object path '%s' has an empty object name."), *InObjectPath));
		}
		return false;
	}
	return IsValidLongPackageName(InObjectPath.Left(Delimiter), true, OutReason);
}

bool FPackageName::IsValidPath(const FString& InPath)
{
	FString Probe = InPath;
	if (!Probe.EndsWith(TEXT("/")))
	{
		Probe.AppendChar(TEXT('/'));
	}
	// A root itself ("/Game/") lies under no root, so probe one level below it.
	Probe.AppendChar(TEXT('x'));
	UE::Host::FMountPointMatch Match;
	return UE::Host::FindMountPoint(Probe, Match);
}

FText FPackageName::FormatErrorAsText(FStringView InPath, EErrorCode ErrorCode)
{
	return FText::FromString(FormatErrorAsString(InPath, ErrorCode));
}

FString FPackageName::FormatErrorAsString(FStringView InPath, EErrorCode ErrorCode)
{
	const FString Path(InPath);
	switch (ErrorCode)
	{
	case EErrorCode::PackageNameEmptyPath:
		return TEXT("Input is an empty string.");
	case EErrorCode::PackageNamePathNotMounted:
	{
		TArray<FString> Roots;
		QueryRootContentPaths(Roots, false, false, true);
		return FString::Printf(TEXT("Path does not start with a valid root. Path must begin with one of: %s"), *FString::Join(Roots, TEXT(", ")));
	}
	case EErrorCode::PackageNamePathIsMemoryOnly:
		return FString::Printf(TEXT("Path '%s' is a memory-only path, which has no file on disk."), *Path);
	case EErrorCode::PackageNameSpacesNotAllowed:
		return FString::Printf(TEXT("Input '%s' contains a space, which is invalid for LongPackageNames."), *Path);
	case EErrorCode::PackageNameContainsInvalidCharacters:
		return FString::Printf(TEXT("Input '%s' contains one of the invalid characters for LongPackageNames: '%s'."), *Path, *DescribeInvalidCharacters());
	case EErrorCode::LongPackageNames_PathTooShort:
		return FString::Printf(TEXT("Input '%s' contains fewer than the minimum number of characters %d for LongPackageNames."), *Path, MinLongPackageNameLength);
	case EErrorCode::LongPackageNames_PathWithNoStartingSlash:
		return FString::Printf(TEXT("Input '%s' does not start with a '/', which is required for LongPackageNames."), *Path);
	case EErrorCode::LongPackageNames_PathWithTrailingSlash:
		return FString::Printf(TEXT("Input '%s' ends with a '/', which is invalid for LongPackageNames."), *Path);
	case EErrorCode::LongPackageNames_PathWithDoubleSlash:
		return FString::Printf(TEXT("Input '%s' contains '//', which is invalid for LongPackageNames."), *Path);
	case EErrorCode::PackageNameUnknown:
	default:
		return FString::Printf(TEXT("Package name '%s' is unknown."), *Path);
	}
}

FString FPackageName::GetLongPackageAssetName(const FString& InLongPackageName)
{
	return InLongPackageName.Mid(FindLastSlash(InLongPackageName) + 1);
}

FString FPackageName::GetLongPackagePath(const FString& InLongPackageName)
{
	const int32 LastSlash = FindLastSlash(InLongPackageName);
	return LastSlash == INDEX_NONE ? InLongPackageName : InLongPackageName.Left(LastSlash);
}

FString FPackageName::GetShortName(const FString& LongName)
{
	FString Name = ObjectPathToPackageName(LongName);
	return GetLongPackageAssetName(Name);
}

FName FPackageName::GetShortFName(const FString& LongName)
{
	return FName(*GetShortName(LongName));
}

FString FPackageName::ObjectPathToPackageName(const FString& InObjectPath)
{
	const int32 Delimiter = FindObjectDelimiter(InObjectPath);
	return Delimiter == INDEX_NONE ? InObjectPath : InObjectPath.Left(Delimiter);
}

FString FPackageName::ObjectPathToObjectName(const FString& InObjectPath)
{
	const int32 Delimiter = FindObjectDelimiter(InObjectPath);
	return Delimiter == INDEX_NONE ? InObjectPath : InObjectPath.Mid(Delimiter + 1);
}

bool FPackageName::SplitLongPackageName(const FString& InLongPackageName, FString& OutPackageRoot, FString& OutPackagePath, FString& OutPackageName, const bool bStripRootLeadingSlash)
{
	UE::Host::FMountPointMatch Match;
	if (!UE::Host::FindMountPoint(InLongPackageName, Match))
	{
		return false;
	}
	const FString Rest = InLongPackageName.Mid(Match.RootPath.Len());
	const int32 LastSlash = FindLastSlash(Rest);
	OutPackageRoot = bStripRootLeadingSlash ? Match.RootPath.Mid(1) : Match.RootPath;
	OutPackagePath = LastSlash == INDEX_NONE ? FString() : Rest.Left(LastSlash + 1);
	OutPackageName = Rest.Mid(LastSlash + 1);
	return true;
}

FName FPackageName::GetPackageMountPoint(const FString& InPackagePath, bool InWithoutSlashes)
{
	UE::Host::FMountPointMatch Match;
	if (!UE::Host::FindMountPoint(InPackagePath, Match))
	{
		return NAME_None;
	}
	return FName(*(InWithoutSlashes ? Match.RootPath.Mid(1, Match.RootPath.Len() - 2) : Match.RootPath));
}

bool FPackageName::IsScriptPackage(FStringView InPackageName)
{
	return FString(InPackageName).StartsWith(TEXT("/Script/"));
}

bool FPackageName::IsMemoryPackage(FStringView InPackageName)
{
	return FString(InPackageName).StartsWith(TEXT("/Memory/"));
}

bool FPackageName::IsTempPackage(FStringView InPackageName)
{
	return FString(InPackageName).StartsWith(TEXT("/Temp/"));
}
