// Property values as text: the forms the config files hold, reading them back, and refusing
// what is not a value of the property.
#include "GameFramework/InputSettings.h"
#include "GameMapsSettings.h"
#include "HostTestSettings.h"
#include "Settings/LevelEditorPlaySettings.h"
#include "SettingsTestSupport.h"
#include "UObject/EnumProperty.h"
#include "UObject/UnrealType.h"

namespace
{
	class FPropertyTextTest : public FSettingsTest
	{
	protected:
		virtual void SetUp() override
		{
			FSettingsTest::SetUp();
			Settings = GetMutableDefault<UHostTestSettings>();
		}

		const FProperty* Property(const TCHAR* Name) const
		{
			const FProperty* Found = Settings->GetClass()->FindPropertyByName(FName(Name));
			EXPECT_NE(Found, nullptr) << U8(Name);
			return Found;
		}

		// The value as a config line holds it: the object is its own default, so it always exports.
		std::string Export(const TCHAR* Name, int32 PortFlags = PPF_None, int32 Index = 0) const
		{
			FString Text;
			EXPECT_TRUE(Property(Name)->ExportText_InContainer(Index, Text, Settings, Settings, Settings, PortFlags));
			return U8(Text);
		}

		// True when the whole text was read.
		bool Import(const TCHAR* Name, const TCHAR* Text, int32 PortFlags = PPF_None)
		{
			Errors.Lines.Empty();
			const TCHAR* End = Property(Name)->ImportText_InContainer(Text, Settings, Settings, PortFlags, &Errors);
			return End && *End == 0;
		}

		// Null means the text was refused.
		const TCHAR* ImportRaw(const TCHAR* Name, const TCHAR* Text, int32 PortFlags = PPF_None)
		{
			Errors.Lines.Empty();
			return Property(Name)->ImportText_InContainer(Text, Settings, Settings, PortFlags, &Errors);
		}

		UHostTestSettings* Settings = nullptr;
		FCapturedErrors Errors;
	};
}

using PropertyTextBool = FPropertyTextTest;

TEST_F(PropertyTextBool, BitfieldsAndNativeBoolsWriteTrueOrFalse)
{
	Settings->bFlagA = 0;
	Settings->bFlagB = 1;
	EXPECT_EQ(Export(TEXT("bFlagA")), "False");
	EXPECT_EQ(Export(TEXT("bFlagB")), "True");
	Settings->bNative = true;
	EXPECT_EQ(Export(TEXT("bNative")), "True");
}

TEST_F(PropertyTextBool, ReadsEveryAcceptedSpelling)
{
	for (const TCHAR* Yes : {TEXT("True"), TEXT("true"), TEXT("TRUE"), TEXT("1"), TEXT("yes"), TEXT("Yes"), TEXT("on"), TEXT("On")})
	{
		Settings->bFlagA = 0;
		EXPECT_TRUE(Import(TEXT("bFlagA"), Yes)) << U8(Yes);
		EXPECT_EQ(Settings->bFlagA, 1u) << U8(Yes);
	}
	for (const TCHAR* No : {TEXT("False"), TEXT("false"), TEXT("0"), TEXT("no"), TEXT("Off")})
	{
		Settings->bFlagA = 1;
		EXPECT_TRUE(Import(TEXT("bFlagA"), No)) << U8(No);
		EXPECT_EQ(Settings->bFlagA, 0u) << U8(No);
	}
}

TEST_F(PropertyTextBool, RefusesOtherWordsAndLeavesNeighbourBitsAlone)
{
	Settings->bFlagA = 0;
	Settings->bFlagB = 1;
	Settings->bFlagC = 0;
	EXPECT_EQ(ImportRaw(TEXT("bFlagA"), TEXT("maybe")), nullptr);
	EXPECT_EQ(ImportRaw(TEXT("bFlagA"), TEXT("")), nullptr);
	EXPECT_EQ(ImportRaw(TEXT("bFlagA"), TEXT("2")), nullptr);
	EXPECT_FALSE(Errors.Lines.IsEmpty());
	EXPECT_EQ(Settings->bFlagA, 0u);

	EXPECT_TRUE(Import(TEXT("bFlagC"), TEXT("True")));
	EXPECT_EQ(Settings->bFlagA, 0u);
	EXPECT_EQ(Settings->bFlagB, 1u);
	EXPECT_EQ(Settings->bFlagC, 1u);
	EXPECT_TRUE(Import(TEXT("bFlagB"), TEXT("False")));
	EXPECT_EQ(Settings->bFlagB, 0u);
	EXPECT_EQ(Settings->bFlagC, 1u);
}

using PropertyTextNumbers = FPropertyTextTest;

