// TJsonWriter: writes JSON text into an FString, token by token or a whole tree at a time. The
// text is formatted by RapidJSON: fields in insertion order, integral numbers within +-2^53
// without a fraction, others in shortest round-trip form, NaN and infinities as null, and an
// unpaired UTF-16 surrogate as a \uXXXX escape.
#pragma once

#include "CoreMinimal.h"
#include "Dom/JsonValue.h"
#include "Policies/PrettyJsonPrintPolicy.h"

#include <memory>
#include <type_traits>

class FJsonObject;

namespace UE::Host::Json
{
	// The engine-facing writer's state machine over a RapidJSON writer. A call out of place (a
	// value without a name inside an object, a name outside one, an unbalanced end, a second root)
	// is refused and logged, and Close then reports failure; nothing aborts.
	class FStringWriterCore
	{
	public:
		FStringWriterCore(FString* InOutString, int32 InitialIndent, bool bPretty);
		~FStringWriterCore();
		FStringWriterCore(const FStringWriterCore&) = delete;
		FStringWriterCore& operator=(const FStringWriterCore&) = delete;

		void ObjectStart(const FStringView* Identifier);
		void ObjectEnd();
		void ArrayStart(const FStringView* Identifier);
		void ArrayEnd();
		void IdentifierPrefix(FStringView Identifier);
		void Null(const FStringView* Identifier);
		void Bool(const FStringView* Identifier, bool bValue);
		void Int64(const FStringView* Identifier, int64 Value);
		void UInt64(const FStringView* Identifier, uint64 Value);
		void Double(const FStringView* Identifier, double Value);
		void String(const FStringView* Identifier, FStringView Value);
		void RawJson(const FStringView* Identifier, FStringView Json);
		// The tree forms return false when the call was out of place.
		bool Value(const FStringView* Identifier, const FJsonValue* Value);
		bool Object(const FStringView* Identifier, const FJsonObject& Object);
		bool Array(const FStringView* Identifier, const TArray<TSharedPtr<FJsonValue>>& Array);

		bool CanWriteWithoutIdentifier() const;
		bool Close();

	private:
		struct FImpl;
		std::unique_ptr<FImpl> Impl;
	};

	template<typename T>
	struct TIsJsonArrayArgument : std::false_type
	{
	};

	template<typename ElementType, typename Allocator>
	struct TIsJsonArrayArgument<TArray<ElementType, Allocator>> : std::true_type
	{
	};
}

template<class CharType = TCHAR, class PrintPolicy = TPrettyJsonPrintPolicy<CharType>>
class TJsonWriterFactory;

template<class CharType = TCHAR, class PrintPolicy = TPrettyJsonPrintPolicy<CharType>>
class TJsonWriter
{
	static_assert(std::is_same_v<CharType, TCHAR>, "The host writes JSON into an FString; UE::Host::Json::ToUtf8 writes UTF-8");

public:
	virtual ~TJsonWriter() = default;

	void WriteObjectStart() { Core.ObjectStart(nullptr); }
	void WriteObjectStart(FStringView Identifier) { Core.ObjectStart(&Identifier); }
	void WriteObjectEnd() { Core.ObjectEnd(); }
	void WriteArrayStart() { Core.ArrayStart(nullptr); }
	void WriteArrayStart(FStringView Identifier) { Core.ArrayStart(&Identifier); }
	void WriteArrayEnd() { Core.ArrayEnd(); }
	// Names the next value, which is then written without an identifier.
	void WriteIdentifierPrefix(FStringView Identifier) { Core.IdentifierPrefix(Identifier); }
	void WriteNull() { Core.Null(nullptr); }
	void WriteNull(FStringView Identifier) { Core.Null(&Identifier); }

	// Booleans, numbers, strings (FString, TCHAR literals, views), arrays of those, and
	// TSharedPtr<FJsonValue> trees.
	template<typename ValueType>
	void WriteValue(const ValueType& Value) { WriteAny(nullptr, Value); }
	template<typename ValueType>
	void WriteValue(FStringView Identifier, const ValueType& Value) { WriteAny(&Identifier, Value); }

	// The text is trusted to be one well-formed JSON value.
	void WriteRawJSONValue(FStringView Value) { Core.RawJson(nullptr, Value); }
	void WriteRawJSONValue(FStringView Identifier, FStringView Value) { Core.RawJson(&Identifier, Value); }

	bool CanWriteValueWithoutIdentifier() const { return Core.CanWriteWithoutIdentifier(); }
	bool CanWriteObjectWithoutIdentifier() const { return Core.CanWriteWithoutIdentifier(); }

	// True when every call was in place and every object and array was closed.
	virtual bool Close() { return Core.Close(); }

	// Host: whole trees in one call, walked without recursion (used by FJsonSerializer).
	bool WriteJsonValueTree(const FStringView* Identifier, const FJsonValue* Value) { return Core.Value(Identifier, Value); }
	bool WriteJsonObjectTree(const FStringView* Identifier, const FJsonObject& Object) { return Core.Object(Identifier, Object); }
	bool WriteJsonArrayTree(const FStringView* Identifier, const TArray<TSharedPtr<FJsonValue>>& Array) { return Core.Array(Identifier, Array); }

protected:
	TJsonWriter(FString* InOutString, int32 InitialIndent)
		: Core(InOutString, InitialIndent, PrintPolicy::bPrettyPrint)
	{
	}

private:
	template<typename ValueType>
	void WriteAny(const FStringView* Identifier, const ValueType& Value)
	{
		using T = std::decay_t<ValueType>;
		if constexpr (std::is_same_v<T, bool>)
		{
			Core.Bool(Identifier, Value);
		}
		else if constexpr (std::is_floating_point_v<T>)
		{
			Core.Double(Identifier, static_cast<double>(Value));
		}
		else if constexpr (std::is_enum_v<T>)
		{
			Core.Int64(Identifier, static_cast<int64>(Value));
		}
		else if constexpr (std::is_integral_v<T> && std::is_signed_v<T>)
		{
			Core.Int64(Identifier, static_cast<int64>(Value));
		}
		else if constexpr (std::is_integral_v<T>)
		{
			Core.UInt64(Identifier, static_cast<uint64>(Value));
		}
		else if constexpr (std::is_convertible_v<const ValueType&, FStringView>)
		{
			Core.String(Identifier, FStringView(Value));
		}
		else if constexpr (std::is_convertible_v<const ValueType&, TSharedPtr<FJsonValue>>)
		{
			const TSharedPtr<FJsonValue> Tree(Value);
			Core.Value(Identifier, Tree.Get());
		}
		else if constexpr (UE::Host::Json::TIsJsonArrayArgument<T>::value)
		{
			Core.ArrayStart(Identifier);
			for (const auto& Element : Value)
			{
				WriteAny(nullptr, Element);
			}
			Core.ArrayEnd();
		}
		else
		{
			static_assert(sizeof(T) == 0, "TJsonWriter cannot write this type");
		}
	}

	UE::Host::Json::FStringWriterCore Core;

	friend class TJsonWriterFactory<CharType, PrintPolicy>;
};

template<class CharType, class PrintPolicy>
class TJsonWriterFactory
{
public:
	// Appends to *Stream as tokens are written. InitialIndent indents every line after the first
	// (pretty printing only), for text that is embedded in indented text.
	static TSharedRef<TJsonWriter<CharType, PrintPolicy>> Create(FString* const Stream, int32 InitialIndent = 0)
	{
		return MakeShareable(new TJsonWriter<CharType, PrintPolicy>(Stream, InitialIndent));
	}
};
