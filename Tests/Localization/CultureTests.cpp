#include "CoreMinimal.h"
#include "Host/CultureName.h"
#include "Host/Internationalization.h"
#include "Internationalization/Culture.h"
#include "Internationalization/Internationalization.h"
#include "ScopedEnvironment.h"

#include <gtest/gtest.h>

#include <unicode/uloc.h>

#include <cstdlib>
#include <optional>
#include <set>
#include <string>

namespace
{
	class CultureTest : public ::testing::Test
	{
	protected:
		void SetUp() override
		{
			ASSERT_TRUE(I18N.SetCurrentLanguageAndLocale(TEXT("en")));
		}

		void TearDown() override
		{
			I18N.SetCurrentLanguageAndLocale(TEXT("en"));
		}

		FString NameOf(const TCHAR* Requested)
		{
			const FCulturePtr Culture = I18N.GetCulture(Requested);
			return Culture.IsValid() ? Culture->GetName() : FString(TEXT("<null>"));
		}

		static std::set<std::u16string> NamesOf(const TArray<FCultureRef>& Cultures)
		{
			std::set<std::u16string> Names;
			for (const FCultureRef& Culture : Cultures)
			{
				Names.insert(Culture->GetName().GetStdString());
			}
			return Names;
		}

		FInternationalization& I18N = FInternationalization::Get();
	};
}

TEST_F(CultureTest, LookupCanonicalisesTheName)
{
	EXPECT_EQ(NameOf(TEXT("en_us")), TEXT("en-US"));
	EXPECT_EQ(NameOf(TEXT("EN-GB")), TEXT("en-GB"));
	EXPECT_EQ(NameOf(TEXT("zh_hans_cn")), TEXT("zh-Hans-CN"));
	EXPECT_EQ(NameOf(TEXT("SR-LATN")), TEXT("sr-Latn"));
	EXPECT_EQ(NameOf(TEXT("es-419")), TEXT("es-419"));
	EXPECT_EQ(NameOf(TEXT("fr_FR.UTF-8")), TEXT("fr-FR"));
	EXPECT_TRUE(NameOf(TEXT("en-US")).Equals(TEXT("en-US")));
}

TEST_F(CultureTest, EmptyCAndPosixNameTheComputerCulture)
{
	EXPECT_TRUE(NameOf(TEXT("")).Equals(TEXT("en-US-POSIX")));
	EXPECT_TRUE(NameOf(TEXT("c")).Equals(TEXT("en-US-POSIX")));
	EXPECT_TRUE(NameOf(TEXT("C")).Equals(TEXT("en-US-POSIX")));
	EXPECT_TRUE(NameOf(TEXT("posix")).Equals(TEXT("en-US-POSIX")));
	EXPECT_TRUE(NameOf(TEXT("en-us-posix")).Equals(TEXT("en-US-POSIX")));
}

TEST_F(CultureTest, CanonicalFormKeepsKeywordsAndMapsOldEuroVariants)
{
	using UE::Host::CultureName::Canonicalize;
	EXPECT_TRUE(Canonicalize(TEXT("de_de@collation=phonebook")).Equals(TEXT("de-DE@collation=phonebook")));
	EXPECT_TRUE(Canonicalize(TEXT("de_DE_PREEURO")).Equals(TEXT("de-DE@currency=DEM")));
	EXPECT_TRUE(Canonicalize(TEXT("fr-fr-preeuro")).Equals(TEXT("fr-FR@currency=FRF")));
	EXPECT_TRUE(Canonicalize(TEXT("xx-YY-PREEURO")).Equals(TEXT("xx-YY-PREEURO")));
	EXPECT_TRUE(Canonicalize(TEXT("en--us")).Equals(TEXT("en-US")));
	EXPECT_TRUE(NameOf(TEXT("de_DE@collation=phonebook")).Equals(TEXT("de-DE@collation=phonebook")));
}

TEST_F(CultureTest, NamesWithoutCatalogueEntryOrIcuDataResolveToNothing)
{
	EXPECT_FALSE(I18N.GetCulture(TEXT("zz-NotACulture")).IsValid());
	EXPECT_FALSE(I18N.GetCulture(TEXT("zz")).IsValid());
	EXPECT_FALSE(I18N.GetCulture(TEXT("x-0")).IsValid());
	EXPECT_FALSE(I18N.GetCulture(TEXT("not a culture")).IsValid());
	EXPECT_FALSE(I18N.GetCulture(TEXT("-")).IsValid());
	EXPECT_FALSE(I18N.GetCulture(TEXT("_@")).IsValid());
	EXPECT_FALSE(I18N.GetCulture(TEXT("-US")).IsValid());
	EXPECT_FALSE(I18N.GetCulture(TEXT("\u65E5\u672C")).IsValid());
	EXPECT_FALSE(I18N.GetCulture(FString::ChrN(5000, TEXT('q'))).IsValid());

	// ICU falls back from an unknown region to the language's data, so such a culture exists.
	const FCulturePtr Fallback = I18N.GetCulture(TEXT("en_zz"));
	ASSERT_TRUE(Fallback.IsValid());
	EXPECT_TRUE(Fallback->GetName().Equals(TEXT("en-ZZ")));
	EXPECT_TRUE(Fallback->GetTwoLetterISOLanguageName().Equals(TEXT("en")));
}

