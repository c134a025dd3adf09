#include "PackageMountPoints.h"

#include "Misc/CString.h"
#include "Misc/PackageName.h"
#include "Misc/Paths.h"

#include <mutex>

DEFINE_LOG_CATEGORY_STATIC(LogPackageName, Log, All);

namespace
{
	struct FMountTable
	{
		std::mutex Mutex;
		bool bInitialized = false;
		TArray<UE::Host::FMountPointMatch> ContentMounts;
	};

	FMountTable& GetMountTable()
	{
		static FMountTable* Table = new FMountTable();
		return *Table;
	}

	FString NormalizeRootPath(const FString& RootPath)
	{
		FString Root = RootPath;
		FPaths::NormalizeFilename(Root);
		if (!Root.StartsWith(TEXT("/")))
		{
			Root.InsertAt(0, TEXT('/'));
		}
		if (!Root.EndsWith(TEXT("/")))
		{
			Root.AppendChar(TEXT('/'));
		}
		return Root;
	}

	FString NormalizeContentPath(const FString& ContentPath)
	{
		FString Path = FPaths::ConvertRelativePathToFull(ContentPath);
		FPaths::NormalizeFilename(Path);
		FPaths::RemoveDuplicateSlashes(Path);
		if (!Path.EndsWith(TEXT("/")))
		{
			Path.AppendChar(TEXT('/'));
		}
		return Path;
	}

	// Roots that hold no content.
	const TCHAR* const ReadOnlyRootPaths[] = {TEXT("/Script/"), TEXT("/Temp/"), TEXT("/Config/"), TEXT("/Memory/")};

	// Their folders follow the environment, so they are worked out when asked for.
	UE::Host::FMountPointMatch MakeReadOnlyRoot(const TCHAR* RootPath)
	{
		const FString Root(RootPath);
		FString ContentPath;
		if (Root == TEXT("/Temp/"))
		{
			ContentPath = FPaths::ProjectSavedDir();
		}
		else if (Root == TEXT("/Config/"))
		{
			ContentPath = FPaths::ProjectConfigDir();
		}
		return {Root, ContentPath, true};
	}

	TArray<UE::Host::FMountPointMatch> GetReadOnlyRoots()
	{
		TArray<UE::Host::FMountPointMatch> Roots;
		for (const TCHAR* Root : ReadOnlyRootPaths)
		{
			Roots.Add(MakeReadOnlyRoot(Root));
		}
		return Roots;
	}

	void ResetLocked(FMountTable& Table)
	{
		Table.ContentMounts.Reset();
		Table.ContentMounts.Add({TEXT("/Engine/"), NormalizeContentPath(FPaths::EngineContentDir()), false});
		Table.ContentMounts.Add({TEXT("/Game/"), NormalizeContentPath(FPaths::ProjectContentDir()), false});
		Table.bInitialized = true;
	}

	void EnsureInitializedLocked(FMountTable& Table)
	{
		if (!Table.bInitialized)
		{
			ResetLocked(Table);
		}
	}

	TArray<UE::Host::FMountPointMatch> CopyContentMounts()
	{
		FMountTable& Table = GetMountTable();
		std::lock_guard<std::mutex> Lock(Table.Mutex);
		EnsureInitializedLocked(Table);
		return Table.ContentMounts;
	}

	// Like FindMountPoint, but a root names its own folder too ("/Game" and "/Game/").
	bool FindMountPointOrRoot(const FString& Path, UE::Host::FMountPointMatch& OutMatch)
	{
		if (UE::Host::FindMountPoint(Path, OutMatch))
		{
			return true;
		}
		const FString AsRoot = NormalizeRootPath(Path);
		TArray<UE::Host::FMountPointMatch> Candidates = CopyContentMounts();
		Candidates.Append(GetReadOnlyRoots());
		for (const UE::Host::FMountPointMatch& Candidate : Candidates)
		{
			if (Candidate.RootPath.Equals(AsRoot, ESearchCase::IgnoreCase))
			{
				OutMatch = Candidate;
				return true;
			}
		}
		return false;
	}
}

