// config.get_section: one section of one file, and the confinement of readable paths.
#include "ActionTestUtils.h"
#include "Dom/JsonValue.h"
#include "HostTestEnvironment.h"

#include <gtest/gtest.h>

namespace
{
	class GetSection : public testing::Test
	{
	protected:
		void SetUp() override
		{
			Folders.WriteEngine("Config/BaseEngine.ini", "[/Script/Engine.RendererSettings]\nr.RayTracing=False\n");
			Folders.WriteEngine("Config/BaseGame.ini", "[Game.Section]\nFromBase=1\n");
			Folders.WriteProject("Config/DefaultEngine.ini",
				"[/Script/Engine.RendererSettings]\n"
				"r.RayTracing=True\n"
				"; r.Hidden=1\n"
				"no equals here\n"
				"+Paths=A\n"
				"+paths=B\n"
				"Quoted=\"a b\"\n"
				"  [Other]  \n"
				"Ignored=1\n"
				"[/Script/Engine.RendererSettings]\n"
				"Later=1\n");
			Folders.Write(Folders.Root() / "Outside" / "Credentials.ini", "[default]\naws_secret_access_key=abc\n");
		}

		FOrvexActionResult Get(const std::string& File, const std::string& Section)
		{
			return CallAction(TEXT("config"), TEXT("get_section"), "{\"file\":\"" + File + "\",\"section\":\"" + Section + "\"}");
		}

		FTempHostFolders Folders;
	};
}

TEST_F(GetSection, ReadsTheFirstOccurrenceOfTheSectionFromThePrefixedFile)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Outcome = Get("Engine", "/script/engine.renderersettings");
	ASSERT_TRUE(Outcome.bSuccess) << UE::Host::StringToUtf8(Outcome.ErrorMessage);
	EXPECT_EQ(FieldNames(Outcome.Result), (TArray<FString>{TEXT("file"), TEXT("file_path"), TEXT("section"), TEXT("entry_count"), TEXT("entries")}));
	EXPECT_EQ(UE::Host::StringToUtf8(Outcome.Result->GetStringField(TEXT("file"))), "DefaultEngine");
	EXPECT_TRUE(Outcome.Result->GetStringField(TEXT("file_path")).EndsWith(TEXT("/Project/Config/DefaultEngine.ini")));
	EXPECT_EQ(UE::Host::StringToUtf8(Outcome.Result->GetStringField(TEXT("section"))), "/script/engine.renderersettings");
	// "+paths" replaces "+Paths" in the object but both lines count; the indented header ends the section.
	EXPECT_EQ(ToJson(Outcome.Result->GetObjectField(TEXT("entries"))), R"({"r.RayTracing":"True","+paths":"B","Quoted":"\"a b\""})");
	EXPECT_EQ(Outcome.Result->GetNumberField(TEXT("entry_count")), 4.0);

	const FOrvexActionResult Base = Get("Game", "Game.Section");
	ASSERT_TRUE(Base.bSuccess);
	EXPECT_EQ(UE::Host::StringToUtf8(Base.Result->GetStringField(TEXT("file"))), "BaseGame");
}

TEST_F(GetSection, ErrorsNameTheFileAndTheSection)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Bracketed = Get("Engine", "[/Script/Engine.RendererSettings]");
	EXPECT_EQ(Bracketed.ErrorCode, -32603);
	EXPECT_EQ(UE::Host::StringToUtf8(Bracketed.ErrorMessage), "Section '[/Script/Engine.RendererSettings]' not found in 'DefaultEngine'");

	// The extension is taken off, as for the names get_config_files lists: the file is found.
	const FOrvexActionResult WithExtension = Get("DefaultEngine.ini", "X");
	EXPECT_EQ(WithExtension.ErrorCode, -32603);
	EXPECT_EQ(UE::Host::StringToUtf8(WithExtension.ErrorMessage), "Section 'X' not found in 'DefaultEngine'");

	const FOrvexActionResult Missing = Get("Nothing", "X");
	EXPECT_TRUE(Missing.ErrorMessage.StartsWith(TEXT("Config file not found: 'Nothing'")));
}