TEST_F(PropertyTextNumbers, IntegersAreDecimalAndFloatsHaveSixDecimals)
{
	EXPECT_EQ(Export(TEXT("Int8Value")), "-8");
	EXPECT_EQ(Export(TEXT("Int16Value")), "-16");
	EXPECT_EQ(Export(TEXT("IntValue")), "32");
	EXPECT_EQ(Export(TEXT("Int64Value")), "-64");
	EXPECT_EQ(Export(TEXT("ByteValue")), "8");
	EXPECT_EQ(Export(TEXT("UInt16Value")), "16");
	Settings->UInt64Value = 18446744073709551615ull;
	EXPECT_EQ(Export(TEXT("UInt64Value")), "18446744073709551615");
	Settings->Int64Value = -9000000000ll;
	EXPECT_EQ(Export(TEXT("Int64Value")), "-9000000000");
	EXPECT_EQ(Export(TEXT("FloatValue")), "0.500000");
	EXPECT_EQ(Export(TEXT("DoubleValue")), "-980.000000");
	Settings->FloatValue = 0.03f;
	EXPECT_EQ(Export(TEXT("FloatValue")), "0.030000");
}

TEST_F(PropertyTextNumbers, ReadsNumbersBackIncludingHexAndExponents)
{
	EXPECT_TRUE(Import(TEXT("IntValue"), TEXT("-123")));
	EXPECT_EQ(Settings->IntValue, -123);
	EXPECT_TRUE(Import(TEXT("IntValue"), TEXT("0x1F")));
	EXPECT_EQ(Settings->IntValue, 31);
	EXPECT_TRUE(Import(TEXT("UInt32Value"), TEXT("4294967295")));
	EXPECT_EQ(Settings->UInt32Value, 4294967295u);
	EXPECT_TRUE(Import(TEXT("Int64Value"), TEXT("9000000000")));
	EXPECT_EQ(Settings->Int64Value, 9000000000ll);
	EXPECT_TRUE(Import(TEXT("FloatValue"), TEXT("0.25")));
	EXPECT_FLOAT_EQ(Settings->FloatValue, 0.25f);
	EXPECT_TRUE(Import(TEXT("FloatValue"), TEXT("-1.5e-3")));
	EXPECT_FLOAT_EQ(Settings->FloatValue, -0.0015f);
	EXPECT_TRUE(Import(TEXT("DoubleValue"), TEXT(".5")));
	EXPECT_DOUBLE_EQ(Settings->DoubleValue, 0.5);
	EXPECT_TRUE(Import(TEXT("DoubleValue"), TEXT("2f")));
	EXPECT_DOUBLE_EQ(Settings->DoubleValue, 2.0);
	// An integer may be given as a qualified enumerator.
	EXPECT_TRUE(Import(TEXT("IntValue"), TEXT("EReflectionMethod::ScreenSpace")));
	EXPECT_EQ(Settings->IntValue, 2);
}

TEST_F(PropertyTextNumbers, RefusesTextWithoutANumber)
{
	Settings->IntValue = 5;
	Settings->FloatValue = 0.5f;
	for (const TCHAR* Bad : {TEXT(""), TEXT("abc"), TEXT("-"), TEXT("0x"), TEXT("Foo::Bar")})
	{
		EXPECT_EQ(ImportRaw(TEXT("IntValue"), Bad), nullptr) << U8(Bad);
	}
	for (const TCHAR* Bad : {TEXT(""), TEXT("abc"), TEXT("-."), TEXT("e5")})
	{
		EXPECT_EQ(ImportRaw(TEXT("FloatValue"), Bad), nullptr) << U8(Bad);
	}
	EXPECT_EQ(Settings->IntValue, 5);
	EXPECT_FLOAT_EQ(Settings->FloatValue, 0.5f);
	// Like the engine, a number followed by other text reads the number and stops there.
	const TCHAR* Rest = ImportRaw(TEXT("IntValue"), TEXT("12px"));
	ASSERT_NE(Rest, nullptr);
	EXPECT_EQ(U8(Rest), "px");
	EXPECT_EQ(Settings->IntValue, 12);
}

TEST_F(PropertyTextNumbers, NumericAccessorsSeeTheStoredValue)
{
	const FNumericProperty* Int64 = CastField<FNumericProperty>(Property(TEXT("Int64Value")));
	const FNumericProperty* Double = CastField<FNumericProperty>(Property(TEXT("DoubleValue")));
	ASSERT_TRUE(Int64 && Double);
	Settings->Int64Value = -0x100000001ll;
	EXPECT_EQ(Int64->GetSignedIntPropertyValue_InContainer(Settings), -0x100000001ll);
	EXPECT_EQ(static_cast<int32>(Int64->GetSignedIntPropertyValue_InContainer(Settings)), -1);
	EXPECT_TRUE(Int64->IsInteger());
	EXPECT_FALSE(Int64->IsEnum());
	EXPECT_DOUBLE_EQ(Double->GetFloatingPointPropertyValue_InContainer(Settings), -980.0);
	Double->SetFloatingPointPropertyValue(Double->ContainerPtrToValuePtr<void>(Settings), 12.5);
	EXPECT_DOUBLE_EQ(Settings->DoubleValue, 12.5);
}

using PropertyTextEnums = FPropertyTextTest;

