// Object, class and property flags, and the reflection markup macros. The header tool
// (Host/HeaderTool) reads the markup at build time and writes each header's <Name>.generated.h
// and the code that describes its types to the host's class builder (Host/ReflectionBuilder.h).
#pragma once

#include "CoreTypes.h"

// Compiled code, as opposed to the header tool's reading of headers, where it is unknown: blocks
// under #if !CPP (the core structs of UObject/NoExportTypes.h) are for the header tool only.
#define CPP 1
#include "Misc/EnumClassFlags.h"

class UClass;
class UScriptStruct;

enum EClassFlags : uint32
{
	CLASS_None = 0x00000000u,
	CLASS_Abstract = 0x00000001u,
	CLASS_DefaultConfig = 0x00000002u,
	CLASS_Config = 0x00000004u,
	CLASS_Transient = 0x00000008u,
	CLASS_Optional = 0x00000010u,
	CLASS_MatchedSerializers = 0x00000020u,
	CLASS_ProjectUserConfig = 0x00000040u,
	CLASS_Native = 0x00000080u,
	CLASS_NotPlaceable = 0x00000200u,
	CLASS_PerObjectConfig = 0x00000400u,
	CLASS_ReplicationDataIsSetUp = 0x00000800u,
	CLASS_EditInlineNew = 0x00001000u,
	CLASS_CollapseCategories = 0x00002000u,
	CLASS_Interface = 0x00004000u,
	CLASS_Const = 0x00010000u,
	CLASS_NeedsDeferredDependencyLoading = 0x00020000u,
	CLASS_CompiledFromBlueprint = 0x00040000u,
	CLASS_MinimalAPI = 0x00080000u,
	CLASS_RequiredAPI = 0x00100000u,
	CLASS_DefaultToInstanced = 0x00200000u,
	CLASS_TokenStreamAssembled = 0x00400000u,
	CLASS_HasInstancedReference = 0x00800000u,
	CLASS_Hidden = 0x01000000u,
	CLASS_Deprecated = 0x02000000u,
	CLASS_HideDropDown = 0x04000000u,
	CLASS_GlobalUserConfig = 0x08000000u,
	CLASS_Intrinsic = 0x10000000u,
	CLASS_Constructed = 0x20000000u,
	CLASS_ConfigDoNotCheckDefaults = 0x40000000u,
	CLASS_NewerVersionExists = 0x80000000u,
};

ENUM_CLASS_FLAGS(EClassFlags);

// Flags a class takes over from its parent.
#define CLASS_Inherit ((EClassFlags)(CLASS_Transient | CLASS_Optional | CLASS_DefaultConfig | CLASS_Config | CLASS_PerObjectConfig \
	| CLASS_ConfigDoNotCheckDefaults | CLASS_NotPlaceable | CLASS_Const | CLASS_HasInstancedReference | CLASS_Deprecated \
	| CLASS_DefaultToInstanced | CLASS_GlobalUserConfig | CLASS_ProjectUserConfig | CLASS_NeedsDeferredDependencyLoading))

