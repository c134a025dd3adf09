// Every settings line of the bundled sample configuration is a value its property reads.
#include "AndroidSDKSettings.h"
#include "Engine/RendererSettings.h"
#include "GameFramework/InputSettings.h"
#include "GameMapsSettings.h"
#include "GeneralProjectSettings.h"
#include "CoreGlobals.h"
#include "OrvexSettings.h"
#include "Settings/LevelEditorPlaySettings.h"
#include "SettingsTestSupport.h"
#include "Templates/Casts.h"
#include "UObject/Package.h"
#include "UObject/UnrealType.h"

#include <fstream>

namespace
{
	struct FSampleLine
	{
		FString File;
		FString Section;
		FString Key;
		FString Value;
	};

	// The "Key=Value" lines of each section, with the array operator and the surrounding quotes
	// taken off as the config cache does. Enough for these files, which hold no continuations.
	TArray<FSampleLine> ReadSampleLines(const std::string& RelativePath)
	{
		TArray<FSampleLine> Lines;
		std::ifstream Stream(std::string(ORVEX_SAMPLES_DIR) + "/" + RelativePath);
		EXPECT_TRUE(Stream.good()) << RelativePath;
		std::string Raw;
		FString Section;
		while (std::getline(Stream, Raw))
		{
			FString Line = UE::Host::Utf8ToString(Raw).TrimStartAndEnd();
			if (Line.IsEmpty() || Line[0] == ';')
			{
				continue;
			}
			if (Line[0] == '[')
			{
				Section = Line.Mid(1, Line.Len() - 2);
				continue;
			}
			if (Line[0] == '+' || Line[0] == '-' || Line[0] == '.' || Line[0] == '!')
			{
				if (Line[0] == '!')
				{
					continue;
				}
				Line.RightChopInline(1);
			}
			int32 Equals = INDEX_NONE;
			if (!Line.FindChar(TEXT('='), Equals))
			{
				continue;
			}
			FString Value = Line.RightChop(Equals + 1);
			if (Value.Len() >= 2 && Value[0] == '"' && Value[Value.Len() - 1] == '"')
			{
				Value = Value.Mid(1, Value.Len() - 2);
			}
			Lines.Add(FSampleLine{UE::Host::Utf8ToString(RelativePath), Section, Line.Left(Equals), Value});
		}
		return Lines;
	}

	// The property a config key names: its console variable or, failing that, its own name.
	FProperty* FindConfigProperty(const UClass* Class, const FString& Key, int32& OutPortFlags)
	{
		OutPortFlags = PPF_None;
		for (FProperty* Property = Class->PropertyLink; Property; Property = Property->PropertyLinkNext)
		{
			if (Property->GetMetaData(TEXT("ConsoleVariable")) == Key)
			{
				OutPortFlags = PPF_ConsoleVariable;
				return Property;
			}
		}
		FProperty* Property = Class->FindPropertyByName(FName(Key));
		return Property && !Property->HasMetaData(TEXT("ConsoleVariable")) ? Property : nullptr;
	}
}

using SampleSettings = FSettingsTest;

TEST_F(SampleSettings, EverySettingsLineOfTheSamplesImports)
{
	const UClass* Classes[] = {URendererSettings::StaticClass(), UGameMapsSettings::StaticClass(), UGeneralProjectSettings::StaticClass(), UInputSettings::StaticClass(),
		ULevelEditorPlaySettings::StaticClass(), UAndroidSDKSettings::StaticClass(), UOrvexSettings::StaticClass()};
	const char* Files[] = {"Engine/Config/BaseEngine.ini", "Engine/Config/BaseGame.ini", "Engine/Config/BaseInput.ini", "Engine/Config/BaseEditor.ini",
		"Engine/Config/BaseEditorPerProjectUserSettings.ini", "Engine/Config/Linux/BaseLinuxEngine.ini", "Engine/Config/Linux/LinuxEngine.ini",
		"SampleProject/Config/DefaultEngine.ini", "SampleProject/Config/DefaultGame.ini", "SampleProject/Config/DefaultInput.ini",
		"SampleProject/Config/DefaultEditor.ini", "SampleProject/Config/Linux/LinuxEngine.ini", "SampleProject/Saved/Config/LinuxEditor/Engine.ini",
		"SampleProject/Saved/Config/LinuxEditor/EditorPerProjectUserSettings.ini"};

	int32 Checked = 0;
	for (const char* File : Files)
	{
		for (const FSampleLine& Line : ReadSampleLines(File))
		{
			for (const UClass* Class : Classes)
			{
				if (!Line.Section.Equals(Class->GetPathName(), ESearchCase::IgnoreCase))
				{
					continue;
				}
				const FString Where = Line.File + TEXT(" [") + Line.Section + TEXT("] ") + Line.Key + TEXT("=") + Line.Value;
				int32 PortFlags = PPF_None;
				FProperty* Property = FindConfigProperty(Class, Line.Key, PortFlags);
				ASSERT_NE(Property, nullptr) << "no property for " << U8(Where);
				EXPECT_TRUE(Property->HasAnyPropertyFlags(CPF_Config)) << U8(Where);

				UObject* Object = NewObject<UObject>(GetTransientPackage(), Class);
				ASSERT_NE(Object, nullptr) << U8(Where);
				void* Value = Property->ContainerPtrToValuePtr<void>(Object);
				FCapturedErrors Errors;
				const FArrayProperty* Array = CastField<FArrayProperty>(Property);
				const TCHAR* End = nullptr;
				if (Array)
				{
					// Each line is one element.
					FScriptArrayHelper Helper(Array, Value);
					Helper.EmptyAndAddValues(1);
					End = Array->Inner->ImportText_Direct(*Line.Value, Helper.GetRawPtr(0), Object, PortFlags, &Errors);
				}
				else
				{
					End = Property->ImportText_Direct(*Line.Value, Value, Object, PortFlags, &Errors);
				}
				ASSERT_NE(End, nullptr) << U8(Where) << (Errors.Lines.IsEmpty() ? "" : " : " + U8(Errors.Lines[0]));
				EXPECT_TRUE(FString(End).TrimStartAndEnd().IsEmpty()) << "text left over in " << U8(Where);
				EXPECT_TRUE(Errors.Lines.IsEmpty()) << U8(Where) << " : " << (Errors.Lines.IsEmpty() ? "" : U8(Errors.Lines[0]));
				++Checked;
			}
		}
	}
	// The samples hold well over a hundred such lines; reading none would prove nothing.
	EXPECT_GT(Checked, 100);
}
