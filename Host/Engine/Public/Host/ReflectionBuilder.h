// How native classes, structs and enums describe themselves to the host. The header tool
// (Host/HeaderTool) writes the calls from each header's UCLASS/USTRUCT/UENUM/UPROPERTY markup
// into the library's generated source:
//
//   struct Z_Construct_UClass_UMySettings_Statics
//   {
//       static void Declare(UE::Host::TClassBuilder<UMySettings>& Class)
//       {
//           Class.Config(TEXT("Engine"));
//           Class.Property(TEXT("ResolutionScale"), &UMySettings::ResolutionScale, CPF_Edit | CPF_Config)
//               .Meta(TEXT("ClampMin"), TEXT("0"));
//           Class.Bitfield(TEXT("bUseFeature"), [](void* Object, bool bValue) { ... }, CPF_Edit | CPF_Config)
//               .ConsoleVariable(TEXT("r.Feature"));
//       }
//   };
//
// Offsets come from member pointers on a probe instance of the type; a uint32:1 bitfield is found
// by setting and clearing it on the probe and comparing bytes, as the engine does for its own
// generated bitfield setters. Property kinds follow from the C++ types (see CreatePropertyForType).
#pragma once

#include "CoreMinimal.h"
#include "Containers/EnumAsByte.h"
#include "Templates/SubclassOf.h"
#include "UObject/Class.h"
#include "UObject/EnumProperty.h"
#include "UObject/Package.h"
#include "UObject/SoftObjectPtr.h"
#include "UObject/UnrealType.h"

#include <memory>
#include <type_traits>

namespace UE::Host
{
	// Identity, parent, flags inherited from the parent, and the package "/Script/<Module>".
	COREUOBJECT_API void InitializeNativeClass(UClass* Class, const TCHAR* PackageName, const TCHAR* ClassName, UClass* SuperClass, int32 Size, int32 Alignment, UClass::FNativeFactory Factory);
	// How a class read from a header builds this native class as the first part of its objects.
	COREUOBJECT_API void RegisterNativePlacementFactory(UClass* Class, UObject* (*Placement)(void* Memory));
	// Links the properties and registers the class so the finders can see it.
	COREUOBJECT_API void FinishNativeClass(UClass* Class);
	COREUOBJECT_API void InitializeNativeStruct(UScriptStruct* Struct, const TCHAR* PackageName, const TCHAR* StructName, UScriptStruct* SuperStruct, std::unique_ptr<UScriptStruct::ICppStructOps> Ops);
	COREUOBJECT_API void FinishNativeStruct(UScriptStruct* Struct);
	COREUOBJECT_API UEnum* ConstructNativeEnum(const TCHAR* PackageName, const TCHAR* EnumName, UEnum::ECppForm CppForm,
		const TArray<TPair<FName, int64>>& Names, const TArray<TPair<int32, TPair<FName, FString>>>& EnumeratorMetaData, const TMap<FName, FString>& EnumMetaData);
	// Classes outside the engine library ask to be built when the object system starts.
	struct FDeferredClassRegistration
	{
		explicit FDeferredClassRegistration(UClass* (*StaticClassFunction)());
	};
	COREUOBJECT_API void RunDeferredClassRegistrations();

	// Remembers that Property's ConsoleVariable names a variable to register at start-up.
	COREUOBJECT_API void DeclareConsoleVariable(const FProperty* Property, const TCHAR* Name);

	// The flags and help of a console variable that a settings property names, as the code that
	// owns the variable declares them (the renderer, for r.*). The host registers the variable at
	// start-up with the property's default; a variable no declaration names gets no flags and the
	// property's ToolTip as help.
	struct FConsoleVariableDeclaration
	{
		const TCHAR* Name;
		uint32 Flags;
		const TCHAR* Help;
	};
	// A static instance makes its declarations known; they must outlive the object system.
	struct FConsoleVariableDeclarations
	{
		COREUOBJECT_API FConsoleVariableDeclarations(const FConsoleVariableDeclaration* Declarations, int32 Count);
		template<int32 N>
		explicit FConsoleVariableDeclarations(const FConsoleVariableDeclaration (&Declarations)[N]) : FConsoleVariableDeclarations(Declarations, N) {}
	};
	// The byte and bit that a bitfield setter changes in Object; false unless exactly one bit moved.
	COREUOBJECT_API bool FindBitfieldByteAndMask(void* Object, int32 ObjectSize, void (*SetBit)(void*, bool), int32& OutByteOffset, uint8& OutMask);

