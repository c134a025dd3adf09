// Objects made at run time, their names and paths, and the path types that point at them.
#include "Engine/RendererSettings.h"
#include "GameMapsSettings.h"
#include "Host/ReflectionBuilder.h"
#include "HostTestSettings.h"
#include "SettingsTestSupport.h"
#include "Templates/Casts.h"
#include "UObject/Package.h"
#include "UObject/SoftObjectPath.h"
#include "UObject/TopLevelAssetPath.h"

using ObjectRegistry = FSettingsTest;

TEST_F(ObjectRegistry, NewObjectsGetUniqueNamesInTheirOuter)
{
	UPackage* Package = CreatePackage(TEXT("/Game/Registry/Names"));
	EXPECT_EQ(CreatePackage(TEXT("/Game/Registry/Names")), Package);
	EXPECT_EQ(FindPackage(nullptr, TEXT("/Game/Registry/Names")), Package);
	EXPECT_EQ(CreatePackage(TEXT("")), nullptr);

	UHostTestSettings* First = NewObject<UHostTestSettings>(Package);
	UHostTestSettings* Second = NewObject<UHostTestSettings>(Package);
	ASSERT_TRUE(First && Second);
	EXPECT_EQ(U8(First->GetName()), "HostTestSettings_0");
	EXPECT_EQ(U8(Second->GetName()), "HostTestSettings_1");
	EXPECT_EQ(U8(Second->GetPathName()), "/Game/Registry/Names.HostTestSettings_1");
	EXPECT_EQ(First->GetOutermost(), Package);

	UHostTestSettings* Named = NewObject<UHostTestSettings>(Package, FName(TEXT("Chosen")));
	ASSERT_NE(Named, nullptr);
	// The same path twice is refused, not replaced.
	EXPECT_EQ(NewObject<UHostTestSettings>(Package, FName(TEXT("Chosen"))), nullptr);
	EXPECT_EQ(FindObject<UHostTestSettings>(Package, TEXT("Chosen")), Named);
	EXPECT_EQ(FindObject<UHostTestSettings>(Package, TEXT("chosen")), Named);
	EXPECT_EQ(FindObject<URendererSettings>(Package, TEXT("Chosen")), nullptr);
	EXPECT_EQ(FindFirstObject<UHostTestSettings>(TEXT("Chosen")), Named);

	// Without an outer an object lands in the transient package.
	UHostTestSettings* Loose = NewObject<UHostTestSettings>();
	ASSERT_NE(Loose, nullptr);
	EXPECT_EQ(Loose->GetOuter(), GetTransientPackage());
	EXPECT_EQ(U8(GetTransientPackage()->GetName()), "/Engine/Transient");
}

TEST_F(ObjectRegistry, AbstractAndFactorylessClassesCannotBeInstantiated)
{
	EXPECT_EQ(NewObject<UDeveloperSettings>(), nullptr);
	UClass* Bare = NewObject<UClass>(CreatePackage(TEXT("/Game/Registry/Bare")), FName(TEXT("Bare")));
	ASSERT_NE(Bare, nullptr);
	EXPECT_EQ(NewObject<UObject>(GetTransientPackage(), Bare), nullptr);
	EXPECT_EQ(Bare->GetDefaultObject(), nullptr);
	// The abstract class still has its default object, as in the engine.
	EXPECT_NE(UDeveloperSettings::StaticClass()->GetDefaultObject(), nullptr);
}

TEST_F(ObjectRegistry, SubobjectPathsUseAColonBelowTheFirstObject)
{
	UPackage* Package = CreatePackage(TEXT("/Game/Maps/Main"));
	UHostTestSettings* Top = NewObject<UHostTestSettings>(Package, FName(TEXT("Main")));
	UHostTestSettings* Inner = NewObject<UHostTestSettings>(Top, FName(TEXT("PersistentLevel")));
	UHostTestSettings* Deeper = NewObject<UHostTestSettings>(Inner, FName(TEXT("Actor")));
	ASSERT_TRUE(Top && Inner && Deeper);
	EXPECT_EQ(U8(Inner->GetPathName()), "/Game/Maps/Main.Main:PersistentLevel");
	EXPECT_EQ(U8(Deeper->GetPathName()), "/Game/Maps/Main.Main:PersistentLevel.Actor");
	EXPECT_EQ(U8(Deeper->GetPathName(Top)), "PersistentLevel.Actor");
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Game/Maps/Main.Main:PersistentLevel.Actor")), Deeper);
	EXPECT_EQ(StaticFindObject(nullptr, Top, TEXT("PersistentLevel.Actor")), Deeper);
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("HostTestSettings'/Game/Maps/Main.Main:PersistentLevel'")), Inner);
	EXPECT_EQ(Deeper->GetTypedOuter<UPackage>(), Package);
	EXPECT_EQ(Deeper->GetTypedOuter<UHostTestSettings>(), Inner);
	EXPECT_TRUE(Deeper->IsIn(Top));
	EXPECT_FALSE(Top->IsIn(Deeper));

	// Soft paths resolve to what is loaded and nothing else.
	EXPECT_EQ(FSoftObjectPath(TEXT("/Game/Maps/Main.Main:PersistentLevel")).ResolveObject(), Inner);
	EXPECT_EQ(FSoftObjectPath(Deeper).ToString().Equals(TEXT("/Game/Maps/Main.Main:PersistentLevel.Actor")), true);
	EXPECT_EQ(FSoftObjectPath(TEXT("/Game/Maps/Other.Other")).ResolveObject(), nullptr);
	EXPECT_EQ(FSoftClassPath(TEXT("/Script/Engine.RendererSettings")).ResolveClass(), URendererSettings::StaticClass());
	EXPECT_EQ(FSoftClassPath(TEXT("/Game/Maps/Main.Main")).ResolveClass(), nullptr);
	EXPECT_EQ(U8(FSoftClassPath(UGameMapsSettings::StaticClass()).ToString()), "/Script/EngineSettings.GameMapsSettings");
}

