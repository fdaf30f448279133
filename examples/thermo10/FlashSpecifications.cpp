// The flashes that fix another pair than T and P: "PH", "PS", "PVF" and "TVF".
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Flash.h"
#include "LinearSolve.h"
#include "Saturation.h"

namespace {

bool TwoPhase(const FlashResult &r)
{
    return r.hasVapor && r.hasLiquid;
}

std::wstring Number(const wchar_t *format, double value)
{
    wchar_t text[64];
    std::swprintf(text, 64, format, value);
    return text;
}

// One state of the scan over the outer variable u (T, or ln P).
struct ScanPoint {
    double u;
    bool ok;
    FlashResult r;
};

}  // namespace

bool Flash::BoilingPoint(double T, double P, const std::vector<double> &z)
{
    // A jump between single phases of the same composition is a phase change
    // only where both roots exist with equal fugacities (a pure compound or an
    // azeotrope boiling); anywhere else it is a gap in the model.
    model.Evaluate(T, P, z.data(), PhaseKind::Liquid, 0, liquid);
    model.Evaluate(T, P, z.data(), PhaseKind::Vapor, 0, vapor);
    if (!(vapor.volume > (1 + 1e-3) * liquid.volume)) return false;
    for (std::size_t i = 0; i < z.size(); ++i)
        if (z[i] > 0 && std::fabs(liquid.lnPhi[i] - vapor.lnPhi[i]) > 1e-6) return false;
    return true;
}

// Newton on the equilibrium at the specified vapour fraction: unknowns ln K and
// the outer variable u (T, or ln P); equations ln K_i + ln phiV_i(y) - ln phiL_i(x)
// = 0 and sum (y - x) = 0 with x = z / (1 + beta (K - 1)) and y = K x. It starts
// from the bracketed answer, so it only sharpens it (bubble and dew points sit
// where the bisection can only approach).
bool Flash::PolishVaporFraction(double fixed, bool fixedIsPressure, double beta, const std::vector<double> &z,
                                FlashResult &answer)
{
    const std::size_t n = z.size(), m = n + 1;
    double T = answer.temperature, P = answer.pressure;
    lnK.resize(n);
    for (std::size_t i = 0; i < n; ++i) lnK[i] = z[i] > 0 ? std::log(answer.y[i] / answer.x[i]) : 0.0;
    std::vector<double> &F = gradient, &J = hessian;
    for (int iteration = 0; iteration < 30; ++iteration) {
        double sx = 0, sy = 0, sum = 0;
        for (std::size_t i = 0; i < n; ++i) {
            double k = std::exp(lnK[i]), d = 1 + beta * (k - 1);
            x[i] = z[i] / d;
            y[i] = k * x[i];
            sx += x[i];
            sy += y[i];
            sum += y[i] - x[i];
        }
        for (std::size_t i = 0; i < n; ++i) {
            x[i] /= sx;
            y[i] /= sy;
        }
        model.Evaluate(T, P, x.data(), PhaseKind::Liquid, RequestDerivatives, liquid);
        model.Evaluate(T, P, y.data(), PhaseKind::Vapor, RequestDerivatives, vapor);
        F.assign(m, 0.0);
        J.assign(m * m, 0.0);
        double largest = std::fabs(sum);
        for (std::size_t i = 0; i < n; ++i) {
            if (z[i] <= 0) {
                J[i * m + i] = 1;
                continue;
            }
            F[i] = lnK[i] + vapor.lnPhi[i] - liquid.lnPhi[i];
            largest = std::max(largest, std::fabs(F[i]));
            for (std::size_t j = 0; j < n; ++j) {
                if (z[j] <= 0) continue;
                double k = std::exp(lnK[j]), d = 1 + beta * (k - 1);
                double dy = (1 - beta) / d * y[j], dx = -beta * k / d * x[j];  // d/dlnK_j, normalised
                J[i * m + j] = (i == j ? 1.0 : 0.0) + vapor.lnPhiDn[i * n + j] * dy - liquid.lnPhiDn[i * n + j] * dx;
            }
            J[i * m + n] = fixedIsPressure ? vapor.lnPhiDT[i] - liquid.lnPhiDT[i]
                                           : P * (vapor.lnPhiDP[i] - liquid.lnPhiDP[i]);
        }
        for (std::size_t j = 0; j < n; ++j) {
            if (z[j] <= 0) continue;
            double k = std::exp(lnK[j]), d = 1 + beta * (k - 1);
            J[n * m + j] = z[j] * k / (d * d);
        }
        F[n] = sum;
        if (largest < 1e-12) {
            answer.temperature = T;
            answer.pressure = P;
            answer.vaporFraction = beta;
            answer.hasVapor = answer.hasLiquid = true;
            answer.x = x;
            answer.y = y;
            double gap = 0;
            for (std::size_t i = 0; i < n; ++i) gap = std::max(gap, std::fabs(lnK[i]));
            return gap > 1e-6 || std::fabs(vapor.volume - liquid.volume) > 1e-6 * liquid.volume;
        }
        if (!SolveLinear(J, F, step, m)) return false;
        double scale = 1;
        for (std::size_t i = 0; i < n; ++i) scale = std::min(scale, 1 / std::max(1.0, std::fabs(step[i])));
        double du = step[n] * scale;
        if (fixedIsPressure) {
            du = std::clamp(du, -0.05 * T, 0.05 * T);
            T += du;
        } else {
            du = std::clamp(du, -0.5, 0.5);
            P *= std::exp(du);
        }
        for (std::size_t i = 0; i < n; ++i) lnK[i] += scale * step[i];
    }
    return false;
}

