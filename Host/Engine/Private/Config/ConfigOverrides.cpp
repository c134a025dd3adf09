#include "Host/ConfigSystem.h"

namespace
{
	// Splits at commas that are outside quotes and parentheses, so struct values survive.
	TArray<FString> SplitOverrideItems(const FString& Text)
	{
		TArray<FString> Items;
		FString Current;
		int32 Depth = 0;
		bool bQuoted = false;
		for (const TCHAR C : Text)
		{
			if (C == '"')
			{
				bQuoted = !bQuoted;
			}
			else if (!bQuoted && C == '(')
			{
				++Depth;
			}
			else if (!bQuoted && C == ')' && Depth > 0)
			{
				--Depth;
			}
			else if (!bQuoted && Depth == 0 && C == ',')
			{
				Items.Add(std::move(Current));
				Current.Reset();
				continue;
			}
			Current.AppendChar(C);
		}
		Items.Add(std::move(Current));
		return Items;
	}

	bool IsOverrideOperator(TCHAR C)
	{
		return C == '+' || C == '-' || C == '.' || C == '!' || C == '^';
	}
}

namespace UE::Host
{
	bool ParseConfigOverride(const FString& Argument, TArray<FConfigOverride>& OutOverrides, FString& OutError)
	{
		FString Text = Argument.TrimStartAndEnd();
		Text.RemoveFromStart(TEXT("-ini:"));
		const FString Expected = TEXT("expected Category:[Section]:Key=Value");
		int32 CategoryEnd = INDEX_NONE;
		if (!Text.FindChar(':', CategoryEnd) || CategoryEnd == 0)
		{
			OutError = FString::Printf(TEXT("Invalid config override '%s': %s."), *Argument, *Expected);
			return false;
		}
		const FString Category = Text.Left(CategoryEnd).TrimStartAndEnd();
		if (!IsValidConfigCategoryName(Category))
		{
			OutError = FString::Printf(TEXT("Invalid config override '%s': '%s' is not a config category name."), *Argument, *Category);
			return false;
		}

		TArray<FConfigOverride> Parsed;
		for (const FString& RawItem : SplitOverrideItems(Text.Mid(CategoryEnd + 1)))
		{
			const FString Item = RawItem.TrimStartAndEnd();
			int32 Equals = INDEX_NONE;
			if (!Item.FindChar('=', Equals))
			{
				OutError = FString::Printf(TEXT("Invalid config override '%s': '%s' has no '=' (%s)."), *Argument, *Item, *Expected);
				return false;
			}
			const FString SectionAndKey = Item.Left(Equals);
			FConfigOverride Override;
			Override.Category = Category;
			int32 KeyStart = INDEX_NONE;
			if (SectionAndKey.StartsWith(TEXT("[")))
			{
				const int32 Close = SectionAndKey.Find(TEXT("]:"), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
				if (Close != INDEX_NONE)
				{
					Override.Section = SectionAndKey.Mid(1, Close - 1);
					KeyStart = Close + 2;
				}
			}
			else
			{
				const int32 Colon = SectionAndKey.Find(TEXT(":"), ESearchCase::CaseSensitive, ESearchDir::FromEnd);
				if (Colon != INDEX_NONE)
				{
					Override.Section = SectionAndKey.Left(Colon).TrimStartAndEnd();
					KeyStart = Colon + 1;
				}
			}
			if (KeyStart == INDEX_NONE || Override.Section.IsEmpty())
			{
				OutError = FString::Printf(TEXT("Invalid config override '%s': '%s' names no section (%s)."), *Argument, *Item, *Expected);
				return false;
			}
			FString Key = SectionAndKey.Mid(KeyStart).TrimStartAndEnd();
			if (!Key.IsEmpty() && IsOverrideOperator(Key[0]))
			{
				Override.Operation = Key[0];
				Key.RightChopInline(1);
				Key.TrimStartInline();
			}
			if (Key.IsEmpty())
			{
				OutError = FString::Printf(TEXT("Invalid config override '%s': '%s' names no key (%s)."), *Argument, *Item, *Expected);
				return false;
			}
			Override.Key = std::move(Key);
			FString Value = Item.Mid(Equals + 1).TrimStartAndEnd();
			if (Value.Len() >= 2 && Value[0] == '"' && Value[Value.Len() - 1] == '"')
			{
				Value = Value.Mid(1, Value.Len() - 2);
			}
			Override.Value = std::move(Value);
			Parsed.Add(std::move(Override));
		}
		OutOverrides.Append(std::move(Parsed));
		return true;
	}
}
