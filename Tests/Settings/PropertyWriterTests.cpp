// Orvex::PropertyWriter: JSON values into properties of every kind, and refusals that say why
// and leave the property as it was.
#include "Dom/JsonObject.h"
#include "Engine/RendererSettings.h"
#include "HostTestSettings.h"
#include "Host/JsonText.h"
#include "OrvexPropertyWriter.h"
#include "SettingsTestSupport.h"
#include "UObject/UnrealType.h"

namespace
{
	using Orvex::PropertyWriter::FWriteOptions;
	using Orvex::PropertyWriter::FWriteResult;

	class FPropertyWriterTest : public FSettingsTest
	{
	protected:
		virtual void SetUp() override
		{
			FSettingsTest::SetUp();
			Settings = GetMutableDefault<UHostTestSettings>();
		}

		static TSharedPtr<FJsonValue> Json(const char* Text)
		{
			TSharedPtr<FJsonValue> Value;
			FString Error;
			EXPECT_TRUE(UE::Host::Json::ParseUtf8(Text, Value, Error)) << Text << ": " << U8(Error);
			return Value;
		}

		FWriteResult Write(UObject* Object, const TCHAR* Name, const char* JsonText, const FWriteOptions& Options = FWriteOptions())
		{
			FProperty* Property = Object->GetClass()->FindPropertyByName(FName(Name));
			EXPECT_NE(Property, nullptr) << U8(Name);
			return Orvex::PropertyWriter::WriteProperty(Object, Property, Json(JsonText), Options);
		}

		FWriteResult Write(const TCHAR* Name, const char* JsonText, const FWriteOptions& Options = FWriteOptions())
		{
			return Write(Settings, Name, JsonText, Options);
		}

		// The property's text form, which must not move when a write is refused.
		std::string TextOf(const TCHAR* Name) const
		{
			const FProperty* Property = Settings->GetClass()->FindPropertyByName(FName(Name));
			FString Text;
			for (int32 Index = 0; Index < Property->ArrayDim; ++Index)
			{
				Property->ExportText_InContainer(Index, Text, Settings, nullptr, Settings, PPF_None);
				Text += TEXT("|");
			}
			return U8(Text);
		}

		// Refused with a message holding every one of Parts, and nothing changed.
		void ExpectRefused(const TCHAR* Name, const char* JsonText, std::initializer_list<const char*> Parts)
		{
			const std::string Before = TextOf(Name);
			const FWriteResult Result = Write(Name, JsonText);
			EXPECT_FALSE(Result.bSuccess) << JsonText;
			for (const char* Part : Parts)
			{
				EXPECT_NE(U8(Result.ErrorMessage).find(Part), std::string::npos) << JsonText << " gave: " << U8(Result.ErrorMessage);
			}
			EXPECT_EQ(TextOf(Name), Before) << JsonText;
		}

		UHostTestSettings* Settings = nullptr;
	};
}

using PropertyWriterBools = FPropertyWriterTest;

TEST_F(PropertyWriterBools, TakeBooleansTheirWordsAndOneOrZeroWithoutTouchingNeighbourBits)
{
	Settings->bFlagB = 1;
	EXPECT_TRUE(Write(TEXT("bFlagA"), "true").bSuccess);
	EXPECT_EQ(Settings->bFlagA, 1u);
	EXPECT_TRUE(Write(TEXT("bFlagC"), "\"TRUE\"").bSuccess);
	EXPECT_TRUE(Write(TEXT("bFlagA"), "0").bSuccess);
	EXPECT_EQ(Settings->bFlagA, 0u);
	EXPECT_EQ(Settings->bFlagB, 1u);
	EXPECT_EQ(Settings->bFlagC, 1u);
	const FWriteResult Native = Write(TEXT("bNative"), "\" false \"");
	EXPECT_TRUE(Native.bSuccess);
	EXPECT_EQ(U8(Native.NewValueText), "False");
}

TEST_F(PropertyWriterBools, RefuseEverythingElse)
{
	ExpectRefused(TEXT("bFlagA"), "\"maybe\"", {"Value 'maybe' for 'bFlagA' is not a boolean (expected true or false, yes or no, on or off, 1 or 0)"});
	EXPECT_TRUE(Write(TEXT("bFlagA"), "\"YES\"").bSuccess);
	EXPECT_TRUE(Write(TEXT("bFlagA"), "\"off\"").bSuccess);
	ExpectRefused(TEXT("bFlagA"), "2", {"Value 2 for 'bFlagA'"});
	ExpectRefused(TEXT("bFlagA"), "null", {"Value null"});
	ExpectRefused(TEXT("bNative"), "[true]", {"Value [...]"});
}

