#include "PropertyCatalog.h"

#include <cmath>

#include "IdealGas.h"
#include "NameMap.h"
#include "Saturation.h"

namespace {

using K = PropertyKind;
using P = PropertyId;

const std::vector<PropertyInfo> catalog = {
    {L"enthalpy", P::Enthalpy, K::SinglePhase, L"mole", RequestCaloric},
    {L"entropy", P::Entropy, K::SinglePhase, L"mole", RequestCaloric},
    {L"gibbsFreeEnergy", P::GibbsFreeEnergy, K::SinglePhase, L"mole", RequestCaloric},
    {L"heatCapacity", P::HeatCapacity, K::SinglePhase, L"mole", RequestCaloric},
    {L"heatCapacityCv", P::HeatCapacityCv, K::SinglePhase, L"mole", RequestCaloric},
    {L"density", P::Density, K::SinglePhase, L"mole", 0},
    {L"volume", P::Volume, K::SinglePhase, L"mole", 0},
    {L"molecularWeight", P::MolecularWeight, K::SinglePhase, nullptr, 0},
    {L"compressibilityFactor", P::CompressibilityFactor, K::SinglePhase, nullptr, 0},
    {L"fugacity", P::Fugacity, K::SinglePhase, nullptr, 0},
    {L"fugacityCoefficient", P::FugacityCoefficient, K::SinglePhase, nullptr, 0},
    {L"logFugacityCoefficient", P::LogFugacityCoefficient, K::SinglePhase, nullptr, 0},
    {L"logFugacityCoefficient.Dtemperature", P::LogFugacityCoefficientDT, K::SinglePhase, nullptr,
     RequestDerivatives},
    {L"logFugacityCoefficient.Dpressure", P::LogFugacityCoefficientDP, K::SinglePhase, nullptr,
     RequestDerivatives},
    {L"logFugacityCoefficient.Dmoles", P::LogFugacityCoefficientDn, K::SinglePhase, L"mole",
     RequestDerivatives},
    {L"kvalues", P::KValues, K::TwoPhase, nullptr, 0},
    {L"logkvalues", P::LogKValues, K::TwoPhase, nullptr, 0},
    {L"vaporPressure", P::VaporPressure, K::TDependent, nullptr, 0},
    {L"idealGasHeatCapacity", P::IdealGasHeatCapacity, K::TDependent, L"mole", 0},
    {L"idealGasEnthalpy", P::IdealGasEnthalpy, K::TDependent, L"mole", 0},
    {L"idealGasEntropy", P::IdealGasEntropy, K::TDependent, L"mole", 0},
    {L"heatOfVaporization", P::HeatOfVaporization, K::TDependent, L"mole", 0},
    {L"boilingPointTemperature", P::BoilingPointTemperature, K::PDependent, nullptr, 0},
};

const NameMap<const PropertyInfo *> &CatalogIndex()
{
    static const NameMap<const PropertyInfo *> index = [] {
        NameMap<const PropertyInfo *> map;
        for (const PropertyInfo &info : catalog) map.Entry(info.name) = &info;
        return map;
    }();
    return index;
}

}  // namespace

const PropertyInfo *FindProperty(const wchar_t *name)
{
    const PropertyInfo *const *found = CatalogIndex().Lookup(name);
    return found ? *found : nullptr;
}

const std::vector<PropertyInfo> &AllProperties()
{
    return catalog;
}

bool PerCompound(PropertyId id)
{
    switch (id) {
    case PropertyId::Enthalpy:
    case PropertyId::Entropy:
    case PropertyId::GibbsFreeEnergy:
    case PropertyId::HeatCapacity:
    case PropertyId::HeatCapacityCv:
    case PropertyId::Density:
    case PropertyId::Volume:
    case PropertyId::MolecularWeight:
    case PropertyId::CompressibilityFactor: return false;
    default: return true;
    }
}

