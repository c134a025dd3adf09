#include "HeaderObjectLayout.h"
#include "HeaderTypes.h"

#include "UObject/Class.h"
#include "UObject/EnumProperty.h"
#include "UObject/SoftObjectPtr.h"
#include "UObject/UnrealType.h"

#include <cctype>

namespace UE::Host::Private
{
	namespace
	{
		// "TArray<FFoo>" into "TArray" and {"FFoo"}; arguments split at top-level commas.
		bool SplitTemplate(const std::string& Type, std::string& OutBase, std::vector<std::string>& OutArguments)
		{
			const size_t Open = Type.find('<');
			if (Open == std::string::npos || Type.back() != '>')
			{
				OutBase = Type;
				return false;
			}
			OutBase = Type.substr(0, Open);
			int32 Depth = 0;
			std::string Current;
			for (size_t Index = Open + 1; Index + 1 < Type.size(); ++Index)
			{
				const char C = Type[Index];
				if (C == ',' && Depth == 0)
				{
					OutArguments.push_back(Current);
					Current.clear();
					continue;
				}
				Depth += C == '<' ? 1 : C == '>' ? -1 : 0;
				Current.push_back(C);
			}
			OutArguments.push_back(Current);
			return true;
		}

		// "EFoo::Type" names the namespaced enum EFoo.
		std::string EnumNameOf(const std::string& Type)
		{
			const size_t Scope = Type.find("::");
			return Scope == std::string::npos ? Type : Type.substr(0, Scope);
		}

		bool IsNumericType(const std::string& Type)
		{
			static const char* const Names[] = {"int8", "int16", "int32", "int64", "uint8", "uint16", "uint32", "uint64", "int", "float", "double"};
			for (const char* Name : Names)
			{
				if (Type == Name)
				{
					return true;
				}
			}
			return false;
		}

		FProperty* CreateNumeric(FFieldVariant Owner, FName Name, const std::string& Type)
		{
			if (Type == "int8") { return new FInt8Property(Owner, Name); }
			if (Type == "int16") { return new FInt16Property(Owner, Name); }
			if (Type == "int32" || Type == "int") { return new FIntProperty(Owner, Name); }
			if (Type == "int64") { return new FInt64Property(Owner, Name); }
			if (Type == "uint8") { return new FByteProperty(Owner, Name); }
			if (Type == "uint16") { return new FUInt16Property(Owner, Name); }
			if (Type == "uint32") { return new FUInt32Property(Owner, Name); }
			if (Type == "uint64") { return new FUInt64Property(Owner, Name); }
			if (Type == "float") { return new FFloatProperty(Owner, Name); }
			if (Type == "double") { return new FDoubleProperty(Owner, Name); }
			return nullptr;
		}

		const FScriptArrayOps* NumericArrayOps(const std::string& Type)
		{
			if (Type == "int8") { return &GetScriptArrayOps<int8>(); }
			if (Type == "int16") { return &GetScriptArrayOps<int16>(); }
			if (Type == "int32" || Type == "int") { return &GetScriptArrayOps<int32>(); }
			if (Type == "int64") { return &GetScriptArrayOps<int64>(); }
			if (Type == "uint8") { return &GetScriptArrayOps<uint8>(); }
			if (Type == "uint16") { return &GetScriptArrayOps<uint16>(); }
			if (Type == "uint32") { return &GetScriptArrayOps<uint32>(); }
			if (Type == "uint64") { return &GetScriptArrayOps<uint64>(); }
			if (Type == "float") { return &GetScriptArrayOps<float>(); }
			if (Type == "double") { return &GetScriptArrayOps<double>(); }
			return nullptr;
		}

		// An enum class without a written type is int-sized, as in C++.
		std::string UnderlyingOf(const UEnum* Enum)
		{
			const std::string Declared = GetEnumUnderlyingType(Enum);
			if (!Declared.empty())
			{
				return Declared == "int" ? std::string("int32") : Declared;
			}
			return Enum->GetCppForm() == UEnum::ECppForm::EnumClass ? std::string("int32") : std::string("uint8");
		}

		UScriptStruct* FindStructForType(const std::string& Type, const std::string& Header)
		{
			if (Type.size() < 2 || Type[0] != 'F' || !std::isupper(static_cast<unsigned char>(Type[1])))
			{
				return nullptr;
			}
			return ResolveStruct(Type, &Header);
		}

