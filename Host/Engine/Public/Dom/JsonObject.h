// A JSON object: fields in insertion order, names looked up without regard to letter case. Setting
// an existing name (in any case) replaces the value in place and takes the new spelling.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonValue.h"

class FJsonObject
{
public:
	FJsonObject() = default;
	FJsonObject(const FJsonObject&) = default;
	FJsonObject(FJsonObject&&) = default;
	FJsonObject& operator=(const FJsonObject&) = default;
	FJsonObject& operator=(FJsonObject&&) = default;
	~FJsonObject();

	TMap<FString, TSharedPtr<FJsonValue>> Values;

	// The field, or a null value (with a warning) when it is missing or of another type.
	// EJson::None accepts any type.
	template<EJson JsonType>
	TSharedPtr<FJsonValue> GetField(FStringView FieldName) const { return GetField(FieldName, JsonType); }
	TSharedPtr<FJsonValue> GetField(FStringView FieldName, EJson JsonType) const;

	// The field, or null when it is missing.
	TSharedPtr<FJsonValue> TryGetField(FStringView FieldName) const;

	// True for a field holding JSON null too.
	bool HasField(FStringView FieldName) const;

	template<EJson JsonType>
	bool HasTypedField(FStringView FieldName) const { return HasTypedField(FieldName, JsonType); }
	bool HasTypedField(FStringView FieldName, EJson JsonType) const;

	void SetField(const FString& FieldName, const TSharedPtr<FJsonValue>& Value);
	void SetField(FString&& FieldName, const TSharedPtr<FJsonValue>& Value);

	void RemoveField(FStringView FieldName);

	double GetNumberField(FStringView FieldName) const;
	// Rounded like TryGetNumber(int32&); 0 (logged) when the value does not fit.
	int32 GetIntegerField(FStringView FieldName) const;
	bool TryGetNumberField(FStringView FieldName, float& OutNumber) const;
	bool TryGetNumberField(FStringView FieldName, double& OutNumber) const;
	bool TryGetNumberField(FStringView FieldName, int8& OutNumber) const;
	bool TryGetNumberField(FStringView FieldName, int16& OutNumber) const;
	bool TryGetNumberField(FStringView FieldName, int32& OutNumber) const;
	bool TryGetNumberField(FStringView FieldName, int64& OutNumber) const;
	bool TryGetNumberField(FStringView FieldName, uint8& OutNumber) const;
	bool TryGetNumberField(FStringView FieldName, uint16& OutNumber) const;
	bool TryGetNumberField(FStringView FieldName, uint32& OutNumber) const;
	bool TryGetNumberField(FStringView FieldName, uint64& OutNumber) const;
	void SetNumberField(const FString& FieldName, double Number);
	void SetNumberField(FString&& FieldName, double Number);

	// A number or a bool converts ("3", "0.25", "true"); code that needs a real string checks the
	// value's Type. A missing field logs an error and gives "".
	FString GetStringField(FStringView FieldName) const;
	bool TryGetStringField(FStringView FieldName, FString& OutString) const;
	// Replaces OutArray only when the field is an array whose every element converts.
	bool TryGetStringArrayField(FStringView FieldName, TArray<FString>& OutArray) const;
	void SetStringField(const FString& FieldName, const FString& StringValue);
	void SetStringField(const FString& FieldName, FString&& StringValue);
	void SetStringField(const FString& FieldName, const TCHAR* StringValue);
	void SetStringField(const FString& FieldName, const ANSICHAR* StringValue);
	void SetStringField(const FString& FieldName, const UTF8CHAR* StringValue);
	void SetStringField(FString&& FieldName, const FString& StringValue);
	void SetStringField(FString&& FieldName, FString&& StringValue);
	void SetStringField(FString&& FieldName, const TCHAR* StringValue);
	void SetStringField(FString&& FieldName, const ANSICHAR* StringValue);
	void SetStringField(FString&& FieldName, const UTF8CHAR* StringValue);

	bool GetBoolField(FStringView FieldName) const;
	bool TryGetBoolField(FStringView FieldName, bool& OutBool) const;
	void SetBoolField(const FString& FieldName, bool InValue);
	void SetBoolField(FString&& FieldName, bool InValue);

	const TArray<TSharedPtr<FJsonValue>>& GetArrayField(FStringView FieldName) const;
	bool TryGetArrayField(FStringView FieldName, const TArray<TSharedPtr<FJsonValue>>*& OutArray) const;
	void SetArrayField(const FString& FieldName, const TArray<TSharedPtr<FJsonValue>>& Array);
	void SetArrayField(const FString& FieldName, TArray<TSharedPtr<FJsonValue>>&& Array);
	void SetArrayField(FString&& FieldName, const TArray<TSharedPtr<FJsonValue>>& Array);
	void SetArrayField(FString&& FieldName, TArray<TSharedPtr<FJsonValue>>&& Array);

	const TSharedPtr<FJsonObject>& GetObjectField(FStringView FieldName) const;
	bool TryGetObjectField(FStringView FieldName, const TSharedPtr<FJsonObject>*& OutObject) const;
	// A null object is stored as a JSON null.
	void SetObjectField(const FString& FieldName, const TSharedPtr<FJsonObject>& JsonObject);
	void SetObjectField(FString&& FieldName, const TSharedPtr<FJsonObject>& JsonObject);

	// Deep copies.
	static void Duplicate(const TSharedPtr<const FJsonObject>& Source, const TSharedPtr<FJsonObject>& Dest);
	static void Duplicate(const TSharedPtr<FJsonObject>& Source, const TSharedPtr<FJsonObject>& Dest);
};