TEST_F(PropertyTextEnums, WriteShortNamesOrNumbersForConsoleVariables)
{
	EXPECT_EQ(Export(TEXT("ByteEnum")), "ScreenSpace");
	EXPECT_EQ(Export(TEXT("ByteEnum"), PPF_ConsoleVariable), "2");
	EXPECT_EQ(Export(TEXT("EnumClass")), "Rec2020");
	EXPECT_EQ(Export(TEXT("EnumClass"), PPF_ConsoleVariable), "1");
	// The generated _MAX entry is no value.
	Settings->ByteEnum = static_cast<EReflectionMethod::Type>(4);
	EXPECT_EQ(Export(TEXT("ByteEnum")), "(INVALID)");
}

TEST_F(PropertyTextEnums, ReadShortQualifiedAndNumericForms)
{
	EXPECT_TRUE(Import(TEXT("ByteEnum"), TEXT("Lumen")));
	EXPECT_EQ(Settings->ByteEnum, EReflectionMethod::Lumen);
	EXPECT_TRUE(Import(TEXT("ByteEnum"), TEXT("EReflectionMethod::None")));
	EXPECT_EQ(Settings->ByteEnum, EReflectionMethod::None);
	EXPECT_TRUE(Import(TEXT("ByteEnum"), TEXT("screenspace")));
	EXPECT_EQ(Settings->ByteEnum, EReflectionMethod::ScreenSpace);
	EXPECT_TRUE(Import(TEXT("ByteEnum"), TEXT("1")));
	EXPECT_EQ(Settings->ByteEnum, EReflectionMethod::Lumen);

	EXPECT_TRUE(Import(TEXT("EnumClass"), TEXT("EWorkingColorSpace::ACESAP1")));
	EXPECT_EQ(Settings->EnumClass, EWorkingColorSpace::ACESAP1);
	EXPECT_TRUE(Import(TEXT("EnumClass"), TEXT("P3D65")));
	EXPECT_EQ(Settings->EnumClass, EWorkingColorSpace::P3D65);

	// Console-variable text is numeric.
	EXPECT_TRUE(Import(TEXT("ByteEnum"), TEXT("3"), PPF_ConsoleVariable));
	EXPECT_EQ(Settings->ByteEnum, EReflectionMethod::RayTraced);
	EXPECT_TRUE(Import(TEXT("EnumClass"), TEXT("0"), PPF_ConsoleVariable));
	EXPECT_EQ(Settings->EnumClass, EWorkingColorSpace::sRGB);
}

TEST_F(PropertyTextEnums, RefuseNamesAndNumbersOutsideTheEnum)
{
	Settings->ByteEnum = EReflectionMethod::Lumen;
	for (const TCHAR* Bad : {TEXT("Bogus"), TEXT("9"), TEXT("EDynamicGlobalIlluminationMethod::Lumen"), TEXT("EReflectionMethod::"), TEXT("")})
	{
		EXPECT_EQ(ImportRaw(TEXT("ByteEnum"), Bad), nullptr) << U8(Bad);
	}
	EXPECT_EQ(ImportRaw(TEXT("EnumClass"), TEXT("Rec709")), nullptr);
	// Names are not console-variable text.
	EXPECT_EQ(ImportRaw(TEXT("ByteEnum"), TEXT("Lumen"), PPF_ConsoleVariable), nullptr);
	EXPECT_EQ(Settings->ByteEnum, EReflectionMethod::Lumen);
}

TEST_F(PropertyTextEnums, EnumObjectsAnswerByNameAndValue)
{
	const UEnum* Enum = StaticEnum<EDynamicGlobalIlluminationMethod::Type>();
	EXPECT_EQ(U8(Enum->GetName()), "EDynamicGlobalIlluminationMethod");
	EXPECT_EQ(U8(Enum->GetNameStringByValue(1)), "Lumen");
	EXPECT_EQ(U8(Enum->GetNameByValue(1).ToString()), "EDynamicGlobalIlluminationMethod::Lumen");
	EXPECT_EQ(Enum->GetValueByNameString(TEXT("Lumen")), 1);
	EXPECT_EQ(Enum->GetValueByNameString(TEXT("EDynamicGlobalIlluminationMethod::Plugin")), 4);
	EXPECT_EQ(Enum->GetValueByNameString(TEXT("Nope")), INDEX_NONE);
	EXPECT_EQ(Enum->GetMaxEnumValue(), 5);
	EXPECT_EQ(U8(Enum->GetNameStringByValue(5)), "EDynamicGlobalIlluminationMethod_MAX");
	EXPECT_EQ(U8(Enum->GetDisplayNameTextByValue(2).ToString()), "Screen Space (Beta)");
	// Old-style enums keep their names as written and name their _MAX after the common prefix.
	const UEnum* NetMode = StaticEnum<EPlayNetMode>();
	EXPECT_EQ(U8(NetMode->GetNameStringByValue(1)), "PIE_ListenServer");
	EXPECT_EQ(U8(NetMode->GetNameStringByValue(3)), "PIE_MAX");
	EXPECT_EQ(NetMode->GetValueByNameString(TEXT("EPlayNetMode::PIE_Client")), 2);
}

