// A long-running host reads header classes the same way whatever it read before: many settings
// classes, each with its own structs and enums, looked up in several orders in one process and
// once each in fresh processes, must describe alike.
#include "ActionTestUtils.h"
#include "HostTestEnvironment.h"
#include "ProgramRunner.h"
#include "SettingsDescription.h"
#include "UObject/Class.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>
#include <string>
#include <vector>

namespace
{
	constexpr int ModuleCount = 12;
	constexpr int ClassesPerModule = 25;

	std::string ClassName(int Module, int Index)
	{
		return "Module" + std::to_string(Module) + "Setting" + std::to_string(Index) + "Settings";
	}

	// An engine tree shaped like a real one: runtime and editor modules in nested folders, a plugin,
	// each class header including a types header of its module, and a shared types header that is
	// found only by looking through the tree.
	void WriteEngineTree(const FTempHostFolders& Folders)
	{
		Folders.WriteEngine("Config/BaseEngine.ini", "[Core.System]\nPaths=../../../Engine/Content\n");
		Folders.WriteEngine("Source/Runtime/SharedTypes/SharedTypes.Build.cs", "public class SharedTypes : ModuleRules { }\n");
		Folders.WriteEngine("Source/Runtime/SharedTypes/Public/Types/CommonSettingsTypes.h", R"hdr(#pragma once
#include "CoreMinimal.h"
#include "CommonSettingsTypes.generated.h"

UENUM()
namespace ECommonTier
{
	enum Type : int
	{
		Low,
		Medium,
		High,
		Num UMETA(Hidden)
	};
}

USTRUCT()
struct FCommonBudget
{
	GENERATED_BODY()

	UPROPERTY(EditAnywhere, Category = Budget)
	FName Group = NAME_None;

	UPROPERTY(EditAnywhere, Category = Budget)
	int32 MegaBytes = 16;
};
)hdr");
		for (int Module = 0; Module < ModuleCount; ++Module)
		{
			const std::string ModuleName = "Module" + std::to_string(Module);
			const std::string Root = Module % 3 == 2 ? "Plugins/Runtime/Pack" + std::to_string(Module) + "/Source/" + ModuleName
				: (Module % 3 == 1 ? "Source/Editor/" : "Source/Runtime/") + ModuleName;
			Folders.WriteEngine(Root + "/" + ModuleName + ".Build.cs", "public class " + ModuleName + " : ModuleRules { }\n");
			std::string Types = "#pragma once\n#include \"CoreMinimal.h\"\n#include \"" + ModuleName + "Types.generated.h\"\n";
			for (int Index = 0; Index < ClassesPerModule; ++Index)
			{
				const std::string Suffix = std::to_string(Module) + "_" + std::to_string(Index);
				Types += "\nUENUM()\nenum class EMode" + Suffix + " : uint8\n{\n\tOff,\n\tOn,\n\tAuto UMETA(DisplayName = \"Automatic\"),\n};\n";
				Types += "\nUSTRUCT(BlueprintType)\nstruct FEntry" + Suffix + "\n{\n\tGENERATED_BODY()\n\n"
					"\tUPROPERTY(EditAnywhere, Category = Entry)\n\tFString Label;\n\n"
					"\tUPROPERTY(EditAnywhere, Category = Entry)\n\tEMode" + Suffix + " Mode = EMode" + Suffix + "::Auto;\n\n"
					"\tUPROPERTY(EditAnywhere, Category = Entry)\n\tTArray<FCommonBudget> Budgets;\n};\n";
			}
			Folders.WriteEngine(Root + "/Public/" + ModuleName + "Types.h", Types);
			for (int Index = 0; Index < ClassesPerModule; ++Index)
			{
				const std::string Suffix = std::to_string(Module) + "_" + std::to_string(Index);
				const std::string Name = ClassName(Module, Index);
				const std::string Header = "// Copyright Epic Games, Inc. All Rights Reserved.\n\n#pragma once\n\n"
					"#include \"CoreMinimal.h\"\n#include \"Engine/DeveloperSettings.h\"\n#include \"" + ModuleName + "Types.h\"\n"
					"#include \"Types/CommonSettingsTypes.h\"\n#include \"" + Name + ".generated.h\"\n\n"
					"UCLASS(config=Engine, defaultconfig, meta=(DisplayName=\"Setting " + Suffix + "\"))\n"
					"class " + ModuleName + "_API U" + Name + " : public UDeveloperSettings\n{\n\tGENERATED_BODY()\n\npublic:\n"
					"\tUPROPERTY(config, EditAnywhere, Category = General)\n\tTArray<FEntry" + Suffix + "> Entries;\n\n"
					"\tUPROPERTY(config, EditAnywhere, Category = General)\n\tTArray<FCommonBudget> Budgets;\n\n"
					"\tUPROPERTY(config, EditAnywhere, Category = General)\n\tEMode" + Suffix + " Mode = EMode" + Suffix + "::On;\n\n"
					"\tUPROPERTY(config, EditAnywhere, Category = General)\n\tint32 TierLimits[ECommonTier::Num];\n\n"
					"\tUPROPERTY(config, EditAnywhere, Category = General)\n\tFEntry" + Suffix + " Fallback;\n};\n";
				Folders.WriteEngine(Root + "/Public/Settings/" + Name + ".h", Header);
			}
		}
	}

