#pragma once
// Bessel functions of integer order n: J and Y of the first and second kind,
// I and K their modified forms. Each answers nothing outside its domain
// (x <= 0 for Y and K) and when the value is beyond the double range.
#include <optional>

namespace zt {

std::optional<double> BesselJ(double x, int n);
std::optional<double> BesselY(double x, int n);
std::optional<double> BesselI(double x, int n);
std::optional<double> BesselK(double x, int n);

}  // namespace zt