using PropertyTextStrings = FPropertyTextTest;

TEST_F(PropertyTextStrings, StringsAreRawAtTopLevelAndQuotedInside)
{
	EXPECT_EQ(Export(TEXT("Text")), "My Company");
	EXPECT_EQ(Export(TEXT("Text"), PPF_Delimited), "\"My Company\"");
	Settings->Text = TEXT("say \"hi\"\\now");
	EXPECT_EQ(Export(TEXT("Text"), PPF_Delimited), "\"say \\\"hi\\\"\\\\now\"");

	// At top level the whole text is the value, quotes and spaces included.
	EXPECT_TRUE(Import(TEXT("Text"), TEXT(" \"Copyright\" 2024 ")));
	EXPECT_EQ(U8(Settings->Text), " \"Copyright\" 2024 ");
	EXPECT_TRUE(Import(TEXT("Text"), TEXT("")));
	EXPECT_TRUE(Settings->Text.IsEmpty());
	EXPECT_TRUE(Import(TEXT("Text"), TEXT("\"a\\\"b\\n\""), PPF_Delimited));
	EXPECT_EQ(U8(Settings->Text), "a\"b\n");
	EXPECT_EQ(ImportRaw(TEXT("Text"), TEXT("unquoted"), PPF_Delimited), nullptr);
	EXPECT_EQ(ImportRaw(TEXT("Text"), TEXT("\"open"), PPF_Delimited), nullptr);
}

TEST_F(PropertyTextStrings, NamesKeepTheirSpellingAndNoneIsNone)
{
	EXPECT_EQ(Export(TEXT("Name")), "Shooter");
	EXPECT_EQ(Export(TEXT("Name"), PPF_Delimited), "\"Shooter\"");
	EXPECT_TRUE(Import(TEXT("Name"), TEXT("MyGame")));
	EXPECT_EQ(U8(Settings->Name.ToString()), "MyGame");
	EXPECT_TRUE(Import(TEXT("Name"), TEXT("None")));
	EXPECT_TRUE(Settings->Name.IsNone());
	EXPECT_EQ(Export(TEXT("Name")), "None");
	EXPECT_EQ(ImportRaw(TEXT("Name"), *FString::ChrN(1024, TEXT('x'))), nullptr);
}

TEST_F(PropertyTextStrings, TextsKeepTheirLocalizationKeyFromReadToWrite)
{
	// A localized text written back keeps its namespace and key: as INVTEXT it would no longer be
	// translated.
	EXPECT_TRUE(Import(TEXT("DisplayText"), TEXT("NSLOCTEXT(\"[/Script/EngineSettings]\", \"5C2D8E1F7A3B4C6D9E0F1A2B3C4D5E6F\", \"Sample \\\"Project\\\"\")")));
	EXPECT_EQ(U8(Settings->DisplayText.ToString()), "Sample \"Project\"");
	EXPECT_EQ(Export(TEXT("DisplayText")), "NSLOCTEXT(\"[/Script/EngineSettings]\", \"5C2D8E1F7A3B4C6D9E0F1A2B3C4D5E6F\", \"Sample \\\"Project\\\"\")");
	EXPECT_TRUE(Import(TEXT("DisplayText"), TEXT("LOCTEXT(\"Key\", \"Localized\")")));
	EXPECT_EQ(U8(Settings->DisplayText.ToString()), "Localized");
	EXPECT_EQ(Export(TEXT("DisplayText")), "LOCTEXT(\"Key\", \"Localized\")");
	EXPECT_TRUE(Import(TEXT("DisplayText"), TEXT("INVTEXT(\"Invariant\")")));
	EXPECT_EQ(U8(Settings->DisplayText.ToString()), "Invariant");
	EXPECT_EQ(Export(TEXT("DisplayText")), "INVTEXT(\"Invariant\")");
	EXPECT_TRUE(Import(TEXT("DisplayText"), TEXT("Plain words")));
	EXPECT_EQ(U8(Settings->DisplayText.ToString()), "Plain words");
	// The same words under another key are another text.
	FText Keyed;
	FText Other;
	const FProperty* Property = Settings->GetClass()->FindPropertyByName(FName(TEXT("DisplayText")));
	Property->ImportText_Direct(TEXT("NSLOCTEXT(\"A\", \"1\", \"Same\")"), &Keyed, nullptr, PPF_None);
	Property->ImportText_Direct(TEXT("NSLOCTEXT(\"A\", \"2\", \"Same\")"), &Other, nullptr, PPF_None);
	EXPECT_FALSE(Property->Identical(&Keyed, &Other, PPF_None));
	EXPECT_TRUE(Property->Identical(&Keyed, &Keyed, PPF_None));
	EXPECT_EQ(ImportRaw(TEXT("DisplayText"), TEXT("NSLOCTEXT(\"a\", \"b\"")), nullptr);
	EXPECT_EQ(ImportRaw(TEXT("DisplayText"), TEXT("LOCTABLE(\"/Game/Table\", \"Key\")")), nullptr);
	EXPECT_EQ(ImportRaw(TEXT("DisplayText"), TEXT("bare"), PPF_Delimited), nullptr);
}

