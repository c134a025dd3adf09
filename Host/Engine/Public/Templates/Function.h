// TFunction, TUniqueFunction and TFunctionRef. A TFunctionRef binds only callables whose
// signature fits, so overloads that differ in the callback's signature resolve as in the engine.
#pragma once

#include "CoreTypes.h"

#include <functional>
#include <memory>
#include <type_traits>
#include <utility>

template<typename FuncType>
class TFunctionRef;

template<typename Ret, typename... ParamTypes>
class TFunctionRef<Ret(ParamTypes...)>
{
public:
	template<typename FunctorType>
		requires (!std::is_same_v<std::decay_t<FunctorType>, TFunctionRef> && std::is_invocable_r_v<Ret, FunctorType&, ParamTypes...>)
	TFunctionRef(FunctorType&& Functor)
		: Callable(const_cast<void*>(static_cast<const void*>(std::addressof(Functor))))
		, Invoker(&Invoke<std::remove_reference_t<FunctorType>>)
	{
	}

	TFunctionRef(const TFunctionRef&) = default;

	Ret operator()(ParamTypes... Params) const
	{
		return Invoker(Callable, std::forward<ParamTypes>(Params)...);
	}

private:
	template<typename FunctorType>
	static Ret Invoke(void* Obj, ParamTypes... Params)
	{
		return std::invoke(*static_cast<FunctorType*>(Obj), std::forward<ParamTypes>(Params)...);
	}

	void* Callable;
	Ret (*Invoker)(void*, ParamTypes...);
};

template<typename FuncType>
class TFunction;

template<typename Ret, typename... ParamTypes>
class TFunction<Ret(ParamTypes...)>
{
public:
	TFunction() = default;
	TFunction(std::nullptr_t) {}
	template<typename FunctorType>
		requires (!std::is_same_v<std::decay_t<FunctorType>, TFunction> && std::is_invocable_r_v<Ret, FunctorType&, ParamTypes...>)
	TFunction(FunctorType&& Functor) : Function(std::forward<FunctorType>(Functor)) {}

	explicit operator bool() const { return static_cast<bool>(Function); }
	bool IsSet() const { return static_cast<bool>(Function); }
	Ret operator()(ParamTypes... Params) const { return Function(std::forward<ParamTypes>(Params)...); }
	void Reset() { Function = nullptr; }

private:
	std::function<Ret(ParamTypes...)> Function;
};

template<typename FuncType>
using TUniqueFunction = TFunction<FuncType>;
