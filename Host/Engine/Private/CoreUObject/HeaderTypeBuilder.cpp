#include "HeaderTypes.h"

#include "Containers/StringConv.h"
#include "HAL/IConsoleManager.h"
#include "HeaderBuildState.h"
#include "HeaderTool/HeaderExpressions.h"
#include "HeaderTool/HeaderIndex.h"
#include "HeaderObjectLayout.h"
#include "Host/HeaderClasses.h"
#include "Host/HostEnvironment.h"
#include "Host/ReflectionBuilder.h"
#include "ObjectRegistry.h"
#include "PropertyText.h"
#include "Templates/Casts.h"
#include "UObject/Class.h"
#include "UObject/EnumProperty.h"
#include "UObject/UnrealType.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <filesystem>
#include <unordered_map>
#include <unordered_set>

DEFINE_LOG_CATEGORY_STATIC(LogHeaderTypes, Log, All);

namespace UE::Host::Private
{
	namespace HeaderBuild
	{
		FBuilderState& State()
		{
			static FBuilderState* Instance = new FBuilderState();
			return *Instance;
		}

		FString ToFString(const std::string& Text)
		{
			return UE::Host::Utf8ToString(Text);
		}

		int32 AlignUp(int32 Value, int32 Alignment)
		{
			return (Value + Alignment - 1) / Alignment * Alignment;
		}

		bool HasTypePrefix(const std::string& Name, const char* Prefixes)
		{
			return Name.size() > 1 && std::strchr(Prefixes, Name[0]) && std::isupper(static_cast<unsigned char>(Name[1]));
		}

		FHeaderIndex& Index()
		{
			FBuilderState& Builder = State();
			if (!Builder.bRootsKnown)
			{
				Builder.bRootsKnown = true;
				std::vector<std::string> Roots;
				const FEnvironment& Environment = GetEnvironment();
				for (const FString& Base : {Environment.EngineDir, Environment.ProjectDir})
				{
					if (Base.IsEmpty())
					{
						continue;
					}
					for (const char* Folder : {"Source", "Plugins"})
					{
						const std::string Root = UE::Host::StringToUtf8(Base) + Folder;
						std::error_code Error;
						if (std::filesystem::is_directory(Root, Error))
						{
							Roots.push_back(Root);
						}
					}
				}
				FHeaderIndex::Get().SetRoots(std::move(Roots));
			}
			return FHeaderIndex::Get();
		}

	}

	namespace
	{
		using namespace HeaderBuild;
		using Headers::FEnumDecl;
		using Headers::FPropertyDecl;
		using Headers::FTypeDecl;

		FString PackageFor(const std::string& Header)
		{
			return TEXT("/Script/") + ToFString(Index().ModuleOf(Header));
		}

		void SetFieldMetaData(UField* Field, const FString& Key, FString&& Value)
		{
			Field->SetMetaData(*Key, *Value);
		}

		void SetFieldMetaData(FField* Field, const FString& Key, FString&& Value)
		{
			Field->SetMetaData(*Key, MoveTemp(Value));
		}

		// Fields and properties keep metadata alike; a bare key is "true", as the header tool stores it.
		template<typename TField>
		void AddMetaData(TField* Field, const std::vector<Headers::FSpecifier>& Meta, const std::string& Doc)
		{
			for (const Headers::FSpecifier& Entry : Meta)
			{
				FString Value = Entry.Value.empty() ? FString(TEXT("true")) : ToFString(Entry.Value);
				SetFieldMetaData(Field, ToFString(Entry.Key), MoveTemp(Value));
			}
			if (!Doc.empty() && !Field->FindMetaData(TEXT("ToolTip")))
			{
				SetFieldMetaData(Field, FString(TEXT("ToolTip")), ToFString(Doc));
			}
		}

