#include "ReflectionCodeWriter.h"

#include <cctype>
#include <utility>

namespace UE::Host::Headers
{
	namespace
	{
		struct FFlagSpecifier
		{
			const char* Specifier;
			const char* Flags;
		};

		// The specifiers the host gives meaning to, read as the run-time header classes read them.
#define CLASS_FLAG_SPECIFIER(Specifier, Flags) {Specifier, #Flags},
#define PROPERTY_FLAG_SPECIFIER(Specifier, Flags)
		const FFlagSpecifier ClassFlagSpecifiers[] = {
#include "HeaderTool/SpecifierFlags.inl"
		};
#undef CLASS_FLAG_SPECIFIER
#undef PROPERTY_FLAG_SPECIFIER

#define CLASS_FLAG_SPECIFIER(Specifier, Flags)
#define PROPERTY_FLAG_SPECIFIER(Specifier, Flags) {Specifier, #Flags},
		const FFlagSpecifier PropertyFlagSpecifiers[] = {
#include "HeaderTool/SpecifierFlags.inl"
		};
#undef CLASS_FLAG_SPECIFIER
#undef PROPERTY_FLAG_SPECIFIER

		// Flag names joined with " | ", each once, in the order first met.
		class FFlagList
		{
		public:
			void Add(const std::string& Joined)
			{
				size_t Start = 0;
				while (Start < Joined.size())
				{
					size_t End = Joined.find(" | ", Start);
					End = End == std::string::npos ? Joined.size() : End;
					const std::string Name = Joined.substr(Start, End - Start);
					bool bKnown = false;
					for (const std::string& Existing : Names)
					{
						bKnown = bKnown || Existing == Name;
					}
					if (!bKnown)
					{
						Names.push_back(Name);
					}
					Start = End + 3;
				}
			}

			std::string Join(const char* Empty) const
			{
				std::string Result;
				for (const std::string& Name : Names)
				{
					Result += (Result.empty() ? "" : " | ") + Name;
				}
				return Result.empty() ? Empty : Result;
			}

		private:
			std::vector<std::string> Names;
		};

		template<size_t N>
		void AddSpecifierFlags(const std::vector<FSpecifier>& Specifiers, const FFlagSpecifier (&Table)[N], FFlagList& Flags)
		{
			for (const FSpecifier& Specifier : Specifiers)
			{
				for (const FFlagSpecifier& Entry : Table)
				{
					if (EqualsIgnoreCase(Specifier.Key, Entry.Specifier))
					{
						Flags.Add(Entry.Flags);
					}
				}
			}
		}

		// A C++ string literal inside TEXT(): quotes, backslashes and line breaks escaped.
		std::string Literal(const std::string& Text)
		{
			std::string Result = "TEXT(\"";
			for (const char C : Text)
			{
				switch (C)
				{
				case '"': Result += "\\\""; break;
				case '\\': Result += "\\\\"; break;
				case '\n': Result += "\\n"; break;
				case '\r': Result += "\\r"; break;
				case '\t': Result += "\\t"; break;
				default: Result += C; break;
				}
			}
			return Result + "\")";
		}

		std::string MetaValue(const FSpecifier& Meta)
		{
			// A bare key is "true", as the engine's tool stores it.
			return Meta.Value.empty() ? std::string("true") : Meta.Value;
		}

		std::string FileId(const std::string& RelativePath)
		{
			std::string Id = "FID_";
			for (const char C : RelativePath)
			{
				Id += std::isalnum(static_cast<unsigned char>(C)) ? C : '_';
			}
			return Id;
		}

