// The header tool's build step: what it reads from a header in the engine's form and what it
// writes for GENERATED_BODY() and the registration of the header's types.
#include "HeaderTool/HeaderDeclarations.h"
#include "HostTestEnvironment.h"
#include "ProgramRunner.h"
#include "ReflectionCodeWriter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>

using namespace UE::Host::Headers;

namespace
{
	const char* const ShaderSettingsHeader = R"hdr(// Copyright Epic Games, Inc. All Rights Reserved.

#pragma once

#include "CoreMinimal.h"
#include "Engine/DeveloperSettings.h"
#include "ShaderCompilerSettings.generated.h"

UENUM()
namespace EShaderCompression
{
	enum Type : int
	{
		None UMETA(DisplayName = "None"),
		Oodle UMETA(DisplayName = "Oodle \"Kraken\""),
		LZ4 = 4 UMETA(Hidden),
	};
}

UENUM()
enum class EShaderTarget : uint8
{
	SM5,
	SM6 UMETA(DisplayName = "Shader Model 6"),
};

USTRUCT()
struct FShaderFormatEntry
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = Formats)
	FName Format;

private:
	UPROPERTY(EditAnywhere, Category = Formats)
	uint8 bEnabled : 1;
};

/**
 * Settings of the shader compiler.
 * Read at start-up.
 */
UCLASS(config = Engine, defaultconfig, meta = (DisplayName = "Shader Compiler"))
class SHADERCOMPILER_API UShaderCompilerSettings : public UDeveloperSettings
{
	GENERATED_BODY()

	/** Workers run at once; 0 picks one per core. */
	UPROPERTY(config, EditAnywhere, Category = Workers, meta = (ClampMin = "0", ConsoleVariable = "r.ShaderCompiler.Workers"))
	int32 NumWorkers = 0;

public:
	UPROPERTY(config, EditAnywhere, AdvancedDisplay, Category = Cache, meta = (DisplayName = "Cache Folder (C:\\Shaders)"))
	FString CacheFolder;

	UPROPERTY(config, EditAnywhere, NoClear, Category = Formats)
	TArray<FShaderFormatEntry> Formats;

protected:
	UPROPERTY(globalconfig, VisibleAnywhere, Category = Cache)
	uint32 bShareCache : 1;
};
)hdr";

	FReflectionSource ShaderSource()
	{
		FReflectionSource Source;
		Source.RelativePath = "Plugins/Shader/Source/Public/ShaderCompilerSettings.h";
		Source.IncludePath = "ShaderCompilerSettings.h";
		Source.Module = "ShaderCompiler";
		return Source;
	}

	int32_t LineOf(const std::string& Text, const std::string& Needle)
	{
		const size_t At = Text.find(Needle);
		return At == std::string::npos ? 0 : static_cast<int32_t>(std::count(Text.begin(), Text.begin() + static_cast<std::ptrdiff_t>(At), '\n') + 1);
	}

	void ExpectContains(const std::string& Text, const std::string& Part)
	{
		EXPECT_NE(Text.find(Part), std::string::npos) << "missing:\n" << Part << "\nin:\n" << Text;
	}
}

TEST(ReflectionGenerator, ReadsAccessGeneratedBodyAndConstructors)
{
	const FHeaderDecls Decls = ReadHeader(ShaderSettingsHeader);
	ASSERT_EQ(Decls.Classes.size(), 1u);
	const FTypeDecl& Class = Decls.Classes[0];
	EXPECT_EQ(Class.GeneratedBodyLine, LineOf(ShaderSettingsHeader, "class SHADERCOMPILER_API") + 2);
	EXPECT_EQ(Class.GeneratedBodyMacro, "GENERATED_BODY");
	EXPECT_FALSE(Class.bDeclaresConstructor);
	// A class's members are private after GENERATED_BODY() until an access specifier says otherwise.
	ASSERT_EQ(Class.Properties.size(), 4u);
	EXPECT_EQ(Class.Properties[0].Access, FPropertyDecl::EAccess::Private);
	EXPECT_EQ(Class.Properties[1].Access, FPropertyDecl::EAccess::Public);
	EXPECT_EQ(Class.Properties[3].Access, FPropertyDecl::EAccess::Protected);
	// A struct's are public until then.
	ASSERT_EQ(Decls.Structs.size(), 1u);
	EXPECT_EQ(Decls.Structs[0].Properties[0].Access, FPropertyDecl::EAccess::Public);
	EXPECT_EQ(Decls.Structs[0].Properties[1].Access, FPropertyDecl::EAccess::Private);
	EXPECT_FALSE(Decls.Structs[0].bDeclaresConstructor);

	const FHeaderDecls Legacy = ReadHeader(R"hdr(
UCLASS()
class UOldSettings : public UObject
{
	GENERATED_UCLASS_BODY()
	UPROPERTY(config)
	int32 Value;
	ENGINE_API explicit UOldSettings(int32 InValue);
};
)hdr");
	ASSERT_EQ(Legacy.Classes.size(), 1u);
	EXPECT_EQ(Legacy.Classes[0].GeneratedBodyMacro, "GENERATED_UCLASS_BODY");
	EXPECT_EQ(Legacy.Classes[0].Properties[0].Access, FPropertyDecl::EAccess::Public);
	EXPECT_TRUE(Legacy.Classes[0].bDeclaresConstructor);
}

