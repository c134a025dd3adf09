#include "OrvexJsonPropertyValue.h"

#include "Dom/JsonObject.h"
#include "Misc/OutputDevice.h"
#include "UObject/Class.h"
#include "UObject/EnumProperty.h"
#include "UObject/SoftObjectPath.h"
#include "UObject/UnrealType.h"

#include <cfloat>
#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace Orvex::PropertyWriter::Private
{
	namespace
	{
		// The engine's names hold at most 1023 characters.
		constexpr int32 MaxNameLength = 1023;

		// The first reason an engine import gives for refusing text.
		class FImportErrors final : public FOutputDevice
		{
		public:
			virtual void Serialize(const TCHAR* V, ELogVerbosity::Type Verbosity, const FName& Category) override
			{
				if (Reason.IsEmpty())
				{
					Reason = V;
				}
			}

			FString Reason;
		};

		// "Value 2.5 for 'IntValue'": how most messages start.
		FString Subject(const TSharedPtr<FJsonValue>& Value, const FValuePath& Path)
		{
			return FString::Printf(TEXT("Value %s for '%s'"), *DescribeJson(Value), *Path.Text);
		}

		FString ReadTrimmedString(const TSharedPtr<FJsonValue>& Value)
		{
			FString Text;
			Value->TryGetString(Text);
			return Text.TrimStartAndEnd();
		}

		// A JSON number, or a string holding a decimal number ("42", "-0.5"). Booleans are not
		// numbers here, whatever the JSON layer's conversions allow.
		bool ReadNumber(const TSharedPtr<FJsonValue>& Value, double& OutNumber)
		{
			if (Value->Type == EJson::Number)
			{
				return Value->TryGetNumber(OutNumber) && std::isfinite(OutNumber);
			}
			if (Value->Type == EJson::String)
			{
				const FString Text = ReadTrimmedString(Value);
				if (Text.IsNumeric())
				{
					OutNumber = FCString::Atod(*Text);
					return std::isfinite(OutNumber);
				}
			}
			return false;
		}

		// An integer held exactly, as sign and magnitude, so that every int64 and uint64 fits.
		struct FExactInteger
		{
			bool bNegative = false;
			uint64 Magnitude = 0;

			double ToDouble() const { return bNegative ? -static_cast<double>(Magnitude) : static_cast<double>(Magnitude); }
		};

		enum class EIntegerRead : uint8
		{
			Ok,
			NotANumber,
			NotWhole,
			OutOfRange,
		};

		EIntegerRead ReadInteger(const TSharedPtr<FJsonValue>& Value, FExactInteger& OutInteger)
		{
			if (Value->Type == EJson::String)
			{
				// Digits in text are read exactly, beyond what a double holds.
				const std::string Text = UE::Host::StringToUtf8(ReadTrimmedString(Value));
				const char* Begin = Text.data();
				const char* const End = Begin + Text.size();
				bool bNegative = false;
				if (Begin != End && (*Begin == '-' || *Begin == '+'))
				{
					bNegative = *Begin == '-';
					++Begin;
				}
				uint64 Magnitude = 0;
				const std::from_chars_result Parsed = std::from_chars(Begin, End, Magnitude);
				if (Begin != End && Parsed.ptr == End)
				{
					if (Parsed.ec == std::errc::result_out_of_range)
					{
						return EIntegerRead::OutOfRange;
					}
					if (Parsed.ec == std::errc())
					{
						OutInteger = FExactInteger{bNegative && Magnitude != 0, Magnitude};
						return EIntegerRead::Ok;
					}
				}
			}
			double Number = 0.0;
			if (!ReadNumber(Value, Number))
			{
				return EIntegerRead::NotANumber;
			}
			if (std::floor(Number) != Number)
			{
				return EIntegerRead::NotWhole;
			}
			// -2^63 and 2^64 are exact doubles: the limits of the two widest types.
			if (Number < -9223372036854775808.0 || Number >= 18446744073709551616.0)
			{
				return EIntegerRead::OutOfRange;
			}
			OutInteger = Number < 0.0 ? FExactInteger{true, static_cast<uint64>(-Number)} : FExactInteger{false, static_cast<uint64>(Number)};
			return EIntegerRead::Ok;
		}

		struct FIntegerType
		{
			bool bSigned = false;
			int32 Bits = 0;

			bool Holds(const FExactInteger& Value) const
			{
				if (bSigned)
				{
					const uint64 Limit = uint64(1) << (Bits - 1);
					return Value.bNegative ? Value.Magnitude <= Limit : Value.Magnitude < Limit;
				}
				return !Value.bNegative && (Bits == 64 || Value.Magnitude < (uint64(1) << Bits));
			}

			FString DescribeRange() const
			{
				if (bSigned)
				{
					const int64 Max = Bits == 64 ? INT64_MAX : static_cast<int64>((uint64(1) << (Bits - 1)) - 1);
					return FString::Printf(TEXT("%lld to %lld"), -Max - 1, Max);
				}
				return FString::Printf(TEXT("0 to %llu"), Bits == 64 ? UINT64_MAX : (uint64(1) << Bits) - 1);
			}
		};

		FIntegerType GetIntegerType(const FNumericProperty* Property)
		{
			const bool bSigned = CastField<FInt8Property>(Property) || CastField<FInt16Property>(Property) || CastField<FIntProperty>(Property)
				|| CastField<FInt64Property>(Property);
			return FIntegerType{bSigned, Property->GetElementSize() * 8};
		}

		FString FormatLimit(double Limit)
		{
			return std::floor(Limit) == Limit && std::fabs(Limit) < 1e15 ? FString::Printf(TEXT("%lld"), static_cast<long long>(Limit)) : FString::SanitizeFloat(Limit, 0);
		}

		// The ClampMin/ClampMax metadata: the range the settings page holds a value to.
		bool ApplyMetaRange(const FProperty* Property, double& InOutNumber, const TSharedPtr<FJsonValue>& Value, const FValuePath& Path, const FConversion& Conversion, FString& OutError)
		{
#if WITH_EDITORONLY_DATA
			const FString& MinText = Property->GetMetaData(TEXT("ClampMin"));
			const FString& MaxText = Property->GetMetaData(TEXT("ClampMax"));
			const bool bHasMin = MinText.IsNumeric();
			const bool bHasMax = MaxText.IsNumeric();
			const double Min = bHasMin ? FCString::Atod(*MinText) : 0.0;
			const double Max = bHasMax ? FCString::Atod(*MaxText) : 0.0;
			const bool bBelow = bHasMin && InOutNumber < Min;
			const bool bAbove = bHasMax && InOutNumber > Max;
			if (!bBelow && !bAbove)
			{
				return true;
			}
			if (Conversion.bClampToMetaRange)
			{
				InOutNumber = bBelow ? Min : Max;
				return true;
			}
			const FString Range = bHasMin && bHasMax ? FormatLimit(Min) + TEXT(" to ") + FormatLimit(Max)
				: bHasMin ? TEXT("at least ") + FormatLimit(Min) : TEXT("at most ") + FormatLimit(Max);
			OutError = Subject(Value, Path) + FString::Printf(TEXT(" is out of range (%s)"), *Range);
			return false;
#else
			return true;
#endif
		}

		bool ConvertBool(const FBoolProperty* Property, void* Data, const TSharedPtr<FJsonValue>& Value, const FValuePath& Path, FString& OutError)
		{
			bool bResult = false;
			bool bValid = false;
			if (Value->Type == EJson::Boolean)
			{
				bValid = Value->TryGetBool(bResult);
			}
			else if (Value->Type == EJson::String)
			{
				// The words the engine's own bool import accepts.
				const FString Text = ReadTrimmedString(Value);
				for (const TCHAR* Word : {TEXT("true"), TEXT("yes"), TEXT("on"), TEXT("1")})
				{
					bResult |= Text.Equals(Word, ESearchCase::IgnoreCase);
				}
				bValid = bResult;
				for (const TCHAR* Word : {TEXT("false"), TEXT("no"), TEXT("off"), TEXT("0")})
				{
					bValid |= Text.Equals(Word, ESearchCase::IgnoreCase);
				}
			}
			else if (Value->Type == EJson::Number)
			{
				double Number = 0.0;
				bValid = Value->TryGetNumber(Number) && (Number == 0.0 || Number == 1.0);
				bResult = Number == 1.0;
			}
			if (!bValid)
			{
				OutError = Subject(Value, Path) + TEXT(" is not a boolean (expected true or false, yes or no, on or off, 1 or 0)");
				return false;
			}
			Property->SetPropertyValue(Data, bResult);
			return true;
		}

		// The enumerators a settings page offers: neither hidden ones nor the generated _MAX.
		TArray<int32> GetSelectableEnumerators(const UEnum* Enum)
		{
			TArray<int32> Indices;
			for (int32 Index = 0; Index < Enum->NumEnums(); ++Index)
			{
				const bool bGeneratedMax = Index == Enum->NumEnums() - 1 && Enum->ContainsExistingMax();
#if WITH_EDITORONLY_DATA
				const bool bHidden = Enum->HasMetaData(TEXT("Hidden"), Index);
#else
				const bool bHidden = false;
#endif
				if (!bGeneratedMax && !bHidden)
				{
					Indices.Add(Index);
				}
			}
			return Indices;
		}

		// An enumerator by short name ("Lumen"), qualified name ("EReflectionMethod::Lumen"),
		// either in any letter case, or by number.
		bool ConvertEnumValue(const UEnum* Enum, int64& OutValue, const TSharedPtr<FJsonValue>& Value, const FValuePath& Path, FString& OutError)
		{
			const TArray<int32> Choices = GetSelectableEnumerators(Enum);
			bool bFound = false;
			if (Value->Type == EJson::String)
			{
				const FString Text = ReadTrimmedString(Value);
				FString ShortName = Text;
				const int32 Scope = Text.Find(TEXT("::"), ESearchCase::CaseSensitive);
				if (Scope == INDEX_NONE || Text.Left(Scope).Equals(Enum->GetName(), ESearchCase::IgnoreCase))
				{
					ShortName = Scope == INDEX_NONE ? Text : Text.RightChop(Scope + 2);
					for (const int32 Index : Choices)
					{
						if (!bFound && Enum->GetNameStringByIndex(Index).Equals(ShortName, ESearchCase::IgnoreCase))
						{
							OutValue = Enum->GetValueByIndex(Index);
							bFound = true;
						}
					}
				}
			}
			FExactInteger Number;
			if (!bFound && (Value->Type == EJson::Number || Value->Type == EJson::String) && ReadInteger(Value, Number) == EIntegerRead::Ok
				&& FIntegerType{true, 64}.Holds(Number))
			{
				const int64 Wanted = Number.bNegative ? static_cast<int64>(0 - Number.Magnitude) : static_cast<int64>(Number.Magnitude);
				for (const int32 Index : Choices)
				{
					if (!bFound && Enum->GetValueByIndex(Index) == Wanted)
					{
						OutValue = Wanted;
						bFound = true;
					}
				}
			}
			if (bFound)
			{
				return true;
			}
			FString Expected;
			for (const int32 Index : Choices)
			{
				Expected += (Expected.IsEmpty() ? TEXT("") : TEXT(", ")) + Enum->GetNameStringByIndex(Index);
			}
			// The row of a top-level write already names the property.
			const FString Start = Path.bTopLevel ? FString::Printf(TEXT("Value %s"), *DescribeJson(Value)) : Subject(Value, Path);
			OutError = Start + FString::Printf(TEXT(" is not a valid %s (expected one of %s)"), *Enum->GetName(), *Expected);
			return false;
		}

		bool ConvertNumber(const FNumericProperty* Property, void* Data, const TSharedPtr<FJsonValue>& Value, const FValuePath& Path, const FConversion& Conversion, FString& OutError)
		{
			if (Property->IsFloatingPoint())
			{
				double Number = 0.0;
				if (!ReadNumber(Value, Number))
				{
					OutError = Subject(Value, Path) + TEXT(" is not a number");
					return false;
				}
				if (Property->GetElementSize() == sizeof(float) && std::fabs(Number) > FLT_MAX)
				{
					OutError = Subject(Value, Path) + FString::Printf(TEXT(" is out of range (a float holds -%s to %s)"), *FString::SanitizeFloat(FLT_MAX, 0), *FString::SanitizeFloat(FLT_MAX, 0));
					return false;
				}
				if (!ApplyMetaRange(Property, Number, Value, Path, Conversion, OutError))
				{
					return false;
				}
				Property->SetFloatingPointPropertyValue(Data, Number);
				return true;
			}

			const FIntegerType Type = GetIntegerType(Property);
			FExactInteger Integer;
			switch (ReadInteger(Value, Integer))
			{
			case EIntegerRead::NotANumber:
				OutError = Subject(Value, Path) + TEXT(" is not a number");
				return false;
			case EIntegerRead::NotWhole:
				OutError = Subject(Value, Path) + TEXT(" is not a whole number");
				return false;
			case EIntegerRead::OutOfRange:
				OutError = Subject(Value, Path) + FString::Printf(TEXT(" is out of range (%s)"), *Type.DescribeRange());
				return false;
			default:
				break;
			}
			if (!Type.Holds(Integer))
			{
				OutError = Subject(Value, Path) + FString::Printf(TEXT(" is out of range (%s)"), *Type.DescribeRange());
				return false;
			}
			double Approximate = Integer.ToDouble();
			const double Before = Approximate;
			if (!ApplyMetaRange(Property, Approximate, Value, Path, Conversion, OutError))
			{
				return false;
			}
			if (Approximate != Before)
			{
				// Clamped to a metadata limit, which is a small whole number in practice.
				Integer = Approximate < 0.0 ? FExactInteger{true, static_cast<uint64>(-std::ceil(Approximate))} : FExactInteger{false, static_cast<uint64>(std::floor(Approximate))};
				if (!Type.Holds(Integer))
				{
					OutError = Subject(Value, Path) + FString::Printf(TEXT(" is out of range (%s)"), *Type.DescribeRange());
					return false;
				}
			}
			if (Type.bSigned)
			{
				Property->SetIntPropertyValue(Data, Integer.bNegative ? static_cast<int64>(0 - Integer.Magnitude) : static_cast<int64>(Integer.Magnitude));
			}
			else
			{
				Property->SetIntPropertyValue(Data, Integer.Magnitude);
			}
			return true;
		}

		bool ReadString(const TSharedPtr<FJsonValue>& Value, const FValuePath& Path, FString& OutText, FString& OutError)
		{
			if (Value->Type != EJson::String)
			{
				OutError = Subject(Value, Path) + TEXT(" is not a string");
				return false;
			}
			Value->TryGetString(OutText);
			return true;
		}

		// What the engine refuses in package names ('.' separates the asset, so it is not here)
		// and in object names.
		const TCHAR* const InvalidPackageCharacters = TEXT("\\:*?\"<>|' ,&!~\n\r\t@#");
		const TCHAR* const InvalidObjectNameCharacters = TEXT("\"' ,/.:|&!~\n\r\t@#(){}[]=;^%$`");

		bool HasAnyOf(const FString& Text, const TCHAR* Characters)
		{
			for (const TCHAR C : Text)
			{
				for (const TCHAR* Invalid = Characters; *Invalid; ++Invalid)
				{
					if (C == *Invalid)
					{
						return true;
					}
				}
			}
			return false;
		}

		// "/Package/Path.Asset[:SubObject]", "Class'/Package/Path.Asset'", or None, empty or null
		// for no object.
		bool ReadObjectPath(const TSharedPtr<FJsonValue>& Value, const FValuePath& Path, FSoftObjectPath& OutPath, FString& OutError)
		{
			OutPath.Reset();
			if (Value->Type == EJson::Null)
			{
				return true;
			}
			if (Value->Type == EJson::String)
			{
				const FString Text = ReadTrimmedString(Value);
				if (Text.IsEmpty() || Text.Equals(TEXT("None")))
				{
					return true;
				}
				if (OutPath.SetPath(Text) && OutPath.GetLongPackageName().StartsWith(TEXT("/"))
					&& !HasAnyOf(OutPath.GetLongPackageName(), InvalidPackageCharacters) && !HasAnyOf(OutPath.GetAssetName(), InvalidObjectNameCharacters))
				{
					return true;
				}
				OutPath.Reset();
			}
			OutError = Subject(Value, Path) + TEXT(" is not an object path (expected /Package/Path.Asset, or None)");
			return false;
		}

		// Text in the engine's own form for the property, read whole or not at all.
		bool ImportWhole(const FProperty* Property, void* Data, const FString& Text, const TSharedPtr<FJsonValue>& Value, const FValuePath& Path, const FConversion& Conversion, FString& OutError)
		{
			FImportErrors Errors;
			const TCHAR* End = Property->ImportText_Direct(*Text, Data, Conversion.Owner, PPF_None, &Errors);
			while (End && FChar::IsWhitespace(*End))
			{
				++End;
			}
			if (End && *End == 0)
			{
				return true;
			}
			OutError = Subject(Value, Path) + FString::Printf(TEXT(" is not a valid %s"), *Property->GetCPPType());
			if (!Errors.Reason.IsEmpty())
			{
				OutError += TEXT(": ") + Errors.Reason;
			}
			return false;
		}

		bool ConvertObjectReference(const FObjectPropertyBase* Property, void* Data, const TSharedPtr<FJsonValue>& Value, const FValuePath& Path, const FConversion& Conversion, FString& OutError)
		{
			if (Value->Type == EJson::Null)
			{
				Property->SetObjectPropertyValue(Data, nullptr);
				return true;
			}
			FString Text;
			return ReadString(Value, Path, Text, OutError) && ImportWhole(Property, Data, Text.IsEmpty() ? FString(TEXT("None")) : Text, Value, Path, Conversion, OutError);
		}

		bool ConvertStruct(const FStructProperty* Property, void* Data, const TSharedPtr<FJsonValue>& Value, const FValuePath& Path, const FConversion& Conversion, FString& OutError)
		{
			const UScriptStruct* Struct = Property->Struct;
			if (Struct == TBaseStructure<FSoftObjectPath>::Get() || Struct == TBaseStructure<FSoftClassPath>::Get())
			{
				// A soft class path is a soft object path with nothing added.
				return ReadObjectPath(Value, Path, *static_cast<FSoftObjectPath*>(Data), OutError);
			}
			const TSharedPtr<FJsonObject>* Object = nullptr;
			if (Value->Type == EJson::Object && Value->TryGetObject(Object) && Object->IsValid())
			{
				for (const auto& Field : (*Object)->Values)
				{
					const FProperty* Member = Field.Key.IsEmpty() ? nullptr : Struct->FindPropertyByName(FName(*Field.Key));
					if (!Member)
					{
						FString Known;
						for (TFieldIterator<FProperty> It(Struct); It; ++It)
						{
							Known += (Known.IsEmpty() ? TEXT("") : TEXT(", ")) + It->GetName();
						}
						OutError = FString::Printf(TEXT("Unknown field '%s' for '%s' (%s has %s)"), *Field.Key, *Path.Text, *Property->GetCPPType(), *Known);
						return false;
					}
					if (!ConvertCompleteValue(Member, const_cast<FProperty*>(Member)->ContainerPtrToValuePtr<void>(Data), Field.Value, Path.Field(Member->GetName()), Conversion, OutError))
					{
						return false;
					}
				}
				return true;
			}
			if (Value->Type == EJson::String)
			{
				return ImportWhole(Property, Data, ReadTrimmedString(Value), Value, Path, Conversion, OutError);
			}
			OutError = Subject(Value, Path) + FString::Printf(TEXT(" is not a %s (expected an object of its fields, or its text form)"), *Property->GetCPPType());
			return false;
		}

		bool ConvertArray(const FArrayProperty* Property, void* Data, const TSharedPtr<FJsonValue>& Value, const FValuePath& Path, const FConversion& Conversion, FString& OutError)
		{
			if (Value->Type == EJson::String)
			{
				return ImportWhole(Property, Data, ReadTrimmedString(Value), Value, Path, Conversion, OutError);
			}
			const TArray<TSharedPtr<FJsonValue>>* Elements = nullptr;
			if (Value->Type != EJson::Array || !Value->TryGetArray(Elements))
			{
				OutError = Subject(Value, Path) + TEXT(" is not an array");
				return false;
			}
			FScriptArrayHelper Helper(Property, Data);
			Helper.EmptyAndAddValues(Elements->Num());
			for (int32 Index = 0; Index < Elements->Num(); ++Index)
			{
				if (!ConvertCompleteValue(Property->Inner, Helper.GetRawPtr(Index), (*Elements)[Index], Path.Element(Index), Conversion, OutError))
				{
					return false;
				}
			}
			return true;
		}

		// The first of the elements before Limit that is the same set element or map key as the
		// one at Limit. Strings ignore case, as a TSet<FString> does. Compared one by one: the
		// container's hash is not valid until it is rehashed.
		template<typename TGetPtr>
		int32 FindEarlierKey(const FProperty* KeyProperty, TGetPtr GetPtr, int32 Limit)
		{
			const FStrProperty* StringKey = CastField<FStrProperty>(KeyProperty);
			const void* Wanted = GetPtr(Limit);
			for (int32 Index = 0; Index < Limit; ++Index)
			{
				const void* Candidate = GetPtr(Index);
				if (StringKey ? StringKey->GetPropertyValue(Candidate).Equals(StringKey->GetPropertyValue(Wanted), ESearchCase::IgnoreCase)
					: KeyProperty->Identical(Candidate, Wanted, PPF_None))
				{
					return Index;
				}
			}
			return INDEX_NONE;
		}

		// A JSON array of distinct elements; naming one twice is a mistake, not a request.
		bool ConvertSet(const FSetProperty* Property, void* Data, const TSharedPtr<FJsonValue>& Value, const FValuePath& Path, const FConversion& Conversion, FString& OutError)
		{
			if (Value->Type == EJson::String)
			{
				return ImportWhole(Property, Data, ReadTrimmedString(Value), Value, Path, Conversion, OutError);
			}
			const TArray<TSharedPtr<FJsonValue>>* Elements = nullptr;
			if (Value->Type != EJson::Array || !Value->TryGetArray(Elements))
			{
				OutError = Subject(Value, Path) + TEXT(" is not an array (a set is given as an array of its elements)");
				return false;
			}
			const FProperty* ElementProperty = Property->GetElementProperty();
			FScriptSetHelper Helper(Property, Data);
			Helper.EmptyElements(Elements->Num());
			for (int32 Index = 0; Index < Elements->Num(); ++Index)
			{
				const FValuePath ElementPath = Path.Element(Index);
				const int32 Added = Helper.AddDefaultValue_Invalid_NeedsRehash();
				if (!ConvertCompleteValue(ElementProperty, Helper.GetElementPtr(Added), (*Elements)[Index], ElementPath, Conversion, OutError))
				{
					return false;
				}
				const int32 Earlier = FindEarlierKey(ElementProperty, [&Helper](int32 At) { return Helper.GetElementPtr(At); }, Added);
				if (Earlier != INDEX_NONE)
				{
					OutError = Subject((*Elements)[Index], ElementPath) + FString::Printf(TEXT(" repeats element %d (a set holds each element once)"), Earlier);
					return false;
				}
			}
			Helper.Rehash();
			return true;
		}

		// A JSON object: each field name is a key in the key's text form, each field value a value.
		bool ConvertMap(const FMapProperty* Property, void* Data, const TSharedPtr<FJsonValue>& Value, const FValuePath& Path, const FConversion& Conversion, FString& OutError)
		{
			if (Value->Type == EJson::String)
			{
				return ImportWhole(Property, Data, ReadTrimmedString(Value), Value, Path, Conversion, OutError);
			}
			const TSharedPtr<FJsonObject>* Object = nullptr;
			if (Value->Type != EJson::Object || !Value->TryGetObject(Object) || !Object->IsValid())
			{
				OutError = Subject(Value, Path) + TEXT(" is not an object (a map is given as an object of key and value pairs)");
				return false;
			}
			const FProperty* KeyProperty = Property->GetKeyProperty();
			FScriptMapHelper Helper(Property, Data);
			Helper.EmptyValues((*Object)->Values.Num());
			for (const auto& Pair : (*Object)->Values)
			{
				const FValuePath PairPath = Path.Key(Pair.Key);
				const TSharedPtr<FJsonValue> KeyValue = MakeShared<FJsonValueString>(Pair.Key);
				const int32 Added = Helper.AddDefaultValue_Invalid_NeedsRehash();
				if (!ConvertCompleteValue(KeyProperty, Helper.GetKeyPtr(Added), KeyValue, FValuePath{FString::Printf(TEXT("key of %s"), *Path.Text), false}, Conversion, OutError)
					|| !ConvertCompleteValue(Property->GetValueProperty(), Helper.GetValuePtr(Added), Pair.Value, PairPath, Conversion, OutError))
				{
					return false;
				}
				if (FindEarlierKey(KeyProperty, [&Helper](int32 At) { return Helper.GetKeyPtr(At); }, Added) != INDEX_NONE)
				{
					OutError = FString::Printf(TEXT("Key '%s' for '%s' names the same key as an earlier one (a map holds each key once)"), *Pair.Key, *Path.Text);
					return false;
				}
			}
			Helper.Rehash();
			return true;
		}

		bool ConvertElement(const FProperty* Property, void* Data, const TSharedPtr<FJsonValue>& Value, const FValuePath& Path, const FConversion& Conversion, FString& OutError)
		{
			if (!Value.IsValid())
			{
				OutError = FString::Printf(TEXT("No value was given for '%s'"), *Path.Text);
				return false;
			}
			if (const FBoolProperty* Bool = CastField<FBoolProperty>(Property))
			{
				return ConvertBool(Bool, Data, Value, Path, OutError);
			}
			if (const FEnumProperty* Enum = CastField<FEnumProperty>(Property))
			{
				int64 Number = 0;
				if (!ConvertEnumValue(Enum->GetEnum(), Number, Value, Path, OutError))
				{
					return false;
				}
				Enum->GetUnderlyingProperty()->SetIntPropertyValue(Data, Number);
				return true;
			}
			if (const FNumericProperty* Numeric = CastField<FNumericProperty>(Property))
			{
				if (const UEnum* ByteEnum = Numeric->GetIntPropertyEnum())
				{
					int64 Number = 0;
					if (!ConvertEnumValue(ByteEnum, Number, Value, Path, OutError))
					{
						return false;
					}
					Numeric->SetIntPropertyValue(Data, Number);
					return true;
				}
				return ConvertNumber(Numeric, Data, Value, Path, Conversion, OutError);
			}
			if (const FStrProperty* String = CastField<FStrProperty>(Property))
			{
				FString Text;
				if (!ReadString(Value, Path, Text, OutError))
				{
					return false;
				}
				String->SetPropertyValue(Data, Text);
				return true;
			}
			if (const FNameProperty* Name = CastField<FNameProperty>(Property))
			{
				FString Text;
				if (!ReadString(Value, Path, Text, OutError))
				{
					return false;
				}
				if (Text.Len() > MaxNameLength)
				{
					OutError = Subject(Value, Path) + FString::Printf(TEXT(" is too long for a name (at most %d characters)"), MaxNameLength);
					return false;
				}
				Name->SetPropertyValue(Data, FName(Text));
				return true;
			}
			if (const FTextProperty* Text = CastField<FTextProperty>(Property))
			{
				FString String;
				if (!ReadString(Value, Path, String, OutError))
				{
					return false;
				}
				Text->SetPropertyValue(Data, FText::FromString(String));
				return true;
			}
			if (const FSoftObjectProperty* Soft = CastField<FSoftObjectProperty>(Property))
			{
				FSoftObjectPath Parsed;
				return ReadObjectPath(Value, Path, Parsed, OutError)
					&& ImportWhole(Soft, Data, Parsed.IsNull() ? FString(TEXT("None")) : Parsed.ToString(), Value, Path, Conversion, OutError);
			}
			if (const FObjectPropertyBase* Object = CastField<FObjectPropertyBase>(Property))
			{
				return ConvertObjectReference(Object, Data, Value, Path, Conversion, OutError);
			}
			if (const FArrayProperty* Array = CastField<FArrayProperty>(Property))
			{
				return ConvertArray(Array, Data, Value, Path, Conversion, OutError);
			}
			if (const FSetProperty* Set = CastField<FSetProperty>(Property))
			{
				return ConvertSet(Set, Data, Value, Path, Conversion, OutError);
			}
			if (const FMapProperty* Map = CastField<FMapProperty>(Property))
			{
				return ConvertMap(Map, Data, Value, Path, Conversion, OutError);
			}
			if (const FStructProperty* Struct = CastField<FStructProperty>(Property))
			{
				return ConvertStruct(Struct, Data, Value, Path, Conversion, OutError);
			}
			OutError = FString::Printf(TEXT("'%s' is a %s, which cannot be written"), *Path.Text, *Property->GetCPPType());
			return false;
		}
	}

	bool ConvertCompleteValue(const FProperty* Property, void* Data, const TSharedPtr<FJsonValue>& Value, const FValuePath& Path, const FConversion& Conversion, FString& OutError)
	{
		if (Property->ArrayDim == 1)
		{
			return ConvertElement(Property, Data, Value, Path, Conversion, OutError);
		}
		const TArray<TSharedPtr<FJsonValue>>* Elements = nullptr;
		if (!Value.IsValid() || Value->Type != EJson::Array || !Value->TryGetArray(Elements) || Elements->Num() != Property->ArrayDim)
		{
			OutError = (Value.IsValid() ? Subject(Value, Path) : FString::Printf(TEXT("No value for '%s'"), *Path.Text))
				+ FString::Printf(TEXT(" is not an array of %d values (one for each element)"), Property->ArrayDim);
			return false;
		}
		for (int32 Index = 0; Index < Property->ArrayDim; ++Index)
		{
			void* Element = static_cast<uint8*>(Data) + static_cast<size_t>(Index) * static_cast<size_t>(Property->GetElementSize());
			if (!ConvertElement(Property, Element, (*Elements)[Index], Path.Element(Index), Conversion, OutError))
			{
				return false;
			}
		}
		return true;
	}

	FString DescribeJson(const TSharedPtr<FJsonValue>& Value)
	{
		if (!Value.IsValid())
		{
			return TEXT("(none)");
		}
		switch (Value->Type)
		{
		case EJson::String:
		{
			FString Text;
			Value->TryGetString(Text);
			// Enough to recognise the value; a message is no place for a whole document.
			constexpr int32 MaxShown = 80;
			return TEXT("'") + (Text.Len() > MaxShown ? Text.Left(MaxShown - 3) + TEXT("...") : Text) + TEXT("'");
		}
		case EJson::Number:
		{
			FString Text;
			Value->TryGetString(Text);
			return Text;
		}
		case EJson::Boolean:
			return Value->AsBool() ? TEXT("true") : TEXT("false");
		case EJson::Array:
			return TEXT("[...]");
		case EJson::Object:
			return TEXT("{...}");
		default:
			return TEXT("null");
		}
	}
}
