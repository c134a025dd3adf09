#include "Dom/JsonObject.h"
#include "Dom/JsonValue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{
	std::u16string Std(const FString& String)
	{
		return String.GetStdString();
	}

	// The conversions under test log on purpose; keep the test output quiet.
	class FQuietJsonLog
	{
	public:
		FQuietJsonLog() : Previous(LogJson.GetVerbosity()) { LogJson.SetVerbosity(ELogVerbosity::NoLogging); }
		~FQuietJsonLog() { LogJson.SetVerbosity(Previous); }

	private:
		ELogVerbosity::Type Previous;
	};

	TArray<FString> FieldNames(const FJsonObject& Object)
	{
		TArray<FString> Names;
		for (const auto& Field : Object.Values)
		{
			Names.Add(Field.Key);
		}
		return Names;
	}

	TSharedRef<FJsonValueNumber> Number(double Value)
	{
		return MakeShared<FJsonValueNumber>(Value);
	}
}

TEST(JsonObject, FieldNamesIgnoreCaseForEveryAccessor)
{
	FJsonObject Object;
	Object.SetStringField(TEXT("ClassName"), TEXT("RendererSettings"));

	FString Text;
	EXPECT_TRUE(Object.TryGetStringField(TEXT("classname"), Text));
	EXPECT_EQ(Std(Text), u"RendererSettings");
	EXPECT_TRUE(Object.HasField(TEXT("CLASSNAME")));
	EXPECT_TRUE(Object.HasTypedField<EJson::String>(TEXT("className")));
	EXPECT_TRUE(Object.TryGetField(TEXT("classNAME")).IsValid());

	Object.RemoveField(TEXT("CLASSNAME"));
	EXPECT_FALSE(Object.HasField(TEXT("ClassName")));
	EXPECT_EQ(Object.Values.Num(), 0);
}

TEST(JsonObject, ReplacingAFieldKeepsItsPositionAndTakesTheNewSpelling)
{
	FJsonObject Object;
	Object.SetNumberField(TEXT("first"), 1);
	Object.SetNumberField(TEXT("second"), 2);
	Object.SetNumberField(TEXT("third"), 3);
	Object.SetBoolField(TEXT("SECOND"), true);

	const TArray<FString> Names = FieldNames(Object);
	ASSERT_EQ(Names.Num(), 3);
	EXPECT_EQ(Std(Names[0]), u"first");
	EXPECT_EQ(Std(Names[1]), u"SECOND");
	EXPECT_EQ(Std(Names[2]), u"third");
	EXPECT_TRUE(Object.HasTypedField(TEXT("second"), EJson::Boolean));
}

TEST(JsonObject, HasFieldIsTrueForNullButTypedChecksAreStrict)
{
	FJsonObject Object;
	Object.SetField(TEXT("nothing"), MakeShared<FJsonValueNull>());
	Object.SetObjectField(TEXT("missingObject"), TSharedPtr<FJsonObject>());

	EXPECT_TRUE(Object.HasField(TEXT("nothing")));
	EXPECT_TRUE(Object.HasTypedField<EJson::Null>(TEXT("nothing")));
	EXPECT_FALSE(Object.HasTypedField<EJson::String>(TEXT("nothing")));
	EXPECT_FALSE(Object.HasField(TEXT("absent")));
	// A null object is stored as JSON null rather than an object nobody can read.
	EXPECT_TRUE(Object.HasTypedField<EJson::Null>(TEXT("missingObject")));
}

TEST(JsonObject, TryGetStringFieldConvertsNumbersAndBooleans)
{
	FJsonObject Object;
	Object.SetNumberField(TEXT("whole"), 3.0);
	Object.SetNumberField(TEXT("fraction"), 0.25);
	Object.SetNumberField(TEXT("negative"), -12.5);
	Object.SetBoolField(TEXT("flag"), true);
	Object.SetBoolField(TEXT("off"), false);
	Object.SetArrayField(TEXT("list"), TArray<TSharedPtr<FJsonValue>>());
	Object.SetField(TEXT("nothing"), MakeShared<FJsonValueNull>());

	FString Text;
	ASSERT_TRUE(Object.TryGetStringField(TEXT("whole"), Text));
	EXPECT_EQ(Std(Text), u"3");
	ASSERT_TRUE(Object.TryGetStringField(TEXT("fraction"), Text));
	EXPECT_EQ(Std(Text), u"0.25");
	ASSERT_TRUE(Object.TryGetStringField(TEXT("negative"), Text));
	EXPECT_EQ(Std(Text), u"-12.5");
	ASSERT_TRUE(Object.TryGetStringField(TEXT("flag"), Text));
	EXPECT_EQ(Std(Text), u"true");
	ASSERT_TRUE(Object.TryGetStringField(TEXT("off"), Text));
	EXPECT_EQ(Std(Text), u"false");

	Text = TEXT("unchanged");
	EXPECT_FALSE(Object.TryGetStringField(TEXT("list"), Text));
	EXPECT_FALSE(Object.TryGetStringField(TEXT("nothing"), Text));
	EXPECT_FALSE(Object.TryGetStringField(TEXT("absent"), Text));
	EXPECT_EQ(Std(Text), u"unchanged");
}

