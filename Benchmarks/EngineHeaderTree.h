// A generated engine source tree shaped like a shipped one: about 32,000 headers in some 1,000
// modules (Source/Runtime, Source/Editor, Source/Developer and Plugins/<Group>/<Plugin>/Source),
// each module with its .Build.cs, Public/Classes/Private folders nested a level or two, and a .cpp
// beside most classes; a project with its own module and plugin. Most headers declare no
// reflected type, and most reflected classes are not config. About 2,500 config classes: most in
// headers named after them, some beside another class or in a header named otherwise, deriving
// from bases and using structs and enums of "<Module>Types.h" headers that only an include chain
// or a scan finds, with static arrays sized by plain enums of headers nobody includes, and
// constructors in the module's sources, as the engine's do.
//
// The same shape comes out for the same seed, so two programs can be compared on it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

namespace OrvexBenchmark
{
	struct FHeaderTreeStats
	{
		int Modules = 0;
		int Headers = 0;
		int ReflectedHeaders = 0;
		int Sources = 0;
		int ConfigClasses = 0;
		size_t Bytes = 0;
		// Object names of config classes to ask for alone: one in a header named after it, one
		// beside another class, one in a header named otherwise whose parent only a scan finds.
		std::string NamedClass;
		std::string NeighbourClass;
		std::string ScannedClass;
		// An integer member of NamedClass.
		std::string NamedProperty;
	};

	struct FHeaderTreeShape
	{
		int Headers = 32000;
		int ConfigClasses = 2500;
		uint64_t Seed = 20;
	};

	namespace HeaderTree
	{
		class FRandom
		{
		public:
			explicit FRandom(uint64_t Seed) : State(Seed) {}

			// splitmix64: fast, and the same sequence on every machine.
			uint32_t Next()
			{
				State += 0x9E3779B97F4A7C15ull;
				uint64_t Mixed = State;
				Mixed = (Mixed ^ (Mixed >> 30)) * 0xBF58476D1CE4E5B9ull;
				Mixed = (Mixed ^ (Mixed >> 27)) * 0x94D049BB133111EBull;
				return static_cast<uint32_t>((Mixed ^ (Mixed >> 31)) >> 32);
			}
			int Below(int Count) { return Count <= 0 ? 0 : static_cast<int>(Next() % static_cast<uint32_t>(Count)); }
			bool Chance(int Percent) { return Below(100) < Percent; }
			template<typename T, size_t N>
			const T& Pick(const T (&Items)[N]) { return Items[Below(static_cast<int>(N))]; }
			template<typename T>
			const T& Pick(const std::vector<T>& Items) { return Items[Below(static_cast<int>(Items.size()))]; }

		private:
			uint64_t State;
		};

		inline const char* const Nouns[] = {"Anim", "Audio", "Render", "Mesh", "Physics", "Net", "Level", "Asset", "Material", "Texture",
			"Landscape", "Foliage", "Cloth", "Chaos", "Particle", "Sequence", "Movie", "Media", "Input", "Camera", "Light", "Shadow",
			"Water", "Terrain", "Path", "Nav", "Behavior", "Gameplay", "Ability", "Online", "Session", "Replay", "Streaming", "Cook",
			"Package", "Shader", "Compute", "Volume", "Decal", "Sound", "Dialogue", "Widget", "Font", "Curve", "Blend", "Pose", "Rig",
			"Control", "Skeletal", "Instanced", "Geometry", "Spline", "Graph", "Node", "Pin", "Blueprint", "Script", "Data", "Table",
			"Registry", "Build", "Trace", "Profile", "Memory", "Cache", "Virtual", "World", "Partition", "Cell", "Grid", "Zone",
			"Server", "Client", "Device", "Platform", "Mobile", "Tool", "Brush", "Import", "Export", "Color", "Grading", "Bloom",
			"Exposure", "Hair", "Groom", "Fluid", "Field", "Collision", "Trigger", "Vehicle", "Character", "Motion", "Warp", "Retarget"};
		inline const char* const ModuleSuffixes[] = {"Core", "Runtime", "Editor", "Utilities", "Graph", "Tools", "Framework", "Nodes",
			"Subsystem", "Common", "Widgets", "Toolkit", "Import", "Scripting", "Test", "Insights", ""};
		inline const char* const TypeKinds[] = {"Component", "Actor", "Asset", "Subsystem", "Manager", "Library", "Node", "Helper",
			"Utils", "Factory", "Proxy", "Data", "Instance", "Handle", "Builder", "Cache", "Queue", "Renderer", "View", "Command",
			"Style", "Customization", "Details", "Section", "Track", "Channel", "Provider", "Source", "Sink", "Graph", "Element"};
		inline const char* const SettingsKinds[] = {"Settings", "Settings", "Settings", "EditorSettings", "ProjectSettings",
			"DeveloperSettings", "UserSettings", "RuntimeSettings", "Options", "Config"};
		inline const char* const MemberHeads[] = {"Max", "Min", "Default", "Target", "Preferred", "Num", "Initial", "Global", "Local"};
		inline const char* const MemberTails[] = {"Count", "Size", "Distance", "Budget", "Scale", "Rate", "Limit", "Threshold",
			"Interval", "Timeout", "Priority", "Quality", "Radius", "Weight", "Bias", "Resolution"};
		inline const char* const PluginGroups[] = {"Runtime", "Editor", "Developer", "Experimental", "Animation", "FX", "Media",
			"Online", "Enterprise", "Compositing", "MovieScene", "AI", "Importers", "VirtualProduction"};
		// Bases no header of the tree declares (generated code, third-party headers).
		inline const char* const MissingBases[] = {"UInterchangeTranslatorBase", "UK2NodeLegacyBase", "UMovieSceneLegacyTrack",
			"UToolMenuEntryScriptBase", "UPlatformSettingsLegacyBase", "UScriptableToolBase"};
		// Structs the engine declares in ways a header reader never sees (templates, #if CPP blocks).
		inline const char* const UnreadableStructs[] = {"FIntPoint", "FVector2D", "FFloatInterval", "FFrameRate", "FPerPlatformInt"};

		enum class EGroup
		{
			Runtime,
			Editor,
			Developer,
			Plugin,
			Project,
		};

		struct FModule
		{
			std::string Name;
			std::filesystem::path Folder;
			EGroup Group = EGroup::Runtime;
			int Headers = 0;
			bool bClassesFolder = false;
			int ConfigQuota = 0;
			// What the module's shared headers declare, for its classes to use.
			std::vector<std::string> Structs;
			std::vector<std::string> Enums;
			std::vector<std::string> NamespacedEnums;
			std::string BaseSettings;
			std::string SlotEnum;
			std::string Api;
		};

