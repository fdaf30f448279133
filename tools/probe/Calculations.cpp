#include "Calculations.h"

#include "ArrayValues.h"
#include "ComHolders.h"

namespace {

bool SetOverall(CMaterial11 &material, const wchar_t *property, const wchar_t *basis,
                const std::vector<double> &values, std::wstring &error)
{
    ScopedBstr name(property), basisText(basis);
    ScopedVariant array;
    PutDoubles(array.Get(), values);
    HRESULT hr = material.SetOverallProp(name.Get(), basisText.Get(), array.Value());
    if (FAILED(hr)) error = FailureText(static_cast<ICapeThermoMaterial *>(&material), hr);
    return SUCCEEDED(hr);
}

bool SetPhase(CMaterial11 &material, const std::wstring &phase, const wchar_t *property, const wchar_t *basis,
              const std::vector<double> &values, std::wstring &error)
{
    ScopedBstr name(property), label(phase.c_str()), basisText(basis);
    ScopedVariant array;
    PutDoubles(array.Get(), values);
    HRESULT hr = material.SetSinglePhaseProp(name.Get(), label.Get(), basisText.Get(), array.Value());
    if (FAILED(hr)) error = FailureText(static_cast<ICapeThermoMaterial *>(&material), hr);
    return SUCCEEDED(hr);
}

bool MakeAllPhasesPresent(CMaterial11 &material, const std::vector<std::wstring> &phases, std::wstring &error)
{
    ScopedVariant labels, statuses;
    PutStrings(labels.Get(), phases);
    PutLongs(statuses.Get(), std::vector<long>(phases.size(), CAPE_UNKNOWNPHASESTATUS));
    HRESULT hr = material.SetPresentPhases(labels.Value(), statuses.Value());
    if (FAILED(hr)) error = FailureText(static_cast<ICapeThermoMaterial *>(&material), hr);
    return SUCCEEDED(hr);
}

void PutCondition(VARIANT *out, FlashVariable variable)
{
    PutStrings(out, FlashConditionList(variable));
}

}  // namespace

std::vector<std::wstring> FlashConditionList(FlashVariable variable)
{
    switch (variable) {
    case FlashVariable::Temperature: return {L"temperature", L"", L"overall"};
    case FlashVariable::Pressure: return {L"pressure", L"", L"overall"};
    case FlashVariable::Enthalpy: return {L"enthalpy", L"mole", L"overall"};
    case FlashVariable::Entropy: return {L"entropy", L"mole", L"overall"};
    default: return {L"phaseFraction", L"mole", L"Vapor"};
    }
}

const wchar_t *FlashVariableName(FlashVariable variable)
{
    switch (variable) {
    case FlashVariable::Temperature: return L"T";
    case FlashVariable::Pressure: return L"P";
    case FlashVariable::Enthalpy: return L"H";
    case FlashVariable::Entropy: return L"S";
    default: return L"VF";
    }
}

bool PreparePhases(CMaterial11 &material, const MixtureState &mixture, std::wstring &error)
{
    return PreparePhases(material, mixture, std::vector<MixtureState>(material.phases.size(), mixture), error);
}

bool PreparePhases(CMaterial11 &material, const MixtureState &mixture, const std::vector<MixtureState> &phaseStates,
                   std::wstring &error)
{
    const std::vector<std::wstring> &phases = material.phases;
    if (!MakeAllPhasesPresent(material, phases, error)) return false;
    for (size_t i = 0; i < phases.size() && i < phaseStates.size(); ++i) {
        const MixtureState &state = phaseStates[i];
        if (!SetPhase(material, phases[i], L"temperature", L"", {state.temperature}, error) ||
            !SetPhase(material, phases[i], L"pressure", L"", {state.pressure}, error) ||
            !SetPhase(material, phases[i], L"fraction", L"mole", state.composition, error) ||
            !SetPhase(material, phases[i], L"phaseFraction", L"mole", {1.0 / phases.size()}, error))
            return false;
    }
    return SetOverall(material, L"temperature", L"", {mixture.temperature}, error) &&
           SetOverall(material, L"pressure", L"", {mixture.pressure}, error) &&
           SetOverall(material, L"fraction", L"mole", mixture.composition, error) &&
           SetOverall(material, L"totalFlow", L"mole", {1.0}, error);
}

bool PrepareFlash(CMaterial11 &material, const MixtureState &mixture, const std::vector<FlashCondition> &conditions,
                  std::wstring &error)
{
    material.ClearAllProps();
    if (!MakeAllPhasesPresent(material, material.phases, error)) return false;
    if (!SetOverall(material, L"temperature", L"", {mixture.temperature}, error) ||
        !SetOverall(material, L"pressure", L"", {mixture.pressure}, error) ||
        !SetOverall(material, L"fraction", L"mole", mixture.composition, error) ||
        !SetOverall(material, L"totalFlow", L"mole", {1.0}, error))
        return false;
    for (const FlashCondition &condition : conditions) {
        bool set = true;
        switch (condition.variable) {
        case FlashVariable::Temperature:
            set = SetOverall(material, L"temperature", L"", {condition.value}, error);
            break;
        case FlashVariable::Pressure: set = SetOverall(material, L"pressure", L"", {condition.value}, error); break;
        case FlashVariable::Enthalpy:
            set = SetOverall(material, L"enthalpy", L"mole", {condition.value}, error);
            break;
        case FlashVariable::Entropy: set = SetOverall(material, L"entropy", L"mole", {condition.value}, error); break;
        case FlashVariable::VaporFraction:
            set = SetPhase(material, L"Vapor", L"phaseFraction", L"mole", {condition.value}, error);
            break;
        }
        if (!set) return false;
    }
    return true;
}

