#include "PropertyNameTable.h"

#include "ModuleLock.h"
#include "NameMap.h"

namespace {

using C = PropertyCategory;

}  // namespace

const PropertyRow PropertyNameTable[PropertyNameTableSize] = {
    // Numeric compound constants
    {L"acentricFactor", L"acentricFactor", C::Constant, 1, 0},
    {L"associationParameter", L"associationParameter", C::Constant, 1, 0},
    {L"BornRadius", L"BornRadius", C::Constant, 1, 0},
    {L"charge", L"charge", C::Constant, 1, 0},
    {L"criticalCompressibilityFactor", L"criticalCompressibilityFactor", C::Constant, 1, 0},
    {L"criticalDensity", L"criticalDensity", C::Constant, 1, 1},
    {L"criticalPressure", L"criticalPressure", C::Constant, 1, 0},
    {L"criticalTemperature", L"criticalTemperature", C::Constant, 1, 0},
    {L"criticalVolume", L"criticalVolume", C::Constant, 1, -1},
    {L"diffusionCoefficient", L"diffusionCoefficient", C::Constant, 1, 0},
    {L"diffusionVolume", L"diffusionVolume", C::Constant, 1, 0},
    {L"dipoleMoment", L"dipoleMoment", C::Constant, 1, 0},
    {L"energyLennardJones", L"energyLennardJones", C::Constant, 1, 0},
    {L"gyrationRadius", L"gyrationRadius", C::Constant, 1, 0},
    {L"heatOfFusionAtNormalFreezingPoint", L"heatOfFusionAtNormalFreezingPoint", C::Constant, 1, -1},
    {L"heatOfVaporizationAtNormalBoilingPoint", L"heatOfVaporizationAtNormalBoilingPoint", C::Constant, 1, -1},
    {L"idealGasEnthalpyOfFormationAt25C", L"idealGasEnthalpyOfFormationAt25C", C::Constant, 1, -1},
    {L"idealGasGibbsFreeEnergyOfFormationAt25C", L"idealGasGibbsFreeEnergyOfFormationAt25C", C::Constant, 1, -1},
    {L"lengthLennardJones", L"lengthLennardJones", C::Constant, 1, 0},
    {L"liquidDensityAt25C", L"liquidDensityAt25C", C::Constant, 1, 1},
    {L"liquidVolumeAt25C", L"liquidVolumeAt25C", C::Constant, 1, -1},
    {L"molecularWeight", L"molecularWeight", C::Constant, 1, 0},
    {L"normalBoilingPoint", L"normalBoilingPoint", C::Constant, 1, 0},
    {L"normalFreezingPoint", L"normalFreezingPoint", C::Constant, 1, 0},
    {L"parachor", L"parachor", C::Constant, 1, 0},
    {L"StandardEnthalpyAqueousDilution", L"StandardEnthalpyAqueousDilution", C::Constant, 1, -1},
    {L"standardEntropyGas", L"standardEntropyGas", C::Constant, 1, -1},
    {L"standardEntropyLiquid", L"standardEntropyLiquid", C::Constant, 1, -1},
    {L"standardEntropySolid", L"standardEntropySolid", C::Constant, 1, -1},
    {L"standardFormationEnthalpyGas", L"standardFormationEnthalpyGas", C::Constant, 1, -1},
    {L"standardFormationEnthalpyLiquid", L"standardFormationEnthalpyLiquid", C::Constant, 1, -1},
    {L"standardFormationEnthalpySolid", L"standardFormationEnthalpySolid", C::Constant, 1, -1},
    {L"standardFreeFormationEnthalpyGas", L"standardFormationGibbsEnergyGas", C::Constant, 1, -1},
    {L"standardFreeFormationEnthalpyLiquid", L"standardFormationGibbsEnergyLiquid", C::Constant, 1, -1},
    {L"standardFreeFormationEnthalpySolid", L"standardFormationGibbsEnergySolid", C::Constant, 1, -1},
    {L"StandardGibbsAqueousDilution", L"StandardGibbsAqueousDilution", C::Constant, 1, -1},
    {L"triplePointPressure", L"triplePointPressure", C::Constant, 1, 0},
    {L"triplePointTemperature", L"triplePointTemperature", C::Constant, 1, 0},
    {L"vanderwaalsArea", L"vanderwaalsArea", C::Constant, 1, -1},
    {L"vanderwaalsVolume", L"vanderwaalsVolume", C::Constant, 1, -1},
    // String-valued compound constants
    {L"casRegistryNumber", L"casRegistryNumber", C::StringConstant, 1, 0},
    {L"chemicalFormula", L"chemicalFormula", C::StringConstant, 1, 0},
    {L"iupacName", L"iupacName", C::StringConstant, 1, 0},
    {L"SMILESformula", L"SMILESformula", C::StringConstant, 1, 0},
    {L"structureFormula", L"structureFormula", C::StringConstant, 1, 0},
    // Temperature-dependent compound properties
    {L"cpAqueousInfiniteDilution", L"cpAqueousInfiniteDilution", C::TDependent, 1, -1},
    {L"dielectricConstant", L"dielectricConstant", C::TDependent, 1, 0},
    {L"expansivity", L"expansivity", C::TDependent, 1, 0},
    {L"fugacityCoefficientOfVapor", L"fugacityCoefficientOfVapor", C::TDependent, 1, 0},
    {L"glassTransitionPressure", L"glassTransitionPressure", C::TDependent, 1, 0},
    {L"heatCapacityOfLiquid", L"heatCapacityOfLiquid", C::TDependent, 1, -1},
    {L"heatCapacityOfSolid", L"heatCapacityOfSolid", C::TDependent, 1, -1},
    {L"heatOfFusion", L"heatOfFusion", C::TDependent, 1, -1},
    {L"heatOfSolidSolidPhaseTransition", L"heatOfSolidSolidPhaseTransition", C::TDependent, 1, -1},
    {L"heatOfSublimation", L"heatOfSublimation", C::TDependent, 1, -1},
    {L"heatOfVaporization", L"heatOfVaporization", C::TDependent, 1, -1},
    {L"idealGasEnthalpy", L"idealGasEnthalpy", C::TDependent, 1, -1},
    {L"idealGasEntropy", L"idealGasEntropy", C::TDependent, 1, -1},
    {L"idealGasHeatCapacity", L"idealGasHeatCapacity", C::TDependent, 1, -1},
    {L"meltingPressure", L"meltingPressure", C::TDependent, 1, 0},
    {L"selfDiffusionCoefficientGas", L"selfDiffusionCoefficientGas", C::TDependent, 1, 0},
    {L"selfDiffusionCoefficientLiquid", L"selfDiffusionCoefficientLiquid", C::TDependent, 1, 0},
    {L"solidSolidPhaseTransitionPressure", L"solidSolidPhaseTransitionPressure", C::TDependent, 1, 0},
    {L"sublimationPressure", L"sublimationPressure", C::TDependent, 1, 0},
    {L"surfaceTensionSatLiquid", L"surfaceTensionSatLiquid", C::TDependent, 1, 0},
    {L"thermalConductivityOfLiquid", L"thermalConductivityOfLiquid", C::TDependent, 1, 0},
    {L"thermalConductivityOfSolid", L"thermalConductivityOfSolid", C::TDependent, 1, 0},
    {L"thermalConductivityOfVapor", L"thermalConductivityOfVapor", C::TDependent, 1, 0},
    {L"vaporPressure", L"vaporPressure", C::TDependent, 1, 0},
    {L"virialCoefficient", L"virialCoefficient", C::TDependent, 1, -1},
    {L"viscosityOfLiquid", L"viscosityOfLiquid", C::TDependent, 1, 0},
    {L"viscosityOfVapor", L"viscosityOfVapor", C::TDependent, 1, 0},
    {L"volumeChangeUponMelting", L"volumeChangeUponMelting", C::TDependent, 1, -1},
    {L"volumeChangeUponSolidSolidPhaseTransition", L"volumeChangeUponSolidSolidPhaseTransition", C::TDependent, 1, -1},
    {L"volumeChangeUponSublimation", L"volumeChangeUponSublimation", C::TDependent, 1, -1},
    {L"volumeChangeUponVaporization", L"volumeChangeUponVaporization", C::TDependent, 1, -1},
    {L"volumeOfLiquid", L"volumeOfLiquid", C::TDependent, 1, -1},
    {L"volumeOfSolid", L"volumeOfSolid", C::TDependent, 1, -1},
    // Pressure-dependent compound properties
    {L"boilingPointTemperature", L"boilingPointTemperature", C::PDependent, 1, 0},
    {L"glassTransitionTemperature", L"glassTransitionTemperature", C::PDependent, 1, 0},
    {L"meltingTemperature", L"meltingTemperature", C::PDependent, 1, 0},
    {L"solidSolidPhaseTransitionTemperature", L"solidSolidPhaseTransitionTemperature", C::PDependent, 1, 0},
    // Single-phase properties
    {L"activity", L"activity", C::SinglePhase, 1, 0},
    {L"activityCoefficient", L"activityCoefficient", C::SinglePhase, 1, 0},
    {L"compressibility", L"compressibility", C::SinglePhase, 0, 0},
    {L"compressibilityFactor", L"compressibilityFactor", C::SinglePhase, 0, 0},
    {L"density", L"density", C::SinglePhase, 0, 1},
    {L"diffusionCoefficient", L"diffusionCoefficient", C::SinglePhase, 2, 0},
    {L"dissociationConstant", L"dissociationConstant", C::SinglePhase, 0, 0},
    {L"energy", L"internalEnergy", C::SinglePhase, 0, -1},
    {L"enthalpy", L"enthalpy", C::SinglePhase, 0, -1},
    {L"enthalpyF", L"enthalpyF", C::SinglePhase, 0, -1},
    {L"enthalpyNF", L"enthalpyNF", C::SinglePhase, 0, -1},
    {L"entropy", L"entropy", C::SinglePhase, 0, -1},
    {L"entropyF", L"entropyF", C::SinglePhase, 0, -1},
    {L"entropyNF", L"entropyNF", C::SinglePhase, 0, -1},
    {L"excessEnergy", L"excessInternalEnergy", C::SinglePhase, 0, -1},
    {L"excessEnthalpy", L"excessEnthalpy", C::SinglePhase, 0, -1},
    {L"excessEntropy", L"excessEntropy", C::SinglePhase, 0, -1},
    {L"excessGibbsFreeEnergy", L"excessGibbsEnergy", C::SinglePhase, 0, -1},
    {L"excessHelmholtzFreeEnergy", L"excessHelmholtzEnergy", C::SinglePhase, 0, -1},
    {L"excessVolume", L"excessVolume", C::SinglePhase, 0, -1},
    {L"fugacity", L"fugacity", C::SinglePhase, 1, 0},
    {L"fugacityCoefficient", L"fugacityCoefficient", C::SinglePhase, 1, 0},
    {L"gibbsFreeEnergy", L"gibbsEnergy", C::SinglePhase, 0, -1},
    {L"heatCapacity", L"heatCapacityCp", C::SinglePhase, 0, -1},
    {L"heatCapacityCv", L"heatCapacityCv", C::SinglePhase, 0, -1},
    {L"helmholtzFreeEnergy", L"helmholtzEnergy", C::SinglePhase, 0, -1},
    {L"jouleThomsonCoefficient", L"jouleThomsonCoefficient", C::SinglePhase, 0, 0},
    {L"logFugacity", L"logFugacity", C::SinglePhase, 1, 0},
    {L"logFugacityCoefficient", L"logFugacityCoefficient", C::SinglePhase, 1, 0},
    {L"meanActivityCoefficient", L"meanActivityCoefficient", C::SinglePhase, 0, 0},
    {L"molecularWeight", L"molecularWeight", C::SinglePhase, 0, 0},
    {L"osmoticCoefficient", L"osmoticCoefficient", C::SinglePhase, 0, 0},
    {L"PH", L"PH", C::SinglePhase, 0, 0},
    {L"POH", L"POH", C::SinglePhase, 0, 0},
    {L"solubilityIndex", L"solubilityIndex", C::SinglePhase, 1, 0},
    {L"solubilityProduct", L"solubilityProduct", C::SinglePhase, 1, 0},
    {L"speedOfSound", L"speedOfSound", C::SinglePhase, 0, 0},
    {L"thermalConductivity", L"thermalConductivity", C::SinglePhase, 0, 0},
    {L"viscosity", L"viscosity", C::SinglePhase, 0, 0},
    {L"volume", L"volume", C::SinglePhase, 0, -1},
    // Two-phase properties
    {L"kvalues", L"kvalue", C::TwoPhase, 1, 0},
    {L"logkvalues", L"logkvalue", C::TwoPhase, 1, 0},
    {L"surfaceTension", L"surfaceTension", C::TwoPhase, 0, 0},
    // State variables
    {L"temperature", L"temperature", C::Temperature, 0, 0},
    {L"pressure", L"pressure", C::Pressure, 0, 0},
    {L"flow", L"flow", C::Flow, 1, 1},
    {L"totalFlow", L"totalFlow", C::TotalFlow, 0, 1},
    {L"fraction", L"fraction", C::Fraction, 1, 0},
    {L"phaseFraction", L"phaseFraction", C::PhaseFraction, 0, 0},
};

namespace {

// Process-wide, built once under the module lock and only read afterwards.
NameMap<const PropertyRow *> &PropertyRowsByName()
{
    static NameMap<const PropertyRow *> propertyRowsByName;
    return propertyRowsByName;
}

std::vector<const PropertyRow *> &ConstantRows()
{
    static std::vector<const PropertyRow *> constantPropertyRows;
    return constantPropertyRows;
}

}  // namespace

void EnsurePropertyIndexes()
{
    ModuleLockGuard guard;
    NameMap<const PropertyRow *> &byName = PropertyRowsByName();
    if (!byName.Empty()) return;
    std::vector<const PropertyRow *> &constants = ConstantRows();
    constants.clear();
    for (const PropertyRow &row : PropertyNameTable) {
        if (row.category == PropertyCategory::Constant || row.category == PropertyCategory::StringConstant)
            constants.push_back(&row);
        else
            byName.Entry(row.name10) = &row;
    }
}

const PropertyRow *LookupPropertyRow(const wchar_t *name10)
{
    const PropertyRow *const *row = PropertyRowsByName().Lookup(name10);
    return row ? *row : nullptr;
}

const std::vector<const PropertyRow *> &ConstantPropertyRows()
{
    return ConstantRows();
}
