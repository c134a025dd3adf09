// The reflection declarations of one C++ header, read the way the engine's header tool reads them:
// UCLASS/USTRUCT/UENUM with their specifiers, and the UPROPERTY members of classes and structs.
// Nothing here knows about objects; the host's header classes are built from these.
//
// Text stays UTF-8: headers are read in bulk and most of them are never turned into classes.
#pragma once

#include "HeaderTool/HeaderTokenizer.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace UE::Host::Headers
{
	// "Key" or "Key=Value" from a specifier list; a quoted value is stored without its quotes.
	struct FSpecifier
	{
		std::string Key;
		std::string Value;
	};

	struct FPropertyDecl
	{
		// The C++ access the member is declared under.
		enum class EAccess
		{
			Public,
			Protected,
			Private,
		};

		std::string Name;
		// The declared type with keywords (const, class, struct, mutable) dropped and no blanks:
		// "TArray<FMyStruct>", "TEnumAsByte<EFoo::Type>", "UObject*".
		std::string Type;
		// Static array dimension as written ("4", "EFoo::Count"); empty for a single value.
		std::string ArrayDim;
		bool bBitfield = false;
		// The in-class initializer as written (tokens joined by single blanks), empty when none.
		std::string Default;
		std::vector<FSpecifier> Specifiers;
		std::vector<FSpecifier> Meta;
		std::string Doc;
		bool bDeprecated = false;
		EAccess Access = EAccess::Public;
		int32_t Line = 0;

		bool HasSpecifier(std::string_view Key) const;
		const std::string* FindMeta(std::string_view Key) const;
		// UE_DEPRECATED, a name ending in _DEPRECATED, or DeprecatedProperty metadata.
		bool IsDeprecated() const;
	};

	// A UCLASS or a USTRUCT.
	struct FTypeDecl
	{
		std::string Name;
		std::string Parent;
		bool bStruct = false;
		std::vector<FSpecifier> Specifiers;
		std::vector<FSpecifier> Meta;
		std::string Doc;
		std::vector<FPropertyDecl> Properties;
		int32_t Line = 0;
		// Where GENERATED_BODY() (or a legacy form) stands, and which form it is; 0 and empty when absent.
		int32_t GeneratedBodyLine = 0;
		std::string GeneratedBodyMacro;
		// Whether the body declares a constructor of its own.
		bool bDeclaresConstructor = false;

		// How the class overrides UObject::OverrideConfigSection, if it does: with an inline body
		// that assigns one string literal (SectionOverride holds it), or in a way a reader cannot
		// follow (SectionOverride holds why).
		enum class ESectionOverride : uint8_t
		{
			None,
			Literal,
			Unreadable,
		};
		ESectionOverride SectionOverrideKind = ESectionOverride::None;
		std::string SectionOverride;

		// A constructor declared in the body whose definition is elsewhere (a source file of the
		// module); and the definition written in the body, from the class name to the end of its body.
		bool bConstructorDefinedElsewhere = false;
		std::vector<FToken> InlineConstructor;

		// Whether a source file defines a constructor: one declared without a body, or the one
		// GENERATED_UCLASS_BODY declares.
		bool HasConstructorInSource() const { return bConstructorDefinedElsewhere || GeneratedBodyMacro == "GENERATED_UCLASS_BODY"; }

		bool HasSpecifier(std::string_view Key) const;
		// The value of "Key=Value" (case ignored), or null.
		const std::string* FindSpecifier(std::string_view Key) const;
	};

	struct FEnumeratorDecl
	{
		std::string Name;
		int64_t Value = 0;
		std::vector<FSpecifier> Meta;
	};

	struct FEnumDecl
	{
		enum class EForm
		{
			Regular,
			Namespaced,
			EnumClass,
		};
		std::string Name;
		EForm Form = EForm::Regular;
		// The declared underlying type ("uint8"), empty when none was written.
		std::string Underlying;
		std::vector<FEnumeratorDecl> Enumerators;
		std::vector<FSpecifier> Meta;
		int32_t Line = 0;
	};

	struct FHeaderDecls
	{
		std::vector<FTypeDecl> Classes;
		std::vector<FTypeDecl> Structs;
		std::vector<FEnumDecl> Enums;
		// Enums without UENUM at namespace scope: only their values are of use (static array sizes).
		std::vector<FEnumDecl> PlainEnums;
		// #include targets as written, in order ("Engine/DeveloperSettings.h").
		std::vector<std::string> Includes;

		const FTypeDecl* FindClass(std::string_view Name) const;
		const FTypeDecl* FindStruct(std::string_view Name) const;
		const FEnumDecl* FindEnum(std::string_view Name) const;
		// The value of Scope::Name (an enum or its namespace as Scope) or of a bare enumerator of a
		// plain enum, from any enum of the header.
		bool FindEnumConstant(std::string_view Scope, std::string_view Name, int64_t& OutValue) const;
	};

	// What a constructor definition sets, read from its member initializers and the plain
	// "Member = Value;" statements of its body, in the order they run.
	struct FConstructorDefaults
	{
		// Member name and the value as written (tokens joined by single blanks).
		std::vector<std::pair<std::string, std::string>> Assignments;
		// Members the constructor changes in a way not read here: inside a nested block, through a
		// call or an operator other than '=', or assigned something the caller may not follow.
		std::vector<std::string> Changed;
	};

	// The definition "ClassName::ClassName(...) ... { ... }" in a source file; false when the text
	// has none. Several definitions (overloads) are read together.
	bool ReadConstructorDefinition(std::string_view Text, const std::string& ClassName, FConstructorDefaults& OutDefaults);
	// The same from the tokens of a definition written in the class body.
	void ReadInlineConstructor(const std::vector<FToken>& Tokens, FConstructorDefaults& OutDefaults);

	// Reads every declaration of one header. Blocks under #if are kept when their condition holds
	// for an editor build on Linux (WITH_EDITOR, WITH_EDITORONLY_DATA, PLATFORM_LINUX are 1, unknown
	// names 0, as the preprocessor treats them); a declaration the reader cannot follow is skipped.
	FHeaderDecls ReadHeader(std::string_view Text);

	bool EqualsIgnoreCase(std::string_view A, std::string_view B);
}