		// How the element of a TArray<Type> is stored; null when the host cannot hold it.
		const FScriptArrayOps* ArrayOpsForType(const std::string& Type, const std::string& Header)
		{
			std::string Base;
			std::vector<std::string> Arguments;
			const bool bTemplate = SplitTemplate(Type, Base, Arguments);
			if (const FScriptArrayOps* Numeric = NumericArrayOps(Type)) { return Numeric; }
			// The host's TArray<bool> holds no addressable bools; a byte per element stores the same.
			if (Type == "bool") { return &GetScriptArrayOps<uint8>(); }
			if (Type == "FString") { return &GetScriptArrayOps<FString>(); }
			if (Type == "FName") { return &GetScriptArrayOps<FName>(); }
			if (Type == "FText") { return &GetScriptArrayOps<FText>(); }
			if (bTemplate && Base == "TEnumAsByte") { return &GetScriptArrayOps<uint8>(); }
			if (bTemplate && (Base == "TSoftObjectPtr" || Base == "TSoftClassPtr")) { return &GetScriptArrayOps<FSoftObjectPtr>(); }
			if ((bTemplate && (Base == "TSubclassOf" || Base == "TObjectPtr")) || (!Type.empty() && Type.back() == '*')) { return &GetScriptArrayOps<UObject*>(); }
			if (!bTemplate && Type.size() > 1 && Type[0] == 'E')
			{
				if (const UEnum* Enum = ResolveEnum(EnumNameOf(Type), &Header))
				{
					return NumericArrayOps(UnderlyingOf(Enum));
				}
			}
			if (UScriptStruct* Struct = FindStructForType(Type, Header))
			{
				return AcquireStructArrayOps(Struct);
			}
			return nullptr;
		}

		// An element, key or value of a TSet or TMap. Containers do not nest; a text has no hash,
		// so it is no set element or map key.
		FProperty* CreateContainerPart(FFieldVariant Owner, FName Name, const std::string& Type, const std::string& Header, bool bHashed)
		{
			std::string Base;
			std::vector<std::string> Arguments;
			SplitTemplate(Type, Base, Arguments);
			if (Base == "TArray" || Base == "TSet" || Base == "TMap" || (bHashed && Type == "FText"))
			{
				return nullptr;
			}
			std::string Unread;
			return CreatePropertyFromType(Owner, Name, Type, Header, Unread);
		}

		FProperty* CreateSetProperty(FFieldVariant Owner, FName Name, const std::string& ElementType, const std::string& Header)
		{
			FSetProperty* Property = new FSetProperty(Owner, Name, RF_NoFlags);
			FProperty* Element = CreateContainerPart(Property, Name, ElementType, Header, true);
			if (!Element)
			{
				delete Property;
				return nullptr;
			}
			Property->AddCppProperty(Element);
			return Property;
		}

		FProperty* CreateMapProperty(FFieldVariant Owner, FName Name, const std::string& KeyType, const std::string& ValueType, const std::string& Header)
		{
			FMapProperty* Property = new FMapProperty(Owner, Name, RF_NoFlags);
			FProperty* Key = CreateContainerPart(Property, FName(*(Name.ToString() + TEXT("_Key"))), KeyType, Header, true);
			FProperty* Value = Key ? CreateContainerPart(Property, Name, ValueType, Header, false) : nullptr;
			if (!Value)
			{
				delete Key;
				delete Property;
				return nullptr;
			}
			Property->AddCppProperty(Key);
			Property->AddCppProperty(Value);
			return Property;
		}

		FProperty* CreateEnumProperty(FFieldVariant Owner, FName Name, UEnum* Enum)
		{
			const std::string Underlying = UnderlyingOf(Enum);
			if (Underlying == "uint8" && Enum->GetCppForm() != UEnum::ECppForm::EnumClass)
			{
				FByteProperty* Property = new FByteProperty(Owner, Name);
				Property->Enum = Enum;
				return Property;
			}
			if (!IsNumericType(Underlying) || Underlying == "float" || Underlying == "double")
			{
				return nullptr;
			}
			FEnumProperty* Property = new FEnumProperty(Owner, Name, RF_NoFlags, Enum, nullptr);
			Property->SetUnderlyingProperty(static_cast<FNumericProperty*>(CreateNumeric(Property, FName(TEXT("UnderlyingType")), Underlying)));
			return Property;
		}
	}

