// What the program's edges refuse in a message that parsed: see Host/JsonText.h.
#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"
#include "Host/JsonText.h"

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

	FString MemberPath(const FString& Path, const FString& Name)
	{
		return Path.IsEmpty() ? Name : Path + TEXT(".") + Name;
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
		struct FPending
		{
			const FJsonValue* Value;
			FString Path;
		};
		std::vector<FPending> Pending;
		Pending.push_back({Value.Get(), Path});
		while (!Pending.empty())
		{
			FPending Next = std::move(Pending.back());
			Pending.pop_back();
			if (!Next.Value)
			{
				continue;
			}
			if (Next.Value->Type == EJson::String)
			{
				if (HasNul(Next.Value->AsString()))
				{
					return Problem(FJsonStrictProblem::EKind::NulCharacter, Next.Path);
				}
				continue;
			}
			const TArray<TSharedPtr<FJsonValue>>* Elements = nullptr;
			if (Next.Value->Type == EJson::Array && Next.Value->TryGetArray(Elements))
			{
				// Pushed last first, so that they come off in document order.
				for (int32 Index = Elements->Num() - 1; Index >= 0; --Index)
				{
					Pending.push_back({(*Elements)[Index].Get(), FString::Printf(TEXT("%s[%d]"), *Next.Path, Index)});
				}
				continue;
			}
			const TSharedPtr<FJsonObject>* Object = nullptr;
			if (Next.Value->Type != EJson::Object || !Next.Value->TryGetObject(Object) || !Object->IsValid())
			{
				continue;
			}
			if (Facts)
			{
				const auto Repeated = Facts->RepeatedNames.find(Object->Get());
				if (Repeated != Facts->RepeatedNames.end())
				{
					return Problem(FJsonStrictProblem::EKind::RepeatedName, Repeated->second);
				}
			}
			std::vector<FPending> Members;
			for (const auto& Field : (*Object)->Values)
			{
				if (HasNul(Field.Key))
				{
					return Problem(FJsonStrictProblem::EKind::NulCharacter, MemberPath(Next.Path, Visible(Field.Key)));
				}
				Members.push_back({Field.Value.Get(), MemberPath(Next.Path, Field.Key)});
			}
			for (auto Member = Members.rbegin(); Member != Members.rend(); ++Member)
			{
				Pending.push_back(std::move(*Member));
			}
		}
		return FJsonStrictProblem();
	}
}
