// Vapour pressure of a pure compound from the Peng-Robinson equation of state
// (equal liquid and vapour fugacities). This one correlation serves both
// packages: the "vaporPressure" and "boilingPointTemperature" properties, and
// Raoult's law in the ideal package.
#pragma once

#include "CompoundData.h"

struct SaturationPoint {
    double pressure = 0;            // Pa
    double dLnPressureDT = 0;       // 1/K
    double heatOfVaporization = 0;  // J/mol, 0 at and above the critical temperature
};

// At 0.98 Tc and above (where the phase envelope closes) ln P continues on the
// straight line in 1/T through the last solved point and the critical point.
SaturationPoint Saturation(const CompoundData &c, double T);

// The temperature at which the vapour pressure equals P; false when P is not
// below the critical pressure or no temperature could be found.
bool BoilingTemperature(const CompoundData &c, double P, double &T);

// Wilson's estimate of the vapour pressure, the usual flash start.
double WilsonVaporPressure(const CompoundData &c, double T);
