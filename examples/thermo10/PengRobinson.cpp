#include "PengRobinson.h"

#include <cmath>

#include "Cubic.h"

namespace {

const double Sqrt2 = 1.4142135623730951;
const double Delta1 = 1 + Sqrt2;
const double Delta2 = 1 - Sqrt2;

// Reduced residual Gibbs energy of a root, used to pick the stable one.
double ResidualGibbs(double Z, double A, double B)
{
    return Z - 1 - std::log(Z - B) - A / (2 * Sqrt2 * B) * std::log((Z + Delta1 * B) / (Z + Delta2 * B));
}

}  // namespace

PengRobinson::PengRobinson(std::vector<const CompoundData *> list) : ThermoModel(std::move(list))
{
    std::size_t n = Size();
    acrit.resize(n);
    b.resize(n);
    kappa.resize(n);
    sqrtTc.resize(n);
    for (std::size_t i = 0; i < n; ++i) {
        const CompoundData &c = Compound(i);
        double Tc = c.criticalTemperature, Pc = c.criticalPressure, w = c.acentricFactor;
        acrit[i] = 0.45724 * GasConstant * GasConstant * Tc * Tc / Pc;
        b[i] = 0.07780 * GasConstant * Tc / Pc;
        kappa[i] = 0.37464 + 1.54226 * w - 0.26992 * w * w;
        sqrtTc[i] = std::sqrt(Tc);
    }
}

