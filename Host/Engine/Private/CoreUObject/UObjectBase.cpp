#include "ObjectRegistry.h"

#include "UObject/Class.h"
#include "UObject/Package.h"

#include <algorithm>

namespace UE::Host
{
	FObjectRegistry& FObjectRegistry::Get()
	{
		static FObjectRegistry* Registry = new FObjectRegistry();
		return *Registry;
	}

	void FObjectRegistry::Register(UObjectBase* Object, UClass* Class, UObject* Outer, FName Name, EObjectFlags Flags)
	{
		check(Object && !Object->IsRegistered());
		Object->ClassPrivate = Class;
		Object->OuterPrivate = Outer;
		Object->NamePrivate = Name;
		Object->ObjectFlags = Flags;
		Object->InternalIndex = static_cast<int32>(Objects.size());
		Objects.push_back(Object);
		ObjectsByName.emplace(Name.GetComparisonIndex(), Object);
	}

	void FObjectRegistry::SetClass(UObjectBase* Object, UClass* Class)
	{
		Object->ClassPrivate = Class;
	}

	void FObjectRegistry::Unregister(UObjectBase* Object)
	{
		if (!Object->IsRegistered())
		{
			return;
		}
		auto Range = ObjectsByName.equal_range(Object->NamePrivate.GetComparisonIndex());
		for (auto It = Range.first; It != Range.second; ++It)
		{
			if (It->second == Object)
			{
				ObjectsByName.erase(It);
				break;
			}
		}
		Objects[static_cast<size_t>(Object->InternalIndex)] = nullptr;
		Object->InternalIndex = INDEX_NONE;
		while (!Objects.empty() && Objects.back() == nullptr)
		{
			Objects.pop_back();
		}
	}

	void FObjectRegistry::FindByName(FName Name, TArray<UObject*>& OutObjects) const
	{
		std::vector<UObjectBase*> Found;
		auto Range = ObjectsByName.equal_range(Name.GetComparisonIndex());
		for (auto It = Range.first; It != Range.second; ++It)
		{
			Found.push_back(It->second);
		}
		std::sort(Found.begin(), Found.end(), [](const UObjectBase* A, const UObjectBase* B) { return A->GetUniqueID() < B->GetUniqueID(); });
		for (UObjectBase* Object : Found)
		{
			OutObjects.Add(static_cast<UObject*>(Object));
		}
	}

	UObject* FObjectRegistry::FindByNameAndOuter(FName Name, const UObject* Outer) const
	{
		TArray<UObject*> Candidates;
		FindByName(Name, Candidates);
		for (UObject* Candidate : Candidates)
		{
			if (Candidate->GetOuter() == Outer)
			{
				return Candidate;
			}
		}
		return nullptr;
	}

	void FObjectRegistry::GetAllObjects(TArray<UObject*>& OutObjects) const
	{
		for (UObjectBase* Object : Objects)
		{
			if (Object)
			{
				OutObjects.Add(static_cast<UObject*>(Object));
			}
		}
	}
}

UObjectBase::UObjectBase() = default;

UObjectBase::~UObjectBase()
{
	UE::Host::FObjectRegistry::Get().Unregister(this);
}

bool UObjectBaseUtility::IsTemplate(EObjectFlags TemplateTypes) const
{
	for (const UObjectBaseUtility* Object = this; Object; Object = Object->GetOuter())
	{
		if (Object->HasAnyFlags(TemplateTypes))
		{
			return true;
		}
	}
	return false;
}

FString UObjectBaseUtility::GetPathName(const UObject* StopOuter) const
{
	if (this == StopOuter)
	{
		return FString(TEXT("None"));
	}
	FString Result;
	const UObject* Outer = GetOuter();
	if (Outer && Outer != StopOuter)
	{
		Result = Outer->GetPathName(StopOuter);
		// Below the first object under a package the engine switches to ':'.
		const bool bOuterIsPackage = Outer->GetClass() == UPackage::StaticClass();
		const UObject* OuterOuter = Outer->GetOuter();
		const bool bOuterOuterIsPackage = OuterOuter && OuterOuter->GetClass() == UPackage::StaticClass();
		Result.AppendChar(!bOuterIsPackage && bOuterOuterIsPackage ? SUBOBJECT_DELIMITER_CHAR : TEXT('.'));
	}
	Result += GetName();
	return Result;
}

FString UObjectBaseUtility::GetFullName(const UObject* StopOuter) const
{
	const UClass* Class = GetClass();
	return (Class ? Class->GetName() : FString(TEXT("None"))) + TEXT(" ") + GetPathName(StopOuter);
}

UObject* UObjectBaseUtility::GetOutermostObject() const
{
	UObject* Top = const_cast<UObject*>(static_cast<const UObject*>(this));
	while (Top->GetOuter())
	{
		Top = Top->GetOuter();
	}
	return Top;
}

UPackage* UObjectBaseUtility::GetOutermost() const
{
	UObject* Top = GetOutermostObject();
	return Top->GetClass() == UPackage::StaticClass() ? static_cast<UPackage*>(Top) : nullptr;
}

bool UObjectBaseUtility::IsIn(const UObject* SomeOuter) const
{
	for (const UObject* Outer = GetOuter(); Outer; Outer = Outer->GetOuter())
	{
		if (Outer == SomeOuter)
		{
			return true;
		}
	}
	return SomeOuter == nullptr;
}

bool UObjectBaseUtility::IsA(const UClass* SomeBase) const
{
	const UClass* Class = GetClass();
	return Class && SomeBase && Class->IsChildOf(SomeBase);
}