		EPropertyFlags FlagsFor(const FPropertyDecl& Decl)
		{
#define CLASS_FLAG_SPECIFIER(Specifier, Flags)
#define PROPERTY_FLAG_SPECIFIER(Specifier, Flags) {Specifier, Flags},
			static const TPair<const char*, EPropertyFlags> FlagSpecifiers[] = {
#include "HeaderTool/SpecifierFlags.inl"
			};
#undef CLASS_FLAG_SPECIFIER
#undef PROPERTY_FLAG_SPECIFIER

			EPropertyFlags Flags = CPF_None;
			for (const Headers::FSpecifier& Specifier : Decl.Specifiers)
			{
				for (const TPair<const char*, EPropertyFlags>& Flag : FlagSpecifiers)
				{
					if (Headers::EqualsIgnoreCase(Specifier.Key, Flag.Key))
					{
						Flags |= Flag.Value;
					}
				}
			}
			if (Decl.IsDeprecated())
			{
				Flags |= CPF_Deprecated;
			}
			return Flags;
		}

		// A static array's dimension: a constant expression of numbers and enumerators, of enums with
		// UENUM or without ("SP_NumPlatforms", "EMaterialQualityLevel::Num",
		// "static_cast<int32>(ETags::MaxTags)").
		bool ReadArrayDim(const std::string& Text, const std::string& Header, int32& OutDim)
		{
			if (Text.empty())
			{
				OutDim = 1;
				return true;
			}
			const Headers::FConstantLookup Lookup = [&Header](const std::string& Scope, const std::string& Name, int64_t& OutValue)
			{
				if (Index().FindEnumConstant(Scope, Name, &Header, OutValue))
				{
					return true;
				}
				const UEnum* Enum = Scope.empty() ? nullptr : ResolveEnum(Scope, &Header);
				const int64 Value = Enum ? Enum->GetValueByNameString(ToFString(Name)) : INDEX_NONE;
				OutValue = Value;
				return Value != INDEX_NONE;
			};
			int64_t Value = 0;
			if (!Headers::EvaluateIntegerExpression(Text, Lookup, Value) || Value <= 0 || Value > 65536)
			{
				return false;
			}
			OutDim = static_cast<int32>(Value);
			return true;
		}

		// A header struct constructs its members and their initializers; the rest is generic.
		class FHeaderStructOps final : public UScriptStruct::ICppStructOps
		{
		public:
			FHeaderStructOps(int32 InSize, int32 InAlignment, const UScriptStruct* InStruct, const UScriptStruct* InSuper, FMemberLayout&& InLayout, bool bInGameplayTag)
				: ICppStructOps(InSize, InAlignment), Struct(InStruct), Super(InSuper), Properties(InLayout.Properties), Defaults(InLayout.Defaults), bGameplayTag(bInGameplayTag)
			{
			}

