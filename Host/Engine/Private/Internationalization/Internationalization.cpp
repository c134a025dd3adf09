#include "Internationalization/Internationalization.h"

#include "Containers/StringConv.h"
#include "Host/CultureName.h"
#include "Host/Internationalization.h"

#include <unicode/uloc.h>
#include <unicode/ures.h>

#include <cstdlib>
#include <mutex>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace UE::Host
{
	namespace
	{
		// Culture names are looked up ignoring (ASCII) case, without folding a copy first.
		struct FFoldedHash
		{
			using is_transparent = void;
			size_t operator()(std::u16string_view Name) const
			{
				uint64 Hash = 14695981039346656037ull;
				for (const char16_t C : Name)
				{
					Hash = (Hash ^ static_cast<uint64>(FChar::ToLower(C))) * 1099511628211ull;
				}
				return static_cast<size_t>(Hash);
			}
		};

		struct FFoldedEqual
		{
			using is_transparent = void;
			bool operator()(std::u16string_view A, std::u16string_view B) const
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
		};

		template<typename ValueType>
		using TFoldedMap = std::unordered_map<std::u16string, ValueType, FFoldedHash, FFoldedEqual>;
		using FFoldedSet = std::unordered_set<std::u16string, FFoldedHash, FFoldedEqual>;

		// Cultures outside the catalogue are cached up to this many; further ones are made per call,
		// so that callers inventing names cannot grow the cache without end.
		constexpr size_t MaxExtraCultures = 1024;

		bool HasIcuData(const std::string& IcuLocaleId)
		{
			UErrorCode Status = U_ZERO_ERROR;
			UResourceBundle* Bundle = ures_open(nullptr, IcuLocaleId.c_str(), &Status);
			if (Bundle)
			{
				ures_close(Bundle);
			}
			// A fallback to a parent ("en" for "en-ZZ") is data; one to the default locale is not.
			return U_SUCCESS(Status) && Status != U_USING_DEFAULT_WARNING;
		}

		// Whether the catalogue exists; until it does, the culture start-up chose waits here.
		bool GCatalogueBuilt = false;
		std::optional<FString> GPendingCulture;

		FString ReadLocaleEnvironment()
		{
			for (const char* Variable : {"LC_ALL", "LC_MESSAGES", "LANG"})
			{
				const char* Value = std::getenv(Variable);
				if (Value && *Value)
				{
					return Utf8ToString(Value);
				}
			}
			return FString();
		}
	}

	class FCultureCatalogue
	{
	public:
		FCultureCatalogue()
		{
			Build();
			Cultures.resize(Names.size());
		}

		void Initialize(const FString& CultureName)
		{
			FCulturePtr Culture = FindOrMake(CultureName);
			if (!Culture.IsValid())
			{
				Culture = FindOrMake(TEXT("en"));
			}
			std::lock_guard<std::mutex> Lock(Mutex);
			DefaultLanguage = Culture;
			DefaultLocale = Culture;
			CurrentLocale = Culture;
			SetCurrentLanguageLocked(Culture.ToSharedRef());
		}

		const std::vector<FString>& GetNames() const
		{
			return Names;
		}

		FCulturePtr FindOrMake(const FString& Name)
		{
			if (const auto Found = IndexByName.find(std::u16string_view(Name.GetStdString())); Found != IndexByName.end())
			{
				return GetByIndex(Found->second);
			}
			const FString Canonical = CultureName::Canonicalize(FStringView(Name));
			if (const auto Found = IndexByName.find(std::u16string_view(Canonical.GetStdString())); Found != IndexByName.end())
			{
				return GetByIndex(Found->second);
			}

			{
				std::lock_guard<std::mutex> Lock(Mutex);
				if (const auto Found = ExtraCultures.find(std::u16string_view(Canonical.GetStdString())); Found != ExtraCultures.end())
				{
					return Found->second;
				}
			}
			// ICU would read an id without a language as its root locale.
			const CultureName::FParts Parts = CultureName::Split(Canonical);
			if (Parts.Language.IsEmpty() || !HasIcuData(CultureName::ToIcuLocaleId(Parts)))
			{
				return FCulturePtr();
			}

			std::lock_guard<std::mutex> Lock(Mutex);
			FCultureRef Culture = MakeShared<FCulture>(Canonical, CurrentLanguageName());
			if (ExtraCultures.size() < MaxExtraCultures)
			{
				ExtraCultures.emplace(Canonical.GetStdString(), Culture);
			}
			return Culture;
		}

		TArray<FCultureRef> GetDerived(const TArray<FString>& RequestedNames)
		{
			FFoldedSet Requested;
			for (const FString& Name : RequestedNames)
			{
				Requested.insert(Name.GetStdString());
			}
			TArray<FCultureRef> Result;
			for (size_t Index = 0; Index < Names.size(); ++Index)
			{
				for (const FString& Parent : PrioritizedNames[Index])
				{
					if (Requested.find(std::u16string_view(Parent.GetStdString())) != Requested.end())
					{
						Result.Add(GetByIndex(Index).ToSharedRef());
						break;
					}
				}
			}
			return Result;
		}

		FCultureRef GetCurrentLanguage() const
		{
			std::lock_guard<std::mutex> Lock(Mutex);
			return CurrentLanguage.ToSharedRef();
		}

		FCultureRef GetCurrentLocale() const
		{
			std::lock_guard<std::mutex> Lock(Mutex);
			return CurrentLocale.ToSharedRef();
		}

		FCultureRef GetDefaultLanguage() const
		{
			std::lock_guard<std::mutex> Lock(Mutex);
			return DefaultLanguage.ToSharedRef();
		}

		FCultureRef GetDefaultLocale() const
		{
			std::lock_guard<std::mutex> Lock(Mutex);
			return DefaultLocale.ToSharedRef();
		}

		bool SetCurrent(const FString& Name, bool bLanguage, bool bLocale)
		{
			const FCulturePtr Culture = FindOrMake(Name);
			if (!Culture.IsValid())
			{
				return false;
			}
			std::lock_guard<std::mutex> Lock(Mutex);
			if (bLocale)
			{
				CurrentLocale = Culture;
			}
			if (bLanguage)
			{
				SetCurrentLanguageLocked(Culture.ToSharedRef());
			}
			return true;
		}

	private:
		void Build()
		{
			const auto Add = [this](const FString& Name)
			{
				if (!Name.IsEmpty() && IndexByName.emplace(Name.GetStdString(), Names.size()).second)
				{
					Names.push_back(Name);
					PrioritizedNames.push_back(CultureName::GetPrioritizedNames(Name));
				}
			};

			// The variant of an available locale is not a form of its own; en-US-POSIX is added below.
			const int32_t AvailableCount = uloc_countAvailable();
			for (int32_t Index = 0; Index < AvailableCount; ++Index)
			{
				const char* LocaleId = uloc_getAvailable(Index);
				char Language[ULOC_LANG_CAPACITY] = {};
				char Script[ULOC_SCRIPT_CAPACITY] = {};
				char Region[ULOC_COUNTRY_CAPACITY] = {};
				UErrorCode Status = U_ZERO_ERROR;
				uloc_getLanguage(LocaleId, Language, ULOC_LANG_CAPACITY, &Status);
				uloc_getScript(LocaleId, Script, ULOC_SCRIPT_CAPACITY, &Status);
				uloc_getCountry(LocaleId, Region, ULOC_COUNTRY_CAPACITY, &Status);
				if (U_FAILURE(Status) || !*Language)
				{
					continue;
				}
				const FString LanguageName(Language);
				Add(LanguageName);
				if (*Region)
				{
					Add(LanguageName + TEXT("-") + FString(Region));
				}
				if (*Script)
				{
					Add(LanguageName + TEXT("-") + FString(Script));
				}
				if (*Script && *Region)
				{
					Add(LanguageName + TEXT("-") + FString(Script) + TEXT("-") + FString(Region));
				}
			}

			for (const char* const* Language = uloc_getISOLanguages(); Language && *Language; ++Language)
			{
				if (std::string_view(*Language).size() == 2)
				{
					Add(FString(*Language));
				}
			}

			Add(TEXT("en-US-POSIX"));
		}

		FCulturePtr GetByIndex(size_t Index)
		{
			std::lock_guard<std::mutex> Lock(Mutex);
			if (!Cultures[Index].IsValid())
			{
				Cultures[Index] = MakeShared<FCulture>(Names[Index], CurrentLanguageName());
			}
			return Cultures[Index];
		}

		FString CurrentLanguageName() const
		{
			return CurrentLanguage.IsValid() ? CurrentLanguage->GetName() : FString(TEXT("en"));
		}

		void SetCurrentLanguageLocked(const FCultureRef& Culture)
		{
			const bool bChanged = !CurrentLanguage.IsValid() || !CurrentLanguage->GetName().Equals(Culture->GetName());
			CurrentLanguage = Culture;
			if (!bChanged)
			{
				return;
			}
			for (const FCulturePtr& Existing : Cultures)
			{
				if (Existing.IsValid())
				{
					Existing->HandleCultureChanged(Culture->GetName());
				}
			}
			for (const auto& [Name, Existing] : ExtraCultures)
			{
				Existing->HandleCultureChanged(Culture->GetName());
			}
		}

		// Built once; read without the lock.
		std::vector<FString> Names;
		std::vector<TArray<FString>> PrioritizedNames;
		TFoldedMap<size_t> IndexByName;

		mutable std::mutex Mutex;
		std::vector<FCulturePtr> Cultures;
		TFoldedMap<FCultureRef> ExtraCultures;
		FCulturePtr DefaultLanguage;
		FCulturePtr DefaultLocale;
		FCulturePtr CurrentLanguage;
		FCulturePtr CurrentLocale;
	};

	FString GetSystemCultureName()
	{
		FString Name = ReadLocaleEnvironment();
		// "fr_FR.UTF-8@euro": neither the codeset nor the modifier is part of the culture.
		int32 Cut = INDEX_NONE;
		if (Name.FindChar(TEXT('.'), Cut) || Name.FindChar(TEXT('@'), Cut))
		{
			Name.LeftInline(Cut);
		}
		return Name.IsEmpty() ? FString(TEXT("en")) : Name;
	}

	namespace
	{
		bool ApplyCulture(FInternationalization& I18N, const FString& CultureName)
		{
			const FString Requested = CultureName.IsEmpty() ? GetSystemCultureName() : CultureName;
			const bool bResolved = I18N.GetCulture(Requested).IsValid();
			I18N.SetCurrentLanguageAndLocale(bResolved ? Requested : FString(TEXT("en")));
			return bResolved;
		}
	}

	bool InitializeInternationalization(const FString& CultureName)
	{
		return ApplyCulture(FInternationalization::Get(), CultureName);
	}

	void DeferInternationalization(const FString& CultureName)
	{
		if (GCatalogueBuilt)
		{
			InitializeInternationalization(CultureName);
			return;
		}
		GPendingCulture = CultureName;
	}
}

