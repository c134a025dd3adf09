#include "Host/CultureName.h"

#include "Containers/StringConv.h"
#include "Misc/Char.h"

#include <vector>

namespace UE::Host::CultureName
{
	namespace
	{
		// The currencies that ICU's old "_PREEURO" variants stood for, by region.
		struct FPreEuroCurrency
		{
			const char16_t* Region;
			const char16_t* Currency;
		};

		constexpr FPreEuroCurrency PreEuroCurrencies[] = {
			{u"AT", u"ATS"}, {u"BE", u"BEF"}, {u"DE", u"DEM"}, {u"ES", u"ESP"}, {u"FI", u"FIM"}, {u"FR", u"FRF"},
			{u"GR", u"GRD"}, {u"IE", u"IEP"}, {u"IT", u"ITL"}, {u"LU", u"LUF"}, {u"NL", u"NLG"}, {u"PT", u"PTE"},
		};

		bool IsAllAlpha(std::u16string_view Tag)
		{
			for (const char16_t C : Tag)
			{
				if (!FChar::IsAlpha(C))
				{
					return false;
				}
			}
			return !Tag.empty();
		}

		bool IsAllDigits(std::u16string_view Tag)
		{
			for (const char16_t C : Tag)
			{
				if (!FChar::IsDigit(C))
				{
					return false;
				}
			}
			return !Tag.empty();
		}

		bool EqualsIgnoreCase(std::u16string_view A, std::u16string_view B)
		{
			if (A.size() != B.size())
			{
				return false;
			}
			for (size_t Index = 0; Index < A.size(); ++Index)
			{
				if (FChar::ToLower(A[Index]) != FChar::ToLower(B[Index]))
				{
					return false;
				}
			}
			return true;
		}

		bool IsRegionTag(std::u16string_view Tag)
		{
			return (Tag.size() == 2 && IsAllAlpha(Tag)) || (Tag.size() == 3 && (IsAllAlpha(Tag) || IsAllDigits(Tag)));
		}

		std::vector<std::u16string> SplitTags(std::u16string_view Text)
		{
			std::vector<std::u16string> Tags;
			size_t Start = 0;
			while (Start <= Text.size())
			{
				size_t End = Start;
				while (End < Text.size() && Text[End] != u'-' && Text[End] != u'_')
				{
					++End;
				}
				if (End > Start)
				{
					Tags.emplace_back(Text.substr(Start, End - Start));
				}
				Start = End + 1;
			}
			return Tags;
		}
	}

	std::u16string FoldCase(std::u16string_view Name)
	{
		std::u16string Folded(Name);
		for (char16_t& C : Folded)
		{
			C = FChar::ToLower(C);
		}
		return Folded;
	}

	FString Canonicalize(FStringView Name)
	{
		std::u16string_view Text = Name.GetStdView();
		std::u16string Keywords;
		if (const size_t At = Text.find(u'@'); At != std::u16string_view::npos)
		{
			Keywords = Text.substr(At + 1);
			Text = Text.substr(0, At);
		}
		// "fr_FR.UTF-8" names a codeset too; a culture does not have one.
		if (const size_t Dot = Text.find(u'.'); Dot != std::u16string_view::npos)
		{
			Text = Text.substr(0, Dot);
		}

		std::vector<std::u16string> Tags = SplitTags(Text);
		if (Tags.empty() && !Text.empty())
		{
			// Only separators: nothing to canonicalise, and nothing that names a culture.
			return FString(Name);
		}
		if (Tags.empty() || (Tags.size() == 1 && (EqualsIgnoreCase(Tags[0], u"c") || EqualsIgnoreCase(Tags[0], u"posix"))))
		{
			Tags = {u"en", u"US", u"POSIX"};
		}

		for (size_t Index = 0; Index < Tags.size(); ++Index)
		{
			std::u16string& Tag = Tags[Index];
			if (Index == 0)
			{
				Tag = FoldCase(Tag);
			}
			else if (Tag.size() == 4 && IsAllAlpha(Tag))
			{
				Tag = FoldCase(Tag);
				Tag[0] = FChar::ToUpper(Tag[0]);
			}
			else if (Tag.size() == 2 || Tag.size() == 3)
			{
				for (char16_t& C : Tag)
				{
					C = FChar::ToUpper(C);
				}
			}
		}

		if (Tags.size() >= 3 && EqualsIgnoreCase(Tags.back(), u"PREEURO"))
		{
			const std::u16string& Region = Tags[Tags.size() - 2];
			for (const FPreEuroCurrency& Entry : PreEuroCurrencies)
			{
				if (Region == Entry.Region)
				{
					Tags.pop_back();
					Keywords = Keywords.empty() ? std::u16string(u"currency=") + Entry.Currency
						: Keywords + u";currency=" + Entry.Currency;
					break;
				}
			}
		}

		std::u16string Result;
		for (const std::u16string& Tag : Tags)
		{
			if (!Result.empty())
			{
				Result += u'-';
			}
			Result += Tag;
		}
		if (!Keywords.empty())
		{
			Result += u'@';
			Result += Keywords;
		}
		return FString(std::move(Result));
	}

