#include "UObject/SoftObjectPath.h"

#include "Misc/OutputDevice.h"
#include "PropertyText.h"
#include "Templates/Casts.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/PropertyPortFlags.h"

namespace
{
	bool IsValidNamePart(const FString& Part)
	{
		if (Part.IsEmpty())
		{
			return false;
		}
		for (const TCHAR C : Part)
		{
			if (C == '.' || C == ':' || C == '\'' || C == '"' || C == ',' || C == '\n' || C == '\r')
			{
				return false;
			}
		}
		return true;
	}

	// "/Root/Path" with no empty folder and no characters that end a path.
	bool IsValidPackagePart(const FString& Package)
	{
		if (Package.Len() < 2 || Package[0] != '/' || Package[Package.Len() - 1] == '/' || Package.Contains(TEXT("//")))
		{
			return false;
		}
		return IsValidNamePart(Package);
	}
}

// FTopLevelAssetPath

FTopLevelAssetPath::FTopLevelAssetPath(const UObject* InObject)
{
	const UObject* Outer = InObject ? InObject->GetOuter() : nullptr;
	if (Outer && !Outer->GetOuter() && Outer->IsA(UPackage::StaticClass()))
	{
		PackageName = Outer->GetFName();
		AssetName = InObject->GetFName();
	}
}

bool FTopLevelAssetPath::TrySetPath(FStringView Path)
{
	Reset();
	const FString Text(Path);
	int32 Dot = INDEX_NONE;
	const bool bHasAsset = Text.FindChar(TEXT('.'), Dot);
	const FString Package = bHasAsset ? Text.Left(Dot) : Text;
	const FString Asset = bHasAsset ? Text.RightChop(Dot + 1) : FString();
	if (!IsValidPackagePart(Package) || (bHasAsset && !IsValidNamePart(Asset)))
	{
		return false;
	}
	PackageName = FName(Package);
	AssetName = bHasAsset ? FName(Asset) : FName(NAME_None);
	return true;
}

FString FTopLevelAssetPath::ToString() const
{
	if (PackageName.IsNone())
	{
		return FString();
	}
	return AssetName.IsNone() ? PackageName.ToString() : PackageName.ToString() + TEXT(".") + AssetName.ToString();
}

// FSoftObjectPath

FSoftObjectPath::FSoftObjectPath(const UObject* Object)
{
	if (Object)
	{
		SetPath(Object->GetPathName());
	}
}

bool FSoftObjectPath::SetPath(FStringView Path)
{
	Reset();
	FString Text = FString(Path).TrimStartAndEnd();
	if (Text.IsEmpty() || Text.Equals(TEXT("None")))
	{
		return true;
	}
	// Class'/Path.Name' as exported references are written.
	const int32 Quote = Text.Find(TEXT("'"), ESearchCase::CaseSensitive);
	if (Quote > 0 && Text.Len() > Quote + 1 && Text[Text.Len() - 1] == '\'')
	{
		Text = Text.Mid(Quote + 1, Text.Len() - Quote - 2);
	}
	int32 Dot = INDEX_NONE;
	FString Top = Text;
	FString SubPath;
	if (Text.FindChar(TEXT('.'), Dot))
	{
		// A second '.' or a ':' after the asset name starts the sub-object path.
		const FString AfterPackage = Text.RightChop(Dot + 1);
		int32 SubStart = INDEX_NONE;
		for (int32 Index = 0; Index < AfterPackage.Len(); ++Index)
		{
			if (AfterPackage[Index] == '.' || AfterPackage[Index] == ':')
			{
				SubStart = Index;
				break;
			}
		}
		if (SubStart != INDEX_NONE)
		{
			Top = Text.Left(Dot + 1 + SubStart);
			SubPath = AfterPackage.RightChop(SubStart + 1);
			if (SubPath.IsEmpty())
			{
				return false;
			}
		}
	}
	FTopLevelAssetPath NewAssetPath;
	if (!NewAssetPath.TrySetPath(Top))
	{
		return false;
	}
	AssetPath = NewAssetPath;
	SubPathString = SubPath;
	return true;
}

FString FSoftObjectPath::ToString() const
{
	if (AssetPath.IsNull())
	{
		return FString();
	}
	return SubPathString.IsEmpty() ? AssetPath.ToString() : AssetPath.ToString() + TEXT(":") + SubPathString;
}

UObject* FSoftObjectPath::ResolveObject() const
{
	return IsNull() ? nullptr : StaticFindObject(nullptr, nullptr, FStringView(ToString()));
}

bool FSoftObjectPath::ExportTextItem(FString& ValueStr, FSoftObjectPath const& DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const
{
	const FString Path = ToString();
	if ((PortFlags & PPF_Delimited) != 0)
	{
		ValueStr += TEXT("\"") + Path.ReplaceQuotesWithEscapedQuotes() + TEXT("\"");
	}
	else
	{
		ValueStr += Path;
	}
	return true;
}

bool FSoftObjectPath::ImportTextItem(const TCHAR*& Buffer, int32 PortFlags, UObject* Parent, FOutputDevice* ErrorText)
{
	using namespace UE::Host::PropertyText;
	const TCHAR* Cursor = Buffer;
	SkipWhitespace(Cursor);
	FString Imported;
	const TCHAR* End = ReadToken(Cursor, Imported, true);
	if (End && *End == '\'')
	{
		Imported.Empty();
		End = ReadToken(End + 1, Imported, true);
		End = End && *End == '\'' ? End + 1 : nullptr;
	}
	if (!End)
	{
		if (ErrorText)
		{
			ErrorText->Logf(ELogVerbosity::Warning, TEXT("Invalid object path: %s"), Buffer);
		}
		return false;
	}
	// Whatever follows must end the value: nothing at top level, a separator inside a struct.
	const TCHAR* After = End;
	SkipWhitespace(After);
	const bool bDelimited = (PortFlags & PPF_Delimited) != 0;
	const bool bEndsValue = *After == '\0' || (bDelimited && (*After == ',' || *After == ')'));
	FSoftObjectPath Path;
	if (!bEndsValue || !Path.SetPath(Imported))
	{
		if (ErrorText)
		{
			ErrorText->Logf(ELogVerbosity::Warning, TEXT("Invalid object path: %s"), Buffer);
		}
		return false;
	}
	*this = Path;
	Buffer = End;
	return true;
}

// FSoftClassPath

FSoftClassPath::FSoftClassPath(const UClass* InClass)
	: FSoftObjectPath(static_cast<const UObject*>(InClass))
{
}

UClass* FSoftClassPath::ResolveClass() const
{
	return Cast<UClass>(ResolveObject());
}
