#include "IdealGas.h"

#include <cmath>

namespace {

// Integral of Cp/R from 0 to T without the constant term's lower limit.
double CpIntegral(const double *a, double T)
{
    return T * (a[0] + T * (a[1] / 2 + T * (a[2] / 3 + T * (a[3] / 4 + T * a[4] / 5))));
}

// Integral of Cp/(R T) without the logarithm's lower limit.
double CpOverTIntegral(const double *a, double T)
{
    return a[0] * std::log(T) + T * (a[1] + T * (a[2] / 2 + T * (a[3] / 3 + T * a[4] / 4)));
}

}  // namespace

double IdealGasHeatCapacity(const CompoundData &c, double T)
{
    const double *a = c.cp;
    return GasConstant * (a[0] + T * (a[1] + T * (a[2] + T * (a[3] + T * a[4]))));
}

double IdealGasEnthalpy(const CompoundData &c, double T)
{
    return GasConstant * (CpIntegral(c.cp, T) - CpIntegral(c.cp, ReferenceTemperature));
}

double IdealGasEntropy(const CompoundData &c, double T)
{
    return GasConstant * (CpOverTIntegral(c.cp, T) - CpOverTIntegral(c.cp, ReferenceTemperature));
}
