using UnrealBuildTool;

public class OrvexConfig : ModuleRules
{
	public OrvexConfig(ReadOnlyTargetRules Target) : base(Target)
	{
		PCHUsage = PCHUsageMode.UseExplicitOrSharedPCHs;

		PublicDependencyModuleNames.AddRange(new string[]
		{
			"Core",
			"CoreUObject",
			"Engine",
			"Json",
			// The public headers include its headers.
			"OrvexCore",
		});

		PrivateDependencyModuleNames.AddRange(new string[]
		{
			"AssetRegistry",
			"DeveloperSettings",
		});
	}
}