			virtual void Construct(void* Dest) override
			{
				std::memset(Dest, 0, static_cast<size_t>(GetSize()));
				if (Super)
				{
					Super->InitializeStruct(Dest);
				}
				for (const FProperty* Property : Properties)
				{
					Property->InitializeValue(Property->ContainerPtrToValuePtr<void>(Dest));
				}
				for (const TPair<const FProperty*, FString>& Default : Defaults)
				{
					ImportDefaultValue(Default.Key, Default.Key->ContainerPtrToValuePtr<void>(Dest), Default.Value);
				}
			}
			virtual void Destruct(void* Dest) override
			{
				for (const FProperty* Property : Properties)
				{
					Property->DestroyValue(Property->ContainerPtrToValuePtr<void>(Dest));
				}
				if (Super)
				{
					Super->DestroyStruct(Dest);
				}
			}
			virtual bool Copy(void* Dest, void const* Src, int32 ArrayDim) override
			{
				for (int32 Element = 0; Element < ArrayDim; ++Element)
				{
					uint8* DestElement = static_cast<uint8*>(Dest) + Element * GetSize();
					const uint8* SrcElement = static_cast<const uint8*>(Src) + Element * GetSize();
					if (Super)
					{
						Super->CopyScriptStruct(DestElement, SrcElement);
					}
					for (const FProperty* Property : Properties)
					{
						Property->CopyCompleteValue_InContainer(DestElement, SrcElement);
					}
				}
				return true;
			}
			virtual bool HasIdentical() const override { return false; }
			virtual bool Identical(const void* A, const void* B, uint32 PortFlags, bool& bOutResult) override { return false; }
			virtual bool HasExportTextItem() const override { return false; }
			virtual bool ExportTextItem(FString& ValueStr, const void* PropertyValue, const void* DefaultValue, UObject* Parent, int32 PortFlags, UObject* ExportRootScope) override { return false; }
			// A gameplay tag (FGameplayTag, and structs deriving from it) reads as the engine's does: a
			// bare tag name ("UI.Action.Escape"), a quoted one, None, or the struct form
			// "(TagName="UI.Action.Escape")". It is written in the struct form.
			virtual bool HasImportTextItem() const override { return bGameplayTag; }
			virtual bool ImportTextItem(const TCHAR*& Buffer, void* Data, int32 PortFlags, UObject* OwnerObject, FOutputDevice* ErrorText) override
			{
				const TCHAR* Cursor = Buffer;
				PropertyText::SkipWhitespace(Cursor);
				if (*Cursor == '(')
				{
					const TCHAR* End = Struct->ImportText(Cursor, Data, OwnerObject, PortFlags, ErrorText, Struct->GetName(), false);
					if (!End)
					{
						return false;
					}
					Buffer = End;
					return true;
				}
				const FNameProperty* TagName = CastField<FNameProperty>(Struct->FindPropertyByName(FName(TEXT("TagName"))));
				FString Token;
				const TCHAR* End = PropertyText::ReadToken(Cursor, Token, true);
				if (!TagName || !End)
				{
					return false;
				}
				const FName Tag = Token.IsEmpty() || Token == TEXT("None") ? FName() : FName(*Token);
				TagName->SetPropertyValue(TagName->ContainerPtrToValuePtr<void>(Data), Tag);
				Buffer = End;
				return true;
			}

		private:
			const UScriptStruct* Struct;
			const UScriptStruct* Super;
			TArray<FProperty*> Properties;
			TArray<TPair<const FProperty*, FString>> Defaults;
			bool bGameplayTag;
		};

		bool IsGameplayTagDecl(const FTypeDecl& Decl, const UScriptStruct* Super)
		{
			if (Decl.Name == "FGameplayTag")
			{
				return true;
			}
			for (const UStruct* Current = Super; Current; Current = Current->GetSuperStruct())
			{
				if (Current->GetFName() == FName(TEXT("GameplayTag")))
				{
					return true;
				}
			}
			return false;
		}

		// Guards a declaration against building itself through its own members or parents.
		struct FBuildingScope
		{
			explicit FBuildingScope(const std::string& InName) : Name(InName), bEntered(State().Building.insert(InName).second) {}
			~FBuildingScope()
			{
				if (bEntered)
				{
					State().Building.erase(Name);
				}
			}
			std::string Name;
			bool bEntered;
		};

		UScriptStruct* BuildStruct(const FTypeDecl& Decl, const std::string& Header)
		{
			FBuildingScope Scope(Decl.Name);
			if (!Scope.bEntered)
			{
				return nullptr;
			}
			UScriptStruct* Super = Decl.Parent.empty() ? nullptr : ResolveStruct(Decl.Parent, &Header);
			if (!Decl.Parent.empty() && !Super)
			{
				return nullptr;
			}
			UScriptStruct* Struct = new UScriptStruct();
			FMemberLayout Layout = BuildMembers(Struct, Decl, Header, Super ? Super->GetStructureSize() : 0);
			const int32 Alignment = FMath::Max(Layout.Alignment, Super ? Super->GetMinAlignment() : 1);
			const int32 Size = FMath::Max(AlignUp(Layout.End, Alignment), 1);
			TArray<FProperty*> Properties = Layout.Properties;
			std::vector<FUnreadHeaderProperty> Unread = Layout.Unread;
			InitializeNativeStruct(Struct, *PackageFor(Header), *ToFString(Decl.Name.substr(1)), Super, std::make_unique<FHeaderStructOps>(Size, Alignment, Struct, Super, std::move(Layout), IsGameplayTagDecl(Decl, Super)));
			for (FProperty* Property : Properties)
			{
				Struct->AddCppProperty(Property);
			}
			AddMetaData(Struct, Decl.Meta, Decl.Doc);
			FinishNativeStruct(Struct);
			State().Records[Struct] = FTypeRecord{Header, std::move(Unread), std::string()};
			State().Created.push_back(Struct);
			return Struct;
		}

