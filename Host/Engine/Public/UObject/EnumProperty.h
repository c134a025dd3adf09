// FEnumProperty: an 'enum class' member, stored in an underlying numeric property.
#pragma once

#include "UObject/UnrealType.h"

class FEnumProperty : public FProperty
{
	UE_HOST_DECLARE_FIELD(FEnumProperty, FProperty)

public:
	// Takes ownership of the underlying property (its owner is this property, offset 0).
	FEnumProperty(FFieldVariant InOwner, const FName& InName, EObjectFlags InObjectFlags, UEnum* InEnum, FNumericProperty* InUnderlyingProp);
	virtual ~FEnumProperty() override;

	FNumericProperty* GetUnderlyingProperty() const { return UnderlyingProp; }
	// Host: the underlying property is made after this one, since this one is its owner.
	void SetUnderlyingProperty(FNumericProperty* InUnderlyingProp);
	UEnum* GetEnum() const { return Enum; }

	virtual bool Identical(const void* A, const void* B, uint32 PortFlags = 0) const override;
	virtual FString GetCPPType(FString* ExtendedTypeText = nullptr, uint32 CPPExportFlags = 0) const override;
	virtual int32 GetMinAlignment() const override { return UnderlyingProp->GetMinAlignment(); }

protected:
	// The enumerator's short name, or the number under PPF_ConsoleVariable.
	virtual void ExportText_Internal(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) const override;
	virtual const TCHAR* ImportText_Internal(const TCHAR* Buffer, void* PropertyValue, UObject* OwnerObject, int32 PortFlags, FOutputDevice* ErrorText) const override;
	virtual void CopyValuesInternal(void* Dest, void const* Src, int32 Count) const override;
	virtual void InitializeValueInternal(void* Dest) const override;
	virtual void DestroyValueInternal(void* Dest) const override {}
	virtual void ClearValueInternal(void* Data) const override;

private:
	FNumericProperty* UnderlyingProp;
	TObjectPtr<UEnum> Enum;
};
