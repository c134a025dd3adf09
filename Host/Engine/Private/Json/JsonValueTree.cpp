// Whole-tree operations on JSON values: equality and deep copies. Both walk with an explicit list
// instead of recursion, so a tree of any depth is safe.
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"

#include "Json/JsonValueAccess.h"

#include <utility>
#include <vector>

namespace
{
	// Reads a string value without a copy when it is an FJsonValueString.
	const FString& ReadString(const FJsonValue& Value, FString& Scratch)
	{
		if (const FString* Peeked = UE::Host::Json::FValueAccess::PeekString(Value))
		{
			return *Peeked;
		}
		Value.TryGetString(Scratch);
		return Scratch;
	}

	struct FCopyTask
	{
		const FJsonValue* Source;
		TSharedPtr<FJsonValue>* Dest;
	};

	// Sets every field of Source on Dest with an empty slot, then queues the copies. All fields
	// are added before any slot address is taken, so the addresses stay valid.
	void QueueFieldCopies(const FJsonObject& Source, FJsonObject& Dest, std::vector<FCopyTask>& Tasks)
	{
		for (const auto& Field : Source.Values)
		{
			Dest.Values.Add(Field.Key, TSharedPtr<FJsonValue>());
		}
		for (const auto& Field : Source.Values)
		{
			if (Field.Value.IsValid())
			{
				Tasks.push_back(FCopyTask{Field.Value.Get(), Dest.Values.Find(FStringView(Field.Key))});
			}
		}
	}

	// A copy of one value; the children of a container are queued, not copied yet.
	TSharedPtr<FJsonValue> CopyNode(const FJsonValue& Source, std::vector<FCopyTask>& Tasks)
	{
		switch (Source.Type)
		{
		case EJson::String:
		{
			FString Scratch;
			return MakeShared<FJsonValueString>(ReadString(Source, Scratch));
		}
		case EJson::Number:
			return MakeShared<FJsonValueNumber>(Source.AsNumber());
		case EJson::Boolean:
			return MakeShared<FJsonValueBoolean>(Source.AsBool());
		case EJson::Array:
		{
			const TArray<TSharedPtr<FJsonValue>>* SourceArray = nullptr;
			if (!Source.TryGetArray(SourceArray))
			{
				break;
			}
			TArray<TSharedPtr<FJsonValue>> Elements;
			Elements.SetNum(SourceArray->Num());
			TSharedRef<FJsonValueArray> Copy = MakeShared<FJsonValueArray>(std::move(Elements));
			TArray<TSharedPtr<FJsonValue>>* DestArray = nullptr;
			Copy->TryGetArray(DestArray);
			for (int32 Index = 0; Index < SourceArray->Num(); ++Index)
			{
				if ((*SourceArray)[Index].IsValid())
				{
					Tasks.push_back(FCopyTask{(*SourceArray)[Index].Get(), &(*DestArray)[Index]});
				}
			}
			return Copy;
		}
		case EJson::Object:
		{
			const TSharedPtr<FJsonObject>* SourceObject = nullptr;
			if (!Source.TryGetObject(SourceObject))
			{
				break;
			}
			TSharedRef<FJsonObject> Copy = MakeShared<FJsonObject>();
			QueueFieldCopies(**SourceObject, *Copy, Tasks);
			return MakeShared<FJsonValueObject>(Copy);
		}
		case EJson::None:
		case EJson::Null:
			break;
		}
		return MakeShared<FJsonValueNull>();
	}

	void RunCopies(std::vector<FCopyTask>& Tasks)
	{
		while (!Tasks.empty())
		{
			const FCopyTask Task = Tasks.back();
			Tasks.pop_back();
			*Task.Dest = CopyNode(*Task.Source, Tasks);
		}
	}
}