		UEnum* BuildEnum(const FEnumDecl& Decl, const std::string& Header)
		{
			TArray<TPair<FName, int64>> Names;
			TArray<TPair<int32, TPair<FName, FString>>> EnumeratorMetaData;
			for (const Headers::FEnumeratorDecl& Enumerator : Decl.Enumerators)
			{
				for (const Headers::FSpecifier& Meta : Enumerator.Meta)
				{
					EnumeratorMetaData.Add(TPair<int32, TPair<FName, FString>>(Names.Num(), TPair<FName, FString>(FName(*ToFString(Meta.Key)), Meta.Value.empty() ? FString(TEXT("true")) : ToFString(Meta.Value))));
				}
				Names.Add(TPair<FName, int64>(FName(*ToFString(Enumerator.Name)), Enumerator.Value));
			}
			TMap<FName, FString> EnumMetaData;
			for (const Headers::FSpecifier& Meta : Decl.Meta)
			{
				EnumMetaData.Add(FName(*ToFString(Meta.Key)), Meta.Value.empty() ? FString(TEXT("true")) : ToFString(Meta.Value));
			}
			const UEnum::ECppForm Form = Decl.Form == FEnumDecl::EForm::EnumClass ? UEnum::ECppForm::EnumClass
				: Decl.Form == FEnumDecl::EForm::Namespaced ? UEnum::ECppForm::Namespaced : UEnum::ECppForm::Regular;
			UEnum* Enum = ConstructNativeEnum(*PackageFor(Header), *ToFString(Decl.Name), Form, Names, EnumeratorMetaData, EnumMetaData);
			State().Records[Enum] = FTypeRecord{Header, {}, Decl.Underlying};
			State().Created.push_back(Enum);
			return Enum;
		}

		void ApplyClassSpecifiers(UClass* Class, const FTypeDecl& Decl)
		{
#define CLASS_FLAG_SPECIFIER(Specifier, Flags) {Specifier, Flags},
#define PROPERTY_FLAG_SPECIFIER(Specifier, Flags)
			static const TPair<const char*, EClassFlags> FlagSpecifiers[] = {
#include "HeaderTool/SpecifierFlags.inl"
			};
#undef CLASS_FLAG_SPECIFIER
#undef PROPERTY_FLAG_SPECIFIER

			for (const Headers::FSpecifier& Specifier : Decl.Specifiers)
			{
				if (Headers::EqualsIgnoreCase(Specifier.Key, "config"))
				{
					Class->ClassFlags |= CLASS_Config;
					// "config=Inherit" keeps the parent's name, as no config= does.
					if (!Headers::EqualsIgnoreCase(Specifier.Value, "inherit"))
					{
						Class->ClassConfigName = FName(*ToFString(Specifier.Value));
					}
					continue;
				}
				if (Headers::EqualsIgnoreCase(Specifier.Key, "NonTransient"))
				{
					Class->ClassFlags &= ~CLASS_Transient;
					continue;
				}
				for (const TPair<const char*, EClassFlags>& Flag : FlagSpecifiers)
				{
					if (Headers::EqualsIgnoreCase(Specifier.Key, Flag.Key))
					{
						Class->ClassFlags |= Flag.Value;
					}
				}
			}
		}

