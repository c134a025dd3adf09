// Canonicalising a caller's asset path: a long package name, or a top-level object path whose
// object name repeats the asset name (/Game/Foo/M_Bar.M_Bar). Inline, so modules compile them in.
#pragma once

#include "CoreMinimal.h"
#include "Misc/PackageName.h"

namespace OrvexCore
{
	// True, with the package part in OutPackagePath, when Input is "<package>.<asset name>".
	inline bool TryStripRedundantObjectSuffix(const FString& Input, FString& OutPackagePath)
	{
		int32 FirstDot = INDEX_NONE;
		int32 LastDot = INDEX_NONE;
		if (Input.IsEmpty() || !Input.FindChar(TEXT('.'), FirstDot))
		{
			return false;
		}
		Input.FindLastChar(TEXT('.'), LastDot);
		if (FirstDot != LastDot)
		{
			return false;
		}
		const FString PackagePart = Input.Left(FirstDot);
		const FString ObjectPart = Input.Mid(FirstDot + 1);
		if (PackagePart.IsEmpty() || ObjectPart.IsEmpty() || ObjectPart.Contains(TEXT("/")))
		{
			return false;
		}
		int32 LastSlash = INDEX_NONE;
		if (!PackagePart.FindLastChar(TEXT('/'), LastSlash))
		{
			return false;
		}
		const FString AssetName = PackagePart.Mid(LastSlash + 1);
		if (AssetName.IsEmpty() || AssetName.Len() != ObjectPart.Len() || !AssetName.Equals(ObjectPart, ESearchCase::IgnoreCase))
		{
			return false;
		}
		OutPackagePath = PackagePart;
		return true;
	}

	// An empty string and the canonical package path in OutPackagePath on success; otherwise the
	// reason, and OutPackagePath is left alone.
	inline FString ValidatePackagePath(const FString& Input, FString& OutPackagePath)
	{
		if (Input.IsEmpty())
		{
			return TEXT("Package path is empty");
		}
		FString Candidate;
		const bool bStripped = TryStripRedundantObjectSuffix(Input, Candidate);
		if (!bStripped)
		{
			Candidate = Input;
		}
		FText Reason;
		if (FPackageName::IsValidLongPackageName(Candidate, false, &Reason))
		{
			OutPackagePath = Candidate;
			return FString();
		}
		FString Message = FString::Printf(TEXT("Invalid package path '%s': %s"), *Input, *Reason.ToString());
		if (!bStripped && Input.Contains(TEXT(".")))
		{
			Message += TEXT(" (an object path is accepted only when the name after the '.' matches the asset name, e.g. '/Game/Foo/M_Bar.M_Bar')");
		}
		return Message;
	}
}