		// A config class as the rest of the tree (its .cpp, the config files) needs it.
		struct FConfigClass
		{
			std::string Name;
			std::string ModuleName;
			std::string Stem;
			std::string ConfigName;
			bool bDefaultConfig = false;
			bool bUClassBody = false;
			int ConstructorPlace = 0;
			std::vector<std::pair<std::string, std::string>> IntMembers;
			std::vector<std::string> BitMembers;
		};

		class FWriter
		{
		public:
			FWriter(const FHeaderTreeShape& InShape, FHeaderTreeStats& InStats) : Shape(InShape), Stats(InStats), Random(InShape.Seed) {}

			void Write(const std::filesystem::path& EngineDir, const std::filesystem::path& ProjectDir)
			{
				UsedNames.insert(std::begin(MissingBases), std::end(MissingBases));
				std::vector<FModule> Modules = PlanModules(EngineDir, ProjectDir);
				WriteEngineCore(EngineDir);
				for (FModule& Module : Modules)
				{
					WriteModule(Module);
				}
				WriteConfig(EngineDir, ProjectDir);
				WriteText(ProjectDir / "Project.uproject", "{\n\t\"FileVersion\": 3,\n\t\"EngineAssociation\": \"5.4\"\n}\n");
				Stats.Modules = static_cast<int>(Modules.size());
			}

		private:
			const FHeaderTreeShape& Shape;
			FHeaderTreeStats& Stats;
			FRandom Random;
			std::set<std::string> UsedNames;
			std::vector<std::string> EngineStructs;
			std::vector<std::string> EngineEnums;
			std::vector<FConfigClass> EngineConfigs;
			std::vector<FConfigClass> GameConfigs;

			void WriteText(const std::filesystem::path& Path, const std::string& Text)
			{
				std::filesystem::create_directories(Path.parent_path());
				if (std::FILE* File = std::fopen(Path.string().c_str(), "wb"))
				{
					std::fwrite(Text.data(), 1, Text.size(), File);
					std::fclose(File);
				}
				Stats.Bytes += Text.size();
			}

			void WriteHeader(const std::filesystem::path& Path, const std::string& Text, bool bReflected)
			{
				WriteText(Path, Text);
				++Stats.Headers;
				Stats.ReflectedHeaders += bReflected ? 1 : 0;
			}

			void WriteSource(const std::filesystem::path& Path, const std::string& Text)
			{
				WriteText(Path, Text);
				++Stats.Sources;
			}

			// A name no other type or module of the tree has.
			std::string Unique(std::string Name)
			{
				if (UsedNames.insert(Name).second)
				{
					return Name;
				}
				for (int Suffix = 2;; ++Suffix)
				{
					const std::string Candidate = Name + std::to_string(Suffix);
					if (UsedNames.insert(Candidate).second)
					{
						return Candidate;
					}
				}
			}

			static std::string Upper(const std::string& Text)
			{
				std::string Result = Text;
				for (char& C : Result)
				{
					C = static_cast<char>(std::toupper(static_cast<unsigned char>(C)));
				}
				return Result;
			}

			std::vector<FModule> PlanModules(const std::filesystem::path& EngineDir, const std::filesystem::path& ProjectDir)
			{
				// The engine's big modules, then many small ones; sizes as in a shipped tree.
				struct FFixed
				{
					const char* Name;
					EGroup Group;
					int Weight;
				};
				static const FFixed Fixed[] = {{"Engine", EGroup::Runtime, 2400}, {"Core", EGroup::Runtime, 1300}, {"UnrealEd", EGroup::Editor, 1100},
					{"CoreUObject", EGroup::Runtime, 330}, {"Slate", EGroup::Runtime, 380}, {"Renderer", EGroup::Runtime, 420},
					{"RenderCore", EGroup::Runtime, 160}, {"MovieScene", EGroup::Runtime, 260}, {"Landscape", EGroup::Runtime, 150},
					{"UMG", EGroup::Runtime, 210}, {"BlueprintGraph", EGroup::Editor, 230}, {"Sequencer", EGroup::Editor, 250},
					{"DeveloperSettings", EGroup::Runtime, 6}, {"EngineSettings", EGroup::Runtime, 8}};
				std::vector<FModule> Modules;
				int FixedHeaders = 0;
				for (const FFixed& Entry : Fixed)
				{
					FModule Module;
					Module.Name = Unique(Entry.Name);
					Module.Group = Entry.Group;
					Module.Headers = Entry.Weight * Shape.Headers / 32000 + 2;
					FixedHeaders += Module.Headers;
					Modules.push_back(Module);
				}
				const EGroup Groups[] = {EGroup::Runtime, EGroup::Editor, EGroup::Developer, EGroup::Plugin, EGroup::Plugin, EGroup::Plugin};
				const int Remaining = Shape.Headers - FixedHeaders - 100;
				const int SmallCount = std::max(1, Remaining / 25);
				std::vector<int> Weights;
				int WeightSum = 0;
				for (int Index = 0; Index < SmallCount; ++Index)
				{
					// Most modules are small; a few hold hundreds of headers.
					const int Roll = Random.Below(1000);
					const int Weight = Roll < 600 ? 3 + Random.Below(12) : Roll < 900 ? 15 + Random.Below(40) : 60 + Random.Below(180);
					Weights.push_back(Weight);
					WeightSum += Weight;
				}
				int Given = 0;
				for (int Index = 0; Index < SmallCount; ++Index)
				{
					FModule Module;
					std::string Name = std::string(Random.Pick(Nouns)) + Random.Pick(Nouns) + Random.Pick(ModuleSuffixes);
					Module.Name = Unique(Name);
					Module.Group = Random.Pick(Groups);
					Module.Headers = Index + 1 == SmallCount ? Remaining - Given : std::max(2, static_cast<int>(static_cast<int64_t>(Weights[Index]) * Remaining / WeightSum));
					Given += Module.Headers;
					Modules.push_back(Module);
				}
				FModule Game;
				Game.Name = Unique("ShooterGame");
				Game.Group = EGroup::Project;
				Game.Headers = 70;
				Modules.push_back(Game);
				FModule GamePlugin;
				GamePlugin.Name = Unique("ShooterTools");
				GamePlugin.Group = EGroup::Project;
				GamePlugin.Headers = 30;
				Modules.push_back(GamePlugin);

				int TotalHeaders = 0;
				for (const FModule& Module : Modules)
				{
					TotalHeaders += Module.Headers;
				}
				int64_t Carry = 0;
				std::string Plugin;
				int PluginModulesLeft = 0;
				for (FModule& Module : Modules)
				{
					// Settings classes in proportion to size; the tiny modules have none.
					Carry += static_cast<int64_t>(Module.Headers) * Shape.ConfigClasses;
					Module.ConfigQuota = static_cast<int>(Carry / TotalHeaders);
					Carry %= TotalHeaders;
					Module.bClassesFolder = Module.Name == "Engine" || Module.Name == "UnrealEd" || Module.Name == "EngineSettings"
						|| Module.Name == "BlueprintGraph" || (Module.Group != EGroup::Plugin && Module.Group != EGroup::Project && Random.Chance(20));
					Module.Api = Upper(Module.Name) + "_API";
					switch (Module.Group)
					{
					case EGroup::Runtime: Module.Folder = EngineDir / "Source" / "Runtime" / Module.Name; break;
					case EGroup::Editor: Module.Folder = EngineDir / "Source" / "Editor" / Module.Name; break;
					case EGroup::Developer: Module.Folder = EngineDir / "Source" / "Developer" / Module.Name; break;
					case EGroup::Plugin:
						// A plugin holds one to three modules; some plugins sit a folder deeper.
						if (PluginModulesLeft == 0)
						{
							PluginModulesLeft = 1 + Random.Below(3);
							const std::string Group = Random.Pick(PluginGroups);
							Plugin = Random.Chance(15) ? Group + "/" + Random.Pick(Nouns) + "/" + Module.Name + "Plugin" : Group + "/" + Module.Name + "Plugin";
							WriteText(EngineDir / "Plugins" / Plugin / (Module.Name + "Plugin.uplugin"), "{\n\t\"FileVersion\": 3,\n\t\"FriendlyName\": \"" + Module.Name + "\",\n\t\"Category\": \"" + Group + "\"\n}\n");
						}
						--PluginModulesLeft;
						Module.Folder = EngineDir / "Plugins" / Plugin / "Source" / Module.Name;
						break;
					case EGroup::Project:
						Module.Folder = Module.Name == "ShooterGame" ? ProjectDir / "Source" / Module.Name : ProjectDir / "Plugins" / Module.Name / "Source" / Module.Name;
						break;
					}
				}
				return Modules;
			}