bool UseMaterial(PackageClient &package, CMaterial11 &material, std::wstring &error)
{
    HRESULT hr = package.context->SetMaterial(static_cast<DispatchPart<ICapeThermoMaterial> *>(&material));
    if (FAILED(hr)) error = L"SetMaterial failed: " + FailureText(package.context.Get(), hr);
    return SUCCEEDED(hr);
}

bool CheckFlash(PackageClient &package, const FlashCondition &first, const FlashCondition &second, bool &supported,
                std::wstring &error)
{
    ScopedVariant condition1, condition2;
    PutCondition(condition1.Get(), first.variable);
    PutCondition(condition2.Get(), second.variable);
    VARIANT_BOOL answer = VARIANT_FALSE;
    HRESULT hr = package.equilibrium->CheckEquilibriumSpec(condition1.Value(), condition2.Value(), nullptr, &answer);
    if (FAILED(hr)) {
        error = FailureText(package.equilibrium.Get(), hr);
        return false;
    }
    supported = answer != VARIANT_FALSE;
    return true;
}

bool RunFlash(PackageClient &package, const FlashCondition &first, const FlashCondition &second, std::wstring &error)
{
    ScopedVariant condition1, condition2;
    PutCondition(condition1.Get(), first.variable);
    PutCondition(condition2.Get(), second.variable);
    HRESULT hr = package.equilibrium->CalcEquilibrium(condition1.Value(), condition2.Value(), nullptr);
    if (FAILED(hr)) error = FailureText(package.equilibrium.Get(), hr);
    return SUCCEEDED(hr);
}

bool ReadFlashResult(const CMaterial11 &material, std::vector<PhaseResult> &phases, std::wstring &error)
{
    phases.clear();
    const PropertyStore &store = material.store;
    for (const std::wstring &label : material.presentPhases) {
        PhaseResult phase;
        phase.label = label;
        const std::vector<double> *fraction = store.Get(label.c_str(), L"phaseFraction", ValueBasis::Mole);
        const std::vector<double> *t = store.Get(label.c_str(), L"temperature", ValueBasis::Undefined);
        const std::vector<double> *p = store.Get(label.c_str(), L"pressure", ValueBasis::Undefined);
        const std::vector<double> *x = store.Get(label.c_str(), L"fraction", ValueBasis::Mole);
        if (!fraction || !t || !p || !x) {
            error = L"the flash left phase \"" + label + L"\" without " +
                    (!fraction ? L"a mole phase fraction" : !t ? L"a temperature" : !p ? L"a pressure"
                                                                                      : L"a mole composition");
            return false;
        }
        phase.fraction = (*fraction)[0];
        phase.temperature = (*t)[0];
        phase.pressure = (*p)[0];
        phase.composition = *x;
        phases.push_back(std::move(phase));
    }
    if (phases.empty()) {
        error = L"the flash left no phase present";
        return false;
    }
    return true;
}

bool CalcPhaseProperty(PackageClient &package, const CMaterial11 &material, const std::wstring &phase,
                       const std::wstring &property, std::vector<double> &values, ValueBasis &basis,
                       std::wstring &error)
{
    ScopedVariant props;
    PutStrings(props.Get(), {property});
    ScopedBstr label(phase.c_str());
    HRESULT hr = package.routine->CalcSinglePhaseProp(props.Value(), label.Get());
    if (FAILED(hr)) {
        error = FailureText(package.routine.Get(), hr);
        return false;
    }
    const std::vector<double> *found = material.store.GetAnyBasis(phase.c_str(), property.c_str(), basis);
    if (!found) {
        error = L"the package reported success but set no " + property + L" on the material";
        return false;
    }
    values = *found;
    return true;
}

bool MixtureEnthalpyEntropy(PackageClient &package, const CMaterial11 &material,
                            const std::vector<PhaseResult> &phases, double &enthalpy, double &entropy,
                            std::wstring &error)
{
    enthalpy = entropy = 0.0;
    for (const PhaseResult &phase : phases) {
        std::vector<double> h, s;
        ValueBasis hBasis, sBasis;
        if (!CalcPhaseProperty(package, material, phase.label, L"enthalpy", h, hBasis, error) ||
            !CalcPhaseProperty(package, material, phase.label, L"entropy", s, sBasis, error))
            return false;
        if (hBasis == ValueBasis::Mass || sBasis == ValueBasis::Mass) {
            error = L"the package gave enthalpy or entropy in mass basis only";
            return false;
        }
        enthalpy += phase.fraction * h[0];
        entropy += phase.fraction * s[0];
    }
    return true;
}
