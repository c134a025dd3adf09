// Module CoreUObject: flags, objects and classes, object lookup and creation, properties,
// package names and the asset filter types, as the engine declares them.
#include "ConformanceSupport.h"

#include "CoreMinimal.h"
#include "AssetRegistry/ARFilter.h"
#include "AssetRegistry/AssetData.h"
#include "Internationalization/StringTable.h"
#include "Misc/PackageName.h"
#include "Templates/Casts.h"
#include "UObject/Class.h"
#include "UObject/EnumProperty.h"
#include "UObject/Field.h"
#include "UObject/Object.h"
#include "UObject/Package.h"
#include "UObject/UObjectGlobals.h"
#include "UObject/UnrealType.h"

#include <gtest/gtest.h>

namespace CoreUObjectConformance
{
	template<typename PropertyType>
	concept THasGetArrayDim = requires(const PropertyType* Property) { Property->GetArrayDim(); };
	template<typename PropertyType>
	concept THasSetArrayDim = requires(PropertyType* Property) { Property->SetArrayDim(1); };

	// Flags: plain enums of the engine's widths and values.
	static_assert(std::is_convertible_v<EClassFlags, uint32> && std::is_convertible_v<EPropertyFlags, uint64>);
	static_assert(std::is_same_v<std::underlying_type_t<EPropertyFlags>, uint64>);
	static_assert(CLASS_DefaultConfig == 0x00000002u && CLASS_Config == 0x00000004u && CLASS_ProjectUserConfig == 0x00000040u
		&& CLASS_GlobalUserConfig == 0x08000000u);
	static_assert(CPF_Config == 0x0000000000004000ull);
	static_assert(RF_NoFlags == 0 && RF_Public == 0x1 && RF_Standalone == 0x2);
	static_assert(std::is_same_v<decltype(RF_Public | RF_Standalone), EObjectFlags>);

	// Objects
	CHECK_ENGINE_DECL(UObjectBase::GetClass, UClass* (UObjectBase::*)() const);
	CHECK_ENGINE_DECL(UObjectBase::GetFName, FName (UObjectBase::*)() const);
	CHECK_ENGINE_OVERLOAD(UObjectBaseUtility::GetName, FString (UObjectBaseUtility::*)() const);
	CHECK_ENGINE_DECL(UObjectBaseUtility::GetPathName, FString (UObjectBaseUtility::*)(const UObject*) const);
	CHECK_ENGINE_DECL(UObjectBaseUtility::GetOutermost, UPackage* (UObjectBaseUtility::*)() const);
	CHECK_ENGINE_DECL(UObjectBaseUtility::ClearFlags, void (UObjectBaseUtility::*)(EObjectFlags));
	CHECK_ENGINE_DECL(UObjectBaseUtility::MarkAsGarbage, void (UObjectBaseUtility::*)());
	static_assert(std::is_base_of_v<UObjectBaseUtility, UObject> && std::is_base_of_v<UObjectBase, UObjectBaseUtility>);
	CHECK_ENGINE_DECL(UObject::StaticClass, UClass* (*)());

	// Config persistence on UObject
	CHECK_ENGINE_DECL(UObject::PostEditChangeProperty, void (UObject::*)(FPropertyChangedEvent&));
	CHECK_ENGINE_DECL(UObject::SaveConfig, void (UObject::*)(uint64, const TCHAR*, FConfigCacheIni*, bool));
	CHECK_ENGINE_DECL(UObject::TryUpdateDefaultConfigFile, bool (UObject::*)(const FString&, bool));
	CHECK_ENGINE_DECL(UObject::UpdateGlobalUserConfigFile, void (UObject::*)());
	CHECK_ENGINE_DECL(UObject::UpdateProjectUserConfigFile, void (UObject::*)());
	CHECK_ENGINE_DECL(UObject::UpdateSinglePropertyInConfigFile, void (UObject::*)(const FProperty*, const FString&));
	CHECK_ENGINE_DECL(UObject::GetDefaultConfigFilename, FString (UObject::*)() const);
	CHECK_ENGINE_DECL(UObject::GetGlobalUserConfigFilename, FString (UObject::*)() const);
	CHECK_ENGINE_DECL(UObject::GetProjectUserConfigFilename, FString (UObject::*)() const);