TEST_F(CultureTest, FrenchFranceNamesAndCodes)
{
	const FCulturePtr French = I18N.GetCulture(TEXT("fr-FR"));
	ASSERT_TRUE(French.IsValid());
	EXPECT_TRUE(French->GetName().Equals(TEXT("fr-FR")));
	EXPECT_TRUE(French->GetNativeName().Equals(TEXT("français (France)")));
	EXPECT_TRUE(French->GetEnglishName().Equals(TEXT("French (France)")));
	EXPECT_TRUE(French->GetDisplayName().Equals(TEXT("French (France)")));
	EXPECT_TRUE(French->GetTwoLetterISOLanguageName().Equals(TEXT("fr")));
	EXPECT_TRUE(French->GetThreeLetterISOLanguageName().Equals(TEXT("fra")));
	EXPECT_TRUE(French->GetUnrealLegacyThreeLetterISOLanguageName().Equals(TEXT("FRA")));
	EXPECT_TRUE(French->GetNativeLanguage().Equals(TEXT("français")));
	EXPECT_TRUE(French->GetRegion().Equals(TEXT("FR")));
	EXPECT_TRUE(French->GetScript().IsEmpty());
	EXPECT_TRUE(French->GetVariant().IsEmpty());
}

TEST_F(CultureTest, ScriptsVariantsAndLegacyCodes)
{
	const FCulturePtr Chinese = I18N.GetCulture(TEXT("zh-Hans-CN"));
	ASSERT_TRUE(Chinese.IsValid());
	EXPECT_TRUE(Chinese->GetScript().Equals(TEXT("Hans")));
	EXPECT_TRUE(Chinese->GetRegion().Equals(TEXT("CN")));
	EXPECT_TRUE(Chinese->GetThreeLetterISOLanguageName().Equals(TEXT("zho")));
	EXPECT_TRUE(Chinese->GetUnrealLegacyThreeLetterISOLanguageName().Equals(TEXT("CHN")));
	EXPECT_TRUE(Chinese->GetNativeLanguage().StartsWith(TEXT("中文 (")));

	const FCulturePtr Posix = I18N.GetCulture(TEXT("en-US-POSIX"));
	ASSERT_TRUE(Posix.IsValid());
	EXPECT_TRUE(Posix->GetVariant().Equals(TEXT("POSIX")));
	EXPECT_TRUE(Posix->GetUnrealLegacyThreeLetterISOLanguageName().Equals(TEXT("INT")));
}

TEST_F(CultureTest, DisplayNameFollowsTheCurrentLanguage)
{
	const FCulturePtr French = I18N.GetCulture(TEXT("fr-FR"));
	ASSERT_TRUE(French.IsValid());
	ASSERT_TRUE(I18N.SetCurrentLanguage(TEXT("de")));
	EXPECT_TRUE(French->GetDisplayName().Equals(TEXT("Französisch (Frankreich)")));
	EXPECT_TRUE(French->GetEnglishName().Equals(TEXT("French (France)")));
	EXPECT_TRUE(I18N.GetCulture(TEXT("it"))->GetDisplayName().Equals(TEXT("Italienisch")));
	ASSERT_TRUE(I18N.SetCurrentLanguage(TEXT("en")));
	EXPECT_TRUE(French->GetDisplayName().Equals(TEXT("French (France)")));
}

TEST_F(CultureTest, NamesWithoutLocaleDataDoNotDependOnTheProcessLocale)
{
	// ICU has names for Afar but no data of its own in Afar; without care its native name would
	// come out in whatever locale the process started with.
	const std::string OldDefault = uloc_getDefault();
	UErrorCode Status = U_ZERO_ERROR;
	uloc_setDefault("fr_FR", &Status);
	const FCulture Afar(TEXT("aa"), TEXT("de"));
	uloc_setDefault(OldDefault.c_str(), &Status);

	EXPECT_TRUE(Afar.GetNativeName().Equals(TEXT("Afar")));
	EXPECT_TRUE(Afar.GetEnglishName().Equals(TEXT("Afar")));
	EXPECT_TRUE(Afar.GetNativeLanguage().Equals(TEXT("Afar")));
	EXPECT_TRUE(Afar.GetThreeLetterISOLanguageName().Equals(TEXT("aar")));
}