			std::string Prologue(const std::vector<std::string>& Includes, const std::string& Stem) const
			{
				std::string Text = "// Copyright of this repository's authors.\n\n#pragma once\n\n#include \"CoreMinimal.h\"\n";
				for (const std::string& Include : Includes)
				{
					Text += "#include \"" + Include + "\"\n";
				}
				if (!Stem.empty())
				{
					Text += "#include \"" + Stem + ".generated.h\"\n";
				}
				return Text + "\n";
			}

			// Declarations that make a header as long as the engine's: documented functions and
			// plain members, no reflection.
			void AppendBody(std::string& Text, const std::string& Owner, int Functions)
			{
				for (int Index = 0; Index < Functions; ++Index)
				{
					const std::string Noun = Random.Pick(Nouns);
					Text += "\t/**\n\t * Updates the " + Noun + " state of this " + Owner + " from the given context; safe to call on any thread\n"
						"\t * that holds the owner's lock. Returns false when nothing changed.\n\t */\n";
					Text += "\tbool Update" + Noun + std::to_string(Index) + "(const FName InName, int32 InIndex, TArrayView<const FString> InPaths)"
						+ (Random.Chance(30) ? std::string(" const") : std::string()) + ";\n\n";
				}
				Text += "private:\n\tTArray<FString> CachedPaths;\n\tTMap<FName, int32> IndexByName;\n\tmutable FCriticalSection Lock;\n";
			}

			void WritePlainHeader(const std::filesystem::path& Path, const FModule& Module, const std::string& Stem, const std::vector<std::string>& Includes)
			{
				std::string Text = Prologue(Includes, std::string());
				if (Random.Chance(35))
				{
					const std::string Enum = "E" + Stem + "Flags";
					Text += "enum class " + Enum + " : uint8\n{\n\tNone = 0,\n";
					for (int Index = 0; Index < 6; ++Index)
					{
						Text += "\t" + std::string(Random.Pick(Nouns)) + std::to_string(Index) + " = 1 << " + std::to_string(Index) + ",\n";
					}
					Text += "};\nENUM_CLASS_FLAGS(" + Enum + ")\n\n";
				}
				Text += "namespace UE::" + Module.Name + "\n{\n\t/** Helpers of " + Stem + " kept out of the class for faster builds. */\n"
					"\tint32 Compute" + Stem + "Hash(const FString& InText);\n}\n\n";
				Text += "/**\n * " + Stem + ": part of the " + Module.Name + " module's implementation. It is not reflected; the\n"
					" * module's classes hold it by value and drive it from the game thread.\n */\n";
				Text += "class " + Module.Api + " F" + Stem + "\n{\npublic:\n\tF" + Stem + "();\n\tvirtual ~F" + Stem + "();\n\n";
				AppendBody(Text, "helper", 12 + Random.Below(36));
				Text += "};\n";
				WriteHeader(Path, Text, false);
			}

			// A member of a reflected class or struct that is not config.
			std::string PlainMember(const std::string& Category, int Index)
			{
				static const char* const Types[] = {"int32", "float", "bool", "FString", "FName", "TArray<FString>", "TObjectPtr<UObject>",
					"TSoftObjectPtr<UObject>", "FVector", "FLinearColor", "TMap<FName, float>", "FGuid", "uint8"};
				const std::string Name = std::string(Random.Pick(MemberHeads)) + Random.Pick(Nouns) + Random.Pick(MemberTails) + std::to_string(Index);
				return "\t/** " + Name + " of the owner, shown in the details panel. */\n\tUPROPERTY(EditAnywhere, BlueprintReadWrite, Category = \""
					+ Category + "\")\n\t" + Random.Pick(Types) + " " + Name + ";\n\n";
			}

			std::string StructDecl(const FModule& Module, const std::string& Name)
			{
				std::string Text = "/** One " + Name.substr(1) + " entry of the " + Module.Name + " module. */\nUSTRUCT(BlueprintType)\nstruct " + Module.Api + " " + Name + "\n{\n\tGENERATED_BODY()\n\n";
				Text += "\tUPROPERTY(EditAnywhere, Category = \"Entry\")\n\tFName EntryName;\n\n";
				Text += "\tUPROPERTY(EditAnywhere, Category = \"Entry\", meta = (ClampMin = \"0\"))\n\tint32 Weight = " + std::to_string(Random.Below(10)) + ";\n\n";
				Text += "\tUPROPERTY(EditAnywhere, Category = \"Entry\")\n\tFString Path;\n\n";
				if (Random.Chance(40))
				{
					Text += "\tUPROPERTY(EditAnywhere, Category = \"Entry\")\n\tTArray<FName> Tags;\n\n";
				}
				return Text + "\tbool operator==(const " + Name + "& Other) const { return EntryName == Other.EntryName; }\n};\n\n";
			}

