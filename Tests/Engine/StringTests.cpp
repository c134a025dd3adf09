#include "CoreMinimal.h"

#include <gtest/gtest.h>

TEST(EngineString, ComparisonOperatorsIgnoreCaseButEqualsDoesNot)
{
	const FString A(TEXT("RendererSettings"));
	const FString B(TEXT("renderersettings"));
	EXPECT_TRUE(A == B);
	EXPECT_FALSE(A.Equals(B));
	EXPECT_TRUE(A.Equals(B, ESearchCase::IgnoreCase));
	EXPECT_NE(A.Compare(B), 0);
	EXPECT_FALSE(A < B);
	EXPECT_FALSE(B < A);
}