void PengRobinson::Evaluate(double T, double P, const double *x, PhaseKind kind, unsigned request,
                            PhaseState &out) const
{
    const std::size_t n = Size();
    const double R = GasConstant;
    const double RT = R * T;
    m.resize(n);
    dm.resize(n);
    d2m.resize(n);
    aij.resize(n * n);
    daij.resize(n * n);
    d2aij.resize(n * n);
    Di.resize(n);
    DiT.resize(n);

    // sqrt(alpha_i) = m_i = 1 + kappa_i (1 - sqrt(T/Tc_i)), so that
    // a_ij = sqrt(ac_i ac_j) m_i m_j and its T derivatives are products.
    const double sqrtT = std::sqrt(T);
    for (std::size_t i = 0; i < n; ++i) {
        m[i] = 1 + kappa[i] * (1 - sqrtT / sqrtTc[i]);
        dm[i] = -kappa[i] / (2 * sqrtT * sqrtTc[i]);
        d2m[i] = kappa[i] / (4 * sqrtTc[i] * T * sqrtT);
    }
    double D = 0, DT = 0, DTT = 0, Bm = 0;
    for (std::size_t i = 0; i < n; ++i) {
        double di = 0, diT = 0;
        for (std::size_t j = 0; j < n; ++j) {
            double c = std::sqrt(acrit[i] * acrit[j]);
            double a = c * m[i] * m[j];
            double da = c * (dm[i] * m[j] + m[i] * dm[j]);
            double d2a = c * (d2m[i] * m[j] + 2 * dm[i] * dm[j] + m[i] * d2m[j]);
            aij[i * n + j] = a;
            daij[i * n + j] = da;
            d2aij[i * n + j] = d2a;
            di += x[j] * a;
            diT += x[j] * da;
            DTT += x[i] * x[j] * d2a;
        }
        Di[i] = 2 * di;
        DiT[i] = 2 * diT;
        D += x[i] * di;
        DT += x[i] * diT;
        Bm += x[i] * b[i];
    }

    // Z^3 - (1 - B) Z^2 + (A - 3B^2 - 2B) Z - (AB - B^2 - B^3) = 0
    const double A = D * P / (RT * RT);
    const double B = Bm * P / RT;
    double roots[3];
    int count = CubicRealRoots(-(1 - B), A - 3 * B * B - 2 * B, -(A * B - B * B - B * B * B), roots);
    int lowest = 0;
    while (lowest < count - 1 && roots[lowest] <= B) ++lowest;
    double Zl = roots[lowest], Zv = roots[count - 1];
    double Z;
    if (kind == PhaseKind::Vapor) {
        Z = Zv;
    } else if (kind == PhaseKind::Liquid) {
        Z = Zl;
    } else {
        Z = (Zl == Zv || ResidualGibbs(Zv, A, B) <= ResidualGibbs(Zl, A, B)) ? Zv : Zl;
    }
    const double V = Z * RT / P;
    out.temperature = T;
    out.Z = Z;
    out.volume = V;
    out.vaporLike = D <= PengRobinsonCriticalRatio * Bm * RT || V > PengRobinsonCriticalVolumeRatio * Bm;

    // Reduced residual Helmholtz energy for one mole in total:
    // F = -g(V,B) - D/T f(V,B), g = ln(1 - B/V), f = ln((V+d1 B)/(V+d2 B)) / (R B (d1-d2)).
    const double u = V + Delta1 * Bm, w = V + Delta2 * Bm;
    const double g = std::log(1 - Bm / V);
    const double gV = Bm / (V * (V - Bm));
    const double gB = -1 / (V - Bm);
    const double f = std::log(u / w) / (R * Bm * (Delta1 - Delta2));
    const double fV = -1 / (R * u * w);
    const double fB = -(f + V * fV) / Bm;
    const double FB = -gB - D / T * fB;
    const double FD = -f / T;

    out.lnPhi.resize(n);
    const double lnZ = std::log(Z);
    for (std::size_t i = 0; i < n; ++i) out.lnPhi[i] = -g + FB * b[i] + FD * Di[i] - lnZ;

    const double DTD = D - T * DT;  // D - T dD/dT
    const double FT = DTD * f / (T * T);
    const double fVV = (u + w) / (R * u * u * w * w);
    const double gVV = -1 / ((V - Bm) * (V - Bm)) + 1 / (V * V);
    const double FVV = -gVV - D / T * fVV;
    const double FTV = DTD * fV / (T * T);
    const double PV = -RT * FVV - RT / (V * V);  // dP/dV
    const double PT = P / T - RT * FTV;          // dP/dT

    out.enthalpy = 0;
    out.entropy = 0;
    out.heatCapacityCp = 0;
    out.heatCapacityCv = 0;
    if (request & RequestCaloric) {
        const double F = -g - D / T * f;
        const double FTT = f * (-DTT / T - 2 * DTD / (T * T * T));
        const double Cvr = -R * T * T * FTT - 2 * R * T * FT;
        out.enthalpy = -RT * T * FT + P * V - RT;
        out.entropy = R * (-T * FT - F) + R * lnZ;
        out.heatCapacityCv = Cvr;
        out.heatCapacityCp = Cvr - T * PT * PT / PV - R;
        AddIdealGasParts(T, P, x, out);
    }

    if (request & RequestDerivatives) {
        out.lnPhiDT.resize(n);
        out.lnPhiDP.resize(n);
        out.lnPhiDn.resize(n * n);
        const double gBV = 1 / ((V - Bm) * (V - Bm));
        const double gBB = -gBV;
        const double fBV = -(2 * fV + V * fVV) / Bm;
        const double fBB = -(2 * fB + V * fBV) / Bm;
        const double FBV = -gBV - D / T * fBV;
        const double FDV = -fV / T;
        const double FBT = fB * DTD / (T * T);
        const double FDT = f / (T * T);
        const double FBB = -gBB - D / T * fBB;
        const double FBD = -fB / T;
        Pn.resize(n);
        for (std::size_t i = 0; i < n; ++i) {
            double FiV = -gV + FBV * b[i] + FDV * Di[i];
            Pn[i] = -RT * FiV + RT / V;  // dP/dn_i
            double Vi = -Pn[i] / PV;     // partial molar volume
            double FiT = FBT * b[i] + FDT * Di[i] + FD * DiT[i];
            out.lnPhiDT[i] = FiT + 1 / T - Vi * PT / RT;
            out.lnPhiDP[i] = Vi / RT - 1 / P;
        }
        for (std::size_t i = 0; i < n; ++i) {
            for (std::size_t j = 0; j < n; ++j) {
                double Fij = -gB * (b[i] + b[j]) + FBB * b[i] * b[j] + FBD * (b[i] * Di[j] + b[j] * Di[i]) +
                             FD * 2 * aij[i * n + j];
                out.lnPhiDn[i * n + j] = Fij + 1 + Pn[i] * Pn[j] / (RT * PV);
            }
        }
    }
}
