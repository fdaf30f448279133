#include "Saturation.h"

#include <algorithm>
#include <cmath>

#include "Cubic.h"
#include "PengRobinson.h"

namespace {

const double Sqrt2 = 1.4142135623730951;
// Below (1 - LineGap) Tc the phase equilibrium is solved; the last bit up to
// the critical point, where the two roots merge, follows the straight line.
const double LineGap = 1e-4;

struct PureRoots {
    int count;
    double Zl, Zv, A, B;
};

struct PurePR {
    double a, dadT, b;
};

double Kappa(const CompoundData &c)
{
    double w = c.acentricFactor;
    return 0.37464 + 1.54226 * w - 0.26992 * w * w;
}

PurePR PureParameters(const CompoundData &c, double T)
{
    double Tc = c.criticalTemperature, kappa = Kappa(c);
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

// Solves the pure-compound phase equilibrium below the critical point:
// Newton in ln P on ln(phi_L / phi_V), kept inside a bracket that one-root
// states narrow too (a vapour-like root lies below the saturation pressure).
SaturationPoint SolveSaturation(const CompoundData &c, double T, double criticalPressure)
{
    PurePR pr = PureParameters(c, T);
    double lo = -INFINITY, hi = std::log(criticalPressure);
    double lnP = std::min(std::log(WilsonVaporPressure(c, T)), hi - 0.01);
    const double criticalVolume = PengRobinsonCriticalVolumeRatio * pr.b;
    SaturationPoint point;
    for (int iteration = 0; iteration < 300; ++iteration) {
        double P = std::exp(lnP);
        PureRoots r = Roots(pr, T, P);
        double next;
        if (r.count < 2 || r.Zv - r.Zl < 1e-12) {
            bool vaporLike = r.Zv * GasConstant * T / P > criticalVolume;
            (vaporLike ? lo : hi) = lnP;
            next = vaporLike ? lnP + 0.5 : lnP - 0.5;
        } else {
            double difference =
                LogFugacityCoefficient(r.Zl, r.A, r.B) - LogFugacityCoefficient(r.Zv, r.A, r.B);
            if (!std::isfinite(difference)) break;
            (difference > 0 ? lo : hi) = lnP;
            // d(ln phi)/d(ln P) = Z - 1 for a pure compound.
            double step = std::clamp(difference / (r.Zv - r.Zl), -1.0, 1.0);
            if (std::fabs(step) < 1e-13) {
                double dH = ResidualEnthalpy(pr, T, r.Zv, r.B) - ResidualEnthalpy(pr, T, r.Zl, r.B);
                double dV = (r.Zv - r.Zl) * GasConstant * T / P;
                point.pressure = P;
                point.heatOfVaporization = dH;
                point.dLnPressureDT = dH / (T * P * dV);  // Clapeyron
                return point;
            }
            next = lnP + step;
        }
        if (!(next > lo && next < hi)) next = std::isfinite(lo) ? 0.5 * (lo + hi) : hi - 2;
        if (hi - lo < 1e-14) next = 0.5 * (lo + hi);
        lnP = next;
    }
    // Not converged (far below the triple point the numbers under- or
    // overflow): fall back on Wilson's estimate rather than fail.
    point.pressure = WilsonVaporPressure(c, T);
    point.dLnPressureDT = 5.373 * (1 + c.acentricFactor) * c.criticalTemperature / (T * T);
    point.heatOfVaporization = GasConstant * T * T * point.dLnPressureDT;
    return point;
}

}  // namespace

CriticalPoint ModelCriticalPoint(const CompoundData &c)
{
    // a(T) / (b R T) reaches the critical ratio where sqrt(T/Tc) =
    // (1 + kappa) / (kappa + sqrt(ratio / ratio at Tc)); there B = Omega_b.
    double kappa = Kappa(c);
    double s = (1 + kappa) / (kappa + std::sqrt(PengRobinsonCriticalRatio / (0.45724 / 0.07780)));
    CriticalPoint point;
    point.temperature = c.criticalTemperature * s * s;
    point.pressure = PengRobinsonCriticalB / 0.07780 * s * s * c.criticalPressure;
    return point;
}

double WilsonVaporPressure(const CompoundData &c, double T)
{
    return c.criticalPressure * std::exp(5.373 * (1 + c.acentricFactor) * (1 - c.criticalTemperature / T));
}

SaturationPoint Saturation(const CompoundData &c, double T)
{
    const CriticalPoint critical = ModelCriticalPoint(c);
    const double Tc = critical.temperature;
    const double T0 = (1 - LineGap) * Tc;
    if (T < T0) return SolveSaturation(c, T, critical.pressure);
    SaturationPoint start = SolveSaturation(c, T0, critical.pressure);
    double slope = (std::log(critical.pressure) - std::log(start.pressure)) / (1 / T0 - 1 / Tc);
    SaturationPoint point;
    point.pressure = start.pressure * std::exp(slope * (1 / T0 - 1 / T));
    point.dLnPressureDT = slope / (T * T);
    // The latent heat fades linearly to zero at the critical point.
    point.heatOfVaporization = T < Tc ? start.heatOfVaporization * (Tc - T) / (Tc - T0) : 0.0;
    return point;
}

bool BoilingTemperature(const CompoundData &c, double P, double &T)
{
    const CriticalPoint critical = ModelCriticalPoint(c);
    if (!(P > 0) || P >= critical.pressure) return false;
    const double Tc = critical.temperature;
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
