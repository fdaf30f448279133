// Peng-Robinson equation of state (1976) with van der Waals one-fluid mixing
// rules; every binary interaction parameter is zero. Fugacity coefficients and their derivatives are
// analytic, written with the reduced residual Helmholtz energy F(T, V, n) of Michelsen and Mollerup
// ("Thermodynamic Models: Fundamentals and Computational Aspects").
#pragma once

#include "ThermoModel.h"

class PengRobinson : public ThermoModel {
public:
    explicit PengRobinson(std::vector<const CompoundData *> list);
    void Evaluate(double T, double P, const double *x, PhaseKind kind, unsigned request,
                  PhaseState &out) const override;

private:
    std::vector<double> acrit;  // 0.45724 R^2 Tc^2 / Pc
    std::vector<double> b;      // 0.07780 R Tc / Pc
    std::vector<double> kappa;
    std::vector<double> sqrtTc;
    // Working storage, kept between calls.
    mutable std::vector<double> m, dm, d2m, aij, daij, d2aij, Di, DiT, Pn;
};
