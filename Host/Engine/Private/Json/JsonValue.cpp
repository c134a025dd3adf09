#include "Dom/JsonValue.h"

#include "Dom/JsonObject.h"
#include "Json/JsonValueAccess.h"

#include <cfloat>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

DEFINE_LOG_CATEGORY(LogJson);

namespace
{
	bool IsContainer(const TSharedPtr<FJsonValue>& Value)
	{
		return Value.IsValid() && (Value->Type == EJson::Array || Value->Type == EJson::Object);
	}

	// Rounds half away from zero, then checks the range of the result.
	template<typename IntType>
	bool RoundToInteger(const FJsonValue& Value, IntType& OutNumber)
	{
		double Number = 0.0;
		if (!Value.TryGetNumber(Number) || !std::isfinite(Number))
		{
			return false;
		}
		const double Rounded = std::round(Number);
		// 2^digits is exact as a double; the largest value is one below it.
		constexpr double UpperBound = static_cast<double>(std::numeric_limits<IntType>::max() / 2 + 1) * 2.0;
		constexpr double LowerBound = static_cast<double>(std::numeric_limits<IntType>::min());
		if (Rounded < LowerBound || Rounded >= UpperBound)
		{
			return false;
		}
		OutNumber = static_cast<IntType>(Rounded);
		return true;
	}
}

namespace UE::Host::Json
{
	void FTreeRelease::ReleaseChildren(TArray<TSharedPtr<FJsonValue>>& Children)
	{
		FPending Pending;
		Detach(Children, Pending);
		Drain(Pending);
	}

	void FTreeRelease::ReleaseChildren(TMap<FString, TSharedPtr<FJsonValue>>& Fields)
	{
		FPending Pending;
		Detach(Fields, Pending);
		Drain(Pending);
	}

	void FTreeRelease::Detach(TArray<TSharedPtr<FJsonValue>>& Children, FPending& Pending)
	{
		for (TSharedPtr<FJsonValue>& Child : Children)
		{
			if (IsContainer(Child))
			{
				Pending.push_back(std::move(Child));
			}
		}
	}

	void FTreeRelease::Detach(TMap<FString, TSharedPtr<FJsonValue>>& Fields, FPending& Pending)
	{
		for (auto& Field : Fields)
		{
			if (IsContainer(Field.Value))
			{
				Pending.push_back(std::move(Field.Value));
			}
		}
	}

	void FTreeRelease::Drain(FPending& Pending)
	{
		while (!Pending.empty())
		{
			TSharedPtr<FJsonValue> Node = std::move(Pending.back());
			Pending.pop_back();
			// A node held elsewhere only loses a reference here; its last owner releases it.
			if (!Node.IsUnique())
			{
				continue;
			}
			TArray<TSharedPtr<FJsonValue>>* Array = nullptr;
			TSharedPtr<FJsonObject>* Object = nullptr;
			if (Node->TryGetArray(Array))
			{
				Detach(*Array, Pending);
			}
			else if (Node->TryGetObject(Object) && Object->IsUnique())
			{
				Detach((*Object)->Values, Pending);
			}
		}
	}
}

FJsonValueArray::~FJsonValueArray()
{
	UE::Host::Json::FTreeRelease::ReleaseChildren(Value);
}

double FJsonValue::AsNumber() const
{
	double Number = 0.0;
	if (!TryGetNumber(Number))
	{
		ErrorMessage(FString(TEXT("Number")));
	}
	return Number;
}

FString FJsonValue::AsString() const
{
	FString String;
	if (!TryGetString(String))
	{
		ErrorMessage(FString(TEXT("String")));
	}
	return String;
}

bool FJsonValue::AsBool() const
{
	bool bValue = false;
	if (!TryGetBool(bValue))
	{
		ErrorMessage(FString(TEXT("Boolean")));
	}
	return bValue;
}

const TArray<TSharedPtr<FJsonValue>>& FJsonValue::AsArray() const
{
	static const TArray<TSharedPtr<FJsonValue>> EmptyArray;
	const TArray<TSharedPtr<FJsonValue>>* Array = &EmptyArray;
	if (!TryGetArray(Array))
	{
		ErrorMessage(FString(TEXT("Array")));
		return EmptyArray;
	}
	return *Array;
}

const TSharedPtr<FJsonObject>& FJsonValue::AsObject() const
{
	// Like the engine, a failed conversion gives a valid empty object, so a chained field read
	// logs instead of dereferencing null.
	static const TSharedPtr<FJsonObject> EmptyObject = MakeShared<FJsonObject>();
	const TSharedPtr<FJsonObject>* Object = &EmptyObject;
	if (!TryGetObject(Object))
	{
		ErrorMessage(FString(TEXT("Object")));
		return EmptyObject;
	}
	return *Object;
}

bool FJsonValue::TryGetNumber(float& OutNumber) const
{
	double Number = 0.0;
	if (!TryGetNumber(Number))
	{
		return false;
	}
	if (std::isfinite(Number) && std::fabs(Number) > static_cast<double>(FLT_MAX))
	{
		return false;
	}
	OutNumber = static_cast<float>(Number);
	return true;
}

bool FJsonValue::TryGetNumber(int8& OutNumber) const { return RoundToInteger(*this, OutNumber); }
bool FJsonValue::TryGetNumber(int16& OutNumber) const { return RoundToInteger(*this, OutNumber); }
bool FJsonValue::TryGetNumber(int32& OutNumber) const { return RoundToInteger(*this, OutNumber); }
bool FJsonValue::TryGetNumber(int64& OutNumber) const { return RoundToInteger(*this, OutNumber); }
bool FJsonValue::TryGetNumber(uint8& OutNumber) const { return RoundToInteger(*this, OutNumber); }
bool FJsonValue::TryGetNumber(uint16& OutNumber) const { return RoundToInteger(*this, OutNumber); }
bool FJsonValue::TryGetNumber(uint32& OutNumber) const { return RoundToInteger(*this, OutNumber); }
bool FJsonValue::TryGetNumber(uint64& OutNumber) const { return RoundToInteger(*this, OutNumber); }

void FJsonValue::ErrorMessage(const FString& InType) const
{
	UE_LOG(LogJson, Error, TEXT("Json Value of type '%s' used as a '%s'."), *GetType(), *InType);
}

bool FJsonValueString::TryGetNumber(double& OutNumber) const
{
	if (!Value.IsNumeric())
	{
		return false;
	}
	OutNumber = FCString::Atod(*Value);
	return true;
}

bool FJsonValueObject::TryGetObject(const TSharedPtr<FJsonObject>*& OutObject) const
{
	if (!Value.IsValid())
	{
		return false;
	}
	OutObject = &Value;
	return true;
}

bool FJsonValueObject::TryGetObject(TSharedPtr<FJsonObject>*& OutObject)
{
	if (!Value.IsValid())
	{
		return false;
	}
	OutObject = &Value;
	return true;
}
