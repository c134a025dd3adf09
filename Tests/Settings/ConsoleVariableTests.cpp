// Console variables: who may set them, what they read back as, and the ones the settings
// classes register at start-up.
#include "HAL/IConsoleManager.h"
#include "Host/ObjectSystem.h"
#include "SettingsTestSupport.h"

namespace
{
	// Registers under a unique name and releases it afterwards.
	class FScopedVariable
	{
	public:
		template<typename T>
		FScopedVariable(const TCHAR* InName, T DefaultValue, uint32 Flags = ECVF_Default)
			: Name(InName)
		{
			Variable = IConsoleManager::Get().RegisterConsoleVariable(InName, DefaultValue, TEXT("test variable"), Flags);
		}
		~FScopedVariable() { IConsoleManager::Get().UnregisterConsoleObject(*Name, false); }

		IConsoleVariable* operator->() const { return Variable; }
		IConsoleVariable* Get() const { return Variable; }

	private:
		FString Name;
		IConsoleVariable* Variable;
	};

	uint32 SetByOf(const IConsoleVariable* Variable)
	{
		return static_cast<uint32>(Variable->GetFlags()) & ECVF_SetByMask;
	}
}

TEST(ConsoleVariableFlags, SetByValuesFollowTheLayoutOf57)
{
	EXPECT_EQ(static_cast<uint32>(ECVF_SetByProjectSetting), 0x04000000u);
	EXPECT_EQ(static_cast<uint32>(ECVF_SetByScalability), 0x02000000u);
	EXPECT_EQ(static_cast<uint32>(ECVF_SetBySystemSettingsIni), 0x05000000u);
	EXPECT_EQ(static_cast<uint32>(ECVF_SetByCode), 0x0E000000u);
	EXPECT_EQ(static_cast<uint32>(ECVF_SetByConsole), 0x0F000000u);
	EXPECT_EQ(static_cast<uint32>(ECVF_ReadOnly), 0x4u);
	EXPECT_EQ(static_cast<uint32>(ECVF_SetByMask), 0xff000000u);
	EXPECT_LT(static_cast<uint32>(ECVF_SetByProjectSetting), static_cast<uint32>(ECVF_SetByCommandline));
}

TEST(ConsoleVariables, FindIgnoresCaseAndMissesUnknownNames)
{
	FScopedVariable Variable(TEXT("test.Lookup"), 5);
	EXPECT_EQ(IConsoleManager::Get().FindConsoleVariable(TEXT("test.Lookup")), Variable.Get());
	EXPECT_EQ(IConsoleManager::Get().FindConsoleVariable(TEXT("TEST.LOOKUP")), Variable.Get());
	EXPECT_EQ(IConsoleManager::Get().FindConsoleVariable(TEXT("test.Missing")), nullptr);
	EXPECT_EQ(IConsoleManager::Get().FindConsoleVariable(nullptr), nullptr);
	EXPECT_EQ(U8(IConsoleManager::Get().FindConsoleObjectName(Variable.Get())), "test.Lookup");
	// Registering the name again hands back the variable that exists.
	EXPECT_EQ(IConsoleManager::Get().RegisterConsoleVariable(TEXT("test.lookup"), 9, TEXT("again")), Variable.Get());
	EXPECT_EQ(Variable->GetInt(), 5);
}

TEST(ConsoleVariables, ValuesReadBackInEveryForm)
{
	FScopedVariable Int(TEXT("test.FormInt"), 3);
	FScopedVariable Float(TEXT("test.FormFloat"), 0.03f);
	FScopedVariable Bool(TEXT("test.FormBool"), true);
	FScopedVariable String(TEXT("test.FormString"), TEXT("Deferred"));
	EXPECT_EQ(U8(Int->GetString()), "3");
	EXPECT_TRUE(Int->GetBool());
	EXPECT_FLOAT_EQ(Int->GetFloat(), 3.0f);
	EXPECT_EQ(U8(Float->GetString()), "0.03");
	EXPECT_EQ(Float->GetInt(), 0);
	EXPECT_EQ(U8(Bool->GetString()), "true");
	EXPECT_EQ(Bool->GetInt(), 1);
	EXPECT_EQ(U8(String->GetString()), "Deferred");
	EXPECT_TRUE(Int->IsVariableInt());
	EXPECT_TRUE(Float->IsVariableFloat());

	Int->Set(TEXT("12"));
	EXPECT_EQ(Int->GetInt(), 12);
	Float->Set(1.0f);
	EXPECT_EQ(U8(Float->GetString()), "1.0");
	Float->Set(TEXT("0.25"), ECVF_SetByCode, NAME_None);
	EXPECT_FLOAT_EQ(Float->GetFloat(), 0.25f);
	Bool->Set(false);
	EXPECT_FALSE(Bool->GetBool());
	Bool->Set(TEXT("Yes"));
	EXPECT_TRUE(Bool->GetBool());
	String->Set(*FString(TEXT("Forward")));
	EXPECT_EQ(U8(String->GetString()), "Forward");
}

