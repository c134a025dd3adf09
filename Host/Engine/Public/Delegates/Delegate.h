// TDelegate: a single-cast callable bound with CreateStatic, CreateLambda or CreateRaw.
#pragma once

#include "CoreTypes.h"

#include <functional>
#include <type_traits>
#include <utility>

template<typename FuncType, typename UserPolicy = void>
class TDelegate;

template<typename RetType, typename... ParamTypes, typename UserPolicy>
class TDelegate<RetType(ParamTypes...), UserPolicy>
{
public:
	TDelegate() = default;

	static TDelegate CreateStatic(RetType (*Function)(ParamTypes...))
	{
		TDelegate Result;
		Result.Function = Function;
		return Result;
	}

	template<typename FunctorType>
	static TDelegate CreateLambda(FunctorType&& Functor)
	{
		TDelegate Result;
		Result.Function = std::forward<FunctorType>(Functor);
		return Result;
	}

	template<typename UserClass>
	static TDelegate CreateRaw(UserClass* Object, RetType (UserClass::*Method)(ParamTypes...))
	{
		TDelegate Result;
		Result.Function = [Object, Method](ParamTypes... Params) { return (Object->*Method)(std::forward<ParamTypes>(Params)...); };
		return Result;
	}

	void BindStatic(RetType (*InFunction)(ParamTypes...)) { Function = InFunction; }
	template<typename FunctorType>
	void BindLambda(FunctorType&& Functor) { Function = std::forward<FunctorType>(Functor); }
	void Unbind() { Function = nullptr; }

	bool IsBound() const { return static_cast<bool>(Function); }
	RetType Execute(ParamTypes... Params) const { check(IsBound()); return Function(std::forward<ParamTypes>(Params)...); }
	bool ExecuteIfBound(ParamTypes... Params) const
		requires std::is_void_v<RetType>
	{
		if (IsBound())
		{
			Function(std::forward<ParamTypes>(Params)...);
			return true;
		}
		return false;
	}

private:
	std::function<RetType(ParamTypes...)> Function;
};

#define DECLARE_DELEGATE(DelegateName) typedef TDelegate<void()> DelegateName;
#define DECLARE_DELEGATE_OneParam(DelegateName, Param1Type) typedef TDelegate<void(Param1Type)> DelegateName;
#define DECLARE_DELEGATE_TwoParams(DelegateName, Param1Type, Param2Type) typedef TDelegate<void(Param1Type, Param2Type)> DelegateName;
#define DECLARE_DELEGATE_RetVal(RetValType, DelegateName) typedef TDelegate<RetValType()> DelegateName;
#define DECLARE_DELEGATE_RetVal_OneParam(RetValType, DelegateName, Param1Type) typedef TDelegate<RetValType(Param1Type)> DelegateName;
#define DECLARE_DELEGATE_RetVal_TwoParams(RetValType, DelegateName, Param1Type, Param2Type) typedef TDelegate<RetValType(Param1Type, Param2Type)> DelegateName;
