#include "formula/matrix_measures.h"

#include <cmath>
#include <utility>

namespace zt {

namespace {

void SwapRows(std::vector<double>& a, int cols, int r1, int r2)
{
    for (int c = 0; c < cols; ++c)
        std::swap(a[r1 * cols + c], a[r2 * cols + c]);
}

// The row at or below `from` with the largest magnitude in column `col`.
int PivotRow(const std::vector<double>& a, int rows, int cols, int from, int col)
{
    int best = from;
    for (int r = from + 1; r < rows; ++r)
        if (std::fabs(a[r * cols + col]) > std::fabs(a[best * cols + col]))
            best = r;
    return best;
}

// Subtracts multiples of the pivot row from every row below it, clearing
// the pivot column there.
void EliminateBelow(std::vector<double>& a, int rows, int cols, int pivotRow, int col)
{
    const double pivot = a[pivotRow * cols + col];
    for (int r = pivotRow + 1; r < rows; ++r) {
        double factor = a[r * cols + col] / pivot;
        if (factor == 0)
            continue;
        for (int c = col; c < cols; ++c)
            a[r * cols + c] -= factor * a[pivotRow * cols + c];
    }
}

}  // namespace

double Determinant(std::vector<double>& a, int n)
{
    double det = 1;
    for (int k = 0; k < n; ++k) {
        int p = PivotRow(a, n, n, k, k);
        if (a[p * n + k] == 0)
            return 0;
        if (p != k) {
            SwapRows(a, n, p, k);
            det = -det;
        }
        det *= a[k * n + k];
        EliminateBelow(a, n, n, k, k);
    }
    return det;
}

int MatrixRank(std::vector<double>& a, int rows, int cols, double epsilon)
{
    int rank = 0;
    for (int col = 0; col < cols && rank < rows; ++col) {
        int p = PivotRow(a, rows, cols, rank, col);
        if (!(std::fabs(a[p * cols + col]) > epsilon))
            continue;
        SwapRows(a, cols, p, rank);
        EliminateBelow(a, rows, cols, rank, col);
        ++rank;
    }
    return rank;
}

}  // namespace zt
