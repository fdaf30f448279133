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

struct CriticalPoint {
    double temperature = 0;  // K
    double pressure = 0;     // Pa
};

// Where the model's vapour-pressure curve ends: the critical point of the
// Peng-Robinson equation with this compound's constants. Its rounded
// coefficients put it a little off the tabulated Tc and Pc.
CriticalPoint ModelCriticalPoint(const CompoundData &c);

// Solved up to just below the model's critical point; from there on (and
// above it, where the ideal package still needs a value for Raoult's law)
// ln P continues on the straight line in 1/T through the critical point.
SaturationPoint Saturation(const CompoundData &c, double T);

// The temperature at which the vapour pressure equals P; false when P is not
// below the model's critical pressure or no temperature could be found.
bool BoilingTemperature(const CompoundData &c, double P, double &T);

// Wilson's estimate of the vapour pressure, the usual flash start.
double WilsonVaporPressure(const CompoundData &c, double T);
