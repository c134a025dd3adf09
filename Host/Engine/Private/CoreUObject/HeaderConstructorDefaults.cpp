// The defaults a header class's constructor gives its members, read from the constructor's
// definition (in the class body, or in a source file of the class's module) the way a reader of
// the code would: member initializers and plain "Member = Value;" statements whose value is a
// literal. What the constructor does otherwise to a member leaves that member's default unknown.
#include "HeaderBuildState.h"
#include "HeaderTool/HeaderIndex.h"
#include "HeaderTypes.h"

#include "UObject/Class.h"
#include "UObject/UnrealType.h"

#include <algorithm>

namespace UE::Host::Private::HeaderBuild
{
	namespace
	{
		void AddUnknown(std::vector<const FProperty*>& Unknown, const FProperty* Property)
		{
			if (std::find(Unknown.begin(), Unknown.end(), Property) == Unknown.end())
			{
				Unknown.push_back(Property);
			}
		}

		void RemoveUnknown(std::vector<const FProperty*>& Unknown, const FProperty* Property)
		{
			Unknown.erase(std::remove(Unknown.begin(), Unknown.end(), Property), Unknown.end());
		}

		// A member of the class being built (not linked yet) or one it inherits.
		FProperty* FindMember(UClass* Class, const FMemberLayout& Layout, const std::string& Name)
		{
			const FName MemberName(*ToFString(Name));
			for (FProperty* Property : Layout.Properties)
			{
				if (Property->GetFName() == MemberName)
				{
					return Property;
				}
			}
			const UClass* Super = Class->GetSuperClass();
			return Super ? Super->FindPropertyByName(MemberName) : nullptr;
		}
	}

	void ApplyConstructorDefaults(UClass* Class, const Headers::FTypeDecl& Decl, const std::string& Header, FMemberLayout& Layout, std::vector<const FProperty*>& OutUnknown)
	{
		for (const FProperty* Property : Layout.UnknownDefaults)
		{
			AddUnknown(OutUnknown, Property);
		}
		Headers::FConstructorDefaults Constructor;
		bool bFound = !Decl.InlineConstructor.empty();
		if (bFound)
		{
			Headers::ReadInlineConstructor(Decl.InlineConstructor, Constructor);
		}
		else if (Decl.HasConstructorInSource())
		{
			bFound = Index().FindConstructorDefinition(Header, Decl.Name, Constructor);
		}
		if (Decl.HasConstructorInSource() && !bFound)
		{
			// Any member may be set by a constructor no one can read.
			for (const FProperty* Property : Layout.Properties)
			{
				if (Property->HasAnyPropertyFlags(CPF_Config))
				{
					AddUnknown(OutUnknown, Property);
				}
			}
			return;
		}
		// In the order they run; a later statement wins, as it does in the constructor.
		for (const std::pair<std::string, std::string>& Assignment : Constructor.Assignments)
		{
			FProperty* Property = FindMember(Class, Layout, Assignment.first);
			if (!Property)
			{
				continue;
			}
			FString Text;
			if (ConvertInitializer(Property, Assignment.second, Text))
			{
				Layout.Defaults.Add(TPair<const FProperty*, FString>(Property, Text));
				RemoveUnknown(OutUnknown, Property);
			}
			else
			{
				AddUnknown(OutUnknown, Property);
			}
		}
		for (const std::string& Name : Constructor.Changed)
		{
			if (const FProperty* Property = FindMember(Class, Layout, Name))
			{
				AddUnknown(OutUnknown, Property);
			}
		}
	}
}