namespace UE::Host
{
	bool FindMountPoint(FStringView Path, FMountPointMatch& OutMatch)
	{
		// Called for every name checked, so the table is searched in place.
		const std::u16string_view Candidate = Path.GetStdView();
		auto IsBelow = [&Candidate](const TCHAR* Root, int32 RootLength)
		{
			return Candidate.size() > static_cast<size_t>(RootLength) && FCString::Strnicmp(Candidate.data(), Root, static_cast<SIZE_T>(RootLength)) == 0;
		};

		int32 BestLength = 0;
		{
			FMountTable& Table = GetMountTable();
			std::lock_guard<std::mutex> Lock(Table.Mutex);
			EnsureInitializedLocked(Table);
			for (const FMountPointMatch& Mount : Table.ContentMounts)
			{
				if (Mount.RootPath.Len() > BestLength && IsBelow(*Mount.RootPath, Mount.RootPath.Len()))
				{
					OutMatch = Mount;
					BestLength = Mount.RootPath.Len();
				}
			}
		}
		for (const TCHAR* ReadOnlyRoot : ReadOnlyRootPaths)
		{
			const int32 RootLength = FCString::Strlen(ReadOnlyRoot);
			if (RootLength > BestLength && IsBelow(ReadOnlyRoot, RootLength))
			{
				OutMatch = MakeReadOnlyRoot(ReadOnlyRoot);
				BestLength = RootLength;
			}
		}
		return BestLength > 0;
	}

	TArray<FMountPointMatch> GetContentMountPoints()
	{
		return CopyContentMounts();
	}

	void ResetMountPoints()
	{
		FMountTable& Table = GetMountTable();
		std::lock_guard<std::mutex> Lock(Table.Mutex);
		ResetLocked(Table);
	}
}

void FPackageName::RegisterMountPoint(const FString& RootPath, const FString& ContentPath)
{
	const FString Root = NormalizeRootPath(RootPath);
	if (Root.Len() < 3 || Root.Contains(TEXT("//")))
	{
		UE_LOG(LogPackageName, Warning, TEXT("Cannot mount '%s': a root needs a name between its slashes"), *RootPath);
		return;
	}
	const FString Content = NormalizeContentPath(ContentPath);
	FMountTable& Table = GetMountTable();
	std::lock_guard<std::mutex> Lock(Table.Mutex);
	EnsureInitializedLocked(Table);
	for (UE::Host::FMountPointMatch& Existing : Table.ContentMounts)
	{
		if (Existing.RootPath.Equals(Root, ESearchCase::IgnoreCase))
		{
			Existing.ContentPath = Content;
			return;
		}
	}
	Table.ContentMounts.Add({Root, Content, false});
}

void FPackageName::UnRegisterMountPoint(const FString& RootPath, const FString& ContentPath)
{
	const FString Root = NormalizeRootPath(RootPath);
	const FString Content = NormalizeContentPath(ContentPath);
	FMountTable& Table = GetMountTable();
	std::lock_guard<std::mutex> Lock(Table.Mutex);
	EnsureInitializedLocked(Table);
	Table.ContentMounts.RemoveAll([&Root, &Content](const UE::Host::FMountPointMatch& Mount)
	{
		return Mount.RootPath.Equals(Root, ESearchCase::IgnoreCase) && Mount.ContentPath.Equals(Content, ESearchCase::CaseSensitive);
	});
}

bool FPackageName::MountPointExists(const FString& RootPath)
{
	const FString Root = NormalizeRootPath(RootPath);
	for (const UE::Host::FMountPointMatch& Mount : CopyContentMounts())
	{
		if (Mount.RootPath.Equals(Root, ESearchCase::IgnoreCase))
		{
			return true;
		}
	}
	return false;
}

void FPackageName::QueryRootContentPaths(TArray<FString>& OutRootContentPaths, bool bIncludeReadOnlyRoots, bool bWithoutLeadingSlashes, bool bWithoutTrailingSlashes)
{
	TArray<UE::Host::FMountPointMatch> Roots = CopyContentMounts();
	if (bIncludeReadOnlyRoots)
	{
		Roots.Append(GetReadOnlyRoots());
	}
	OutRootContentPaths.Reset();
	for (const UE::Host::FMountPointMatch& Root : Roots)
	{
		FString Path = Root.RootPath;
		if (bWithoutLeadingSlashes)
		{
			Path.RightChopInline(1);
		}
		if (bWithoutTrailingSlashes)
		{
			Path.LeftChopInline(1);
		}
		OutRootContentPaths.Add(Path);
	}
}