TEST_F(ObjectRegistry, AmbiguousShortNamesPickTheFirstAndCanSayWhy)
{
	UHostTestSettings* A = NewObject<UHostTestSettings>(CreatePackage(TEXT("/Game/Ambiguous/A")), FName(TEXT("Twin")));
	UHostTestSettings* B = NewObject<UHostTestSettings>(CreatePackage(TEXT("/Game/Ambiguous/B")), FName(TEXT("Twin")));
	ASSERT_TRUE(A && B);
	EXPECT_EQ(StaticFindFirstObject(UHostTestSettings::StaticClass(), TEXT("Twin")), A);
	EXPECT_EQ(StaticFindFirstObject(UHostTestSettings::StaticClass(), TEXT("Twin"), EFindFirstObjectOptions::None, ELogVerbosity::Warning, TEXT("test")), A);
	EXPECT_EQ(StaticFindFirstObject(UHostTestSettings::StaticClass(), TEXT("/Game/Ambiguous/B.Twin")), B);
	// Class filters apply before the choice: neither is a renderer settings object.
	EXPECT_EQ(StaticFindFirstObject(URendererSettings::StaticClass(), TEXT("Twin")), nullptr);
	EXPECT_EQ(StaticFindFirstObject(UDeveloperSettings::StaticClass(), TEXT("Twin")), A);
	EXPECT_EQ(StaticFindFirstObject(UDeveloperSettings::StaticClass(), TEXT("Twin"), EFindFirstObjectOptions::ExactClass), nullptr);
}

TEST_F(ObjectRegistry, ShutdownReleasesWhatWasMadeAtRunTime)
{
	UPackage* Package = CreatePackage(TEXT("/Game/Registry/Released"));
	ASSERT_NE(NewObject<UHostTestSettings>(Package, FName(TEXT("Gone"))), nullptr);
	ASSERT_NE(GetDefault<UHostTestSettings>(), nullptr);
	Environment.Reset();
	EXPECT_EQ(StaticFindObject(nullptr, nullptr, TEXT("/Game/Registry/Released.Gone")), nullptr);
	EXPECT_EQ(UHostTestSettings::StaticClass()->GetDefaultObject(false), nullptr);
	// Classes stay: they belong to the code, not to a run.
	EXPECT_EQ(StaticFindObject(UClass::StaticClass(), nullptr, TEXT("/Script/OrvexTests.HostTestSettings")), UHostTestSettings::StaticClass());
}

TEST(TopLevelAssetPath, ParsesPackageAndAssetAndRefusesTheRest)
{
	const FTopLevelAssetPath Path(TEXT("/Script/Engine.RendererSettings"));
	EXPECT_TRUE(Path.IsValid());
	EXPECT_EQ(U8(Path.GetPackageName().ToString()), "/Script/Engine");
	EXPECT_EQ(U8(Path.GetAssetName().ToString()), "RendererSettings");
	EXPECT_EQ(U8(Path.ToString()), "/Script/Engine.RendererSettings");
	EXPECT_EQ(Path, FTopLevelAssetPath(FName(TEXT("/Script/Engine")), FName(TEXT("RendererSettings"))));

	const FTopLevelAssetPath PackageOnly(TEXT("/Game/Maps"));
	EXPECT_TRUE(PackageOnly.IsValid());
	EXPECT_EQ(U8(PackageOnly.ToString()), "/Game/Maps");

	FTopLevelAssetPath Parsed;
	for (const TCHAR* Bad : {TEXT(""), TEXT("Engine.RendererSettings"), TEXT("/Script/Engine.A:B"), TEXT("/Script/Engine.A.B"), TEXT("/"), TEXT("/Game/")})
	{
		EXPECT_FALSE(Parsed.TrySetPath(FString(Bad))) << U8(Bad);
		EXPECT_TRUE(Parsed.IsNull()) << U8(Bad);
	}
	EXPECT_EQ(U8(Parsed.ToString()), "");
}

