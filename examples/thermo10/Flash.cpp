#include "Flash.h"

#include <algorithm>
#include <cmath>

#include "LinearSolve.h"

namespace {

const int SubstitutionSteps = 30;
const int NewtonSteps = 80;

bool ValidFeed(const std::vector<double> &z, std::size_t n, std::wstring &error)
{
    if (z.size() != n) {
        error = L"The composition does not match the number of compounds";
        return false;
    }
    double sum = 0;
    for (double value : z) {
        if (!(value >= 0) || !std::isfinite(value)) {
            error = L"The composition holds a negative or invalid mole fraction";
            return false;
        }
        sum += value;
    }
    if (std::fabs(sum - 1) > 1e-6) {
        error = L"The mole fractions do not sum to 1";
        return false;
    }
    return true;
}

bool Positive(double value)
{
    return value > 0 && std::isfinite(value);
}

std::size_t PresentCount(const std::vector<double> &z)
{
    return static_cast<std::size_t>(std::count_if(z.begin(), z.end(), [](double value) { return value > 0; }));
}

}  // namespace

double Flash::RachfordRice(const std::vector<double> &z, const std::vector<double> &logK)
{
    double Kmin = INFINITY, Kmax = 0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        if (z[i] <= 0) continue;
        double k = std::exp(logK[i]);
        Kmin = std::min(Kmin, k);
        Kmax = std::max(Kmax, k);
    }
    if (Kmax <= 1) return -1;  // all liquid
    if (Kmin >= 1) return 2;   // all vapour
    // f(beta) = sum z (K-1) / (1 + beta (K-1)) falls monotonically between its poles.
    double lo = 1 / (1 - Kmax), hi = 1 / (1 - Kmin);
    double beta = std::clamp(0.5, lo, hi);
    if (beta == lo || beta == hi) beta = 0.5 * (lo + hi);
    for (int iteration = 0; iteration < 200; ++iteration) {
        double f = 0, df = 0;
        for (std::size_t i = 0; i < z.size(); ++i) {
            if (z[i] <= 0) continue;
            double km1 = std::exp(logK[i]) - 1;
            double denominator = 1 + beta * km1;
            f += z[i] * km1 / denominator;
            df -= z[i] * km1 * km1 / (denominator * denominator);
        }
        if (f > 0)
            lo = beta;
        else
            hi = beta;
        double next = (df < 0) ? beta - f / df : 0.5 * (lo + hi);
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        if (std::fabs(next - beta) < 1e-15 * std::max(1.0, std::fabs(beta))) return next;
        beta = next;
    }
    return beta;
}

// Newton steps on the Gibbs energy G/RT = sum v (ln y + ln phiV) + l (ln x + ln phiL)
// in the vapour mole numbers v (l = z - v), from the v and l held on entry. Every
// step keeps 0 < v < z and lowers G, so it cannot fall back onto the feed. Both v
// and l are kept: the smaller of the two is the one stepped, so that a compound
// almost wholly in one phase keeps its trace in the other to full precision.
bool Flash::MinimizeGibbs(double T, double P, const std::vector<double> &z)
{
    const std::size_t n = z.size();
    x.resize(n);
    y.resize(n);
    auto evaluate = [&](const std::vector<double> &moles, const std::vector<double> &rest, unsigned request) {
        double beta = 0, liquidTotal = 0;
        for (std::size_t i = 0; i < n; ++i) {
            beta += moles[i];
            liquidTotal += rest[i];
        }
        for (std::size_t i = 0; i < n; ++i) {
            y[i] = moles[i] / beta;
            x[i] = rest[i] / liquidTotal;
        }
        model.Evaluate(T, P, x.data(), PhaseKind::Liquid, request, liquid);
        model.Evaluate(T, P, y.data(), PhaseKind::Vapor, request, vapor);
        double G = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (z[i] <= 0) continue;
            G += moles[i] * (std::log(y[i]) + vapor.lnPhi[i]) + rest[i] * (std::log(x[i]) + liquid.lnPhi[i]);
        }
        return G;
    };
    gradient.resize(n);
    hessian.resize(n * n);
    trialV.resize(n);
    trialL.resize(n);
    double G = evaluate(v, l, RequestDerivatives);
    for (int iteration = 0; iteration < NewtonSteps; ++iteration) {
        double beta = 0, liquidTotal = 0, largest = 0;
        for (std::size_t i = 0; i < n; ++i) {
            beta += v[i];
            liquidTotal += l[i];
        }
        for (std::size_t i = 0; i < n; ++i) {
            gradient[i] = z[i] > 0 ? std::log(y[i]) + vapor.lnPhi[i] - std::log(x[i]) - liquid.lnPhi[i] : 0.0;
            largest = std::max(largest, std::fabs(gradient[i]));
        }
        if (largest < 1e-11) return true;
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < n; ++j) {
                double h = 0;
                if (z[i] > 0 && z[j] > 0)
                    h = ((i == j ? 1 / y[i] : 0.0) - 1 + vapor.lnPhiDn[i * n + j]) / beta +
                        ((i == j ? 1 / x[i] : 0.0) - 1 + liquid.lnPhiDn[i * n + j]) / liquidTotal;
                hessian[i * n + j] = (z[i] > 0 && z[j] > 0) ? h : (i == j ? 1.0 : 0.0);
            }
        }
        SolveNewtonStep(hessian, gradient, step, n);
        // Stay inside the box: at most 90% of the way to either wall.
        double length = 1;
        for (std::size_t i = 0; i < n; ++i) {
            if (z[i] <= 0) continue;
            if (step[i] < 0) length = std::min(length, -0.9 * v[i] / step[i]);
            if (step[i] > 0) length = std::min(length, 0.9 * l[i] / step[i]);
        }
        bool accepted = false, tiny = true;
        for (int halving = 0; halving < 40 && !accepted; ++halving, length *= 0.5) {
            for (std::size_t i = 0; i < n; ++i) {
                double change = z[i] > 0 ? length * step[i] : 0.0;
                tiny = tiny && std::fabs(change) <= 1e-14 * std::min(v[i], l[i]);
                if (v[i] < l[i]) {
                    trialV[i] = v[i] + change;
                    trialL[i] = z[i] - trialV[i];
                } else {
                    trialL[i] = l[i] - change;
                    trialV[i] = z[i] - trialL[i];
                }
            }
            double trialG = evaluate(trialV, trialL, RequestDerivatives);
            if (trialG <= G + 1e-14 * std::fabs(G)) {
                v.swap(trialV);
                l.swap(trialL);
                G = trialG;
                accepted = true;
            }
        }
        // Stuck in round-off just short of the minimum.
        if (!accepted || tiny) {
            evaluate(v, l, RequestDerivatives);
            return largest < 1e-8;
        }
    }
    return false;
}

