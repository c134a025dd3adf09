// TJsonReader: JSON text waiting to be read by FJsonSerializer::Deserialize, which parses it in
// one pass through RapidJSON. GetErrorMessage names the problem and its offset (in UTF-16 code
// units) after a failed read.
#pragma once

#include "CoreMinimal.h"
#include "Serialization/JsonTypes.h"

#include <type_traits>

class FJsonValue;

template<class CharType = TCHAR>
class TJsonReader
{
	static_assert(std::is_same_v<CharType, TCHAR>, "The host reads JSON held in an FString; UE::Host::Json::ParseUtf8 reads UTF-8");

public:
	explicit TJsonReader(FString InText) : Text(std::move(InText)) {}
	virtual ~TJsonReader() = default;

	const FString& GetErrorMessage() const { return ErrorMessage; }

	// Host: parses the whole text as one value (white space around it is allowed). On failure
	// OutValue is left alone and the error message is set.
	bool ReadWholeValue(TSharedPtr<FJsonValue>& OutValue);
	void SetErrorMessage(const FString& InMessage) { ErrorMessage = InMessage; }

private:
	FString Text;
	FString ErrorMessage;
};

template<>
bool TJsonReader<TCHAR>::ReadWholeValue(TSharedPtr<FJsonValue>& OutValue);

template<class CharType = TCHAR>
class TJsonReaderFactory
{
public:
	static TSharedRef<TJsonReader<CharType>> Create(const FString& JsonString)
	{
		return MakeShared<TJsonReader<CharType>>(JsonString);
	}

	static TSharedRef<TJsonReader<CharType>> Create(FString&& JsonString)
	{
		return MakeShared<TJsonReader<CharType>>(std::move(JsonString));
	}

	static TSharedRef<TJsonReader<CharType>> CreateFromView(FStringView JsonString)
	{
		return MakeShared<TJsonReader<CharType>>(FString(JsonString));
	}
};
