// Michelsen's tangent-plane stability test: a phase of composition z is
// stable when no trial phase w lies below the tangent plane of the Gibbs
// energy at z, i.e. when the reduced distance
//   tm(W) = 1 + sum W_i (ln W_i + ln phi_i(w) - ln z_i - ln phi_i(z) - 1)
// is not negative at any stationary point (there tm = 1 - sum W).
// Stationary points are sought from a vapour-like and a liquid-like Wilson
// start (and, when neither shows instability, from each compound nearly pure),
// by successive substitution and then Newton steps in a_i = 2 sqrt(W_i)
// (Michelsen 1982, "The isothermal flash problem. Part I. Stability").
#pragma once

#include <vector>

#include "ThermoModel.h"

class TangentPlane {
public:
    explicit TangentPlane(const ThermoModel &model) : model(model) {}

    // True when the phase (z in the state kind picks) is unstable; then
    // Trial() is the stationary point with the most negative distance.
    // lnK holds Wilson's ln K-values at T and P.
    bool Unstable(double T, double P, const std::vector<double> &z, PhaseKind kind,
                  const std::vector<double> &lnK);
    const std::vector<double> &Trial() const { return best; }
    double Distance() const { return bestDistance; }

    // Below this distance a stationary point counts as a second phase.
    static constexpr double Tolerance = 1e-10;

private:
    // Converges lnW from its start; false when it falls back on z (trivial).
    bool Stationary(double T, double P, const std::vector<double> &z, double &distance);

    const ThermoModel &model;
    PhaseState feed, state;
    std::vector<double> d, lnW, w, best, gradient, hessian, step, alpha, trialLnW;
    double bestDistance = 0;
};