		// The metadata calls of a class, struct or property: Category first, the meta entries in
		// order, then the doc comment as ToolTip unless meta gave one.
		std::string MetaCalls(const std::string* Category, const std::vector<FSpecifier>& Meta, const std::string& Doc, const std::string& Indent)
		{
			std::string Out;
			if (Category)
			{
				Out += Indent + ".Meta(TEXT(\"Category\"), " + Literal(*Category) + ")\n";
			}
			bool bToolTip = false;
			const FSpecifier* ConsoleVariable = nullptr;
			for (const FSpecifier& Entry : Meta)
			{
				if (EqualsIgnoreCase(Entry.Key, "ConsoleVariable"))
				{
					ConsoleVariable = &Entry;
					continue;
				}
				bToolTip = bToolTip || EqualsIgnoreCase(Entry.Key, "ToolTip");
				Out += Indent + ".Meta(" + Literal(Entry.Key) + ", " + Literal(MetaValue(Entry)) + ")\n";
			}
			if (!Doc.empty() && !bToolTip)
			{
				Out += Indent + ".Meta(TEXT(\"ToolTip\"), " + Literal(Doc) + ")\n";
			}
			if (ConsoleVariable)
			{
				Out += Indent + ".ConsoleVariable(" + Literal(MetaValue(*ConsoleVariable)) + ")\n";
			}
			return Out;
		}

		std::string PropertyFlags(const FPropertyDecl& Property)
		{
			FFlagList Flags;
			AddSpecifierFlags(Property.Specifiers, PropertyFlagSpecifiers, Flags);
			if (Property.IsDeprecated())
			{
				Flags.Add("CPF_Deprecated");
			}
			Flags.Add(Property.Access == FPropertyDecl::EAccess::Public ? "CPF_NativeAccessSpecifierPublic"
				: Property.Access == FPropertyDecl::EAccess::Protected ? "CPF_NativeAccessSpecifierProtected" : "CPF_NativeAccessSpecifierPrivate");
			return Flags.Join("CPF_None");
		}

		std::string PropertyCalls(const FTypeDecl& Type, const char* Builder)
		{
			std::string Out;
			for (const FPropertyDecl& Property : Type.Properties)
			{
				Out += std::string("\t\t") + Builder;
				if (Property.bBitfield)
				{
					// Offsets of bitfields cannot be taken; the builder finds the bit through a setter.
					Out += ".Bitfield(" + Literal(Property.Name) + ", [](void* Object, bool bValue) { static_cast<" + Type.Name + "*>(Object)->" + Property.Name + " = bValue ? 1 : 0; }, ";
				}
				else
				{
					Out += ".Property(" + Literal(Property.Name) + ", &" + Type.Name + "::" + Property.Name + ", ";
				}
				Out += PropertyFlags(Property) + ")\n";
				const FSpecifier* Category = nullptr;
				for (const FSpecifier& Specifier : Property.Specifiers)
				{
					Category = EqualsIgnoreCase(Specifier.Key, "Category") ? &Specifier : Category;
				}
				Out += MetaCalls(Category ? &Category->Value : nullptr, Property.Meta, Property.Doc, "\t\t\t");
				Out.insert(Out.size() - 1, ";");
			}
			return Out;
		}

		// The statics struct whose Declare() describes a class or struct to the host's builder;
		// generated bodies make it a friend, so private members can be named.
		std::string StaticsStruct(const FTypeDecl& Type, const std::string& Statics, const char* BuilderType, const char* Builder, const std::string& FirstCalls)
		{
			std::string Out = "\nstruct " + Statics + "\n{\n";
			Out += "\tstatic void Declare(UE::Host::" + std::string(BuilderType) + "<" + Type.Name + ">& " + Builder + ")\n\t{\n" + FirstCalls;
			std::string Meta = MetaCalls(nullptr, Type.Meta, Type.Doc, "\t\t\t");
			if (!Meta.empty())
			{
				Meta.insert(Meta.size() - 1, ";");
				Out += "\t\t" + std::string(Builder) + "\n" + Meta;
			}
			Out += PropertyCalls(Type, Builder);
			return Out + "\t}\n};\n\n";
		}

		// A function that builds what it returns on its first call: Build is its statements.
		std::string BuildOnce(const std::string& Signature, const std::string& ResultType, const std::string& Variable, const std::string& Build)
		{
			return Signature + "\n{\n\tstatic " + ResultType + "* " + Variable + " = nullptr;\n\tif (!" + Variable + ")\n\t{\n" + Build + "\t}\n\treturn " + Variable + ";\n}\n";
		}

		std::string Package(const FReflectionSource& Source)
		{
			return "/Script/" + Source.Module;
		}

