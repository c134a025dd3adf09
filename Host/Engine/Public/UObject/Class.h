// The reflection objects: UField, UStruct, UScriptStruct, UClass and UEnum. Properties (FProperty)
// hang off a UStruct in declaration order, derived class first and then its parents, as the
// engine's PropertyLink does.
#pragma once

#include "CoreMinimal.h"
#include "Containers/EnumAsByte.h"
#include "UObject/Object.h"
#include "UObject/TopLevelAssetPath.h"

#include <concepts>
#include <memory>
#include <new>
#include <type_traits>

class FField;
class FProperty;
class FOutputDevice;
class UClass;
class UStruct;

class UField : public UObject
{
	DECLARE_CLASS_INTRINSIC(UField, UObject, CLASS_None, TEXT("/Script/CoreUObject"))

public:
	UField* Next = nullptr;

	UClass* GetOwnerClass() const;
	UStruct* GetOwnerStruct() const;

#if WITH_EDITORONLY_DATA
	// Metadata as the header markup gives it (meta=(Key=Value)); an empty string when absent.
	const FString& GetMetaData(const TCHAR* Key) const;
	const FString& GetMetaData(const FName& Key) const;
	const FString* FindMetaData(const TCHAR* Key) const;
	const FString* FindMetaData(const FName& Key) const;
	bool HasMetaData(const TCHAR* Key) const { return FindMetaData(Key) != nullptr; }
	bool HasMetaData(const FName& Key) const { return FindMetaData(Key) != nullptr; }
	void SetMetaData(const TCHAR* Key, const TCHAR* InValue);
	void SetMetaData(const FName& Key, const TCHAR* InValue);
	void RemoveMetaData(const TCHAR* Key);
	FText GetDisplayNameText() const;
	FText GetToolTipText(bool bShortTooltip = false) const;
#endif

private:
	TMap<FName, FString> MetaData;
};

class UStruct : public UField
{
	DECLARE_CLASS_INTRINSIC(UStruct, UField, CLASS_None, TEXT("/Script/CoreUObject"))

public:
	UStruct() = default;
	virtual ~UStruct() override;

	UStruct* GetSuperStruct() const { return SuperStruct; }
	UStruct* GetInheritanceSuper() const { return SuperStruct; }
	void SetSuperStruct(UStruct* NewSuperStruct);

	// True for this struct and every struct derived from SomeBase.
	bool IsChildOf(const UStruct* SomeBase) const;
	template<class T>
	bool IsChildOf() const { return IsChildOf(T::StaticClass()); }

	// Walks this struct and its parents; names compare as FNames, so letter case is ignored.
	FProperty* FindPropertyByName(FName InName) const;

	// Adds a property declared by this struct, after the ones already there. Takes ownership.
	virtual void AddCppProperty(FProperty* Property);
	// Rebuilds PropertyLink from the declared properties of this struct and its parents.
	void StaticLink(bool bRelinkExistingProperties = false);

	int32 GetPropertiesSize() const { return PropertiesSize; }
	int32 GetMinAlignment() const { return MinAlignment; }
	void SetPropertiesSize(int32 NewSize) { PropertiesSize = NewSize; }
	void SetMinAlignment(int32 NewAlignment) { MinAlignment = NewAlignment; }

	FTopLevelAssetPath GetStructPathName() const { return FTopLevelAssetPath(this); }

	// Properties declared by this struct only, in declaration order.
	FField* ChildProperties = nullptr;
	// Every property, this struct's first and then each parent's.
	FProperty* PropertyLink = nullptr;

private:
	UStruct* SuperStruct = nullptr;
	int32 PropertiesSize = 0;
	int32 MinAlignment = 1;
};

enum EStructFlags : uint32
{
	STRUCT_NoFlags = 0x00000000u,
	STRUCT_Native = 0x00000001u,
	STRUCT_IdenticalNative = 0x00000002u,
	STRUCT_HasInstancedReference = 0x00000004u,
	STRUCT_NoExport = 0x00000008u,
	// Exported as a whole: no field is left out for matching its default.
	STRUCT_Atomic = 0x00000010u,
	STRUCT_Immutable = 0x00000020u,
	STRUCT_RequiredAPI = 0x00000200u,
	STRUCT_CopyNative = 0x00001000u,
	STRUCT_IsPlainOldData = 0x00002000u,
	STRUCT_NoDestructor = 0x00004000u,
	STRUCT_ZeroConstructor = 0x00008000u,
	STRUCT_ExportTextItemNative = 0x00010000u,
	STRUCT_ImportTextItemNative = 0x00020000u,
};

