// Classes, structs and enums built from the declarations in the engine's and the project's
// headers, on demand, when a lookup names one that no loaded type answers.
#pragma once

#include "CoreMinimal.h"
#include "UObject/Field.h"

#include <string>

class FProperty;
class UClass;
class UEnum;
class UScriptStruct;
class UStruct;

namespace UE::Host::Private
{
	// A class by its object name ("MySettings"), built from the header that declares UMySettings
	// (or AMySettings). Null when no header declares it, or when the host has no Source folders.
	UClass* FindClassInHeaders(const FString& Name);

	// By C++ name ("UMySettings", "FMyStruct", "EMyEnum"): loaded types first, then headers.
	// NearHeader is the header of the declaration that names the type.
	UClass* ResolveClass(const std::string& CppName, const std::string* NearHeader);
	UScriptStruct* ResolveStruct(const std::string& CppName, const std::string* NearHeader);
	UEnum* ResolveEnum(const std::string& CppName, const std::string* NearHeader);
	// A loaded class only, for the class named by an object reference (UObject when unknown).
	UClass* ResolveLoadedClass(const std::string& CppName);

	// The declared underlying type of an enum read from a header ("uint8"), empty when unknown.
	std::string GetEnumUnderlyingType(const UEnum* Enum);

	// The property of type Type (as written in a header) named Name; null, with the reason in
	// OutUnreadType, when the host cannot hold such a value.
	FProperty* CreatePropertyFromType(FFieldVariant Owner, FName Name, const std::string& Type, const std::string& Header, std::string& OutUnreadType);

	// An in-class initializer turned into the text the property imports; false when the
	// initializer is not a plain value (the value then stays zero, as for a constructor default).
	bool ConvertInitializer(const FProperty* Property, const std::string& Initializer, FString& OutText);

	// A class the host's code declares gains the config properties its header declares and it
	// lacks (stored beside its native members). Checked once per class; classes other classes
	// derive from keep their layout.
	void CompleteBuiltInClass(UClass* Class);

	// Whether the value Property starts with in Class's default object, before the config layers,
	// is known: always for the host's own classes, unless a header says otherwise for those read
	// from headers.
	bool IsDefaultKnown(const UClass* Class, const FProperty* Property);

	// The OverrideConfigSection of Class or of the nearest of its parents read from headers that
	// has one: true with the section it names; false when none overrides it. OutProblem says why a
	// section could not be read (then the result is false too).
	bool FindHeaderSectionOverride(const UClass* Class, FString& OutSection, FString& OutProblem);

	// Whether Name is a member the header of Struct (or of a parent) declares but the host could not
	// read: text for it cannot be taken in, so it must not be skipped as an unknown member.
	bool IsUnreadHeaderMember(const UStruct* Struct, FName Name);

	// Says so in the log when Name is a property the header declares but the host could not read.
	void NoteMissingProperty(const UStruct* Struct, FName Name);

	// Drops every type built from headers and forgets the Source folders (at shut-down).
	void ResetHeaderTypes();
}
