// Editing INI files as text: exact bytes before and after.
#include "CoreMinimal.h"
#include "HAL/PlatformFileManager.h"
#include "Host/ConfigFileEditor.h"
#include "Misc/ConfigCacheIni.h"
#include "ScopedTestFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <random>
#include <string>

namespace
{
	namespace Editor = UE::Host::ConfigFileEditor;

	class FConfigFileEditorTest : public ::testing::Test
	{
	protected:
		// Writes Before, runs the edit and returns the file's bytes afterwards.
		template<typename EditType>
		std::string Edit(const std::string& Before, EditType&& EditFunction)
		{
			Folder.WriteFile(TEXT("Config/DefaultEngine.ini"), Before);
			FString Error;
			EXPECT_TRUE(EditFunction(File(), Error)) << ToUtf8(Error);
			return Folder.ReadFile(TEXT("Config/DefaultEngine.ini"));
		}

		std::string SetKey(const std::string& Before, const TCHAR* Section, const TCHAR* Key, const TCHAR* Value)
		{
			return Edit(Before, [&](const FString& Path, FString& Error) { return Editor::SetKey(Path, Section, Key, Value, Error); });
		}

		std::string ReplaceSection(const std::string& Before, const TCHAR* Section, const TArray<FString>& Lines)
		{
			return Edit(Before, [&](const FString& Path, FString& Error) { return Editor::ReplaceSection(Path, Section, Lines, Error); });
		}

		FString File() const { return Folder.Path(TEXT("Config/DefaultEngine.ini")); }

		FScopedTestFolder Folder;
	};

	std::string ReadBack(const std::string& Text, const TCHAR* Section, const TCHAR* Key)
	{
		FConfigFile File;
		File.CombineFromBuffer(UE::Host::Utf8ToString(Text), FString());
		FString Value;
		return File.GetString(Section, Key, Value) ? ToUtf8(Value) : "<missing>";
	}
}

TEST_F(FConfigFileEditorTest, SetKeyReplacesTheKeyInItsSectionAndNothingElse)
{
	const std::string Before =
		"; Project overrides\r\n"
		"\r\n"
		"[/Script/Engine.RendererSettings]\r\n"
		"; Lumen\r\n"
		"r.ReflectionMethod=1\r\n"
		"+r.RayTracing=Array\r\n"
		"  R.RAYTRACING = False\r\n"
		"r.Shadow.Virtual.Enable=1\r\n"
		"\r\n"
		"[Other]\r\n"
		"r.RayTracing=Untouched\r\n"
		"\r\n"
		"[/script/engine.renderersettings]\r\n"
		"r.RayTracing=Duplicate\r\n"
		"Kept=1\r\n";
	const std::string After =
		"; Project overrides\r\n"
		"\r\n"
		"[/Script/Engine.RendererSettings]\r\n"
		"; Lumen\r\n"
		"r.ReflectionMethod=1\r\n"
		"+r.RayTracing=Array\r\n"
		"r.RayTracing=True\r\n"
		"r.Shadow.Virtual.Enable=1\r\n"
		"\r\n"
		"[Other]\r\n"
		"r.RayTracing=Untouched\r\n"
		"\r\n"
		"[/script/engine.renderersettings]\r\n"
		"Kept=1\r\n";
	EXPECT_EQ(SetKey(Before, TEXT("/Script/Engine.RendererSettings"), TEXT("r.RayTracing"), TEXT("True")), After);
}

TEST_F(FConfigFileEditorTest, SetKeyAddsAMissingKeyAfterTheSectionsLastEntry)
{
	const std::string Before =
		"[A]\n"
		"X=1\n"
		"// note about X\n"
		"\n"
		"; Introduces B\n"
		"[B]\n"
		"Y=2";
	const std::string After =
		"[A]\n"
		"X=1\n"
		"New=Value\n"
		"// note about X\n"
		"\n"
		"; Introduces B\n"
		"[B]\n"
		"Y=2\n";
	EXPECT_EQ(SetKey(Before, TEXT("a"), TEXT("New"), TEXT("Value")), After);
	EXPECT_EQ(SetKey("[Empty]\n\n[Next]\n", TEXT("Empty"), TEXT("K"), TEXT("V")), "[Empty]\nK=V\n\n[Next]\n");
}