	template<typename T> struct TIsTArray : std::false_type {};
	template<typename E, typename A> struct TIsTArray<TArray<E, A>> : std::true_type { typedef E ElementType; };
	template<typename T> struct TIsSoftObjectPtr : std::false_type {};
	template<typename C> struct TIsSoftObjectPtr<TSoftObjectPtr<C>> : std::true_type { typedef C ClassType; };
	template<typename T> struct TIsSoftClassPtr : std::false_type {};
	template<typename C> struct TIsSoftClassPtr<TSoftClassPtr<C>> : std::true_type { typedef C ClassType; };
	template<typename T> struct TIsSubclassOf : std::false_type {};
	template<typename C> struct TIsSubclassOf<TSubclassOf<C>> : std::true_type { typedef C ClassType; };
	template<typename T> struct TIsObjectPointer : std::false_type {};
	template<typename C> struct TIsObjectPointer<C*> : std::is_base_of<UObject, C> { typedef C ClassType; };
	template<typename C> struct TIsObjectPointer<TObjectPtr<C>> : std::true_type { typedef C ClassType; };

	// Makes the property that describes one value of C++ type V.
	template<typename V>
	FProperty* CreatePropertyForType(FFieldVariant Owner, FName Name)
	{
		if constexpr (std::is_same_v<V, bool>)
		{
			FBoolProperty* Property = new FBoolProperty(Owner, Name);
			Property->SetBoolSize(sizeof(bool), true);
			return Property;
		}
		else if constexpr (std::is_same_v<V, int8>) { return new FInt8Property(Owner, Name); }
		else if constexpr (std::is_same_v<V, int16>) { return new FInt16Property(Owner, Name); }
		else if constexpr (std::is_same_v<V, int32>) { return new FIntProperty(Owner, Name); }
		else if constexpr (std::is_same_v<V, int64>) { return new FInt64Property(Owner, Name); }
		else if constexpr (std::is_same_v<V, uint8>) { return new FByteProperty(Owner, Name); }
		else if constexpr (std::is_same_v<V, uint16>) { return new FUInt16Property(Owner, Name); }
		else if constexpr (std::is_same_v<V, uint32>) { return new FUInt32Property(Owner, Name); }
		else if constexpr (std::is_same_v<V, uint64>) { return new FUInt64Property(Owner, Name); }
		else if constexpr (std::is_same_v<V, float>) { return new FFloatProperty(Owner, Name); }
		else if constexpr (std::is_same_v<V, double>) { return new FDoubleProperty(Owner, Name); }
		else if constexpr (TIsTEnumAsByte<V>::value)
		{
			FByteProperty* Property = new FByteProperty(Owner, Name);
			Property->Enum = StaticEnum<typename V::EnumType>();
			return Property;
		}
		else if constexpr (std::is_enum_v<V>)
		{
			typedef std::underlying_type_t<V> FUnderlying;
			static_assert(std::is_integral_v<FUnderlying>, "An enum property needs an integral underlying type");
			FEnumProperty* Property = new FEnumProperty(Owner, Name, RF_NoFlags, StaticEnum<V>(), nullptr);
			return Property;
		}
		else if constexpr (std::is_same_v<V, FString>) { return new FStrProperty(Owner, Name); }
		else if constexpr (std::is_same_v<V, FName>) { return new FNameProperty(Owner, Name); }
		else if constexpr (std::is_same_v<V, FText>) { return new FTextProperty(Owner, Name); }
		else if constexpr (TIsSoftClassPtr<V>::value)
		{
			return new FSoftClassProperty(Owner, Name, RF_NoFlags, TIsSoftClassPtr<V>::ClassType::StaticClass());
		}
		else if constexpr (TIsSoftObjectPtr<V>::value)
		{
			return new FSoftObjectProperty(Owner, Name, RF_NoFlags, TIsSoftObjectPtr<V>::ClassType::StaticClass());
		}
		else if constexpr (TIsSubclassOf<V>::value)
		{
			return new FClassProperty(Owner, Name, RF_NoFlags, TIsSubclassOf<V>::ClassType::StaticClass());
		}
		else if constexpr (TIsObjectPointer<V>::value)
		{
			typedef typename TIsObjectPointer<V>::ClassType FObjectClass;
			if constexpr (std::is_same_v<FObjectClass, UClass>)
			{
				return new FClassProperty(Owner, Name, RF_NoFlags, UObject::StaticClass());
			}
			else
			{
				return new FObjectProperty(Owner, Name, RF_NoFlags, FObjectClass::StaticClass());
			}
		}
		else if constexpr (TIsTArray<V>::value)
		{
			typedef typename TIsTArray<V>::ElementType FElement;
			FArrayProperty* Property = new FArrayProperty(Owner, Name, RF_NoFlags, GetScriptArrayOps<FElement>());
			Property->Inner = CreatePropertyForType<FElement>(Property, Name);
			return Property;
		}
		else
		{
			return new FStructProperty(Owner, Name, RF_NoFlags, StaticStruct<V>());
		}
	}

