#include "Saturation.h"

#include <cmath>

#include "Cubic.h"

namespace {

const double Sqrt2 = 1.4142135623730951;
const double LineStart = 0.98;  // reduced temperature where the fitted line takes over

struct PureRoots {
    int count;
    double Zl, Zv, A, B;
};

struct PurePR {
    double a, dadT, b;
};

PurePR PureParameters(const CompoundData &c, double T)
{
    double Tc = c.criticalTemperature, w = c.acentricFactor;
    double kappa = 0.37464 + 1.54226 * w - 0.26992 * w * w;
    double ac = 0.45724 * GasConstant * GasConstant * Tc * Tc / c.criticalPressure;
    double m = 1 + kappa * (1 - std::sqrt(T / Tc));
    return {ac * m * m, -ac * m * kappa / std::sqrt(T * Tc), 0.07780 * GasConstant * Tc / c.criticalPressure};
}

PureRoots Roots(const PurePR &pr, double T, double P)
{
    double RT = GasConstant * T;
    double A = pr.a * P / (RT * RT), B = pr.b * P / RT;
    double z[3];
    int count = CubicRealRoots(-(1 - B), A - 3 * B * B - 2 * B, -(A * B - B * B - B * B * B), z);
    int lowest = 0;
    while (lowest < count - 1 && z[lowest] <= B) ++lowest;
    return {count - lowest, z[lowest], z[count - 1], A, B};
}

double LogFugacityCoefficient(double Z, double A, double B)
{
    return Z - 1 - std::log(Z - B) -
           A / (2 * Sqrt2 * B) * std::log((Z + (1 + Sqrt2) * B) / (Z + (1 - Sqrt2) * B));
}

double ResidualEnthalpy(const PurePR &pr, double T, double Z, double B)
{
    return GasConstant * T * (Z - 1) + (T * pr.dadT - pr.a) / (2 * Sqrt2 * pr.b) *
                                           std::log((Z + (1 + Sqrt2) * B) / (Z + (1 - Sqrt2) * B));
}

// Solves the pure-compound phase equilibrium below LineStart * Tc.
SaturationPoint SolveSaturation(const CompoundData &c, double T)
{
    PurePR pr = PureParameters(c, T);
    double lnP = std::log(WilsonVaporPressure(c, T));
    SaturationPoint point;
    for (int iteration = 0; iteration < 200; ++iteration) {
        double P = std::exp(lnP);
        PureRoots r = Roots(pr, T, P);
        if (r.count < 2 || r.Zv - r.Zl < 1e-9) {
            // One root only: outside the two-root band, step back towards it.
            // The PR critical compressibility factor is 0.3074.
            lnP += (r.Zv > 0.3074) ? 0.1 : -0.1;
            continue;
        }
        double difference = LogFugacityCoefficient(r.Zl, r.A, r.B) - LogFugacityCoefficient(r.Zv, r.A, r.B);
        if (!std::isfinite(difference)) break;
        // d(ln phi)/d(ln P) = Z - 1 for a pure compound: Newton in ln P.
        double step = difference / (r.Zv - r.Zl);
        if (step > 1) step = 1;
        if (step < -1) step = -1;
        lnP += step;
        if (std::fabs(step) < 1e-13) {
            P = std::exp(lnP);
            r = Roots(pr, T, P);
            double dH = ResidualEnthalpy(pr, T, r.Zv, r.B) - ResidualEnthalpy(pr, T, r.Zl, r.B);
            double dV = (r.Zv - r.Zl) * GasConstant * T / P;
            point.pressure = P;
            point.heatOfVaporization = dH;
            point.dLnPressureDT = dH / (T * P * dV);  // Clapeyron
            return point;
        }
    }
    // Not converged (far below the triple point the numbers under- or
    // overflow): fall back on Wilson's estimate rather than fail.
    point.pressure = WilsonVaporPressure(c, T);
    point.dLnPressureDT = 5.373 * (1 + c.acentricFactor) * c.criticalTemperature / (T * T);
    point.heatOfVaporization = GasConstant * T * T * point.dLnPressureDT;
    return point;
}

}  // namespace

double WilsonVaporPressure(const CompoundData &c, double T)
{
    return c.criticalPressure * std::exp(5.373 * (1 + c.acentricFactor) * (1 - c.criticalTemperature / T));
}

SaturationPoint Saturation(const CompoundData &c, double T)
{
    const double Tc = c.criticalTemperature;
    if (T < LineStart * Tc) return SolveSaturation(c, T);
    const double T0 = LineStart * Tc;
    SaturationPoint start = SolveSaturation(c, T0);
    double slope = (std::log(c.criticalPressure) - std::log(start.pressure)) / (1 / T0 - 1 / Tc);
    SaturationPoint point;
    point.pressure = start.pressure * std::exp(slope * (1 / T0 - 1 / T));
    point.dLnPressureDT = slope / (T * T);
    // The latent heat fades linearly to zero at the critical point.
    point.heatOfVaporization = T < Tc ? start.heatOfVaporization * (Tc - T) / (Tc - T0) : 0.0;
    return point;
}

bool BoilingTemperature(const CompoundData &c, double P, double &T)
{
    if (!(P > 0) || P >= c.criticalPressure) return false;
    const double Tc = c.criticalTemperature;
    // Wilson's estimate inverted, then Newton in 1/T inside a shrinking bracket.
    double lo = 0.1 * Tc, hi = Tc;
    double t = Tc / (1 - std::log(P / c.criticalPressure) / (5.373 * (1 + c.acentricFactor)));
    if (!(t > lo && t < hi)) t = 0.5 * (lo + hi);
    for (int iteration = 0; iteration < 100; ++iteration) {
        SaturationPoint s = Saturation(c, t);
        double residual = std::log(s.pressure / P);
        if (residual > 0)
            hi = t;
        else
            lo = t;
        if (std::fabs(residual) < 1e-12) {
            T = t;
            return true;
        }
        double next = t - residual / s.dLnPressureDT;
        if (!(next > lo && next < hi)) next = 0.5 * (lo + hi);
        t = next;
    }
    T = t;
    return std::fabs(hi - lo) < 1e-6 * t;
}
