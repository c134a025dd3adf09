// What the program's edges refuse in a message that parsed: see Host/JsonText.h.
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Host/JsonText.h"
#include "Json/JsonValueAccess.h"

#include <algorithm>
#include <vector>

namespace
{
	using UE::Host::Json::FJsonSourceFacts;
	using UE::Host::Json::FJsonStrictProblem;

	bool HasNul(const FString& Text)
	{
		int32 Index = INDEX_NONE;
		return Text.FindChar(TCHAR(0), Index);
	}

	bool HasNul(const FJsonValue& Value)
	{
		if (const FString* Text = UE::Host::Json::FValueAccess::PeekString(Value))
		{
			return HasNul(*Text);
		}
		return HasNul(Value.AsString());
	}

	// The name as a message can show it.
	FString Visible(const FString& Name)
	{
		FString Shown;
		for (const TCHAR C : Name)
		{
			if (C == 0)
			{
				Shown += TEXT("\\u0000");
			}
			else
			{
				Shown.AppendChar(C);
			}
		}
		return Shown;
	}

	// One value met on the walk, and how it was reached; paths are spelt out only for a problem.
	struct FStep
	{
		const FJsonValue* Value = nullptr;
		int32 Parent = INDEX_NONE;
		const FString* Key = nullptr;
		int32 Index = INDEX_NONE;
	};

	FString PathOf(const std::vector<FStep>& Steps, int32 At, const FString& Root)
	{
		TArray<const FStep*> Chain;
		for (int32 Step = At; Step != INDEX_NONE; Step = Steps[Step].Parent)
		{
			Chain.Add(&Steps[Step]);
		}
		FString Path = Root;
		for (int32 Link = Chain.Num() - 1; Link >= 0; --Link)
		{
			const FStep& Step = *Chain[Link];
			if (Step.Key)
			{
				Path += (Path.IsEmpty() ? FString() : FString(TEXT("."))) + Visible(*Step.Key);
			}
			else if (Step.Index != INDEX_NONE)
			{
				Path += FString::Printf(TEXT("[%d]"), Step.Index);
			}
		}
		return Path;
	}

	FJsonStrictProblem Problem(FJsonStrictProblem::EKind Kind, const FString& Where)
	{
		FJsonStrictProblem Found;
		Found.Kind = Kind;
		Found.Where = Where;
		return Found;
	}
}

namespace UE::Host::Json
{
	FJsonStrictProblem FindStrictProblem(const TSharedPtr<FJsonValue>& Value, const FJsonSourceFacts* Facts, const FString& Path)
	{
		// An explicit stack: the tree may be as deep as the parser allows.
		std::vector<FStep> Steps;
		std::vector<int32> Pending;
		Steps.push_back({Value.Get()});
		Pending.push_back(0);
		while (!Pending.empty())
		{
			const int32 At = Pending.back();
			Pending.pop_back();
			const FJsonValue* Current = Steps[At].Value;
			if (!Current)
			{
				continue;
			}
			if (Current->Type == EJson::String)
			{
				if (HasNul(*Current))
				{
					return Problem(FJsonStrictProblem::EKind::NulCharacter, PathOf(Steps, At, Path));
				}
				continue;
			}
			const TArray<TSharedPtr<FJsonValue>>* Elements = nullptr;
			if (Current->Type == EJson::Array && Current->TryGetArray(Elements))
			{
				// Pushed last first, so that they come off in document order.
				for (int32 Index = Elements->Num() - 1; Index >= 0; --Index)
				{
					Pending.push_back(static_cast<int32>(Steps.size()));
					Steps.push_back({(*Elements)[Index].Get(), At, nullptr, Index});
				}
				continue;
			}
			const TSharedPtr<FJsonObject>* Object = nullptr;
			if (Current->Type != EJson::Object || !Current->TryGetObject(Object) || !Object->IsValid())
			{
				continue;
			}
			if (Facts && !Facts->RepeatedNames.empty())
			{
				const auto Repeated = Facts->RepeatedNames.find(Object->Get());
				if (Repeated != Facts->RepeatedNames.end())
				{
					return Problem(FJsonStrictProblem::EKind::RepeatedName, Repeated->second);
				}
			}
			const size_t FirstMember = Pending.size();
			for (const auto& Field : (*Object)->Values)
			{
				Pending.push_back(static_cast<int32>(Steps.size()));
				Steps.push_back({Field.Value.Get(), At, &Field.Key});
				if (HasNul(Field.Key))
				{
					return Problem(FJsonStrictProblem::EKind::NulCharacter, PathOf(Steps, static_cast<int32>(Steps.size()) - 1, Path));
				}
			}
			std::reverse(Pending.begin() + static_cast<std::ptrdiff_t>(FirstMember), Pending.end());
		}
		return FJsonStrictProblem();
	}
}
