#if WITH_EDITOR
UCLASS(config=Engine
#elif (A && !defined(B)) || C >= 2
class U : public
#else
/* open