bool Flash::SolveTemperature(double P, double target, bool entropy, const std::vector<double> &z,
                             FlashResult &result, std::wstring &error)
{
    if (!(P > 0) || !std::isfinite(P) || !std::isfinite(target)) {
        error = L"Pressure must be positive and the specified value finite";
        return false;
    }
    const wchar_t *what = entropy ? L"entropy" : L"enthalpy";
    FlashResult low, high, middle;
    double lo = 0, hi = MaxTemperature;
    if (!TP(hi, P, z, high, error)) return false;
    // The low end: the coldest of these where the package has an answer (at
    // the very lowest temperatures some mixtures split into two liquids).
    for (double T : {MinTemperature, 60.0, 90.0, 135.0, 200.0, 300.0, 450.0, 700.0, 1000.0}) {
        if (TP(T, P, z, low, error)) {
            lo = T;
            break;
        }
    }
    if (lo == 0) return false;
    double fLo = MixtureProperty(low, entropy) - target;
    double fHi = MixtureProperty(high, entropy) - target;
    if (fLo > 0 || fHi < 0) {
        error = std::wstring(L"The specified ") + what + Number(L" is outside the range of %.0f K", lo) +
                L" to 1500 K";
        return false;
    }
    while (hi - lo > 1e-10 * hi) {
        double T = 0.5 * (lo + hi);
        if (!TP(T, P, z, middle, error)) return false;
        double f = MixtureProperty(middle, entropy) - target;
        if (f > 0) {
            hi = T;
            fHi = f;
            std::swap(high, middle);
        } else {
            lo = T;
            fLo = f;
            std::swap(low, middle);
        }
    }
    if (fHi - fLo < (entropy ? 1e-4 : 1e-2)) {
        result = (std::fabs(fHi) < std::fabs(fLo)) ? high : low;
        return true;
    }
    double T = 0.5 * (lo + hi);
    if (!TwoPhase(low) && !TwoPhase(high) && low.hasLiquid && high.hasVapor && BoilingPoint(T, P, z)) {
        // A pure compound (or an azeotrope) boils at one temperature: the
        // specified value lies on the jump, split by the lever rule.
        result = high;
        result.temperature = T;
        result.hasLiquid = true;
        result.x = z;
        result.vaporFraction = -fLo / (fHi - fLo);
        return true;
    }
    error = std::wstring(L"No state at this pressure has the specified ") + what +
            Number(L": the model jumps from one phase to another at %.2f K without a phase equilibrium", T);
    return false;
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
    if (!(fixed > 0) || !std::isfinite(fixed)) {
        error = fixedIsPressure ? L"Pressure must be positive" : L"Temperature must be positive";
        return false;
    }
    if (!(target >= 0 && target <= 1)) {
        error = L"The vapour fraction must lie between 0 and 1";
        return false;
    }
    if (z.size() != model.Size()) {
        error = L"The composition does not match the number of compounds";
        return false;
    }
    // A pure compound has no two-phase state beyond its critical point.
    std::size_t present = 0, only = 0;
    for (std::size_t i = 0; i < z.size(); ++i)
        if (z[i] > 0) ++present, only = i;
    if (present == 1) {
        const CompoundData &c = model.Compound(only);
        CriticalPoint critical = ModelCriticalPoint(c);
        std::wstring name = std::wstring(L"\"") + c.id + L"\"";
        if (!fixedIsPressure && fixed >= critical.temperature) {
            error = L"No two-phase solution: temperature above the critical temperature of " + name +
                    Number(L" (%.2f K)", critical.temperature);
            return false;
        }
        if (fixedIsPressure && fixed >= critical.pressure) {
            error = L"No two-phase solution: pressure above the critical pressure of " + name +
                    Number(L" (%.0f Pa)", critical.pressure);
            return false;
        }
    }

    // The outer variable u is T at fixed P, or ln P at fixed T.
    auto run = [&](double u, FlashResult &r) {
        std::wstring ignored;
        return fixedIsPressure ? TP(u, fixed, z, r, ignored) : TP(fixed, std::exp(u), z, r, ignored);
    };
    const double uLow = fixedIsPressure ? MinTemperature : std::log(MinPressure);
    const double uHigh = fixedIsPressure ? MaxTemperature : std::log(MaxPressure);
    const double tolerance = fixedIsPressure ? 1e-11 * MaxTemperature : 1e-12;

    // Scan: an even grid, plus Raoult's-law bubble and dew estimates (narrow
    // two-phase regions of nearly pure feeds lie between them).
    std::vector<double> grid;
    const int steps = 48;
    for (int k = 0; k <= steps; ++k) grid.push_back(uLow + (uHigh - uLow) * k / steps);
    auto raoult = [&](double T, bool dew) {
        double sum = 0;
        for (std::size_t i = 0; i < z.size(); ++i) {
            if (z[i] <= 0) continue;
            double Psat = Saturation(model.Compound(i), T).pressure;
            sum += dew ? z[i] / Psat : z[i] * Psat;
        }
        return dew ? 1 / sum : sum;
    };
    for (int dew = 0; dew < 2; ++dew) {
        double u;
        if (fixedIsPressure) {  // temperature where the estimate reaches P
            double lo = uLow, hi = uHigh;
            for (int k = 0; k < 60; ++k) ((raoult(0.5 * (lo + hi), dew) < fixed) ? lo : hi) = 0.5 * (lo + hi);
            u = 0.5 * (lo + hi);
        } else {
            u = std::log(raoult(fixed, dew));
        }
        if (u > uLow && u < uHigh) grid.push_back(u);
    }
    if (grid.size() == steps + 3) grid.push_back(0.5 * (grid[steps + 1] + grid[steps + 2]));
    std::sort(grid.begin(), grid.end());

    std::vector<ScanPoint> points;
    for (double u : grid) {
        points.push_back({u, false, {}});
        points.back().ok = run(u, points.back().r);
    }
    auto label = [](const FlashResult &r) { return TwoPhase(r) ? 2 : (r.hasVapor ? 1 : 0); };

    // Neighbours named differently with no two-phase state between: bisect
    // until a two-phase state turns up, or to the point where the phase jumps.
    std::vector<double> boiling;
    for (std::size_t k = 0; k + 1 < points.size(); ++k) {
        const ScanPoint &a = points[k], &b = points[k + 1];
        if (!a.ok || !b.ok || TwoPhase(a.r) || TwoPhase(b.r) || label(a.r) == label(b.r)) continue;
        double lo = a.u, hi = b.u;
        int loLabel = label(a.r);
        FlashResult r;
        bool found = false;
        while (hi - lo > tolerance && !found) {
            double u = 0.5 * (lo + hi);
            if (!run(u, r)) break;
            if (TwoPhase(r)) {
                points.insert(points.begin() + k + 1, {u, true, r});
                found = true;
            } else {
                (label(r) == loLabel ? lo : hi) = u;
            }
        }
        if (!found && hi - lo <= tolerance) {
            double u = 0.5 * (lo + hi);
            double T = fixedIsPressure ? u : fixed, P = fixedIsPressure ? fixed : std::exp(u);
            if (BoilingPoint(T, P, z)) boiling.push_back(u);
        }
    }

    // Along each run of two-phase states the vapour fraction is continuous; at
    // a run's ends it reaches 0 or 1 (bubble or dew point) where the feed leaves it.
    struct Node {
        double u, beta;
        FlashResult r;
    };
    auto boundary = [&](double single, double two, FlashResult twoState, Node &node) {
        FlashResult r;
        while (std::fabs(two - single) > tolerance) {
            double u = 0.5 * (single + two);
            if (!run(u, r)) break;
            if (TwoPhase(r)) {
                two = u;
                std::swap(twoState, r);
            } else {
                single = u;
            }
        }
        node = {two, twoState.vaporFraction < 0.5 ? 0.0 : 1.0, twoState};
    };
    auto bisect = [&](const Node &a, const Node &b, FlashResult &out) {
        double lo = a.u, hi = b.u, sLo = a.beta - target;
        out = std::fabs(a.beta - target) < std::fabs(b.beta - target) ? a.r : b.r;
        double best = INFINITY;
        FlashResult r;
        while (std::fabs(hi - lo) > tolerance) {
            double u = 0.5 * (lo + hi);
            if (!run(u, r)) return false;
            double beta = TwoPhase(r) ? r.vaporFraction : (r.hasVapor ? 1.0 : 0.0);
            if (TwoPhase(r) && std::fabs(beta - target) < best) {
                best = std::fabs(beta - target);
                out = r;
            }
            ((beta - target) * sLo > 0 ? lo : hi) = u;
        }
        return TwoPhase(out);
    };

    bool anyTwoPhase = false;
    bool solved = false;
    FlashResult answer;
    for (std::size_t k = 0; k < points.size() && !solved; ++k) {
        if (!points[k].ok || !TwoPhase(points[k].r)) continue;
        anyTwoPhase = true;
        std::size_t end = k;
        while (end + 1 < points.size() && points[end + 1].ok && TwoPhase(points[end + 1].r)) ++end;
        std::vector<Node> nodes;
        Node node;
        if (k > 0 && points[k - 1].ok) {
            boundary(points[k - 1].u, points[k].u, points[k].r, node);
            nodes.push_back(node);
        }
        for (std::size_t j = k; j <= end; ++j) nodes.push_back({points[j].u, points[j].r.vaporFraction, points[j].r});
        if (end + 1 < points.size() && points[end + 1].ok) {
            boundary(points[end + 1].u, points[end].u, points[end].r, node);
            nodes.push_back(node);
        }
        for (std::size_t j = 0; j < nodes.size() && !solved; ++j) {
            bool edge = (j == 0 && k > 0) || (j + 1 == nodes.size() && end + 1 < points.size());
            if (edge && nodes[j].beta == target) {
                answer = nodes[j].r;
                solved = true;
            } else if (j + 1 < nodes.size() && (nodes[j].beta - target) * (nodes[j + 1].beta - target) < 0) {
                solved = bisect(nodes[j], nodes[j + 1], answer);
            }
        }
        k = end;
    }

    if (solved && PolishVaporFraction(fixed, fixedIsPressure, target, z, answer)) {
        result = answer;
        return true;
    }
    if (solved) {
        // Put the vapour fraction exactly on the target, phases from the K-values found.
        const std::size_t n = z.size();
        lnK.resize(n);
        for (std::size_t i = 0; i < n; ++i) lnK[i] = z[i] > 0 ? std::log(answer.y[i] / answer.x[i]) : 0.0;
        double sx = 0, sy = 0;
        for (std::size_t i = 0; i < n; ++i) {
            double k = std::exp(lnK[i]);
            answer.x[i] = z[i] / (1 + target * (k - 1));
            answer.y[i] = k * answer.x[i];
            sx += answer.x[i];
            sy += answer.y[i];
        }
        for (std::size_t i = 0; i < n; ++i) {
            answer.x[i] /= sx;
            answer.y[i] /= sy;
        }
        answer.vaporFraction = target;
        result = answer;
        return true;
    }
    if (!boiling.empty()) {
        double u = boiling.front();
        result.temperature = fixedIsPressure ? u : fixed;
        result.pressure = fixedIsPressure ? fixed : std::exp(u);
        result.hasVapor = result.hasLiquid = true;
        result.x = z;
        result.y = z;
        result.vaporFraction = target;
        return true;
    }
    if (!anyTwoPhase) {
        const ScanPoint &first = points.front();
        if (!fixedIsPressure && first.ok && !TwoPhase(first.r) && first.r.hasVapor) {
            error = L"No two-phase solution: temperature above the cricondentherm";
            return false;
        }
        if (fixedIsPressure) {
            error = L"No two-phase solution: pressure above the cricondenbar";
            return false;
        }
    }
    error = fixedIsPressure
                ? L"Vapour fraction flash has no solution at these conditions: no temperature from 40 K to 1500 K gives it"
                : L"Vapour fraction flash has no solution at these conditions: no pressure from 0.01 Pa to 1 GPa gives it";
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