FInternationalization& FInternationalization::Get()
{
	static FInternationalization Instance;
	return Instance;
}

FInternationalization::FInternationalization()
	: Catalogue(std::make_unique<UE::Host::FCultureCatalogue>())
{
	Catalogue->Initialize(UE::Host::GetSystemCultureName());
	UE::Host::GCatalogueBuilt = true;
	if (UE::Host::GPendingCulture)
	{
		UE::Host::ApplyCulture(*this, *UE::Host::GPendingCulture);
		UE::Host::GPendingCulture.reset();
	}
}

FInternationalization::~FInternationalization() = default;

void FInternationalization::GetCultureNames(TArray<FString>& CultureNames) const
{
	const std::vector<FString>& Names = Catalogue->GetNames();
	CultureNames.Reset();
	CultureNames.Reserve(static_cast<int32>(Names.size()));
	for (const FString& Name : Names)
	{
		CultureNames.Add(Name);
	}
}

FCulturePtr FInternationalization::GetCulture(const FString& InCultureName)
{
	return Catalogue->FindOrMake(InCultureName);
}

TArray<FCultureRef> FInternationalization::GetAvailableCultures(const TArray<FString>& InCultureNames, const bool bIncludeDerivedCultures)
{
	if (bIncludeDerivedCultures)
	{
		return Catalogue->GetDerived(InCultureNames);
	}
	TArray<FCultureRef> Result;
	for (const FString& Name : InCultureNames)
	{
		const FCulturePtr Culture = GetCulture(Name);
		if (!Culture.IsValid())
		{
			continue;
		}
		bool bAlreadyAdded = false;
		for (const FCultureRef& Added : Result)
		{
			bAlreadyAdded |= Added.Get().GetName().Equals(Culture->GetName());
		}
		if (!bAlreadyAdded)
		{
			Result.Add(Culture.ToSharedRef());
		}
	}
	return Result;
}

