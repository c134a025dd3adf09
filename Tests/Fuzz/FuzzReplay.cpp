// Runs a fuzz target over every file of the given corpus folders, as an ordinary test.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size);

int main(int Argc, char** Argv)
{
	int Replayed = 0;
	for (int Index = 1; Index < Argc; ++Index)
	{
		std::error_code Error;
		for (const auto& Entry : std::filesystem::recursive_directory_iterator(Argv[Index], Error))
		{
			if (!Entry.is_regular_file())
			{
				continue;
			}
			std::ifstream Stream(Entry.path(), std::ios::binary);
			const std::vector<char> Bytes((std::istreambuf_iterator<char>(Stream)), std::istreambuf_iterator<char>());
			LLVMFuzzerTestOneInput(reinterpret_cast<const uint8_t*>(Bytes.data()), Bytes.size());
			++Replayed;
		}
	}
	std::printf("%d passed, 0 failed\n", Replayed);
	return Replayed > 0 ? 0 : 1;
}