		// The enum's type as C++ names it, and how it is forward-declared.
		std::string EnumType(const FEnumDecl& Enum)
		{
			return Enum.Form == FEnumDecl::EForm::Namespaced ? Enum.Name + "::Type" : Enum.Name;
		}

		std::string EnumForwardDeclaration(const FEnumDecl& Enum)
		{
			switch (Enum.Form)
			{
			case FEnumDecl::EForm::Namespaced:
				return "namespace " + Enum.Name + " { enum Type : " + Enum.Underlying + "; }";
			case FEnumDecl::EForm::EnumClass:
				return "enum class " + Enum.Name + " : " + Enum.Underlying + ";";
			case FEnumDecl::EForm::Regular:
			default:
				return "enum " + Enum.Name + " : " + Enum.Underlying + ";";
			}
		}

		std::string EnumValuePrefix(const FEnumDecl& Enum)
		{
			return Enum.Form == FEnumDecl::EForm::Regular ? std::string() : Enum.Name + "::";
		}

		const char* CppForm(const FEnumDecl& Enum)
		{
			return Enum.Form == FEnumDecl::EForm::Namespaced ? "Namespaced" : Enum.Form == FEnumDecl::EForm::EnumClass ? "EnumClass" : "Regular";
		}

		class FWriter
		{
		public:
			FWriter(const FHeaderDecls& InDecls, const FReflectionSource& InSource)
				: Decls(InDecls), Source(InSource), Id(FileId(InSource.RelativePath)), BaseName(HeaderBaseName(InSource.RelativePath))
			{
			}

			FGeneratedReflection Run()
			{
				WriteHeaderStart();
				if (!WriteSourceStart())
				{
					return std::move(Result);
				}
				for (const FTypeDecl& Class : Decls.Classes)
				{
					WriteClass(Class);
				}
				for (const FTypeDecl& Struct : Decls.Structs)
				{
					WriteStruct(Struct);
				}
				for (const FEnumDecl& Enum : Decls.Enums)
				{
					WriteEnum(Enum);
				}
				if (Decls.Classes.empty() && Decls.Structs.empty() && Decls.Enums.empty())
				{
					Result.Errors.push_back(Source.RelativePath + ": error: no UCLASS, USTRUCT or UENUM to generate");
				}
				return std::move(Result);
			}

		private:
			void WriteHeaderStart()
			{
				const std::string Guard = Id + "_generated_h";
				Result.Header += "// Generated by the host's header tool from " + Source.RelativePath + "; do not edit.\n";
				Result.Header += "#ifdef " + Guard + "\n";
				Result.Header += "#error \"" + BaseName + ".generated.h already included, missing '#pragma once' in " + BaseName + ".h\"\n";
				Result.Header += "#endif\n";
				Result.Header += "#define " + Guard + "\n\n";
				Result.Header += "#include \"UObject/ObjectMacros.h\"\n\n";
				Result.Header += "class UEnum;\ntemplate<typename T>\nUEnum* StaticEnum();\n\n";
				Result.Header += "#undef CURRENT_FILE_ID\n#define CURRENT_FILE_ID " + Id + "\n";
			}

			bool WriteSourceStart()
			{
				Result.Source += "// Generated by the host's header tool from " + Source.RelativePath + "; do not edit.\n";
				size_t NoExport = 0;
				for (const FTypeDecl& Struct : Decls.Structs)
				{
					NoExport += IsNoExport(Struct) ? 1 : 0;
				}
				if (NoExport == 0)
				{
					Result.Source += "#include \"" + Source.IncludePath + "\"\n";
				}
				else if (NoExport == Decls.Structs.size() && Decls.Classes.empty() && Decls.Enums.empty())
				{
					// A header of noexport types is read, never compiled: its includes declare the C++ types.
					for (const std::string& Include : Decls.Includes)
					{
						if (HeaderBaseName(Include) != BaseName + ".generated")
						{
							Result.Source += "#include \"" + Include + "\"\n";
						}
					}
				}
				else
				{
					Result.Errors.push_back(Source.RelativePath + ": error: noexport types need a header of their own");
					return false;
				}
				Result.Source += "\n#include \"Host/ReflectionBuilder.h\"\n";
				return true;
			}

			static bool IsNoExport(const FTypeDecl& Type)
			{
				return Type.HasSpecifier("noexport");
			}

