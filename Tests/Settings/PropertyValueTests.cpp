// Copying, comparing and reaching into property values without knowing their C++ types.
#include "GameFramework/InputSettings.h"
#include "HostTestSettings.h"
#include "SettingsTestSupport.h"
#include "UObject/EnumProperty.h"
#include "UObject/UnrealType.h"

namespace
{
	class FPropertyValueTest : public FSettingsTest
	{
	protected:
		virtual void SetUp() override
		{
			FSettingsTest::SetUp();
			Source = NewObject<UHostTestSettings>();
			Target = NewObject<UHostTestSettings>();
			ASSERT_TRUE(Source && Target);
		}

		const FProperty* Property(const TCHAR* Name) const
		{
			return UHostTestSettings::StaticClass()->FindPropertyByName(FName(Name));
		}

		UHostTestSettings* Source = nullptr;
		UHostTestSettings* Target = nullptr;
	};
}

using PropertyValues = FPropertyValueTest;

TEST_F(PropertyValues, CopiesEveryKindWithoutTouchingItsNeighbours)
{
	Source->bFlagA = 1;
	Source->bFlagB = 0;
	Source->Strings = {TEXT("one"), TEXT("two")};
	Source->Mappings.Add(FInputAxisKeyMapping());
	Source->Mappings[0].AxisName = TEXT("Turn");
	Source->StaticInts[0] = 10;
	Source->StaticInts[3] = 40;
	Source->EnumClass = EWorkingColorSpace::Custom;
	Source->SoftClassPtr = TSoftClassPtr<UObject>(FSoftObjectPath(TEXT("/Script/Engine.RendererSettings")));
	Target->bFlagB = 1;
	Target->bFlagC = 1;

	for (const TCHAR* Name : {TEXT("bFlagA"), TEXT("Strings"), TEXT("Mappings"), TEXT("StaticInts"), TEXT("EnumClass"), TEXT("SoftClassPtr")})
	{
		Property(Name)->CopyCompleteValue_InContainer(Target, Source);
		EXPECT_TRUE(Property(Name)->Identical_InContainer(Target, Source)) << U8(Name);
	}
	EXPECT_EQ(Target->bFlagA, 1u);
	EXPECT_EQ(Target->bFlagB, 1u);
	EXPECT_EQ(Target->bFlagC, 1u);
	EXPECT_EQ(Target->Strings, Source->Strings);
	ASSERT_EQ(Target->Mappings.Num(), 1);
	EXPECT_EQ(U8(Target->Mappings[0].AxisName.ToString()), "Turn");
	EXPECT_EQ(Target->StaticInts[3], 40);
	EXPECT_EQ(Target->EnumClass, EWorkingColorSpace::Custom);
	EXPECT_EQ(U8(Target->SoftClassPtr.ToString()), "/Script/Engine.RendererSettings");
	// A copy is a copy: changing the source afterwards leaves the target alone.
	Source->Strings[0] = TEXT("changed");
	EXPECT_EQ(U8(Target->Strings[0]), "one");
}

TEST_F(PropertyValues, ComparesAgainstDefaultsAsTheEngineDoes)
{
	Source->Text = TEXT("Case");
	Target->Text = TEXT("case");
	// Config text is compared exactly: a change of letter case is a change.
	EXPECT_FALSE(Property(TEXT("Text"))->Identical_InContainer(Source, Target));
	EXPECT_TRUE(Property(TEXT("Vector"))->Identical_InContainer(Source, Target));
	Target->Vector.Z = 2.0;
	EXPECT_FALSE(Property(TEXT("Vector"))->Identical_InContainer(Source, Target));
	// A missing struct default never matches; a missing array default matches only an empty array.
	EXPECT_FALSE(Property(TEXT("Vector"))->Identical_InContainer(Source, nullptr));
	Source->Numbers.Empty();
	EXPECT_TRUE(Property(TEXT("Numbers"))->Identical_InContainer(Source, nullptr));
	Source->Numbers = {0};
	EXPECT_FALSE(Property(TEXT("Numbers"))->Identical_InContainer(Source, nullptr));

	// Against a real default, equal values are not exported.
	FString Text;
	Target->IntValue = Source->IntValue;
	EXPECT_FALSE(Property(TEXT("IntValue"))->ExportText_InContainer(0, Text, Source, Target, nullptr, PPF_None));
	Target->IntValue = Source->IntValue + 1;
	EXPECT_TRUE(Property(TEXT("IntValue"))->ExportText_InContainer(0, Text, Source, Target, nullptr, PPF_None));
	EXPECT_EQ(U8(Text), "32");
}

