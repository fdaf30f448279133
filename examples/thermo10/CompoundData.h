// Pure-compound constants of the compounds the example thermo system knows.
#pragma once

#include <cstddef>

struct CompoundData {
    const wchar_t *id;  // identifier handed to clients
    const wchar_t *name;
    const wchar_t *formula;
    const wchar_t *casNumber;
    double molecularWeight;      // g/mol
    double normalBoilingPoint;   // K
    double criticalTemperature;  // K
    double criticalPressure;     // Pa
    double acentricFactor;
    // Ideal-gas heat capacity Cp/R = a0 + a1 T + a2 T^2 + a3 T^3 + a4 T^4 (T in K).
    double cp[5];
};

constexpr double GasConstant = 8.31446261815324;  // J/(mol K), CODATA 2018 (exact)
constexpr double ReferenceTemperature = 298.15;   // K
constexpr double ReferencePressure = 101325.0;    // Pa

constexpr std::size_t KnownCompoundCount = 9;
extern const CompoundData KnownCompounds[KnownCompoundCount];

// The compound with this identifier (letter case ignored), or null.
const CompoundData *FindCompound(const wchar_t *id);