			std::string BodyMacro(const FTypeDecl& Type)
			{
				const bool bLegacy = Type.GeneratedBodyMacro == "GENERATED_UCLASS_BODY";
				return Id + "_" + std::to_string(Type.GeneratedBodyLine) + (bLegacy ? "_GENERATED_BODY_LEGACY" : "_GENERATED_BODY");
			}

			bool CheckGeneratedBody(const FTypeDecl& Type)
			{
				if (Type.GeneratedBodyLine == 0)
				{
					Result.Errors.push_back(Source.RelativePath + ":" + std::to_string(Type.Line) + ": error: " + Type.Name + " needs GENERATED_BODY()");
					return false;
				}
				return true;
			}

			void WriteClass(const FTypeDecl& Class)
			{
				if (!CheckGeneratedBody(Class))
				{
					return;
				}
				if (Class.Parent.empty())
				{
					Result.Errors.push_back(Source.RelativePath + ":" + std::to_string(Class.Line) + ": error: " + Class.Name + " needs a parent class");
					return;
				}
				FFlagList Flags;
				const std::string* ConfigName = nullptr;
				for (const FSpecifier& Specifier : Class.Specifiers)
				{
					if (EqualsIgnoreCase(Specifier.Key, "config"))
					{
						Flags.Add("CLASS_Config");
						ConfigName = EqualsIgnoreCase(Specifier.Value, "inherit") ? nullptr : &Specifier.Value;
					}
				}
				AddSpecifierFlags(Class.Specifiers, ClassFlagSpecifiers, Flags);
				const std::string Statics = "Z_Construct_UClass_" + Class.Name + "_Statics";
				const bool bLegacy = Class.GeneratedBodyMacro == "GENERATED_UCLASS_BODY";

				Result.Header += "\n// " + Class.Name + "\n";
				Result.Header += "#define " + Id + "_" + std::to_string(Class.Line) + "_PROLOG\n";
				Result.Header += "#define " + BodyMacro(Class) + " \\\n";
				Result.Header += "public: \\\n";
				Result.Header += "\tDECLARE_CLASS(" + Class.Name + ", " + Class.Parent + ", " + Flags.Join("CLASS_None") + ", CASTCLASS_None, " + Literal(Package(Source)) + ", NO_API) \\\n";
				Result.Header += "\tfriend struct " + Statics + "; \\\n";
				if (!Class.bDeclaresConstructor)
				{
					Result.Header += "\t" + Class.Name + "(); \\\n";
				}
				// Objects are made by the object system only, never copied or moved.
				Result.Header += "\t" + Class.Name + "(" + Class.Name + "&&) = delete; \\\n";
				Result.Header += "\t" + Class.Name + "(const " + Class.Name + "&) = delete; \\\n";
				Result.Header += bLegacy ? "public:\n" : "private:\n";

				Result.Source += StaticsStruct(Class, Statics, "TClassBuilder", "Class", ConfigName ? "\t\tClass.Config(" + Literal(*ConfigName) + ");\n" : std::string());
				if (!Class.bDeclaresConstructor)
				{
					Result.Source += Class.Name + "::" + Class.Name + "() = default;\n\n";
				}
				Result.Source += BuildOnce("UClass* " + Class.Name + "::StaticClass()", "UClass", "Class",
					"\t\tUE::Host::ConstructNativeClass<" + Class.Name + ">(Class, " + Literal(Package(Source)) + ", " + Literal(Class.Name.substr(1)) + ", &" + Statics + "::Declare);\n");
				if (Source.bRegisterAtStartup)
				{
					Result.Source += "\nstatic UE::Host::FDeferredClassRegistration Z_CompiledInDefer_UClass_" + Class.Name + "(&" + Class.Name + "::StaticClass);\n";
				}
			}

