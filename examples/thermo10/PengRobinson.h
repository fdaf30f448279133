// Peng-Robinson equation of state (1976) with van der Waals one-fluid mixing
// rules; every binary interaction parameter is zero. Fugacity coefficients and their derivatives are
// analytic, written with the reduced residual Helmholtz energy F(T, V, n) of Michelsen and Mollerup
// ("Thermodynamic Models: Fundamentals and Computational Aspects").
#pragma once

#include "ThermoModel.h"

// The critical point of the cubic itself (a triple root), exact rather than
// the rounded 0.45724 and 0.07780 the parameters use: there
// a / (b R T) = PengRobinsonCriticalRatio, b P / (R T) = PengRobinsonCriticalB
// and V = PengRobinsonCriticalVolumeRatio b.
constexpr double PengRobinsonCriticalRatio = 5.877359948604404;
constexpr double PengRobinsonCriticalB = 0.07779607390388843;
constexpr double PengRobinsonCriticalVolumeRatio = 3.951373035591443;

// Phase naming: a state is "Vapor" when it is above the pseudo-critical
// temperature of its composition (a / (b R T) at or below the critical ratio,
// where the cubic has one root at every pressure: a supercritical fluid is
// called vapour), or else when its volume exceeds the pseudo-critical volume
// (3.95 b). Below the pseudo-critical temperature that splits the roots
// exactly as "largest root is vapour, smallest is liquid" does, since the
// spinodal volumes lie on either side of it.
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
