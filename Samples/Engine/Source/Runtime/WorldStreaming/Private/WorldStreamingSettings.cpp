// Copyright of this repository's authors.

#include "WorldStreamingSettings.h"

UWorldStreamingSettings::UWorldStreamingSettings(const FObjectInitializer& ObjectInitializer)
	: Super(ObjectInitializer)
	, bEnableAsyncStreaming(true)
	, bBlockOnSlowStreaming(false)
{
}

FName UWorldStreamingSettings::GetCategoryName() const
{
	return TEXT("Engine");
}