ENUM_CLASS_FLAGS(EStructFlags);

namespace UE::Host::StructOpsDetail
{
	template<typename T>
	concept CHasExportTextItem = requires(const T& Value, FString& Out, UObject* Object) {
		{ Value.ExportTextItem(Out, Value, Object, int32(0), Object) } -> std::same_as<bool>;
	};

	template<typename T>
	concept CHasImportTextItem = requires(T& Value, const TCHAR*& Buffer, UObject* Object, FOutputDevice* Error) {
		{ Value.ImportTextItem(Buffer, int32(0), Object, Error) } -> std::same_as<bool>;
	};

	template<typename T>
	concept CHasEquality = requires(const T& A, const T& B) {
		{ A == B } -> std::convertible_to<bool>;
	};
}

class UScriptStruct : public UStruct
{
	DECLARE_CLASS_INTRINSIC(UScriptStruct, UStruct, CLASS_None, TEXT("/Script/CoreUObject"))

public:
	// What the struct's C++ type can do: construct, copy, compare and text import/export of its own.
	struct ICppStructOps
	{
		ICppStructOps(int32 InSize, int32 InAlignment) : Size(InSize), Alignment(InAlignment) {}
		virtual ~ICppStructOps() = default;

		int32 GetSize() const { return Size; }
		int32 GetAlignment() const { return Alignment; }

		virtual void Construct(void* Dest) = 0;
		virtual void Destruct(void* Dest) = 0;
		virtual bool Copy(void* Dest, void const* Src, int32 ArrayDim) = 0;
		virtual bool HasIdentical() const = 0;
		virtual bool Identical(const void* A, const void* B, uint32 PortFlags, bool& bOutResult) = 0;
		virtual bool HasExportTextItem() const = 0;
		virtual bool ExportTextItem(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) = 0;
		virtual bool HasImportTextItem() const = 0;
		virtual bool ImportTextItem(const TCHAR*& Buffer, void* Data, int32 PortFlags, UObject* OwnerObject, FOutputDevice* ErrorText) = 0;

	private:
		int32 Size;
		int32 Alignment;
	};

	template<class CPPSTRUCT>
	struct TCppStructOps final : public ICppStructOps
	{
		TCppStructOps() : ICppStructOps(sizeof(CPPSTRUCT), alignof(CPPSTRUCT)) {}

		virtual void Construct(void* Dest) override { new (Dest) CPPSTRUCT(); }
		virtual void Destruct(void* Dest) override { static_cast<CPPSTRUCT*>(Dest)->~CPPSTRUCT(); }
		virtual bool Copy(void* Dest, void const* Src, int32 ArrayDim) override
		{
			for (int32 Index = 0; Index < ArrayDim; ++Index)
			{
				static_cast<CPPSTRUCT*>(Dest)[Index] = static_cast<const CPPSTRUCT*>(Src)[Index];
			}
			return true;
		}
		virtual bool HasIdentical() const override { return UE::Host::StructOpsDetail::CHasEquality<CPPSTRUCT>; }
		virtual bool Identical(const void* A, const void* B, uint32 PortFlags, bool& bOutResult) override
		{
			if constexpr (UE::Host::StructOpsDetail::CHasEquality<CPPSTRUCT>)
			{
				bOutResult = *static_cast<const CPPSTRUCT*>(A) == *static_cast<const CPPSTRUCT*>(B);
				return true;
			}
			return false;
		}
		virtual bool HasExportTextItem() const override { return UE::Host::StructOpsDetail::CHasExportTextItem<CPPSTRUCT>; }
		virtual bool ExportTextItem(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) override
		{
			if constexpr (UE::Host::StructOpsDetail::CHasExportTextItem<CPPSTRUCT>)
			{
				const CPPSTRUCT& Value = *static_cast<const CPPSTRUCT*>(PropertyValue);
				return DefaultValue
					? Value.ExportTextItem(ValueStr, *static_cast<const CPPSTRUCT*>(DefaultValue), Parent, PortFlags, ExportRootScope)
					: Value.ExportTextItem(ValueStr, CPPSTRUCT(), Parent, PortFlags, ExportRootScope);
			}
			return false;
		}
		virtual bool HasImportTextItem() const override { return UE::Host::StructOpsDetail::CHasImportTextItem<CPPSTRUCT>; }
		virtual bool ImportTextItem(const TCHAR*& Buffer, void* Data, int32 PortFlags, UObject* OwnerObject, FOutputDevice* ErrorText) override
		{
			if constexpr (UE::Host::StructOpsDetail::CHasImportTextItem<CPPSTRUCT>)
			{
				return static_cast<CPPSTRUCT*>(Data)->ImportTextItem(Buffer, PortFlags, OwnerObject, ErrorText);
			}
			return false;
		}
	};