TEST_F(FConfigFileEditorTest, SetKeyAppendsAMissingSectionAfterABlankLine)
{
	EXPECT_EQ(SetKey("[A]\nX=1", TEXT("B"), TEXT("Y"), TEXT("2")), "[A]\nX=1\n\n[B]\nY=2\n");
	EXPECT_EQ(SetKey("[A]\r\nX=1\r\n\r\n", TEXT("B"), TEXT("Y"), TEXT("2")), "[A]\r\nX=1\r\n\r\n[B]\r\nY=2\r\n");
	EXPECT_EQ(SetKey("", TEXT("B"), TEXT("Y"), TEXT("2")), "[B]\nY=2\n");
}

TEST_F(FConfigFileEditorTest, SetKeyCreatesTheFileAndItsFolders)
{
	const FString Path = Folder.Path(TEXT("User/Unreal Engine/Engine/Config/UserEngine.ini"));
	FString Error;
	ASSERT_TRUE(Editor::SetKey(Path, TEXT("S"), TEXT("K"), TEXT("V"), Error)) << ToUtf8(Error);
	EXPECT_EQ(Folder.ReadFile(TEXT("User/Unreal Engine/Engine/Config/UserEngine.ini")), "[S]\nK=V\n");
}

TEST_F(FConfigFileEditorTest, SetKeyReplacesEveryPhysicalLineOfAJoinedLine)
{
	const std::string Before =
		"[S]\n"
		"Block={first\n"
		"second}\n"
		"Long=a \\\n"
		"b\n"
		"After=1\n";
	const std::string After =
		"[S]\n"
		"Block=new\n"
		"Long=c\n"
		"After=1\n";
	std::string Result = SetKey(Before, TEXT("S"), TEXT("Block"), TEXT("new"));
	Result = SetKey(Result, TEXT("S"), TEXT("Long"), TEXT("c"));
	EXPECT_EQ(Result, After);
}

TEST_F(FConfigFileEditorTest, ValuesThatNeedQuotesReadBackUnchanged)
{
	const TCHAR* const Values[] = {TEXT(" padded "), TEXT("\"starts"), TEXT("ends\\"), TEXT("http://example.com"), TEXT("a{b"),
		TEXT("two\nlines\r\n"), TEXT("say \"hi\" // later"), TEXT("{balanced}"), TEXT("tab\t"), TEXT("(Name=\"x\")"), TEXT("")};
	for (const TCHAR* Value : Values)
	{
		const std::string Text = SetKey("[S]\n", TEXT("S"), TEXT("K"), Value);
		EXPECT_EQ(ReadBack(Text, TEXT("S"), TEXT("K")), ToUtf8(Value)) << Text;
	}
	EXPECT_EQ(ToUtf8(Editor::QuoteValueIfNeeded(TEXT("plain value"))), "plain value");
	EXPECT_EQ(ToUtf8(Editor::QuoteValueIfNeeded(TEXT("(Name=\"x\",Size=2)"))), "(Name=\"x\",Size=2)");
	EXPECT_EQ(ToUtf8(Editor::QuoteValueIfNeeded(TEXT(" x"))), "\" x\"");
	EXPECT_EQ(ToUtf8(Editor::QuoteValueIfNeeded(TEXT("a\\b\n"))), "\"a\\\\b\\n\"");
	EXPECT_EQ(ToUtf8(Editor::QuoteValueIfNeeded(TEXT("x}"))), "\"x}\"");
}

TEST_F(FConfigFileEditorTest, EncodingAndUntouchedBytesArePreserved)
{
	// A BOM stays, and bytes that are not valid UTF-8 in other lines are copied, not repaired.
	const std::string Bom = "\xEF\xBB\xBF[S]\nName=\xC3\xA9p\xC3\xA9\xFF\nK=old\n";
	EXPECT_EQ(SetKey(Bom, TEXT("S"), TEXT("K"), TEXT("\u5263")), "\xEF\xBB\xBF[S]\nName=\xC3\xA9p\xC3\xA9\xFF\nK=\xE5\x89\xA3\n");

	const std::string Utf16(
		"\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0o\0l\0d\0\r\0\n\0", 24);
	const std::string Expected(
		"\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0n\0e\0w\0\r\0\n\0", 24);
	EXPECT_EQ(SetKey(Utf16, TEXT("S"), TEXT("K"), TEXT("new")), Expected);
}

