#include "ScopedTestFolder.h"

#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <system_error>

namespace
{
	std::filesystem::path ToNative(const FString& Path)
	{
		return std::filesystem::path(UE::Host::StringToUtf8(Path));
	}
}

FScopedTestFolder::FScopedTestFolder()
{
	std::string Template = (std::filesystem::temp_directory_path() / "orvex-test-XXXXXX").string();
	if (!::mkdtemp(Template.data()))
	{
		throw std::runtime_error("cannot create a temporary test folder");
	}
	Root = UE::Host::Utf8ToString(Template) + TEXT("/");
}

FScopedTestFolder::~FScopedTestFolder()
{
	const std::filesystem::path Native = ToNative(Root);
	std::error_code Error;
	::chmod(Native.c_str(), 0700);
	for (auto It = std::filesystem::recursive_directory_iterator(Native, Error); !Error && It != std::filesystem::recursive_directory_iterator(); It.increment(Error))
	{
		if (It->is_directory(Error) && !It->is_symlink(Error))
		{
			::chmod(It->path().c_str(), 0700);
		}
	}
	std::filesystem::remove_all(Native, Error);
}

void FScopedTestFolder::WriteFile(const FString& Relative, std::string_view Bytes) const
{
	const std::filesystem::path Native = ToNative(Path(Relative));
	std::filesystem::create_directories(Native.parent_path());
	std::ofstream Stream(Native, std::ios::binary | std::ios::trunc);
	Stream.write(Bytes.data(), static_cast<std::streamsize>(Bytes.size()));
	if (!Stream)
	{
		throw std::runtime_error("cannot write a test file");
	}
}

std::string FScopedTestFolder::ReadFile(const FString& Relative) const
{
	std::ifstream Stream(ToNative(Path(Relative)), std::ios::binary);
	return std::string(std::istreambuf_iterator<char>(Stream), std::istreambuf_iterator<char>());
}

bool FScopedTestFolder::Exists(const FString& Relative) const
{
	std::error_code Error;
	return std::filesystem::exists(ToNative(Path(Relative)), Error);
}