			std::string EnumDecl(const std::string& Name, bool bNamespaced)
			{
				std::string Text = "UENUM(BlueprintType)\n";
				Text += bNamespaced ? "namespace " + Name + "\n{\n\tenum Type : int\n\t{\n" : "enum class " + Name + " : uint8\n{\n";
				const char* const Values[] = {"Disabled", "Low", "Medium", "High", "Epic", "Cinematic"};
				const int Count = 3 + Random.Below(3);
				for (int Index = 0; Index < Count; ++Index)
				{
					Text += std::string(bNamespaced ? "\t\t" : "\t") + Values[Index] + " UMETA(DisplayName = \"" + Values[Index] + "\"),\n";
				}
				return Text + (bNamespaced ? "\t};\n}\n\n" : "};\n\n");
			}

			// The engine's own headers that every module leans on: its bases and its shared types.
			void WriteEngineCore(const std::filesystem::path& EngineDir)
			{
				const std::filesystem::path Engine = EngineDir / "Source" / "Runtime" / "Engine";
				FModule EngineModule;
				EngineModule.Name = "Engine";
				EngineModule.Api = "ENGINE_API";
				struct FBase
				{
					const char* Path;
					const char* Name;
					const char* Parent;
					const char* Neighbour;
				};
				// UPrimaryDataAsset, UTickableWorldSubsystem and USubsystem sit in headers named otherwise.
				static const FBase Bases[] = {{"Classes/GameFramework/Actor.h", "AActor", "UObject", nullptr},
					{"Classes/Components/ActorComponent.h", "UActorComponent", "UObject", nullptr},
					{"Classes/Components/SceneComponent.h", "USceneComponent", "UActorComponent", nullptr},
					{"Classes/Components/PrimitiveComponent.h", "UPrimitiveComponent", "USceneComponent", nullptr},
					{"Classes/Kismet/BlueprintFunctionLibrary.h", "UBlueprintFunctionLibrary", "UObject", nullptr},
					{"Classes/Engine/DataAsset.h", "UDataAsset", "UObject", "UPrimaryDataAsset"},
					{"Public/Subsystems/Subsystem.h", "USubsystem", "UObject", "UDynamicSubsystem"},
					{"Public/Subsystems/EngineSubsystem.h", "UEngineSubsystem", "UDynamicSubsystem", nullptr},
					{"Public/Subsystems/WorldSubsystem.h", "UWorldSubsystem", "USubsystem", "UTickableWorldSubsystem"},
					{"Classes/Commandlets/Commandlet.h", "UCommandlet", "UObject", nullptr},
					{"Classes/EdGraph/EdGraphNode.h", "UEdGraphNode", "UObject", nullptr},
					{"Classes/Animation/AnimInstance.h", "UAnimInstance", "UObject", nullptr}};
				for (const FBase& Base : Bases)
				{
					std::string Text = Prologue({"UObject/Object.h"}, std::filesystem::path(Base.Path).stem().string());
					for (const char* Name : {Base.Name, Base.Neighbour})
					{
						if (!Name)
						{
							continue;
						}
						const std::string Parent = Name == Base.Name ? Base.Parent : Base.Name;
						Text += "/** The engine's " + std::string(Name + 1) + ". */\nUCLASS(Abstract, BlueprintType)\nclass ENGINE_API " + Name + " : public " + Parent + "\n{\n\tGENERATED_BODY()\n\npublic:\n";
						for (int Index = 0; Index < 12; ++Index)
						{
							Text += PlainMember("Base", Index);
						}
						AppendBody(Text, Name, 20);
						Text += "};\n\n";
						UsedNames.insert(Name);
					}
					WriteHeader(Engine / Base.Path, Text, true);
				}

				// EngineTypes.h: the engine's shared structs and enums, included by some and
				// reached through others by many.
				std::string Types = Prologue({"UObject/ObjectMacros.h", "Engine/EngineBaseTypes.h"}, "EngineTypes");
				for (int Index = 0; Index < 60; ++Index)
				{
					if (Index % 3 == 0)
					{
						const std::string Enum = Unique("E" + std::string(Random.Pick(Nouns)) + Random.Pick(Nouns) + "Method");
						Types += EnumDecl(Enum, Index % 2 == 0);
						EngineEnums.push_back(Enum);
					}
					else
					{
						const std::string Struct = Unique("F" + std::string(Random.Pick(Nouns)) + Random.Pick(Nouns) + "Params");
						Types += StructDecl(EngineModule, Struct);
						EngineStructs.push_back(Struct);
					}
				}
				WriteHeader(Engine / "Classes/Engine/EngineTypes.h", Types, true);
				std::string BaseTypes = Prologue({}, std::string());
				BaseTypes += "/** Ticking groups; plain, so only their values are of use. */\nenum ETickingGroupCount\n{\n\tTG_PrePhysics,\n\tTG_DuringPhysics,\n\tTG_PostPhysics,\n\tTG_NumGroups\n};\n";
				WriteHeader(Engine / "Classes/Engine/EngineBaseTypes.h", BaseTypes, false);

				// The built-in settings classes' headers, each with a member the host's class lacks.
				struct FBuiltIn
				{
					std::filesystem::path Path;
					const char* Name;
					const char* Config;
				};
				const FBuiltIn BuiltIns[] = {{Engine / "Classes/Engine/RendererSettings.h", "URendererSettings", "Engine"},
					{Engine / "Classes/GameFramework/InputSettings.h", "UInputSettings", "Input"},
					{EngineDir / "Source/Runtime/EngineSettings/Classes/GameMapsSettings.h", "UGameMapsSettings", "Engine"},
					{EngineDir / "Source/Runtime/EngineSettings/Classes/GeneralProjectSettings.h", "UGeneralProjectSettings", "Game"}};
				for (const FBuiltIn& BuiltIn : BuiltIns)
				{
					std::string Text = Prologue({"Engine/DeveloperSettings.h", "Engine/EngineTypes.h"}, BuiltIn.Path.stem().string());
					Text += "UCLASS(config=" + std::string(BuiltIn.Config) + ", defaultconfig)\nclass ENGINE_API " + BuiltIn.Name + " : public UDeveloperSettings\n{\n\tGENERATED_UCLASS_BODY()\n\npublic:\n";
					Text += "\t/** Whether the project opted in to the experimental path. */\n\tUPROPERTY(config, EditAnywhere, Category = Experimental)\n\tuint32 bUseExperimentalPath : 1;\n\n";
					Text += "\tUPROPERTY(config, EditAnywhere, Category = Experimental, meta = (ClampMin = \"1\"))\n\tint32 ExperimentalBudget = 16;\n\n";
					AppendBody(Text, BuiltIn.Name, 8);
					WriteHeader(BuiltIn.Path, Text + "};\n", true);
					UsedNames.insert(BuiltIn.Name);
				}
				std::string Developer = Prologue({"UObject/Object.h"}, "DeveloperSettings");
				Developer += "UCLASS(Abstract)\nclass DEVELOPERSETTINGS_API UDeveloperSettings : public UObject\n{\n\tGENERATED_UCLASS_BODY()\n\npublic:\n";
				AppendBody(Developer, "UDeveloperSettings", 10);
				WriteHeader(EngineDir / "Source/Runtime/DeveloperSettings/Public/Engine/DeveloperSettings.h", Developer + "};\n", true);
				std::string ByCVars = Prologue({"Engine/DeveloperSettings.h"}, "DeveloperSettingsBackedByCVars");
				ByCVars += "/** Settings whose members mirror console variables. */\nUCLASS(Abstract)\nclass DEVELOPERSETTINGS_API UDeveloperSettingsBackedByCVars : public UDeveloperSettings\n{\n\tGENERATED_UCLASS_BODY()\n\npublic:\n";
				AppendBody(ByCVars, "UDeveloperSettingsBackedByCVars", 4);
				WriteHeader(EngineDir / "Source/Runtime/DeveloperSettings/Public/Engine/DeveloperSettingsBackedByCVars.h", ByCVars + "};\n", true);
				UsedNames.insert("UDeveloperSettingsBackedByCVars");
			}