	// Classes
	CHECK_ENGINE_DECL(UStruct::GetStructPathName, FTopLevelAssetPath (UStruct::*)() const);
	CHECK_ENGINE_DECL(UStruct::FindPropertyByName, FProperty* (UStruct::*)(FName) const);
	CHECK_ENGINE_OVERLOAD(UStruct::IsChildOf, bool (UStruct::*)(const UStruct*) const);
	static_assert(std::is_same_v<decltype(&UStruct::IsChildOf<UObject>), bool (UStruct::*)() const>);
	// By const value, as the engine writes it.
	CHECK_ENGINE_DECL(UClass::GetConfigName, const FString (UClass::*)() const);
	CHECK_ENGINE_OVERLOAD(UClass::GetDefaultObject, UObject* (UClass::*)(bool) const);
	CHECK_ENGINE_DECL(UClass::HasAnyClassFlags, bool (UClass::*)(EClassFlags) const);
	static_assert(std::is_same_v<decltype(Cast<UClass>(std::declval<UObject*>())), UClass*>);

	// Finding and creating objects: the module's call forms, and the 5.4 declarations.
	CHECK_ENGINE_OVERLOAD(StaticFindObject, UObject* (*)(UClass*, UObject*, const TCHAR*, bool));
	static_assert(requires(const FString& Name) { { StaticFindObject(UClass::StaticClass(), nullptr, *Name) } -> std::same_as<UObject*>; });
	static_assert(static_cast<int>(EFindFirstObjectOptions::None) == 0 && static_cast<int>(EFindFirstObjectOptions::ExactClass) == 2
		&& static_cast<int>(EFindFirstObjectOptions::NativeFirst) == 4 && static_cast<int>(EFindFirstObjectOptions::EnsureIfAmbiguous) == 8);
	CHECK_ENGINE_OVERLOAD(StaticFindFirstObject, UObject* (*)(UClass*, const TCHAR*, EFindFirstObjectOptions, ELogVerbosity::Type, const TCHAR*));
	CHECK_ENGINE_DECL(CreatePackage, UPackage* (*)(const TCHAR*));
	CHECK_ENGINE_OVERLOAD(NewObject<UStringTable>, UStringTable* (*)(UObject*, FName, EObjectFlags, UObject*, bool, FObjectInstancingGraph*));
	CHECK_ENGINE_OVERLOAD(GetDefault<UObject>, const UObject* (*)());
	CHECK_ENGINE_DECL(UPackage::IsDirty, bool (UPackage::*)() const);

	// Fields and properties
	CHECK_ENGINE_DECL(FField::GetName, FString (FField::*)() const);
	CHECK_ENGINE_DECL(FField::GetFName, FName (FField::*)() const);
	CHECK_ENGINE_OVERLOAD(FField::GetMetaData, const FString& (FField::*)(const TCHAR*) const);
	CHECK_ENGINE_OVERLOAD(FField::GetMetaData, const FString& (FField::*)(const FName&) const);
	CHECK_ENGINE_OVERLOAD(CastField<FBoolProperty>, FBoolProperty* (*)(FField*));
	CHECK_ENGINE_OVERLOAD(CastField<FBoolProperty>, const FBoolProperty* (*)(const FField*));