bool FPackageName::TryConvertLongPackageNameToFilename(const FString& InLongPackageName, FString& OutFilename, const FString& InExtension)
{
	UE::Host::FMountPointMatch Match;
	if (!FindMountPointOrRoot(InLongPackageName, Match) || Match.ContentPath.IsEmpty())
	{
		return false;
	}
	OutFilename = Match.ContentPath + InLongPackageName.Mid(Match.RootPath.Len()) + InExtension;
	return true;
}

FString FPackageName::LongPackageNameToFilename(const FString& InLongPackageName, const FString& InExtension)
{
	FString Filename;
	if (!TryConvertLongPackageNameToFilename(InLongPackageName, Filename, InExtension))
	{
		UE_LOG(LogPackageName, Warning, TEXT("LongPackageNameToFilename: '%s' is not in a mounted root with files"), *InLongPackageName);
		return FString();
	}
	return Filename;
}

bool FPackageName::TryConvertFilenameToLongPackageName(const FString& InFilename, FString& OutPackageName, FString* OutFailureReason)
{
	FString Filename = FPaths::ConvertRelativePathToFull(InFilename);
	FPaths::NormalizeFilename(Filename);
	FPaths::RemoveDuplicateSlashes(Filename);

	// The deepest content folder wins, so a mount inside another one claims its own files.
	const UE::Host::FMountPointMatch* Best = nullptr;
	TArray<UE::Host::FMountPointMatch> Mounts = CopyContentMounts();
	Mounts.Append(GetReadOnlyRoots());
	for (const UE::Host::FMountPointMatch& Mount : Mounts)
	{
		if (!Mount.ContentPath.IsEmpty() && Filename.StartsWith(Mount.ContentPath, ESearchCase::CaseSensitive)
			&& (!Best || Mount.ContentPath.Len() > Best->ContentPath.Len()))
		{
			Best = &Mount;
		}
	}
	if (!Best)
	{
		if (OutFailureReason)
		{
			*OutFailureReason = FString::Printf(TEXT("'%s' is not in a mounted content folder"), *InFilename);
		}
		return false;
	}

	FString Relative = Filename.Mid(Best->ContentPath.Len());
	while (Relative.EndsWith(TEXT("/")))
	{
		Relative.LeftChopInline(1);
	}
	const int32 LastSlash = Relative.FindLastCharByPredicate([](TCHAR C) { return C == TEXT('/'); });
	const int32 LastDot = Relative.FindLastCharByPredicate([](TCHAR C) { return C == TEXT('.'); });
	if (LastDot > LastSlash)
	{
		Relative.LeftInline(LastDot);
	}
	const FString PackageName = Best->RootPath + Relative;
	EErrorCode Code = EErrorCode::PackageNameUnknown;
	if (!Relative.IsEmpty() && !IsValidTextForLongPackageName(PackageName, &Code))
	{
		if (OutFailureReason)
		{
			*OutFailureReason = FormatErrorAsString(PackageName, Code);
		}
		return false;
	}
	OutPackageName = Relative.IsEmpty() ? Best->RootPath : PackageName;
	return true;
}

bool FPackageName::DoesPackageExist(const FString& LongPackageName, FString* OutFilename)
{
	FString Filename;
	if (!IsValidLongPackageName(LongPackageName, false) || !TryConvertLongPackageNameToFilename(LongPackageName, Filename))
	{
		return false;
	}
	// The editor's package first; the host also keeps tables as CSV files, which a package of the
	// same name beside them overrides.
	for (const TCHAR* Extension : {TEXT(".uasset"), TEXT(".csv")})
	{
		if (FPaths::FileExists(Filename + Extension))
		{
			if (OutFilename)
			{
				*OutFilename = Filename + Extension;
			}
			return true;
		}
	}
	return false;
}

const FString& FPackageName::GetAssetPackageExtension()
{
	static const FString Extension(TEXT(".uasset"));
	return Extension;
}
