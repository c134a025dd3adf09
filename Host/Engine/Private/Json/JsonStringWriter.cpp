#include "Serialization/JsonWriter.h"

#include "Dom/JsonObject.h"
#include "Json/JsonTextEmitter.h"

#include <optional>
#include <vector>

namespace UE::Host::Json
{
	struct FStringWriterCore::FImpl
	{
		using FCondensed = TJsonTextEmitter<rapidjson::UTF16<char16_t>, false>;
		using FPretty = TJsonTextEmitter<rapidjson::UTF16<char16_t>, true>;

		enum class EScope : uint8
		{
			Array,
			Object,
		};

		std::optional<FCondensed> Condensed;
		std::optional<FPretty> Pretty;
		std::vector<EScope> Scopes;
		bool bRootWritten = false;
		bool bNamePending = false;
		bool bFailed = false;
		bool bClosed = false;

		template<typename FunctionType>
		void Emit(FunctionType&& Function)
		{
			if (Pretty)
			{
				Function(*Pretty);
			}
			else
			{
				Function(*Condensed);
			}
		}

		bool Refuse(const TCHAR* Reason)
		{
			UE_LOG(LogJson, Error, TEXT("TJsonWriter: %s; the call was ignored."), Reason);
			bFailed = true;
			return false;
		}

		// Checks that a value may go here and writes its name; false (logged) when it may not.
		bool BeginValue(const FStringView* Identifier)
		{
			if (!Condensed && !Pretty)
			{
				return Refuse(TEXT("there is no output string"));
			}
			if (bClosed)
			{
				return Refuse(TEXT("the writer is closed"));
			}
			if (Scopes.empty())
			{
				if (Identifier)
				{
					return Refuse(TEXT("a named value outside an object"));
				}
				if (bRootWritten)
				{
					return Refuse(TEXT("a second value at the root"));
				}
				bRootWritten = true;
				return true;
			}
			if (Scopes.back() == EScope::Array)
			{
				return Identifier ? Refuse(TEXT("a named value inside an array")) : true;
			}
			if (bNamePending)
			{
				if (Identifier)
				{
					return Refuse(TEXT("a second name for one value"));
				}
				bNamePending = false;
				return true;
			}
			if (!Identifier)
			{
				return Refuse(TEXT("a value without a name inside an object"));
			}
			Emit([Identifier](auto& Emitter) { Emitter.Key(*Identifier); });
			return true;
		}

		bool EndScope(EScope Scope)
		{
			if (Scopes.empty() || Scopes.back() != Scope || bNamePending || bClosed)
			{
				return Refuse(Scope == EScope::Array ? TEXT("an array end without a matching start") : TEXT("an object end without a matching start"));
			}
			Scopes.pop_back();
			return true;
		}
	};

	FStringWriterCore::FStringWriterCore(FString* InOutString, int32 InitialIndent, bool bPretty)
		: Impl(std::make_unique<FImpl>())
	{
		if (!InOutString)
		{
			return;
		}
		if (bPretty)
		{
			Impl->Pretty.emplace(InOutString->GetStdString(), InitialIndent);
		}
		else
		{
			Impl->Condensed.emplace(InOutString->GetStdString());
		}
	}

	FStringWriterCore::~FStringWriterCore() = default;

	void FStringWriterCore::ObjectStart(const FStringView* Identifier)
	{
		if (Impl->BeginValue(Identifier))
		{
			Impl->Emit([](auto& Emitter) { Emitter.StartObject(); });
			Impl->Scopes.push_back(FImpl::EScope::Object);
		}
	}

	void FStringWriterCore::ObjectEnd()
	{
		if (Impl->EndScope(FImpl::EScope::Object))
		{
			Impl->Emit([](auto& Emitter) { Emitter.EndObject(); });
		}
	}

	void FStringWriterCore::ArrayStart(const FStringView* Identifier)
	{
		if (Impl->BeginValue(Identifier))
		{
			Impl->Emit([](auto& Emitter) { Emitter.StartArray(); });
			Impl->Scopes.push_back(FImpl::EScope::Array);
		}
	}

