#include "Serialization/JsonReader.h"

#include "Dom/JsonValue.h"
#include "Json/JsonTextParser.h"

template<>
bool TJsonReader<TCHAR>::ReadWholeValue(TSharedPtr<FJsonValue>& OutValue)
{
	ErrorMessage.Reset();
	return UE::Host::Json::ParseUtf16(Text.GetStdString(), OutValue, ErrorMessage);
}
