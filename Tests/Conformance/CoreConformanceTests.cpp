// Module Core: strings, containers, paths, files, config cache, console variables, logging,
// modules and internationalization, as the engine declares them.
#include "ConformanceSupport.h"

#include "CoreMinimal.h"
#include "CoreGlobals.h"
#include "Containers/StringConv.h"
#include "HAL/FileManager.h"
#include "HAL/IConsoleManager.h"
#include "HAL/PlatformFileManager.h"
#include "HAL/PlatformProperties.h"
#include "GenericPlatform/GenericPlatformFile.h"
#include "Internationalization/Culture.h"
#include "Internationalization/Internationalization.h"
#include "Internationalization/StringTableCore.h"
#include "Internationalization/TextKey.h"
#include "Misc/ConfigCacheIni.h"
#include "Misc/FileHelper.h"
#include "Misc/OutputDevice.h"
#include "Misc/OutputDeviceRedirector.h"
#include "Misc/Paths.h"
#include "Modules/ModuleInterface.h"

#include <gtest/gtest.h>

namespace CoreConformance
{
	// FString
	CHECK_ENGINE_DECL(FString::IsEmpty, bool (FString::*)() const);
	CHECK_ENGINE_DECL(FString::Len, int32 (FString::*)() const);
	CHECK_ENGINE_OVERLOAD(FString::Empty, void (FString::*)());
	CHECK_ENGINE_OVERLOAD(FString::Empty, void (FString::*)(int32));
	CHECK_ENGINE_OVERLOAD(FString::Left, FString (FString::*)(int32) const&);
	CHECK_ENGINE_OVERLOAD(FString::Left, FString (FString::*)(int32) &&);
	// Two overloads, not a defaulted count.
	CHECK_ENGINE_OVERLOAD(FString::Mid, FString (FString::*)(int32, int32) const&);
	CHECK_ENGINE_OVERLOAD(FString::Mid, FString (FString::*)(int32) const&);
	CHECK_ENGINE_OVERLOAD(FString::Mid, FString (FString::*)(int32, int32) &&);
	CHECK_ENGINE_OVERLOAD(FString::Mid, FString (FString::*)(int32) &&);
	CHECK_ENGINE_OVERLOAD(FString::AppendChar, FString& (FString::*)(TCHAR));
	CHECK_ENGINE_OVERLOAD(FString::LeftChopInline, void (FString::*)(int32, EAllowShrinking));
	CHECK_ENGINE_OVERLOAD(FString::RightChopInline, void (FString::*)(int32, EAllowShrinking));
	CHECK_ENGINE_OVERLOAD(FString::Contains, bool (FString::*)(const TCHAR*, ESearchCase::Type, ESearchDir::Type) const);
	CHECK_ENGINE_OVERLOAD(FString::Contains, bool (FString::*)(const FString&, ESearchCase::Type, ESearchDir::Type) const);
	CHECK_ENGINE_OVERLOAD(FString::StartsWith, bool (FString::*)(const TCHAR*, ESearchCase::Type) const);
	CHECK_ENGINE_OVERLOAD(FString::StartsWith, bool (FString::*)(const FString&, ESearchCase::Type) const);
	CHECK_ENGINE_OVERLOAD(FString::EndsWith, bool (FString::*)(const TCHAR*, ESearchCase::Type) const);
	CHECK_ENGINE_OVERLOAD(FString::EndsWith, bool (FString::*)(const FString&, ESearchCase::Type) const);
	CHECK_ENGINE_DECL(FString::FindChar, bool (FString::*)(TCHAR, int32&) const);
	CHECK_ENGINE_DECL(FString::FindLastChar, bool (FString::*)(TCHAR, int32&) const);
	CHECK_ENGINE_DECL(FString::Equals, bool (FString::*)(const FString&, ESearchCase::Type) const);
	CHECK_ENGINE_OVERLOAD(FString::ToLower, FString (FString::*)() const&);
	CHECK_ENGINE_OVERLOAD(FString::ToLower, FString (FString::*)() &&);
	CHECK_ENGINE_OVERLOAD(FString::TrimStartAndEnd, FString (FString::*)() const&);
	CHECK_ENGINE_OVERLOAD(FString::TrimStartAndEnd, FString (FString::*)() &&);
	CHECK_ENGINE_DECL(FString::TrimStartAndEndInline, void (FString::*)());
	CHECK_ENGINE_DECL(FString::ParseIntoArrayLines, int32 (FString::*)(TArray<FString>&, bool) const);
	CHECK_ENGINE_OVERLOAD(FString::operator*, const TCHAR* (FString::*)() const);
	// The format is taken as the literal array itself.
	static_assert(std::is_same_v<decltype(&FString::Printf<TCHAR[3], int32>), FString (*)(const TCHAR (&)[3], int32)>);
	CHECK_ENGINE_DECL(FString::Join<TArray<FString>>, FString (*)(const TArray<FString>&, const TCHAR*));
	static_assert(ESearchCase::CaseSensitive == 0 && ESearchCase::IgnoreCase == 1);
	static_assert(ESearchDir::FromStart == 0 && ESearchDir::FromEnd == 1);
	static_assert(std::is_same_v<std::underlying_type_t<EAllowShrinking>, uint8>);
	static_assert(!std::is_convertible_v<EAllowShrinking, int>, "EAllowShrinking is an enum class");
	static_assert(static_cast<uint8>(EAllowShrinking::No) == 0 && static_cast<uint8>(EAllowShrinking::Yes) == 1);
	static_assert(INDEX_NONE == -1 && MAX_int32 == 0x7fffffff);
	static_assert(std::is_same_v<TCHAR, char16_t>);
	static_assert(std::is_same_v<decltype(TEXT("ab")), const char16_t (&)[3]>);
	static_assert(WITH_DEV_AUTOMATION_TESTS == 1);