Flash::SplitOutcome Flash::Split(double T, double P, const std::vector<double> &z,
                                 const std::vector<double> &trial, FlashResult &result)
{
    const std::size_t n = z.size();
    // The stationary point is the incipient phase; the feed the other one.
    model.Evaluate(T, P, trial.data(), PhaseKind::Stable, 0, vapor);
    model.Evaluate(T, P, z.data(), PhaseKind::Stable, 0, liquid);
    // Which of the two is the vapour: the model's names where they differ, else the lighter.
    bool vaporLike = vapor.vaporLike, feedVaporLike = liquid.vaporLike;
    bool trialIsVapor = vaporLike != feedVaporLike ? vaporLike : vapor.volume > liquid.volume;
    lnK.resize(n);
    for (std::size_t i = 0; i < n; ++i)
        lnK[i] = z[i] > 0 ? (trialIsVapor ? 1 : -1) * (std::log(trial[i]) - std::log(z[i])) : 0.0;

    x.resize(n);
    y.resize(n);
    v.resize(n);
    l.resize(n);
    // Substitution may pass through vapour fractions outside 0..1 (a negative
    // flash: near a bubble or dew point the first ones are), as long as the
    // K-values straddle 1.
    bool inside = false;
    for (int iteration = 0; iteration < SubstitutionSteps; ++iteration) {
        double beta = RachfordRice(z, lnK);
        if (beta == -1 || beta == 2) break;
        inside = beta > 0 && beta < 1;
        for (std::size_t i = 0; i < n; ++i) {
            double k = std::exp(lnK[i]);
            x[i] = z[i] / (1 + beta * (k - 1));
            y[i] = k * x[i];
            v[i] = beta * y[i];
            l[i] = (1 - beta) * x[i];
        }
        model.Evaluate(T, P, x.data(), PhaseKind::Liquid, 0, liquid);
        model.Evaluate(T, P, y.data(), PhaseKind::Vapor, 0, vapor);
        double change = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (z[i] <= 0) continue;
            double next = liquid.lnPhi[i] - vapor.lnPhi[i];
            change = std::max(change, std::fabs(next - lnK[i]));
            lnK[i] = next;
        }
        if (change < 1e-9) break;
    }
    if (!inside) {
        // A little of the stationary phase beside the rest of the feed: since
        // it lies below the tangent plane this already has less Gibbs energy.
        double beta = 1;
        for (std::size_t i = 0; i < n; ++i)
            if (z[i] > 0) beta = std::min(beta, z[i] / trial[i]);
        beta *= 1e-3;
        for (std::size_t i = 0; i < n; ++i) {
            v[i] = z[i] > 0 ? beta * trial[i] : 0.0;
            l[i] = z[i] - v[i];
        }
        if (!trialIsVapor) v.swap(l);
    }
    // The vapour is held on its largest volume root: when the second phase is
    // a liquid too, the Gibbs energy only falls by letting the vapour vanish.
    if (!MinimizeGibbs(T, P, z))
        return !vaporLike && !feedVaporLike ? SplitOutcome::LiquidLiquid : SplitOutcome::Failed;

    double beta = 0;
    for (double moles : v) beta += moles;
    // The trivial solution: both phases alike in composition and density.
    double gap = 0;
    for (std::size_t i = 0; i < n; ++i) gap = std::max(gap, std::fabs(x[i] - y[i]));
    if (gap < 1e-7 && std::fabs(vapor.volume - liquid.volume) < 1e-6 * liquid.volume) return SplitOutcome::Trivial;
    result.temperature = T;
    result.pressure = P;
    result.hasVapor = result.hasLiquid = true;
    // Two phases that the model's rule both names liquid are two liquids (a
    // vapour near a critical point is above its pseudo-critical temperature).
    if (!vapor.vaporLike && !liquid.vaporLike) return SplitOutcome::LiquidLiquid;
    bool swapped = vapor.vaporLike != liquid.vaporLike ? liquid.vaporLike : vapor.volume < liquid.volume;
    if (!swapped) {
        result.vaporFraction = beta;
        result.x = x;
        result.y = y;
    } else {  // one volume root each and the "vapour" came out as the liquid
        result.vaporFraction = 1 - beta;
        result.x = y;
        result.y = x;
    }
    return SplitOutcome::Done;
}