		UClass* BuildClass(const FTypeDecl& Decl, const std::string& Header)
		{
			FBuildingScope Scope(Decl.Name);
			if (!Scope.bEntered)
			{
				return nullptr;
			}
			UClass* Super = ResolveClass(Decl.Parent.empty() ? std::string("UObject") : Decl.Parent, &Header);
			if (!Super)
			{
				UE_LOG(LogHeaderTypes, Verbose, TEXT("%s: parent class '%s' of '%s' is not known"), *ToFString(Header), *ToFString(Decl.Parent), *ToFString(Decl.Name));
				return nullptr;
			}
			const FExtendedLayout* SuperLayout = FindExtendedLayout(Super);
			UObject* (*Placement)(void*) = SuperLayout ? SuperLayout->Placement : FindNativePlacement(Super);
			if (!Placement)
			{
				return nullptr;
			}

			UClass* Class = new UClass();
			InitializeNativeClass(Class, *PackageFor(Header), *ToFString(Decl.Name.substr(1)), Super, Super->GetPropertiesSize(), Super->GetMinAlignment(), Super->NativeFactory);
			ApplyClassSpecifiers(Class, Decl);
			AddMetaData(Class, Decl.Meta, Decl.Doc);

			FMemberLayout Layout = BuildMembers(Class, Decl, Header, AlignUp(Super->GetPropertiesSize(), 8));
			const auto SuperRecord = State().Records.find(Super);
			std::vector<const FProperty*> UnknownDefaults = SuperRecord == State().Records.end() ? std::vector<const FProperty*>() : SuperRecord->second.UnknownDefaults;
			ApplyConstructorDefaults(Class, Decl, Header, Layout, UnknownDefaults);
			const int32 Alignment = FMath::Max(FMath::Max(Layout.Alignment, Super->GetMinAlignment()), 8);
			std::unique_ptr<FExtendedLayout> Extended = std::make_unique<FExtendedLayout>();
			Extended->Placement = Placement;
			Extended->Alignment = FMath::Max(Alignment, SuperLayout ? SuperLayout->Alignment : 8);
			Extended->Size = AlignUp(FMath::Max(Layout.End, Super->GetPropertiesSize()), Extended->Alignment);
			if (SuperLayout)
			{
				Extended->Properties = SuperLayout->Properties;
				Extended->Defaults = SuperLayout->Defaults;
			}
			for (FProperty* Property : Layout.Properties)
			{
				Class->AddCppProperty(Property);
				Extended->Properties.Add(Property);
			}
			Extended->Defaults.Append(Layout.Defaults);
			Class->SetPropertiesSize(Extended->Size);
			Class->SetMinAlignment(Extended->Alignment);
			SetExtendedLayout(Class, std::move(Extended));
			FinishNativeClass(Class);

			FTypeRecord& Record = State().Records[Class];
			Record = FTypeRecord{Header, Layout.Unread, std::string()};
			Record.UnknownDefaults = std::move(UnknownDefaults);
			Record.SectionOverrideKind = Decl.SectionOverrideKind;
			Record.SectionOverride = Decl.SectionOverride;
			State().Created.push_back(Class);
			if (Class->HasAnyClassFlags(CLASS_Config) && !Class->HasAnyClassFlags(CLASS_Abstract))
			{
				RegisterConsoleVariables(Class, Layout.Properties);
			}
			return Class;
		}

		// A type by its C++ name from the header that declares it: found, read, then built.
		template<typename TDecl, typename TType>
		TType* BuildFromHeaders(const std::string& CppName, const std::string* NearHeader,
			const TDecl* (Headers::FHeaderDecls::*FindDecl)(std::string_view) const, TType* (*Build)(const TDecl&, const std::string&))
		{
			const std::string* Header = Index().FindDeclaringHeader(CppName, NearHeader);
			if (!Header)
			{
				return nullptr;
			}
			const std::string Path = *Header;
			const TDecl* Decl = (Index().Read(Path).*FindDecl)(CppName);
			return Decl ? Build(*Decl, Path) : nullptr;
		}

		UClass* BuildClassFromHeaders(const std::string& CppName, const std::string* NearHeader)
		{
			return BuildFromHeaders(CppName, NearHeader, &Headers::FHeaderDecls::FindClass, &BuildClass);
		}
	}

