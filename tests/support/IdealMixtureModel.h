// IdealMixtureModel: a small, correct thermodynamic model (ideal gas, ideal
// liquid solution with Raoult's law) that tests install as the calculation
// hooks of CScriptedPackage10. It behaves like a 1.0 package: it reads the
// state through the material object's GetProp and writes its results
// through SetProp. Tests also call it directly to know the expected numbers.
//
// Compound data (2 to 4 of benzene, toluene, p-xylene, ethylbenzene):
// Antoine constants log10(P/bar) = A - B / (T/K + C) from the NIST Chemistry
// WebBook (benzene 287.7-354.1 K, toluene 308.5-384.7 K, p-xylene
// 331.5-453.7 K, ethylbenzene 347.3-460 K); ideal-gas Cp as linear fits
// a + b T to tabulated values at 298 K and 500 K; heats of vaporization at
// the normal boiling point and liquid molar volumes at 25 C from standard
// tables. The model is used outside the Antoine ranges too: it only needs to
// be smooth and self-consistent, not accurate.
#pragma once

#include <string>
#include <vector>

#include "ScriptedPackage10.h"

struct IdealCompound {
    const wchar_t *id;
    double molecularWeight;      // g/mol, as a 1.0 package reports it
    double antoineA, antoineB, antoineC;
    double cpA, cpB;             // ideal-gas Cp = cpA + cpB T, J/(mol K)
    double heatOfVaporization;   // J/mol, taken as independent of T
    double liquidVolume;         // m3/mol
    double surfaceTension;       // N/m
    double normalBoilingPoint;   // K
};

struct IdealFlashResult {
    bool converged = false;
    double temperature = 0.0, pressure = 0.0;
    double vaporFraction = 0.0;  // mole basis
    std::vector<double> x, y;    // liquid and vapour mole fractions
};

class IdealMixtureModel {
public:
    // The first count (2 to 4) of the standard compounds.
    explicit IdealMixtureModel(size_t count);

    // Behaviour switches that let tests play different 1.0 packages.
    bool setsSpecifiedConditions = false;  // also set T/P that were specified
    bool setsPhaseFractions = true;
    bool surfaceTensionOnlyOnLiquid = false;  // fail with phase VaporLiquid
    bool pureValuesInMassBasis = false;  // report per-amount pure values in J/kg

    size_t Count() const { return compounds.size(); }
    const IdealCompound &Compound(size_t i) const { return compounds[i]; }
    std::vector<std::wstring> Ids() const;

    // Pure-compound correlations, SI units.
    double VaporPressure(size_t i, double temperature) const;          // Pa
    double IdealGasHeatCapacity(size_t i, double temperature) const;   // J/(mol K)
    double BoilingPointTemperature(size_t i, double pressure) const;   // K
    // Mixture properties of one phase with mole fractions z (indexed like ids).
    double Enthalpy(bool vapor, double temperature, const std::vector<double> &z) const;  // J/mol
    double MolarVolume(bool vapor, double temperature, double pressure, const std::vector<double> &z) const;
    std::vector<double> LnPhi(bool vapor, double temperature, double pressure) const;
    std::vector<double> KValues(double temperature, double pressure) const;

    IdealFlashResult FlashTP(double temperature, double pressure, const std::vector<double> &z) const;
    IdealFlashResult FlashPH(double pressure, double enthalpy, const std::vector<double> &z) const;
    IdealFlashResult FlashPVF(double pressure, double vaporFraction, const std::vector<double> &z) const;
    IdealFlashResult FlashTVF(double temperature, double vaporFraction, const std::vector<double> &z) const;

    // Makes script a two-phase (Vapor, Liquid) package of these compounds
    // that calculates with this model. The model must outlive the package.
    void Install(ScriptedPackage10Script &script);

    // The hooks themselves.
    HRESULT CalcProp(CScriptedPackage10 &package, ICapeThermoMaterialObject *material,
                     const std::vector<std::wstring> &props, const std::vector<std::wstring> &phases,
                     const std::wstring &calcType) const;
    HRESULT CalcEquilibrium(CScriptedPackage10 &package, ICapeThermoMaterialObject *material,
                            const std::wstring &flashType) const;

private:
    std::vector<IdealCompound> compounds;
};