using PropertyWriterNumbers = FPropertyWriterTest;

TEST_F(PropertyWriterNumbers, IntegersMustBeWholeAndFitTheirType)
{
	EXPECT_TRUE(Write(TEXT("Int8Value"), "-128").bSuccess);
	EXPECT_EQ(Settings->Int8Value, -128);
	EXPECT_TRUE(Write(TEXT("UInt16Value"), "\" 65535 \"").bSuccess);
	EXPECT_EQ(Settings->UInt16Value, 65535);
	ExpectRefused(TEXT("Int8Value"), "128", {"Value 128 for 'Int8Value' is out of range (-128 to 127)"});
	ExpectRefused(TEXT("ByteValue"), "-1", {"is out of range (0 to 255)"});
	ExpectRefused(TEXT("Int16Value"), "2.5", {"Value 2.5 for 'Int16Value' is not a whole number"});
	ExpectRefused(TEXT("Int16Value"), "\"abc\"", {"Value 'abc' for 'Int16Value' is not a number"});
	ExpectRefused(TEXT("Int16Value"), "true", {"is not a number"});
	ExpectRefused(TEXT("UInt32Value"), "1e10", {"(0 to 4294967295)"});
}

TEST_F(PropertyWriterNumbers, SixtyFourBitValuesAreExactWhenGivenAsText)
{
	EXPECT_TRUE(Write(TEXT("Int64Value"), "\"9223372036854775807\"").bSuccess);
	EXPECT_EQ(Settings->Int64Value, INT64_MAX);
	EXPECT_TRUE(Write(TEXT("Int64Value"), "\"-9223372036854775808\"").bSuccess);
	EXPECT_EQ(Settings->Int64Value, INT64_MIN);
	EXPECT_TRUE(Write(TEXT("UInt64Value"), "\"18446744073709551615\"").bSuccess);
	EXPECT_EQ(Settings->UInt64Value, UINT64_MAX);
	ExpectRefused(TEXT("Int64Value"), "\"9223372036854775808\"", {"(-9223372036854775808 to 9223372036854775807)"});
	ExpectRefused(TEXT("UInt64Value"), "\"18446744073709551616\"", {"out of range"});
	ExpectRefused(TEXT("UInt64Value"), "-1", {"out of range (0 to 18446744073709551615)"});
	ExpectRefused(TEXT("UInt64Value"), "18446744073709551616", {"out of range"});
}

TEST_F(PropertyWriterNumbers, MetadataLimitsRefuseOrClamp)
{
	ExpectRefused(TEXT("IntValue"), "-1", {"Value -1 for 'IntValue' is out of range (at least 0)"});
	FWriteOptions Clamp;
	Clamp.bClampToMetaRange = true;
	EXPECT_TRUE(Write(TEXT("IntValue"), "-1", Clamp).bSuccess);
	EXPECT_EQ(Settings->IntValue, 0);

	URendererSettings* Renderer = GetMutableDefault<URendererSettings>();
	const FWriteResult TooLarge = Write(Renderer, TEXT("ReflectionCaptureResolution"), "4096");
	EXPECT_FALSE(TooLarge.bSuccess);
	EXPECT_EQ(U8(TooLarge.ErrorMessage), "Value 4096 for 'ReflectionCaptureResolution' is out of range (1 to 2048)");
	EXPECT_TRUE(Write(Renderer, TEXT("ReflectionCaptureResolution"), "4096", Clamp).bSuccess);
	EXPECT_EQ(Renderer->ReflectionCaptureResolution, 2048);
}

TEST_F(PropertyWriterNumbers, FloatsTakeAnyFiniteNumberTheirTypeHolds)
{
	const FWriteResult Quarter = Write(TEXT("FloatValue"), "0.25");
	EXPECT_TRUE(Quarter.bSuccess);
	EXPECT_EQ(U8(Quarter.NewValueText), "0.250000");
	EXPECT_TRUE(Write(TEXT("FloatValue"), "\"-1.5\"").bSuccess);
	EXPECT_EQ(Settings->FloatValue, -1.5f);
	EXPECT_TRUE(Write(TEXT("DoubleValue"), "1e300").bSuccess);
	EXPECT_EQ(Settings->DoubleValue, 1e300);
	ExpectRefused(TEXT("FloatValue"), "1e39", {"for 'FloatValue' is out of range"});
	ExpectRefused(TEXT("FloatValue"), "\"1,5\"", {"is not a number"});
	ExpectRefused(TEXT("DoubleValue"), "{}", {"Value {...} for 'DoubleValue' is not a number"});
}

