// The properties the example packages calculate, by their CAPE-OPEN 1.0 names,
// and how each one is computed from a phase state or a pure compound.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "CompoundData.h"
#include "ThermoModel.h"

enum class PropertyKind { SinglePhase, TwoPhase, TDependent, PDependent };

enum class PropertyId {
    Enthalpy,
    Entropy,
    GibbsFreeEnergy,
    HeatCapacity,
    HeatCapacityCv,
    Density,
    Volume,
    MolecularWeight,
    CompressibilityFactor,
    Fugacity,
    FugacityCoefficient,
    LogFugacityCoefficient,
    LogFugacityCoefficientDT,
    LogFugacityCoefficientDP,
    LogFugacityCoefficientDn,
    KValues,
    LogKValues,
    VaporPressure,
    IdealGasHeatCapacity,
    IdealGasEnthalpy,
    IdealGasEntropy,
    HeatOfVaporization,
    BoilingPointTemperature,
};

struct PropertyInfo {
    const wchar_t *name;  // 1.0 name as listed by GetPropList
    PropertyId id;
    PropertyKind kind;
    const wchar_t *basis;  // basis the value is given in, or null
    unsigned request;      // PhaseRequest bits the value needs
};

// The entry for a 1.0 property name (letter case ignored), or null.
const PropertyInfo *FindProperty(const wchar_t *name);
const std::vector<PropertyInfo> &AllProperties();

// True when the property has one value per compound (or per compound pair).
bool PerCompound(PropertyId id);

// Values of a single-phase property from an evaluated state (x: mole fractions).
void SinglePhaseValues(PropertyId id, const ThermoModel &model, const PhaseState &state, double P,
                       const double *x, std::vector<double> &values);
// Values of a pure-compound property of compound c; false with a reason when
// the property has no value at these conditions.
bool PureValue(PropertyId id, const CompoundData &c, double T, double P, double &value, std::wstring &error);

// Compound constants: a number or a text.
struct ConstantValue {
    bool isText = false;
    double number = 0;
    const wchar_t *text = nullptr;
};
// False when the constant is not known to this system.
bool CompoundConstant(const wchar_t *name, const CompoundData &c, ConstantValue &value);
