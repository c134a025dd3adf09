#include "UObject/UObjectGlobals.h"

#include "HeaderObjectLayout.h"
#include "HeaderTypes.h"
#include "ObjectRegistry.h"
#include "ObjectSystemInternal.h"
#include "UObject/Class.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"
#include "Templates/Casts.h"

DEFINE_LOG_CATEGORY_STATIC(LogUObjectGlobals, Log, All);

namespace
{
	bool MatchesClass(const UObject* Object, const UClass* Class, bool bExactClass)
	{
		if (!Class)
		{
			return true;
		}
		return bExactClass ? Object->GetClass() == Class : Object->IsA(Class);
	}

	// "Class'/Path.Name'" and "/Script/CoreUObject.Class'/Path.Name'" become "/Path.Name".
	FString StripExportTextClass(const FString& Path)
	{
		const int32 FirstQuote = Path.Find(TEXT("'"), ESearchCase::CaseSensitive);
		if (FirstQuote > 0 && Path.Len() >= FirstQuote + 2 && Path[Path.Len() - 1] == TEXT('\''))
		{
			return Path.Mid(FirstQuote + 1, Path.Len() - FirstQuote - 2);
		}
		return Path;
	}

	// Splits "A.B:C" into its object names. False for empty parts.
	bool SplitObjectPath(const FString& Path, TArray<FString>& OutNames)
	{
		FString Current;
		for (const TCHAR C : Path)
		{
			if (C == TEXT('.') || C == SUBOBJECT_DELIMITER_CHAR)
			{
				if (Current.IsEmpty())
				{
					return false;
				}
				OutNames.Add(Current);
				Current.Empty();
			}
			else
			{
				Current.AppendChar(C);
			}
		}
		if (Current.IsEmpty())
		{
			return false;
		}
		OutNames.Add(Current);
		return true;
	}

	bool IsNativeObject(const UObject* Object)
	{
		if (const UClass* AsClass = Cast<UClass>(Object))
		{
			return AsClass->HasAnyClassFlags(CLASS_Native);
		}
		const UPackage* Package = Object->GetOutermost();
		return Package && Package->HasAnyPackageFlags(PKG_CompiledIn);
	}
}

UObject* StaticFindObject(UClass* Class, UObject* InOuter, FStringView Name, EFindObjectFlags Flags)
{
	FString Path = FString(Name).TrimStartAndEnd();
	if (Path.IsEmpty())
	{
		return nullptr;
	}
	Path = StripExportTextClass(Path);

	UObject* Current = InOuter;
	FString Rest = Path;
	if (!InOuter)
	{
		// The package is everything up to the first dot; its own name may hold slashes.
		int32 Dot = INDEX_NONE;
		Path.FindChar(TEXT('.'), Dot);
		const FString PackageName = Dot == INDEX_NONE ? Path : Path.Left(Dot);
		Current = UE::Host::FObjectRegistry::Get().FindByNameAndOuter(FName(PackageName), nullptr);
		if (!Current || Dot == INDEX_NONE)
		{
			return Current && MatchesClass(Current, Class, EnumHasAnyFlags(Flags, EFindObjectFlags::ExactClass)) ? Current : nullptr;
		}
		Rest = Path.RightChop(Dot + 1);
	}

	TArray<FString> Names;
	if (!SplitObjectPath(Rest, Names))
	{
		return nullptr;
	}
	for (const FString& ObjectName : Names)
	{
		Current = UE::Host::FObjectRegistry::Get().FindByNameAndOuter(FName(ObjectName), Current);
		if (!Current)
		{
			return nullptr;
		}
	}
	if (!MatchesClass(Current, Class, EnumHasAnyFlags(Flags, EFindObjectFlags::ExactClass)))
	{
		return nullptr;
	}
	if (Class == UClass::StaticClass())
	{
		UE::Host::Private::CompleteBuiltInClass(static_cast<UClass*>(Current));
	}
	return Current;
}

UObject* StaticFindObject(UClass* Class, UObject* InOuter, FStringView Name, bool ExactClass)
{
	return StaticFindObject(Class, InOuter, Name, ExactClass ? EFindObjectFlags::ExactClass : EFindObjectFlags::None);
}

UObject* StaticFindObject(UClass* Class, UObject* InOuter, const TCHAR* Name, EFindObjectFlags Flags)
{
	return StaticFindObject(Class, InOuter, FStringView(Name), Flags);
}