	FParts Split(const FString& CanonicalName)
	{
		FParts Parts;
		std::u16string_view Text = CanonicalName.GetStdString();
		if (const size_t At = Text.find(u'@'); At != std::u16string_view::npos)
		{
			Parts.Keywords = FString(Text.substr(At + 1));
			Text = Text.substr(0, At);
		}
		const std::vector<std::u16string> Tags = SplitTags(Text);
		for (size_t Index = 0; Index < Tags.size(); ++Index)
		{
			const std::u16string& Tag = Tags[Index];
			if (Index == 0)
			{
				Parts.Language = FString(Tag);
			}
			else if (Parts.Script.IsEmpty() && Parts.Region.IsEmpty() && Parts.Variant.IsEmpty() && Tag.size() == 4 && IsAllAlpha(Tag))
			{
				Parts.Script = FString(Tag);
			}
			else if (Parts.Region.IsEmpty() && Parts.Variant.IsEmpty() && IsRegionTag(Tag))
			{
				Parts.Region = FString(Tag);
			}
			else
			{
				if (!Parts.Variant.IsEmpty())
				{
					Parts.Variant += TEXT('-');
				}
				Parts.Variant += FString(Tag);
			}
		}
		return Parts;
	}

	TArray<FString> GetPrioritizedParentNames(const FString& Language, const FString& Script, const FString& Region)
	{
		TArray<FString> Names;
		if (!Script.IsEmpty() && !Region.IsEmpty())
		{
			Names.Add(Language + TEXT("-") + Script + TEXT("-") + Region);
		}
		if (!Region.IsEmpty())
		{
			Names.Add(Language + TEXT("-") + Region);
		}
		if (!Script.IsEmpty())
		{
			Names.Add(Language + TEXT("-") + Script);
		}
		Names.Add(Language);
		return Names;
	}

	TArray<FString> GetPrioritizedNames(const FString& CanonicalName)
	{
		const FParts Parts = Split(CanonicalName);
		TArray<FString> Names = GetPrioritizedParentNames(Parts.Language, Parts.Script, Parts.Region);
		if (!Names[0].Equals(CanonicalName))
		{
			Names.Insert(CanonicalName, 0);
		}
		return Names;
	}

	std::string ToIcuLocaleId(const FParts& Parts)
	{
		FString Id = Parts.Language;
		if (!Parts.Script.IsEmpty())
		{
			Id += TEXT("_") + Parts.Script;
		}
		if (!Parts.Region.IsEmpty() || !Parts.Variant.IsEmpty())
		{
			// ICU reads the field after the script as the region, so an absent one stays empty.
			Id += TEXT("_") + Parts.Region;
		}
		if (!Parts.Variant.IsEmpty())
		{
			FString Variant = Parts.Variant;
			Variant.ReplaceCharInline(TEXT('-'), TEXT('_'), ESearchCase::CaseSensitive);
			Id += TEXT("_") + Variant;
		}
		if (!Parts.Keywords.IsEmpty())
		{
			Id += TEXT("@") + Parts.Keywords;
		}
		return StringToUtf8(Id);
	}
}