TEST(ConsoleVariables, LowerPrioritySetsAreIgnored)
{
	FScopedVariable Variable(TEXT("test.Priority"), 0);
	EXPECT_EQ(SetByOf(Variable.Get()), static_cast<uint32>(ECVF_SetByConstructor));

	Variable->Set(TEXT("1"), ECVF_SetByProjectSetting);
	EXPECT_EQ(Variable->GetInt(), 1);
	EXPECT_EQ(SetByOf(Variable.Get()), static_cast<uint32>(ECVF_SetByProjectSetting));

	// The module pushes with the bare value 0x04000000.
	Variable->Set(TEXT("2"), static_cast<EConsoleVariableFlags>(0x04000000), NAME_None);
	EXPECT_EQ(Variable->GetInt(), 2);

	Variable->Set(TEXT("3"), ECVF_SetByCode);
	EXPECT_EQ(Variable->GetInt(), 3);
	Variable->Set(TEXT("4"), ECVF_SetByProjectSetting);
	EXPECT_EQ(Variable->GetInt(), 3);
	Variable->Set(TEXT("5"), ECVF_SetByScalability);
	EXPECT_EQ(Variable->GetInt(), 3);
	EXPECT_EQ(SetByOf(Variable.Get()), static_cast<uint32>(ECVF_SetByCode));
	Variable->Set(TEXT("6"), ECVF_SetByConsole);
	EXPECT_EQ(Variable->GetInt(), 6);
	EXPECT_EQ(SetByOf(Variable.Get()), static_cast<uint32>(ECVF_SetByConsole));
}

TEST(ConsoleVariables, ReadOnlyOnlyStopsTheConsole)
{
	FScopedVariable Variable(TEXT("test.ReadOnlyFlag"), 0, ECVF_ReadOnly | ECVF_RenderThreadSafe);
	EXPECT_TRUE(Variable->TestFlags(ECVF_ReadOnly));
	Variable->Set(TEXT("1"), ECVF_SetByProjectSetting);
	EXPECT_EQ(Variable->GetInt(), 1);
	Variable->Set(TEXT("2"), ECVF_SetByConsole);
	EXPECT_EQ(Variable->GetInt(), 1);
	Variable->Set(TEXT("3"), ECVF_SetByCode);
	EXPECT_EQ(Variable->GetInt(), 3);
	// The flags survive the sets.
	EXPECT_TRUE(Variable->TestFlags(ECVF_ReadOnly));
	EXPECT_TRUE(Variable->TestFlags(ECVF_RenderThreadSafe));
}

TEST(ConsoleVariables, KeptStateAndIniValuesReachALaterRegistration)
{
	IConsoleManager& Manager = IConsoleManager::Get();
	{
		FScopedVariable Variable(TEXT("test.Kept"), 1);
		Variable->Set(TEXT("7"), ECVF_SetByProjectSetting);
		Manager.UnregisterConsoleObject(Variable.Get(), true);
		EXPECT_EQ(Manager.FindConsoleVariable(TEXT("test.Kept")), nullptr);
		IConsoleVariable* Again = Manager.RegisterConsoleVariable(TEXT("test.Kept"), 1, TEXT("again"));
		ASSERT_NE(Again, nullptr);
		EXPECT_EQ(Again->GetInt(), 7);
		EXPECT_EQ(SetByOf(Again), static_cast<uint32>(ECVF_SetByProjectSetting));
	}
	EXPECT_EQ(Manager.FindConsoleVariable(TEXT("test.Kept")), nullptr);

	// What an ini file set before anyone registered the variable.
	Manager.RegisterConsoleVariable(TEXT("test.FromIni"), TEXT("42"), TEXT("IAmNoRealVariable"), ECVF_Unregistered | ECVF_CreatedFromIni | ECVF_SetByProjectSetting);
	EXPECT_EQ(Manager.FindConsoleVariable(TEXT("test.FromIni")), nullptr);
	FScopedVariable Real(TEXT("test.FromIni"), 0);
	EXPECT_EQ(Real->GetInt(), 42);
	EXPECT_EQ(SetByOf(Real.Get()), static_cast<uint32>(ECVF_SetByProjectSetting));
	EXPECT_FALSE(Real->TestFlags(ECVF_Unregistered));
}