TEST(JsonObject, NumbersAndBooleansReadFromOtherTypes)
{
	FJsonObject Object;
	Object.SetStringField(TEXT("numeric"), TEXT("-12.5"));
	Object.SetStringField(TEXT("exponent"), TEXT("1e3"));
	Object.SetStringField(TEXT("word"), TEXT("twelve"));
	Object.SetStringField(TEXT("yes"), TEXT("Yes"));
	Object.SetBoolField(TEXT("flag"), true);
	Object.SetNumberField(TEXT("zero"), 0.0);

	double Number = 0.0;
	ASSERT_TRUE(Object.TryGetNumberField(TEXT("numeric"), Number));
	EXPECT_DOUBLE_EQ(Number, -12.5);
	// Only plain decimal text counts as numeric, as in the engine.
	EXPECT_FALSE(Object.TryGetNumberField(TEXT("exponent"), Number));
	EXPECT_FALSE(Object.TryGetNumberField(TEXT("word"), Number));
	ASSERT_TRUE(Object.TryGetNumberField(TEXT("flag"), Number));
	EXPECT_EQ(Number, 1.0);

	bool bValue = false;
	ASSERT_TRUE(Object.TryGetBoolField(TEXT("yes"), bValue));
	EXPECT_TRUE(bValue);
	ASSERT_TRUE(Object.TryGetBoolField(TEXT("zero"), bValue));
	EXPECT_FALSE(bValue);
}

TEST(JsonObject, IntegerReadsRoundHalfAwayFromZero)
{
	int32 Value = 0;
	EXPECT_TRUE(Number(2.5)->TryGetNumber(Value));
	EXPECT_EQ(Value, 3);
	EXPECT_TRUE(Number(-2.5)->TryGetNumber(Value));
	EXPECT_EQ(Value, -3);
	EXPECT_TRUE(Number(2.4999)->TryGetNumber(Value));
	EXPECT_EQ(Value, 2);
	EXPECT_TRUE(Number(-0.4)->TryGetNumber(Value));
	EXPECT_EQ(Value, 0);

	int64 Wide = 0;
	EXPECT_TRUE(MakeShared<FJsonValueString>(TEXT("41.5"))->TryGetNumber(Wide));
	EXPECT_EQ(Wide, 42);
}

TEST(JsonObject, IntegerReadsRefuseValuesOutsideTheType)
{
	int8 Small = 0;
	EXPECT_TRUE(Number(127.4)->TryGetNumber(Small));
	EXPECT_EQ(Small, 127);
	EXPECT_FALSE(Number(127.5)->TryGetNumber(Small));
	EXPECT_TRUE(Number(-128.4)->TryGetNumber(Small));
	EXPECT_FALSE(Number(-128.5)->TryGetNumber(Small));

	uint8 Byte = 7;
	EXPECT_TRUE(Number(-0.4)->TryGetNumber(Byte));
	EXPECT_EQ(Byte, 0);
	EXPECT_FALSE(Number(-0.6)->TryGetNumber(Byte));
	EXPECT_FALSE(Number(256.0)->TryGetNumber(Byte));

	int32 Value = 0;
	EXPECT_TRUE(Number(2147483647.0)->TryGetNumber(Value));
	EXPECT_FALSE(Number(2147483647.5)->TryGetNumber(Value));
	EXPECT_TRUE(Number(-2147483648.0)->TryGetNumber(Value));
	EXPECT_FALSE(Number(-2147483649.0)->TryGetNumber(Value));

	int64 Wide = 0;
	EXPECT_FALSE(Number(9223372036854775808.0)->TryGetNumber(Wide));
	EXPECT_TRUE(Number(-9223372036854775808.0)->TryGetNumber(Wide));
	EXPECT_EQ(Wide, std::numeric_limits<int64>::min());

	uint64 Unsigned = 0;
	EXPECT_TRUE(Number(18446744073709549568.0)->TryGetNumber(Unsigned));
	EXPECT_FALSE(Number(18446744073709551616.0)->TryGetNumber(Unsigned));

	EXPECT_FALSE(Number(std::nan(""))->TryGetNumber(Value));
	EXPECT_FALSE(Number(std::numeric_limits<double>::infinity())->TryGetNumber(Wide));

	float Single = 0.0f;
	EXPECT_FALSE(Number(1e300)->TryGetNumber(Single));
	EXPECT_TRUE(Number(0.5)->TryGetNumber(Single));
	EXPECT_EQ(Single, 0.5f);
}

TEST(JsonObject, GettersOnMissingOrMistypedFieldsReturnDefaults)
{
	const FQuietJsonLog Quiet;
	FJsonObject Object;
	Object.SetStringField(TEXT("text"), TEXT("abc"));

	EXPECT_TRUE(Object.GetStringField(TEXT("absent")).IsEmpty());
	EXPECT_EQ(Object.GetNumberField(TEXT("text")), 0.0);
	EXPECT_EQ(Object.GetIntegerField(TEXT("absent")), 0);
	EXPECT_FALSE(Object.GetBoolField(TEXT("absent")));
	EXPECT_EQ(Object.GetArrayField(TEXT("text")).Num(), 0);
	// An object getter never hands out null, so chained reads cannot crash.
	const TSharedPtr<FJsonObject>& Missing = Object.GetObjectField(TEXT("absent"));
	ASSERT_TRUE(Missing.IsValid());
	EXPECT_TRUE(Missing->GetStringField(TEXT("deeper")).IsEmpty());
	EXPECT_TRUE(Object.GetField<EJson::Number>(TEXT("text"))->IsNull());
}

