// Peng-Robinson equation of state (1976) with van der Waals one-fluid mixing
// rules. Fugacity coefficients and their derivatives are analytic, written
// with the reduced residual Helmholtz energy F(T, V, n) of Michelsen and
// Mollerup ("Thermodynamic Models: Fundamentals and Computational Aspects").
#pragma once

#include "ThermoModel.h"

class PengRobinson : public ThermoModel {
public:
    explicit PengRobinson(std::vector<const CompoundData *> list);
    void Evaluate(double T, double P, const double *x, PhaseKind kind, unsigned request,
                  PhaseState &out) const override;
    // Binary interaction parameter of compounds i and j (symmetric, 0 unless set).
    double Kij(std::size_t i, std::size_t j) const { return kij[i * Size() + j]; }
    void SetKij(std::size_t i, std::size_t j, double value);

private:
    std::vector<double> acrit;  // 0.45724 R^2 Tc^2 / Pc
    std::vector<double> b;      // 0.07780 R Tc / Pc
    std::vector<double> kappa;
    std::vector<double> sqrtTc;
    std::vector<double> kij;
    // Working storage, kept between calls.
    mutable std::vector<double> m, dm, d2m, aij, daij, d2aij, Di, DiT, Pn;
};