	UClass* ResolveLoadedClass(const std::string& CppName)
	{
		UClass* Found = HasTypePrefix(CppName, "UA") ? FindLoaded<UClass>(ToFString(CppName.substr(1))) : nullptr;
		return Found ? Found : UObject::StaticClass();
	}

	UClass* ResolveClass(const std::string& CppName, const std::string* NearHeader)
	{
		if (!HasTypePrefix(CppName, "UA"))
		{
			return nullptr;
		}
		if (UClass* Loaded = FindLoaded<UClass>(ToFString(CppName.substr(1))))
		{
			// A header class that derives from it lays out its members after everything it has.
			CompleteBuiltInClass(Loaded);
			return Loaded;
		}
		return BuildClassFromHeaders(CppName, NearHeader);
	}

	UScriptStruct* ResolveStruct(const std::string& CppName, const std::string* NearHeader)
	{
		if (CppName == "FVector") { return TBaseStructure<UE::Math::TVector<double>>::Get(); }
		if (CppName == "FLinearColor") { return TBaseStructure<FLinearColor>::Get(); }
		if (CppName == "FColor") { return TBaseStructure<FColor>::Get(); }
		if (CppName == "FGuid") { return TBaseStructure<FGuid>::Get(); }
		if (CppName == "FSoftObjectPath" || CppName == "FStringAssetReference") { return TBaseStructure<FSoftObjectPath>::Get(); }
		if (CppName == "FSoftClassPath" || CppName == "FStringClassReference") { return TBaseStructure<FSoftClassPath>::Get(); }
		if (!HasTypePrefix(CppName, "F"))
		{
			return nullptr;
		}
		if (UScriptStruct* Loaded = FindLoaded<UScriptStruct>(ToFString(CppName.substr(1))))
		{
			return Loaded;
		}
		return BuildFromHeaders(CppName, NearHeader, &Headers::FHeaderDecls::FindStruct, &BuildStruct);
	}

	UEnum* ResolveEnum(const std::string& CppName, const std::string* NearHeader)
	{
		if (UEnum* Loaded = FindLoaded<UEnum>(ToFString(CppName)))
		{
			return Loaded;
		}
		return BuildFromHeaders(CppName, NearHeader, &Headers::FHeaderDecls::FindEnum, &BuildEnum);
	}

	std::string GetEnumUnderlyingType(const UEnum* Enum)
	{
		const auto Found = State().Records.find(Enum);
		return Found == State().Records.end() ? std::string() : Found->second.EnumUnderlying;
	}

	UClass* FindClassInHeaders(const FString& Name)
	{
		if (Name.IsEmpty() || !Index().HasRoots())
		{
			return nullptr;
		}
		// A class is found by its object name (UMySettings by "MySettings"). A name that looks
		// like a C++ name ("UMySettings") may still be an object name (UUIManager's "UIManager"),
		// and its class is built too, so that the retry without the prefix finds it; it is only
		// returned when its object name is the one asked for.
		const std::string ObjectName = UE::Host::StringToUtf8(Name);
		std::vector<std::string> CppNames = {"U" + ObjectName, "A" + ObjectName};
		if (HasTypePrefix(ObjectName, "UA") && !FindLoaded<UClass>(ToFString(ObjectName.substr(1))))
		{
			CppNames.push_back(ObjectName);
		}
		// One search for every reading, remembered, so the retry without a prefix costs nothing.
		const std::string* Header = Index().FindDeclaringHeaderOfAny(CppNames);
		if (!Header)
		{
			return nullptr;
		}
		const std::string Path = *Header;
		for (const std::string& CppName : CppNames)
		{
			if (Index().Read(Path).FindClass(CppName))
			{
				UClass* Built = BuildClassFromHeaders(CppName, &Path);
				return Built && Built->GetFName() == FName(*Name) ? Built : nullptr;
			}
		}
		return nullptr;
	}

	bool IsDefaultKnown(const UClass* Class, const FProperty* Property)
	{
		const auto Found = State().Records.find(Class);
		if (Found == State().Records.end())
		{
			return true;
		}
		const std::vector<const FProperty*>& Unknown = Found->second.UnknownDefaults;
		return std::find(Unknown.begin(), Unknown.end(), Property) == Unknown.end();
	}

