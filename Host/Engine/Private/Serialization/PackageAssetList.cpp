// Discovery: what a package holds, from its summary and asset registry block alone.
#include "Host/PackageFile.h"

#include "PackageHeader.h"

namespace UE::Host::PackageFile
{
	namespace
	{
		using namespace UE::Host::Package;

		// 5.0 and earlier packages name classes by their short names.
		FTopLevelAssetPath MakeClassPath(const FString& ClassName)
		{
			if (ClassName.StartsWith(TEXT("/")))
			{
				return FTopLevelAssetPath(ClassName);
			}
			if (ClassName.Equals(TEXT("ObjectRedirector"), ESearchCase::IgnoreCase))
			{
				return GetRedirectorClassPath();
			}
			// StringTable and most other asset classes live in the Engine module.
			return FTopLevelAssetPath(FName(TEXT("/Script/Engine")), FName(ClassName));
		}

		// "StringTable'/Game/UI/ST_Menu.ST_Menu'" (or with a full class path, or bare) names
		// the object /Game/UI/ST_Menu.ST_Menu.
		FString ParseRedirectTarget(const FString& Value)
		{
			FString Path = Value.TrimStartAndEnd();
			const int32 FirstQuote = Path.Find(TEXT("'"), ESearchCase::CaseSensitive);
			if (FirstQuote != INDEX_NONE)
			{
				const int32 LastQuote = Path.Find(TEXT("'"), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
				Path = LastQuote > FirstQuote ? Path.Mid(FirstQuote + 1, LastQuote - FirstQuote - 1) : FString();
			}
			return Path.StartsWith(TEXT("/")) && Path.Contains(TEXT(".")) ? Path : FString();
		}

		bool ListFromReader(FPackageReader& Reader, TArray<FListedAsset>& OutAssets, FString& OutError)
		{
			OutAssets.Reset();
			FPackageSummary Summary;
			ReadSummary(Reader, Summary);
			TArray<FRegistryObject> Objects;
			ReadAssetRegistryBlock(Reader, Summary, Objects);
			if (Reader.IsError())
			{
				OutError = Reader.GetError();
				return false;
			}
			for (const FRegistryObject& Object : Objects)
			{
				// Relative paths are the asset name; a full one ends with it.
				FString Name = Object.ObjectPath;
				const int32 Dot = Name.Find(TEXT("."), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
				if (Dot != INDEX_NONE)
				{
					Name.RightChopInline(Dot + 1);
				}
				const FTopLevelAssetPath ClassPath = MakeClassPath(Object.ClassName);
				if (Name.IsEmpty() || !ClassPath.IsValid())
				{
					OutError = FString::Printf(TEXT("damaged: the asset registry block lists '%s' of class '%s'"), *Object.ObjectPath, *Object.ClassName);
					OutAssets.Reset();
					return false;
				}
				FListedAsset& Asset = OutAssets.AddDefaulted_GetRef();
				Asset.AssetName = FName(Name);
				Asset.ClassPath = ClassPath;
				if (Asset.IsRedirector())
				{
					Asset.RedirectTarget = ParseRedirectTarget(Object.DestinationObject);
				}
			}
			return true;
		}
	}

	const FTopLevelAssetPath& GetRedirectorClassPath()
	{
		static const FTopLevelAssetPath Path(FName(TEXT("/Script/CoreUObject")), FName(TEXT("ObjectRedirector")));
		return Path;
	}

	bool FListedAsset::IsRedirector() const
	{
		return ClassPath == GetRedirectorClassPath();
	}

	bool ReadAssetList(const FString& Filename, TArray<FListedAsset>& OutAssets, FString& OutError)
	{
		FPackageReader Reader(Filename);
		return ListFromReader(Reader, OutAssets, OutError);
	}

	bool ReadAssetList(std::string_view Bytes, TArray<FListedAsset>& OutAssets, FString& OutError)
	{
		FPackageReader Reader(Bytes);
		return ListFromReader(Reader, OutAssets, OutError);
	}
}