	// Makes the underlying numeric property of an enum class, once the enum property exists.
	template<typename V>
	void FinishEnumProperty(FProperty* Property)
	{
		if constexpr (std::is_enum_v<V> && !TIsTEnumAsByte<V>::value)
		{
			FEnumProperty* EnumProperty = static_cast<FEnumProperty*>(Property);
			FProperty* Underlying = CreatePropertyForType<std::underlying_type_t<V>>(EnumProperty, FName(TEXT("UnderlyingType")));
			EnumProperty->SetUnderlyingProperty(static_cast<FNumericProperty*>(Underlying));
		}
		else if constexpr (TIsTArray<V>::value)
		{
			FinishEnumProperty<typename TIsTArray<V>::ElementType>(static_cast<FArrayProperty*>(Property)->Inner);
		}
	}

	// The handle returned for each declared property: flags, metadata, console variable.
	class FPropertyBuilder
	{
	public:
		explicit FPropertyBuilder(FProperty* InProperty) : Property(InProperty) {}

		FPropertyBuilder& Meta(const TCHAR* Key, const TCHAR* Value = TEXT("true"))
		{
			Property->SetMetaData(Key, FString(Value));
			return *this;
		}
		FPropertyBuilder& Flags(EPropertyFlags InFlags)
		{
			Property->SetPropertyFlags(InFlags);
			return *this;
		}
		// Sets the ConsoleVariable metadata and has the variable registered at start-up.
		FPropertyBuilder& ConsoleVariable(const TCHAR* Name)
		{
			Property->SetMetaData(TEXT("ConsoleVariable"), FString(Name));
			DeclareConsoleVariable(Property, Name);
			return *this;
		}
		FProperty* Get() const { return Property; }

	private:
		FProperty* Property;
	};

	// Shared by the class and struct builders: properties from member pointers on a probe.
	template<typename TOwner>
	class TMemberBuilder
	{
	public:
		explicit TMemberBuilder(UStruct* InStruct) : Struct(InStruct) {}

		template<typename V>
		FPropertyBuilder Property(const TCHAR* Name, V TOwner::*Member, EPropertyFlags InFlags)
		{
			FProperty* NewProperty = CreatePropertyForType<V>(Struct, FName(Name));
			FinishEnumProperty<V>(NewProperty);
			return Add(NewProperty, OffsetOf(&(GetProbe()->*Member)), 1, InFlags);
		}

