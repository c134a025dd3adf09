#include "HeaderBuildState.h"
#include "HeaderTool/HeaderIndex.h"
#include "HeaderObjectLayout.h"
#include "HeaderTypes.h"

#include "Containers/StringConv.h"
#include "HAL/IConsoleManager.h"
#include "Host/HeaderClasses.h"
#include "UObject/Class.h"
#include "UObject/UnrealType.h"

namespace UE::Host::Private
{
	namespace
	{
		using namespace HeaderBuild;
		using Headers::FPropertyDecl;
		using Headers::FTypeDecl;

		// Whether a declaration is a config class, through its parents, without building anything.
		bool IsConfigDecl(const FTypeDecl& Decl, const std::string& Header, int32 Depth)
		{
			if (Decl.FindSpecifier("config") || Depth > 64)
			{
				return Decl.FindSpecifier("config") != nullptr;
			}
			if (Decl.Parent.empty())
			{
				return false;
			}
			if (HasTypePrefix(Decl.Parent, "UA"))
			{
				if (const UClass* Loaded = FindLoaded<UClass>(ToFString(Decl.Parent.substr(1))))
				{
					return Loaded->HasAnyClassFlags(CLASS_Config);
				}
			}
			const std::string* ParentHeader = Index().FindDeclaringHeader(Decl.Parent, &Header);
			if (!ParentHeader)
			{
				return false;
			}
			const std::string Path = *ParentHeader;
			const FTypeDecl* Parent = Index().Read(Path).FindClass(Decl.Parent);
			return Parent && IsConfigDecl(*Parent, Path, Depth + 1);
		}

		bool HasSubclass(const UClass* Class)
		{
			TArray<UObject*> Objects;
			FObjectRegistry::Get().GetAllObjects(Objects);
			for (const UObject* Object : Objects)
			{
				const UClass* Candidate = Cast<UClass>(Object);
				if (Candidate && Candidate != Class && Candidate->GetSuperClass() == Class)
				{
					return true;
				}
			}
			return false;
		}

		void UndoAugmentation(UClass* Class, const FAugmentation& Augmentation)
		{
			Class->DestroyDefaultObject();
			FField** Link = &Class->ChildProperties;
			while (*Link)
			{
				FProperty* Property = CastField<FProperty>(*Link);
				if (Property && Augmentation.Added.Contains(Property))
				{
					*Link = (*Link)->Next;
					delete Property;
					continue;
				}
				Link = &(*Link)->Next;
			}
			Class->SetPropertiesSize(Augmentation.NativeSize);
			Class->SetMinAlignment(Augmentation.NativeAlignment);
			Class->StaticLink();
		}

	}

	void CompleteBuiltInClass(UClass* Class)
	{
		FBuilderState& Builder = State();
		if (!Class || !Class->HasAllClassFlags(CLASS_Native | CLASS_Config) || Builder.Records.count(Class) || !Builder.CheckedBuiltIns.insert(Class).second)
		{
			return;
		}
		if (!Index().HasRoots() || HasSubclass(Class))
		{
			return;
		}
		const std::string ObjectName = UE::Host::StringToUtf8(Class->GetName());
		const FTypeDecl* Decl = nullptr;
		std::string Header;
		for (const char* Prefix : {"U", "A"})
		{
			if (const std::string* Found = Index().FindHeaderByFileName(Prefix + ObjectName))
			{
				Header = *Found;
				Decl = Index().Read(Header).FindClass(Prefix + ObjectName);
				break;
			}
		}
		UObject* (*Placement)(void*) = FindNativePlacement(Class);
		if (!Decl || !Placement)
		{
			return;
		}
		FTypeDecl Missing = *Decl;
		Missing.Properties.clear();
		for (const FPropertyDecl& Property : Decl->Properties)
		{
			if (!Class->FindPropertyByName(FName(*ToFString(Property.Name))))
			{
				Missing.Properties.push_back(Property);
			}
		}
		if (Missing.Properties.empty())
		{
			return;
		}

		// The default object is made again with room for the new members.
		Class->DestroyDefaultObject();
		FAugmentation Augmentation;
		Augmentation.NativeSize = Class->GetPropertiesSize();
		Augmentation.NativeAlignment = Class->GetMinAlignment();
		FMemberLayout Layout = BuildMembers(Class, Missing, Header, AlignUp(Class->GetPropertiesSize(), 8));
		// The engine's constructor gives the members the host's code lacks their defaults too.
		std::vector<const FProperty*> UnknownDefaults;
		ApplyConstructorDefaults(Class, Missing, Header, Layout, UnknownDefaults);
		std::unique_ptr<FExtendedLayout> Extended = std::make_unique<FExtendedLayout>();
		Extended->Placement = Placement;
		Extended->Alignment = FMath::Max(FMath::Max(Layout.Alignment, Class->GetMinAlignment()), 8);
		Extended->Size = AlignUp(FMath::Max(Layout.End, Class->GetPropertiesSize()), Extended->Alignment);
		for (FProperty* Property : Layout.Properties)
		{
			Class->AddCppProperty(Property);
			Extended->Properties.Add(Property);
		}
		Extended->Defaults = Layout.Defaults;
		Class->SetPropertiesSize(Extended->Size);
		Class->SetMinAlignment(Extended->Alignment);
		SetExtendedLayout(Class, std::move(Extended));
		Class->StaticLink();
		Augmentation.Added = Layout.Properties;
		Builder.Augmented[Class] = Augmentation;
		FTypeRecord& Record = Builder.Records[Class];
		Record = FTypeRecord{Header, Layout.Unread, std::string()};
		Record.UnknownDefaults = std::move(UnknownDefaults);
		RegisterConsoleVariables(Class, Layout.Properties);
	}

