#include "TangentPlane.h"

#include <cmath>

#include "LinearSolve.h"

namespace {

const int SubstitutionSteps = 40;
const int NewtonSteps = 60;

}  // namespace

bool TangentPlane::Unstable(double T, double P, const std::vector<double> &z, PhaseKind kind,
                            const std::vector<double> &lnK)
{
    const std::size_t n = z.size();
    model.Evaluate(T, P, z.data(), kind, 0, feed);
    d.resize(n);
    for (std::size_t i = 0; i < n; ++i) d[i] = z[i] > 0 ? std::log(z[i]) + feed.lnPhi[i] : 0.0;
    bestDistance = -Tolerance;
    bool found = false;
    lnW.resize(n);
    // Trials: Wilson vapour, Wilson liquid, then (only while none has shown
    // the feed unstable) each compound nearly pure, which finds the incipient
    // phases Wilson misses, such as water condensing from a hydrocarbon vapour.
    for (std::size_t trial = 0; trial < n + 2; ++trial) {
        if (trial >= 2 && (found || z[trial - 2] <= 0)) continue;
        for (std::size_t i = 0; i < n; ++i) {
            if (z[i] <= 0)
                lnW[i] = -INFINITY;
            else if (trial < 2)
                lnW[i] = std::log(z[i]) + (trial == 0 ? lnK[i] : -lnK[i]);
            else
                lnW[i] = i == trial - 2 ? 0.0 : std::log(1e-3 * z[i]);
        }
        double distance;
        if (!Stationary(T, P, z, distance) || !(distance < bestDistance)) continue;
        bestDistance = distance;
        double sum = 0;
        for (std::size_t i = 0; i < n; ++i) sum += std::exp(lnW[i]);
        best.resize(n);
        for (std::size_t i = 0; i < n; ++i) best[i] = std::exp(lnW[i]) / sum;
        found = true;
    }
    return found;
}

bool TangentPlane::Stationary(double T, double P, const std::vector<double> &z, double &distance)
{
    const std::size_t n = z.size();
    w.resize(n);
    auto evaluate = [&](const std::vector<double> &logW, unsigned request) {
        double sum = 0;
        for (std::size_t i = 0; i < n; ++i) sum += z[i] > 0 ? std::exp(logW[i]) : 0.0;
        for (std::size_t i = 0; i < n; ++i) w[i] = z[i] > 0 ? std::exp(logW[i]) / sum : 0.0;
        model.Evaluate(T, P, w.data(), PhaseKind::Stable, request, state);
        return sum;
    };
    // Collapsing onto z (same composition and the same volume root) is the trivial solution.
    auto trivial = [&]() {
        double gap = 0;
        for (std::size_t i = 0; i < n; ++i)
            if (z[i] > 0) gap += (w[i] - z[i]) * (w[i] - z[i]);
        return gap < 1e-12 && std::fabs(state.volume - feed.volume) <= 1e-6 * feed.volume;
    };
    // The reduced distance at any W (equals 1 - sum W at a stationary point).
    auto reducedDistance = [&](const std::vector<double> &logW) {
        double tm = 1;
        for (std::size_t i = 0; i < n; ++i)
            if (z[i] > 0) tm += std::exp(logW[i]) * (logW[i] + state.lnPhi[i] - d[i] - 1);
        return tm;
    };

    for (int iteration = 0; iteration < SubstitutionSteps; ++iteration) {
        evaluate(lnW, 0);
        double change = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (z[i] <= 0) continue;
            double next = d[i] - state.lnPhi[i];
            change = std::fmax(change, std::fabs(next - lnW[i]));
            lnW[i] = next;
        }
        if (trivial()) return false;
        if (change < 1e-11) {
            double sum = evaluate(lnW, 0);
            distance = 1 - sum;
            return !trivial();
        }
    }

    // Newton in a_i = 2 sqrt(W_i): gradient sqrt(W_i) (ln W_i + ln phi_i - d_i),
    // Hessian I + sqrt(W_i W_j) d ln phi_i / d W_j; tm must fall at every step.
    gradient.resize(n);
    hessian.resize(n * n);
    alpha.resize(n);
    trialLnW.resize(n);
    double sum = evaluate(lnW, RequestDerivatives);
    double tm = reducedDistance(lnW);
    for (int iteration = 0; iteration < NewtonSteps; ++iteration) {
        double largest = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (z[i] <= 0) {
                gradient[i] = 0;
                continue;
            }
            double residual = lnW[i] + state.lnPhi[i] - d[i];
            gradient[i] = std::exp(0.5 * lnW[i]) * residual;
            largest = std::fmax(largest, std::fabs(residual));
        }
        if (largest < 1e-11) {
            distance = 1 - sum;
            return !trivial();
        }
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < n; ++j) {
                double h = 0;
                if (z[i] > 0 && z[j] > 0)
                    h = std::exp(0.5 * (lnW[i] + lnW[j])) * state.lnPhiDn[i * n + j] / sum;
                hessian[i * n + j] = h + (i == j ? 1.0 : 0.0);
            }
        }
        SolveNewtonStep(hessian, gradient, step, n);
        for (std::size_t i = 0; i < n; ++i) alpha[i] = 2 * std::exp(0.5 * lnW[i]);
        double length = 1;
        bool accepted = false;
        for (int halving = 0; halving < 30 && !accepted; ++halving, length *= 0.5) {
            for (std::size_t i = 0; i < n; ++i) {
                if (z[i] <= 0) {
                    trialLnW[i] = -INFINITY;
                    continue;
                }
                double a = std::fmax(alpha[i] + length * step[i], 1e-3 * alpha[i]);
                trialLnW[i] = 2 * std::log(0.5 * a);
            }
            double trialSum = evaluate(trialLnW, RequestDerivatives);
            double trialTm = reducedDistance(trialLnW);
            if (trialTm <= tm + 1e-14 * std::fabs(tm)) {
                lnW.swap(trialLnW);
                sum = trialSum;
                tm = trialTm;
                accepted = true;
            }
        }
        if (!accepted || trivial()) return false;
    }
    return false;
}
