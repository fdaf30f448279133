#include "Flash.h"

#include <algorithm>
#include <cmath>

namespace {

const double PressureLow = 1e-2;  // Pa, search range of the "TVF" flash
const double PressureHigh = 1e9;

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

}  // namespace

double Flash::RachfordRice(const std::vector<double> &z, const std::vector<double> &lnK)
{
    double Kmin = INFINITY, Kmax = 0;
    for (std::size_t i = 0; i < z.size(); ++i) {
        if (z[i] <= 0) continue;
        double k = std::exp(lnK[i]);
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
            double km1 = std::exp(lnK[i]) - 1;
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

bool Flash::StabilityTest(double T, double P, const std::vector<double> &z, std::vector<double> &lnK)
{
    const std::size_t n = z.size();
    model.Evaluate(T, P, z.data(), PhaseKind::Stable, 0, state);
    d.resize(n);
    for (std::size_t i = 0; i < n; ++i) d[i] = z[i] > 0 ? std::log(z[i]) + state.lnPhi[i] : -INFINITY;
    w.resize(n);
    lnW.resize(n);
    double bestSum = 1 + 1e-8;
    bestLnK.clear();
    for (int vaporTrial = 1; vaporTrial >= 0; --vaporTrial) {
        for (std::size_t i = 0; i < n; ++i)
            lnW[i] = z[i] > 0 ? std::log(z[i]) + (vaporTrial ? lnK[i] : -lnK[i]) : -INFINITY;
        double sum = 0;
        bool trivial = false;
        for (int iteration = 0; iteration < 300; ++iteration) {
            sum = 0;
            for (std::size_t i = 0; i < n; ++i) sum += std::exp(lnW[i]);
            for (std::size_t i = 0; i < n; ++i) w[i] = std::exp(lnW[i]) / sum;
            model.Evaluate(T, P, w.data(), PhaseKind::Stable, 0, trial);
            double change = 0, distance = 0;
            for (std::size_t i = 0; i < n; ++i) {
                if (z[i] <= 0) continue;
                double next = d[i] - trial.lnPhi[i];
                change += (next - lnW[i]) * (next - lnW[i]);
                distance += (std::log(w[i]) - std::log(z[i])) * (std::log(w[i]) - std::log(z[i]));
                lnW[i] = next;
            }
            if (distance < 1e-8) {
                trivial = true;
                break;
            }
            if (change < 1e-20) break;
        }
        if (trivial) continue;
        sum = 0;
        for (std::size_t i = 0; i < n; ++i) sum += std::exp(lnW[i]);
        // Tangent plane distance at the stationary point is 1 - sum W.
        if (sum > bestSum) {
            bestSum = sum;
            bestLnK.resize(n);
            for (std::size_t i = 0; i < n; ++i)
                bestLnK[i] =
                    z[i] > 0 ? (vaporTrial ? lnW[i] - std::log(z[i]) : std::log(z[i]) - lnW[i]) : lnK[i];
        }
    }
    if (bestLnK.empty()) return false;
    lnK = bestLnK;
    return true;
}

bool Flash::Split(double T, double P, const std::vector<double> &z, std::vector<double> &lnK,
                  FlashResult &result)
{
    const std::size_t n = z.size();
    x.resize(n);
    y.resize(n);
    double beta = 0, change = 1;
    for (int iteration = 0; iteration < 3000; ++iteration) {
        beta = RachfordRice(z, lnK);
        beta = std::clamp(beta, -1.0, 2.0);
        double sx = 0, sy = 0;
        for (std::size_t i = 0; i < n; ++i) {
            double k = std::exp(lnK[i]);
            double denominator = 1 + beta * (k - 1);
            x[i] = denominator > 0 ? z[i] / denominator : z[i];
            y[i] = k * x[i];
            sx += x[i];
            sy += y[i];
        }
        for (std::size_t i = 0; i < n; ++i) {
            x[i] /= sx;
            y[i] /= sy;
        }
        model.Evaluate(T, P, x.data(), PhaseKind::Liquid, 0, state);
        model.Evaluate(T, P, y.data(), PhaseKind::Vapor, 0, trial);
        change = 0;
        double size = 0;
        for (std::size_t i = 0; i < n; ++i) {
            double next = state.lnPhi[i] - trial.lnPhi[i];
            change += (next - lnK[i]) * (next - lnK[i]);
            size += next * next;
            lnK[i] = next;
        }
        if (size < 1e-8) return false;  // K -> 1: both phases the same
        if (change < 1e-22) break;
    }
    if (change > 1e-12) return false;
    beta = RachfordRice(z, lnK);
    if (!(beta > 0 && beta < 1)) return false;
    for (std::size_t i = 0; i < n; ++i) {
        double k = std::exp(lnK[i]);
        x[i] = z[i] / (1 + beta * (k - 1));
        y[i] = k * x[i];
    }
    result.temperature = T;
    result.pressure = P;
    result.vaporFraction = beta;
    result.hasVapor = result.hasLiquid = true;
    result.x = x;
    result.y = y;
    return true;
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
    // Wilson's K-values start the stability test.
    logK.resize(z.size());
    for (std::size_t i = 0; i < z.size(); ++i) {
        const CompoundData &c = model.Compound(i);
        logK[i] = std::log(c.criticalPressure / P) +
                  5.373 * (1 + c.acentricFactor) * (1 - c.criticalTemperature / T);
    }
    if (StabilityTest(T, P, z, logK) && Split(T, P, z, logK, result)) return true;
    SinglePhase(T, P, z, result);
    return true;
}

double Flash::PhaseProperty(double T, double P, const std::vector<double> &composition, PhaseKind kind,
                            bool entropy)
{
    model.Evaluate(T, P, composition.data(), kind, RequestCaloric, state);
    return entropy ? state.entropy : state.enthalpy;
}

// The molar enthalpy or entropy of the whole flashed mixture.
double Flash::MixtureProperty(const FlashResult &r, bool entropy)
{
    double value = 0;
    if (r.hasVapor)
        value += r.vaporFraction * PhaseProperty(r.temperature, r.pressure, r.y, PhaseKind::Vapor, entropy);
    if (r.hasLiquid)
        value += (1 - r.vaporFraction) * PhaseProperty(r.temperature, r.pressure, r.x, PhaseKind::Liquid, entropy);
    return value;
}

double Flash::Enthalpy(const FlashResult &r) { return MixtureProperty(r, false); }
double Flash::Entropy(const FlashResult &r) { return MixtureProperty(r, true); }

bool Flash::SolveTemperature(double P, double target, bool entropy, const std::vector<double> &z,
                             FlashResult &result, std::wstring &error)
{
    if (!Positive(P) || !std::isfinite(target)) {
        error = L"Pressure must be positive and the specified value finite";
        return false;
    }
    const wchar_t *what = entropy ? L"entropy" : L"enthalpy";
    FlashResult low, high;
    double lo = MinTemperature, hi = MaxTemperature;
    if (!TP(lo, P, z, low, error) || !TP(hi, P, z, high, error)) return false;
    double fLo = MixtureProperty(low, entropy) - target;
    double fHi = MixtureProperty(high, entropy) - target;
    if (fLo > 0 || fHi < 0) {
        error = std::wstring(L"The specified ") + what + L" is outside the range of 40 K to 1500 K";
        return false;
    }
    FlashResult middle;
    while (hi - lo > 1e-10 * hi) {
        double T = 0.5 * (lo + hi);
        if (!TP(T, P, z, middle, error)) return false;
        double f = MixtureProperty(middle, entropy) - target;
        if (f > 0) {
            hi = T;
            fHi = f;
            high = middle;
        } else {
            lo = T;
            fLo = f;
            low = middle;
        }
    }
    bool lowSingle = !(low.hasVapor && low.hasLiquid), highSingle = !(high.hasVapor && high.hasLiquid);
    double scale = entropy ? 1e-4 : 1e-2;
    if (lowSingle && highSingle && low.hasLiquid && high.hasVapor && fHi - fLo > scale) {
        // A pure compound (or an azeotrope) boils at one temperature: the
        // specified value lies on the jump, split by the lever rule.
        result = high;
        result.temperature = 0.5 * (lo + hi);
        result.hasLiquid = true;
        result.x = low.x;
        result.vaporFraction = -fLo / (fHi - fLo);
        return true;
    }
    result = (std::fabs(fHi) < std::fabs(fLo)) ? high : low;
    return true;
}

bool Flash::PH(double P, double H, const std::vector<double> &z, FlashResult &result, std::wstring &error)
{
    return SolveTemperature(P, H, false, z, result, error);
}

bool Flash::PS(double P, double S, const std::vector<double> &z, FlashResult &result, std::wstring &error)
{
    return SolveTemperature(P, S, true, z, result, error);
}

bool Flash::SolveVaporFraction(double fixed, bool fixedIsPressure, double target,
                               const std::vector<double> &z, FlashResult &result, std::wstring &error)
{
    if (!Positive(fixed)) {
        error = fixedIsPressure ? L"Pressure must be positive" : L"Temperature must be positive";
        return false;
    }
    if (!(target >= 0 && target <= 1)) {
        error = L"The vapour fraction must lie between 0 and 1";
        return false;
    }
    // Outer variable u: T, or ln P; h(u) grows with u and is 0 at the answer.
    double lo = fixedIsPressure ? MinTemperature : std::log(PressureLow);
    double hi = fixedIsPressure ? MaxTemperature : std::log(PressureHigh);
    double sign = fixedIsPressure ? 1 : -1;
    auto run = [&](double u, FlashResult &r, double &h) {
        bool ok = fixedIsPressure ? TP(u, fixed, z, r, error) : TP(fixed, std::exp(u), z, r, error);
        double beta = (r.hasVapor && r.hasLiquid) ? r.vaporFraction : (r.hasVapor ? 2.0 : -1.0);
        h = sign * (beta - target);
        return ok;
    };
    FlashResult low, high, middle;
    double hLo, hHi, h;
    if (!run(lo, low, hLo) || !run(hi, high, hHi)) return false;
    if (hLo >= 0 || hHi <= 0) {
        error = fixedIsPressure
                    ? L"No temperature between 40 K and 1500 K gives the specified vapour fraction"
                    : L"No pressure gives the specified vapour fraction";
        return false;
    }
    double tolerance = fixedIsPressure ? 1e-11 * hi : 1e-11;
    while (hi - lo > tolerance) {
        double u = 0.5 * (lo + hi);
        if (!run(u, middle, h)) return false;
        if (h > 0) {
            hi = u;
            hHi = h;
            high = middle;
        } else {
            lo = u;
            hLo = h;
            low = middle;
        }
    }
    bool lowSplit = low.hasVapor && low.hasLiquid, highSplit = high.hasVapor && high.hasLiquid;
    if (lowSplit || highSplit) {
        result = (highSplit && (!lowSplit || std::fabs(hHi) < std::fabs(hLo))) ? high : low;
        result.vaporFraction = target;
        return true;
    }
    bool liquidBelow = fixedIsPressure ? low.hasLiquid : high.hasLiquid;
    bool vaporAbove = fixedIsPressure ? high.hasVapor : low.hasVapor;
    if (liquidBelow && vaporAbove) {
        // Both sides single-phase: a pure compound (or azeotrope) at its
        // boiling point, where any vapour fraction is possible.
        result = low;
        result.temperature = fixedIsPressure ? 0.5 * (low.temperature + high.temperature) : fixed;
        result.pressure = fixedIsPressure ? fixed : std::exp(0.5 * (lo + hi));
        result.hasVapor = result.hasLiquid = true;
        result.x = z;
        result.y = z;
        result.vaporFraction = target;
        return true;
    }
    error = L"No two-phase solution exists for the specified vapour fraction";
    return false;
}

bool Flash::PVF(double P, double vaporFraction, const std::vector<double> &z, FlashResult &result,
                std::wstring &error)
{
    return SolveVaporFraction(P, true, vaporFraction, z, result, error);
}

bool Flash::TVF(double T, double vaporFraction, const std::vector<double> &z, FlashResult &result,
                std::wstring &error)
{
    return SolveVaporFraction(T, false, vaporFraction, z, result, error);
}