enum EPropertyFlags : uint64
{
	CPF_None = 0,
	CPF_Edit = 0x0000000000000001ull,
	CPF_ConstParm = 0x0000000000000002ull,
	CPF_BlueprintVisible = 0x0000000000000004ull,
	CPF_ExportObject = 0x0000000000000008ull,
	CPF_BlueprintReadOnly = 0x0000000000000010ull,
	CPF_Net = 0x0000000000000020ull,
	CPF_EditFixedSize = 0x0000000000000040ull,
	CPF_Parm = 0x0000000000000080ull,
	CPF_OutParm = 0x0000000000000100ull,
	CPF_ZeroConstructor = 0x0000000000000200ull,
	CPF_ReturnParm = 0x0000000000000400ull,
	CPF_DisableEditOnTemplate = 0x0000000000000800ull,
	CPF_NonNullable = 0x0000000000001000ull,
	CPF_Transient = 0x0000000000002000ull,
	CPF_Config = 0x0000000000004000ull,
	CPF_RequiredParm = 0x0000000000008000ull,
	CPF_DisableEditOnInstance = 0x0000000000010000ull,
	CPF_EditConst = 0x0000000000020000ull,
	CPF_GlobalConfig = 0x0000000000040000ull,
	CPF_InstancedReference = 0x0000000000080000ull,
	CPF_DuplicateTransient = 0x0000000000200000ull,
	CPF_SaveGame = 0x0000000001000000ull,
	CPF_NoClear = 0x0000000002000000ull,
	CPF_ReferenceParm = 0x0000000008000000ull,
	CPF_BlueprintAssignable = 0x0000000010000000ull,
	CPF_Deprecated = 0x0000000020000000ull,
	CPF_IsPlainOldData = 0x0000000040000000ull,
	CPF_RepSkip = 0x0000000080000000ull,
	CPF_RepNotify = 0x0000000100000000ull,
	CPF_Interp = 0x0000000200000000ull,
	CPF_NonTransactional = 0x0000000400000000ull,
	CPF_EditorOnly = 0x0000000800000000ull,
	CPF_NoDestructor = 0x0000001000000000ull,
	CPF_AutoWeak = 0x0000004000000000ull,
	CPF_ContainsInstancedReference = 0x0000008000000000ull,
	CPF_AssetRegistrySearchable = 0x0000010000000000ull,
	CPF_SimpleDisplay = 0x0000020000000000ull,
	CPF_AdvancedDisplay = 0x0000040000000000ull,
	CPF_Protected = 0x0000080000000000ull,
	CPF_BlueprintCallable = 0x0000100000000000ull,
	CPF_BlueprintAuthorityOnly = 0x0000200000000000ull,
	CPF_TextExportTransient = 0x0000400000000000ull,
	CPF_NonPIEDuplicateTransient = 0x0000800000000000ull,
	CPF_ExposeOnSpawn = 0x0001000000000000ull,
	CPF_PersistentInstance = 0x0002000000000000ull,
	CPF_UObjectWrapper = 0x0004000000000000ull,
	CPF_HasGetValueTypeHash = 0x0008000000000000ull,
	CPF_NativeAccessSpecifierPublic = 0x0010000000000000ull,
	CPF_NativeAccessSpecifierProtected = 0x0020000000000000ull,
	CPF_NativeAccessSpecifierPrivate = 0x0040000000000000ull,
	CPF_SkipSerialization = 0x0080000000000000ull,
};

ENUM_CLASS_FLAGS(EPropertyFlags);

enum EObjectFlags : uint32
{
	RF_NoFlags = 0x00000000u,
	RF_Public = 0x00000001u,
	RF_Standalone = 0x00000002u,
	RF_MarkAsNative = 0x00000004u,
	RF_Transactional = 0x00000008u,
	RF_ClassDefaultObject = 0x00000010u,
	RF_ArchetypeObject = 0x00000020u,
	RF_Transient = 0x00000040u,
	RF_MarkAsRootSet = 0x00000080u,
	RF_TagGarbageTemp = 0x00000100u,
	RF_NeedInitialization = 0x00000200u,
	RF_NeedLoad = 0x00000400u,
	RF_KeepForCooker = 0x00000800u,
	RF_NeedPostLoad = 0x00001000u,
	RF_NeedPostLoadSubobjects = 0x00002000u,
	RF_NewerVersionExists = 0x00004000u,
	RF_BeginDestroyed = 0x00008000u,
	RF_FinishDestroyed = 0x00010000u,
	RF_BeingRegenerated = 0x00020000u,
	RF_DefaultSubObject = 0x00040000u,
	RF_WasLoaded = 0x00080000u,
	RF_TextExportTransient = 0x00100000u,
	RF_LoadCompleted = 0x00200000u,
	RF_InheritableComponentTemplate = 0x00400000u,
	RF_DuplicateTransient = 0x00800000u,
	RF_StrongRefOnFrame = 0x01000000u,
	RF_NonPIEDuplicateTransient = 0x02000000u,
	RF_WillBeLoaded = 0x08000000u,
	RF_HasExternalPackage = 0x10000000u,
	// Garbage from the logical point of view: no longer to be used, destroyed by CollectGarbage.
	RF_MirroredGarbage = 0x40000000u,
	RF_AllocatedInSharedPage = 0x80000000u,
};