	std::vector<std::string> AllClassNames()
	{
		std::vector<std::string> Names;
		for (int Module = 0; Module < ModuleCount; ++Module)
		{
			for (int Index = 0; Index < ClassesPerModule; ++Index)
			{
				Names.push_back(ClassName(Module, Index));
			}
		}
		return Names;
	}

	// Each class's description, looked up in the given order in one host.
	std::map<std::string, std::string> DescribeInOrder(const FTempHostFolders& Folders, const std::vector<std::string>& Order)
	{
		std::map<std::string, std::string> Descriptions;
		FScopedHost Host(Folders.MakeEnvironment());
		EXPECT_TRUE(Host.IsRunning());
		for (const std::string& Name : Order)
		{
			UClass* Class = FindSettingsClass(UE::Host::Utf8ToString(Name));
			Descriptions[Name] = Class ? ToJson(DescribeSettingsClass(Class)) : std::string("not found");
		}
		return Descriptions;
	}
}

TEST(HeaderClassHistory, ManyClassesReadAlikeInAnyOrderAndInFreshProcesses)
{
	FTempHostFolders Folders;
	WriteEngineTree(Folders);
	Folders.WriteProject("Project.uproject", "{}\n");
	Folders.WriteProject("Config/DefaultEngine.ini", "[/Script/Module0.Module0Setting0Settings]\n+Entries=(Label=\"First\",Mode=Off)\n");

	std::vector<std::string> Order = AllClassNames();
	const std::map<std::string, std::string> Forward = DescribeInOrder(Folders, Order);
	// Every class has each of its five members, however many structs were read before it.
	for (const auto& [Name, Description] : Forward)
	{
		for (const char* Member : {"\"name\":\"Entries\"", "\"name\":\"Budgets\"", "\"name\":\"Mode\"", "\"name\":\"TierLimits\"", "\"name\":\"Fallback\""})
		{
			EXPECT_NE(Description.find(Member), std::string::npos) << Name << " lacks " << Member << ": " << Description;
		}
		EXPECT_NE(Description.find("\"unread_properties\":[]"), std::string::npos) << Description;
	}
	EXPECT_NE(Forward.at(ClassName(0, 0)).find(R"x("value":"((Label=\"First\",Mode=Off))")x"), std::string::npos) << Forward.at(ClassName(0, 0));

	std::reverse(Order.begin(), Order.end());
	EXPECT_EQ(DescribeInOrder(Folders, Order), Forward);
	std::shuffle(Order.begin(), Order.end(), std::mt19937(20261209));
	EXPECT_EQ(DescribeInOrder(Folders, Order), Forward);

	// A fresh process that reads only the one class says the same.
	for (const std::string& Name : {ClassName(0, 0), ClassName(ModuleCount - 1, ClassesPerModule - 1), ClassName(5, 12)})
	{
		const FProgramRun Run = RunOrvex({"--engine", Folders.EngineDir().string(), "--project", Folders.ProjectDir().string(),
			"--user-dir", Folders.UserDir().string(), "--compact", "settings", Name});
		ASSERT_EQ(Run.ExitCode, 0) << Run.Err;
		EXPECT_EQ(Run.Out, Forward.at(Name) + "\n") << Name;
	}
}