	static_assert(std::is_same_v<decltype(ANSI_TO_TCHAR("Linux")), TCHAR*>);
	static_assert(requires(FString Text) { { MoveTemp(Text) } -> std::same_as<FString&&>; });

	// Templates the module leans on.
	using FTable = TMap<FString, TArray<FString>>;
	static_assert(requires(FTable Table, const FTable& ConstTable, const FString& Key) {
		{ Table.Find(Key) } -> std::same_as<TArray<FString>*>;
		{ ConstTable.Find(Key) } -> std::same_as<const TArray<FString>*>;
		{ Table.FindOrAdd(Key) } -> std::same_as<TArray<FString>&>;
		{ ConstTable.Contains(Key) } -> std::same_as<bool>;
	});
	static_assert(std::is_same_v<decltype(MakeShared<FString>()), TSharedRef<FString>>);
	static_assert(std::is_same_v<decltype(FMath::Min<int64>(1, 2)), int64>);
	static_assert(std::is_same_v<decltype(MakeTuple(1, FString())), TTuple<int, FString>>);
	static_assert(std::is_same_v<decltype(TPair<FString, int32>().Key), FString> && std::is_same_v<decltype(TPair<FString, int32>().Value), int32>);

	// TArray
	using FStrings = TArray<FString>;
	struct FPredicate
	{
		bool operator()(const FString&) const { return true; }
	};
	CHECK_ENGINE_OVERLOAD(FStrings::Pop, FString (FStrings::*)(EAllowShrinking));
	CHECK_ENGINE_OVERLOAD(FStrings::SetNum, void (FStrings::*)(int32, EAllowShrinking));
	CHECK_ENGINE_OVERLOAD(FStrings::RemoveAt<int32>, void (FStrings::*)(int32, int32, EAllowShrinking));
	CHECK_ENGINE_DECL(FStrings::Reset, void (FStrings::*)(int32));
	CHECK_ENGINE_DECL(FStrings::Reserve, void (FStrings::*)(int32));
	CHECK_ENGINE_OVERLOAD(FStrings::AddDefaulted, int32 (FStrings::*)());
	CHECK_ENGINE_OVERLOAD(FStrings::FindByPredicate<FPredicate>, FString* (FStrings::*)(FPredicate));
	CHECK_ENGINE_OVERLOAD(FStrings::FindByPredicate<FPredicate>, const FString* (FStrings::*)(FPredicate) const);
	CHECK_ENGINE_OVERLOAD(FStrings::Sort<FPredicate>, void (FStrings::*)(const FPredicate&));

	CHECK_ENGINE_DECL(FChar::IsUpper, bool (*)(TCHAR));
	CHECK_ENGINE_OVERLOAD(FName::ToString, FString (FName::*)() const);
	static_assert(std::is_constructible_v<FName, const TCHAR*>);

	// String conversion: constructed from a pointer (explicitly) or a pointer and a length, not copied.
	static_assert(std::is_constructible_v<FTCHARToUTF8, const TCHAR*, int32>);
	static_assert(std::is_constructible_v<FTCHARToUTF8, const TCHAR*> && !std::is_convertible_v<const TCHAR*, FTCHARToUTF8>);
	static_assert(!std::is_copy_constructible_v<FTCHARToUTF8>);
	CHECK_ENGINE_DECL(FTCHARToUTF8::Length, int32 (FTCHARToUTF8::*)() const);
	static_assert(sizeof(*std::declval<const FTCHARToUTF8&>().Get()) == 1, "Get yields UTF-8 code units");

