// FJsonSerializer: JSON text to and from the object model.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Serialization/JsonReader.h"
#include "Serialization/JsonWriter.h"

class FJsonSerializer
{
public:
	enum class EFlags
	{
		None = 0,
		// Accepted for source compatibility; numbers are always read as doubles here.
		StoreNumbersAsStrings = 1,
	};

	// Any JSON value at the root.
	template<class CharType>
	static bool Deserialize(const TSharedRef<TJsonReader<CharType>>& Reader, TSharedPtr<FJsonValue>& OutValue, EFlags InOptions = EFlags::None)
	{
		return Reader->ReadWholeValue(OutValue);
	}

	template<class CharType>
	static bool Deserialize(TJsonReader<CharType>& Reader, TSharedPtr<FJsonValue>& OutValue, EFlags InOptions = EFlags::None)
	{
		return Reader.ReadWholeValue(OutValue);
	}

	// The root must be an object.
	template<class CharType>
	static bool Deserialize(const TSharedRef<TJsonReader<CharType>>& Reader, TSharedPtr<FJsonObject>& OutObject, EFlags InOptions = EFlags::None)
	{
		return Deserialize(*Reader, OutObject, InOptions);
	}

	template<class CharType>
	static bool Deserialize(TJsonReader<CharType>& Reader, TSharedPtr<FJsonObject>& OutObject, EFlags InOptions = EFlags::None)
	{
		TSharedPtr<FJsonValue> Root;
		const TSharedPtr<FJsonObject>* Object = nullptr;
		if (!Reader.ReadWholeValue(Root))
		{
			return false;
		}
		if (!Root->TryGetObject(Object))
		{
			Reader.SetErrorMessage(FString(TEXT("The JSON text is not an object")));
			return false;
		}
		OutObject = *Object;
		return true;
	}

	// The root must be an array.
	template<class CharType>
	static bool Deserialize(const TSharedRef<TJsonReader<CharType>>& Reader, TArray<TSharedPtr<FJsonValue>>& OutArray, EFlags InOptions = EFlags::None)
	{
		return Deserialize(*Reader, OutArray, InOptions);
	}

	template<class CharType>
	static bool Deserialize(TJsonReader<CharType>& Reader, TArray<TSharedPtr<FJsonValue>>& OutArray, EFlags InOptions = EFlags::None)
	{
		TSharedPtr<FJsonValue> Root;
		TArray<TSharedPtr<FJsonValue>>* Array = nullptr;
		if (!Reader.ReadWholeValue(Root))
		{
			return false;
		}
		if (!Root->TryGetArray(Array))
		{
			Reader.SetErrorMessage(FString(TEXT("The JSON text is not an array")));
			return false;
		}
		OutArray = std::move(*Array);
		return true;
	}

	template<class CharType, class PrintPolicy>
	static bool Serialize(const TSharedRef<FJsonObject>& Object, const TSharedRef<TJsonWriter<CharType, PrintPolicy>>& Writer, bool bCloseWriter = true)
	{
		const bool bWritten = Writer->WriteJsonObjectTree(nullptr, *Object);
		return bCloseWriter ? Writer->Close() && bWritten : bWritten;
	}

	template<class CharType, class PrintPolicy>
	static bool Serialize(const TArray<TSharedPtr<FJsonValue>>& Array, const TSharedRef<TJsonWriter<CharType, PrintPolicy>>& Writer, bool bCloseWriter = true)
	{
		const bool bWritten = Writer->WriteJsonArrayTree(nullptr, Array);
		return bCloseWriter ? Writer->Close() && bWritten : bWritten;
	}

	// An empty identifier writes the value at the root (or as an array element); a null value
	// writes nothing and fails.
	template<class CharType, class PrintPolicy>
	static bool Serialize(const TSharedPtr<FJsonValue>& Value, const FString& Identifier, const TSharedRef<TJsonWriter<CharType, PrintPolicy>>& Writer, bool bCloseWriter = true)
	{
		if (!Value.IsValid())
		{
			return false;
		}
		const FStringView Name(Identifier);
		const bool bWritten = Writer->WriteJsonValueTree(Identifier.IsEmpty() ? nullptr : &Name, Value.Get());
		return bCloseWriter ? Writer->Close() && bWritten : bWritten;
	}
};