	UScriptStruct() = default;

	EStructFlags StructFlags = STRUCT_NoFlags;

	ICppStructOps* GetCppStructOps() const { return CppStructOps.get(); }
	void SetCppStructOps(std::unique_ptr<ICppStructOps> InOps);

	int32 GetStructureSize() const { return GetPropertiesSize(); }
	void InitializeStruct(void* Dest, int32 ArrayDim = 1) const;
	void DestroyStruct(void* Dest, int32 ArrayDim = 1) const;
	void CopyScriptStruct(void* Dest, void const* Src, int32 ArrayDim = 1) const;
	// A null B never matches.
	bool CompareScriptStruct(const void* A, const void* B, uint32 PortFlags) const;

	// "(Field=Value,...)", or the struct's own text form when it has one. Fields that match
	// Defaults are left out unless the struct is atomic.
	void ExportText(FString& ValueStr, const void* Value, const void* Defaults, UObject* OwnerObject, int32 PortFlags, UObject* ExportRootScope, bool bAllowNativeOverride = true) const;
	// Reads the form above. Unknown field names are skipped with a warning; a field whose value
	// does not read makes the whole import fail (null).
	const TCHAR* ImportText(const TCHAR* Buffer, void* Value, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText, const FString& StructName, bool bAllowNativeOverride = true) const;

private:
	std::unique_ptr<ICppStructOps> CppStructOps;
};

class UClass : public UStruct
{
	DECLARE_CLASS_INTRINSIC(UClass, UStruct, CLASS_None, TEXT("/Script/CoreUObject"))

public:
	typedef UObject* (*FNativeFactory)();

	UClass() = default;
	virtual ~UClass() override;

	EClassFlags ClassFlags = CLASS_None;
	// The config category: "Engine", "Game", "Input", "Editor", "EditorPerProjectUserSettings", ...
	FName ClassConfigName;

	bool HasAnyClassFlags(EClassFlags FlagsToCheck) const { return (ClassFlags & FlagsToCheck) != 0; }
	bool HasAllClassFlags(EClassFlags FlagsToCheck) const { return (ClassFlags & FlagsToCheck) == FlagsToCheck; }
	EClassFlags GetClassFlags() const { return ClassFlags; }

	UClass* GetSuperClass() const { return static_cast<UClass*>(GetSuperStruct()); }
	FTopLevelAssetPath GetClassPathName() const { return GetStructPathName(); }

	// The class default object, made on first use: it copies its parent's defaults, then loads
	// its config and runs PostInitProperties, as the engine does.
	UObject* GetDefaultObject(bool bCreateIfNeeded = true) const;
	template<class T>
	T* GetDefaultObject() const { return static_cast<T*>(GetDefaultObject()); }

	// The config cache key of ClassConfigName (the short category name on the host).
	const FString GetConfigName() const;

	// Host: makes an instance of the native type (no registration); null for classes that
	// cannot be instantiated.
	FNativeFactory NativeFactory = nullptr;
	// Host: forgets the class default object (it is made again on next use).
	void DestroyDefaultObject();

private:
	UObject* CreateDefaultObject();

	UObject* ClassDefaultObject = nullptr;
};

enum class EGetByNameFlags
{
	None = 0,
	ErrorIfNotFound = 0x01,
	CaseSensitive = 0x02,
	CheckAuthoredName = 0x04,
};

ENUM_CLASS_FLAGS(EGetByNameFlags);

class UEnum : public UField
{
	DECLARE_CLASS_INTRINSIC(UEnum, UField, CLASS_None, TEXT("/Script/CoreUObject"))

public:
	// How the C++ enum is written; Namespaced and EnumClass keep "EName::" in their stored names.
	enum class ECppForm
	{
		Regular,
		Namespaced,
		EnumClass,
	};

