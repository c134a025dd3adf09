// What the header tool writes at build time for one header: <Name>.generated.h, which gives
// GENERATED_BODY() its declarations, and the source that registers the header's classes, structs
// and enums with the host's reflection builder (Host/ReflectionBuilder.h).
#pragma once

#include "HeaderTool/HeaderDeclarations.h"

#include <string>
#include <vector>

namespace UE::Host::Headers
{
	struct FReflectionSource
	{
		// The header's path relative to the source tree; it names the generated macros.
		std::string RelativePath;
		// How the generated source includes the header ("Engine/RendererSettings.h").
		std::string IncludePath;
		// The module whose "/Script/<Module>" package holds the header's types.
		std::string Module;
		// Registers each class when the object system starts (libraries outside the engine layer).
		bool bRegisterAtStartup = false;
	};

	struct FGeneratedReflection
	{
		std::string Header;
		std::string Source;
		// Declarations that cannot be generated; nothing should be written when there are any.
		std::vector<std::string> Errors;
	};

	FGeneratedReflection GenerateReflection(const FHeaderDecls& Decls, const FReflectionSource& Source);

	// "Engine/RendererSettings.h" -> "RendererSettings".
	std::string HeaderBaseName(const std::string& Path);
}