UObject* StaticFindObject(UClass* Class, UObject* InOuter, const TCHAR* Name, bool ExactClass)
{
	return StaticFindObject(Class, InOuter, FStringView(Name), ExactClass);
}

UObject* StaticFindFirstObject(UClass* Class, FStringView Name, EFindFirstObjectOptions Options, ELogVerbosity::Type AmbiguousMessageVerbosity, const TCHAR* InCurrentOperation)
{
	const bool bExactClass = EnumHasAnyFlags(Options, EFindFirstObjectOptions::ExactClass);
	const FString SearchName = FString(Name).TrimStartAndEnd();
	if (SearchName.IsEmpty())
	{
		return nullptr;
	}
	// A path names one object; only short names can be ambiguous.
	if (SearchName.Contains(TEXT("/")) || SearchName.Contains(TEXT(".")) || SearchName.Contains(TEXT(":")))
	{
		return StaticFindObject(Class, nullptr, FStringView(SearchName), bExactClass);
	}

	TArray<UObject*> Candidates;
	UE::Host::FObjectRegistry::Get().FindByName(FName(SearchName), Candidates);
	Candidates.RemoveAll([Class, bExactClass](const UObject* Object) { return !MatchesClass(Object, Class, bExactClass); });
	if (Candidates.IsEmpty())
	{
		// A class no loaded code declares may be declared in the engine's or the project's headers.
		return Class == UClass::StaticClass() ? UE::Host::Private::FindClassInHeaders(SearchName) : nullptr;
	}

	UObject* Result = Candidates[0];
	if (Candidates.Num() > 1)
	{
		if (EnumHasAnyFlags(Options, EFindFirstObjectOptions::NativeFirst))
		{
			for (UObject* Candidate : Candidates)
			{
				if (IsNativeObject(Candidate))
				{
					Result = Candidate;
					break;
				}
			}
		}
		if (AmbiguousMessageVerbosity != ELogVerbosity::NoLogging && !LogUObjectGlobals.IsSuppressed(AmbiguousMessageVerbosity))
		{
			FString Names;
			for (const UObject* Candidate : Candidates)
			{
				Names += FString::Printf(TEXT("%s'%s' "), *Candidate->GetClass()->GetName(), *Candidate->GetPathName());
			}
			UE::Host::WriteLogLine(LogUObjectGlobals, AmbiguousMessageVerbosity, FString::Printf(
				TEXT("%s: found %d objects named '%s' (%s), using '%s'"),
				InCurrentOperation ? InCurrentOperation : TEXT("StaticFindFirstObject"), Candidates.Num(), *SearchName, *Names.TrimEnd(), *Result->GetPathName()));
		}
		if (EnumHasAnyFlags(Options, EFindFirstObjectOptions::EnsureIfAmbiguous))
		{
			ensureMsgf(false, TEXT("Ambiguous object name"));
		}
	}
	if (Class == UClass::StaticClass())
	{
		// The built-in class gains what its header declares before anyone uses it.
		UE::Host::Private::CompleteBuiltInClass(Cast<UClass>(Result));
	}
	return Result;
}

UObject* StaticFindFirstObject(UClass* Class, const TCHAR* Name, EFindFirstObjectOptions Options, ELogVerbosity::Type AmbiguousMessageVerbosity, const TCHAR* InCurrentOperation)
{
	return StaticFindFirstObject(Class, FStringView(Name), Options, AmbiguousMessageVerbosity, InCurrentOperation);
}

UPackage* FindPackage(UObject* InOuter, const TCHAR* PackageName)
{
	UObject* Found = UE::Host::FObjectRegistry::Get().FindByNameAndOuter(FName(PackageName), InOuter);
	return Found && (Found->GetClass() == nullptr || Found->GetClass() == UPackage::StaticClass()) ? static_cast<UPackage*>(Found) : nullptr;
}