bool FJsonValue::CompareEqual(const FJsonValue& Lhs, const FJsonValue& Rhs)
{
	std::vector<std::pair<const FJsonValue*, const FJsonValue*>> Pending;
	Pending.emplace_back(&Lhs, &Rhs);
	while (!Pending.empty())
	{
		const auto [A, B] = Pending.back();
		Pending.pop_back();
		if (A == B)
		{
			continue;
		}
		if (!A || !B || A->Type != B->Type)
		{
			return false;
		}
		switch (A->Type)
		{
		case EJson::None:
		case EJson::Null:
			break;
		case EJson::String:
		{
			FString ScratchA;
			FString ScratchB;
			if (!ReadString(*A, ScratchA).Equals(ReadString(*B, ScratchB), ESearchCase::CaseSensitive))
			{
				return false;
			}
			break;
		}
		case EJson::Number:
		{
			double NumberA = 0.0;
			double NumberB = 0.0;
			if (A->TryGetNumber(NumberA) != B->TryGetNumber(NumberB) || NumberA != NumberB)
			{
				return false;
			}
			break;
		}
		case EJson::Boolean:
		{
			bool bA = false;
			bool bB = false;
			if (A->TryGetBool(bA) != B->TryGetBool(bB) || bA != bB)
			{
				return false;
			}
			break;
		}
		case EJson::Array:
		{
			const TArray<TSharedPtr<FJsonValue>>* ArrayA = nullptr;
			const TArray<TSharedPtr<FJsonValue>>* ArrayB = nullptr;
			const bool bHasA = A->TryGetArray(ArrayA);
			if (bHasA != B->TryGetArray(ArrayB))
			{
				return false;
			}
			if (!bHasA)
			{
				break;
			}
			if (ArrayA->Num() != ArrayB->Num())
			{
				return false;
			}
			for (int32 Index = 0; Index < ArrayA->Num(); ++Index)
			{
				Pending.emplace_back((*ArrayA)[Index].Get(), (*ArrayB)[Index].Get());
			}
			break;
		}
		case EJson::Object:
		{
			const TSharedPtr<FJsonObject>* ObjectA = nullptr;
			const TSharedPtr<FJsonObject>* ObjectB = nullptr;
			const bool bHasA = A->TryGetObject(ObjectA);
			if (bHasA != B->TryGetObject(ObjectB))
			{
				return false;
			}
			if (!bHasA || ObjectA->Get() == ObjectB->Get())
			{
				break;
			}
			if ((*ObjectA)->Values.Num() != (*ObjectB)->Values.Num())
			{
				return false;
			}
			for (const auto& Field : (*ObjectA)->Values)
			{
				const TSharedPtr<FJsonValue>* Other = (*ObjectB)->Values.Find(FStringView(Field.Key));
				if (!Other)
				{
					return false;
				}
				Pending.emplace_back(Field.Value.Get(), Other->Get());
			}
			break;
		}
		}
	}
	return true;
}

TSharedPtr<FJsonValue> FJsonValue::Duplicate(const TSharedPtr<const FJsonValue>& Src)
{
	if (!Src.IsValid())
	{
		return TSharedPtr<FJsonValue>();
	}
	std::vector<FCopyTask> Tasks;
	TSharedPtr<FJsonValue> Copy = CopyNode(*Src, Tasks);
	RunCopies(Tasks);
	return Copy;
}

TSharedPtr<FJsonValue> FJsonValue::Duplicate(const TSharedPtr<FJsonValue>& Src)
{
	return Duplicate(TSharedPtr<const FJsonValue>(Src));
}

void FJsonObject::Duplicate(const TSharedPtr<const FJsonObject>& Source, const TSharedPtr<FJsonObject>& Dest)
{
	if (!Source.IsValid() || !Dest.IsValid() || Source.Get() == Dest.Get())
	{
		return;
	}
	std::vector<FCopyTask> Tasks;
	QueueFieldCopies(*Source, *Dest, Tasks);
	RunCopies(Tasks);
}

void FJsonObject::Duplicate(const TSharedPtr<FJsonObject>& Source, const TSharedPtr<FJsonObject>& Dest)
{
	Duplicate(TSharedPtr<const FJsonObject>(Source), Dest);
}