TEST(ReflectionGenerator, GeneratedHeaderDeclaresWhatGeneratedBodyNeeds)
{
	const FGeneratedReflection Generated = GenerateReflection(ReadHeader(ShaderSettingsHeader), ShaderSource());
	ASSERT_TRUE(Generated.Errors.empty());
	const std::string Id = "FID_Plugins_Shader_Source_Public_ShaderCompilerSettings_h";
	const std::string Header = ShaderSettingsHeader;
	ExpectContains(Generated.Header, "#define CURRENT_FILE_ID " + Id + "\n");
	ExpectContains(Generated.Header, "#define " + Id + "_" + std::to_string(LineOf(Header, "UCLASS(config")) + "_PROLOG\n");
	const std::string ClassBody = "#define " + Id + "_" + std::to_string(LineOf(Header, "class SHADERCOMPILER_API") + 2) + "_GENERATED_BODY \\\n";
	ExpectContains(Generated.Header, ClassBody
		+ "public: \\\n"
		+ "\tDECLARE_CLASS(UShaderCompilerSettings, UDeveloperSettings, CLASS_Config | CLASS_DefaultConfig, CASTCLASS_None, TEXT(\"/Script/ShaderCompiler\"), NO_API) \\\n"
		+ "\tfriend struct Z_Construct_UClass_UShaderCompilerSettings_Statics; \\\n"
		+ "\tUShaderCompilerSettings(); \\\n");
	// The generated body leaves the class private, as the engine's does.
	ExpectContains(Generated.Header, "\tUShaderCompilerSettings(const UShaderCompilerSettings&) = delete; \\\nprivate:\n");
	ExpectContains(Generated.Header, "\tfriend struct Z_Construct_UScriptStruct_FShaderFormatEntry_Statics; \\\n\tstatic UScriptStruct* StaticStruct();\n");
	// Included before the enums are declared, so they are declared ahead.
	ExpectContains(Generated.Header, "namespace EShaderCompression { enum Type : int; }\ntemplate<>\nUEnum* StaticEnum<EShaderCompression::Type>();\n");
	ExpectContains(Generated.Header, "enum class EShaderTarget : uint8;\ntemplate<>\nUEnum* StaticEnum<EShaderTarget>();\n");
}

