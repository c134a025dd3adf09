// A large generated StringTable, shared by the StringTable benchmarks: random keys of 8 to 40
// code units (some non-ASCII, some outside the BMP), sources that need quoting and escaping, and a
// Comment on about a third of the entries.
#pragma once

#include "CoreMinimal.h"
#include "Host/StringTableCsv.h"
#include "Internationalization/StringTableCore.h"

#include <random>
#include <string>
#include <vector>

namespace OrvexBenchmark
{
	struct FStringTableCorpus
	{
		FStringTableRef Table = FStringTable::NewStringTable();
		std::vector<FString> Keys;
		std::string Csv;
	};

	inline std::u16string RandomText(std::mt19937_64& Random, int32 MinLength, int32 MaxLength, bool bSource)
	{
		static constexpr char16_t Ascii[] = u"abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_";
		static constexpr char16_t Bmp[] = u"\u00E9\u00FC\u00DF\u00C9\u5263\u65E5\u672C\u0416\u03A9";
		static constexpr char16_t Punctuation[] = u" ,\"\n\\.";
		std::uniform_int_distribution<int32> LengthDistribution(MinLength, MaxLength);
		std::uniform_int_distribution<int32> Percent(0, 99);
		const int32 Length = LengthDistribution(Random);
		std::u16string Text;
		while (static_cast<int32>(Text.size()) < Length)
		{
			const int32 Roll = Percent(Random);
			if (Roll < 1 && static_cast<int32>(Text.size()) + 2 <= Length)
			{
				const char32_t Emoji = 0x1F300 + static_cast<char32_t>(Random() % 0x300);
				Text.push_back(static_cast<char16_t>(0xD800 + ((Emoji - 0x10000) >> 10)));
				Text.push_back(static_cast<char16_t>(0xDC00 + ((Emoji - 0x10000) & 0x3FF)));
			}
			else if (Roll < 6)
			{
				Text.push_back(Bmp[Random() % (std::size(Bmp) - 1)]);
			}
			else if (bSource && Roll < 20)
			{
				Text.push_back(Punctuation[Random() % (std::size(Punctuation) - 1)]);
			}
			else
			{
				Text.push_back(Ascii[Random() % (std::size(Ascii) - 1)]);
			}
		}
		return Text;
	}

	inline const FStringTableCorpus& GetStringTableCorpus(int32 NumEntries)
	{
		static FStringTableCorpus Corpus = [NumEntries]
		{
			FStringTableCorpus Result;
			std::mt19937_64 Random(20260101);
			Result.Keys.reserve(static_cast<size_t>(NumEntries));
			const FName Comment(TEXT("Comment"));
			for (int32 Index = 0; Index < NumEntries; ++Index)
			{
				FString Key(RandomText(Random, 8, 40, false));
				const FTextKey TextKey(Key);
				Result.Table->SetSourceString(TextKey, FString(RandomText(Random, 10, 80, true)));
				if (Random() % 3 == 0)
				{
					Result.Table->SetMetaData(TextKey, Comment, FString(RandomText(Random, 5, 30, true)));
				}
				Result.Keys.push_back(std::move(Key));
			}
			Result.Csv = UE::Host::StringTableCsv::Write(*Result.Table);
			return Result;
		}();
		return Corpus;
	}
}