TEST(ConsoleVariablesAtStartup, SettingsVariablesAreRegisteredWithTheirFlagsAndSetFromTheRendererSection)
{
	FSettingsTestEnvironment Environment;
	Environment.SetValue(TEXT("Engine"), TEXT("/Script/Engine.RendererSettings"), TEXT("r.RayTracing"), TEXT("True"));
	Environment.SetValue(TEXT("Engine"), TEXT("/Script/Engine.RendererSettings"), TEXT("r.ReflectionMethod"), TEXT("2"));
	Environment.SetValue(TEXT("Engine"), TEXT("/Script/Engine.RendererSettings"), TEXT("r.MinScreenRadiusForLights"), TEXT("0.050000"));
	Environment.SetValue(TEXT("Engine"), TEXT("/Script/Engine.RendererSettings"), TEXT("TranslucentSortAxis"), TEXT("(X=1.000000,Y=0.000000,Z=0.000000)"));
	// Only the renderer section is applied at boot.
	Environment.SetValue(TEXT("Game"), TEXT("/Script/OrvexTests.HostTestSettings"), TEXT("test.Int"), TEXT("9"));
	Environment.Start();

	IConsoleManager& Manager = IConsoleManager::Get();
	IConsoleVariable* RayTracing = Manager.FindConsoleVariable(TEXT("r.RayTracing"));
	ASSERT_NE(RayTracing, nullptr);
	EXPECT_TRUE(RayTracing->TestFlags(ECVF_ReadOnly));
	EXPECT_EQ(RayTracing->GetInt(), 1);
	EXPECT_EQ(SetByOf(RayTracing), static_cast<uint32>(ECVF_SetByProjectSetting));

	IConsoleVariable* Reflections = Manager.FindConsoleVariable(TEXT("r.ReflectionMethod"));
	ASSERT_NE(Reflections, nullptr);
	EXPECT_FALSE(Reflections->TestFlags(ECVF_ReadOnly));
	EXPECT_EQ(Reflections->GetInt(), 2);
	IConsoleVariable* Radius = Manager.FindConsoleVariable(TEXT("r.MinScreenRadiusForLights"));
	ASSERT_NE(Radius, nullptr);
	EXPECT_FLOAT_EQ(Radius->GetFloat(), 0.05f);

	// Variables not in the section keep the class's C++ default, set by the constructor.
	IConsoleVariable* Resolution = Manager.FindConsoleVariable(TEXT("r.ReflectionCaptureResolution"));
	ASSERT_NE(Resolution, nullptr);
	EXPECT_EQ(Resolution->GetInt(), 128);
	EXPECT_EQ(SetByOf(Resolution), static_cast<uint32>(ECVF_SetByConstructor));
	for (const TCHAR* ReadOnly : {TEXT("r.SkinCache.CompileShaders"), TEXT("r.GenerateMeshDistanceFields"), TEXT("r.AllowStaticLighting"), TEXT("r.Nanite.ProjectEnabled"), TEXT("test.ReadOnly")})
	{
		IConsoleVariable* Variable = Manager.FindConsoleVariable(ReadOnly);
		ASSERT_NE(Variable, nullptr) << U8(ReadOnly);
		EXPECT_TRUE(Variable->TestFlags(ECVF_ReadOnly)) << U8(ReadOnly);
	}
	for (const TCHAR* Writable : {TEXT("r.DynamicGlobalIlluminationMethod"), TEXT("r.Shadow.Virtual.Enable"), TEXT("r.AllowOcclusionQueries"), TEXT("test.Int")})
	{
		IConsoleVariable* Variable = Manager.FindConsoleVariable(Writable);
		ASSERT_NE(Variable, nullptr) << U8(Writable);
		EXPECT_FALSE(Variable->TestFlags(ECVF_ReadOnly)) << U8(Writable);
	}
	EXPECT_EQ(Manager.FindConsoleVariable(TEXT("test.Int"))->GetInt(), 3);
	// A key that names no variable does not become one.
	EXPECT_EQ(Manager.FindConsoleVariable(TEXT("TranslucentSortAxis")), nullptr);
}

TEST(ConsoleVariablesAtStartup, ShutdownReleasesThemAndAStartOverReadsTheConfigAgain)
{
	{
		FSettingsTestEnvironment Environment;
		Environment.SetValue(TEXT("Engine"), TEXT("/Script/Engine.RendererSettings"), TEXT("r.ReflectionMethod"), TEXT("0"));
		Environment.Start();
		EXPECT_TRUE(UE::Host::IsObjectSystemInitialized());
		EXPECT_EQ(IConsoleManager::Get().FindConsoleVariable(TEXT("r.ReflectionMethod"))->GetInt(), 0);
	}
	EXPECT_FALSE(UE::Host::IsObjectSystemInitialized());
	EXPECT_EQ(IConsoleManager::Get().FindConsoleVariable(TEXT("r.ReflectionMethod")), nullptr);

	FSettingsTestEnvironment Environment;
	Environment.SetValue(TEXT("Engine"), TEXT("/Script/Engine.RendererSettings"), TEXT("r.ReflectionMethod"), TEXT("2"));
	Environment.Start();
	EXPECT_EQ(IConsoleManager::Get().FindConsoleVariable(TEXT("r.ReflectionMethod"))->GetInt(), 2);
}