using PropertyWriterEnums = FPropertyWriterTest;

TEST_F(PropertyWriterEnums, NamesInAnyCaseQualifiedOrNotAndNumbers)
{
	URendererSettings* Renderer = GetMutableDefault<URendererSettings>();
	EXPECT_TRUE(Write(Renderer, TEXT("Reflections"), "\"ScreenSpace\"").bSuccess);
	EXPECT_EQ(Renderer->Reflections, EReflectionMethod::ScreenSpace);
	EXPECT_TRUE(Write(Renderer, TEXT("Reflections"), "\"lumen\"").bSuccess);
	EXPECT_EQ(Renderer->Reflections, EReflectionMethod::Lumen);
	EXPECT_TRUE(Write(Renderer, TEXT("Reflections"), "\"EReflectionMethod::None\"").bSuccess);
	EXPECT_EQ(Renderer->Reflections, EReflectionMethod::None);
	const FWriteResult ByNumber = Write(Renderer, TEXT("DynamicGlobalIllumination"), "2");
	EXPECT_TRUE(ByNumber.bSuccess);
	EXPECT_EQ(U8(ByNumber.NewValueText), "ScreenSpace");
	// An enum class lives in an enum property with its own underlying integer.
	EXPECT_TRUE(Write(TEXT("EnumClass"), "\"acesap0\"").bSuccess);
	EXPECT_EQ(Settings->EnumClass, EWorkingColorSpace::ACESAP0);
	EXPECT_TRUE(Write(TEXT("EnumClass"), "\"6\"").bSuccess);
	EXPECT_EQ(Settings->EnumClass, EWorkingColorSpace::Custom);
}

TEST_F(PropertyWriterEnums, AnythingElseListsTheChoices)
{
	URendererSettings* Renderer = GetMutableDefault<URendererSettings>();
	const EReflectionMethod::Type Before = Renderer->Reflections;
	const char* const Expected = "Value 'Foo' is not a valid EReflectionMethod (expected one of None, Lumen, ScreenSpace)";
	EXPECT_EQ(U8(Write(Renderer, TEXT("Reflections"), "\"Foo\"").ErrorMessage), Expected);
	// Hidden (deprecated) enumerators and the generated _MAX are not choices.
	for (const char* Refused : {"\"RayTraced\"", "3", "4", "\"EReflectionMethod_MAX\"", "\"EShadowMapMethod::Lumen\"", "1.5", "true", "null"})
	{
		const FWriteResult Result = Write(Renderer, TEXT("Reflections"), Refused);
		EXPECT_FALSE(Result.bSuccess) << Refused;
		EXPECT_NE(U8(Result.ErrorMessage).find("(expected one of None, Lumen, ScreenSpace)"), std::string::npos) << U8(Result.ErrorMessage);
	}
	EXPECT_EQ(Renderer->Reflections, Before);
	ExpectRefused(TEXT("EnumClass"), "7", {"Value 7 is not a valid EWorkingColorSpace (expected one of sRGB, Rec2020, ACESAP0, ACESAP1, P3DCI, P3D65, Custom)"});
}

using PropertyWriterText = FPropertyWriterTest;

TEST_F(PropertyWriterText, StringsNamesAndTextsTakeJsonStringsOnly)
{
	EXPECT_TRUE(Write(TEXT("Text"), "\"  spaced \\\"quoted\\\"  \"").bSuccess);
	EXPECT_EQ(U8(Settings->Text), "  spaced \"quoted\"  ");
	EXPECT_TRUE(Write(TEXT("Name"), "\"Player One\"").bSuccess);
	EXPECT_EQ(U8(Settings->Name.ToString()), "Player One");
	EXPECT_TRUE(Write(TEXT("DisplayText"), "\"Shown\"").bSuccess);
	EXPECT_EQ(U8(Settings->DisplayText.ToString()), "Shown");
	ExpectRefused(TEXT("Text"), "5", {"Value 5 for 'Text' is not a string"});
	ExpectRefused(TEXT("DisplayText"), "null", {"is not a string"});
	const std::string LongName = "\"" + std::string(1024, 'n') + "\"";
	ExpectRefused(TEXT("Name"), LongName.c_str(), {"is too long for a name (at most 1023 characters)"});
}

using PropertyWriterReferences = FPropertyWriterTest;