TEST(ReflectionGenerator, RegistrationCarriesFlagsMetadataAccessAndDocComments)
{
	const FGeneratedReflection Generated = GenerateReflection(ReadHeader(ShaderSettingsHeader), ShaderSource());
	ASSERT_TRUE(Generated.Errors.empty());
	const std::string& Source = Generated.Source;
	ExpectContains(Source, "#include \"ShaderCompilerSettings.h\"\n");
	ExpectContains(Source, "\t\tClass.Config(TEXT(\"Engine\"));\n\t\tClass\n\t\t\t.Meta(TEXT(\"DisplayName\"), TEXT(\"Shader Compiler\"))\n"
		"\t\t\t.Meta(TEXT(\"ToolTip\"), TEXT(\"Settings of the shader compiler.\\nRead at start-up.\"));\n");
	ExpectContains(Source, "Class.Property(TEXT(\"NumWorkers\"), &UShaderCompilerSettings::NumWorkers, CPF_Config | CPF_Edit | CPF_NativeAccessSpecifierPrivate)\n"
		"\t\t\t.Meta(TEXT(\"Category\"), TEXT(\"Workers\"))\n\t\t\t.Meta(TEXT(\"ClampMin\"), TEXT(\"0\"))\n"
		"\t\t\t.Meta(TEXT(\"ToolTip\"), TEXT(\"Workers run at once; 0 picks one per core.\"))\n"
		"\t\t\t.ConsoleVariable(TEXT(\"r.ShaderCompiler.Workers\"));\n");
	ExpectContains(Source, "CPF_Config | CPF_Edit | CPF_AdvancedDisplay | CPF_NativeAccessSpecifierPublic)\n\t\t\t.Meta(TEXT(\"Category\"), TEXT(\"Cache\"))\n"
		"\t\t\t.Meta(TEXT(\"DisplayName\"), TEXT(\"Cache Folder (C:\\\\Shaders)\"));\n");
	ExpectContains(Source, "&UShaderCompilerSettings::Formats, CPF_Config | CPF_Edit | CPF_NoClear | CPF_NativeAccessSpecifierPublic)");
	// A bitfield has no address: the builder finds its bit through a setter.
	ExpectContains(Source, "Class.Bitfield(TEXT(\"bShareCache\"), [](void* Object, bool bValue) { static_cast<UShaderCompilerSettings*>(Object)->bShareCache = bValue ? 1 : 0; }, "
		"CPF_Config | CPF_GlobalConfig | CPF_Edit | CPF_EditConst | CPF_NativeAccessSpecifierProtected)");
	ExpectContains(Source, "Struct.Bitfield(TEXT(\"bEnabled\")");
	ExpectContains(Source, "UShaderCompilerSettings::UShaderCompilerSettings() = default;\n");
	ExpectContains(Source, "UE::Host::ConstructNativeClass<UShaderCompilerSettings>(Class, TEXT(\"/Script/ShaderCompiler\"), TEXT(\"ShaderCompilerSettings\"), &Z_Construct_UClass_UShaderCompilerSettings_Statics::Declare);");
	ExpectContains(Source, "UE::Host::ConstructNativeStruct<FShaderFormatEntry>(Struct, TEXT(\"/Script/ShaderCompiler\"), TEXT(\"ShaderFormatEntry\"), &Z_Construct_UScriptStruct_FShaderFormatEntry_Statics::Declare);");
	ExpectContains(Source, "UE::Host::FEnumBuilder Enum(TEXT(\"/Script/ShaderCompiler\"), TEXT(\"EShaderCompression\"), UEnum::ECppForm::Namespaced);\n"
		"\t\tEnum.Value(TEXT(\"None\"), static_cast<int64>(EShaderCompression::None)).Meta(TEXT(\"DisplayName\"), TEXT(\"None\"));\n"
		"\t\tEnum.Value(TEXT(\"Oodle\"), static_cast<int64>(EShaderCompression::Oodle)).Meta(TEXT(\"DisplayName\"), TEXT(\"Oodle \\\"Kraken\\\"\"));\n"
		"\t\tEnum.Value(TEXT(\"LZ4\"), static_cast<int64>(EShaderCompression::LZ4)).Meta(TEXT(\"Hidden\"), TEXT(\"true\"));\n");
	// Only libraries outside the engine layer register their classes at start-up.
	EXPECT_EQ(Source.find("FDeferredClassRegistration"), std::string::npos);
	FReflectionSource Plugin = ShaderSource();
	Plugin.bRegisterAtStartup = true;
	ExpectContains(GenerateReflection(ReadHeader(ShaderSettingsHeader), Plugin).Source,
		"static UE::Host::FDeferredClassRegistration Z_CompiledInDefer_UClass_UShaderCompilerSettings(&UShaderCompilerSettings::StaticClass);\n");
}