	void FStringWriterCore::ArrayEnd()
	{
		if (Impl->EndScope(FImpl::EScope::Array))
		{
			Impl->Emit([](auto& Emitter) { Emitter.EndArray(); });
		}
	}

	void FStringWriterCore::IdentifierPrefix(FStringView Identifier)
	{
		if (Impl->Scopes.empty() || Impl->Scopes.back() != FImpl::EScope::Object || Impl->bNamePending || Impl->bClosed)
		{
			Impl->Refuse(TEXT("a name outside an object or after another name"));
			return;
		}
		if (Impl->BeginValue(&Identifier))
		{
			Impl->bNamePending = true;
		}
	}

	void FStringWriterCore::Null(const FStringView* Identifier)
	{
		if (Impl->BeginValue(Identifier))
		{
			Impl->Emit([](auto& Emitter) { Emitter.Null(); });
		}
	}

	void FStringWriterCore::Bool(const FStringView* Identifier, bool bValue)
	{
		if (Impl->BeginValue(Identifier))
		{
			Impl->Emit([bValue](auto& Emitter) { Emitter.Bool(bValue); });
		}
	}

	void FStringWriterCore::Int64(const FStringView* Identifier, int64 Value)
	{
		if (Impl->BeginValue(Identifier))
		{
			Impl->Emit([Value](auto& Emitter) { Emitter.Int64(Value); });
		}
	}

	void FStringWriterCore::UInt64(const FStringView* Identifier, uint64 Value)
	{
		if (Impl->BeginValue(Identifier))
		{
			Impl->Emit([Value](auto& Emitter) { Emitter.UInt64(Value); });
		}
	}

	void FStringWriterCore::Double(const FStringView* Identifier, double Value)
	{
		if (Impl->BeginValue(Identifier))
		{
			Impl->Emit([Value](auto& Emitter) { Emitter.Number(Value); });
		}
	}

	void FStringWriterCore::String(const FStringView* Identifier, FStringView Value)
	{
		if (Impl->BeginValue(Identifier))
		{
			Impl->Emit([Value](auto& Emitter) { Emitter.String(Value); });
		}
	}

	void FStringWriterCore::RawJson(const FStringView* Identifier, FStringView Json)
	{
		// RapidJSON copies raw text verbatim but cannot take a NUL in it.
		if (Json.IsEmpty() || Json.GetStdView().find(u'\0') != std::u16string_view::npos)
		{
			Impl->Refuse(TEXT("a raw JSON value that is empty or holds a NUL"));
			return;
		}
		if (Impl->BeginValue(Identifier))
		{
			Impl->Emit([Json](auto& Emitter) { Emitter.Raw(Json.GetData(), static_cast<size_t>(Json.Len())); });
		}
	}

	bool FStringWriterCore::Value(const FStringView* Identifier, const FJsonValue* Value)
	{
		if (!Impl->BeginValue(Identifier))
		{
			return false;
		}
		Impl->Emit([Value](auto& Emitter) { Emitter.Tree(Value); });
		return true;
	}

	bool FStringWriterCore::Object(const FStringView* Identifier, const FJsonObject& Object)
	{
		if (!Impl->BeginValue(Identifier))
		{
			return false;
		}
		Impl->Emit([&Object](auto& Emitter) { Emitter.ObjectTree(Object); });
		return true;
	}

	bool FStringWriterCore::Array(const FStringView* Identifier, const TArray<TSharedPtr<FJsonValue>>& Array)
	{
		if (!Impl->BeginValue(Identifier))
		{
			return false;
		}
		Impl->Emit([&Array](auto& Emitter) { Emitter.ArrayTree(Array); });
		return true;
	}

	bool FStringWriterCore::CanWriteWithoutIdentifier() const
	{
		if (Impl->Scopes.empty())
		{
			return !Impl->bRootWritten;
		}
		return Impl->Scopes.back() == FImpl::EScope::Array || Impl->bNamePending;
	}

	bool FStringWriterCore::Close()
	{
		Impl->bClosed = true;
		return !Impl->bFailed && Impl->Scopes.empty() && !Impl->bNamePending;
	}
}
