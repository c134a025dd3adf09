// Sets an environment variable for one test and puts the old value back.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>

class FScopedEnvironment
{
public:
	FScopedEnvironment(const char* InName, const char* Value)
		: Name(InName)
	{
		if (const char* Old = std::getenv(Name))
		{
			OldValue = Old;
		}
		if (Value)
		{
			setenv(Name, Value, 1);
		}
		else
		{
			unsetenv(Name);
		}
	}

	~FScopedEnvironment()
	{
		if (OldValue)
		{
			setenv(Name, OldValue->c_str(), 1);
		}
		else
		{
			unsetenv(Name);
		}
	}

	FScopedEnvironment(const FScopedEnvironment&) = delete;
	FScopedEnvironment& operator=(const FScopedEnvironment&) = delete;

private:
	const char* Name;
	std::optional<std::string> OldValue;
};