	bool FindHeaderSectionOverride(const UClass* Class, FString& OutSection, FString& OutProblem)
	{
		OutProblem.Empty();
		for (const UClass* Current = Class; Current; Current = Current->GetSuperClass())
		{
			const auto Found = State().Records.find(Current);
			if (Found == State().Records.end() || Found->second.SectionOverrideKind == Headers::FTypeDecl::ESectionOverride::None)
			{
				continue;
			}
			if (Found->second.SectionOverrideKind == Headers::FTypeDecl::ESectionOverride::Literal)
			{
				OutSection = ToFString(Found->second.SectionOverride);
				return true;
			}
			OutProblem = FString::Printf(TEXT("%s overrides OverrideConfigSection, but %s, so the section it reads and writes is not known"),
				*Current->GetName(), *ToFString(Found->second.SectionOverride));
			return false;
		}
		return false;
	}

	namespace
	{
		// The member Name of Struct or a parent that the header named but the host could not read,
		// with the struct that declares it and its header.
		const FUnreadHeaderProperty* FindUnreadHeaderMember(const UStruct* Struct, FName Name, const UStruct*& OutOwner, const std::string*& OutHeader)
		{
			const FBuilderState& Builder = State();
			for (const UStruct* Current = Struct; Current && !Builder.Records.empty(); Current = Current->GetSuperStruct())
			{
				const auto Found = Builder.Records.find(Current);
				if (Found == Builder.Records.end())
				{
					continue;
				}
				for (const FUnreadHeaderProperty& Unread : Found->second.Unread)
				{
					if (FName(*Unread.Name) == Name)
					{
						OutOwner = Current;
						OutHeader = &Found->second.Header;
						return &Unread;
					}
				}
			}
			return nullptr;
		}
	}

	bool IsUnreadHeaderMember(const UStruct* Struct, FName Name)
	{
		const UStruct* Owner = nullptr;
		const std::string* Header = nullptr;
		return FindUnreadHeaderMember(Struct, Name, Owner, Header) != nullptr;
	}

	void NoteMissingProperty(const UStruct* Struct, FName Name)
	{
		const UStruct* Owner = nullptr;
		const std::string* Header = nullptr;
		if (const FUnreadHeaderProperty* Unread = FindUnreadHeaderMember(Struct, Name, Owner, Header))
		{
			UE_LOG(LogHeaderTypes, Warning, TEXT("Property '%s' of '%s' (%s) was left out: its type '%s' could not be read"),
				*Unread->Name, *Owner->GetName(), *ToFString(*Header), *Unread->Type);
		}
	}

	namespace HeaderBuild
	{
		using Headers::FPropertyDecl;
		using Headers::FTypeDecl;