void Flash::SinglePhase(double T, double P, const std::vector<double> &z, FlashResult &result)
{
    model.Evaluate(T, P, z.data(), PhaseKind::Stable, 0, state);
    result.temperature = T;
    result.pressure = P;
    result.hasVapor = state.vaporLike;
    result.hasLiquid = !state.vaporLike;
    result.vaporFraction = state.vaporLike ? 1 : 0;
    result.x = z;
    result.y = z;
}

bool Flash::TP(double T, double P, const std::vector<double> &z, FlashResult &result, std::wstring &error)
{
    if (!Positive(T) || !Positive(P)) {
        error = L"Temperature and pressure must be positive";
        return false;
    }
    if (!ValidFeed(z, model.Size(), error)) return false;
    // A pure compound is one phase except exactly at its vapour pressure.
    if (PresentCount(z) < 2) {
        SinglePhase(T, P, z, result);
        return true;
    }
    wilson.resize(z.size());
    for (std::size_t i = 0; i < z.size(); ++i) {
        const CompoundData &c = model.Compound(i);
        wilson[i] = std::log(c.criticalPressure / P) + 5.373 * (1 + c.acentricFactor) * (1 - c.criticalTemperature / T);
    }
    if (!tangent.Unstable(T, P, z, PhaseKind::Stable, wilson)) {
        SinglePhase(T, P, z, result);
        return true;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        switch (Split(T, P, z, tangent.Trial(), candidate)) {
        case SplitOutcome::Done: break;
        case SplitOutcome::Trivial:  // unstable by a hair only, at a critical point
            SinglePhase(T, P, z, result);
            return true;
        case SplitOutcome::LiquidLiquid:
            error = L"The liquid splits into two liquid phases, which this package does not model";
            return false;
        case SplitOutcome::Failed:
            error = L"The two-phase split did not converge at these conditions";
            return false;
        }
        // Both phases must be stable too; otherwise a third phase would form,
        // or the split started from the wrong stationary point: try once more from the new one.
        if (!tangent.Unstable(T, P, candidate.x, PhaseKind::Liquid, wilson) &&
            !tangent.Unstable(T, P, candidate.y, PhaseKind::Vapor, wilson)) {
            result = candidate;
            return true;
        }
    }
    error = L"Three phases at equilibrium: this package models one vapour and one liquid phase only";
    return false;
}

double Flash::MixtureProperty(const FlashResult &r, bool entropy)
{
    auto property = [&](const std::vector<double> &composition, PhaseKind kind) {
        model.Evaluate(r.temperature, r.pressure, composition.data(), kind, RequestCaloric, state);
        return entropy ? state.entropy : state.enthalpy;
    };
    if (!(r.hasVapor && r.hasLiquid)) return property(r.hasVapor ? r.y : r.x, PhaseKind::Stable);
    return r.vaporFraction * property(r.y, PhaseKind::Vapor) +
           (1 - r.vaporFraction) * property(r.x, PhaseKind::Liquid);
}

double Flash::Enthalpy(const FlashResult &r) { return MixtureProperty(r, false); }
double Flash::Entropy(const FlashResult &r) { return MixtureProperty(r, true); }