TEST(ReflectionGenerator, RefusesWhatItCannotGenerate)
{
	const FGeneratedReflection Missing = GenerateReflection(ReadHeader(R"hdr(
UCLASS(config = Game)
class UNoBodySettings : public UObject
{
public:
	UPROPERTY(config)
	int32 Value;
};

UENUM()
enum EUntyped
{
	First,
};
)hdr"), ShaderSource());
	ASSERT_EQ(Missing.Errors.size(), 2u);
	EXPECT_EQ(Missing.Errors[0], "Plugins/Shader/Source/Public/ShaderCompilerSettings.h:2: error: UNoBodySettings needs GENERATED_BODY()");
	EXPECT_EQ(Missing.Errors[1], "Plugins/Shader/Source/Public/ShaderCompilerSettings.h:10: error: EUntyped needs an underlying type");

	const FGeneratedReflection Nothing = GenerateReflection(ReadHeader("#pragma once\nstruct FPlain { int32 Value; };\n"), ShaderSource());
	ASSERT_EQ(Nothing.Errors.size(), 1u);
	EXPECT_NE(Nothing.Errors[0].find("no UCLASS, USTRUCT or UENUM"), std::string::npos);
}

TEST(ReflectionGenerator, BuildStepRewritesOnlyWhatChanged)
{
	FTempHostFolders Folders;
	const std::filesystem::path Header = Folders.Root() / "Source" / "Public" / "ShaderCompilerSettings.h";
	const std::filesystem::path Output = Folders.Root() / "Generated";
	Folders.Write(Header, ShaderSettingsHeader);
	const std::vector<std::string> Arguments = {"--output", Output.string(), "--source-name", "ShaderCompiler", "--source-root", Folders.Root().string(),
		"--include-root", (Folders.Root() / "Source" / "Public").string(), "ShaderCompiler:" + Header.string()};

	const FProgramRun First = RunBuiltProgram("OrvexHeaderToolProgram", Arguments);
	ASSERT_EQ(First.ExitCode, 0) << First.Err;
	const std::filesystem::path GeneratedHeader = Output / "Inc" / "ShaderCompilerSettings.generated.h";
	const std::filesystem::path GeneratedSource = Output / "Src" / "ShaderCompiler.gen.cpp";
	ExpectContains(FTempHostFolders::Read(GeneratedHeader), "#define CURRENT_FILE_ID FID_Source_Public_ShaderCompilerSettings_h\n");
	ExpectContains(FTempHostFolders::Read(GeneratedSource), "#include \"ShaderCompilerSettings.h\"\n");

	// Unchanged declarations leave both files as they were, so nothing that includes them rebuilds.
	const auto HeaderTime = std::filesystem::last_write_time(GeneratedHeader) - std::chrono::seconds(10);
	const auto SourceTime = std::filesystem::last_write_time(GeneratedSource) - std::chrono::seconds(10);
	std::filesystem::last_write_time(GeneratedHeader, HeaderTime);
	std::filesystem::last_write_time(GeneratedSource, SourceTime);
	ASSERT_EQ(RunBuiltProgram("OrvexHeaderToolProgram", Arguments).ExitCode, 0);
	EXPECT_EQ(std::filesystem::last_write_time(GeneratedHeader), HeaderTime);
	EXPECT_EQ(std::filesystem::last_write_time(GeneratedSource), SourceTime);

	// A changed doc comment changes the registration only.
	std::string Changed = ShaderSettingsHeader;
	Changed.replace(Changed.find("Workers run at once"), 19, "Parallel workers");
	Folders.Write(Header, Changed);
	ASSERT_EQ(RunBuiltProgram("OrvexHeaderToolProgram", Arguments).ExitCode, 0);
	EXPECT_EQ(std::filesystem::last_write_time(GeneratedHeader), HeaderTime);
	ExpectContains(FTempHostFolders::Read(GeneratedSource), "TEXT(\"Parallel workers; 0 picks one per core.\")");

	// A header the tool refuses fails the build with the place, and its old files stay.
	Folders.Write(Header, "UCLASS()\nclass UBroken : public UObject\n{\n};\n");
	const FProgramRun Broken = RunBuiltProgram("OrvexHeaderToolProgram", Arguments);
	EXPECT_EQ(Broken.ExitCode, 1);
	ExpectContains(Broken.Err, "Source/Public/ShaderCompilerSettings.h:1: error: UBroken needs GENERATED_BODY()");
	ExpectContains(FTempHostFolders::Read(GeneratedSource), "Parallel workers");

	const FProgramRun Usage = RunBuiltProgram("OrvexHeaderToolProgram", {"--output", Output.string(), "--source-name", "ShaderCompiler", "--source-root", Folders.Root().string(),
		"--include-root", Folders.Root().string(), Header.string()});
	EXPECT_EQ(Usage.ExitCode, 2);
	ExpectContains(Usage.Err, "is not MODULE:HEADER");
}
