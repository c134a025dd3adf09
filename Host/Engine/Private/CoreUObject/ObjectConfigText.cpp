#include "ObjectConfigText.h"

#include "HeaderTypes.h"

#include "Host/ConfigFileEditor.h"
#include "Misc/OutputDevice.h"
#include "UObject/Class.h"
#include "UObject/Object.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"

#include <cstddef>
#include <new>

namespace
{
	// Import errors of a comparison are expected (a value in another form): nobody needs them.
	class FSilentOutputDevice final : public FOutputDevice
	{
	public:
		virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override {}
	};

	// One element of a property's type in memory of its own, constructed and destroyed with it.
	class FScratchElement
	{
	public:
		explicit FScratchElement(const FProperty* InProperty)
			: Property(InProperty)
			, Alignment(static_cast<std::align_val_t>(FMath::Max(InProperty->GetMinAlignment(), static_cast<int32>(alignof(std::max_align_t)))))
		{
			Data = ::operator new(static_cast<size_t>(FMath::Max(Property->GetSize(), 1)), Alignment);
			Property->InitializeValue(Data);
		}
		~FScratchElement()
		{
			Property->DestroyValue(Data);
			::operator delete(Data, Alignment);
		}
		FScratchElement(const FScratchElement&) = delete;
		FScratchElement& operator=(const FScratchElement&) = delete;

		void* Get() const { return Data; }

	private:
		const FProperty* Property;
		std::align_val_t Alignment;
		void* Data = nullptr;
	};

	FString ExportValue(const FProperty* Property, const void* Value, UObject* Owner, int32 PortFlags)
	{
		FString Text;
		Property->ExportTextItem_Direct(Text, Value, nullptr, Owner, PortFlags);
		return Text;
	}
}

namespace UE::Host::ObjectConfig
{
	FString GetClassSection(UObject* Object, const UClass* ConfigClass)
	{
		FString Section = ConfigClass->GetPathName();
		if (ConfigClass->HasAnyClassFlags(CLASS_PerObjectConfig) && !Object->HasAnyFlags(RF_ClassDefaultObject))
		{
			Section = FString::Printf(TEXT("%s %s"), *Object->GetPathName(Object->GetOutermost()), *ConfigClass->GetName());
		}
		Object->OverrideConfigSection(Section);
		// A class read from a header overrides it there, as the compiled class would.
		FString Overridden;
		FString Problem;
		if (UE::Host::Private::FindHeaderSectionOverride(Object->GetClass(), Overridden, Problem))
		{
			Section = Overridden;
		}
		return Section;
	}

	bool CanWriteClassSection(const UObject* Object, FString& OutReason)
	{
		FString Overridden;
		UE::Host::Private::FindHeaderSectionOverride(Object->GetClass(), Overridden, OutReason);
		return OutReason.IsEmpty();
	}

	FString GetPropertySection(UObject* Object, const FProperty* Property, const FString& ClassSection)
	{
		const UClass* OwnerClass = Property->GetOwnerClass();
		return Property->HasAnyPropertyFlags(CPF_GlobalConfig) && OwnerClass ? OwnerClass->GetPathName() : ClassSection;
	}

	FString GetPropertyKey(const FProperty* Property)
	{
#if WITH_EDITOR
		static const FName ConsoleVariableName(TEXT("ConsoleVariable"));
		const FString& CVarName = Property->GetMetaData(ConsoleVariableName);
		if (!CVarName.IsEmpty())
		{
			return CVarName;
		}
#endif
		return Property->GetName();
	}

	int32 GetPropertyPortFlags(const FProperty* Property)
	{
#if WITH_EDITOR
		static const FName ConsoleVariableName(TEXT("ConsoleVariable"));
		if (!Property->GetMetaData(ConsoleVariableName).IsEmpty())
		{
			return PPF_ConsoleVariable;
		}
#endif
		return PPF_None;
	}

	TArray<FString> GetPropertyEntryKeys(const FProperty* Property)
	{
		const FString Key = GetPropertyKey(Property);
		if (CastField<FArrayProperty>(Property) || Property->ArrayDim == 1)
		{
			return {Key};
		}
		TArray<FString> Keys;
		for (int32 Index = 0; Index < Property->ArrayDim; ++Index)
		{
			Keys.Add(FString::Printf(TEXT("%s[%d]"), *Key, Index));
		}
		return Keys;
	}