			// The module's shared headers: its types (reflected), a header that includes them, and a
			// private one whose plain enum sizes static arrays.
			void WriteSharedHeaders(FModule& Module, const std::filesystem::path& Public, const std::filesystem::path& Private)
			{
				std::string Types = Prologue({"UObject/ObjectMacros.h"}, Module.Name + "Types");
				const int Count = 4 + Random.Below(10);
				for (int Index = 0; Index < Count; ++Index)
				{
					const std::string Noun = Random.Pick(Nouns);
					switch (Index % 3)
					{
					case 0:
						Module.Structs.push_back(Unique("F" + Module.Name + Noun + "Entry"));
						Types += StructDecl(Module, Module.Structs.back());
						break;
					case 1:
						Module.Enums.push_back(Unique("E" + Module.Name + Noun + "Mode"));
						Types += EnumDecl(Module.Enums.back(), false);
						break;
					default:
						Module.NamespacedEnums.push_back(Unique("E" + Module.Name + Noun + "Policy"));
						Types += EnumDecl(Module.NamespacedEnums.back(), true);
						break;
					}
				}
				if (Module.ConfigQuota > 2)
				{
					// The module's settings share a base, declared beside its types.
					Module.BaseSettings = Unique("U" + Module.Name + "SettingsBase");
					Types += "/** What every settings class of the module has. */\nUCLASS(Abstract, config=Engine)\nclass " + Module.Api + " " + Module.BaseSettings + " : public UDeveloperSettings\n{\n\tGENERATED_BODY()\n\npublic:\n";
					Types += "\t/** Logs every change of the module's settings. */\n\tUPROPERTY(config, EditAnywhere, Category = Diagnostics)\n\tbool bLogChanges = false;\n\n";
					Types += "\tUPROPERTY(config, EditAnywhere, Category = Diagnostics, meta = (ClampMin = \"0\"))\n\tint32 Verbosity = 1;\n};\n\n";
					++Stats.ConfigClasses;
				}
				WriteHeader(Public / (Module.Name + "Types.h"), Types, true);
				WriteHeader(Public / (Module.Name + "Shared.h"), Prologue({Module.Name + "Types.h", "Templates/SubclassOf.h"}, std::string())
					+ "/** Everything the module's public headers need, in one include. */\nnamespace UE::" + Module.Name + "\n{\n\tinline constexpr int32 Version = 3;\n}\n", false);
				Module.SlotEnum = Unique("E" + Module.Name + "Slot");
				std::string Limits = Prologue({}, std::string());
				Limits += "/** Slots of the module's per-quality tables. */\nenum class " + Module.SlotEnum + " : uint8\n{\n\tLow,\n\tMedium,\n\tHigh,\n\tEpic,\n\tCount\n};\n";
				WriteHeader(Private / (Module.Name + "Limits.h"), Limits, false);
			}

