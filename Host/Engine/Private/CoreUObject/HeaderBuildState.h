// What the builders of header types share: their state, the member layout and the console
// variables that header members name.
#pragma once

#include "CoreMinimal.h"
#include "Host/HeaderClasses.h"
#include "HeaderTool/HeaderDeclarations.h"
#include "ObjectRegistry.h"
#include "Templates/Casts.h"

#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class FProperty;
class UClass;
class UStruct;

namespace UE::Host::Private
{
	class FHeaderIndex;
}

namespace UE::Host::Private::HeaderBuild
{
	struct FTypeRecord
	{
		std::string Header;
		std::vector<FUnreadHeaderProperty> Unread;
		std::string EnumUnderlying;
		// Config properties whose value before the config layers the host cannot know: an
		// initializer or constructor statement it does not follow, or a constructor it cannot find.
		// Complete for the class, inherited ones included.
		std::vector<const FProperty*> UnknownDefaults;
		// The class's own OverrideConfigSection, when its header has one.
		Headers::FTypeDecl::ESectionOverride SectionOverrideKind = Headers::FTypeDecl::ESectionOverride::None;
		std::string SectionOverride;
	};

	// What a built-in class gained from its header, undone at shut-down.
	struct FAugmentation
	{
		int32 NativeSize = 0;
		int32 NativeAlignment = 0;
		TArray<FProperty*> Added;
	};

	struct FBuilderState
	{
		bool bRootsKnown = false;
		std::unordered_set<const UClass*> CheckedBuiltIns;
		std::unordered_map<UClass*, FAugmentation> Augmented;
		std::unordered_set<std::string> Building;
		std::unordered_map<const UObject*, FTypeRecord> Records;
		// Classes, structs and enums in the order they were made; released newest first.
		std::vector<UObject*> Created;
		TArray<FString> OwnedConsoleVariables;
	};

	FBuilderState& State();
	// The index over the Source folders of the current environment, set up on first use.
	FHeaderIndex& Index();

	FString ToFString(const std::string& Text);
	int32 AlignUp(int32 Value, int32 Alignment);
	// "UFoo" with one of the prefix letters, followed by an upper-case letter.
	bool HasTypePrefix(const std::string& Name, const char* Prefixes);

	template<typename T>
	T* FindLoaded(const FString& ObjectName)
	{
		TArray<UObject*> Objects;
		FObjectRegistry::Get().FindByName(FName(*ObjectName), Objects);
		for (UObject* Object : Objects)
		{
			if (T* Typed = Cast<T>(Object); Typed && !Object->HasAnyFlags(RF_ClassDefaultObject))
			{
				return Typed;
			}
		}
		return nullptr;
	}

	struct FMemberLayout
	{
		int32 End = 0;
		int32 Alignment = 1;
		TArray<FProperty*> Properties;
		TArray<TPair<const FProperty*, FString>> Defaults;
		std::vector<FUnreadHeaderProperty> Unread;
		// Members whose in-class initializer is not a plain value.
		std::vector<const FProperty*> UnknownDefaults;
	};

	// The properties of a class or struct body, laid out from Start on.
	FMemberLayout BuildMembers(UStruct* Owner, const Headers::FTypeDecl& Decl, const std::string& Header, int32 Start);
	// What the class's constructor sets: its defaults join Layout's, and the members it changes in
	// ways not followed, or all of the class's own config members when its constructor is declared
	// but cannot be found, join OutUnknown.
	void ApplyConstructorDefaults(UClass* Class, const Headers::FTypeDecl& Decl, const std::string& Header, FMemberLayout& Layout, std::vector<const FProperty*>& OutUnknown);
	// Makes the console variables the members' ConsoleVariable metadata names and no one made.
	void RegisterConsoleVariables(UClass* Class, const TArray<FProperty*>& Properties);
}
