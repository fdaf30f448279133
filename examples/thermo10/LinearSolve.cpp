#include "LinearSolve.h"

#include <cmath>
#include <utility>

namespace {

// In-place Cholesky of H + shift I (lower triangle); false when not positive definite.
bool Factor(std::vector<double> &L, const std::vector<double> &H, double shift, std::size_t n)
{
    for (std::size_t i = 0; i < n; ++i) {
        for (std::size_t j = 0; j <= i; ++j) {
            double sum = H[i * n + j] + (i == j ? shift : 0.0);
            for (std::size_t k = 0; k < j; ++k) sum -= L[i * n + k] * L[j * n + k];
            if (i == j) {
                if (!(sum > 0)) return false;
                L[i * n + i] = std::sqrt(sum);
            } else {
                L[i * n + j] = sum / L[j * n + j];
            }
        }
    }
    return true;
}

}  // namespace

void SolveNewtonStep(const std::vector<double> &H, const std::vector<double> &g, std::vector<double> &step,
                     std::size_t n)
{
    // A plain local: with a thread_local here, every thread that flashed hung
    // at its exit, where the DLL runs such destructors.
    std::vector<double> L(n * n, 0.0);
    double scale = 0;
    for (std::size_t i = 0; i < n; ++i) scale = std::fmax(scale, std::fabs(H[i * n + i]));
    double shift = 0;
    while (!Factor(L, H, shift, n)) shift = shift == 0 ? 1e-10 * (scale + 1) : 10 * shift;
    step.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        double sum = -g[i];
        for (std::size_t k = 0; k < i; ++k) sum -= L[i * n + k] * step[k];
        step[i] = sum / L[i * n + i];
    }
    for (std::size_t i = n; i-- > 0;) {
        double sum = step[i];
        for (std::size_t k = i + 1; k < n; ++k) sum -= L[k * n + i] * step[k];
        step[i] = sum / L[i * n + i];
    }
}

bool SolveLinear(std::vector<double> &J, std::vector<double> &F, std::vector<double> &step, std::size_t n)
{
    for (std::size_t column = 0; column < n; ++column) {
        std::size_t pivot = column;
        for (std::size_t row = column + 1; row < n; ++row)
            if (std::fabs(J[row * n + column]) > std::fabs(J[pivot * n + column])) pivot = row;
        if (J[pivot * n + column] == 0) return false;
        if (pivot != column) {
            for (std::size_t k = 0; k < n; ++k) std::swap(J[pivot * n + k], J[column * n + k]);
            std::swap(F[pivot], F[column]);
        }
        for (std::size_t row = column + 1; row < n; ++row) {
            double factor = J[row * n + column] / J[column * n + column];
            for (std::size_t k = column; k < n; ++k) J[row * n + k] -= factor * J[column * n + k];
            F[row] -= factor * F[column];
        }
    }
    step.resize(n);
    for (std::size_t i = n; i-- > 0;) {
        double sum = -F[i];
        for (std::size_t k = i + 1; k < n; ++k) sum -= J[i * n + k] * step[k];
        step[i] = sum / J[i * n + i];
    }
    return true;
}
