// FFileHelper's text encodings and the atomic replace underneath every write.
#include "CoreMinimal.h"
#include "Host/AtomicFile.h"
#include "Misc/FileHelper.h"
#include "ScopedTestFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>

namespace
{
	std::string Load(const FScopedTestFolder& Folder, const std::string& Bytes)
	{
		Folder.WriteFile(TEXT("file.txt"), Bytes);
		FString Text;
		if (!FFileHelper::LoadFileToString(Text, *Folder.Path(TEXT("file.txt"))))
		{
			return "<unreadable>";
		}
		return ToUtf8(Text);
	}

	int32 CountEntries(const FString& Directory)
	{
		int32 Count = 0;
		for (const auto& Entry : std::filesystem::directory_iterator(UE::Host::StringToUtf8(Directory)))
		{
			(void)Entry;
			++Count;
		}
		return Count;
	}
}

TEST(FileHelper, LoadFileToStringDetectsByteOrderMarks)
{
	FScopedTestFolder Folder;
	EXPECT_EQ(Load(Folder, "plain \xC3\xA9"), "plain \xC3\xA9");
	EXPECT_EQ(Load(Folder, "\xEF\xBB\xBF[S]\nK=\xE5\x89\xA3"), "[S]\nK=\xE5\x89\xA3");
	EXPECT_EQ(Load(Folder, std::string("\xFF\xFE" "A\0\xE9\0=\0", 8)), "A\xC3\xA9=");
	// Big endian, with a surrogate pair (U+1F48E) and a stray last byte that is dropped.
	EXPECT_EQ(Load(Folder, std::string("\xFE\xFF\0K\xD8\x3D\xDC\x8E\0", 9)), "K\xF0\x9F\x92\x8E");
	EXPECT_EQ(Load(Folder, "bad \xFF\xC3 bytes"), "bad \xEF\xBF\xBD\xEF\xBF\xBD bytes");
	EXPECT_EQ(Load(Folder, ""), "");

	FString Text;
	EXPECT_FALSE(FFileHelper::LoadFileToString(Text, *Folder.Path(TEXT("missing.txt"))));
	EXPECT_FALSE(FFileHelper::LoadFileToString(Text, *Folder.GetPath()));
}

TEST(FileHelper, LoadFileToStringArrayKeepsEmptyLines)
{
	FScopedTestFolder Folder;
	Folder.WriteFile(TEXT("lines.txt"), "a\r\n\r\nb\rc\n\nd\n");
	TArray<FString> Lines;
	ASSERT_TRUE(FFileHelper::LoadFileToStringArray(Lines, *Folder.Path(TEXT("lines.txt"))));
	EXPECT_EQ(ToUtf8(FString::Join(Lines, TEXT("|"))), "a||b|c||d");
}

TEST(FileHelper, SaveStringToFileWritesTheChosenEncoding)
{
	FScopedTestFolder Folder;
	const FString Path = Folder.Path(TEXT("Out/file.ini"));
	using EEncoding = FFileHelper::EEncodingOptions;

	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("[S]\n"), *Path));
	EXPECT_EQ(Folder.ReadFile(TEXT("Out/file.ini")), "[S]\n");
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("\u00e9"), *Path));
	EXPECT_EQ(Folder.ReadFile(TEXT("Out/file.ini")), std::string("\xFF\xFE\xE9\0", 4));
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("\u00e9"), *Path, EEncoding::ForceUTF8));
	EXPECT_EQ(Folder.ReadFile(TEXT("Out/file.ini")), "\xEF\xBB\xBF\xC3\xA9");
	ASSERT_TRUE(FFileHelper::SaveStringToFile(TEXT("\u00e9"), *Path, EEncoding::ForceUTF8WithoutBOM));
	EXPECT_EQ(Folder.ReadFile(TEXT("Out/file.ini")), "\xC3\xA9");

	FString RoundTrip;
	const FString Original(TEXT("K=\u5263\U0001F48E\r\n"));
	for (EEncoding Encoding : {EEncoding::ForceUnicode, EEncoding::ForceUTF8, EEncoding::ForceUTF8WithoutBOM})
	{
		ASSERT_TRUE(FFileHelper::SaveStringToFile(Original, *Path, Encoding));
		ASSERT_TRUE(FFileHelper::LoadFileToString(RoundTrip, *Path));
		EXPECT_TRUE(RoundTrip.Equals(Original));
	}
}

TEST(AtomicFile, ReplacesWholeFilesAndLeavesNoTemporaryFiles)
{
	FScopedTestFolder Folder;
	Folder.WriteFile(TEXT("Config/Game.ini"), "old");
	const std::string Path = UE::Host::StringToUtf8(Folder.Path(TEXT("Config/Game.ini")));
	ASSERT_EQ(::chmod(Path.c_str(), 0604), 0);
	FString Error;
	ASSERT_TRUE(UE::Host::WriteFileAtomically(Folder.Path(TEXT("Config/Game.ini")), "new", 3, Error)) << ToUtf8(Error);
	EXPECT_EQ(Folder.ReadFile(TEXT("Config/Game.ini")), "new");
	struct stat Info;
	ASSERT_EQ(::stat(Path.c_str(), &Info), 0);
	EXPECT_EQ(Info.st_mode & 07777, 0604u);
	EXPECT_EQ(CountEntries(Folder.Path(TEXT("Config"))), 1);

	ASSERT_TRUE(UE::Host::WriteFileAtomically(Folder.Path(TEXT("Config/Empty.ini")), nullptr, 0, Error));
	EXPECT_TRUE(Folder.Exists(TEXT("Config/Empty.ini")));
	EXPECT_EQ(Folder.ReadFile(TEXT("Config/Empty.ini")), "");
}

TEST(AtomicFile, RefusesWhatCannotBeReplacedSafely)
{
	FScopedTestFolder Folder;
	Folder.WriteFile(TEXT("Config/Game.ini"), "old");
	FString Error;
	EXPECT_FALSE(UE::Host::WriteFileAtomically(FString(), "x", 1, Error));
	EXPECT_FALSE(UE::Host::WriteFileAtomically(Folder.Path(TEXT("Config")), "x", 1, Error));
	EXPECT_FALSE(UE::Host::WriteFileAtomically(Folder.Path(TEXT("Config/Game.ini/Child.ini")), "x", 1, Error));
	std::filesystem::create_symlink(UE::Host::StringToUtf8(Folder.Path(TEXT("Missing.ini"))), UE::Host::StringToUtf8(Folder.Path(TEXT("Config/Dangling.ini"))));
	Error.Reset();
	EXPECT_FALSE(UE::Host::WriteFileAtomically(Folder.Path(TEXT("Config/Dangling.ini")), "x", 1, Error));
	EXPECT_NE(ToUtf8(Error).find("missing"), std::string::npos) << ToUtf8(Error);
	EXPECT_EQ(Folder.ReadFile(TEXT("Config/Game.ini")), "old");
	EXPECT_EQ(CountEntries(Folder.Path(TEXT("Config"))), 2);
}