void SinglePhaseValues(PropertyId id, const ThermoModel &model, const PhaseState &state, double P,
                       const double *x, std::vector<double> &values)
{
    const std::size_t n = model.Size();
    auto scalar = [&](double value) { values.assign(1, value); };
    switch (id) {
    case PropertyId::Enthalpy: scalar(state.enthalpy); break;
    case PropertyId::Entropy: scalar(state.entropy); break;
    case PropertyId::GibbsFreeEnergy: scalar(state.enthalpy - state.temperature * state.entropy); break;
    case PropertyId::HeatCapacity: scalar(state.heatCapacityCp); break;
    case PropertyId::HeatCapacityCv: scalar(state.heatCapacityCv); break;
    case PropertyId::Density: scalar(1 / state.volume); break;
    case PropertyId::Volume: scalar(state.volume); break;
    case PropertyId::MolecularWeight: {
        double mw = 0;
        for (std::size_t i = 0; i < n; ++i) mw += x[i] * model.Compound(i).molecularWeight;
        scalar(mw);
        break;
    }
    case PropertyId::CompressibilityFactor: scalar(state.Z); break;
    case PropertyId::Fugacity:
        values.resize(n);
        for (std::size_t i = 0; i < n; ++i) values[i] = x[i] * P * std::exp(state.lnPhi[i]);
        break;
    case PropertyId::FugacityCoefficient:
        values.resize(n);
        for (std::size_t i = 0; i < n; ++i) values[i] = std::exp(state.lnPhi[i]);
        break;
    case PropertyId::LogFugacityCoefficient: values = state.lnPhi; break;
    case PropertyId::LogFugacityCoefficientDT: values = state.lnPhiDT; break;
    case PropertyId::LogFugacityCoefficientDP: values = state.lnPhiDP; break;
    case PropertyId::LogFugacityCoefficientDn: values = state.lnPhiDn; break;
    default: values.clear(); break;
    }
}

bool PureValue(PropertyId id, const CompoundData &c, double T, double P, double &value, std::wstring &error)
{
    switch (id) {
    case PropertyId::VaporPressure: value = Saturation(c, T).pressure; return true;
    case PropertyId::IdealGasHeatCapacity: value = IdealGasHeatCapacity(c, T); return true;
    case PropertyId::IdealGasEnthalpy: value = IdealGasEnthalpy(c, T); return true;
    case PropertyId::IdealGasEntropy: value = IdealGasEntropy(c, T); return true;
    case PropertyId::HeatOfVaporization: value = Saturation(c, T).heatOfVaporization; return true;
    case PropertyId::BoilingPointTemperature:
        if (BoilingTemperature(c, P, value)) return true;
        error = std::wstring(L"No boiling point for \"") + c.id +
                L"\": the pressure is not below its critical pressure";
        return false;
    default: error = L"Not a pure-compound property"; return false;
    }
}

bool CompoundConstant(const wchar_t *name, const CompoundData &c, ConstantValue &value)
{
    auto number = [&](double v) {
        value.isText = false;
        value.number = v;
        return true;
    };
    auto text = [&](const wchar_t *t) {
        value.isText = true;
        value.text = t;
        return true;
    };
    if (NamesEqual(name, L"criticalTemperature")) return number(c.criticalTemperature);
    if (NamesEqual(name, L"criticalPressure")) return number(c.criticalPressure);
    if (NamesEqual(name, L"acentricFactor")) return number(c.acentricFactor);
    if (NamesEqual(name, L"molecularWeight")) return number(c.molecularWeight);
    if (NamesEqual(name, L"normalBoilingPoint")) return number(c.normalBoilingPoint);
    if (NamesEqual(name, L"casRegistryNumber")) return text(c.casNumber);
    if (NamesEqual(name, L"chemicalFormula")) return text(c.formula);
    if (NamesEqual(name, L"iupacName")) return text(c.name);
    return false;
}