TEST(JsonObject, StringArrayFieldIsAllOrNothing)
{
	FJsonObject Object;
	TArray<TSharedPtr<FJsonValue>> Convertible;
	Convertible.Add(MakeShared<FJsonValueString>(TEXT("a")));
	Convertible.Add(Number(2));
	Convertible.Add(MakeShared<FJsonValueBoolean>(false));
	Object.SetArrayField(TEXT("convertible"), Convertible);

	TArray<TSharedPtr<FJsonValue>> Mixed = Convertible;
	Mixed.Add(MakeShared<FJsonValueObject>(MakeShared<FJsonObject>()));
	Object.SetArrayField(TEXT("mixed"), Mixed);

	TArray<FString> Strings;
	ASSERT_TRUE(Object.TryGetStringArrayField(TEXT("convertible"), Strings));
	ASSERT_EQ(Strings.Num(), 3);
	EXPECT_EQ(Std(Strings[1]), u"2");
	EXPECT_EQ(Std(Strings[2]), u"false");

	EXPECT_FALSE(Object.TryGetStringArrayField(TEXT("mixed"), Strings));
	EXPECT_EQ(Strings.Num(), 3);
}

TEST(JsonObject, DuplicateIsDeepAndCompareEqualIgnoresFieldOrder)
{
	const TSharedRef<FJsonObject> Inner = MakeShared<FJsonObject>();
	Inner->SetStringField(TEXT("name"), TEXT("value"));
	const TSharedRef<FJsonObject> Source = MakeShared<FJsonObject>();
	Source->SetObjectField(TEXT("inner"), Inner);
	Source->SetNumberField(TEXT("count"), 2);

	const TSharedRef<FJsonObject> Copy = MakeShared<FJsonObject>();
	FJsonObject::Duplicate(TSharedPtr<FJsonObject>(Source), Copy);
	const FJsonValueObject SourceValue(Source);
	const FJsonValueObject CopyValue(Copy);
	EXPECT_TRUE(FJsonValue::CompareEqual(SourceValue, CopyValue));

	Inner->SetStringField(TEXT("name"), TEXT("changed"));
	EXPECT_EQ(Std(Copy->GetObjectField(TEXT("inner"))->GetStringField(TEXT("name"))), u"value");
	EXPECT_FALSE(FJsonValue::CompareEqual(SourceValue, CopyValue));

	const TSharedRef<FJsonObject> Reordered = MakeShared<FJsonObject>();
	Reordered->SetNumberField(TEXT("COUNT"), 2);
	Reordered->SetObjectField(TEXT("inner"), Inner);
	EXPECT_TRUE(FJsonValue::CompareEqual(SourceValue, FJsonValueObject(Reordered)));
	// String values compare with case, unlike field names.
	EXPECT_FALSE(FJsonValue::CompareEqual(FJsonValueString(TEXT("a")), FJsonValueString(TEXT("A"))));
}

TEST(JsonObject, DestroyingDeepOrWideTreesDoesNotRecurse)
{
	// Far deeper than any stack would survive if each level's destructor called the next.
	constexpr int32 Depth = 200000;
	TSharedPtr<FJsonValue> Chain = MakeShared<FJsonValueNull>();
	for (int32 Level = 0; Level < Depth; ++Level)
	{
		if (Level % 2 == 0)
		{
			TArray<TSharedPtr<FJsonValue>> Elements;
			Elements.Add(Chain);
			Chain = MakeShared<FJsonValueArray>(std::move(Elements));
		}
		else
		{
			const TSharedRef<FJsonObject> Object = MakeShared<FJsonObject>();
			Object->SetField(TEXT("next"), Chain);
			Chain = MakeShared<FJsonValueObject>(Object);
		}
	}
	const TSharedPtr<FJsonValue> Copy = FJsonValue::Duplicate(Chain);
	EXPECT_TRUE(FJsonValue::CompareEqual(*Chain, *Copy));
	Chain.Reset();

	// A subtree still held elsewhere survives its parent's release.
	TSharedPtr<FJsonValue> Kept;
	{
		TArray<TSharedPtr<FJsonValue>> Wide;
		for (int32 Index = 0; Index < 100000; ++Index)
		{
			TArray<TSharedPtr<FJsonValue>> Single;
			Single.Add(Number(Index));
			Wide.Add(MakeShared<FJsonValueArray>(std::move(Single)));
		}
		Kept = Wide[500];
		const TSharedRef<FJsonValueArray> Root = MakeShared<FJsonValueArray>(std::move(Wide));
	}
	EXPECT_EQ(Kept->AsArray()[0]->AsNumber(), 500.0);
}
