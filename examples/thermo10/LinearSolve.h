// Small dense linear systems of the flash's Newton steps (row-major n x n).
#pragma once

#include <cstddef>
#include <vector>

// Solves H s = -g for a symmetric H by Cholesky; when H is not positive
// definite its diagonal is raised until it is, which turns a Newton step into
// a safe descent step.
void SolveNewtonStep(const std::vector<double> &H, const std::vector<double> &g, std::vector<double> &step,
                     std::size_t n);

// Solves J s = -F by Gaussian elimination with partial pivoting (J and F are
// overwritten); false when J is singular.
bool SolveLinear(std::vector<double> &J, std::vector<double> &F, std::vector<double> &step, std::size_t n);
