#include "Host/JsonText.h"

#include "Json/JsonTextEmitter.h"

#include <rapidjson/encodings.h>

namespace UE::Host::Json
{
	void AppendUtf8(std::string& Out, const FJsonValue* Value, bool bPretty)
	{
		if (bPretty)
		{
			TJsonTextEmitter<rapidjson::UTF8<char>, true> Emitter(Out);
			Emitter.Tree(Value);
		}
		else
		{
			TJsonTextEmitter<rapidjson::UTF8<char>, false> Emitter(Out);
			Emitter.Tree(Value);
		}
	}

	void AppendUtf8(std::string& Out, const FJsonObject& Object, bool bPretty)
	{
		if (bPretty)
		{
			TJsonTextEmitter<rapidjson::UTF8<char>, true> Emitter(Out);
			Emitter.ObjectTree(Object);
		}
		else
		{
			TJsonTextEmitter<rapidjson::UTF8<char>, false> Emitter(Out);
			Emitter.ObjectTree(Object);
		}
	}

	std::string ToUtf8(const TSharedPtr<FJsonValue>& Value, bool bPretty)
	{
		std::string Out;
		AppendUtf8(Out, Value.Get(), bPretty);
		return Out;
	}

	std::string ToUtf8(const TSharedRef<FJsonObject>& Object, bool bPretty)
	{
		std::string Out;
		AppendUtf8(Out, *Object, bPretty);
		return Out;
	}

	std::string ToUtf8(const TSharedPtr<FJsonValue>& Value, const std::unordered_map<const FJsonValue*, std::string>& RawNumbers)
	{
		std::string Out;
		TJsonTextEmitter<rapidjson::UTF8<char>, false> Emitter(Out);
		Emitter.SetRawNumbers(&RawNumbers);
		Emitter.Tree(Value.Get());
		return Out;
	}
}