TEST_F(PropertyWriterReferences, SoftPathsMustLookLikeObjectPathsOrSayNone)
{
	EXPECT_TRUE(Write(TEXT("SoftPath"), "\"/Game/Maps/Main.Main\"").bSuccess);
	EXPECT_EQ(U8(Settings->SoftPath.ToString()), "/Game/Maps/Main.Main");
	EXPECT_TRUE(Write(TEXT("SoftClass"), "\"/Game/BP/BP_GM.BP_GM_C\"").bSuccess);
	EXPECT_TRUE(Write(TEXT("SoftObjectPtr"), "\"/Game/UI/Menu.Menu\"").bSuccess);
	EXPECT_EQ(U8(Settings->SoftObjectPtr.ToString()), "/Game/UI/Menu.Menu");
	EXPECT_TRUE(Write(TEXT("SoftClassPtr"), "\"/Script/Engine.RendererSettings\"").bSuccess);
	ExpectRefused(TEXT("SoftPath"), "\"Maps/Main\"", {"Value 'Maps/Main' for 'SoftPath' is not an object path (expected /Package/Path.Asset, or None)"});
	ExpectRefused(TEXT("SoftObjectPtr"), "\"/Game/Bad Path.Asset\"", {"is not an object path"});
	ExpectRefused(TEXT("SoftPath"), "\"/Game/Maps/Main.Bad Name\"", {"is not an object path"});
	ExpectRefused(TEXT("SoftClass"), "7", {"is not an object path"});
	for (const char* Cleared : {"\"None\"", "\"\"", "null"})
	{
		Settings->SoftPath = FSoftObjectPath(TEXT("/Game/Maps/Main.Main"));
		EXPECT_TRUE(Write(TEXT("SoftPath"), Cleared).bSuccess) << Cleared;
		EXPECT_TRUE(Settings->SoftPath.IsNull()) << Cleared;
	}
}

TEST_F(PropertyWriterReferences, ClassReferencesMustNameAFittingLoadedClass)
{
	EXPECT_TRUE(Write(TEXT("SettingsClass"), "\"/Script/OrvexTests.HostTestSettingsChild\"").bSuccess);
	EXPECT_EQ(Settings->SettingsClass.Get(), UHostTestSettingsChild::StaticClass());
	ExpectRefused(TEXT("SettingsClass"), "\"/Script/CoreUObject.Object\"", {"for 'SettingsClass' is not a valid"});
	ExpectRefused(TEXT("SettingsClass"), "\"/Script/Nowhere.Missing\"", {"is not a valid"});
	EXPECT_TRUE(Write(TEXT("SettingsClass"), "null").bSuccess);
	EXPECT_EQ(Settings->SettingsClass.Get(), nullptr);
}

using PropertyWriterStructs = FPropertyWriterTest;

TEST_F(PropertyWriterStructs, ObjectsSetTheFieldsTheyNameAndKeepTheRest)
{
	Settings->Vector = FVector(7.0, 8.0, 9.0);
	EXPECT_TRUE(Write(TEXT("Vector"), "{\"x\": 1, \"Y\": \"2.5\"}").bSuccess);
	EXPECT_EQ(Settings->Vector, FVector(1.0, 2.5, 9.0));
	EXPECT_TRUE(Write(TEXT("Vector"), "\"(X=1,Y=2,Z=3)\"").bSuccess);
	EXPECT_EQ(Settings->Vector, FVector(1.0, 2.0, 3.0));
	EXPECT_TRUE(Write(TEXT("Guid"), "\"70BA0A3B40E2B9899612678C078FC24A\"").bSuccess);
	EXPECT_EQ(U8(Settings->Guid.ToString()), "70BA0A3B40E2B9899612678C078FC24A");
}

TEST_F(PropertyWriterStructs, UnknownFieldsAndBadFieldValuesAreNamed)
{
	ExpectRefused(TEXT("Vector"), "{\"X\": 5, \"Q\": 1}", {"Unknown field 'Q' for 'Vector' (FVector has X, Y, Z)"});
	ExpectRefused(TEXT("Color"), "{\"R\": 300}", {"Value 300 for 'Color.R' is out of range (0 to 255)"});
	ExpectRefused(TEXT("Vector"), "\"(X=oops)\"", {"Value '(X=oops)' for 'Vector' is not a valid FVector"});
	ExpectRefused(TEXT("Vector"), "\"(X=1) trailing\"", {"is not a valid FVector"});
	ExpectRefused(TEXT("LinearColor"), "[1, 2]", {"is not a FLinearColor"});
}

using PropertyWriterArrays = FPropertyWriterTest;

