// A fresh folder under the system's temporary directory, removed with everything in it when the
// test ends (write permissions a test took away are restored first).
#pragma once

#include "CoreMinimal.h"

#include <string>
#include <string_view>

class FScopedTestFolder
{
public:
	FScopedTestFolder();
	~FScopedTestFolder();
	FScopedTestFolder(const FScopedTestFolder&) = delete;
	FScopedTestFolder& operator=(const FScopedTestFolder&) = delete;

	// Absolute, ending with '/'.
	const FString& GetPath() const { return Root; }
	FString Path(const FString& Relative) const { return Root + Relative; }

	// Writes the bytes exactly as given, creating missing folders.
	void WriteFile(const FString& Relative, std::string_view Bytes) const;
	// The file's bytes, or an empty string when it cannot be read.
	std::string ReadFile(const FString& Relative) const;
	bool Exists(const FString& Relative) const;

private:
	FString Root;
};

// Readable comparisons in assertions.
inline std::string ToUtf8(const FString& Text)
{
	return UE::Host::StringToUtf8(Text);
}
