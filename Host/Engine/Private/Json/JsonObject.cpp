#include "Dom/JsonObject.h"

#include "Json/JsonValueAccess.h"

#include <utility>

namespace
{
	template<typename NumberType>
	bool TryGetNumberFieldImpl(const FJsonObject& Object, FStringView FieldName, NumberType& OutNumber)
	{
		const TSharedPtr<FJsonValue> Field = Object.TryGetField(FieldName);
		return Field.IsValid() && Field->TryGetNumber(OutNumber);
	}
}

FJsonObject::~FJsonObject()
{
	UE::Host::Json::FTreeRelease::ReleaseChildren(Values);
}

TSharedPtr<FJsonValue> FJsonObject::GetField(FStringView FieldName, EJson JsonType) const
{
	const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
	if (Field && Field->IsValid())
	{
		if (JsonType == EJson::None || (*Field)->Type == JsonType)
		{
			return *Field;
		}
		UE_LOG(LogJson, Warning, TEXT("Field %s is of the wrong type."), *FString(FieldName));
	}
	else
	{
		UE_LOG(LogJson, Warning, TEXT("Field %s was not found."), *FString(FieldName));
	}
	return MakeShared<FJsonValueNull>();
}

TSharedPtr<FJsonValue> FJsonObject::TryGetField(FStringView FieldName) const
{
	const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
	return Field ? *Field : TSharedPtr<FJsonValue>();
}

bool FJsonObject::HasField(FStringView FieldName) const
{
	const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
	return Field && Field->IsValid();
}

bool FJsonObject::HasTypedField(FStringView FieldName, EJson JsonType) const
{
	const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
	return Field && Field->IsValid() && (*Field)->Type == JsonType;
}

void FJsonObject::SetField(const FString& FieldName, const TSharedPtr<FJsonValue>& Value)
{
	Values.Add(FieldName, Value);
}

void FJsonObject::SetField(FString&& FieldName, const TSharedPtr<FJsonValue>& Value)
{
	Values.Add(std::move(FieldName), Value);
}

void FJsonObject::RemoveField(FStringView FieldName)
{
	Values.Remove(FieldName);
}

double FJsonObject::GetNumberField(FStringView FieldName) const
{
	return GetField(FieldName, EJson::None)->AsNumber();
}

int32 FJsonObject::GetIntegerField(FStringView FieldName) const
{
	int32 Number = 0;
	if (!GetField(FieldName, EJson::None)->TryGetNumber(Number))
	{
		UE_LOG(LogJson, Error, TEXT("Field %s cannot be read as an int32."), *FString(FieldName));
	}
	return Number;
}

bool FJsonObject::TryGetNumberField(FStringView FieldName, float& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, double& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, int8& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, int16& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, int32& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, int64& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, uint8& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, uint16& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, uint32& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }
bool FJsonObject::TryGetNumberField(FStringView FieldName, uint64& OutNumber) const { return TryGetNumberFieldImpl(*this, FieldName, OutNumber); }

void FJsonObject::SetNumberField(const FString& FieldName, double Number)
{
	Values.Add(FieldName, MakeShared<FJsonValueNumber>(Number));
}

void FJsonObject::SetNumberField(FString&& FieldName, double Number)
{
	Values.Add(std::move(FieldName), MakeShared<FJsonValueNumber>(Number));
}

FString FJsonObject::GetStringField(FStringView FieldName) const
{
	return GetField(FieldName, EJson::None)->AsString();
}

bool FJsonObject::TryGetStringField(FStringView FieldName, FString& OutString) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetString(OutString);
}

bool FJsonObject::TryGetStringArrayField(FStringView FieldName, TArray<FString>& OutArray) const
{
	const TArray<TSharedPtr<FJsonValue>>* Array = nullptr;
	if (!TryGetArrayField(FieldName, Array))
	{
		return false;
	}
	TArray<FString> Strings;
	Strings.Reserve(Array->Num());
	for (const TSharedPtr<FJsonValue>& Element : *Array)
	{
		FString String;
		if (!Element.IsValid() || !Element->TryGetString(String))
		{
			return false;
		}
		Strings.Add(std::move(String));
	}
	OutArray = std::move(Strings);
	return true;
}

