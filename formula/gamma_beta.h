#pragma once
// The gamma and beta families behind the special @ functions. Each answers
// nothing for arguments outside its domain and when its series or continued
// fraction does not reach a relative accuracy of 3E-7 within 100 terms.
#include <optional>

namespace zt {

// ln Γ(x) for x > 0, by the Lanczos approximation.
std::optional<double> LogGamma(double x);

// The regularised incomplete gamma function P(a, x) and its complement
// Q = 1 - P, for a > 0 and x >= 0.
struct GammaPair {
    double P;
    double Q;
};
std::optional<GammaPair> IncompleteGamma(double a, double x);

// The regularised incomplete beta function I_x(a, b) for a, b > 0 and
// 0 <= x <= 1.
std::optional<double> IncompleteBeta(double a, double b, double x);

}  // namespace zt