	// Logging and modules
	CHECK_ENGINE_DECL(FLogCategoryBase::GetVerbosity, ELogVerbosity::Type (FLogCategoryBase::*)() const);
	static_assert(ELogVerbosity::NoLogging == 0 && ELogVerbosity::Fatal == 1 && ELogVerbosity::Error == 2 && ELogVerbosity::Warning == 3
		&& ELogVerbosity::Display == 4 && ELogVerbosity::Log == 5 && ELogVerbosity::Verbose == 6 && ELogVerbosity::VeryVerbose == 7);
	static_assert(ELogVerbosity::VerbosityMask == 0xf);
	// The log's devices: the module listens on GLog while it persists a property.
	static_assert(std::is_same_v<decltype(GLog), FOutputDeviceRedirector*>);
	static_assert(std::is_abstract_v<FOutputDevice> && std::is_base_of_v<FOutputDevice, FOutputDeviceRedirector>);
	CHECK_ENGINE_OVERLOAD(FOutputDevice::Serialize, void (FOutputDevice::*)(const TCHAR*, ELogVerbosity::Type, const FName&));
	CHECK_ENGINE_OVERLOAD(FOutputDevice::Serialize, void (FOutputDevice::*)(const TCHAR*, ELogVerbosity::Type, const FName&, const double));
	CHECK_ENGINE_DECL(FOutputDevice::CanBeUsedOnAnyThread, bool (FOutputDevice::*)() const);
	CHECK_ENGINE_DECL(FOutputDeviceRedirector::AddOutputDevice, void (FOutputDeviceRedirector::*)(FOutputDevice*));
	CHECK_ENGINE_DECL(FOutputDeviceRedirector::RemoveOutputDevice, void (FOutputDeviceRedirector::*)(FOutputDevice*));
	static_assert(requires(FOutputDeviceRedirector* Log) { Log->Flush(); });
	CHECK_ENGINE_DECL(IModuleInterface::StartupModule, void (IModuleInterface::*)());
	CHECK_ENGINE_DECL(IModuleInterface::ShutdownModule, void (IModuleInterface::*)());
	static_assert(std::has_virtual_destructor_v<IModuleInterface>);

	// Paths
	CHECK_ENGINE_DECL(FPaths::EngineConfigDir, FString (*)());
	CHECK_ENGINE_DECL(FPaths::ProjectConfigDir, FString (*)());
	CHECK_ENGINE_DECL(FPaths::ProjectSavedDir, const FString& (*)());
	CHECK_ENGINE_DECL(FPaths::GeneratedConfigDir, FString (*)());
	// Relative get_section paths and the cache's spelling of a category.
	CHECK_ENGINE_DECL(FPaths::ProjectDir, FString (*)());
	CHECK_ENGINE_OVERLOAD(FPaths::IsRelative, bool (*)(const FString&));
	CHECK_ENGINE_OVERLOAD(FPaths::GetBaseFilename, FString (*)(const FString&, bool));
	CHECK_ENGINE_DECL(FPaths::FileExists, bool (*)(const FString&));
	CHECK_ENGINE_DECL(FPaths::DirectoryExists, bool (*)(const FString&));
	CHECK_ENGINE_OVERLOAD(FPaths::ConvertRelativePathToFull, FString (*)(const FString&));
	CHECK_ENGINE_OVERLOAD(FPaths::ConvertRelativePathToFull, FString (*)(FString&&));
	CHECK_ENGINE_OVERLOAD(FPaths::ConvertRelativePathToFull, FString (*)(const FString&, const FString&));
	CHECK_ENGINE_OVERLOAD(FPaths::ConvertRelativePathToFull, FString (*)(const FString&, FString&&));
	CHECK_ENGINE_OVERLOAD(FPaths::ConvertRelativePathToFull, FString (*)(FString&&, const FString&));
	CHECK_ENGINE_OVERLOAD(FPaths::ConvertRelativePathToFull, FString (*)(FString&&, FString&&));
	// Variadic: two and three parts.
	static_assert(std::is_same_v<decltype(&FPaths::Combine<FString, const TCHAR (&)[7]>), FString (*)(FString&&, const TCHAR (&)[7])>);
	static_assert(std::is_same_v<decltype(&FPaths::Combine<const FString&, const TCHAR*, FString>), FString (*)(const FString&, const TCHAR*&&, FString&&)>);