			// A config member; bit and integer members are remembered for the constructor and the config files.
			std::string ConfigMember(const FModule& Module, FConfigClass& Class, std::set<std::string>& Names, bool& bUsesEngineTypes)
			{
				std::string Name;
				do
				{
					Name = std::string(Random.Pick(MemberHeads)) + Random.Pick(Nouns) + Random.Pick(MemberTails);
				} while (!Names.insert(Name).second);
				std::string Meta = Random.Chance(12) ? ", meta = (ConsoleVariable = \"" + Module.Name.substr(0, 4) + "." + Name + "\")" : std::string();
				std::string Specifiers = "config, EditAnywhere, Category = \"" + std::string(Random.Pick(Nouns)) + "\"" + Meta;
				std::string Declaration;
				const int Roll = Random.Below(100);
				if (Roll < 16)
				{
					Declaration = "int32 " + Name + (Class.bUClassBody ? std::string() : " = " + std::to_string(Random.Below(512)));
					Class.IntMembers.emplace_back(Name, std::to_string(Random.Below(4096)));
				}
				else if (Roll < 28)
				{
					Declaration = "float " + Name + " = " + std::to_string(Random.Below(100)) + ".5f";
				}
				else if (Roll < 40)
				{
					Name = "b" + Name;
					Declaration = "uint32 " + Name + " : 1";
					Class.BitMembers.push_back(Name);
				}
				else if (Roll < 46)
				{
					Declaration = "FString " + Name + "Path = TEXT(\"/Game/" + Module.Name + "/" + Name + "\")";
				}
				else if (Roll < 51)
				{
					Declaration = "TArray<FString> " + Name + "Paths";
				}
				else if (Roll < 55)
				{
					Declaration = "FSoftObjectPath " + Name + "Asset";
				}
				else if (Roll < 58)
				{
					Declaration = "TSoftClassPtr<UObject> " + Name + "Class";
				}
				else if (Roll < 65 && !Module.Enums.empty())
				{
					const std::string Enum = Random.Pick(Module.Enums);
					Declaration = Enum + " " + Name + "Mode = " + Enum + "::Low";
				}
				else if (Roll < 69 && !Module.NamespacedEnums.empty())
				{
					Declaration = "TEnumAsByte<" + Random.Pick(Module.NamespacedEnums) + "::Type> " + Name + "Policy";
				}
				else if (Roll < 75 && !Module.Structs.empty())
				{
					Declaration = Random.Pick(Module.Structs) + " " + Name + "Entry";
				}
				else if (Roll < 80 && !Module.Structs.empty())
				{
					Declaration = "TArray<" + Random.Pick(Module.Structs) + "> " + Name + "Entries";
				}
				else if (Roll < 84)
				{
					bUsesEngineTypes = true;
					Declaration = Random.Pick(EngineStructs) + " " + Name + "Params";
				}
				else if (Roll < 86)
				{
					bUsesEngineTypes = true;
					Declaration = "TEnumAsByte<" + Random.Pick(EngineEnums) + "::Type> " + Name + "Method";
				}
				else if (Roll < 91)
				{
					// Static arrays; now and then sized by a plain enum of a header nobody includes.
					const int Size = Random.Below(100);
					Declaration = Size < 2 ? "int32 " + Name + "PerSlot[(int32)" + Module.SlotEnum + "::Count]"
						: Size < 7 ? "float " + Name + "PerGroup[TG_NumGroups]" : "int32 " + Name + "PerLevel[4]";
				}
				else if (Roll < 94)
				{
					Declaration = std::string(Random.Pick(UnreadableStructs)) + " " + Name + "Range";
				}
				else if (Roll < 97)
				{
					Declaration = "TMap<FName, int32> " + Name + "ByName";
				}
				else
				{
					Declaration = "FLinearColor " + Name + "Color = FLinearColor(0.5f, 0.5f, 0.5f, 1.0f)";
				}
				return "\t/** " + Name + " for the module; takes effect on the next " + Random.Pick(Nouns) + " update. */\n\tUPROPERTY(" + Specifiers + ")\n\t" + Declaration + ";\n\n";
			}

			// One config class declaration. Parent is a C++ name; Header is the stem of its file.
			std::string ConfigClassDecl(FModule& Module, FConfigClass& Class, const std::string& Parent, bool& bUsesEngineTypes)
			{
				static const char* const Configs[] = {"Engine", "Engine", "Engine", "Engine", "Game", "Game", "Editor", "Editor",
					"EditorPerProjectUserSettings", "EditorSettings", "Input", "GameUserSettings"};
				std::string Specifiers;
				if (Parent == Module.BaseSettings && Random.Chance(50))
				{
					Class.ConfigName = "Engine";
					Specifiers = "config=Inherit";
				}
				else
				{
					Class.ConfigName = Random.Pick(Configs);
					Specifiers = "config=" + Class.ConfigName;
				}
				const int Flag = Random.Below(100);
				Class.bDefaultConfig = Flag < 60;
				Specifiers += Flag < 60 ? ", defaultconfig" : Flag < 66 ? ", projectuserconfig" : Flag < 69 ? ", globaluserconfig" : Flag < 71 ? ", perObjectConfig" : "";
				Specifiers += ", meta=(DisplayName=\"" + Class.Name.substr(1) + "\")";
				Class.bUClassBody = Random.Chance(45);
				std::string Text = "/**\n * Settings of the " + Module.Name + " module, shown in the project settings. Changes apply to new\n * sessions; some need a restart (marked).\n */\n";
				Text += "UCLASS(" + Specifiers + ")\nclass " + Module.Api + " " + Class.Name + " : public " + Parent + "\n{\n\t"
					+ (Class.bUClassBody ? "GENERATED_UCLASS_BODY()" : "GENERATED_BODY()") + "\n\npublic:\n";
				std::set<std::string> Names;
				const int Members = 3 + Random.Below(20);
				for (int Index = 0; Index < Members; ++Index)
				{
					if (Index == Members / 2 && Random.Chance(30))
					{
						Text += "#if WITH_EDITORONLY_DATA\n" + ConfigMember(Module, Class, Names, bUsesEngineTypes) + "#endif\n\n";
						continue;
					}
					Text += ConfigMember(Module, Class, Names, bUsesEngineTypes);
				}
				for (int Index = 0; Index < 2; ++Index)
				{
					Text += PlainMember("Runtime", Index);
				}
				Text += "\t//~ Begin UDeveloperSettings Interface\n\tvirtual FName GetCategoryName() const override;\n#if WITH_EDITOR\n\tvirtual FText GetSectionText() const override;\n"
					"\tvirtual void PostEditChangeProperty(FPropertyChangedEvent& PropertyChangedEvent) override;\n#endif\n\t//~ End UDeveloperSettings Interface\n";
				AppendBody(Text, Class.Name, 4 + Random.Below(12));
				++Stats.ConfigClasses;
				return Text + "};\n\n";
			}

			std::string ClassDecl(const FModule& Module, const std::string& Name, const std::string& Parent)
			{
				std::string Text = "/**\n * " + Name.substr(1) + ": one of the " + Module.Name + " module's reflected types.\n */\nUCLASS(BlueprintType, Blueprintable)\nclass "
					+ Module.Api + " " + Name + " : public " + Parent + "\n{\n\tGENERATED_BODY()\n\npublic:\n";
				const int Members = 4 + Random.Below(14);
				for (int Index = 0; Index < Members; ++Index)
				{
					Text += PlainMember(Module.Name, Index);
				}
				for (int Index = 0; Index < 3; ++Index)
				{
					Text += "\tUFUNCTION(BlueprintCallable, Category = \"" + Module.Name + "\")\n\tvoid Refresh" + Random.Pick(Nouns) + std::to_string(Index) + "(int32 InValue);\n\n";
				}
				AppendBody(Text, Name, 10 + Random.Below(24));
				return Text + "};\n\n";
			}