TEST_F(GetSection, RefusesFilesOutsideTheConfigFolders)
{
	const std::string Outside = (Folders.Root() / "Outside" / "Credentials.ini").string();
	std::filesystem::create_symlink(Folders.Root() / "Outside" / "Credentials.ini", Folders.ProjectDir() / "Config" / "Linked.ini");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const std::string EngineConfig = (Folders.EngineDir() / "Config").string();
	for (const std::string& File : {Outside, EngineConfig + "/../../Outside/Credentials.ini", (Folders.ProjectDir() / "Config" / "Linked.ini").string(),
		std::string("Default../../../Outside/Credentials"), std::string("Linked")})
	{
		const FOrvexActionResult Outcome = Get(File, "default");
		EXPECT_FALSE(Outcome.bSuccess) << File;
		EXPECT_EQ(Outcome.ErrorCode, -32602) << File;
		EXPECT_NE(Outcome.ErrorMessage.Find(TEXT("lies outside the config folders")), INDEX_NONE) << File;
		EXPECT_EQ(ToJson(Outcome.Result).find("abc"), std::string::npos);
	}
}

TEST_F(GetSection, NamesWithUnpairedSurrogatesAreAnsweredNotFatal)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Inside = Get("Default\\udc00Engine", "X");
	EXPECT_EQ(Inside.ErrorCode, -32603);
	EXPECT_TRUE(Inside.ErrorMessage.StartsWith(TEXT("Config file not found: 'Default\xDC00" "Engine'"))) << UE::Host::StringToUtf8(Inside.ErrorMessage);

	const std::string Outside = (Folders.Root() / "Outside").string();
	const FOrvexActionResult Elsewhere = Get(Outside + "/\\ud800.ini", "X");
	EXPECT_EQ(Elsewhere.ErrorCode, -32602);
	EXPECT_NE(Elsewhere.ErrorMessage.Find(TEXT("lies outside the config folders")), INDEX_NONE);
}

TEST_F(GetSection, PlatformFileInsideTheProjectConfigFolderIsReadableByPath)
{
	Folders.WriteProject("Config/Linux/LinuxEngine.ini", "[SystemSettings]\nr.Foo=1\n");
	Folders.WriteProject("Saved/Config/LinuxEditor/Engine.ini", "[Saved]\nA=1\n");
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());

	const FOrvexActionResult Platform = Get((Folders.ProjectDir() / "Config" / "Linux" / "LinuxEngine.ini").string(), "SystemSettings");
	ASSERT_TRUE(Platform.bSuccess) << UE::Host::StringToUtf8(Platform.ErrorMessage);
	EXPECT_EQ(ToJson(Platform.Result->GetObjectField(TEXT("entries"))), R"({"r.Foo":"1"})");

	const FOrvexActionResult Saved = Get((Folders.ProjectDir() / "Saved" / "Config" / "LinuxEditor" / "Engine.ini").string(), "Saved");
	EXPECT_TRUE(Saved.bSuccess);
}

TEST_F(GetSection, EveryNameGetConfigFilesListsIsReadable)
{
	FScopedHost Host(Folders.MakeEnvironment());
	ASSERT_TRUE(Host.IsRunning());
	const FOrvexActionResult Files = CallAction(TEXT("config"), TEXT("get_config_files"));
	ASSERT_TRUE(Files.bSuccess);
	for (const TSharedPtr<FJsonValue>& File : Files.Result->GetArrayField(TEXT("files")))
	{
		const std::string Name = UE::Host::StringToUtf8(File->AsObject()->GetStringField(TEXT("name")));
		const std::string Section = Name.find("Engine") != std::string::npos ? "/Script/Engine.RendererSettings" : "Game.Section";
		const FOrvexActionResult Read = Get(Name, Section);
		ASSERT_TRUE(Read.bSuccess) << Name << ": " << UE::Host::StringToUtf8(Read.ErrorMessage);
		EXPECT_EQ(Read.Result->GetStringField(TEXT("file_path")), File->AsObject()->GetStringField(TEXT("path"))) << Name;
	}
	// Any letter case of the extension; a path keeps its extension.
	ASSERT_TRUE(Get("DefaultEngine.INI", "/Script/Engine.RendererSettings").bSuccess);
	EXPECT_EQ(UE::Host::StringToUtf8(Get("DefaultEngine.ini", "/Script/Engine.RendererSettings").Result->GetStringField(TEXT("file"))), "DefaultEngine");
	EXPECT_TRUE(Get("Config/DefaultEngine.ini", "/Script/Engine.RendererSettings").bSuccess);
}