	// The array dimension is a data member; the engine has no accessor for it.
	static_assert(std::is_same_v<decltype(&FProperty::ArrayDim), int32 FProperty::*>);
	static_assert(!THasGetArrayDim<FProperty>, "the engine's FProperty has no GetArrayDim()");
	static_assert(!THasSetArrayDim<FProperty>, "the engine's FProperty has no SetArrayDim()");
	static_assert(std::is_same_v<decltype(&FProperty::PropertyFlags), EPropertyFlags FProperty::*>);
	CHECK_ENGINE_DECL(FProperty::HasAnyPropertyFlags, bool (FProperty::*)(uint64) const);
	CHECK_ENGINE_DECL(FProperty::ExportText_InContainer, bool (FProperty::*)(int32, FString&, const void*, const void*, UObject*, int32, UObject*) const);
	CHECK_ENGINE_DECL(FProperty::ImportText_InContainer, const TCHAR* (FProperty::*)(const TCHAR*, void*, UObject*, int32, FOutputDevice*) const);
	CHECK_ENGINE_DECL(FProperty::ValidateImportFlags, bool (FProperty::*)(uint32, FOutputDevice*) const);
	CHECK_ENGINE_OVERLOAD(FProperty::ContainerPtrToValuePtr<void>, void* (FProperty::*)(UObject*, int32) const);
	CHECK_ENGINE_OVERLOAD(FProperty::ContainerPtrToValuePtr<void>, void* (FProperty::*)(void*, int32) const);
	CHECK_ENGINE_OVERLOAD(FProperty::ContainerPtrToValuePtr<void>, const void* (FProperty::*)(const UObject*, int32) const);
	CHECK_ENGINE_OVERLOAD(FProperty::ContainerPtrToValuePtr<void>, const void* (FProperty::*)(const void*, int32) const);
	static_assert(std::is_base_of_v<FProperty, FNumericProperty>);
	CHECK_ENGINE_DECL(FNumericProperty::IsFloatingPoint, bool (FNumericProperty::*)() const);
	CHECK_ENGINE_DECL(FNumericProperty::IsInteger, bool (FNumericProperty::*)() const);
	CHECK_ENGINE_DECL(FNumericProperty::GetSignedIntPropertyValue, int64 (FNumericProperty::*)(const void*) const);
	CHECK_ENGINE_DECL(FNumericProperty::GetFloatingPointPropertyValue, double (FNumericProperty::*)(const void*) const);
	// Not static on the bool property; static on the typed ones.
	CHECK_ENGINE_OVERLOAD(FBoolProperty::GetPropertyValue, bool (FBoolProperty::*)(const void*) const);
	CHECK_ENGINE_OVERLOAD(FStrProperty::GetPropertyValue, const FString& (*)(const void*));
	static_assert(std::is_base_of_v<FProperty, FArrayProperty> && std::is_base_of_v<FProperty, FSetProperty> && std::is_base_of_v<FProperty, FMapProperty>);
	static_assert(std::is_base_of_v<FProperty, FEnumProperty>);
	CHECK_ENGINE_DECL(FEnumProperty::GetUnderlyingProperty, FNumericProperty* (FEnumProperty::*)() const);
	static_assert(std::is_constructible_v<FPropertyChangedEvent, FProperty*, EPropertyChangeType::Type>);
	static_assert(std::is_constructible_v<FPropertyChangedEvent, FProperty*, EPropertyChangeType::Type, TArrayView<const UObject* const>>);
	static_assert(EPropertyChangeType::ValueSet == 1 << 4);

	// Package names
	CHECK_ENGINE_DECL(FPackageName::GetLongPackageAssetName, FString (*)(const FString&));
	CHECK_ENGINE_OVERLOAD(FPackageName::IsValidLongPackageName, bool (*)(FStringView, bool, FPackageName::EErrorCode*));
	CHECK_ENGINE_OVERLOAD(FPackageName::IsValidLongPackageName, bool (*)(FStringView, bool, FText*));
	static_assert(requires(const FString& Path) { { FPackageName::IsValidLongPackageName(Path, true) } -> std::same_as<bool>; });

	// The asset filter and asset records live in CoreUObject.
	static_assert(std::is_same_v<decltype(&FARFilter::PackagePaths), TArray<FName> FARFilter::*>);
	static_assert(std::is_same_v<decltype(&FARFilter::ClassPaths), TArray<FTopLevelAssetPath> FARFilter::*>);
	static_assert(std::is_same_v<decltype(&FARFilter::bRecursivePaths), bool FARFilter::*>);
	static_assert(std::is_same_v<decltype(&FARFilter::bRecursiveClasses), bool FARFilter::*>);
	static_assert(std::is_same_v<decltype(&FAssetData::PackageName), FName FAssetData::*>);
	static_assert(std::is_same_v<decltype(&FAssetData::AssetName), FName FAssetData::*>);
	CHECK_ENGINE_DECL(FAssetData::GetObjectPathString, FString (FAssetData::*)() const);
	CHECK_ENGINE_DECL(FAssetData::GetAsset, UObject* (FAssetData::*)(TSet<FName>) const);
}

TEST(CoreUObjectConformance, FiltersStartNonRecursive)
{
	const FARFilter Filter;
	EXPECT_FALSE(Filter.bRecursivePaths);
	EXPECT_FALSE(Filter.bRecursiveClasses);
}