UPackage* CreatePackage(const TCHAR* PackageName)
{
	if (!PackageName || !*PackageName)
	{
		return nullptr;
	}
	if (UPackage* Existing = FindPackage(nullptr, PackageName))
	{
		// A package given up as garbage makes way for a new one, as after a collection.
		if (IsValid(Existing) || !UE::Host::Private::DestroyRuntimeObject(Existing))
		{
			return Existing;
		}
	}
	UPackage* Package = new UPackage();
	// Registered before its class is asked for: building the class of packages needs a package.
	UE::Host::FObjectRegistry::Get().Register(Package, nullptr, nullptr, FName(PackageName), RF_Public);
	const bool bScriptPackage = FString(PackageName).StartsWith(TEXT("/Script/"));
	if (bScriptPackage)
	{
		Package->SetPackageFlags(PKG_CompiledIn);
	}
	UE::Host::FObjectRegistry::Get().SetClass(Package, UPackage::StaticClass());
	// Packages of native code and the transient package live as long as the code; the others
	// belong to a run and go when the object system shuts down.
	if (!bScriptPackage && !FString(PackageName).Equals(TEXT("/Engine/Transient"), ESearchCase::IgnoreCase))
	{
		UE::Host::Private::TrackRuntimeObject(Package);
	}
	return Package;
}

UPackage* GetTransientPackage()
{
	static UPackage* TransientPackage = nullptr;
	if (!TransientPackage)
	{
		TransientPackage = CreatePackage(TEXT("/Engine/Transient"));
		TransientPackage->SetFlags(RF_Transient);
	}
	return TransientPackage;
}

FName MakeUniqueObjectName(UObject* Outer, const UClass* Class, FName BaseName)
{
	const FString Base = BaseName.IsNone() ? (Class ? Class->GetName() : FString(TEXT("Object"))) : BaseName.ToString();
	for (int32 Suffix = 0;; ++Suffix)
	{
		const FName Candidate(FString::Printf(TEXT("%s_%d"), *Base, Suffix));
		if (!UE::Host::FObjectRegistry::Get().FindByNameAndOuter(Candidate, Outer))
		{
			return Candidate;
		}
	}
}

UObject* StaticConstructObject_Internal(const FStaticConstructObjectParameters& Params)
{
	UClass* Class = const_cast<UClass*>(Params.Class);
	if (Class && (Params.SetFlags & RF_ClassDefaultObject) != 0)
	{
		// There is one default object per class; the class makes it.
		return Class->GetDefaultObject();
	}
	if (!Class || !Class->NativeFactory)
	{
		UE_LOG(LogUObjectGlobals, Error, TEXT("Cannot construct an object of class '%s': it has no native constructor"), Class ? *Class->GetPathName() : TEXT("None"));
		return nullptr;
	}
	if (Class->HasAnyClassFlags(CLASS_Abstract))
	{
		UE_LOG(LogUObjectGlobals, Error, TEXT("Cannot construct an object of abstract class '%s'"), *Class->GetPathName());
		return nullptr;
	}

	UObject* Outer = Params.Outer;
	if (!Outer && Class != UPackage::StaticClass())
	{
		Outer = GetTransientPackage();
	}
	const FName Name = Params.Name.IsNone() ? MakeUniqueObjectName(Outer, Class) : Params.Name;
	if (UObject* Existing = UE::Host::FObjectRegistry::Get().FindByNameAndOuter(Name, Outer))
	{
		// Only a garbage object gives up its name; a live one is never replaced.
		if (IsValid(Existing) || !UE::Host::Private::DestroyRuntimeObject(Existing))
		{
			UE_LOG(LogUObjectGlobals, Error, TEXT("Cannot construct '%s': an object with that path exists already"), *Existing->GetPathName());
			return nullptr;
		}
	}

	UObject* Default = Class->GetDefaultObject();
	UObject* Object = UE::Host::Private::NewObjectOfClass(Class);
	UE::Host::FObjectRegistry::Get().Register(Object, Class, Outer, Name, Params.SetFlags);
	UE::Host::Private::TrackRuntimeObject(Object);
	if (Default)
	{
		for (FProperty* Property = Class->PropertyLink; Property; Property = Property->PropertyLinkNext)
		{
			Property->CopyCompleteValue_InContainer(Object, Default);
		}
	}
	if (Class->HasAllClassFlags(CLASS_Config | CLASS_PerObjectConfig))
	{
		Object->LoadConfig();
	}
	Object->PostInitProperties();
	return Object;
}

namespace UE::Host::ObjectGlobals
{
	UObject* GetClassDefaultObject(const UClass* Class)
	{
		return Class ? Class->GetDefaultObject() : nullptr;
	}

	UObject* GetTransientPackageObject()
	{
		return GetTransientPackage();
	}
}
