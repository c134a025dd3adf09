#pragma once

enum class EAllowShrinking : unsigned char
{
	No,
	Yes,
	Default = Yes,
};