		// The properties of a class or struct body, laid out from Start on. Consecutive bitfields
		// share 32-bit words, as the compiler packs them.
		FMemberLayout BuildMembers(UStruct* Owner, const FTypeDecl& Decl, const std::string& Header, int32 Start)
		{
			FMemberLayout Layout;
			int32 Offset = Start;
			int32 BitWord = INDEX_NONE;
			int32 BitIndex = 0;
			for (const FPropertyDecl& Member : Decl.Properties)
			{
				const FName Name(*ToFString(Member.Name));
				FProperty* Property = nullptr;
				int32 ArrayDim = 1;
				if (Member.bBitfield)
				{
					if (BitWord == INDEX_NONE || BitIndex == 32)
					{
						Offset = AlignUp(Offset, 4);
						BitWord = Offset;
						Offset += 4;
						BitIndex = 0;
						Layout.Alignment = FMath::Max(Layout.Alignment, 4);
					}
					FBoolProperty* Bool = new FBoolProperty(Owner, Name);
					Bool->SetBoolSize(sizeof(uint32), false, static_cast<uint8>(1u << (BitIndex % 8)));
					Bool->SetOffset_Internal(BitWord + BitIndex / 8);
					++BitIndex;
					Property = Bool;
				}
				else
				{
					BitWord = INDEX_NONE;
					std::string UnreadType;
					if (!ReadArrayDim(Member.ArrayDim, Header, ArrayDim))
					{
						Layout.Unread.push_back(FUnreadHeaderProperty{ToFString(Member.Name), ToFString(Member.Type + "[" + Member.ArrayDim + "]")});
						continue;
					}
					Property = CreatePropertyFromType(Owner, Name, Member.Type, Header, UnreadType);
					if (!Property)
					{
						Layout.Unread.push_back(FUnreadHeaderProperty{ToFString(Member.Name), ToFString(UnreadType)});
						continue;
					}
					const int32 Alignment = FMath::Max(Property->GetMinAlignment(), 1);
					Offset = AlignUp(Offset, Alignment);
					Layout.Alignment = FMath::Max(Layout.Alignment, Alignment);
					Property->SetOffset_Internal(Offset);
					Property->ArrayDim = ArrayDim;
					Offset += Property->GetElementSize() * ArrayDim;
				}
				Property->SetPropertyFlags(FlagsFor(Member));
				AddMetaData(Property, Member.Meta, Member.Doc);
				Layout.Properties.Add(Property);
				FString DefaultText;
				if (ConvertInitializer(Property, Member.Default, DefaultText))
				{
					Layout.Defaults.Add(TPair<const FProperty*, FString>(Property, DefaultText));
				}
				else if (!Member.Default.empty())
				{
					Layout.UnknownDefaults.push_back(Property);
				}
			}
			Layout.End = Offset;
			return Layout;
		}

		// The variables the class's ConsoleVariable metadata names exist in an editor; the host
		// makes the missing ones, holding the class default's value.
		void RegisterConsoleVariables(UClass* Class, const TArray<FProperty*>& Properties)
		{
			UObject* Defaults = nullptr;
			for (const FProperty* Property : Properties)
			{
				const FString& Name = Property->GetMetaData(TEXT("ConsoleVariable"));
				if (Name.IsEmpty() || IConsoleManager::Get().FindConsoleVariable(*Name))
				{
					continue;
				}
				Defaults = Defaults ? Defaults : Class->GetDefaultObject();
				if (!Defaults)
				{
					return;
				}
				const void* Value = Property->ContainerPtrToValuePtr<void>(Defaults);
				const FString Help = Property->GetMetaData(TEXT("ToolTip"));
				IConsoleVariable* Variable = nullptr;
				if (const FBoolProperty* Bool = CastField<FBoolProperty>(Property))
				{
					Variable = IConsoleManager::Get().RegisterConsoleVariable(*Name, Bool->GetPropertyValue(Value) ? 1 : 0, *Help);
				}
				else if (const FEnumProperty* EnumProperty = CastField<FEnumProperty>(Property))
				{
					Variable = IConsoleManager::Get().RegisterConsoleVariable(*Name, static_cast<int32>(EnumProperty->GetUnderlyingProperty()->GetSignedIntPropertyValue(Value)), *Help);
				}
				else if (const FNumericProperty* Numeric = CastField<FNumericProperty>(Property))
				{
					Variable = Numeric->IsFloatingPoint()
						? IConsoleManager::Get().RegisterConsoleVariable(*Name, static_cast<float>(Numeric->GetFloatingPointPropertyValue(Value)), *Help)
						: IConsoleManager::Get().RegisterConsoleVariable(*Name, static_cast<int32>(Numeric->GetSignedIntPropertyValue(Value)), *Help);
				}
				else
				{
					FString Text;
					Property->ExportTextItem_Direct(Text, Value, nullptr, nullptr, PPF_ConsoleVariable);
					Variable = IConsoleManager::Get().RegisterConsoleVariable(*Name, Text, *Help);
				}
				if (Variable)
				{
					// Not found above, so not owned yet: a plain add keeps thousands of them linear.
					State().OwnedConsoleVariables.Add(Name);
				}
			}
		}
	}
}