using PropertyTextPaths = FPropertyTextTest;

TEST_F(PropertyTextPaths, SoftPathsRoundTripAndNullIsEmpty)
{
	EXPECT_TRUE(Import(TEXT("SoftPath"), TEXT("/Game/Maps/Main.Main")));
	EXPECT_EQ(Export(TEXT("SoftPath")), "/Game/Maps/Main.Main");
	EXPECT_EQ(Export(TEXT("SoftPath"), PPF_Delimited), "\"/Game/Maps/Main.Main\"");
	EXPECT_EQ(U8(Settings->SoftPath.GetLongPackageName()), "/Game/Maps/Main");
	EXPECT_EQ(U8(Settings->SoftPath.GetAssetName()), "Main");

	EXPECT_TRUE(Import(TEXT("SoftPath"), TEXT("/Game/Maps/Main.Main:PersistentLevel")));
	EXPECT_EQ(U8(Settings->SoftPath.GetSubPathString()), "PersistentLevel");
	EXPECT_EQ(Export(TEXT("SoftPath")), "/Game/Maps/Main.Main:PersistentLevel");

	for (const TCHAR* Null : {TEXT("None"), TEXT("")})
	{
		EXPECT_TRUE(Import(TEXT("SoftPath"), Null)) << U8(Null);
		EXPECT_TRUE(Settings->SoftPath.IsNull());
	}
	EXPECT_EQ(Export(TEXT("SoftPath")), "");

	EXPECT_TRUE(Import(TEXT("SoftPath"), TEXT("World'/Game/Maps/Old.Old'")));
	EXPECT_EQ(Export(TEXT("SoftPath")), "/Game/Maps/Old.Old");
	EXPECT_TRUE(Import(TEXT("SoftClass"), TEXT("/Game/BP/BP_GM.BP_GM_C")));
	EXPECT_EQ(Export(TEXT("SoftClass")), "/Game/BP/BP_GM.BP_GM_C");
	EXPECT_TRUE(Import(TEXT("SoftObjectPtr"), TEXT("/Engine/MobileResources/HUD/DefaultVirtualJoysticks.DefaultVirtualJoysticks")));
	EXPECT_EQ(Export(TEXT("SoftObjectPtr")), "/Engine/MobileResources/HUD/DefaultVirtualJoysticks.DefaultVirtualJoysticks");
	EXPECT_TRUE(Import(TEXT("SoftClassPtr"), TEXT("/Script/EnhancedInput.EnhancedPlayerInput")));
	EXPECT_EQ(U8(Settings->SoftClassPtr.ToString()), "/Script/EnhancedInput.EnhancedPlayerInput");
}

TEST_F(PropertyTextPaths, RefusesWhatIsNotAPath)
{
	Settings->SoftPath = FSoftObjectPath(TEXT("/Game/Keep.Keep"));
	for (const TCHAR* Bad : {TEXT("Game/NoRoot.NoRoot"), TEXT("/Game/Maps/Main.Main trailing"), TEXT("/Game/Maps/.Main"), TEXT("/Game//Main.Main"), TEXT("@")})
	{
		EXPECT_EQ(ImportRaw(TEXT("SoftPath"), Bad), nullptr) << U8(Bad);
		EXPECT_EQ(ImportRaw(TEXT("SoftObjectPtr"), Bad), nullptr) << U8(Bad);
	}
	EXPECT_EQ(U8(Settings->SoftPath.ToString()), "/Game/Keep.Keep");
}

TEST_F(PropertyTextPaths, HardReferencesResolveToLoadedObjectsOfTheRightClass)
{
	EXPECT_EQ(Export(TEXT("SettingsClass")), "None");
	EXPECT_TRUE(Import(TEXT("SettingsClass"), TEXT("/Script/Engine.RendererSettings")));
	EXPECT_EQ(Settings->SettingsClass.Get(), URendererSettings::StaticClass());
	EXPECT_EQ(Export(TEXT("SettingsClass")), "/Script/Engine.RendererSettings");
	EXPECT_TRUE(Import(TEXT("SettingsClass"), TEXT("Class'/Script/OrvexTests.HostTestSettings'")));
	EXPECT_EQ(Settings->SettingsClass.Get(), UHostTestSettings::StaticClass());
	// Not a developer-settings class, not a class at all, not there.
	EXPECT_EQ(ImportRaw(TEXT("SettingsClass"), TEXT("/Script/EngineSettings.GameMapsSettings")), nullptr);
	EXPECT_EQ(ImportRaw(TEXT("SettingsClass"), TEXT("/Script/Engine")), nullptr);
	EXPECT_EQ(ImportRaw(TEXT("SettingsClass"), TEXT("/Script/Engine.NoSuchClass")), nullptr);
	EXPECT_EQ(Settings->SettingsClass.Get(), UHostTestSettings::StaticClass());
	EXPECT_TRUE(Import(TEXT("SettingsClass"), TEXT("None")));
	EXPECT_EQ(Settings->SettingsClass.Get(), nullptr);

	const URendererSettings* Renderer = GetDefault<URendererSettings>();
	EXPECT_TRUE(Import(TEXT("ObjectRef"), TEXT("/Script/Engine.Default__RendererSettings")));
	EXPECT_EQ(Settings->ObjectRef.Get(), Renderer);
}

