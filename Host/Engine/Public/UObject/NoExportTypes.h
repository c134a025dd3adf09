// The core structs as the header tool sees them. Their C++ types are declared elsewhere (FVector
// is a template, the others carry no GENERATED_BODY()), so, as in the engine, this header is read
// and never compiled: the compiler skips the block below, the header tool keeps it (an unknown
// name in #if counts as 0) and registers each struct through TBaseStructure<>.
#pragma once

#include "CoreMinimal.h"
#include "Math/Color.h"
#include "Math/Vector.h"
#include "Misc/Guid.h"
#include "UObject/SoftObjectPath.h"

#if !CPP

// A point or direction in 3D space: the template instance TVector<double>.
USTRUCT(immutable, noexport)
struct FVector
{
	UPROPERTY(EditAnywhere, Category = Vector)
	double X;

	UPROPERTY(EditAnywhere, Category = Vector)
	double Y;

	UPROPERTY(EditAnywhere, Category = Vector)
	double Z;
};

USTRUCT(immutable, noexport)
struct FLinearColor
{
	UPROPERTY(EditAnywhere, Category = LinearColor)
	float R;

	UPROPERTY(EditAnywhere, Category = LinearColor)
	float G;

	UPROPERTY(EditAnywhere, Category = LinearColor)
	float B;

	UPROPERTY(EditAnywhere, Category = LinearColor)
	float A;
};

// Declared in memory order, which is also the order the engine writes them.
USTRUCT(immutable, noexport)
struct FColor
{
	UPROPERTY(EditAnywhere, Category = Color)
	uint8 B;

	UPROPERTY(EditAnywhere, Category = Color)
	uint8 G;

	UPROPERTY(EditAnywhere, Category = Color)
	uint8 R;

	UPROPERTY(EditAnywhere, Category = Color)
	uint8 A;
};

USTRUCT(immutable, noexport)
struct FGuid
{
	UPROPERTY(EditAnywhere, Category = Guid)
	uint32 A;

	UPROPERTY(EditAnywhere, Category = Guid)
	uint32 B;

	UPROPERTY(EditAnywhere, Category = Guid)
	uint32 C;

	UPROPERTY(EditAnywhere, Category = Guid)
	uint32 D;
};

// Held as text ("/Game/Maps/Entry.Entry"): the host keeps no members of its own here.
USTRUCT(noexport)
struct FSoftObjectPath
{
};

USTRUCT(noexport)
struct FSoftClassPath : public FSoftObjectPath
{
};

#endif
