// Fuzz target: C++ header text through the reflection declaration reader and the writer of
// generated code.
#include "HeaderTool/HeaderDeclarations.h"
#include "ReflectionCodeWriter.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size)
{
	const UE::Host::Headers::FHeaderDecls Decls = UE::Host::Headers::ReadHeader(std::string_view(reinterpret_cast<const char*>(Data), Size));
	size_t Count = Decls.Includes.size() + Decls.Enums.size();
	for (const UE::Host::Headers::FTypeDecl& Class : Decls.Classes)
	{
		Count += Class.Properties.size() + (Class.FindSpecifier("config") ? 1 : 0);
	}
	UE::Host::Headers::FReflectionSource Source;
	Source.RelativePath = "Fuzz/Header.h";
	Source.IncludePath = "Header.h";
	Source.Module = "Fuzz";
	const UE::Host::Headers::FGeneratedReflection Generated = UE::Host::Headers::GenerateReflection(Decls, Source);
	Count += Generated.Errors.size() + (Generated.Source.empty() ? 1 : 0);
	return Count > Size * 4 + 16 ? 1 : 0;
}