	FProperty* CreatePropertyFromType(FFieldVariant Owner, FName Name, const std::string& Type, const std::string& Header, std::string& OutUnreadType)
	{
		OutUnreadType.clear();
		std::string Base;
		std::vector<std::string> Arguments;
		const bool bTemplate = SplitTemplate(Type, Base, Arguments);

		if (Type == "bool")
		{
			FBoolProperty* Property = new FBoolProperty(Owner, Name);
			Property->SetBoolSize(sizeof(bool), true);
			return Property;
		}
		if (FProperty* Numeric = CreateNumeric(Owner, Name, Type))
		{
			return Numeric;
		}
		if (Type == "FString") { return new FStrProperty(Owner, Name); }
		if (Type == "FName") { return new FNameProperty(Owner, Name); }
		if (Type == "FText") { return new FTextProperty(Owner, Name); }

		if (bTemplate && Arguments.size() == 1)
		{
			const std::string& Argument = Arguments[0];
			if (Base == "TEnumAsByte")
			{
				if (UEnum* Enum = ResolveEnum(EnumNameOf(Argument), &Header))
				{
					FByteProperty* Property = new FByteProperty(Owner, Name);
					Property->Enum = Enum;
					return Property;
				}
			}
			else if (Base == "TSoftObjectPtr")
			{
				return new FSoftObjectProperty(Owner, Name, RF_NoFlags, ResolveLoadedClass(Argument));
			}
			else if (Base == "TSoftClassPtr")
			{
				return new FSoftClassProperty(Owner, Name, RF_NoFlags, ResolveLoadedClass(Argument));
			}
			else if (Base == "TSubclassOf")
			{
				return new FClassProperty(Owner, Name, RF_NoFlags, ResolveLoadedClass(Argument));
			}
			else if (Base == "TObjectPtr")
			{
				return Argument == "UClass" ? static_cast<FProperty*>(new FClassProperty(Owner, Name, RF_NoFlags, UObject::StaticClass()))
					: new FObjectProperty(Owner, Name, RF_NoFlags, ResolveLoadedClass(Argument));
			}
			else if (Base == "TArray")
			{
				if (const FScriptArrayOps* Ops = ArrayOpsForType(Argument, Header))
				{
					FArrayProperty* Property = new FArrayProperty(Owner, Name, RF_NoFlags, *Ops);
					std::string InnerUnread;
					Property->Inner = CreatePropertyFromType(Property, Name, Argument, Header, InnerUnread);
					if (Property->Inner)
					{
						return Property;
					}
					delete Property;
				}
			}
		}
		if (bTemplate && Base == "TSet" && Arguments.size() == 1)
		{
			if (FProperty* Property = CreateSetProperty(Owner, Name, Arguments[0], Header))
			{
				return Property;
			}
		}
		if (bTemplate && Base == "TMap" && Arguments.size() == 2)
		{
			if (FProperty* Property = CreateMapProperty(Owner, Name, Arguments[0], Arguments[1], Header))
			{
				return Property;
			}
		}
		if (!bTemplate && !Type.empty() && Type.back() == '*')
		{
			const std::string Pointee = Type.substr(0, Type.size() - 1);
			return Pointee == "UClass" ? static_cast<FProperty*>(new FClassProperty(Owner, Name, RF_NoFlags, UObject::StaticClass()))
				: new FObjectProperty(Owner, Name, RF_NoFlags, ResolveLoadedClass(Pointee));
		}
		if (!bTemplate && Type.size() > 1 && Type[0] == 'E')
		{
			if (UEnum* Enum = ResolveEnum(EnumNameOf(Type), &Header))
			{
				if (FProperty* Property = CreateEnumProperty(Owner, Name, Enum))
				{
					return Property;
				}
			}
		}
		if (!bTemplate)
		{
			if (UScriptStruct* Struct = FindStructForType(Type, Header))
			{
				return new FStructProperty(Owner, Name, RF_NoFlags, Struct);
			}
		}
		OutUnreadType = Type;
		return nullptr;
	}
}
