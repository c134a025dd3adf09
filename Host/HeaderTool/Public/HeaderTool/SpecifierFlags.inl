// The UCLASS and UPROPERTY specifiers that set flags, and the flags they set: one list for the
// generator, which writes the flags' names, and for the classes built from headers at run time,
// which set their values, so that a header means the same either way. The includer defines
// CLASS_FLAG_SPECIFIER(Specifier, Flags) and PROPERTY_FLAG_SPECIFIER(Specifier, Flags); letter
// case is ignored in specifiers.

CLASS_FLAG_SPECIFIER("defaultconfig", CLASS_DefaultConfig)
CLASS_FLAG_SPECIFIER("globaluserconfig", CLASS_GlobalUserConfig)
CLASS_FLAG_SPECIFIER("projectuserconfig", CLASS_ProjectUserConfig)
CLASS_FLAG_SPECIFIER("perObjectConfig", CLASS_PerObjectConfig)
CLASS_FLAG_SPECIFIER("Abstract", CLASS_Abstract)
CLASS_FLAG_SPECIFIER("Transient", CLASS_Transient)
CLASS_FLAG_SPECIFIER("configdonotcheckdefaults", CLASS_ConfigDoNotCheckDefaults)

PROPERTY_FLAG_SPECIFIER("config", CPF_Config)
PROPERTY_FLAG_SPECIFIER("globalconfig", CPF_Config | CPF_GlobalConfig)
PROPERTY_FLAG_SPECIFIER("EditAnywhere", CPF_Edit)
PROPERTY_FLAG_SPECIFIER("EditDefaultsOnly", CPF_Edit)
PROPERTY_FLAG_SPECIFIER("EditInstanceOnly", CPF_Edit)
PROPERTY_FLAG_SPECIFIER("VisibleAnywhere", CPF_Edit | CPF_EditConst)
PROPERTY_FLAG_SPECIFIER("VisibleDefaultsOnly", CPF_Edit | CPF_EditConst)
PROPERTY_FLAG_SPECIFIER("VisibleInstanceOnly", CPF_Edit | CPF_EditConst)
PROPERTY_FLAG_SPECIFIER("Transient", CPF_Transient)
PROPERTY_FLAG_SPECIFIER("NoClear", CPF_NoClear)
PROPERTY_FLAG_SPECIFIER("AdvancedDisplay", CPF_AdvancedDisplay)