	// Platform, files
	CHECK_ENGINE_DECL(FPlatformProperties::PlatformName, const char* (*)());
	CHECK_ENGINE_DECL(IFileManager::Get, IFileManager& (*)());
	CHECK_ENGINE_OVERLOAD(IFileManager::FindFiles, void (IFileManager::*)(TArray<FString>&, const TCHAR*, bool, bool));
	CHECK_ENGINE_OVERLOAD(IFileManager::FindFiles, void (IFileManager::*)(TArray<FString>&, const TCHAR*, const TCHAR*));
	CHECK_ENGINE_DECL(IFileManager::FileSize, int64 (IFileManager::*)(const TCHAR*));
	static_assert(std::is_abstract_v<IFileManager>);
	CHECK_ENGINE_DECL(FPlatformFileManager::Get, FPlatformFileManager& (*)());
	CHECK_ENGINE_OVERLOAD(FPlatformFileManager::GetPlatformFile, IPlatformFile& (FPlatformFileManager::*)());
	CHECK_ENGINE_DECL(IPlatformFile::FileExists, bool (IPlatformFile::*)(const TCHAR*));
	CHECK_ENGINE_DECL(IPlatformFile::IsReadOnly, bool (IPlatformFile::*)(const TCHAR*));
	CHECK_ENGINE_DECL(IPlatformFile::SetReadOnly, bool (IPlatformFile::*)(const TCHAR*, bool));
	CHECK_ENGINE_OVERLOAD(FFileHelper::LoadFileToString, bool (*)(FString&, const TCHAR*, FFileHelper::EHashOptions, uint32));

	// Config cache
	static_assert(std::is_same_v<decltype(GConfig), FConfigCacheIni*>);
	CHECK_ENGINE_DECL(FConfigCacheIni::GetString, bool (FConfigCacheIni::*)(const TCHAR*, const TCHAR*, FString&, const FString&));
	CHECK_ENGINE_OVERLOAD(FConfigCacheIni::GetSection, bool (FConfigCacheIni::*)(const TCHAR*, TArray<FString>&, const FString&));
	CHECK_ENGINE_OVERLOAD(FConfigCacheIni::GetSection, const FConfigSection* (FConfigCacheIni::*)(const TCHAR*, const bool, const FString&));
	CHECK_ENGINE_DECL(FConfigCacheIni::GetConfigFilename, FString (FConfigCacheIni::*)(const TCHAR*));
	CHECK_ENGINE_DECL(FConfigCacheIni::GetSectionNames, bool (FConfigCacheIni::*)(const FString&, TArray<FString>&));

	// Console variables: a plain enum, and the module's call form of Set.
	static_assert(std::is_enum_v<EConsoleVariableFlags> && std::is_convertible_v<EConsoleVariableFlags, int>);
	static_assert(ECVF_ReadOnly == 0x4 && static_cast<uint32>(ECVF_SetByMask) == 0xff000000u);
	static_assert(static_cast<uint32>(ECVF_SetByProjectSetting) == 0x04000000u);
	CHECK_ENGINE_DECL(IConsoleManager::Get, IConsoleManager& (*)());
	CHECK_ENGINE_DECL(IConsoleManager::FindConsoleVariable, IConsoleVariable* (IConsoleManager::*)(const TCHAR*, bool) const);
	CHECK_ENGINE_DECL(IConsoleObject::GetFlags, EConsoleVariableFlags (IConsoleObject::*)() const);
	CHECK_ENGINE_DECL(IConsoleVariable::GetString, FString (IConsoleVariable::*)() const);
	static_assert(requires(IConsoleVariable* Variable) { Variable->Set(TEXT("1"), static_cast<EConsoleVariableFlags>(0x04000000), NAME_None); });
	static_assert(std::is_base_of_v<IConsoleObject, IConsoleVariable>);