		template<typename V, int32 N>
		FPropertyBuilder Property(const TCHAR* Name, V (TOwner::*Member)[N], EPropertyFlags InFlags)
		{
			FProperty* NewProperty = CreatePropertyForType<V>(Struct, FName(Name));
			FinishEnumProperty<V>(NewProperty);
			return Add(NewProperty, OffsetOf(&(GetProbe()->*Member)[0]), N, InFlags);
		}

		// A uint32:1 member, given as a setter that writes it.
		FPropertyBuilder Bitfield(const TCHAR* Name, void (*SetBit)(void*, bool), EPropertyFlags InFlags)
		{
			int32 ByteOffset = 0;
			uint8 Mask = 0;
			const bool bFound = FindBitfieldByteAndMask(GetProbe(), static_cast<int32>(sizeof(TOwner)), SetBit, ByteOffset, Mask);
			check(bFound);
			FBoolProperty* NewProperty = new FBoolProperty(Struct, FName(Name));
			NewProperty->SetBoolSize(sizeof(uint32), false, Mask);
			return Add(NewProperty, ByteOffset, 1, InFlags);
		}

	protected:
		TOwner* GetProbe()
		{
			if (!Probe)
			{
				Probe = std::make_unique<TOwner>();
			}
			return Probe.get();
		}

		int32 OffsetOf(const void* Address) const
		{
			return static_cast<int32>(static_cast<const uint8*>(Address) - reinterpret_cast<const uint8*>(Probe.get()));
		}

		FPropertyBuilder Add(FProperty* NewProperty, int32 Offset, int32 InArrayDim, EPropertyFlags InFlags)
		{
			NewProperty->SetOffset_Internal(Offset);
			NewProperty->ArrayDim = InArrayDim;
			NewProperty->SetPropertyFlags(InFlags);
			Struct->AddCppProperty(NewProperty);
			return FPropertyBuilder(NewProperty);
		}

		UStruct* Struct;
		std::unique_ptr<TOwner> Probe;
	};

	template<typename TClass>
	class TClassBuilder : public TMemberBuilder<TClass>
	{
	public:
		explicit TClassBuilder(UClass* InClass) : TMemberBuilder<TClass>(InClass), Class(InClass) {}

		TClassBuilder& Flags(EClassFlags InFlags)
		{
			Class->ClassFlags |= InFlags;
			return *this;
		}
		// The config category ("Engine", "Game", "Editor", ...).
		TClassBuilder& Config(const TCHAR* ConfigName)
		{
			Class->ClassConfigName = FName(ConfigName);
			return *this;
		}
		TClassBuilder& Meta(const TCHAR* Key, const TCHAR* Value = TEXT("true"))
		{
			Class->SetMetaData(Key, Value);
			return *this;
		}

	private:
		UClass* Class;
	};

	template<typename TStruct>
	class TStructBuilder : public TMemberBuilder<TStruct>
	{
	public:
		explicit TStructBuilder(UScriptStruct* InStruct) : TMemberBuilder<TStruct>(InStruct), Struct(InStruct) {}

		TStructBuilder& Flags(EStructFlags InFlags)
		{
			Struct->StructFlags |= InFlags;
			return *this;
		}
		TStructBuilder& Meta(const TCHAR* Key, const TCHAR* Value = TEXT("true"))
		{
			Struct->SetMetaData(Key, Value);
			return *this;
		}

	private:
		UScriptStruct* Struct;
	};

	class FEnumBuilder
	{
	public:
		FEnumBuilder(const TCHAR* InPackageName, const TCHAR* InEnumName, UEnum::ECppForm InCppForm)
			: PackageName(InPackageName), EnumName(InEnumName), CppForm(InCppForm)
		{
		}

