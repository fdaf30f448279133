// The calculations the commands share: setting a mixture on the probe's
// material, flashing it, and single-phase properties of its phases. Each
// returns false with the CAPE-OPEN failure text in error.
#pragma once

#include <string>
#include <vector>

#include "Arguments.h"
#include "CapeClient.h"
#include "Material11.h"

// The conditions a flash reads from the material, besides those it fixes.
struct MixtureState {
    double temperature = 0.0;
    double pressure = 0.0;
    std::vector<double> composition;  // mole fractions, package compound order
};

// One present phase after a flash.
struct PhaseResult {
    std::wstring label;
    double fraction = 0.0;
    double temperature = 0.0;
    double pressure = 0.0;
    std::vector<double> composition;
};

// The list that names a flash condition to a package: property, basis, phase.
std::vector<std::wstring> FlashConditionList(FlashVariable variable);
const wchar_t *FlashVariableName(FlashVariable variable);

// Overall values of a flash: the mixture, and each condition that is fixed.
// Every package phase is made present, with unknown status.
bool PrepareFlash(CMaterial11 &material, const MixtureState &mixture, const std::vector<FlashCondition> &conditions,
                  std::wstring &error);
// Every package phase present at the mixture's temperature, pressure and
// composition: the state single- and two-phase property calls start from.
bool PreparePhases(CMaterial11 &material, const MixtureState &mixture, std::wstring &error);
// The same with each phase at its own state, one per phase of the material.
bool PreparePhases(CMaterial11 &material, const MixtureState &mixture, const std::vector<MixtureState> &phaseStates,
                   std::wstring &error);

// Makes the material the package's context.
bool UseMaterial(PackageClient &package, CMaterial11 &material, std::wstring &error);

bool CheckFlash(PackageClient &package, const FlashCondition &first, const FlashCondition &second,
                bool &supported, std::wstring &error);
bool RunFlash(PackageClient &package, const FlashCondition &first, const FlashCondition &second,
              std::wstring &error);
// The present phases and their values as the flash left them on the material.
bool ReadFlashResult(const CMaterial11 &material, std::vector<PhaseResult> &phases, std::wstring &error);

// One single-phase property of a phase, in whatever basis the package gave it.
bool CalcPhaseProperty(PackageClient &package, const CMaterial11 &material, const std::wstring &phase,
                       const std::wstring &property, std::vector<double> &values, ValueBasis &basis,
                       std::wstring &error);
// Molar enthalpy and entropy of the mixture after a flash: the phase values
// weighted by phase fraction. False when the package cannot give them.
bool MixtureEnthalpyEntropy(PackageClient &package, const CMaterial11 &material,
                            const std::vector<PhaseResult> &phases, double &enthalpy, double &entropy,
                            std::wstring &error);