TArray<FString> FInternationalization::GetPrioritizedCultureNames(const FString& Name)
{
	const FCulturePtr Culture = GetCulture(Name);
	if (!Culture.IsValid())
	{
		TArray<FString> Names;
		Names.Add(Name);
		return Names;
	}
	return Culture->GetPrioritizedParentCultureNames();
}

FCultureRef FInternationalization::GetCurrentLanguage() const
{
	return Catalogue->GetCurrentLanguage();
}

FCultureRef FInternationalization::GetCurrentLocale() const
{
	return Catalogue->GetCurrentLocale();
}

FCultureRef FInternationalization::GetDefaultLanguage() const
{
	return Catalogue->GetDefaultLanguage();
}

FCultureRef FInternationalization::GetDefaultLocale() const
{
	return Catalogue->GetDefaultLocale();
}

bool FInternationalization::SetCurrentCulture(const FString& InCultureName)
{
	return Catalogue->SetCurrent(InCultureName, true, true);
}

bool FInternationalization::SetCurrentLanguage(const FString& InCultureName)
{
	return Catalogue->SetCurrent(InCultureName, true, false);
}

bool FInternationalization::SetCurrentLocale(const FString& InCultureName)
{
	return Catalogue->SetCurrent(InCultureName, false, true);
}

bool FInternationalization::SetCurrentLanguageAndLocale(const FString& InCultureName)
{
	return Catalogue->SetCurrent(InCultureName, true, true);
}