TEST_F(PropertyWriterArrays, JsonArraysAreWrittenWholeOrNotAtAll)
{
	Settings->Numbers = {9};
	EXPECT_TRUE(Write(TEXT("Numbers"), "[1, \"2\", 3]").bSuccess);
	EXPECT_EQ(Settings->Numbers, TArray<int32>({1, 2, 3}));
	EXPECT_TRUE(Write(TEXT("Numbers"), "[]").bSuccess);
	EXPECT_EQ(Settings->Numbers.Num(), 0);
	EXPECT_TRUE(Write(TEXT("Numbers"), "\"(4,5)\"").bSuccess);
	EXPECT_EQ(Settings->Numbers, TArray<int32>({4, 5}));
	ExpectRefused(TEXT("Numbers"), "[1, \"x\", 3]", {"Value 'x' for 'Numbers[1]' is not a number"});
	ExpectRefused(TEXT("Numbers"), "5", {"Value 5 for 'Numbers' is not an array"});

	EXPECT_TRUE(Write(TEXT("Mappings"), "[{\"AxisName\": \"MoveForward\", \"Scale\": -1}, {\"AxisName\": \"Turn\"}]").bSuccess);
	ASSERT_EQ(Settings->Mappings.Num(), 2);
	EXPECT_EQ(Settings->Mappings[0].Scale, -1.0f);
	EXPECT_EQ(U8(Settings->Mappings[1].AxisName.ToString()), "Turn");
	ExpectRefused(TEXT("Mappings"), "[{\"AxisName\": \"A\"}, {\"Scale\": \"big\"}]", {"Value 'big' for 'Mappings[1].Scale' is not a number"});
}

TEST_F(PropertyWriterArrays, FixedSizeArraysTakeOneValuePerElement)
{
	EXPECT_TRUE(Write(TEXT("StaticInts"), "[9, 8, 7, 6]").bSuccess);
	EXPECT_EQ(Settings->StaticInts[0], 9);
	EXPECT_EQ(Settings->StaticInts[3], 6);
	ExpectRefused(TEXT("StaticInts"), "[1, 2]", {"Value [...] for 'StaticInts' is not an array of 4 values"});
	ExpectRefused(TEXT("StaticInts"), "5", {"is not an array of 4 values"});
	ExpectRefused(TEXT("StaticInts"), "[1, 2, 3, \"x\"]", {"for 'StaticInts[3]' is not a number"});
}

using PropertyWriterOptions = FPropertyWriterTest;

TEST_F(PropertyWriterOptions, OnlyConfigPropertiesOfTheObjectsClassUnlessAllowed)
{
	ExpectRefused(TEXT("NotConfig"), "1", {"Property 'NotConfig' is not a config property"});
	FWriteOptions AllowNonConfig;
	AllowNonConfig.bAllowNonConfig = true;
	EXPECT_TRUE(Write(TEXT("NotConfig"), "1", AllowNonConfig).bSuccess);
	EXPECT_EQ(Settings->NotConfig, 1);

	FProperty* Foreign = URendererSettings::StaticClass()->FindPropertyByName(FName(TEXT("Reflections")));
	const FWriteResult Result = Orvex::PropertyWriter::WriteProperty(Settings, Foreign, Json("1"), FWriteOptions());
	EXPECT_FALSE(Result.bSuccess);
	EXPECT_EQ(U8(Result.ErrorMessage), "Property 'Reflections' does not belong to HostTestSettings");
	EXPECT_FALSE(Orvex::PropertyWriter::WriteProperty(Settings, nullptr, Json("1"), FWriteOptions()).bSuccess);
	const FWriteResult Missing = Orvex::PropertyWriter::WriteProperty(Settings, Settings->GetClass()->FindPropertyByName(FName(TEXT("IntValue"))), nullptr, FWriteOptions());
	EXPECT_EQ(U8(Missing.ErrorMessage), "No value was given for 'IntValue'");
}

TEST_F(PropertyWriterOptions, NotifyRunsTheClassChangeHandlingAfterTheWrite)
{
	URendererSettings* Renderer = GetMutableDefault<URendererSettings>();
	EXPECT_TRUE(Write(Renderer, TEXT("ReflectionCaptureResolution"), "100").bSuccess);
	EXPECT_EQ(Renderer->ReflectionCaptureResolution, 100);
	FWriteOptions Notify;
	Notify.bNotify = true;
	const FWriteResult Result = Write(Renderer, TEXT("ReflectionCaptureResolution"), "100", Notify);
	EXPECT_TRUE(Result.bSuccess);
	// The renderer rounds capture sizes up to a power of two when told of a change.
	EXPECT_EQ(Renderer->ReflectionCaptureResolution, 128);
	EXPECT_EQ(U8(Result.NewValueText), "128");
}
