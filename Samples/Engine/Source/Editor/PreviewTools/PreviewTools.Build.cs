// Copyright of this repository's authors.

using UnrealBuildTool;

public class PreviewTools : ModuleRules
{
	public PreviewTools(ReadOnlyTargetRules Target) : base(Target)
	{
		PrivateDependencyModuleNames.AddRange(new string[] { "Core", "CoreUObject", "Engine", "UnrealEd" });
	}
}