TEST_F(CultureTest, CatalogueIsUniqueAndEveryNameResolvesToItself)
{
	TArray<FString> Names;
	I18N.GetCultureNames(Names);
	EXPECT_GT(Names.Num(), 700);

	std::set<std::u16string> Folded;
	for (const FString& Name : Names)
	{
		EXPECT_TRUE(Folded.insert(Name.ToLower().GetStdString()).second) << "duplicate: " << UE::Host::StringToUtf8(Name);
		const FCulturePtr Culture = I18N.GetCulture(Name);
		ASSERT_TRUE(Culture.IsValid()) << UE::Host::StringToUtf8(Name);
		EXPECT_TRUE(Culture->GetName().Equals(Name));
	}
	for (const TCHAR* Expected : {TEXT("en"), TEXT("en-US"), TEXT("zh-Hans"), TEXT("zh-Hans-CN"), TEXT("en-US-POSIX"), TEXT("aa")})
	{
		EXPECT_TRUE(Folded.count(FString(Expected).ToLower().GetStdString())) << UE::Host::StringToUtf8(Expected);
	}
	// Forms of one locale are added language first.
	EXPECT_LT(Names.IndexOfByKey(FString(TEXT("zh"))), Names.IndexOfByKey(FString(TEXT("zh-Hans-CN"))));
}

TEST_F(CultureTest, DerivedCulturesOfEnglish)
{
	TArray<FString> Requested;
	Requested.Add(TEXT("en"));
	const TArray<FCultureRef> Cultures = I18N.GetAvailableCultures(Requested, true);
	const std::set<std::u16string> Names = NamesOf(Cultures);
	EXPECT_EQ(Names.size(), static_cast<size_t>(Cultures.Num()));
	for (const char16_t* Expected : {u"en", u"en-US", u"en-GB", u"en-AU", u"en-US-POSIX"})
	{
		EXPECT_TRUE(Names.count(Expected)) << UE::Host::StringToUtf8(Expected);
	}
	for (const std::u16string& Name : Names)
	{
		EXPECT_TRUE(Name == u"en" || Name.starts_with(u"en-")) << UE::Host::StringToUtf8(FString(Name));
	}

	// Catalogue order, and the membership test ignores case.
	TArray<FString> CatalogueNames;
	I18N.GetCultureNames(CatalogueNames);
	int32 Previous = INDEX_NONE;
	for (const FCultureRef& Culture : Cultures)
	{
		const int32 Position = CatalogueNames.IndexOfByKey(Culture->GetName());
		EXPECT_GT(Position, Previous);
		Previous = Position;
	}
	TArray<FString> Upper;
	Upper.Add(TEXT("EN"));
	EXPECT_EQ(NamesOf(I18N.GetAvailableCultures(Upper, true)), Names);
}

TEST_F(CultureTest, DerivedCulturesOfSimplifiedChinese)
{
	TArray<FString> Requested;
	Requested.Add(TEXT("zh-Hans"));
	const std::set<std::u16string> Names = NamesOf(I18N.GetAvailableCultures(Requested, true));
	EXPECT_TRUE(Names.count(u"zh-Hans"));
	EXPECT_TRUE(Names.count(u"zh-Hans-CN"));
	EXPECT_TRUE(Names.count(u"zh-Hans-SG"));
	// Parents and the other script are not derived from zh-Hans.
	EXPECT_FALSE(Names.count(u"zh"));
	EXPECT_FALSE(Names.count(u"zh-CN"));
	EXPECT_FALSE(Names.count(u"zh-Hant"));
	EXPECT_FALSE(Names.count(u"zh-Hant-TW"));
}

TEST_F(CultureTest, WithoutDerivedCulturesResultFollowsRequestOrderOnce)
{
	TArray<FString> Requested;
	Requested.Add(TEXT("fr"));
	Requested.Add(TEXT("zz-NotACulture"));
	Requested.Add(TEXT("en_US"));
	Requested.Add(TEXT("FR"));
	const TArray<FCultureRef> Cultures = I18N.GetAvailableCultures(Requested, false);
	ASSERT_EQ(Cultures.Num(), 2);
	EXPECT_TRUE(Cultures[0]->GetName().Equals(TEXT("fr")));
	EXPECT_TRUE(Cultures[1]->GetName().Equals(TEXT("en-US")));
}