	TArray<FConfigEntry> ExportPropertyEntries(UObject* Object, const FProperty* Property)
	{
		const TArray<FString> Keys = GetPropertyEntryKeys(Property);
		const int32 PortFlags = GetPropertyPortFlags(Property);
		TArray<FConfigEntry> Entries;
		if (const FArrayProperty* Array = CastField<FArrayProperty>(Property))
		{
			FConfigEntry& Entry = Entries.AddDefaulted_GetRef();
			Entry.Key = Keys[0];
			Entry.bIsArray = true;
			FScriptArrayHelper_InContainer Helper(Array, Object);
			for (int32 Index = 0; Index < Helper.Num(); ++Index)
			{
				Entry.Values.Add(ExportValue(Array->Inner, Helper.GetRawPtr(Index), Object, PortFlags));
			}
			return Entries;
		}
		for (int32 Index = 0; Index < Property->ArrayDim; ++Index)
		{
			FConfigEntry& Entry = Entries.AddDefaulted_GetRef();
			Entry.Key = Keys[Index];
			Entry.Values.Add(ExportValue(Property, Property->ContainerPtrToValuePtr<void>(Object, Index), Object, PortFlags));
		}
		return Entries;
	}

	TArray<FString> FormatEntryLines(const FConfigEntry& Entry)
	{
		TArray<FString> Lines;
		if (!Entry.bIsArray)
		{
			for (const FString& Value : Entry.Values)
			{
				Lines.Add(Entry.Key + TEXT("=") + ConfigFileEditor::QuoteValueIfNeeded(Value));
			}
			return Lines;
		}
		// Clearing first makes the file state the whole array, whatever the layers below hold.
		Lines.Add(TEXT("!") + Entry.Key + TEXT("=ClearArray"));
		for (int32 Index = 0; Index < Entry.Values.Num(); ++Index)
		{
			bool bRepeat = false;
			for (int32 Earlier = 0; Earlier < Index && !bRepeat; ++Earlier)
			{
				bRepeat = Entry.Values[Earlier].Equals(Entry.Values[Index], ESearchCase::CaseSensitive);
			}
			Lines.Add((bRepeat ? TEXT(".") : TEXT("+")) + Entry.Key + TEXT("=") + ConfigFileEditor::QuoteValueIfNeeded(Entry.Values[Index]));
		}
		return Lines;
	}

	bool ConfigTextMatches(const FProperty* Property, const FString& Text, const void* Value, UObject* Owner, int32 PortFlags)
	{
		if (ExportValue(Property, Value, Owner, PortFlags).Equals(Text, ESearchCase::CaseSensitive))
		{
			return true;
		}
		FScratchElement Imported(Property);
		FSilentOutputDevice Silent;
		const TCHAR* End = Property->ImportText_Direct(*Text, Imported.Get(), Owner, PortFlags, &Silent);
		return End && Property->Identical(Imported.Get(), Value, PortFlags);
	}

	bool HasSameValue(const FProperty* Property, const UObject* A, const UObject* B)
	{
		for (int32 Index = 0; Index < Property->ArrayDim; ++Index)
		{
			if (!Property->Identical_InContainer(A, B, Index))
			{
				return false;
			}
		}
		return true;
	}

	bool BelongsToClassSection(const FProperty* Property, const UClass* Class)
	{
		return !Property->HasAnyPropertyFlags(CPF_GlobalConfig) || Property->GetOwnerClass() == Class;
	}

	bool MatchesParentDefault(UObject* Object, const FProperty* Property)
	{
		const UClass* Class = Object->GetClass();
		const UClass* OwnerClass = Property->GetOwnerClass();
		if (!OwnerClass || OwnerClass == Class || Class->HasAnyClassFlags(CLASS_PerObjectConfig))
		{
			return false;
		}
		const UClass* SuperClass = Class->GetSuperClass();
		const UObject* ParentDefault = SuperClass ? SuperClass->GetDefaultObject() : nullptr;
		return ParentDefault && ParentDefault != Object && HasSameValue(Property, Object, ParentDefault);
	}
}
