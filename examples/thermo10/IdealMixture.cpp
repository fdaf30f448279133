#include "IdealMixture.h"

#include <algorithm>
#include <cmath>

#include "IdealGas.h"

IdealMixture::IdealMixture(std::vector<const CompoundData *> list) : ThermoModel(std::move(list))
{
    cached.resize(Size());
    for (std::size_t i = 0; i < Size(); ++i) criticalTemperature.push_back(ModelCriticalPoint(Compound(i)).temperature);
}

const std::vector<SaturationPoint> &IdealMixture::SaturationAt(double T) const
{
    if (T != cachedT) {
        for (std::size_t i = 0; i < Size(); ++i) cached[i] = Saturation(Compound(i), T);
        cachedT = T;
    }
    return cached;
}

double IdealMixture::LiquidVolume(std::size_t i, double T) const
{
    const CompoundData &c = Compound(i);
    double Tr = std::min(T / c.criticalTemperature, 1.0);
    double Zra = 0.29056 - 0.08775 * c.acentricFactor;
    return GasConstant * c.criticalTemperature / c.criticalPressure *
           std::pow(Zra, 1 + std::pow(1 - Tr, 2.0 / 7));
}

void IdealMixture::Evaluate(double T, double P, const double *x, PhaseKind kind, unsigned request,
                            PhaseState &out) const
{
    const std::size_t n = Size();
    const std::vector<SaturationPoint> &sat = SaturationAt(T);
    bool liquid = kind == PhaseKind::Liquid;
    if (kind == PhaseKind::Stable) {
        // G(liquid) - G(vapour) = RT sum x_i ln(Psat_i / P)
        double difference = 0, highestCritical = 0;
        for (std::size_t i = 0; i < n; ++i) {
            if (x[i] <= 0) continue;
            difference += x[i] * std::log(sat[i].pressure / P);
            highestCritical = std::max(highestCritical, criticalTemperature[i]);
        }
        liquid = difference < 0 && T < highestCritical;
    }
    out.temperature = T;
    out.vaporLike = !liquid;
    out.lnPhi.resize(n);
    for (std::size_t i = 0; i < n; ++i) out.lnPhi[i] = liquid ? std::log(sat[i].pressure / P) : 0.0;
    if (liquid) {
        double v = 0;
        for (std::size_t i = 0; i < n; ++i) v += x[i] * LiquidVolume(i, T);
        out.volume = v;
        out.Z = P * v / (GasConstant * T);
    } else {
        out.volume = GasConstant * T / P;
        out.Z = 1;
    }

    out.enthalpy = out.entropy = out.heatCapacityCp = out.heatCapacityCv = 0;
    if (request & RequestCaloric) {
        AddIdealGasParts(T, P, x, out);
        if (liquid) {
            // Pure liquid i: the saturated vapour condensed at T. With an
            // ideal-gas vapour the latent heat that keeps G, H and S consistent
            // with Raoult's law is the Clausius-Clapeyron one, L = R T^2 dlnPsat/dT;
            // then H = Hig - L and S = Sig(T, Psat) - L / T.
            const double h = 1e-3 * T;
            auto latent = [&](std::size_t i, double t) {
                return GasConstant * t * t * Saturation(Compound(i), t).dLnPressureDT;
            };
            double dh = 0, ds = 0, dcp = 0;
            for (std::size_t i = 0; i < n; ++i) {
                double L = GasConstant * T * T * sat[i].dLnPressureDT;
                double dLdT = (latent(i, T + h) - latent(i, T - h)) / (2 * h);
                dh -= x[i] * L;
                ds += x[i] * (-L / T - GasConstant * std::log(sat[i].pressure / P));
                dcp -= x[i] * dLdT;
            }
            out.enthalpy += dh;
            out.entropy += ds;
            out.heatCapacityCp += dcp;
            out.heatCapacityCv = out.heatCapacityCp;  // incompressible liquid
        }
    }

    if (request & RequestDerivatives) {
        out.lnPhiDT.resize(n);
        out.lnPhiDP.resize(n);
        out.lnPhiDn.assign(n * n, 0.0);
        for (std::size_t i = 0; i < n; ++i) {
            out.lnPhiDT[i] = liquid ? sat[i].dLnPressureDT : 0.0;
            out.lnPhiDP[i] = liquid ? -1 / P : 0.0;
        }
    }
}