TEST_F(CultureTest, PrioritizedNamesGoFromMostToLeastSpecific)
{
	const TArray<FString> Chinese = I18N.GetPrioritizedCultureNames(TEXT("zh-Hans-CN"));
	ASSERT_EQ(Chinese.Num(), 4);
	EXPECT_TRUE(Chinese[0].Equals(TEXT("zh-Hans-CN")));
	EXPECT_TRUE(Chinese[1].Equals(TEXT("zh-CN")));
	EXPECT_TRUE(Chinese[2].Equals(TEXT("zh-Hans")));
	EXPECT_TRUE(Chinese[3].Equals(TEXT("zh")));

	const TArray<FString> Posix = I18N.GetPrioritizedCultureNames(TEXT("en-US-POSIX"));
	ASSERT_EQ(Posix.Num(), 3);
	EXPECT_TRUE(Posix[0].Equals(TEXT("en-US-POSIX")));
	EXPECT_TRUE(Posix[1].Equals(TEXT("en-US")));
	EXPECT_TRUE(Posix[2].Equals(TEXT("en")));

	const TArray<FString> Unknown = I18N.GetPrioritizedCultureNames(TEXT("zz-NotACulture"));
	ASSERT_EQ(Unknown.Num(), 1);
	EXPECT_TRUE(Unknown[0].Equals(TEXT("zz-NotACulture")));
}

TEST_F(CultureTest, CurrentCultureChangesOnlyToKnownCultures)
{
	ASSERT_TRUE(I18N.SetCurrentCulture(TEXT("fr_FR")));
	EXPECT_TRUE(I18N.GetCurrentCulture()->GetName().Equals(TEXT("fr-FR")));
	EXPECT_TRUE(I18N.GetCurrentLanguage()->GetName().Equals(TEXT("fr-FR")));
	EXPECT_TRUE(I18N.GetCurrentLocale()->GetName().Equals(TEXT("fr-FR")));

	EXPECT_FALSE(I18N.SetCurrentCulture(TEXT("zz-NotACulture")));
	EXPECT_TRUE(I18N.GetCurrentCulture()->GetName().Equals(TEXT("fr-FR")));

	ASSERT_TRUE(I18N.SetCurrentLocale(TEXT("de-DE")));
	EXPECT_TRUE(I18N.GetCurrentLanguage()->GetName().Equals(TEXT("fr-FR")));
	EXPECT_TRUE(I18N.GetCurrentLocale()->GetName().Equals(TEXT("de-DE")));

	EXPECT_FALSE(UE::Host::InitializeInternationalization(TEXT("zz-NotACulture")));
	EXPECT_TRUE(I18N.GetCurrentLanguage()->GetName().Equals(TEXT("en")));
	EXPECT_TRUE(UE::Host::InitializeInternationalization(TEXT("ja_JP")));
	EXPECT_TRUE(I18N.GetCurrentLanguage()->GetName().Equals(TEXT("ja-JP")));
	EXPECT_TRUE(I18N.GetCurrentLocale()->GetName().Equals(TEXT("ja-JP")));
}

TEST_F(CultureTest, DeferredCultureAppliesAtOnceOnceTheCatalogueExists)
{
	UE::Host::DeferInternationalization(TEXT("it_IT"));
	EXPECT_TRUE(I18N.GetCurrentLanguage()->GetName().Equals(TEXT("it-IT")));
	EXPECT_TRUE(I18N.GetCurrentLocale()->GetName().Equals(TEXT("it-IT")));
	UE::Host::DeferInternationalization(TEXT("zz-NotACulture"));
	EXPECT_TRUE(I18N.GetCurrentLanguage()->GetName().Equals(TEXT("en")));
}

TEST_F(CultureTest, SystemCultureComesFromTheLocaleEnvironment)
{
	{
		FScopedEnvironment All("LC_ALL", "fr_CA.UTF-8@euro");
		FScopedEnvironment Messages("LC_MESSAGES", "de_DE.UTF-8");
		EXPECT_TRUE(UE::Host::GetSystemCultureName().Equals(TEXT("fr_CA")));
	}
	{
		FScopedEnvironment All("LC_ALL", nullptr);
		FScopedEnvironment Messages("LC_MESSAGES", "");
		FScopedEnvironment Lang("LANG", "pt_BR@latin");
		EXPECT_TRUE(UE::Host::GetSystemCultureName().Equals(TEXT("pt_BR")));
	}
	{
		FScopedEnvironment All("LC_ALL", nullptr);
		FScopedEnvironment Messages("LC_MESSAGES", nullptr);
		FScopedEnvironment Lang("LANG", nullptr);
		EXPECT_TRUE(UE::Host::GetSystemCultureName().Equals(TEXT("en")));
	}
}