		// One enumerator by its short name; metadata that follows applies to it.
		FEnumBuilder& Value(const TCHAR* ShortName, int64 InValue)
		{
			Names.Add(TPair<FName, int64>(FName(ShortName), InValue));
			return *this;
		}
		FEnumBuilder& Meta(const TCHAR* Key, const TCHAR* InValue = TEXT("true"))
		{
			check(Names.Num() > 0);
			EnumeratorMetaData.Add(TPair<int32, TPair<FName, FString>>(Names.Num() - 1, TPair<FName, FString>(FName(Key), FString(InValue))));
			return *this;
		}
		FEnumBuilder& EnumMeta(const TCHAR* Key, const TCHAR* InValue = TEXT("true"))
		{
			EnumMetaData.Add(FName(Key), FString(InValue));
			return *this;
		}

		UEnum* Finish() const { return ConstructNativeEnum(PackageName, EnumName, CppForm, Names, EnumeratorMetaData, EnumMetaData); }

	private:
		const TCHAR* PackageName;
		const TCHAR* EnumName;
		UEnum::ECppForm CppForm;
		TArray<TPair<FName, int64>> Names;
		TArray<TPair<int32, TPair<FName, FString>>> EnumeratorMetaData;
		TMap<FName, FString> EnumMetaData;
	};

	// Builds TClass with the flags its DECLARE_CLASS gives; Declare adds config name, metadata and
	// properties (none for an intrinsic class).
	template<typename TClass>
	void ConstructNativeClass(UClass*& OutClass, const TCHAR* PackageName, const TCHAR* ClassName, void (*Declare)(TClassBuilder<TClass>&))
	{
		// Assigned before anything else: building the core classes refers back to them.
		OutClass = new UClass();
		UClass* SuperClass = nullptr;
		if constexpr (!std::is_same_v<TClass, typename TClass::Super>)
		{
			SuperClass = TClass::Super::StaticClass();
		}
		UClass::FNativeFactory Factory = nullptr;
		if constexpr (std::is_default_constructible_v<TClass> && !std::is_abstract_v<TClass>)
		{
			Factory = []() -> UObject* { return new TClass(); };
		}
		InitializeNativeClass(OutClass, PackageName, ClassName, SuperClass, static_cast<int32>(sizeof(TClass)), static_cast<int32>(alignof(TClass)), Factory);
		OutClass->ClassFlags |= TClass::StaticClassFlags;
		if constexpr (std::is_default_constructible_v<TClass> && !std::is_abstract_v<TClass>)
		{
			RegisterNativePlacementFactory(OutClass, [](void* Memory) -> UObject* { return new (Memory) TClass(); });
		}
		if (Declare)
		{
			TClassBuilder<TClass> Builder(OutClass);
			Declare(Builder);
		}
		FinishNativeClass(OutClass);
	}

	template<typename TStruct>
	void ConstructNativeStruct(UScriptStruct*& OutStruct, const TCHAR* PackageName, const TCHAR* StructName,
		void (*Declare)(TStructBuilder<TStruct>&), UScriptStruct* SuperStruct = nullptr)
	{
		OutStruct = new UScriptStruct();
		InitializeNativeStruct(OutStruct, PackageName, StructName, SuperStruct, std::make_unique<UScriptStruct::TCppStructOps<TStruct>>());
		{
			TStructBuilder<TStruct> Builder(OutStruct);
			Declare(Builder);
		}
		FinishNativeStruct(OutStruct);
	}
}

// StaticClass() of a class declared with DECLARE_CLASS_INTRINSIC; InitCode runs once the class
// is built, with Class in scope.
#define IMPLEMENT_CORE_INTRINSIC_CLASS(TClass, TSuperClass, InitCode) \
	UClass* TClass::StaticClass() \
	{ \
		static UClass* Class = nullptr; \
		if (!Class) \
		{ \
			static_assert(std::is_same_v<TSuperClass, TClass::Super>, "IMPLEMENT_CORE_INTRINSIC_CLASS names the parent DECLARE_CLASS_INTRINSIC gave"); \
			::UE::Host::ConstructNativeClass<TClass>(Class, TClass::StaticPackage(), &TEXT(#TClass)[1], nullptr); \
			InitCode \
		} \
		return Class; \
	}
