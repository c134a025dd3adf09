// Cast<> between object classes: null when the object is not of the class asked for.
#pragma once

#include "UObject/Class.h"

template<class To, class From>
To* Cast(From* Src)
{
	return Src && Src->IsA(To::StaticClass()) ? static_cast<To*>(static_cast<UObject*>(Src)) : nullptr;
}

template<class To, class From>
const To* Cast(const From* Src)
{
	return Src && Src->IsA(To::StaticClass()) ? static_cast<const To*>(static_cast<const UObject*>(Src)) : nullptr;
}

template<class To, class From>
To* ExactCast(From* Src)
{
	return Src && Src->GetClass() == To::StaticClass() ? static_cast<To*>(static_cast<UObject*>(Src)) : nullptr;
}

template<class To, class From>
To* CastChecked(From* Src)
{
	To* Result = Cast<To>(Src);
	check(Result);
	return Result;
}

template<class To, class From>
const To* CastChecked(const From* Src)
{
	const To* Result = Cast<To>(Src);
	check(Result);
	return Result;
}