using PropertyTextStructs = FPropertyTextTest;

TEST_F(PropertyTextStructs, CoreStructsWriteEveryField)
{
	EXPECT_EQ(Export(TEXT("Vector")), "(X=0.000000,Y=-1.000000,Z=0.000000)");
	EXPECT_EQ(Export(TEXT("LinearColor")), "(R=1.000000,G=0.500000,B=0.250000,A=1.000000)");
	EXPECT_EQ(Export(TEXT("Color")), "(B=0,G=128,R=255,A=255)");
	Settings->Guid = FGuid(0x70BA0A3B, 0x40E2B989, 0x9612678C, 0x078FC24A);
	EXPECT_EQ(Export(TEXT("Guid")), "70BA0A3B40E2B9899612678C078FC24A");
	Settings->Key = FKey(TEXT("SpaceBar"));
	EXPECT_EQ(Export(TEXT("Key")), "SpaceBar");
}

TEST_F(PropertyTextStructs, ReadsFieldListsNativeFormsAndPartialStructs)
{
	EXPECT_TRUE(Import(TEXT("Vector"), TEXT("(X=1,Y=2.5,Z=-3)")));
	EXPECT_EQ(Settings->Vector, FVector(1.0, 2.5, -3.0));
	EXPECT_TRUE(Import(TEXT("Vector"), TEXT("( Z = 9 )")));
	EXPECT_EQ(Settings->Vector, FVector(1.0, 2.5, 9.0));
	EXPECT_TRUE(Import(TEXT("Guid"), TEXT("70ba0a3b40e2b9899612678c078fc24a")));
	EXPECT_EQ(Settings->Guid, FGuid(0x70BA0A3B, 0x40E2B989, 0x9612678C, 0x078FC24A));
	EXPECT_TRUE(Import(TEXT("Guid"), TEXT("(A=1,B=2,C=3,D=4)")));
	EXPECT_EQ(Settings->Guid, FGuid(1, 2, 3, 4));
	EXPECT_TRUE(Import(TEXT("Key"), TEXT("Gamepad_FaceButton_Bottom")));
	EXPECT_EQ(U8(Settings->Key.ToString()), "Gamepad_FaceButton_Bottom");
	// Members this build does not know are skipped with a warning.
	EXPECT_TRUE(Import(TEXT("Color"), TEXT("(R=1,Extra=(a,b),G=2,B=3,A=4)")));
	EXPECT_EQ(Settings->Color, FColor(1, 2, 3, 4));
	EXPECT_FALSE(Errors.Lines.IsEmpty());
}

TEST_F(PropertyTextStructs, RefusesMalformedStructs)
{
	Settings->Vector = FVector(1.0, 2.0, 3.0);
	for (const TCHAR* Bad : {TEXT("X=1,Y=2"), TEXT("(X=5,Y=2"), TEXT("(X=5,Y=abc)"), TEXT("(X=5 Y=2)"), TEXT("(=1)"), TEXT("(X[7]=1)"), TEXT("")})
	{
		EXPECT_EQ(ImportRaw(TEXT("Vector"), Bad), nullptr) << U8(Bad);
		EXPECT_EQ(Settings->Vector, FVector(1.0, 2.0, 3.0)) << U8(Bad);
	}
	EXPECT_EQ(ImportRaw(TEXT("Guid"), TEXT("70BA0A3B40E2B9899612678C078FC24")), nullptr);
	EXPECT_EQ(ImportRaw(TEXT("Guid"), TEXT("70BA0A3B40E2B9899612678C078FC24AB")), nullptr);
	EXPECT_EQ(Settings->Vector, FVector(1.0, 2.0, 3.0));
}

