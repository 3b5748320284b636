#pragma once
// Handlers for @ functions that map numbers to a number. The function itself
// is a plain function of doubles (a string argument arrives as 0); it answers
// nothing for a domain error, a division by zero or a series that does not
// converge, and the handler turns that into ERR.
#include <cmath>
#include <cstddef>
#include <optional>
#include <utility>

#include "formula/function_support.h"

namespace zt {

using NumberResult = std::optional<double>;

// a / b; a division by zero has no answer.
inline NumberResult Quotient(double a, double b)
{
    if (b == 0)
        return {};
    return a / b;
}

// Replaces the top n arguments by r. No answer, or one that is not finite
// (an overflow), becomes ERR here, deliberately, so that the rest of the
// formula still runs and @ISERR can see it. An argument that is ERR makes
// the result ERR unless keepErrors is false (for a function that judges its
// arguments itself). A negative zero is stored as 0.
inline void ResultOrError(EvalMachine& m, int n, NumberResult r, bool keepErrors = true)
{
    if (r)
        ResultFinite(m, n, *r, keepErrors);
    else
        ResultError(m, n);
}

template <class... A>
constexpr std::size_t Arity(NumberResult (*)(A...))
{
    return sizeof...(A);
}

template <class... A, std::size_t... I>
void ApplyToArguments(EvalMachine& m, NumberResult (*f)(A...), std::index_sequence<I...>)
{
    constexpr int n = sizeof...(A);
    if constexpr (n == 0) {
        // A function without arguments pushes its result.
        if (m.Push())
            ResultOrError(m, 1, f());
    } else {
        ResultOrError(m, n, f(m.Arg(n - 1 - static_cast<int>(I)).Value...));
    }
}

// The handler of F, a function of as many numbers as it has parameters,
// given in the order they are typed.
template <auto F>
void NumericHandler(EvalMachine& m)
{
    ApplyToArguments(m, F, std::make_index_sequence<Arity(F)>{});
}

}  // namespace zt