TEST_F(FConfigFileEditorTest, ReplaceSectionMergesCopiesAtTheFirstOne)
{
	const std::string Before =
		"; Header comment\r\n"
		"Stray=before any section\r\n"
		"\r\n"
		"[Target]\r\n"
		"Old=1\r\n"
		"; old comment\r\n"
		"+Old=2\r\n"
		"\r\n"
		"[Other]\r\n"
		"Y=2\r\n"
		"\r\n"
		"[target]\r\n"
		"Old=3\r\n"
		"\r\n"
		"; About Last\r\n"
		"[Last]\r\n"
		"Z=3\r\n";
	const std::string After =
		"; Header comment\r\n"
		"Stray=before any section\r\n"
		"\r\n"
		"[Target]\r\n"
		"Value=1\r\n"
		"!List=ClearArray\r\n"
		"+List=a\r\n"
		"\r\n"
		"[Other]\r\n"
		"Y=2\r\n"
		"\r\n"
		"; About Last\r\n"
		"[Last]\r\n"
		"Z=3\r\n";
	EXPECT_EQ(ReplaceSection(Before, TEXT("Target"), {TEXT("Value=1"), TEXT("!List=ClearArray"), TEXT("+List=a")}), After);
	EXPECT_EQ(ReplaceSection("[A]\nX=1\n", TEXT("B"), {TEXT("Y=2")}), "[A]\nX=1\n\n[B]\nY=2\n");
	EXPECT_EQ(ReplaceSection("[A]\nX=1\n[B]\nY=2\n", TEXT("A"), {}), "[A]\n[B]\nY=2\n");
}

TEST_F(FConfigFileEditorTest, RejectedEditsLeaveTheFileAlone)
{
	const std::string Before = "[S]\nK=1\n";
	Folder.WriteFile(TEXT("Config/DefaultEngine.ini"), Before);
	const TCHAR* const BadKeys[] = {TEXT(""), TEXT("A=B"), TEXT("+Array"), TEXT(" Spaced"), TEXT("Two\nLines"), TEXT("[Header]")};
	for (const TCHAR* Key : BadKeys)
	{
		FString Error;
		EXPECT_FALSE(Editor::SetKey(File(), TEXT("S"), Key, TEXT("V"), Error));
		EXPECT_FALSE(Error.IsEmpty());
	}
	FString Error;
	EXPECT_FALSE(Editor::SetKey(File(), TEXT(""), TEXT("K"), TEXT("V"), Error));
	EXPECT_FALSE(Editor::SetKey(File(), TEXT("A//B"), TEXT("K"), TEXT("V"), Error));
	EXPECT_FALSE(Editor::SetKey(File(), TEXT("S"), TEXT("Key{"), TEXT("V"), Error));
	// Lines that would break out of the section: a second line, a header, a line that joins the next.
	for (const TCHAR* Line : {TEXT("K=1\nInjected=2"), TEXT("[Other]"), TEXT("K=a \\"), TEXT("K={open")})
	{
		EXPECT_FALSE(Editor::ReplaceSection(File(), TEXT("S"), {TEXT("A=1"), Line}, Error)) << ToUtf8(Line);
	}
	EXPECT_FALSE(Editor::SetKey(Folder.Path(TEXT("Config")), TEXT("S"), TEXT("K"), TEXT("V"), Error));
	EXPECT_EQ(Folder.ReadFile(TEXT("Config/DefaultEngine.ini")), Before);
}

TEST_F(FConfigFileEditorTest, FailedWritesLeaveTheTargetByteIdentical)
{
	const std::string Before = "[S]\r\nK=1\r\n";
	Folder.WriteFile(TEXT("Config/DefaultEngine.ini"), Before);
	IPlatformFile& PlatformFile = FPlatformFileManager::Get().GetPlatformFile();
	ASSERT_TRUE(PlatformFile.SetReadOnly(*File(), true));
	FString Error;
	EXPECT_FALSE(Editor::SetKey(File(), TEXT("S"), TEXT("K"), TEXT("2"), Error));
	EXPECT_NE(ToUtf8(Error).find("read-only"), std::string::npos) << ToUtf8(Error);
	EXPECT_EQ(Folder.ReadFile(TEXT("Config/DefaultEngine.ini")), Before);
	ASSERT_TRUE(PlatformFile.SetReadOnly(*File(), false));

	// A read-only folder refuses the temporary file, so nothing changes either.
	ASSERT_EQ(::chmod(UE::Host::StringToUtf8(Folder.Path(TEXT("Config"))).c_str(), 0555), 0);
	Error.Reset();
	EXPECT_FALSE(Editor::ReplaceSection(File(), TEXT("S"), {TEXT("K=3")}, Error));
	EXPECT_FALSE(Error.IsEmpty());
	EXPECT_EQ(Folder.ReadFile(TEXT("Config/DefaultEngine.ini")), Before);
	ASSERT_EQ(::chmod(UE::Host::StringToUtf8(Folder.Path(TEXT("Config"))).c_str(), 0755), 0);

	int32 Entries = 0;
	for (const auto& Entry : std::filesystem::directory_iterator(UE::Host::StringToUtf8(Folder.Path(TEXT("Config")))))
	{
		(void)Entry;
		++Entries;
	}
	EXPECT_EQ(Entries, 1);
}