TEST_F(PropertyValues, ArrayHelpersGrowShrinkAndReachElements)
{
	const FArrayProperty* Array = CastField<FArrayProperty>(Property(TEXT("Numbers")));
	ASSERT_NE(Array, nullptr);
	Source->Numbers = {1, 2, 3};
	FScriptArrayHelper_InContainer Helper(Array, Source);
	EXPECT_EQ(Helper.Num(), 3);
	EXPECT_EQ(*reinterpret_cast<int32*>(Helper.GetRawPtr(2)), 3);
	EXPECT_EQ(Helper.AddValues(2), 3);
	EXPECT_EQ(Source->Numbers, (TArray<int32>{1, 2, 3, 0, 0}));
	Helper.InsertValues(0, 1);
	Helper.RemoveValues(2, 2);
	EXPECT_EQ(Source->Numbers, (TArray<int32>{0, 1, 0, 0}));
	EXPECT_FALSE(Helper.ExpandForIndex(3));
	EXPECT_TRUE(Helper.ExpandForIndex(5));
	EXPECT_EQ(Helper.Num(), 6);
	Helper.EmptyAndAddValues(2);
	EXPECT_EQ(Source->Numbers, (TArray<int32>{0, 0}));
	Helper.EmptyValues();
	EXPECT_TRUE(Source->Numbers.IsEmpty());

	// Elements of struct arrays are whole structs, one after another.
	const FArrayProperty* Mappings = CastField<FArrayProperty>(Property(TEXT("Mappings")));
	FScriptArrayHelper_InContainer MappingHelper(Mappings, Source);
	MappingHelper.AddValues(2);
	FInputAxisKeyMapping* Second = reinterpret_cast<FInputAxisKeyMapping*>(MappingHelper.GetRawPtr(1));
	EXPECT_EQ(Second, &Source->Mappings[1]);
	EXPECT_FLOAT_EQ(Second->Scale, 1.0f);
}

TEST_F(PropertyValues, CppTypesAreSpelledAsInTheHeaders)
{
	EXPECT_EQ(U8(Property(TEXT("IntValue"))->GetCPPType()), "int32");
	EXPECT_EQ(U8(Property(TEXT("UInt64Value"))->GetCPPType()), "uint64");
	EXPECT_EQ(U8(Property(TEXT("bFlagA"))->GetCPPType()), "uint32");
	EXPECT_EQ(U8(Property(TEXT("bNative"))->GetCPPType()), "bool");
	EXPECT_EQ(U8(Property(TEXT("ByteEnum"))->GetCPPType()), "TEnumAsByte<EReflectionMethod::Type>");
	EXPECT_EQ(U8(Property(TEXT("EnumClass"))->GetCPPType()), "EWorkingColorSpace");
	EXPECT_EQ(U8(Property(TEXT("Vector"))->GetCPPType()), "FVector");
	EXPECT_EQ(U8(Property(TEXT("Strings"))->GetCPPType()), "TArray<FString>");
	EXPECT_EQ(U8(Property(TEXT("SettingsClass"))->GetCPPType()), "TSubclassOf<UDeveloperSettings>");
	EXPECT_EQ(U8(Property(TEXT("SoftClassPtr"))->GetCPPType()), "TSoftClassPtr<UObject>");
	EXPECT_EQ(U8(Property(TEXT("SoftPath"))->GetCPPType()), "FSoftObjectPath");
	EXPECT_EQ(U8(Property(TEXT("IntValue"))->GetClass()->GetName()), "IntProperty");
	EXPECT_EQ(U8(Property(TEXT("EnumClass"))->GetClass()->GetName()), "EnumProperty");
	EXPECT_EQ(U8(Property(TEXT("IntValue"))->GetPathName()), "/Script/OrvexTests.HostTestSettings:IntValue");
}

TEST_F(PropertyValues, KeysInArraysAreBareNames)
{
	Source->Key = FKey(TEXT("Tilde"));
	const FArrayProperty* ConsoleKeys = CastField<FArrayProperty>(UInputSettings::StaticClass()->FindPropertyByName(FName(TEXT("ConsoleKeys"))));
	ASSERT_NE(ConsoleKeys, nullptr);
	UInputSettings* Input = GetMutableDefault<UInputSettings>();
	Input->ConsoleKeys = {FKey(TEXT("Tilde")), FKey(TEXT("F10"))};
	FString Text;
	ASSERT_TRUE(ConsoleKeys->ExportText_InContainer(0, Text, Input, Input, Input, PPF_None));
	EXPECT_EQ(U8(Text), "(Tilde,F10)");
	FCapturedErrors Errors;
	ASSERT_NE(ConsoleKeys->ImportText_InContainer(TEXT("(\"Backquote\",F1)"), Input, Input, PPF_None, &Errors), nullptr);
	ASSERT_EQ(Input->ConsoleKeys.Num(), 2);
	EXPECT_EQ(U8(Input->ConsoleKeys[0].ToString()), "Backquote");
	EXPECT_EQ(U8(Input->ConsoleKeys[1].ToString()), "F1");
}
