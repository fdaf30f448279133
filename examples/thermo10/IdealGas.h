// Ideal-gas properties of one pure compound from its Cp polynomial.
// Reference state: ideal gas at 298.15 K and 101325 Pa has H = 0 and S = 0.
#pragma once

#include "CompoundData.h"

// Cp in J/(mol K).
double IdealGasHeatCapacity(const CompoundData &c, double T);
// H(T) - H(298.15 K) in J/mol.
double IdealGasEnthalpy(const CompoundData &c, double T);
// S(T, 101325 Pa) - S(298.15 K, 101325 Pa) in J/(mol K).
double IdealGasEntropy(const CompoundData &c, double T);