	UEnum() = default;

	// Stores the enumerators; names of scoped forms are qualified here if they are not yet.
	void SetEnums(const TArray<TPair<FName, int64>>& InNames, ECppForm InCppForm, bool bAddMaxKeyIfMissing = true);

	ECppForm GetCppForm() const { return CppForm; }
	int32 NumEnums() const { return Names.Num(); }
	FName GetNameByIndex(int32 Index) const;
	int64 GetValueByIndex(int32 Index) const;
	FName GetNameByValue(int64 InValue) const;
	// Short names, without the "EName::" part.
	FString GetNameStringByIndex(int32 Index) const;
	FString GetNameStringByValue(int64 InValue) const;
	FString GetAuthoredNameStringByIndex(int32 Index) const { return GetNameStringByIndex(Index); }
	FText GetDisplayNameTextByIndex(int32 Index) const;
	FText GetDisplayNameTextByValue(int64 InValue) const;

	// Accept the short name and the qualified "EName::Short" form.
	int32 GetIndexByName(const FName InName, EGetByNameFlags Flags = EGetByNameFlags::None) const;
	int64 GetValueByName(const FName InName, EGetByNameFlags Flags = EGetByNameFlags::None) const;
	int32 GetIndexByNameString(const FString& SearchString, EGetByNameFlags Flags = EGetByNameFlags::None) const;
	int64 GetValueByNameString(const FString& SearchString, EGetByNameFlags Flags = EGetByNameFlags::None) const;
	int32 GetIndexByValue(int64 InValue) const;
	bool IsValidEnumValue(int64 InValue) const { return GetIndexByValue(InValue) != INDEX_NONE; }
	bool IsValidEnumName(FName InName) const { return GetIndexByName(InName) != INDEX_NONE; }
	// The largest value, which is the generated _MAX entry when there is one.
	int64 GetMaxEnumValue() const;
	bool ContainsExistingMax() const;
	FString GenerateEnumPrefix() const;

#if WITH_EDITORONLY_DATA
	using UField::GetMetaData;
	using UField::HasMetaData;
	using UField::SetMetaData;
	// Metadata of one enumerator (NameIndex), or of the enum itself (INDEX_NONE).
	FString GetMetaData(const TCHAR* Key, int32 NameIndex, bool bAllowRemap = true) const;
	bool HasMetaData(const TCHAR* Key, int32 NameIndex) const;
	void SetMetaData(const TCHAR* Key, const TCHAR* InValue, int32 NameIndex);
#endif

	// Reads "EnumName::Value" from Str, advancing it, in any registered enum; INDEX_NONE if none.
	static int64 ParseEnum(const TCHAR*& Str);

private:
	TArray<TPair<FName, int64>> Names;
	ECppForm CppForm = ECppForm::Regular;
	TArray<TMap<FName, FString>> EnumeratorMetaData;
};

// The reflected struct of a core type that cannot carry StaticStruct() itself.
template<typename T>
struct TBaseStructure;

namespace UE::Math
{
	template<typename T>
	struct TVector;
}
struct FLinearColor;
struct FColor;
struct FGuid;
struct FSoftObjectPath;
struct FSoftClassPath;

template<> struct TBaseStructure<UE::Math::TVector<double>> { COREUOBJECT_API static UScriptStruct* Get(); };
template<> struct TBaseStructure<FLinearColor> { COREUOBJECT_API static UScriptStruct* Get(); };
template<> struct TBaseStructure<FColor> { COREUOBJECT_API static UScriptStruct* Get(); };
template<> struct TBaseStructure<FGuid> { COREUOBJECT_API static UScriptStruct* Get(); };
template<> struct TBaseStructure<FSoftObjectPath> { COREUOBJECT_API static UScriptStruct* Get(); };
template<> struct TBaseStructure<FSoftClassPath> { COREUOBJECT_API static UScriptStruct* Get(); };

template<typename T>
UScriptStruct* StaticStruct()
{
	if constexpr (requires { TBaseStructure<T>::Get(); })
	{
		return TBaseStructure<T>::Get();
	}
	else
	{
		return T::StaticStruct();
	}
}

// Specialised next to each reflected enum.
template<typename T>
UEnum* StaticEnum();

template<typename T>
UClass* StaticClass()
{
	return T::StaticClass();
}
