#include "ThermoModel.h"

#include <cmath>

#include "IdealGas.h"

void ThermoModel::AddIdealGasParts(double T, double P, const double *x, PhaseState &out) const
{
    double h = 0, s = 0, cp = 0;
    for (std::size_t i = 0; i < compounds.size(); ++i) {
        if (x[i] <= 0) continue;
        const CompoundData &c = *compounds[i];
        h += x[i] * IdealGasEnthalpy(c, T);
        s += x[i] * (IdealGasEntropy(c, T) - GasConstant * std::log(x[i]));
        cp += x[i] * IdealGasHeatCapacity(c, T);
    }
    s -= GasConstant * std::log(P / ReferencePressure);
    out.enthalpy += h;
    out.entropy += s;
    out.heatCapacityCp += cp;
    out.heatCapacityCv += cp - GasConstant;
}