	void ResetHeaderTypes()
	{
		FBuilderState& Builder = State();
		for (auto It = Builder.Created.rbegin(); It != Builder.Created.rend(); ++It)
		{
			if (UClass* Class = Cast<UClass>(*It))
			{
				Class->DestroyDefaultObject();
			}
		}
		for (auto It = Builder.Created.rbegin(); It != Builder.Created.rend(); ++It)
		{
			delete *It;
		}
		for (const auto& Entry : Builder.Augmented)
		{
			UndoAugmentation(Entry.first, Entry.second);
		}
		Builder.Augmented.clear();
		Builder.CheckedBuiltIns.clear();
		for (const FString& Name : Builder.OwnedConsoleVariables)
		{
			IConsoleManager::Get().UnregisterConsoleObject(*Name, false);
		}
		Builder.Created.clear();
		Builder.Records.clear();
		Builder.Building.clear();
		Builder.OwnedConsoleVariables.Empty();
		Builder.bRootsKnown = false;
		ClearExtendedLayouts();
		ReleaseStructArrayOps();
		FHeaderIndex::Get().Reset();
	}
}

namespace UE::Host
{
	TArray<UClass*> CollectSettingsClasses()
	{
		Private::FHeaderIndex& HeaderIndex = Private::HeaderBuild::Index();
		// One pass reads every header; every lookup below is then answered from memory.
		HeaderIndex.ReadAllHeaders();
		const std::vector<std::string> Headers = HeaderIndex.AllHeaders();
		for (const std::string& Path : Headers)
		{
			// Parsed declarations stay where they are until the host shuts down.
			const Headers::FHeaderDecls* Decls = HeaderIndex.FindParsed(Path);
			if (!Decls)
			{
				continue;
			}
			for (const Headers::FTypeDecl& Decl : Decls->Classes)
			{
				// Only settings classes are built; the rest of the engine's classes stay unread.
				if (Private::IsConfigDecl(Decl, Path, 0))
				{
					Private::ResolveClass(Decl.Name, &Path);
				}
			}
		}
		TArray<UObject*> Objects;
		FObjectRegistry::Get().GetAllObjects(Objects);
		TArray<UClass*> Classes;
		for (UObject* Object : Objects)
		{
			UClass* Class = Cast<UClass>(Object);
			if (Class && !Object->HasAnyFlags(RF_ClassDefaultObject) && Class->HasAnyClassFlags(CLASS_Config))
			{
				Private::CompleteBuiltInClass(Class);
				Classes.Add(Class);
			}
		}
		Classes.Sort([](const UClass& A, const UClass& B) { return A.GetName().Compare(B.GetName(), ESearchCase::IgnoreCase) < 0; });
		return Classes;
	}

	FString GetClassHeader(const UClass* Class)
	{
		const auto Found = Private::HeaderBuild::State().Records.find(Class);
		return Found == Private::HeaderBuild::State().Records.end() ? FString() : UE::Host::Utf8ToString(Found->second.Header);
	}

	TArray<FUnreadHeaderProperty> GetUnreadHeaderProperties(const UClass* Class)
	{
		TArray<FUnreadHeaderProperty> Result;
		for (const UStruct* Current = Class; Current; Current = Current->GetSuperStruct())
		{
			const auto Found = Private::HeaderBuild::State().Records.find(Current);
			if (Found != Private::HeaderBuild::State().Records.end())
			{
				for (const FUnreadHeaderProperty& Unread : Found->second.Unread)
				{
					Result.Add(Unread);
				}
			}
		}
		return Result;
	}

	FString GetClassConfigSection(const UClass* Class)
	{
		FString Section;
		FString Problem;
		return Private::FindHeaderSectionOverride(Class, Section, Problem) ? Section : Class->GetPathName();
	}

	bool IsPropertyDefaultKnown(const UClass* Class, const FProperty* Property)
	{
		return Private::IsDefaultKnown(Class, Property);
	}
}
