// JSON values. Every number is a double. TryGet* convert across types the way the engine does
// (a number reads as a string, a string reads as a number when it is numeric); As* log to LogJson
// and return a default when the conversion fails.
#pragma once

#include "CoreMinimal.h"
#include "JsonGlobals.h"
#include "Serialization/JsonTypes.h"

class FJsonObject;

namespace UE::Host::Json
{
	struct FValueAccess;
}

class FJsonValue
{
public:
	virtual ~FJsonValue() = default;

	double AsNumber() const;
	FString AsString() const;
	bool AsBool() const;
	const TArray<TSharedPtr<FJsonValue>>& AsArray() const;
	virtual const TSharedPtr<FJsonObject>& AsObject() const;

	virtual bool TryGetNumber(double& OutNumber) const { return false; }
	// Fails for a finite value beyond float's range rather than making it infinite.
	virtual bool TryGetNumber(float& OutNumber) const;
	// The integer forms round half away from zero (2.5 gives 3) and fail when the rounded value
	// does not fit; a caller that wants integral input only checks the double itself.
	virtual bool TryGetNumber(int8& OutNumber) const;
	virtual bool TryGetNumber(int16& OutNumber) const;
	virtual bool TryGetNumber(int32& OutNumber) const;
	virtual bool TryGetNumber(int64& OutNumber) const;
	virtual bool TryGetNumber(uint8& OutNumber) const;
	virtual bool TryGetNumber(uint16& OutNumber) const;
	virtual bool TryGetNumber(uint32& OutNumber) const;
	virtual bool TryGetNumber(uint64& OutNumber) const;
	virtual bool TryGetString(FString& OutString) const { return false; }
	virtual bool TryGetBool(bool& OutBool) const { return false; }
	virtual bool TryGetArray(const TArray<TSharedPtr<FJsonValue>>*& OutArray) const { return false; }
	virtual bool TryGetArray(TArray<TSharedPtr<FJsonValue>>*& OutArray) { return false; }
	virtual bool TryGetObject(const TSharedPtr<FJsonObject>*& OutObject) const { return false; }
	virtual bool TryGetObject(TSharedPtr<FJsonObject>*& OutObject) { return false; }

	bool IsNull() const { return Type == EJson::Null || Type == EJson::None; }

	// Deep equality: numbers by value, strings case-sensitively, object fields in any order.
	static bool CompareEqual(const FJsonValue& Lhs, const FJsonValue& Rhs);
	bool operator==(const FJsonValue& Rhs) const { return CompareEqual(*this, Rhs); }

	// A deep copy; null for a null pointer.
	static TSharedPtr<FJsonValue> Duplicate(const TSharedPtr<const FJsonValue>& Src);
	static TSharedPtr<FJsonValue> Duplicate(const TSharedPtr<FJsonValue>& Src);

	EJson Type = EJson::None;

protected:
	FJsonValue() = default;
	FJsonValue(const FJsonValue&) = default;
	FJsonValue& operator=(const FJsonValue&) = default;

	virtual FString GetType() const = 0;
	void ErrorMessage(const FString& InType) const;
};

class FJsonValueString : public FJsonValue
{
public:
	FJsonValueString(const FString& InString) : Value(InString) { Type = EJson::String; }
	FJsonValueString(FString&& InString) : Value(std::move(InString)) { Type = EJson::String; }

	virtual bool TryGetString(FString& OutString) const override { OutString = Value; return true; }
	// Only text that FString::IsNumeric accepts reads as a number.
	virtual bool TryGetNumber(double& OutNumber) const override;
	using FJsonValue::TryGetNumber;
	// Any text reads as a bool ("true", "yes", "on" or a non-zero number give true).
	virtual bool TryGetBool(bool& OutBool) const override { OutBool = Value.ToBool(); return true; }

	bool IsEmpty() const { return Value.IsEmpty(); }

protected:
	virtual FString GetType() const override { return FString(TEXT("String")); }

	FString Value;

	friend struct UE::Host::Json::FValueAccess;
};

class FJsonValueNumber : public FJsonValue
{
public:
	FJsonValueNumber(double InNumber) : Value(InNumber) { Type = EJson::Number; }

	virtual bool TryGetNumber(double& OutNumber) const override { OutNumber = Value; return true; }
	using FJsonValue::TryGetNumber;
	// 3.0 reads as "3", 0.25 as "0.25".
	virtual bool TryGetString(FString& OutString) const override { OutString = FString::SanitizeFloat(Value, 0); return true; }
	virtual bool TryGetBool(bool& OutBool) const override { OutBool = Value != 0.0; return true; }

protected:
	virtual FString GetType() const override { return FString(TEXT("Number")); }

	double Value;
};

class FJsonValueBoolean : public FJsonValue
{
public:
	FJsonValueBoolean(bool InBool) : Value(InBool) { Type = EJson::Boolean; }

	virtual bool TryGetNumber(double& OutNumber) const override { OutNumber = Value ? 1.0 : 0.0; return true; }
	using FJsonValue::TryGetNumber;
	virtual bool TryGetString(FString& OutString) const override { OutString = Value ? TEXT("true") : TEXT("false"); return true; }
	virtual bool TryGetBool(bool& OutBool) const override { OutBool = Value; return true; }

protected:
	virtual FString GetType() const override { return FString(TEXT("Boolean")); }

	bool Value;
};

class FJsonValueArray : public FJsonValue
{
public:
	FJsonValueArray(const TArray<TSharedPtr<FJsonValue>>& InArray) : Value(InArray) { Type = EJson::Array; }
	FJsonValueArray(TArray<TSharedPtr<FJsonValue>>&& InArray) : Value(std::move(InArray)) { Type = EJson::Array; }
	FJsonValueArray(const FJsonValueArray&) = default;
	FJsonValueArray& operator=(const FJsonValueArray&) = default;
	// Releases nested containers one at a time, so destroying a deep tree never recurses.
	virtual ~FJsonValueArray() override;

	virtual bool TryGetArray(const TArray<TSharedPtr<FJsonValue>>*& OutArray) const override { OutArray = &Value; return true; }
	virtual bool TryGetArray(TArray<TSharedPtr<FJsonValue>>*& OutArray) override { OutArray = &Value; return true; }

protected:
	virtual FString GetType() const override { return FString(TEXT("Array")); }

	TArray<TSharedPtr<FJsonValue>> Value;
};

class FJsonValueObject : public FJsonValue
{
public:
	FJsonValueObject(TSharedPtr<FJsonObject> InObject) : Value(std::move(InObject)) { Type = EJson::Object; }

	// A value made from a null object pointer holds nothing: it reads as no object and is written
	// as null.
	virtual bool TryGetObject(const TSharedPtr<FJsonObject>*& OutObject) const override;
	virtual bool TryGetObject(TSharedPtr<FJsonObject>*& OutObject) override;

protected:
	virtual FString GetType() const override { return FString(TEXT("Object")); }

	TSharedPtr<FJsonObject> Value;
};

class FJsonValueNull : public FJsonValue
{
public:
	FJsonValueNull() { Type = EJson::Null; }

protected:
	virtual FString GetType() const override { return FString(TEXT("Null")); }
};