			// The source beside a class: its constructor when it declares one, and some functions.
			std::string SourceText(const std::string& Stem, const std::vector<FConfigClass*>& Constructed)
			{
				std::string Text = "// Copyright of this repository's authors.\n\n#include \"" + Stem + ".h\"\n#include \"Misc/ConfigCacheIni.h\"\n#include UE_INLINE_GENERATED_CPP_BY_NAME(" + Stem + ")\n\n";
				Text += "DEFINE_LOG_CATEGORY_STATIC(Log" + Stem + ", Log, All);\n\n";
				for (const FConfigClass* Class : Constructed)
				{
					Text += ConstructorText(*Class);
				}
				for (int Index = 0; Index < 10 + Random.Below(20); ++Index)
				{
					Text += "static int32 " + Stem + "Helper" + std::to_string(Index) + "(const TArray<FString>& Paths)\n{\n\tint32 Count = 0;\n\tfor (const FString& Path : Paths)\n\t{\n"
						"\t\tCount += Path.Len() > " + std::to_string(Index) + " ? 1 : 0;\n\t}\n\tUE_LOG(Log" + Stem + ", Verbose, TEXT(\"%d paths\"), Count);\n\treturn Count;\n}\n\n";
				}
				return Text;
			}

			static std::string ConstructorText(const FConfigClass& Class)
			{
				std::string Text = Class.Name + "::" + Class.Name + "(const FObjectInitializer& ObjectInitializer)\n\t: Super(ObjectInitializer)\n{\n";
				for (const std::string& Bit : Class.BitMembers)
				{
					Text += "\t" + Bit + " = true;\n";
				}
				for (const std::pair<std::string, std::string>& Int : Class.IntMembers)
				{
					Text += "\t" + Int.first + " = " + Int.second + ";\n";
				}
				return Text + "}\n\n";
			}

			void WriteModule(FModule& Module)
			{
				const std::filesystem::path Public = Module.Folder / (Module.bClassesFolder ? "Classes" : "Public");
				const std::filesystem::path Private = Module.Folder / "Private";
				WriteText(Module.Folder / (Module.Name + ".Build.cs"), "// Copyright of this repository's authors.\n\nusing UnrealBuildTool;\n\npublic class " + Module.Name
					+ " : ModuleRules\n{\n\tpublic " + Module.Name + "(ReadOnlyTargetRules Target) : base(Target)\n\t{\n\t\tPublicDependencyModuleNames.AddRange(new string[] { \"Core\", \"CoreUObject\", \"Engine\" });\n\t}\n}\n");
				if (Module.Name == "DeveloperSettings" || Module.Name == "EngineSettings")
				{
					return;
				}
				int Left = Module.Headers;
				WritePlainHeader(Module.Folder / "Public" / (Module.Name + "Module.h"), Module, Module.Name + "Module", {"Modules/ModuleInterface.h"});
				--Left;
				const bool bShared = Module.Headers >= 4;
				if (bShared)
				{
					WriteSharedHeaders(Module, Public, Private);
					Left -= 3;
				}
				std::vector<FConfigClass> Configs;
				std::vector<std::string> ModuleClasses;
				std::vector<std::pair<std::string, std::vector<FConfigClass*>>> Sources;
				std::string ModuleSource;
				const std::string Areas[] = {"", "", std::string(Random.Pick(Nouns)), std::string(Random.Pick(Nouns)) + "/" + Random.Pick(TypeKinds)};
				Configs.reserve(static_cast<size_t>(Module.ConfigQuota) + 1);
				int ConfigsLeft = Module.ConfigQuota - (Module.BaseSettings.empty() ? 0 : 1);
				while (Left > 0)
				{
					const std::string Area = Areas[Random.Below(4)];
					if (ConfigsLeft > 0 && bShared)
					{
						WriteConfigHeader(Module, Public / Area, Configs, Sources, ModuleSource, ConfigsLeft);
						--Left;
						continue;
					}
					const bool bPrivate = Random.Chance(45);
					const std::filesystem::path Folder = (bPrivate ? Private : Public) / Area;
					const std::string Stem = Unique(std::string(Random.Pick(Nouns)) + Random.Pick(Nouns) + Random.Pick(TypeKinds));
					if (Random.Chance(bPrivate ? 12 : 60))
					{
						WriteClassHeader(Module, Folder / (Stem + ".h"), Stem, ModuleClasses, Area);
						Sources.emplace_back(Stem, std::vector<FConfigClass*>());
					}
					else
					{
						const std::vector<std::string> Includes = bShared && Random.Chance(30) ? std::vector<std::string>{Module.Name + "Shared.h"} : std::vector<std::string>{"Containers/Array.h"};
						WritePlainHeader(Folder / (Stem + ".h"), Module, Stem, Includes);
						if (Random.Chance(50))
						{
							Sources.emplace_back(Stem, std::vector<FConfigClass*>());
						}
					}
					--Left;
				}
				for (const auto& Source : Sources)
				{
					WriteSource(Private / (Source.first + ".cpp"), SourceText(Source.first, Source.second));
				}
				WriteSource(Private / (Module.Name + "Module.cpp"), "// Copyright of this repository's authors.\n\n#include \"" + Module.Name + "Module.h\"\n#include \"Modules/ModuleManager.h\"\n\n"
					+ ModuleSource + "IMPLEMENT_MODULE(F" + Module.Name + "Module, " + Module.Name + ")\n");
				for (FConfigClass& Class : Configs)
				{
					(Class.ConfigName == "Game" ? GameConfigs : EngineConfigs).push_back(Class);
				}
			}

			void WriteClassHeader(const FModule& Module, const std::filesystem::path& Path, const std::string& Stem, std::vector<std::string>& ModuleClasses, const std::string& Area)
			{
				static const char* const EngineBases[] = {"UActorComponent", "USceneComponent", "UPrimitiveComponent", "AActor", "UBlueprintFunctionLibrary",
					"UDataAsset", "UPrimaryDataAsset", "UEngineSubsystem", "UWorldSubsystem", "UTickableWorldSubsystem", "UCommandlet", "UEdGraphNode", "UAnimInstance"};
				const bool bActor = Random.Chance(12);
				const std::string Name = Unique((bActor ? "A" : "U") + Stem);
				const int Roll = Random.Below(100);
				std::string Parent = bActor ? "AActor" : "UObject";
				std::vector<std::string> Includes = {"UObject/Object.h"};
				if (!bActor && Roll < 35)
				{
					Parent = Random.Pick(EngineBases);
				}
				else if (!bActor && Roll < 60 && !ModuleClasses.empty())
				{
					Parent = Random.Pick(ModuleClasses);
					Includes.push_back(Parent.substr(1) + ".h");
				}
				else if (!bActor && Roll < 61)
				{
					// A base from a header the tree does not have (generated, or third-party).
					Parent = Random.Pick(MissingBases);
				}
				if (Random.Chance(40) && !Module.Structs.empty())
				{
					Includes.push_back(Module.Name + "Types.h");
				}
				std::string Text = Prologue(Includes, Stem);
				Text += "class UTexture2D;\nclass UMaterialInterface;\n\n";
				if (Random.Chance(30))
				{
					Text += StructDecl(Module, Unique("F" + Stem + "Params"));
				}
				if (Random.Chance(15))
				{
					Text += EnumDecl(Unique("E" + Stem + "State"), false);
				}
				Text += ClassDecl(Module, Name, Parent);
				WriteHeader(Path, Text, true);
				if (!Area.empty() || Random.Chance(50))
				{
					ModuleClasses.push_back(Name);
				}
			}