ENUM_CLASS_FLAGS(EObjectFlags);

#define RF_AllFlags ((EObjectFlags)0x9fffffffu)

// How StaticLoadObject and LoadPackage behave. Only NoWarn and Quiet change anything on the host.
enum ELoadFlags
{
	LOAD_None = 0x00000000,
	LOAD_Async = 0x00000001,
	LOAD_NoWarn = 0x00000002,
	LOAD_EditorOnly = 0x00000004,
	LOAD_Verify = 0x00000010,
	LOAD_NoVerify = 0x00000080,
	LOAD_Quiet = 0x00002000,
	LOAD_FindIfFail = 0x00004000,
	LOAD_NoRedirects = 0x00010000,
};

// What a class's static flags and casts say; the host casts through the class hierarchy only.
enum EClassCastFlags : uint64
{
	CASTCLASS_None = 0x0000000000000000ull,
};

#ifndef NO_API
#define NO_API
#endif

// Markup read by the header tool. UCLASS and GENERATED_BODY pick the macros that the header's
// <Name>.generated.h defines for their line, as in the engine: a header that does not include
// its generated header fails to compile.
#define BODY_MACRO_COMBINE_INNER(A, B, C, D) A##B##C##D
#define BODY_MACRO_COMBINE(A, B, C, D) BODY_MACRO_COMBINE_INNER(A, B, C, D)

#define UCLASS(...) BODY_MACRO_COMBINE(CURRENT_FILE_ID, _, __LINE__, _PROLOG)
#define UINTERFACE(...)
#define USTRUCT(...)
#define UENUM(...)
#define UPROPERTY(...)
#define UFUNCTION(...)
#define UPARAM(...)
#define UMETA(...)
#define UDELEGATE(...)
#define GENERATED_BODY_LEGACY(...) BODY_MACRO_COMBINE(CURRENT_FILE_ID, _, __LINE__, _GENERATED_BODY_LEGACY);
#define GENERATED_BODY(...) BODY_MACRO_COMBINE(CURRENT_FILE_ID, _, __LINE__, _GENERATED_BODY);
#define GENERATED_USTRUCT_BODY(...) GENERATED_BODY()
#define GENERATED_UCLASS_BODY(...) GENERATED_BODY_LEGACY()

// The declarations every class carries: its parent and itself as Super and ThisClass, its
// static flags and package, and StaticClass(). Generated bodies use it; so do the intrinsic
// classes the engine declares by hand. Objects are never assigned to one another.
#define DECLARE_CLASS(TClass, TSuperClass, TStaticFlags, TStaticCastFlags, TPackage, TRequiredAPI) \
private: \
	TClass& operator=(TClass&&); \
	TClass& operator=(const TClass&); \
public: \
	typedef TSuperClass Super; \
	typedef TClass ThisClass; \
	static constexpr EClassFlags StaticClassFlags = EClassFlags(TStaticFlags); \
	static const TCHAR* StaticPackage() { return TPackage; } \
	TRequiredAPI static UClass* StaticClass();

// A class of the object system itself, which no header tool reads; IMPLEMENT_CORE_INTRINSIC_CLASS
// (Host/ReflectionBuilder.h) defines its StaticClass().
#define DECLARE_CLASS_INTRINSIC(TClass, TSuperClass, TStaticFlags, TPackage) \
	DECLARE_CLASS(TClass, TSuperClass, TStaticFlags | CLASS_Intrinsic, CASTCLASS_None, TPackage, NO_API)
