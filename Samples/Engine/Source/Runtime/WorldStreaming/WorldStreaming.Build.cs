// Copyright of this repository's authors.

using UnrealBuildTool;

public class WorldStreaming : ModuleRules
{
	public WorldStreaming(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = PCHUsageMode.UseExplicitOrSharedPCHs;

		PublicDependencyModuleNames.AddRange(new string[] { "Core", "CoreUObject", "Engine", "DeveloperSettings" });
	}
}
