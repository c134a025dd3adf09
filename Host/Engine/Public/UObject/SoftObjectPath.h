// FSoftObjectPath and FSoftClassPath: the text path of an object that may not be loaded.
// Exported as the bare path ("/Game/Maps/Main.Main"), quoted inside structs and arrays; an empty
// path is null, and "None" reads back as null.
#pragma once

#include "CoreMinimal.h"
#include "UObject/TopLevelAssetPath.h"

class UObject;
class UClass;
class FOutputDevice;

struct FSoftObjectPath
{
	FSoftObjectPath() = default;
	FSoftObjectPath(FTopLevelAssetPath InAssetPath, FString InSubPathString = FString())
		: AssetPath(InAssetPath), SubPathString(std::move(InSubPathString))
	{
	}
	explicit FSoftObjectPath(FStringView Path) { SetPath(Path); }
	explicit FSoftObjectPath(const FString& Path) { SetPath(FStringView(Path)); }
	explicit FSoftObjectPath(const TCHAR* Path) { SetPath(FStringView(Path)); }
	explicit FSoftObjectPath(const UObject* Object);

	// Takes "/Package/Path.Asset[:SubObject]", a package path, "Class'/Path.Asset'" or
	// empty/"None" (null). Returns false, leaving the path null, for anything else.
	bool SetPath(FStringView Path);
	bool SetPath(const FString& Path) { return SetPath(FStringView(Path)); }

	FString ToString() const;
	FString GetAssetPathString() const { return AssetPath.ToString(); }
	FString GetLongPackageName() const { return AssetPath.GetPackageName().IsNone() ? FString() : AssetPath.GetPackageName().ToString(); }
	FName GetLongPackageFName() const { return AssetPath.GetPackageName(); }
	FString GetAssetName() const { return AssetPath.GetAssetName().IsNone() ? FString() : AssetPath.GetAssetName().ToString(); }
	FName GetAssetFName() const { return AssetPath.GetAssetName(); }
	const FTopLevelAssetPath& GetAssetPath() const { return AssetPath; }
	const FString& GetSubPathString() const { return SubPathString; }

	bool IsNull() const { return AssetPath.IsNull(); }
	bool IsValid() const { return !AssetPath.IsNull(); }
	bool IsAsset() const { return !AssetPath.IsNull() && SubPathString.IsEmpty(); }
	void Reset() { AssetPath.Reset(); SubPathString.Empty(); }

	// The loaded object at this path, if there is one.
	UObject* ResolveObject() const;

	bool operator==(const FSoftObjectPath& Other) const { return AssetPath == Other.AssetPath && SubPathString.Equals(Other.SubPathString); }
	bool operator!=(const FSoftObjectPath& Other) const { return !(*this == Other); }

	bool ExportTextItem(FString& ValueStr, FSoftObjectPath const& DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const;
	bool ImportTextItem(const TCHAR*& Buffer, int32 PortFlags, UObject* Parent, FOutputDevice* ErrorText);

private:
	FTopLevelAssetPath AssetPath;
	FString SubPathString;
};

struct FSoftClassPath : public FSoftObjectPath
{
	FSoftClassPath() = default;
	explicit FSoftClassPath(FStringView Path) : FSoftObjectPath(Path) {}
	explicit FSoftClassPath(const FString& Path) : FSoftObjectPath(Path) {}
	explicit FSoftClassPath(const TCHAR* Path) : FSoftObjectPath(Path) {}
	explicit FSoftClassPath(const UClass* InClass);

	// The loaded class at this path, if it is one (no loading happens on the host).
	UClass* ResolveClass() const;
	template<class T>
	UClass* TryLoadClass() const { return ResolveClass(); }
};

typedef FSoftObjectPath FSoftObjectReference;
typedef FSoftClassPath FSoftClassReference;

inline uint32 GetTypeHash(const FSoftObjectPath& Path)
{
	return GetTypeHash(Path.GetAssetPath()) ^ GetTypeHash(Path.GetSubPathString());
}