TEST_F(PropertyTextStructs, StructsInsideStructsQuoteNamesAndPaths)
{
	FGameModeName Prefix;
	Prefix.Name = TEXT("DM-");
	Prefix.GameMode = FSoftClassPath(TEXT("/Script/MyGame.DMGameMode"));
	FString Text;
	const UScriptStruct* Struct = FGameModeName::StaticStruct();
	Struct->ExportText(Text, &Prefix, &Prefix, nullptr, PPF_None, nullptr);
	EXPECT_EQ(U8(Text), "(Name=\"DM-\",GameMode=\"/Script/MyGame.DMGameMode\")");

	FGameModeName ReadBack;
	const TCHAR* End = Struct->ImportText(*Text, &ReadBack, nullptr, PPF_None, &Errors, Struct->GetName());
	ASSERT_NE(End, nullptr);
	EXPECT_EQ(ReadBack, Prefix);

	FInputActionKeyMapping Mapping;
	const UScriptStruct* MappingStruct = FInputActionKeyMapping::StaticStruct();
	ASSERT_NE(MappingStruct->ImportText(TEXT("(ActionName=\"QuickSave\",bShift=False,bCtrl=True,bAlt=False,bCmd=False,Key=S)"), &Mapping, nullptr, PPF_None, &Errors, TEXT("InputActionKeyMapping")), nullptr);
	EXPECT_EQ(U8(Mapping.ActionName.ToString()), "QuickSave");
	EXPECT_EQ(Mapping.bCtrl, 1);
	EXPECT_EQ(Mapping.bShift, 0);
	EXPECT_EQ(U8(Mapping.Key.ToString()), "S");
	Text.Empty();
	MappingStruct->ExportText(Text, &Mapping, &Mapping, nullptr, PPF_None, nullptr);
	EXPECT_EQ(U8(Text), "(ActionName=\"QuickSave\",bShift=False,bCtrl=True,bAlt=False,bCmd=False,Key=S)");
}

using PropertyTextArrays = FPropertyTextTest;

TEST_F(PropertyTextArrays, ArraysAreParenthesisedListsAndEmptyIsNothing)
{
	Settings->Numbers = {1, 2, 3};
	EXPECT_EQ(Export(TEXT("Numbers")), "(1,2,3)");
	Settings->Strings = {TEXT("a"), TEXT("b c")};
	EXPECT_EQ(Export(TEXT("Strings")), "(\"a\",\"b c\")");
	Settings->Numbers.Empty();
	EXPECT_EQ(Export(TEXT("Numbers")), "");

	EXPECT_TRUE(Import(TEXT("Numbers"), TEXT("(4, 5 ,6)")));
	EXPECT_EQ(Settings->Numbers, (TArray<int32>{4, 5, 6}));
	EXPECT_TRUE(Import(TEXT("Numbers"), TEXT("(7,,9)")));
	EXPECT_EQ(Settings->Numbers, (TArray<int32>{7, 0, 9}));
	EXPECT_TRUE(Import(TEXT("Numbers"), TEXT("()")));
	EXPECT_TRUE(Settings->Numbers.IsEmpty());
	Settings->Numbers = {1};
	EXPECT_TRUE(Import(TEXT("Numbers"), TEXT("")));
	EXPECT_TRUE(Settings->Numbers.IsEmpty());
	EXPECT_TRUE(Import(TEXT("Strings"), TEXT("(\"x\",\"y,z\")")));
	EXPECT_EQ(Settings->Strings.Num(), 2);
	EXPECT_EQ(U8(Settings->Strings[1]), "y,z");

	Settings->Numbers = {8, 9};
	for (const TCHAR* Bad : {TEXT("1,2"), TEXT("(1,2"), TEXT("(1,x)"), TEXT("(1;2)")})
	{
		EXPECT_EQ(ImportRaw(TEXT("Numbers"), Bad), nullptr) << U8(Bad);
		// Refused text changes nothing, even when the first elements read.
		EXPECT_EQ(Settings->Numbers, (TArray<int32>{8, 9})) << U8(Bad);
	}
	EXPECT_EQ(ImportRaw(TEXT("Strings"), TEXT("(unquoted)")), nullptr);
}

TEST_F(PropertyTextArrays, StructElementsLeaveOutDefaultsUnlessExportedOneByOne)
{
	ASSERT_TRUE(Import(TEXT("Mappings"), TEXT("((AxisName=\"MoveForward\",Scale=1.000000,Key=W),(AxisName=\"Turn\",Scale=-1.000000,Key=MouseX))")));
	ASSERT_EQ(Settings->Mappings.Num(), 2);
	EXPECT_EQ(U8(Settings->Mappings[1].AxisName.ToString()), "Turn");
	EXPECT_FLOAT_EQ(Settings->Mappings[1].Scale, -1.0f);
	// The whole array compares each element with a default struct, so Scale=1 is left out.
	EXPECT_EQ(Export(TEXT("Mappings")), "((AxisName=\"MoveForward\",Key=W),(AxisName=\"Turn\",Scale=-1.000000,Key=MouseX))");

	// One config line per element: the element is its own default and is written whole.
	const FArrayProperty* Array = CastField<FArrayProperty>(Property(TEXT("Mappings")));
	FScriptArrayHelper_InContainer Helper(Array, Settings);
	FString Line;
	Array->Inner->ExportTextItem_Direct(Line, Helper.GetRawPtr(0), Helper.GetRawPtr(0), Settings, PPF_None);
	EXPECT_EQ(U8(Line), "(AxisName=\"MoveForward\",Scale=1.000000,Key=W)");
}