TEST_F(FConfigFileEditorTest, WritesThroughASymbolicLinkAndKeepsPermissions)
{
	Folder.WriteFile(TEXT("Real/DefaultGame.ini"), "[S]\nK=1\n");
	const std::string RealPath = UE::Host::StringToUtf8(Folder.Path(TEXT("Real/DefaultGame.ini")));
	ASSERT_EQ(::chmod(RealPath.c_str(), 0640), 0);
	std::filesystem::create_directories(UE::Host::StringToUtf8(Folder.Path(TEXT("Config"))));
	std::filesystem::create_symlink(RealPath, UE::Host::StringToUtf8(Folder.Path(TEXT("Config/DefaultGame.ini"))));
	FString Error;
	ASSERT_TRUE(Editor::SetKey(Folder.Path(TEXT("Config/DefaultGame.ini")), TEXT("S"), TEXT("K"), TEXT("2"), Error)) << ToUtf8(Error);
	EXPECT_TRUE(std::filesystem::is_symlink(UE::Host::StringToUtf8(Folder.Path(TEXT("Config/DefaultGame.ini")))));
	EXPECT_EQ(Folder.ReadFile(TEXT("Real/DefaultGame.ini")), "[S]\nK=2\n");
	struct stat Info;
	ASSERT_EQ(::stat(RealPath.c_str(), &Info), 0);
	EXPECT_EQ(Info.st_mode & 07777, 0640u);
}

TEST_F(FConfigFileEditorTest, EditsChangeOnlyTheEffectiveValuesTheyWereAskedTo)
{
	// Random files of headers, entries, comments and joined lines: after the edit the section reads
	// back as written and every other effective value is what it was.
	const char* const Pieces[] = {"[A]", "[B]", "[a]", "  [A]", "K=1", "k = 2", "J=3", "; K=4", "// K=5", "", "   ", "K={x", "y}",
		"J=p \\", "q", "Other", "+K=6", "K=\"7 // 8\""};
	std::mt19937 Random(777);
	for (int32 Round = 0; Round < 150; ++Round)
	{
		std::string Before;
		const char* const Break = Random() % 2 ? "\r\n" : "\n";
		const int32 Count = static_cast<int32>(Random() % 14);
		for (int32 Index = 0; Index < Count; ++Index)
		{
			const std::string Piece = Pieces[Random() % (sizeof(Pieces) / sizeof(Pieces[0]))];
			// Keep braces and continuations closed so that every entry ends where the file says.
			Before += Piece == "K={x" ? Piece + Break + "y}" : Piece == "J=p \\" ? Piece + Break + "q" : Piece;
			if (Index + 1 < Count || Random() % 2)
			{
				Before += Break;
			}
		}
		const std::string After = SetKey(Before, TEXT("A"), TEXT("K"), TEXT("new // value"));
		ASSERT_EQ(ReadBack(After, TEXT("A"), TEXT("K")), "new // value") << Before;
		EXPECT_EQ(ReadBack(After, TEXT("A"), TEXT("J")), ReadBack(Before, TEXT("A"), TEXT("J"))) << Before;
		EXPECT_EQ(ReadBack(After, TEXT("B"), TEXT("K")), ReadBack(Before, TEXT("B"), TEXT("K"))) << Before;
		EXPECT_EQ(ReadBack(After, TEXT("B"), TEXT("J")), ReadBack(Before, TEXT("B"), TEXT("J"))) << Before;
		EXPECT_TRUE(After.size() >= 2 && (After.back() == '\n')) << After;

		const std::string Replaced = ReplaceSection(Before, TEXT("a"), {TEXT("K=r"), TEXT("+L=x")});
		EXPECT_EQ(ReadBack(Replaced, TEXT("A"), TEXT("K")), "r") << Before;
		EXPECT_EQ(ReadBack(Replaced, TEXT("A"), TEXT("J")), "<missing>") << Before;
		EXPECT_EQ(ReadBack(Replaced, TEXT("B"), TEXT("K")), ReadBack(Before, TEXT("B"), TEXT("K"))) << Before;
		EXPECT_EQ(ReadBack(Replaced, TEXT("B"), TEXT("J")), ReadBack(Before, TEXT("B"), TEXT("J"))) << Before;
	}
}