	// Internationalization
	CHECK_ENGINE_DECL(FInternationalization::Get, FInternationalization& (*)());
	CHECK_ENGINE_DECL(FInternationalization::GetCurrentLanguage, FCultureRef (FInternationalization::*)() const);
	CHECK_ENGINE_DECL(FInternationalization::GetCurrentLocale, FCultureRef (FInternationalization::*)() const);
	CHECK_ENGINE_DECL(FInternationalization::GetCulture, FCulturePtr (FInternationalization::*)(const FString&));
	CHECK_ENGINE_DECL(FInternationalization::GetCultureNames, void (FInternationalization::*)(TArray<FString>&) const);
	CHECK_ENGINE_DECL(FInternationalization::GetAvailableCultures, TArray<FCultureRef> (FInternationalization::*)(const TArray<FString>&, bool));
	static_assert(std::is_same_v<FCulturePtr, TSharedPtr<FCulture, ESPMode::ThreadSafe>>);
	static_assert(std::is_same_v<FCultureRef, TSharedRef<FCulture, ESPMode::ThreadSafe>>);
	CHECK_ENGINE_DECL(FCulture::GetName, const FString& (FCulture::*)() const);
	CHECK_ENGINE_DECL(FCulture::GetNativeName, const FString& (FCulture::*)() const);
	CHECK_ENGINE_DECL(FCulture::GetEnglishName, const FString& (FCulture::*)() const);
	CHECK_ENGINE_DECL(FCulture::GetDisplayName, const FString& (FCulture::*)() const);
	CHECK_ENGINE_DECL(FCulture::GetTwoLetterISOLanguageName, const FString& (FCulture::*)() const);
	CHECK_ENGINE_DECL(FCulture::GetThreeLetterISOLanguageName, const FString& (FCulture::*)() const);

	// StringTables (the Core half)
	static_assert(std::is_constructible_v<FTextKey, FStringView> && std::is_constructible_v<FTextKey, const TCHAR*>
		&& std::is_constructible_v<FTextKey, const FString&> && std::is_default_constructible_v<FTextKey>);
	CHECK_ENGINE_OVERLOAD(FTextKey::ToString, void (FTextKey::*)(FString&) const);
	static_assert(std::is_same_v<FStringTableRef, TSharedRef<FStringTable, ESPMode::ThreadSafe>>);
	static_assert(std::is_same_v<FStringTableConstRef, TSharedRef<const FStringTable, ESPMode::ThreadSafe>>);
	static_assert(std::is_base_of_v<TSharedFromThis<FStringTable, ESPMode::ThreadSafe>, FStringTable>);
	CHECK_ENGINE_DECL(FStringTable::GetNamespace, FString (FStringTable::*)() const);
	CHECK_ENGINE_OVERLOAD(FStringTable::IsInternal, bool (FStringTable::*)() const);
	CHECK_ENGINE_DECL(FStringTable::GetSourceString, bool (FStringTable::*)(const FTextKey&, FString&) const);
	CHECK_ENGINE_OVERLOAD(FStringTable::SetSourceString, void (FStringTable::*)(const FTextKey&, const FString&));
	CHECK_ENGINE_OVERLOAD(FStringTable::EnumerateKeysAndSourceStrings,
		void (FStringTable::*)(const TFunctionRef<bool(const FTextKey&, const FString&)>&) const);
	CHECK_ENGINE_DECL(FStringTable::SetMetaData, void (FStringTable::*)(const FTextKey&, const FName, const FString&));
	CHECK_ENGINE_DECL(FStringTable::EnumerateMetaData, void (FStringTable::*)(const FTextKey&, const TFunctionRef<bool(FName, const FString&)>&) const);
}

TEST(CoreConformance, ProjectSavedDirIsOneStringThatFollowsTheProject)
{
	const FString& First = FPaths::ProjectSavedDir();
	const FString& Second = FPaths::ProjectSavedDir();
	EXPECT_EQ(&First, &Second);
	EXPECT_TRUE(First.EndsWith(TEXT("Saved/"), ESearchCase::CaseSensitive));
}

// Defaults are not part of a type; these show the engine's ones where they change a result.
TEST(CoreConformance, StringDefaultsSearchIgnoringCaseAndCompareExactly)
{
	const FString Text(TEXT("BaseEngine.ini"));
	EXPECT_TRUE(Text.Contains(TEXT("engine")));
	EXPECT_TRUE(Text.StartsWith(TEXT("base")));
	EXPECT_TRUE(Text.EndsWith(TEXT(".INI")));
	EXPECT_FALSE(Text.Equals(TEXT("baseengine.ini")));
	EXPECT_TRUE(Text == TEXT("baseengine.ini"));

	TArray<FString> Lines = {TEXT("stale")};
	EXPECT_EQ(FString(TEXT("a\n\nb\r\n")).ParseIntoArrayLines(Lines), 2);
	EXPECT_EQ(Lines.Num(), 2);

	int32 Index = 7;
	EXPECT_FALSE(Text.FindChar(TEXT('#'), Index));
	EXPECT_EQ(Index, INDEX_NONE);
	EXPECT_TRUE(Text.Mid(4).Equals(TEXT("Engine.ini")));
	EXPECT_TRUE(Text.Mid(20, 3).IsEmpty());
}