TEST(SoftObjectPath, SplitsPackageAssetAndSubObject)
{
	const FSoftObjectPath Path(TEXT("/Game/Maps/Main.Main:PersistentLevel.Actor"));
	EXPECT_EQ(U8(Path.GetLongPackageName()), "/Game/Maps/Main");
	EXPECT_EQ(U8(Path.GetAssetName()), "Main");
	EXPECT_EQ(U8(Path.GetSubPathString()), "PersistentLevel.Actor");
	EXPECT_FALSE(Path.IsAsset());
	EXPECT_EQ(U8(Path.GetAssetPathString()), "/Game/Maps/Main.Main");
	// Two dots are the older form of the same sub-object path.
	EXPECT_EQ(U8(FSoftObjectPath(TEXT("/Game/Maps/Main.Main.PersistentLevel")).GetSubPathString()), "PersistentLevel");
	EXPECT_TRUE(FSoftObjectPath(TEXT("None")).IsNull());
	EXPECT_TRUE(FSoftObjectPath(TEXT("relative/path")).IsNull());
	EXPECT_EQ(FSoftObjectPath(TEXT("/Game/A.A")), FSoftObjectPath(TEXT("/game/a.A")));
	EXPECT_NE(FSoftObjectPath(TEXT("/Game/A.A:X")), FSoftObjectPath(TEXT("/Game/A.A:x")));
}

TEST(Guid, FormatsAndParsesEveryFormThatConfigFilesUse)
{
	const FGuid Guid(0x70BA0A3B, 0x40E2B989, 0x9612678C, 0x078FC24A);
	EXPECT_EQ(U8(Guid.ToString()), "70BA0A3B40E2B9899612678C078FC24A");
	EXPECT_EQ(U8(Guid.ToString(EGuidFormats::DigitsWithHyphens)), "70BA0A3B-40E2-B989-9612-678C078FC24A");
	EXPECT_EQ(U8(Guid.ToString(EGuidFormats::DigitsWithHyphensInBraces)), "{70BA0A3B-40E2-B989-9612-678C078FC24A}");
	EXPECT_EQ(U8(Guid.ToString(EGuidFormats::DigitsLower)), "70ba0a3b40e2b9899612678c078fc24a");
	for (EGuidFormats Format : {EGuidFormats::Digits, EGuidFormats::DigitsLower, EGuidFormats::DigitsWithHyphens, EGuidFormats::DigitsWithHyphensInBraces, EGuidFormats::DigitsWithHyphensInParentheses})
	{
		FGuid Parsed;
		EXPECT_TRUE(FGuid::Parse(Guid.ToString(Format), Parsed));
		EXPECT_EQ(Parsed, Guid);
	}
	FGuid Untouched(1, 2, 3, 4);
	for (const TCHAR* Bad : {TEXT(""), TEXT("70BA0A3B40E2B9899612678C078FC24"), TEXT("70BA0A3B-40E2B989-9612-678C078FC24A"), TEXT("G0BA0A3B40E2B9899612678C078FC24A")})
	{
		EXPECT_FALSE(FGuid::Parse(FString(Bad), Untouched)) << U8(Bad);
	}
	EXPECT_EQ(Untouched, FGuid(1, 2, 3, 4));
	EXPECT_TRUE(FGuid::NewGuid().IsValid());
	EXPECT_NE(FGuid::NewGuid(), FGuid::NewGuid());
}

namespace
{
	struct FTwoBits
	{
		uint8 bFirst : 1;
		uint8 bSecond : 1;
		uint16 Wide = 0;
	};
}

TEST(ReflectionBuilder, FindsTheOneBitABitfieldSetterMoves)
{
	FTwoBits Probe{};
	int32 ByteOffset = -1;
	uint8 Mask = 0;
	ASSERT_TRUE(UE::Host::FindBitfieldByteAndMask(&Probe, sizeof(Probe), [](void* Object, bool bValue) { static_cast<FTwoBits*>(Object)->bSecond = bValue; }, ByteOffset, Mask));
	EXPECT_EQ(ByteOffset, 0);
	EXPECT_EQ(Mask, 0x2);
	// A setter that moves more than one bit, or none, is not a bitfield.
	EXPECT_FALSE(UE::Host::FindBitfieldByteAndMask(&Probe, sizeof(Probe), [](void* Object, bool bValue) { static_cast<FTwoBits*>(Object)->Wide = bValue ? 0x0101 : 0; }, ByteOffset, Mask));
	EXPECT_FALSE(UE::Host::FindBitfieldByteAndMask(&Probe, sizeof(Probe), [](void*, bool) {}, ByteOffset, Mask));
}