TEST_F(PropertyTextArrays, StaticArraysExportByIndexAndImportTheFirstElement)
{
	EXPECT_EQ(Export(TEXT("StaticInts"), PPF_None, 0), "1");
	EXPECT_EQ(Export(TEXT("StaticInts"), PPF_None, 3), "4");
	EXPECT_TRUE(Import(TEXT("StaticInts"), TEXT("10")));
	EXPECT_EQ(Settings->StaticInts[0], 10);
	EXPECT_EQ(Settings->StaticInts[1], 2);
	const FProperty* StaticInts = Property(TEXT("StaticInts"));
	ASSERT_NE(StaticInts->ImportText_Direct(TEXT("30"), StaticInts->ContainerPtrToValuePtr<void>(Settings, 2), Settings, PPF_None, &Errors), nullptr);
	EXPECT_EQ(Settings->StaticInts[2], 30);
	EXPECT_EQ(Settings->StaticInts[3], 4);
}

using PropertyTextForm = FPropertyTextTest;

TEST_F(PropertyTextForm, WithoutDefaultsEveryValueIsExported)
{
	// With no defaults container there is nothing to diff against: zero values have a text too.
	Settings->bFlagA = 0;
	Settings->IntValue = 0;
	Settings->Text.Empty();
	Settings->Numbers.Empty();
	const TPair<const TCHAR*, const char*> Expected[] = {
		{TEXT("bFlagA"), "False"},
		{TEXT("IntValue"), "0"},
		{TEXT("Text"), ""},
		{TEXT("Numbers"), ""},
		{TEXT("SoftObjectPtr"), ""},
	};
	for (const TPair<const TCHAR*, const char*>& Entry : Expected)
	{
		FString Text;
		EXPECT_TRUE(Property(Entry.Key)->ExportText_InContainer(0, Text, Settings, nullptr, Settings, PPF_None)) << U8(Entry.Key);
		EXPECT_EQ(U8(Text), Entry.Value) << U8(Entry.Key);
	}
	Settings->bFlagA = 1;
	Settings->IntValue = 4;
	FString Flag;
	EXPECT_TRUE(Property(TEXT("bFlagA"))->ExportText_InContainer(0, Flag, Settings, nullptr, Settings, PPF_None));
	EXPECT_EQ(U8(Flag), "True");
	// Struct fields are written whole too, zero fields included.
	FString Text;
	EXPECT_TRUE(Property(TEXT("Vector"))->ExportText_InContainer(0, Text, Settings, nullptr, Settings, PPF_None));
	EXPECT_EQ(U8(Text), "(X=0.000000,Y=-1.000000,Z=0.000000)");
	// A struct element exported on its own, as a config line holds it, names every field.
	Settings->Mappings.SetNum(1);
	const FArrayProperty* Mappings = CastField<FArrayProperty>(Property(TEXT("Mappings")));
	ASSERT_NE(Mappings, nullptr);
	FString Mapping;
	Mappings->Inner->ExportTextItem_Direct(Mapping, &Settings->Mappings[0], nullptr, Settings, PPF_None);
	for (const char* Field : {"AxisName=", "Scale=", "Key="})
	{
		EXPECT_NE(U8(Mapping).find(Field), std::string::npos) << U8(Mapping);
	}
}

TEST_F(PropertyTextForm, WithDefaultsOnlyDifferencesAreExported)
{
	UHostTestSettings* Defaults = NewObject<UHostTestSettings>();
	FString Text;
	EXPECT_FALSE(Property(TEXT("IntValue"))->ExportText_InContainer(0, Text, Settings, Defaults, Settings, PPF_None));
	EXPECT_TRUE(Text.IsEmpty());
	Settings->IntValue = Defaults->IntValue + 1;
	EXPECT_TRUE(Property(TEXT("IntValue"))->ExportText_InContainer(0, Text, Settings, Defaults, Settings, PPF_None));
	EXPECT_EQ(U8(Text), std::to_string(Defaults->IntValue + 1));
}

TEST_F(PropertyTextForm, RestrictedImportsRefuseConfigProperties)
{
	EXPECT_TRUE(Property(TEXT("IntValue"))->ValidateImportFlags(PPF_None));
	EXPECT_FALSE(Property(TEXT("IntValue"))->ValidateImportFlags(PPF_RestrictImportTypes, &Errors));
	EXPECT_FALSE(Errors.Lines.IsEmpty());
	EXPECT_TRUE(Property(TEXT("NotConfig"))->ValidateImportFlags(PPF_RestrictImportTypes));
	Settings->IntValue = 1;
	EXPECT_EQ(ImportRaw(TEXT("IntValue"), TEXT("2"), PPF_RestrictImportTypes), nullptr);
	EXPECT_EQ(Settings->IntValue, 1);
	EXPECT_TRUE(Import(TEXT("NotConfig"), TEXT("2"), PPF_RestrictImportTypes));
	EXPECT_EQ(Settings->NotConfig, 2);
}