			void WriteStruct(const FTypeDecl& Struct)
			{
				// A core type that cannot carry StaticStruct() itself (noexport) answers through TBaseStructure.
				const bool bNoExport = IsNoExport(Struct);
				if (!bNoExport && !CheckGeneratedBody(Struct))
				{
					return;
				}
				const std::string Statics = "Z_Construct_UScriptStruct_" + Struct.Name + "_Statics";
				if (!bNoExport)
				{
					Result.Header += "\n// " + Struct.Name + "\n";
					Result.Header += "#define " + BodyMacro(Struct) + " \\\n";
					if (!Struct.Parent.empty())
					{
						Result.Header += "\ttypedef " + Struct.Parent + " Super; \\\n";
					}
					Result.Header += "\tfriend struct " + Statics + "; \\\n";
					Result.Header += "\tstatic UScriptStruct* StaticStruct();\n";
				}

				// Immutable structs are also atomic, as the engine's tool makes them.
				const std::string Flags = Struct.HasSpecifier("immutable") ? "\t\tStruct.Flags(STRUCT_Atomic | STRUCT_Immutable);\n"
					: Struct.HasSpecifier("atomic") ? "\t\tStruct.Flags(STRUCT_Atomic);\n" : "";
				Result.Source += StaticsStruct(Struct, Statics, "TStructBuilder", "Struct", Flags);
				const std::string Signature = bNoExport ? "UScriptStruct* TBaseStructure<" + Struct.Name + ">::Get()" : "UScriptStruct* " + Struct.Name + "::StaticStruct()";
				const std::string SuperStruct = Struct.Parent.empty() ? std::string() : ", StaticStruct<" + Struct.Parent + ">()";
				Result.Source += BuildOnce(Signature, "UScriptStruct", "Struct",
					"\t\tUE::Host::ConstructNativeStruct<" + Struct.Name + ">(Struct, " + Literal(Package(Source)) + ", " + Literal(Struct.Name.substr(1)) + ", &" + Statics + "::Declare" + SuperStruct + ");\n");
			}

			void WriteEnum(const FEnumDecl& Enum)
			{
				if (Enum.Underlying.empty())
				{
					// Without one the generated header, included before the enum, cannot declare StaticEnum<>().
					Result.Errors.push_back(Source.RelativePath + ":" + std::to_string(Enum.Line) + ": error: " + Enum.Name + " needs an underlying type");
					return;
				}
				const std::string Type = EnumType(Enum);
				Result.Header += "\n// " + Enum.Name + "\n";
				Result.Header += EnumForwardDeclaration(Enum) + "\n";
				Result.Header += "template<>\nUEnum* StaticEnum<" + Type + ">();\n";

				std::string Build = "\t\tUE::Host::FEnumBuilder Enum(" + Literal(Package(Source)) + ", " + Literal(Enum.Name) + ", UEnum::ECppForm::" + CppForm(Enum) + ");\n";
				for (const FSpecifier& Meta : Enum.Meta)
				{
					Build += "\t\tEnum.EnumMeta(" + Literal(Meta.Key) + ", " + Literal(MetaValue(Meta)) + ");\n";
				}
				for (const FEnumeratorDecl& Enumerator : Enum.Enumerators)
				{
					Build += "\t\tEnum.Value(" + Literal(Enumerator.Name) + ", static_cast<int64>(" + EnumValuePrefix(Enum) + Enumerator.Name + "))";
					for (const FSpecifier& Meta : Enumerator.Meta)
					{
						Build += ".Meta(" + Literal(Meta.Key) + ", " + Literal(MetaValue(Meta)) + ")";
					}
					Build += ";\n";
				}
				Result.Source += "\n" + BuildOnce("template<>\nUEnum* StaticEnum<" + Type + ">()", "UEnum", "Result", Build + "\t\tResult = Enum.Finish();\n");
			}

			const FHeaderDecls& Decls;
			const FReflectionSource& Source;
			const std::string Id;
			const std::string BaseName;
			FGeneratedReflection Result;
		};
	}

	std::string HeaderBaseName(const std::string& Path)
	{
		const size_t Slash = Path.find_last_of("/\\");
		std::string Name = Slash == std::string::npos ? Path : Path.substr(Slash + 1);
		const size_t Dot = Name.rfind('.');
		return Dot == std::string::npos ? Name : Name.substr(0, Dot);
	}

	FGeneratedReflection GenerateReflection(const FHeaderDecls& Decls, const FReflectionSource& Source)
	{
		return FWriter(Decls, Source).Run();
	}
}