			// A header with one config class, or two (the second beside the first), or one in a
			// header named otherwise.
			void WriteConfigHeader(FModule& Module, const std::filesystem::path& Folder, std::vector<FConfigClass>& Configs,
				std::vector<std::pair<std::string, std::vector<FConfigClass*>>>& Sources, std::string& ModuleSource, int& ConfigsLeft)
			{
				const std::string Noun = std::string(Random.Pick(Nouns)) + Random.Pick(Nouns);
				const std::string ClassName = Unique("U" + Module.Name + Noun + Random.Pick(SettingsKinds));
				const bool bOtherName = Random.Chance(9);
				const std::string Stem = bOtherName ? Unique(Module.Name + Noun + "Options") : ClassName.substr(1);
				std::string Body;
				bool bUsesEngineTypes = false;
				std::vector<std::string> Names = {ClassName};
				if (ConfigsLeft > 1 && Random.Chance(14))
				{
					Names.push_back(Unique("U" + Module.Name + Random.Pick(Nouns) + "PerProjectSettings"));
				}
				std::vector<FConfigClass*> Constructed;
				for (const std::string& Name : Names)
				{
					const int Roll = Random.Below(100);
					std::string Parent = "UDeveloperSettings";
					if (Roll < 18)
					{
						Parent = "UObject";
					}
					else if (Roll < 32 && !Module.BaseSettings.empty())
					{
						Parent = Module.BaseSettings;
					}
					else if (Roll < 42 && !Configs.empty())
					{
						Parent = Configs[static_cast<size_t>(Random.Below(static_cast<int>(Configs.size())))].Name;
					}
					else if (Roll < 47)
					{
						Parent = "UDeveloperSettingsBackedByCVars";
					}
					else if (Roll < 49)
					{
						Parent = "UEngineSubsystem";
					}
					else if (Roll < 50)
					{
						Parent = Random.Pick(MissingBases);
					}
					Configs.push_back(FConfigClass());
					FConfigClass& Class = Configs.back();
					Class.Name = Name;
					Class.ModuleName = Module.Name;
					Class.Stem = Stem;
					Body += ConfigClassDecl(Module, Class, Parent, bUsesEngineTypes);
					--ConfigsLeft;
					if (Class.bUClassBody)
					{
						// Beside the header mostly; sometimes in the module's own source; rarely nowhere.
						Class.ConstructorPlace = Random.Below(100);
						if (Class.ConstructorPlace < 85)
						{
							Constructed.push_back(&Class);
						}
						else if (Class.ConstructorPlace < 96)
						{
							ModuleSource += ConstructorText(Class);
						}
					}
					if (Stats.NamedClass.empty() && !bOtherName && Names.size() == 1 && Parent == "UDeveloperSettings" && Module.Group == EGroup::Runtime && !Class.IntMembers.empty())
					{
						Stats.NamedClass = Name.substr(1);
						Stats.NamedProperty = Class.IntMembers.front().first;
					}
					if (Stats.NeighbourClass.empty() && &Name != &Names.front())
					{
						Stats.NeighbourClass = Name.substr(1);
					}
					if (Stats.ScannedClass.empty() && bOtherName && Parent == Module.BaseSettings)
					{
						Stats.ScannedClass = Name.substr(1);
					}
				}
				std::vector<std::string> Includes = {"Engine/DeveloperSettings.h"};
				const int Route = Random.Below(100);
				if (Route < 85)
				{
					Includes.push_back(Module.Name + "Types.h");
				}
				else if (Route < 95)
				{
					Includes.push_back(Module.Name + "Shared.h");
				}
				if (bUsesEngineTypes && Random.Chance(40))
				{
					Includes.push_back("Engine/EngineTypes.h");
				}
				for (const FConfigClass& Class : Configs)
				{
					// A parent of the same module named after its header is included by name.
					if (Body.find(": public " + Class.Name + "\n") != std::string::npos && Class.Stem != Stem)
					{
						Includes.push_back(Class.Stem + ".h");
					}
				}
				WriteHeader(Folder / (Stem + ".h"), Prologue(Includes, Stem) + Body, true);
				Sources.emplace_back(Stem, Constructed);
			}

			// The engine's and the project's config files set some members of the defaultconfig classes.
			void WriteConfig(const std::filesystem::path& EngineDir, const std::filesystem::path& ProjectDir)
			{
				std::string BaseEngine = "[Core.System]\nPaths=../../../Engine/Content\n\n";
				std::string DefaultEngine = "[/Script/Engine.RendererSettings]\nr.RayTracing=True\n\n";
				std::string BaseGame;
				int Index = 0;
				for (const std::vector<FConfigClass>* List : {&EngineConfigs, &GameConfigs})
				{
					for (const FConfigClass& Class : *List)
					{
						if (!Class.bDefaultConfig || Class.IntMembers.empty() || ++Index % 3 != 0)
						{
							continue;
						}
						const std::string Section = "[/Script/" + Class.ModuleName + "." + Class.Name.substr(1) + "]\n";
						const std::string& Key = Class.IntMembers.front().first;
						(List == &GameConfigs ? BaseGame : BaseEngine) += Section + Key + "=" + std::to_string(Index % 977) + "\n\n";
						if (Index % 7 == 0)
						{
							DefaultEngine += Section + Key + "=" + std::to_string(Index % 31) + "\n\n";
						}
					}
				}
				WriteText(EngineDir / "Config" / "BaseEngine.ini", BaseEngine);
				WriteText(EngineDir / "Config" / "BaseGame.ini", BaseGame);
				WriteText(ProjectDir / "Config" / "DefaultEngine.ini", DefaultEngine);
				WriteText(ProjectDir / "Config" / "DefaultGame.ini", "[/Script/EngineSettings.GeneralProjectSettings]\nProjectName=Shooter\n");
			}
		};
	}

	inline FHeaderTreeStats WriteEngineHeaderTree(const std::filesystem::path& EngineDir, const std::filesystem::path& ProjectDir, const FHeaderTreeShape& Shape = FHeaderTreeShape())
	{
		FHeaderTreeStats Stats;
		HeaderTree::FWriter Writer(Shape, Stats);
		Writer.Write(EngineDir, ProjectDir);
		return Stats;
	}
}
