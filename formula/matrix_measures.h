#pragma once
// Measures of a matrix held row by row in a flat vector.
#include <vector>

namespace zt {

// The determinant of an n × n matrix by Gaussian elimination with partial
// pivoting; a vanishing pivot column gives 0. The matrix is overwritten.
double Determinant(std::vector<double>& a, int n);

// The rank of a rows × cols matrix: the number of elimination pivots whose
// magnitude exceeds `epsilon`. The matrix is overwritten.
int MatrixRank(std::vector<double>& a, int rows, int cols, double epsilon);

}  // namespace zt