void FJsonObject::SetStringField(const FString& FieldName, const FString& StringValue) { Values.Add(FieldName, MakeShared<FJsonValueString>(StringValue)); }
void FJsonObject::SetStringField(const FString& FieldName, FString&& StringValue) { Values.Add(FieldName, MakeShared<FJsonValueString>(std::move(StringValue))); }
void FJsonObject::SetStringField(const FString& FieldName, const TCHAR* StringValue) { Values.Add(FieldName, MakeShared<FJsonValueString>(FString(StringValue))); }
void FJsonObject::SetStringField(const FString& FieldName, const ANSICHAR* StringValue) { Values.Add(FieldName, MakeShared<FJsonValueString>(FString(StringValue))); }
void FJsonObject::SetStringField(FString&& FieldName, const FString& StringValue) { Values.Add(std::move(FieldName), MakeShared<FJsonValueString>(StringValue)); }
void FJsonObject::SetStringField(FString&& FieldName, FString&& StringValue) { Values.Add(std::move(FieldName), MakeShared<FJsonValueString>(std::move(StringValue))); }
void FJsonObject::SetStringField(FString&& FieldName, const TCHAR* StringValue) { Values.Add(std::move(FieldName), MakeShared<FJsonValueString>(FString(StringValue))); }
void FJsonObject::SetStringField(FString&& FieldName, const ANSICHAR* StringValue) { Values.Add(std::move(FieldName), MakeShared<FJsonValueString>(FString(StringValue))); }
void FJsonObject::SetStringField(const FString& FieldName, const UTF8CHAR* StringValue) { SetStringField(FieldName, reinterpret_cast<const ANSICHAR*>(StringValue)); }
void FJsonObject::SetStringField(FString&& FieldName, const UTF8CHAR* StringValue) { SetStringField(std::move(FieldName), reinterpret_cast<const ANSICHAR*>(StringValue)); }

bool FJsonObject::GetBoolField(FStringView FieldName) const
{
	return GetField(FieldName, EJson::None)->AsBool();
}

bool FJsonObject::TryGetBoolField(FStringView FieldName, bool& OutBool) const
{
	const TSharedPtr<FJsonValue> Field = TryGetField(FieldName);
	return Field.IsValid() && Field->TryGetBool(OutBool);
}

void FJsonObject::SetBoolField(const FString& FieldName, bool InValue)
{
	Values.Add(FieldName, MakeShared<FJsonValueBoolean>(InValue));
}

void FJsonObject::SetBoolField(FString&& FieldName, bool InValue)
{
	Values.Add(std::move(FieldName), MakeShared<FJsonValueBoolean>(InValue));
}

const TArray<TSharedPtr<FJsonValue>>& FJsonObject::GetArrayField(FStringView FieldName) const
{
	// The reference points into the value the map holds, or at AsArray's static empty array.
	return GetField(FieldName, EJson::None)->AsArray();
}

bool FJsonObject::TryGetArrayField(FStringView FieldName, const TArray<TSharedPtr<FJsonValue>>*& OutArray) const
{
	const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
	return Field && Field->IsValid() && (*Field)->TryGetArray(OutArray);
}

void FJsonObject::SetArrayField(const FString& FieldName, const TArray<TSharedPtr<FJsonValue>>& Array) { Values.Add(FieldName, MakeShared<FJsonValueArray>(Array)); }
void FJsonObject::SetArrayField(const FString& FieldName, TArray<TSharedPtr<FJsonValue>>&& Array) { Values.Add(FieldName, MakeShared<FJsonValueArray>(std::move(Array))); }
void FJsonObject::SetArrayField(FString&& FieldName, const TArray<TSharedPtr<FJsonValue>>& Array) { Values.Add(std::move(FieldName), MakeShared<FJsonValueArray>(Array)); }
void FJsonObject::SetArrayField(FString&& FieldName, TArray<TSharedPtr<FJsonValue>>&& Array) { Values.Add(std::move(FieldName), MakeShared<FJsonValueArray>(std::move(Array))); }

const TSharedPtr<FJsonObject>& FJsonObject::GetObjectField(FStringView FieldName) const
{
	return GetField(FieldName, EJson::None)->AsObject();
}

bool FJsonObject::TryGetObjectField(FStringView FieldName, const TSharedPtr<FJsonObject>*& OutObject) const
{
	const TSharedPtr<FJsonValue>* Field = Values.Find(FieldName);
	return Field && Field->IsValid() && (*Field)->TryGetObject(OutObject);
}

void FJsonObject::SetObjectField(const FString& FieldName, const TSharedPtr<FJsonObject>& JsonObject)
{
	SetObjectField(FString(FieldName), JsonObject);
}

void FJsonObject::SetObjectField(FString&& FieldName, const TSharedPtr<FJsonObject>& JsonObject)
{
	if (JsonObject.IsValid())
	{
		Values.Add(std::move(FieldName), MakeShared<FJsonValueObject>(JsonObject));
	}
	else
	{
		Values.Add(std::move(FieldName), MakeShared<FJsonValueNull>());
	}
}
